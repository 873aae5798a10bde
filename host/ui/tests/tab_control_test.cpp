// The tab control driven through the robot: choosing a tab by mouse and keys, an owner that refuses to leave
// the current tab, the item messages, geometry and painting.
#include "host/ui/tab_control.h"

#include "host/ui/edit.h"
#include "host/ui/tests/control_fixture.h"

namespace host::ui {
namespace {

using testing::kCharWidth;
using testing::kLineHeight;

constexpr int kTabControlId = 600;
constexpr Rect kTabControlRect{10, 10, 310, 210};

class TabControlTest : public testing::ControlTest {
protected:
    TabControl& make(std::uint32_t style = 0) {
        EXPECT_TRUE(ControlTest::make(tabs, kTabControlClass, "", style | WS_TABSTOP, kTabControlRect, kTabControlId));
        for (const char* title : {"General", "Code", "Format"}) {
            TabItem item;
            item.mask = TCIF_TEXT | TCIF_PARAM;
            item.text = title;
            item.param = title[0];
            tabs.send(TCM_INSERTITEM, static_cast<std::uintptr_t>(tabs.itemCount()), lParamFromPointer(&item));
        }
        clearLog();
        return tabs;
    }
    Point tabPoint(int index) const { return tabs.itemRect(index).center(); }

    TabControl tabs;
};

TEST_F(TabControlTest, AClickOnAnotherTabAsksThenChanges) {
    TabControl& t = make();
    EXPECT_EQ(t.currentSelection(), 0) << "the first tab inserted is current";
    robot.clickAt(t, tabPoint(2));
    EXPECT_EQ(t.currentSelection(), 2);
    EXPECT_EQ(notifications(kTabControlId), (std::vector<int>{TCN_SELCHANGING, TCN_SELCHANGE}));
    EXPECT_TRUE(t.hasFocus());
    clearLog();
    robot.wait(1000);
    robot.clickAt(t, tabPoint(2));
    EXPECT_TRUE(notifications(kTabControlId).empty()) << "the current tab again changes nothing";
}

TEST_F(TabControlTest, AnOwnerCanRefuseToLeaveTheTab) {
    TabControl& t = make();
    owner.onMessage = [](Message& m, std::intptr_t& result) {
        const auto* header = m.id == WM_NOTIFY ? pointerFromParam<const NotifyHeader>(m.l) : nullptr;
        if (!header || header->code != TCN_SELCHANGING) return false;
        result = 1;  // the page shown refuses to be left
        return true;
    };
    robot.clickAt(t, tabPoint(1));
    EXPECT_EQ(t.currentSelection(), 0);
    EXPECT_EQ(notifications(kTabControlId), (std::vector<int>{TCN_SELCHANGING}));
    robot.key(VK_RIGHT);
    EXPECT_EQ(t.currentSelection(), 0);
}

TEST_F(TabControlTest, KeysMoveBetweenTabs) {
    TabControl& t = make();
    t.setFocus();
    robot.key(VK_RIGHT);
    EXPECT_EQ(t.currentSelection(), 1);
    EXPECT_EQ(notifications(kTabControlId), (std::vector<int>{TCN_KEYDOWN, TCN_SELCHANGING, TCN_SELCHANGE}));
    robot.key(VK_END);
    EXPECT_EQ(t.currentSelection(), 2);
    robot.key(VK_RIGHT);
    EXPECT_EQ(t.currentSelection(), 2) << "no wrapping";
    robot.key(VK_HOME);
    EXPECT_EQ(t.currentSelection(), 0);
    EXPECT_EQ(t.send(WM_GETDLGCODE), DLGC_WANTARROWS);
}

TEST_F(TabControlTest, AKillFocusCheckElsewhereKeepsTheTab) {
    TabControl& t = make();
    Edit checked;
    ASSERT_TRUE(ControlTest::make(checked, kEditClass, "x", ES_AUTOHSCROLL, Rect{20, 60, 120, 80}, 1));
    checked.setFocus();
    owner.onMessage = [&](Message& m, std::intptr_t&) {
        if (m.id == WM_COMMAND && loWord(m.w) == 1 && hiWord(m.w) == EN_KILLFOCUS) checked.setFocus();
        return false;
    };
    clearLog();
    robot.clickAt(t, tabPoint(1));
    EXPECT_EQ(t.currentSelection(), 0);
    EXPECT_TRUE(notifications(kTabControlId).empty());
}

TEST_F(TabControlTest, ItemMessages) {
    TabControl& t = make();
    TabItem read;
    read.mask = TCIF_TEXT | TCIF_PARAM;
    ASSERT_EQ(t.send(TCM_GETITEM, 1, lParamFromPointer(&read)), 1);
    EXPECT_EQ(read.text, "Code");
    EXPECT_EQ(read.param, 'C');
    EXPECT_EQ(t.send(TCM_GETITEM, 5, lParamFromPointer(&read)), 0);
    EXPECT_EQ(t.send(TCM_SETCURSEL, 2), 0) << "answers the tab that was current";
    EXPECT_EQ(t.send(TCM_SETCURSEL, 9), -1);
    EXPECT_EQ(t.currentSelection(), 2);
    TabItem first;
    first.text = "Start";
    EXPECT_EQ(t.send(TCM_INSERTITEM, 0, lParamFromPointer(&first)), 0);
    EXPECT_EQ(t.currentSelection(), 3) << "the current tab moves along with an insertion before it";
    EXPECT_EQ(t.send(TCM_DELETEITEM, 3), 1);
    EXPECT_EQ(t.currentSelection(), -1) << "deleting the current tab leaves none current";
    EXPECT_EQ(t.send(TCM_GETITEMCOUNT), 3);
    EXPECT_TRUE(notifications(kTabControlId).empty()) << "a program's changes send nothing";
    t.send(TCM_DELETEALLITEMS);
    EXPECT_EQ(t.itemCount(), 0);
}

TEST_F(TabControlTest, GeometryFromTheFont) {
    TabControl& t = make();
    // "General": 7 characters and 6 pixels of padding each side.
    const int generalWidth = 7 * kCharWidth + 2 * TabControl::kTabPadding;
    const int row = kLineHeight + 2 * TabControl::kRowPadding;
    EXPECT_EQ(t.itemRect(0), (Rect{2, 2, 2 + generalWidth, row}));
    EXPECT_EQ(t.itemRect(1).left, 2 + generalWidth);
    TabHitTest hit{t.itemRect(1).center()};
    EXPECT_EQ(t.send(TCM_HITTEST, 0, lParamFromPointer(&hit)), 1);
    hit.point = {290, 5};
    EXPECT_EQ(t.send(TCM_HITTEST, 0, lParamFromPointer(&hit)), -1);
    Rect page = t.clientRect();
    t.send(TCM_ADJUSTRECT, 0, lParamFromPointer(&page));
    EXPECT_EQ(page, (Rect{4, row + 4, 296, 196}));
    t.send(TCM_ADJUSTRECT, 1, lParamFromPointer(&page));
    EXPECT_EQ(page, t.clientRect()) << "the two directions are inverse";

    TabControl fixed;
    ASSERT_TRUE(ControlTest::make(fixed, kTabControlClass, "", TCS_FIXEDWIDTH, kTabControlRect, kTabControlId + 1));
    for (const char* title : {"General", "Code"}) fixed.insertItem(fixed.itemCount(), TabItem{TCIF_TEXT, title});
    EXPECT_EQ(fixed.itemRect(1).width(), generalWidth) << "every tab as wide as the widest";
}

TEST_F(TabControlTest, PaintsTabsAndThePageFrame) {
    TabControl& t = make();
    t.setCurrentSelection(1);
    repaint(t);
    EXPECT_EQ(drawnTexts(t), (std::vector<std::string>{"General", "Format", "Code"})) << "the current tab last";
    EXPECT_EQ(t.displayList().ofKind(DrawOp::Edge).size(), 4u) << "the page frame and three tabs";
    t.setFocus();
    repaint(t);
    EXPECT_EQ(t.displayList().ofKind(DrawOp::FocusRect).size(), 1u);
}

}  // namespace
}  // namespace host::ui
