// Shapes of entities in world plan view and the distance, window, crossing and fence tests on them.
#include "host/ed/pick_geometry.h"

#include <algorithm>
#include <cmath>

#include "host/ed/display.h"
#include "host/ed/sysvars.h"
#include "host/ge/angle.h"
#include "host/ge/intersect.h"

namespace host::ed::detail {

namespace {

// An arc seen through a transform that is not a similarity becomes chords, this many for a whole turn: the
// chords stand off the arc by 0.03 % of its radius, far below a pick box.
constexpr int kChordsPerTurn = 128;

const db::LayerTableRecord* layerOf(const db::Entity& e) {
    const db::Database* db = e.database();
    return db ? dynamic_cast<const db::LayerTableRecord*>(db->peek(e.layerId())) : nullptr;
}

bool layerShows(const db::Entity& e) {
    const db::LayerTableRecord* layer = layerOf(e);
    return !layer || layer->isVisible();
}

db::OutlinePiece linePiece(const ge::Point3d& a, const ge::Point3d& b) {
    db::OutlinePiece p;
    p.kind = db::OutlinePiece::Kind::Line;
    p.line = {a.to2d(), b.to2d()};
    p.z0 = a.z;
    p.z1 = b.z;
    return p;
}

// The piece through the transform, appended to `out`.
void transformPiece(const db::OutlinePiece& piece, const ge::Matrix3d& m, bool identity,
                    std::vector<db::OutlinePiece>& out) {
    if (identity) {
        out.push_back(piece);
        return;
    }
    using Kind = db::OutlinePiece::Kind;
    switch (piece.kind) {
    case Kind::Point: {
        const ge::Point3d p = m * ge::Point3d(piece.line.start, piece.z0);
        db::OutlinePiece q = piece;
        q.line = {p.to2d(), p.to2d()};
        q.z0 = q.z1 = p.z;
        out.push_back(q);
        return;
    }
    case Kind::Line:
        out.push_back(
            linePiece(m * ge::Point3d(piece.line.start, piece.z0), m * ge::Point3d(piece.line.end, piece.z1)));
        return;
    case Kind::Arc: break;
    }
    const double a = m.entry(0, 0), b = m.entry(0, 1), c = m.entry(1, 0), d = m.entry(1, 1);
    const double tol = 1e-9 * std::max({std::abs(a), std::abs(b), std::abs(c), std::abs(d), 1e-300});
    const bool flat = std::abs(m.entry(0, 2)) <= tol && std::abs(m.entry(1, 2)) <= tol;
    const bool rotation = std::abs(a - d) <= tol && std::abs(b + c) <= tol;
    const bool mirror = std::abs(a + d) <= tol && std::abs(b - c) <= tol;
    const double scale = std::sqrt(std::abs(a * d - b * c));
    const ge::CircArc2d& arc = piece.arc;
    if (flat && (rotation || mirror) && scale > 0.0) {
        const double theta = std::atan2(c, a);
        db::OutlinePiece q = piece;
        const ge::Point3d center = m * ge::Point3d(arc.center, piece.z0);
        q.arc.center = center.to2d();
        q.arc.radius = arc.radius * scale;
        q.z0 = q.z1 = center.z;
        if (rotation) {
            q.arc.startAngle = ge::normalizeAngle(arc.startAngle + theta);
            q.arc.endAngle = ge::normalizeAngle(arc.endAngle + theta);
        } else {
            // A mirror in the line at theta / 2 sends a direction at angle phi to theta - phi and turns the arc.
            q.arc.startAngle = ge::normalizeAngle(theta - arc.startAngle);
            q.arc.endAngle = ge::normalizeAngle(theta - arc.endAngle);
            q.arc.clockwise = !arc.clockwise;
        }
        out.push_back(q);
        return;
    }
    const double sweep = arc.sweep();
    const int n = std::max(4, int(std::ceil(sweep / ge::kTwoPi * kChordsPerTurn)));
    const double sense = arc.clockwise ? -1.0 : 1.0;
    ge::Point3d prev = m * ge::Point3d(arc.startPoint(), piece.z0);
    for (int i = 1; i <= n; ++i) {
        const ge::Point3d next = m * ge::Point3d(arc.pointAtAngle(arc.startAngle + sense * sweep * i / n), piece.z0);
        out.push_back(linePiece(prev, next));
        prev = next;
    }
}

struct ShapeBuilder {
    Shape shape;

    bool full() const { return shape.pieces.size() >= kMaxShapePieces; }

    void addOutline(const db::Entity& e, const ge::Matrix3d& m, const std::vector<db::ObjectId>& containers) {
        const bool identity = m == ge::Matrix3d::identity();
        std::vector<db::OutlinePiece> world;
        for (const db::OutlinePiece& p : db::entityOutline(e)) transformPiece(p, m, identity, world);
        if (world.empty()) return;
        const std::size_t part = shape.parts.size();
        shape.parts.push_back({e.objectId(), containers, m});
        for (const db::OutlinePiece& p : world) {
            if (full()) return;
            shape.pieces.push_back({p, part});
        }
    }

    void addEntity(const db::Entity& e, const ge::Matrix3d& m, const std::vector<db::ObjectId>& containers,
                   int depth) {
        if (full()) return;
        const auto* ref = dynamic_cast<const db::BlockReference*>(&e);
        if (!ref) return addOutline(e, m, containers);
        if (depth >= kMaxShapeDepth || !e.database()) return;
        const db::Database& db = *e.database();
        const auto* block = dynamic_cast<const db::BlockTableRecord*>(db.peek(ref->blockTableRecord()));
        std::vector<db::ObjectId> inner = {e.objectId()};
        inner.insert(inner.end(), containers.begin(), containers.end());
        if (block && !block->isErased()) {
            // Array cells move along the reference's rotated axes in the plane of its normal, unscaled.
            const int columns = std::max(1, ref->columnCount()), rows = std::max(1, ref->rowCount());
            const double cs = std::cos(ref->rotation()), sn = std::sin(ref->rotation());
            const ge::Matrix3d plane = ge::Matrix3d::planeToWorld(ref->normal());
            for (int r = 0; r < rows && !full(); ++r) {
                for (int k = 0; k < columns && !full(); ++k) {
                    const double ox = k * ref->columnSpacing(), oy = r * ref->rowSpacing();
                    const ge::Vector3d offset = plane * ge::Vector3d(ox * cs - oy * sn, ox * sn + oy * cs, 0);
                    const ge::Matrix3d cell = m * ge::Matrix3d::translation(offset) * ref->blockTransform();
                    for (db::ObjectId id : block->entityList()) {
                        const auto* child = dynamic_cast<const db::Entity*>(db.peek(id));
                        if (!child || child->isErased() || !child->isVisible()) continue;
                        if (dynamic_cast<const db::BlockBegin*>(child) || dynamic_cast<const db::BlockEnd*>(child))
                            continue;
                        // Layer "0" inside a block shows on the reference's layer, which was checked on the way in.
                        if (db.recordName(child->layerId()) != "0" && !layerShows(*child)) continue;
                        addEntity(*child, cell, inner, depth + 1);
                    }
                }
            }
        }
        for (db::ObjectId id : ref->attributeIds()) {
            const auto* a = dynamic_cast<const db::Attribute*>(db.peek(id));
            constexpr int kInvisibleAttribute = 1;
            if (!a || a->isErased() || !a->isVisible() || (a->attributeFlags() & kInvisibleAttribute)) continue;
            addOutline(*a, m, inner);
        }
    }
};

double segmentParamClamped(const ge::LineSeg2d& s, const ge::Point2d& p) {
    return std::clamp(s.paramOf(p), 0.0, 1.0);
}

bool arcHolds(const ge::CircArc2d& arc, const ge::Point2d& p) {
    return arc.full || arc.containsAngle(ge::angleFromTo(arc.center, p), ge::Tolerance{0.0, 0.0});
}

// Texts are hit anywhere inside their box, not only on its sides.
bool isTextLike(db::ObjectId id) {
    const db::DbObject* o = id.isNull() ? nullptr : id.database()->peek(id);
    return dynamic_cast<const db::Text*>(o) || dynamic_cast<const db::MText*>(o);
}

// Whether p lies inside the closed outline formed by the line pieces of one part (the even-odd rule).
bool insidePolygon(const Shape& shape, std::size_t part, const ge::Point2d& p) {
    bool inside = false;
    for (const ShapePiece& sp : shape.pieces) {
        if (sp.part != part || sp.piece.kind != db::OutlinePiece::Kind::Line) continue;
        const ge::Point2d a = sp.piece.line.start, b = sp.piece.line.end;
        if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (b.x - a.x) * (p.y - a.y) / (b.y - a.y)) inside = !inside;
    }
    return inside;
}

}  // namespace

Shape shapeOf(const db::Entity& entity) {
    ShapeBuilder builder;
    builder.addEntity(entity, ge::Matrix3d::identity(), {}, 0);
    return std::move(builder.shape);
}

bool isSelectable(const db::Entity& entity) {
    const db::Database* db = entity.database();
    if (!db || entity.isErased() || !entity.isVisible() || entity.inPaperSpace()) return false;
    if (entity.ownerId() != db->modelSpaceId()) return false;
    return layerShows(entity);
}

ge::Point2d nearestPoint(const db::OutlinePiece& piece, const ge::Point2d& p) {
    switch (piece.kind) {
    case db::OutlinePiece::Kind::Point: return piece.line.start;
    case db::OutlinePiece::Kind::Line: return piece.line.pointAt(segmentParamClamped(piece.line, p));
    case db::OutlinePiece::Kind::Arc: {
        const ge::CircArc2d& arc = piece.arc;
        if (p == arc.center) return arc.startPoint();
        if (arcHolds(arc, p)) return arc.pointAtAngle(ge::angleFromTo(arc.center, p));
        const ge::Point2d s = arc.startPoint(), e = arc.endPoint();
        return s.distanceTo(p) <= e.distanceTo(p) ? s : e;
    }
    }
    return piece.line.start;
}

double distanceTo(const db::OutlinePiece& piece, const ge::Point2d& p) {
    if (piece.kind == db::OutlinePiece::Kind::Arc && p != piece.arc.center && arcHolds(piece.arc, p))
        return std::abs(piece.arc.center.distanceTo(p) - piece.arc.radius);
    return nearestPoint(piece, p).distanceTo(p);
}

Box Box::of(const ge::Point2d& a, const ge::Point2d& b) {
    return {{std::min(a.x, b.x), std::min(a.y, b.y)}, {std::max(a.x, b.x), std::max(a.y, b.y)}};
}

bool Box::contains(const ge::Point2d& p) const { return p.x >= lo.x && p.x <= hi.x && p.y >= lo.y && p.y <= hi.y; }

bool insideBox(const Shape& shape, const Box& box) {
    if (shape.pieces.empty()) return false;
    for (const ShapePiece& sp : shape.pieces) {
        const db::OutlinePiece& p = sp.piece;
        switch (p.kind) {
        case db::OutlinePiece::Kind::Point:
            if (!box.contains(p.line.start)) return false;
            break;
        case db::OutlinePiece::Kind::Line:
            if (!box.contains(p.line.start) || !box.contains(p.line.end)) return false;
            break;
        case db::OutlinePiece::Kind::Arc: {
            const auto [lo, hi] = p.arc.bounds();
            if (!box.contains(lo) || !box.contains(hi)) return false;
            break;
        }
        }
    }
    return true;
}

bool touchesBox(const Shape& shape, const Box& box) {
    if (box.isPoint()) {
        const double tol = ge::globalTolerance().equalPoint;
        for (const ShapePiece& sp : shape.pieces)
            if (distanceTo(sp.piece, box.lo) <= tol) return true;
        return false;
    }
    const ge::LineSeg2d edges[4] = {{box.lo, {box.hi.x, box.lo.y}},
                                    {{box.hi.x, box.lo.y}, box.hi},
                                    {box.hi, {box.lo.x, box.hi.y}},
                                    {{box.lo.x, box.hi.y}, box.lo}};
    for (const ShapePiece& sp : shape.pieces) {
        const db::OutlinePiece& p = sp.piece;
        switch (p.kind) {
        case db::OutlinePiece::Kind::Point:
            if (box.contains(p.line.start)) return true;
            break;
        case db::OutlinePiece::Kind::Line:
            if (box.contains(p.line.start) || box.contains(p.line.end)) return true;
            for (const ge::LineSeg2d& edge : edges) {
                const ge::Intersections2d r = ge::intersectLines(edge, p.line);
                if (!r.empty() || r.kind == ge::IntersectKind::Overlap) return true;
            }
            break;
        case db::OutlinePiece::Kind::Arc:
            if (box.contains(p.arc.startPoint())) return true;
            for (const ge::LineSeg2d& edge : edges)
                if (!ge::intersectLineArc(edge, p.arc).empty()) return true;
            break;
        }
    }
    return false;
}

std::optional<double> fenceDistance(const Shape& shape, const std::vector<ge::Point2d>& fence) {
    double travelled = 0.0;
    for (std::size_t k = 0; k + 1 < fence.size(); ++k) {
        const ge::LineSeg2d seg{fence[k], fence[k + 1]};
        const double length = seg.length();
        std::optional<double> best;
        auto consider = [&](const ge::Point2d& p) {
            const double t = length > 0.0 ? segmentParamClamped(seg, p) : 0.0;
            if (!best || t < *best) best = t;
        };
        for (const ShapePiece& sp : shape.pieces) {
            const db::OutlinePiece& p = sp.piece;
            switch (p.kind) {
            case db::OutlinePiece::Kind::Point:
                if (ge::isPointOnLine(seg, p.line.start)) consider(p.line.start);
                break;
            case db::OutlinePiece::Kind::Line: {
                const ge::Intersections2d r = ge::intersectLines(seg, p.line);
                if (r.kind == ge::IntersectKind::Overlap) consider(r.overlap.start);
                for (int i = 0; i < r.count; ++i) consider(r.points[std::size_t(i)]);
                break;
            }
            case db::OutlinePiece::Kind::Arc: {
                const ge::Intersections2d r = ge::intersectLineArc(seg, p.arc);
                for (int i = 0; i < r.count; ++i) consider(r.points[std::size_t(i)]);
                break;
            }
            }
        }
        // The fence reaches this segment only after the ones before it, so the first segment that meets the
        // shape decides.
        if (best) return travelled + *best * length;
        travelled += length;
    }
    return std::nullopt;
}

std::optional<Pick> pickNearest(const db::Database& database, const ge::Point2d& p, double aperture,
                                const SelectionFilter* filter) {
    const auto* space = dynamic_cast<const db::BlockTableRecord*>(database.peek(database.modelSpaceId()));
    if (!space) return std::nullopt;
    std::optional<Pick> best;
    for (db::ObjectId id : space->entityList()) {
        const auto* e = dynamic_cast<const db::Entity*>(database.peek(id));
        if (!e || !isSelectable(*e)) continue;
        // A box test first: most entities of a drawing lie far from the point.
        if (const auto box = e->geomExtents()) {
            if (p.x < box->min.x - aperture || p.x > box->max.x + aperture || p.y < box->min.y - aperture ||
                p.y > box->max.y + aperture)
                continue;
        }
        if (filter && !filter->matches(*e)) continue;
        const Shape shape = shapeOf(*e);
        std::vector<double> nearest(shape.parts.size(), HUGE_VAL);
        for (const ShapePiece& sp : shape.pieces)
            nearest[sp.part] = std::min(nearest[sp.part], distanceTo(sp.piece, p));
        for (std::size_t k = 0; k < shape.parts.size(); ++k) {
            double d = nearest[k];
            if (isTextLike(shape.parts[k].entity) && insidePolygon(shape, k, p)) d = 0.0;
            // Later drawn wins among equals: equal distances replace what was found before.
            if (d <= aperture && (!best || d <= best->distance)) best = Pick{id, shape.parts[k], d};
        }
    }
    return best;
}

double pickAperture(const db::Database& database) {
    return pixelsToUnits(database, getShort("PICKBOX", 3));
}

}  // namespace host::ed::detail
