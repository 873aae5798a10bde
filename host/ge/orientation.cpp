// Side of a point against a directed line, decided by its distance so that the tolerance is a length.
#include "host/ge/orientation.h"

namespace host::ge {

Side sideOfLine(const Point2d& a, const Point2d& b, const Point2d& p, const Tolerance& tol) {
    const Vector2d dir = b - a;
    const double len = dir.length();
    if (len <= tol.equalPoint) return Side::On;
    const double distance = dir.cross(p - a) / len;  // signed: positive on the left
    if (distance > tol.equalPoint) return Side::Left;
    if (distance < -tol.equalPoint) return Side::Right;
    return Side::On;
}

Side turnOf(const Point2d& a, const Point2d& b, const Point2d& c, const Tolerance& tol) {
    // b against the chord a-c: b left of a->c is a clockwise path a->b->c, so the answer is mirrored.
    switch (sideOfLine(a, c, b, tol)) {
        case Side::Left: return Side::Right;
        case Side::Right: return Side::Left;
        case Side::On: return Side::On;
    }
    return Side::On;
}

}  // namespace host::ge
