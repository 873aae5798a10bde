// Creating, destroying and adopting windows: the message order, who deletes what, and the focus on the way out.
#include <gtest/gtest.h>

#include "host/ui/desktop.h"
#include "host/ui/message_log.h"
#include "host/ui/tests/ui_test_window.h"

namespace host::ui {
namespace {

using testing::LoggingWindow;

TEST(WindowLife, CreateSendsCreationMessagesThenShows) {
    Desktop desktop;
    LoggingWindow w;
    ASSERT_TRUE(
        w.create(kPlainWindowClass, "Title", WS_POPUP | WS_VISIBLE | WS_BORDER, Rect{10, 20, 110, 70}, nullptr));
    EXPECT_EQ(w.ids(), (std::vector<unsigned>{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW}));
    // A one-pixel border leaves a 98 x 48 client area.
    EXPECT_EQ(w.last(WM_SIZE)->l, makeLParam(98, 48));
    EXPECT_EQ(w.clientRect(), (Rect{0, 0, 98, 48}));
    EXPECT_EQ(w.clientToScreen(Point{0, 0}), (Point{11, 21}));
    EXPECT_EQ(w.text(), "Title");
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(desktop.isWindow(&w));
}

TEST(WindowLife, CreationFailsCleanly) {
    Desktop desktop;
    LoggingWindow unknownClass;
    EXPECT_FALSE(unknownClass.create("NoSuchClass", "", WS_POPUP, Rect{0, 0, 10, 10}, nullptr));
    LoggingWindow orphan;
    EXPECT_FALSE(orphan.create(kPlainWindowClass, "", WS_CHILD, Rect{0, 0, 10, 10}, nullptr));
    LoggingWindow refuses;
    refuses.answers[WM_CREATE] = -1;
    EXPECT_FALSE(refuses.create(kPlainWindowClass, "", WS_POPUP, Rect{0, 0, 10, 10}, nullptr));
    EXPECT_FALSE(refuses.exists());
    EXPECT_EQ(refuses.count(WM_NCDESTROY), 1);
    EXPECT_TRUE(desktop.topLevelWindows().empty());
}

TEST(WindowLife, DestroyOrderIsParentFirstThenChildrenFirst) {
    Desktop desktop;
    MessageLog log(desktop, {WM_DESTROY, WM_NCDESTROY});
    LoggingWindow parent, child, grandchild;
    ASSERT_TRUE(testing::createPopup(parent, Rect{0, 0, 100, 100}));
    ASSERT_TRUE(testing::createChild(child, parent, Rect{0, 0, 50, 50}));
    ASSERT_TRUE(testing::createChild(grandchild, child, Rect{0, 0, 10, 10}));
    parent.destroy();
    ASSERT_EQ(log.entries().size(), 6u);
    const std::vector<std::pair<Window*, unsigned>> expected = {
        {&parent, WM_DESTROY},       {&child, WM_DESTROY},   {&grandchild, WM_DESTROY},
        {&grandchild, WM_NCDESTROY}, {&child, WM_NCDESTROY}, {&parent, WM_NCDESTROY}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(log.entries()[i].window, expected[i].first) << i;
        EXPECT_EQ(log.entries()[i].id, expected[i].second) << i;
    }
    EXPECT_FALSE(child.exists());
    EXPECT_FALSE(desktop.isWindow(&grandchild));
}

// An in-place editor deletes itself once its window is gone; the live counter shows nothing leaks and nothing is
// deleted twice.
class SelfDeleting : public Window {
public:
    static inline int live = 0;
    SelfDeleting() { ++live; }
    ~SelfDeleting() override { --live; }
    void postNcDestroy() override { delete this; }
};

TEST(WindowLife, PostNcDestroyMayDeleteTheObject) {
    Desktop desktop;
    LoggingWindow parent;
    ASSERT_TRUE(testing::createPopup(parent, Rect{0, 0, 100, 100}));
    auto* editor = new SelfDeleting;
    ASSERT_TRUE(testing::createChild(*editor, parent, Rect{0, 0, 20, 20}));
    EXPECT_EQ(SelfDeleting::live, 1);
    editor->post(WM_CLOSE);  // the way a combo editor ends itself
    desktop.pumpUntilIdle();
    EXPECT_EQ(SelfDeleting::live, 0);
    EXPECT_TRUE(parent.children().empty());

    auto* second = new SelfDeleting;
    ASSERT_TRUE(testing::createChild(*second, parent, Rect{0, 0, 20, 20}));
    parent.destroy();  // children end with their parent
    EXPECT_EQ(SelfDeleting::live, 0);
}

TEST(WindowLife, DesktopDeletesWindowsMadeFromClassFactories) {
    Desktop desktop;
    int made = 0, gone = 0;
    struct Counted : Window {
        int* gone;
        explicit Counted(int* g) : gone(g) {}
        ~Counted() override { ++*gone; }
    };
    desktop.classes().registerClass({"Counted", 0, IDC_ARROW, -1, [&] {
                                         ++made;
                                         return std::make_unique<Counted>(&gone);
                                     }, ""});
    Window* w = desktop.createWindow("Counted", "", WS_POPUP, Rect{0, 0, 10, 10}, nullptr);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(made, 1);
    w->destroy();
    EXPECT_EQ(gone, 1);
    EXPECT_EQ(desktop.createWindow("NoFactory", "", WS_POPUP, Rect{}, nullptr), nullptr);
}

TEST(WindowLife, AdoptMovesTheWindowToTheMemberObject) {
    Desktop desktop;
    LoggingWindow dialog;
    ASSERT_TRUE(testing::createPopup(dialog, Rect{0, 0, 200, 100}));
    Window* placeholder = desktop.createWindow(kPlainWindowClass, "cells", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                               Rect{5, 5, 105, 55}, &dialog, 1200);
    ASSERT_NE(placeholder, nullptr);
    placeholder->setFocus();
    placeholder->setTimer(7, 50);

    struct Member : LoggingWindow {
        bool subclassed = false;
        void preSubclassWindow() override { subclassed = true; }
    } member;
    ASSERT_TRUE(member.adopt(*placeholder));  // the placeholder was the desktop's and is deleted
    EXPECT_TRUE(member.subclassed);
    EXPECT_EQ(dialog.child(1200), &member);
    EXPECT_EQ(member.text(), "cells");
    EXPECT_EQ(member.rectInParent(), (Rect{5, 5, 105, 55}));
    EXPECT_EQ(desktop.focus(), &member);
    desktop.advance(50);
    EXPECT_EQ(member.count(WM_TIMER), 1);
    EXPECT_FALSE(member.adopt(dialog));  // it already has a window
}

TEST(WindowLife, DestroyingTheFocusedWindowSendsKillFocusFirst) {
    Desktop desktop;
    LoggingWindow parent, editor;
    ASSERT_TRUE(testing::createPopup(parent, Rect{0, 0, 100, 100}));
    ASSERT_TRUE(testing::createChild(editor, parent, Rect{0, 0, 50, 20}));
    editor.setFocus();
    editor.log.clear();
    editor.destroy();
    EXPECT_EQ(editor.ids(), (std::vector<unsigned>{WM_KILLFOCUS, WM_DESTROY, WM_NCDESTROY}));
    EXPECT_EQ(desktop.focus(), nullptr);
}

TEST(WindowLife, OwnedPopupsEndWithTheirOwnerAndFocusReturnsToIt) {
    Desktop desktop;
    LoggingWindow owner, popup, inner;
    ASSERT_TRUE(testing::createPopup(owner, Rect{0, 0, 300, 200}));
    ASSERT_TRUE(popup.create(kPlainWindowClass, "", WS_POPUP | WS_VISIBLE, Rect{10, 10, 60, 60}, &owner));
    EXPECT_EQ(popup.owner(), &owner);
    EXPECT_EQ(popup.parent(), nullptr);
    ASSERT_TRUE(testing::createChild(inner, popup, Rect{0, 0, 10, 10}));
    inner.setFocus();
    popup.destroy();
    EXPECT_EQ(desktop.focus(), &owner);

    LoggingWindow second;
    ASSERT_TRUE(second.create(kPlainWindowClass, "", WS_POPUP, Rect{10, 10, 60, 60}, &owner));
    owner.destroy();
    EXPECT_FALSE(second.exists());
}

TEST(WindowLife, MessagesPostedToAWindowThatEndedAreDropped) {
    Desktop desktop;
    LoggingWindow first;
    ASSERT_TRUE(testing::createPopup(first, Rect{0, 0, 10, 10}));
    first.post(WM_USER + 1);
    first.destroy();
    // A new window in the same object must not receive the old window's message.
    ASSERT_TRUE(testing::createPopup(first, Rect{0, 0, 10, 10}));
    first.log.clear();
    desktop.pumpUntilIdle();
    EXPECT_EQ(first.count(WM_USER + 1), 0);
    EXPECT_FALSE(desktop.post(nullptr, WM_USER));
    EXPECT_EQ(desktop.send(nullptr, WM_USER), 0);
}

TEST(WindowLife, DestroyingTheDesktopEndsWindowsLeftOpen) {
    LoggingWindow outlives;
    {
        Desktop desktop;
        ASSERT_TRUE(testing::createPopup(outlives, Rect{0, 0, 10, 10}));
    }
    EXPECT_FALSE(outlives.exists());
    EXPECT_EQ(outlives.count(WM_NCDESTROY), 1);
}

TEST(WindowLife, ClassRegistryNamesIgnoreCaseAndKnowTheirBases) {
    Desktop desktop;
    WindowClassRegistry& classes = desktop.classes();
    EXPECT_TRUE(classes.registerClass({"MFCGridCtrl", CS_DBLCLKS, IDC_ARROW, COLOR_BTNFACE, {}, ""}));
    EXPECT_FALSE(classes.registerClass({"mfcgridctrl", 0, IDC_ARROW, -1, {}, ""}));
    ASSERT_NE(classes.find("MFCGRIDCTRL"), nullptr);
    EXPECT_EQ(classes.find("MFCGRIDCTRL")->style, CS_DBLCLKS);
    EXPECT_TRUE(classes.registerClass({"ComboCell", 0, IDC_ARROW, -1, {}, "TextCell"}));
    EXPECT_TRUE(classes.registerClass({"TextCell", 0, IDC_ARROW, -1, {}, "ComboCell"}));  // a loop
    EXPECT_TRUE(classes.isDerivedFrom("ComboCell", "TextCell"));
    EXPECT_FALSE(classes.isDerivedFrom("ComboCell", "MFCGridCtrl"));  // ends despite the loop
}

}  // namespace
}  // namespace host::ui
