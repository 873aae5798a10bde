// The grid's table: construction, the counts of rows and columns and their heading parts, row insertion and
// removal, the cells with their class replacement, the modified marks, and the notifications to the owner.
#include "nesting/grid/grid_ctrl.h"

#include <algorithm>
#include <new>
#include <utility>

#include "host/ui/desktop.h"

using host::ui::ColorRef;
using host::ui::Desktop;

namespace {

// The template cells in the order the grid keeps them.
enum TemplateIndex { kNormal = 0, kFixedRow = 1, kFixedColumn = 2, kCorner = 3 };

void RegisterGridClass(Desktop& desktop) {
    if (desktop.classes().find(kGridWindowClass) != nullptr) return;
    host::ui::WindowClass grid;
    grid.name = kGridWindowClass;
    grid.style = host::ui::CS_DBLCLKS | host::ui::CS_HREDRAW | host::ui::CS_VREDRAW;
    grid.cursor = host::ui::IDC_ARROW;
    grid.backgroundColor = host::ui::COLOR_BTNFACE;
    grid.factory = [] { return std::make_unique<CGridCtrl>(); };
    desktop.classes().registerClass(std::move(grid));
}

}  // namespace

// [SECTION] Life

CGridCtrl::CGridCtrl(int rows, int columns, int fixedRows, int fixedColumns) {
    Desktop* desktop = Desktop::current();
    if (desktop != nullptr) {
        RegisterGridClass(*desktop);
        windowTextColour_ = desktop->sysColor(host::ui::COLOR_WINDOWTEXT);
        windowColour_ = desktop->sysColor(host::ui::COLOR_WINDOW);
        buttonFaceColour_ = desktop->sysColor(host::ui::COLOR_BTNFACE);
        buttonShadowColour_ = desktop->sysColor(host::ui::COLOR_BTNSHADOW);
        const unsigned lines = desktop->system().wheelScrollLines();
        wheelLines_ = lines == host::ui::WHEEL_PAGESCROLL ? -1 : static_cast<int>(lines);
    }
    outsideColour_ = buttonShadowColour_;
    cellClass_ = &CGridCell::GetThisClass();
    tipWindow_.SetParentWindow(this);

    for (CGridDefaultCell& t : templates_) {
        t.PutGrid(this);
        t.PutTextColour(windowTextColour_);
        t.PutBackColour(buttonFaceColour_);
    }
    templates_[kNormal].PutBackColour(windowColour_);

    SetRowTotal(rows);
    SetColumnTotal(columns);
    SetFixedRowTotal(fixedRows);
    SetFixedColumnTotal(fixedColumns);
}

CGridCtrl::~CGridCtrl() {
    ClearGrid();
    if (tipsEnabled_ && tipWindow_.exists()) tipWindow_.DestroyWindow();
    dropSite_.Revoke();
    if (exists()) destroy();
}

bool CGridCtrl::Create(const host::ui::Rect& rect, host::ui::Window* parent, int id, std::uint32_t style) {
    return create(kGridWindowClass, "", host::ui::WS_CHILD | host::ui::WS_VISIBLE | host::ui::WS_TABSTOP | style,
                  rect, parent, id);
}

// [SECTION] Helpers

bool CGridCtrl::IsValid(CellRef cell) const {
    return cell.row >= 0 && cell.column >= 0 && cell.row < rowCount_ && cell.column < columnCount_;
}

bool CGridCtrl::IsValid(const CellBlock& b) const {
    return b.minRow >= 0 && b.minColumn >= 0 && b.maxRow >= 0 && b.maxColumn >= 0 && b.maxRow < rowCount_ &&
           b.maxColumn < columnCount_ && b.minRow <= b.maxRow && b.minColumn <= b.maxColumn;
}

std::uint64_t CGridCtrl::SelectionKey(int row, int column) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(column)) << 32) | static_cast<std::uint32_t>(row);
}

// What every change of the counts ends with.
void CGridCtrl::RedrawTail() {
    modified_ = true;
    RecalcScrollBars();
    if (exists() && redrawAllowed_) invalidate();
}

CGridDefaultCell* CGridCtrl::TemplateFor(bool fixedRow, bool fixedColumn) {
    if (fixedRow && fixedColumn) return &templates_[kCorner];
    if (fixedRow) return &templates_[kFixedRow];
    if (fixedColumn) return &templates_[kFixedColumn];
    return &templates_[kNormal];
}

// [SECTION] Counts

bool CGridCtrl::SetRowTotal(int count) {
    if (count < 0) return false;
    if (count == rowCount_) return true;
    ForgetTopLeft();
    if (count < fixedRowCount_) fixedRowCount_ = count;
    if (count <= focus_.row) MoveFocus(CellRef{});

    bool ok = true;
    try {
        if (count < rowCount_) {
            for (int r = count; r < rowCount_; ++r)
                for (int c = 0; c < columnCount_; ++c) DiscardCell(r, c);
            rows_.resize(count);
            rowHeights_.resize(count);
            rowCount_ = count;
        } else {
            rows_.reserve(count);
            rowHeights_.reserve(count);
            for (int r = rowCount_; r < count; ++r) {
                CellRow cells(columnCount_);
                rows_.push_back(std::move(cells));
                rowHeights_.push_back(templates_[kNormal].QueryDefaultHeight());
                rowCount_ = r + 1;
                for (int c = 0; c < columnCount_; ++c) rows_[r][c] = MakeCell(r, c);
            }
        }
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    RedrawTail();
    return ok;
}

bool CGridCtrl::SetColumnTotal(int count) {
    if (count < 0) return false;
    if (count == columnCount_) return true;
    ForgetTopLeft();
    if (count < fixedColumnCount_) fixedColumnCount_ = count;
    if (count <= focus_.column) MoveFocus(CellRef{});

    bool ok = true;
    try {
        if (count < columnCount_) {
            for (int r = 0; r < rowCount_; ++r)
                for (int c = count; c < columnCount_; ++c) DiscardCell(r, c);
            for (CellRow& cells : rows_) cells.resize(count);
            columnWidths_.resize(count);
            columnCount_ = count;
        } else {
            columnWidths_.reserve(count);
            for (CellRow& cells : rows_) cells.reserve(count);
            for (int c = columnCount_; c < count; ++c) {
                columnWidths_.push_back(templates_[kFixedColumn].QueryDefaultWidth());
                for (CellRow& cells : rows_) cells.emplace_back();
                columnCount_ = c + 1;
                for (int r = 0; r < rowCount_; ++r) rows_[r][c] = MakeCell(r, c);
            }
        }
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    RedrawTail();
    return ok;
}

void CGridCtrl::SetFixedRowFlags(int oldCount, int newCount) {
    for (int r = std::min(oldCount, newCount); r < std::max(oldCount, newCount); ++r) {
        for (int c = 0; c < columnCount_; ++c) {
            CGridCellBase* cell = CellAt(r, c);
            if (cell == nullptr) continue;
            const unsigned state = cell->QueryState();
            if (newCount > oldCount) {
                cell->PutState(state | CellStateFixed | CellStateFixedRow);
            } else if (c < fixedColumnCount_) {
                cell->PutState(state & ~CellStateFixedRow);
                continue;
            } else {
                cell->PutState(state & ~(CellStateFixed | CellStateFixedRow));
            }
            cell->PutTextColour(host::ui::CLR_DEFAULT);
            cell->PutBackColour(host::ui::CLR_DEFAULT);
        }
    }
}

void CGridCtrl::SetFixedColumnFlags(int oldCount, int newCount) {
    for (int r = 0; r < rowCount_; ++r) {
        for (int c = std::min(oldCount, newCount); c < std::max(oldCount, newCount); ++c) {
            CGridCellBase* cell = CellAt(r, c);
            if (cell == nullptr) continue;
            const unsigned state = cell->QueryState();
            if (newCount > oldCount) {
                cell->PutState(state | CellStateFixed | CellStateFixedColumn);
            } else if (r < fixedRowCount_) {
                cell->PutState(state & ~CellStateFixedColumn);
                continue;
            } else {
                cell->PutState(state & ~(CellStateFixed | CellStateFixedColumn));
            }
            cell->PutTextColour(host::ui::CLR_DEFAULT);
            cell->PutBackColour(host::ui::CLR_DEFAULT);
        }
    }
}

bool CGridCtrl::SetFixedRowTotal(int count) {
    if (count < 0) return false;
    if (count == fixedRowCount_) return true;
    ClearSelection();
    ForgetTopLeft();
    if (count > rowCount_ && !SetRowTotal(count)) return false;
    SetFixedRowFlags(fixedRowCount_, count);
    fixedRowCount_ = count;
    if (exists() && redrawAllowed_) invalidate();
    return true;
}

bool CGridCtrl::SetFixedColumnTotal(int count) {
    if (count < 0) return false;
    if (count == fixedColumnCount_) return true;
    if (count > columnCount_ && !SetColumnTotal(count)) return false;
    ClearSelection();
    ForgetTopLeft();
    SetFixedColumnFlags(fixedColumnCount_, count);
    fixedColumnCount_ = count;
    if (exists() && redrawAllowed_) invalidate();
    return true;
}

// [SECTION] Sizes

bool CGridCtrl::SetColumnPixelWidth(int column, int width) {
    if (column < 0 || column >= columnCount_ || width < 0) return false;
    columnWidths_[column] = width;
    RecalcScrollBars();
    return true;
}

bool CGridCtrl::SetRowPixelHeight(int row, int height) {
    if (row < 0 || row >= rowCount_ || height < 0) return false;
    rowHeights_[row] = height;
    RecalcScrollBars();
    return true;
}

int CGridCtrl::RowPixelHeight(int row) const {
    return row >= 0 && row < rowCount_ ? rowHeights_[row] : -1;
}

int CGridCtrl::ColumnPixelWidth(int column) const {
    return column >= 0 && column < columnCount_ ? columnWidths_[column] : -1;
}

// [SECTION] Rows

int CGridCtrl::InsertGridRow(std::optional<std::string_view> heading, int row) {
    if (row >= 0 && (row < fixedRowCount_ || row >= rowCount_)) return -1;
    ForgetTopLeft();
    ClearSelection();
    if (columnCount_ == 0) SetColumnTotal(1);

    const int index = row < 0 ? rowCount_ : row;
    try {
        rows_.insert(rows_.begin() + index, CellRow(columnCount_));
        try {
            rowHeights_.insert(rowHeights_.begin() + index, 0);
        } catch (const std::bad_alloc&) {
            rows_.erase(rows_.begin() + index);
            return -1;
        }
    } catch (const std::bad_alloc&) {
        return -1;
    }
    ++rowCount_;
    for (int c = 0; c < columnCount_; ++c) rows_[index][c] = MakeCell(index, c);

    CGridCellBase* headingCell = CellAt(index, 0);
    if (headingCell != nullptr) headingCell->PutText(heading.value_or(std::string_view{}));
    MarkCellModified(true, index, 0);

    if (!heading || heading->empty() || headingCell == nullptr)
        rowHeights_[index] = templates_[kFixedRow].QueryDefaultHeight();
    else
        rowHeights_[index] = headingCell->MeasureText(*heading, nullptr).height;

    RecalcScrollBars();
    modified_ = true;
    return index;
}

bool CGridCtrl::RemoveGridRow(int row) {
    if (row < 0 || row >= rowCount_) return false;
    ClearSelection();
    ForgetTopLeft();
    for (int c = 0; c < columnCount_; ++c) DiscardCell(row, c);
    rows_.erase(rows_.begin() + row);
    rowHeights_.erase(rowHeights_.begin() + row);
    --rowCount_;
    if (row < fixedRowCount_) --fixedRowCount_;
    RecalcScrollBars();
    modified_ = true;
    return true;
}

bool CGridCtrl::ClearGrid() {
    ClearSelection();
    ForgetTopLeft();
    rowHeights_.clear();
    columnWidths_.clear();
    for (int r = 0; r < rowCount_; ++r)
        for (int c = 0; c < columnCount_; ++c) DiscardCell(r, c);
    rows_.clear();
    focus_ = CellRef{};
    rowCount_ = columnCount_ = fixedRowCount_ = fixedColumnCount_ = 0;
    RecalcScrollBars();
    modified_ = true;
    return true;
}

// [SECTION] Cells

CGridCellBase* CGridCtrl::CellAt(int row, int column) const {
    if (row < 0 || column < 0 || row >= rowCount_ || column >= columnCount_) return nullptr;
    const CellRow& cells = rows_[row];
    return column < static_cast<int>(cells.size()) ? cells[column].get() : nullptr;
}

bool CGridCtrl::SetCellText(int row, int column, std::string_view text) {
    CGridCellBase* cell = CellAt(row, column);
    if (cell == nullptr) return false;
    cell->PutText(text);
    MarkCellModified(true, row, column);
    return true;
}

std::string CGridCtrl::GetCellText(int row, int column) const {
    const CGridCellBase* cell = CellAt(row, column);
    return cell ? cell->QueryText() : std::string{};
}

bool CGridCtrl::SetCellState(int row, int column, unsigned flags) {
    CGridCellBase* cell = CellAt(row, column);
    // A position outside the grid never enters the selection: it would count as selected and could not be
    // drawn or cleared.
    if (cell == nullptr) {
        selection_.erase(SelectionKey(row, column));
        return false;
    }
    const bool selected = CellInSelection(row, column);
    if (!selected && (flags & CellStateSelected) != 0)
        selection_[SelectionKey(row, column)] = CellRef{row, column};
    else if (selected && (flags & CellStateSelected) == 0)
        selection_.erase(SelectionKey(row, column));
    cell->PutState(flags);
    return true;
}

unsigned CGridCtrl::GetCellState(int row, int column) const {
    const CGridCellBase* cell = CellAt(row, column);
    return cell ? cell->QueryState() : 0;
}

bool CGridCtrl::SetCellFormat(int row, int column, unsigned format) {
    CGridCellBase* cell = CellAt(row, column);
    if (cell == nullptr) return false;
    cell->PutFormat(format);
    return true;
}

bool CGridCtrl::SetCellBackColour(int row, int column, ColorRef colour) {
    CGridCellBase* cell = CellAt(row, column);
    if (cell == nullptr) return false;
    cell->PutBackColour(colour);
    return true;
}

bool CGridCtrl::SetCellTextColour(int row, int column, ColorRef colour) {
    CGridCellBase* cell = CellAt(row, column);
    if (cell == nullptr) return false;
    cell->PutTextColour(colour);
    return true;
}

bool CGridCtrl::SetCellClass(int row, int column, const GridCellClass& cellClass) {
    if (!IsValid(CellRef{row, column}) || !cellClass.IsDerivedFrom(CGridCellBase::GetThisClass())) return false;
    std::unique_ptr<CGridCellBase> replacement = cellClass.CreateObject();
    if (!replacement) return false;
    if (const CGridCellBase* old = CellAt(row, column))
        replacement->CopyFrom(*old);
    else
        replacement->PutGrid(this);
    return PlaceCell(row, column, std::move(replacement));
}

void CGridCtrl::MarkCellModified(bool modified, int row, int column) {
    if (row >= 0 && column >= 0) {
        if (CGridCellBase* cell = CellAt(row, column)) {
            if (modified) {
                cell->PutState(cell->QueryState() | CellStateModified);
                modified_ = true;
            } else {
                cell->PutState(cell->QueryState() & ~CellStateModified);
            }
        }
    } else {
        modified_ = modified;
    }
    if (!modified_) {
        for (CellRow& cells : rows_)
            for (auto& cell : cells)
                if (cell) cell->PutState(cell->QueryState() & ~CellStateModified);
    }
}

bool CGridCtrl::CellInSelection(int row, int column) const {
    const CGridCellBase* cell = CellAt(row, column);
    return selectionEnabled_ && cell != nullptr && cell->TestSelected();
}

bool CGridCtrl::IsCellEditable(int row, int column) const {
    const CGridCellBase* cell = CellAt(row, column);
    return editingEnabled_ && !(cell != nullptr && cell->TestReadOnly());
}

std::unique_ptr<CGridCellBase> CGridCtrl::MakeCell(int row, int column) {
    if (cellClass_ == nullptr || !cellClass_->IsDerivedFrom(CGridCellBase::GetThisClass())) return nullptr;
    std::unique_ptr<CGridCellBase> cell = cellClass_->CreateObject();
    if (!cell) return nullptr;
    cell->PutGrid(this);
    cell->PutPosition(row, column);
    unsigned state = cell->QueryState();
    if (column < fixedColumnCount_) state |= CellStateFixed | CellStateFixedColumn;
    if (row < fixedRowCount_) state |= CellStateFixed | CellStateFixedRow;
    cell->PutState(state);
    if (const CGridDefaultCell* defaults = cell->QueryDefaults()) cell->PutFormat(defaults->QueryFormat());
    return cell;
}

void CGridCtrl::DiscardCell(int row, int column) {
    CGridCellBase* cell = CellAt(row, column);
    if (cell == nullptr) return;
    // An editor still open over the cell reports to the grid by position; end it while the cell is there.
    if (cell->InEditMode()) cell->StopEditing();
    SetCellState(row, column, 0);
    rows_[row][column].reset();
}

bool CGridCtrl::PlaceCell(int row, int column, std::unique_ptr<CGridCellBase> cell) {
    if (row < 0 || column < 0 || row >= rowCount_ || column >= columnCount_ || !cell) return false;
    CellRow& cells = rows_[row];
    if (column >= static_cast<int>(cells.size())) return false;
    cell->PutPosition(row, column);
    cells[column] = std::move(cell);
    return true;
}

// [SECTION] Notifications

std::intptr_t CGridCtrl::NotifyOwner(int row, int column, int code) {
    if (!exists()) return 0;
    host::ui::Window* receiver = ownerOrParent();
    if (receiver == nullptr || !desktop().isWindow(receiver)) return 0;
    GridNotifyRecord record;
    record.header = host::ui::NotifyHeader{this, id(), code};
    record.row = row;
    record.column = column;
    return receiver->send(host::ui::WM_NOTIFY, static_cast<std::uintptr_t>(id()),
                          host::ui::lParamFromPointer(&record));
}
