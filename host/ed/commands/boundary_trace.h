// Finding the closed outline round a point from the lines, arcs, circles and polylines of the drawing.
#pragma once

#include <optional>

#include "host/db/database.h"
#include "host/ed/commands/poly_path.h"

namespace host::ed {

// Ends closer than this (drawing units) are one point, and lines closer than this to parallel overlaps meet.
inline constexpr double kBoundaryGapTolerance = 1e-6;

// The outline of the smallest region round `point` that the drawing's curves enclose, in plan view:
//   - the curves are the outlines of the model-space entities that show (visible, on a layer that is on and
//     thawed): lines, arcs, circles, polylines, ellipses and splines (as chords), and the entities of block
//     references seen through their transform; texts and points play no part;
//   - curves are cut where they cross or touch; pieces that lead nowhere (a dangling end) play no part;
//   - the region is the face of that picture which holds the point; islands inside it are not part of the
//     answer (only the outer outline is).
// The answer runs counter-clockwise (lines, and arcs as bulges), its collinear lines and arcs of one circle
// merged, starting at its lowest vertex (the leftmost of those level with it within the gap tolerance). nullopt
// when no closed outline surrounds the point, or the point lies on a curve.
std::optional<PolyPath> traceBoundary(const db::Database& database, const ge::Point2d& point);

enum class BoundaryOutcome {
    Created,   // the polyline was added
    NotFound,  // no closed outline round the point
    Failed,    // the polyline could not be added (model space could not be opened for write)
};

// Traces the outline round `point` and appends it to model space as a closed lightweight polyline with the
// drawing's current layer, colour, line type and line-type scale.
BoundaryOutcome addBoundary(db::Database& database, const ge::Point2d& point, db::ObjectId* polyline = nullptr);

}  // namespace host::ed
