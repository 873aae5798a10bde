// Entity::intersectWith: the points where two entities meet, for every pair of the curve kinds the host models.
#include "host/db/plan_meet.h"

namespace host::db {

using detail::PlanPiece;

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

    std::vector<detail::PieceBox> theirBoxes;
    theirBoxes.reserve(theirs.size());
    for (const PlanPiece& p : theirs) theirBoxes.push_back(detail::pieceBox(p, tol.equalPoint));

    std::vector<detail::PieceHit> hits;
    for (std::size_t i = 0; i < mine.size(); ++i) {
        const detail::PieceBox box = detail::pieceBox(mine[i], tol.equalPoint);
        for (std::size_t j = 0; j < theirs.size(); ++j)
            if (box.overlaps(theirBoxes[j])) detail::meetPieces(mine[i], i, theirs[j], j, tol, hits);
    }
    return detail::orderedHits(mine, hits, tol);
}

}  // namespace host::db
