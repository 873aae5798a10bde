// Meeting plan pieces: the boxes that rule pairs out, the points where two pieces meet, and their order along an
// entity. Entity::intersectWith and IntersectIndex share them, so both answer the same points in the same order.
#pragma once

#include <cstddef>
#include <vector>

#include "host/db/entity_geometry.h"

namespace host::db::detail {

// The plan-view box of a piece, widened by the tolerance; an infinite line has none (it meets every box).
struct PieceBox {
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
    bool unbounded = false;
    bool overlaps(const PieceBox& o) const {
        return unbounded || o.unbounded ||
               !(o.minX > maxX || minX > o.maxX || o.minY > maxY || minY > o.maxY);
    }
    // This box grown to hold `o` as well.
    void add(const PieceBox& o);
};

PieceBox pieceBox(const PlanPiece& piece, double tol);

// A point where piece `mine` of one entity meets piece `theirs` of another: `key` places it along the first entity
// (the piece's index plus the fraction of the piece), `rank` is its place among the points of that pair.
struct PieceHit {
    double key = 0.0;
    ge::Point2d point;
    double z = 0.0;
    std::size_t mine = 0, theirs = 0;
    int rank = 0;
};

// Adds the points where piece i of this entity (`a`) meets piece j of the other (`b`). Overlapping and parallel
// pieces give none.
void meetPieces(const PlanPiece& a, std::size_t i, const PlanPiece& b, std::size_t j, const ge::Tolerance& tol,
                std::vector<PieceHit>& hits);

// The points of `hits` in order along the entity whose pieces are `mine` (by key; at one key in the order the
// pairs of pieces come in mine, theirs, rank), each point once (see Entity::intersectWith).
std::vector<ge::Point3d> orderedHits(const std::vector<PlanPiece>& mine, std::vector<PieceHit>& hits,
                                     const ge::Tolerance& tol);

}  // namespace host::db::detail
