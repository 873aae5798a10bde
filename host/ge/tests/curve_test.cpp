// Segments and arcs: arcs from bulges and three points, sweeps, the angle test at its tolerance, bounds.
#include "host/ge/curve.h"

#include <gtest/gtest.h>

#include <cmath>

#include "host/ge/angle.h"
#include "test_support.h"

namespace host::ge {
namespace {

using testing::PointNear;

TEST(CircArc, FromBulgeRunsFromStartToEnd) {
    struct Case {
        const char* name;
        Point2d start, end;
        double bulge;
        Point2d center;
        double radius;
        bool clockwise;
        double sweep;
    };
    const Case cases[] = {
        {"half circle ccw", {1, 0}, {-1, 0}, 1.0, {0, 0}, 1.0, false, kPi},
        {"half circle cw", {1, 0}, {-1, 0}, -1.0, {0, 0}, 1.0, true, kPi},
        {"quarter ccw", {1, 0}, {0, 1}, std::tan(kPi / 8), {0, 0}, 1.0, false, kHalfPi},
        {"quarter cw, negative bulge", {0, 1}, {1, 0}, -std::tan(kPi / 8), {0, 0}, 1.0, true, kHalfPi},
        {"three quarters ccw", {1, 0}, {0, -1}, std::tan(3 * kPi / 8), {0, 0}, 1.0, false, 1.5 * kPi},
        {"three quarters cw", {0, -1}, {1, 0}, -std::tan(3 * kPi / 8), {0, 0}, 1.0, true, 1.5 * kPi},
        {"moved and scaled", {12, 10}, {8, 10}, 1.0, {10, 10}, 2.0, false, kPi},
    };
    for (const Case& c : cases) {
        const auto arc = CircArc2d::fromBulge(c.start, c.end, c.bulge);
        ASSERT_TRUE(arc.has_value()) << c.name;
        EXPECT_TRUE(PointNear(arc->center, c.center)) << c.name;
        EXPECT_NEAR(arc->radius, c.radius, 1e-12) << c.name;
        EXPECT_EQ(arc->clockwise, c.clockwise) << c.name;
        EXPECT_NEAR(arc->sweep(), c.sweep, 1e-12) << c.name;
        EXPECT_TRUE(PointNear(arc->startPoint(), c.start)) << c.name;
        EXPECT_TRUE(PointNear(arc->endPoint(), c.end)) << c.name;
        EXPECT_NEAR(arc->bulge(), c.bulge, 1e-12) << c.name;  // and back
    }
}

TEST(CircArc, FromBulgeRefusesStraightAndDegenerateSegments) {
    EXPECT_FALSE(CircArc2d::fromBulge({0, 0}, {1, 0}, 0.0).has_value());
    EXPECT_FALSE(CircArc2d::fromBulge({1, 1}, {1, 1}, 0.5).has_value());
    EXPECT_FALSE(CircArc2d::fromBulge({1, 1}, {1 + 1e-11, 1}, 0.5).has_value());  // ends within the tolerance
    EXPECT_FALSE(CircArc2d::fromBulge({0, 0}, {1, 0}, std::nan("")).has_value());
}

TEST(CircArc, FromThreePointsKeepsTheirOrder) {
    const auto ccw = CircArc2d::fromThreePoints({1, 0}, {0, 1}, {-1, 0});
    ASSERT_TRUE(ccw.has_value());
    EXPECT_TRUE(PointNear(ccw->center, {0, 0}));
    EXPECT_FALSE(ccw->clockwise);
    EXPECT_NEAR(ccw->sweep(), kPi, 1e-12);

    // Through the bottom: clockwise from (1,0) to (-1,0) would pass the top; this one passes (0,-1).
    const auto cw = CircArc2d::fromThreePoints({-1, 0}, {0, -1}, {1, 0});
    ASSERT_TRUE(cw.has_value());
    EXPECT_FALSE(cw->clockwise);
    const auto cw2 = CircArc2d::fromThreePoints({1, 0}, {0, -1}, {-1, 0});
    ASSERT_TRUE(cw2.has_value());
    EXPECT_TRUE(cw2->clockwise);
    EXPECT_TRUE(PointNear(cw2->pointAtAngle(1.5 * kPi), {0, -1}));
    EXPECT_TRUE(cw2->containsAngle(1.5 * kPi));
    EXPECT_FALSE(cw2->containsAngle(kHalfPi));

    EXPECT_FALSE(CircArc2d::fromThreePoints({0, 0}, {1, 1}, {2, 2}).has_value());  // collinear
    EXPECT_FALSE(CircArc2d::fromThreePoints({0, 0}, {1, 1}, {0, 0}).has_value());  // a and c coincide
}

TEST(CircArc, ContainsAngleIncludesTheEndsWithinTheTolerance) {
    // An arc of radius 1000: the tolerance 1e-4 is an angle of 1e-7 on it.
    const Tolerance tol{1e-4, 1e-12};
    const CircArc2d arc = CircArc2d::fromCenter({0, 0}, 1000, 0.0, kHalfPi);
    struct Case {
        double angle;
        bool inside;
    };
    const Case cases[] = {
        {0.0, true},         {kHalfPi, true},          {1.0, true},
        {kHalfPi + 0.9e-7, true},  {kHalfPi + 1.1e-7, false},  // past the end: both sides of the tolerance
        {kTwoPi - 0.9e-7, true},   {kTwoPi - 1.1e-7, false},   // before the start
        {kPi, false},
    };
    for (const Case& c : cases) EXPECT_EQ(arc.containsAngle(c.angle, tol), c.inside) << c.angle;

    // Through angle 0 and clockwise.
    const CircArc2d wrap = CircArc2d::fromCenter({0, 0}, 1, 1.5 * kPi, kHalfPi);
    EXPECT_TRUE(wrap.containsAngle(0.0));
    EXPECT_FALSE(wrap.containsAngle(kPi));
    CircArc2d cw = wrap;
    cw.clockwise = true;  // from 3pi/2 clockwise to pi/2: through pi
    EXPECT_TRUE(cw.containsAngle(kPi));
    EXPECT_FALSE(cw.containsAngle(0.0));
    EXPECT_NEAR(cw.sweep(), kPi, 1e-12);
    EXPECT_TRUE(CircArc2d::fullCircle({0, 0}, 1).containsAngle(4.0));
}

TEST(CircArc, EqualAnglesMakeAFullCircleOnlyFromCenter) {
    const CircArc2d arc = CircArc2d::fromCenter({0, 0}, 2, 1.0, 1.0 + kTwoPi);
    EXPECT_TRUE(arc.full);
    EXPECT_DOUBLE_EQ(arc.sweep(), kTwoPi);
    EXPECT_DOUBLE_EQ(arc.bulge(), 0.0);
    CircArc2d point = arc;
    point.full = false;
    EXPECT_DOUBLE_EQ(point.sweep(), 0.0);
}

TEST(CircArc, BoundsIncludeTheQuadrantPointsPassed) {
    struct Case {
        CircArc2d arc;
        Point2d lo, hi;
    };
    const Case cases[] = {
        {CircArc2d::fromCenter({0, 0}, 1, 0.0, kHalfPi), {0, 0}, {1, 1}},
        {CircArc2d::fromCenter({0, 0}, 1, kPi / 4, 3 * kPi / 4),
         {-std::sqrt(0.5), std::sqrt(0.5)},
         {std::sqrt(0.5), 1}},
        {CircArc2d::fromCenter({0, 0}, 1, 1.5 * kPi, kHalfPi), {0, -1}, {1, 1}},  // through 0
        {CircArc2d::fullCircle({5, 5}, 2), {3, 3}, {7, 7}},
    };
    for (const Case& c : cases) {
        const auto [lo, hi] = c.arc.bounds();
        EXPECT_TRUE(PointNear(lo, c.lo)) << c.arc.startAngle;
        EXPECT_TRUE(PointNear(hi, c.hi)) << c.arc.startAngle;
    }
}

TEST(CircArc, ReversedRunsBackOverTheSamePoints) {
    const auto arc = *CircArc2d::fromBulge({1, 0}, {0, 1}, 0.4142135623730951);
    const CircArc2d back = arc.reversed();
    EXPECT_TRUE(PointNear(back.startPoint(), arc.endPoint()));
    EXPECT_TRUE(PointNear(back.endPoint(), arc.startPoint()));
    EXPECT_NEAR(back.sweep(), arc.sweep(), 1e-15);
    EXPECT_NEAR(back.bulge(), -arc.bulge(), 1e-15);
}

TEST(LineSeg, ParametersAlongTheSegment) {
    const LineSeg2d s{{1, 1}, {5, 1}};
    EXPECT_DOUBLE_EQ(s.paramOf({3, 7}), 0.5);
    EXPECT_DOUBLE_EQ(s.paramOf({-3, 0}), -1.0);
    EXPECT_TRUE(PointNear(s.pointAt(0.25), {2, 1}));
    EXPECT_DOUBLE_EQ((LineSeg2d{{1, 1}, {1, 1}}.paramOf({4, 4})), 0.0);
    EXPECT_TRUE(LineSeg2d({{1, 1}, {1, 1}}).isDegenerate());
}

}  // namespace
}  // namespace host::ge
