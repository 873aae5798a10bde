// A page shaped like the part page of the nesting job dialog, driven by the robot as a user would: typing through
// rows with Tab, picking combo choices, copying and pasting a block, deleting rows chosen by their heading,
// scrolling a long table, title tips over cut-off names, Esc and read-only cells. The tests check cell texts,
// the notifications the owner gets and the recorded painting; two pictures of the page are written to the build
// folder for a person to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "host/ui/dialog.h"
#include "host/ui/image.h"
#include "nesting/grid/grid_tip_window.h"
#include "nesting/grid/tests/grid_page_fixture.h"

namespace grid_testing {
namespace {

class GridPage : public GridPageTest {
protected:
    Point OnScreen(int row, int column) { return grid.clientToScreen(InCell(row, column)); }

    // What the dialog's Delete does: every data row that holds the focus cell or a selected cell goes, from the
    // last upward (the rows are collected first, as removing a row clears the selection), and the rows are
    // numbered again.
    void DeleteMarkedRows() {
        std::set<int> marked;
        if (grid.FocusCell().row >= grid.FixedRowTotal()) marked.insert(grid.FocusCell().row);
        for (int row = grid.FixedRowTotal(); row < grid.RowTotal(); ++row)
            for (int column = grid.FixedColumnTotal(); column < grid.ColumnTotal(); ++column)
                if (grid.CellInSelection(row, column)) marked.insert(row);
        for (auto it = marked.rbegin(); it != marked.rend(); ++it) grid.RemoveGridRow(*it);
        for (int row = grid.FixedRowTotal(); row < grid.RowTotal(); ++row)
            grid.SetCellText(row, kNumberColumn, std::to_string(row));
        grid.RepaintGrid();
        desktop.pumpUntilIdle();
    }

    std::vector<std::string> Column(int column) const {
        std::vector<std::string> out;
        for (int row = grid.FixedRowTotal(); row < grid.RowTotal(); ++row) out.push_back(grid.GetCellText(row, column));
        return out;
    }

    std::optional<std::string> ClipboardBytes() { return desktop.clipboard().data(CF_TEXT); }

    // The screen around the owner window, popups included (the dropped list, the tip).
    bool SavePicture(const std::string& name) {
        const Image screen = desktop.snapshot();
        Image page(kOwnerRect.width(), kOwnerRect.height());
        page.copyFrom(screen, kOwnerRect, Point{0, 0}, Rect{0, 0, kOwnerRect.width(), kOwnerRect.height()});
        const std::filesystem::path path = std::filesystem::path(KESTRION_BINARY_DIR) / name;
        std::string error;
        const bool written = writePng(page, path, &error);
        EXPECT_TRUE(written) << error;
        return written;
    }
};

TEST_F(GridPage, TypingThroughARowWithTab) {
    BuildPage(3);
    ClickCell(1, kQuantityColumn);
    robot.type("7");
    ASSERT_NE(OpenEditor(), nullptr);
    EXPECT_EQ(EditorText(), "7");
    robot.key(VK_TAB);  // on to the rotation type, its combo open with the text selected
    ASSERT_NE(OpenCombo(), nullptr);
    EXPECT_EQ(EditorText(), "0-360");
    robot.key(VK_DOWN);  // the next choice
    robot.key(VK_TAB);
    ASSERT_NE(OpenCombo(), nullptr);
    EXPECT_EQ(OpenCombo()->Column(), kDeltaColumn);
    robot.type("30");  // typed over the selected "Any"
    robot.key(VK_TAB);
    robot.type("3");
    robot.key(VK_TAB);  // the last column: on to the next row, no editor in the read-only name

    EXPECT_EQ(grid.GetCellText(1, kQuantityColumn), "7");
    EXPECT_EQ(grid.GetCellText(1, kRotationColumn), "Sector");
    EXPECT_EQ(grid.GetCellText(1, kDeltaColumn), "30");
    EXPECT_EQ(grid.GetCellText(1, kPriorityColumn), "3");
    EXPECT_EQ(OpenEditor(), nullptr);
    EXPECT_EQ(grid.FocusCell(), (CellRef{2, kNameColumn}));
    ASSERT_EQ(reports.size(), 4u);
    for (const EditorReport& r : reports) EXPECT_EQ(r.key, VK_TAB) << r.column;

    // Each changed cell was announced before and after its change.
    const std::vector<GridNotice> before = NoticesOf(GridBeginEditCode);
    const std::vector<GridNotice> after = NoticesOf(GridEndEditCode);
    for (int column : {kQuantityColumn, kRotationColumn, kDeltaColumn, kPriorityColumn}) {
        const GridNotice cell{0, 1, column};
        auto same = [&](const GridNotice& n) { return n.row == cell.row && n.column == cell.column; };
        EXPECT_EQ(std::count_if(before.begin(), before.end(), same), 1) << column;
        EXPECT_EQ(std::count_if(after.begin(), after.end(), same), 1) << column;
    }

    // Typing goes on in the next row once the focus is on an editable cell.
    robot.key(VK_RIGHT);
    robot.type("12\n");
    EXPECT_EQ(grid.GetCellText(2, kQuantityColumn), "12");
}

TEST_F(GridPage, KeysThatEndAnEditCarryItToTheNextCell) {
    BuildPage(3);
    ClickCell(1, kQuantityColumn);
    robot.type("5");
    robot.key(VK_DOWN);  // opened by typing: the arrow ends the edit and moves down
    EXPECT_EQ(grid.GetCellText(1, kQuantityColumn), "5");
    EXPECT_EQ(grid.FocusCell(), (CellRef{2, kQuantityColumn}));
    ASSERT_NE(OpenEditor(), nullptr);
    robot.type("6");  // the moved-on edit has its text selected: typing replaces it
    robot.key(VK_TAB, Shift);
    EXPECT_EQ(grid.GetCellText(2, kQuantityColumn), "6");
    EXPECT_EQ(grid.FocusCell(), (CellRef{2, kNameColumn})) << "back to the read-only name, no editor";
    EXPECT_EQ(OpenEditor(), nullptr);

    // From a combo, Ctrl with an arrow moves on; the next row's combo opens.
    OpenByClicks(1, kDeltaColumn);
    ASSERT_NE(OpenCombo(), nullptr);
    robot.key(VK_DOWN);  // "1", staying in the combo
    robot.key(VK_DOWN, Ctrl);
    EXPECT_EQ(grid.GetCellText(1, kDeltaColumn), "1");
    ASSERT_NE(OpenCombo(), nullptr);
    EXPECT_EQ(OpenCombo()->Row(), 2);
    robot.key(VK_TAB, Shift);  // Shift+Tab from a combo: back to the rotation type, its combo open
    EXPECT_EQ(grid.FocusCell(), (CellRef{2, kRotationColumn}));
    ASSERT_NE(OpenCombo(), nullptr);
    robot.key(VK_ESCAPE);
    EXPECT_EQ(OpenEditor(), nullptr);
}

TEST_F(GridPage, PickingAComboChoiceWithTheMouse) {
    BuildPage(3);
    OpenByClicks(1, kRotationColumn);
    CGridComboBox* combo = OpenCombo();
    ASSERT_NE(combo, nullptr);
    ASSERT_TRUE(combo->isDropped());
    const Rect list = combo->droppedRect();
    const int item = combo->itemHeight();
    robot.click(Point{list.left + 10, list.top + 1 + 2 * item + item / 2});  // "Sector"
    EXPECT_FALSE(combo->isDropped());
    EXPECT_EQ(EditorText(), "Sector");
    robot.key(VK_RETURN);
    EXPECT_EQ(OpenEditor(), nullptr);
    EXPECT_EQ(grid.GetCellText(1, kRotationColumn), "Sector");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].key, VK_RETURN);
    EXPECT_EQ(grid.FocusCell(), (CellRef{1, kRotationColumn})) << "Enter does not move on";
}

TEST_F(GridPage, CopyAndPasteABlock) {
    BuildPage(4);
    ClickCell(1, kQuantityColumn);
    ClickCell(1, kRotationColumn, Shift);
    robot.key('C', Ctrl);
    EXPECT_EQ(ClipboardBytes(), std::string("1\t0-360") + '\0');

    ClickCell(3, kQuantityColumn);
    robot.key('V', Ctrl);
    EXPECT_EQ(grid.GetCellText(3, kQuantityColumn), "1");
    EXPECT_EQ(grid.GetCellText(3, kRotationColumn), "0-360");
    EXPECT_EQ(grid.SelectedCellBlock(), (CellBlock{3, kQuantityColumn, 3, kRotationColumn}));

    // A whole row, chosen by its heading (which leaves no focus cell, so the copy comes from the Edit menu): the
    // hidden columns give no field.
    ClickCell(2, kNumberColumn);
    grid.send(WM_COMMAND, makeWParam(ID_EDIT_COPY, 0));
    EXPECT_EQ(ClipboardBytes(), std::string("part2.dxf\t2\t0-360\tAny\t5") + '\0');

    // Text of another program: fields split at commas too.
    desktop.clipboard().setText("8,Sector");
    ClickCell(4, kQuantityColumn);
    robot.key('V', Ctrl);
    EXPECT_EQ(grid.GetCellText(4, kQuantityColumn), "8");
    EXPECT_EQ(grid.GetCellText(4, kRotationColumn), "Sector");

    // Nothing lands on a read-only cell.
    ClickCell(1, kNameColumn);
    robot.key('V', Ctrl);
    EXPECT_EQ(grid.GetCellText(1, kNameColumn), "part1.dxf");
    EXPECT_EQ(grid.GetCellText(1, kQuantityColumn), "1");
}

TEST_F(GridPage, DeletingRowsChosenByTheirHeading) {
    BuildPage(3);
    ClickCell(2, kNumberColumn);
    for (int column = kPathColumn; column < kPageColumns; ++column) EXPECT_TRUE(grid.CellInSelection(2, column));
    DeleteMarkedRows();
    EXPECT_EQ(Column(kNameColumn), (std::vector<std::string>{"part1.dxf", "part3.dxf"}));
    EXPECT_EQ(Column(kNumberColumn), (std::vector<std::string>{"1", "2"}));

    // Two rows at once, the second added with Ctrl: both go.
    AddPart("part4.dxf", "4");
    ClickCell(1, kNumberColumn);
    ClickCell(3, kNumberColumn, Ctrl);
    DeleteMarkedRows();
    EXPECT_EQ(Column(kNameColumn), (std::vector<std::string>{"part3.dxf"}));
    EXPECT_EQ(Column(kNumberColumn), (std::vector<std::string>{"1"}));
}

TEST_F(GridPage, ScrollingAFortyRowTable) {
    BuildPage(40);
    EXPECT_TRUE(grid.isScrollBarVisible(SB_VERT));
    EXPECT_FALSE(grid.isScrollBarVisible(SB_HORZ));

    ClickCell(1, kQuantityColumn);
    grid.clearDisplayList();
    robot.key(VK_END, Ctrl);
    EXPECT_EQ(grid.FocusCell(), (CellRef{40, kPriorityColumn}));
    EXPECT_TRUE(grid.IsCellVisible(40, kPriorityColumn));
    EXPECT_FALSE(grid.displayList().texts("40").empty()) << "the last row number was painted";
    // The last page is full: the last row ends at the bottom of the client area.
    Rect last = CellRect(40, kPriorityColumn);
    EXPECT_GT(last.bottom, grid.clientRect().bottom - 18);
    EXPECT_LT(last.bottom, grid.clientRect().bottom);

    robot.key(VK_HOME, Ctrl);
    EXPECT_EQ(grid.FocusCell(), (CellRef{1, kNameColumn})) << "the first column with a width";
    EXPECT_EQ(grid.TopLeftNonFixedCell().row, 1);

    // Scrolling by the bar and by the wheel never repaints the heading row.
    desktop.clearInvalidations();
    robot.scrollBar(grid, SB_VERT, SB_LINEDOWN);
    robot.scrollBar(grid, SB_VERT, SB_PAGEDOWN);
    robot.moveTo(OnScreen(3, kQuantityColumn));
    robot.wheel(-WHEEL_DELTA);
    int scrolls = 0;
    for (const Invalidation& i : desktop.invalidations()) {
        if (i.window != &grid) continue;
        ++scrolls;
        EXPECT_GE(i.rect.top, grid.FixedRowsHeight());
    }
    EXPECT_GE(scrolls, 3);
    const int top = grid.TopLeftNonFixedCell().row;
    EXPECT_GT(top, 1 + 1 + 3);  // a line, a page, three lines of the wheel
    grid.clearDisplayList();
    grid.RepaintGrid();
    desktop.pumpUntilIdle();
    const auto heading = grid.displayList().texts("Qty");
    ASSERT_FALSE(heading.empty());
    EXPECT_LT(heading.back()->rect.top, grid.FixedRowsHeight()) << "the heading row stays at the top";
    const auto topNumber = grid.displayList().texts(std::to_string(top));
    ASSERT_FALSE(topNumber.empty());
    EXPECT_GE(topNumber.back()->rect.top, grid.FixedRowsHeight());
    EXPECT_LT(topNumber.back()->rect.top, 2 * grid.FixedRowsHeight()) << "right below the headings";
}

TEST_F(GridPage, TitleTipsOverCutOffNames) {
    BuildPage(2);
    const std::string longName = "a_rather_long_part_file_name.dxf";  // 192 pixels in a 90-pixel column
    AddPart(longName, "1");
    grid.RepaintGrid();
    ClickCell(1, kQuantityColumn);  // the page is active

    robot.moveTo(OnScreen(1, kNameColumn));
    EXPECT_FALSE(grid.TipWindow().IsTipShown()) << "part1.dxf fits";

    robot.moveTo(OnScreen(3, kNameColumn));
    CGridTipWindow& tip = grid.TipWindow();
    ASSERT_TRUE(tip.IsTipShown());
    EXPECT_EQ(tip.className(), "ZTitleTip");
    EXPECT_EQ(tip.TipText(), " " + longName + " ");
    const Rect cell = grid.clientToScreen(CellRect(3, kNameColumn));
    EXPECT_EQ(tip.windowRect().left, cell.left);
    EXPECT_EQ(tip.windowRect().top, cell.top);
    EXPECT_EQ(tip.windowRect().width(), 6 * static_cast<int>(longName.size() + 2));

    // A click on the tip acts on the cell beneath it.
    notices.clear();
    robot.click(OnScreen(3, kNameColumn) + Point{4, 0});
    EXPECT_FALSE(tip.IsTipShown());
    EXPECT_EQ(grid.FocusCell(), (CellRef{3, kNameColumn}));
    EXPECT_TRUE(grid.CellInSelection(3, kNameColumn));
    const std::vector<GridNotice> clicks = NoticesOf(GridClickCode);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], (GridNotice{GridClickCode, 3, kNameColumn}));

    // The pointer rests there, the tip comes back, and a second press within the double-click time reaches the
    // grid as a double click.
    robot.moveTo(OnScreen(3, kNameColumn) + Point{5, 0});
    ASSERT_TRUE(tip.IsTipShown());
    robot.click(OnScreen(3, kNameColumn) + Point{5, 0});
    EXPECT_EQ(NoticesOf(GridDoubleClickCode), (std::vector<GridNotice>{{GridDoubleClickCode, 3, kNameColumn}}));

    // Moving off the cell hides the tip; a key pressed while it shows reaches the grid.
    robot.moveTo(OnScreen(2, kQuantityColumn));
    robot.moveTo(OnScreen(3, kNameColumn));
    ASSERT_TRUE(tip.IsTipShown());
    robot.key(VK_UP);
    EXPECT_FALSE(tip.IsTipShown());
    EXPECT_EQ(grid.FocusCell(), (CellRef{2, kNameColumn}));

    // No tip over a cell being edited, nor over an empty one.
    grid.SetCellText(2, kQuantityColumn, "123456789");  // 66 pixels in a 40-pixel column
    robot.moveTo(OnScreen(2, kQuantityColumn));
    ASSERT_TRUE(tip.IsTipShown());
    robot.key(VK_RIGHT);
    robot.key(VK_F2);
    ASSERT_NE(OpenEditor(), nullptr);
    EXPECT_EQ(OpenEditor()->rectInParent(), CellRect(2, kQuantityColumn));
    robot.moveTo(OnScreen(1, kQuantityColumn));
    // The edit box covers the cell but its right edge, where the grid line runs: there the grid sees the pointer.
    const Rect edited = CellRect(2, kQuantityColumn);
    robot.moveTo(grid.clientToScreen(Point{edited.right, edited.top + 5}));
    EXPECT_EQ(desktop.windowFromPoint(grid.clientToScreen(Point{edited.right, edited.top + 5})), &grid);
    EXPECT_FALSE(tip.IsTipShown());
    robot.key(VK_RETURN);
    grid.SetCellText(1, kQuantityColumn, "");
    grid.SetColumnPixelWidth(kQuantityColumn, 5);
    robot.moveTo(OnScreen(1, kNameColumn));
    robot.moveTo(grid.clientToScreen(Point{CellRect(1, kQuantityColumn).left + 2, InCell(1, kQuantityColumn).y}));
    EXPECT_FALSE(tip.IsTipShown()) << "an empty text in a cell narrower than its blanks";
}

TEST_F(GridPage, EscAndReadOnlyCells) {
    BuildPage(3);
    // The name is read-only: typing opens nothing and asks nobody.
    ClickCell(1, kNameColumn);
    notices.clear();
    robot.type("x");
    EXPECT_EQ(OpenEditor(), nullptr);
    EXPECT_TRUE(NoticesOf(GridBeginEditCode).empty());
    EXPECT_EQ(grid.GetCellText(1, kNameColumn), "part1.dxf");

    // Esc puts the quantity back; the owner hears of no change.
    ClickCell(1, kQuantityColumn);
    notices.clear();
    robot.type("9");
    robot.key(VK_ESCAPE);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], (EditorReport{1, kQuantityColumn, "1", 27, CellMaskText | CellMaskData}));
    EXPECT_EQ(grid.GetCellText(1, kQuantityColumn), "1");
    EXPECT_TRUE(NoticesOf(GridEndEditCode).empty());

    // A click elsewhere keeps what was typed and opens nothing in the next cell.
    robot.type("9");
    ClickCell(2, kQuantityColumn);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1].key, 0u);
    EXPECT_EQ(grid.GetCellText(1, kQuantityColumn), "9");
    EXPECT_EQ(OpenEditor(), nullptr);
    EXPECT_EQ(grid.FocusCell(), (CellRef{2, kQuantityColumn}));
}

TEST_F(GridPage, PaintsHeadingsAndDropButtonsButNoHiddenColumn) {
    BuildPage(3);
    grid.clearDisplayList();
    grid.RepaintGrid();
    desktop.pumpUntilIdle();
    for (const char* heading : {"N", "File Name", "Qty", "Rotate", "Step", "Priority"})
        EXPECT_FALSE(grid.displayList().texts(heading).empty()) << heading;
    for (const char* hidden : {"Path", "Id", "/parts/part1.dxf"})
        EXPECT_TRUE(grid.displayList().texts(hidden).empty()) << hidden;
    // Three combo cells in each of the three rows, each with its button.
    EXPECT_EQ(grid.displayList().ofKind(DrawOp::FrameControl).size(), 9u);
}

TEST_F(GridPage, RendersToPictures) {
    desktop.setRasterEnabled(true);
    desktop.setTextMeasurer(TextMeasurer::FreeType);
    BuildPage(20);
    grid.SetCellText(2, kNameColumn, "a_rather_long_part_file_name.dxf");
    grid.SetCellBackColour(3, kNameColumn, rgb(255, 255, 0));
    grid.RepaintGrid();
    ClickCell(2, kQuantityColumn);
    ClickCell(4, kDeltaColumn, Shift);
    robot.moveTo(OnScreen(2, kNameColumn));
    ASSERT_TRUE(grid.TipWindow().IsTipShown());
    EXPECT_TRUE(SavePicture("grid_page_tip.png"));

    robot.moveTo(OnScreen(5, kQuantityColumn));
    OpenByClicks(5, kRotationColumn);
    ASSERT_NE(OpenCombo(), nullptr);
    EXPECT_TRUE(SavePicture("grid_page.png"));
}

// The page inside a dialog, bound to its template's custom control as the job dialog does: the editors keep Tab,
// Enter and Esc from the dialog (which would move to its buttons, press OK or cancel), while the grid without an
// editor leaves Enter and Esc to it.
class PartDialog : public Dialog {
public:
    PartDialog() : Dialog(MakeTemplate()) { bindControl(kGridId, grid); }

    CGridCtrl grid;
    int oks = 0;
    int cancels = 0;

protected:
    void onOK() override { ++oks; }
    void onCancel() override { ++cancels; }

private:
    static DialogTemplate MakeTemplate() {
        DialogTemplate t("Parts", 440, 280, TemplateUnits::Pixels);
        t.control(kGridWindowClass, kGridId, "", TemplateRect{10, 10, 420, 220}, WS_TABSTOP | WS_BORDER);
        t.defaultButton(IDOK, "OK", TemplateRect{250, 240, 80, 24});
        t.button(IDCANCEL, "Cancel", TemplateRect{340, 240, 80, 24});
        return t;
    }
};

TEST(GridPageInDialog, EditorsKeepTabEnterAndEscFromTheDialog) {
    Desktop desktop;
    Robot robot{desktop};
    PartDialog dialog;
    ASSERT_TRUE(dialog.createModeless(nullptr)) << dialog.creationError();
    dialog.show(SW_SHOW);
    CGridCtrl& grid = dialog.grid;
    ASSERT_TRUE(grid.exists());
    FillPartPage(grid, 3);
    desktop.pumpUntilIdle();
    auto click = [&](int row, int column) {
        Rect r{};
        grid.CellRectOf(row, column, r);
        robot.clickAt(grid, Point{r.left + 8, r.top + r.height() / 2});
    };

    click(1, kQuantityColumn);
    robot.type("7");
    robot.key(VK_RETURN);
    EXPECT_EQ(grid.GetCellText(1, kQuantityColumn), "7");
    EXPECT_EQ(desktop.focus(), &grid);

    robot.type("8");
    robot.key(VK_ESCAPE);
    EXPECT_EQ(grid.GetCellText(1, kQuantityColumn), "7");

    robot.type("9");
    robot.key(VK_TAB);  // to the rotation combo, not to the OK button
    ASSERT_NE(desktop.focus(), nullptr);
    EXPECT_TRUE(desktop.focus()->isDescendantOf(grid));
    EXPECT_NE(dynamic_cast<CGridComboBox*>(desktop.focus()->parent()), nullptr);
    robot.key(VK_DOWN);
    robot.key(VK_RETURN);
    robot.key(VK_ESCAPE);  // no editor now: for the dialog
    EXPECT_EQ(grid.GetCellText(1, kQuantityColumn), "9");
    EXPECT_EQ(grid.GetCellText(1, kRotationColumn), "Sector");
    EXPECT_EQ(dialog.oks, 0);
    EXPECT_EQ(dialog.cancels, 1);

    robot.key(VK_RETURN);
    EXPECT_EQ(dialog.oks, 1) << "Enter on the grid itself is the dialog's OK";
}

}  // namespace
}  // namespace grid_testing
