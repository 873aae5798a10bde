// Dialog key routing: what Tab, the arrows, Enter and Esc do for each WM_GETDLGCODE answer.
#include <gtest/gtest.h>

#include "host/ui/desktop.h"
#include "host/ui/dialog_keys.h"
#include "host/ui/robot.h"
#include "host/ui/tests/ui_test_window.h"

namespace host::ui {
namespace {

using testing::LoggingWindow;

// A dialog-like window that routes keys through routeDialogKey, with four controls: two edits (tab stops, the
// second in its own group), a pair of radio buttons in one group, and an OK button.
struct DialogFixture : ::testing::Test {
    Desktop desktop;
    Robot robot{desktop};
    LoggingWindow dialog, first, second, radio1, radio2, ok, label;
    std::vector<int> commands;

    void SetUp() override {
        desktop.classes().registerClass({"Button", 0, IDC_ARROW, -1, {}, ""});
        dialog.swallow = [this](Message& m) { return routeDialogKey(dialog, m); };
        dialog.onMessage = [this](Message& m, std::intptr_t&) {
            if (m.id == WM_COMMAND) commands.push_back(loWord(m.w));
            return false;
        };
        ASSERT_TRUE(testing::createPopup(dialog, Rect{0, 0, 300, 200}));
        ASSERT_TRUE(testing::createChild(first, dialog, Rect{0, 0, 50, 20}, 10, WS_TABSTOP | WS_GROUP));
        ASSERT_TRUE(label.create("Button", "&Mode", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, Rect{0, 25, 50, 30}, &dialog,
                                 11));
        ASSERT_TRUE(testing::createChild(second, dialog, Rect{0, 30, 50, 50}, 12, WS_TABSTOP | WS_GROUP));
        ASSERT_TRUE(radio1.create("Button", "One", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON,
                                  Rect{0, 60, 50, 80}, &dialog, 13));
        ASSERT_TRUE(radio2.create("Button", "Two", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, Rect{0, 90, 50, 110},
                                  &dialog, 14));
        ASSERT_TRUE(ok.create("Button", "&OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON,
                              Rect{0, 120, 50, 140}, &dialog, IDOK));
        for (LoggingWindow* edit : {&first, &second}) edit->answers[WM_GETDLGCODE] = DLGC_WANTCHARS | DLGC_HASSETSEL;
        for (LoggingWindow* r : {&radio1, &radio2}) r->answers[WM_GETDLGCODE] = DLGC_RADIOBUTTON | DLGC_BUTTON;
        ok.answers[WM_GETDLGCODE] = DLGC_DEFPUSHBUTTON | DLGC_BUTTON;
        first.setFocus();
    }
};

TEST_F(DialogFixture, TabWalksTheTabStopsAndSelectsEditText) {
    robot.key(VK_TAB);
    EXPECT_EQ(desktop.focus(), &second);
    ASSERT_NE(second.last(EM_SETSEL), nullptr);
    EXPECT_EQ(second.last(EM_SETSEL)->l, -1);
    robot.key(VK_TAB);
    EXPECT_EQ(desktop.focus(), &radio1);
    robot.key(VK_TAB);
    EXPECT_EQ(desktop.focus(), &ok);
    robot.key(VK_TAB);
    EXPECT_EQ(desktop.focus(), &first);  // wraps
    robot.key(VK_TAB, Shift);
    EXPECT_EQ(desktop.focus(), &ok);
    second.enable(false);  // disabled controls are passed over
    first.setFocus();
    first.log.clear();
    robot.key(VK_TAB);
    EXPECT_EQ(desktop.focus(), &radio1);
    EXPECT_EQ(first.count(WM_KEYDOWN), 0);  // the dialog used the key
}

// The control keeps what its WM_GETDLGCODE answer claims, and the dialog does the rest.
TEST_F(DialogFixture, ControlsKeepTheKeysTheyClaim) {
    struct Case {
        const char* what;
        unsigned code;
        unsigned key;
        bool controlGetsIt;
    };
    const Case cases[] = {
        {"Tab, plain edit", DLGC_WANTCHARS, VK_TAB, false},
        {"Tab, DLGC_WANTTAB", DLGC_WANTTAB, VK_TAB, true},
        {"Tab, DLGC_WANTALLKEYS", DLGC_WANTALLKEYS, VK_TAB, true},
        {"Down, plain edit", DLGC_WANTCHARS, VK_DOWN, false},
        {"Down, DLGC_WANTARROWS", DLGC_WANTARROWS, VK_DOWN, true},
        {"Enter, DLGC_WANTARROWS", DLGC_WANTARROWS, VK_RETURN, false},
        {"Enter, DLGC_WANTALLKEYS", DLGC_WANTALLKEYS, VK_RETURN, true},
        {"Esc, DLGC_WANTALLKEYS", DLGC_WANTALLKEYS, VK_ESCAPE, true},
        {"Esc, DLGC_WANTTAB", DLGC_WANTTAB, VK_ESCAPE, false},
        {"a letter, plain edit", DLGC_WANTCHARS, 'K', true},
    };
    for (const Case& c : cases) {
        first.setFocus();
        first.answers[WM_GETDLGCODE] = c.code;
        first.log.clear();
        commands.clear();
        robot.key(c.key);
        EXPECT_EQ(first.count(WM_KEYDOWN), c.controlGetsIt ? 1 : 0) << c.what;
    }
}

TEST_F(DialogFixture, EnterPressesTheDefaultButtonAndEscCancels) {
    robot.key(VK_RETURN);
    EXPECT_EQ(commands, (std::vector<int>{IDOK}));
    dialog.answers[DM_GETDEFID] = static_cast<std::intptr_t>(makeWParam(12, static_cast<int>(DC_HASDEFID)));
    robot.key(VK_RETURN);
    EXPECT_EQ(commands.back(), 12);
    radio1.setFocus();
    radio1.answers[WM_GETDLGCODE] = DLGC_UNDEFPUSHBUTTON;  // a focused push button is pressed itself
    robot.key(VK_RETURN);
    EXPECT_EQ(commands.back(), 13);
    robot.key(VK_ESCAPE);
    EXPECT_EQ(commands.back(), IDCANCEL);
    EXPECT_EQ(first.count(WM_CHAR), 0);
}

TEST_F(DialogFixture, ArrowsMoveInTheGroupAndClickRadioButtons) {
    radio1.setFocus();
    robot.key(VK_DOWN);
    EXPECT_EQ(desktop.focus(), &radio2);
    EXPECT_EQ(radio2.count(BM_CLICK), 1);
    robot.key(VK_DOWN);  // wraps inside the group, not into OK
    EXPECT_EQ(desktop.focus(), &radio1);
    robot.key(VK_UP);
    EXPECT_EQ(desktop.focus(), &radio2);
}

TEST_F(DialogFixture, AltLetterFindsTheMarkedControl) {
    robot.key('O', Alt);
    EXPECT_EQ(desktop.focus(), &ok);
    EXPECT_EQ(ok.count(BM_CLICK), 1);
    robot.key('M', Alt);  // a group box's mnemonic passes to the next tab stop
    EXPECT_EQ(desktop.focus(), &second);
}

}  // namespace
}  // namespace host::ui
