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

// A segment of the other entity as the tree is walked with it: the unit normal of its line, and how far a box
// must stand off that line to be cleared. A node whose box lies wholly on one side of the line, farther than the
// margin, holds no piece the segment can meet; the leaves still test each piece's box as Entity::intersectWith
// does.
struct SegmentProbe {
    bool usable = false;
    ge::Point2d a;
    double nx = 0.0, ny = 0.0, margin = 0.0;

    bool misses(const PieceBox& box) const {
        if (!usable || box.unbounded) return false;
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
};

SegmentProbe probeOf(const PlanPiece& theirs, const PieceBox& all, double tol) {
    SegmentProbe p;
    if (theirs.kind != PlanPiece::Kind::Line || theirs.extent != ge::LineExtent::Segment || all.unbounded) return p;
    const ge::Point2d a = theirs.line.start, b = theirs.line.end;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (!(length > 0.0) || !std::isfinite(length)) return p;
    // Far above what rounding can move a point the two pieces share: the pruning never drops a meeting.
    const double scale = std::max({std::abs(all.minX), std::abs(all.maxX), std::abs(all.minY), std::abs(all.maxY),
                                   std::abs(a.x), std::abs(a.y), std::abs(b.x), std::abs(b.y)});
    p.usable = true;
    p.a = a;
    p.nx = -dy / length;
    p.ny = dx / length;
    p.margin = 4.0 * tol + 1e-12 * (1.0 + scale);
    return p;
}

// The disc a walk keeps to: nodes whose box lies wholly farther than `radius` from the centre are not walked.
struct Reach {
    double x = 0.0, y = 0.0, radius = std::numeric_limits<double>::infinity();

    bool misses(const PieceBox& box) const {
        if (box.unbounded || std::isinf(radius)) return false;
        const double dx = std::max({box.minX - x, 0.0, x - box.maxX});
        const double dy = std::max({box.minY - y, 0.0, y - box.maxY});
        return dx * dx + dy * dy > radius * radius;
    }
};

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
                 const SegmentProbe& probe, const Reach& reach, std::vector<detail::PieceHit>& hits) const {
        const Node& n = nodes[static_cast<std::size_t>(node)];
        if (!n.box.overlaps(theirBox) || probe.misses(n.box) || reach.misses(n.box)) return;
        if (n.left < 0) {
            for (std::size_t i = n.first; i < n.last; ++i)
                if (boxes[i].overlaps(theirBox)) detail::meetPieces(pieces[i], i, theirs, j, tol, hits);
            return;
        }
        collect(n.left, theirs, j, theirBox, probe, reach, hits);
        collect(n.right, theirs, j, theirBox, probe, reach, hits);
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
    for (std::size_t j = 0; j < theirs.size(); ++j) {
        const SegmentProbe probe = probeOf(theirs[j], t.nodes[0].box, t.tol.equalPoint);
        t.collect(0, theirs[j], j, detail::pieceBox(theirs[j], t.tol.equalPoint), probe, Reach{}, hits);
    }
    return detail::orderedHits(t.pieces, hits, t.tol);
}

std::vector<ge::Point3d> IntersectIndex::intersectWithSegment(const ge::Point3d& start, const ge::Point3d& end,
                                                              double reach) const {
    const Tree& t = *tree_;
    if (t.pieces.empty()) return {};
    // The piece a Line from start to end gives (see planPieces).
    const PlanPiece theirs = PlanPiece::segment(start, end);
    std::vector<detail::PieceHit> hits;
    const SegmentProbe probe = probeOf(theirs, t.nodes[0].box, t.tol.equalPoint);
    // Widened by the tolerance: a point answered lies within it of the pieces it was found on.
    const Reach disc{start.x, start.y, reach + t.tol.equalPoint};
    t.collect(0, theirs, 0, detail::pieceBox(theirs, t.tol.equalPoint), probe, disc, hits);
    if (hits.empty()) return {};
    return detail::orderedHits(t.pieces, hits, t.tol);
}

}  // namespace host::db
