// Two simpler automatic cutting orders beside the main one, and the list of the contours waiting inside a contour.
// Both orders take the heat-treatment contours only (the phase of the main order that comes between engraving and
// cutting), without start corners, unloading zones or parts; no command runs them yet.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "host/ge/point.h"

// Cuts the heat-treatment contours without path nearest first, from where the tool stands (the home point when the
// job has no path yet). Each contour is chosen, then its start point is found knowing the contour after it, and
// the next contour is chosen again from that start point, where a closed contour's cut ends. An open line ends away
// from its start: it is cut at once, and the next contour is sought from where its cut ended. Ends with the change
// counter raised and the path totals, the status line and the stored job brought up to date. Answers 0; -1 when a
// contour without path has lost its entity (the user has been told and nothing is written).
int SliceAutoSimple();

// Cuts the heat-treatment contours without path in the order cheapest insertion builds: the contour whose entry
// point is nearest the tool first, then every further one, in table order, put where it lengthens the way least
// (CheapestInsertionPosition). After each insertion the start points of the contour put in and of its two
// neighbours are found again, each knowing the stops before and after it. The paths are then written in the
// order of the tour, and the change counter, the path totals, the status line and the stored job brought up to
// date. A contour whose entity cannot be read is left out. Answers 0.
int SliceAutoByInsertion();

// Where cheapest insertion puts point `p` into the open tour that leaves `from` and passes `stops` in turn: the
// index of `stops` it is inserted before (stops.size() for the end). Between neighbours a and b (a is `from`
// before the first stop) the detour is d(a, p) + d(p, b) - d(a, b); after the last stop, whose path has no way
// on, it is d(a, p). The smallest detour wins; of equal ones the earlier position. Distances are in the plane.
std::size_t CheapestInsertionPosition(const host::ge::Point3d& from, std::span<const host::ge::Point3d> stops,
                                      const host::ge::Point3d& p);

// Fills `indices` with the contours of the current drawing's job without path (of any kind and role) whose
// enclosing contour is contour `contourIndex`, in table order; -1 gives the top-level contours of the sheet. An
// index outside the table gives none. Answers the count.
int CollectUnprocessedChildren(std::vector<int>& indices, int contourIndex);

// Lists the top-level contours without path and forgets the list: a probe of the contour table without effect.
void ProbeUnprocessedChildren();
