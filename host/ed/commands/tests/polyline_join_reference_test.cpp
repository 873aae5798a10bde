// Joining polylines against a plain reference: the straightforward search of every member for every chain end,
// kept here as the rule the indexed search must follow, compared on seeded random drawings full of branches,
// near misses, reversed pieces, arcs, loops, repeated ids and pieces of another plane.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "commands_test_support.h"
#include "host/ed/commands/poly_path.h"
#include "host/ed/commands/polyline_edit.h"

namespace host::ed {
namespace {

using db::ObjectId;
using db::Status;
using testing::Drawing;

// ---- the reference: every member is tried, in input order, each time a chain end moves

struct RefMember {
    ObjectId id;
    PolyPath path;
    bool used = false;
};

// What a join should leave: the polylines listed, the paths they then have, and what is erased.
struct RefOutcome {
    std::vector<ObjectId> polylines;
    std::vector<std::pair<ObjectId, PolyPath>> written;  // bases that were rewritten
    std::vector<ObjectId> erased;
    int joined = 0, closed = 0;
};

bool refSamePlane(const PolyPath& a, const PolyPath& b) {
    const double tol = ge::globalTolerance().equalPoint;
    return (a.normal - b.normal).length() <= ge::globalTolerance().equalVector * 1e3 &&
           std::abs(a.elevation - b.elevation) <= tol;
}

void refAppend(std::vector<PolyVertex>& chain, const std::vector<PolyVertex>& next) {
    if (chain.back().point.isEqualTo(next.front().point)) {
        const ge::Point2d keep = chain.back().point;
        chain.back() = next.front();
        chain.back().point = keep;
    } else {
        chain.back().bulge = 0.0;
        chain.push_back(next.front());
    }
    chain.insert(chain.end(), next.begin() + 1, next.end());
}

void refPrepend(std::vector<PolyVertex>& chain, std::vector<PolyVertex> prev) {
    if (prev.back().point.isEqualTo(chain.front().point)) {
        prev.pop_back();
    } else {
        prev.back().bulge = 0.0;
        prev.back().startWidth = prev.back().endWidth = 0.0;
    }
    chain.insert(chain.begin(), prev.begin(), prev.end());
}

RefOutcome referenceJoin(const db::Database& db, const std::vector<ObjectId>& polylines, double fuzz) {
    RefOutcome out;
    std::vector<RefMember> members;
    for (ObjectId id : polylines) {
        if (id.isNull()) continue;
        const auto* pl = dynamic_cast<const db::LwPolyline*>(db.peek(id));
        if (!pl || pl->isErased() || pl->isClosed() || pl->numVerts() < 2) continue;
        if (std::any_of(members.begin(), members.end(), [&](const RefMember& m) { return m.id == id; })) continue;
        members.push_back({id, *polyPathOf(*pl)});
    }
    const double reach = std::max(fuzz, ge::globalTolerance().equalPoint);
    const auto meets = [&](const ge::Point2d& a, const ge::Point2d& b) { return a.distanceTo(b) <= reach; };
    for (std::size_t b = 0; b < members.size(); ++b) {
        if (members[b].used) continue;
        RefMember& base = members[b];
        base.used = true;
        std::vector<PolyVertex> chain = base.path.vertices;
        std::vector<ObjectId> joined;
        for (int side = 0; side < 2; ++side) {
            for (bool grew = true; grew;) {
                grew = false;
                for (RefMember& m : members) {
                    if (m.used || !refSamePlane(base.path, m.path)) continue;
                    const ge::Point2d end = side == 0 ? chain.back().point : chain.front().point;
                    const ge::Point2d mStart = m.path.vertices.front().point, mEnd = m.path.vertices.back().point;
                    const bool forward = side == 0 ? meets(end, mStart) : meets(end, mEnd);
                    const bool backward = side == 0 ? meets(end, mEnd) : meets(end, mStart);
                    if (!forward && !backward) continue;
                    const PolyPath piece = forward ? m.path : m.path.reversed();
                    if (side == 0) refAppend(chain, piece.vertices);
                    else refPrepend(chain, piece.vertices);
                    m.used = grew = true;
                    joined.push_back(m.id);
                    break;
                }
            }
        }
        PolyPath path = base.path;
        path.vertices = chain;
        if (chain.size() > 2 && meets(chain.front().point, chain.back().point)) {
            if (chain.front().point.isEqualTo(chain.back().point)) path.vertices.pop_back();
            else path.vertices.back().bulge = 0.0;
            path.closed = true;
            ++out.closed;
        }
        if (!joined.empty() || path.closed) {
            out.written.push_back({base.id, path});
            out.erased.insert(out.erased.end(), joined.begin(), joined.end());
            out.joined += int(joined.size());
        }
        out.polylines.push_back(base.id);
    }
    return out;
}

// ---- random drawings

// What a drawing is made of. Ends sit on a lattice, some moved off it by up to `jitter`, so that with a fuzz of
// the same size some near ends meet and some just miss.
struct Recipe {
    unsigned seed;
    int pieces;
    int lattice;    // ends on a lattice of lattice x lattice points one unit apart
    double jitter;  // how far an end may be moved off its lattice point
    double fuzz;
};

// The vertices a path was written with, as a polyline reads them back.
PolyPath written(const PolyPath& path) {
    db::LwPolyline p;
    EXPECT_EQ(writePolyPath(p, path), Status::Ok);
    return *polyPathOf(p);
}

std::string describe(const PolyVertex& v) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "(%.17g,%.17g b%.17g w%g/%g)", v.point.x, v.point.y, v.bulge, v.startWidth,
                  v.endWidth);
    return buf;
}

// The two paths alike to the last bit; on failure, the first difference.
::testing::AssertionResult samePath(const PolyPath& got, const PolyPath& want) {
    if (got.closed != want.closed || got.elevation != want.elevation)
        return ::testing::AssertionFailure() << "closed " << got.closed << " elevation " << got.elevation
                                             << ", want closed " << want.closed << " elevation " << want.elevation;
    for (std::size_t i = 0; i < std::max(got.vertices.size(), want.vertices.size()); ++i) {
        if (i >= got.vertices.size() || i >= want.vertices.size())
            return ::testing::AssertionFailure() << got.vertices.size() << " vertices, want " << want.vertices.size();
        const PolyVertex &u = got.vertices[i], &v = want.vertices[i];
        if (u.point.x != v.point.x || u.point.y != v.point.y || u.bulge != v.bulge ||
            u.startWidth != v.startWidth || u.endWidth != v.endWidth)
            return ::testing::AssertionFailure() << "vertex " << i << ": " << describe(u) << ", want " << describe(v);
    }
    return ::testing::AssertionSuccess();
}

// A drawing of random polylines; answers the ids in input order, with some repeated and some that are not open
// polylines at all.
std::vector<ObjectId> drawRandom(Drawing& d, const Recipe& r) {
    std::mt19937 rng(r.seed);
    std::uniform_int_distribution<int> cell(0, r.lattice - 1), percent(0, 99), step(-1, 1);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    const double bulges[] = {0.0, 0.0, 0.0, 0.5, -1.0, 1.0, -0.25};
    const auto jittered = [&](int i, int j) {
        ge::Point2d p(i, j);
        if (percent(rng) < 30) p = p + ge::Vector2d(unit(rng), unit(rng)) * (r.jitter / std::sqrt(2.0));
        return p;
    };
    std::vector<ObjectId> ids;
    for (int k = 0; k < r.pieces; ++k) {
        const int i = cell(rng), j = cell(rng);
        const int i2 = std::clamp(i + step(rng), 0, r.lattice - 1), j2 = std::clamp(j + step(rng), 0, r.lattice - 1);
        auto p = std::make_unique<db::LwPolyline>();
        p->addVertexAt(0, jittered(i, j), bulges[percent(rng) % 7]);
        if (percent(rng) < 25) p->addVertexAt(1, {i + 0.5, j + 0.25}, bulges[percent(rng) % 7], 0.1, 0.2);
        p->addVertexAt(p->numVerts(), jittered(i2, j2));
        if (percent(rng) < 3) p->setClosed(true);
        if (percent(rng) < 4) p->setElevation(1.0);
        const ObjectId id = d.add(std::move(p));
        ids.push_back(id);
        if (percent(rng) < 2) ids.push_back(ids[std::uniform_int_distribution<std::size_t>(0, ids.size() - 1)(rng)]);
        if (percent(rng) < 1) ids.push_back(d.line({double(i), double(j)}, {double(i2), double(j2)}));
    }
    return ids;
}

TEST(JoinPolylinesReference, RandomDrawingsJoinAsTheFullSearchDoes) {
    const Recipe recipes[] = {
        {1, 3000, 20, 0.0, 0.0},     // dense: many pieces at every point, joined only where ends coincide
        {2, 3000, 20, 0.2, 0.1},     // near ends: some within the fuzz, some just outside
        {3, 2000, 60, 0.3, 0.3},     // sparse: long chains, gaps bridged
        {4, 2000, 8, 0.05, 0.5},     // a fuzz half the lattice: ends meet across lattice points
    };
    for (const Recipe& r : recipes) {
        SCOPED_TRACE("seed " + std::to_string(r.seed));
        Drawing d;
        const std::vector<ObjectId> ids = drawRandom(d, r);
        const RefOutcome expected = referenceJoin(d.db, ids, r.fuzz);
        const std::size_t live = d.entities().size();
        JoinResult got;
        ASSERT_EQ(joinPolylines(ids, r.fuzz, &got), Status::Ok);
        EXPECT_EQ(got.polylines, expected.polylines);
        EXPECT_EQ(got.joined, expected.joined);
        EXPECT_EQ(got.closed, expected.closed);
        EXPECT_GT(expected.joined, r.pieces / 10);  // the drawing does exercise the joining
        for (const auto& [id, path] : expected.written) {
            const auto* pl = d.get<db::LwPolyline>(id);
            ASSERT_NE(pl, nullptr);
            const PolyPath now = *polyPathOf(*pl);
            const PolyPath want = written(path);
            EXPECT_TRUE(samePath(now, want));
        }
        for (ObjectId id : expected.erased) EXPECT_TRUE(id.isErased());
        EXPECT_EQ(d.entities().size(), live - expected.erased.size());
    }
}

}  // namespace
}  // namespace host::ed
