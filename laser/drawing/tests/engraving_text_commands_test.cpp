// Engraving text: characters from glyph drawings, placed along the line by their widths, gaps and blanks, at the
// asked height and angle, as plain lines on the engraving layer.
#include "laser/drawing/engraving_text_commands.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "cadlib/host_variables.h"
#include "cadlib/layers.h"
#include "host/ed/sysvars.h"
#include "host/sys/folders.h"
#include "laser/drawing/tests/drawing_commands_fixture.h"

namespace {

namespace fs = std::filesystem;
using host::db::ObjectId;
using host::ge::Point3d;

// A glyph drawing of lines on "EngraveLine" (R12 DXF), from (x0,y0,x1,y1) rows.
void WriteGlyph(const fs::path& file, const std::vector<std::array<double, 4>>& lines) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file);
    out << "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
    for (const auto& l : lines) {
        out << "0\nLINE\n8\nEngraveLine\n10\n" << l[0] << "\n20\n" << l[1] << "\n30\n0\n11\n" << l[2] << "\n21\n"
            << l[3] << "\n31\n0\n";
    }
    out << "0\nENDSEC\n0\nEOF\n";
}

class EngravingTextTest : public drawing_testing::PreparedDrawingTest {
protected:
    void SetUp() override {
        PreparedDrawingTest::SetUp();
        InsertTextValues() = {};
        InsertText2Values() = {};
        // A case table starts over with SetUp: the folder found at the very start is the one given back.
        if (!installFolder_) installFolder_ = settings().DirInstall;
        fonts_ = fs::temp_directory_path() / ("engraving_text_test_" + std::to_string(::getpid()));
        // "A" is 6 wide and 10 high; the Simplex "A" is a bar 4 wide.
        WriteGlyph(fonts_ / "Fonts" / "Arial" / "0041.dxf", {{0, 0, 3, 10}, {3, 10, 6, 0}});
        WriteGlyph(fonts_ / "Fonts" / "Simplex" / "S0041.dxf", {{0, 0, 4, 0}});
        settings().DirInstall = fonts_.string();
    }
    void TearDown() override {
        if (installFolder_) settings().DirInstall = *installFolder_;
        fs::remove_all(fonts_);
        InsertTextValues() = {};
        InsertText2Values() = {};
        PreparedDrawingTest::TearDown();
    }

public:
    // The boxes of the glyphs drawn, in the order they were drawn: an explode appends a glyph's lines together, so
    // each run of `linesPerGlyph` lines is one glyph.
    std::vector<host::db::Extents> GlyphBoxes(std::size_t linesPerGlyph) {
        std::vector<host::db::Extents> boxes;
        const std::vector<ObjectId> lines = Entities("LINE", "EngraveLine");
        for (std::size_t i = 0; i + linesPerGlyph <= lines.size(); i += linesPerGlyph) {
            host::db::Extents box = *Open<host::db::Entity>(lines[i])->geomExtents();
            for (std::size_t k = 1; k < linesPerGlyph; ++k) {
                box.add(*Open<host::db::Entity>(lines[i + k])->geomExtents());
            }
            boxes.push_back(box);
        }
        return boxes;
    }
    std::size_t References() {
        std::size_t n = 0;
        for (const ObjectId id : ModelSpace()) n += Open<host::db::Entity>(id)->dxfName() == std::string("INSERT");
        return n;
    }

private:
    std::optional<std::string> installFolder_;
    fs::path fonts_;
};

TEST_F(EngravingTextTest, GlyphsAdvanceByWidthGapAndBlank) {
    struct Case {
        const char* text;
        std::vector<double> starts;  // x of each glyph's left edge, at height 5 and ratio 1
    };
    const Case cases[] = {
        // A glyph advances 6 x 0.5 + 1.5, a blank 2.5.
        {"A A", {0.0, 7.0}},
        {"AA", {0.0, 4.5}},
        // No glyph drawing for Z: it is left out and the next character closes up.
        {"AZA", {0.0, 4.5}},
        // A no-break space is a blank too.
        {"A\u00A0A", {0.0, 7.0}},
    };
    for (const Case& c : cases) {
        SetUp();
        Answer({"5", "", "0,0", "", c.text, ""});
        Run("InsertText");
        const auto boxes = GlyphBoxes(2);
        ASSERT_EQ(boxes.size(), c.starts.size()) << c.text << Transcript();
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            EXPECT_NEAR(boxes[i].min.x, c.starts[i], 1e-9) << c.text << " glyph " << i;
            EXPECT_NEAR(boxes[i].max.x - boxes[i].min.x, 3.0, 1e-9) << c.text;
            EXPECT_NEAR(boxes[i].max.y, 5.0, 1e-9) << c.text;
        }
        EXPECT_EQ(References(), 0u) << c.text;
        TearDown();
    }
}

TEST_F(EngravingTextTest, EachCommandOffersWhatItWasGivenLastAndKeepsItsOwnValues) {
    Answer({"", "", "0,0", "", ""});
    Run("InsertText");
    EXPECT_EQ(drawing_testing::Count(Transcript(), "Enter the height of the text [10.0]: "), 1u) << Transcript();
    EXPECT_EQ(drawing_testing::Count(Transcript(), "Distance ratio between text characters [1.0]: "), 1u);
    EXPECT_EQ(drawing_testing::Count(Transcript(), "The angle of rotation of text [0.00]: "), 1u);

    Answer({"5", "2", "0,0", "45", ""});
    Run("InsertText");
    host::ed::transcript().clear();
    Answer({"", "", "0,0", "", ""});
    Run("InsertText");
    EXPECT_EQ(drawing_testing::Count(Transcript(), "[5.0]: "), 1u) << Transcript();
    EXPECT_EQ(drawing_testing::Count(Transcript(), "characters [2.0]: "), 1u) << Transcript();
    EXPECT_EQ(drawing_testing::Count(Transcript(), "text [45.00]: "), 1u) << Transcript();

    // InsertText2 has values of its own, and its glyphs from the Simplex folder.
    host::ed::transcript().clear();
    Answer({"", "", "0,0", "", "A", ""});
    Run("InsertText2");
    EXPECT_EQ(drawing_testing::Count(Transcript(), "[10.0]: "), 1u) << Transcript();
    const auto bars = Entities("LINE", "EngraveLine");
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_NEAR(Open<host::db::Entity>(bars[0])->geomExtents()->max.x, 4.0, 1e-9);
    EXPECT_EQ(InsertTextValues().height, 5.0);
    EXPECT_EQ(InsertText2Values().height, 10.0);
}

TEST_F(EngravingTextTest, AtNinetyDegreesCharactersGoUpAndTheNextLineStartsToTheRight) {
    Answer({"5", "", "0,0", "90", "AA", "A", ""});
    Run("InsertText");
    const auto boxes = GlyphBoxes(2);
    ASSERT_EQ(boxes.size(), 3u) << Transcript();
    // Turned by 90 degrees the glyph's base runs up the y axis and its height points to -x.
    EXPECT_NEAR(boxes[0].min.y, 0.0, 1e-9);
    EXPECT_NEAR(boxes[0].max.x, 0.0, 1e-9);
    EXPECT_NEAR(boxes[1].min.y, 4.5, 1e-9);
    EXPECT_NEAR(boxes[1].max.x, 0.0, 1e-9);
    EXPECT_NEAR(boxes[2].min.y, 0.0, 1e-9);
    EXPECT_NEAR(boxes[2].max.x, 7.0, 1e-9) << "1.4 x 5 to the right of the first line's start";
}

// A height of 0 used to reach the host's insert as scale 0, and the explode after the refused insert took
// whatever entity was drawn last; a height of 1e300 made glyphs that are not finite, and the drawing could no longer
// be saved; positions were written with five digits, so glyphs far out shifted.
TEST_F(EngravingTextTest, HeightOutOfRangeIsAskedAgainAndPositionsKeepFullPrecision) {
    const ObjectId circle = Circle({-50, -50, 0}, 5, "0");
    Answer({"0", "-2", "1e300", "1000000.5", "5", "", "12345.678901,0.000123", "", "AA", ""});
    Run("InsertText");
    const std::string text = Transcript();
    EXPECT_EQ(drawing_testing::Count(text, "The height of the text must be greater than 0 and at most 1e+06."), 4u)
        << text;
    EXPECT_EQ(drawing_testing::Count(text, "Enter the height of the text [10.0]: "), 5u) << text;
    EXPECT_TRUE(Open<host::db::Entity>(circle)) << "nothing else was exploded or changed";
    const auto boxes = GlyphBoxes(2);
    ASSERT_EQ(boxes.size(), 2u) << text;
    EXPECT_NEAR(boxes[0].min.x, 12345.678901, 1e-9);
    EXPECT_NEAR(boxes[0].min.y, 0.000123, 1e-12);
    EXPECT_NEAR(boxes[1].min.x, 12345.678901 + 4.5, 1e-9);
    EXPECT_EQ(InsertTextValues().height, 5.0);
}

// A character without a glyph drawing used to be dropped without a word ("A中B" drew "AB"), and with a wrong
// installation folder the command drew nothing and said nothing.
TEST_F(EngravingTextTest, CharactersWithoutAGlyphDrawingAreNamedAndAMissingFolderIsTold) {
    Answer({"5", "", "0,0", "", "A中Z中 A😀", "AA", ""});
    Run("InsertText");
    EXPECT_EQ(GlyphBoxes(2).size(), 4u) << Transcript();
    const std::string text = Transcript();
    EXPECT_EQ(drawing_testing::Count(text, "Not drawn, there is no glyph drawing for them in "), 1u)
        << "the second line is whole\n" << text;
    EXPECT_NE(text.find("Fonts/Arial/: 中 (U+4E2D), Z (U+005A), 😀 (U+1F600)"), std::string::npos) << text;

    settings().DirInstall = "/no/such/installation";
    SetLanguageFlag(1);
    host::ed::transcript().clear();
    Answer({"5", "", "0,0", "", "AB", ""});
    Run("InsertText");
    SetLanguageFlag(0);
    EXPECT_NE(Transcript().find("Ничего не нарисовано: папки чертежей символов /no/such/installation/Fonts/Arial/ "
                                "нет."),
              std::string::npos)
        << Transcript();
    EXPECT_EQ(GlyphBoxes(2).size(), 4u);
}

TEST_F(EngravingTextTest, NoStartPointOrAnEmptyLineEndsTheCommandWithTheLayerGivenBack) {
    ASSERT_EQ(SetCurrentLayer("0"), host::db::RTNORM);
    Answer({"5", "", "^C"});
    Run("InsertText");
    Answer({"5", "", "0,0", "", "A", "^C"});
    Run("InsertText");
    EXPECT_EQ(GlyphBoxes(2).size(), 1u) << Transcript();
    EXPECT_EQ(host::ed::getText("CLAYER"), "0");
}

// The shipped glyphs: Latin and Cyrillic capitals come out at the asked height, as single lines on the
// engraving layer.
TEST_F(EngravingTextTest, ShippedFontsWriteLatinAndCyrillicAtTheAskedHeight) {
    settings().DirInstall = host::sys::installFolder().string();
    for (const char* command : {"InsertText", "InsertText2"}) {
        SetUp();
        settings().DirInstall = host::sys::installFolder().string();
        Answer({"8", "", "0,0", "", "KESTRION 123", "ДЕТАЛЬ 7", ""});
        Run(command);
        const auto lines = BoxOfLayer("EngraveLine");
        ASSERT_TRUE(lines) << command << Transcript();
        EXPECT_EQ(References(), 0u);
        // The first line's capitals stand on y = 0 and reach 8; the second line's baseline lies 11.2 lower, and
        // its Д reaches below it.
        EXPECT_NEAR(lines->max.y, 8.0, 0.4) << command;
        EXPECT_LT(lines->min.y, -11.2) << command;
        EXPECT_GT(lines->min.y, -11.2 - 4.0) << command;
        EXPECT_NEAR(lines->min.x, 0.0, 1e-9) << command;
        // Twelve characters of about 0.6 to 0.9 of the height and their gaps.
        EXPECT_GT(lines->max.x, 12 * 8 * 0.6) << command;
        EXPECT_LT(lines->max.x, 12 * 8 * 1.1) << command;
        TearDown();
    }
}

}  // namespace
