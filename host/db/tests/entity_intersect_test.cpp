// Entity::intersectWith: every pair of the modelled curve kinds, the order along this entity, tangent and
// overlap answers, point entities within the tolerance, extension modes, and entities in and out of a database.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "db_test_support.h"
#include "host/db/database.h"
#include "host/db/intersect_index.h"
#include "host/ge/angle.h"
#include "host/ge/tests/test_support.h"

namespace host::db {
namespace {

using ge::kHalfPi;
using ge::kPi;
using ge::testing::PointNear;
using Points = std::vector<ge::Point3d>;

::testing::AssertionResult SamePoints(const Points& actual, const Points& expected, double eps = 1e-9) {
    if (actual.size() != expected.size()) {
        auto f = ::testing::AssertionFailure() << actual.size() << " points, expected " << expected.size() << ":";
        for (const ge::Point3d& p : actual) f << " (" << p.x << ", " << p.y << ")";
        return f;
    }
    for (std::size_t i = 0; i < actual.size(); ++i)
        if (auto r = PointNear(actual[i], expected[i], eps); !r) return r << " (point " << i << ")";
    return ::testing::AssertionSuccess();
}

std::unique_ptr<LwPolyline> pline(std::initializer_list<std::pair<ge::Point2d, double>> verts, bool closed) {
    auto p = std::make_unique<LwPolyline>();
    for (const auto& [pt, bulge] : verts) p->addVertexAt(p->numVerts(), pt, bulge);
    p->setClosed(closed);
    return p;
}

std::unique_ptr<Entity> line(ge::Point3d a, ge::Point3d b) { return std::make_unique<Line>(a, b); }
std::unique_ptr<Entity> circle(ge::Point3d c, double r) { return std::make_unique<Circle>(c, r); }
std::unique_ptr<Entity> arc(ge::Point3d c, double r, double s, double e) { return std::make_unique<Arc>(c, r, s, e); }
std::unique_ptr<Entity> point(ge::Point3d p) { return std::make_unique<PointEntity>(p); }

// A 4 x 2 rectangle from (0,0) with its right side bulging out as a half circle of radius 1 through (5,1), drawn
// counter-clockwise from the origin.
std::unique_ptr<Entity> slot() { return pline({{{0, 0}, 0}, {{4, 0}, 1.0}, {{4, 2}, 0}, {{0, 2}, 0}}, true); }

TEST(EntityIntersect, TableOfPairs) {
    const double h = std::sqrt(0.75);
    struct Case {
        const char* name;
        std::function<std::unique_ptr<Entity>()> a, b;
        Points expected;
    };
    const Case cases[] = {
        {"line x line, crossing", [] { return line({0, 0}, {4, 4}); }, [] { return line({0, 4}, {4, 0}); }, {{2, 2}}},
        {"line x line, common end", [] { return line({0, 0}, {1, 0}); }, [] { return line({1, 0}, {1, 1}); },
         {{1, 0}}},
        {"line x line, T junction", [] { return line({0, 0}, {2, 0}); }, [] { return line({1, 0}, {1, 1}); },
         {{1, 0}}},
        {"line x line, collinear overlap: not a crossing", [] { return line({0, 0}, {2, 0}); },
         [] { return line({1, 0}, {3, 0}); }, {}},
        {"line x line, parallel", [] { return line({0, 0}, {2, 0}); }, [] { return line({0, 1}, {2, 1}); }, {}},
        {"line x line, apart", [] { return line({0, 0}, {1, 0}); }, [] { return line({2, -1}, {2, 1}); }, {}},
        {"line x arc, along the line", [] { return line({-2, 0.5}, {2, 0.5}); },
         [] { return arc({0, 0}, 1, 0, kPi); }, {{-h, 0.5}, {h, 0.5}}},
        {"line x arc, the other way", [] { return line({2, 0.5}, {-2, 0.5}); },
         [] { return arc({0, 0}, 1, 0, kPi); }, {{h, 0.5}, {-h, 0.5}}},
        {"line x arc, below the arc", [] { return line({-2, -0.5}, {2, -0.5}); },
         [] { return arc({0, 0}, 1, 0, kPi); }, {}},
        {"line x circle, tangent: one point", [] { return line({-2, 1}, {2, 1}); },
         [] { return circle({0, 0}, 1); }, {{0, 1}}},
        {"line x circle, from inside", [] { return line({0, 0}, {0, -3}); }, [] { return circle({0, 0}, 1); },
         {{0, -1}}},
        {"circle x line, from angle 0 counter-clockwise", [] { return circle({0, 0}, 1); },
         [] { return line({0, -3}, {0, 3}); }, {{0, 1}, {0, -1}}},
        {"circle x circle", [] { return circle({0, 0}, 2); }, [] { return circle({2, 0}, 2); },
         {{1, std::sqrt(3.0)}, {1, -std::sqrt(3.0)}}},
        {"circle x circle, touching within rounding", [] { return circle({0, 0}, 1); },
         [] { return circle({0.1 + 0.2 + 1.7, 0}, 1); }, {{1, 0}}},
        {"arc x arc", [] { return arc({0, 0}, 2, 0, kPi); }, [] { return arc({2, 0}, 2, 0, kPi); },
         {{1, std::sqrt(3.0)}}},
        {"arcs of one circle sharing a sweep", [] { return arc({0, 0}, 2, 0, kPi); },
         [] { return arc({0, 0}, 2, kHalfPi, 1.5 * kPi); }, {}},
        {"line x polyline: straight and arc segments", [] { return line({3, 1}, {6, 1}); }, slot, {{5, 1}}},
        {"line x polyline, across", [] { return line({2, -1}, {2, 3}); }, slot, {{2, 0}, {2, 2}}},
        {"line x polyline through a vertex: once", [] { return line({-1, -1}, {1, 1}); }, slot, {{0, 0}}},
        {"polyline x line: along the polyline from its start", slot, [] { return line({4.5, -1}, {4.5, 3}); },
         {{4.5, 1 - h}, {4.5, 1 + h}}},
        {"polyline x line: the closing segment comes last", slot, [] { return line({-1, 1}, {6, 1}); },
         {{5, 1}, {0, 1}}},
        {"closed polyline x line at its start vertex: not repeated", slot, [] { return line({-1, 1}, {1, -1}); },
         {{0, 0}}},
        {"polyline x polyline", slot,
         [] { return pline({{{1, -1}, 0}, {{3, -1}, 0}, {{3, 1}, 0}, {{1, 1}, 0}}, true); }, {{1, 0}, {3, 0}}},
        // The circle touches the bottom and top edges where the left side crosses it: each point once.
        {"polyline x circle", slot, [] { return circle({0, 1}, 1); }, {{0, 0}, {0, 2}}},
        {"point on a polyline's arc", [] { return point({5, 1}); }, slot, {{5, 1}}},
        {"point on a straight segment", [] { return point({2, 0}); }, slot, {{2, 0}}},
        {"point beside a segment", [] { return point({2, 1e-6}); }, slot, {}},
        {"point on a circle", [] { return point({0, 1}); }, [] { return circle({0, 0}, 1); }, {{0, 1}}},
        {"point on a point", [] { return point({1, 1}); }, [] { return point({1, 1}); }, {{1, 1}}},
        {"line x point off it", [] { return line({0, 0}, {2, 0}); }, [] { return point({3, 0}); }, {}},
        {"text meets nothing", [] { return std::make_unique<Text>(ge::Point3d{0, 0}, "ABC", 10.0); },
         [] { return line({-5, -5}, {50, 50}); }, {}},
    };
    for (const Case& c : cases) {
        const auto a = c.a(), b = c.b();
        EXPECT_TRUE(SamePoints(a->intersectWith(*b), c.expected)) << c.name;
        EXPECT_EQ(IntersectIndex(*a).intersectWith(*b), a->intersectWith(*b)) << c.name << ": through an index";
    }
}

// An index of an outline answers every probe exactly as intersectWith does, in the same order: a closed 400-gon
// (whose start vertex and closing segment need care), a polyline with arcs, and probes along edges, through
// vertices, tangent, from inside, very short and very long, and extended.
TEST(EntityIntersect, IndexAnswersAsIntersectWith) {
    auto polygon = std::make_unique<LwPolyline>();
    const int sides = 400;
    for (int k = 0; k < sides; ++k) {
        const double a = 2 * kPi * k / sides;
        polygon->addVertexAt(static_cast<unsigned>(k), {5 + 2 * std::cos(a), 5 + 2 * std::sin(a)}, 0.0);
    }
    polygon->setClosed(true);
    const auto wavy = pline({{{0, 0}, 0.5}, {{2, 0}, -1.0}, {{4, 0}, 0}, {{4, 3}, 0.3}, {{0, 3}, 0}}, true);
    std::vector<std::unique_ptr<Entity>> probes;
    for (int k = 0; k < 97; ++k) {
        const double a = 2 * kPi * k / 97;
        // From a vertex of the polygon (every fourth probe starts exactly on one) across and beyond.
        const ge::Point3d from = k % 4 == 0 ? ge::Point3d{5 + 2 * std::cos(2 * kPi * k / sides),
                                                         5 + 2 * std::sin(2 * kPi * k / sides), 0}
                                            : ge::Point3d{5 + 0.01 * k, 5 - 0.02 * k, 0};
        const double length = k % 3 == 0 ? 1e-3 : (k % 3 == 1 ? 2.6 : 50.0);
        probes.push_back(line(from, {from.x + length * std::cos(a), from.y + length * std::sin(a), 0}));
    }
    probes.push_back(line({3, 5}, {7, 5}));          // through two vertices
    probes.push_back(line({7, 0}, {7, 10}));          // tangent at vertex 0
    probes.push_back(line({0, 0}, {4, 0}));           // along wavy's first edges
    probes.push_back(line({-1, 3}, {5, 3}));          // along wavy's top edge
    probes.push_back(circle({5, 5}, 2));              // on every vertex of the polygon
    probes.push_back(circle({2, 1}, 1.5));
    probes.push_back(point({7, 5}));
    probes.push_back(arc({3, 3}, 2.5, 0.3, 4.0));
    for (const Entity* shape : {static_cast<const Entity*>(polygon.get()), static_cast<const Entity*>(wavy.get())}) {
        const IntersectIndex index(*shape);
        const IntersectIndex extended(*shape, true);
        for (std::size_t k = 0; k < probes.size(); ++k) {
            EXPECT_EQ(index.intersectWith(*probes[k]), shape->intersectWith(*probes[k])) << "probe " << k;
            EXPECT_EQ(index.intersectWith(*probes[k], true),
                      shape->intersectWith(*probes[k], Intersect::ExtendArgument))
                << "probe " << k << " extended";
            EXPECT_EQ(extended.intersectWith(*probes[k], true),
                      shape->intersectWith(*probes[k], Intersect::ExtendBoth))
                << "probe " << k << " both extended";
            // A line given by its ends, whole or within a reach of its start: the points within reach as the line
            // entity meets them.
            const auto* probe = dynamic_cast<const Line*>(probes[k].get());
            if (probe == nullptr) continue;
            const std::vector<ge::Point3d> all = shape->intersectWith(*probe);
            EXPECT_EQ(index.intersectWithSegment(probe->start(), probe->end()), all) << "probe " << k;
            for (const double reach : {0.0, 0.5, 1.0, 2.5}) {
                const auto within = [&](const std::vector<ge::Point3d>& points) {
                    std::vector<ge::Point3d> kept;
                    for (const ge::Point3d& p : points)
                        if (p.distanceTo(probe->start()) <= reach) kept.push_back(p);
                    return kept;
                };
                EXPECT_EQ(within(index.intersectWithSegment(probe->start(), probe->end(), reach)), within(all))
                    << "probe " << k << " within " << reach;
            }
        }
    }
    // An empty outline meets nothing.
    EXPECT_TRUE(IntersectIndex(Text({0, 0, 0}, "ABC", 10.0)).intersectWith(*probes[0]).empty());
}

TEST(EntityIntersect, PointOnCurveUsesTheGlobalTolerance) {
    const Line l({0, 0, 0}, {10, 0, 0});
    const double tol = ge::globalTolerance().equalPoint;
    EXPECT_EQ(PointEntity({5, 0.9 * tol, 0}).intersectWith(l).size(), 1u);
    EXPECT_EQ(PointEntity({5, 1.1 * tol, 0}).intersectWith(l).size(), 0u);
    // A looser tolerance reaches farther (the editor's setting changes it).
    const ge::Tolerance saved = ge::globalTolerance();
    ge::globalTolerance().equalPoint = 1e-3;
    EXPECT_EQ(PointEntity({5, 0.9e-3, 0}).intersectWith(l).size(), 1u);
    ge::globalTolerance() = saved;
}

TEST(EntityIntersect, ExtendModes) {
    const Line shortLine({0, 0, 0}, {1, 0, 0});
    const Arc upper({5, 0, 0}, 1, 0, kPi);
    EXPECT_TRUE(SamePoints(shortLine.intersectWith(upper), {}));
    EXPECT_TRUE(SamePoints(shortLine.intersectWith(upper, Intersect::ExtendThis), {{4, 0}, {6, 0}}));
    // The arc made whole meets the line only where the line is.
    EXPECT_TRUE(SamePoints(shortLine.intersectWith(upper, Intersect::ExtendArgument), {}));
    const Line down({5, 3, 0}, {5, 2, 0});
    EXPECT_TRUE(SamePoints(down.intersectWith(upper, Intersect::ExtendThis), {{5, 1}}));
    EXPECT_TRUE(SamePoints(down.intersectWith(upper, Intersect::ExtendBoth), {{5, 1}, {5, -1}}));
    const Line other({3, -1, 0}, {3, 1, 0});
    EXPECT_TRUE(SamePoints(shortLine.intersectWith(other), {}));
    EXPECT_TRUE(SamePoints(shortLine.intersectWith(other, Intersect::ExtendThis), {{3, 0}}));
    EXPECT_TRUE(SamePoints(shortLine.intersectWith(other, Intersect::ExtendArgument), {}));
}

TEST(EntityIntersect, PointsCarryThisEntitysZ) {
    const Line high({0, 0, 5}, {4, 4, 9});
    const Line low({0, 4, 0}, {4, 0, 0});
    EXPECT_TRUE(SamePoints(high.intersectWith(low), {{2, 2, 7}}));
    EXPECT_TRUE(SamePoints(low.intersectWith(high), {{2, 2, 0}}));
}

TEST(EntityIntersect, EllipsesAndSplinesThroughChords) {
    Ellipse e;
    ASSERT_EQ(e.set({0, 0, 0}, {0, 0, 1}, {2, 0, 0}, 0.5), Status::Ok);
    const Line vertical({1, -5, 0}, {1, 5, 0});
    const Points onEllipse = vertical.intersectWith(e);
    // x = 1 on x^2/4 + y^2 = 1 gives y = +-sqrt(3)/2; the chords stand within 1e-4 of the curve.
    EXPECT_TRUE(SamePoints(onEllipse, {{1, -std::sqrt(0.75)}, {1, std::sqrt(0.75)}}, 1e-4));

    Spline s;
    ASSERT_EQ(s.setNurbsData(2, 8, {0, 0, 0, 1, 1, 1}, {{0, 0}, {1, 2}, {2, 0}}), Status::Ok);
    // y = 2t(1-t) * 2 = 0.5 at t = (1 -+ sqrt(0.5)) / 2; x = 2t.
    const Line across({-1, 0.5, 0}, {3, 0.5, 0});
    const double t1 = (1 - std::sqrt(0.5)) / 2, t2 = (1 + std::sqrt(0.5)) / 2;
    EXPECT_TRUE(SamePoints(across.intersectWith(s), {{2 * t1, 0.5}, {2 * t2, 0.5}}, 1e-3));
    EXPECT_TRUE(SamePoints(s.intersectWith(across), {{2 * t1, 0.5}, {2 * t2, 0.5}}, 1e-3));
}

TEST(EntityIntersect, ArcSeenFromBelowRunsClockwiseInPlan) {
    // Normal -z: plane angles 0..90 degrees lie in the upper left quadrant of the plan.
    Arc a({0, 0, 0}, 1, 0, kHalfPi);
    a.setNormal({0, 0, -1});
    const Line diagonal({0, 0, 0}, {-2, 2, 0});
    EXPECT_TRUE(SamePoints(diagonal.intersectWith(a), {{-std::sqrt(0.5), std::sqrt(0.5)}}));
    EXPECT_TRUE(SamePoints(Line({0, 0, 0}, {2, 2, 0}).intersectWith(a), {}));
    // Along the arc: from its start (-1, 0) clockwise in plan to (0, 1).
    const Line chord({-2, 0.5, 0}, {2, 0.5, 0});
    const Line chord2({-0.5, -2, 0}, {-0.5, 2, 0});
    EXPECT_TRUE(SamePoints(a.intersectWith(chord), {{-std::sqrt(0.75), 0.5}}));
    EXPECT_TRUE(SamePoints(a.intersectWith(chord2), {{-0.5, std::sqrt(0.75)}}));
}

TEST(EntityIntersect, DatabaseEntitiesWithTemporaryOnes) {
    Database db;
    const ObjectId lineId = testing::addLine(db, {0, 0}, {10, 0});
    const ObjectId plineId = testing::addToModelSpace(db, slot());
    const ObjectId p2d = testing::addToModelSpace(db, std::make_unique<Polyline2d>());
    const ObjectId p3d = testing::addToModelSpace(db, std::make_unique<Polyline3d>());
    {
        ObjectPtr<Polyline2d> p(p2d, OpenMode::Write);
        p->appendVertex(std::make_unique<PolylineVertex>(ge::Point3d{8, -1, 0}, 1.0));  // a half circle bulging right
        p->appendVertex(std::make_unique<PolylineVertex>(ge::Point3d{8, 1, 0}));
        ObjectPtr<Polyline3d> q(p3d, OpenMode::Write);
        q->appendVertex(std::make_unique<PolylineVertex>(ge::Point3d{6, -1, 3}));
        q->appendVertex(std::make_unique<PolylineVertex>(ge::Point3d{6, 1, 5}));
    }
    ObjectPtr<Line> l(lineId, OpenMode::Read);
    ObjectPtr<LwPolyline> s(plineId, OpenMode::Read);
    ObjectPtr<Polyline2d> two(p2d, OpenMode::Read);
    ObjectPtr<Polyline3d> three(p3d, OpenMode::Read);
    // A probe line that belongs to no database, against database entities.
    const Line probe({2, -5, 0}, {2, 5, 0});
    EXPECT_TRUE(SamePoints(probe.intersectWith(*s), {{2, 0}, {2, 2}}));
    EXPECT_TRUE(SamePoints(l->intersectWith(probe), {{2, 0}}));
    EXPECT_TRUE(SamePoints(l->intersectWith(*s), {{0, 0}, {4, 0}}));  // the bottom edge overlaps: only its ends
    EXPECT_TRUE(SamePoints(l->intersectWith(*two), {{9, 0}}));
    EXPECT_TRUE(SamePoints(three->intersectWith(*l), {{6, 0, 4}}));
}

}  // namespace
}  // namespace host::db
