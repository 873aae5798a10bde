// Segment directions, polyline extents with arcs, and the orientation of a closed contour.
#include "cadlib/polyline_contour.h"

#include <algorithm>

#include "cadlib/angles.h"
#include "cadlib/point_equality.h"
#include "cadlib/polyline_segments.h"
#include "host/ge/angle.h"

using cadlib::kHalfPi;
using cadlib::kPi;
using cadlib::kTwoPi;
using host::ge::angleFromTo;
using host::ge::Point3d;
using host::ge::polarPoint;

namespace {

// How far the orientation test point lies off the first segment.
constexpr double kOrientationProbe = 0.0001;
// How far the crossing line of the orientation test starts: beyond any drawing.
constexpr double kOrientationRayLength = 1e10;

bool samePoint(const Point3d& a, const Point3d& b) { return PointsDifferAtPrecision(a, b, kPathPointPrecision) == 0; }

}  // namespace

int GetSegmentDirectionAtPoint(const host::db::LwPolyline& polyline, int segment, const Point3d& point,
                               double& angle, int& isLine) {
    if (segment < 0 || static_cast<unsigned>(segment) >= polyline.numSegments()) return -1;
    const unsigned i = static_cast<unsigned>(segment);
    const host::ge::Point2d a = polyline.vertices()[i].point;
    const host::ge::Point2d b = polyline.vertices()[(i + 1) % polyline.numVerts()].point;
    const Point3d start{a.x, a.y, 0.0}, end{b.x, b.y, 0.0};
    const Point3d at{point.x, point.y, 0.0};
    const std::optional<cadlib::detail::ContourSegment> s = cadlib::detail::contourSegment(polyline, i, false);
    if (s && s->isArc) {
        const Point3d& p = s->counterClockwise ? start : end;
        const double radial = angleFromTo(s->centre, at);
        angle = samePoint(at, p) ? radial + kHalfPi : radial - kHalfPi;
        isLine = 0;
        return 0;
    }
    angle = samePoint(at, start) ? angleFromTo(at, end) : angleFromTo(at, start);
    isLine = 1;
    return 0;
}

int GetPolylineExtents(const host::db::LwPolyline& polyline, double& minX, double& minY, double& maxX,
                       double& maxY) {
    const unsigned n = polyline.numVerts();
    if (n == 0) return -1;
    const host::ge::Point2d first = polyline.vertices()[0].point;
    double x0 = first.x, y0 = first.y, x1 = first.x, y1 = first.y;
    for (const auto& v : polyline.vertices()) {
        x0 = std::min(x0, v.point.x);
        y0 = std::min(y0, v.point.y);
        x1 = std::max(x1, v.point.x);
        y1 = std::max(y1, v.point.y);
    }
    for (unsigned i = 0; i < polyline.numSegments(); ++i) {
        const std::optional<cadlib::detail::ContourSegment> s = cadlib::detail::contourSegment(polyline, i, false);
        if (!s || !s->isArc) continue;
        const double cx = s->centre.x, cy = s->centre.y, r = s->radius;
        const double a1 = angleFromTo(s->centre, s->ccwFirst);
        const double a2 = angleFromTo(s->centre, s->ccwSecond);
        if (a1 == a2) continue;  // ends that only rounding tells apart: the vertices already cover the arc
        if (a2 > a1) {
            if (a1 < kHalfPi && kHalfPi < a2) y1 = std::max(y1, cy + r);
            if (a1 < kPi && kPi < a2) x0 = std::min(x0, cx - r);
            if (a1 < 3 * kHalfPi && 3 * kHalfPi < a2) y0 = std::min(y0, cy - r);
        } else {  // through angle 0
            x1 = std::max(x1, cx + r);
            if (kHalfPi > a1 || a2 > kHalfPi) y1 = std::max(y1, cy + r);
            if (kPi > a1 || a2 > kPi) x0 = std::min(x0, cx - r);
            if (3 * kHalfPi > a1 || a2 > 3 * kHalfPi) y0 = std::min(y0, cy - r);
        }
    }
    minX = x0, minY = y0, maxX = x1, maxY = y1;
    return 0;
}

int OrientPolylineCounterClockwise(host::db::LwPolyline& polyline) {
    if (!polyline.isClosed() || polyline.numVerts() == 0) return 0;
    std::optional<cadlib::detail::ContourSegment> first;
    for (unsigned i = 0; i < polyline.numSegments() && !first; ++i)
        first = cadlib::detail::contourSegment(polyline, i, false);
    if (!first) return 0;

    Point3d probe;
    double rayDirection = 0.0;
    if (!first->isArc) {
        double left = angleFromTo(first->start, first->end) + kHalfPi;
        NormalizeAngle(left);
        const Point3d mid{(first->start.x + first->end.x) / 2.0, (first->start.y + first->end.y) / 2.0, 0.0};
        probe = polarPoint(mid, left, kOrientationProbe);
        rayDirection = left + kPi;
    } else {
        // The middle of the arc, from its end points in counter-clockwise order.
        const double a1 = angleFromTo(first->centre, first->ccwFirst);
        double a2 = angleFromTo(first->centre, first->ccwSecond);
        if (a2 <= a1) a2 += kTwoPi;
        double mid = a1 + (a2 - a1) / 2.0;
        NormalizeAngle(mid);
        const bool ccw = first->counterClockwise;
        // Left of a counter-clockwise arc is towards its centre; left of a clockwise one away from it.
        const double offset = ccw ? -kOrientationProbe : kOrientationProbe;
        probe = polarPoint(first->centre, mid, first->radius + offset);
        rayDirection = ccw ? mid : mid + kPi;
    }
    NormalizeAngle(rayDirection);
    const Point3d far = polarPoint(probe, rayDirection, kOrientationRayLength);
    const host::db::Line crossing(far, probe);
    const std::size_t crossings = polyline.intersectWith(crossing, host::db::Intersect::OnBothOperands).size();
    if (crossings % 2 == 1) return 0;
    polyline.reverseCurve();
    return 1;
}
