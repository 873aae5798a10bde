// Where the cells lie in the grid's client area: heading sizes, the first non-fixed cell shown, the visible
// range, cell rectangles, hit testing, visibility, and scrolling a cell into view.
//
// The scroll position is a pixel offset into the non-fixed part; the first non-fixed row (column) shown is the
// first whose top (left) edge, measured from the end of the headings, is at or past the offset. Rows and
// columns of size 0 are hidden: they take no room and are stepped over.
#include <algorithm>

#include "host/ui/desktop.h"
#include "nesting/grid/grid_ctrl.h"

using host::ui::Point;
using host::ui::Rect;

namespace {

// The first index from `start` whose running sum of sizes reaches `position`, never past the last index; the
// start itself when the position is 0 or nothing follows it.
int FirstReaching(const std::vector<int>& sizes, int start, int position) {
    const int count = static_cast<int>(sizes.size());
    int index = start;
    int running = 0;
    while (position > 0) {
        // With no non-fixed rows the start is already past the last one; stopping "at or past" it keeps the walk
        // inside the table when a dialog's own scroll bar gives a position there.
        if (index >= count - 1) break;
        running += sizes[index];
        ++index;
        if (running >= position) break;
    }
    return index;
}

int SumOf(const std::vector<int>& sizes, int from, int to) {
    int sum = 0;
    for (int i = std::max(from, 0); i < to && i < static_cast<int>(sizes.size()); ++i) sum += sizes[i];
    return sum;
}

}  // namespace

int CGridCtrl::FixedRowsHeight() const { return SumOf(rowHeights_, 0, fixedRowCount_); }
int CGridCtrl::FixedColumnsWidth() const { return SumOf(columnWidths_, 0, fixedColumnCount_); }
int CGridCtrl::TotalRowsHeight() const { return SumOf(rowHeights_, 0, rowCount_); }
int CGridCtrl::TotalColumnsWidth() const { return SumOf(columnWidths_, 0, columnCount_); }

CellRef CGridCtrl::TopLeftNonFixedCell(bool recompute) {
    if (topLeftCache_.row >= 0 && topLeftCache_.column >= 0 && !recompute) return topLeftCache_;
    const int vertical = exists() ? scrollPos(host::ui::SB_VERT) : 0;
    const int horizontal = exists() ? scrollPos(host::ui::SB_HORZ) : 0;
    topLeftCache_.column = FirstReaching(columnWidths_, fixedColumnCount_, horizontal);
    topLeftCache_.row = FirstReaching(rowHeights_, fixedRowCount_, vertical);
    return topLeftCache_;
}

CellBlock CGridCtrl::VisibleNonFixedRange(Rect* rect, bool recompute) {
    const Rect client = exists() ? clientRect() : Rect{};
    const CellRef topLeft = TopLeftNonFixedCell(recompute);

    int bottom = FixedRowsHeight();
    int lastRow = rowCount_ - 1;
    for (int r = topLeft.row; r < rowCount_; ++r) {
        bottom += rowHeights_[r];
        if (bottom >= client.bottom) {
            lastRow = r;
            bottom = client.bottom;
            break;
        }
    }
    int right = FixedColumnsWidth();
    int lastColumn = columnCount_ - 1;
    for (int c = topLeft.column; c < columnCount_; ++c) {
        right += columnWidths_[c];
        if (right >= client.right) {
            lastColumn = c;
            right = client.right;
            break;
        }
    }
    if (rect != nullptr) *rect = Rect{0, 0, right, bottom};
    return CellBlock{topLeft.row, topLeft.column, lastRow, lastColumn};
}

bool CGridCtrl::CellTopLeft(int row, int column, Point& point) {
    if (!IsValid(CellRef{row, column})) return false;
    const bool fixedRow = row < fixedRowCount_;
    const bool fixedColumn = column < fixedColumnCount_;
    CellRef topLeft{};
    if (!fixedRow || !fixedColumn) {
        topLeft = TopLeftNonFixedCell();
        if (!fixedRow && row < topLeft.row) return false;
        if (!fixedColumn && column < topLeft.column) return false;
    }
    point.x = fixedColumn ? SumOf(columnWidths_, 0, column)
                          : FixedColumnsWidth() + SumOf(columnWidths_, topLeft.column, column);
    point.y = fixedRow ? SumOf(rowHeights_, 0, row) : FixedRowsHeight() + SumOf(rowHeights_, topLeft.row, row);
    return true;
}

bool CGridCtrl::CellRectOf(int row, int column, Rect& rect) {
    Point topLeft;
    if (!CellTopLeft(row, column, topLeft)) return false;
    rect = Rect{topLeft.x, topLeft.y, topLeft.x + columnWidths_[column] - 1, topLeft.y + rowHeights_[row] - 1};
    return true;
}

CellRef CGridCtrl::HitTestCell(Point point, bool allowFixed) {
    const CellRef topLeft = TopLeftNonFixedCell();
    if (!allowFixed && !IsValid(topLeft)) return CellRef{};

    auto find = [allowFixed](const std::vector<int>& sizes, int fixedCount, int first, int at) {
        const int headings = SumOf(sizes, 0, fixedCount);
        if (at < 0) return -1;
        if (at < headings) {
            if (!allowFixed) return -1;
            int running = 0;
            for (int i = 0; i < fixedCount; ++i) {
                running += sizes[i];
                if (at < running) return i;
            }
            return -1;
        }
        int running = headings;
        for (int i = first; i < static_cast<int>(sizes.size()); ++i) {
            running += sizes[i];
            if (running > at) return i;
        }
        return -1;
    };
    return CellRef{find(rowHeights_, fixedRowCount_, topLeft.row, point.y),
                   find(columnWidths_, fixedColumnCount_, topLeft.column, point.x)};
}

bool CGridCtrl::IsCellVisible(int row, int column) {
    if (!exists() || !IsValid(CellRef{row, column})) return false;
    const CellRef topLeft = TopLeftNonFixedCell();
    const bool fixedRow = row < fixedRowCount_;
    const bool fixedColumn = column < fixedColumnCount_;
    if (!fixedRow && row < topLeft.row) return false;
    if (!fixedColumn && column < topLeft.column) return false;
    const Rect client = clientRect();
    const int left = fixedColumn ? SumOf(columnWidths_, 0, column)
                                 : FixedColumnsWidth() + SumOf(columnWidths_, topLeft.column, column);
    if (left >= client.right) return false;
    const int top = fixedRow ? SumOf(rowHeights_, 0, row) : FixedRowsHeight() + SumOf(rowHeights_, topLeft.row, row);
    return top < client.bottom;
}

void CGridCtrl::EnsureCellVisible(int row, int column) {
    if (!redrawAllowed_ || !exists() || !IsValid(CellRef{row, column})) return;
    host::ui::Window* focused = desktop().focus();

    const CellBlock visible = VisibleNonFixedRange();
    for (int c = visible.maxColumn + 1; c <= column; ++c)
        if (columnWidths_[c] > 0) send(host::ui::WM_HSCROLL, host::ui::SB_LINERIGHT, 0);
    for (int c = visible.minColumn - 1; c >= column && c >= fixedColumnCount_; --c)
        if (columnWidths_[c] > 0) send(host::ui::WM_HSCROLL, host::ui::SB_LINELEFT, 0);
    for (int r = visible.maxRow + 1; r <= row; ++r)
        if (rowHeights_[r] > 0) send(host::ui::WM_VSCROLL, host::ui::SB_LINEDOWN, 0);
    for (int r = visible.minRow - 1; r >= row && r >= fixedRowCount_; --r)
        if (rowHeights_[r] > 0) send(host::ui::WM_VSCROLL, host::ui::SB_LINEUP, 0);

    // A cell cut off at the right or bottom: scroll a line at a time until it shows or its left (top) edge
    // reaches the headings. A line scroll that cannot move (the position is at its end) stops the loop, which
    // otherwise would never end.
    const Rect client = clientRect();
    Rect cell;
    if (CellRectOf(row, column, cell)) {
        while (cell.right >= client.right && cell.left > FixedColumnsWidth() && (shownBars_ & 1) != 0) {
            const int before = scrollPos(host::ui::SB_HORZ);
            send(host::ui::WM_HSCROLL, host::ui::SB_LINERIGHT, 0);
            if (scrollPos(host::ui::SB_HORZ) == before || !CellRectOf(row, column, cell)) break;
        }
        if (CellRectOf(row, column, cell)) {
            while (cell.bottom >= client.bottom && cell.top > FixedRowsHeight() && (shownBars_ & 2) != 0) {
                const int before = scrollPos(host::ui::SB_VERT);
                send(host::ui::WM_VSCROLL, host::ui::SB_LINEDOWN, 0);
                if (scrollPos(host::ui::SB_VERT) == before || !CellRectOf(row, column, cell)) break;
            }
        }
    }
    if (focused != nullptr && desktop().isWindow(focused) && desktop().focus() != focused) desktop().setFocus(focused);
}
