// The fixture of the grid's own tests: a desktop, an owner window that logs every notification with the cell it
// names (and can be told how to answer), a grid shaped like the stock page, a robot, and helpers to find cells
// on screen and in the recorded drawing.
//
// The grid: one heading row and one heading column; widths {30, 0, 0, 90, 60, 60, 40}, so columns 1 and 2 are
// hidden; 18-pixel rows (the metric font's 12-pixel lines, half again). Its client area is 300 x 150 pixels
// (283 wide once a vertical bar shows, which still leaves room for all 280 pixels of columns), so column 3
// spans x 30..119, column 4 120..179, column 5 180..239, column 6 240..279, and row r spans y 18r..18r+17 until
// the table is scrolled.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/ui/desktop.h"
#include "host/ui/robot.h"
#include "host/ui/tests/ui_test_window.h"
#include "nesting/grid/grid_ctrl.h"

namespace grid_core_testing {

using namespace host::ui;

inline constexpr int kGridId = 2001;
inline constexpr int kWidths[] = {30, 0, 0, 90, 60, 60, 40};
inline constexpr int kColumns = 7;
inline constexpr int kRowHeight = 18;
inline constexpr Rect kOwnerRect{100, 100, 500, 400};
inline constexpr Rect kGridRect{10, 10, 310, 160};

// One notification the owner received, read while its record lived.
struct Note {
    int code = 0;
    int row = -1;
    int column = -1;
    friend bool operator==(const Note&, const Note&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const Note& n) {
    return out << "{" << n.code << ", " << n.row << ", " << n.column << "}";
}

// The owner: logs notifications and BN_CLICKED commands; `answers` gives the answer to a notification code
// (0 when none is set).
class GridOwner : public Window {
public:
    std::intptr_t windowProc(Message& m) override {
        if (m.id == WM_NOTIFY) {
            const auto* record = pointerFromParam<const GridNotifyRecord>(m.l);
            if (record != nullptr && record->header.id == kGridId) {
                notes.push_back({record->header.code, record->row, record->column});
                if (onNote) onNote(notes.back());
                auto it = answers.find(record->header.code);
                return it != answers.end() ? it->second : 0;
            }
        }
        if (m.id == WM_COMMAND && loWord(m.w) == kGridId) ++clicks;
        return Window::windowProc(m);
    }

    std::vector<Note> notes;
    std::map<int, std::intptr_t> answers;
    std::function<void(const Note&)> onNote;
    int clicks = 0;
};

class GridTest : public ::testing::Test {
protected:
    GridTest() {
        owner.create(kPlainWindowClass, "Stock page", WS_POPUP | WS_VISIBLE, kOwnerRect, nullptr);
        grid.Create(kGridRect, &owner, kGridId);
    }

    // Rows 0..rows (row 0 the headings), column 0 the row numbers; cell (r, c) of a data row holds "r.c". Starts
    // from an empty grid, so a table of cases can build afresh for every case.
    void Build(int rows) {
        grid.ClearGrid();
        grid.SetColumnTotal(kColumns);
        grid.SetRowTotal(rows + 1);
        grid.SetFixedRowTotal(1);
        grid.SetFixedColumnTotal(1);
        for (int c = 0; c < kColumns; ++c) grid.SetColumnPixelWidth(c, kWidths[c]);
        for (int c = 0; c < kColumns; ++c) grid.SetCellText(0, c, "H" + std::to_string(c));
        for (int r = 1; r <= rows; ++r) {
            grid.SetCellText(r, 0, std::to_string(r));
            for (int c = 1; c < kColumns; ++c) grid.SetCellText(r, c, std::to_string(r) + "." + std::to_string(c));
        }
        desktop.pumpUntilIdle();
        owner.notes.clear();
    }

    // The centre of a cell, in the grid's client coordinates.
    Point Centre(int row, int column) {
        Rect r;
        EXPECT_TRUE(grid.CellRectOf(row, column, r)) << row << ", " << column;
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // A click of its own: apart from the one before by more than the double-click time.
    void Click(int row, int column, Modifiers mods = NoModifiers) {
        robot.wait(desktop.system().doubleClickTime() + 1);
        robot.clickAt(grid, Centre(row, column), MouseButton::Left, mods);
    }
    bool Notified(const Note& note) const {
        return std::find(owner.notes.begin(), owner.notes.end(), note) != owner.notes.end();
    }

    // The selected cells, in row then column order.
    std::vector<CellRef> Selected() {
        std::vector<CellRef> out;
        for (int r = 0; r < grid.RowTotal(); ++r)
            for (int c = 0; c < grid.ColumnTotal(); ++c)
                if (grid.CellInSelection(r, c)) out.push_back({r, c});
        return out;
    }

    // The notification codes the owner received, in order.
    std::vector<int> Codes() const {
        std::vector<int> out;
        for (const Note& n : owner.notes) out.push_back(n.code);
        return out;
    }

    // The text records of the grid's display list whose shown text is `text`.
    std::vector<const DrawRecord*> TextsDrawn(const std::string& text) const {
        return grid.displayList().texts(text);
    }

    Desktop desktop;
    GridOwner owner;
    CGridCtrl grid;
    Robot robot{desktop};
};

}  // namespace grid_core_testing
