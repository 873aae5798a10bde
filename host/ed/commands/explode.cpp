// Exploding polylines into lines and arcs and block references into copies of their block's entities.
#include "host/ed/commands/explode.h"

#include <cmath>
#include <memory>

#include "host/ed/commands/entity_copy.h"
#include "host/ed/commands/entity_properties.h"
#include "host/ed/commands/poly_path.h"
#include "host/ge/angle.h"

namespace host::ed {

namespace {

using db::ObjectId;
using db::OpenMode;
using db::Status;

constexpr int kLineWeightByBlock = -2;

// The lines and arcs of a polyline's segments (zero-length segments left out), as new detached entities.
std::vector<std::unique_ptr<db::Entity>> polylinePieces(const db::Entity& source) {
    std::vector<std::unique_ptr<db::Entity>> pieces;
    if (const auto* p3 = dynamic_cast<const db::Polyline3d*>(&source)) {
        const std::vector<ge::Point3d> points = p3->vertexPositions();
        const std::size_t n = points.size();
        const std::size_t segments = n < 2 ? 0 : (p3->isClosed() ? n : n - 1);
        for (std::size_t i = 0; i < segments; ++i) {
            const ge::Point3d& a = points[i];
            const ge::Point3d& b = points[(i + 1) % n];
            if (a.isEqualTo(b)) continue;
            pieces.push_back(std::make_unique<db::Line>(a, b));
        }
        return pieces;
    }
    const std::optional<PolyPath> path = polyPathOf(source);
    if (!path) return pieces;
    for (unsigned i = 0; i < path->numSegments(); ++i) {
        const ge::Point2d a = path->segmentStart(i), b = path->segmentEnd(i);
        if (a.isEqualTo(b)) continue;
        if (auto arc = path->arcOf(i)) {
            // An arc entity runs counter-clockwise: a clockwise segment is the same arc from its end to its start.
            const ge::CircArc2d ccw = arc->clockwise ? arc->reversed() : *arc;
            auto piece = std::make_unique<db::Arc>(worldPoint(*path, ccw.center), ccw.radius, ccw.startAngle,
                                                   ccw.endAngle);
            piece->setNormal(path->normal);
            pieces.push_back(std::move(piece));
        } else {
            auto piece = std::make_unique<db::Line>(worldPoint(*path, a), worldPoint(*path, b));
            piece->setNormal(path->normal);
            pieces.push_back(std::move(piece));
        }
    }
    return pieces;
}

// A circle or arc under a transform that is not a uniform scale: the ellipse (or elliptical arc) it becomes.
// The image of the circle c + r(X cos t + Y sin t) is c' + u cos t + v sin t with conjugate half-diameters u and
// v; the principal axes lie at the parameter t0 with tan(2 t0) = 2 u.v / (|u|^2 - |v|^2).
std::unique_ptr<db::Ellipse> ellipseImage(const db::Entity& source, const ge::Matrix3d& m) {
    ge::Point3d center;
    ge::Vector3d normal;
    double radius = 0.0, start = 0.0, end = ge::kTwoPi;
    if (const auto* c = dynamic_cast<const db::Circle*>(&source)) {
        center = c->center(), normal = c->normal(), radius = c->radius();
    } else if (const auto* a = dynamic_cast<const db::Arc*>(&source)) {
        center = a->center(), normal = a->normal(), radius = a->radius();
        start = a->startAngle();
        end = start + ge::ccwSweep(a->startAngle(), a->endAngle());
        if (end == start) end = start + ge::kTwoPi;
    } else {
        return nullptr;
    }
    const ge::Matrix3d plane = ge::Matrix3d::planeToWorld(normal);
    const ge::Vector3d u = m * (plane * ge::Vector3d::kXAxis() * radius);
    const ge::Vector3d v = m * (plane * ge::Vector3d::kYAxis() * radius);
    const ge::Vector3d n = u.cross(v);
    if (n.lengthSqrd() == 0.0) return nullptr;
    double t0 = 0.5 * std::atan2(2.0 * u.dot(v), u.lengthSqrd() - v.lengthSqrd());
    ge::Vector3d major = u * std::cos(t0) + v * std::sin(t0);
    ge::Vector3d minor = v * std::cos(t0) - u * std::sin(t0);
    if (minor.length() > major.length()) {
        t0 += ge::kHalfPi;  // the other principal axis is the longer one
        major = u * std::cos(t0) + v * std::sin(t0);
        minor = v * std::cos(t0) - u * std::sin(t0);
    }
    auto ellipse = std::make_unique<db::Ellipse>();
    const double ratio = std::min(1.0, minor.length() / major.length());
    if (ellipse->set(m * center, n.normal(), major, ratio, start - t0, end - t0) != Status::Ok) return nullptr;
    return ellipse;
}

// The reference's BYBLOCK properties passed on to a piece made from its block.
void resolveByBlock(ObjectId pieceId, const db::BlockReference& ref) {
    db::ObjectPtr<db::Entity> piece(pieceId, OpenMode::Write);
    if (!piece) return;
    if (piece->color().isByBlock()) piece->setColor(ref.color());
    const ObjectId byBlock = ref.database()->recordId(db::TableKind::Linetype, "ByBlock");
    if (!byBlock.isNull() && piece->linetypeId() == byBlock) {
        if (ref.linetypeId().isNull()) piece->setLinetype("ByLayer");
        else piece->setLinetype(ref.linetypeId());
    }
    if (piece->lineWeight() == kLineWeightByBlock) piece->setLineWeight(ref.lineWeight());
}

Status eraseAll(const std::vector<ObjectId>& ids) {
    for (ObjectId id : ids) {
        db::ObjectPtr<db::DbObject> object(id, OpenMode::Write, true);
        if (object) object->erase();
    }
    return Status::Ok;
}

Status explodeReference(const db::BlockReference& ref, ObjectId owner, std::vector<ObjectId>& made) {
    if (ref.columnCount() * ref.rowCount() != 1) return Status::NotApplicable;
    db::Database& db = *ref.database();
    const auto* block = dynamic_cast<const db::BlockTableRecord*>(db.peek(ref.blockTableRecord()));
    if (!block) return Status::NotApplicable;
    const ge::Matrix3d xform = ref.blockTransform();
    EntityCopier copier(db);
    for (ObjectId id : block->entityIds()) {
        const auto* e = dynamic_cast<const db::Entity*>(db.peek(id));
        if (!e || dynamic_cast<const db::BlockBegin*>(e) || dynamic_cast<const db::BlockEnd*>(e)) continue;
        ObjectId piece;
        Status s = copier.copy(*e, owner, xform, &piece);
        if (s == Status::NotApplicable) {
            if (std::unique_ptr<db::Ellipse> ellipse = ellipseImage(*e, xform)) {
                copyDrawingProperties(*ellipse, *e);
                db::ObjectPtr<db::BlockTableRecord> space(owner, OpenMode::Write);
                s = space ? space->appendEntity(std::move(ellipse), &piece) : space.status();
            }
        }
        if (s != Status::Ok) return s;
        made.push_back(piece);
        resolveByBlock(piece, ref);
    }
    return made.empty() ? Status::NotApplicable : Status::Ok;
}

}  // namespace

Status explodeEntity(ObjectId entity, std::vector<ObjectId>* created) {
    if (entity.isNull()) return Status::NullObjectId;
    db::Database& db = *entity.database();
    const auto* e = dynamic_cast<const db::Entity*>(db.peek(entity));
    if (!e) return Status::WrongObjectType;
    if (e->isErased()) return Status::WasErased;
    const ObjectId owner = e->ownerId();

    std::vector<ObjectId> made;
    Status status = Status::Ok;
    if (const auto* ref = dynamic_cast<const db::BlockReference*>(e)) {
        status = explodeReference(*ref, owner, made);
    } else {
        std::vector<std::unique_ptr<db::Entity>> pieces = polylinePieces(*e);
        if (pieces.empty()) return Status::NotApplicable;
        db::ObjectPtr<db::BlockTableRecord> space(owner, OpenMode::Write);
        if (!space) return space.status();
        for (std::unique_ptr<db::Entity>& piece : pieces) {
            copyDrawingProperties(*piece, *e);
            ObjectId id;
            status = space->appendEntity(std::move(piece), &id);
            if (status != Status::Ok) break;
            made.push_back(id);
        }
    }
    if (status == Status::Ok) {
        db::ObjectPtr<db::Entity> original(entity, OpenMode::Write);
        status = original ? original->erase() : original.status();
    }
    if (status != Status::Ok) {
        eraseAll(made);
        return status;
    }
    if (created) created->insert(created->end(), made.begin(), made.end());
    return Status::Ok;
}

}  // namespace host::ed
