// Points and vectors of the plane and of space, and the global tolerance that decides when two are the same.
#pragma once

#include <cmath>

namespace host::ge {

// The host's global tolerance. equalPoint is a distance: two points closer than it are the same point.
// equalVector is used for directions (unit-vector differences and parallelism).
struct Tolerance {
    double equalPoint = 1e-10;
    double equalVector = 1e-12;
};

// The tolerance every geometry call uses when it is given none. Changed by the editor's settings.
Tolerance& globalTolerance();

struct Vector2d {
    double x = 0.0, y = 0.0;

    constexpr Vector2d() = default;
    constexpr Vector2d(double x_, double y_) : x(x_), y(y_) {}

    double length() const { return std::hypot(x, y); }
    double lengthSqrd() const { return x * x + y * y; }
    // Angle from the x axis, in [0, 2*pi).
    double angle() const;
    // The unit vector; the zero vector stays zero.
    Vector2d normal() const;
    constexpr Vector2d perp() const { return {-y, x}; }
    constexpr double dot(const Vector2d& o) const { return x * o.x + y * o.y; }
    constexpr double cross(const Vector2d& o) const { return x * o.y - y * o.x; }

    constexpr Vector2d operator+(const Vector2d& o) const { return {x + o.x, y + o.y}; }
    constexpr Vector2d operator-(const Vector2d& o) const { return {x - o.x, y - o.y}; }
    constexpr Vector2d operator-() const { return {-x, -y}; }
    constexpr Vector2d operator*(double s) const { return {x * s, y * s}; }
    constexpr Vector2d operator/(double s) const { return {x / s, y / s}; }
    constexpr bool operator==(const Vector2d&) const = default;
};

struct Point2d {
    double x = 0.0, y = 0.0;

    constexpr Point2d() = default;
    constexpr Point2d(double x_, double y_) : x(x_), y(y_) {}

    double distanceTo(const Point2d& o) const { return std::hypot(o.x - x, o.y - y); }
    bool isEqualTo(const Point2d& o, const Tolerance& tol = globalTolerance()) const {
        return distanceTo(o) <= tol.equalPoint;
    }

    constexpr Point2d operator+(const Vector2d& v) const { return {x + v.x, y + v.y}; }
    constexpr Point2d operator-(const Vector2d& v) const { return {x - v.x, y - v.y}; }
    constexpr Vector2d operator-(const Point2d& o) const { return {x - o.x, y - o.y}; }
    constexpr bool operator==(const Point2d&) const = default;
};

struct Vector3d {
    double x = 0.0, y = 0.0, z = 0.0;

    constexpr Vector3d() = default;
    constexpr Vector3d(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}

    static constexpr Vector3d kXAxis() { return {1, 0, 0}; }
    static constexpr Vector3d kYAxis() { return {0, 1, 0}; }
    static constexpr Vector3d kZAxis() { return {0, 0, 1}; }

    double length() const { return std::sqrt(x * x + y * y + z * z); }
    constexpr double lengthSqrd() const { return x * x + y * y + z * z; }
    Vector3d normal() const;
    constexpr double dot(const Vector3d& o) const { return x * o.x + y * o.y + z * o.z; }
    constexpr Vector3d cross(const Vector3d& o) const {
        return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
    }
    constexpr Vector2d to2d() const { return {x, y}; }

    constexpr Vector3d operator+(const Vector3d& o) const { return {x + o.x, y + o.y, z + o.z}; }
    constexpr Vector3d operator-(const Vector3d& o) const { return {x - o.x, y - o.y, z - o.z}; }
    constexpr Vector3d operator-() const { return {-x, -y, -z}; }
    constexpr Vector3d operator*(double s) const { return {x * s, y * s, z * s}; }
    constexpr Vector3d operator/(double s) const { return {x / s, y / s, z / s}; }
    constexpr bool operator==(const Vector3d&) const = default;
};

struct Point3d {
    double x = 0.0, y = 0.0, z = 0.0;

    constexpr Point3d() = default;
    constexpr Point3d(double x_, double y_, double z_ = 0.0) : x(x_), y(y_), z(z_) {}
    constexpr explicit Point3d(const Point2d& p, double z_ = 0.0) : x(p.x), y(p.y), z(z_) {}

    static constexpr Point3d kOrigin() { return {0, 0, 0}; }

    double distanceTo(const Point3d& o) const { return (o - *this).length(); }
    bool isEqualTo(const Point3d& o, const Tolerance& tol = globalTolerance()) const {
        return distanceTo(o) <= tol.equalPoint;
    }
    constexpr Point2d to2d() const { return {x, y}; }

    constexpr Point3d operator+(const Vector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    constexpr Point3d operator-(const Vector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    constexpr Vector3d operator-(const Point3d& o) const { return {x - o.x, y - o.y, z - o.z}; }
    constexpr bool operator==(const Point3d&) const = default;
};

}  // namespace host::ge
