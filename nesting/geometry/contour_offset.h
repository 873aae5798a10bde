// Offsetting a contour by a distance: a circle by its radius, a chain of lines and arcs by shifting every element
// along its normal and keeping the pieces of the result that stay at the distance from the source.
#pragma once

#include <vector>

#include "nesting/geometry/offset_workspace.h"
#include "nesting/model/contour.h"

// Offset modes: an outer contour grows outward, a hole inward (into the hole).
inline constexpr int kOffsetOutward = 1;
inline constexpr int kOffsetInward = 2;

// Offsets src by the distance |d|: mode 1 (outward) grows an outer contour, mode 2 (inward) offsets a hole into
// itself; a negative or zero d offsets to the other side. `unit` (0 millimetres, 1 inches) sets the clearance of
// the pieces' distance test. Answers n, the number of result contours, which stay in the workspace's
// OffsetContours with its count n; when n > 0, `out` becomes n copies of them (elements, class and box of the
// result; colour, line type, layer, geometry kind, owner, open flag and kind code of src), else it is not
// written.
//   circle    one circle of radius r +- distance (none when that is negative), class 2 in mode 2 else 1, with
//             its box, area and Start at angle 0 of the new radius;
//   chain     mode 1: one result is the outer one (class 1); of several, the outer one is found by relating
//             the results to each other and to src and gets class 1, the others class 2; mode 2: class 2.
// Every result gets its box.
int OffsetContour(OffsetWorkspace& state, const Contour& src, int mode, double d, std::vector<Contour>& out,
                  int unit);
