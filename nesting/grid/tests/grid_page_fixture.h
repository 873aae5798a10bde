// The fixture of the editor, drop and page tests: a desktop, an owner window that logs what the grid tells it, a
// grid laid out like the part page of the nesting job dialog, a robot, and the reports of the in-place editors.
//
// The page: a heading row and a row-number column; two hidden columns (width 0, read-only, as the dialogs keep
// a path and an id there); a read-only file name; the quantity as plain text; the rotation type, the angle step
// and the priority as combo cells with their value lists. Text is measured with the metric font (6 pixels a
// character, 12-pixel lines, a 6-pixel margin round cell texts), so the rows of parts are 24 pixels tall and
// positions can be worked out by hand.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/ui/desktop.h"
#include "host/ui/robot.h"
#include "host/ui/tests/control_fixture.h"
#include "nesting/grid/grid_cell_combo.h"
#include "nesting/grid/grid_combo_box.h"
#include "nesting/grid/grid_ctrl.h"

namespace grid_testing {

using namespace host::ui;

// Columns of the page.
enum PageColumn {
    kNumberColumn = 0,
    kPathColumn = 1,    // hidden
    kIdColumn = 2,      // hidden
    kNameColumn = 3,    // read-only
    kQuantityColumn = 4,
    kRotationColumn = 5,  // combo
    kDeltaColumn = 6,     // combo
    kPriorityColumn = 7,  // combo
    kPageColumns = 8,
};

inline const std::vector<std::string> kRotationTypes = {"No Rotate", "0-360", "Sector", "Sector+180"};
inline const std::vector<std::string> kDeltaAngles = {"Any", "1",  "2",   "5",  "10", "15",
                                                      "30",  "45", "60", "90", "180", "Inscribe"};
inline const std::vector<std::string> kPriorities = {"1", "2", "3", "4", "5", "6", "7", "8", "9"};

inline constexpr int kColumnWidths[kPageColumns] = {30, 0, 0, 90, 40, 80, 60, 70};
inline const char* const kHeadings[kPageColumns] = {"N", "Path", "Id", "File Name", "Qty", "Rotate", "Step",
                                                    "Priority"};

// The owner sits at screen (100, 100) without a frame; the grid at (10, 10) of it, with a client edge.
inline constexpr Rect kOwnerRect{100, 100, 560, 420};
inline constexpr Rect kGridRect{10, 10, 420, 230};
inline constexpr int kGridId = 1000;

// What one in-place editor reported to the grid when its edit ended.
// One notification the grid sent its owner.
struct GridNotice {
    int code = 0;
    int row = -1;
    int column = -1;
    friend bool operator==(const GridNotice&, const GridNotice&) = default;
};

struct EditorReport {
    int row = -1;
    int column = -1;
    std::string text;
    std::uint64_t key = 0;
    unsigned mask = 0;
    friend bool operator==(const EditorReport&, const EditorReport&) = default;
};

// Turns `column` of `row` into a combo cell with `choices` and `text`.
inline void MakeComboCell(CGridCtrl& grid, int row, int column, const std::vector<std::string>& choices,
                          const std::string& text) {
    grid.SetCellClass(row, column, CGridCellCombo::GetThisClass());
    if (auto* combo = dynamic_cast<CGridCellCombo*>(grid.CellAt(row, column))) combo->SetChoiceList(choices);
    grid.SetCellText(row, column, text);
}

// Appends a part: its number, path, id, name and quantity, "0-360", "Any" and priority "5"; answers its row.
inline int AddPartRow(CGridCtrl& grid, const std::string& name, const std::string& quantity) {
    const int row = grid.InsertGridRow(std::to_string(grid.RowTotal()));
    grid.SetCellText(row, kPathColumn, "/parts/" + name);
    grid.SetCellText(row, kIdColumn, std::to_string(row));
    grid.SetCellText(row, kNameColumn, name);
    grid.SetCellText(row, kQuantityColumn, quantity);
    MakeComboCell(grid, row, kRotationColumn, kRotationTypes, "0-360");
    MakeComboCell(grid, row, kDeltaColumn, kDeltaAngles, "Any");
    MakeComboCell(grid, row, kPriorityColumn, kPriorities, "5");
    for (int c : {kPathColumn, kIdColumn, kNameColumn})
        grid.SetCellState(row, c, grid.GetCellState(row, c) | CellStateReadOnly);
    return row;
}

// Lays the page out and fills it with `rows` parts: "part<i>.dxf" with quantity i.
inline void FillPartPage(CGridCtrl& grid, int rows) {
    grid.SetRowResize(false);
    grid.SetColumnResize(false);
    grid.SetColumnTotal(kPageColumns);
    grid.SetRowTotal(1);
    grid.SetFixedRowTotal(1);
    grid.SetFixedColumnTotal(1);
    for (int c = 0; c < kPageColumns; ++c) {
        grid.SetColumnPixelWidth(c, kColumnWidths[c]);
        grid.SetCellText(0, c, kHeadings[c]);
    }
    for (int i = 1; i <= rows; ++i) AddPartRow(grid, "part" + std::to_string(i) + ".dxf", std::to_string(i));
    // The heading row has the template's default height (18 pixels), in which the cell margins leave a
    // heading 5 pixels of its 12: it takes a part row's height so that the headings can be read.
    if (grid.RowTotal() > 1) grid.SetRowPixelHeight(0, grid.RowPixelHeight(1));
    grid.RepaintGrid();
}

class GridPageTest : public ::testing::Test {
protected:
    GridPageTest() {
        owner.create(kPlainWindowClass, "Part page", WS_POPUP | WS_VISIBLE, kOwnerRect, nullptr);
        grid.Create(kGridRect, &owner, kGridId, WS_BORDER);
        spy_ = desktop.addMessageSpy([this](const Message& m, Delivery) {
            if (m.id == WM_NOTIFY && m.window == &owner) {
                const auto* notice = pointerFromParam<const GridNotifyRecord>(m.l);
                if (notice && notice->header.from == &grid)
                    notices.push_back({notice->header.code, notice->row, notice->column});
                return;
            }
            if (m.id != WM_NOTIFY || m.window != &grid) return;
            const auto* record = pointerFromParam<const GridCellNotifyRecord>(m.l);
            if (!record || record->header.code != GridEndEditCode || record->header.id != GridEditorControlId)
                return;
            reports.push_back({record->item.row, record->item.column, record->item.text, record->item.data,
                               record->item.mask});
        });
    }
    ~GridPageTest() override { desktop.removeMessageSpy(spy_); }

    void BuildPage(int rows) {
        FillPartPage(grid, rows);
        desktop.pumpUntilIdle();
    }
    int AddPart(const std::string& name, const std::string& quantity) { return AddPartRow(grid, name, quantity); }

    // The cell's rectangle in the grid's client coordinates, edges included.
    Rect CellRect(int row, int column) {
        Rect r{};
        grid.CellRectOf(row, column, r);
        return r;
    }
    // A point well inside the cell's text.
    Point InCell(int row, int column) {
        const Rect r = CellRect(row, column);
        return {r.left + 8, r.top + r.height() / 2};
    }
    void ClickCell(int row, int column, Modifiers mods = NoModifiers) {
        robot.clickAt(grid, InCell(row, column), MouseButton::Left, mods);
    }
    // A click on the focus cell's text opens its editor at the release; a first click makes it the focus cell.
    void OpenByClicks(int row, int column) {
        ClickCell(row, column);
        robot.wait(1000);  // not a double click
        ClickCell(row, column);
    }

    // The open in-place editor window (the edit box, or the combo's edit field), or nullptr.
    Window* OpenEditor() const {
        Window* focus = desktop.focus();
        return focus && focus != &grid && focus->isDescendantOf(grid) ? focus : nullptr;
    }
    CGridComboBox* OpenCombo() const {
        Window* e = OpenEditor();
        return e ? dynamic_cast<CGridComboBox*>(e->parent()) : nullptr;
    }
    std::string EditorText() const {
        Window* e = OpenEditor();
        return e ? e->text() : std::string("<no editor>");
    }

    // The notifications with `code` the grid sent its owner, in order.
    std::vector<GridNotice> NoticesOf(int code) const {
        std::vector<GridNotice> out;
        for (const GridNotice& n : notices)
            if (n.code == code) out.push_back(n);
        return out;
    }

    Desktop desktop;
    host::ui::testing::NotifyLoggingWindow owner;
    CGridCtrl grid;
    Robot robot{desktop};
    std::vector<EditorReport> reports;
    std::vector<GridNotice> notices;

private:
    int spy_ = 0;
};

}  // namespace grid_testing
