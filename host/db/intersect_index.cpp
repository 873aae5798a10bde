// IntersectIndex: a box tree over the plan pieces of one entity, walked with the pieces of each entity it meets.
#include "host/db/intersect_index.h"

#include <algorithm>
#include <cmath>

#include "host/db/plan_meet.h"

namespace host::db {

namespace {

using detail::PieceBox;
using detail::PlanPiece;

// Pieces a leaf holds at most.
constexpr std::size_t kLeafPieces = 4;

// Whether the segment a-b stays clear of the box by more than `margin`, the whole box on one side of its line. A
// node cleared this way holds no piece the segment can meet; the leaves still test each piece's box as
// Entity::intersectWith does.
bool segmentMissesBox(const ge::Point2d& a, const ge::Point2d& b, const PieceBox& box, double margin) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (!(length > 0.0) || !std::isfinite(length)) return false;
    const double nx = -dy / length, ny = dx / length;
    const double corners[4][2] = {
        {box.minX, box.minY}, {box.maxX, box.minY}, {box.maxX, box.maxY}, {box.minX, box.maxY}};
    int above = 0, below = 0;
    for (const auto& c : corners) {
        const double d = nx * (c[0] - a.x) + ny * (c[1] - a.y);
        if (d > margin) ++above;
        else if (d < -margin) ++below;
    }
    return above == 4 || below == 4;
}

}  // namespace

struct IntersectIndex::Tree {
    // A node: the pieces first .. last - 1, consecutive along the outline, and the box that holds their boxes; a
    // leaf has no children.
    struct Node {
        PieceBox box;
        std::size_t first = 0, last = 0;
        int left = -1, right = -1;
    };

    ge::Tolerance tol;
    std::vector<PlanPiece> pieces;
    std::vector<PieceBox> boxes;
    std::vector<Node> nodes;  // the root first

    int build(std::size_t first, std::size_t last) {
        const int at = static_cast<int>(nodes.size());
        nodes.push_back({boxes[first], first, last, -1, -1});
        for (std::size_t i = first + 1; i < last; ++i) nodes[static_cast<std::size_t>(at)].box.add(boxes[i]);
        if (last - first > kLeafPieces) {
            const std::size_t middle = first + (last - first) / 2;
            const int left = build(first, middle);
            const int right = build(middle, last);
            nodes[static_cast<std::size_t>(at)].left = left;
            nodes[static_cast<std::size_t>(at)].right = right;
        }
        return at;
    }

    // Adds the points where piece j of the other entity meets the pieces under `node`.
    void collect(int node, const PlanPiece& theirs, std::size_t j, const PieceBox& theirBox,
                 std::vector<detail::PieceHit>& hits) const {
        const Node& n = nodes[static_cast<std::size_t>(node)];
        if (!n.box.overlaps(theirBox)) return;
        if (!n.box.unbounded && theirs.kind == PlanPiece::Kind::Line &&
            theirs.extent == ge::LineExtent::Segment) {
            // Far above what rounding can move a point the two pieces share: the pruning never drops a meeting.
            const double scale = std::max({std::abs(n.box.minX), std::abs(n.box.maxX), std::abs(n.box.minY),
                                           std::abs(n.box.maxY), std::abs(theirs.line.start.x),
                                           std::abs(theirs.line.start.y), std::abs(theirs.line.end.x),
                                           std::abs(theirs.line.end.y)});
            const double margin = 4.0 * tol.equalPoint + 1e-12 * (1.0 + scale);
            if (segmentMissesBox(theirs.line.start, theirs.line.end, n.box, margin)) return;
        }
        if (n.left < 0) {
            for (std::size_t i = n.first; i < n.last; ++i)
                if (boxes[i].overlaps(theirBox)) detail::meetPieces(pieces[i], i, theirs, j, tol, hits);
            return;
        }
        collect(n.left, theirs, j, theirBox, hits);
        collect(n.right, theirs, j, theirBox, hits);
    }
};

IntersectIndex::IntersectIndex(const Entity& entity, bool extended) : tree_(std::make_unique<Tree>()) {
    Tree& t = *tree_;
    t.tol = ge::globalTolerance();
    t.pieces = detail::planPieces(entity, extended);
    t.boxes.reserve(t.pieces.size());
    for (const PlanPiece& p : t.pieces) t.boxes.push_back(detail::pieceBox(p, t.tol.equalPoint));
    if (!t.pieces.empty()) {
        t.nodes.reserve(2 * t.pieces.size() / kLeafPieces + 2);
        t.build(0, t.pieces.size());
    }
}

IntersectIndex::~IntersectIndex() = default;

std::vector<ge::Point3d> IntersectIndex::intersectWith(const Entity& other, bool extendOther) const {
    const Tree& t = *tree_;
    const std::vector<PlanPiece> theirs = detail::planPieces(other, extendOther);
    if (t.pieces.empty() || theirs.empty()) return {};
    std::vector<detail::PieceHit> hits;
    for (std::size_t j = 0; j < theirs.size(); ++j)
        t.collect(0, theirs[j], j, detail::pieceBox(theirs[j], t.tol.equalPoint), hits);
    return detail::orderedHits(t.pieces, hits, t.tol);
}

}  // namespace host::db
