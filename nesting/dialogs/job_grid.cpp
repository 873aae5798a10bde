// The table control of the job dialog's pages: clicks and typing a script gives by value.
#include "nesting/dialogs/job_grid.h"

#include <string>

#include "host/sys/number_text.h"
#include "host/ui/dialog_driver.h"
#include "nesting/grid/grid_cell_combo.h"

namespace {

std::string_view NextWord(std::string_view& text) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        text = {};
        return {};
    }
    text.remove_prefix(start);
    const std::size_t end = std::min(text.find(' '), text.size());
    const std::string_view word = text.substr(0, end);
    text.remove_prefix(end);
    if (!text.empty()) text.remove_prefix(1);
    return word;
}

}  // namespace

bool JobGrid::ClickCell(int row, int column) {
    if (row < 0 || column < 0 || row >= RowTotal() || column >= ColumnTotal()) return false;
    StopFocusEdit();
    MoveFocusToCell(row, column);
    SelectCellBlock(row, column, row, column, true, true);
    NotifyOwner(row, column, GridClickCode);
    return true;
}

bool JobGrid::TypeIntoCell(int row, int column, std::string_view text) {
    // The headings and the row numbers are the grid's own: no text goes into them.
    if (row < FixedRowTotal() || column < FixedColumnTotal()) return false;
    if (!ClickCell(row, column) || !IsCellEditable(row, column)) return false;
    SetCellTextChecked(row, column, text);
    PaintCellNow(row, column);
    return true;
}

bool JobGrid::TakeValue(std::string_view value) {
    // Rows of data only: the heading row is no row to pick or to write.
    const auto row = host::sys::parseInteger(NextWord(value), FixedRowTotal(), RowTotal() - 1);
    const auto column = host::sys::parseInteger(NextWord(value), 0, ColumnTotal() - 1);
    if (!row.ok() || !column.ok()) return false;
    // A text in double quotes is typed as it stands, "" empties the cell; no text at all only clicks it.
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    if (quoted) value = value.substr(1, value.size() - 2);
    if (value.empty() && !quoted) return ClickCell(static_cast<int>(row.value), static_cast<int>(column.value));
    return TypeIntoCell(static_cast<int>(row.value), static_cast<int>(column.value), value);
}

void JobGrid::DescribeTable(host::ui::DriverTable& table) const {
    table.cells.assign(static_cast<std::size_t>(RowTotal()), {});
    for (int r = 0; r < RowTotal(); ++r)
        for (int c = 0; c < ColumnTotal(); ++c) table.cells[static_cast<std::size_t>(r)].push_back(GetCellText(r, c));
    table.headingRows = FixedRowTotal();
    table.numberColumns = FixedColumnTotal();
    table.hidden.clear();
    for (int c = 0; c < ColumnTotal(); ++c) table.hidden.push_back(ColumnPixelWidth(c) <= 0);
    // A column's choices are those of its first choice cell: the dialogs give every cell of a column one list.
    table.choices.assign(static_cast<std::size_t>(ColumnTotal()), {});
    for (int c = 0; c < ColumnTotal(); ++c) {
        for (int r = FixedRowTotal(); r < RowTotal(); ++r) {
            const auto* combo = dynamic_cast<const CGridCellCombo*>(CellAt(r, c));
            if (combo == nullptr) continue;
            table.choices[static_cast<std::size_t>(c)] = combo->ChoiceList();
            break;
        }
    }
}

std::intptr_t JobGrid::windowProc(host::ui::Message& m) {
    if (m.id == host::ui::WM_DRIVER_SETVALUE) {
        const auto* text = host::ui::pointerFromParam<const std::string>(m.l);
        return text && TakeValue(*text) ? 1 : 0;
    }
    if (m.id == host::ui::WM_DRIVER_GETTABLE) {
        auto* table = host::ui::pointerFromParam<host::ui::DriverTable>(m.l);
        if (!table) return 0;
        DescribeTable(*table);
        return 1;
    }
    return CGridCtrl::windowProc(m);
}
