// Outer and inner contours: which contours enclose which, the nearest enclosing contour of each, the class colour
// of every contour entity, counter-clockwise closed polylines, and the job's contour counters and areas.
#pragma once

#include <cstdint>

#include "laser/contours/contour_records.h"

struct CuttingJob;
class CLaserSettings;

// Direction of the ray cast from a contour to count the contours around it: slightly off the axis, so that it
// rarely runs along a straight edge or through a vertex.
inline constexpr double kNestingRayDegrees = 0.13333333;
// Added to the drawing's diagonal to make the ray long enough to leave every contour.
inline constexpr double kNestingRaySpare = 10.0;

// Whether record `r` can enclose other contours: not open, and none of the engraving, marking, common, inside-cut,
// heat-treatment and point kinds.
bool IsContainer(const ContourRecord& r);

// The colour index a class of contour takes, from the decimal text of its setting (-1 when the text holds no
// number: the entity then keeps its colour).
int ColourIndexOf(const std::string& settingText);

// Classifies every record of `job`'s table (records 0 .. contourCount - 1) and sets the counters, partArea and
// stockArea. A ray from a test point of each contour (the top of a circle, the start of a polyline, a mark
// point's position) is cast at kNestingRayDegrees and intersected with every container of the same role whose box
// meets the contour's box; the containers crossed an odd number of times enclose it, their number is the depth
// (even: outer, odd: inner), and the one crossed nearest to the test point is its parent. A CommonLine or
// InsideCutLine polyline whose start lies on a container takes it as parent at once. Open contours of kinds 0, 3
// and 4 are counted as unclosed and enclose nothing; NoCloseLine is counted apart; engravings are finished
// without a search when CutEngraveType is set, heat treatment always. Each contour entity gets its class colour;
// closed polylines are turned counter-clockwise. partArea takes only the cut kinds (0, 3, 4, 25 and the numbered
// layers): engraving, marking and common-line outlines are no material of the part. A contour whose entity
// cannot be opened for write (a locked layer) is reported on the command line and left unclassified.
// Answers 0.
int ClassifyContourNesting(CuttingJob& job);

// Gives the entity of record `index` its class colour again: the stock colour, the unclosed colour of an open
// cut contour, or the inner or outer colour of a closed one of kind 0, 3 or 4. Other records keep their colour.
// Answers 0, -1 for an index outside the table or an entity that cannot be opened for write.
int RestoreContourColour(CuttingJob& job, int index);
