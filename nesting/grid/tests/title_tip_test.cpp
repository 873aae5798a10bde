// The title tip on its own, over a plain window that logs what reaches it: when the tip shows (the fit of the
// text, the focus, an empty rectangle), where it shows, and how mouse actions and keys pass through it.
//
// Text is measured with the metric font: 6 pixels a character, so " abcd " is 36 pixels wide.
#include <gtest/gtest.h>

#include "host/ui/desktop.h"
#include "host/ui/robot.h"
#include "host/ui/tests/ui_test_window.h"
#include "nesting/grid/grid_tip_window.h"

using namespace host::ui;
using host::ui::testing::LoggingWindow;

namespace {

// The parent's client area starts at screen (100, 100): a popup without a frame.
constexpr Point kParentOrigin{100, 100};
// A cell of the parent with inclusive edges, 36 pixels from left to right edge: " abcd " (36 pixels) fits
// exactly between x = 10 and x = 46.
constexpr Rect kCell{10, 20, 46, 37};

class TitleTipTest : public ::testing::Test {
protected:
    TitleTipTest() {
        host::ui::testing::createPopup(parent, Rect{kParentOrigin.x, kParentOrigin.y, 400, 300});
        parent.setFocus();
        tip.SetParentWindow(&parent);
    }

    void Show(const Rect& title, std::string_view text = "abcd", int xOffset = 0, const Rect* hover = nullptr,
              ColorRef textColour = CLR_DEFAULT, ColorRef backColour = CLR_DEFAULT) {
        tip.ShowTip(title, text, xOffset, hover, nullptr, textColour, backColour);
        desktop.pumpUntilIdle();
    }
    Point OnScreen(Point client) const { return client + kParentOrigin; }

    // The last message of a kind the parent received, with its client point.
    const LoggingWindow::Entry* Last(unsigned id) const { return parent.last(id); }

    Desktop desktop;
    LoggingWindow parent;
    CGridTipWindow tip;
    Robot robot{desktop};
};

TEST_F(TitleTipTest, ShowsOnlyWhenTheTextWithItsBlanksDoesNotFit) {
    struct Case {
        int right;    // the title rectangle's right edge
        int xOffset;
        bool shown;
    };
    const Case cases[] = {
        {46, 0, false},  // " abcd " ends exactly at the right edge
        {45, 0, true},   // one pixel short
        {52, 2, false},  // the offset counts on both sides: 10 + 2 + 36 + 2 = 50 <= 52 - 2
        {51, 2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.right);
        tip.HideTip();
        Show(Rect{kCell.left, kCell.top, c.right, kCell.bottom}, "abcd", c.xOffset);
        EXPECT_EQ(tip.IsTipShown(), c.shown);
    }
}

TEST_F(TitleTipTest, ShowsTheWholeTextOverTheCellWithoutTakingTheFocus) {
    Show(Rect{10, 20, 30, 37}, "abcd");
    ASSERT_TRUE(tip.IsTipShown());
    EXPECT_EQ(tip.className(), "ZTitleTip");
    EXPECT_EQ(tip.TipText(), " abcd ");
    // Left and top of the cell, as wide as the text, as tall as the rectangle from top to bottom edge.
    EXPECT_EQ(tip.windowRect(), (Rect{110, 120, 146, 137}));
    EXPECT_EQ(desktop.focus(), &parent);
    EXPECT_TRUE(tip.hasCapture());
    const auto texts = tip.displayList().texts(" abcd ");
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back()->lines.front().origin, (Point{0, 0}));
}

TEST_F(TitleTipTest, ColoursOtherThanTheDefaultFillAndColourTheTip) {
    Show(Rect{10, 20, 30, 37}, "abcd", 0, nullptr, rgb(200, 0, 0), rgb(0, 0, 200));
    ASSERT_TRUE(tip.IsTipShown());
    const auto fills = tip.displayList().ofKind(DrawOp::PatBlt);
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills.back()->color, rgb(0, 0, 200));
    EXPECT_EQ(tip.displayList().texts(" abcd ").back()->textColor, rgb(200, 0, 0));
}

TEST_F(TitleTipTest, StaysDownWithoutFocusForAnEmptyRectangleOrWhileATipIsUp) {
    desktop.setFocus(nullptr);
    Show(Rect{10, 20, 30, 37});
    EXPECT_FALSE(tip.IsTipShown()) << "no tip while the dialog is inactive";

    parent.setFocus();
    Show(Rect{10, 20, 10, 37});
    EXPECT_FALSE(tip.IsTipShown()) << "an empty title rectangle";

    Show(Rect{10, 20, 30, 37}, "abcd");
    Show(Rect{10, 60, 30, 77}, "other text");
    EXPECT_EQ(tip.TipText(), " abcd ") << "a second tip waits until the first is down";
    EXPECT_EQ(tip.windowRect().top, 120);
}

TEST_F(TitleTipTest, MovesInsideTheHoverAreaKeepTheTipAndMovesOutsideReachTheWindowBeneath) {
    const Rect hover{10, 20, 60, 37};  // edges included, as the grid's cell rectangles are
    Show(Rect{10, 20, 30, 37}, "abcd", 0, &hover);
    ASSERT_TRUE(tip.IsTipShown());

    robot.moveTo(OnScreen({60, 37}));  // the hover area's last pixel
    EXPECT_TRUE(tip.IsTipShown());
    EXPECT_EQ(parent.count(WM_MOUSEMOVE), 0);

    robot.moveTo(OnScreen({61, 30}));
    EXPECT_FALSE(tip.IsTipShown());
    EXPECT_FALSE(tip.hasCapture());
    ASSERT_NE(Last(WM_MOUSEMOVE), nullptr);
    EXPECT_EQ(pointFromLParam(Last(WM_MOUSEMOVE)->l), (Point{61, 30}));
}

TEST_F(TitleTipTest, HoverAreaFollowsTheTipToItsNewPlace) {
    // Shown over one cell, then over another further down: the first move over the second cell must not be
    // measured against the first cell's place.
    Show(Rect{10, 20, 30, 37});
    tip.HideTip();
    Show(Rect{10, 100, 30, 117});
    ASSERT_TRUE(tip.IsTipShown());
    robot.moveTo(OnScreen({20, 110}));
    EXPECT_TRUE(tip.IsTipShown());
}

TEST_F(TitleTipTest, PressesPassThroughToTheWindowBeneath) {
    struct Case {
        MouseButton button;
        unsigned expected;
    };
    const Case cases[] = {
        {MouseButton::Left, WM_LBUTTONDOWN},
        {MouseButton::Right, WM_RBUTTONDOWN},
        {MouseButton::Middle, WM_MBUTTONDOWN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        robot.wait(1000);  // no double click from the previous case
        parent.log.clear();
        Show(Rect{10, 20, 30, 37});
        ASSERT_TRUE(tip.IsTipShown());
        robot.click(OnScreen({15, 25}), c.button);
        EXPECT_FALSE(tip.IsTipShown());
        ASSERT_NE(Last(c.expected), nullptr);
        EXPECT_EQ(pointFromLParam(Last(c.expected)->l), (Point{15, 25}));
    }
}

TEST_F(TitleTipTest, TwoLeftPressesWithinTheDoubleClickTimeArriveAsADoubleClick) {
    struct Case {
        unsigned pause;  // ms between the two presses
        unsigned second;
    };
    const Case cases[] = {
        {0, WM_LBUTTONDBLCLK},
        {500, WM_LBUTTONDBLCLK},  // the double-click time itself still counts
        {501, WM_LBUTTONDOWN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pause);
        robot.wait(1000);
        Show(Rect{10, 20, 30, 37});
        robot.click(OnScreen({15, 25}));
        robot.wait(c.pause);
        parent.log.clear();
        Show(Rect{10, 20, 30, 37});  // the grid shows the tip again as the pointer rests on the cell
        robot.click(OnScreen({15, 25}));
        EXPECT_EQ(parent.count(c.second), 1);
    }
}

TEST_F(TitleTipTest, TheFirstPressEverIsNoDoubleClick) {
    // The clock starts at 0: a first press at once must not count as the second of a pair.
    Show(Rect{10, 20, 30, 37});
    robot.click(OnScreen({15, 25}));
    EXPECT_EQ(parent.count(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(parent.count(WM_LBUTTONDBLCLK), 0);
}

TEST_F(TitleTipTest, AKeyHidesTheTipAndReachesTheFocusWindowUnchanged) {
    Show(Rect{10, 20, 30, 37});
    ASSERT_TRUE(tip.IsTipShown());
    robot.key(VK_DOWN);
    EXPECT_FALSE(tip.IsTipShown());
    EXPECT_FALSE(tip.hasCapture());
    EXPECT_EQ(parent.count(WM_KEYDOWN), 1);
    ASSERT_NE(Last(WM_KEYDOWN), nullptr);
    EXPECT_EQ(Last(WM_KEYDOWN)->w, VK_DOWN);
}

TEST_F(TitleTipTest, AnotherWindowTakingTheMouseTakesTheTipDown) {
    Show(Rect{10, 20, 30, 37});
    ASSERT_TRUE(tip.IsTipShown());
    parent.setCapture();
    desktop.pumpUntilIdle();
    EXPECT_FALSE(tip.IsTipShown());
    desktop.releaseCapture();
}

TEST_F(TitleTipTest, DestroyedTipIsMadeAgainByTheNextShow) {
    Show(Rect{10, 20, 30, 37});
    ASSERT_TRUE(tip.DestroyWindow());
    EXPECT_FALSE(tip.exists());
    Show(Rect{10, 20, 30, 37});
    EXPECT_TRUE(tip.IsTipShown());
}

}  // namespace
