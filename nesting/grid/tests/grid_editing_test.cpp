// In-place editing from the grid's side: typing through cells with Tab and the arrows, the owner's vetoes,
// Esc and read-only cells, an editor that cannot be made, and a character sent to an editor already open.
#include <gtest/gtest.h>

#include <vector>

#include "nesting/grid/grid_edit_box.h"
#include "nesting/grid/tests/grid_fixture.h"

namespace grid_core_testing {
namespace {

using GridEditingTest = GridTest;

TEST_F(GridEditingTest, TypingThroughCellsWithTab) {
    Build(3);
    Click(1, 4);
    owner.notes.clear();
    robot.type("7");
    robot.key(VK_TAB);
    EXPECT_EQ(grid.GetCellText(1, 4), "7");
    EXPECT_EQ(grid.FocusCell(), (CellRef{1, 5}));
    Window* editor = grid.child(GridEditorControlId);
    ASSERT_NE(editor, nullptr);
    robot.type("15");
    robot.key(VK_TAB);
    robot.key(VK_TAB);  // column 6 unchanged: nothing to report for it
    robot.type("x");
    robot.key(VK_RETURN);
    EXPECT_EQ(grid.GetCellText(1, 5), "15");
    EXPECT_EQ(grid.GetCellText(1, 6), "1.6");
    EXPECT_EQ(grid.GetCellText(2, 3), "x");  // Tab wrapped to the next row's first column that shows
    EXPECT_EQ(grid.child(GridEditorControlId), nullptr);
    EXPECT_TRUE(Notified({GridEndEditCode, 1, 4}));
    EXPECT_TRUE(Notified({GridEndEditCode, 1, 5}));
    EXPECT_FALSE(Notified({GridEndEditCode, 1, 6}));
    EXPECT_TRUE(Notified({GridEndEditCode, 2, 3}));
    EXPECT_TRUE(grid.GetCellState(1, 4) & CellStateModified);
}

TEST_F(GridEditingTest, AnArrowEndsAKeyOpenedEditAndOpensTheNextCell) {
    Build(3);
    Click(1, 4);
    robot.type("9");
    robot.key(VK_DOWN);
    EXPECT_EQ(grid.GetCellText(1, 4), "9");
    EXPECT_EQ(grid.FocusCell(), (CellRef{2, 4}));
    auto* box = dynamic_cast<CGridEditBox*>(grid.child(GridEditorControlId));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Row(), 2);
    EXPECT_EQ(box->Column(), 4);
}

TEST_F(GridEditingTest, TheOwnerCanRefuseAnEditBeforeAndAfter) {
    Build(2);
    Click(1, 4);
    owner.answers[GridBeginEditCode] = -1;
    robot.type("5");
    EXPECT_EQ(grid.child(GridEditorControlId), nullptr);
    EXPECT_EQ(grid.GetCellText(1, 4), "1.4");

    owner.answers.clear();
    owner.answers[GridEndEditCode] = -1;
    grid.MarkCellModified(false);
    robot.type("5");
    robot.key(VK_RETURN);
    EXPECT_EQ(grid.GetCellText(1, 4), "1.4");
    // A refused change leaves no mark either.
    EXPECT_FALSE(grid.GetCellState(1, 4) & CellStateModified);
    EXPECT_FALSE(grid.IsModified());
    EXPECT_FALSE(grid.CellAt(1, 4)->InEditMode());
}

TEST_F(GridEditingTest, EscAndReadOnlyCellsChangeNothing) {
    Build(2);
    grid.SetCellState(1, 3, CellStateReadOnly);
    Click(1, 3);
    owner.notes.clear();
    robot.type("x");
    robot.key(VK_F2);
    EXPECT_EQ(grid.child(GridEditorControlId), nullptr);
    EXPECT_TRUE(owner.notes.empty());

    Click(1, 4);
    owner.notes.clear();
    robot.type("9");
    robot.key(VK_ESCAPE);
    EXPECT_EQ(grid.GetCellText(1, 4), "1.4");
    EXPECT_FALSE(Notified({GridEndEditCode, 1, 4}));
    EXPECT_EQ(grid.FocusCell(), (CellRef{1, 4}));
}

TEST_F(GridEditingTest, LosingTheFocusTakesTheTextAndMovesNowhere) {
    Build(2);
    Click(1, 4);
    robot.type("9");
    Click(2, 5);
    EXPECT_EQ(grid.GetCellText(1, 4), "9");
    EXPECT_EQ(grid.FocusCell(), (CellRef{2, 5}));
    EXPECT_EQ(grid.child(GridEditorControlId), nullptr);
}

TEST_F(GridEditingTest, ScrollingEndsAnOpenEdit) {
    Build(30);
    Click(1, 4);
    robot.type("3");
    robot.scrollBar(grid, SB_VERT, SB_LINEDOWN);
    EXPECT_EQ(grid.GetCellText(1, 4), "3");
    EXPECT_FALSE(grid.CellAt(1, 4)->InEditMode());
}

TEST_F(GridEditingTest, ASecondBeginOnAnOpenEditorOnlyForwardsTheCharacter) {
    Build(2);
    Click(1, 4);
    robot.type("a");
    Window* editor = grid.child(GridEditorControlId);
    ASSERT_NE(editor, nullptr);
    Rect r;
    grid.CellRectOf(1, 4, r);
    EXPECT_TRUE(grid.CellAt(1, 4)->BeginEditing(1, 4, r, {-1, -1}, GridEditorControlId, 'b'));
    EXPECT_EQ(grid.child(GridEditorControlId), editor);
    EXPECT_EQ(editor->text(), "ab");
}

TEST_F(GridEditingTest, AnEditorThatCannotBeMadeLeavesTheCellOutOfEditMode) {
    // A grid without a window: the edit box has no parent to be made in.
    CGridCtrl windowless(2, 2, 0, 0);
    CGridCellBase* cell = windowless.CellAt(1, 1);
    EXPECT_FALSE(cell->BeginEditing(1, 1, Rect{0, 0, 50, 18}, {-1, -1}, GridEditorControlId, 'x'));
    EXPECT_FALSE(cell->InEditMode());
    EXPECT_EQ(cell->QueryEditor(), nullptr);
    // A later edit is not stuck forwarding characters to a box that never was.
    EXPECT_FALSE(cell->BeginEditing(1, 1, Rect{0, 0, 50, 18}, {-1, -1}, GridEditorControlId, 'y'));
}

}  // namespace
}  // namespace grid_core_testing
