// Shared entity geometry: extents boxes, plane coordinates of a normal, and arc tessellation.
#include "host/db/entity_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "host/ge/angle.h"

namespace host::db::detail {

namespace {
// A normal within this of the z axis (as the length of its x-y part, on a unit vector) is the z axis.
constexpr double kPlanNormalLimit = 1e-12;
// How far the squared length of a normalised vector can stand from 1 (three units in the last place are seen).
constexpr double kUnitLengthSlack = 8 * std::numeric_limits<double>::epsilon();
}  // namespace

void grow(std::optional<Extents>& box, const ge::Point3d& p) {
    if (box) box->add(p);
    else box = Extents{p, p};
}

void grow(std::optional<Extents>& box, const std::optional<Extents>& other) {
    if (!other) return;
    grow(box, other->min);
    box->add(other->max);
}

std::optional<ge::Vector3d> unitNormal(const ge::Vector3d& n) {
    if (!isFinite(n)) return std::nullopt;
    // A normal of unit length within rounding is kept as it is: dividing it by its length again can move it by a
    // unit in the last place (a third of all directions), so a normal saved and read back would change each time.
    if (std::abs(n.lengthSqrd() - 1.0) <= kUnitLengthSlack) return n;
    const ge::Vector3d u = n.normal();
    if (u.lengthSqrd() == 0.0) return std::nullopt;
    return u;
}

int planSense(const ge::Vector3d& normal) {
    const ge::Vector3d u = normal.normal();
    if (u.lengthSqrd() == 0.0) return 1;  // no normal: the world plane, as planeToWorld takes it
    if (std::hypot(u.x, u.y) > kPlanNormalLimit) return 0;
    return u.z > 0 ? 1 : -1;
}

ge::Point3d planeToWorld(const ge::Vector3d& normal, const ge::Point3d& local) {
    return ge::Matrix3d::planeToWorld(normal) * local;
}

ge::Point3d worldToPlane(const ge::Vector3d& normal, const ge::Point3d& world) {
    // The plane matrix is orthonormal: its inverse is its transpose.
    const ge::Matrix3d m = ge::Matrix3d::planeToWorld(normal);
    const ge::Vector3d v = world - ge::Point3d::kOrigin();
    const ge::Vector3d x = m * ge::Vector3d::kXAxis(), y = m * ge::Vector3d::kYAxis(), z = m * ge::Vector3d::kZAxis();
    return {v.dot(x), v.dot(y), v.dot(z)};
}

double planeAngle(const ge::Vector3d& normal, const ge::Point3d& center, const ge::Point3d& p) {
    const ge::Point3d c = worldToPlane(normal, center), q = worldToPlane(normal, p);
    return ge::angleFromTo(c, q);
}

ge::Point3d pointOnCircle(const ge::Vector3d& normal, const ge::Point3d& center, double radius, double angle) {
    const ge::Matrix3d m = ge::Matrix3d::planeToWorld(normal);
    const ge::Vector3d dir = m * ge::Vector3d{std::cos(angle), std::sin(angle), 0.0};
    return center + dir * radius;
}

std::optional<ge::CircArc2d> planArc(const ge::Vector3d& normal, const ge::Point3d& center, double radius,
                                     double startAngle, double endAngle, bool full) {
    const int sense = planSense(normal);
    if (sense == 0) return std::nullopt;
    ge::CircArc2d arc;
    arc.center = center.to2d();
    arc.radius = radius;
    arc.full = full;
    if (sense > 0) {
        arc.startAngle = ge::normalizeAngle(startAngle);
        arc.endAngle = full ? arc.startAngle : ge::normalizeAngle(endAngle);
    } else {
        // Plane x is world -x: the direction (cos a, sin a) of the plane is (-cos a, sin a) in the world.
        arc.startAngle = ge::normalizeAngle(ge::kPi - startAngle);
        arc.endAngle = full ? arc.startAngle : ge::normalizeAngle(ge::kPi - endAngle);
        arc.clockwise = true;
    }
    return arc;
}

std::vector<ge::Point2d> arcPoints(const ge::CircArc2d& arc, int segments) {
    segments = std::max(segments, 1);
    std::vector<ge::Point2d> pts;
    pts.reserve(std::size_t(segments) + 1);
    const double sweep = arc.sweep();
    const double step = (arc.clockwise ? -sweep : sweep) / segments;
    for (int i = 0; i <= segments; ++i) pts.push_back(arc.pointAtAngle(arc.startAngle + step * i));
    if (!arc.full) pts.back() = arc.endPoint();  // exactly on the end, not a rounding away from it
    return pts;
}

int chordCount(double radius, double sweep, double sagitta, int minimum, int maximum) {
    if (!(radius > sagitta) || !(sweep > 0.0)) return minimum;
    // A chord over the angle t stands radius * (1 - cos(t/2)) off the arc.
    const double maxAngle = 2.0 * std::acos(std::clamp(1.0 - sagitta / radius, -1.0, 1.0));
    if (!(maxAngle > 0.0)) return maximum;
    const double n = std::ceil(sweep / maxAngle);
    return int(std::clamp(n, double(minimum), double(maximum)));
}

PlanPiece PlanPiece::point(const ge::Point3d& p) {
    PlanPiece piece;
    piece.kind = Kind::Point;
    piece.line = {p.to2d(), p.to2d()};
    piece.z0 = piece.z1 = p.z;
    return piece;
}

PlanPiece PlanPiece::segment(const ge::Point3d& a, const ge::Point3d& b) {
    PlanPiece piece;
    piece.kind = Kind::Line;
    piece.line = {a.to2d(), b.to2d()};
    piece.z0 = a.z;
    piece.z1 = b.z;
    return piece;
}

PlanPiece PlanPiece::circular(const ge::CircArc2d& arc, double z) {
    PlanPiece piece;
    piece.kind = Kind::Arc;
    piece.arc = arc;
    piece.z0 = piece.z1 = z;
    return piece;
}

Status appendOwnedEntity(const Entity& owner, std::unique_ptr<Entity> sub, std::vector<ObjectId>& list,
                         ObjectId& seqEnd, ObjectId* id) {
    Database* db = owner.database();
    ObjectId added;
    const Status s = db->addObject(std::move(sub), owner.objectId(), &added);
    if (s != Status::Ok) return s;
    list.push_back(added);
    if (seqEnd.isNull()) {
        auto end = std::make_unique<SequenceEnd>();
        if (!owner.layerId().isNull()) end->setLayer(owner.layerId());
        db->addObject(std::move(end), owner.objectId(), &seqEnd);
    }
    if (id) *id = added;
    return Status::Ok;
}

}  // namespace host::db::detail
