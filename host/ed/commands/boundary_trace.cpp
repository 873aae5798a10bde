// Boundary tracing: the drawing's curves are cut into a planar graph, a ray from the point finds the nearest edge,
// and the face to the left of that edge is walked by taking the leftmost turn at every vertex.
//
// Index of this file:
//   [SECTION] Curves: lines and arcs with parameters, tangents, pieces
//   [SECTION] The graph: cutting at crossings, merging ends, dropping dangling edges
//   [SECTION] Walking a face
//   [SECTION] The outline as a polyline
#include "host/ed/commands/boundary_trace.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>

#include "host/ed/pick_geometry.h"
#include "host/ge/angle.h"
#include "host/ge/intersect.h"

namespace host::ed {

namespace {

// Intersections are found to this distance; ends within kBoundaryGapTolerance are then merged.
const ge::Tolerance kCrossTolerance{1e-9, 1e-12};
// A ray that meets an edge at a direction within this (as a sine) of its own grazes the edge: that hit is
// passed over, the next one decides.
constexpr double kGrazingSine = 1e-9;
// Two directions whose angles differ by less than this leave a vertex the same way; their curvature decides.
constexpr double kSameDirection = 1e-9;

// ============================================================================================================
// [SECTION] Curves: lines and arcs with parameters, tangents, pieces
// ============================================================================================================

// A line from a to b, or an arc about `center` from angle a0 turning by `sweep` (negative: clockwise).
struct Curve {
    bool isArc = false;
    ge::Point2d a, b;
    ge::Point2d center;
    double radius = 0.0, a0 = 0.0, sweep = 0.0;

    ge::Point2d at(double t) const {
        if (!isArc) return a + (b - a) * t;
        return ge::polarPoint(center, a0 + sweep * t, radius);
    }
    ge::Point2d start() const { return at(0.0); }
    ge::Point2d end() const { return at(1.0); }
    double length() const { return isArc ? std::abs(sweep) * radius : a.distanceTo(b); }
    ge::Vector2d tangent(double t) const {
        if (!isArc) return (b - a).normal();
        const double angle = a0 + sweep * t;
        const ge::Vector2d ccw{-std::sin(angle), std::cos(angle)};
        return sweep > 0 ? ccw : -ccw;
    }
    double curvature() const { return isArc ? (sweep > 0 ? 1.0 : -1.0) / radius : 0.0; }
    Curve part(double t0, double t1) const {
        Curve c = *this;
        if (isArc) {
            c.a0 = a0 + sweep * t0;
            c.sweep = sweep * (t1 - t0);
        } else {
            c.a = at(t0);
            c.b = at(t1);
        }
        return c;
    }
    Curve reversed() const {
        Curve c = *this;
        if (isArc) {
            c.a0 = a0 + sweep;
            c.sweep = -sweep;
        } else {
            std::swap(c.a, c.b);
        }
        return c;
    }
    ge::LineSeg2d segment() const { return {a, b}; }
    ge::CircArc2d circArc() const {
        ge::CircArc2d c;
        c.center = center;
        c.radius = radius;
        c.startAngle = ge::normalizeAngle(a0);
        c.endAngle = ge::normalizeAngle(a0 + sweep);
        c.clockwise = sweep < 0;
        c.full = std::abs(sweep) >= ge::kTwoPi;
        if (c.full) c.endAngle = c.startAngle;
        return c;
    }
    // The parameter of a point on (or near) the curve.
    double paramOf(const ge::Point2d& p) const {
        if (!isArc) return segment().paramOf(p);
        const double angle = ge::angleFromTo(center, p);
        const double off = sweep > 0 ? ge::ccwSweep(a0, angle) : ge::ccwSweep(angle, a0);
        return off / std::abs(sweep);
    }
    // Signed area swept from the origin (Green's theorem: half the integral of x dy - y dx).
    double areaTerm() const {
        if (!isArc) return 0.5 * a.x * b.y - 0.5 * a.y * b.x;
        const double t1 = a0 + sweep;
        return 0.5 * (radius * radius * sweep + radius * (center.x * (std::sin(t1) - std::sin(a0)) -
                                                          center.y * (std::cos(t1) - std::cos(a0))));
    }
};

std::optional<Curve> curveOf(const db::OutlinePiece& piece) {
    Curve c;
    switch (piece.kind) {
    case db::OutlinePiece::Kind::Point: return std::nullopt;
    case db::OutlinePiece::Kind::Line:
        if (piece.line.length() <= kBoundaryGapTolerance) return std::nullopt;
        c.a = piece.line.start;
        c.b = piece.line.end;
        return c;
    case db::OutlinePiece::Kind::Arc: {
        const ge::CircArc2d& arc = piece.arc;
        const double sweep = arc.full ? ge::kTwoPi : arc.sweep();
        if (sweep * arc.radius <= kBoundaryGapTolerance) return std::nullopt;
        c.isArc = true;
        c.center = arc.center;
        c.radius = arc.radius;
        c.a0 = arc.startAngle;
        c.sweep = arc.clockwise ? -sweep : sweep;
        return c;
    }
    }
    return std::nullopt;
}

// Points where two curves cross or touch, and where an overlapping curve ends on the other.
std::vector<ge::Point2d> meetings(const Curve& p, const Curve& q) {
    std::vector<ge::Point2d> out;
    ge::Intersections2d x;
    if (!p.isArc && !q.isArc) {
        x = ge::intersectLines(p.segment(), q.segment(), ge::LineExtent::Segment, ge::LineExtent::Segment,
                               kCrossTolerance);
        if (x.kind == ge::IntersectKind::Overlap) {
            for (const ge::Point2d& e : {q.a, q.b})
                if (ge::isPointOnLine(p.segment(), e, ge::LineExtent::Segment, kCrossTolerance)) out.push_back(e);
            for (const ge::Point2d& e : {p.a, p.b})
                if (ge::isPointOnLine(q.segment(), e, ge::LineExtent::Segment, kCrossTolerance)) out.push_back(e);
            return out;
        }
    } else if (p.isArc != q.isArc) {
        const Curve& line = p.isArc ? q : p;
        const Curve& arc = p.isArc ? p : q;
        x = ge::intersectLineArc(line.segment(), arc.circArc(), ge::LineExtent::Segment, kCrossTolerance);
    } else {
        x = ge::intersectArcs(p.circArc(), q.circArc(), kCrossTolerance);
        if (x.kind == ge::IntersectKind::Overlap) {
            for (const ge::Point2d& e : {q.start(), q.end()})
                if (ge::isPointOnArc(p.circArc(), e, kCrossTolerance)) out.push_back(e);
            for (const ge::Point2d& e : {p.start(), p.end()})
                if (ge::isPointOnArc(q.circArc(), e, kCrossTolerance)) out.push_back(e);
            return out;
        }
    }
    for (int i = 0; i < x.count; ++i) out.push_back(x.points[std::size_t(i)]);
    return out;
}

struct Box {
    ge::Point2d lo, hi;
    bool overlaps(const Box& o, double margin) const {
        return lo.x <= o.hi.x + margin && o.lo.x <= hi.x + margin && lo.y <= o.hi.y + margin &&
               o.lo.y <= hi.y + margin;
    }
};

Box boxOf(const Curve& c) {
    if (!c.isArc) {
        return {{std::min(c.a.x, c.b.x), std::min(c.a.y, c.b.y)}, {std::max(c.a.x, c.b.x), std::max(c.a.y, c.b.y)}};
    }
    // The whole circle's box: enough to decide which pairs to test.
    return {{c.center.x - c.radius, c.center.y - c.radius}, {c.center.x + c.radius, c.center.y + c.radius}};
}

// ============================================================================================================
// [SECTION] The graph: cutting at crossings, merging ends, dropping dangling edges
// ============================================================================================================

struct Edge {
    Curve curve;
    int v0 = 0, v1 = 0;
    bool alive = true;
};

struct Graph {
    std::vector<ge::Point2d> vertices;
    std::vector<Edge> edges;
    std::vector<std::vector<int>> outgoing;  // half-edge ids per vertex: 2 * edge (forward), 2 * edge + 1 (back)

    Curve halfCurve(int h) const {
        const Curve& c = edges[std::size_t(h / 2)].curve;
        return h % 2 ? c.reversed() : c;
    }
    int from(int h) const { const Edge& e = edges[std::size_t(h / 2)]; return h % 2 ? e.v1 : e.v0; }
    int to(int h) const { const Edge& e = edges[std::size_t(h / 2)]; return h % 2 ? e.v0 : e.v1; }
};

// Finds or adds the vertex at p: points within the gap tolerance are one vertex (a grid of cells of that size,
// searched with their neighbours).
class VertexIndex {
public:
    explicit VertexIndex(std::vector<ge::Point2d>& vertices) : vertices_(vertices) {}
    int at(const ge::Point2d& p) {
        const auto cx = std::int64_t(std::floor(p.x / kBoundaryGapTolerance));
        const auto cy = std::int64_t(std::floor(p.y / kBoundaryGapTolerance));
        for (std::int64_t dx = -1; dx <= 1; ++dx) {
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                auto it = cells_.find({cx + dx, cy + dy});
                if (it == cells_.end()) continue;
                for (int v : it->second)
                    if (vertices_[std::size_t(v)].distanceTo(p) <= kBoundaryGapTolerance) return v;
            }
        }
        vertices_.push_back(p);
        const int v = int(vertices_.size()) - 1;
        cells_[{cx, cy}].push_back(v);
        return v;
    }

private:
    std::vector<ge::Point2d>& vertices_;
    std::map<std::pair<std::int64_t, std::int64_t>, std::vector<int>> cells_;
};

Graph buildGraph(const std::vector<Curve>& curves) {
    // Cut parameters per curve: a whole circle is always cut in two, so that no edge returns to where it starts.
    std::vector<std::vector<double>> cuts(curves.size());
    std::vector<Box> boxes;
    for (const Curve& c : curves) boxes.push_back(boxOf(c));
    for (std::size_t i = 0; i < curves.size(); ++i) {
        if (curves[i].isArc && std::abs(curves[i].sweep) >= ge::kTwoPi) cuts[i].push_back(0.5);
        for (std::size_t j = i + 1; j < curves.size(); ++j) {
            if (!boxes[i].overlaps(boxes[j], kBoundaryGapTolerance)) continue;
            for (const ge::Point2d& p : meetings(curves[i], curves[j])) {
                cuts[i].push_back(curves[i].paramOf(p));
                cuts[j].push_back(curves[j].paramOf(p));
            }
        }
    }
    Graph g;
    VertexIndex index(g.vertices);
    for (std::size_t i = 0; i < curves.size(); ++i) {
        std::vector<double>& t = cuts[i];
        t.push_back(0.0);
        t.push_back(1.0);
        for (double& v : t) v = std::clamp(v, 0.0, 1.0);
        std::sort(t.begin(), t.end());
        for (std::size_t k = 0; k + 1 < t.size(); ++k) {
            const Curve piece = curves[i].part(t[k], t[k + 1]);
            if (piece.length() <= kBoundaryGapTolerance) continue;
            Edge e{piece, index.at(piece.start()), index.at(piece.end())};
            if (e.v0 == e.v1) continue;
            g.edges.push_back(e);
        }
    }
    // The same piece drawn twice (two lines on top of each other) is one edge.
    std::map<std::pair<int, int>, std::vector<std::size_t>> byEnds;
    for (std::size_t i = 0; i < g.edges.size(); ++i) {
        Edge& e = g.edges[i];
        auto& same = byEnds[{std::min(e.v0, e.v1), std::max(e.v0, e.v1)}];
        const ge::Point2d mid = e.curve.at(0.5);
        for (std::size_t k : same) {
            if (g.edges[k].curve.at(0.5).distanceTo(mid) <= kBoundaryGapTolerance) e.alive = false;
        }
        if (e.alive) same.push_back(i);
    }
    // Dangling edges lead nowhere: drop them until every vertex left has two edges or more.
    std::vector<int> degree(g.vertices.size(), 0);
    for (const Edge& e : g.edges) {
        if (!e.alive) continue;
        ++degree[std::size_t(e.v0)];
        ++degree[std::size_t(e.v1)];
    }
    for (bool dropped = true; dropped;) {
        dropped = false;
        for (Edge& e : g.edges) {
            if (!e.alive || (degree[std::size_t(e.v0)] > 1 && degree[std::size_t(e.v1)] > 1)) continue;
            e.alive = false;
            --degree[std::size_t(e.v0)];
            --degree[std::size_t(e.v1)];
            dropped = true;
        }
    }
    g.outgoing.assign(g.vertices.size(), {});
    for (std::size_t i = 0; i < g.edges.size(); ++i) {
        if (!g.edges[i].alive) continue;
        g.outgoing[std::size_t(g.edges[i].v0)].push_back(int(2 * i));
        g.outgoing[std::size_t(g.edges[i].v1)].push_back(int(2 * i + 1));
    }
    return g;
}

// ============================================================================================================
// [SECTION] Walking a face
// ============================================================================================================

// The half-edge that leaves the end of `h` taking the leftmost turn: the one whose direction lies the smallest
// clockwise turn from the way back. Going back along `h` itself comes last (a dead end), and of two that leave
// the same way the one that bends more to the left comes first.
int leftmostTurn(const Graph& g, int h) {
    const Curve in = g.halfCurve(h);
    const double back = (-in.tangent(1.0)).angle();
    int best = -1;
    double bestTurn = 0.0, bestBend = 0.0;
    for (int out : g.outgoing[std::size_t(g.to(h))]) {
        const Curve c = g.halfCurve(out);
        double turn = ge::ccwSweep(c.tangent(0.0).angle(), back);
        if (out == (h ^ 1) || turn < kSameDirection || ge::kTwoPi - turn < kSameDirection) turn = ge::kTwoPi;
        const double bend = c.curvature();
        const bool better = best < 0 || turn < bestTurn - kSameDirection ||
                            (std::abs(turn - bestTurn) <= kSameDirection && bend > bestBend);
        if (better) {
            best = out;
            bestTurn = turn;
            bestBend = bend;
        }
    }
    return best;
}

// The face to the left of half-edge `start`, as the half-edges round it; empty when the walk does not come back
// within one visit of every half-edge (which a planar graph never needs).
std::vector<int> walkFace(const Graph& g, int start) {
    std::vector<int> loop;
    const std::size_t bound = 2 * g.edges.size() + 1;
    for (int h = start; loop.size() <= bound;) {
        loop.push_back(h);
        h = leftmostTurn(g, h);
        if (h < 0) return {};
        if (h == start) return loop;
    }
    return {};
}

double loopArea(const Graph& g, const std::vector<int>& loop) {
    double area = 0.0;
    for (int h : loop) area += g.halfCurve(h).areaTerm();
    return area;
}

// ============================================================================================================
// [SECTION] The outline as a polyline
// ============================================================================================================

bool mergeable(const Curve& p, const Curve& q) {
    if (p.isArc != q.isArc) return false;
    if (!p.isArc) {
        const ge::Vector2d u = (p.b - p.a).normal(), v = (q.b - q.a).normal();
        return std::abs(u.cross(v)) <= kSameDirection && u.dot(v) > 0;
    }
    return (p.sweep > 0) == (q.sweep > 0) && p.center.distanceTo(q.center) <= kBoundaryGapTolerance &&
           std::abs(p.radius - q.radius) <= kBoundaryGapTolerance &&
           std::abs(p.sweep + q.sweep) < ge::kTwoPi - kSameDirection;
}

Curve merged(const Curve& p, const Curve& q) {
    Curve c = p;
    if (p.isArc) c.sweep = p.sweep + q.sweep;
    else c.b = q.b;
    return c;
}

PolyPath outlineOf(const Graph& g, const std::vector<int>& loop) {
    std::vector<Curve> curves;
    for (int h : loop) curves.push_back(g.halfCurve(h));
    for (bool changed = true; changed && curves.size() > 2;) {
        changed = false;
        for (std::size_t i = 0; i < curves.size() && curves.size() > 2; ++i) {
            const std::size_t j = (i + 1) % curves.size();
            if (!mergeable(curves[i], curves[j])) continue;
            curves[i] = merged(curves[i], curves[j]);
            curves.erase(curves.begin() + std::ptrdiff_t(j));
            changed = true;
        }
    }
    std::size_t first = 0;
    for (std::size_t i = 1; i < curves.size(); ++i) {
        const ge::Point2d p = curves[i].start(), best = curves[first].start();
        const bool lower = p.y < best.y - kBoundaryGapTolerance;
        const bool level = std::abs(p.y - best.y) <= kBoundaryGapTolerance;
        if (lower || (level && p.x < best.x)) first = i;
    }
    PolyPath path;
    path.closed = true;
    for (std::size_t k = 0; k < curves.size(); ++k) {
        const Curve& c = curves[(first + k) % curves.size()];
        path.vertices.push_back({c.start(), c.isArc ? std::tan(c.sweep / 4.0) : 0.0});
    }
    return path;
}

}  // namespace

std::optional<PolyPath> traceBoundary(const db::Database& database, const ge::Point2d& point) {
    std::vector<Curve> curves;
    const auto* ms = dynamic_cast<const db::BlockTableRecord*>(database.peek(database.modelSpaceId()));
    if (!ms) return std::nullopt;
    double right = point.x;
    for (db::ObjectId id : ms->entityIds()) {
        const auto* e = dynamic_cast<const db::Entity*>(database.peek(id));
        if (!e || !detail::isSelectable(*e)) continue;
        for (const detail::ShapePiece& piece : detail::shapeOf(*e).pieces) {
            if (auto c = curveOf(piece.piece)) {
                curves.push_back(*c);
                right = std::max(right, boxOf(*c).hi.x);
            }
        }
    }
    const Graph g = buildGraph(curves);

    // Where a ray from the point to the right meets the edges, nearest first.
    struct Hit {
        double distance;
        int halfEdge;
    };
    std::vector<Hit> hits;
    Curve ray;
    ray.a = point;
    ray.b = {right + 1.0, point.y};
    for (std::size_t i = 0; i < g.edges.size(); ++i) {
        if (!g.edges[i].alive) continue;
        const Curve& c = g.edges[i].curve;
        for (const ge::Point2d& q : meetings(ray, c)) {
            const double distance = q.x - point.x;
            if (distance <= kBoundaryGapTolerance) return std::nullopt;  // the point lies on a curve
            const ge::Vector2d t = c.tangent(std::clamp(c.paramOf(q), 0.0, 1.0));
            if (std::abs(t.y) <= kGrazingSine) continue;
            // The point lies to the left of the edge when the edge runs upwards where the ray meets it.
            hits.push_back({distance, int(2 * i + (t.y > 0 ? 0 : 1))});
        }
    }
    std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.distance < b.distance; });

    // The nearest edge bounds the face holding the point, unless it belongs to an island: then the walk goes
    // round the island clockwise, and the island's edges are passed over for the next hit.
    std::vector<bool> seen(g.edges.size(), false);
    for (const Hit& hit : hits) {
        if (seen[std::size_t(hit.halfEdge / 2)]) continue;
        const std::vector<int> loop = walkFace(g, hit.halfEdge);
        if (loop.empty()) continue;
        if (loopArea(g, loop) > 0.0) return outlineOf(g, loop);
        for (int h : loop) seen[std::size_t(h / 2)] = true;
    }
    return std::nullopt;
}

BoundaryOutcome addBoundary(db::Database& database, const ge::Point2d& point, db::ObjectId* polyline) {
    const std::optional<PolyPath> path = traceBoundary(database, point);
    if (!path) return BoundaryOutcome::NotFound;
    auto pline = std::make_unique<db::LwPolyline>();
    if (writePolyPath(*pline, *path) != db::Status::Ok) return BoundaryOutcome::Failed;
    db::ObjectPtr<db::BlockTableRecord> ms(database.modelSpaceId(), db::OpenMode::Write);
    if (!ms) return BoundaryOutcome::Failed;
    db::ObjectId id;
    if (ms->appendEntity(std::move(pline), &id) != db::Status::Ok) return BoundaryOutcome::Failed;
    if (polyline) *polyline = id;
    return BoundaryOutcome::Created;
}

}  // namespace host::ed
