// Trim lines of the shown sheet, and engine contours drawn for checking.
#include <gtest/gtest.h>

#include <numbers>

#include "cadlib/host_variables.h"
#include "cadlib/layers.h"
#include "nesting/result/contour_drawing.h"
#include "nesting/result/trim_lines.h"
#include "nesting/result/tests/result_fixture.h"

namespace {

using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::ge::Point3d;
using nesting_result_testing::ResultTest;

// A line as drawn: its layer, colour and ends.
struct DrawnLine {
    std::string layer;
    int colour = 0;
    Point3d start, end;
};

class TrimLines : public ResultTest {
protected:
    // A sheet of 1000 x 500 with parts of 100 x 50 whose pose boxes are grown by half the part gap of 10; the
    // loaded job holds the full gap 10 and the stock-edge offset 5.
    void SheetWithParts() {
        Stock(1000, 500, 2);
        Part(100, 50, 3);
        MakeInstances();
        Place(0, 0, 100, 100, 0.0, 10);
        Place(1, 0, 300, 200, std::numbers::pi / 2, 10);  // the rightmost edge: 300 + 25; the top: 200 + 50
        Place(2, 1, 900, 450, 0.0, 10);                   // on the other sheet
        state->HalfPartGap = 10;
        state->EdgeGap = 5;
        state->ShownSheet = 0;
    }
    std::vector<DrawnLine> Lines() {
        std::vector<DrawnLine> lines;
        for (ObjectId id : ModelSpace()) {
            ObjectPtr<host::db::Line> line(id, OpenMode::Read);
            if (line) lines.push_back({line->layer(), line->colorIndex(), line->start(), line->end()});
        }
        return lines;
    }
};

TEST_F(TrimLines, TheVerticalLineLiesTheEdgeOffsetRightOfTheRightmostPart) {
    SheetWithParts();
    ASSERT_EQ(DrawTrimLine(*state, false), 0);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].layer, "TrimLine");
    EXPECT_EQ(lines[0].start, (Point3d{330, 0, 0}));
    EXPECT_EQ(lines[0].end, (Point3d{330, 500, 0}));
}

TEST_F(TrimLines, WithXYAHorizontalLineJoinsItAboveThePartsAndOldTrimLinesGo) {
    SheetWithParts();
    const ObjectId other = Line({1, 1, 0}, {2, 2, 0});
    ASSERT_EQ(DrawTrimLine(*state, false), 0);
    ASSERT_EQ(DrawTrimLine(*state, true), 0);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 3u) << "the other line, then the two new trim lines; the first one went";
    EXPECT_EQ(lines[0].layer, "0");
    EXPECT_EQ(lines[1].start, (Point3d{330, 0, 0}));
    EXPECT_EQ(lines[2].start, (Point3d{0, 255, 0}));
    EXPECT_EQ(lines[2].end, (Point3d{330, 255, 0}));
    std::string current;
    GetCurrentLayer(current);
    EXPECT_EQ(current, "0") << "the current layer is kept";
    EXPECT_EQ(ModelSpace().front(), other);
}

TEST_F(TrimLines, AStockDrawnFromAFileIsShiftedByTheStockOrigin) {
    SheetWithParts();
    state->StockTypes[0].JobFileType = kJobFileDrawing;
    state->StockPointOrigin = {10, 20, 0};
    ASSERT_EQ(DrawTrimLine(*state, true), 0);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].start, (Point3d{330, 20, 0}));
    EXPECT_EQ(lines[0].end, (Point3d{330, 520, 0}));
    EXPECT_EQ(lines[1].start, (Point3d{10, 255, 0}));
}

TEST_F(TrimLines, WithoutASheetNothingIsDrawnAndTheUserIsTold) {
    Stock(1000, 500, 1);
    Part(100, 50, 1);
    MakeInstances();  // loaded, never run
    const ObjectId kept = Line({0, 0, 0}, {1, 1, 0});
    const ObjectId oldTrim = Line({5, 0, 0}, {5, 9, 0}, "TrimLine");
    for (bool xy : {false, true}) {
        host::ui::clearMessageBoxLog();
        EXPECT_EQ(DrawTrimLine(*state, xy), -1);
        ASSERT_EQ(MessageBoxTexts().size(), 1u);
        EXPECT_EQ(MessageBoxTexts()[0], "There are no placed details\n\rCheck up the initial data");
    }
    EXPECT_EQ(ModelSpace(), (std::vector<ObjectId>{kept, oldTrim}));
}

class ContourDrawing : public ResultTest {};

TEST_F(ContourDrawing, CuttingElementsInColourFiveAndRapidsInColourThree) {
    Contour contour = MakeChain({{{0, 0}, 0.0}, {{10, 0}, 1.0}, {{10, 10}, 0.0}});  // line, half circle, line
    ContourElement rapid;
    rapid.Type = kImportedRapid;
    rapid.Start = {10, 10};
    rapid.End = {50, 50};
    ContourElement leadIn;
    leadIn.Type = kImportedElementOffset + kElementLine;  // an imported lead-in: not drawn
    leadIn.End = {1, 1};
    contour.Elements.insert(contour.Elements.begin(), rapid);
    contour.Elements.push_back(leadIn);
    contour.Elements.push_back(MakeCircle(3, {20, 20}).Elements[0]);

    DrawContour(contour);

    std::vector<std::pair<std::string, int>> drawn;  // DXF name, colour
    for (ObjectId id : ModelSpace()) {
        ObjectPtr<host::db::Entity> e(id, OpenMode::Read);
        drawn.emplace_back(e->dxfName(), e->colorIndex());
    }
    const std::vector<std::pair<std::string, int>> expected = {
        {"LINE", 3}, {"LINE", 5}, {"ARC", 5}, {"LINE", 5}, {"CIRCLE", 5}};
    EXPECT_EQ(drawn, expected);
    std::string colour;
    GetSysVarString("CECOLOR", colour);
    EXPECT_EQ(colour, "5") << "CECOLOR stays as last set";

    ObjectPtr<host::db::Arc> arc(ModelSpace()[2], OpenMode::Read);
    ASSERT_TRUE(arc);
    EXPECT_NEAR(arc->center().x, 10, 1e-9);
    EXPECT_NEAR(arc->center().y, 5, 1e-9);
    EXPECT_NEAR(arc->radius(), 5, 1e-9);
}

TEST_F(ContourDrawing, APartTypeShowsItsEngineContoursAndItsDrawingMovedToTheOrigin) {
    PartType type = MakeRectangleType(kKindPart, 100, 50);  // centred on the origin
    AddHole(type, MakeCircle(5));
    Contour asRead = MakeRectangle(100, 50, {0, 0});       // the drawing's own coordinates
    type.DrawingContours.push_back(asRead);
    type.BasePoint = {50, 25};
    DrawPartContours(type);
    std::vector<Point3d> starts;
    for (ObjectId id : ModelSpace()) {
        ObjectPtr<host::db::Line> line(id, OpenMode::Read);
        if (line) starts.push_back(line->start());
    }
    ASSERT_EQ(ModelSpace().size(), 9u) << "the hole, the outer outline and the drawing's outline";
    ASSERT_EQ(starts.size(), 8u);
    EXPECT_EQ(starts[0], starts[4]) << "the drawing's outline lies on the engine's";
    EXPECT_EQ(starts[0], (Point3d{-50, -25, 0}));
}

}  // namespace
