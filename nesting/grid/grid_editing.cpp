// In-place editing seen from the grid: opening a cell's editor, taking the text an editor reports, moving on to
// the next cell after the keys that end an edit, and text changes the owner may veto.
//
// One edit, as the owner sees it:
//   StartCellEdit        GridBeginEditCode (row, column): an answer < 0 opens no editor
//   the editor ends      when the text changed: GridEndEditCode (row, column): an answer < 0 puts the old text
//                        back; an unchanged text sends nothing
#include "host/ui/desktop.h"
#include "nesting/grid/grid_ctrl.h"

namespace {

// The keys after which the edit carries on in the neighbouring cell: Tab and the page, End, Home and arrow
// keys.
bool MovesOn(std::uint64_t key) {
    return key == host::ui::VK_TAB || (key >= host::ui::VK_PRIOR && key <= host::ui::VK_DOWN);
}

}  // namespace

void CGridCtrl::StartCellEdit(int row, int column, host::ui::Point point, unsigned character) {
    tipWindow_.HideTip();
    CGridCellBase* cell = CellAt(row, column);
    if (cell == nullptr || !editingEnabled_ || cell->TestReadOnly()) return;
    EnsureCellVisible(row, column);
    host::ui::Rect rect;
    if (!IsCellVisible(row, column) || !CellRectOf(row, column, rect)) return;
    if (NotifyOwner(row, column, GridBeginEditCode) < 0) return;
    // The owner's answer may have changed the table.
    cell = CellAt(row, column);
    if (cell == nullptr) return;
    cell->BeginEditing(row, column, rect, point, GridEditorControlId, character);
}

void CGridCtrl::OnEndInPlaceEdit(const GridCellNotifyRecord& record) {
    if (!exists()) return;
    const std::uint64_t key = record.item.data;
    FinishCellEdit(record.item.row, record.item.column, record.item.text);
    if (!MovesOn(key)) return;
    host::ui::Message keyDown{this, host::ui::WM_KEYDOWN, static_cast<std::uintptr_t>(key), 0, {}, 0};
    OnKeyDown(keyDown);
    StartCellEdit(focus_.row, focus_.column, host::ui::Point{-1, -1}, static_cast<unsigned>(key));
}

// Puts `text` into a cell and asks the cell and the owner; a refusal restores the old text and the old
// modified marks, so a vetoed change leaves no trace. Answers whether the change stands.
static bool ChangeCellText(CGridCtrl& grid, int row, int column, const std::string& text) {
    CGridCellBase* cell = grid.CellAt(row, column);
    const std::string old = cell->QueryText();
    const unsigned oldModifiedMark = cell->QueryState() & CellStateModified;
    const bool oldGridMark = grid.IsModified();
    grid.SetCellText(row, column, text);
    if (grid.AcceptEditedText(row, column, text) && grid.NotifyOwner(row, column, GridEndEditCode) >= 0) {
        grid.MarkCellModified(true, row, column);
        grid.PaintCellNow(row, column);
        return true;
    }
    grid.SetCellText(row, column, old);
    if (CGridCellBase* now = grid.CellAt(row, column))
        now->PutState((now->QueryState() & ~CellStateModified) | oldModifiedMark);
    if (!oldGridMark) grid.MarkCellModified(false);
    grid.PaintCellNow(row, column);
    return false;
}

void CGridCtrl::FinishCellEdit(int row, int column, const std::string& text) {
    CGridCellBase* cell = CellAt(row, column);
    if (cell == nullptr) return;
    if (text != cell->QueryText()) ChangeCellText(*this, row, column, text);
    if (CGridCellBase* now = CellAt(row, column)) now->EditingFinished();
}

bool CGridCtrl::AcceptEditedText(int row, int column, const std::string& text) {
    CGridCellBase* cell = CellAt(row, column);
    return cell == nullptr || cell->CheckEditText(row, column, text);
}

void CGridCtrl::StopFocusEdit() {
    if (CGridCellBase* cell = CellAt(focus_.row, focus_.column)) cell->StopEditing();
}

void CGridCtrl::SetCellTextChecked(int row, int column, std::string_view text) {
    CGridCellBase* cell = CellAt(row, column);
    if (!editingEnabled_ || cell == nullptr || cell->TestReadOnly()) return;
    if (NotifyOwner(row, column, GridBeginEditCode) < 0) return;
    cell = CellAt(row, column);
    if (cell == nullptr || cell->QueryText() == text) return;
    ChangeCellText(*this, row, column, std::string(text));
}
