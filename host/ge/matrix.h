// Affine transforms of space: a 4x4 matrix acting on points and vectors.
#pragma once

#include <optional>

#include "host/ge/point.h"

namespace host::ge {

class Matrix3d {
public:
    // The identity.
    Matrix3d();

    static Matrix3d identity() { return {}; }
    static Matrix3d translation(const Vector3d& v);
    // Rotation by angle (radians, counter-clockwise seen from +axis) about an axis through centre. A zero axis
    // has no direction: the answer is the identity.
    static Matrix3d rotation(double angle, const Vector3d& axis = Vector3d::kZAxis(),
                             const Point3d& centre = Point3d::kOrigin());
    static Matrix3d scaling(double factor, const Point3d& centre = Point3d::kOrigin());
    // A scale by a factor per axis about centre (non-uniform when the factors differ).
    static Matrix3d scaling(const Vector3d& factors, const Point3d& centre = Point3d::kOrigin());
    // Mirror in the plane through a and b that is perpendicular to the XY plane (a mirror line in plan view).
    // Points a and b that coincide in plan view give no line: the answer is the identity.
    static Matrix3d mirroring(const Point3d& a, const Point3d& b);
    // The object coordinate system of a plane normal (the arbitrary-axis rule of drawing files): its columns are
    // the plane's x axis, y axis and the unit normal, with no translation. Object coordinates times this matrix
    // give world coordinates; the normal (0,0,1) gives the identity and (0,0,-1) turns x into -x and z into -z.
    // A zero normal is taken as (0,0,1).
    static Matrix3d planeToWorld(const Vector3d& normal);

    // this * other: other is applied first.
    Matrix3d operator*(const Matrix3d& other) const;
    Point3d operator*(const Point3d& p) const;
    Vector3d operator*(const Vector3d& v) const;  // linear part only
    bool operator==(const Matrix3d&) const = default;

    double det() const;  // of the linear part
    // The inverse transform; nullopt when the linear part is singular (a scale by zero).
    std::optional<Matrix3d> inverse() const;
    // True when the linear part is a rotation times one uniform scale, possibly with a mirror. The columns'
    // lengths and dot products are compared relative to the scale, with tol.equalVector.
    bool isUniScaledOrtho(const Tolerance& tol = globalTolerance()) const;
    // The uniform scale of a uniscaled orthogonal matrix (length of the image of the x axis).
    double scale() const;
    bool isMirroring() const { return det() < 0; }
    // The image of a plane's normal under this transform, as a unit vector (the inverse transpose of the linear
    // part, so it stays perpendicular to the transformed plane). The zero vector for a singular matrix.
    Vector3d transformNormal(const Vector3d& n) const;

    double entry(int row, int col) const { return m_[row][col]; }
    double& entry(int row, int col) { return m_[row][col]; }

private:
    double m_[4][4];
};

}  // namespace host::ge
