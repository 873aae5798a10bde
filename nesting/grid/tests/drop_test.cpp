// The grid's drop target: registered once the grid has a size, it hands drags to the grid, which refuses them
// all; other windows get no effect.
#include <gtest/gtest.h>

#include "nesting/grid/grid_drop_site.h"
#include "nesting/grid/tests/grid_page_fixture.h"

namespace grid_testing {
namespace {

class DropTest : public GridPageTest {
protected:
    DropTest() { BuildPage(3); }
    Point OnScreen(int row, int column) { return grid.clientToScreen(InCell(row, column)); }
};

TEST_F(DropTest, TextDraggedOverTheGridIsRefusedEverywhere) {
    ASSERT_TRUE(grid.DropSite().IsRegistered());
    const DataObject text = DataObject::withText("dropped");
    EXPECT_EQ(robot.dragEnter(OnScreen(1, kQuantityColumn), text), DROPEFFECT_NONE);
    EXPECT_EQ(robot.dragOver(OnScreen(2, kQuantityColumn)), DROPEFFECT_NONE);
    EXPECT_EQ(robot.dragOver(OnScreen(2, kQuantityColumn), MK_CONTROL), DROPEFFECT_NONE);
    EXPECT_EQ(robot.drop(OnScreen(2, kQuantityColumn)), DROPEFFECT_NONE);
    for (int row = 0; row < grid.RowTotal(); ++row)
        for (int column = 0; column < grid.ColumnTotal(); ++column) {
            EXPECT_EQ(grid.GetCellState(row, column) & CellStateDropTarget, 0u) << row << ", " << column;
            EXPECT_NE(grid.GetCellText(row, column), "dropped");
        }
    EXPECT_EQ(grid.MouseModeNow(), CGridCtrl::MouseNothing);
}

TEST_F(DropTest, RegistersOnlyAGridAndOnlyOnce) {
    CGridDropSite other;
    EXPECT_FALSE(other.RegisterWithGrid(&owner)) << "not a grid";
    EXPECT_FALSE(other.RegisterWithGrid(nullptr));
    EXPECT_FALSE(grid.DropSite().RegisterWithGrid(&grid)) << "registered already";

    CGridCtrl unsized;  // no window yet
    EXPECT_FALSE(other.RegisterWithGrid(&unsized));
    EXPECT_FALSE(other.IsRegistered());

    grid.DropSite().Revoke();
    EXPECT_FALSE(grid.DropSite().IsRegistered());
    EXPECT_EQ(desktop.dropTargetFor(&grid), nullptr);
    EXPECT_TRUE(grid.DropSite().RegisterWithGrid(&grid));
    EXPECT_EQ(desktop.dropTargetFor(&grid), &grid.DropSite());
}

TEST_F(DropTest, OtherWindowsGetNoEffect) {
    CGridDropSite& site = grid.DropSite();
    const DataObject text = DataObject::withText("x");
    const Point somewhere = owner.clientToScreen(Point{5, 300});
    EXPECT_EQ(site.dragEnter(owner, text, 0, somewhere), DROPEFFECT_NONE);
    EXPECT_EQ(site.dragOver(owner, text, 0, somewhere), DROPEFFECT_NONE);
    EXPECT_EQ(site.drop(owner, text, DROPEFFECT_COPY, somewhere), DROPEFFECT_NONE);
    site.dragLeave(owner);
}

TEST_F(DropTest, ScrollingEffectIsCopyWithCtrlElseMoveAndNeverScroll) {
    struct Case {
        bool overGrid;
        unsigned keys;
        std::uint32_t effect;
    };
    const Case cases[] = {
        {true, MK_CONTROL, DROPEFFECT_COPY},
        {true, MK_CONTROL | MK_LBUTTON, DROPEFFECT_COPY},
        {true, 0, DROPEFFECT_MOVE},
        {true, MK_SHIFT, DROPEFFECT_MOVE},
        {false, MK_CONTROL, DROPEFFECT_NONE},
    };
    for (const Case& c : cases) {
        Window& over = c.overGrid ? static_cast<Window&>(grid) : static_cast<Window&>(owner);
        EXPECT_EQ(grid.DropSite().OnDragScroll(over, c.keys, OnScreen(1, 4)), c.effect) << c.keys;
    }
}

}  // namespace
}  // namespace grid_testing
