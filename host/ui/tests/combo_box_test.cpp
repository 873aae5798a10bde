// The combo box driven through the robot: the dropped list by mouse and keys with the notifications in the
// order a user sees them, the edit child, selection by text, focus in and out, geometry and painting.
#include "host/ui/combo_box.h"

#include "host/ui/edit.h"
#include "host/ui/tests/control_fixture.h"

namespace host::ui {
namespace {

using testing::kLineHeight;

constexpr int kComboBoxId = 300;
// 120 wide; 100 high for the field (12 + 6 = 18) and the list (82: six rows of 12).
constexpr Rect kComboBoxRect{10, 10, 130, 110};

class ComboBoxTest : public testing::ControlTest {
protected:
    ComboBox& make(std::uint32_t type, std::uint32_t extra = 0) {
        EXPECT_TRUE(ControlTest::make(combo, kComboBoxClass, "", type | WS_TABSTOP | extra, kComboBoxRect, kComboBoxId));
        for (const char* t : {"Diamond", "Flame", "Laser", "Waterjet"}) combo.addString(t);
        clearLog();
        return combo;
    }
    // The screen point of an item's row in the dropped list.
    Point itemOnScreen(int index) const {
        const Window* list = combo.listWindow();
        return list->clientToScreen(Point{10, (index - combo.topIndex()) * kLineHeight + 6});
    }
    Point fieldPoint() const { return {20, 9}; }
    Point buttonPoint() const { return combo.buttonRect().center(); }

    ComboBox combo;
};

TEST_F(ComboBoxTest, ClickingAnItemOfTheDroppedListSelectsIt) {
    ComboBox& c = make(CBS_DROPDOWNLIST);
    robot.clickAt(c, fieldPoint());
    ASSERT_TRUE(c.isDropped());
    Window* list = c.listWindow();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->windowRect().top, c.windowRect().bottom) << "the list drops below the field";
    EXPECT_EQ(c.highlighted(), -1);
    robot.moveTo(itemOnScreen(1));
    EXPECT_EQ(c.highlighted(), 1) << "the mouse highlights without choosing";
    EXPECT_EQ(c.currentSelection(), -1);
    robot.click(itemOnScreen(2));
    EXPECT_FALSE(c.isDropped());
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(c.currentSelection(), 2);
    EXPECT_EQ(c.text(), "Laser");
    EXPECT_TRUE(c.hasFocus());
    EXPECT_EQ(commands(kComboBoxId),
              (std::vector<int>{CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
}

TEST_F(ComboBoxTest, ClosingWithoutAChoiceCancels) {
    struct Case {
        const char* name;
        std::function<void(Robot&, ComboBox&)> close;
    };
    const Case cases[] = {
        {"Esc", [](Robot& r, ComboBox&) { r.key(VK_ESCAPE); }},
        {"F4", [](Robot& r, ComboBox&) { r.key(VK_F4); }},
        {"a click on the field again", [](Robot& r, ComboBox& c) { r.clickAt(c, Point{20, 9}); }},
        {"a click elsewhere", [](Robot& r, ComboBox& c) { r.click(c.parent()->clientToScreen(Point{300, 250})); }},
    };
    for (const Case& c : cases) {
        ComboBox& combo = make(CBS_DROPDOWNLIST);
        combo.setCurrentSelection(1);
        combo.setFocus();
        robot.key(VK_DOWN, Alt);
        ASSERT_TRUE(combo.isDropped()) << c.name;
        clearLog();
        c.close(robot, combo);
        EXPECT_FALSE(combo.isDropped()) << c.name;
        EXPECT_EQ(combo.currentSelection(), 1) << c.name;
        EXPECT_EQ(commands(kComboBoxId), (std::vector<int>{CBN_SELENDCANCEL, CBN_CLOSEUP})) << c.name;
        int presses = 0;
        for (const auto& e : owner.log) presses += e.id == WM_LBUTTONDOWN;
        EXPECT_EQ(presses, 0) << c.name << ": the press that closed the list goes no further";
        combo.destroy();
        robot.wait(1000);
    }
}

TEST_F(ComboBoxTest, KeysMoveTheSelectionDroppedOrNot) {
    ComboBox& c = make(CBS_DROPDOWNLIST);
    c.setFocus();
    clearLog();
    struct Step {
        unsigned key;
        Modifiers mods;
        int expected;
    };
    const Step steps[] = {{VK_DOWN, NoModifiers, 0}, {VK_DOWN, NoModifiers, 1}, {VK_END, NoModifiers, 3},
                          {VK_UP, NoModifiers, 2},   {VK_HOME, NoModifiers, 0}};
    for (const Step& s : steps) {
        robot.key(s.key, s.mods);
        EXPECT_EQ(c.currentSelection(), s.expected) << s.key;
    }
    robot.type("w");
    EXPECT_EQ(c.currentSelection(), 3) << "a character picks the next item starting with it";
    EXPECT_EQ(commands(kComboBoxId), std::vector<int>(6, CBN_SELCHANGE));
    clearLog();
    robot.key(VK_F4);
    robot.key(VK_UP);
    EXPECT_EQ(c.highlighted(), 2);
    robot.key(VK_RETURN);
    EXPECT_EQ(c.currentSelection(), 2);
    EXPECT_EQ(commands(kComboBoxId), (std::vector<int>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
    int characters = 0;
    for (const auto& e : owner.log) characters += e.id == WM_CHAR;
    EXPECT_EQ(characters, 0) << "the Enter that closed the list reaches no one else";
}

TEST_F(ComboBoxTest, TheEditChildTypesAndFollowsTheList) {
    ComboBox& c = make(CBS_DROPDOWN);
    Edit* e = c.edit();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->id(), kComboEditId);
    c.setFocus();
    EXPECT_TRUE(e->hasFocus()) << "the combo passes the focus to its edit";
    EXPECT_EQ(commands(kComboBoxId), (std::vector<int>{CBN_SETFOCUS}));
    clearLog();
    robot.type("La");
    EXPECT_EQ(c.text(), "La");
    EXPECT_EQ(c.currentSelection(), -1);
    EXPECT_EQ(commands(kComboBoxId), (std::vector<int>{CBN_EDITUPDATE, CBN_EDITCHANGE, CBN_EDITUPDATE, CBN_EDITCHANGE}));
    clearLog();
    robot.key(VK_DOWN);
    EXPECT_EQ(c.currentSelection(), 0);
    EXPECT_EQ(e->text(), "Diamond");
    EXPECT_EQ(e->selectionStart(), 0);
    EXPECT_EQ(e->selectionEnd(), 7) << "the text shown is all selected";
    EXPECT_EQ(commands(kComboBoxId), (std::vector<int>{CBN_SELCHANGE})) << "the edit's own change is not an edit change";
    // With the list dropped, typing highlights the first item that starts with the text; Enter takes it.
    clearLog();
    robot.clickAt(c, buttonPoint());
    ASSERT_TRUE(c.isDropped());
    robot.type("W");
    EXPECT_EQ(c.highlighted(), 3);
    EXPECT_EQ(c.currentSelection(), 0);
    robot.key(VK_RETURN);
    EXPECT_EQ(c.text(), "Waterjet");
    EXPECT_EQ(commands(kComboBoxId), (std::vector<int>{CBN_DROPDOWN, CBN_EDITUPDATE, CBN_EDITCHANGE, CBN_SELCHANGE,
                                               CBN_SELENDOK, CBN_CLOSEUP}));
}

TEST_F(ComboBoxTest, SelectionByTextAndByPrefix) {
    ComboBox& list = make(CBS_DROPDOWNLIST);
    struct Case {
        unsigned message;
        int start;
        const char* text;
        std::intptr_t answer;
        int selection;  // afterwards
    };
    const Case cases[] = {
        {CB_SELECTSTRING, -1, "la", 2, 2},
        {CB_SELECTSTRING, -1, "", CB_ERR, 2},  // an empty text picks nothing
        {CB_SELECTSTRING, 2, "w", 3, 3},
        {CB_FINDSTRINGEXACT, -1, "FLAME", 1, 3},
        {CB_FINDSTRINGEXACT, -1, "Flam", CB_ERR, 3},
        {CB_FINDSTRING, 0, "d", 0, 3},  // wraps round past the end
        {WM_SETTEXT, 0, "flame", 1, 1},
        {WM_SETTEXT, 0, "Plasma", CB_ERR, 1},  // a drop-down list holds only its items
        {CB_SETCURSEL, 7, nullptr, CB_ERR, 1},
        {CB_SETCURSEL, -1, nullptr, CB_ERR, -1},
    };
    for (const Case& k : cases) {
        const std::intptr_t answer =
            list.send(k.message, static_cast<std::uintptr_t>(k.start), k.text ? lParamFromPointer(k.text) : 0);
        EXPECT_EQ(answer, k.answer) << (k.text ? k.text : "") << " " << k.start;
        EXPECT_EQ(list.currentSelection(), k.selection) << (k.text ? k.text : "") << " " << k.start;
    }
    EXPECT_TRUE(commands(kComboBoxId).empty()) << "a program's changes notify nothing";

    // Exact text first as spelled, then ignoring case.
    list.addString("laser");
    EXPECT_TRUE(list.selectExactText("laser"));
    EXPECT_EQ(list.itemText(list.currentSelection()), "laser");
    EXPECT_TRUE(list.selectExactText("LASER"));
    EXPECT_EQ(list.itemText(list.currentSelection()), "Laser");
    EXPECT_FALSE(list.selectExactText("Lase"));

    ComboBox sorted;
    ASSERT_TRUE(ControlTest::make(sorted, kComboBoxClass, "", CBS_DROPDOWN | CBS_SORT, kComboBoxRect, kComboBoxId + 1));
    sorted.addString("mm");
    sorted.addString("inc");
    EXPECT_EQ(sorted.itemText(0), "inc");
    sorted.setText("mm");
    EXPECT_EQ(sorted.currentSelection(), 1) << "an edit's text names its item";
    sorted.setText("cm");
    EXPECT_EQ(sorted.currentSelection(), -1);
    EXPECT_EQ(sorted.text(), "cm");
    sorted.resetContent();
    EXPECT_EQ(sorted.count(), 0);
    EXPECT_EQ(sorted.text(), "");
}

TEST_F(ComboBoxTest, FocusInAndOutIsToldOnce) {
    ComboBox& c = make(CBS_DROPDOWN);
    Edit other;
    ASSERT_TRUE(ControlTest::make(other, kEditClass, "", ES_AUTOHSCROLL, Rect{10, 200, 100, 220}, kComboBoxId + 1));
    robot.clickAt(*c.edit(), Point{5, 5});
    c.setFocus();  // the combo hands the focus back to its edit: no new notification
    robot.clickAt(c, buttonPoint());
    ASSERT_TRUE(c.isDropped());
    robot.key(VK_DOWN);
    other.setFocus();
    EXPECT_FALSE(c.isDropped());
    EXPECT_EQ(commands(kComboBoxId), (std::vector<int>{CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDCANCEL,
                                               CBN_CLOSEUP, CBN_KILLFOCUS}));
}

TEST_F(ComboBoxTest, AKillFocusCheckElsewhereStopsTheDrop) {
    ComboBox& c = make(CBS_DROPDOWNLIST);
    Edit checked;
    ASSERT_TRUE(ControlTest::make(checked, kEditClass, "bad", ES_AUTOHSCROLL, Rect{10, 200, 100, 220}, kComboBoxId + 1));
    checked.setFocus();
    owner.onMessage = [&](Message& m, std::intptr_t&) {
        if (m.id == WM_COMMAND && loWord(m.w) == kComboBoxId + 1 && hiWord(m.w) == EN_KILLFOCUS) checked.setFocus();
        return false;
    };
    clearLog();
    robot.clickAt(c, fieldPoint());
    EXPECT_FALSE(c.isDropped());
    EXPECT_TRUE(checked.hasFocus());
    EXPECT_TRUE(commands(kComboBoxId).empty());
}

TEST_F(ComboBoxTest, GeometryOfTheFieldAndTheList) {
    ComboBox& c = make(CBS_DROPDOWNLIST);
    EXPECT_EQ(c.fieldHeight(), kLineHeight + 6);
    EXPECT_EQ(c.windowRect().height(), c.fieldHeight()) << "the combo keeps the field's height";
    EXPECT_EQ(c.droppedItemCount(), 4) << "six rows fit; four items are shown";
    Rect dropped;
    c.send(CB_GETDROPPEDCONTROLRECT, 0, lParamFromPointer(&dropped));
    EXPECT_EQ(dropped, Rect::fromSize(c.windowRect().left, c.windowRect().bottom, 120, 4 * kLineHeight + 2));
    EXPECT_EQ(c.send(CB_SETDROPPEDWIDTH, 200), 200);
    c.send(CB_GETDROPPEDCONTROLRECT, 0, lParamFromPointer(&dropped));
    EXPECT_EQ(dropped.width(), 200);
    c.send(CB_SETITEMHEIGHT, static_cast<std::uintptr_t>(-1), 20);
    EXPECT_EQ(c.windowRect().height(), 26);
    for (int i = 0; i < 10; ++i) c.addString("more");
    EXPECT_EQ(c.droppedItemCount(), 6);
    c.setFocus();
    robot.key(VK_F4);
    EXPECT_TRUE(c.listWindow()->isScrollBarVisible(SB_VERT));
    robot.key(VK_END);
    EXPECT_EQ(c.topIndex(), 8) << "the last of 14 items in view";
    robot.key(VK_ESCAPE);
}

TEST_F(ComboBoxTest, PaintsTheFieldAndTheList) {
    ComboBox& c = make(CBS_DROPDOWNLIST);
    c.setCurrentSelection(1);
    repaint(c);
    EXPECT_EQ(drawnTexts(c), (std::vector<std::string>{"Flame"}));
    EXPECT_EQ(c.displayList().ofKind(DrawOp::FrameControl).size(), 1u) << "the drop button";
    c.setFocus();
    repaint(c);
    EXPECT_EQ(c.displayList().ofKind(DrawOp::Text)[0]->textColor, desktop.sysColor(COLOR_HIGHLIGHTTEXT));
    EXPECT_EQ(c.displayList().ofKind(DrawOp::FocusRect).size(), 1u);
    robot.key(VK_F4);
    Window* list = c.listWindow();
    repaint(*list);
    EXPECT_EQ(drawnTexts(*list), (std::vector<std::string>{"Diamond", "Flame", "Laser", "Waterjet"}));
    EXPECT_EQ(list->displayList().ofKind(DrawOp::Text)[1]->textColor, desktop.sysColor(COLOR_HIGHLIGHTTEXT));
    robot.key(VK_ESCAPE);
}

TEST_F(ComboBoxTest, SimpleComboShowsItsListBelowTheField) {
    ComboBox& c = make(CBS_SIMPLE);
    Window* list = c.listWindow();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->parent(), &c);
    EXPECT_EQ(c.windowRect().height(), 100) << "a simple combo keeps its height";
    robot.clickAt(*list, Point{10, kLineHeight + 6});
    EXPECT_EQ(c.currentSelection(), 1);
    EXPECT_EQ(c.edit()->text(), "Flame");
    EXPECT_TRUE(c.edit()->hasFocus());
    EXPECT_EQ(commands(kComboBoxId), (std::vector<int>{CBN_SETFOCUS, CBN_SELCHANGE}));
    robot.key(VK_F4);
    EXPECT_FALSE(c.isDropped()) << "a simple combo has nothing to drop";
}

}  // namespace
}  // namespace host::ui
