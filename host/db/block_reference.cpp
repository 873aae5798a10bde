// Block references: placement values, the block transform, attributes, extents through the block's entities,
// and transforms.
#include <algorithm>
#include <cmath>

#include "host/db/database.h"
#include "host/db/entity_geometry.h"
#include "host/ge/angle.h"

namespace host::db {

namespace {

// Blocks nest; a block that refers to itself (directly or through others) would recurse without end. Deeper
// nesting than this is not followed (its entities add nothing to the extents).
constexpr int kMaxBlockNesting = 32;
// Chords per arc when a 2D polyline's arcs are carried through a block transform for its extents.
constexpr int kArcChordsForExtents = 64;
// The invisible flag of an attribute (group 70).
constexpr int kAttributeInvisible = 1;

std::optional<Extents> transformedBox(const std::optional<Extents>& box, const ge::Matrix3d& m) {
    if (!box) return std::nullopt;
    std::optional<Extents> out;
    for (int i = 0; i < 8; ++i) {
        const ge::Point3d corner{(i & 1) ? box->max.x : box->min.x, (i & 2) ? box->max.y : box->min.y,
                                 (i & 4) ? box->max.z : box->min.z};
        detail::grow(out, m * corner);
    }
    return out;
}

// A copy of a curve's geometry that belongs to no database, so that it can be transformed freely. nullptr for
// the kinds handled otherwise.
std::unique_ptr<Entity> detachedCopy(const Entity& e) {
    if (const auto* line = dynamic_cast<const Line*>(&e)) {
        auto copy = std::make_unique<Line>(line->start(), line->end());
        copy->setNormal(line->normal());
        return copy;
    }
    if (const auto* circle = dynamic_cast<const Circle*>(&e)) {
        auto copy = std::make_unique<Circle>(circle->center(), circle->radius());
        copy->setNormal(circle->normal());
        return copy;
    }
    if (const auto* arc = dynamic_cast<const Arc*>(&e)) {
        auto copy = std::make_unique<Arc>(arc->center(), arc->radius(), arc->startAngle(), arc->endAngle());
        copy->setNormal(arc->normal());
        return copy;
    }
    if (const auto* point = dynamic_cast<const PointEntity*>(&e))
        return std::make_unique<PointEntity>(point->position());
    if (const auto* pline = dynamic_cast<const LwPolyline*>(&e)) {
        auto copy = std::make_unique<LwPolyline>();
        copy->setNormal(pline->normal());
        copy->setElevation(pline->elevation());
        copy->setClosed(pline->isClosed());
        copy->setConstantWidth(pline->constantWidth());
        for (const LwPolyline::Vertex& v : pline->vertices())
            copy->addVertexAt(copy->numVerts(), v.point, v.bulge, v.startWidth, v.endWidth);
        return copy;
    }
    if (const auto* ellipse = dynamic_cast<const Ellipse*>(&e)) {
        auto copy = std::make_unique<Ellipse>();
        copy->set(ellipse->center(), ellipse->normal(), ellipse->majorAxis(), ellipse->radiusRatio(),
                  ellipse->startParam(), ellipse->endParam());
        return copy;
    }
    if (const auto* spline = dynamic_cast<const Spline*>(&e)) {
        auto copy = std::make_unique<Spline>();
        if (!spline->controlPoints().empty())
            copy->setNurbsData(spline->degree(), spline->flags(), spline->knots(), spline->controlPoints(),
                               spline->weights());
        copy->setFitData(spline->fitPoints(), spline->startTangent(), spline->endTangent());
        return copy;
    }
    return nullptr;
}

std::optional<Extents> referenceExtents(const BlockReference& ref, const ge::Matrix3d& outer, int depth);
std::optional<Extents> attributeExtents(const BlockReference& ref, const ge::Matrix3d& outer, int depth);

// The extents of one entity of a block after the transform m (block space to world).
std::optional<Extents> transformedExtents(const Entity& e, const ge::Matrix3d& m, int depth) {
    if (const auto* ref = dynamic_cast<const BlockReference*>(&e)) return referenceExtents(*ref, m, depth + 1);
    // Attribute definitions are not drawn in a reference: its attributes stand for them.
    if (dynamic_cast<const AttributeDefinition*>(&e)) return std::nullopt;
    std::optional<Extents> box;
    if (const auto* text = dynamic_cast<const Text*>(&e)) {
        for (const ge::Point3d& p : detail::textBoxCorners(*text)) detail::grow(box, m * p);
        return box;
    }
    if (const auto* mtext = dynamic_cast<const MText*>(&e)) {
        for (const ge::Point3d& p : detail::textBoxCorners(*mtext)) detail::grow(box, m * p);
        return box;
    }
    if (dynamic_cast<const PolylineWithVertices*>(&e)) {
        for (const detail::PlanPiece& piece : detail::planPieces(e, false)) {
            if (piece.kind == detail::PlanPiece::Kind::Arc) {
                for (const ge::Point2d& p : detail::arcPoints(piece.arc, kArcChordsForExtents))
                    detail::grow(box, m * ge::Point3d{p, piece.z0});
            } else {
                detail::grow(box, m * ge::Point3d{piece.line.start, piece.z0});
                detail::grow(box, m * ge::Point3d{piece.line.end, piece.z1});
            }
        }
        return box;
    }
    if (auto copy = detachedCopy(e); copy && copy->transformBy(m) == Status::Ok) return copy->geomExtents();
    // A transform the entity cannot take exactly (a non-uniform scale of an arc): the image of its box.
    return transformedBox(e.geomExtents(), m);
}

std::optional<Extents> blockExtents(const Database& db, ObjectId block, const ge::Matrix3d& m, int depth) {
    if (depth > kMaxBlockNesting) return std::nullopt;
    const auto* record = dynamic_cast<const BlockTableRecord*>(db.peek(block));
    if (!record) return std::nullopt;
    std::optional<Extents> box;
    for (ObjectId id : record->entityIds()) {
        const auto* e = dynamic_cast<const Entity*>(db.peek(id));
        if (!e || e->isErased() || !e->isVisible()) continue;
        detail::grow(box, transformedExtents(*e, m, depth));
    }
    return box;
}

// The reference's block entities (every cell of an array; the corner cells bound them all) and its visible
// attributes, under `outer` (identity for a reference in model space).
std::optional<Extents> referenceExtents(const BlockReference& ref, const ge::Matrix3d& outer, int depth) {
    const Database* db = ref.database();
    if (!db || ref.blockTableRecord().isNull() || depth > kMaxBlockNesting) return std::nullopt;
    std::optional<Extents> box;
    const ge::Matrix3d turn = ge::Matrix3d::planeToWorld(ref.normal()) * ge::Matrix3d::rotation(ref.rotation());
    // The block's box is found once; each corner cell is the same box moved, and a box moves exactly.
    const std::optional<Extents> cell = blockExtents(*db, ref.blockTableRecord(), outer * ref.blockTransform(), depth);
    if (!cell) return attributeExtents(ref, outer, depth);
    for (int c : {0, ref.columnCount() - 1})
        for (int r : {0, ref.rowCount() - 1}) {
            const ge::Vector3d offset = outer * (turn * ge::Vector3d{c * ref.columnSpacing(), r * ref.rowSpacing(), 0});
            detail::grow(box, Extents{cell->min + offset, cell->max + offset});
        }
    detail::grow(box, attributeExtents(ref, outer, depth));
    return box;
}

std::optional<Extents> attributeExtents(const BlockReference& ref, const ge::Matrix3d& outer, int depth) {
    const Database* db = ref.database();
    std::optional<Extents> box;
    for (ObjectId id : ref.attributeIds()) {
        const auto* a = dynamic_cast<const Attribute*>(db->peek(id));
        if (!a || a->isErased() || !a->isVisible() || (a->attributeFlags() & kAttributeInvisible)) continue;
        detail::grow(box, transformedExtents(*a, outer, depth));
    }
    return box;
}

}  // namespace

Status BlockReference::setBlockTableRecord(ObjectId block) {
    assertWriteEnabled();
    const Status s = detail::checkRecord<BlockTableRecord>(*this, block);
    if (s != Status::Ok) return s;
    block_ = block;
    return Status::Ok;
}

std::string BlockReference::blockName() const {
    if (block_.isNull()) return {};
    return block_.database()->recordName(block_);
}

Status BlockReference::setPosition(const ge::Point3d& p) {
    assertWriteEnabled();
    if (!detail::isFinite(p)) return Status::InvalidInput;
    position_ = p;
    return Status::Ok;
}

Status BlockReference::setScaleFactors(const ge::Vector3d& s) {
    assertWriteEnabled();
    if (!detail::isFinite(s) || s.x == 0.0 || s.y == 0.0 || s.z == 0.0) return Status::InvalidInput;
    scale_ = s;
    return Status::Ok;
}

Status BlockReference::setRotation(double r) {
    assertWriteEnabled();
    if (!std::isfinite(r)) return Status::InvalidInput;
    rotation_ = ge::normalizeAngle(r);
    return Status::Ok;
}

Status BlockReference::setNormal(const ge::Vector3d& n) {
    assertWriteEnabled();
    const auto u = detail::unitNormal(n);
    if (!u) return Status::InvalidInput;
    normal_ = *u;
    return Status::Ok;
}

Status BlockReference::setArray(int columns, int rows, double colSpacing, double rowSpacing) {
    assertWriteEnabled();
    if (columns < 1 || rows < 1 || !std::isfinite(colSpacing) || !std::isfinite(rowSpacing))
        return Status::InvalidInput;
    columns_ = columns;
    rows_ = rows;
    colSpacing_ = colSpacing;
    rowSpacing_ = rowSpacing;
    return Status::Ok;
}

// Block space to world: p -> position + plane(normal) * rotate(rotation) * scale * (p - base point).
ge::Matrix3d BlockReference::blockTransform() const {
    ge::Point3d base;
    if (!block_.isNull())
        if (const auto* record = dynamic_cast<const BlockTableRecord*>(block_.database()->peek(block_)))
            base = record->origin();
    return ge::Matrix3d::translation(position_ - ge::Point3d::kOrigin()) * ge::Matrix3d::planeToWorld(normal_) *
           ge::Matrix3d::rotation(rotation_) * ge::Matrix3d::scaling(scale_) *
           ge::Matrix3d::translation(ge::Point3d::kOrigin() - base);
}

Status BlockReference::appendAttribute(std::unique_ptr<Attribute> attribute, ObjectId* id) {
    assertWriteEnabled();
    if (!attribute) return Status::InvalidInput;
    Database* db = database();
    if (!db) return Status::NotInDatabase;
    if (!attribute->isNewObject()) return Status::AlreadyInDb;
    if (attribute->layerId().isNull()) {
        attribute->setPropertiesFrom(*db);
        if (!layerId().isNull()) attribute->setLayer(layerId());
    }
    return detail::appendOwnedEntity(*this, std::move(attribute), attributes_, seqEnd_, id);
}

std::optional<Extents> BlockReference::geomExtents() const { return referenceExtents(*this, {}, 0); }

// Moves, rotations, uniform scales and mirrors; the attributes (opened for write) go along. A mirror is kept as
// a negative x scale, the way a mirrored insertion is stored. A non-uniform scale of a rotated reference cannot
// be written as a scale and a rotation: NotApplicable.
Status BlockReference::transformBy(const ge::Matrix3d& m) {
    assertWriteEnabled();
    if (!m.isUniScaledOrtho()) return Status::NotApplicable;
    std::vector<ObjectPtr<Attribute>> open;
    for (ObjectId id : attributes_) {
        if (id.isErased()) continue;
        ObjectPtr<Attribute> a(id, OpenMode::Write);
        if (!a) return a.status();
        open.push_back(std::move(a));
    }
    for (ObjectPtr<Attribute>& a : open) {
        const Status s = a->transformBy(m);
        if (s != Status::Ok) return s;
    }
    const ge::Vector3d xDir =
        ge::Matrix3d::planeToWorld(normal_) * ge::Vector3d{std::cos(rotation_), std::sin(rotation_), 0};
    const ge::Vector3d n = m.transformNormal(normal_);
    ge::Vector3d image = m * xDir;
    const double s = m.scale();
    scale_ = scale_ * s;
    if (m.isMirroring()) {
        scale_.x = -scale_.x;
        image = -image;
    }
    position_ = m * position_;
    normal_ = n;
    rotation_ = ge::normalizeAngle(detail::planeAngle(n, ge::Point3d::kOrigin(), ge::Point3d::kOrigin() + image));
    colSpacing_ *= s;
    rowSpacing_ *= s;
    return Status::Ok;
}

}  // namespace host::db
