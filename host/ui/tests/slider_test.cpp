// The slider driven through the robot: the keys, dragging the thumb, paging with repeats on the virtual clock,
// the scroll notifications to the owner in order, ticks and geometry.
#include "host/ui/slider.h"

#include "host/ui/tests/control_fixture.h"

namespace host::ui {
namespace {

using Scroll = std::pair<int, int>;  // code, position

constexpr int kSliderId = 700;
// 217 wide: the channel's 201 pixels (217 - 2 * 8) map 0..100 at 2 pixels a step.
constexpr Rect kSliderRect{10, 10, 227, 40};

class SliderTest : public testing::ControlTest {
protected:
    Slider& make(std::uint32_t style = TBS_AUTOTICKS) {
        EXPECT_TRUE(ControlTest::make(slider, kSliderClass, "", style | WS_TABSTOP, kSliderRect, kSliderId));
        clearLog();
        return slider;
    }
    Slider slider;
};

TEST_F(SliderTest, KeysStepByLineAndPage) {
    Slider& s = make();
    s.setPosition(50);
    s.setFocus();
    struct Step {
        unsigned key;
        int position;
        int code;
    };
    const Step steps[] = {
        {VK_RIGHT, 51, TB_LINEDOWN}, {VK_UP, 50, TB_LINEUP},       {VK_NEXT, 70, TB_PAGEDOWN},
        {VK_PRIOR, 50, TB_PAGEUP},   {VK_END, 100, TB_BOTTOM},     {VK_DOWN, 100, TB_LINEDOWN},  // held at the end
        {VK_HOME, 0, TB_TOP},        {VK_LEFT, 0, TB_LINEUP},
    };
    for (const Step& step : steps) {
        clearLog();
        robot.key(step.key);
        EXPECT_EQ(s.position(), step.position) << step.key;
        EXPECT_EQ(scrolls(WM_HSCROLL), (std::vector<Scroll>{{step.code, 0}, {TB_ENDTRACK, 0}})) << step.key;
    }
    const auto& last = owner.log.back();
    EXPECT_EQ(last.l, lParamFromPointer(&s)) << "lParam names the slider";
}

TEST_F(SliderTest, DraggingTheThumbTracksThenReportsTheEnd) {
    Slider& s = make();
    s.setPosition(10);
    const Point thumb = s.thumbRect().center();
    EXPECT_EQ(thumb.x, Slider::kChannelMargin + 20);
    robot.drag(s.clientToScreen(thumb), s.clientToScreen(thumb + Point{20, 0}), 2);
    EXPECT_EQ(s.position(), 20);
    EXPECT_EQ(scrolls(WM_HSCROLL), (std::vector<Scroll>{{TB_THUMBTRACK, 15}, {TB_THUMBTRACK, 20},
                                                        {TB_THUMBPOSITION, 20}, {TB_ENDTRACK, 0}}));
    EXPECT_TRUE(s.hasFocus());
    EXPECT_FALSE(s.hasCapture());
    clearLog();
    robot.wait(1000);
    robot.drag(s.clientToScreen(s.thumbRect().center()), s.clientToScreen(Point{500, 20}), 1);
    EXPECT_EQ(s.position(), 100) << "dragging past the end stops at the maximum";
}

TEST_F(SliderTest, PressingTheChannelPagesUntilTheThumbGetsThere) {
    Slider& s = make();
    robot.moveTo(s, {Slider::kChannelMargin + 2 * 50, 15});  // over position 50
    robot.press();
    EXPECT_EQ(s.position(), 20);
    robot.wait(Slider::kRepeatDelay);
    EXPECT_EQ(s.position(), 40);
    robot.wait(Slider::kRepeatInterval);
    EXPECT_EQ(s.position(), 50) << "the last page stops at the press";
    robot.wait(5 * Slider::kRepeatInterval);
    EXPECT_EQ(s.position(), 50);
    robot.release();
    EXPECT_EQ(scrolls(WM_HSCROLL), (std::vector<Scroll>{{TB_PAGEDOWN, 0}, {TB_PAGEDOWN, 0}, {TB_PAGEDOWN, 0},
                                                        {TB_ENDTRACK, 0}}));
}

// The nesting options' slider: 0 to 9 with a tick at each step, read back when the user lets go.
TEST_F(SliderTest, SmallRangeWithATickAtEveryStep) {
    Slider& s = make();
    s.send(TBM_SETRANGE, 1, makeLParam(0, 9));
    s.send(TBM_SETTICFREQ, 1);
    s.send(TBM_SETPOS, 1, 12);
    EXPECT_EQ(s.send(TBM_GETPOS), 9) << "clamped to the range";
    EXPECT_EQ(s.send(TBM_GETNUMTICS), 10);
    EXPECT_EQ(s.ticPositions().front(), 0);
    EXPECT_EQ(s.send(TBM_GETPAGESIZE), 1);
    EXPECT_TRUE(scrolls(WM_HSCROLL).empty()) << "a program's changes send nothing";
    repaint(s);
    EXPECT_EQ(s.displayList().ofKind(DrawOp::Line).size(), 10u);
    const int x = s.coordinateOf(3);
    EXPECT_EQ(s.positionAt(x), 3);
    s.send(TBM_SETPOS, 1, 4);
    robot.drag(s.clientToScreen(s.thumbRect().center()), s.clientToScreen(Point{s.coordinateOf(7), 15}), 1);
    EXPECT_EQ(scrolls(WM_HSCROLL), (std::vector<Scroll>{{TB_THUMBTRACK, 7}, {TB_THUMBPOSITION, 7}, {TB_ENDTRACK, 0}}));
}

TEST_F(SliderTest, VerticalSlidersUseTheVerticalMessage) {
    EXPECT_TRUE(ControlTest::make(slider, kSliderClass, "", TBS_VERT, Rect{10, 10, 40, 227}, kSliderId));
    slider.setFocus();
    robot.key(VK_DOWN);
    EXPECT_EQ(slider.position(), 1);
    EXPECT_EQ(scrolls(WM_VSCROLL), (std::vector<Scroll>{{TB_LINEDOWN, 0}, {TB_ENDTRACK, 0}}));
    EXPECT_TRUE(scrolls(WM_HSCROLL).empty());
    EXPECT_EQ(slider.thumbRect().center().y, Slider::kChannelMargin + 2);
}

}  // namespace
}  // namespace host::ui
