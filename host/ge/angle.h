// Angles of the plane: normalising, the direction from one point to another, and the point at an angle and a
// distance.
#pragma once

#include <numbers>

#include "host/ge/point.h"

namespace host::ge {

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kTwoPi = 2.0 * std::numbers::pi;
inline constexpr double kHalfPi = 0.5 * std::numbers::pi;

// The same direction in [0, 2*pi). An angle a rounding error below 2*pi (or below 0) comes back as 0, so the
// answer is never 2*pi itself. Not-a-number stays not-a-number.
double normalizeAngle(double angle);

// The direction from `from` to `to` in the XY plane, in [0, 2*pi); z is ignored. Coincident points answer 0.
double angleFromTo(const Point2d& from, const Point2d& to);
double angleFromTo(const Point3d& from, const Point3d& to);

// The point at `distance` from `base` in the direction `angle` (radians from the x axis). The 3D form keeps
// base's z.
Point2d polarPoint(const Point2d& base, double angle, double distance);
Point3d polarPoint(const Point3d& base, double angle, double distance);

// The counter-clockwise turn from angle `from` to angle `to`, in [0, 2*pi).
double ccwSweep(double from, double to);

// Degrees <-> radians.
constexpr double degreesToRadians(double deg) { return deg * kPi / 180.0; }
constexpr double radiansToDegrees(double rad) { return rad * 180.0 / kPi; }

}  // namespace host::ge
