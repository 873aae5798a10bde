// Segments of a lightweight polyline for the contour routines.
#include "cadlib/polyline_segments.h"

namespace cadlib::detail {

namespace {

host::ge::Point3d flat(const host::ge::Point2d& p) { return {p.x, p.y, 0.0}; }

}  // namespace

unsigned contourSegmentCount(const host::db::LwPolyline& polyline, bool closeOpen) {
    const unsigned n = polyline.numVerts();
    if (closeOpen && !polyline.isClosed() && n >= 2) return n;
    return polyline.numSegments();
}

std::optional<ContourSegment> contourSegment(const host::db::LwPolyline& polyline, unsigned i, bool closeOpen) {
    using Seg = host::db::LwPolyline::SegType;
    const unsigned n = polyline.numVerts();
    if (i >= contourSegmentCount(polyline, closeOpen)) return std::nullopt;
    const host::ge::Point2d a = polyline.vertices()[i].point;
    const host::ge::Point2d b = polyline.vertices()[(i + 1) % n].point;
    ContourSegment s;
    s.start = flat(a);
    s.end = flat(b);
    if (i >= polyline.numSegments()) {  // the closing chord of an open polyline walked as closed
        if (a.isEqualTo(b)) return std::nullopt;
        return s;
    }
    const Seg type = polyline.segType(i);
    if (type == Seg::Line) return s;
    if (type != Seg::Arc) return std::nullopt;
    host::ge::CircArc2d arc;
    if (polyline.getArcSegAt(i, arc) != host::db::Status::Ok) return std::nullopt;
    s.isArc = true;
    s.centre = flat(arc.center);
    s.radius = arc.radius;
    const bool ccw = polyline.vertices()[i].bulge > 0.0;
    s.counterClockwise = ccw;
    s.ccwFirst = ccw ? s.start : s.end;
    s.ccwSecond = ccw ? s.end : s.start;
    return s;
}

}  // namespace cadlib::detail
