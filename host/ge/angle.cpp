// Angles of the plane: normalising, directions between points and polar points.
#include "host/ge/angle.h"

#include <cmath>

namespace host::ge {

double normalizeAngle(double angle) {
    double a = std::fmod(angle, kTwoPi);
    if (a < 0.0) a += kTwoPi;
    // fmod of a tiny negative angle plus 2*pi rounds to 2*pi itself, which is the same direction as 0.
    if (a >= kTwoPi) a = 0.0;
    return a;
}

double angleFromTo(const Point2d& from, const Point2d& to) { return (to - from).angle(); }

double angleFromTo(const Point3d& from, const Point3d& to) { return angleFromTo(from.to2d(), to.to2d()); }

Point2d polarPoint(const Point2d& base, double angle, double distance) {
    return {base.x + distance * std::cos(angle), base.y + distance * std::sin(angle)};
}

Point3d polarPoint(const Point3d& base, double angle, double distance) {
    return {base.x + distance * std::cos(angle), base.y + distance * std::sin(angle), base.z};
}

double ccwSweep(double from, double to) { return normalizeAngle(to - from); }

}  // namespace host::ge
