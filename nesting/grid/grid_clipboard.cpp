// The grid and the clipboard: the selected block as text (tab between fields, CR LF between lines, a final
// zero byte; UTF-8, this host's narrow code page), cut, clearing, and pasting text of any program, fields split
// at tabs and commas.
#include <algorithm>
#include <string_view>
#include <vector>

#include "host/ui/desktop.h"
#include "host/ui/edit.h"
#include "nesting/grid/grid_ctrl.h"

namespace {

std::string_view Trimmed(std::string_view s) {
    constexpr std::string_view kBlank = " \t\r\n\v\f";
    const std::size_t first = s.find_first_not_of(kBlank);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(kBlank) - first + 1);
}

// The fields of one pasted line: split at tabs and commas; a line that ends with a separator has no empty last
// field.
std::vector<std::string_view> FieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t separator = line.find_first_of("\t,", start);
        if (separator == std::string_view::npos) {
            if (start < line.size() || fields.empty()) fields.push_back(line.substr(start));
            break;
        }
        fields.push_back(line.substr(start, separator - start));
        start = separator + 1;
    }
    return fields;
}

}  // namespace

std::optional<std::string> CGridCtrl::MakeClipboardData() {
    const CellBlock block = SelectedCellBlock();
    if (!IsValid(block)) return std::nullopt;
    std::string text;
    for (int r = block.minRow; r <= block.maxRow; ++r) {
        if (rowHeights_[r] == 0) continue;
        for (int c = block.minColumn; c <= block.maxColumn; ++c) {
            if (columnWidths_[c] == 0) continue;
            if (CellInSelection(r, c)) text += GetCellText(r, c);
            if (c != block.maxColumn) text += '\t';
        }
        if (r != block.maxRow) text += "\r\n";
    }
    text += '\0';
    return text;
}

void CGridCtrl::CopyToClipboard() {
    std::optional<std::string> data = MakeClipboardData();
    if (!data) return;
    host::ui::Clipboard& clipboard = desktop().clipboard();
    clipboard.clear(this);
    clipboard.setData(host::ui::CF_TEXT, std::move(*data), this);
}

void CGridCtrl::CutToClipboard() {
    if (!editingEnabled_) return;
    CopyToClipboard();
    ClearSelectedText();
}

void CGridCtrl::ClearSelectedText() {
    if (!editingEnabled_) return;
    // The owner's answers may change the selection; walk a copy.
    std::vector<CellRef> cells;
    for (const auto& [key, cell] : selection_) cells.push_back(cell);
    for (const CellRef cell : cells) SetCellTextChecked(cell.row, cell.column, "");
}

void CGridCtrl::PasteFromClipboard() {
    if (!editingEnabled_) return;
    const CellBlock block = SelectedCellBlock();
    CellRef target = IsValid(block) ? CellRef{block.minRow, block.minColumn}
                     : IsValid(focus_) ? focus_
                                       : TopLeftNonFixedCell();
    CGridCellBase* cell = CellAt(target.row, target.column);
    if (cell == nullptr) return;
    if (cell->InEditMode()) {
        if (auto* editor = dynamic_cast<host::ui::Edit*>(cell->QueryEditor())) {
            editor->send(host::ui::WM_PASTE);
            return;
        }
    }
    host::ui::DataObject data;
    if (std::optional<std::string> bytes = desktop().clipboard().data(host::ui::CF_TEXT))
        data.set(host::ui::CF_TEXT, std::move(*bytes));
    PasteTextAt(target, data, true);
}

bool CGridCtrl::PasteTextAt(CellRef target, const host::ui::DataObject& data, bool select) {
    CGridCellBase* targetCell = CellAt(target.row, target.column);
    if (targetCell == nullptr || !editingEnabled_ || targetCell->TestReadOnly() ||
        !data.isAvailable(host::ui::CF_TEXT))
        return false;
    const std::string bytes = data.get(host::ui::CF_TEXT).value_or(std::string{});
    // Text from another program may lack its terminating zero: the block's size bounds it.
    std::string_view text(bytes);
    text = text.substr(0, text.find('\0'));

    std::vector<std::string_view> lines;
    for (std::size_t start = 0;;) {
        const std::size_t lineFeed = text.find('\n', start);
        const std::size_t length = lineFeed == std::string_view::npos ? std::string_view::npos : lineFeed - start;
        lines.push_back(text.substr(start, length));
        if (lineFeed == std::string_view::npos) break;
        start = lineFeed + 1;
    }
    // A final line break ends the last line; it does not start an empty one.
    if (lines.size() > 1 && lines.back().empty()) lines.pop_back();

    int largestRow = -1;
    int largestColumn = -1;
    int rowOffset = 0;
    for (std::string_view line : lines) {
        while (target.row + rowOffset < rowCount_ && rowHeights_[target.row + rowOffset] == 0) ++rowOffset;
        int columnOffset = 0;
        for (std::string_view field : FieldsOf(line)) {
            while (target.column + columnOffset < columnCount_ && columnWidths_[target.column + columnOffset] == 0)
                ++columnOffset;
            const int row = target.row + rowOffset;
            const int column = target.column + columnOffset;
            if (IsValid(CellRef{row, column})) {
                SetCellTextChecked(row, column, Trimmed(field));
                SetCellState(row, column, GetCellState(row, column) & ~CellStateSelected);
                largestRow = std::max(largestRow, row);
                largestColumn = std::max(largestColumn, column);
            }
            ++columnOffset;
        }
        ++rowOffset;
    }
    if (select) {
        SelectCellBlock(target.row, target.column, largestRow, largestColumn, true, true);
    } else {
        ClearSelection();
        RepaintGrid();
    }
    return true;
}

bool CGridCtrl::OnUpdateEditSelectAll() const { return selectionEnabled_; }
bool CGridCtrl::OnUpdateEditCopy() const { return !selection_.empty(); }
bool CGridCtrl::OnUpdateEditCut() const { return editingEnabled_ && !selection_.empty(); }

bool CGridCtrl::OnUpdateEditPaste() const {
    const CGridCellBase* cell = CellAt(focus_.row, focus_.column);
    return cell != nullptr && editingEnabled_ && !cell->TestReadOnly() &&
           desktop().clipboard().isAvailable(host::ui::CF_TEXT);
}

std::uint32_t CGridCtrl::HandleDragEnter(const host::ui::DataObject&, unsigned, host::ui::Point) {
    return host::ui::DROPEFFECT_NONE;
}

std::uint32_t CGridCtrl::HandleDragOver(const host::ui::DataObject&, unsigned, host::ui::Point) {
    return host::ui::DROPEFFECT_NONE;
}

bool CGridCtrl::HandleDrop(const host::ui::DataObject&, std::uint32_t, host::ui::Point) {
    mouseMode_ = MouseNothing;
    return false;
}
