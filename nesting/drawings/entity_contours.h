// Contours of the nesting geometry made from drawn circles and lightweight polylines.
#pragma once

#include "host/db/entities.h"
#include "nesting/model/contour.h"

// The line element from a to b: its direction in StartAngle, that plus pi in EndAngle.
ContourElement LineElement(const host::ge::Point2d& a, const host::ge::Point2d& b);

// Fills `contour` from a lightweight polyline: closure and area from the polyline's own closed flag (a closed one
// is Open 0 with the host's area, an open one Open 1 with area 0), then one element per segment (one fewer than
// the vertices when open): a segment of bulge 0 is a line with its direction in StartAngle and that plus pi in
// EndAngle; any other bulge is an arc about its centre, its angles the directions of its ends from the centre,
// stored counter-clockwise (a clockwise segment, negative bulge, keeps its end as Start and has Reversed 1).
// Stops at the first segment whose bulge cannot be read; then the box. Geometry kind, class, colour and the texts
// are left to the caller.
void PolylineToContour(const host::db::LwPolyline& polyline, Contour& contour);

// Fills `contour` with one circle element about the circle's centre, start and end at (cx, cy - r), closed, of
// geometry kind circle, with the area pi r^2 and its box.
void CircleToContour(const host::db::Circle& circle, Contour& contour);

// Moves every point of the contour and its box by (dx, dy).
void TranslateContourBy(Contour& contour, double dx, double dy);
