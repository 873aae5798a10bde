// Point equality at a precision (strict) and by a tolerance (inclusive).
#include "cadlib/point_equality.h"

#include <cmath>

int CoordinatesDifferAtPrecision(double x1, double y1, double x2, double y2, int n) {
    // Written as "equal when both are below one step" so that a NaN, which fails every comparison, differs.
    const bool equal = 1.0 > std::fabs(x1 - x2) * n && 1.0 > std::fabs(y1 - y2) * n;
    return equal ? 0 : 1;
}

int PointsDifferAtPrecision(const host::ge::Point3d& p, const host::ge::Point3d& q, int n) {
    return CoordinatesDifferAtPrecision(p.x, p.y, q.x, q.y, n);
}

int CoordinatesDifferByTolerance(double x1, double y1, double x2, double y2, double t) {
    const bool equal = t >= std::fabs(x1 - x2) && t >= std::fabs(y1 - y2);
    return equal ? 0 : 1;
}

int PointsDifferByTolerance(const host::ge::Point3d& p, const host::ge::Point3d& q, double t) {
    return CoordinatesDifferByTolerance(p.x, p.y, q.x, q.y, t);
}
