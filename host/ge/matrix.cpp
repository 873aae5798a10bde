// Affine transforms: construction of the usual ones, products, determinant, inverse and the uniform-scale test.
#include "host/ge/matrix.h"

#include <cmath>

namespace host::ge {

namespace {

// The arbitrary-axis rule: a normal this close to the world z axis takes world y for its x axis construction.
constexpr double kArbitraryAxisLimit = 1.0 / 64.0;

Matrix3d fromColumns(const Vector3d& x, const Vector3d& y, const Vector3d& z, const Vector3d& t = {}) {
    Matrix3d m;
    const Vector3d cols[4] = {x, y, z, t};
    for (int c = 0; c < 4; ++c) {
        m.entry(0, c) = cols[c].x;
        m.entry(1, c) = cols[c].y;
        m.entry(2, c) = cols[c].z;
    }
    return m;
}

// The transform that applies `linear` about `centre`: p -> centre + linear * (p - centre).
Matrix3d aboutCentre(Matrix3d linear, const Point3d& centre) {
    const Vector3d c = centre - Point3d::kOrigin();
    const Vector3d moved = linear * c;
    linear.entry(0, 3) = c.x - moved.x;
    linear.entry(1, 3) = c.y - moved.y;
    linear.entry(2, 3) = c.z - moved.z;
    return linear;
}

}  // namespace

Matrix3d::Matrix3d() {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m_[r][c] = (r == c) ? 1.0 : 0.0;
}

Matrix3d Matrix3d::translation(const Vector3d& v) {
    Matrix3d m;
    m.m_[0][3] = v.x;
    m.m_[1][3] = v.y;
    m.m_[2][3] = v.z;
    return m;
}

Matrix3d Matrix3d::rotation(double angle, const Vector3d& axis, const Point3d& centre) {
    const Vector3d u = axis.normal();
    if (u.lengthSqrd() == 0.0) return {};
    const double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
    Matrix3d m;
    m.m_[0][0] = t * u.x * u.x + c;
    m.m_[0][1] = t * u.x * u.y - s * u.z;
    m.m_[0][2] = t * u.x * u.z + s * u.y;
    m.m_[1][0] = t * u.x * u.y + s * u.z;
    m.m_[1][1] = t * u.y * u.y + c;
    m.m_[1][2] = t * u.y * u.z - s * u.x;
    m.m_[2][0] = t * u.x * u.z - s * u.y;
    m.m_[2][1] = t * u.y * u.z + s * u.x;
    m.m_[2][2] = t * u.z * u.z + c;
    return aboutCentre(m, centre);
}

Matrix3d Matrix3d::scaling(double factor, const Point3d& centre) {
    return scaling(Vector3d{factor, factor, factor}, centre);
}

Matrix3d Matrix3d::scaling(const Vector3d& factors, const Point3d& centre) {
    Matrix3d m;
    m.m_[0][0] = factors.x;
    m.m_[1][1] = factors.y;
    m.m_[2][2] = factors.z;
    return aboutCentre(m, centre);
}

Matrix3d Matrix3d::mirroring(const Point3d& a, const Point3d& b) {
    const Vector2d u = (b.to2d() - a.to2d()).normal();
    if (u.lengthSqrd() == 0.0) return {};
    // Reflection in the line through the origin along u: 2 u u^T - I, in x and y only.
    Matrix3d m;
    m.m_[0][0] = 2 * u.x * u.x - 1;
    m.m_[0][1] = 2 * u.x * u.y;
    m.m_[1][0] = 2 * u.x * u.y;
    m.m_[1][1] = 2 * u.y * u.y - 1;
    return aboutCentre(m, a);
}

Matrix3d Matrix3d::planeToWorld(const Vector3d& normal) {
    Vector3d n = normal.normal();
    if (n.lengthSqrd() == 0.0) n = Vector3d::kZAxis();
    const Vector3d ax = (std::abs(n.x) < kArbitraryAxisLimit && std::abs(n.y) < kArbitraryAxisLimit)
                            ? Vector3d::kYAxis().cross(n).normal()
                            : Vector3d::kZAxis().cross(n).normal();
    const Vector3d ay = n.cross(ax).normal();
    return fromColumns(ax, ay, n);
}

Matrix3d Matrix3d::operator*(const Matrix3d& o) const {
    Matrix3d r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += m_[i][k] * o.m_[k][j];
            r.m_[i][j] = sum;
        }
    return r;
}

Point3d Matrix3d::operator*(const Point3d& p) const {
    return {m_[0][0] * p.x + m_[0][1] * p.y + m_[0][2] * p.z + m_[0][3],
            m_[1][0] * p.x + m_[1][1] * p.y + m_[1][2] * p.z + m_[1][3],
            m_[2][0] * p.x + m_[2][1] * p.y + m_[2][2] * p.z + m_[2][3]};
}

Vector3d Matrix3d::operator*(const Vector3d& v) const {
    return {m_[0][0] * v.x + m_[0][1] * v.y + m_[0][2] * v.z, m_[1][0] * v.x + m_[1][1] * v.y + m_[1][2] * v.z,
            m_[2][0] * v.x + m_[2][1] * v.y + m_[2][2] * v.z};
}

double Matrix3d::det() const {
    return m_[0][0] * (m_[1][1] * m_[2][2] - m_[1][2] * m_[2][1]) -
           m_[0][1] * (m_[1][0] * m_[2][2] - m_[1][2] * m_[2][0]) +
           m_[0][2] * (m_[1][0] * m_[2][1] - m_[1][1] * m_[2][0]);
}

std::optional<Matrix3d> Matrix3d::inverse() const {
    const double d = det();
    if (d == 0.0 || !std::isfinite(d)) return std::nullopt;
    Matrix3d r;
    // The inverse of the linear part by cofactors.
    r.m_[0][0] = (m_[1][1] * m_[2][2] - m_[1][2] * m_[2][1]) / d;
    r.m_[0][1] = (m_[0][2] * m_[2][1] - m_[0][1] * m_[2][2]) / d;
    r.m_[0][2] = (m_[0][1] * m_[1][2] - m_[0][2] * m_[1][1]) / d;
    r.m_[1][0] = (m_[1][2] * m_[2][0] - m_[1][0] * m_[2][2]) / d;
    r.m_[1][1] = (m_[0][0] * m_[2][2] - m_[0][2] * m_[2][0]) / d;
    r.m_[1][2] = (m_[0][2] * m_[1][0] - m_[0][0] * m_[1][2]) / d;
    r.m_[2][0] = (m_[1][0] * m_[2][1] - m_[1][1] * m_[2][0]) / d;
    r.m_[2][1] = (m_[0][1] * m_[2][0] - m_[0][0] * m_[2][1]) / d;
    r.m_[2][2] = (m_[0][0] * m_[1][1] - m_[0][1] * m_[1][0]) / d;
    const Vector3d t = r * Vector3d{m_[0][3], m_[1][3], m_[2][3]};
    r.m_[0][3] = -t.x;
    r.m_[1][3] = -t.y;
    r.m_[2][3] = -t.z;
    return r;
}

bool Matrix3d::isUniScaledOrtho(const Tolerance& tol) const {
    const Vector3d c[3] = {{m_[0][0], m_[1][0], m_[2][0]}, {m_[0][1], m_[1][1], m_[2][1]},
                           {m_[0][2], m_[1][2], m_[2][2]}};
    const double s2 = c[0].lengthSqrd();
    if (!(s2 > 0.0) || !std::isfinite(s2)) return false;
    const double limit = tol.equalVector * s2;
    for (int i = 0; i < 3; ++i) {
        if (std::abs(c[i].lengthSqrd() - s2) > limit) return false;
        for (int j = i + 1; j < 3; ++j)
            if (std::abs(c[i].dot(c[j])) > limit) return false;
    }
    return true;
}

double Matrix3d::scale() const { return Vector3d{m_[0][0], m_[1][0], m_[2][0]}.length(); }

Vector3d Matrix3d::transformNormal(const Vector3d& n) const {
    // Cofactor matrix = det * inverse transpose; only the direction matters, so the determinant's sign is put
    // back to keep the normal on the side the transform carries it to.
    const double cof[3][3] = {
        {m_[1][1] * m_[2][2] - m_[1][2] * m_[2][1], m_[1][2] * m_[2][0] - m_[1][0] * m_[2][2],
         m_[1][0] * m_[2][1] - m_[1][1] * m_[2][0]},
        {m_[0][2] * m_[2][1] - m_[0][1] * m_[2][2], m_[0][0] * m_[2][2] - m_[0][2] * m_[2][0],
         m_[0][1] * m_[2][0] - m_[0][0] * m_[2][1]},
        {m_[0][1] * m_[1][2] - m_[0][2] * m_[1][1], m_[0][2] * m_[1][0] - m_[0][0] * m_[1][2],
         m_[0][0] * m_[1][1] - m_[0][1] * m_[1][0]},
    };
    const double sign = det() < 0 ? -1.0 : 1.0;
    const Vector3d v{cof[0][0] * n.x + cof[0][1] * n.y + cof[0][2] * n.z,
                     cof[1][0] * n.x + cof[1][1] * n.y + cof[1][2] * n.z,
                     cof[2][0] * n.x + cof[2][1] * n.y + cof[2][2] * n.z};
    return (v * sign).normal();
}

}  // namespace host::ge
