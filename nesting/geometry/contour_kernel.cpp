// Direction angles, polar points, grid comparisons and element ends of the nesting geometry.
#include "nesting/geometry/contour_kernel.h"

#include <cmath>
#include <limits>

#include "cadlib/angles.h"

using host::ge::Point2d;

namespace {

// Grid of the angle rounding of the segment-arc test (steps of 1e-9 radians).
constexpr double kArcAngleGridSteps = 1e9;

// trunc(v * k + 0.5) as a 64-bit integer. Values past the 64-bit range saturate and NaN gives 0 (truncating
// them is undefined).
std::int64_t gridValue(double v, double k) {
    const double scaled = v * k + 0.5;
    if (std::isnan(scaled)) return 0;
    constexpr double kLimit = 9.2e18;
    if (scaled >= kLimit) return std::numeric_limits<std::int64_t>::max();
    if (scaled <= -kLimit) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(scaled);
}

bool isFinitePoint(const Point2d& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

bool gridBetween(std::int64_t a, std::int64_t b, std::int64_t v) {
    return a <= b ? (a <= v && v <= b) : (b <= v && v <= a);
}

}  // namespace

double GetDirectionAngle(const Point2d& p0, const Point2d& p1) {
    const double dx = p1.x - p0.x;
    const double dy = p1.y - p0.y;
    if (std::fabs(dx) <= kVerticalRunLimit) return dy > 0.0 ? cadlib::kHalfPi : 3.0 * cadlib::kHalfPi;
    const double a = std::atan(std::fabs(dy) / std::fabs(dx));
    if (dx > 0.0) return dy >= 0.0 ? a : cadlib::kTwoPi - a;
    return dy >= 0.0 ? cadlib::kPi - a : cadlib::kPi + a;
}

void PolarPoint(const Point2d& p, double angle, double dist, Point2d& out) {
    out = Point2d{p.x + dist * std::cos(angle), p.y + dist * std::sin(angle)};
}

double GetDistance(const Point2d& p0, const Point2d& p1) {
    const double dx = p1.x - p0.x;
    const double dy = p1.y - p0.y;
    return std::sqrt(dx * dx + dy * dy);
}

int PointsDiffer(const Point2d& p, const Point2d& q, double k) {
    return (std::fabs(p.x - q.x) * k >= 1.0 || std::fabs(p.y - q.y) * k >= 1.0) ? 1 : 0;
}

int DiffersFromJoint(const Point2d& a, const Point2d& b, const Point2d& q, double k) {
    return (PointsDiffer(a, q, k) == 0 && PointsDiffer(b, q, k) == 0) ? 0 : 1;
}

bool PointInBoxOnGrid(const Point2d& a, const Point2d& b, const Point2d& p, double k) {
    if (!isFinitePoint(a) || !isFinitePoint(b) || !isFinitePoint(p)) return false;
    return gridBetween(gridValue(a.x, k), gridValue(b.x, k), gridValue(p.x, k)) &&
           gridBetween(gridValue(a.y, k), gridValue(b.y, k), gridValue(p.y, k));
}

bool IsAngleOnArc(double s, double e, double a) {
    if (e > s) return s <= a && a <= e;
    return a >= s || a <= e;
}

double RoundArcAngle(double v) {
    return static_cast<double>(gridValue(v, kArcAngleGridSteps)) / kArcAngleGridSteps;
}

bool RunsBackward(const ContourElement& e) { return e.Type != kElementLine && e.Reversed == 1; }

Point2d LogicalStart(const ContourElement& e) { return RunsBackward(e) ? e.End : e.Start; }

Point2d LogicalEnd(const ContourElement& e) { return RunsBackward(e) ? e.Start : e.End; }

void SetLogicalStart(ContourElement& e, const Point2d& p) {
    if (RunsBackward(e)) {
        e.End = p;
        if (e.Type == kElementArc) e.EndAngle = GetDirectionAngle(e.Centre, p);
    } else {
        e.Start = p;
        if (e.Type == kElementArc) e.StartAngle = GetDirectionAngle(e.Centre, p);
    }
}

void SetLogicalEnd(ContourElement& e, const Point2d& p) {
    if (RunsBackward(e)) {
        e.Start = p;
        if (e.Type == kElementArc) e.StartAngle = GetDirectionAngle(e.Centre, p);
    } else {
        e.End = p;
        if (e.Type == kElementArc) e.EndAngle = GetDirectionAngle(e.Centre, p);
    }
}

void SetLineAngles(ContourElement& line) {
    line.StartAngle = GetDirectionAngle(line.Start, line.End);
    double back = line.StartAngle + cadlib::kPi;
    NormalizeAngle(back);
    line.EndAngle = back;
}
