// Intersections of lines, circles and arcs in the plane. Tolerances are lengths, turned into a parameter
// tolerance per segment and an angle per arc where a test needs one.
#include "host/ge/intersect.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "host/ge/angle.h"

namespace host::ge {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

Intersections2d none() { return {}; }

Intersections2d ofKind(IntersectKind kind) {
    Intersections2d r;
    r.kind = kind;
    return r;
}

Intersections2d onePoint(const Point2d& p, IntersectKind kind = IntersectKind::Points) {
    Intersections2d r;
    r.kind = kind;
    r.count = 1;
    r.points[0] = p;
    return r;
}

// Adds a point unless it repeats the one already held (two points closer than the tolerance are one).
void addPoint(Intersections2d& r, const Point2d& p, const Tolerance& tol) {
    if (r.count == 1 && r.points[0].isEqualTo(p, tol)) return;
    if (r.count < 2) r.points[r.count++] = p;
    r.kind = IntersectKind::Points;
}

// The parameter range a line operand covers: [0, 1] for a segment, everything for an infinite line, widened by
// the tolerance turned into a parameter on this line.
struct ParamRange {
    double lo, hi;
    bool contains(double t) const { return t >= lo && t <= hi; }
};
ParamRange rangeOf(LineExtent extent, double length, const Tolerance& tol) {
    if (extent == LineExtent::Infinite) return {-kInfinity, kInfinity};
    const double slack = tol.equalPoint / length;
    return {-slack, 1.0 + slack};
}

double clampToExtent(double t, LineExtent extent) {
    return extent == LineExtent::Segment ? std::clamp(t, 0.0, 1.0) : t;
}

// A line of zero length meets the other operand only where it lies on it.
Intersections2d pointAgainstLine(const Point2d& p, const LineSeg2d& other, LineExtent otherExtent,
                                 const Tolerance& tol) {
    return isPointOnLine(other, p, otherExtent, tol) ? onePoint(p) : none();
}

}  // namespace

bool isPointOnLine(const LineSeg2d& line, const Point2d& p, LineExtent extent, const Tolerance& tol) {
    if (line.isDegenerate(tol)) return line.start.isEqualTo(p, tol);
    const double t = clampToExtent(line.paramOf(p), extent);
    return line.pointAt(t).isEqualTo(p, tol);
}

bool isPointOnArc(const CircArc2d& arc, const Point2d& p, const Tolerance& tol) {
    if (std::abs(arc.center.distanceTo(p) - arc.radius) > tol.equalPoint) return false;
    // A point at the centre of a tiny arc has no angle; it was accepted above only when the radius is within the
    // tolerance, and then the whole arc lies within the tolerance of it.
    if (arc.radius <= tol.equalPoint) return true;
    return arc.containsAngle(angleFromTo(arc.center, p), tol);
}

Intersections2d intersectLines(const LineSeg2d& a, const LineSeg2d& b, LineExtent aExtent, LineExtent bExtent,
                               const Tolerance& tol) {
    if (a.isDegenerate(tol)) {
        if (b.isDegenerate(tol)) return a.start.isEqualTo(b.start, tol) ? onePoint(a.start) : none();
        return pointAgainstLine(a.start, b, bExtent, tol);
    }
    if (b.isDegenerate(tol)) return pointAgainstLine(b.start, a, aExtent, tol);

    const Vector2d da = a.direction(), db = b.direction();
    const double la = da.length(), lb = db.length();
    const double denom = da.cross(db);
    const Vector2d qp = b.start - a.start;

    if (std::abs(denom) <= tol.equalVector * la * lb) {
        // Parallel directions: apart, or on one line.
        const double distance = std::abs(da.cross(qp)) / la;
        if (distance > tol.equalPoint) return ofKind(IntersectKind::Parallel);
        // Collinear: b's extent as parameters on a.
        double blo = -kInfinity, bhi = kInfinity;
        if (bExtent == LineExtent::Segment) {
            const double t0 = a.paramOf(b.start), t1 = a.paramOf(b.end);
            blo = std::min(t0, t1);
            bhi = std::max(t0, t1);
        }
        const double alo = aExtent == LineExtent::Segment ? 0.0 : -kInfinity;
        const double ahi = aExtent == LineExtent::Segment ? 1.0 : kInfinity;
        const double lo = std::max(alo, blo), hi = std::min(ahi, bhi);
        const double slack = tol.equalPoint / la;
        if (hi < lo - slack) return ofKind(IntersectKind::Parallel);
        if (hi - lo <= slack) return onePoint(a.pointAt((lo + hi) / 2));
        Intersections2d r = ofKind(IntersectKind::Overlap);
        r.overlap = std::isinf(lo) || std::isinf(hi) ? a : LineSeg2d{a.pointAt(lo), a.pointAt(hi)};
        return r;
    }

    const double t = qp.cross(db) / denom;  // on a
    const double u = qp.cross(da) / denom;  // on b
    if (!rangeOf(aExtent, la, tol).contains(t) || !rangeOf(bExtent, lb, tol).contains(u)) return none();
    // A crossing just past a segment's end (within the tolerance) is that end.
    const double tc = clampToExtent(t, aExtent);
    const double uc = clampToExtent(u, bExtent);
    if (tc != t) return onePoint(a.pointAt(tc));
    if (uc != u) return onePoint(b.pointAt(uc));
    return onePoint(a.pointAt(t));
}

Intersections2d intersectLineCircle(const LineSeg2d& line, const Point2d& center, double radius,
                                    LineExtent extent, const Tolerance& tol) {
    if (!(radius > 0.0)) return none();
    if (line.isDegenerate(tol)) {
        return std::abs(center.distanceTo(line.start) - radius) <= tol.equalPoint ? onePoint(line.start) : none();
    }
    const Vector2d d = line.direction();
    const double len = d.length();
    const Vector2d u = d / len;
    const double along = (center - line.start).dot(u);         // foot of the perpendicular, from the start
    const double offset = std::abs(u.cross(center - line.start));  // its distance from the centre
    if (offset > radius + tol.equalPoint) return none();

    const ParamRange range = rangeOf(extent, len, tol);
    if (offset >= radius - tol.equalPoint) {
        // Touching within the tolerance: one point, the foot, never a square root of a negative number.
        return range.contains(along / len) ? onePoint(line.start + u * along, IntersectKind::Tangent) : none();
    }
    const double half = std::sqrt(radius * radius - offset * offset);
    Intersections2d r;
    for (double s : {along - half, along + half})  // in the line's direction
        if (range.contains(s / len)) addPoint(r, line.start + u * s, tol);
    return r;
}

Intersections2d intersectLineArc(const LineSeg2d& line, const CircArc2d& arc, LineExtent extent,
                                 const Tolerance& tol) {
    const Intersections2d circle = intersectLineCircle(line, arc.center, arc.radius, extent, tol);
    if (arc.full || circle.count == 0) return circle;
    Intersections2d r;
    for (int i = 0; i < circle.count; ++i)
        if (arc.containsAngle(angleFromTo(arc.center, circle.points[i]), tol)) addPoint(r, circle.points[i], tol);
    if (r.count == 1 && circle.kind == IntersectKind::Tangent) r.kind = IntersectKind::Tangent;
    return r;
}

Intersections2d intersectCircles(const Point2d& c1, double r1, const Point2d& c2, double r2, const Tolerance& tol) {
    if (!(r1 > 0.0) || !(r2 > 0.0)) return none();
    const double eps = tol.equalPoint;
    const double d = c1.distanceTo(c2);
    if (d <= eps) return std::abs(r1 - r2) <= eps ? ofKind(IntersectKind::Overlap) : none();
    if (d > r1 + r2 + eps || d < std::abs(r1 - r2) - eps) return none();

    const Vector2d u = (c2 - c1) / d;
    if (std::abs(d - (r1 + r2)) <= eps) return onePoint(c1 + u * r1, IntersectKind::Tangent);
    if (std::abs(d - std::abs(r1 - r2)) <= eps)
        return onePoint(c1 + u * (r1 > r2 ? r1 : -r1), IntersectKind::Tangent);

    // The cosine of the angle at c1 between the line of centres and a crossing. The band tests above keep it
    // inside [-1, 1] in exact arithmetic; rounding can still push it out, and near-tangent circles then gave NaN
    // points, so it is clamped.
    const double cosAlpha = std::clamp((d * d + r1 * r1 - r2 * r2) / (2.0 * r1 * d), -1.0, 1.0);
    const double along = r1 * cosAlpha;
    const double across = r1 * std::sqrt(std::max(0.0, 1.0 - cosAlpha * cosAlpha));
    const Point2d base = c1 + u * along;
    const Point2d left = base + u.perp() * across, right = base - u.perp() * across;
    if (left.isEqualTo(right, tol)) return onePoint(base, IntersectKind::Tangent);
    Intersections2d r;
    r.kind = IntersectKind::Points;
    r.count = 2;
    r.points = {left, right};
    return r;
}

Intersections2d intersectArcs(const CircArc2d& a, const CircArc2d& b, const Tolerance& tol) {
    const Intersections2d circles = intersectCircles(a.center, a.radius, b.center, b.radius, tol);
    if (circles.kind == IntersectKind::Overlap) {
        // One circle: the sweeps as counter-clockwise ranges [start, start + sweep], measured from a's start.
        const double aStart = a.clockwise ? a.endAngle : a.startAngle;
        const double bStart = b.clockwise ? b.endAngle : b.startAngle;
        const double wa = a.sweep(), wb = b.sweep();
        const double shift = ccwSweep(aStart, bStart);
        const double shared = std::max(0.0, std::min(wa, shift + wb) - shift) +
                              std::max(0.0, std::min(wa, shift + wb - kTwoPi));
        if (shared * a.radius > tol.equalPoint) return circles;
        Intersections2d r;
        for (const Point2d& p : {a.startPoint(), a.endPoint(), b.startPoint(), b.endPoint()})
            if (isPointOnArc(a, p, tol) && isPointOnArc(b, p, tol)) addPoint(r, p, tol);
        return r;
    }
    Intersections2d r;
    for (int i = 0; i < circles.count; ++i) {
        const Point2d& p = circles.points[i];
        if (a.containsAngle(angleFromTo(a.center, p), tol) && b.containsAngle(angleFromTo(b.center, p), tol))
            addPoint(r, p, tol);
    }
    if (r.count == 1 && circles.kind == IntersectKind::Tangent) r.kind = IntersectKind::Tangent;
    return r;
}

}  // namespace host::ge
