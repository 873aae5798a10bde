// The grid's table: counts, heading rows and columns, inserted and removed rows, cells and their class, the
// selection map and the modified marks.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "nesting/grid/tests/grid_fixture.h"

namespace grid_core_testing {
namespace {

// A cell class of the test's own, to replace cells by class.
class MarkedCell : public CGridCell {
public:
    static const GridCellClass& GetThisClass() {
        static const GridCellClass record{"MarkedCell", &CGridCell::GetThisClass(), &CreateGridCell<MarkedCell>};
        return record;
    }
    const GridCellClass& GetRuntimeClass() const override { return GetThisClass(); }
};

using GridModelTest = GridTest;

TEST_F(GridModelTest, NewGridIsEmptyAndItsTemplatesTakeTheSystemColours) {
    CGridCtrl empty;
    EXPECT_EQ(empty.RowTotal(), 0);
    EXPECT_EQ(empty.ColumnTotal(), 0);
    EXPECT_EQ(empty.FixedRowTotal(), 0);
    EXPECT_EQ(empty.FixedColumnTotal(), 0);
    EXPECT_EQ(empty.FocusCell(), CellRef{});
    EXPECT_EQ(empty.NormalTemplate().QueryBackColour(), desktop.sysColor(COLOR_WINDOW));
    EXPECT_EQ(empty.NormalTemplate().QueryTextColour(), desktop.sysColor(COLOR_WINDOWTEXT));
    for (CGridDefaultCell* t : {&empty.FixedRowTemplate(), &empty.FixedColumnTemplate(), &empty.CornerTemplate()}) {
        EXPECT_EQ(t->QueryBackColour(), desktop.sysColor(COLOR_BTNFACE));
        EXPECT_EQ(t->QueryTextColour(), desktop.sysColor(COLOR_WINDOWTEXT));
    }
    EXPECT_EQ(empty.OutsideColour(), desktop.sysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(empty.GridLineColour(), 0xC0C0C0u);

    // The window class makes an empty grid, as a dialog template's custom control needs.
    Window* made = desktop.createWindow(kGridWindowClass, "", WS_CHILD | WS_VISIBLE, Rect{0, 0, 50, 50}, &owner, 7);
    ASSERT_NE(dynamic_cast<CGridCtrl*>(made), nullptr);
    EXPECT_EQ(static_cast<CGridCtrl*>(made)->RowTotal(), 0);
    EXPECT_NE(desktop.classes().find(kGridWindowClass)->style & CS_DBLCLKS, 0u);
}

TEST_F(GridModelTest, ConstructorCountsMakeHeadingCells) {
    CGridCtrl g(3, 4, 1, 2);
    EXPECT_EQ(g.RowTotal(), 3);
    EXPECT_EQ(g.ColumnTotal(), 4);
    struct Case {
        int row, column;
        unsigned flags;
    } cases[] = {
        {0, 0, CellStateFixed | CellStateFixedRow | CellStateFixedColumn},
        {0, 3, CellStateFixed | CellStateFixedRow},
        {2, 1, CellStateFixed | CellStateFixedColumn},
        {2, 2, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(g.GetCellState(c.row, c.column), c.flags) << c.row << ", " << c.column;
    // Every new row takes the normal template's default height; every new column the fixed-column template's
    // width (metric font: " XXXXXXXXXXXX " is 14 x 6 = 84 pixels, 12-pixel lines make 18-pixel rows).
    EXPECT_EQ(g.RowPixelHeight(1), 18);
    EXPECT_EQ(g.ColumnPixelWidth(2), 84);
    EXPECT_EQ(g.NormalTemplate().QueryMargin(), 6);
    EXPECT_EQ(g.CellAt(1, 2)->QueryFormat(), CGridDefaultCell::kDefaultFormat);
}

TEST_F(GridModelTest, OutsideTheGridEveryOperationRefuses) {
    Build(3);
    EXPECT_EQ(grid.CellAt(4, 3), nullptr);
    EXPECT_EQ(grid.CellAt(-1, 0), nullptr);
    EXPECT_FALSE(grid.SetCellText(1, kColumns, "x"));
    EXPECT_EQ(grid.GetCellText(9, 9), "");
    EXPECT_EQ(grid.GetCellState(9, 9), 0u);
    EXPECT_FALSE(grid.SetCellFormat(-1, 3, 0));
    EXPECT_FALSE(grid.SetCellBackColour(1, -2, 0));
    EXPECT_FALSE(grid.SetCellClass(4, 3, CGridCell::GetThisClass()));
    EXPECT_FALSE(grid.SetColumnPixelWidth(kColumns, 10));
    EXPECT_FALSE(grid.SetColumnPixelWidth(3, -1));
    EXPECT_EQ(grid.RowPixelHeight(4), -1);
    EXPECT_EQ(grid.ColumnPixelWidth(-1), -1);
    EXPECT_FALSE(grid.RemoveGridRow(4));
    // Negative counts are refused and change nothing.
    EXPECT_FALSE(grid.SetRowTotal(-1));
    EXPECT_FALSE(grid.SetColumnTotal(-3));
    EXPECT_FALSE(grid.SetFixedRowTotal(-1));
    EXPECT_FALSE(grid.SetFixedColumnTotal(-2));
    EXPECT_EQ(grid.RowTotal(), 4);
    EXPECT_EQ(grid.ColumnTotal(), kColumns);
    EXPECT_EQ(grid.FixedRowTotal(), 1);
    EXPECT_EQ(grid.FixedColumnTotal(), 1);
    // A position outside the grid never counts as selected.
    EXPECT_FALSE(grid.SetCellState(7, 3, CellStateSelected));
    EXPECT_EQ(grid.SelectedCellCount(), 0);
}

TEST_F(GridModelTest, SetRowTotalWithTheSameCountDoesNothing) {
    Build(3);
    desktop.clearInvalidations();
    grid.MarkCellModified(false);
    EXPECT_TRUE(grid.SetRowTotal(4));
    EXPECT_TRUE(desktop.invalidations().empty());
    EXPECT_FALSE(grid.IsModified());
}

TEST_F(GridModelTest, ShrinkingBelowTheFocusRowClearsTheFocusAndLeavesNoSelectedCellBehind) {
    Build(5);
    grid.MoveFocusToCell(4, 3);
    grid.SelectCellBlock(2, 3, 5, 4, false, true);
    ASSERT_EQ(grid.SelectedCellCount(), 8);
    EXPECT_TRUE(grid.SetRowTotal(3));
    EXPECT_EQ(grid.FocusCell(), CellRef{});
    // Rows 3 to 5 went while selected: only row 2's cells are left in the selection.
    EXPECT_EQ(grid.SelectedCellCount(), 2);
    EXPECT_EQ(grid.SelectedCellBlock(), (CellBlock{2, 3, 2, 4}));
    EXPECT_TRUE(grid.SetColumnTotal(4));
    EXPECT_EQ(grid.SelectedCellCount(), 1);
}

TEST_F(GridModelTest, FixedRowTotalLargerThanTheRowsAddsRowsAndResetsColours) {
    Build(2);
    grid.SetCellBackColour(2, 3, rgb(255, 255, 0));
    grid.SetCellTextColour(2, 3, rgb(255, 0, 0));
    EXPECT_TRUE(grid.SetFixedRowTotal(5));
    EXPECT_EQ(grid.RowTotal(), 5);
    EXPECT_EQ(grid.GetCellState(2, 3), CellStateFixed | CellStateFixedRow | CellStateModified);
    EXPECT_EQ(grid.CellAt(2, 3)->QueryBackColour(), CLR_DEFAULT);
    EXPECT_EQ(grid.CellAt(2, 3)->QueryTextColour(), CLR_DEFAULT);
    EXPECT_EQ(grid.CellAt(4, 0)->QueryState() & (CellStateFixedRow | CellStateFixedColumn),
              CellStateFixedRow | CellStateFixedColumn);

    // Back to one heading row: heading-column cells keep their column flags, the others lose both.
    EXPECT_TRUE(grid.SetFixedRowTotal(1));
    EXPECT_EQ(grid.GetCellState(3, 0) & (CellStateFixed | CellStateFixedRow | CellStateFixedColumn),
              CellStateFixed | CellStateFixedColumn);
    EXPECT_EQ(grid.GetCellState(3, 4) & (CellStateFixed | CellStateFixedRow), 0u);
}

TEST_F(GridModelTest, FixedColumnTotalGrowsTheColumnsFirst) {
    Build(2);
    EXPECT_TRUE(grid.SetFixedColumnTotal(9));
    EXPECT_EQ(grid.ColumnTotal(), 9);
    EXPECT_EQ(grid.GetCellState(1, 8), CellStateFixed | CellStateFixedColumn);
    EXPECT_EQ(grid.GetCellState(0, 8), CellStateFixed | CellStateFixedColumn | CellStateFixedRow);
}

TEST_F(GridModelTest, InsertGridRowRefusesHeadingRowsAndMeasuresItsHeading) {
    struct Case {
        std::optional<std::string> heading;
        int row;
        int expected;       // index answered
        int height;         // of the new row, when inserted
        std::string below;  // text of column 3 in the row after the new one ("" when none)
    } cases[] = {
        {"x", 0, -1, 0, ""},          // the heading row
        {"x", 4, -1, 0, ""},          // no such row
        {"x", -1, 4, 24, ""},         // appended; "x" measures 12 + two 6-pixel margins
        {std::nullopt, 1, 1, 18, "1.3"},  // no heading: the heading row template's default height
        {"", 3, 3, 18, "3.3"},
    };
    for (const Case& c : cases) {
        Build(3);
        grid.MoveFocusToCell(2, 3);
        grid.SelectCellBlock(1, 3, 2, 4, false, true);
        const std::optional<std::string_view> heading =
            c.heading ? std::optional<std::string_view>(*c.heading) : std::nullopt;
        const int index = grid.InsertGridRow(heading, c.row);
        EXPECT_EQ(index, c.expected) << c.row;
        if (index < 0) {
            EXPECT_EQ(grid.RowTotal(), 4);
            continue;
        }
        EXPECT_EQ(grid.RowTotal(), 5);
        EXPECT_EQ(grid.RowPixelHeight(index), c.height) << c.row;
        EXPECT_EQ(grid.GetCellText(index, 0), c.heading.value_or(""));
        EXPECT_EQ(grid.GetCellText(index, 3), "");
        EXPECT_EQ(grid.GetCellText(index + 1, 3), c.below);
        EXPECT_EQ(grid.SelectedCellCount(), 0);
        EXPECT_EQ(grid.FocusCell(), CellRef{});
        EXPECT_TRUE(grid.GetCellState(index, 0) & CellStateModified);
        EXPECT_TRUE(grid.GetCellState(index, 0) & CellStateFixedColumn);
    }
}

TEST_F(GridModelTest, InsertGridRowIntoAGridWithoutColumnsMakesOne) {
    CGridCtrl bare;
    EXPECT_EQ(bare.InsertGridRow("first"), 0);
    EXPECT_EQ(bare.ColumnTotal(), 1);
    EXPECT_EQ(bare.GetCellText(0, 0), "first");
}

TEST_F(GridModelTest, RemoveGridRowShiftsTheRowsUpAndClearsSelectionAndFocus) {
    Build(3);
    grid.MoveFocusToCell(2, 4);
    grid.SelectCellBlock(2, 3, 3, 4, false, true);
    EXPECT_TRUE(grid.RemoveGridRow(2));
    EXPECT_EQ(grid.RowTotal(), 3);
    EXPECT_EQ(grid.GetCellText(2, 3), "3.3");
    EXPECT_EQ(grid.SelectedCellCount(), 0);
    EXPECT_EQ(grid.FocusCell(), CellRef{});
    for (int r = 0; r < grid.RowTotal(); ++r)
        for (int c = 0; c < kColumns; ++c) EXPECT_FALSE(grid.GetCellState(r, c) & CellStateSelected);

    EXPECT_TRUE(grid.RemoveGridRow(0));  // the heading row
    EXPECT_EQ(grid.FixedRowTotal(), 0);
    EXPECT_TRUE(grid.ClearGrid());
    EXPECT_EQ(grid.RowTotal(), 0);
    EXPECT_EQ(grid.ColumnTotal(), 0);
    EXPECT_EQ(grid.FixedColumnTotal(), 0);
}

TEST_F(GridModelTest, SetCellClassKeepsEveryAttributeOfTheOldCell) {
    Build(2);
    grid.SetCellText(1, 4, "keep");
    grid.SetCellFormat(1, 4, DT_RIGHT | DT_SINGLELINE);
    grid.SetCellBackColour(1, 4, rgb(1, 2, 3));
    grid.SetCellState(1, 4, CellStateReadOnly | CellStateSelected);
    grid.CellAt(1, 4)->PutData(42);

    EXPECT_TRUE(grid.SetCellClass(1, 4, MarkedCell::GetThisClass()));
    const CGridCellBase* cell = grid.CellAt(1, 4);
    ASSERT_NE(dynamic_cast<const MarkedCell*>(cell), nullptr);
    EXPECT_EQ(cell->QueryText(), "keep");
    EXPECT_EQ(cell->QueryFormat(), DT_RIGHT | DT_SINGLELINE);
    EXPECT_EQ(cell->QueryBackColour(), rgb(1, 2, 3));
    EXPECT_EQ(cell->QueryData(), 42u);
    EXPECT_EQ(cell->QueryState() & (CellStateReadOnly | CellStateSelected), CellStateReadOnly | CellStateSelected);
    EXPECT_EQ(cell->QueryGrid(), &grid);
    EXPECT_TRUE(grid.CellInSelection(1, 4));

    // The abstract cell is no class a cell can be made of.
    EXPECT_FALSE(grid.SetCellClass(1, 4, CGridCellBase::GetThisClass()));
}

TEST_F(GridModelTest, SelectingABlockReplacesTheSelectionAndDeselectingTakesOnlyTheBlock) {
    Build(4);
    // The second call takes the first selection apart while it makes its own: the walk over the selected cells
    // must survive cells leaving the selection under it.
    grid.SelectCellBlock(1, 3, 2, 4, false, true);
    grid.SelectCellBlock(3, 5, 4, 6, false, true);
    EXPECT_EQ(Selected(), (std::vector<CellRef>{{3, 5}, {3, 6}, {4, 5}, {4, 6}}));
    EXPECT_EQ(grid.SelectedCellBlock(), (CellBlock{3, 5, 4, 6}));

    grid.SelectCellBlock(3, 6, 4, 6, false, false);
    EXPECT_EQ(Selected(), (std::vector<CellRef>{{3, 5}, {4, 5}}));

    // Heading positions clamp to the first non-fixed row and column.
    grid.SelectCellBlock(0, 0, 1, 3, false, true);
    EXPECT_EQ(Selected(), (std::vector<CellRef>{{1, 1}, {1, 2}, {1, 3}}));

    grid.SelectCellBlock(-1, -1, -1, -1, false, true);
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(grid.SelectedCellCount(), 0);
    EXPECT_EQ(grid.SelectedCellBlock().maxRow, -1);
}

TEST_F(GridModelTest, ModifiedMarks) {
    Build(2);
    EXPECT_TRUE(grid.IsModified());
    EXPECT_TRUE(grid.GetCellState(1, 3) & CellStateModified);

    grid.MarkCellModified(false, 1, 3);  // one cell: the grid keeps its mark
    EXPECT_FALSE(grid.GetCellState(1, 3) & CellStateModified);
    EXPECT_TRUE(grid.IsModified());
    EXPECT_TRUE(grid.GetCellState(1, 4) & CellStateModified);

    grid.MarkCellModified(false, -1, -1);  // the grid: every cell's mark goes with it
    EXPECT_FALSE(grid.IsModified());
    for (int r = 0; r < grid.RowTotal(); ++r)
        for (int c = 0; c < kColumns; ++c) EXPECT_FALSE(grid.GetCellState(r, c) & CellStateModified);

    grid.SetCellText(2, 5, "changed");
    EXPECT_TRUE(grid.IsModified());
    EXPECT_TRUE(grid.GetCellState(2, 5) & CellStateModified);
}

TEST_F(GridModelTest, MoveFocusClampsOutOfTheHeadingsAndAnswersThePreviousFocus) {
    Build(3);
    EXPECT_EQ(grid.MoveFocusToCell(2, 4), CellRef{});
    EXPECT_TRUE(grid.GetCellState(2, 4) & CellStateFocused);
    EXPECT_EQ(grid.MoveFocusToCell(0, 0), (CellRef{2, 4}));
    EXPECT_EQ(grid.FocusCell(), (CellRef{1, 1}));
    EXPECT_FALSE(grid.GetCellState(2, 4) & CellStateFocused);
    grid.ClearSelection();
    EXPECT_EQ(grid.FocusCell(), CellRef{});
    EXPECT_FALSE(grid.GetCellState(1, 1) & CellStateFocused);
}

TEST_F(GridModelTest, NotificationsCarryTheGridAndTheCell) {
    Build(1);
    owner.answers[GridBeginEditCode] = -1;
    EXPECT_EQ(grid.NotifyOwner(1, 3, GridBeginEditCode), -1);
    EXPECT_EQ(owner.notes, (std::vector<Note>{{GridBeginEditCode, 1, 3}}));
    CGridCtrl windowless;
    EXPECT_EQ(windowless.NotifyOwner(0, 0, GridClickCode), 0);
}

}  // namespace
}  // namespace grid_core_testing

namespace grid_core_testing {
namespace {

TEST_F(GridModelTest, RowsSixtyFiveThousandFiveHundredThirtySixApartAreDifferentCells) {
    CGridCtrl tall(65537 + 1, 2, 0, 0);
    tall.SetCellState(1, 1, CellStateSelected);
    tall.SetCellState(65537, 1, CellStateSelected);
    EXPECT_EQ(tall.SelectedCellCount(), 2);
    tall.SetCellState(1, 1, 0);
    EXPECT_EQ(tall.SelectedCellCount(), 1);
    EXPECT_EQ(tall.SelectedCellBlock(), (CellBlock{65537, 1, 65537, 1}));
}

}  // namespace
}  // namespace grid_core_testing
