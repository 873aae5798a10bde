// Old-style polylines (POLYLINE with VERTEX objects, 2D and 3D) and their vertices.
//
// A 3D polyline's vertices are world points. A 2D polyline's vertices are x and y in the plane of its normal at
// its elevation, with a bulge each, like a lightweight polyline. The vertices are objects of their own: the
// polyline reads them through the database without opening them, and opens them for write to transform them.
#include <algorithm>

#include "host/db/database.h"
#include "host/db/entity_geometry.h"

namespace host::db {

namespace {

// The 3D polyline vertex flag of drawing files.
constexpr int kVertexFlag3d = 32;

bool validWidth(double w) { return w >= 0.0 && std::isfinite(w); }

}  // namespace

// ---- PolylineVertex

Status PolylineVertex::setPosition(const ge::Point3d& p) {
    assertWriteEnabled();
    if (!detail::isFinite(p)) return Status::InvalidInput;
    position_ = p;
    return Status::Ok;
}

Status PolylineVertex::setBulge(double b) {
    assertWriteEnabled();
    if (!std::isfinite(b)) return Status::InvalidInput;
    bulge_ = b;
    return Status::Ok;
}

Status PolylineVertex::setWidths(double start, double end) {
    assertWriteEnabled();
    if (!validWidth(start) || !validWidth(end)) return Status::InvalidInput;
    startWidth_ = start;
    endWidth_ = end;
    return Status::Ok;
}

Status PolylineVertex::setFlags(int f) {
    assertWriteEnabled();
    flags_ = f;
    return Status::Ok;
}

std::optional<Extents> PolylineVertex::geomExtents() const { return Extents{position_, position_}; }

// A vertex alone moves as a point. Its polyline transforms 2D vertices in the polyline's plane instead.
Status PolylineVertex::transformBy(const ge::Matrix3d& m) {
    assertWriteEnabled();
    position_ = m * position_;
    return Status::Ok;
}

// ---- PolylineWithVertices

Status PolylineWithVertices::appendVertex(std::unique_ptr<PolylineVertex> vertex, ObjectId* id) {
    assertWriteEnabled();
    if (!vertex) return Status::InvalidInput;
    Database* db = database();
    if (!db) return Status::NotInDatabase;
    if (!vertex->isNewObject()) return Status::AlreadyInDb;
    vertex->is3d_ = is3d_;
    if (is3d_) vertex->flags_ |= kVertexFlag3d;
    // The vertex is drawn as part of its polyline: it carries the polyline's properties.
    if (!layerId().isNull()) vertex->setLayer(layerId());
    if (!linetypeId().isNull()) vertex->setLinetype(linetypeId());
    vertex->setColor(color());
    return detail::appendOwnedEntity(*this, std::move(vertex), vertices_, seqEnd_, id);
}

std::vector<ge::Point3d> PolylineWithVertices::vertexPositions() const {
    std::vector<ge::Point3d> out;
    const Database* db = database();
    if (!db) return out;
    out.reserve(vertices_.size());
    for (ObjectId id : vertices_) {
        const auto* v = dynamic_cast<const PolylineVertex*>(db->peek(id));
        if (!v || v->isErased()) continue;
        const ge::Point3d p = v->position();
        out.push_back(is3d_ ? p : detail::planeToWorld(normal_, ge::Point3d{p.x, p.y, elevation_}));
    }
    return out;
}

std::vector<double> PolylineWithVertices::vertexBulges() const {
    std::vector<double> out;
    const Database* db = database();
    if (!db) return out;
    out.reserve(vertices_.size());
    for (ObjectId id : vertices_) {
        const auto* v = dynamic_cast<const PolylineVertex*>(db->peek(id));
        if (!v || v->isErased()) continue;
        out.push_back(is3d_ ? 0.0 : v->bulge());
    }
    return out;
}

Status PolylineWithVertices::setClosed(bool closed) {
    assertWriteEnabled();
    flags_ = closed ? (flags_ | kFlagClosed) : (flags_ & ~kFlagClosed);
    return Status::Ok;
}

Status PolylineWithVertices::setFlags(int f) {
    assertWriteEnabled();
    flags_ = is3d_ ? (f | kFlag3d) : (f & ~kFlag3d);
    return Status::Ok;
}

Status PolylineWithVertices::setElevation(double z) {
    assertWriteEnabled();
    if (!std::isfinite(z)) return Status::InvalidInput;
    elevation_ = z;
    return Status::Ok;
}

Status PolylineWithVertices::setDefaultWidths(double start, double end) {
    assertWriteEnabled();
    if (!validWidth(start) || !validWidth(end)) return Status::InvalidInput;
    startWidth_ = start;
    endWidth_ = end;
    return Status::Ok;
}

Status PolylineWithVertices::setNormal(const ge::Vector3d& n) {
    assertWriteEnabled();
    const auto u = detail::unitNormal(n);
    if (!u) return Status::InvalidInput;
    normal_ = *u;
    return Status::Ok;
}

std::optional<Extents> PolylineWithVertices::geomExtents() const {
    return detail::outlineExtents(*this);
}

// Transforms the polyline and every live vertex, opening each vertex for write. A 2D polyline follows the rules
// of a lightweight polyline: a non-uniform scale is refused when it has arcs or widths, a mirror negates bulges.
Status PolylineWithVertices::transformBy(const ge::Matrix3d& m) {
    assertWriteEnabled();
    Database* db = database();
    const bool uniform = m.isUniScaledOrtho();
    const ge::Vector3d n = m.transformNormal(normal_);
    if (n.lengthSqrd() == 0.0) return Status::InvalidInput;
    if (!is3d_ && !uniform) {
        const std::vector<double> bulges = vertexBulges();
        const bool arcs = std::any_of(bulges.begin(), bulges.end(), [](double b) { return b != 0.0; });
        if (arcs || startWidth_ != 0.0 || endWidth_ != 0.0) return Status::NotApplicable;
    }
    // Open every vertex first, so that a vertex that cannot be opened leaves the whole polyline unchanged.
    std::vector<ObjectPtr<PolylineVertex>> open;
    if (db) {
        for (ObjectId id : vertices_) {
            if (id.isErased()) continue;
            ObjectPtr<PolylineVertex> v(id, OpenMode::Write);
            if (!v) return v.status();
            if (!is3d_ && !uniform && (v->startWidth() != 0.0 || v->endWidth() != 0.0)) return Status::NotApplicable;
            open.push_back(std::move(v));
        }
    }
    const double newElevation =
        detail::worldToPlane(n, m * detail::planeToWorld(normal_, ge::Point3d{0, 0, elevation_})).z;
    for (ObjectPtr<PolylineVertex>& v : open) {
        if (is3d_) {
            v->position_ = m * v->position_;
            continue;
        }
        const ge::Point3d world =
            m * detail::planeToWorld(normal_, ge::Point3d{v->position_.x, v->position_.y, elevation_});
        const ge::Point3d local = detail::worldToPlane(n, world);
        v->position_ = {local.x, local.y, newElevation};
        if (m.isMirroring() && v->bulge_ != 0.0) v->bulge_ = -v->bulge_;
        if (uniform) {
            v->startWidth_ *= m.scale();
            v->endWidth_ *= m.scale();
        }
    }
    if (uniform) {
        startWidth_ *= m.scale();
        endWidth_ *= m.scale();
    }
    elevation_ = is3d_ ? elevation_ : newElevation;
    normal_ = is3d_ ? normal_ : n;
    return Status::Ok;
}

}  // namespace host::db
