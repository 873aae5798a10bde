// Point entities: position, the angle of their plane's x axis, extents and transforms.
#include "host/db/entities.h"
#include "host/db/entity_geometry.h"
#include "host/ge/angle.h"

namespace host::db {

Status PointEntity::setPosition(const ge::Point3d& p) {
    assertWriteEnabled();
    if (!detail::isFinite(p)) return Status::InvalidInput;
    position_ = p;
    return Status::Ok;
}

Status PointEntity::setXAxisAngle(double a) {
    assertWriteEnabled();
    if (!detail::isFinite(a)) return Status::InvalidInput;
    ecsRotation_ = ge::normalizeAngle(a);
    return Status::Ok;
}

Status PointEntity::setThickness(double t) {
    assertWriteEnabled();
    if (!detail::isFinite(t)) return Status::InvalidInput;
    thickness_ = t;
    return Status::Ok;
}

Status PointEntity::setNormal(const ge::Vector3d& n) {
    assertWriteEnabled();
    const auto u = detail::unitNormal(n);
    if (!u) return Status::InvalidInput;
    normal_ = *u;
    return Status::Ok;
}

std::optional<Extents> PointEntity::geomExtents() const { return Extents{position_, position_}; }

Status PointEntity::transformBy(const ge::Matrix3d& m) {
    assertWriteEnabled();
    const ge::Vector3d n = m.transformNormal(normal_);
    if (n.lengthSqrd() == 0.0) return Status::InvalidInput;
    thickness_ *= detail::stretchAlong(m, normal_);
    position_ = m * position_;
    normal_ = n;
    return Status::Ok;
}

}  // namespace host::db
