// The grid's scroll bars and the messages that change its layout: the bars' ranges from the table's size,
// scrolling by lines, pages and the thumb in whole rows and columns, resizing, fonts and system colours.
#include <algorithm>

#include "host/ui/desktop.h"
#include "nesting/grid/grid_ctrl.h"

using host::ui::Rect;
using host::ui::ScrollInfo;

namespace {

// Set while a size change is handled: the scroll-bar changes it makes resize the window again.
bool sizeHandlingUnderWay = false;

constexpr unsigned kHorizontalBar = 1;
constexpr unsigned kVerticalBar = 2;

}  // namespace

void CGridCtrl::RecalcScrollBars() {
    ForgetTopLeft();
    if (!redrawAllowed_ || !exists()) return;
    Rect r = clientRect();
    if (r.isEmpty()) return;

    // The client area as it would be without the bars the grid shows (on this host a bar takes exactly its
    // metric, with no border beside it).
    const int barWidth = desktop().systemMetric(host::ui::SM_CXVSCROLL);
    const int barHeight = desktop().systemMetric(host::ui::SM_CYHSCROLL);
    if ((shownBars_ & kVerticalBar) != 0) r.right += barWidth;
    if ((shownBars_ & kHorizontalBar) != 0) r.bottom += barHeight;

    const int fixedHeight = FixedRowsHeight();
    const int fixedWidth = FixedColumnsWidth();
    if (r.left + fixedWidth >= r.right || r.top + fixedHeight >= r.bottom) {
        enableScrollBarCtrl(host::ui::SB_BOTH, false);
        return;
    }

    const int rowsToShow = TotalRowsHeight() - fixedHeight;
    const int columnsToShow = TotalColumnsWidth() - fixedWidth;
    if (r.bottom - fixedHeight < rowsToShow) r.right -= barWidth;
    const int width = r.right - fixedWidth;
    if (width < columnsToShow) r.bottom -= barHeight;

    if (r.bottom - fixedHeight < rowsToShow) {
        if ((shownBars_ & kVerticalBar) == 0) {
            shownBars_ |= kVerticalBar;
            enableScrollBarCtrl(host::ui::SB_VERT, true);
        }
        verticalMaximum_ = rowsToShow - 1;
    } else {
        verticalMaximum_ = 0;
        if ((shownBars_ & kVerticalBar) != 0) {
            shownBars_ &= ~kVerticalBar;
            enableScrollBarCtrl(host::ui::SB_VERT, false);
        }
    }
    if (width < columnsToShow) {
        if ((shownBars_ & kHorizontalBar) == 0) {
            shownBars_ |= kHorizontalBar;
            enableScrollBarCtrl(host::ui::SB_HORZ, true);
        }
        horizontalMaximum_ = columnsToShow - 1;
    } else {
        horizontalMaximum_ = 0;
        if ((shownBars_ & kHorizontalBar) != 0) {
            shownBars_ &= ~kHorizontalBar;
            enableScrollBarCtrl(host::ui::SB_HORZ, false);
        }
    }

    ScrollInfo horizontal;
    horizontal.mask = host::ui::SIF_RANGE | host::ui::SIF_PAGE;
    horizontal.min = 0;
    horizontal.max = horizontalMaximum_;
    horizontal.page = horizontalMaximum_ > 0 ? static_cast<unsigned>(width) : 0;
    setScrollInfo(host::ui::SB_HORZ, horizontal, true);
    ScrollInfo vertical;
    vertical.mask = host::ui::SIF_RANGE | host::ui::SIF_PAGE | host::ui::SIF_DISABLENOSCROLL;
    vertical.min = 0;
    vertical.max = verticalMaximum_;
    vertical.page = verticalMaximum_ > 0 ? static_cast<unsigned>(r.bottom - fixedHeight) : 0;
    setScrollInfo(host::ui::SB_VERT, vertical, true);
    ForgetTopLeft();
}

void CGridCtrl::SetScrollPosition(int bar, int position) {
    ForgetTopLeft();
    ScrollInfo info;
    info.mask = host::ui::SIF_POS;
    info.pos = position;
    setScrollInfo(bar, info, true);
}

void CGridCtrl::OnHScroll(int code) { ScrollLine(host::ui::SB_HORZ, code); }
void CGridCtrl::OnVScroll(int code) { ScrollLine(host::ui::SB_VERT, code); }

// One scroll message for either bar; the comments name the horizontal codes, the vertical ones share their
// values (SB_LINEUP = SB_LINELEFT, ...). Only the non-fixed part is invalidated: the headings never move.
void CGridCtrl::ScrollLine(int bar, int code) {
    StopFocusEdit();
    tipWindow_.HideTip();

    const bool horizontal = bar == host::ui::SB_HORZ;
    ScrollInfo info;
    info.mask = host::ui::SIF_POS;
    const int position = getScrollInfo(bar, info) ? info.pos : 0;
    const CellRef topLeft = TopLeftNonFixedCell();
    const Rect client = clientRect();
    if (code > host::ui::SB_RIGHT) return;

    const std::vector<int>& sizes = horizontal ? columnWidths_ : rowHeights_;
    const int count = horizontal ? columnCount_ : rowCount_;
    const int fixedCount = horizontal ? fixedColumnCount_ : fixedRowCount_;
    const int first = horizontal ? topLeft.column : topLeft.row;
    const int maximum = horizontal ? horizontalMaximum_ : verticalMaximum_;
    const int headings = horizontal ? FixedColumnsWidth() : FixedRowsHeight();
    const int page = horizontal ? client.right - headings : client.bottom - headings;
    const Rect scrolled = horizontal ? Rect{headings, 0, client.right, client.bottom}
                                     : Rect{0, headings, client.right, client.bottom};

    int newPosition = position;
    switch (code) {
    case host::ui::SB_LINELEFT: {
        if (position < 1 || first <= fixedCount) return;
        int i = std::min(first, count) - 1;
        while (i > fixedCount && sizes[i] == 0) --i;
        newPosition = std::max(0, position - sizes[i]);
        break;
    }
    case host::ui::SB_LINERIGHT: {
        if (position >= maximum) return;
        int i = first;
        while (i < count - 1 && sizes[i] == 0) ++i;
        if (i < fixedCount || i >= count) return;
        SetScrollPosition(bar, position + sizes[i]);
        if (scrollPos(bar) != position) invalidateRect(scrolled, true);
        return;
    }
    case host::ui::SB_PAGELEFT:
        if (position < 1) return;
        newPosition = std::max(0, position - page);
        break;
    case host::ui::SB_PAGERIGHT:
        if (position >= maximum) return;
        newPosition = std::min(maximum, position + page);
        break;
    case host::ui::SB_THUMBPOSITION:
    case host::ui::SB_THUMBTRACK: {
        ScrollInfo track;
        track.mask = host::ui::SIF_TRACKPOS;
        getScrollInfo(bar, track);
        SetScrollPosition(bar, track.trackPos);
        ForgetTopLeft();
        if (TopLeftNonFixedCell() != topLeft) invalidateRect(scrolled, true);
        return;
    }
    case host::ui::SB_LEFT:
        if (position < 1) return;
        SetScrollPosition(bar, 0);
        invalidate(true);
        return;
    case host::ui::SB_RIGHT:
        if (position >= maximum) return;
        SetScrollPosition(bar, maximum);
        invalidate(true);
        return;
    default: return;
    }
    SetScrollPosition(bar, newPosition);
    invalidateRect(scrolled, true);
}

void CGridCtrl::OnSize(host::ui::Message& m) {
    if (sizeHandlingUnderWay || !exists()) return;
    dropSite_.RegisterWithGrid(this);
    sizeHandlingUnderWay = true;
    StopFocusEdit();
    defaultProc(m);
    RecalcScrollBars();
    sizeHandlingUnderWay = false;
}

void CGridCtrl::OnSetFont(host::ui::Message& m) {
    defaultProc(m);
    const auto* font = host::ui::pointerFromParam<const host::ui::Font>(m.w);
    if (font == nullptr || font->isNull()) return;
    const host::ui::LogFont description = font->logFont();
    for (CGridDefaultCell& t : templates_) t.PutFont(&description);
    if (exists() && redrawAllowed_) invalidate(true);
}

std::intptr_t CGridCtrl::OnGetFont() {
    fontAnswer_ = NormalTemplate().QueryFontObject();
    return fontAnswer_.isNull() ? 0 : host::ui::lParamFromPointer(&fontAnswer_);
}

void CGridCtrl::OnSysColorChange() {
    host::ui::Desktop& d = desktop();
    const host::ui::ColorRef newWindowText = d.sysColor(host::ui::COLOR_WINDOWTEXT);
    const host::ui::ColorRef newWindow = d.sysColor(host::ui::COLOR_WINDOW);
    // Normal, fixed row, fixed column, corner.
    for (CGridDefaultCell* t : {&NormalTemplate(), &FixedRowTemplate(), &FixedColumnTemplate(), &CornerTemplate()}) {
        if (t->QueryTextColour() == windowTextColour_) t->PutTextColour(newWindowText);
        if (t->QueryBackColour() == windowColour_) t->PutBackColour(newWindow);
    }
    if (outsideColour_ == buttonShadowColour_) outsideColour_ = d.sysColor(host::ui::COLOR_BTNSHADOW);
    windowTextColour_ = newWindowText;
    windowColour_ = newWindow;
    buttonFaceColour_ = d.sysColor(host::ui::COLOR_BTNFACE);
    buttonShadowColour_ = d.sysColor(host::ui::COLOR_BTNSHADOW);
}
