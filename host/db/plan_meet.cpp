// Meeting plan pieces: boxes, the points where two pieces meet, and the order of those points along an entity.
#include "host/db/plan_meet.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "host/ge/angle.h"

namespace host::db::detail {

namespace {

ge::Point2d startOf(const PlanPiece& p) { return p.kind == PlanPiece::Kind::Arc ? p.arc.startPoint() : p.line.start; }
ge::Point2d endOf(const PlanPiece& p) { return p.kind == PlanPiece::Kind::Arc ? p.arc.endPoint() : p.line.end; }

// Where on piece i of this entity the point lies, as a key that grows along the entity, and the z there.
PieceHit locate(const PlanPiece& piece, std::size_t i, const ge::Point2d& p) {
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

void PieceBox::add(const PieceBox& o) {
    unbounded = unbounded || o.unbounded;
    minX = std::min(minX, o.minX);
    minY = std::min(minY, o.minY);
    maxX = std::max(maxX, o.maxX);
    maxY = std::max(maxY, o.maxY);
}

PieceBox pieceBox(const PlanPiece& piece, double tol) {
    PieceBox b{};
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

void meetPieces(const PlanPiece& a, std::size_t i, const PlanPiece& b, std::size_t j, const ge::Tolerance& tol,
                std::vector<PieceHit>& hits) {
    const ge::Intersections2d r = meet(a, b, tol);
    for (int k = 0; k < r.count; ++k) {
        PieceHit h = locate(a, i, r.points[k]);
        h.mine = i;
        h.theirs = j;
        h.rank = k;
        hits.push_back(h);
    }
}

std::vector<ge::Point3d> orderedHits(const std::vector<PlanPiece>& mine, std::vector<PieceHit>& hits,
                                     const ge::Tolerance& tol) {
    std::sort(hits.begin(), hits.end(), [](const PieceHit& a, const PieceHit& b) {
        return std::tie(a.key, a.mine, a.theirs, a.rank) < std::tie(b.key, b.mine, b.theirs, b.rank);
    });
    std::vector<const PieceHit*> kept;
    for (const PieceHit& h : hits)
        if (kept.empty() || !kept.back()->point.isEqualTo(h.point, tol)) kept.push_back(&h);
    const bool loop = !mine.empty() && mine.front().kind != PlanPiece::Kind::Point &&
                      startOf(mine.front()).isEqualTo(endOf(mine.back()), tol);
    if (loop && kept.size() > 1 && kept.back()->point.isEqualTo(kept.front()->point, tol)) kept.pop_back();

    std::vector<ge::Point3d> out;
    out.reserve(kept.size());
    for (const PieceHit* h : kept) out.push_back({h->point.x, h->point.y, h->z});
    return out;
}

}  // namespace host::db::detail
