// Segments and circular arcs: points on them, sweeps, bounds, and the arcs built from a bulge or three points.
#include "host/ge/curve.h"

#include <algorithm>
#include <cmath>

#include "host/ge/angle.h"
#include "host/ge/orientation.h"

namespace host::ge {

double LineSeg2d::paramOf(const Point2d& p) const {
    const Vector2d d = direction();
    const double len2 = d.lengthSqrd();
    if (len2 == 0.0) return 0.0;
    return (p - start).dot(d) / len2;
}

Point2d CircArc2d::pointAtAngle(double angle) const { return polarPoint(center, angle, radius); }
Point2d CircArc2d::startPoint() const { return pointAtAngle(startAngle); }
Point2d CircArc2d::endPoint() const { return pointAtAngle(full ? startAngle : endAngle); }

double CircArc2d::sweep() const {
    if (full) return kTwoPi;
    return clockwise ? ccwSweep(endAngle, startAngle) : ccwSweep(startAngle, endAngle);
}

double CircArc2d::offsetFromStart(double angle) const {
    return clockwise ? ccwSweep(angle, startAngle) : ccwSweep(startAngle, angle);
}

bool CircArc2d::containsAngle(double angle, const Tolerance& tol) const {
    if (full) return true;
    // The tolerance is a length on the arc; turned into an angle on this arc's radius.
    const double angleTol = radius > 0.0 ? tol.equalPoint / radius : 0.0;
    const double offset = offsetFromStart(angle);
    return offset <= sweep() + angleTol || offset >= kTwoPi - angleTol;
}

std::pair<Point2d, Point2d> CircArc2d::bounds() const {
    const Point2d s = startPoint(), e = endPoint();
    Point2d lo{std::min(s.x, e.x), std::min(s.y, e.y)};
    Point2d hi{std::max(s.x, e.x), std::max(s.y, e.y)};
    // The quadrant points the arc passes through: 0, pi/2, pi, 3pi/2.
    for (int q = 0; q < 4; ++q) {
        const double a = q * kHalfPi;
        if (!full && offsetFromStart(a) > sweep()) continue;
        const Point2d p = pointAtAngle(a);
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y)};
    }
    return {lo, hi};
}

CircArc2d CircArc2d::reversed() const {
    CircArc2d r = *this;
    if (!full) std::swap(r.startAngle, r.endAngle);
    r.clockwise = !clockwise;
    return r;
}

std::optional<CircArc2d> CircArc2d::fromBulge(const Point2d& start, const Point2d& end, double bulge,
                                              const Tolerance& tol) {
    const Vector2d chord = end - start;
    const double c = chord.length();
    if (bulge == 0.0 || !std::isfinite(bulge) || c <= tol.equalPoint) return std::nullopt;
    // The centre lies on the chord's perpendicular bisector, (c/2)(1 - b^2)/(2b) to the left of the chord:
    // left for a counter-clockwise (positive) bulge, right for a clockwise one.
    const Vector2d left = chord.perp() / c;
    const double offset = 0.5 * c * (1.0 - bulge * bulge) / (2.0 * bulge);
    CircArc2d arc;
    arc.center = Point2d{(start.x + end.x) / 2, (start.y + end.y) / 2} + left * offset;
    arc.radius = c * (1.0 + bulge * bulge) / (4.0 * std::abs(bulge));
    arc.startAngle = angleFromTo(arc.center, start);
    arc.endAngle = angleFromTo(arc.center, end);
    arc.clockwise = bulge < 0.0;
    return arc;
}

std::optional<CircArc2d> CircArc2d::fromThreePoints(const Point2d& a, const Point2d& b, const Point2d& c,
                                                    const Tolerance& tol) {
    if (a.isEqualTo(c, tol)) return std::nullopt;
    const Side turn = turnOf(a, b, c, tol);
    if (turn == Side::On) return std::nullopt;
    // Circumcentre, relative to a.
    const Vector2d ab = b - a, ac = c - a;
    const double d = 2.0 * ab.cross(ac);
    const double ab2 = ab.lengthSqrd(), ac2 = ac.lengthSqrd();
    const Vector2d rel{(ac.y * ab2 - ab.y * ac2) / d, (ab.x * ac2 - ac.x * ab2) / d};
    CircArc2d arc;
    arc.center = a + rel;
    arc.radius = rel.length();
    arc.startAngle = angleFromTo(arc.center, a);
    arc.endAngle = angleFromTo(arc.center, c);
    // Points on a circle visited counter-clockwise make a counter-clockwise triangle.
    arc.clockwise = turn == Side::Right;
    return arc;
}

CircArc2d CircArc2d::fromCenter(const Point2d& center, double radius, double startAngle, double endAngle) {
    CircArc2d arc;
    arc.center = center;
    arc.radius = radius;
    arc.startAngle = normalizeAngle(startAngle);
    arc.endAngle = normalizeAngle(endAngle);
    arc.full = arc.startAngle == arc.endAngle;
    return arc;
}

CircArc2d CircArc2d::fullCircle(const Point2d& center, double radius) { return fromCenter(center, radius, 0, 0); }

double CircArc2d::bulge() const {
    if (full) return 0.0;
    const double b = std::tan(sweep() / 4.0);
    return clockwise ? -b : b;
}

}  // namespace host::ge
