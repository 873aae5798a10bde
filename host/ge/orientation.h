// Which side of a directed line a point lies on: the one place that decides left, right or on.
#pragma once

#include "host/ge/point.h"

namespace host::ge {

enum class Side {
    Left,   // to the left of the direction of travel (a counter-clockwise turn)
    Right,  // to the right (a clockwise turn)
    On,     // on the line, within the tolerance as a distance
};

// The side of the infinite line from a to b on which p lies. "On" means p is no farther from the line than
// tol.equalPoint. A line of zero length (a and b the same point under the tolerance) has no sides: every point
// answers On, and a caller that cares must test for it first.
Side sideOfLine(const Point2d& a, const Point2d& b, const Point2d& p, const Tolerance& tol = globalTolerance());

// The turn of the path a -> b -> c: Left for counter-clockwise, Right for clockwise, On for collinear points
// (b within the tolerance of the line a-c). Coincident a and c answer On.
Side turnOf(const Point2d& a, const Point2d& b, const Point2d& c, const Tolerance& tol = globalTolerance());

}  // namespace host::ge
