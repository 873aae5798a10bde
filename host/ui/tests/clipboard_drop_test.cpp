// The clipboard's bytes and owner, and drop targets driven by the robot.
#include <gtest/gtest.h>

#include "host/ui/desktop.h"
#include "host/ui/robot.h"
#include "host/ui/tests/ui_test_window.h"

namespace host::ui {
namespace {

TEST(Clipboard, TextIsTheBytesWithATerminatingZero) {
    Desktop desktop;
    Clipboard& clip = desktop.clipboard();
    EXPECT_FALSE(clip.text().has_value());
    int owner = 0;
    clip.setText("4\t90", &owner);  // a copied 2 x 1 block of a table
    EXPECT_EQ(*clip.data(CF_TEXT), std::string("4\t90\0", 5));
    EXPECT_TRUE(clip.isOwner(&owner));
    EXPECT_EQ(clip.text(), "4\t90");
    clip.setText("Сталь 3");
    EXPECT_EQ(clip.text(), "Сталь 3");
    EXPECT_FALSE(clip.isOwner(&owner));
    EXPECT_FALSE(clip.isOwner(nullptr));
    // A block from another program may have no terminator, or text after a zero: the block bounds the read.
    clip.setData(CF_TEXT, "1,2");
    EXPECT_EQ(clip.text(), "1,2");
    clip.setData(CF_TEXT, std::string("ab\0cd", 5));
    EXPECT_EQ(clip.text(), "ab");
    const int before = clip.changeCount();
    clip.clear();
    EXPECT_FALSE(clip.isAvailable(CF_TEXT));
    EXPECT_EQ(clip.changeCount(), before + 1);
}

struct RecordingTarget : DropTarget {
    std::vector<std::string> calls;
    std::uint32_t answer = DROPEFFECT_NONE;
    std::uint32_t dragEnter(Window&, const DataObject& d, unsigned, Point) override {
        const std::string block = d.get(CF_TEXT).value_or("");
        calls.push_back("enter " + block.substr(0, block.find('\0')));
        return answer;
    }
    std::uint32_t dragOver(Window&, const DataObject&, unsigned keys, Point) override {
        calls.push_back(keys & MK_CONTROL ? "over ctrl" : "over");
        return answer;
    }
    void dragLeave(Window&) override { calls.push_back("leave"); }
    std::uint32_t drop(Window&, const DataObject&, std::uint32_t, Point) override {
        calls.push_back("drop");
        return answer;
    }
};

TEST(DropTargets, TheRobotDragsOverTheRegisteredWindow) {
    Desktop desktop;
    Robot robot(desktop);
    testing::LoggingWindow frame, grid, other;
    ASSERT_TRUE(testing::createPopup(frame, Rect{0, 0, 300, 200}));
    ASSERT_TRUE(testing::createChild(grid, frame, Rect{0, 0, 100, 100}));
    ASSERT_TRUE(testing::createChild(other, frame, Rect{150, 0, 250, 100}));
    RecordingTarget target;
    ASSERT_TRUE(desktop.registerDropTarget(grid, target));
    const DataObject data = DataObject::withText("x");
    EXPECT_EQ(robot.dragEnter(Point{10, 10}, data), DROPEFFECT_NONE);
    robot.dragOver(Point{20, 20}, MK_CONTROL);
    robot.dragOver(Point{160, 20});  // onto a window with no target
    robot.dragOver(Point{20, 20});
    EXPECT_EQ(robot.drop(Point{20, 20}), DROPEFFECT_NONE);
    EXPECT_EQ(target.calls, (std::vector<std::string>{"enter x", "over ctrl", "leave", "enter x", "drop"}));
    EXPECT_TRUE(desktop.revokeDropTarget(grid));
    EXPECT_EQ(desktop.dropTargetFor(&grid), nullptr);
    EXPECT_FALSE(desktop.revokeDropTarget(grid));
    target.answer = DROPEFFECT_COPY;
    desktop.registerDropTarget(frame, target);  // a child's drag finds its parent's target
    Window* registered = nullptr;
    EXPECT_EQ(desktop.dropTargetFor(&grid, &registered), &target);
    EXPECT_EQ(registered, &frame);
    frame.destroy();
    EXPECT_EQ(desktop.dropTargetFor(&grid), nullptr);
}

}  // namespace
}  // namespace host::ui
