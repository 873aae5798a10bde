// Numbers in DXF text: strict whole-text parsing, and written values that read back bit for bit.
#include "host/dxf/dxf_numbers.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace host::dxf {
namespace {

std::string real(double v) {
    char buf[kNumberTextSize];
    return std::string(buf, formatReal(v, buf));
}

std::string degrees(double radians) {
    char buf[kNumberTextSize];
    return std::string(buf, formatDegrees(radians, buf));
}

TEST(DxfNumbers, RealsAreWrittenShortAndAsReals) {
    EXPECT_EQ(real(0.0), "0.0");
    EXPECT_EQ(real(-0.0), "-0.0");
    EXPECT_EQ(real(1.0), "1.0");
    EXPECT_EQ(real(-250.0), "-250.0");
    EXPECT_EQ(real(0.1), "0.1");
    EXPECT_EQ(real(1e20), "1e+20");
    EXPECT_EQ(real(-1e20), "-1e+20");
    EXPECT_EQ(real(1.0 / 3.0), "0.3333333333333333");
    bool finite = true;
    char buf[kNumberTextSize];
    EXPECT_EQ(std::string(buf, formatReal(std::nan(""), buf, &finite)), "0.0");
    EXPECT_FALSE(finite);
}

// Written text read back gives the same bits, for random values across the whole range and for the awkward ones.
TEST(DxfNumbers, RealsRoundTripBitForBit) {
    std::mt19937_64 rng(20240611);
    std::vector<double> values = {std::numeric_limits<double>::min(), std::numeric_limits<double>::max(),
                                  std::numeric_limits<double>::denorm_min(), -0.0, 5e-324, 0.1 + 0.2,
                                  1e15 + 0.3, 123456789012345678.0};
    for (int i = 0; i < 20000; ++i) {
        double v;
        do v = std::bit_cast<double>(rng());
        while (!std::isfinite(v));
        values.push_back(v);
        values.push_back(std::uniform_real_distribution<double>(-1e4, 1e4)(rng));
    }
    for (double v : values) {
        const auto back = parseReal(real(v));
        ASSERT_TRUE(back) << real(v);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(*back), std::bit_cast<std::uint64_t>(v)) << real(v);
    }
}

// Radians written as degrees come back as the same radians, including the values whose nearest degree double
// falls between two radian doubles.
TEST(DxfNumbers, AnglesRoundTripThroughDegreesBitForBit) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> dist(-20.0, 20.0);
    int longForms = 0;
    for (int i = 0; i < 50000; ++i) {
        const double r = dist(rng);
        const std::string text = degrees(r);
        if (text.size() > 20) ++longForms;
        const auto back = radiansFromDegrees(text);
        ASSERT_TRUE(back) << text;
        ASSERT_EQ(*back, r) << text;
    }
    EXPECT_GT(longForms, 0);  // the long double path was exercised
    EXPECT_EQ(degrees(M_PI / 2), "90.0");
    EXPECT_EQ(degrees(M_PI), "180.0");
    EXPECT_EQ(degrees(0.0), "0.0");
    EXPECT_EQ(*radiansFromDegrees("90"), M_PI / 2);
    EXPECT_EQ(*radiansFromDegrees("180.0"), M_PI);
}

TEST(DxfNumbers, StrictParsing) {
    struct Case {
        const char* text;
        std::optional<double> expected;
    };
    const Case reals[] = {
        {"1", 1.0},        {"  -2.5  ", -2.5},    {"+3", 3.0},       {"1e3", 1000.0},   {".5", 0.5},
        {"\t7\t", 7.0},    {"", std::nullopt},    {" ", std::nullopt}, {"1.5.2", std::nullopt},
        {"1,5", std::nullopt}, {"0x10", std::nullopt}, {"++1", std::nullopt}, {"+-1", std::nullopt},
        {"inf", std::nullopt}, {"nan", std::nullopt}, {"1e400", std::nullopt}, {"1 2", std::nullopt},
        {"1.#QNAN", std::nullopt},
    };
    for (const Case& c : reals) EXPECT_EQ(parseReal(c.text), c.expected) << c.text;

    EXPECT_EQ(parseInteger("32767", -32768, 32767), 32767);
    EXPECT_EQ(parseInteger("32768", -32768, 32767), std::nullopt);
    EXPECT_EQ(parseInteger(" -32768 ", -32768, 32767), -32768);
    EXPECT_EQ(parseInteger("1.0", -10, 10), std::nullopt);
    EXPECT_EQ(parseInteger("", -10, 10), std::nullopt);
    EXPECT_EQ(parseInteger("99999999999999999999", INT64_MIN, INT64_MAX), std::nullopt);
}

TEST(DxfNumbers, HexHandles) {
    char buf[kNumberTextSize];
    EXPECT_EQ(std::string(buf, formatHex(0, buf)), "0");
    EXPECT_EQ(std::string(buf, formatHex(0x1a2b, buf)), "1A2B");
    EXPECT_EQ(std::string(buf, formatHex(UINT64_MAX, buf)), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(parseHex("ffffffffffffffff"), UINT64_MAX);
    EXPECT_EQ(parseHex(" 1A "), 0x1Au);
    EXPECT_EQ(parseHex("10000000000000000"), std::nullopt);
    EXPECT_EQ(parseHex("-1"), std::nullopt);
    EXPECT_EQ(parseHex(""), std::nullopt);
}

}  // namespace
}  // namespace host::dxf
