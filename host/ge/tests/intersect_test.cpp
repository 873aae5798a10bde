// Plane intersections: every pair of lines, circles and arcs, their kinds, point order and tolerance bands.
#include "host/ge/intersect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "host/ge/angle.h"
#include "test_support.h"

namespace host::ge {
namespace {

using testing::PointNear;

const char* kindName(IntersectKind k) {
    switch (k) {
        case IntersectKind::None: return "None";
        case IntersectKind::Points: return "Points";
        case IntersectKind::Tangent: return "Tangent";
        case IntersectKind::Parallel: return "Parallel";
        case IntersectKind::Overlap: return "Overlap";
    }
    return "?";
}

// Checks kind and points (in order) of one answer.
::testing::AssertionResult Answers(const Intersections2d& r, IntersectKind kind, std::vector<Point2d> points,
                                   double eps = 1e-9) {
    if (r.kind != kind)
        return ::testing::AssertionFailure() << "kind " << kindName(r.kind) << ", expected " << kindName(kind);
    if (r.count != int(points.size()))
        return ::testing::AssertionFailure() << r.count << " points, expected " << points.size();
    for (int i = 0; i < r.count; ++i) {
        auto near = PointNear(r.points[i], points[i], eps);
        if (!near) return near << " (point " << i << ")";
    }
    return ::testing::AssertionSuccess();
}

constexpr LineExtent kSeg = LineExtent::Segment;
constexpr LineExtent kInf = LineExtent::Infinite;

TEST(IntersectLines, TableOfSegmentsAndInfiniteLines) {
    struct Case {
        const char* name;
        LineSeg2d a, b;
        LineExtent ea, eb;
        IntersectKind kind;
        std::vector<Point2d> points;
    };
    const Case cases[] = {
        {"crossing inside both", {{0, 0}, {2, 2}}, {{0, 2}, {2, 0}}, kSeg, kSeg, IntersectKind::Points, {{1, 1}}},
        {"crossing outside b", {{0, 0}, {2, 2}}, {{0, 2}, {0.5, 1.5}}, kSeg, kSeg, IntersectKind::None, {}},
        {"b extended reaches", {{0, 0}, {2, 2}}, {{0, 2}, {0.5, 1.5}}, kSeg, kInf, IntersectKind::Points, {{1, 1}}},
        {"both infinite", {{0, 0}, {1, 0}}, {{5, 1}, {5, 2}}, kInf, kInf, IntersectKind::Points, {{5, 0}}},
        {"common end point", {{0, 0}, {1, 0}}, {{1, 0}, {1, 1}}, kSeg, kSeg, IntersectKind::Points, {{1, 0}}},
        {"T junction", {{0, 0}, {2, 0}}, {{1, 0}, {1, 1}}, kSeg, kSeg, IntersectKind::Points, {{1, 0}}},
        {"end just short, within tolerance", {{0, 0}, {2, 0}}, {{1, 0.5e-10}, {1, 1}}, kSeg, kSeg,
         IntersectKind::Points, {{1, 0.5e-10}}},
        {"end short by more than the tolerance", {{0, 0}, {2, 0}}, {{1, 1e-9}, {1, 1}}, kSeg, kSeg,
         IntersectKind::None, {}},
        {"parallel apart", {{0, 0}, {1, 0}}, {{0, 1}, {1, 1}}, kInf, kInf, IntersectKind::Parallel, {}},
        {"collinear, disjoint", {{0, 0}, {1, 0}}, {{2, 0}, {3, 0}}, kSeg, kSeg, IntersectKind::Parallel, {}},
        {"collinear, end to end", {{0, 0}, {1, 0}}, {{1, 0}, {3, 0}}, kSeg, kSeg, IntersectKind::Points, {{1, 0}}},
        {"collinear, overlapping", {{0, 0}, {2, 0}}, {{3, 0}, {1, 0}}, kSeg, kSeg, IntersectKind::Overlap, {}},
        {"collinear, inside", {{0, 0}, {4, 0}}, {{1, 0}, {2, 0}}, kSeg, kSeg, IntersectKind::Overlap, {}},
        {"zero-length a on b", {{1, 0}, {1, 0}}, {{0, 0}, {2, 0}}, kSeg, kSeg, IntersectKind::Points, {{1, 0}}},
        {"zero-length a off b", {{1, 1}, {1, 1}}, {{0, 0}, {2, 0}}, kSeg, kSeg, IntersectKind::None, {}},
        {"zero-length b past a's end", {{0, 0}, {1, 0}}, {{3, 0}, {3, 0}}, kSeg, kSeg, IntersectKind::None, {}},
        {"zero-length b on infinite a", {{0, 0}, {1, 0}}, {{3, 0}, {3, 0}}, kInf, kSeg, IntersectKind::Points,
         {{3, 0}}},
        {"two coincident zero-length", {{1, 1}, {1, 1}}, {{1, 1}, {1, 1}}, kSeg, kSeg, IntersectKind::Points,
         {{1, 1}}},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(Answers(intersectLines(c.a, c.b, c.ea, c.eb), c.kind, c.points)) << c.name;
}

TEST(IntersectLines, OverlapIsTheCommonPieceInTheFirstDirection) {
    const auto r = intersectLines({{0, 0}, {2, 0}}, {{3, 0}, {1, 0}});
    ASSERT_EQ(r.kind, IntersectKind::Overlap);
    EXPECT_TRUE(PointNear(r.overlap.start, {1, 0}));
    EXPECT_TRUE(PointNear(r.overlap.end, {2, 0}));
    const auto back = intersectLines({{2, 0}, {0, 0}}, {{3, 0}, {1, 0}});
    EXPECT_TRUE(PointNear(back.overlap.start, {2, 0}));
    EXPECT_TRUE(PointNear(back.overlap.end, {1, 0}));
    const auto lines = intersectLines({{0, 0}, {1, 1}}, {{5, 5}, {6, 6}}, kInf, kInf);
    ASSERT_EQ(lines.kind, IntersectKind::Overlap);
    EXPECT_TRUE(PointNear(lines.overlap.end, {1, 1}));
}

TEST(IntersectLines, ParameterToleranceFollowsEachSegmentsLength) {
    // The same end-point gap of 0.5e-10 sits inside the tolerance on a long segment and on a short one alike:
    // the tolerance is a length, not a parameter.
    const Tolerance tol{1e-10, 1e-12};
    for (double len : {1e-6, 1.0, 1e6}) {
        const LineSeg2d a{{0, 0}, {len, 0}};
        const LineSeg2d b{{len + 0.5e-10, -1}, {len + 0.5e-10, 1}};
        EXPECT_EQ(intersectLines(a, b, kSeg, kSeg, tol).kind, IntersectKind::Points) << len;
        const LineSeg2d c{{len + 2e-10, -1}, {len + 2e-10, 1}};
        EXPECT_EQ(intersectLines(a, c, kSeg, kSeg, tol).kind, IntersectKind::None) << len;
    }
}

TEST(IntersectLineCircle, TableInTheLinesDirection) {
    struct Case {
        const char* name;
        LineSeg2d line;
        LineExtent extent;
        Point2d center;
        double radius;
        IntersectKind kind;
        std::vector<Point2d> points;
    };
    const Case cases[] = {
        {"through, left to right", {{-5, 0}, {5, 0}}, kSeg, {0, 0}, 1, IntersectKind::Points, {{-1, 0}, {1, 0}}},
        {"through, right to left", {{5, 0}, {-5, 0}}, kSeg, {0, 0}, 1, IntersectKind::Points, {{1, 0}, {-1, 0}}},
        {"starts inside", {{0, 0}, {5, 0}}, kSeg, {0, 0}, 1, IntersectKind::Points, {{1, 0}}},
        {"inside, short", {{0, 0}, {0.5, 0}}, kSeg, {0, 0}, 1, IntersectKind::None, {}},
        {"inside, extended", {{0, 0}, {0.5, 0}}, kInf, {0, 0}, 1, IntersectKind::Points, {{-1, 0}, {1, 0}}},
        {"tangent", {{-5, 1}, {5, 1}}, kSeg, {0, 0}, 1, IntersectKind::Tangent, {{0, 1}}},
        {"tangent within the tolerance", {{-5, 1 - 0.5e-10}, {5, 1 - 0.5e-10}}, kSeg, {0, 0}, 1,
         IntersectKind::Tangent, {{0, 1 - 0.5e-10}}},
        {"just misses", {{-5, 1 + 2e-10}, {5, 1 + 2e-10}}, kSeg, {0, 0}, 1, IntersectKind::None, {}},
        {"ends on the circle, crossing there", {{0, 0}, {1, 0}}, kSeg, {0, 0}, 1, IntersectKind::Points, {{1, 0}}},
        {"ends at the touching point", {{-5, 1}, {0, 1}}, kSeg, {0, 0}, 1, IntersectKind::Tangent, {{0, 1}}},
        {"tangent point outside the segment", {{1, 1}, {5, 1}}, kSeg, {0, 0}, 1, IntersectKind::None, {}},
        {"zero radius refused", {{-5, 0}, {5, 0}}, kSeg, {0, 0}, 0, IntersectKind::None, {}},
        {"zero-length line on the circle", {{0, 1}, {0, 1}}, kSeg, {0, 0}, 1, IntersectKind::Points, {{0, 1}}},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(Answers(intersectLineCircle(c.line, c.center, c.radius, c.extent), c.kind, c.points)) << c.name;
}

TEST(IntersectLineArc, OnlyPointsOnTheSweep) {
    const CircArc2d upper = CircArc2d::fromCenter({0, 0}, 1, 0, kPi);  // the upper half, counter-clockwise
    struct Case {
        const char* name;
        LineSeg2d line;
        IntersectKind kind;
        std::vector<Point2d> points;
    };
    const double h = std::sqrt(0.75);
    const Case cases[] = {
        {"one point on the arc", {{0, -5}, {0, 5}}, IntersectKind::Points, {{0, 1}}},
        {"both points", {{-5, 0.5}, {5, 0.5}}, IntersectKind::Points, {{-h, 0.5}, {h, 0.5}}},
        {"through the ends", {{-5, 0}, {5, 0}}, IntersectKind::Points, {{-1, 0}, {1, 0}}},
        {"below the arc", {{-5, -0.5}, {5, -0.5}}, IntersectKind::None, {}},
        {"tangent on the arc", {{-5, 1}, {5, 1}}, IntersectKind::Tangent, {{0, 1}}},
        {"tangent off the arc", {{-5, -1}, {5, -1}}, IntersectKind::None, {}},
    };
    for (const Case& c : cases) EXPECT_TRUE(Answers(intersectLineArc(c.line, upper), c.kind, c.points)) << c.name;

    // A clockwise arc of a polyline segment (negative bulge) from (1,0) to (-1,0) passes the bottom.
    const CircArc2d lower = *CircArc2d::fromBulge({1, 0}, {-1, 0}, -1.0);
    EXPECT_TRUE(Answers(intersectLineArc({{0, 5}, {0, -5}}, lower), IntersectKind::Points, {{0, -1}}));
}

TEST(IntersectCircles, TableWithLeftPointFirst) {
    struct Case {
        const char* name;
        Point2d c1;
        double r1;
        Point2d c2;
        double r2;
        IntersectKind kind;
        std::vector<Point2d> points;
    };
    const double h = std::sqrt(3.0);
    const Case cases[] = {
        // From c1 towards c2 (+x), the left point is the upper one.
        {"two points", {0, 0}, 2, {2, 0}, 2, IntersectKind::Points, {{1, h}, {1, -h}}},
        {"two points, reversed roles", {2, 0}, 2, {0, 0}, 2, IntersectKind::Points, {{1, -h}, {1, h}}},
        {"outer touch", {0, 0}, 1, {3, 0}, 2, IntersectKind::Tangent, {{1, 0}}},
        {"inner touch, c2 inside", {0, 0}, 3, {1, 0}, 2, IntersectKind::Tangent, {{3, 0}}},
        {"inner touch, c1 inside", {1, 0}, 2, {0, 0}, 3, IntersectKind::Tangent, {{3, 0}}},
        {"apart", {0, 0}, 1, {3, 0}, 1, IntersectKind::None, {}},
        {"one inside the other", {0, 0}, 5, {1, 0}, 1, IntersectKind::None, {}},
        {"concentric", {0, 0}, 1, {0, 0}, 2, IntersectKind::None, {}},
        {"coincident", {1, 1}, 2, {1, 1}, 2, IntersectKind::Overlap, {}},
        {"zero radius refused", {0, 0}, 0, {0, 0}, 0, IntersectKind::None, {}},
        {"outer touch within the tolerance", {0, 0}, 1, {3 + 0.5e-10, 0}, 2, IntersectKind::Tangent, {{1, 0}}},
        {"apart by more than the tolerance", {0, 0}, 1, {3 + 2e-10, 0}, 2, IntersectKind::None, {}},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(Answers(intersectCircles(c.c1, c.r1, c.c2, c.r2), c.kind, c.points)) << c.name;
}

TEST(IntersectCircles, NearTangentCirclesNeverGiveNaN) {
    // Circles whose centre distance is r1 + r2 or |r1 - r2| up to rounding: the cosine of the crossing angle can
    // land just outside [-1, 1]. Every answer must be finite and lie on both circles.
    std::mt19937 rng(20240521);
    std::uniform_real_distribution<double> coord(-1000.0, 1000.0), radius(0.001, 500.0), unit(0.0, kTwoPi);
    int tangents = 0;
    for (int i = 0; i < 20000; ++i) {
        const Point2d c1{coord(rng), coord(rng)};
        const double r1 = radius(rng), r2 = radius(rng);
        const double d = (i % 2 == 0) ? r1 + r2 : std::abs(r1 - r2);
        const double dir = unit(rng);
        const Point2d c2 = polarPoint(c1, dir, d * (1.0 + (i % 7 - 3) * 1e-16));
        const Intersections2d r = intersectCircles(c1, r1, c2, r2);
        if (r.kind == IntersectKind::Tangent) ++tangents;
        for (int k = 0; k < r.count; ++k) {
            ASSERT_TRUE(std::isfinite(r.points[k].x) && std::isfinite(r.points[k].y)) << "case " << i;
            // Distances to the centres carry the rounding of coordinates up to 1000 in size.
            EXPECT_NEAR(r.points[k].distanceTo(c1), r1, 1e-6) << "case " << i;
            EXPECT_NEAR(r.points[k].distanceTo(c2), r2, 1e-6) << "case " << i;
        }
    }
    EXPECT_GT(tangents, 15000);  // nearly all of them touch; none is lost
}

TEST(IntersectArcs, PointsOnBothArcs) {
    const CircArc2d upper = CircArc2d::fromCenter({0, 0}, 2, 0, kPi);
    const CircArc2d lowerOfOther = CircArc2d::fromCenter({2, 0}, 2, kPi, kTwoPi);
    const CircArc2d upperOfOther = CircArc2d::fromCenter({2, 0}, 2, 0, kPi);
    const double h = std::sqrt(3.0);
    EXPECT_TRUE(Answers(intersectArcs(upper, CircArc2d::fullCircle({2, 0}, 2)), IntersectKind::Points, {{1, h}}));
    EXPECT_TRUE(Answers(intersectArcs(upper, upperOfOther), IntersectKind::Points, {{1, h}}));
    EXPECT_TRUE(Answers(intersectArcs(upper, lowerOfOther), IntersectKind::None, {}));
    EXPECT_TRUE(Answers(intersectArcs(CircArc2d::fullCircle({0, 0}, 2), CircArc2d::fullCircle({2, 0}, 2)),
                        IntersectKind::Points, {{1, h}, {1, -h}}));
    // Touching: on both arcs, or off one of them.
    const CircArc2d right = CircArc2d::fromCenter({0, 0}, 1, 1.5 * kPi, kHalfPi);
    EXPECT_TRUE(Answers(intersectArcs(right, CircArc2d::fromCenter({2, 0}, 1, kHalfPi, 1.5 * kPi)),
                        IntersectKind::Tangent, {{1, 0}}));
    EXPECT_TRUE(Answers(intersectArcs(right, CircArc2d::fromCenter({2, 0}, 1, 1.5 * kPi, kHalfPi)),
                        IntersectKind::None, {}));
}

TEST(IntersectArcs, ArcsOfOneCircle) {
    const CircArc2d q1 = CircArc2d::fromCenter({0, 0}, 1, 0, kHalfPi);
    const CircArc2d q2 = CircArc2d::fromCenter({0, 0}, 1, kHalfPi, kPi);
    const CircArc2d q3 = CircArc2d::fromCenter({0, 0}, 1, kPi, 1.5 * kPi);
    const CircArc2d firstHalf = CircArc2d::fromCenter({0, 0}, 1, 0, kPi);
    EXPECT_TRUE(Answers(intersectArcs(q1, q2), IntersectKind::Points, {{0, 1}}));  // end to end
    EXPECT_TRUE(Answers(intersectArcs(q1, q3), IntersectKind::None, {}));
    EXPECT_TRUE(Answers(intersectArcs(q1, firstHalf), IntersectKind::Overlap, {}));
    // Two halves closing a circle meet at both ends: a's start first.
    const CircArc2d secondHalf = CircArc2d::fromCenter({0, 0}, 1, kPi, 0);
    EXPECT_TRUE(Answers(intersectArcs(firstHalf, secondHalf), IntersectKind::Points, {{1, 0}, {-1, 0}}));
    // The same arc run clockwise still overlaps.
    EXPECT_TRUE(Answers(intersectArcs(q1, q1.reversed()), IntersectKind::Overlap, {}));
    // A sweep through angle 0 overlapping one that starts there.
    const CircArc2d wrap = CircArc2d::fromCenter({0, 0}, 1, 1.5 * kPi, kHalfPi);
    EXPECT_TRUE(Answers(intersectArcs(wrap, q1), IntersectKind::Overlap, {}));
    EXPECT_TRUE(Answers(intersectArcs(q2, wrap), IntersectKind::Points, {{0, 1}}));
}

TEST(PointOnCurve, WithinTheToleranceAsADistance) {
    const Tolerance tol{1e-4, 1e-12};
    const LineSeg2d seg{{0, 0}, {10, 0}};
    EXPECT_TRUE(isPointOnLine(seg, {5, 0.9e-4}, kSeg, tol));
    EXPECT_FALSE(isPointOnLine(seg, {5, 1.1e-4}, kSeg, tol));
    EXPECT_TRUE(isPointOnLine(seg, {10 + 0.9e-4, 0}, kSeg, tol));
    EXPECT_FALSE(isPointOnLine(seg, {10 + 1.1e-4, 0}, kSeg, tol));
    EXPECT_TRUE(isPointOnLine(seg, {20, 0}, kInf, tol));
    const CircArc2d arc = CircArc2d::fromCenter({0, 0}, 10, 0, kHalfPi);
    EXPECT_TRUE(isPointOnArc(arc, {0, 10 + 0.9e-4}, tol));
    EXPECT_FALSE(isPointOnArc(arc, {0, 10 + 1.1e-4}, tol));
    EXPECT_FALSE(isPointOnArc(arc, {-10, 0}, tol));
    EXPECT_TRUE(isPointOnArc(arc, polarPoint(Point2d{0, 0}, -0.9e-5, 10), tol));  // just before the start
}

}  // namespace
}  // namespace host::ge
