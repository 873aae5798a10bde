// The grid under the mouse: clicks with and without Shift and Ctrl, headings, the press on the focus cell that
// opens the editor, right and double clicks, auto-scroll while dragging a selection, and the wheel.
#include <gtest/gtest.h>

#include <vector>

#include "nesting/grid/tests/grid_fixture.h"

namespace grid_core_testing {
namespace {

using GridMouseTest = GridTest;

TEST_F(GridMouseTest, AClickSelectsTheCellAloneAndTellsTheOwner) {
    Build(3);
    Click(2, 4);
    EXPECT_EQ(grid.FocusCell(), (CellRef{2, 4}));
    EXPECT_EQ(Selected(), (std::vector<CellRef>{{2, 4}}));
    EXPECT_EQ(owner.notes, (std::vector<Note>{{GridSelectionChangingCode, 2, 4},
                                              {GridSelectionChangedCode, 2, 4},
                                              {GridClickCode, 2, 4}}));
    EXPECT_EQ(owner.clicks, 1);
    EXPECT_FALSE(grid.hasCapture());
    EXPECT_EQ(grid.MouseModeNow(), CGridCtrl::MouseNothing);
}

TEST_F(GridMouseTest, ShiftAndCtrlClicksExtendAddAndRemove) {
    Build(4);
    Click(1, 3);
    Click(3, 4, Shift);
    EXPECT_EQ(Selected(), (std::vector<CellRef>{{1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 3}, {3, 4}}));
    EXPECT_EQ(grid.FocusCell(), (CellRef{3, 4}));

    Click(1, 3);
    Click(4, 6, Ctrl);
    EXPECT_EQ(Selected(), (std::vector<CellRef>{{1, 3}, {4, 6}}));
    Click(1, 3, Ctrl);  // a Ctrl-click on a selected cell deselects it
    EXPECT_EQ(Selected(), (std::vector<CellRef>{{4, 6}}));
}

TEST_F(GridMouseTest, HeadingClicksSelectColumnsRowsOrEverything) {
    Build(3);
    Click(0, 4);
    EXPECT_EQ(Selected(), (std::vector<CellRef>{{1, 4}, {2, 4}, {3, 4}}));
    Click(0, 5, Shift);
    EXPECT_EQ(grid.SelectedCellBlock(), (CellBlock{1, 4, 3, 5}));
    EXPECT_EQ(grid.SelectedCellCount(), 6);

    Click(2, 0);
    EXPECT_EQ(grid.SelectedCellBlock(), (CellBlock{2, 1, 2, 6}));
    Click(0, 0);
    EXPECT_EQ(grid.SelectedCellBlock(), (CellBlock{1, 1, 3, 6}));
    EXPECT_EQ(grid.SelectedCellCount(), 18);
    EXPECT_EQ(grid.FocusCell(), CellRef{});
}

TEST_F(GridMouseTest, DraggingOverRowHeadingsPutsTheFocusInAColumnThatShows) {
    Build(4);
    robot.drag(grid.clientToScreen(Centre(1, 0)), grid.clientToScreen(Centre(3, 0)), 2);
    EXPECT_EQ(grid.SelectedCellBlock(), (CellBlock{1, 1, 3, 6}));
    EXPECT_EQ(grid.FocusCell(), (CellRef{3, 3}));  // not the hidden column 1
}

TEST_F(GridMouseTest, APressOnTheFocusCellsTextOpensTheEditorAtTheRelease) {
    Build(3);
    Click(2, 4);
    owner.notes.clear();
    Click(2, 4);
    EXPECT_EQ(owner.notes, (std::vector<Note>{{GridBeginEditCode, 2, 4}}));
    EXPECT_NE(grid.child(GridEditorControlId), nullptr);
    EXPECT_TRUE(grid.CellAt(2, 4)->InEditMode());
}

TEST_F(GridMouseTest, APressOnTheFocusCellAbandonedByAMoveClearsSelectionAndFocus) {
    Build(3);
    Click(2, 4);
    owner.notes.clear();
    robot.wait(desktop.system().doubleClickTime() + 1);
    robot.moveTo(grid, Centre(2, 4));
    robot.press();
    robot.moveTo(grid, Centre(2, 4) + Point{3, 0});
    robot.release();
    EXPECT_EQ(grid.child(GridEditorControlId), nullptr);
    EXPECT_EQ(grid.FocusCell(), CellRef{});
    EXPECT_EQ(grid.SelectedCellCount(), 0);
    EXPECT_EQ(owner.notes, (std::vector<Note>{{GridClickCode, 2, 4},
                                              {GridSelectionChangingCode, 2, 4},
                                              {GridSelectionChangedCode, -1, -1}}));
}

TEST_F(GridMouseTest, ARightClickMovesTheFocusButNotTheSelection) {
    Build(3);
    Click(1, 3);
    owner.notes.clear();
    robot.clickAt(grid, Centre(2, 0), MouseButton::Right);
    EXPECT_EQ(grid.FocusCell(), (CellRef{2, 3}));  // the row's first column that shows
    EXPECT_EQ(owner.notes, (std::vector<Note>{{GridRightClickCode, 2, 0}}));
    EXPECT_EQ(Selected(), (std::vector<CellRef>{{1, 3}}));

    owner.notes.clear();
    robot.clickAt(grid, {290, 140}, MouseButton::Right);  // below and right of the cells
    EXPECT_EQ(owner.notes, (std::vector<Note>{{GridRightClickCode, -1, -1}}));
}

TEST_F(GridMouseTest, ADoubleClickOpensTheEditorAndTellsTheOwner) {
    Build(3);
    robot.doubleClickAt(grid, Centre(3, 5));
    EXPECT_NE(grid.child(GridEditorControlId), nullptr);
    EXPECT_TRUE(Notified({GridDoubleClickCode, 3, 5}));

    // On a heading a double click opens nothing.
    Build(3);
    robot.key(VK_ESCAPE);
    desktop.pumpUntilIdle();
    owner.notes.clear();
    robot.wait(desktop.system().doubleClickTime() + 1);
    robot.doubleClickAt(grid, Centre(0, 5));
    EXPECT_TRUE(Notified({GridDoubleClickCode, 0, 5}));
    for (const Note& n : owner.notes) EXPECT_NE(n.code, GridBeginEditCode);
}

TEST_F(GridMouseTest, DraggingBelowTheCellsScrollsAndStretchesTheSelectionUntilRelease) {
    Build(30);
    robot.moveTo(grid, Centre(1, 3));
    robot.press();
    robot.moveTo(grid, {60, 200});  // below the client area, the grid holds the capture
    robot.wait(100);                // four auto-scroll steps
    EXPECT_EQ(grid.FocusCell(), (CellRef{5, 3}));
    const CellBlock stretched = grid.SelectedCellBlock();
    EXPECT_EQ(stretched.minRow, 1);
    EXPECT_GE(stretched.maxRow, 8);
    EXPECT_EQ(stretched.minColumn, 3);
    EXPECT_EQ(stretched.maxColumn, 3);
    robot.release();
    robot.wait(100);
    EXPECT_EQ(grid.FocusCell(), (CellRef{5, 3}));

    // Losing the capture stops the steps as well.
    robot.moveTo(grid, Centre(2, 4));
    robot.press();
    robot.moveTo(grid, {60, 200});
    owner.setCapture();
    robot.wait(100);
    EXPECT_EQ(grid.FocusCell(), (CellRef{2, 4}));
    robot.release();
}

TEST_F(GridMouseTest, AWheelNotchScrollsThreeLines) {
    Build(30);
    robot.moveTo(grid, Centre(2, 4));
    robot.wheel(-WHEEL_DELTA);
    EXPECT_EQ(grid.scrollPos(SB_VERT), 3 * kRowHeight);
    robot.wheel(WHEEL_DELTA);
    EXPECT_EQ(grid.scrollPos(SB_VERT), 0);
}

TEST_F(GridMouseTest, TheArrowCursorOverTheCells) {
    Build(2);
    desktop.setCursor(IDC_WAIT);
    robot.moveTo(grid, Centre(1, 3));
    EXPECT_EQ(desktop.cursor(), IDC_ARROW);
}

}  // namespace
}  // namespace grid_core_testing
