// The grid at the keyboard: where each key moves the focus cell (hidden columns stepped over, Tab wrapping), what
// a move selects and tells the owner, long tables scrolled by pages and Ctrl+End, and keys that open the editor.
#include <gtest/gtest.h>

#include <vector>

#include "nesting/grid/tests/grid_fixture.h"

namespace grid_core_testing {
namespace {

using GridKeysTest = GridTest;

TEST_F(GridKeysTest, EachKeyMovesTheFocusToACellThatShows) {
    struct Case {
        const char* name;
        CellRef start;
        unsigned key;
        Modifiers mods;
        CellRef focus;
    } cases[] = {
        {"right", {1, 3}, VK_RIGHT, NoModifiers, {1, 4}},
        {"left over the hidden columns", {1, 3}, VK_LEFT, NoModifiers, {1, 3}},
        {"left", {1, 5}, VK_LEFT, NoModifiers, {1, 4}},
        {"right at the end", {2, 6}, VK_RIGHT, NoModifiers, {2, 6}},
        {"down", {1, 3}, VK_DOWN, NoModifiers, {2, 3}},
        {"down at the end", {4, 3}, VK_DOWN, NoModifiers, {4, 3}},
        {"up into the headings", {1, 4}, VK_UP, NoModifiers, {1, 4}},
        {"tab", {2, 4}, VK_TAB, NoModifiers, {2, 5}},
        {"tab wraps past the hidden columns", {1, 6}, VK_TAB, NoModifiers, {2, 3}},
        {"tab in the last cell", {4, 6}, VK_TAB, NoModifiers, {4, 6}},
        {"shift tab", {2, 5}, VK_TAB, Shift, {2, 4}},
        {"shift tab wraps back", {2, 3}, VK_TAB, Shift, {1, 6}},
        {"shift tab in the first cell", {1, 3}, VK_TAB, Shift, {1, 3}},
        {"home", {3, 5}, VK_HOME, NoModifiers, {3, 3}},
        {"end", {3, 4}, VK_END, NoModifiers, {3, 6}},
        {"ctrl home", {3, 5}, VK_HOME, Ctrl, {1, 3}},
        {"ctrl end", {2, 4}, VK_END, Ctrl, {4, 6}},
    };
    for (const Case& c : cases) {
        Build(4);
        Click(c.start.row, c.start.column);
        robot.key(c.key, c.mods);
        EXPECT_EQ(grid.FocusCell(), c.focus) << c.name;
        EXPECT_EQ(Selected(), (std::vector<CellRef>{c.focus})) << c.name;
        EXPECT_EQ(grid.child(GridEditorControlId), nullptr) << c.name;
    }
}

TEST_F(GridKeysTest, AMoveTellsTheOwnerAndShiftExtendsFromTheAnchor) {
    Build(4);
    Click(1, 3);
    owner.notes.clear();
    robot.key(VK_DOWN);
    EXPECT_EQ(owner.notes,
              (std::vector<Note>{{GridSelectionChangingCode, 2, 3}, {GridSelectionChangedCode, 2, 3}}));
    robot.key(VK_RIGHT, Shift);
    robot.key(VK_DOWN, Shift);
    EXPECT_EQ(grid.FocusCell(), (CellRef{3, 4}));
    EXPECT_EQ(grid.SelectedCellBlock(), (CellBlock{2, 3, 3, 4}));
    EXPECT_EQ(grid.SelectedCellCount(), 4);
}

TEST_F(GridKeysTest, WithoutAFocusCellKeysDoNothing) {
    Build(3);
    grid.SelectCellBlock(1, 3, 2, 4, false, true);
    grid.setFocus();
    const int clipboardChanges = desktop.clipboard().changeCount();
    robot.key(VK_DOWN);
    robot.key('C', Ctrl);
    robot.type("x");
    EXPECT_EQ(grid.FocusCell(), CellRef{});
    EXPECT_EQ(desktop.clipboard().changeCount(), clipboardChanges);
    EXPECT_TRUE(owner.notes.empty());
    EXPECT_EQ(grid.child(GridEditorControlId), nullptr);
}

TEST_F(GridKeysTest, LongTablesScrollWithTheFocus) {
    Build(40);
    Click(1, 4);
    robot.key(VK_NEXT);
    const int afterPage = grid.FocusCell().row;
    EXPECT_GT(afterPage, 1);
    EXPECT_TRUE(grid.IsCellVisible(afterPage, 4));
    // The focus moved by as many rows as the page scrolled.
    EXPECT_EQ(afterPage, grid.TopLeftNonFixedCell().row);

    robot.key(VK_END, Ctrl);
    EXPECT_EQ(grid.FocusCell(), (CellRef{40, 6}));
    EXPECT_TRUE(grid.IsCellVisible(40, 6));
    EXPECT_EQ(grid.VisibleNonFixedRange().maxRow, 40);
    grid.clearDisplayList();
    grid.invalidate();
    desktop.pumpUntilIdle();
    EXPECT_FALSE(TextsDrawn("40").empty());

    robot.key(VK_HOME, Ctrl);
    EXPECT_EQ(grid.FocusCell(), (CellRef{1, 3}));
    EXPECT_EQ(grid.scrollPos(SB_VERT), 0);

    // Down from the last row that shows scrolls one row.
    Click(7, 4);
    const int before = grid.scrollPos(SB_VERT);
    robot.key(VK_DOWN);
    robot.key(VK_DOWN);
    EXPECT_EQ(grid.FocusCell(), (CellRef{9, 4}));
    EXPECT_TRUE(grid.IsCellVisible(9, 4));
    EXPECT_GT(grid.scrollPos(SB_VERT), before);
}

TEST_F(GridKeysTest, TypingOpensTheEditorButEscAndTabDoNot) {
    Build(3);
    Click(2, 4);
    robot.key(VK_ESCAPE);
    EXPECT_EQ(grid.child(GridEditorControlId), nullptr);
    robot.key(VK_TAB);
    EXPECT_EQ(grid.child(GridEditorControlId), nullptr);
    EXPECT_EQ(grid.FocusCell(), (CellRef{2, 5}));
    robot.type("7");
    Window* editor = grid.child(GridEditorControlId);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "7");
    EXPECT_TRUE(editor->hasFocus());
}

TEST_F(GridKeysTest, TheGridWantsArrowsCharactersAndTabButNotCtrlTab) {
    Build(1);
    EXPECT_EQ(grid.send(WM_GETDLGCODE), static_cast<std::intptr_t>(DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB));
    desktop.setKeyDown(VK_CONTROL, true);
    EXPECT_EQ(grid.send(WM_GETDLGCODE), static_cast<std::intptr_t>(DLGC_WANTARROWS | DLGC_WANTCHARS));
    desktop.setKeyDown(VK_CONTROL, false);
}

}  // namespace
}  // namespace grid_core_testing
