// Closed polylines as regions: the direction of a segment at one of its ends, the extents with the arcs'
// bulges, and turning a contour so that its inside lies to the left of its direction of travel.
//
// Segment i of a polyline runs from vertex i to vertex i+1 (the last segment of a closed polyline back to
// vertex 0); a bulge of exactly 0 is straight, a positive bulge a counter-clockwise arc, a negative one a
// clockwise arc. Points are compared with PointsDifferAtPrecision at n = 10000.
#pragma once

#include "host/db/entities.h"
#include "host/ge/point.h"

// The direction in which segment `segment` leaves `point`, one of its end points.
//   arc:      isLine = 0; with P the arc's start point for a positive bulge and its end point for a negative one,
//             angle = direction(centre -> point) + pi/2 when the point equals P, else - pi/2. Not normalised.
//   straight: isLine = 1; angle = direction(point -> end point) when the point equals the start point, else
//             direction(point -> start point).
// A segment whose ends coincide counts as straight (its direction is then 0). Answers 0, or -1 (outputs
// unchanged) when the polyline has no such segment.
int GetSegmentDirectionAtPoint(const host::db::LwPolyline& polyline, int segment, const host::ge::Point3d& point,
                               double& angle, int& isLine);

// The box of every vertex and of every arc's bulge: an arc widens the box where it passes the angles 0, pi/2, pi
// and 3*pi/2 of its circle (strictly between its end angles). Segments 0 .. n-1 of a closed polyline and
// 0 .. n-2 of an open one are examined. Answers 0, or -1 (outputs unchanged) for a polyline without vertices.
int GetPolylineExtents(const host::db::LwPolyline& polyline, double& minX, double& minY, double& maxX,
                       double& maxY);

// Reverses a closed polyline whose inside lies to the right of its direction, so that it runs
// counter-clockwise around its inside. A test point P is put 0.0001 to the left of the first segment that has a
// length (beside a straight segment's midpoint; inside a counter-clockwise arc's middle, outside a clockwise
// one's), and a line from 1e10 away that crosses that segment on its way to P is intersected with the polyline:
// an odd number of crossings puts P inside, so the inside already lies to the left; an even number reverses the
// polyline. Open polylines and polylines without a segment of length are left as they are. The polyline must be
// open for write. Answers 1 when it was reversed, else 0.
int OrientPolylineCounterClockwise(host::db::LwPolyline& polyline);
