// Standard scroll bars: the position clamp, showing and hiding with the range, the client area and WM_SIZE,
// disabling instead of hiding, the robot's scroll codes and clicks on the bar.
#include <gtest/gtest.h>

#include "host/ui/desktop.h"
#include "host/ui/robot.h"
#include "host/ui/tests/ui_test_window.h"

namespace host::ui {
namespace {

using testing::LoggingWindow;

struct ScrollFixture : ::testing::Test {
    Desktop desktop;
    Robot robot{desktop};
    LoggingWindow w;
    void SetUp() override { ASSERT_TRUE(testing::createPopup(w, Rect{0, 0, 300, 150})); }

    int set(int min, int max, unsigned page, int pos, unsigned extra = 0) {
        ScrollInfo i;
        i.mask = SIF_RANGE | SIF_PAGE | SIF_POS | extra;
        i.min = min;
        i.max = max;
        i.page = page;
        i.pos = pos;
        return w.setScrollInfo(SB_VERT, i);
    }
};

// The position stays in [min, max - max(page - 1, 0)] so the last page is always full.
TEST_F(ScrollFixture, PositionIsClampedToKeepTheLastPageFull) {
    struct Case {
        int min, max;
        unsigned page;
        int pos, expected;
    };
    const Case cases[] = {
        {0, 99, 10, 95, 90},   {0, 99, 10, 90, 90}, {0, 99, 10, -5, 0}, {0, 99, 0, 99, 99},
        {0, 99, 1, 99, 99},    {0, 99, 200, 50, 0}, {10, 20, 5, 0, 10}, {0, 0, 0, 7, 0},
        {0, 999, 150, 999, 850},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(set(c.min, c.max, c.page, c.pos), c.expected) << c.min << ".." << c.max << " page " << c.page;
        EXPECT_EQ(w.scrollPos(SB_VERT), c.expected);
    }
    // A page larger than the range is cut to the range.
    set(0, 9, 50, 0);
    ScrollInfo got;
    w.getScrollInfo(SB_VERT, got);
    EXPECT_EQ(got.page, 10u);
    // SB_BOTTOM-style requests past the end land on the last full page.
    set(0, 99, 10, 0);
    EXPECT_EQ(w.setScrollPos(SB_VERT, 99), 0);
    EXPECT_EQ(w.scrollPos(SB_VERT), 90);
}

TEST_F(ScrollFixture, BarShowsAndHidesWithItsRangeAndTheClientFollows) {
    ASSERT_FALSE(w.isScrollBarVisible(SB_VERT));
    w.log.clear();
    set(0, 499, 150, 0);  // content taller than the page
    EXPECT_TRUE(w.isScrollBarVisible(SB_VERT));
    EXPECT_EQ(w.clientRect(), (Rect{0, 0, 300 - 17, 150}));
    ASSERT_NE(w.last(WM_SIZE), nullptr);
    EXPECT_EQ(w.last(WM_SIZE)->l, makeLParam(283, 150));
    w.log.clear();
    set(0, 499, 150, 10);  // no change of the bar: no WM_SIZE
    EXPECT_EQ(w.count(WM_SIZE), 0);
    set(0, 99, 150, 0);  // everything fits: the bar goes
    EXPECT_FALSE(w.isScrollBarVisible(SB_VERT));
    EXPECT_EQ(w.clientRect().width(), 300);
    EXPECT_EQ(w.count(WM_SIZE), 1);
}

TEST_F(ScrollFixture, DisableNoScrollKeepsTheBarDisabled) {
    set(0, 499, 150, 0);
    set(0, 99, 150, 0, SIF_DISABLENOSCROLL);
    EXPECT_TRUE(w.isScrollBarVisible(SB_VERT));
    EXPECT_EQ(w.scrollBarDisabledArrows(SB_VERT), ESB_DISABLE_BOTH);
    set(0, 499, 150, 0, SIF_DISABLENOSCROLL);
    EXPECT_EQ(w.scrollBarDisabledArrows(SB_VERT), ESB_ENABLE_BOTH);
}

TEST_F(ScrollFixture, ShowAndEnableByHandAndNoWindowIsANoOp) {
    w.showScrollBar(SB_BOTH, true);
    EXPECT_EQ(w.clientRect(), (Rect{0, 0, 283, 133}));
    EXPECT_TRUE(w.enableScrollBar(SB_VERT, ESB_DISABLE_BOTH));
    EXPECT_FALSE(w.enableScrollBar(SB_VERT, ESB_DISABLE_BOTH));
    w.enableScrollBarCtrl(SB_HORZ, false);
    EXPECT_FALSE(w.isScrollBarVisible(SB_HORZ));
    // A grid set up before its window exists calls these first; they must do nothing.
    LoggingWindow notYet;
    notYet.setScrollRange(SB_VERT, 0, 100);
    notYet.showScrollBar(SB_VERT, true);
    notYet.enableScrollBar(SB_VERT);
    EXPECT_EQ(notYet.scrollPos(SB_VERT), 0);
    EXPECT_FALSE(notYet.isScrollBarVisible(SB_VERT));
}

TEST_F(ScrollFixture, RobotSendsScrollCodesAndTrackPositions) {
    set(0, 499, 150, 0);
    w.log.clear();
    robot.scrollBar(w, SB_VERT, SB_PAGEDOWN);
    ASSERT_EQ(w.count(WM_VSCROLL), 2);
    EXPECT_EQ(loWord(w.log[0].w), SB_PAGEDOWN);
    EXPECT_EQ(loWord(w.last(WM_VSCROLL)->w), SB_ENDSCROLL);
    w.log.clear();
    int trackSeen = -1;
    w.onMessage = [&](Message& m, std::intptr_t&) {
        if (m.id == WM_VSCROLL && loWord(m.w) == SB_THUMBTRACK) {
            ScrollInfo i;
            i.mask = SIF_TRACKPOS;
            w.getScrollInfo(SB_VERT, i);
            trackSeen = i.trackPos;
        }
        return false;
    };
    robot.dragThumb(w, SB_VERT, 300);
    EXPECT_EQ(trackSeen, 300);
    std::vector<int> codes;
    for (const auto& e : w.log)
        if (e.id == WM_VSCROLL) codes.push_back(loWord(e.w));
    EXPECT_EQ(codes, (std::vector<int>{SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}));
    EXPECT_EQ(hiWord(w.log[0].w), 300);
}

TEST_F(ScrollFixture, ClicksOnTheBarsPartsScroll) {
    set(0, 499, 150, 200);
    w.log.clear();
    const Rect bar = Rect{283, 0, 300, 150};  // the vertical bar in screen coordinates (the window is at 0,0)
    robot.click(Point{bar.left + 5, bar.top + 5});  // the up arrow
    robot.click(Point{bar.left + 5, bar.bottom - 5});  // the down arrow
    robot.click(Point{bar.left + 5, 20});  // the track above the thumb
    std::vector<int> codes;
    for (const auto& e : w.log)
        if (e.id == WM_VSCROLL) codes.push_back(loWord(e.w));
    EXPECT_EQ(codes, (std::vector<int>{SB_LINEUP, SB_ENDSCROLL, SB_LINEDOWN, SB_ENDSCROLL, SB_PAGEUP, SB_ENDSCROLL}));
    w.enableScrollBar(SB_VERT, ESB_DISABLE_BOTH);
    robot.click(Point{bar.left + 5, bar.top + 5});
    EXPECT_EQ(w.count(WM_VSCROLL), 6);
}

}  // namespace
}  // namespace host::ui
