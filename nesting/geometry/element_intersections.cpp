// Segment, circle and arc intersections of the nesting geometry, and their dispatch by element type.
#include "nesting/geometry/element_intersections.h"

#include <algorithm>
#include <cmath>

#include "cadlib/angles.h"
#include "nesting/geometry/contour_box.h"
#include "nesting/geometry/contour_kernel.h"

using host::ge::Point2d;

namespace {

// Least |dy| and greatest |dx/dy| of a segment that gets the near-vertical correction.
constexpr double kNearVerticalMinRise = 1e-10;
constexpr double kNearVerticalSlope = 1e-14;
// Growth of the boxes of the pair filter of ContourHitsElement, well beyond the grids on which points count.
constexpr double kReachMargin = 1e-4;

// v within [a, b] or [b, a], ends included.
bool between(double v, double a, double b) { return a <= b ? (a <= v && v <= b) : (b <= v && v <= a); }

// Rules 1 and 2 of the segment test for segments on one axis-parallel line: `along` picks the coordinate that
// varies along the line.
template <class Along>
int overlapOnLine(const Point2d& p0, const Point2d& p1, const Point2d& p2, const Point2d& p3, Point2d& out,
                  Along along) {
    if (between(along(p0), along(p2), along(p3))) {
        out = p0;
    } else if (between(along(p1), along(p2), along(p3))) {
        out = p1;
    } else if (between(along(p2), along(p0), along(p1))) {
        out = p2;
    } else if (between(along(p3), along(p0), along(p1))) {
        out = p3;
    } else {
        return kNoPoint;
    }
    return kOnePoint;
}

int segmentIntersection(const Point2d& p0, const Point2d& p1, const Point2d& p2, const Point2d& p3, Point2d& out,
                        bool nearVerticalCorrection) {
    const double dx1 = p1.x - p0.x, dy1 = p1.y - p0.y;
    const double dx2 = p3.x - p2.x, dy2 = p3.y - p2.y;
    double x = 0.0, y = 0.0;
    if (dx1 == 0.0 && dx2 == 0.0) {
        if (p0.x != p2.x) return kNoPoint;
        return overlapOnLine(p0, p1, p2, p3, out, [](const Point2d& p) { return p.y; });
    }
    if (dy1 == 0.0 && dy2 == 0.0) {
        if (p0.y != p2.y) return kNoPoint;
        return overlapOnLine(p0, p1, p2, p3, out, [](const Point2d& p) { return p.x; });
    }
    if (dy1 == 0.0) {
        y = p0.y;
        if (dx2 == 0.0) {
            x = p2.x;
        } else {
            const double k2 = dy2 / dx2, b2 = p2.y - p2.x * k2;
            x = (p0.y - b2) / k2;
        }
    } else if (dy2 == 0.0) {
        y = p2.y;
        if (dx1 == 0.0) {
            x = p0.x;
        } else {
            const double k1 = dy1 / dx1, b1 = p0.y - p0.x * k1;
            x = (p2.y - b1) / k1;
        }
    } else {
        const double det = dx2 * dy1 - dy2 * dx1;
        if (det == 0.0) {
            // Parallel; both runs are non-zero here (a vertical one would have met rule 1 or made det non-zero).
            const double k1 = dy1 / dx1, b1 = p0.y - p0.x * k1;
            const double k2 = dy2 / dx2, b2 = p2.y - p2.x * k2;
            if (b1 != b2 || k1 != k2) return kNoPoint;
            for (const Point2d* candidate : {&p2, &p3}) {
                if (PointInBoxOnGrid(p0, p1, *candidate, kSegmentGrid)) {
                    out = *candidate;
                    return kOnePoint;
                }
            }
            for (const Point2d* candidate : {&p0, &p1}) {
                if (PointInBoxOnGrid(p2, p3, *candidate, kSegmentGrid)) {
                    out = *candidate;
                    return kOnePoint;
                }
            }
            return kNoPoint;
        }
        x = (dx2 * (p0.x * dy1 - p0.y * dx1) - dx1 * (p2.x * dy2 - p2.y * dx2)) / det;
        if (std::fabs(dx1) > std::fabs(dx2)) {
            y = (x - p0.x) * dy1 / dx1 + p0.y;
        } else {
            y = (x - p2.x) * dy2 / dx2 + p2.y;
        }
        if (nearVerticalCorrection) {
            if (std::fabs(dy1) > kNearVerticalMinRise && std::fabs(dx1 / dy1) < kNearVerticalSlope) {
                x = p1.x - (p1.y - y) / dy1 * dx1;
            }
            if (std::fabs(dy2) > kNearVerticalMinRise && std::fabs(dx2 / dy2) < kNearVerticalSlope) {
                x = p3.x - (p3.y - y) / dy2 * dx2;
            }
        }
    }
    out = Point2d{x, y};
    return (PointInBoxOnGrid(p0, p1, out, kSegmentGrid) && PointInBoxOnGrid(p2, p3, out, kSegmentGrid)) ? kOnePoint
                                                                                                        : kNoPoint;
}

// The centre distance: exact along an axis, where rounding would make a touch look like a crossing.
double centreDistance(const Point2d& c1, const Point2d& c2) {
    if (c1.y == c2.y) return std::fabs(c2.x - c1.x);
    if (c1.x == c2.x) return std::fabs(c2.y - c1.y);
    return GetDistance(c1, c2);
}

// Keeps the points of a two-circle answer that `keep` accepts: one point is a touch, of two the accepted ones
// with the second moved into out1 when only it counts.
template <class Keep>
int keepPoints(int n, Point2d& out1, Point2d& out2, Keep keep) {
    if (n == kNoPoint) return kNoPoint;
    if (n == kOnePoint) return keep(out1) ? kTouchPoint : kNoPoint;
    const bool first = keep(out1), second = keep(out2);
    if (first && second) return kTwoPoints;
    if (first) return kOnePoint;
    if (second) {
        out1 = out2;
        return kOnePoint;
    }
    return kNoPoint;
}

}  // namespace

int SegmentIntersection(const Point2d& p0, const Point2d& p1, const Point2d& p2, const Point2d& p3, Point2d& out) {
    return segmentIntersection(p0, p1, p2, p3, out, true);
}

int SegmentIntersectionPlain(const Point2d& p0, const Point2d& p1, const Point2d& p2, const Point2d& p3,
                             Point2d& out) {
    return segmentIntersection(p0, p1, p2, p3, out, false);
}

int CircleIntersection(const Point2d& c1, double r1, const Point2d& c2, double r2, Point2d& out1, Point2d& out2) {
    const double d = centreDistance(c1, c2);
    if (d > r1 + r2 || std::fabs(r1 - r2) > d) return kNoPoint;
    if (d == 0.0 && r1 == r2 && r1 > 0.0) return kNoPoint;
    const double theta = GetDirectionAngle(c1, c2);
    if (d == r1 + r2) {
        PolarPoint(c1, theta, r1, out1);
        return kOnePoint;
    }
    // Here d > 0 and r1 > 0: d = 0 with unequal radii, and r1 = 0 with d != r2, were answered above.
    const double cosine = std::clamp((r1 * r1 + d * d - r2 * r2) / (2.0 * r1 * d), -1.0, 1.0);
    const double a = std::acos(cosine);
    PolarPoint(c1, theta + a, r1, out1);
    PolarPoint(c1, theta - a, r1, out2);
    return kTwoPoints;
}

int ArcCircleIntersection(const Point2d& c, double r, double startAngle, double endAngle, const Point2d& c2,
                          double r2, Point2d& out1, Point2d& out2) {
    const int n = CircleIntersection(c, r, c2, r2, out1, out2);
    return keepPoints(n, out1, out2,
                      [&](const Point2d& p) { return IsAngleOnArc(startAngle, endAngle, GetDirectionAngle(c, p)); });
}

int ArcArcIntersection(const Point2d& c1, double r1, double s1, double e1, const Point2d& c2, double r2, double s2,
                       double e2, Point2d& out1, Point2d& out2) {
    const int n = CircleIntersection(c1, r1, c2, r2, out1, out2);
    return keepPoints(n, out1, out2, [&](const Point2d& p) {
        return IsAngleOnArc(s1, e1, GetDirectionAngle(c1, p)) && IsAngleOnArc(s2, e2, GetDirectionAngle(c2, p));
    });
}

int SegmentCircleIntersection(const Point2d& p0, const Point2d& p1, const Point2d& c, double r, Point2d& out1,
                              Point2d& out2) {
    out1 = out2 = Point2d{0.0, 0.0};
    const double theta = GetDirectionAngle(p0, p1);
    Point2d a, b;
    PolarPoint(c, theta + cadlib::kHalfPi, r, a);
    PolarPoint(c, theta - cadlib::kHalfPi, r, b);
    // The foot of the perpendicular is written even when it lies outside the diameter or the segment. For
    // degenerate input (a zero radius) nothing may be written; p0 then stands for the foot.
    Point2d foot = p0;
    SegmentIntersection(p0, p1, a, b, foot);
    const double d = GetDistance(foot, c);
    if (d > r) return kNoPoint;
    if (d == r) {
        out1 = foot;
        return PointInBoxOnGrid(p0, p1, foot, kSegmentCircleGrid) ? kTouchPoint : kNoPoint;
    }
    const double h = std::sqrt(r * r - d * d);
    PolarPoint(foot, theta, h, out1);
    PolarPoint(foot, theta + cadlib::kPi, h, out2);
    return keepPoints(kTwoPoints, out1, out2,
                      [&](const Point2d& p) { return PointInBoxOnGrid(p0, p1, p, kSegmentCircleGrid); });
}

int SegmentArcIntersection(const Point2d& p0, const Point2d& p1, const Point2d& c, double r, const Point2d& arcStart,
                           const Point2d& arcEnd, Point2d& out1, Point2d& out2) {
    const int n = SegmentCircleIntersection(p0, p1, c, r, out1, out2);
    if (n == kNoPoint) return kNoPoint;
    const double s = RoundArcAngle(GetDirectionAngle(c, arcStart));
    const double e = RoundArcAngle(GetDirectionAngle(c, arcEnd));
    const auto onArc = [&](const Point2d& p) { return IsAngleOnArc(s, e, RoundArcAngle(GetDirectionAngle(c, p))); };
    if (n == kOnePoint || n == kTouchPoint) return onArc(out1) ? n : kNoPoint;
    return keepPoints(kTwoPoints, out1, out2, onArc);
}

int IntersectElements(const ContourElement& a, const ContourElement& b, Point2d& out1, Point2d& out2) {
    switch (a.Type) {
    case kElementCircle:
        switch (b.Type) {
        case kElementCircle: return CircleIntersection(a.Centre, a.Radius, b.Centre, b.Radius, out1, out2);
        case kElementLine: return SegmentCircleIntersection(b.Start, b.End, a.Centre, a.Radius, out1, out2);
        case kElementArc:
            return ArcCircleIntersection(b.Centre, b.Radius, b.StartAngle, b.EndAngle, a.Centre, a.Radius, out1,
                                         out2);
        default: return kNoPoint;
        }
    case kElementLine:
        switch (b.Type) {
        case kElementCircle: return SegmentCircleIntersection(a.Start, a.End, b.Centre, b.Radius, out1, out2);
        case kElementLine: return SegmentIntersectionPlain(a.Start, a.End, b.Start, b.End, out1);
        case kElementArc:
            return SegmentArcIntersection(a.Start, a.End, b.Centre, b.Radius, b.Start, b.End, out1, out2);
        default: return kNoPoint;
        }
    case kElementArc:
        switch (b.Type) {
        case kElementCircle:
            return ArcCircleIntersection(a.Centre, a.Radius, a.StartAngle, a.EndAngle, b.Centre, b.Radius, out1,
                                         out2);
        case kElementLine:
            return SegmentArcIntersection(b.Start, b.End, a.Centre, a.Radius, a.Start, a.End, out1, out2);
        case kElementArc:
            return ArcArcIntersection(a.Centre, a.Radius, a.StartAngle, a.EndAngle, b.Centre, b.Radius,
                                      b.StartAngle, b.EndAngle, out1, out2);
        default: return kNoPoint;
        }
    default: return kNoPoint;
    }
}

int ContourHitsElement(const Contour& contour, const ContourElement& e) {
    if (e.Type != kElementLine && e.Type != kElementArc) return 0;
    // Pairs whose boxes lie apart (by more than the grids of the tests) cannot meet and are not intersected.
    const BoundingBox reach = ElementReachBox(e, kReachMargin);
    Point2d x1, x2;
    for (const ContourElement& f : contour.Elements) {
        if ((f.Type != kElementLine && f.Type != kElementArc) || BoxesApart(reach, ElementReachBox(f, kReachMargin))) {
            continue;
        }
        int n = kNoPoint;
        if (f.Type == kElementLine && e.Type == kElementLine) {
            n = SegmentIntersection(f.Start, f.End, e.Start, e.End, x1);
        } else if (f.Type == kElementLine) {
            n = SegmentArcIntersection(f.Start, f.End, e.Centre, e.Radius, e.Start, e.End, x1, x2);
        } else if (f.Type == kElementArc && e.Type == kElementLine) {
            n = SegmentArcIntersection(e.Start, e.End, f.Centre, f.Radius, f.Start, f.End, x1, x2);
        } else if (f.Type == kElementArc) {
            n = ArcArcIntersection(f.Centre, f.Radius, f.StartAngle, f.EndAngle, e.Centre, e.Radius, e.StartAngle,
                                   e.EndAngle, x1, x2);
        }
        if (n != kNoPoint) return 1;
    }
    return 0;
}
