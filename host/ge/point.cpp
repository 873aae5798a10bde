// The global tolerance and the vector operations that need more than one line.
#include "host/ge/point.h"

#include "host/ge/angle.h"

namespace host::ge {

Tolerance& globalTolerance() {
    static Tolerance tolerance;
    return tolerance;
}

double Vector2d::angle() const {
    if (x == 0.0 && y == 0.0) return 0.0;
    return normalizeAngle(std::atan2(y, x));
}

Vector2d Vector2d::normal() const {
    const double len = length();
    if (len == 0.0) return {};
    return {x / len, y / len};
}

Vector3d Vector3d::normal() const {
    const double len = length();
    if (len == 0.0) return {};
    return {x / len, y / len, z / len};
}

}  // namespace host::ge
