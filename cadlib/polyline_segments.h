// Inside the library: the segments of a lightweight polyline as the contour routines walk them.
#pragma once

#include <optional>

#include "host/db/entities.h"
#include "host/ge/curve.h"

namespace cadlib::detail {

// One segment in plan: straight, or a circular arc with its centre and radius. `start` and `end` are the
// polyline's vertices (the arc's own end points, as the polyline stores them, not recomputed from angles);
// ccwFirst and ccwSecond are the arc's end points in counter-clockwise order (start, end for a positive bulge,
// end, start for a negative one).
struct ContourSegment {
    bool isArc = false;
    bool counterClockwise = false;  // an arc with a positive bulge
    host::ge::Point3d start, end;
    host::ge::Point3d centre;
    double radius = 0.0;
    host::ge::Point3d ccwFirst, ccwSecond;
};

// Segment i of the polyline (points with z 0). nullopt past its last segment, and for a segment whose ends
// coincide (it has no direction and no crossing of its own). With `closeOpen`, an open polyline is walked as if
// closed: segment n-1 is the straight chord from its last vertex back to the first.
std::optional<ContourSegment> contourSegment(const host::db::LwPolyline& polyline, unsigned i, bool closeOpen);

// The number of segments the walk visits: numSegments(), or the vertex count for an open polyline walked as
// closed (when it has at least two vertices).
unsigned contourSegmentCount(const host::db::LwPolyline& polyline, bool closeOpen);

}  // namespace cadlib::detail
