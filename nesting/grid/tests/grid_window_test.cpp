// The grid as a window among others: bound to a dialog's control after it was filled, registered as a drop
// target that refuses everything, and showing the title tip over cut-off texts.
#include <gtest/gtest.h>

#include "nesting/grid/tests/grid_fixture.h"

namespace grid_core_testing {
namespace {

using GridWindowTest = GridTest;

TEST_F(GridWindowTest, AGridFilledBeforeItsWindowGetsItsScrollRangeWhenBound) {
    // A dialog fills its grid member first and binds it to the template's custom control afterwards.
    CGridCtrl member;
    member.SetColumnTotal(3);
    member.SetRowTotal(30);
    member.SetFixedRowTotal(1);
    EXPECT_EQ(member.VerticalScrollMaximum(), 0);

    Window* control = desktop.createWindow(kGridWindowClass, "", WS_CHILD | WS_VISIBLE, Rect{10, 170, 210, 290},
                                           &owner, 3000);
    ASSERT_NE(control, nullptr);
    ASSERT_TRUE(member.adopt(*control));
    EXPECT_TRUE(member.exStyle() & WS_EX_CLIENTEDGE);
    EXPECT_EQ(member.rectInParent(), (Rect{10, 170, 210, 290}));
    EXPECT_GT(member.VerticalScrollMaximum(), 0);
    EXPECT_TRUE(member.isScrollBarVisible(SB_VERT));
    robot.scrollBar(member, SB_VERT, SB_LINEDOWN);
    EXPECT_EQ(member.scrollPos(SB_VERT), 18);
    EXPECT_TRUE(member.DropSite().IsRegistered());
}

TEST_F(GridWindowTest, DragsOverTheGridAreRefused) {
    Build(2);
    const Point over = grid.clientToScreen(Centre(1, 4));
    EXPECT_EQ(robot.dragEnter(over, DataObject::withText("dropped")), DROPEFFECT_NONE);
    EXPECT_EQ(robot.dragOver(over), DROPEFFECT_NONE);
    EXPECT_EQ(robot.drop(over), DROPEFFECT_NONE);
    EXPECT_EQ(grid.GetCellText(1, 4), "1.4");
    EXPECT_FALSE(grid.GetCellState(1, 4) & CellStateDropTarget);
}

TEST_F(GridWindowTest, TheTitleTipShowsCutOffTextsOnly) {
    Build(3);
    grid.SetCellText(2, 3, "a file name far too long for its column");
    Click(1, 4);  // the grid has the keyboard focus
    robot.moveTo(grid, Centre(1, 3));
    EXPECT_FALSE(grid.TipWindow().IsTipShown());
    robot.moveTo(grid, Centre(2, 3));
    ASSERT_TRUE(grid.TipWindow().IsTipShown());
    EXPECT_EQ(grid.TipWindow().TipText(), " a file name far too long for its column ");

    // Scrolling hides it.
    grid.send(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_FALSE(grid.TipWindow().IsTipShown());
}

}  // namespace
}  // namespace grid_core_testing
