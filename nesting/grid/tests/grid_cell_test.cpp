// The cells: run-time classes, attributes that follow the matching template until set, the template cells,
// copying, and measuring text.
#include <gtest/gtest.h>

#include "nesting/grid/tests/grid_fixture.h"

namespace grid_core_testing {
namespace {

using GridCellTest = GridTest;

TEST(GridCellClassTest, ClassesKnowTheirBasesAndOnlyConcreteOnesCanBeMade) {
    EXPECT_TRUE(CGridDefaultCell::GetThisClass().IsDerivedFrom(CGridCellBase::GetThisClass()));
    EXPECT_TRUE(CGridCell::GetThisClass().IsDerivedFrom(CGridCell::GetThisClass()));
    EXPECT_FALSE(CGridCell::GetThisClass().IsDerivedFrom(CGridDefaultCell::GetThisClass()));
    EXPECT_EQ(CGridCellBase::GetThisClass().CreateObject(), nullptr);
    const auto made = CGridCell::GetThisClass().CreateObject();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(&made->GetRuntimeClass(), &CGridCell::GetThisClass());
}

TEST_F(GridCellTest, UnsetAttributesFollowTheTemplateAndPuttingUnsetBackFollowsItAgain) {
    Build(1);
    CGridCellBase* cell = grid.CellAt(1, 4);
    CGridDefaultCell& normal = grid.NormalTemplate();

    cell->PutFormat(0xFFFFFFFFu);
    EXPECT_EQ(cell->QueryFormat(), normal.QueryFormat());
    cell->PutFormat(DT_CENTER);
    EXPECT_EQ(cell->QueryFormat(), DT_CENTER);
    cell->PutFormat(0xFFFFFFFFu);
    EXPECT_EQ(cell->QueryFormat(), CGridDefaultCell::kDefaultFormat);

    EXPECT_EQ(cell->QueryMargin(), 6);
    cell->PutMargin(2);
    EXPECT_EQ(cell->QueryMargin(), 2);
    cell->PutMargin(-1);
    EXPECT_EQ(cell->QueryMargin(), 6);

    EXPECT_TRUE(cell->HasDefaultFont());
    EXPECT_EQ(cell->QueryFont(), normal.QueryFont());
    LogFont bold;
    bold.weight = FW_BOLD;
    cell->PutFont(&bold);
    EXPECT_FALSE(cell->HasDefaultFont());
    EXPECT_EQ(cell->QueryFont()->weight, FW_BOLD);
    EXPECT_EQ(cell->QueryFontObject().logFont().weight, FW_BOLD);
    cell->PutFont(nullptr);
    EXPECT_EQ(cell->QueryFont(), normal.QueryFont());
    EXPECT_EQ(cell->QueryFontObject(), normal.QueryFontObject());

    // A cell without colours of its own draws in its template's.
    grid.SetCellBackColour(1, 4, rgb(9, 9, 9));
    grid.SetCellBackColour(1, 4, CLR_DEFAULT);
    grid.clearDisplayList();
    grid.PaintCellNow(1, 4);
    EXPECT_EQ(grid.displayList().ofKind(DrawOp::FillRect).front()->color, normal.QueryBackColour());
}

TEST_F(GridCellTest, EachCellAsksTheTemplateOfItsPlace) {
    Build(1);
    EXPECT_EQ(grid.CellAt(0, 0)->QueryDefaults(), &grid.CornerTemplate());
    EXPECT_EQ(grid.CellAt(0, 3)->QueryDefaults(), &grid.FixedRowTemplate());
    EXPECT_EQ(grid.CellAt(1, 0)->QueryDefaults(), &grid.FixedColumnTemplate());
    EXPECT_EQ(grid.CellAt(1, 3)->QueryDefaults(), &grid.NormalTemplate());
    CGridCell loose;
    EXPECT_EQ(loose.QueryDefaults(), nullptr);
    EXPECT_EQ(loose.QueryFormat(), 0u);

    // A template reads as read-only whatever is put, and keeps no data or state.
    grid.CornerTemplate().PutState(CellStateSelected);
    grid.CornerTemplate().PutData(5);
    EXPECT_EQ(grid.CornerTemplate().QueryState(), CellStateReadOnly);
    EXPECT_EQ(grid.CornerTemplate().QueryData(), 0u);
}

TEST_F(GridCellTest, ACopyHoldsTheResolvedFormatAndMarginAsItsOwn) {
    Build(1);
    CGridCellBase* source = grid.CellAt(1, 4);
    source->PutFormat(0xFFFFFFFFu);
    source->PutText("copy me");
    CGridCell copy;
    copy.CopyFrom(*source);
    EXPECT_EQ(copy.QueryGrid(), &grid);
    EXPECT_EQ(copy.QueryText(), "copy me");
    copy.PutGrid(nullptr);  // without a template only its own values are left
    EXPECT_EQ(copy.QueryFormat(), CGridDefaultCell::kDefaultFormat);
    EXPECT_EQ(copy.QueryMargin(), 6);
    EXPECT_TRUE(copy.HasDefaultFont());
}

TEST_F(GridCellTest, MeasuringText) {
    Build(1);
    CGridCellBase* cell = grid.CellAt(1, 4);
    // No text: the template's default size, without margins.
    EXPECT_EQ(cell->MeasureText(std::nullopt, nullptr), (Size{84, 18}));
    // "abc" is 18 x 12 in the metric font, plus a 6-pixel margin on each side.
    EXPECT_EQ(cell->MeasureText("abc", nullptr), (Size{30, 24}));
    ClientDC dc(grid);
    EXPECT_EQ(cell->MeasureText("abc", &dc), (Size{30, 24}));

    cell->PutFormat(DT_WORDBREAK);
    const Size lines = cell->MeasureText("ab\nabcd", nullptr);
    EXPECT_EQ(lines.width, 24 + 12);   // the widest line
    EXPECT_EQ(lines.height, 24 + 12);  // two lines

    cell->PutFormat(CGridDefaultCell::kDefaultFormat);
    LogFont turned;
    turned.escapement = 900;
    cell->PutFont(&turned);
    // Turned text: as wide as a line is high, as high as the text is long, with room along the text.
    EXPECT_EQ(cell->MeasureText("abcd", nullptr), (Size{12 + 12, 24 + 12 + 24}));

    cell->PutFont(nullptr);
    cell->PutText("abc");
    EXPECT_EQ(cell->MeasureCell(nullptr), (Size{31, 25}));
    grid.CellAt(0, 4)->PutText("abc");
    EXPECT_EQ(grid.CellAt(0, 4)->MeasureCell(nullptr), (Size{32, 26}));
}

TEST_F(GridCellTest, RemovingARowWhoseCellIsBeingEditedEndsTheEditFirst) {
    Build(3);
    Click(2, 4);
    robot.type("q");
    ASSERT_NE(grid.child(GridEditorControlId), nullptr);
    EXPECT_TRUE(grid.RemoveGridRow(2));
    desktop.pumpUntilIdle();
    EXPECT_EQ(grid.child(GridEditorControlId), nullptr);
    EXPECT_EQ(grid.GetCellText(2, 4), "3.4");
}

}  // namespace
}  // namespace grid_core_testing
