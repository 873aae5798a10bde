// The focus cell and the selection: moving the focus, selecting blocks, rows and columns, and the selected
// block; each change redraws only the visible cells it touched.
#include <algorithm>
#include <optional>
#include <vector>

#include "host/ui/desktop.h"
#include "nesting/grid/grid_ctrl.h"

using host::ui::ClientDC;

// [SECTION] Focus

CellRef CGridCtrl::MoveFocusToCell(int row, int column) { return MoveFocus(CellRef{row, column}); }

// Draws the heading cells that show the focus: the fixed rows of a column and the fixed columns of a row.
void CGridCtrl::RedrawHeadingsOf(CellRef cell, bool columnChanged, bool rowChanged) {
    if (!headingHighlight_) return;
    if (columnChanged)
        for (int r = 0; r < fixedRowCount_; ++r) PaintCellNow(r, cell.column);
    if (rowChanged)
        for (int c = 0; c < fixedColumnCount_; ++c) PaintCellNow(cell.row, c);
}

CellRef CGridCtrl::MoveFocus(CellRef cell) {
    if (cell == focus_) return focus_;
    if (cell.row != -1 && cell.row < fixedRowCount_) cell.row = fixedRowCount_;
    if (cell.column != -1 && cell.column < fixedColumnCount_) cell.column = fixedColumnCount_;

    const CellRef old = focus_;
    focus_ = cell;
    const bool columnChanged = old.column != cell.column;
    const bool rowChanged = old.row != cell.row;

    if (IsValid(old)) {
        SetCellState(old.row, old.column, GetCellState(old.row, old.column) & ~CellStateFocused);
        PaintCellNow(old.row, old.column);
        RedrawHeadingsOf(old, columnChanged, rowChanged);
    }
    if (IsValid(cell)) {
        SetCellState(cell.row, cell.column, GetCellState(cell.row, cell.column) | CellStateFocused);
        PaintCellNow(cell.row, cell.column);
        RedrawHeadingsOf(cell, columnChanged, rowChanged);
    }
    return old;
}

// [SECTION] Blocks

void CGridCtrl::SelectCellBlock(int minRow, int minColumn, int maxRow, int maxColumn, bool drawNow, bool select) {
    if (!selectionEnabled_) return;
    std::optional<host::ui::WaitCursor> wait;
    if (host::ui::Desktop::current() != nullptr) wait.emplace(desktop());

    std::optional<ClientDC> dc;
    if (drawNow && exists()) dc.emplace(*this);
    const CellBlock visible = exists() ? VisibleNonFixedRange() : CellBlock{};

    auto outOfHeadings = [](int bound, int fixedCount) {
        return bound >= 0 && bound < fixedCount ? fixedCount : bound;
    };
    minRow = outOfHeadings(minRow, fixedRowCount_);
    maxRow = outOfHeadings(maxRow, fixedRowCount_);
    minColumn = outOfHeadings(minColumn, fixedColumnCount_);
    maxColumn = outOfHeadings(maxColumn, fixedColumnCount_);
    const CellBlock block{minRow, minColumn, maxRow, maxColumn};
    const bool blockValid = IsValid(block);
    const bool keepPrevious = minRow >= 0 && minColumn >= 0 && maxRow >= 0 && maxColumn >= 0;

    auto inBlock = [&](int r, int c) {
        return blockValid && r >= minRow && r <= maxRow && c >= minColumn && c <= maxColumn;
    };
    auto redraw = [&](int r, int c) {
        if (r < visible.minRow || r > visible.maxRow || c < visible.minColumn || c > visible.maxColumn) return;
        if (dc)
            PaintCellNow(r, c, &*dc);
        else
            DirtyCell(r, c);
    };
    auto setSelected = [&](int r, int c, bool on) {
        const unsigned state = GetCellState(r, c);
        if (((state & CellStateSelected) != 0) == on) return;
        SetCellState(r, c, on ? state | CellStateSelected : state & ~CellStateSelected);
        redraw(r, c);
    };

    if (select) {
        // The loop changes the map (a deselected cell leaves it), so it walks a copy.
        std::vector<CellRef> selected;
        selected.reserve(selection_.size());
        for (const auto& [key, cell] : selection_) selected.push_back(cell);
        for (const CellRef cell : selected) {
            if (!IsValid(cell)) {
                selection_.erase(SelectionKey(cell.row, cell.column));
                continue;
            }
            const bool kept =
                inBlock(cell.row, cell.column) ||
                (keepPrevious && previousSelection_.count(SelectionKey(cell.row, cell.column)) != 0);
            if (!kept) setSelected(cell.row, cell.column, false);
        }
        if (keepPrevious) {
            std::vector<CellRef> previous;
            for (const auto& [key, cell] : previousSelection_) previous.push_back(cell);
            for (const CellRef cell : previous)
                if (IsValid(cell)) setSelected(cell.row, cell.column, true);
        }
    }
    if (blockValid)
        for (int r = minRow; r <= maxRow; ++r)
            for (int c = minColumn; c <= maxColumn; ++c) setSelected(r, c, select);
}

void CGridCtrl::ClearSelection() {
    previousSelection_.clear();
    SelectCellBlock(-1, -1, -1, -1, false, true);
    MoveFocus(CellRef{});
}

CellBlock CGridCtrl::SelectedCellBlock() const {
    CellBlock block{rowCount_, columnCount_, -1, -1};
    for (const auto& [key, cell] : selection_) {
        block.minRow = std::min(block.minRow, cell.row);
        block.minColumn = std::min(block.minColumn, cell.column);
        block.maxRow = std::max(block.maxRow, cell.row);
        block.maxColumn = std::max(block.maxColumn, cell.column);
    }
    return block;
}

// [SECTION] Gestures

void CGridCtrl::SelectAllCells() {
    if (!selectionEnabled_) return;
    SelectCellBlock(fixedRowCount_, fixedColumnCount_, rowCount_ - 1, columnCount_ - 1, false, true);
}

void CGridCtrl::SelectColumnsTo(CellRef cell, bool drawNow, bool select) {
    if (!selectionEnabled_ || !IsValid(cell) || cell.column < fixedColumnCount_) return;
    SelectCellBlock(fixedRowCount_, std::min(selectionStart_.column, cell.column), rowCount_ - 1,
                    std::max(selectionStart_.column, cell.column), drawNow, select);
}

void CGridCtrl::SelectRowsTo(CellRef cell, bool drawNow, bool select) {
    if (!selectionEnabled_ || !IsValid(cell) || cell.row < fixedRowCount_) return;
    SelectCellBlock(std::min(selectionStart_.row, cell.row), fixedColumnCount_,
                    std::max(selectionStart_.row, cell.row), columnCount_ - 1, drawNow, select);
}

void CGridCtrl::SelectCellsTo(CellRef cell, bool drawNow, bool select) {
    if (!selectionEnabled_ || !IsValid(cell) || cell.row < fixedRowCount_ || cell.column < fixedColumnCount_)
        return;
    SelectCellBlock(std::min(selectionStart_.row, cell.row), std::min(selectionStart_.column, cell.column),
                    std::max(selectionStart_.row, cell.row), std::max(selectionStart_.column, cell.column), drawNow,
                    select);
}

void CGridCtrl::ExtendSelection(CellRef cell) {
    switch (mouseMode_) {
    case MouseSelectAll: SelectAllCells(); break;
    case MouseSelectColumns: SelectColumnsTo(cell, false, true); break;
    case MouseSelectRows: SelectRowsTo(cell, false, true); break;
    case MouseSelectCells: SelectCellsTo(cell, false, true); break;
    default: break;
    }
}

void CGridCtrl::RowHeadingPressed(CellRef cell) {
    if (!IsValid(cell) || !rowHeadingSelection_) return;
    mouseMode_ = cell.row < fixedRowCount_ ? MouseSelectAll : MouseSelectRows;
    ExtendSelection(cell);
}

void CGridCtrl::ColumnHeadingPressed(CellRef cell) {
    if (!IsValid(cell) || !columnHeadingSelection_) return;
    mouseMode_ = cell.column < fixedColumnCount_ ? MouseSelectAll : MouseSelectColumns;
    ExtendSelection(cell);
}

std::intptr_t CGridCtrl::SelectEverything() {
    NotifyOwner(leftClickDown_.row, leftClickDown_.column, GridSelectionChangingCode);
    if (selectionEnabled_) SelectAllCells();
    return NotifyOwner(focus_.row, focus_.column, GridSelectionChangedCode);
}
