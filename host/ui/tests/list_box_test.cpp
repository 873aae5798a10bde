// The list box driven through the robot: selection by mouse and keys in its three selection modes, the
// notifications, sorted items with their data, the searches, scrolling and painting.
#include "host/ui/list_box.h"

#include "host/ui/tests/control_fixture.h"

namespace host::ui {
namespace {

using testing::kLineHeight;

constexpr int kListBoxId = 200;
// 100 x 60: five rows of 12 pixels.
constexpr Rect kListBoxRect{10, 10, 110, 70};

class ListBoxTest : public testing::ControlTest {
protected:
    ListBox& make(std::uint32_t style, std::initializer_list<const char*> texts) {
        EXPECT_TRUE(ControlTest::make(list, kListBoxClass, "", style, kListBoxRect, kListBoxId));
        for (const char* t : texts) list.addString(t);
        clearLog();
        return list;
    }
    Point rowPoint(int row) const { return {20, row * kLineHeight + 6}; }

    ListBox list;
};

TEST_F(ListBoxTest, AClickSelectsAndNotifiesOnRelease) {
    ListBox& l = make(LBS_NOTIFY, {"one", "two", "three"});
    robot.clickAt(l, rowPoint(1));
    EXPECT_EQ(l.currentSelection(), 1);
    EXPECT_TRUE(l.hasFocus());
    EXPECT_EQ(commands(kListBoxId), (std::vector<int>{LBN_SETFOCUS, LBN_SELCHANGE}));
    clearLog();
    robot.wait(1000);
    robot.clickAt(l, rowPoint(1));
    EXPECT_TRUE(commands(kListBoxId).empty()) << "the same item again changes nothing";
    robot.wait(1000);
    robot.doubleClickAt(l, rowPoint(2));
    EXPECT_EQ(commands(kListBoxId), (std::vector<int>{LBN_SELCHANGE, LBN_DBLCLK}));
    clearLog();
    robot.wait(1000);
    robot.clickAt(l, rowPoint(4));
    EXPECT_EQ(l.currentSelection(), 2) << "a click below the last item selects nothing";
    EXPECT_TRUE(commands(kListBoxId).empty());
}

TEST_F(ListBoxTest, DraggingMovesTheSelectionAndNotifiesOnce) {
    ListBox& l = make(LBS_NOTIFY, {"one", "two", "three", "four"});
    l.setFocus();
    clearLog();
    robot.drag(l.clientToScreen(rowPoint(0)), l.clientToScreen(rowPoint(3)), 3);
    EXPECT_EQ(l.currentSelection(), 3);
    EXPECT_EQ(commands(kListBoxId), (std::vector<int>{LBN_SELCHANGE}));
}

TEST_F(ListBoxTest, KeysMoveTheSelection) {
    ListBox& l = make(LBS_NOTIFY, {"apple", "banana", "cherry", "blueberry", "date", "fig", "grape"});
    l.setFocus();
    clearLog();
    struct Step {
        unsigned key;
        int expected;
    };
    const Step steps[] = {
        {VK_DOWN, 0},  // from no selection to the first
        {VK_DOWN, 1}, {VK_END, 6}, {VK_HOME, 0}, {VK_NEXT, 4},  // a page is the five rows less one
        {VK_PRIOR, 0}, {'B', 1},  {'B', 3},  // the next item starting with the letter
        {'B', 1},      // wrapping round
    };
    for (const Step& s : steps) {
        if (s.key == 'B') robot.type("b");
        else robot.key(s.key);
        EXPECT_EQ(l.currentSelection(), s.expected) << s.key;
    }
    EXPECT_EQ(commands(kListBoxId).size(), std::size(steps));
    EXPECT_EQ(l.topIndex(), 0);
    robot.key(VK_END);
    EXPECT_EQ(l.topIndex(), 2) << "the caret is kept in view";
}

TEST_F(ListBoxTest, MultipleAndExtendedSelection) {
    struct Case {
        const char* name;
        std::uint32_t style;
        std::function<void(Robot&, ListBox&)> act;
        std::vector<int> expected;
    };
    auto at = [](int row) { return Point{20, row * kLineHeight + 6}; };
    const Case cases[] = {
        {"multiple: clicks toggle", LBS_MULTIPLESEL,
         [&](Robot& r, ListBox& l) {
             r.clickAt(l, at(0));
             r.wait(1000);
             r.clickAt(l, at(2));
             r.wait(1000);
             r.clickAt(l, at(0));
         },
         {2}},
        {"multiple: space toggles the caret item", LBS_MULTIPLESEL,
         [](Robot& r, ListBox&) {
             r.key(VK_DOWN);
             r.key(VK_SPACE);
             r.key(VK_DOWN);
             r.key(VK_DOWN);
             r.key(VK_SPACE);
         },
         {0, 2}},
        {"extended: a click selects one, shift+click a range", LBS_EXTENDEDSEL,
         [&](Robot& r, ListBox& l) {
             r.clickAt(l, at(1));
             r.wait(1000);
             r.clickAt(l, at(3), MouseButton::Left, Shift);
         },
         {1, 2, 3}},
        {"extended: ctrl+click adds", LBS_EXTENDEDSEL,
         [&](Robot& r, ListBox& l) {
             r.clickAt(l, at(0));
             r.wait(1000);
             r.clickAt(l, at(3), MouseButton::Left, Ctrl);
         },
         {0, 3}},
        {"extended: shift+down extends", LBS_EXTENDEDSEL,
         [](Robot& r, ListBox&) {
             r.key(VK_DOWN);
             r.key(VK_DOWN, Shift);
             r.key(VK_DOWN, Shift);
         },
         {0, 1, 2}},
    };
    for (const Case& c : cases) {
        ListBox l;
        ASSERT_TRUE(ControlTest::make(l, kListBoxClass, "", LBS_NOTIFY | c.style, kListBoxRect, kListBoxId));
        for (const char* t : {"a", "b", "c", "d", "e"}) l.addString(t);
        l.setFocus();
        c.act(robot, l);
        EXPECT_EQ(l.selectedItems(), c.expected) << c.name;
        EXPECT_EQ(l.send(LB_GETSELCOUNT), static_cast<std::intptr_t>(c.expected.size())) << c.name;
        robot.wait(1000);
    }
}

TEST_F(ListBoxTest, SortedItemsKeepTheirDataAndSearchIgnoringCase) {
    ListBox& l = make(LBS_SORT, {});
    for (const char* t : {"mm", "Inc", "cm", "inc"}) {
        const int index = static_cast<int>(l.send(LB_ADDSTRING, 0, lParamFromPointer(t)));
        l.send(LB_SETITEMDATA, static_cast<std::uintptr_t>(index), static_cast<std::intptr_t>(t[0]));
    }
    std::vector<std::string> order;
    for (int i = 0; i < l.count(); ++i) order.push_back(l.itemText(i));
    EXPECT_EQ(order, (std::vector<std::string>{"cm", "Inc", "inc", "mm"})) << "equal texts keep their order";
    EXPECT_EQ(l.send(LB_GETITEMDATA, 3), 'm');

    struct Find {
        unsigned message;
        int start;
        const char* text;
        std::intptr_t expected;
    };
    const Find finds[] = {
        {LB_FINDSTRING, -1, "IN", 1},
        {LB_FINDSTRING, 1, "in", 2},  // after the start
        {LB_FINDSTRING, 2, "in", 1},  // wrapping round
        {LB_FINDSTRINGEXACT, -1, "INC", 1},
        {LB_FINDSTRINGEXACT, -1, "in", LB_ERR},
        {LB_FINDSTRING, -1, "", LB_ERR},  // an empty text finds nothing
        {LB_FINDSTRING, -1, "x", LB_ERR},
    };
    for (const Find& f : finds)
        EXPECT_EQ(l.send(f.message, static_cast<std::uintptr_t>(f.start), lParamFromPointer(f.text)), f.expected)
            << f.text << " from " << f.start;
    EXPECT_EQ(l.send(LB_SELECTSTRING, static_cast<std::uintptr_t>(-1), lParamFromPointer("m")), 3);
    EXPECT_EQ(l.currentSelection(), 3);
    std::string text;
    EXPECT_EQ(l.send(LB_GETTEXT, 3, lParamFromPointer(&text)), 2);
    EXPECT_EQ(text, "mm");
    EXPECT_EQ(l.send(LB_DELETESTRING, 0), 3);
    EXPECT_EQ(l.currentSelection(), 2) << "the selection follows its item";
    EXPECT_TRUE(commands(kListBoxId).empty()) << "a program's changes notify nothing";
}

TEST_F(ListBoxTest, ProgramSelectionFollowsTheMessageConventions) {
    ListBox& single = make(LBS_NOTIFY, {"a", "b", "c"});
    EXPECT_EQ(single.send(LB_SETCURSEL, 1), 1);
    EXPECT_EQ(single.send(LB_GETCURSEL), 1);
    EXPECT_EQ(single.send(LB_SETCURSEL, 7), LB_ERR);
    EXPECT_EQ(single.send(LB_GETCURSEL), 1);
    EXPECT_EQ(single.send(LB_SETCURSEL, static_cast<std::uintptr_t>(-1)), LB_ERR);
    EXPECT_EQ(single.send(LB_GETCURSEL), LB_ERR);
    EXPECT_EQ(single.send(LB_SETSEL, 1, 0), LB_ERR) << "LB_SETSEL is for multiple selection";

    ListBox multi;
    ASSERT_TRUE(ControlTest::make(multi, kListBoxClass, "", LBS_MULTIPLESEL, kListBoxRect, kListBoxId + 1));
    for (const char* t : {"a", "b", "c"}) multi.addString(t);
    multi.send(LB_SETSEL, 1, -1);
    EXPECT_EQ(multi.selectedItems(), (std::vector<int>{0, 1, 2}));
    multi.send(LB_SETSEL, 0, 1);
    int picked[3] = {-1, -1, -1};
    EXPECT_EQ(multi.send(LB_GETSELITEMS, 3, lParamFromPointer(picked)), 2);
    EXPECT_EQ(picked[0], 0);
    EXPECT_EQ(picked[1], 2);
    EXPECT_TRUE(commands(kListBoxId).empty());
}

TEST_F(ListBoxTest, ScrollsWithItsBarAndTheWheel) {
    ListBox& l = make(LBS_NOTIFY | WS_VSCROLL, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"});
    ASSERT_TRUE(l.isScrollBarVisible(SB_VERT));
    ScrollInfo info;
    ASSERT_TRUE(l.getScrollInfo(SB_VERT, info));
    EXPECT_EQ(info.max, 9);
    EXPECT_EQ(info.page, 5u);
    robot.scrollBar(l, SB_VERT, SB_PAGEDOWN);
    EXPECT_EQ(l.topIndex(), 5);
    EXPECT_EQ(l.itemFromPoint(rowPoint(0)), 5);
    robot.dragThumb(l, SB_VERT, 2);
    EXPECT_EQ(l.topIndex(), 2);
    robot.moveTo(l, rowPoint(1));
    robot.wheel(WHEEL_DELTA);
    EXPECT_EQ(l.topIndex(), 0);
    robot.wheel(-3 * WHEEL_DELTA);
    EXPECT_EQ(l.topIndex(), 5) << "held at the last page";
    EXPECT_EQ(l.send(LB_ITEMFROMPOINT, 0, lParamFromPoint(rowPoint(2))), makeLParam(7, 0));
}

TEST_F(ListBoxTest, PaintsItemsWithTheSelectionHighlighted) {
    ListBox& l = make(0, {"one", "two", "three"});
    l.setCurrentSelection(1);
    repaint(l);
    EXPECT_EQ(drawnTexts(l), (std::vector<std::string>{"one", "two", "three"}));
    const auto texts = l.displayList().ofKind(DrawOp::Text);
    EXPECT_EQ(texts[1]->textColor, desktop.sysColor(COLOR_HIGHLIGHTTEXT));
    EXPECT_EQ(texts[1]->lines[0].origin, (Point{ListBox::kTextMargin, kLineHeight}));
    bool highlighted = false;
    for (const DrawRecord* r : l.displayList().ofKind(DrawOp::FillRect))
        highlighted |= r->color == desktop.sysColor(COLOR_HIGHLIGHT) && r->rect == Rect{0, 12, 100, 24};
    EXPECT_TRUE(highlighted);
    EXPECT_TRUE(commands(kListBoxId).empty()) << "no LBS_NOTIFY, no notifications";
}

}  // namespace
}  // namespace host::ui
