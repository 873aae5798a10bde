// Case mapping and case-insensitive comparison for ASCII and Cyrillic.
#include "host/sys/text_case.h"

#include <gtest/gtest.h>

namespace host::sys {
namespace {

TEST(TextCase, UpperAndLower) {
    struct Case {
        const char* lower;
        const char* upper;
    };
    const Case cases[] = {
        {"nesing_quality", "NESING_QUALITY"},
        {"сталь 09г2с", "СТАЛЬ 09Г2С"},
        {"ёжик ђ џ ѐ", "ЁЖИК Ђ Џ Ѐ"},  // U+0450..U+045F pair with U+0400..U+040F
        {"ґ ѣ ӂ ӏ ԯ", "Ґ Ѣ Ӂ Ӏ Ԯ"},  // the paired letters from U+0460 on, and the odd ones
        {"straße é", "STRAßE é"},  // letters beyond ASCII and Cyrillic are left alone
        {"123 -_.", "123 -_."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(upperCase(c.lower), c.upper) << c.lower;
        EXPECT_EQ(lowerCase(c.upper), c.lower) << c.upper;
    }
    EXPECT_EQ(upperCase("a\xFFz\xD0"), "A\xFFZ\xD0");  // malformed bytes pass through
}

TEST(TextCase, CompareIgnoresCase) {
    EXPECT_TRUE(equalsNoCase("Continuous", "CONTINUOUS"));
    EXPECT_TRUE(equalsNoCase("Лист", "ЛИСТ"));
    EXPECT_TRUE(equalsNoCase("", ""));
    EXPECT_FALSE(equalsNoCase("Лист", "Листы"));
    EXPECT_FALSE(equalsNoCase("e", "ё"));
    EXPECT_EQ(compareNoCase("abc", "ABD"), std::strong_ordering::less);
    EXPECT_EQ(compareNoCase("b", "A"), std::strong_ordering::greater);
    EXPECT_EQ(compareNoCase("ab", "AB c"), std::strong_ordering::less);  // a prefix is less
    EXPECT_EQ(compareNoCase("я", "Z"), std::strong_ordering::greater);   // by code point after upper-casing
    EXPECT_EQ(compareNoCase("a\xFF", "A\xFF"), std::strong_ordering::equal);
    EXPECT_EQ(compareNoCase("a\xFE", "a\xFF"), std::strong_ordering::less);
}

}  // namespace
}  // namespace host::sys
