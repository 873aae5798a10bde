// Focus and capture: the order of WM_KILLFOCUS and WM_SETFOCUS, a SetFocus made while the focus is being lost,
// disabled windows, and WM_CAPTURECHANGED.
#include <gtest/gtest.h>

#include "host/ui/desktop.h"
#include "host/ui/message_log.h"
#include "host/ui/tests/ui_test_window.h"

namespace host::ui {
namespace {

using testing::LoggingWindow;

struct FocusFixture : ::testing::Test {
    Desktop desktop;
    LoggingWindow dialog, a, b, c;
    void SetUp() override {
        ASSERT_TRUE(testing::createPopup(dialog, Rect{0, 0, 300, 200}));
        ASSERT_TRUE(testing::createChild(a, dialog, Rect{0, 0, 50, 20}, 1));
        ASSERT_TRUE(testing::createChild(b, dialog, Rect{0, 30, 50, 50}, 2));
        ASSERT_TRUE(testing::createChild(c, dialog, Rect{0, 60, 50, 80}, 3));
    }
};

TEST_F(FocusFixture, KillFocusThenSetFocusEachNamingTheOther) {
    MessageLog log(desktop, {WM_SETFOCUS, WM_KILLFOCUS});
    EXPECT_EQ(a.setFocus(), nullptr);
    EXPECT_EQ(b.setFocus(), &a);
    ASSERT_EQ(log.entries().size(), 3u);
    EXPECT_EQ(log.entries()[1].window, &a);
    EXPECT_EQ(log.entries()[1].id, WM_KILLFOCUS);
    EXPECT_EQ(log.entries()[1].w, wParamFromPointer(&b));
    EXPECT_EQ(log.entries()[2].window, &b);
    EXPECT_EQ(log.entries()[2].id, WM_SETFOCUS);
    EXPECT_EQ(log.entries()[2].w, wParamFromPointer(&a));
    EXPECT_EQ(desktop.focus(), &b);
    EXPECT_EQ(desktop.activeWindow(), &dialog);
    b.setFocus();  // no change, no messages
    EXPECT_EQ(log.entries().size(), 3u);
}

// An in-place editor that loses the focus ends its edit, and the grid opens the next editor, which takes the
// focus while the first WM_KILLFOCUS is still being handled. The nested target must end up with the focus, and
// the window the outer call aimed at must not get a WM_SETFOCUS afterwards.
TEST_F(FocusFixture, SetFocusInsideKillFocusWins) {
    a.setFocus();
    a.onMessage = [&](Message& m, std::intptr_t&) {
        if (m.id == WM_KILLFOCUS) c.setFocus();
        return false;
    };
    b.log.clear();
    c.log.clear();
    b.setFocus();
    EXPECT_EQ(desktop.focus(), &c);
    EXPECT_EQ(b.count(WM_SETFOCUS), 0);
    EXPECT_EQ(b.count(WM_KILLFOCUS), 0);
    EXPECT_EQ(c.count(WM_SETFOCUS), 1);
    EXPECT_EQ(a.count(WM_KILLFOCUS), 1);
}

TEST_F(FocusFixture, DisabledWindowsRefuseTheFocusAndDisablingTakesItAway) {
    b.enable(false);
    EXPECT_EQ(b.setFocus(), nullptr);
    EXPECT_EQ(desktop.focus(), nullptr);
    a.setFocus();
    a.log.clear();
    dialog.enable(false);  // disabling an ancestor of the focus window
    EXPECT_EQ(desktop.focus(), nullptr);
    EXPECT_EQ(a.count(WM_KILLFOCUS), 1);
    EXPECT_FALSE(a.isEnabled());
    dialog.enable(true);
    EXPECT_TRUE(a.isEnabled());
    EXPECT_EQ(dialog.count(WM_ENABLE), 2);
}

TEST_F(FocusFixture, CaptureChangesAreAnnounced) {
    EXPECT_EQ(a.setCapture(), nullptr);
    EXPECT_TRUE(a.hasCapture());
    EXPECT_EQ(b.setCapture(), &a);
    ASSERT_NE(a.last(WM_CAPTURECHANGED), nullptr);
    EXPECT_EQ(a.last(WM_CAPTURECHANGED)->l, lParamFromPointer(&b));
    EXPECT_TRUE(desktop.releaseCapture());
    EXPECT_EQ(b.last(WM_CAPTURECHANGED)->l, 0);
    EXPECT_EQ(desktop.capture(), nullptr);
    c.setCapture();
    c.destroy();  // the capture goes with the window
    EXPECT_EQ(desktop.capture(), nullptr);
    EXPECT_EQ(c.count(WM_CAPTURECHANGED), 1);
}

}  // namespace
}  // namespace host::ui
