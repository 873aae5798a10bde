// Settings texts: the size of a value in the registry's two-byte characters, and the C library's reading of
// numbers.
#include <gtest/gtest.h>

#include <string>

#include "laser/settings/settings_text.h"

namespace {

TEST(SettingsText, UnitsOfTheValueBuffer) {
    EXPECT_EQ(SettingTextUnits(""), 0u);
    EXPECT_EQ(SettingTextUnits("abc"), 3u);
    EXPECT_EQ(SettingTextUnits("ЖЖ"), 2u);                 // two bytes each, one unit each
    EXPECT_EQ(SettingTextUnits("\xF0\x9F\x94\xA5"), 2u);   // beyond U+FFFF: a surrogate pair
    EXPECT_FALSE(FitSettingText(std::string(148, 'a') + "\xF0\x9F\x94\xA5").has_value());
    EXPECT_TRUE(FitSettingText(std::string(147, 'a') + "\xF0\x9F\x94\xA5").has_value());
    EXPECT_FALSE(FitSettingText(std::nullopt).has_value());
}

TEST(SettingsText, Integers) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"", 0},          {"12", 12},       {"  -4", -4},    {"+7", 7},
        {"7.9", 7},       {"x1", 0},        {"3 4", 3},      {"2147483648", 2147483647},
        {"-2147483649", -2147483647 - 1},   {"99999999999999999999", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(SettingTextToInteger(c.text), c.value) << c.text;
}

TEST(SettingsText, PointHome) {
    EXPECT_EQ(SettingTextToPointHome(""), (std::array<double, 3>{0, 0, 0}));
    EXPECT_EQ(SettingTextToPointHome("10 20"), (std::array<double, 3>{10, 20, 10}));
    EXPECT_EQ(SettingTextToPointHome("1 2 3 4"), (std::array<double, 3>{1, 2, 3}));
    // A second blank right after the first: y skips it, z starts at it.
    EXPECT_EQ(SettingTextToPointHome("1  2"), (std::array<double, 3>{1, 2, 2}));
    EXPECT_EQ(SettingTextToPointHome("1 x 3"), (std::array<double, 3>{1, 0, 3}));
    EXPECT_EQ(PointHomeToSettingText({1, -2.5, 0}), "1.000000 -2.500000 0.000000");
}

}  // namespace
