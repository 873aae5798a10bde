// Segment-circle, segment-arc, circle-circle, arc-circle and arc-arc intersections.
#include "cadlib/circle_intersections.h"

#include <algorithm>
#include <cmath>

#include "cadlib/angles.h"
#include "cadlib/numbers.h"
#include "cadlib/segment_box.h"
#include "host/ge/angle.h"

using host::ge::Point3d;

namespace {

double onArcGrid(double angle) { return RoundToFraction(angle, kArcAngleGrid); }

// The angle-range rule of the segment-arc test: equal ends are the whole circle.
bool onRoundedArc(double start, double end, double t) {
    if (end > start) return start <= t && t <= end;
    return t >= start || t <= end;
}

// The rule of the arc-circle and arc-arc tests: inclusive, equal ends are that single angle.
bool onArc(const Point3d& centre, double start, double end, const Point3d& p) {
    return IsAngleInRange(start, end, host::ge::angleFromTo(centre, p));
}

// The centre distance: exact along an axis, where hypot's rounding would make a touch look like a crossing.
double centreDistance(const Point3d& c1, const Point3d& c2) {
    if (c1.y == c2.y) return std::fabs(c2.x - c1.x);
    if (c1.x == c2.x) return std::fabs(c2.y - c1.y);
    return std::hypot(c2.x - c1.x, c2.y - c1.y);
}

// Keeps the points of a circle-circle answer that `keep` accepts, in the arc routines' way.
template <class Keep>
int keepOnArcs(int n, Point3d& out1, Point3d& out2, Keep keep) {
    if (n == kIntersectNone) return kIntersectNone;
    if (n == kIntersectOne) return keep(out1) ? kIntersectTouch : kIntersectNone;
    const bool first = keep(out1), second = keep(out2);
    if (first && second) return kIntersectTwo;
    if (first) return kIntersectOne;
    if (second) {
        out1 = out2;
        return kIntersectOne;
    }
    return kIntersectNone;
}

}  // namespace

int IntersectSegmentCircle(const Point3d& a1, Point3d& a2, const Point3d& centre, const double& radius,
                           Point3d& out1, Point3d& out2) {
    using host::ge::polarPoint;
    out1 = out2 = Point3d{0.0, 0.0, 0.0};
    const double theta = host::ge::angleFromTo(a1, a2);
    Point3d d1 = polarPoint(centre, theta + cadlib::kHalfPi, radius);
    Point3d d2 = polarPoint(centre, theta - cadlib::kHalfPi, radius);
    Point3d foot;
    IntersectSegments(a1, a2, d1, d2, foot);
    const double d = centre.distanceTo(foot);
    if (d > radius) return kIntersectNone;
    if (d == radius) {
        out1 = foot;
        return IsPointInSegmentBox(a1, a2, foot) ? kIntersectTouch : kIntersectNone;
    }
    const double h = std::sqrt(radius * radius - d * d);
    const Point3d q1 = polarPoint(foot, theta, h);
    const Point3d q2 = polarPoint(foot, theta, -h);
    const bool in1 = IsPointInSegmentBox(a1, a2, q1) != 0;
    const bool in2 = IsPointInSegmentBox(a1, a2, q2) != 0;
    if (in1 && in2) {
        out1 = q1;
        out2 = q2;
        return kIntersectTwo;
    }
    if (in1) {
        out1 = q1;
        return kIntersectOne;
    }
    if (in2) {
        out1 = out2 = q2;
        return kIntersectOne;
    }
    return kIntersectNone;
}

int IntersectSegmentArc(const Point3d& a1, Point3d& a2, const Point3d& centre, const double& radius,
                        const Point3d& arcStart, const Point3d& arcEnd, Point3d& out1, Point3d& out2) {
    const int n = IntersectSegmentCircle(a1, a2, centre, radius, out1, out2);
    if (n == kIntersectNone) return kIntersectNone;
    const double start = onArcGrid(host::ge::angleFromTo(centre, arcStart));
    const double end = onArcGrid(host::ge::angleFromTo(centre, arcEnd));
    auto onTheArc = [&](const Point3d& p) {
        return onRoundedArc(start, end, onArcGrid(host::ge::angleFromTo(centre, p)));
    };
    if (n == kIntersectTouch) return onTheArc(out1) ? kIntersectTouch : kIntersectNone;
    if (n == kIntersectOne) return onTheArc(out1) ? kIntersectOne : kIntersectNone;
    const bool first = onTheArc(out1), second = onTheArc(out2);
    if (first && second) return kIntersectTwo;
    if (first) return kIntersectOne;
    if (second) {
        out1 = out2;
        return kIntersectOne;
    }
    return kIntersectNone;
}

int IntersectCircles(const Point3d& c1, const double& r1, const Point3d& c2, const double& r2, Point3d& out1,
                     Point3d& out2) {
    const double d = centreDistance(c1, c2);
    if (d > r1 + r2 || std::fabs(r1 - r2) > d) return kIntersectNone;
    if (d == 0.0) return kIntersectNone;  // equal radii here: coincident circles
    const double phi = host::ge::angleFromTo(c1, c2);
    if (d == r1 + r2) {
        out1 = host::ge::polarPoint(c1, phi, r1);
        return kIntersectOne;
    }
    const double cosine = std::clamp((r1 * r1 + d * d - r2 * r2) / (2.0 * r1 * d), -1.0, 1.0);
    const double alpha = std::acos(cosine);
    out1 = host::ge::polarPoint(c1, phi + alpha, r1);
    out2 = host::ge::polarPoint(c1, phi - alpha, r1);
    return kIntersectTwo;
}

int IntersectArcCircle(const Point3d& arcCentre, const double& arcRadius, double startAngle, double endAngle,
                       const Point3d& circleCentre, const double& circleRadius, Point3d& out1, Point3d& out2) {
    const int n = IntersectCircles(arcCentre, arcRadius, circleCentre, circleRadius, out1, out2);
    return keepOnArcs(n, out1, out2, [&](const Point3d& p) { return onArc(arcCentre, startAngle, endAngle, p); });
}

int IntersectArcs(const Point3d& c1, const double& r1, double s1, double e1, const Point3d& c2, const double& r2,
                  double s2, double e2, Point3d& out1, Point3d& out2) {
    const int n = IntersectCircles(c1, r1, c2, r2, out1, out2);
    return keepOnArcs(n, out1, out2,
                      [&](const Point3d& p) { return onArc(c1, s1, e1, p) && onArc(c2, s2, e2, p); });
}
