// The in-place edit box: how the first character starts the edit, which keys end it and what it reports, how it
// grows while typing, and that it reports once and goes away.
#include <gtest/gtest.h>

#include "nesting/grid/grid_edit_box.h"
#include "nesting/grid/tests/grid_page_fixture.h"

namespace grid_testing {
namespace {

class EditBoxTest : public GridPageTest {
protected:
    EditBoxTest() { BuildPage(3); }

    // Opens a box over the quantity cell of row 1 as the cell does, with `text` in it.
    CGridEditBox* OpenBox(unsigned firstCharacter, const std::string& text = "abc") {
        auto* box = new CGridEditBox;
        if (!box->Open(grid, CellRect(1, kQuantityColumn), ES_LEFT, GridEditorControlId, 1, kQuantityColumn, text,
                       firstCharacter)) {
            delete box;
            return nullptr;
        }
        desktop.pumpUntilIdle();
        return box;
    }
};

TEST_F(EditBoxTest, FirstCharacterPlacesTheCaretOrTypesOverTheText) {
    struct Case {
        unsigned first;
        const char* text;  // the box's text once the character has been handled
        int selectionStart;
        int selectionEnd;
    };
    const Case cases[] = {
        {VK_LBUTTON, "abc", 3, 3},  // a click: the caret after the text
        {VK_RETURN, "abc", 3, 3},
        {VK_BACK, "ab", 2, 2},      // Backspace deletes the last character
        {VK_TAB, "abc", 0, 3},      // moved on by Tab: everything selected, nothing typed
        {VK_SPACE, "abc", 0, 3},    // a space selects, it does not type
        {VK_PRIOR, "abc", 0, 3},
        {VK_DOWN, "abc", 0, 3},
        {'7', "7", 1, 1},           // a typed character replaces the text
        {0x416, "Ж", 1, 1},         // beyond ASCII, typed as an IME character
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        CGridEditBox* box = OpenBox(c.first);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), c.text);
        EXPECT_EQ(box->selectionStart(), c.selectionStart);
        EXPECT_EQ(box->selectionEnd(), c.selectionEnd);
        EXPECT_EQ(box->ExitsOnArrows(), c.first != VK_LBUTTON);
        grid.setFocus();  // ends the edit; the box goes
        desktop.pumpUntilIdle();
        EXPECT_EQ(OpenEditor(), nullptr);
    }
}

TEST_F(EditBoxTest, OpensOverTheCellInTheGridsFontWithTheEditorId) {
    CGridEditBox* box = OpenBox(VK_LBUTTON);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->parent(), &grid);
    EXPECT_EQ(box->id(), GridEditorControlId);
    EXPECT_EQ(box->rectInParent(), CellRect(1, kQuantityColumn));
    EXPECT_TRUE(box->hasFocus());
    EXPECT_EQ(box->font(), grid.font());
    EXPECT_NE(box->style() & WS_BORDER, 0u);
}

TEST_F(EditBoxTest, KeysThatEndTheEditAndTheKeyReported) {
    struct Case {
        unsigned opener;  // VK_LBUTTON: opened by a click; VK_TAB: opened by a key
        unsigned key;
        Modifiers mods;
        bool ends;
        unsigned reported;
    };
    const Case cases[] = {
        {VK_LBUTTON, VK_LEFT, NoModifiers, false, 0},  // a click-opened edit keeps the caret keys
        {VK_LBUTTON, VK_DOWN, NoModifiers, false, 0},
        {VK_LBUTTON, VK_LEFT, Ctrl, true, VK_LEFT},    // unless Ctrl is held
        {VK_LBUTTON, VK_NEXT, Ctrl, true, VK_NEXT},
        {VK_TAB, VK_LEFT, NoModifiers, true, VK_LEFT},  // a key-opened edit ends on an arrow at once
        {VK_TAB, VK_UP, NoModifiers, true, VK_UP},
        {VK_TAB, VK_PRIOR, NoModifiers, true, VK_PRIOR},
        {VK_TAB, VK_HOME, NoModifiers, false, 0},       // Home and End always stay with the box
        {VK_TAB, VK_END, NoModifiers, false, 0},
        {VK_LBUTTON, VK_TAB, NoModifiers, true, VK_TAB},
        {VK_LBUTTON, VK_RETURN, NoModifiers, true, VK_RETURN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "opener " << c.opener << " key " << c.key << " mods " << c.mods);
        reports.clear();
        ASSERT_NE(OpenBox(c.opener), nullptr);
        robot.key(c.key, c.mods);
        if (!c.ends) {
            EXPECT_TRUE(reports.empty());
            EXPECT_NE(OpenEditor(), nullptr);
            grid.setFocus();
            desktop.pumpUntilIdle();
            ASSERT_EQ(reports.size(), 1u);
            EXPECT_EQ(reports[0].key, 0u);
            continue;
        }
        ASSERT_FALSE(reports.empty());
        EXPECT_EQ(reports[0], (EditorReport{1, kQuantityColumn, "abc", c.reported, CellMaskText | CellMaskData}));
        // Whatever the grid opened next, close it before the next case.
        grid.setFocus();
        desktop.pumpUntilIdle();
    }
}

TEST_F(EditBoxTest, EscReportsTheInitialTextAndLosingTheFocusReportsTheCurrentOne) {
    ASSERT_NE(OpenBox(VK_LBUTTON, "1"), nullptr);
    robot.type("99");
    robot.key(VK_ESCAPE);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].text, "1");
    EXPECT_EQ(reports[0].key, 27u);
    EXPECT_EQ(grid.GetCellText(1, kQuantityColumn), "1");

    reports.clear();
    ASSERT_NE(OpenBox(VK_LBUTTON, "1"), nullptr);
    robot.type("99");
    owner.setFocus();  // another window takes the focus
    desktop.pumpUntilIdle();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].text, "199");
    EXPECT_EQ(reports[0].key, 0u);
}

TEST_F(EditBoxTest, GrowsWithTheTextUpToTheGridsRightEdgeAndNoFurther) {
    CGridEditBox* box = OpenBox(VK_LBUTTON, "");
    ASSERT_NE(box, nullptr);
    const Rect start = box->BoxRect();
    robot.type("1234");  // "1234" and two blanks: 36 pixels, within the 39-pixel box
    EXPECT_EQ(box->BoxRect(), start);
    robot.type("56789");  // 9 characters and two blanks: 66 pixels
    EXPECT_EQ(box->BoxRect().right, start.left + 66);
    EXPECT_EQ(box->rectInParent().right, start.left + 66);
    EXPECT_EQ(box->BoxRect().left, start.left);
    robot.type(std::string(80, 'x'));
    EXPECT_EQ(box->BoxRect().right, grid.clientRect().right);
    EXPECT_EQ(box->rectInParent().right, grid.clientRect().right);
}

TEST_F(EditBoxTest, AnEndedBoxReportsOnceAndIsGone) {
    // Ended by the cell (as scrolling or a press elsewhere do): closing the box takes its focus away, which must
    // not report a second time.
    CGridCellBase* cell = grid.CellAt(1, kQuantityColumn);
    ASSERT_TRUE(cell->BeginEditing(1, kQuantityColumn, CellRect(1, kQuantityColumn), Point{}, GridEditorControlId,
                                   '5'));
    desktop.pumpUntilIdle();
    Window* box = OpenEditor();
    ASSERT_NE(box, nullptr);
    cell->StopEditing();
    desktop.pumpUntilIdle();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].text, "5");
    EXPECT_FALSE(desktop.isWindow(box));
    EXPECT_FALSE(cell->InEditMode());
    EXPECT_EQ(grid.GetCellText(1, kQuantityColumn), "5");
}

TEST_F(EditBoxTest, AGridDestroyedWithAnOpenBoxTakesTheBoxWithIt) {
    ASSERT_NE(OpenBox('4'), nullptr);
    grid.destroy();
    desktop.pumpUntilIdle();
    EXPECT_EQ(OpenEditor(), nullptr);  // and the sanitizer sees no box left behind
}

}  // namespace
}  // namespace grid_testing
