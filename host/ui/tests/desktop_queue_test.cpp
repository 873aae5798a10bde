// The queue: the order of posted messages, input, paints and timers; modal loops with idle handlers; defaults of
// text and fonts; names of messages.
#include <gtest/gtest.h>

#include "host/ui/desktop.h"
#include "host/ui/message_log.h"
#include "host/ui/robot.h"
#include "host/ui/tests/ui_test_window.h"

namespace host::ui {
namespace {

using testing::LoggingWindow;

TEST(DesktopQueue, PostedThenInputThenPaintThenTimers) {
    Desktop desktop;
    LoggingWindow w;
    ASSERT_TRUE(testing::createPopup(w, Rect{0, 0, 50, 50}));
    w.setFocus();
    desktop.pumpUntilIdle();
    w.setTimer(1, 10);
    desktop.advance(5);
    w.log.clear();
    // Queue one of each, the timer falling due while a posted message and input wait.
    Robot robot(desktop);
    robot.setAutoPump(false);
    w.invalidate(false);
    robot.keyDown(VK_F5);
    w.post(WM_USER + 7);
    desktop.advance(5);  // the timer falls due; advance pumps everything
    EXPECT_EQ(w.ids(), (std::vector<unsigned>{WM_USER + 7, WM_KEYDOWN, WM_PAINT, WM_TIMER}));
    EXPECT_EQ(w.preTranslated.back(), WM_TIMER);  // queued messages all meet the pre-translation
}

TEST(DesktopQueue, ModalLoopRunsIdleHandlersUntilDoneOrStalled) {
    Desktop desktop;
    LoggingWindow dialog;
    ASSERT_TRUE(testing::createPopup(dialog, Rect{0, 0, 50, 50}));
    bool ended = false;
    dialog.onMessage = [&](Message& m, std::intptr_t&) {
        if (m.id == WM_COMMAND && loWord(m.w) == IDOK) ended = true;
        return false;
    };
    // A script of three steps answering the dialog from inside its modal loop.
    int step = 0;
    const int token = desktop.addIdleHandler([&] {
        ++step;
        if (step == 3) dialog.post(WM_COMMAND, makeWParam(IDOK, BN_CLICKED));
        return step <= 3;
    });
    EXPECT_EQ(desktop.runModalLoop([&] { return !ended; }), ModalEnd::Ended);
    EXPECT_EQ(step, 3);
    ended = false;
    EXPECT_EQ(desktop.runModalLoop([&] { return !ended; }), ModalEnd::Stalled);  // the script has run out
    desktop.removeIdleHandler(token);
    EXPECT_FALSE(desktop.runIdleHandlers());
}

TEST(DesktopQueue, DefaultTextAndFont) {
    Desktop desktop;
    LoggingWindow w;
    ASSERT_TRUE(w.create(kPlainWindowClass, "Кнопка", WS_POPUP, Rect{0, 0, 10, 10}, nullptr));
    EXPECT_EQ(w.text(), "Кнопка");
    w.setText("Button");
    EXPECT_EQ(w.storedText(), "Button");
    EXPECT_EQ(w.send(WM_GETTEXTLENGTH), 6);
    std::string part;
    EXPECT_EQ(w.send(WM_GETTEXT, 3, lParamFromPointer(&part)), 3);
    EXPECT_EQ(part, "But");
    EXPECT_TRUE(w.font().isNull());
    const Font bold = Font::create(LogFont{.height = -13, .weight = FW_BOLD});
    w.setFont(bold);
    EXPECT_TRUE(w.font() == bold);
    EXPECT_EQ(w.font().logFont().weight, FW_BOLD);
    w.setFont(Font{});
    EXPECT_TRUE(w.font().isNull());
}

TEST(DesktopQueue, GeometryMapsBetweenWindows) {
    Desktop desktop;
    LoggingWindow top, child;
    ASSERT_TRUE(
        top.create(kPlainWindowClass, "", WS_POPUP | WS_VISIBLE | WS_CAPTION, Rect{100, 50, 400, 250}, nullptr));
    ASSERT_TRUE(testing::createChild(child, top, Rect{10, 20, 60, 40}, 4, WS_BORDER));
    // Caption 18 and a 3-pixel frame put the client area at (103, 71); the child's border adds one.
    EXPECT_EQ(top.clientToScreen(Point{0, 0}), (Point{103, 71}));
    EXPECT_EQ(child.windowRect(), (Rect{113, 91, 163, 111}));
    EXPECT_EQ(child.clientToScreen(Point{0, 0}), (Point{114, 92}));
    EXPECT_EQ(child.mapTo(&top, Point{1, 1}), (Point{12, 22}));
    EXPECT_EQ(top.screenToClient(Point{103, 71}), (Point{0, 0}));
    child.log.clear();
    child.move(Rect{0, 0, 80, 40});
    EXPECT_EQ(child.idsWithout({}), (std::vector<unsigned>{WM_MOVE, WM_SIZE}));
    EXPECT_EQ(child.last(WM_SIZE)->l, makeLParam(78, 38));
    child.modifyStyle(WS_BORDER, 0);
    EXPECT_EQ(child.clientRect(), (Rect{0, 0, 80, 40}));
    EXPECT_EQ(top.child(4), &child);
    EXPECT_EQ(child.topLevel(), &top);
    EXPECT_EQ(child.ownerOrParent(), &top);
}

TEST(DesktopQueue, MessageNames) {
    EXPECT_EQ(messageName(WM_KEYDOWN), "WM_KEYDOWN");
    EXPECT_EQ(messageName(WM_USER + 5), "WM_USER+5");
    EXPECT_EQ(messageName(0x0099), "0x0099");
    Desktop desktop;
    LoggingWindow w;
    MessageLog log(desktop, {WM_SETTEXT, WM_NOTIFY});
    ASSERT_TRUE(testing::createPopup(w, Rect{0, 0, 10, 10}));
    w.setText("x");
    NotifyHeader header{&w, 3, NM_CLICK};
    w.send(WM_NOTIFY, 3, lParamFromPointer(&header));
    EXPECT_EQ(log.names(), "WM_SETTEXT WM_NOTIFY");
    EXPECT_EQ(log.notifyCodes(&w), (std::vector<int>{NM_CLICK}));
}

}  // namespace
}  // namespace host::ui
