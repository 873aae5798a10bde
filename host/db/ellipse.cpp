// Ellipses and elliptical arcs: centre, major axis, ratio and parameters; the host's start and end angles;
// points, tessellation, extents and transforms.
//
// The point at parameter t is centre + major * cos t + minor * sin t, with minor = (normal x major) * ratio; the
// curve runs from startParam to endParam counter-clockwise about the normal. startParam is kept in [0, 2*pi)
// and endParam in (startParam, startParam + 2*pi]: a whole ellipse runs over one full turn.
#include <algorithm>
#include <cmath>

#include "host/db/entities.h"
#include "host/db/entity_geometry.h"
#include "host/ge/angle.h"

namespace host::db {

namespace {

// The cosine of the angle between major axis and normal above which the axis is not in the plane.
constexpr double kAxisTiltLimit = 1e-6;
// The cosine below which the axis lies in the plane as far as doubles tell: a projected axis keeps a few 1e-16.
constexpr double kInPlaneTilt = 1e-12;
// Samples for the extents of an elliptical arc (a whole ellipse is exact).
constexpr int kExtentSamples = 256;
// An ellipse is closed when its sweep is a full turn to within this (radians).
constexpr double kClosedSweepTolerance = 1e-10;

// The sweep from start to end in (0, 2*pi]: equal parameters mean a whole turn.
double paramSweep(double start, double end) {
    const double s = ge::ccwSweep(start, end);
    return s == 0.0 ? ge::kTwoPi : s;
}

}  // namespace

Status Ellipse::set(const ge::Point3d& center, const ge::Vector3d& normal, const ge::Vector3d& majorAxis,
                    double ratio, double startParam, double endParam) {
    assertWriteEnabled();
    const auto n = detail::unitNormal(normal);
    if (!n || !detail::isFinite(center) || !detail::isFinite(majorAxis)) return Status::InvalidInput;
    if (!(ratio > 0.0 && ratio <= 1.0)) return Status::InvalidInput;
    if (!std::isfinite(startParam) || !std::isfinite(endParam)) return Status::InvalidInput;
    const double len = majorAxis.length();
    if (!(len > 0.0)) return Status::InvalidInput;
    // The major axis lies in the ellipse's plane. Files carry axes a rounding off perpendicular; those are put
    // back into the plane, anything more is refused.
    const double tilt = majorAxis.dot(*n) / len;
    if (std::abs(tilt) > kAxisTiltLimit) return Status::InvalidInput;
    center_ = center;
    normal_ = *n;
    // An axis in the plane to rounding is kept as given: projecting it again moved its last digits on every
    // save and read, so a second save of a drawing differed from the first.
    major_ = std::abs(tilt) <= kInPlaneTilt ? majorAxis : majorAxis - *n * majorAxis.dot(*n);
    ratio_ = ratio;
    startParam_ = ge::normalizeAngle(startParam);
    endParam_ = startParam_ + paramSweep(startParam, endParam);
    return Status::Ok;
}

ge::Vector3d Ellipse::minorAxis() const { return normal_.cross(major_) * ratio_; }

// The host reports the angle of the point from the major axis, which differs from the parameter unless the
// ellipse is a circle: tan(angle) = ratio * tan(t).
double Ellipse::startAngle() const {
    return ge::normalizeAngle(std::atan2(ratio_ * std::sin(startParam_), std::cos(startParam_)));
}

double Ellipse::endAngle() const {
    return ge::normalizeAngle(std::atan2(ratio_ * std::sin(endParam_), std::cos(endParam_)));
}

bool Ellipse::isClosed() const { return std::abs(endParam_ - startParam_ - ge::kTwoPi) <= kClosedSweepTolerance; }

ge::Point3d Ellipse::pointAtParam(double t) const {
    return center_ + major_ * std::cos(t) + minorAxis() * std::sin(t);
}

std::vector<ge::Point3d> Ellipse::tessellate(int segments) const {
    segments = std::max(segments, 1);
    std::vector<ge::Point3d> pts;
    pts.reserve(std::size_t(segments) + 1);
    const double sweep = endParam_ - startParam_;
    for (int i = 0; i <= segments; ++i) pts.push_back(pointAtParam(startParam_ + sweep * i / segments));
    return pts;
}

std::optional<Extents> Ellipse::geomExtents() const {
    std::optional<Extents> box;
    if (isClosed()) {
        // Along each world axis the ellipse reaches sqrt(major_i^2 + minor_i^2) from its centre.
        const ge::Vector3d a = major_, b = minorAxis();
        const ge::Vector3d reach{std::hypot(a.x, b.x), std::hypot(a.y, b.y), std::hypot(a.z, b.z)};
        detail::grow(box, center_ - reach);
        detail::grow(box, center_ + reach);
        return box;
    }
    for (const ge::Point3d& p : tessellate(kExtentSamples)) detail::grow(box, p);
    return box;
}

// Moves, rotations, uniform scales and mirrors. A mirror would run the curve clockwise about the carried normal:
// the parameters are mirrored instead (t becomes -t), so the same points are drawn counter-clockwise and the
// normal keeps pointing where the transform carries it. A non-uniform scale changes the axes: NotApplicable.
Status Ellipse::transformBy(const ge::Matrix3d& m) {
    assertWriteEnabled();
    if (!m.isUniScaledOrtho()) return Status::NotApplicable;
    const double sweep = endParam_ - startParam_;
    center_ = m * center_;
    major_ = m * major_;
    normal_ = m.transformNormal(normal_);
    if (m.isMirroring()) {
        startParam_ = ge::normalizeAngle(-(startParam_ + sweep));
        endParam_ = startParam_ + sweep;
    }
    return Status::Ok;
}

}  // namespace host::db
