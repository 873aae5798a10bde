// Where entities lie in plan view, for picks, selection windows, fences and object snaps: each entity's shape in
// world coordinates (a block reference through its block), distances from a point, and the window, crossing and
// fence tests. Used inside the editor only.
#pragma once

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "host/db/database.h"
#include "host/db/outline.h"
#include "host/ed/filter.h"
#include "host/ge/matrix.h"

namespace host::ed::detail {

// Block references are followed this deep (a reference nested deeper shows nothing), and one shape holds at most
// this many pieces (a reference to an array of arrays stops there).
inline constexpr int kMaxShapeDepth = 16;
inline constexpr std::size_t kMaxShapePieces = 200'000;

// One entity met on the way into a shape: the top-level entity itself, or an entity of a block (or an attribute)
// shown through references.
struct ShapePart {
    db::ObjectId entity;
    std::vector<db::ObjectId> containers;  // the references around it, innermost first; empty at the top level
    ge::Matrix3d toWorld;                  // the entity's own coordinates to world
};

struct ShapePiece {
    db::OutlinePiece piece;  // in world plan view
    std::size_t part = 0;    // index into Shape::parts
};

struct Shape {
    std::vector<ShapePart> parts;
    std::vector<ShapePiece> pieces;
};

// The shape of a top-level entity as it shows: its outline, or for a block reference the outlines of its block's
// entities (through the reference's transform, array cells included) and of its attributes. Entities inside a
// block that do not show (invisible, on a layer that is off or frozen) are left out. Arcs seen through a transform
// that is not a similarity in plan view become chords.
Shape shapeOf(const db::Entity& entity);

// True when a top-level entity can be picked or caught by a window: not erased, visible, in model space, and on
// a layer that is on and thawed.
bool isSelectable(const db::Entity& entity);

// Plan-view distance from `p` to a piece, and the nearest point of the piece.
double distanceTo(const db::OutlinePiece& piece, const ge::Point2d& p);
ge::Point2d nearestPoint(const db::OutlinePiece& piece, const ge::Point2d& p);

// An axis-parallel box from lo to hi (lo <= hi), edges included.
struct Box {
    ge::Point2d lo, hi;
    static Box of(const ge::Point2d& a, const ge::Point2d& b);
    bool contains(const ge::Point2d& p) const;
    bool isPoint() const { return lo == hi; }
};
// Window: every piece lies inside the box. A shape without pieces is never inside.
bool insideBox(const Shape& shape, const Box& box);
// Crossing: a piece lies inside the box or meets one of its edges. A box of no size catches what passes through
// its point within the global tolerance.
bool touchesBox(const Shape& shape, const Box& box);
// Where a fence (a polyline through `fence`) first meets the shape: the fence's length from its start to that
// point, or nullopt when it does not meet it. Touching counts; an overlap counts where it begins.
std::optional<double> fenceDistance(const Shape& shape, const std::vector<ge::Point2d>& fence);

// A pick: the top-level entity hit and the innermost part of it nearest to the point.
struct Pick {
    db::ObjectId entity;
    ShapePart part;
    double distance = 0.0;
};
// The selectable model-space entity of the drawing nearest to `p` (plan view) within `aperture`, the last drawn
// among those equally near; nullopt when none is that near. Only entities passing `filter` count.
std::optional<Pick> pickNearest(const db::Database& database, const ge::Point2d& p, double aperture,
                                const SelectionFilter* filter = nullptr);
// How near a pick must come: PICKBOX pixels at the drawing's view scale.
double pickAperture(const db::Database& database);

}  // namespace host::ed::detail
