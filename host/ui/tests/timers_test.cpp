// Timers on the virtual clock: when they fire, at most one pending message each, replacing and killing.
#include <gtest/gtest.h>

#include "host/ui/desktop.h"
#include "host/ui/robot.h"
#include "host/ui/tests/ui_test_window.h"

namespace host::ui {
namespace {

using testing::LoggingWindow;

TEST(Timers, FireOnlyAsTheClockAdvances) {
    Desktop desktop;
    LoggingWindow w;
    ASSERT_TRUE(testing::createPopup(w, Rect{0, 0, 10, 10}));
    std::vector<std::uint32_t> ticks;
    w.onMessage = [&](Message& m, std::intptr_t&) {
        if (m.id == WM_TIMER && m.w == 0x201) ticks.push_back(desktop.tickCount());
        return false;
    };
    EXPECT_EQ(w.setTimer(0x201, 25), 0x201u);
    desktop.pumpUntilIdle();
    EXPECT_TRUE(ticks.empty());
    desktop.advance(100);  // auto-scrolling: 40 ticks a second
    EXPECT_EQ(ticks, (std::vector<std::uint32_t>{25, 50, 75, 100}));
    desktop.advance(24);
    EXPECT_EQ(ticks.size(), 4u);
    EXPECT_TRUE(w.killTimer(0x201));
    desktop.advance(1000);
    EXPECT_EQ(ticks.size(), 4u);
    EXPECT_FALSE(w.killTimer(0x201));
}

TEST(Timers, AtMostOneMessagePendingPerTimer) {
    Desktop desktop;
    LoggingWindow w;
    ASSERT_TRUE(testing::createPopup(w, Rect{0, 0, 10, 10}));
    // A handler that is slow to come back: while it runs, the clock moves on by several intervals.
    int fired = 0;
    w.onMessage = [&](Message& m, std::intptr_t&) {
        if (m.id == WM_TIMER && ++fired == 1) desktop.advance(0);
        return false;
    };
    w.setTimer(1, 10);
    w.setTimer(1, 30);  // the same id replaces the interval
    w.setTimer(2, 1);   // raised to USER_TIMER_MINIMUM
    desktop.advance(30);
    EXPECT_EQ(w.count(WM_TIMER), 4);  // timer 2 at 10, 20, 30; timer 1 at 30
    w.destroy();
    desktop.advance(100);  // a destroyed window's timers are gone
    EXPECT_EQ(w.count(WM_TIMER), 4);
}

TEST(Timers, WaitCursorScopesCount) {
    Desktop desktop;
    EXPECT_EQ(desktop.cursor(), IDC_ARROW);
    {
        WaitCursor wait(desktop);
        EXPECT_EQ(desktop.cursor(), IDC_WAIT);
        desktop.setCursor(IDC_HAND);
        EXPECT_EQ(desktop.cursor(), IDC_WAIT);
    }
    EXPECT_EQ(desktop.cursor(), IDC_HAND);
    EXPECT_EQ(desktop.waitCursorCount(), 1);
    EXPECT_FALSE(desktop.isWaitCursorShown());
}

}  // namespace
}  // namespace host::ui
