// Entity::intersectWith: the points where two entities meet, for every pair of the curve kinds the host models.
#include <algorithm>
#include <cmath>
#include <limits>

#include "host/db/entity_geometry.h"
#include "host/ge/angle.h"

namespace host::db {

namespace {

using detail::PlanPiece;

// A point found on this entity: where along it (piece index + fraction of the piece), the point, and its z.
struct Hit {
    double key;
    ge::Point2d point;
    double z;
};

// The plan-view box of a piece, widened by the tolerance; an infinite line has none (it meets every box).
struct Box {
    double minX, minY, maxX, maxY;
    bool unbounded = false;
    bool overlaps(const Box& o) const {
        return unbounded || o.unbounded ||
               !(o.minX > maxX || minX > o.maxX || o.minY > maxY || minY > o.maxY);
    }
};

Box boxOf(const PlanPiece& piece, double tol) {
    Box b{};
    if (piece.kind == PlanPiece::Kind::Line && piece.extent == ge::LineExtent::Infinite) {
        b.unbounded = true;
        return b;
    }
    ge::Point2d lo, hi;
    if (piece.kind == PlanPiece::Kind::Arc) {
        std::tie(lo, hi) = piece.arc.bounds();
    } else {
        lo = {std::min(piece.line.start.x, piece.line.end.x), std::min(piece.line.start.y, piece.line.end.y)};
        hi = {std::max(piece.line.start.x, piece.line.end.x), std::max(piece.line.start.y, piece.line.end.y)};
    }
    return {lo.x - tol, lo.y - tol, hi.x + tol, hi.y + tol};
}

ge::Point2d startOf(const PlanPiece& p) { return p.kind == PlanPiece::Kind::Arc ? p.arc.startPoint() : p.line.start; }
ge::Point2d endOf(const PlanPiece& p) { return p.kind == PlanPiece::Kind::Arc ? p.arc.endPoint() : p.line.end; }

// Where on piece i of this entity the point lies, as a key that grows along the entity, and the z there.
Hit locate(const PlanPiece& piece, std::size_t i, const ge::Point2d& p) {
    switch (piece.kind) {
        case PlanPiece::Kind::Point: return {double(i), p, piece.z0};
        case PlanPiece::Kind::Line: {
            double t = piece.line.paramOf(p);
            if (piece.extent == ge::LineExtent::Segment) t = std::clamp(t, 0.0, 1.0);
            return {double(i) + t, p, piece.z0 + (piece.z1 - piece.z0) * t};
        }
        case PlanPiece::Kind::Arc: {
            const ge::CircArc2d& arc = piece.arc;
            const double sweep = arc.sweep();
            double offset = arc.offsetFromStart(ge::angleFromTo(arc.center, p));
            // A point a tolerance before the start reads as nearly a full turn; it belongs at the start.
            if (!arc.full && offset > sweep) offset = offset - sweep > ge::kTwoPi - offset ? 0.0 : sweep;
            return {double(i) + (sweep > 0.0 ? offset / sweep : 0.0), p, piece.z0};
        }
    }
    return {double(i), p, piece.z0};
}

// The points where two pieces meet. Overlapping and parallel pieces give none.
ge::Intersections2d meet(const PlanPiece& a, const PlanPiece& b, const ge::Tolerance& tol) {
    using Kind = PlanPiece::Kind;
    ge::Intersections2d none;
    auto single = [](const ge::Point2d& p) {
        ge::Intersections2d r;
        r.kind = ge::IntersectKind::Points;
        r.count = 1;
        r.points[0] = p;
        return r;
    };
    if (a.kind == Kind::Point || b.kind == Kind::Point) {
        const PlanPiece& pt = a.kind == Kind::Point ? a : b;
        const PlanPiece& other = a.kind == Kind::Point ? b : a;
        const ge::Point2d p = pt.line.start;
        bool on = false;
        switch (other.kind) {
            case Kind::Point: on = other.line.start.isEqualTo(p, tol); break;
            case Kind::Line: on = ge::isPointOnLine(other.line, p, other.extent, tol); break;
            case Kind::Arc: on = ge::isPointOnArc(other.arc, p, tol); break;
        }
        return on ? single(p) : none;
    }
    if (a.kind == Kind::Line && b.kind == Kind::Line)
        return ge::intersectLines(a.line, b.line, a.extent, b.extent, tol);
    if (a.kind == Kind::Line) return ge::intersectLineArc(a.line, b.arc, a.extent, tol);
    if (b.kind == Kind::Line) return ge::intersectLineArc(b.line, a.arc, b.extent, tol);
    return ge::intersectArcs(a.arc, b.arc, tol);
}

}  // namespace

// Where this entity meets `other` (which may belong to no database):
//
// - Computed in plan view: both outlines are taken in the XY plane, and each point answered carries this
//   entity's z at that place.
// - Kinds: lines, circles, arcs, points, lightweight polylines (arcs included), 2D polylines (with their bulges)
//   and 3D polylines (straight between vertex positions), ellipses and splines. Ellipses and splines are
//   followed through chords (see plan_pieces.cpp), so their points lie on the chords, within 1e-4 of the curve
//   for an ellipse. Texts, block references and records without geometry meet nothing.
// - Mode: OnBothOperands answers points on both entities as drawn. Extending an operand makes a line infinite
//   and an arc or elliptical arc whole; polylines and splines are never extended.
// - A point entity meets a curve when it lies on it within the global tolerance, and another point entity when
//   they coincide within it.
// - Tangent contact answers one point. Pieces that overlap (collinear segments, arcs of one circle sharing a
//   sweep) answer no points between them: an overlap is not a crossing. Where other pieces meet at the ends of
//   an overlap, those points are answered.
// - Order: along this entity from its start: by segment, then along the segment. A closed polyline runs from its
//   first vertex through the closing segment; a circle from angle 0 of its plane, counter-clockwise about its
//   normal (clockwise in plan for a normal of -z). Points closer than the tolerance that follow each other in
//   this order are answered once, so a crossing at a vertex shared by two segments is one point, and on a
//   closed outline a point at the start is not repeated at the end.
std::vector<ge::Point3d> Entity::intersectWith(const Entity& other, Intersect mode) const {
    const ge::Tolerance& tol = ge::globalTolerance();
    const bool extendThis = mode == Intersect::ExtendThis || mode == Intersect::ExtendBoth;
    const bool extendOther = mode == Intersect::ExtendArgument || mode == Intersect::ExtendBoth;
    const std::vector<PlanPiece> mine = detail::planPieces(*this, extendThis);
    const std::vector<PlanPiece> theirs = detail::planPieces(other, extendOther);
    if (mine.empty() || theirs.empty()) return {};

    std::vector<Box> theirBoxes;
    theirBoxes.reserve(theirs.size());
    for (const PlanPiece& p : theirs) theirBoxes.push_back(boxOf(p, tol.equalPoint));

    std::vector<Hit> hits;
    for (std::size_t i = 0; i < mine.size(); ++i) {
        const Box box = boxOf(mine[i], tol.equalPoint);
        for (std::size_t j = 0; j < theirs.size(); ++j) {
            if (!box.overlaps(theirBoxes[j])) continue;
            const ge::Intersections2d r = meet(mine[i], theirs[j], tol);
            for (int k = 0; k < r.count; ++k) hits.push_back(locate(mine[i], i, r.points[k]));
        }
    }
    std::stable_sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.key < b.key; });

    std::vector<Hit> kept;
    for (const Hit& h : hits)
        if (kept.empty() || !kept.back().point.isEqualTo(h.point, tol)) kept.push_back(h);
    const bool loop = mine.front().kind != PlanPiece::Kind::Point &&
                      startOf(mine.front()).isEqualTo(endOf(mine.back()), tol);
    if (loop && kept.size() > 1 && kept.back().point.isEqualTo(kept.front().point, tol)) kept.pop_back();

    std::vector<ge::Point3d> out;
    out.reserve(kept.size());
    for (const Hit& h : kept) out.push_back({h.point.x, h.point.y, h.z});
    return out;
}

}  // namespace host::db
