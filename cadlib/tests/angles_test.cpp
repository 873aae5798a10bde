// Normalising angles, angular ranges, their overlaps and sweeps.
#include "cadlib/angles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using cadlib::kHalfPi;
using cadlib::kPi;
using cadlib::kTwoPi;

double normalized(double a) {
    NormalizeAngle(a);
    return a;
}

TEST(Angles, NormalizeAngleBringsIntoOneTurn) {
    struct Case {
        double angle, expected;
    };
    const Case cases[] = {
        {0.0, 0.0},
        {-0.5, kTwoPi - 0.5},
        {kTwoPi, 0.0},
        {7 * kPi, kPi},
        {-kTwoPi, 0.0},
        {-7 * kPi, kPi},
        {1e6, std::fmod(1e6, kTwoPi)},
        {-1e-17, 0.0},
        {1e300, std::fmod(1e300, kTwoPi)},
        {-1e20, kTwoPi + std::fmod(-1e20, kTwoPi)},  // plus 2*pi this rounds to 2*pi itself, which is the direction 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        const double a = normalized(c.angle);
        EXPECT_NEAR(a, c.expected, 1e-9);
        EXPECT_GE(a, 0.0);
        EXPECT_LT(a, kTwoPi);
    }
    EXPECT_TRUE(std::isnan(normalized(std::nan(""))));
    EXPECT_TRUE(std::isnan(normalized(std::numeric_limits<double>::infinity())));
}

TEST(Angles, IsAngleInRange) {
    EXPECT_TRUE(IsAngleInRange(5.5, 0.5, 0.2));   // a range through 0
    EXPECT_TRUE(IsAngleInRange(5.5, 0.5, 6.0));
    EXPECT_FALSE(IsAngleInRange(5.5, 0.5, 3.0));
    EXPECT_FALSE(IsAngleInRange(0.5, 5.5, 6.0));
    EXPECT_TRUE(IsAngleInRange(0.5, 5.5, 0.5));   // bounds included
    EXPECT_TRUE(IsAngleInRange(0.5, 5.5, 5.5));
    EXPECT_TRUE(IsAngleInRange(1.0, 1.0, 1.0));   // equal bounds: that angle only
    EXPECT_FALSE(IsAngleInRange(1.0, 1.0, 1.1));
}

TEST(Angles, IntersectAngleRanges) {
    struct Case {
        const char* name;
        double s1, e1, s2, e2;
        bool overlap;
        double start, end, length;
    };
    const Case cases[] = {
        {"plain ranges overlapping", 1, 3, 2, 4, true, 2, 3, 1},
        {"plain ranges apart", 1, 2, 3, 4, false, 0, 0, 0},
        {"plain ranges touching", 1, 2, 2, 3, true, 2, 2, 0},
        {"plain inside plain", 1, 4, 2, 3, true, 2, 3, 1},
        {"both wrap", 5, 1, 6, 2, true, 6, 1, kTwoPi - 6 + 1},
        {"first wraps, second reaches its start piece", 5, 1, 4, 5.5, true, 5, 5.5, 0.5},
        {"first wraps, second in its end piece", 5, 1, 0.5, 2, true, 0.5, 1, 0.5},
        {"first wraps, second between its pieces", 5, 1, 2, 4, false, 0, 0, 0},
        {"second wraps, first reaches its start piece", 4, 5.5, 5, 1, true, 5, 5.5, 0.5},
        {"second wraps, first in its end piece", 0.5, 2, 5, 1, true, 0.5, 1, 0.5},
        {"second wraps, first between its pieces", 2, 4, 5, 1, false, 0, 0, 0},
        // A plain range over both pieces of a wrapping one: only the start piece is reported.
        {"plain over both pieces", 5, 1, 0.5, 5.5, true, 5, 5.5, 0.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double start = -1, end = -1, length = -1;
        ASSERT_EQ(IntersectAngleRanges(c.s1, c.e1, c.s2, c.e2, start, end, length), c.overlap);
        if (!c.overlap) {
            EXPECT_EQ(start, -1);  // outputs untouched
            continue;
        }
        EXPECT_DOUBLE_EQ(start, c.start);
        EXPECT_DOUBLE_EQ(end, c.end);
        EXPECT_DOUBLE_EQ(length, c.length);
    }
}

TEST(Angles, SweepThroughAngle) {
    // From 0 to pi/2 the short way passes pi/4; the long way passes pi.
    EXPECT_NEAR(SweepThroughAngle(0, kHalfPi, kPi / 4), kHalfPi, 1e-12);
    EXPECT_NEAR(SweepThroughAngle(0, kHalfPi, kPi), 3 * kHalfPi, 1e-12);
    // Across 0: from 350 to 10 degrees through 0.
    const double deg = cadlib::kRadiansPerDegree;
    EXPECT_NEAR(SweepThroughAngle(350 * deg, 10 * deg, 0.0), 20 * deg, 1e-12);
    EXPECT_NEAR(SweepThroughAngle(350 * deg, 10 * deg, 180 * deg), 340 * deg, 1e-12);
}

}  // namespace
