// UTF-8 validation and counting, CP1251 and UTF-16 conversions.
#include "host/sys/encoding.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace host::sys {
namespace {

using namespace std::string_literals;

struct Utf8Case {
    const char* what;
    std::string bytes;
    bool valid;
    std::size_t characters;
};

TEST(Utf8, ValidityAndCharacterCount) {
    const Utf8Case cases[] = {
        {"empty", "", true, 0},
        {"ascii", "abc", true, 3},
        {"cyrillic", "Привет", true, 6},
        {"three-byte euro", "\xE2\x82\xAC", true, 1},
        {"four-byte emoji", "\xF0\x9F\x98\x80", true, 1},
        {"embedded NUL", "a\0b"s, true, 3},
        {"stray continuation", "a\x80z", false, 3},
        {"truncated two-byte at end", "a\xD0", false, 2},
        {"truncated three-byte", "\xE2\x82z", false, 3},
        {"overlong slash", "\xC0\xAF", false, 2},
        {"overlong three-byte", "\xE0\x80\xAF", false, 3},
        {"surrogate", "\xED\xA0\x80", false, 3},
        {"above U+10FFFF", "\xF4\x90\x80\x80", false, 4},
        {"CP1251 text", "\xCF\xF0\xE8", false, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(isValidUtf8(c.bytes), c.valid);
        EXPECT_EQ(utf8CharacterCount(c.bytes), c.characters);
        EXPECT_TRUE(isValidUtf8(repairUtf8(c.bytes)));
        EXPECT_EQ(utf8CharacterCount(repairUtf8(c.bytes)), c.characters);
        if (c.valid) {
            EXPECT_EQ(repairUtf8(c.bytes), c.bytes);
        }
    }
}

TEST(Utf8, PrefixNeverSplitsACharacter) {
    const std::string text =
        "Жa\xE2\x82\xAC"
        "b";  // Ж (2 bytes) a € (3 bytes) b
    EXPECT_EQ(utf8Prefix(text, 0), "");
    EXPECT_EQ(utf8Prefix(text, 1), "Ж");
    EXPECT_EQ(utf8Prefix(text, 3), "Жa\xE2\x82\xAC");
    EXPECT_EQ(utf8Prefix(text, 99), text);
}

// The code page table against glibc's own converter, byte by byte: an independent reading of the same table.
TEST(Cp1251, EveryByteMatchesTheSystemConverter) {
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    for (int b = 1; b < 256; ++b) {
        char in[1] = {static_cast<char>(b)};
        char out[8] = {};
        char* inPtr = in;
        char* outPtr = out;
        std::size_t inLeft = 1, outLeft = sizeof out;
        const bool converted = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        const std::string ours = cp1251ToUtf8(std::string(1, static_cast<char>(b)));
        if (converted) {
            EXPECT_EQ(ours, std::string(out, outPtr)) << "byte 0x" << std::hex << b;
            EXPECT_EQ(utf8ToCp1251(ours), std::string(1, static_cast<char>(b))) << "byte 0x" << std::hex << b;
        } else {
            EXPECT_EQ(b, 0x98) << "only 0x98 is undefined";
            EXPECT_EQ(ours, "\xEF\xBF\xBD");
        }
    }
    iconv_close(cd);
}

TEST(Cp1251, RoundTripOfCyrillicText) {
    const std::string utf8 = "Сталь 09Г2С, лист № 5 — «ёЁ»";
    const std::string cp = utf8ToCp1251(utf8);
    EXPECT_EQ(cp.size(), utf8CharacterCount(utf8));
    EXPECT_EQ(cp1251ToUtf8(cp), utf8);
}

TEST(Cp1251, UnmappableAndMalformedBecomeTheReplacement) {
    EXPECT_EQ(utf8ToCp1251("a\xE4\xB8\xAD"
                           "b"),
              "a?b");                                  // a CJK character
    EXPECT_EQ(utf8ToCp1251("a\xD0z", '_'), "a_z");     // malformed byte
    EXPECT_EQ(utf8ToCp1251("\xEF\xBF\xBD"), "?");      // U+FFFD never maps to the undefined slot
    EXPECT_EQ(utf8ToCp1251("\xF0\x9F\x98\x80"), "?");  // one character, one replacement
}

TEST(Utf16, SurrogatePairsAndUnpairedUnits) {
    EXPECT_EQ(utf8ToUtf16("A\xD0\x96\xF0\x9F\x98\x80"), (std::u16string{u'A', u'\u0416', 0xD83D, 0xDE00}));
    EXPECT_EQ(utf16ToUtf8(std::u16string{u'A', u'\u0416', 0xD83D, 0xDE00}), "A\xD0\x96\xF0\x9F\x98\x80");
    EXPECT_EQ(utf16ToUtf8(std::u16string{0xD83D, u'x'}), "\xEF\xBF\xBDx");
    EXPECT_EQ(utf16ToUtf8(std::u16string{0xDE00}), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace host::sys
