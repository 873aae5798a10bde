// Keys: WM_KEYDOWN, WM_CHAR through translation, WM_KEYUP to the focus window; the pre-translate chain; the key
// state a handler sees; Alt keys; characters beyond the keyboard.
#include <gtest/gtest.h>

#include "host/ui/desktop.h"
#include "host/ui/robot.h"
#include "host/ui/tests/ui_test_window.h"

namespace host::ui {
namespace {

using testing::LoggingWindow;

struct KeyFixture : ::testing::Test {
    Desktop desktop;
    LoggingWindow frame, field;
    Robot robot{desktop};
    void SetUp() override {
        ASSERT_TRUE(testing::createPopup(frame, Rect{0, 0, 200, 100}));
        ASSERT_TRUE(testing::createChild(field, frame, Rect{10, 10, 110, 30}, 7));
        field.setFocus();
        desktop.pumpUntilIdle();
        field.log.clear();
        frame.log.clear();
        field.preTranslated.clear();
        frame.preTranslated.clear();
    }
    // The characters WM_CHAR brought, as UTF-32.
    std::u32string typed() const {
        std::u32string out;
        for (const auto& e : field.log)
            if (e.id == WM_CHAR) out.push_back(static_cast<char32_t>(e.w));
        return out;
    }
};

TEST_F(KeyFixture, KeyDownCharKeyUp) {
    robot.key('A');
    EXPECT_EQ(field.ids(), (std::vector<unsigned>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
    EXPECT_EQ(field.log[0].w, static_cast<std::uintptr_t>('A'));
    EXPECT_EQ(field.log[1].w, static_cast<std::uintptr_t>('a'));
    EXPECT_EQ(field.log[2].l & (1u << 31), 1u << 31);  // the transition bit of a release
    EXPECT_EQ(field.preTranslated, (std::vector<unsigned>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
    // The parent's pre-translation sees its child's keys too (the dialog's turn).
    EXPECT_EQ(frame.preTranslated, (std::vector<unsigned>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
    EXPECT_EQ(frame.count(WM_KEYDOWN), 0);
}

TEST_F(KeyFixture, TypedTextBecomesItsCharacters) {
    robot.type("Qty 7,5!");
    EXPECT_EQ(typed(), U"Qty 7,5!");
    EXPECT_FALSE(desktop.isKeyDown(VK_SHIFT));
    field.log.clear();
    robot.type("Сталь 3");  // Cyrillic arrives as VK_PACKET key-downs
    EXPECT_EQ(typed(), U"Сталь 3");
    field.log.clear();
    robot.type("a\r\nb\tc\b");
    EXPECT_EQ(typed(), std::u32string({U'a', 13, U'b', 9, U'c', 8}));
}

TEST_F(KeyFixture, ModifiersAreDownWhileTheirKeyIsHandled) {
    struct Seen {
        unsigned id;
        bool shift, ctrl;
    };
    std::vector<Seen> seen;
    field.onMessage = [&](Message& m, std::intptr_t&) {
        if (m.id == WM_KEYDOWN && m.w == VK_TAB)
            seen.push_back({m.id, desktop.isKeyDown(VK_SHIFT), desktop.isKeyDown(VK_CONTROL)});
        return false;
    };
    robot.key(VK_TAB, Shift);
    robot.key(VK_TAB, Ctrl);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[0].shift);
    EXPECT_FALSE(seen[0].ctrl);
    EXPECT_TRUE(seen[1].ctrl);
    EXPECT_FALSE(desktop.isKeyDown(VK_TAB));
    // Ctrl+C types the control character 3, as the copy shortcuts of edit controls expect.
    field.log.clear();
    robot.key('C', Ctrl);
    EXPECT_EQ(typed(), std::u32string(1, char32_t{3}));
}

TEST_F(KeyFixture, AltMakesSystemKeys) {
    robot.key('S', Alt);
    EXPECT_EQ(field.idsWithout({}), (std::vector<unsigned>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP,
                                                            WM_SYSKEYUP}));
    EXPECT_EQ(field.last(WM_SYSCHAR)->w, static_cast<std::uintptr_t>('s'));
}

TEST_F(KeyFixture, APreTranslatedKeyIsNeitherDispatchedNorTranslated) {
    frame.swallow = [](Message& m) { return m.id == WM_KEYDOWN && m.w == VK_RETURN; };
    robot.key(VK_RETURN);
    EXPECT_EQ(field.ids(), (std::vector<unsigned>{WM_KEYUP}));
    // The window itself may translate and dispatch in its own pre-translation, as a combo's edit does.
    frame.swallow = nullptr;
    field.log.clear();
    field.swallow = [&](Message& m) {
        if (m.id != WM_KEYDOWN) return false;
        desktop.translateMessage(m);
        desktop.dispatch(m);
        return true;
    };
    robot.key('X');
    EXPECT_EQ(field.ids(), (std::vector<unsigned>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
}

TEST_F(KeyFixture, KeysWithoutAFocusGoNowhereButStillCount) {
    desktop.setFocus(nullptr);
    field.log.clear();
    robot.keyDown(VK_SHIFT);
    EXPECT_TRUE(field.log.empty());
    EXPECT_TRUE(desktop.isKeyDown(VK_SHIFT));
    robot.keyUp(VK_SHIFT);
    EXPECT_EQ(desktop.keyState(VK_SHIFT) & 0x8000, 0);
}

}  // namespace
}  // namespace host::ui
