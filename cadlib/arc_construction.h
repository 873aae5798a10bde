// Arcs from their end points: the centre for a radius, and centre and radius for a bulge.
#pragma once

#include "host/ge/point.h"

// The centre of an arc of `radius` through p1 and p2. `result` comes in as a hint and goes out as the centre
// (z 0): the circles of that radius about p1 and about p2 are intersected with the host's tolerance; where they
// do not meet (the points are farther apart than the diameter, or coincide) the centre is the midpoint of p1
// and p2; where they touch, the touching point; of two points, the one nearer to the hint, the second one on
// equal distance. Answers 0.
int ArcCentreFromEndPoints(const host::ge::Point3d& p1, const host::ge::Point3d& p2, double radius,
                           host::ge::Point3d& result);

// Centre and radius of the plane arc from start to end with the given bulge. With `bulgeIsHeight` false the
// bulge is the tangent of a quarter of the included angle (the polyline bulge); with it true, the bulge is the
// height of the arc above its chord. Either way a positive bulge runs counter-clockwise. Answers 0, or -1 (the
// outputs unchanged) when there is no arc: a bulge of 0 or end points that coincide. The centre's z is 0.
int ArcFromBulge(host::ge::Point3d& centre, double& radius, const host::ge::Point3d& start,
                 const host::ge::Point3d& end, double bulge, bool bulgeIsHeight);
