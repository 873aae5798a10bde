// Buttons driven through the robot: the press and release of a push button, check boxes of every kind, radio
// groups, the group box that lets clicks through, BM_* messages and what each type paints.
#include "host/ui/button.h"

#include "host/ui/edit.h"
#include "host/ui/tests/control_fixture.h"

namespace host::ui {
namespace {

constexpr int kButtonId = 400;
constexpr Rect kButtonRect{10, 10, 110, 34};

class ButtonTest : public testing::ControlTest {
protected:
    Button& make(Button& b, std::uint32_t style, std::string_view text = "Apply", Rect r = kButtonRect, int id = kButtonId) {
        EXPECT_TRUE(ControlTest::make(b, kButtonClass, text, style, r, id));
        return b;
    }
    void click(Window& w, Point p = {20, 12}) {
        robot.clickAt(w, p);
        robot.wait(1000);  // so the next click is not a double click
    }

    Button button;
};

TEST_F(ButtonTest, APushButtonClicksWhenReleasedOverIt) {
    Button& b = make(button, BS_PUSHBUTTON | WS_TABSTOP);
    robot.moveTo(b, {20, 12});
    robot.press();
    EXPECT_TRUE(b.isPushed());
    EXPECT_TRUE(b.hasFocus());
    EXPECT_EQ(b.send(BM_GETSTATE), BST_PUSHED | BST_FOCUS);
    EXPECT_TRUE(commands(kButtonId).empty()) << "nothing is sent on the press";
    robot.moveTo(b, {200, 12});
    EXPECT_FALSE(b.isPushed()) << "moved off, it pops up";
    robot.moveTo(b, {30, 12});
    EXPECT_TRUE(b.isPushed());
    robot.release();
    EXPECT_FALSE(b.isPushed());
    EXPECT_EQ(commands(kButtonId), (std::vector<int>{BN_CLICKED}));

    clearLog();
    robot.wait(1000);
    robot.moveTo(b, {20, 12});
    robot.press();
    robot.moveTo(b, {200, 12});
    robot.release();
    EXPECT_TRUE(commands(kButtonId).empty()) << "released elsewhere: no click";
    EXPECT_FALSE(b.hasCapture());

    robot.key(VK_SPACE);
    EXPECT_EQ(commands(kButtonId), (std::vector<int>{BN_CLICKED})) << "Space clicks on its release";
}

TEST_F(ButtonTest, CheckBoxesStepTheirStateOnEachClick) {
    struct Case {
        std::uint32_t type;
        std::vector<int> states;  // after each of three clicks
    };
    const Case cases[] = {
        {BS_AUTOCHECKBOX, {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}},
        {BS_AUTO3STATE, {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}},
        {BS_CHECKBOX, {BST_UNCHECKED, BST_UNCHECKED, BST_UNCHECKED}},  // the owner checks it itself
        {BS_3STATE, {BST_UNCHECKED, BST_UNCHECKED, BST_UNCHECKED}},
    };
    for (const Case& c : cases) {
        Button b;
        make(b, c.type, "Mirror");
        clearLog();
        for (std::size_t i = 0; i < c.states.size(); ++i) {
            click(b);
            EXPECT_EQ(b.send(BM_GETCHECK), c.states[i]) << c.type << " click " << i;
        }
        EXPECT_EQ(commands(kButtonId), std::vector<int>(3, BN_CLICKED)) << c.type;
        b.send(BM_SETCHECK, BST_INDETERMINATE);
        const int expected = (c.type == BS_AUTO3STATE || c.type == BS_3STATE) ? BST_INDETERMINATE : BST_CHECKED;
        EXPECT_EQ(b.check(), expected) << c.type << ": a two-state box takes indeterminate as checked";
        EXPECT_EQ(commands(kButtonId).size(), 3u) << "BM_SETCHECK sends nothing";
    }
}

TEST_F(ButtonTest, AutomaticRadioButtonsKeepOneCheckedPerGroup) {
    Button a, b, c, other;
    make(a, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "Left", Rect{10, 10, 110, 30}, 1);
    make(b, BS_AUTORADIOBUTTON, "Centre", Rect{10, 30, 110, 50}, 2);
    make(c, BS_AUTORADIOBUTTON, "Right", Rect{10, 50, 110, 70}, 3);
    make(other, BS_AUTORADIOBUTTON | WS_GROUP, "Other group", Rect{10, 70, 110, 90}, 4);
    other.setCheck(BST_CHECKED);
    EXPECT_EQ(radioGroupOf(b), (std::vector<Window*>{&a, &b, &c}));
    click(a);
    click(c);
    EXPECT_EQ(a.check(), BST_UNCHECKED);
    EXPECT_EQ(c.check(), BST_CHECKED);
    EXPECT_EQ(other.check(), BST_CHECKED) << "another group is left alone";
    EXPECT_TRUE(c.style() & WS_TABSTOP) << "Tab reaches the group at its checked button";
    EXPECT_FALSE(a.style() & WS_TABSTOP);
    EXPECT_EQ(commands(1), (std::vector<int>{BN_CLICKED}));
    EXPECT_EQ(commands(3), (std::vector<int>{BN_CLICKED}));
    clearLog();
    robot.doubleClickAt(b, {20, 10});
    EXPECT_EQ(commands(2), (std::vector<int>{BN_CLICKED, BN_DOUBLECLICKED}));
    checkRadioButton(owner, 1, 3, 1);
    EXPECT_EQ(a.check(), BST_CHECKED);
    EXPECT_EQ(b.check(), BST_UNCHECKED);
    EXPECT_EQ(commands(1).size(), 0u);
}

TEST_F(ButtonTest, AGroupBoxLetsClicksThroughToWhatIsInIt) {
    Button group, inside;
    make(group, BS_GROUPBOX, "Home point", Rect{5, 5, 200, 100}, 10);
    make(inside, BS_AUTOCHECKBOX, "Use", Rect{15, 30, 115, 50}, 11);
    EXPECT_EQ(owner.children().front(), &group) << "the group box is on top, as made first";
    robot.clickAt(inside, {10, 10});
    EXPECT_EQ(inside.check(), BST_CHECKED);
    EXPECT_TRUE(commands(10).empty());
    EXPECT_EQ(group.send(WM_GETDLGCODE), DLGC_STATIC);
}

TEST_F(ButtonTest, ProgramClicksAndDisabledButtons) {
    Button& b = make(button, BS_AUTOCHECKBOX, "Use");
    b.send(BM_CLICK);
    EXPECT_EQ(b.check(), BST_CHECKED);
    EXPECT_TRUE(b.hasFocus());
    EXPECT_EQ(commands(kButtonId), (std::vector<int>{BN_CLICKED}));
    b.enable(false);
    b.send(BM_CLICK);
    robot.clickAt(b, {20, 12});
    EXPECT_EQ(b.check(), BST_CHECKED) << "a disabled button takes no click";
    EXPECT_EQ(commands(kButtonId).size(), 1u);
}

TEST_F(ButtonTest, AKillFocusCheckElsewhereSwallowsTheClick) {
    Edit checked;
    ASSERT_TRUE(ControlTest::make(checked, kEditClass, "x", ES_AUTOHSCROLL, Rect{10, 100, 110, 120}, 1));
    Button& cancel = make(button, BS_PUSHBUTTON, "Cancel", kButtonRect, IDCANCEL);
    checked.setFocus();
    owner.onMessage = [&](Message& m, std::intptr_t&) {
        if (m.id == WM_COMMAND && loWord(m.w) == 1 && hiWord(m.w) == EN_KILLFOCUS) checked.setFocus();
        return false;
    };
    clearLog();
    robot.clickAt(cancel, {20, 12});
    EXPECT_TRUE(commands(IDCANCEL).empty());
    EXPECT_FALSE(cancel.isPushed());
    EXPECT_TRUE(checked.hasFocus());
}

TEST_F(ButtonTest, NotifyStyleAddsFocusNotifications) {
    Button plain, notifying;
    make(plain, BS_PUSHBUTTON, "A", kButtonRect, 1);
    make(notifying, BS_PUSHBUTTON | BS_NOTIFY, "B", Rect{10, 40, 110, 64}, 2);
    plain.setFocus();
    notifying.setFocus();
    plain.setFocus();
    EXPECT_TRUE(commands(1).empty());
    EXPECT_EQ(commands(2), (std::vector<int>{BN_SETFOCUS, BN_KILLFOCUS}));
}

TEST_F(ButtonTest, EachTypePaintsItsLook) {
    struct Case {
        std::uint32_t style;
        int check;
        bool enabled;
        DrawOp op;
        unsigned state;  // FrameControl: DFCS_*; Edge: BDR_*
    };
    const Case cases[] = {
        {BS_PUSHBUTTON, BST_UNCHECKED, true, DrawOp::FrameControl, DFCS_BUTTONPUSH},
        {BS_PUSHBUTTON, BST_UNCHECKED, false, DrawOp::FrameControl, DFCS_BUTTONPUSH | DFCS_INACTIVE},
        {BS_AUTOCHECKBOX, BST_CHECKED, true, DrawOp::FrameControl, DFCS_BUTTONCHECK | DFCS_CHECKED},
        {BS_AUTO3STATE, BST_INDETERMINATE, true, DrawOp::FrameControl, DFCS_BUTTON3STATE | DFCS_CHECKED},
        {BS_AUTORADIOBUTTON, BST_CHECKED, true, DrawOp::FrameControl, DFCS_BUTTONRADIO | DFCS_CHECKED},
        {BS_AUTOCHECKBOX | BS_PUSHLIKE, BST_CHECKED, true, DrawOp::FrameControl, DFCS_BUTTONPUSH | DFCS_PUSHED},
        {BS_GROUPBOX, BST_UNCHECKED, true, DrawOp::Edge, EDGE_ETCHED},
    };
    for (const Case& c : cases) {
        Button b;
        make(b, c.style, "Label");
        b.setCheck(c.check);
        b.enable(c.enabled);
        repaint(b);
        const auto records = b.displayList().ofKind(c.op);
        ASSERT_EQ(records.size(), 1u) << c.style;
        EXPECT_EQ(c.op == DrawOp::FrameControl ? records[0]->flags2 : records[0]->flags, c.state) << c.style;
        EXPECT_EQ(drawnTexts(b), (std::vector<std::string>{"Label"})) << c.style;
        const DrawRecord& text = *b.displayList().ofKind(DrawOp::Text)[0];
        EXPECT_EQ(text.textColor, desktop.sysColor(c.enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT)) << c.style;
    }
    // The push button's text is centred: 5 characters of 6 pixels in 100 - 2 * 3.
    Button& push = make(button, BS_DEFPUSHBUTTON, "Label");
    repaint(push);
    EXPECT_EQ(push.displayList().ofKind(DrawOp::Text)[0]->lines[0].origin.x, 3 + 1 + (92 - 30) / 2);
    EXPECT_EQ(push.displayList().ofKind(DrawOp::FrameRect).size(), 1u) << "the default button's dark frame";
    EXPECT_EQ(push.send(WM_GETDLGCODE), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    push.send(BM_SETSTYLE, BS_PUSHBUTTON, 1);
    EXPECT_EQ(push.send(WM_GETDLGCODE), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
}

}  // namespace
}  // namespace host::ui
