// Tool tips on the virtual clock: shown after resting over a tool, hidden on leaving, pressing or timing out.
#include <gtest/gtest.h>

#include "host/ui/desktop.h"
#include "host/ui/robot.h"
#include "host/ui/tests/ui_test_window.h"
#include "host/ui/tool_tip.h"

namespace host::ui {
namespace {

TEST(ToolTips, ShowAfterTheDelayAndHideOnLeavingOrPressing) {
    Desktop desktop;
    Robot robot(desktop);
    testing::LoggingWindow frame, button;
    ASSERT_TRUE(testing::createPopup(frame, Rect{0, 0, 300, 200}));
    ASSERT_TRUE(testing::createChild(button, frame, Rect{10, 10, 90, 34}, 1));
    ToolTip tip;
    ASSERT_TRUE(tip.create(&frame));
    tip.addTool(button, "Insert +90");
    const Rect lower{0, 12, 80, 24};
    tip.addTool(frame, "Stock list", 2, &lower);

    robot.moveTo(button, Point{5, 5});
    EXPECT_FALSE(tip.isShown());
    robot.wait(499);
    EXPECT_FALSE(tip.isShown());
    robot.wait(1);
    ASSERT_TRUE(tip.isShown());
    EXPECT_EQ(tip.shownText(), "Insert +90");
    EXPECT_EQ(tip.windowRect().topLeft(), (desktop.cursorPos() + Point{0, 20}));
    // With the metric font: 10 characters of 6 pixels, 3 pixels of margin and a border on each side.
    EXPECT_EQ(tip.windowRect().width(), 60 + 8);
    EXPECT_FALSE(tip.displayList().texts("Insert +90").empty());

    robot.press();
    EXPECT_FALSE(tip.isShown());
    robot.release();
    robot.moveTo(Point{250, 150});  // onto no tool
    robot.wait(1000);
    EXPECT_FALSE(tip.isShown());
    robot.moveTo(button, Point{6, 6});
    robot.wait(500);
    EXPECT_TRUE(tip.isShown());
    robot.wait(5000);  // the auto-pop time
    EXPECT_FALSE(tip.isShown());

    tip.activate(false);
    robot.moveTo(button, Point{7, 7});
    robot.wait(1000);
    EXPECT_FALSE(tip.isShown());
}

}  // namespace
}  // namespace host::ui
