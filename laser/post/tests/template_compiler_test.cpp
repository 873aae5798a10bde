// The template compiler: tokens of templates, every keyword's number, and the faults it reports.
#include <gtest/gtest.h>

#include "laser/post/template_compiler.h"
#include "laser/post/tests/post_test_support.h"

using namespace post_test;

namespace {

using K = TemplateKeyword;

TemplateToken Key(K keyword) { return {keyword, {}}; }
TemplateToken Lit(std::string text) { return {K::Literal, std::move(text)}; }

class TemplateCompiler : public ::testing::Test {
protected:
    void SetUp() override {
        SetLanguageFlag(0);
        host::ui::clearMessageBoxLog();
    }
};

TEST_F(TemplateCompiler, TemplatesBecomeTheirTokens) {
    const struct {
        std::string text;
        std::vector<TemplateToken> tokens;
    } cases[] = {
        {"<N-CODE><MOTION><X-COORD><Y-COORD><EOB>", {Key(K::NCode), Key(K::Motion), Key(K::XCoord), Key(K::YCoord),
                                                     Key(K::EOB)}},
        {"G<<1>>", {Lit("G<"), Lit("1>")}},  // doubled brackets write one
        {"(A|20)<EOB>", {Lit("(A|20)"), Key(K::EOB)}},  // a bar is text
        {"<SETCUTTINGMODE 5>", {{K::SetCuttingMode, "5"}}},
        {"<SETCUTTINGMODE>", {{K::SetCuttingMode, ""}}},
        {"<13>x<10>", {Key(K::EOB), Lit("x"), Key(K::EOB)}},
        {"M07\r\n<EOB>\r\nM08", {Lit("M07"), Key(K::EOB), Lit("M08")}},  // line breaks are removed
        {"", {}},
        {"plain text", {Lit("plain text")}},
        {"<TRIM-LINE-X><TRIM-LINE-X1>", {Key(K::TrimLineX1), Key(K::TrimLineX1)}},
        // Outside a keyword's brackets ">" is text: a comment "(T>0)" was refused before.
        {"(T>0)<EOB>", {Lit("(T>"), Lit("0)"), Key(K::EOB)}},
        {"A>B", {Lit("A>"), Lit("B")}},
        {"->>-", {Lit("->"), Lit("-")}},
    };
    for (const auto& c : cases) {
        CompiledTemplate compiled;
        EXPECT_EQ(CompileTemplate(c.text, compiled, 1), 0) << c.text;
        EXPECT_EQ(compiled.tokens, c.tokens) << c.text;
    }
    EXPECT_TRUE(MessageBoxTexts().empty());
}

TEST_F(TemplateCompiler, EveryKeywordHasItsNumber) {
    const std::pair<const char*, int> keywords[] = {
        {"EOB", 0},           {"N-CODE", 8},         {"MOTION", 10},        {"MOTION-ALL", 11},
        {"X-COORD", 20},      {"Y-COORD", 21},       {"X-COORD-ALL", 22},   {"Y-COORD-ALL", 23},
        {"X-COORD-ABSOLUTE-ALL", 24}, {"Y-COORD-ABSOLUTE-ALL", 25}, {"ARC-X", 26}, {"ARC-Y", 27},
        {"ARC-R", 28},        {"FEED", 29},          {"ARC-R2", 30},        {"COMP-OFF", 31},
        {"COMP", 32},         {"D-COMP", 33},        {"COMP-ALL", 34},      {"CUT-ON", 40},
        {"CUT-OFF", 41},      {"MATERIAL-NUM", 48},  {"NAME-FILE-PROGRAM", 49}, {"NAME-PROGRAM", 50},
        {"NAME-POSTPROCESSOR", 51}, {"MATERIAL", 52}, {"THIN", 53},         {"FORMAT", 54},
        {"LIST-SIZE-X", 55},  {"LIST-SIZE-Y", 56},   {"THIN.0", 57},        {"THINx10.0", 58},
        {"LIST-SIZE-X.0", 59}, {"LIST-SIZE-Y.0", 60}, {"TIME", 66},         {"DATA", 67},
        {"TRIM-LINE", 70},    {"TRIM-LINE-X", 71},   {"TRIM-LINE-X1", 71},  {"TRIM-LINE-Y1", 72},
        {"TRIM-LINE-X2", 73}, {"TRIM-LINE-Y2", 74},  {"CLAMP", 75},         {"CLAMP1-X", 76},
        {"CLAMP2-X", 77},     {"CLAMP3-X", 78},      {"WJL", 100},          {"13", 0},
        {"10", 0},            {"SETCUTTINGMODE 7", 201},
    };
    for (const auto& [name, number] : keywords) {
        TemplateToken token;
        ASSERT_TRUE(LookUpTemplateKeyword(name, token)) << name;
        EXPECT_EQ(static_cast<int>(token.keyword), number) << name;
    }
    TemplateToken token;
    for (const char* unknown : {"eob", "EOB ", "", "N-CODE2", "THINX10.0", "1"}) {
        EXPECT_FALSE(LookUpTemplateKeyword(unknown, token)) << "'" << unknown << "'";
    }
}

TEST_F(TemplateCompiler, LiteralsAndKeywordCountsHaveNoLimit) {
    CompiledTemplate compiled;
    const std::string longText(5000, 'x');
    ASSERT_EQ(CompileTemplate(longText + "<EOB>", compiled, 0), 0);
    ASSERT_EQ(compiled.tokens.size(), 2u);
    EXPECT_EQ(compiled.tokens[0].text, longText);
    std::string many;
    for (int i = 0; i < 1500; ++i) many += "<EOB>";
    ASSERT_EQ(CompileTemplate(many + "<FEED>", compiled, 0), 0);
    EXPECT_EQ(compiled.tokens.size(), 1501u) << "keywords after the thousandth are keywords too";
    EXPECT_EQ(compiled.tokens.back(), Key(K::Feed));
}

TEST_F(TemplateCompiler, FaultsAreReportedWithTheTemplate) {
    const struct {
        const char* text;
        TemplateFault fault;
        const char* keyword;
        const char* message;
        std::vector<TemplateToken> kept;
    } cases[] = {
        {"G01<FOO><EOB>", TemplateFault::UnknownKeyword, "FOO",
         "\nERROR!!!\nAn unknown keyword <FOO>\n\nin the line:\n\nG01<FOO><EOB>", {Lit("G01")}},
        {"<eob>", TemplateFault::UnknownKeyword, "eob", "\nERROR!!!\nAn unknown keyword <eob>\n\nin the line:\n\n<eob>",
         {}},
        // "<" opens a keyword: the text up to the next ">" is its name.
        {"(A<B)<EOB>", TemplateFault::UnknownKeyword, "B)<EOB",
         "\nERROR!!!\nAn unknown keyword <B)<EOB>\n\nin the line:\n\n(A<B)<EOB>", {Lit("(A")}},
        {"<EOB>M30 <EOB", TemplateFault::UnpairedOpen, "",
         "\nERROR!!!\nA \"<\" without its \">\" (write \"<<\" for the character)\n\nin the line:\n\n<EOB>M30 <EOB",
         {Key(K::EOB)}},
    };
    for (const auto& c : cases) {
        host::ui::clearMessageBoxLog();
        CompiledTemplate compiled;
        TemplateFault fault = TemplateFault::None;
        std::string keyword;
        EXPECT_EQ(CompileTemplate(c.text, compiled, 1, &fault, &keyword), -1) << c.text;
        EXPECT_EQ(fault, c.fault) << c.text;
        EXPECT_EQ(keyword, c.keyword) << c.text;
        EXPECT_EQ(compiled.tokens, c.kept) << c.text;
        ASSERT_EQ(host::ui::messageBoxLog().size(), 1u);
        EXPECT_EQ(host::ui::messageBoxLog()[0].text, c.message);
        EXPECT_EQ(host::ui::messageBoxLog()[0].style & host::ui::MB_ICONMASK, host::ui::MB_ICONERROR);
    }
    host::ui::clearMessageBoxLog();
    CompiledTemplate compiled;
    EXPECT_EQ(CompileTemplate("<FOO>", compiled, 0), -1);
    EXPECT_TRUE(MessageBoxTexts().empty()) << "silent without the report flag";
    SetLanguageFlag(1);
    EXPECT_EQ(CompileTemplate("<FOO>", compiled, 1), -1);
    SetLanguageFlag(0);
    EXPECT_EQ(MessageBoxTexts(),
              std::vector<std::string>{"\nОШИБКА!!!\nНеизвестное ключевое слово <FOO>\n\nв линии:\n\n<FOO>"});
}

}  // namespace
