// Slope and intercept, lines by angle, and segment crossings.
#include "cadlib/line_intersections.h"

#include <cmath>

#include "cadlib/segment_box.h"

using host::ge::Point3d;

namespace {

// The slope given to a vertical line.
constexpr double kVerticalSlope = 1e-14;
// A direction is vertical, or two directions are parallel, within this (as a cosine or a sine).
constexpr double kDirectionEpsilon = 1e-10;
// A segment whose x changes by less than this share of its y change is snapped vertical.
constexpr double kNearVerticalRatio = 1e-10;

void snapNearVertical(const Point3d& first, Point3d& second) {
    const double dy = std::fabs(first.y - second.y);
    if (dy > 0.0 && std::fabs(first.x - second.x) / dy < kNearVerticalRatio) second.x = first.x;
}

struct LineForm {
    bool vertical;
    double slope, intercept;
};

LineForm lineFormOf(const Point3d& p1, const Point3d& p2) {
    if (p1.x == p2.x) return {true, 0.0, 0.0};
    const double k = (p2.y - p1.y) / (p2.x - p1.x);
    return {false, k, p1.y - k * p1.x};
}

// The collinear case: an end of b that lies in a's box.
int collinearOverlap(const Point3d& a1, const Point3d& a2, const Point3d& b1, const Point3d& b2, Point3d& out) {
    if (IsPointInSegmentBox(a1, a2, b1)) {
        out = b1;
        return kIntersectTwo;
    }
    if (IsPointInSegmentBox(a1, a2, b2)) {
        out = b2;
        return kIntersectTwo;
    }
    return kIntersectNone;
}

}  // namespace

void LineSlopeIntercept(const Point3d& p1, const Point3d& p2, double& intercept, double& slope) {
    slope = p1.x == p2.x ? kVerticalSlope : (p2.y - p1.y) / (p2.x - p1.x);
    intercept = p1.y - slope * p1.x;
}

int IntersectLinesByAngle(const Point3d& p1, double angle1, const Point3d& p2, double angle2, Point3d& out) {
    const bool vertical1 = std::fabs(std::cos(angle1)) <= kDirectionEpsilon;
    const bool vertical2 = std::fabs(std::cos(angle2)) <= kDirectionEpsilon;
    if (vertical1 && vertical2) return kLinesParallel;
    if (std::fabs(std::sin(angle1 - angle2)) <= kDirectionEpsilon) return kLinesParallel;
    if (vertical1) {
        const double k2 = std::tan(angle2), c2 = p2.y - k2 * p2.x;
        out = {p1.x, k2 * p1.x + c2, 0.0};
        return kLinesCross;
    }
    if (vertical2) {
        const double k1 = std::tan(angle1), c1 = p1.y - k1 * p1.x;
        out = {p2.x, k1 * p2.x + c1, 0.0};
        return kLinesCross;
    }
    const double k1 = std::tan(angle1), c1 = p1.y - k1 * p1.x;
    const double k2 = std::tan(angle2), c2 = p2.y - k2 * p2.x;
    if (k1 == k2) return kLinesParallel;
    const double x = (c2 - c1) / (k1 - k2);
    out = {x, k1 * x + c1, 0.0};
    return kLinesCross;
}

int IntersectSegments(const Point3d& a1, Point3d& a2, const Point3d& b1, Point3d& b2, Point3d& out) {
    snapNearVertical(a1, a2);
    snapNearVertical(b1, b2);
    const LineForm a = lineFormOf(a1, a2);
    const LineForm b = lineFormOf(b1, b2);
    out = {0.0, 0.0, 0.0};

    double x = 0.0, y = 0.0;
    if (a.vertical && b.vertical) return collinearOverlap(a1, a2, b1, b2, out);
    if (a.vertical) {
        x = a1.x;
        y = b.slope * x + b.intercept;
    } else if (b.vertical) {
        x = b1.x;
        y = a.slope * x + a.intercept;
    } else if (a.slope == b.slope) {
        if (a.intercept != b.intercept) return kIntersectNone;
        return collinearOverlap(a1, a2, b1, b2, out);
    } else {
        x = (b.intercept - a.intercept) / (a.slope - b.slope);
        y = a.slope * x + a.intercept;
    }
    out = {x, y, 0.0};
    return IsPointInSegmentBox(a1, a2, out) && IsPointInSegmentBox(b1, b2, out) ? kIntersectOne : kIntersectNone;
}
