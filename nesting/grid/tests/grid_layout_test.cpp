// Where cells lie and how the grid scrolls: cell rectangles and hit tests with hidden columns, the scroll bars'
// ranges, line, page and thumb scrolling in whole rows and columns, and scrolling a cell into view.
#include <gtest/gtest.h>

#include "nesting/grid/tests/grid_fixture.h"

namespace grid_core_testing {
namespace {

using GridLayoutTest = GridTest;

TEST_F(GridLayoutTest, CellRectanglesAndHitTests) {
    Build(4);
    ASSERT_EQ(grid.clientRect(), (Rect{0, 0, 300, 150}));
    struct RectCase {
        int row, column;
        Rect rect;  // edges included
    } rects[] = {
        {0, 0, {0, 0, 29, 17}},
        {1, 3, {30, 18, 119, 35}},
        {2, 6, {240, 36, 279, 53}},
        {1, 1, {30, 18, 29, 35}},  // hidden: no pixel wide
    };
    for (const RectCase& c : rects) {
        Rect r;
        ASSERT_TRUE(grid.CellRectOf(c.row, c.column, r));
        EXPECT_EQ(r, c.rect) << c.row << ", " << c.column;
    }
    struct HitCase {
        Point point;
        bool allowFixed;
        CellRef cell;
    } hits[] = {
        {{35, 20}, true, {1, 3}},   {{119, 35}, true, {1, 3}},  {{120, 36}, true, {2, 4}},
        {{5, 5}, true, {0, 0}},     {{5, 5}, false, {-1, -1}},  {{40, 5}, false, {-1, 3}},
        {{285, 20}, true, {1, -1}}, {{50, 100}, true, {-1, 3}}, {{-1, 20}, true, {1, -1}},
    };
    for (const HitCase& h : hits)
        EXPECT_EQ(grid.HitTestCell(h.point, h.allowFixed), h.cell) << h.point.x << ", " << h.point.y;
}

TEST_F(GridLayoutTest, ScrollBarsFollowTheTable) {
    Build(4);  // 90 pixels of rows, 280 of columns: everything fits
    EXPECT_EQ(grid.VerticalScrollMaximum(), 0);
    EXPECT_EQ(grid.HorizontalScrollMaximum(), 0);
    EXPECT_FALSE(grid.isScrollBarVisible(SB_VERT));
    EXPECT_FALSE(grid.isScrollBarVisible(SB_HORZ));

    grid.SetRowTotal(21);  // 378 pixels: 360 below the headings
    EXPECT_TRUE(grid.isScrollBarVisible(SB_VERT));
    EXPECT_FALSE(grid.isScrollBarVisible(SB_HORZ));
    EXPECT_EQ(grid.VerticalScrollMaximum(), 359);
    ScrollInfo info;
    ASSERT_TRUE(grid.getScrollInfo(SB_VERT, info));
    EXPECT_EQ(info.page, 132u);  // 150 - 18
    EXPECT_EQ(grid.clientRect().right, 283);

    grid.SetColumnPixelWidth(3, 200);  // 390 pixels of columns: a horizontal bar too
    EXPECT_TRUE(grid.isScrollBarVisible(SB_HORZ));
    EXPECT_EQ(grid.HorizontalScrollMaximum(), 359);

    grid.SetRowTotal(3);
    grid.SetColumnPixelWidth(3, 90);
    EXPECT_EQ(grid.VerticalScrollMaximum(), 0);
    EXPECT_FALSE(grid.isScrollBarVisible(SB_VERT));
    EXPECT_FALSE(grid.isScrollBarVisible(SB_HORZ));

    // A client area smaller than the headings shows no bars at all.
    grid.SetRowTotal(30);
    grid.move(Rect{10, 10, 110, 25});  // 15 pixels high: less than the heading row
    EXPECT_FALSE(grid.isScrollBarVisible(SB_VERT));
    EXPECT_FALSE(grid.isScrollBarVisible(SB_HORZ));
}

TEST_F(GridLayoutTest, APositionInsideARowShowsTheNextRowAndALineUpTakesThatRowsHeight) {
    Build(20);
    grid.SetScrollPosition(SB_VERT, 20);  // inside row 2 (18..35 below the headings)
    EXPECT_EQ(grid.TopLeftNonFixedCell().row, 3);
    robot.scrollBar(grid, SB_VERT, SB_LINEUP);
    EXPECT_EQ(grid.scrollPos(SB_VERT), 2);
    EXPECT_EQ(grid.TopLeftNonFixedCell().row, 2);
}

TEST_F(GridLayoutTest, ScrollCodesMoveByRowsAndPagesAndInvalidateOnlyBelowTheHeadings) {
    struct Case {
        int start;
        int code;
        int expected;
    } cases[] = {
        {0, SB_LINEDOWN, 18},  {36, SB_LINEDOWN, 54},  {36, SB_LINEUP, 18},  {0, SB_LINEUP, 0},
        {0, SB_PAGEDOWN, 132}, {150, SB_PAGEUP, 18},   {20, SB_PAGEUP, 0},
        // The last page stays full: the position never passes maximum - page + 1 = 359 - 131.
        {90, SB_TOP, 0},       {200, SB_PAGEDOWN, 228}, {228, SB_LINEDOWN, 228}, {0, SB_BOTTOM, 228},
    };
    for (const Case& c : cases) {
        Build(20);
        grid.SetScrollPosition(SB_VERT, c.start);
        desktop.clearInvalidations();
        grid.send(WM_VSCROLL, static_cast<std::uintptr_t>(c.code), 0);
        EXPECT_EQ(grid.scrollPos(SB_VERT), c.expected) << c.start << " code " << c.code;
        if (c.code != SB_TOP && c.code != SB_BOTTOM)
            for (const Invalidation& inv : desktop.invalidations()) {
                if (inv.window != &grid) continue;
                EXPECT_GE(inv.rect.top, kRowHeight) << c.start << " code " << c.code;
            }
    }
    // Scrolled to the end (the position clamped to the last full page), the last row shows.
    const CellBlock range = grid.VisibleNonFixedRange();
    EXPECT_EQ(range.maxRow, 20);
    EXPECT_TRUE(grid.IsCellVisible(20, 3));
}

TEST_F(GridLayoutTest, HiddenColumnsAreSteppedOverByLineScrolls) {
    Build(3);
    grid.SetColumnPixelWidth(3, 200);
    grid.SetColumnPixelWidth(4, 200);
    EXPECT_EQ(grid.TopLeftNonFixedCell().column, 1);  // the hidden columns are the first non-fixed ones
    robot.scrollBar(grid, SB_HORZ, SB_LINERIGHT);
    EXPECT_EQ(grid.scrollPos(SB_HORZ), 200);
    EXPECT_EQ(grid.TopLeftNonFixedCell().column, 4);
    robot.scrollBar(grid, SB_HORZ, SB_LINELEFT);
    EXPECT_EQ(grid.scrollPos(SB_HORZ), 0);
    // The thumb drags in pixels; the first column shown is the first whose left edge is at the position.
    robot.dragThumb(grid, SB_HORZ, 150);
    EXPECT_EQ(grid.TopLeftNonFixedCell().column, 4);
}

TEST_F(GridLayoutTest, AnEmptyTableWithTheDialogsOwnScrollRangeScrollsNowhere) {
    // A page with no data rows keeps its own vertical bar (range 0 to 100); dragging it must not walk past the
    // table.
    Build(0);
    grid.setScrollRange(SB_VERT, 0, 100);
    grid.showScrollBar(SB_VERT, true);
    robot.dragThumb(grid, SB_VERT, 50);
    EXPECT_EQ(grid.TopLeftNonFixedCell(true).row, 1);
    robot.scrollBar(grid, SB_VERT, SB_LINEDOWN);
    robot.scrollBar(grid, SB_VERT, SB_PAGEDOWN);
    robot.key(VK_DOWN);
    Click(0, 3);
    EXPECT_EQ(desktop.pumpUntilIdle(), PumpResult::Idle);
    EXPECT_EQ(grid.HitTestCell({40, 40}, true), (CellRef{-1, 3}));
    EXPECT_EQ(grid.SelectedCellCount(), 0);
}

TEST_F(GridLayoutTest, EnsureCellVisibleScrollsToACellAndStopsWhenTheBarCannotMove) {
    Build(20);
    grid.EnsureCellVisible(15, 3);
    EXPECT_TRUE(grid.IsCellVisible(15, 3));
    Rect r;
    ASSERT_TRUE(grid.CellRectOf(15, 3, r));
    EXPECT_LT(r.bottom, grid.clientRect().bottom);
    grid.EnsureCellVisible(1, 3);
    EXPECT_EQ(grid.TopLeftNonFixedCell().row, 1);

    // A column wider than the client area never shows whole: scrolling stops once its left edge reaches the
    // headings.
    grid.SetColumnPixelWidth(6, 1000);
    grid.EnsureCellVisible(1, 6);
    EXPECT_TRUE(grid.IsCellVisible(1, 6));
    ASSERT_TRUE(grid.CellRectOf(1, 6, r));
    EXPECT_EQ(r.left, grid.FixedColumnsWidth());
}

TEST_F(GridLayoutTest, EnsureCellVisibleEndsWhenALineScrollCannotMove) {
    // A dialog narrowed the grid's vertical range behind its back: every line down is clamped back to where it
    // was, and the cell never comes into view. Scrolling must give up instead of trying for ever.
    Build(20);
    grid.setScrollRange(SB_VERT, 0, 140);  // with its 132-pixel page the bar now stops at 9
    grid.EnsureCellVisible(15, 3);
    EXPECT_EQ(grid.scrollPos(SB_VERT), 9);
}

TEST_F(GridLayoutTest, ANewFontGivesLaterRowsTheNewDefaultHeight) {
    Build(2);
    LogFont big;
    big.height = -20;
    grid.setFont(Font::create(big));
    EXPECT_EQ(grid.RowPixelHeight(1), 18);
    EXPECT_EQ(grid.NormalTemplate().QueryDefaultHeight(), 30);
    const int row = grid.InsertGridRow(std::nullopt);
    EXPECT_EQ(grid.RowPixelHeight(row), 30);
    const auto* answered = pointerFromParam<const Font>(static_cast<std::intptr_t>(grid.send(WM_GETFONT)));
    ASSERT_NE(answered, nullptr);
    EXPECT_EQ(answered->logFont().height, -20);
}

TEST_F(GridLayoutTest, ASystemColourChangeReachesNormalCellsButNotTheHeadings) {
    Build(2);
    const ColorRef oldFace = desktop.sysColor(COLOR_BTNFACE);
    desktop.system().setColor(COLOR_WINDOW, rgb(250, 240, 230));
    desktop.system().setColor(COLOR_BTNFACE, rgb(10, 20, 30));
    desktop.broadcastSysColorChange();
    EXPECT_EQ(grid.NormalTemplate().QueryBackColour(), rgb(250, 240, 230));
    EXPECT_EQ(grid.FixedRowTemplate().QueryBackColour(), oldFace);
    EXPECT_EQ(grid.CornerTemplate().QueryBackColour(), oldFace);
}

}  // namespace
}  // namespace grid_core_testing
