// Text in DXF files: decoding by version and code page, escapes, and encoding that comes back exactly.
#include "host/dxf/dxf_text.h"

#include <gtest/gtest.h>

#include <string>

namespace host::dxf {
namespace {

std::string encoded(std::string_view utf8) {
    std::string out;
    encodeDxfText(utf8, out);
    return out;
}

TEST(DxfText, EncodingOfAFileFollowsVersionAndCodePage) {
    EXPECT_EQ(textEncodingOf("AC1015", "ANSI_1251"), TextEncoding::CodePage1251);
    EXPECT_EQ(textEncodingOf("AC1015", "ansi_1251"), TextEncoding::CodePage1251);
    EXPECT_EQ(textEncodingOf("AC1018", "ANSI_1252"), TextEncoding::CodePage1252);
    EXPECT_EQ(textEncodingOf("AC1009", "ANSI_1250"), TextEncoding::CodePage1252);
    EXPECT_EQ(textEncodingOf("AC1009", ""), TextEncoding::CodePage1251);
    EXPECT_EQ(textEncodingOf("AC1021", "ANSI_1251"), TextEncoding::Utf8);
    EXPECT_EQ(textEncodingOf("AC1032", "ANSI_1252"), TextEncoding::Utf8);
}

TEST(DxfText, DecodesFileStrings) {
    struct Case {
        const char* name;
        std::string raw;
        TextEncoding enc;
        std::string expected;
    };
    const Case cases[] = {
        {"ascii", "Layer 1", TextEncoding::CodePage1251, "Layer 1"},
        {"cp1251", "\xCF\xF0\xE8\xE2\xE5\xF2", TextEncoding::CodePage1251, "Привет"},
        {"cp1252", "Caf\xE9 \x80", TextEncoding::CodePage1252, "Café €"},
        {"cp1252 undefined byte kept", "\x81", TextEncoding::CodePage1252, "\xC2\x81"},
        {"utf8 in an old file", "Привет", TextEncoding::CodePage1252, "Привет"},
        {"escape", "\\U+041F\\U+0440", TextEncoding::CodePage1252, "Пр"},
        {"escape lower-case hex", "\\U+00e9", TextEncoding::CodePage1252, "é"},
        {"surrogate pair", "\\U+D83D\\U+DE00", TextEncoding::CodePage1251, "\xF0\x9F\x98\x80"},
        {"lone surrogate stays", "\\U+D83Dx", TextEncoding::CodePage1251, "\\U+D83Dx"},
        {"short escape stays", "\\U+41", TextEncoding::CodePage1251, "\\U+41"},
        {"mtext codes stay", "\\PLine\\fArial;", TextEncoding::CodePage1251, "\\PLine\\fArial;"},
        {"escape in utf8 file is text", "\\U+0041", TextEncoding::Utf8, "\\U+0041"},
        {"utf8 file", "Привет", TextEncoding::Utf8, "Привет"},
        {"bad utf8 in utf8 file", "\xE9t\xE9", TextEncoding::Utf8, "été"},
        {"caret line feed", "a^Jb", TextEncoding::CodePage1251, "a\nb"},
        {"caret space", "x^ 2", TextEncoding::CodePage1251, "x^2"},
        {"caret before digit", "x^2", TextEncoding::CodePage1251, "x^2"},
        {"caret at end", "x^", TextEncoding::CodePage1251, "x^"},
        {"escaped backslash", "\\U+005CU+0041", TextEncoding::CodePage1251, "\\U+0041"},
    };
    for (const Case& c : cases) EXPECT_EQ(decodeDxfText(c.raw, c.enc), c.expected) << c.name;
}

TEST(DxfText, EncodesToAsciiThatComesBack) {
    EXPECT_EQ(encoded("Plain text 1.5"), "Plain text 1.5");
    EXPECT_EQ(encoded("Привет"), "\\U+041F\\U+0440\\U+0438\\U+0432\\U+0435\\U+0442");
    EXPECT_EQ(encoded("a\nb\tc"), "a^Jb^Ic");
    EXPECT_EQ(encoded("x^2"), "x^ 2");
    EXPECT_EQ(encoded("\\P\\U+0041"), "\\P\\U+005CU+0041");
    EXPECT_EQ(encoded("\xF0\x9F\x98\x80"), "\\U+D83D\\U+DE00");
    EXPECT_EQ(encoded("\xFF"), "\\U+FFFD");
    const std::string samples[] = {"", "Привет, мир", "a\r\nb", "^^ ^@", "\\U+0041\\U+", "€ 😀 \x7F",
                                   "\\\\U+0041", "tail\\", "  spaces  "};
    for (const std::string& s : samples) {
        const std::string e = encoded(s);
        for (unsigned char c : e) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << s;
        EXPECT_EQ(decodeDxfText(e, TextEncoding::CodePage1251), s) << e;
        EXPECT_EQ(decodeDxfText(e, TextEncoding::CodePage1252), s) << e;
    }
}

}  // namespace
}  // namespace host::dxf
