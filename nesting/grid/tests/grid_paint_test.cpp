// How the grid paints: the order of a full paint, clipping to the area to repaint, the lines between cells, the
// look of each cell state, and the cells a click redraws at once. A picture of the grid is saved for people.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "nesting/grid/tests/grid_fixture.h"

namespace grid_core_testing {
namespace {

using GridPaintTest = GridTest;

// Repaints the whole grid and answers the shown texts of its display list in order.
std::vector<std::string> PaintedTexts(Desktop& desktop, CGridCtrl& grid) {
    grid.clearDisplayList();
    grid.invalidate();
    desktop.pumpUntilIdle();
    std::vector<std::string> out;
    for (const DrawRecord* r : grid.displayList().ofKind(DrawOp::Text)) out.push_back(r->shownText());
    return out;
}

int IndexOf(const std::vector<std::string>& texts, const std::string& text) {
    const auto it = std::find(texts.begin(), texts.end(), text);
    return it == texts.end() ? -1 : static_cast<int>(it - texts.begin());
}

TEST_F(GridPaintTest, AFullPaintDrawsCornerThenHeadingColumnThenHeadingRowThenCells) {
    Build(3);
    const std::vector<std::string> texts = PaintedTexts(desktop, grid);
    const int corner = IndexOf(texts, "H0");
    const int rowNumber = IndexOf(texts, "1");
    const int heading = IndexOf(texts, "H3");
    const int cell = IndexOf(texts, "1.3");
    ASSERT_GE(corner, 0);
    EXPECT_LT(corner, rowNumber);
    EXPECT_LT(rowNumber, heading);
    EXPECT_LT(heading, cell);
    // The hidden columns are drawn nowhere.
    EXPECT_EQ(IndexOf(texts, "1.1"), -1);
    EXPECT_EQ(IndexOf(texts, "H2"), -1);
    // Everything reached the window through one copy of the off-screen picture.
    EXPECT_EQ(grid.displayList().ofKind(DrawOp::BitBlt).size(), 1u);
}

TEST_F(GridPaintTest, OnlyCellsMeetingTheRepaintedAreaArePainted) {
    Build(3);
    desktop.pumpUntilIdle();
    grid.clearDisplayList();
    grid.DirtyCell(2, 4);
    desktop.pumpUntilIdle();
    std::vector<std::string> texts;
    for (const DrawRecord* r : grid.displayList().ofKind(DrawOp::Text)) texts.push_back(r->shownText());
    EXPECT_EQ(texts, (std::vector<std::string>{"2.4"}));
}

TEST_F(GridPaintTest, GridLinesRunAtTheRightEdgeOfEachShownColumnAndNeverDoubleAtAHiddenOne) {
    Build(3);
    PaintedTexts(desktop, grid);
    std::vector<int> xs;
    std::vector<int> ys;
    for (const DrawRecord* r : grid.displayList().ofKind(DrawOp::Line)) {
        if (r->pen.color != grid.GridLineColour()) continue;
        if (r->from.x == r->to.x) xs.push_back(r->from.x);
        if (r->from.y == r->to.y) ys.push_back(r->from.y);
    }
    EXPECT_EQ(xs, (std::vector<int>{119, 179, 239, 279}));
    EXPECT_EQ(ys, (std::vector<int>{35, 53, 71}));
}

// One state of a cell and how it must look when drawn at once.
struct LookCase {
    const char* name;
    unsigned state;          // extra state flags of cell (2, 4)
    ColorRef ownBack;        // CLR_DEFAULT: the template's
    int fill;                // COLOR_* index of the fill, or -1 for the own background
    int textColour;          // COLOR_* index of the text
    bool framed;             // a focus frame in the text colour
};

TEST_F(GridPaintTest, EachCellStateHasItsLook) {
    const ColorRef yellow = rgb(255, 255, 0);
    const LookCase cases[] = {
        {"plain", 0, CLR_DEFAULT, COLOR_WINDOW, COLOR_WINDOWTEXT, false},
        {"selected", CellStateSelected, CLR_DEFAULT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, false},
        {"focused", CellStateFocused, CLR_DEFAULT, COLOR_WINDOW, COLOR_WINDOWTEXT, true},
        {"focused and selected", CellStateFocused | CellStateSelected, CLR_DEFAULT, COLOR_HIGHLIGHT,
         COLOR_HIGHLIGHTTEXT, true},
        {"own background", 0, yellow, -1, COLOR_WINDOWTEXT, false},
        {"read-only looks plain", CellStateReadOnly, CLR_DEFAULT, COLOR_WINDOW, COLOR_WINDOWTEXT, false},
    };
    Build(3);
    const unsigned base = grid.GetCellState(2, 4);
    for (const LookCase& c : cases) {
        grid.SetCellState(2, 4, base | c.state);
        grid.SetCellBackColour(2, 4, c.ownBack);
        desktop.pumpUntilIdle();
        grid.clearDisplayList();
        ASSERT_TRUE(grid.PaintCellNow(2, 4)) << c.name;
        const DisplayList& list = grid.displayList();
        const auto fills = list.ofKind(DrawOp::FillRect);
        ASSERT_FALSE(fills.empty()) << c.name;
        EXPECT_EQ(fills.front()->color, c.fill < 0 ? yellow : desktop.sysColor(c.fill)) << c.name;
        EXPECT_EQ(fills.front()->rect, (Rect{120, 36, 180, 54})) << c.name;
        const auto texts = list.texts("2.4");
        ASSERT_EQ(texts.size(), 1u) << c.name;
        EXPECT_EQ(texts.front()->textColor, desktop.sysColor(c.textColour)) << c.name;
        const auto frames = list.ofKind(DrawOp::FrameRect);
        EXPECT_EQ(frames.size(), c.framed ? 1u : 0u) << c.name;
        if (c.framed && !frames.empty()) {
            EXPECT_EQ(frames.front()->color, desktop.sysColor(c.textColour)) << c.name;
        }
        EXPECT_EQ(texts.front()->source, DrawSource::Immediate);
    }
}

TEST_F(GridPaintTest, HeadingsOfTheFocusRowAndColumnLookPressed) {
    Build(3);
    grid.MoveFocusToCell(2, 4);
    desktop.pumpUntilIdle();
    struct Case {
        int row, column;
        bool sunken;
    } cases[] = {{0, 4, true}, {2, 0, true}, {0, 3, false}, {1, 0, false}, {0, 0, false}};
    for (const Case& c : cases) {
        grid.clearDisplayList();
        ASSERT_TRUE(grid.PaintCellNow(c.row, c.column));
        const auto edges = grid.displayList().ofKind(DrawOp::Edge);
        EXPECT_EQ(edges.size(), c.sunken ? 1u : 0u) << c.row << ", " << c.column;
        if (c.sunken && !edges.empty()) {
            EXPECT_EQ(edges.front()->flags, BDR_SUNKENINNER);
        }
        int raised = 0;
        for (const DrawRecord* r : grid.displayList().ofKind(DrawOp::Line))
            raised += r->pen.color == desktop.sysColor(COLOR_3DHIGHLIGHT) ||
                      r->pen.color == desktop.sysColor(COLOR_3DDKSHADOW);
        EXPECT_EQ(raised, c.sunken ? 0 : 4) << c.row << ", " << c.column;
    }
}

TEST_F(GridPaintTest, ACellRectangleUnderOnePixelDrawsNothing) {
    Build(1);
    DisplayList before = grid.displayList();
    ClientDC dc(grid);
    Rect empty{120, 18, 120, 35};
    EXPECT_FALSE(grid.CellAt(1, 4)->Paint(&dc, 1, 4, empty, true));
    EXPECT_FALSE(grid.CellAt(1, 4)->Paint(nullptr, 1, 4, empty, true));
    EXPECT_EQ(grid.displayList().size(), before.size());
}

TEST_F(GridPaintTest, AClickRedrawsTheTwoCellsAndTheirHeadingsNotTheWindow) {
    Build(3);
    Click(1, 3);
    desktop.pumpUntilIdle();
    grid.clearDisplayList();
    desktop.clearInvalidations();
    Click(2, 4);
    for (const Invalidation& inv : desktop.invalidations()) {
        if (inv.window != &grid) continue;
        EXPECT_LE(inv.rect.width(), 90);
        EXPECT_LE(inv.rect.height(), kRowHeight);
    }
    std::vector<std::string> immediate;
    for (const DrawRecord* r : grid.displayList().ofKind(DrawOp::Text))
        if (r->source == DrawSource::Immediate) immediate.push_back(r->shownText());
    for (const char* text : {"1.3", "2.4", "H3", "H4", "1", "2"})
        EXPECT_NE(IndexOf(immediate, text), -1) << text;
    EXPECT_EQ(IndexOf(immediate, "3.5"), -1);
}

TEST_F(GridPaintTest, PictureOfAStockPageShapedGrid) {
    desktop.setRasterEnabled(true);
    Build(12);
    grid.SetCellText(2, 3, "a file name far too long for its column");
    grid.SetCellBackColour(3, 3, rgb(255, 255, 0));
    Click(2, 4);
    Click(4, 5, Shift);
    grid.RepaintGrid();  // colours and texts set by a program show at the next repaint
    desktop.pumpUntilIdle();
    std::string error;
    const std::string png = std::string(KESTRION_BINARY_DIR) + "/grid_core_picture.png";
    EXPECT_TRUE(desktop.saveSnapshot(&owner, png, &error)) << error;
    // The selected block shows in the highlight colour, the coloured cell in yellow.
    Rect r;
    ASSERT_TRUE(grid.CellRectOf(4, 5, r));
    EXPECT_EQ(grid.raster()->at(r.left + 2, r.top + 2), desktop.sysColor(COLOR_HIGHLIGHT));
    ASSERT_TRUE(grid.CellRectOf(3, 3, r));
    EXPECT_EQ(grid.raster()->at(r.left + 2, r.top + 2), rgb(255, 255, 0));
}

}  // namespace
}  // namespace grid_core_testing
