// The combo cell and its in-place combo box: opening never changes the value by itself, the first character,
// the keys that move through the list and those that end the edit, the dropped width, the drop button, the
// cell's size, and an editor window that cannot be made.
#include <gtest/gtest.h>

#include "nesting/grid/grid_cell_combo.h"
#include "nesting/grid/grid_combo_box.h"
#include "nesting/grid/tests/grid_page_fixture.h"

namespace grid_testing {
namespace {

class ComboTest : public GridPageTest {
protected:
    ComboTest() { BuildPage(3); }

    CGridCellCombo* Cell(int row, int column) { return dynamic_cast<CGridCellCombo*>(grid.CellAt(row, column)); }

    // Opens the combo of a cell as the grid does, with `first` as the first character.
    CGridComboBox* Open(int row, int column, unsigned first = VK_LBUTTON) {
        CGridCellCombo* cell = Cell(row, column);
        if (!cell || !cell->BeginEditing(row, column, CellRect(row, column), Point{}, GridEditorControlId, first))
            return nullptr;
        desktop.pumpUntilIdle();
        return OpenCombo();
    }
    // Takes the focus away, which ends an open edit.
    void Leave() {
        owner.setFocus();
        desktop.pumpUntilIdle();
    }
};

TEST_F(ComboTest, OpeningAndLeavingNeverChangesTheValueByItself) {
    struct Case {
        int column;
        const char* text;
        int selected;  // the choice made current on opening, -1 for none
    };
    const Case cases[] = {
        {kRotationColumn, "Sector", 2},
        {kRotationColumn, "Sect", -1},    // no choice is taken for the start of its text
        {kRotationColumn, "sector", -1},  // nor for a different spelling
        {kDeltaColumn, "3", -1},          // would have become "30"
        {kDeltaColumn, "", -1},           // an emptied cell stays empty, not "Any"
        {kDeltaColumn, "Inscribe", 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        grid.SetCellText(1, c.column, c.text);
        reports.clear();
        CGridComboBox* combo = Open(1, c.column);
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(EditorText(), c.text);
        if (c.selected >= 0) {
            EXPECT_EQ(combo->currentSelection(), c.selected);
        }
        EXPECT_TRUE(combo->isDropped());
        Leave();
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0], (EditorReport{1, c.column, c.text, 0, CellMaskText | CellMaskData}));
        EXPECT_EQ(grid.GetCellText(1, c.column), c.text);
        EXPECT_EQ(OpenEditor(), nullptr);
    }
}

TEST_F(ComboTest, FirstCharacterPlacesTheCaretOrTypesIntoTheField) {
    struct Case {
        unsigned first;
        const char* text;
        int selectionStart;
        int selectionEnd;
    };
    const Case cases[] = {
        {VK_LBUTTON, "0-360", 5, 5},
        {VK_RETURN, "0-360", 5, 5},
        {VK_BACK, "0-36", 4, 4},
        {VK_TAB, "0-360", 0, 5},  // sent, but a single-line field types no Tab
        {VK_SPACE, " ", 1, 1},    // unlike the edit box, a space replaces the text
        {VK_RIGHT, "0-360", 0, 5},
        {'S', "S", 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        grid.SetCellText(1, kRotationColumn, "0-360");
        CGridComboBox* combo = Open(1, kRotationColumn, c.first);
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(EditorText(), c.text);
        EXPECT_EQ(combo->EditField().selectionStart(), c.selectionStart);
        EXPECT_EQ(combo->EditField().selectionEnd(), c.selectionEnd);
        Leave();
    }
}

TEST_F(ComboTest, ArrowsMoveThroughTheListWithoutEndingTheEdit) {
    ASSERT_NE(Open(1, kRotationColumn), nullptr);  // "0-360"
    robot.key(VK_DOWN);
    EXPECT_EQ(EditorText(), "Sector");
    robot.key(VK_UP);
    robot.key(VK_UP);
    EXPECT_EQ(EditorText(), "No Rotate");
    robot.key(VK_LEFT);
    robot.key(VK_RIGHT);
    EXPECT_TRUE(reports.empty());
    ASSERT_NE(OpenCombo(), nullptr);

    // A press elsewhere first closes the dropped list; the next one takes the focus and ends the edit.
    ClickCell(2, kQuantityColumn);
    ClickCell(2, kQuantityColumn);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].text, "No Rotate");
    EXPECT_EQ(reports[0].key, 0u);
    EXPECT_EQ(grid.GetCellText(1, kRotationColumn), "No Rotate");
    EXPECT_EQ(OpenEditor(), nullptr) << "a lost focus moves nowhere";
}

TEST_F(ComboTest, KeysThatEndTheEditAndTheKeyReported) {
    struct Case {
        unsigned key;
        Modifiers mods;
        unsigned reported;
        const char* text;  // reported after typing "x" into the field
    };
    const Case cases[] = {
        {VK_DOWN, Ctrl, VK_DOWN, "0-360x"},
        {VK_PRIOR, Ctrl, VK_PRIOR, "0-360x"},
        {VK_LEFT, Ctrl, VK_LEFT, "0-360x"},
        {VK_TAB, NoModifiers, VK_TAB, "0-360x"},
        {VK_RETURN, NoModifiers, VK_RETURN, "0-360x"},
        {VK_ESCAPE, NoModifiers, 27, "0-360"},  // Esc puts the text the edit began with back
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        grid.SetCellText(1, kRotationColumn, "0-360");
        reports.clear();
        ASSERT_NE(Open(1, kRotationColumn), nullptr);
        robot.type("x");
        robot.key(c.key, c.mods);
        ASSERT_FALSE(reports.empty());
        EXPECT_EQ(reports[0], (EditorReport{1, kRotationColumn, c.text, c.reported, CellMaskText | CellMaskData}));
        Leave();
    }
}

TEST_F(ComboTest, TheTabThatOpensAComboDoesNotEndIt) {
    // Typing through a row: the quantity's edit box ends on the Tab character and the grid opens the rotation
    // combo at once; the key-up of that same Tab then reaches the combo and must leave it open.
    ClickCell(1, kQuantityColumn);
    robot.type("7");
    robot.key(VK_TAB);
    EXPECT_EQ(grid.GetCellText(1, kQuantityColumn), "7");
    CGridComboBox* combo = OpenCombo();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->Column(), kRotationColumn);
    EXPECT_EQ(reports.size(), 1u);

    robot.key(VK_TAB);  // a Tab of its own ends it and moves on
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1].key, VK_TAB);
    ASSERT_NE(OpenCombo(), nullptr);
    EXPECT_EQ(OpenCombo()->Column(), kDeltaColumn);
}

TEST_F(ComboTest, SpaceOnAComboCellReplacesTheTextButOnAPlainCellOnlySelects) {
    ClickCell(1, kQuantityColumn);
    robot.key(VK_SPACE);
    EXPECT_EQ(EditorText(), "1");
    Leave();
    ClickCell(1, kRotationColumn);
    robot.key(VK_SPACE);
    EXPECT_EQ(EditorText(), " ");
    Leave();
}

TEST_F(ComboTest, DroppedListIsAsWideAsItsItemsButNeverWiderThan200) {
    struct Case {
        std::vector<std::string> choices;
        int width;
    };
    const Case cases[] = {
        {{}, 6},                                        // only the "0"
        {{"1", "2"}, 6 + 17 + 6},                       // the widest item, a scroll bar, a "0"
        {{"Sector+180", "No Rotate"}, 60 + 17 + 6},
        {{std::string(30, 'w')}, 200},                  // 180 + 17 + 6 would be 203
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        Cell(1, kRotationColumn)->SetChoiceList(c.choices);
        CGridComboBox* combo = Open(1, kRotationColumn);
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->ComputeDropWidth(), c.width);
        EXPECT_LE(combo->droppedRect().width(), std::max(200, combo->windowRect().width()));
        Leave();
    }
}

TEST_F(ComboTest, DropButtonOnlyOnAnEditableCellThatHoldsIt) {
    struct Case {
        const char* what;
        unsigned state;
        int rowHeight;
        bool editorOpen;
        bool button;
    };
    const Case cases[] = {
        {"editable", 0, 18, false, true},
        {"read-only", CellStateReadOnly, 18, false, false},
        {"too low for the 17-pixel button", 0, 17, false, false},
        {"while its combo is open", 0, 18, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        grid.SetCellState(2, kRotationColumn, c.state);
        grid.SetRowPixelHeight(2, c.rowHeight);
        if (c.editorOpen) {
            ASSERT_NE(Open(2, kRotationColumn), nullptr);
        }
        grid.clearDisplayList();
        grid.RepaintGrid();
        desktop.pumpUntilIdle();
        const Rect cell = CellRect(2, kRotationColumn);
        int buttons = 0;
        for (const DrawRecord* r : grid.displayList().ofKind(DrawOp::FrameControl)) {
            if (!overlaps(r->rect, Rect{cell.left, cell.top, cell.right + 1, cell.bottom + 1})) continue;
            ++buttons;
            EXPECT_EQ(r->flags, DFC_SCROLL);
            EXPECT_EQ(r->flags2, DFCS_SCROLLDOWN);
            // The top right corner, up to the grid line.
            EXPECT_EQ(r->rect, (Rect{cell.right - 17, cell.top, cell.right, cell.top + 17}));
        }
        EXPECT_EQ(buttons, c.button ? 1 : 0);
        if (c.editorOpen) {
            for (const DrawRecord* r : grid.displayList().texts("0-360"))
                EXPECT_FALSE(overlaps(r->rect, cell)) << "no text beside the open combo";
            Leave();
        }
    }
}

TEST_F(ComboTest, MeasuredWiderAndAtLeastAsTallAsTheButton) {
    CGridCellBase* plain = grid.CellAt(1, kQuantityColumn);
    CGridCellCombo* combo = Cell(1, kRotationColumn);
    plain->PutText("0-360");
    const Size plainSize = plain->MeasureCell(nullptr);
    const Size comboSize = combo->MeasureCell(nullptr);
    EXPECT_EQ(comboSize.width, plainSize.width + 17);
    EXPECT_EQ(comboSize.height, std::max(plainSize.height, 17));
}

TEST_F(ComboTest, ASecondBeginWhileOpenTypesIntoTheOpenCombo) {
    CGridComboBox* first = Open(1, kRotationColumn);
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(Cell(1, kRotationColumn)->BeginEditing(1, kRotationColumn, CellRect(1, kRotationColumn), Point{},
                                                       GridEditorControlId, 'Z'));
    desktop.pumpUntilIdle();
    EXPECT_EQ(OpenCombo(), first);
    EXPECT_EQ(EditorText(), "0-360Z");
    Leave();
    EXPECT_EQ(reports.size(), 1u);
}

TEST_F(ComboTest, PasteWhileTheComboIsOpenGoesIntoItsField) {
    grid.MoveFocusToCell(1, kRotationColumn);
    CGridComboBox* combo = Open(1, kRotationColumn, VK_TAB);  // all selected
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(Cell(1, kRotationColumn)->QueryEditor(), &combo->EditField());
    desktop.clipboard().setText("Sector");
    grid.PasteFromClipboard();
    desktop.pumpUntilIdle();
    EXPECT_EQ(EditorText(), "Sector");
    EXPECT_EQ(grid.GetCellText(1, kRotationColumn), "0-360") << "the cell changes only when the edit ends";
    Leave();
    EXPECT_EQ(grid.GetCellText(1, kRotationColumn), "Sector");
}

TEST_F(ComboTest, AGridDestroyedWithAnOpenComboTakesTheComboWithIt) {
    ASSERT_NE(Open(1, kRotationColumn, 'S'), nullptr);
    grid.destroy();
    desktop.pumpUntilIdle();  // the combo's posted close finds no window: nothing left behind, nothing freed twice
    EXPECT_EQ(OpenEditor(), nullptr);
}

TEST_F(ComboTest, AnEditorWindowThatCannotBeMadeLeavesTheCellOutOfEditMode) {
    // A grid without a window cannot parent an editor.
    CGridCtrl loose(2, 2, 1, 1);
    ASSERT_TRUE(loose.SetCellClass(1, 1, CGridCellCombo::GetThisClass()));
    auto* cell = dynamic_cast<CGridCellCombo*>(loose.CellAt(1, 1));
    ASSERT_NE(cell, nullptr);
    cell->SetChoiceList(kPriorities);
    EXPECT_FALSE(cell->BeginEditing(1, 1, Rect{0, 0, 40, 17}, Point{}, GridEditorControlId, VK_LBUTTON));
    EXPECT_FALSE(cell->InEditMode());
    EXPECT_EQ(cell->QueryEditor(), nullptr);
    cell->StopEditing();  // nothing to end
}

}  // namespace
}  // namespace grid_testing
