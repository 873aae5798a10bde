// The outline of each entity kind in plan view: the lines, arcs and points that intersections and some extents
// are computed on.
//
// Lines, circles, arcs and polyline segments with a normal along z are exact. Ellipses, splines, and arcs whose
// normal is tilted out of z come as chords: an ellipse with chords standing at most kChordSagitta off the curve,
// a spline with kSplineChordsPerSpan chords per knot span. The z of each piece is the entity's own.
#include "host/db/entity_geometry.h"
#include "host/ge/angle.h"

namespace host::db::detail {

namespace {

// How far an ellipse's chords may stand off the curve, in drawing units (a tenth of a micrometre in
// millimetre drawings), and the bounds on their number.
constexpr double kChordSagitta = 1e-4;
constexpr int kMinEllipseChords = 64, kMaxEllipseChords = 4096;
constexpr int kSplineChordsPerSpan = 32;
// Chords for a circular arc in a tilted plane.
constexpr int kTiltedArcChords = 256;

void addChords(std::vector<PlanPiece>& out, const std::vector<ge::Point3d>& pts) {
    for (std::size_t i = 0; i + 1 < pts.size(); ++i) out.push_back(PlanPiece::segment(pts[i], pts[i + 1]));
    if (pts.size() == 1) out.push_back(PlanPiece::point(pts[0]));
}

// A circle or arc (counter-clockwise about the normal from start to end; whole when `full`).
void addCircular(std::vector<PlanPiece>& out, const ge::Vector3d& normal, const ge::Point3d& center, double radius,
                 double start, double end, bool full) {
    if (const auto arc = planArc(normal, center, radius, start, end, full)) {
        out.push_back(PlanPiece::circular(*arc, center.z));
        return;
    }
    const double sweep = full ? ge::kTwoPi : ge::ccwSweep(start, end);
    std::vector<ge::Point3d> pts;
    for (int i = 0; i <= kTiltedArcChords; ++i)
        pts.push_back(pointOnCircle(normal, center, radius, start + sweep * i / kTiltedArcChords));
    addChords(out, pts);
}

// One bulged segment between two vertices given in the plane of `normal` at `elevation`.
void addBulgeSegment(std::vector<PlanPiece>& out, const ge::Vector3d& normal, double elevation,
                     const ge::Point2d& a, const ge::Point2d& b, double bulge) {
    const ge::Point3d wa = planeToWorld(normal, ge::Point3d{a, elevation}),
                      wb = planeToWorld(normal, ge::Point3d{b, elevation});
    if (wa.to2d().isEqualTo(wb.to2d())) return;  // a zero-length segment adds nothing to the outline
    const int sense = planSense(normal);
    if (bulge != 0.0 && sense != 0) {
        // Seen from below (normal -z) an arc turns the other way in plan view.
        if (const auto arc = ge::CircArc2d::fromBulge(wa.to2d(), wb.to2d(), bulge * sense)) {
            out.push_back(PlanPiece::circular(*arc, wa.z));
            return;
        }
    }
    if (bulge != 0.0) {
        if (const auto arc = ge::CircArc2d::fromBulge(a, b, bulge)) {
            std::vector<ge::Point3d> pts;
            for (const ge::Point2d& p : arcPoints(*arc, kTiltedArcChords))
                pts.push_back(planeToWorld(normal, ge::Point3d{p, elevation}));
            addChords(out, pts);
            return;
        }
    }
    out.push_back(PlanPiece::segment(wa, wb));
}

// Vertices in a plane with bulges, open or closed. A polyline whose segments all have zero length (or that has
// one vertex) is a point.
void addPolyline(std::vector<PlanPiece>& out, const ge::Vector3d& normal, double elevation,
                 const std::vector<ge::Point2d>& pts, const std::vector<double>& bulges, bool closed) {
    const std::size_t n = pts.size();
    if (n == 0) return;
    const std::size_t first = out.size();
    const std::size_t segments = n < 2 ? 0 : (closed ? n : n - 1);
    for (std::size_t i = 0; i < segments; ++i)
        addBulgeSegment(out, normal, elevation, pts[i], pts[(i + 1) % n], bulges[i]);
    if (out.size() == first) out.push_back(PlanPiece::point(planeToWorld(normal, ge::Point3d{pts[0], elevation})));
}

}  // namespace

std::vector<PlanPiece> planPieces(const Entity& e, bool extended) {
    std::vector<PlanPiece> out;
    if (const auto* line = dynamic_cast<const Line*>(&e)) {
        PlanPiece piece = PlanPiece::segment(line->start(), line->end());
        if (extended) piece.extent = ge::LineExtent::Infinite;
        out.push_back(piece);
    } else if (const auto* circle = dynamic_cast<const Circle*>(&e)) {
        addCircular(out, circle->normal(), circle->center(), circle->radius(), 0.0, 0.0, true);
    } else if (const auto* arc = dynamic_cast<const Arc*>(&e)) {
        const bool full = extended || arc->startAngle() == arc->endAngle();
        addCircular(out, arc->normal(), arc->center(), arc->radius(), arc->startAngle(), arc->endAngle(), full);
    } else if (const auto* point = dynamic_cast<const PointEntity*>(&e)) {
        out.push_back(PlanPiece::point(point->position()));
    } else if (const auto* pline = dynamic_cast<const LwPolyline*>(&e)) {
        std::vector<ge::Point2d> pts;
        std::vector<double> bulges;
        for (const LwPolyline::Vertex& v : pline->vertices()) {
            pts.push_back(v.point);
            bulges.push_back(v.bulge);
        }
        addPolyline(out, pline->normal(), pline->elevation(), pts, bulges, pline->isClosed());
    } else if (const auto* old = dynamic_cast<const PolylineWithVertices*>(&e)) {
        const std::vector<ge::Point3d> world = old->vertexPositions();
        const std::vector<double> bulges = old->vertexBulges();
        if (dynamic_cast<const Polyline3d*>(&e) || planSense(old->normal()) == 0) {
            // Straight between the world positions (a tilted 2D polyline's bulges are not followed).
            std::vector<ge::Point3d> pts = world;
            if (old->isClosed() && pts.size() > 2) pts.push_back(pts.front());
            addChords(out, pts);
        } else {
            std::vector<ge::Point2d> pts;
            for (const ge::Point3d& p : world) pts.push_back(worldToPlane(old->normal(), p).to2d());
            addPolyline(out, old->normal(), old->elevation(), pts, bulges, old->isClosed());
        }
    } else if (const auto* ellipse = dynamic_cast<const Ellipse*>(&e)) {
        const double sweep = extended ? ge::kTwoPi : ellipse->endParam() - ellipse->startParam();
        const int chords = chordCount(ellipse->majorAxis().length(), sweep, kChordSagitta, kMinEllipseChords,
                                      kMaxEllipseChords);
        std::vector<ge::Point3d> pts;
        for (int i = 0; i <= chords; ++i)
            pts.push_back(ellipse->pointAtParam(ellipse->startParam() + sweep * i / chords));
        addChords(out, pts);
    } else if (const auto* spline = dynamic_cast<const Spline*>(&e)) {
        addChords(out, spline->tessellate(kSplineChordsPerSpan));
    }
    return out;
}

std::optional<Extents> outlineExtents(const Entity& e) {
    std::optional<Extents> box;
    for (const PlanPiece& piece : planPieces(e, false)) {
        if (piece.kind == PlanPiece::Kind::Arc) {
            const auto [lo, hi] = piece.arc.bounds();
            grow(box, ge::Point3d{lo.x, lo.y, piece.z0});
            grow(box, ge::Point3d{hi.x, hi.y, piece.z0});
        } else {
            grow(box, ge::Point3d{piece.line.start, piece.z0});
            grow(box, ge::Point3d{piece.line.end, piece.z1});
        }
    }
    return box;
}

}  // namespace host::db::detail
