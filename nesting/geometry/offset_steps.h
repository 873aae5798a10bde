// The steps of a chain's offset: joining the shifted elements, finding where the result crosses itself, marking
// the pieces that come too close to the source, and tracing the rest into closed contours.
//
// `raw` is the raw offset: element 2k is source element k shifted, element 2k + 1 its joint (Type 3, a
// placeholder, until joining makes it a round joint). `sourceCopy` holds the source's line and arc elements in
// order. Elements whose Type is above 2 take no part in any step after joining.
#pragma once

#include "host/ge/point.h"
#include "nesting/geometry/offset_workspace.h"
#include "nesting/model/contour.h"

// Type of a joint placeholder of the raw offset.
inline constexpr std::int8_t kElementJointPlaceholder = 3;

// Neighbours closer than this (on the 1e7 grid) already meet.
inline constexpr double kOffsetMeetGrid = 1e7;
// Neighbours are cut at their intersection when it lies within this share of the distance from both ends.
inline constexpr double kOffsetCutShare = 0.1;
// A gap below 1e-3 between neighbours is closed by moving a line end; a larger one gets a round joint.
inline constexpr double kOffsetGapGrid = 1000.0;
// A crossing at a common end of two elements (within 1e-4) is no self-intersection.
inline constexpr double kOffsetJointGrid = 1e4;
// A traced result is closed, and a crossing's other record found, when points agree within 1e-5.
inline constexpr double kOffsetCloseGrid = 1e5;
// The validity radius of the pieces is the distance less this (in millimetres; divided by 25.4 for inches).
inline constexpr double kOffsetPieceClearance = 1e-6;
// The whole raw offset is kept when its first point is at least the distance less this from the source.
inline constexpr double kOffsetWholeClearance = 1e-4;

// Joins each shifted element E to the next one N: ends that already meet stay; neighbours whose intersection
// lies within 0.1 * distance of both ends are cut there; a gap of 1e-3 or more gets a round joint of the
// distance about the source vertex (stored counter-clockwise, Reversed telling the way it is run); a smaller
// gap is closed by moving the start of N or the end of E when either is a line.
void JoinOffsetElements(OffsetWorkspace& state, Contour& raw, const Contour& sourceCopy, double distance);

// Records every crossing of two raw elements (lines and arcs) that is not a common end of them, as two
// OffsetCrossing records with one CrossingId. Answers the number of records.
int FindOffsetSelfIntersections(OffsetWorkspace& state, const Contour& raw);

// Gives every record its Param, sorts the records by CrossingOrder, and marks which pieces of the raw offset
// around each record come closer to the source than the distance (less 1e-6 mm, or its inch equivalent for
// `unit` 1): a record whose point is too close has both sides invalid; otherwise the point halfway to the
// neighbouring record on the same element (or the element's end) is tested on each side.
void CutOffsetLoops(OffsetWorkspace& state, const Contour& raw, const Contour& sourceCopy, double distance, int unit);

// Traces the valid pieces into closed contours, written to the workspace's OffsetContours with its count, and
// answers the count. Without crossings the whole raw offset is the result when it keeps the distance. A trace
// that meets the source, or that would grow past the number of elements a result can hold (a crossing whose
// branches do not lead back), is dropped; the search then goes on with the next start. At most
// kOffsetContourCapacity results are kept; a further one is left out with a message.
int BuildOffsetContours(OffsetWorkspace& state, const Contour& raw, const Contour& sourceCopy, const Contour& src,
                        double distance);

// 1 when the line or arc element e does not meet the circle of radius r about p, else 0; elements of other
// types are always clear. An element that lies wholly inside the circle does not meet it.
int IsElementClearOfCircle(const ContourElement& e, const host::ge::Point2d& p, double r);

// Whether record a comes before record b: by ElementIndex, then by Param.
bool CrossingOrder(const OffsetCrossing& a, const OffsetCrossing& b);
