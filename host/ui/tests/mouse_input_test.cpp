// Mouse input: hit testing, WM_NCHITTEST and WM_SETCURSOR, client and non-client messages, capture, double
// clicks, disabled windows, the wheel.
#include <gtest/gtest.h>

#include "host/ui/desktop.h"
#include "host/ui/robot.h"
#include "host/ui/tests/ui_test_window.h"

namespace host::ui {
namespace {

using testing::LoggingWindow;

struct MouseFixture : ::testing::Test {
    Desktop desktop;
    LoggingWindow frame, child;
    Robot robot{desktop};
    void SetUp() override {
        desktop.classes().registerClass({"Clicks", 0, IDC_CROSS, COLOR_WINDOW, {}, ""});
        desktop.classes().registerClass({"DoubleClicks", CS_DBLCLKS, IDC_IBEAM, COLOR_WINDOW, {}, ""});
        ASSERT_TRUE(testing::createPopup(frame, Rect{100, 100, 400, 300}, WS_BORDER, "Clicks"));
        ASSERT_TRUE(testing::createChild(child, frame, Rect{10, 10, 110, 60}, 5, 0, "DoubleClicks"));
        desktop.pumpUntilIdle();
        frame.log.clear();
        child.log.clear();
    }
};

TEST_F(MouseFixture, PressOnAChildGoesThroughHitTestAndCursor) {
    robot.clickAt(child, Point{3, 4});
    EXPECT_EQ(child.ids(), (std::vector<unsigned>{WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE, WM_NCHITTEST,
                                                   WM_SETCURSOR, WM_LBUTTONDOWN, WM_NCHITTEST, WM_SETCURSOR,
                                                   WM_LBUTTONUP}));
    EXPECT_EQ(child.last(WM_LBUTTONDOWN)->l, makeLParam(3, 4));
    EXPECT_EQ(child.last(WM_LBUTTONDOWN)->w, MK_LBUTTON);
    EXPECT_EQ(child.last(WM_LBUTTONUP)->w, 0u);
    // The frame is asked WM_SETCURSOR first, through the child's default handling.
    EXPECT_EQ(frame.count(WM_SETCURSOR), 3);
    EXPECT_EQ(frame.count(WM_LBUTTONDOWN), 0);
    EXPECT_EQ(desktop.cursor(), IDC_IBEAM);
    EXPECT_EQ(desktop.cursorPos(), child.clientToScreen(Point{3, 4}));
}

TEST_F(MouseFixture, BordersAreNonClient) {
    robot.click(Point{100, 150});  // on the frame's one-pixel border
    EXPECT_EQ(frame.count(WM_LBUTTONDOWN), 0);
    ASSERT_NE(frame.last(WM_NCLBUTTONDOWN), nullptr);
    EXPECT_EQ(static_cast<int>(frame.last(WM_NCLBUTTONDOWN)->w), HTBORDER);
    EXPECT_EQ(frame.last(WM_NCLBUTTONDOWN)->l, makeLParam(100, 150));
    robot.click(Point{500, 500});  // on no window at all
    EXPECT_EQ(frame.count(WM_NCLBUTTONDOWN), 1);
}

TEST_F(MouseFixture, CapturedMovesArriveInTheCapturersCoordinates) {
    child.setCapture();
    const Point origin = child.clientToScreen(Point{0, 0});
    robot.moveTo(origin - Point{30, 5});
    ASSERT_NE(child.last(WM_MOUSEMOVE), nullptr);
    EXPECT_EQ(pointFromLParam(child.last(WM_MOUSEMOVE)->l), (Point{-30, -5}));
    robot.moveTo(Point{390, 290});  // over the frame, far right of the child
    EXPECT_EQ(pointFromLParam(child.last(WM_MOUSEMOVE)->l), (Point{390, 290}) - origin);
    EXPECT_EQ(frame.count(WM_MOUSEMOVE), 0);
    EXPECT_EQ(child.count(WM_NCHITTEST), 0);  // captured input skips hit testing
}

TEST_F(MouseFixture, PressAndReleaseWithoutAMoveMakeNoMove) {
    robot.moveTo(child, Point{5, 5});
    child.log.clear();
    robot.press();
    robot.release();
    EXPECT_EQ(child.count(WM_MOUSEMOVE), 0);
}

// Second presses: a double click needs a CS_DBLCLKS class, the same button, the double-click time and a
// distance within half of SM_CXDOUBLECLK / SM_CYDOUBLECLK.
TEST_F(MouseFixture, DoubleClickSynthesis) {
    struct Case {
        const char* what;
        bool doubleClass;
        unsigned waitMs;
        Point secondOffset;
        bool expectDouble;
    };
    const Case cases[] = {
        {"quick, same place", true, 0, {0, 0}, true},
        {"at the time limit", true, 500, {0, 0}, true},
        {"one millisecond late", true, 501, {0, 0}, false},
        {"two pixels away", true, 0, {2, -2}, true},
        {"three pixels away", true, 0, {3, 0}, false},
        {"class without CS_DBLCLKS", false, 0, {0, 0}, false},
    };
    for (const Case& c : cases) {
        Window& target = c.doubleClass ? static_cast<Window&>(child) : static_cast<Window&>(frame);
        LoggingWindow& log = c.doubleClass ? child : frame;
        const Point p = target.clientToScreen(Point{c.doubleClass ? 20 : 200, c.doubleClass ? 20 : 150});
        desktop.advance(1000);  // forget earlier presses
        log.log.clear();
        robot.click(p);
        desktop.advance(c.waitMs);
        robot.click(p + c.secondOffset);
        EXPECT_EQ(log.count(WM_LBUTTONDBLCLK), c.expectDouble ? 1 : 0) << c.what;
        EXPECT_EQ(log.count(WM_LBUTTONDOWN), c.expectDouble ? 1 : 2) << c.what;
    }
    // A third press after a double click starts afresh.
    child.log.clear();
    const Point p = child.clientToScreen(Point{20, 20});
    desktop.advance(1000);
    robot.click(p);
    robot.click(p);
    robot.click(p);
    EXPECT_EQ(child.count(WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(child.count(WM_LBUTTONDOWN), 2);
}

TEST_F(MouseFixture, DisabledChildPassesTheMouseToItsParentAndDisabledTopLevelTakesNothing) {
    child.enable(false);
    robot.clickAt(child, Point{5, 5});
    EXPECT_EQ(child.count(WM_LBUTTONDOWN), 0);
    ASSERT_NE(frame.last(WM_LBUTTONDOWN), nullptr);
    EXPECT_EQ(frame.last(WM_LBUTTONDOWN)->l, makeLParam(15, 15));  // in the frame's client coordinates
    frame.enable(false);
    frame.log.clear();
    robot.clickAt(frame, Point{200, 100});
    EXPECT_TRUE(frame.idsWithout({WM_PAINT, WM_ERASEBKGND}).empty());
}

TEST_F(MouseFixture, PopupsAboveAndTransparentWindows) {
    LoggingWindow popup;
    ASSERT_TRUE(testing::createPopup(popup, Rect{105, 105, 150, 150}));
    EXPECT_EQ(desktop.windowFromPoint(Point{120, 120}), &popup);
    robot.click(Point{120, 120});
    EXPECT_EQ(popup.count(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(child.count(WM_LBUTTONDOWN), 0);
    // A window answering HTTRANSPARENT lets the click through to what lies beneath.
    popup.answers[WM_NCHITTEST] = HTTRANSPARENT;
    robot.click(Point{121, 121});
    EXPECT_EQ(popup.count(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(child.count(WM_LBUTTONDOWN), 1);
    popup.show(SW_HIDE);
    EXPECT_EQ(desktop.windowFromPoint(Point{120, 120}), &child);
}

TEST_F(MouseFixture, WheelGoesToTheFocusAndUnhandledUpToTheParent) {
    child.setFocus();
    robot.moveTo(Point{390, 290});
    robot.wheel(-WHEEL_DELTA);
    ASSERT_NE(child.last(WM_MOUSEWHEEL), nullptr);
    EXPECT_EQ(wheelDeltaOf(child.last(WM_MOUSEWHEEL)->w), -120);
    EXPECT_EQ(pointFromLParam(child.last(WM_MOUSEWHEEL)->l), (Point{390, 290}));  // screen coordinates
    EXPECT_EQ(frame.count(WM_MOUSEWHEEL), 1);
    child.answers[WM_MOUSEWHEEL] = 0;  // handled: no longer passed up
    robot.wheel(WHEEL_DELTA);
    EXPECT_EQ(frame.count(WM_MOUSEWHEEL), 1);
}

TEST_F(MouseFixture, ModifiersShowInKeyFlagsAndKeyState) {
    bool ctrlSeen = false;
    child.onMessage = [&](Message& m, std::intptr_t&) {
        if (m.id == WM_LBUTTONDOWN) ctrlSeen = desktop.isKeyDown(VK_CONTROL);
        return false;
    };
    robot.clickAt(child, Point{5, 5}, MouseButton::Left, Ctrl | Shift);
    EXPECT_TRUE(ctrlSeen);
    EXPECT_EQ(child.last(WM_LBUTTONDOWN)->w, MK_LBUTTON | MK_CONTROL | MK_SHIFT);
    EXPECT_FALSE(desktop.isKeyDown(VK_CONTROL));
    robot.clickAt(child, Point{5, 5}, MouseButton::Right);
    EXPECT_EQ(child.count(WM_RBUTTONDOWN), 1);
    EXPECT_EQ(child.count(WM_RBUTTONUP), 1);
}

}  // namespace
}  // namespace host::ui
