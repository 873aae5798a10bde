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
    struct Case {
        const char* version;
        const char* page;
        bool utf8, known;
        const char* name;
    };
    const Case cases[] = {
        {"AC1015", "ANSI_1251", false, true, "ANSI_1251"}, {"AC1015", "ansi_1250", false, true, "ANSI_1250"},
        {"AC1009", "", false, true, "ANSI_1252"},          {"AC1009", "dos866", false, true, "DOS866"},
        {"AC1015", "ANSI_932", false, true, "ANSI_932"},   {"AC1015", "ISO8859-2", false, true, "ISO8859_2"},
        {"AC1021", "ANSI_1251", true, true, "ANSI_1251"},  {"AC1032", "ANSI_1252", true, true, "ANSI_1252"},
        {"AC1015", "ANSI_9999", false, false, "ANSI_9999"}, {"AC1015", "KLINGON", false, false, "KLINGON"},
    };
    for (const Case& c : cases) {
        const TextEncoding e = TextEncoding::of(c.version, c.page);
        EXPECT_EQ(e.isUtf8(), c.utf8) << c.version << " " << c.page;
        EXPECT_EQ(e.isKnown(), c.known) << c.page;
        EXPECT_EQ(e.codePage(), c.name) << c.page;
    }
}

TEST(DxfText, DecodesFileStrings) {
    const TextEncoding cp1251 = TextEncoding::of("AC1015", "ANSI_1251"), cp1252 = TextEncoding::of("AC1015", "");
    const TextEncoding utf8 = TextEncoding::of("AC1021", "ANSI_1252");
    struct Case {
        const char* name;
        std::string raw;
        TextEncoding enc;
        std::string expected;
    };
    const Case cases[] = {
        {"ascii", "Layer 1", cp1251, "Layer 1"},
        {"cp1251", "\xCF\xF0\xE8\xE2\xE5\xF2", cp1251, "Привет"},
        {"cp1252", "Caf\xE9 \x80", cp1252, "Café €"},
        {"cp1252 undefined byte kept", "\x81", cp1252, "\xC2\x81"},
        {"cp1251 undefined byte kept", "\x98", cp1251, "\xC2\x98"},
        {"cp1250", "\xBF\xF3\xB3\xE6 \xA3\xF3\x64\x9F", TextEncoding::of("AC1015", "ANSI_1250"), "żółć Łódź"},
        {"cp1253", "\xC1\xE8\xDE\xED\xE1", TextEncoding::of("AC1015", "ANSI_1253"), "Αθήνα"},
        {"dos866", "\x84\xA5\xE2\xA0\xAB\xEC \xFC" "1", TextEncoding::of("AC1009", "DOS866"), "Деталь №1"},
        {"dos850", "\x9A\x81", TextEncoding::of("AC1009", "DOS850"), "Üü"},
        {"shift-jis", "\x95\x94\x95\x69 \xB1", TextEncoding::of("AC1015", "ANSI_932"), "部品 ｱ"},
        {"shift-jis cut lead byte", "a\x95", TextEncoding::of("AC1015", "ANSI_932"), "a\xC2\x95"},
        {"gbk", "\xD6\xD0\xCE\xC4", TextEncoding::of("AC1015", "ANSI_936"), "中文"},
        {"unknown page read as cp1252", "Caf\xE9", TextEncoding::of("AC1015", "ANSI_9999"), "Café"},
        {"utf8 in an old file", "Привет", cp1252, "Привет"},
        {"escape", "\\U+041F\\U+0440", cp1252, "Пр"},
        {"escape lower-case hex", "\\U+00e9", cp1252, "é"},
        {"surrogate pair", "\\U+D83D\\U+DE00", cp1251, "\xF0\x9F\x98\x80"},
        {"lone surrogate stays", "\\U+D83Dx", cp1251, "\\U+D83Dx"},
        {"short escape stays", "\\U+41", cp1251, "\\U+41"},
        {"mtext codes stay", "\\PLine\\fArial;", cp1251, "\\PLine\\fArial;"},
        {"escape in utf8 file", "\\U+00D8 10", utf8, "Ø 10"},
        {"utf8 file", "Привет", utf8, "Привет"},
        {"bad utf8 in utf8 file", "\xE9t\xE9", utf8, "été"},
        {"caret line feed", "a^Jb", cp1251, "a\nb"},
        {"caret space", "x^ 2", cp1251, "x^2"},
        {"caret before digit", "x^2", cp1251, "x^2"},
        {"caret at end", "x^", cp1251, "x^"},
        {"escaped backslash", "\\U+005CU+0041", cp1251, "\\U+0041"},
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
        for (const char* page : {"ANSI_1251", "ANSI_1252", "ANSI_932", "DOS437"})
            EXPECT_EQ(decodeDxfText(e, TextEncoding::of("AC1015", page)), s) << e << " " << page;
    }
}

// A character the file's code page has goes out in its bytes (a reader that checks names against the page refused
// "BEMA\U+00DFUNG"); one it lacks is escaped; bytes that would read back as UTF-8 are escaped whole.
TEST(DxfText, EncodesInTheCodePageWhatItHas) {
    struct Case {
        const char* page;
        std::string utf8;
        std::string expected;
    };
    const Case cases[] = {
        {"ANSI_1252", "BEMAßUNG", "BEMA\xDFUNG"},
        {"ANSI_1252", "Ø 10 — ż^", "\xD8 10 \x97 \\U+017C^ "},
        {"ANSI_1251", "Деталь №1", "\xC4\xE5\xF2\xE0\xEB\xFC \xB9" "1"},
        {"ANSI_1250", "Łódź", "\xA3\xF3" "d\x9F"},
        {"ANSI_932", "部品 ｱ", "\x95\x94\x95\x69 \xB1"},
        {"DOS866", "Деталь", "\x84\xA5\xE2\xA0\xAB\xEC"},
        // "Ã©" in ANSI_1252 is C3 A9, which reads back as the UTF-8 of "é": escaped.
        {"ANSI_1252", "Ã©", "\\U+00C3\\U+00A9"},
        {"UTF8", "Maß", "Ma\\U+00DF"},
        {"KLINGON", "Maß", "Ma\\U+00DF"},
    };
    for (const Case& c : cases) {
        const TextEncoding page = TextEncoding::of("AC1015", c.page);
        std::string out;
        encodeDxfText(c.utf8, out, &page);
        EXPECT_EQ(out, c.expected) << c.page << " " << c.utf8;
        EXPECT_EQ(decodeDxfText(out, page), c.utf8) << c.page << " " << c.utf8;
    }
}

}  // namespace
}  // namespace host::dxf
