// Angles: normalising, directions between points, polar points, and the side of a line.
#include "host/ge/angle.h"

#include <gtest/gtest.h>

#include <cmath>

#include "host/ge/orientation.h"
#include "test_support.h"

namespace host::ge {
namespace {

using testing::PointNear;

TEST(Angle, NormalizeBringsEveryAngleIntoOneTurn) {
    struct Case {
        double in, out;
    };
    const Case cases[] = {
        {0.0, 0.0},
        {-0.5, kTwoPi - 0.5},
        {kTwoPi, 0.0},
        {7 * kPi, kPi},
        {-kTwoPi, 0.0},
        {-3 * kPi, kPi},
        {1e-300, 1e-300},
        // A tiny negative angle lands a rounding step below 2*pi, which must come back as 0, not 2*pi.
        {-1e-17, 0.0},
    };
    for (const Case& c : cases) {
        const double a = normalizeAngle(c.in);
        EXPECT_NEAR(a, c.out, 1e-12) << "angle " << c.in;
        EXPECT_GE(a, 0.0) << c.in;
        EXPECT_LT(a, kTwoPi) << c.in;
    }
}

TEST(Angle, DirectionBetweenPointsIsInOneTurn) {
    struct Case {
        Point2d from, to;
        double angle;
    };
    const Case cases[] = {
        {{0, 0}, {1, 0}, 0.0},      {{0, 0}, {0, 1}, kHalfPi},      {{0, 0}, {-1, 0}, kPi},
        {{0, 0}, {0, -1}, 1.5 * kPi}, {{1, 1}, {0, 0}, 1.25 * kPi}, {{2, 2}, {2, 2}, 0.0},  // coincident: 0
    };
    for (const Case& c : cases) EXPECT_NEAR(angleFromTo(c.from, c.to), c.angle, 1e-15);
    EXPECT_NEAR(angleFromTo(Point3d{0, 0, 5}, Point3d{0, 1, -5}), kHalfPi, 1e-15);  // z plays no part
    EXPECT_DOUBLE_EQ(Vector2d(0, 0).angle(), 0.0);
}

TEST(Angle, PolarPointIsTheInverseOfTheDirection) {
    EXPECT_TRUE(PointNear(polarPoint(Point2d{1, 1}, kHalfPi, 2), {1, 3}));
    const Point3d p = polarPoint(Point3d{1, 2, 7}, kPi, 3);
    EXPECT_TRUE(PointNear(p, {-2, 2, 7}));
    const Point2d base{3, -4};
    for (double a : {0.1, 1.0, 2.5, 4.0, 6.2}) EXPECT_NEAR(angleFromTo(base, polarPoint(base, a, 10)), a, 1e-12);
}

TEST(Angle, CounterClockwiseSweep) {
    EXPECT_NEAR(ccwSweep(0.5, 5.5), 5.0, 1e-12);
    EXPECT_NEAR(ccwSweep(5.5, 0.5), kTwoPi - 5.0, 1e-12);
    EXPECT_DOUBLE_EQ(ccwSweep(1.0, 1.0), 0.0);
    EXPECT_NEAR(degreesToRadians(180.0), kPi, 1e-15);
    EXPECT_NEAR(radiansToDegrees(kHalfPi), 90.0, 1e-12);
}

TEST(Orientation, SideOfLineIsDecidedByDistance) {
    const Tolerance tol{1e-4, 1e-12};
    struct Case {
        Point2d a, b, p;
        Side side;
    };
    const Case cases[] = {
        {{0, 0}, {10, 0}, {5, 1}, Side::Left},
        {{0, 0}, {10, 0}, {5, -1}, Side::Right},
        {{0, 0}, {10, 0}, {20, 0}, Side::On},           // past the end: the line is infinite
        {{0, 0}, {10, 0}, {5, 0.99e-4}, Side::On},      // just inside the tolerance
        {{0, 0}, {10, 0}, {5, 1.01e-4}, Side::Left},    // just outside
        {{0, 0}, {10, 0}, {5, -1.01e-4}, Side::Right},
        // The tolerance is a distance, so a long base does not widen it.
        {{0, 0}, {1e6, 0}, {5, 1.01e-4}, Side::Left},
        {{0, 0}, {0, 0}, {5, 5}, Side::On},             // a zero-length base has no sides
    };
    for (const Case& c : cases)
        EXPECT_EQ(sideOfLine(c.a, c.b, c.p, tol), c.side) << "p (" << c.p.x << ", " << c.p.y << ")";
}

TEST(Orientation, TurnOfThreePoints) {
    EXPECT_EQ(turnOf({0, 0}, {1, 0}, {1, 1}), Side::Left);
    EXPECT_EQ(turnOf({0, 0}, {1, 1}, {2, 0}), Side::Right);
    EXPECT_EQ(turnOf({0, 0}, {1, 1}, {2, 2}), Side::On);
    EXPECT_EQ(turnOf({0, 0}, {1, 1}, {0, 0}), Side::On);  // a and c coincide
}

}  // namespace
}  // namespace host::ge
