// The spin control driven through the robot: steps with their notifications, a buddy edit that shows and gives
// the position, an owner that refuses or changes a step, limits, wrapping and repeats while held.
#include "host/ui/spin.h"

#include "host/ui/edit.h"
#include "host/ui/tests/control_fixture.h"

namespace host::ui {
namespace {

using Scroll = std::pair<int, int>;

constexpr int kEditId = 800;
constexpr int kSpinId = 801;

class SpinTest : public testing::ControlTest {
protected:
    // An edit and a spin made right after it, which takes it as its buddy and sits inside its right edge.
    Spin& make(std::uint32_t style = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS) {
        EXPECT_TRUE(ControlTest::make(edit, kEditClass, "", ES_AUTOHSCROLL, Rect{10, 10, 110, 30}, kEditId));
        EXPECT_TRUE(ControlTest::make(spin, kSpinClass, "", style, Rect{0, 0, 16, 20}, kSpinId));
        spin.setRange(0, 10);
        clearLog();
        return spin;
    }
    Point up() const { return spin.upRect().center(); }
    Point down() const { return spin.downRect().center(); }

    Edit edit;
    Spin spin;
};

TEST_F(SpinTest, TakesTheEditBeforeItAsItsBuddy) {
    Spin& s = make();
    EXPECT_EQ(s.buddy(), &edit);
    EXPECT_EQ(s.rectInParent(), (Rect{94, 10, 110, 30}));
    EXPECT_EQ(edit.rectInParent(), (Rect{10, 10, 94, 30})) << "the buddy gives up the spin's width";
    EXPECT_EQ(s.send(UDM_GETBUDDY), lParamFromPointer(&edit));
}

TEST_F(SpinTest, AStepAsksTheOwnerThenScrollsAndShowsTheNumber) {
    Spin& s = make();
    s.setPosition(4);
    EXPECT_EQ(edit.text(), "4");
    clearLog();
    robot.clickAt(s, up());
    EXPECT_EQ(s.position(), 5);
    EXPECT_EQ(edit.text(), "5");
    EXPECT_EQ(notifications(kSpinId), (std::vector<int>{UDN_DELTAPOS}));
    EXPECT_EQ(scrolls(WM_VSCROLL), (std::vector<Scroll>{{SB_THUMBPOSITION, 5}, {SB_ENDSCROLL, 5}}));
    EXPECT_FALSE(s.hasFocus()) << "a press does not take the focus";

    // The owner sees the position and step in UDN_DELTAPOS and may change the step or refuse it.
    owner.onMessage = [](Message& m, std::intptr_t& result) {
        auto* n = m.id == WM_NOTIFY ? pointerFromParam<UpDownNotify>(m.l) : nullptr;
        if (!n || n->header.code != UDN_DELTAPOS) return false;
        if (n->pos == 5) n->delta *= 2;
        result = n->pos == 3 ? 1 : 0;
        return true;
    };
    robot.wait(1000);
    robot.clickAt(s, down());
    EXPECT_EQ(s.position(), 3);
    robot.wait(1000);
    robot.clickAt(s, down());
    EXPECT_EQ(s.position(), 3) << "refused";
}

TEST_F(SpinTest, ReadsTheNumberTypedInTheBuddy) {
    Spin& s = make();
    edit.setFocus();
    robot.type("7");
    robot.key(VK_UP);  // UDS_ARROWKEYS: the spin has no focus, the edit keeps the arrow
    EXPECT_EQ(edit.text(), "7");
    robot.clickAt(s, up());
    EXPECT_EQ(edit.text(), "8");
    edit.setText("x");
    bool error = false;
    EXPECT_EQ(s.send(UDM_GETPOS32, 0, lParamFromPointer(&error)), 8);
    EXPECT_TRUE(error);
    EXPECT_EQ(s.send(UDM_GETPOS), makeLParam(8, 1));
}

TEST_F(SpinTest, LimitsWrappingAndTheDefaultRange) {
    struct Case {
        std::uint32_t style;
        int min, max, start, direction;
        int expected;
    };
    const Case cases[] = {
        {0, 0, 10, 10, 1, 10},             // held at the top
        {0, 0, 10, 0, -1, 0},              // and at the bottom
        {UDS_WRAP, 0, 10, 10, 1, 0},       // round to the other end
        {UDS_WRAP, 0, 10, 0, -1, 10},
        {0, 10, 0, 5, 1, 4},               // an inverted range: up counts down
        {UDS_HORZ, 0, 10, 5, 1, 6},
    };
    for (const Case& c : cases) {
        Spin s;
        ASSERT_TRUE(ControlTest::make(s, kSpinClass, "", c.style, Rect{200, 10, 216, 30}, kSpinId));
        s.send(UDM_SETRANGE32, static_cast<std::uintptr_t>(c.min), c.max);
        s.send(UDM_SETPOS32, 0, c.start);
        robot.clickAt(s, c.direction > 0 ? s.upRect().center() : s.downRect().center());
        robot.wait(1000);
        EXPECT_EQ(s.send(UDM_GETPOS32), c.expected) << c.style << " " << c.min << ".." << c.max;
    }
    Spin fresh;
    ASSERT_TRUE(ControlTest::make(fresh, kSpinClass, "", 0, Rect{200, 40, 216, 60}, kSpinId + 1));
    EXPECT_EQ(fresh.send(UDM_GETRANGE), makeLParam(0, 100)) << "the system's default: minimum 100, maximum 0";
}

TEST_F(SpinTest, HoldingAnArrowRepeats) {
    Spin& s = make();
    robot.moveTo(s, up());
    robot.press();
    EXPECT_EQ(s.position(), 1);
    robot.wait(Spin::kRepeatDelay);
    EXPECT_EQ(s.position(), 2);
    robot.wait(3 * Spin::kRepeatInterval);
    EXPECT_EQ(s.position(), 5);
    robot.moveTo(s, {8, 200});
    robot.wait(3 * Spin::kRepeatInterval);
    EXPECT_EQ(s.position(), 5) << "off the arrow it waits";
    robot.release();
    EXPECT_EQ(scrolls(WM_VSCROLL).back(), (Scroll{SB_ENDSCROLL, 5}));
    robot.wait(1000);
    EXPECT_EQ(s.position(), 5);
    repaint(s);
    EXPECT_EQ(s.displayList().ofKind(DrawOp::FrameControl).size(), 2u);
}

}  // namespace
}  // namespace host::ui
