// Affine transforms of space: a 4x4 matrix acting on points and vectors.
#pragma once

#include "host/ge/point.h"

namespace host::ge {

class Matrix3d {
public:
    // The identity.
    Matrix3d();

    static Matrix3d identity() { return {}; }
    static Matrix3d translation(const Vector3d& v);
    // Rotation by angle (radians, counter-clockwise seen from +axis) about an axis through centre.
    static Matrix3d rotation(double angle, const Vector3d& axis = Vector3d::kZAxis(),
                             const Point3d& centre = Point3d::kOrigin());
    static Matrix3d scaling(double factor, const Point3d& centre = Point3d::kOrigin());
    // Mirror in the plane through a and b that is perpendicular to the XY plane (a mirror line in plan view).
    static Matrix3d mirroring(const Point3d& a, const Point3d& b);

    // this * other: other is applied first.
    Matrix3d operator*(const Matrix3d& other) const;
    Point3d operator*(const Point3d& p) const;
    Vector3d operator*(const Vector3d& v) const;  // linear part only
    bool operator==(const Matrix3d&) const = default;

    double det() const;  // of the linear part
    // True when the linear part is a rotation times one uniform scale, possibly with a mirror.
    bool isUniScaledOrtho(const Tolerance& tol = globalTolerance()) const;
    // The uniform scale of a uniscaled orthogonal matrix (length of the image of the x axis).
    double scale() const;
    bool isMirroring() const { return det() < 0; }

    double entry(int row, int col) const { return m_[row][col]; }
    double& entry(int row, int col) { return m_[row][col]; }

private:
    double m_[4][4];
};

}  // namespace host::ge
