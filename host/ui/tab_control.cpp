// The tab control: items, the current tab, the user's choice with its notifications, geometry and painting.
#include "host/ui/tab_control.h"

#include <algorithm>

#include "host/ui/control_support.h"
#include "host/ui/desktop.h"
#include "host/ui/text_layout.h"

namespace host::ui {

TabControl::TabControl() = default;
TabControl::~TabControl() = default;

int TabControl::insertItem(int index, const TabItem& item) {
    if (index < 0) return -1;
    index = std::min(index, itemCount());
    TabItem stored;
    stored.mask = item.mask;
    if (item.mask & TCIF_TEXT) stored.text = item.text;
    if (item.mask & TCIF_IMAGE) stored.image = item.image;
    if (item.mask & TCIF_PARAM) stored.param = item.param;
    items_.insert(items_.begin() + index, std::move(stored));
    // The first tab becomes current; a tab inserted before the current one moves it along.
    if (current_ < 0) current_ = 0;
    else if (index <= current_ && itemCount() > 1) ++current_;
    invalidate();
    return index;
}

bool TabControl::deleteItem(int index) {
    if (index < 0 || index >= itemCount()) return false;
    items_.erase(items_.begin() + index);
    if (index < current_) --current_;
    else if (index == current_) current_ = -1;  // no tab is current until one is chosen
    invalidate();
    return true;
}

void TabControl::deleteAllItems() {
    items_.clear();
    current_ = -1;
    invalidate();
}

const TabItem* TabControl::item(int index) const {
    if (index < 0 || index >= itemCount()) return nullptr;
    return &items_[static_cast<std::size_t>(index)];
}

bool TabControl::setItem(int index, const TabItem& item) {
    if (index < 0 || index >= itemCount()) return false;
    TabItem& stored = items_[static_cast<std::size_t>(index)];
    if (item.mask & TCIF_TEXT) stored.text = item.text;
    if (item.mask & TCIF_IMAGE) stored.image = item.image;
    if (item.mask & TCIF_PARAM) stored.param = item.param;
    stored.mask |= item.mask;
    invalidate();
    return true;
}

int TabControl::setCurrentSelection(int index) {
    if (index < 0 || index >= itemCount()) return -1;
    const int previous = current_;
    if (index != current_) {
        current_ = index;
        invalidate();
    }
    return previous;
}

bool TabControl::chooseTab(int index) {
    if (index < 0 || index >= itemCount()) return false;
    if (index == current_) return true;
    NotifyHeader changing;
    if (notifyOwner(*this, changing, TCN_SELCHANGING) != 0 || !exists()) return false;
    setCurrentSelection(index);
    NotifyHeader changed;
    notifyOwner(*this, changed, TCN_SELCHANGE);
    return exists() && current_ == index;
}

// [SECTION] Geometry

int TabControl::rowHeight() const { return controlLineHeight(*this) + 2 * kRowPadding; }

Rect TabControl::itemRect(int index) const {
    if (index < 0 || index >= itemCount()) return {};
    auto widthOf = [this](const TabItem& t) { return controlTextWidth(*this, stripPrefix(t.text)) + 2 * kTabPadding; };
    int fixed = 0;
    if (style() & TCS_FIXEDWIDTH)
        for (const TabItem& t : items_) fixed = std::max(fixed, widthOf(t));
    int x = kRowIndent;
    for (int i = 0; i < index; ++i) x += fixed ? fixed : widthOf(items_[static_cast<std::size_t>(i)]);
    const int width = fixed ? fixed : widthOf(items_[static_cast<std::size_t>(index)]);
    return {x, kSelectedGrowth, x + width, rowHeight()};
}

int TabControl::hitTest(Point client) const {
    // The current tab stands out over its neighbours, so it is tried first.
    if (current_ >= 0 && itemRect(current_).inflatedBy(kSelectedGrowth, kSelectedGrowth).contains(client))
        return current_;
    for (int i = 0; i < itemCount(); ++i)
        if (itemRect(i).contains(client)) return i;
    return -1;
}

Rect TabControl::adjustRect(const Rect& r, bool windowFromPage) const {
    const int top = rowHeight() + kPageInset;
    if (windowFromPage) return {r.left - kPageInset, r.top - top, r.right + kPageInset, r.bottom + kPageInset};
    return {r.left + kPageInset, r.top + top, r.right - kPageInset, r.bottom - kPageInset};
}

// [SECTION] Painting

void TabControl::paint() {
    PaintDC dc(*this);
    Desktop& d = desktop();
    const Rect client = clientRect();
    const Brush face = Brush::solid(d.sysColor(COLOR_BTNFACE));
    dc.fillRect(client, face);
    dc.selectFont(font());
    dc.setBkMode(TRANSPARENT);
    dc.setTextColor(d.sysColor(isEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    const bool buttons = (style() & TCS_BUTTONS) != 0;
    if (!buttons) {
        Rect page{client.left, rowHeight(), client.right, client.bottom};
        dc.drawEdge(page, EDGE_RAISED, BF_RECT);
    }
    const unsigned textFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    for (int i = 0; i < itemCount(); ++i) {
        if (i == current_) continue;  // drawn last, over its neighbours
        Rect r = itemRect(i);
        if (buttons) dc.drawFrameControl(r, DFC_BUTTON, DFCS_BUTTONPUSH);
        else dc.drawEdge(r, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT);
        dc.drawText(items_[static_cast<std::size_t>(i)].text, r, textFormat);
    }
    if (current_ >= 0) {
        Rect r = itemRect(current_);
        if (buttons) {
            dc.drawFrameControl(r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
        } else {
            // The current tab is taller and open into the page below it.
            r = Rect{r.left - kSelectedGrowth, 0, r.right + kSelectedGrowth, r.bottom + 1};
            dc.fillRect(r, face);
            dc.drawEdge(r, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT);
        }
        dc.drawText(items_[static_cast<std::size_t>(current_)].text, r, textFormat);
        if (focused_) dc.drawFocusRect(r.inflatedBy(-3, -3));
    }
}

// [SECTION] Messages

std::intptr_t TabControl::windowProc(Message& m) {
    switch (m.id) {
    case TCM_GETITEMCOUNT: return itemCount();
    case TCM_INSERTITEM: {
        const auto* t = pointerFromParam<const TabItem>(m.l);
        return t ? insertItem(static_cast<int>(m.w), *t) : -1;
    }
    case TCM_DELETEITEM: return deleteItem(static_cast<int>(m.w)) ? 1 : 0;
    case TCM_DELETEALLITEMS: deleteAllItems(); return 1;
    case TCM_GETITEM: {
        auto* out = pointerFromParam<TabItem>(m.l);
        const TabItem* t = item(static_cast<int>(m.w));
        if (!out || !t) return 0;
        if (out->mask & TCIF_TEXT) out->text = t->text;
        if (out->mask & TCIF_IMAGE) out->image = t->image;
        if (out->mask & TCIF_PARAM) out->param = t->param;
        return 1;
    }
    case TCM_SETITEM: {
        const auto* t = pointerFromParam<const TabItem>(m.l);
        return t && setItem(static_cast<int>(m.w), *t) ? 1 : 0;
    }
    case TCM_GETCURSEL:
    case TCM_GETCURFOCUS: return current_;
    case TCM_SETCURSEL: return setCurrentSelection(static_cast<int>(static_cast<std::intptr_t>(m.w)));
    case TCM_SETCURFOCUS: chooseTab(static_cast<int>(static_cast<std::intptr_t>(m.w))); return 0;
    case TCM_GETITEMRECT: {
        auto* out = pointerFromParam<Rect>(m.l);
        const Rect r = itemRect(static_cast<int>(m.w));
        if (!out || r.isEmpty()) return 0;
        *out = r;
        return 1;
    }
    case TCM_HITTEST: {
        const auto* hit = pointerFromParam<const TabHitTest>(m.l);
        return hit ? hitTest(hit->point) : -1;
    }
    case TCM_ADJUSTRECT:
        if (auto* r = pointerFromParam<Rect>(m.l)) *r = adjustRect(*r, m.w != 0);
        return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_SETFONT: {
        const std::intptr_t result = Window::windowProc(m);
        invalidate();
        return result;
    }
    case WM_ENABLE: invalidate(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: paint(); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        focused_ = m.id == WM_SETFOCUS;
        invalidate(false);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const int index = hitTest(pointFromLParam(m.l));
        if (!(style() & TCS_FOCUSNEVER) && !hasFocus()) {
            setFocus();
            if (!hasFocus()) return 0;  // a kill-focus check elsewhere kept the focus: the click is over
        }
        if (index >= 0) chooseTab(index);
        return 0;
    }
    case WM_KEYDOWN: {
        TabKeyDown key;
        key.key = static_cast<unsigned>(m.w);
        notifyOwner(*this, key.header, TCN_KEYDOWN);
        if (!exists() || itemCount() == 0) return 0;
        switch (m.w) {
        case VK_LEFT: chooseTab(std::max(0, current_ - 1)); return 0;
        case VK_RIGHT: chooseTab(std::min(itemCount() - 1, current_ + 1)); return 0;
        case VK_HOME: chooseTab(0); return 0;
        case VK_END: chooseTab(itemCount() - 1); return 0;
        default: return Window::windowProc(m);
        }
    }
    default: return Window::windowProc(m);
    }
}

}  // namespace host::ui
