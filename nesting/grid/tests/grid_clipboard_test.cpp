// The grid and the clipboard: the exact bytes of a copied block, pasting text of any shape (commas, line ends,
// trailing separators, hidden columns, read-only cells), cut and Delete, pasting into an open editor, and when
// the Edit commands are available.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nesting/grid/tests/grid_fixture.h"

namespace grid_core_testing {
namespace {

using GridClipboardTest = GridTest;

TEST_F(GridClipboardTest, CopyingABlockPutsTabsAndLineEndsAndAZero) {
    Build(4);
    grid.SetCellText(1, 3, "a");
    grid.SetCellText(1, 4, "b");
    grid.SetCellText(2, 3, "c");
    grid.SetCellText(2, 4, "d");
    Click(1, 3);
    Click(2, 4, Shift);
    robot.key('C', Ctrl);
    EXPECT_EQ(desktop.clipboard().data(CF_TEXT), std::string("a\tb\r\nc\td\0", 9));

    // Pasted at another cell, the four texts land there and the pasted block is selected.
    Click(3, 5);
    robot.key('V', Ctrl);
    EXPECT_EQ(grid.GetCellText(3, 5), "a");
    EXPECT_EQ(grid.GetCellText(3, 6), "b");
    EXPECT_EQ(grid.GetCellText(4, 5), "c");
    EXPECT_EQ(grid.GetCellText(4, 6), "d");
    EXPECT_EQ(grid.SelectedCellBlock(), (CellBlock{3, 5, 4, 6}));
}

TEST_F(GridClipboardTest, CopiedTextIsUtf8) {
    Build(1);
    grid.SetCellText(1, 3, "Лист");
    Click(1, 3);
    robot.key('C', Ctrl);
    EXPECT_EQ(desktop.clipboard().text(), "Лист");
}

TEST_F(GridClipboardTest, PastedTextOfEveryShape) {
    struct Case {
        const char* name;
        std::string clipboard;
        CellRef target;
        std::vector<std::pair<CellRef, std::string>> expected;
    } cases[] = {
        {"commas", std::string("1,2\0", 4), {1, 3}, {{{1, 3}, "1"}, {{1, 4}, "2"}, {{1, 5}, "1.5"}}},
        {"lines with CR LF and a final line end", "x\r\ny\r\n", {1, 3},
         {{{1, 3}, "x"}, {{2, 3}, "y"}, {{3, 3}, "3.3"}}},
        {"a trailing tab makes no empty field", "p\t", {1, 3}, {{{1, 3}, "p"}, {{1, 4}, "1.4"}}},
        {"blanks are trimmed", "  q  , r ", {2, 4}, {{{2, 4}, "q"}, {{2, 5}, "r"}}},
        {"two separators leave an empty field", "m,\tn", {1, 4}, {{{1, 4}, "m"}, {{1, 5}, ""}, {{1, 6}, "n"}}},
        {"fields past the last column are dropped", "u,v,w", {1, 5}, {{{1, 5}, "u"}, {{1, 6}, "v"}}},
        {"no terminating zero", "z", {2, 6}, {{{2, 6}, "z"}}},
    };
    for (const Case& c : cases) {
        Build(3);
        desktop.clipboard().setData(CF_TEXT, c.clipboard);
        Click(c.target.row, c.target.column);
        robot.key('V', Ctrl);
        for (const auto& [cell, text] : c.expected)
            EXPECT_EQ(grid.GetCellText(cell.row, cell.column), text) << c.name << " at " << cell;
    }
}

TEST_F(GridClipboardTest, PastingStepsOverHiddenColumnsAndSkipsReadOnlyCells) {
    Build(2);
    grid.SetColumnPixelWidth(5, 0);
    grid.SetCellState(2, 4, CellStateReadOnly);
    EXPECT_TRUE(grid.PasteTextAt({1, 4}, DataObject::withText("a,b\nc,d"), false));
    EXPECT_EQ(grid.GetCellText(1, 4), "a");
    EXPECT_EQ(grid.GetCellText(1, 5), "1.5");  // hidden: stepped over
    EXPECT_EQ(grid.GetCellText(1, 6), "b");
    EXPECT_EQ(grid.GetCellText(2, 4), "2.4");  // read-only: refused alone
    EXPECT_EQ(grid.GetCellText(2, 6), "d");
    EXPECT_EQ(grid.SelectedCellCount(), 0);

    // A read-only target refuses the whole paste.
    EXPECT_FALSE(grid.PasteTextAt({2, 4}, DataObject::withText("e,f"), true));
    EXPECT_EQ(grid.GetCellText(2, 6), "d");
    EXPECT_FALSE(grid.PasteTextAt({1, 4}, DataObject{}, true));
}

TEST_F(GridClipboardTest, PastingWhileTheTargetIsEditedPastesIntoTheEditor) {
    Build(2);
    Click(1, 4);
    robot.type("z");
    desktop.clipboard().setText("pasted");
    grid.send(WM_COMMAND, makeWParam(ID_EDIT_PASTE, 0), 0);
    Window* editor = grid.child(GridEditorControlId);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "zpasted");
    EXPECT_EQ(grid.GetCellText(1, 4), "1.4");
}

TEST_F(GridClipboardTest, CutAndDeleteClearTheSelectionUnlessTheOwnerRefuses) {
    Build(3);
    Click(1, 3);
    Click(1, 4, Shift);
    robot.key('X', Ctrl);
    EXPECT_EQ(desktop.clipboard().text(), "1.3\t1.4");
    EXPECT_EQ(grid.GetCellText(1, 3), "");
    EXPECT_EQ(grid.GetCellText(1, 4), "");

    Click(2, 3);
    owner.answers[GridBeginEditCode] = -1;
    robot.key(VK_DELETE);
    EXPECT_EQ(grid.GetCellText(2, 3), "2.3");
    owner.answers.clear();
    robot.key(VK_DELETE);
    EXPECT_EQ(grid.GetCellText(2, 3), "");
}

TEST_F(GridClipboardTest, AnOwnerThatChangesTheSelectionWhileCellsAreClearedStopsNothing) {
    Build(3);
    Click(1, 3);
    Click(2, 4, Shift);
    int asked = 0;
    owner.onNote = [&](const Note& n) {
        if (n.code == GridBeginEditCode && ++asked == 1) grid.ClearSelection();
    };
    robot.key(VK_DELETE);
    EXPECT_EQ(asked, 4);  // every cell selected when Delete was pressed was asked for
    for (const CellRef c : {CellRef{1, 3}, CellRef{1, 4}, CellRef{2, 3}, CellRef{2, 4}})
        EXPECT_EQ(grid.GetCellText(c.row, c.column), "") << c;
    EXPECT_EQ(grid.FocusCell(), CellRef{});  // as the owner left it
}

TEST_F(GridClipboardTest, TheEditCommandsAreAvailableWhenTheyCanAct) {
    Build(2);
    desktop.clipboard().clear();
    EXPECT_TRUE(grid.OnUpdateEditSelectAll());
    EXPECT_FALSE(grid.OnUpdateEditCopy());
    EXPECT_FALSE(grid.OnUpdateEditCut());
    EXPECT_FALSE(grid.OnUpdateEditPaste());
    Click(1, 4);
    EXPECT_TRUE(grid.OnUpdateEditCopy());
    EXPECT_TRUE(grid.OnUpdateEditCut());
    EXPECT_FALSE(grid.OnUpdateEditPaste());  // nothing on the clipboard
    desktop.clipboard().setText("t");
    EXPECT_TRUE(grid.OnUpdateEditPaste());
    grid.SetCellState(1, 4, grid.GetCellState(1, 4) | CellStateReadOnly);
    EXPECT_FALSE(grid.OnUpdateEditPaste());

    owner.notes.clear();
    robot.key('A', Ctrl);
    EXPECT_EQ(grid.SelectedCellCount(), 12);
    EXPECT_EQ(owner.notes.back().code, GridSelectionChangedCode);
}

}  // namespace
}  // namespace grid_core_testing
