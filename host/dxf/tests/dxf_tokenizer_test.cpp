// The tokenizer: well-formed groups, and a clear message naming the line for every kind of malformed input.
#include "host/dxf/dxf_tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/dxf/dxf_limits.h"

namespace host::dxf {
namespace {

std::vector<Group> readAll(std::string_view text, std::string* error = nullptr) {
    Tokenizer t(text, "t.dxf");
    std::vector<Group> out;
    Group g;
    for (;;) {
        const TokenResult r = t.next(g);
        if (r == TokenResult::Group) out.push_back(g);
        else {
            if (error) *error = r == TokenResult::Error ? t.error() : "";
            return out;
        }
    }
}

TEST(DxfTokenizer, ReadsCodesAndValuesOfEveryKind) {
    const std::string text =
        "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n 10\r\n1.5e3\r\n 70\r\n  -7\r\n 90\r\n2147483647\r\n160\r\n"
        "-9000000000\r\n  5\r\n1aF\r\n290\r\n1\r\n310\r\n00FFab\r\n  1\r\n  padded text  \r\n";
    std::string err;
    const auto g = readAll(text, &err);
    ASSERT_EQ(err, "");
    ASSERT_EQ(g.size(), 10u);
    EXPECT_EQ(g[0].code, 0);
    EXPECT_EQ(g[0].text, "SECTION");
    EXPECT_EQ(g[0].line, 1u);
    EXPECT_EQ(g[2].real, 1500.0);
    EXPECT_EQ(g[3].integer, -7);
    EXPECT_EQ(g[3].text, "-7");
    EXPECT_EQ(g[4].integer, 2147483647);
    EXPECT_EQ(g[5].integer, -9000000000LL);
    EXPECT_EQ(g[6].kind, GroupKind::Handle);
    EXPECT_EQ(g[6].integer, 0x1AF);
    EXPECT_EQ(g[7].integer, 1);
    EXPECT_EQ(g[8].text, "00FFab");
    EXPECT_EQ(g[9].text, "  padded text  ");  // strings keep their spaces
    EXPECT_EQ(g[9].line, 19u);
}

TEST(DxfTokenizer, AcceptsLfOnlyBomAndFinalEmptyLine) {
    std::string err;
    EXPECT_EQ(readAll("\xEF\xBB\xBF" "0\nEOF\n", &err).size(), 1u);
    EXPECT_EQ(err, "");
    EXPECT_EQ(readAll("0\nEOF\n\n", &err).size(), 1u);
    EXPECT_EQ(err, "");
    EXPECT_EQ(readAll("0\nEOF", &err).size(), 1u);  // no line end after the last value
    EXPECT_EQ(err, "");
    EXPECT_EQ(readAll("", &err).size(), 0u);
    EXPECT_EQ(err, "");
    EXPECT_EQ(readAll("1\n\n", &err)[0].text, "");  // an empty string value
    // Lone CR line ends (old Macintosh files), decided by the first line end: a CR LF file keeps a lone CR inside
    // a value, as it did.
    const auto mac = readAll("0\rSECTION\r2\rENTITIES\r", &err);
    ASSERT_EQ(mac.size(), 2u);
    EXPECT_EQ(mac[1].text, "ENTITIES");
    EXPECT_EQ(mac[1].line, 3u);
    EXPECT_EQ(readAll("1\r\na\rb\r\n", &err)[0].text, "a\rb");
    // A NUL the reader never reaches (after EOF) is no fault of the lines read.
    Tokenizer t(std::string_view("0\nEOF\n\0\x1a", 8), "t");
    Group eof;
    ASSERT_EQ(t.next(eof), TokenResult::Group);
    EXPECT_EQ(t.rest(), std::string_view("\0\x1a", 2));
}

// R12 dimension styles keep a block name in group 5, and some writers a text style's name in DIMSTYLE's 340 or
// leave a reference empty: text in a handle group is answered as text, for the reader to refuse, drop or resolve
// where it stands.
TEST(DxfTokenizer, TextWhereAHandleBelongsIsText) {
    const auto g = readAll("5\nClosedFilled\n5\n\n5\n2F\n340\nStandard\n340\n1G\n341\n\n105\n \n");
    ASSERT_EQ(g.size(), 7u);
    EXPECT_EQ(g[5].kind, GroupKind::String);
    EXPECT_EQ(g[5].text, "");
    EXPECT_EQ(g[6].kind, GroupKind::String);
    EXPECT_EQ(g[0].kind, GroupKind::String);
    EXPECT_EQ(g[1].kind, GroupKind::String);
    EXPECT_EQ(g[2].kind, GroupKind::Handle);
    EXPECT_EQ(g[2].integer, 0x2F);
    EXPECT_EQ(g[3].kind, GroupKind::String);
    EXPECT_EQ(g[4].kind, GroupKind::String);
}

TEST(DxfTokenizer, PushBackGivesTheGroupAgain) {
    Tokenizer t("0\nA\n0\nB\n", "t");
    Group g;
    ASSERT_EQ(t.next(g), TokenResult::Group);
    t.pushBack(g);
    ASSERT_EQ(t.next(g), TokenResult::Group);
    EXPECT_EQ(g.text, "A");
    ASSERT_EQ(t.next(g), TokenResult::Group);
    EXPECT_EQ(g.text, "B");
    EXPECT_EQ(t.next(g), TokenResult::End);
}

struct BadCase {
    const char* name;
    std::string text;
    const char* message;  // the whole message after "t.dxf, "
};

TEST(DxfTokenizer, MalformedInputNamesTheLine) {
    const std::string longLine(limits::kMaxLineBytes + 1, 'x');
    const BadCase cases[] = {
        {"binary", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22), "line 1: binary DXF is not supported; save the drawing as ASCII DXF"},
        {"nul", std::string("0\nSECTION\n2\nHEA\0DER\n", 20), "line 4: NUL byte in the file (is it a binary file?)"},
        {"code not a number", "0\nSECTION\nx9\nA\n", "line 3: group code 'x9' is not a whole number"},
        {"code with fraction", "0\nSECTION\n1.0\nA\n", "line 3: group code '1.0' is not a whole number"},
        {"code out of range", "0\nSECTION\n1072\nA\n", "line 3: group code 1072 is not a DXF group code"},
        {"negative code", "-1\nA\n", "line 1: group code -1 is not a DXF group code"},
        {"undefined code", "85\n1\n", "line 1: group code 85 is not a DXF group code"},
        {"huge code", "99999999999999999999\nA\n", "line 1: group code '99999999999999999999' is not a whole number"},
        {"missing value", "0\nSECTION\n2\n", "line 3: the file ends after group code 2 (its value is missing)"},
        {"real not a number", "10\n1.5x\n", "line 2: '1.5x' is not a real number (value of group code 10)"},
        {"real empty", "40\n\n", "line 2: '' is not a real number (value of group code 40)"},
        {"real nan", "40\nnan\n", "line 2: 'nan' is not a real number (value of group code 40)"},
        {"real inf", "40\n-inf\n", "line 2: '-inf' is not a real number (value of group code 40)"},
        {"real overflow", "40\n1e999\n", "line 2: '1e999' is not a real number (value of group code 40)"},
        {"real with comma", "40\n1,5\n", "line 2: '1,5' is not a real number (value of group code 40)"},
        {"int16 overflow", "70\n32768\n", "line 2: '32768' is not a 16-bit integer (value of group code 70)"},
        {"int16 as real", "70\n1.0\n", "line 2: '1.0' is not a 16-bit integer (value of group code 70)"},
        {"int32 overflow", "90\n2147483648\n", "line 2: '2147483648' is not a 32-bit integer (value of group code 90)"},
        {"bool text", "290\ntrue\n", "line 2: 'true' is not a 16-bit integer (0 or 1) (value of group code 290)"},
        {"handle too long", "330\n12345678901234567\n", "line 2: '12345678901234567' is not a handle (1-16 hexadecimal digits) (value of group code 330)"},
        {"binary odd", "310\nABC\n", "line 2: 'ABC' is not binary data (pairs of hexadecimal digits) (value of group code 310)"},
        {"long value line", "10\n" + longLine + "\n", "line 2: line longer than 1048576 bytes"},
        {"long code line", longLine, "line 1: line longer than 1048576 bytes"},
        {"value quoted short", "10\n" + std::string(60, '7') + "z\n", "line 2: '7777777777777777777777777777777777777777...' is not a real number (value of group code 10)"},
    };
    for (const BadCase& c : cases) {
        std::string err;
        readAll(c.text, &err);
        EXPECT_EQ(err, std::string("t.dxf, ") + c.message) << c.name;
    }
}

TEST(DxfTokenizer, LineNumbersCountFromTheFirstLineWithCrLf) {
    std::string err;
    readAll("0\r\nSECTION\r\n2\r\nENTITIES\r\n10\r\nbad\r\n", &err);
    EXPECT_EQ(err, "t.dxf, line 6: 'bad' is not a real number (value of group code 10)");
}

TEST(DxfTokenizer, ErrorIsStickyAndNothingFollowsIt) {
    Tokenizer t("10\nbad\n0\nEOF\n", "t");
    Group g;
    EXPECT_EQ(t.next(g), TokenResult::Error);
    EXPECT_EQ(t.next(g), TokenResult::Error);
}

}  // namespace
}  // namespace host::dxf
