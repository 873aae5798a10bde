// The grid at the keyboard: moving the focus cell (arrows, Tab with wrapping, pages, Home, End), the clipboard
// keys, F2 and typing that open the editor, the wheel, and what the grid asks of a dialog's key routing.
//
// A key that moves the focus cell, as the owner sees it (with no mouse gesture under way):
//   GridSelectionChangingCode (new focus cell), GridSelectionChangedCode (new focus cell); the new cell alone is
//   selected, or with Shift the block from the anchor to it. Tab and Shift+Tab step over hidden columns and wrap
//   to the next (previous) row's first (last) column that shows.
#include <algorithm>

#include "host/ui/desktop.h"
#include "nesting/grid/grid_ctrl.h"

using host::ui::Message;

unsigned CGridCtrl::OnGetDlgCode() const {
    unsigned code = host::ui::DLGC_WANTARROWS | host::ui::DLGC_WANTCHARS;
    if (tabHandling_ && !desktop().isKeyDown(host::ui::VK_CONTROL)) code |= host::ui::DLGC_WANTTAB;
    return code;
}

void CGridCtrl::OnKeyDown(Message& m) {
    if (!IsValid(focus_)) {
        defaultProc(m);
        return;
    }
    const unsigned key = static_cast<unsigned>(m.w);
    const bool ctrl = desktop().isKeyDown(host::ui::VK_CONTROL);
    const bool shift = desktop().isKeyDown(host::ui::VK_SHIFT);

    if (ctrl) {
        switch (key) {
        case host::ui::VK_INSERT:
        case 'C': CopyToClipboard(); break;
        case 'A': SelectEverything(); break;
        case 'V': PasteFromClipboard(); break;
        case 'X': CutToClipboard(); break;
        default: break;
        }
    }
    if (shift && key == host::ui::VK_INSERT) {
        PasteFromClipboard();
        defaultProc(m);
        return;
    }
    // The clipboard keys may have moved or cleared the focus.
    if (!IsValid(focus_)) {
        defaultProc(m);
        return;
    }

    CellRef next = focus_;
    bool wrapped = false;
    bool scrolledHorizontally = false;
    bool scrolledVertically = false;
    const bool tab = key == host::ui::VK_TAB;

    switch (key) {
    case host::ui::VK_DELETE:
        // Delete moves nothing; the owner may even have moved the focus while the cells were cleared.
        ClearSelectedText();
        return;
    case host::ui::VK_DOWN:
        if (const int r = NextVisibleRow(focus_.row, +1); r >= 0) next.row = r;
        break;
    case host::ui::VK_UP:
        if (const int r = NextVisibleRow(focus_.row, -1); r >= 0) next.row = r;
        break;
    case host::ui::VK_RIGHT:
    case host::ui::VK_LEFT:
    case host::ui::VK_TAB: {
        const bool back = key == host::ui::VK_LEFT || (tab && shift);
        if (const int c = NextVisibleColumn(focus_.column, back ? -1 : +1); c >= 0) {
            next.column = c;
        } else if (tab && !back) {
            // Past the last column that shows: the next row's first column that shows.
            if (const int r = NextVisibleRow(focus_.row, +1); r >= 0) {
                next = CellRef{r, FirstVisibleColumn()};
                wrapped = true;
            } else {
                defaultProc(m);
            }
        } else if (tab && back && focus_.row > fixedRowCount_) {
            int r = focus_.row - 1;
            while (r > fixedRowCount_ && rowHeights_[r] == 0) --r;
            next = CellRef{r, LastVisibleColumn()};
            wrapped = true;
        }
        if (tab && back) defaultProc(m);
        break;
    }
    case host::ui::VK_NEXT:
    case host::ui::VK_PRIOR: {
        const bool down = key == host::ui::VK_NEXT;
        const int before = TopLeftNonFixedCell().row;
        send(host::ui::WM_VSCROLL, down ? host::ui::SB_PAGEDOWN : host::ui::SB_PAGEUP, 0);
        scrolledVertically = true;
        const int moved = TopLeftNonFixedCell().row - before;
        if (down)
            next.row = moved != 0 ? std::min(focus_.row + moved, rowCount_ - 1) : rowCount_ - 1;
        else
            next.row = moved != 0 ? std::max(focus_.row + moved, fixedRowCount_) : fixedRowCount_;
        break;
    }
    case host::ui::VK_HOME:
        if (ctrl) {
            send(host::ui::WM_VSCROLL, host::ui::SB_TOP, 0);
            scrolledVertically = true;
            next.row = fixedRowCount_;
        }
        send(host::ui::WM_HSCROLL, host::ui::SB_LEFT, 0);
        scrolledHorizontally = true;
        next.column = FirstVisibleColumn();
        while (next.row < rowCount_ - 1 && rowHeights_[next.row] == 0) ++next.row;
        break;
    case host::ui::VK_END:
        if (ctrl) {
            send(host::ui::WM_VSCROLL, host::ui::SB_BOTTOM, 0);
            scrolledVertically = true;
            next.row = rowCount_ - 1;
        }
        send(host::ui::WM_HSCROLL, host::ui::SB_RIGHT, 0);
        scrolledHorizontally = true;
        next.column = LastVisibleColumn();
        while (next.row > fixedRowCount_ && rowHeights_[next.row] == 0) --next.row;
        break;
    case host::ui::VK_F2:
        StartCellEdit(focus_.row, focus_.column, host::ui::Point{-1, -1}, host::ui::VK_LBUTTON);
        break;
    default:
        defaultProc(m);
        return;
    }

    if (next == focus_ || !IsValid(next)) return;

    if (mouseMode_ == MouseNothing) {
        previousSelection_.clear();
        mouseMode_ = MouseSelectCells;
        if (!shift || tab) selectionStart_ = next;
        NotifyOwner(next.row, next.column, GridSelectionChangingCode);
        ExtendSelection(next);
        NotifyOwner(next.row, next.column, GridSelectionChangedCode);
        mouseMode_ = MouseNothing;
    }
    MoveFocus(next);

    if (!IsCellVisible(next.row, next.column)) {
        switch (key) {
        case host::ui::VK_LEFT:
            send(host::ui::WM_HSCROLL, host::ui::SB_LINELEFT, 0);
            scrolledHorizontally = true;
            break;
        case host::ui::VK_RIGHT:
            send(host::ui::WM_HSCROLL, host::ui::SB_LINERIGHT, 0);
            scrolledHorizontally = true;
            break;
        case host::ui::VK_UP:
            send(host::ui::WM_VSCROLL, host::ui::SB_LINEUP, 0);
            scrolledVertically = true;
            break;
        case host::ui::VK_DOWN:
            send(host::ui::WM_VSCROLL, host::ui::SB_LINEDOWN, 0);
            scrolledVertically = true;
            break;
        case host::ui::VK_TAB:
            if (wrapped) {
                send(host::ui::WM_VSCROLL, shift ? host::ui::SB_LINEUP : host::ui::SB_LINEDOWN, 0);
                SetScrollPosition(host::ui::SB_HORZ, shift ? horizontalMaximum_ : 0);
                scrolledVertically = true;
            } else {
                send(host::ui::WM_HSCROLL, shift ? host::ui::SB_LINELEFT : host::ui::SB_LINERIGHT, 0);
            }
            scrolledHorizontally = true;
            break;
        default: break;
        }
        EnsureCellVisible(next.row, next.column);
        invalidate(true);
    }
    EnsureCellVisible(next.row, next.column);
    if (scrolledHorizontally) send(host::ui::WM_HSCROLL, host::ui::SB_ENDSCROLL, 0);
    if (scrolledVertically) send(host::ui::WM_VSCROLL, host::ui::SB_ENDSCROLL, 0);
}

void CGridCtrl::OnChar(Message& m) {
    const auto character = static_cast<unsigned>(m.w);
    if (!desktop().isKeyDown(host::ui::VK_CONTROL) && mouseMode_ == MouseNothing && character != host::ui::VK_ESCAPE &&
        character != host::ui::VK_TAB)
        StartCellEdit(focus_.row, focus_.column, host::ui::Point{-1, -1}, character);
    defaultProc(m);
}

void CGridCtrl::OnImeChar(unsigned character) {
    if (!desktop().isKeyDown(host::ui::VK_CONTROL) && mouseMode_ == MouseNothing && character != host::ui::VK_ESCAPE)
        StartCellEdit(focus_.row, focus_.column, host::ui::Point{-1, -1}, character);
}

void CGridCtrl::OnMouseWheel(Message& m) {
    const int delta = host::ui::wheelDeltaOf(m.w);
    if (wheelLines_ != static_cast<int>(host::ui::WHEEL_PAGESCROLL)) {
        const int lines = delta * wheelLines_ / host::ui::WHEEL_DELTA;
        for (int i = 0; i < std::abs(lines); ++i)
            post(host::ui::WM_VSCROLL, lines > 0 ? host::ui::SB_LINEUP : host::ui::SB_LINEDOWN, 0);
    } else {
        const int pages = delta / host::ui::WHEEL_DELTA;
        for (int i = 0; i < std::abs(pages); ++i)
            post(host::ui::WM_VSCROLL, pages > 0 ? host::ui::SB_PAGEUP : host::ui::SB_PAGEDOWN, 0);
    }
    defaultProc(m);
}
