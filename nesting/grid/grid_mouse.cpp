// The grid under the mouse: presses, drags with auto-scroll, releases, double and right clicks, the cursor, and
// the title tip over cells whose text is cut off.
//
// One left click on an ordinary cell, as the owner sees it:
//   press     GridSelectionChangingCode (pressed cell); the cell becomes the focus cell and the selection
//   release   GridSelectionChangedCode (focus cell), GridClickCode (pressed cell); then a posted WM_COMMAND
//             (BN_CLICKED, the grid's id)
// A press on the focus cell's text starts no selection: its release opens the editor instead (no GridClickCode);
// when the pointer moves before the release the press is abandoned, and the release clears selection and focus.
#include <algorithm>

#include "host/ui/desktop.h"
#include "nesting/grid/grid_ctrl.h"

using host::ui::Point;
using host::ui::Rect;

// [SECTION] Helpers

Point CGridCtrl::PointInCell(CellRef cell, Point client) {
    Point topLeft;
    if (!CellTopLeft(cell.row, cell.column, topLeft)) return Point{};
    return client - topLeft;
}

bool CGridCtrl::PointInCellText(CellRef cell, Point client) {
    CGridCellBase* c = CellAt(cell.row, cell.column);
    Rect rect;
    if (c == nullptr || !CellRectOf(cell.row, cell.column, rect) || !c->ComputeTextRect(rect)) return false;
    // The rectangle's edges belong to the cell.
    return client.x >= rect.left && client.x <= rect.right && client.y >= rect.top && client.y <= rect.bottom;
}

int CGridCtrl::NextVisibleColumn(int column, int direction) const {
    for (int c = column + direction; c >= fixedColumnCount_ && c < columnCount_; c += direction)
        if (columnWidths_[c] > 0) return c;
    return -1;
}

int CGridCtrl::NextVisibleRow(int row, int direction) const {
    for (int r = row + direction; r >= fixedRowCount_ && r < rowCount_; r += direction)
        if (rowHeights_[r] > 0) return r;
    return -1;
}

int CGridCtrl::FirstVisibleColumn() const {
    const int c = NextVisibleColumn(fixedColumnCount_ - 1, +1);
    return c >= 0 ? c : fixedColumnCount_;
}

int CGridCtrl::LastVisibleColumn() const {
    const int c = NextVisibleColumn(columnCount_, -1);
    return c >= 0 ? c : columnCount_ - 1;
}

void CGridCtrl::StopAutoScroll() {
    if (autoScrollTimer_ != 0) killTimer(autoScrollTimer_);
    autoScrollTimer_ = 0;
}

// [SECTION] Left button

void CGridCtrl::OnLButtonDown(unsigned flags, Point point) {
    setFocus();
    leftButtonDown_ = true;
    leftClickDownPoint_ = point;
    leftClickDown_ = HitTestCell(point, true);
    if (!IsValid(leftClickDown_)) return;

    const bool shift = (flags & host::ui::MK_SHIFT) != 0;
    const bool ctrl = (flags & host::ui::MK_CONTROL) != 0;
    if (!shift)
        selectionStart_ = leftClickDown_;
    else if (!IsValid(selectionStart_))
        selectionStart_ = focus_;

    StopFocusEdit();
    const CellRef pressed = leftClickDown_;
    if (CGridCellBase* cell = CellAt(pressed.row, pressed.column)) cell->LeftPressHook(PointInCell(pressed, point));

    if (pressed == focus_ && !ctrl && PointInCellText(pressed, point) && IsCellEditable(pressed)) {
        mouseMode_ = MousePrepareEdit;
        return;
    }
    const bool heading = pressed.row < fixedRowCount_ || pressed.column < fixedColumnCount_;
    if (CellInSelection(pressed.row, pressed.column)) {
        MoveFocus(pressed);
        if (ctrl) {
            SelectCellsTo(pressed, true, false);
            return;
        }
    } else {
        MoveFocus(heading ? CellRef{} : pressed);
    }

    setCapture();
    NotifyOwner(pressed.row, pressed.column, GridSelectionChangingCode);
    previousSelection_.clear();
    if (ctrl) previousSelection_ = selection_;
    if (pressed.row < fixedRowCount_) {
        ColumnHeadingPressed(pressed);
    } else if (pressed.column < fixedColumnCount_) {
        RowHeadingPressed(pressed);
    } else {
        mouseMode_ = MouseSelectCells;
        ExtendSelection(pressed);
        autoScrollTimer_ = setTimer(kAutoScrollTimerId, kAutoScrollInterval);
    }
    lastMousePoint_ = point;
}

void CGridCtrl::OnMouseMove(unsigned, Point point) {
    if (!clientRect().contains(point)) return;

    if (!leftButtonDown_ || mouseMode_ == MouseNothing) {
        if (mouseMode_ != MouseNothing) {
            desktop().setCursor(host::ui::IDC_ARROW);
            mouseMode_ = MouseNothing;
        }
        const CellRef over = HitTestCell(point, true);
        if (CGridCellBase* cell = CellAt(over.row, over.column)) {
            cell->MouseOverHook();
            const std::string tip = cell->QueryTipText();
            Rect cellRect;
            if (tipsEnabled_ && !tip.empty() && !cell->InEditMode() && CellRectOf(over.row, over.column, cellRect)) {
                Rect tipRect = cellRect;
                if (cell->ComputeTipRect(tipRect) && CellRectOf(over.row, over.column, cellRect))
                    tipWindow_.ShowTip(tipRect, tip, 0, &cellRect, cell->QueryFont(), tipTextColour_,
                                       tipBackColour_);
            }
        }
    } else if (IsValid(leftClickDown_)) {
        switch (mouseMode_) {
        case MouseSelectColumns:
        case MouseSelectRows:
        case MouseSelectCells: {
            CellRef over = HitTestCell(point, true);
            if (!IsValid(over)) return;
            if (over != focus_) {
                ExtendSelection(over);
                const bool heading = over.row < fixedRowCount_ || over.column < fixedColumnCount_;
                if (!heading || mouseMode_ == MouseSelectColumns || mouseMode_ == MouseSelectRows) {
                    // Over a row heading the focus goes to the row's first column that shows, not into a
                    // hidden one.
                    if (over.column < fixedColumnCount_) over.column = FirstVisibleColumn();
                    MoveFocus(over);
                }
            }
            break;
        }
        case MousePrepareEdit:
        case MousePressAbandoned:
            mouseMode_ = MousePressAbandoned;
            StartTextDrag();
            break;
        default: break;
        }
    }
    lastMousePoint_ = point;
}

void CGridCtrl::OnTimer(std::uintptr_t id) {
    if (id != kAutoScrollTimerId) return;
    const Point p = screenToClient(desktop().cursorPos());
    const Rect client = clientRect();
    const int fixedHeight = FixedRowsHeight();
    const int fixedWidth = FixedColumnsWidth();
    const int x = std::clamp(p.x, client.left, client.right);
    const int y = std::clamp(p.y, client.top, client.bottom);

    if (p.y > client.bottom) {
        send(host::ui::WM_KEYDOWN, host::ui::VK_DOWN, 0);
        ExtendSelection(HitTestCell({x, client.bottom}, true));
    } else if (p.y < fixedHeight) {
        send(host::ui::WM_KEYDOWN, host::ui::VK_UP, 0);
        ExtendSelection(HitTestCell({x, fixedHeight + 1}, true));
    }
    if (p.x > client.right) {
        send(host::ui::WM_KEYDOWN, host::ui::VK_RIGHT, 0);
        ExtendSelection(HitTestCell({client.right, y}, true));
    } else if (p.x < fixedWidth) {
        send(host::ui::WM_KEYDOWN, host::ui::VK_LEFT, 0);
        ExtendSelection(HitTestCell({fixedWidth + 1, y}, true));
    }
}

void CGridCtrl::OnLButtonUp(host::ui::Message& m) {
    defaultProc(m);
    leftButtonDown_ = false;
    if (hasCapture()) {
        desktop().releaseCapture();
        StopAutoScroll();
    }
    const Point point = host::ui::pointFromLParam(m.l);
    const Point inFocus = PointInCell(focus_, point);
    const CellRef pressed = leftClickDown_;

    switch (mouseMode_) {
    case MousePrepareEdit:
        StartCellEdit(focus_.row, focus_.column, inFocus, host::ui::VK_LBUTTON);
        break;
    case MousePressAbandoned:
        if (CGridCellBase* cell = CellAt(focus_.row, focus_.column)) cell->LeftClickHook(inFocus);
        NotifyOwner(pressed.row, pressed.column, GridClickCode);
        NotifyOwner(pressed.row, pressed.column, GridSelectionChangingCode);
        ClearSelection();
        NotifyOwner(focus_.row, focus_.column, GridSelectionChangedCode);
        break;
    default:
        NotifyOwner(focus_.row, focus_.column, GridSelectionChangedCode);
        if (CGridCellBase* cell = CellAt(focus_.row, focus_.column)) cell->LeftClickHook(inFocus);
        NotifyOwner(pressed.row, pressed.column, GridClickCode);
        break;
    }
    mouseMode_ = MouseNothing;
    desktop().setCursor(host::ui::IDC_ARROW);

    if (IsValid(pressed) && exists())
        if (host::ui::Window* receiver = ownerOrParent())
            receiver->post(host::ui::WM_COMMAND, host::ui::makeWParam(id(), host::ui::BN_CLICKED),
                           host::ui::lParamFromPointer(this));
}

void CGridCtrl::OnLButtonDblClk(host::ui::Message& m) {
    const Point point = host::ui::pointFromLParam(m.l);
    const CellRef cell = HitTestCell(point, true);
    CGridCellBase* c = CellAt(cell.row, cell.column);
    if (c == nullptr) {
        defaultProc(m);
        return;
    }
    const Point inCell = PointInCell(cell, point);
    if (cell.row >= fixedRowCount_ && cell.column >= fixedColumnCount_ && IsValid(leftClickDown_) &&
        PointInCellText(cell, point))
        StartCellEdit(cell.row, cell.column, inCell, host::ui::VK_LBUTTON);
    if (CGridCellBase* again = CellAt(cell.row, cell.column)) again->DoubleClickHook(inCell);
    NotifyOwner(cell.row, cell.column, GridDoubleClickCode);
    defaultProc(m);
}

// [SECTION] Right button, cursor, capture

void CGridCtrl::OnRButtonUp(host::ui::Message& m) {
    defaultProc(m);
    const Point point = host::ui::pointFromLParam(m.l);
    const CellRef cell = HitTestCell(point, true);
    StopFocusEdit();
    if (!IsValid(cell)) {
        NotifyOwner(-1, -1, GridRightClickCode);
        return;
    }
    MoveFocus(CellRef{});
    // A right click on a row heading puts the focus in the row's first column that shows.
    const int column = cell.column < fixedColumnCount_ ? FirstVisibleColumn() : cell.column;
    MoveFocus(CellRef{std::max(cell.row, fixedRowCount_), column});
    if (CGridCellBase* c = CellAt(cell.row, cell.column)) c->RightClickHook(PointInCell(cell, point));
    NotifyOwner(cell.row, cell.column, GridRightClickCode);
}

bool CGridCtrl::OnSetCursor(host::ui::Message& m) {
    if (host::ui::loWord(m.l) != host::ui::HTCLIENT) return defaultProc(m) != 0;
    const Point point = screenToClient(desktop().currentMessage().point);
    const CellRef cell = HitTestCell(point, true);
    if (CGridCellBase* c = CellAt(cell.row, cell.column))
        c->CursorHook();
    else
        desktop().setCursor(host::ui::IDC_ARROW);
    return true;
}

void CGridCtrl::OnCaptureChanged(host::ui::Window* taking) {
    if (taking != this) StopAutoScroll();
}
