// The command side of the line-intersection check: the browser over the crossing pairs of the last contour
// creation, and the check's entry point for both of its modes.
#pragma once

#include "laser/contours/line_intersection_check.h"

// Contour creation, run again by the check after the user has repaired the drawing (the caller passes the
// module's contour creation). Its answer is not used.
using RecreateContours = int (*)();

// Mode of CheckLineIntersections.
inline constexpr int kIntersectionCommandMode = 0;   // the user's check command: browse the pairs
// Any other value: the stage of contour creation (scan and report).

// Zoom heights of the browser's Z key: four times the distance from the crossing to the nearest end, that distance
// first kept within these bounds for millimetre and for inch drawings (100 mm away gives 160, 0.00001 mm 0.0004).
inline constexpr double kZoomEndFactor = 4.0;
inline constexpr double kZoomMinMillimetres = 0.0001, kZoomMaxMillimetres = 40.0;
inline constexpr double kZoomMinInches = 0.00001, kZoomMaxInches = 2.0;
// The first zoom height, in lead-in lengths of the job.
inline constexpr double kZoomStartLeadIns = 2.0;

// Creation mode (mode not 0): CheckLineIntersectionsOnCreation on the module's tables; answers the pairs found.
// Command mode (0): prepares the drawing's job; when the last scan left no pairs in this drawing (or its pairs
// belong to another drawing, which is never touched), runs `recreate`, counts a change and writes the job.
// Otherwise browses the pairs on the command line: Z zooms to the crossing, + and - zoom in and out, 1 and 2
// choose one piece of the pair, D erases the chosen piece (with every pair it is in), N and P step, E or Esc end.
// A pair whose piece can no longer be opened (erased meanwhile, or on a locked layer) is dropped with every pair
// of that piece. After a deletion the contours are made again with `recreate`; every run ends by counting a
// change of the job and writing it. Answers the number of pairs left.
int CheckLineIntersections(int mode, RecreateContours recreate);
