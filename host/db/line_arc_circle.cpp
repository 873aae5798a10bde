// Lines, circles and arcs: their values, extents and transforms.
//
// Centres and end points are world coordinates. An arc's angles are measured in the plane of its normal from
// that plane's x axis (the arbitrary-axis rule of drawing files), counter-clockwise about the normal; with the
// usual normal (0,0,1) they are plain plan-view angles. Equal start and end angles draw a whole circle.
#include <algorithm>

#include "host/db/entities.h"
#include "host/db/entity_geometry.h"
#include "host/ge/angle.h"

namespace host::db {

namespace {

// Points sampled on an arc whose normal is tilted out of the z axis, for its extents (there is no plan-view arc
// to take quadrant points from). The box is the box of these points: tight to a few parts in 1e5 of the radius.
constexpr int kTiltedArcSamples = 256;

std::optional<Extents> circularExtents(const ge::Vector3d& normal, const ge::Point3d& center, double radius,
                                       double startAngle, double endAngle, bool full) {
    std::optional<Extents> box;
    if (const auto arc = detail::planArc(normal, center, radius, startAngle, endAngle, full)) {
        const auto [lo, hi] = arc->bounds();
        detail::grow(box, ge::Point3d{lo.x, lo.y, center.z});
        detail::grow(box, ge::Point3d{hi.x, hi.y, center.z});
        return box;
    }
    const ge::Vector3d n = normal.normal();
    if (full) {
        // A tilted circle reaches radius * sqrt(1 - n_i^2) along each world axis.
        const ge::Vector3d reach{radius * std::sqrt(std::max(0.0, 1 - n.x * n.x)),
                                 radius * std::sqrt(std::max(0.0, 1 - n.y * n.y)),
                                 radius * std::sqrt(std::max(0.0, 1 - n.z * n.z))};
        detail::grow(box, center - reach);
        detail::grow(box, center + reach);
        return box;
    }
    const double sweep = ge::ccwSweep(startAngle, endAngle);
    for (int i = 0; i <= kTiltedArcSamples; ++i)
        detail::grow(box, detail::pointOnCircle(n, center, radius, startAngle + sweep * i / kTiltedArcSamples));
    return box;
}

}  // namespace

// ---- Line

Status Line::setStart(const ge::Point3d& p) {
    assertWriteEnabled();
    if (!detail::isFinite(p)) return Status::InvalidInput;
    start_ = p;
    return Status::Ok;
}

Status Line::setEnd(const ge::Point3d& p) {
    assertWriteEnabled();
    if (!detail::isFinite(p)) return Status::InvalidInput;
    end_ = p;
    return Status::Ok;
}

Status Line::setThickness(double t) {
    assertWriteEnabled();
    if (!detail::isFinite(t)) return Status::InvalidInput;
    thickness_ = t;
    return Status::Ok;
}

Status Line::setNormal(const ge::Vector3d& n) {
    assertWriteEnabled();
    const auto u = detail::unitNormal(n);
    if (!u) return Status::InvalidInput;
    normal_ = *u;
    return Status::Ok;
}

std::optional<Extents> Line::geomExtents() const {
    std::optional<Extents> box;
    detail::grow(box, start_);
    detail::grow(box, end_);
    return box;
}

Status Line::transformBy(const ge::Matrix3d& m) {
    assertWriteEnabled();
    const ge::Vector3d n = m.transformNormal(normal_);
    if (n.lengthSqrd() == 0.0) return Status::InvalidInput;  // a transform that flattens space
    thickness_ *= detail::stretchAlong(m, normal_);
    start_ = m * start_;
    end_ = m * end_;
    normal_ = n;
    return Status::Ok;
}

// ---- Circle

Status Circle::setCenter(const ge::Point3d& c) {
    assertWriteEnabled();
    if (!detail::isFinite(c)) return Status::InvalidInput;
    center_ = c;
    return Status::Ok;
}

Status Circle::setRadius(double r) {
    assertWriteEnabled();
    if (!(r > 0.0) || !detail::isFinite(r)) return Status::InvalidInput;
    radius_ = r;
    return Status::Ok;
}

Status Circle::setThickness(double t) {
    assertWriteEnabled();
    if (!detail::isFinite(t)) return Status::InvalidInput;
    thickness_ = t;
    return Status::Ok;
}

Status Circle::setNormal(const ge::Vector3d& n) {
    assertWriteEnabled();
    const auto u = detail::unitNormal(n);
    if (!u) return Status::InvalidInput;
    normal_ = *u;
    return Status::Ok;
}

std::optional<Extents> Circle::geomExtents() const {
    return circularExtents(normal_, center_, radius_, 0.0, 0.0, true);
}

Status Circle::transformBy(const ge::Matrix3d& m) {
    assertWriteEnabled();
    // A circle stays a circle only under a rotation and one uniform scale (mirrors included).
    if (!m.isUniScaledOrtho()) return Status::NotApplicable;
    thickness_ *= m.scale();
    center_ = m * center_;
    radius_ *= m.scale();
    normal_ = m.transformNormal(normal_);
    return Status::Ok;
}

// ---- Arc

Arc::Arc(const ge::Point3d& center, double radius, double startAngle, double endAngle)
    : center_(center),
      radius_(radius),
      startAngle_(ge::normalizeAngle(startAngle)),
      endAngle_(ge::normalizeAngle(endAngle)) {}

ge::Point3d Arc::startPoint() const { return detail::pointOnCircle(normal_, center_, radius_, startAngle_); }
ge::Point3d Arc::endPoint() const { return detail::pointOnCircle(normal_, center_, radius_, endAngle_); }

double Arc::length() const {
    const double sweep = ge::ccwSweep(startAngle_, endAngle_);
    return radius_ * (sweep == 0.0 ? ge::kTwoPi : sweep);
}

Status Arc::setCenter(const ge::Point3d& c) {
    assertWriteEnabled();
    if (!detail::isFinite(c)) return Status::InvalidInput;
    center_ = c;
    return Status::Ok;
}

Status Arc::setRadius(double r) {
    assertWriteEnabled();
    if (!(r > 0.0) || !detail::isFinite(r)) return Status::InvalidInput;
    radius_ = r;
    return Status::Ok;
}

Status Arc::setStartAngle(double a) {
    assertWriteEnabled();
    if (!detail::isFinite(a)) return Status::InvalidInput;
    startAngle_ = ge::normalizeAngle(a);
    return Status::Ok;
}

Status Arc::setEndAngle(double a) {
    assertWriteEnabled();
    if (!detail::isFinite(a)) return Status::InvalidInput;
    endAngle_ = ge::normalizeAngle(a);
    return Status::Ok;
}

Status Arc::setThickness(double t) {
    assertWriteEnabled();
    if (!detail::isFinite(t)) return Status::InvalidInput;
    thickness_ = t;
    return Status::Ok;
}

Status Arc::setNormal(const ge::Vector3d& n) {
    assertWriteEnabled();
    const auto u = detail::unitNormal(n);
    if (!u) return Status::InvalidInput;
    normal_ = *u;
    return Status::Ok;
}

std::optional<Extents> Arc::geomExtents() const {
    return circularExtents(normal_, center_, radius_, startAngle_, endAngle_, startAngle_ == endAngle_);
}

Status Arc::transformBy(const ge::Matrix3d& m) {
    assertWriteEnabled();
    if (!m.isUniScaledOrtho()) return Status::NotApplicable;
    const ge::Point3d start = m * startPoint(), end = m * endPoint();
    const bool whole = startAngle_ == endAngle_;
    thickness_ *= m.scale();
    center_ = m * center_;
    radius_ *= m.scale();
    normal_ = m.transformNormal(normal_);
    startAngle_ = ge::normalizeAngle(detail::planeAngle(normal_, center_, start));
    endAngle_ = whole ? startAngle_ : ge::normalizeAngle(detail::planeAngle(normal_, center_, end));
    // A mirror turns the sweep clockwise about the normal; the arc stays counter-clockwise by running from the
    // image of its end to the image of its start.
    if (m.isMirroring() && !whole) std::swap(startAngle_, endAngle_);
    return Status::Ok;
}

}  // namespace host::db
