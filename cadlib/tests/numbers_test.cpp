// Unit conversion, areas, grid rounding and hexadecimal text.
#include "cadlib/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "cadlib/angles.h"

namespace {

TEST(Numbers, ConvertUnitsBetweenMillimetresAndInches) {
    struct Case {
        int from, to;
        double value, expected;
    };
    const Case cases[] = {
        {kUnitInches, kUnitInches, 7.5, 7.5},
        {kUnitMillimetres, kUnitMillimetres, 7.5, 7.5},
        {kUnitMillimetres, kUnitInches, 25.4, 1.0},
        {kUnitInches, kUnitMillimetres, 1.0, 25.4},
        {kUnitInches, kUnitMillimetres, 2.0, 50.8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " -> " + std::to_string(c.to));
        EXPECT_DOUBLE_EQ(ConvertUnits(c.from, c.to, c.value), c.expected);
    }
}

TEST(Numbers, AreasDistancesAndBulgeRadius) {
    EXPECT_DOUBLE_EQ(HalfProduct(3, 4), 6.0);
    EXPECT_DOUBLE_EQ(CircleArea(2), 4 * cadlib::kPi);
    EXPECT_DOUBLE_EQ(Distance2d(1, 1, 4, 5), 5.0);
    // A semicircle has bulge 1: its radius is the half chord.
    EXPECT_DOUBLE_EQ(BulgeRadius(1.0, 5.0), 5.0);
    EXPECT_DOUBLE_EQ(BulgeRadius(-1.0, 5.0), -5.0);
    // A straight piece has no radius; the division by the bulge is guarded.
    EXPECT_EQ(BulgeRadius(0.0, 5.0), 0.0);
}

TEST(Numbers, PiIsFourTimesTheArcTangentOfOne) {
    EXPECT_EQ(cadlib::kPi, 4.0 * std::atan(1.0));
    EXPECT_EQ(cadlib::kTwoPi, 2.0 * cadlib::kPi);
    EXPECT_EQ(cadlib::kRadiansPerDegree, cadlib::kPi / 180.0);
}

TEST(Numbers, RoundToFractionRoundsHalfUpOnTheGrid) {
    struct Case {
        double v;
        long long n;
        double expected;
    };
    const Case cases[] = {
        {1.23456, 100, 1.23},
        {1.235, 1000, 1.235},
        {2.5, 1, 3.0},
        {0.125, 4, 0.25},    // exactly half a step goes up
        {-2.5, 1, -2.0},     // truncation toward zero after adding 0.5
        {-2.7, 1, -2.0},
        {1.000004, 100000, 1.0},
        {1.000006, 100000, 1.00001},
        {1e300, 100000, 1e300},  // beyond the 64-bit range: no finer grid, unchanged
        {3.7, 0, 0.0},           // no grid: the division is guarded
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.v);
        EXPECT_DOUBLE_EQ(RoundToFraction(c.v, c.n), c.expected);
    }
    EXPECT_TRUE(std::isnan(RoundToFraction(std::nan(""), 10)));
}

TEST(Numbers, HexTextToNumber) {
    struct Case {
        const char* text;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"", 0},
        {"0", 0},
        {"1F", 0x1F},
        {"1f", 0x1F},
        {"0x1A2b", 0x1A2B},
        {"0X10", 0x10},
        {"FFFFFFFF", 0xFFFFFFFFu},
        {"123456789", 0x23456789u},  // wraps at 32 bits
        {"12G4", 0x12},              // a character that is no digit ends the number
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(HexTextToNumber(c.text), c.expected);
    }
}

TEST(Numbers, CopyPointCopiesAllThreeCoordinates) {
    host::ge::Point3d target{9, 9, 9};
    CopyPoint3d({1, 2, 3}, target);
    EXPECT_EQ(target, host::ge::Point3d(1, 2, 3));
    CopyPoint({4, 5, 6}, target);
    EXPECT_EQ(target, host::ge::Point3d(4, 5, 6));
}

}  // namespace
