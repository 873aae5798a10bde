// List boxes: the item list with its searches, selection by mouse and keys, scrolling and painting.
#include "host/ui/list_box.h"

#include <algorithm>

#include "host/sys/text_case.h"
#include "host/ui/control_support.h"
#include "host/ui/desktop.h"

namespace host::ui {

// [SECTION] ItemList

int ItemList::add(std::string_view text, bool sorted) {
    auto at = items_.end();
    if (sorted)
        at = std::upper_bound(items_.begin(), items_.end(), text, [](std::string_view t, const Item& item) {
            return host::sys::compareNoCase(t, item.text) < 0;
        });
    const auto inserted = items_.insert(at, Item{std::string(text)});
    return static_cast<int>(inserted - items_.begin());
}

int ItemList::insert(int index, std::string_view text) {
    if (index < 0 || index > count()) index = count();
    items_.insert(items_.begin() + index, Item{std::string(text)});
    return index;
}

bool ItemList::remove(int index) {
    if (!valid(index)) return false;
    items_.erase(items_.begin() + index);
    return true;
}

namespace {

template <class Match>
int searchFrom(int start, int count, Match match) {
    if (count == 0) return -1;
    const int first = (start < 0 || start >= count) ? 0 : start + 1;
    for (int k = 0; k < count; ++k) {
        const int i = (first + k) % count;
        if (match(i)) return i;
    }
    return -1;
}

}  // namespace

int ItemList::findPrefix(int start, std::string_view prefix) const {
    if (prefix.empty()) return -1;
    return searchFrom(start, count(), [&](int i) { return startsWithNoCase((*this)[i].text, prefix); });
}

int ItemList::findExact(int start, std::string_view text) const {
    if (text.empty()) return -1;
    return searchFrom(start, count(), [&](int i) { return host::sys::equalsNoCase((*this)[i].text, text); });
}

int ItemList::findText(std::string_view text) const {
    for (int i = 0; i < count(); ++i)
        if ((*this)[i].text == text) return i;
    return findExact(-1, text);
}

// [SECTION] State

ListBox::ListBox() = default;
ListBox::~ListBox() = default;

void ListBox::preSubclassWindow() {
    items_.clear();
    caret_ = anchor_ = -1;
    top_ = 0;
    tracking_ = false;
    focused_ = hasFocus();
    scrolls_ = (style() & WS_VSCROLL) != 0;
    updateScrollBars();
}

bool ListBox::isMultiple() const { return (style() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }

int ListBox::addString(std::string_view text) {
    const int index = items_.add(text, (style() & LBS_SORT) != 0);
    if (caret_ >= index) ++caret_;
    if (anchor_ >= index) ++anchor_;
    updateScrollBars();
    invalidate();
    return index;
}

int ListBox::insertString(int index, std::string_view text) {
    if (index < -1 || index > count()) return LB_ERR;
    index = items_.insert(index, text);
    if (caret_ >= index) ++caret_;
    if (anchor_ >= index) ++anchor_;
    updateScrollBars();
    invalidate();
    return index;
}

int ListBox::deleteString(int index) {
    if (!items_.remove(index)) return LB_ERR;
    if (caret_ > index || caret_ >= count()) --caret_;
    if (anchor_ > index || anchor_ >= count()) --anchor_;
    setTopIndex(top_);
    updateScrollBars();
    invalidate();
    return count();
}

void ListBox::resetContent() {
    items_.clear();
    caret_ = anchor_ = -1;
    top_ = 0;
    updateScrollBars();
    invalidate();
}

std::string ListBox::itemText(int index) const { return items_.valid(index) ? items_[index].text : std::string(); }
std::intptr_t ListBox::itemData(int index) const { return items_.valid(index) ? items_[index].data : LB_ERR; }

bool ListBox::setItemData(int index, std::intptr_t data) {
    if (!items_.valid(index)) return false;
    items_[index].data = data;
    return true;
}

int ListBox::currentSelection() const {
    if (isMultiple()) return caret_;
    for (int i = 0; i < count(); ++i)
        if (items_[i].selected) return i;
    return -1;
}

bool ListBox::isSelected(int index) const { return items_.valid(index) && items_[index].selected; }

std::vector<int> ListBox::selectedItems() const {
    std::vector<int> out;
    for (int i = 0; i < count(); ++i)
        if (items_[i].selected) out.push_back(i);
    return out;
}

void ListBox::selectOnly(int index) {
    for (int i = 0; i < count(); ++i) items_[i].selected = i == index;
    invalidate(false);
}

void ListBox::selectRange(int from, int to) {
    if (from < 0) from = to;
    const int lo = std::min(from, to), hi = std::max(from, to);
    for (int i = 0; i < count(); ++i) items_[i].selected = i >= lo && i <= hi;
    invalidate(false);
}

int ListBox::setCurrentSelection(int index) {
    if (isMultiple()) return LB_ERR;
    if (index == -1) {
        selectOnly(-1);
        return LB_ERR;  // as the system answers: no selection is not an index
    }
    if (!items_.valid(index) || (style() & LBS_NOSEL)) return LB_ERR;
    selectOnly(index);
    caret_ = anchor_ = index;
    ensureVisible(index);
    return index;
}

bool ListBox::setSelected(int index, bool on) {
    if (!isMultiple() || (index != -1 && !items_.valid(index))) return false;
    for (int i = 0; i < count(); ++i)
        if (index == -1 || i == index) items_[i].selected = on;
    invalidate(false);
    return true;
}

ListBox::Snapshot ListBox::snapshot() const {
    Snapshot s;
    for (int i = 0; i < count(); ++i) s.selected.push_back(items_[i].selected);
    return s;
}

void ListBox::notifyIfChanged(const Snapshot& before) {
    if (snapshot() != before && (style() & LBS_NOTIFY)) notifyCommand(*this, LBN_SELCHANGE);
}

// [SECTION] Geometry and scrolling

int ListBox::itemHeight() const { return itemHeight_ > 0 ? itemHeight_ : std::max(1, controlLineHeight(*this)); }

void ListBox::setItemHeight(int height) {
    itemHeight_ = std::max(0, height);
    setTopIndex(top_);
    updateScrollBars();
    invalidate();
}

int ListBox::visibleCount() const { return std::max(1, clientRect().height() / itemHeight()); }

Rect ListBox::itemRect(int index) const {
    if (!items_.valid(index)) return {};
    const int h = itemHeight();
    return Rect::fromSize(0, (index - top_) * h, clientRect().width(), h);
}

int ListBox::itemFromPoint(Point client) const {
    if (client.y < 0 || !clientRect().contains({std::max(0, client.x), client.y})) return -1;
    const int index = top_ + client.y / itemHeight();
    return items_.valid(index) ? index : -1;
}

void ListBox::setTopIndex(int index) {
    const int top = std::clamp(index, 0, std::max(0, count() - visibleCount()));
    if (top == top_) return;
    top_ = top;
    updateScrollBars();
    invalidate(false);
}

void ListBox::ensureVisible(int index) {
    if (!items_.valid(index)) return;
    if (index < top_) setTopIndex(index);
    else if (index >= top_ + visibleCount()) setTopIndex(index - visibleCount() + 1);
}

void ListBox::updateScrollBars() {
    if (!exists() || !scrolls_) return;
    const unsigned keep = (style() & LBS_DISABLENOSCROLL) ? SIF_DISABLENOSCROLL : 0;
    ScrollInfo info{SIF_RANGE | SIF_PAGE | SIF_POS | keep, 0, std::max(0, count() - 1),
                    static_cast<unsigned>(visibleCount()), top_, 0};
    setScrollInfo(SB_VERT, info);
}

// [SECTION] Input

void ListBox::press(int index, unsigned keys) {
    if (index < 0 || (style() & LBS_NOSEL)) return;
    if (style() & LBS_MULTIPLESEL) {
        items_[index].selected = !items_[index].selected;
        anchor_ = index;
    } else if (style() & LBS_EXTENDEDSEL) {
        if (keys & MK_CONTROL) {
            items_[index].selected = !items_[index].selected;
            anchor_ = index;
        } else if (keys & MK_SHIFT) {
            selectRange(anchor_, index);
        } else {
            selectOnly(index);
            anchor_ = index;
        }
    } else {
        selectOnly(index);
        anchor_ = index;
    }
    caret_ = index;
    invalidate(false);
}

void ListBox::moveCaret(int to) {
    if (count() == 0) return;
    to = std::clamp(to, 0, count() - 1);
    const Snapshot before = snapshot();
    const bool shift = desktop().isKeyDown(VK_SHIFT), ctrl = desktop().isKeyDown(VK_CONTROL);
    if (!(style() & LBS_NOSEL)) {
        if (!isMultiple()) {
            selectOnly(to);
            anchor_ = to;
        } else if (style() & LBS_EXTENDEDSEL) {
            if (shift) selectRange(anchor_, to);
            else if (!ctrl) {
                selectOnly(to);
                anchor_ = to;
            }
        }
    }
    caret_ = to;
    ensureVisible(to);
    invalidate(false);
    notifyIfChanged(before);
}

// [SECTION] Painting

void ListBox::paint() {
    PaintDC dc(*this);
    const Rect client = clientRect();
    dc.fillRect(client, controlBrush(*this, dc, WM_CTLCOLORLISTBOX, COLOR_WINDOW));
    const ColorRef normalText = isEnabled() ? dc.textColor() : desktop().sysColor(COLOR_GRAYTEXT);
    dc.selectFont(font());
    dc.setBkMode(TRANSPARENT);
    unsigned format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (style() & LBS_USETABSTOPS) format |= DT_EXPANDTABS;
    const int last = std::min(count(), top_ + visibleCount() + 1);
    for (int i = top_; i < last; ++i) {
        const Rect r = itemRect(i);
        if (items_[i].selected) {
            dc.fillSolidRect(r, desktop().sysColor(COLOR_HIGHLIGHT));
            dc.setTextColor(desktop().sysColor(COLOR_HIGHLIGHTTEXT));
        } else {
            dc.setTextColor(normalText);
        }
        dc.drawText(items_[i].text, Rect{r.left + kTextMargin, r.top, r.right, r.bottom}, format);
    }
    if (focused_) {
        const int at = items_.valid(caret_) ? caret_ : top_;
        dc.drawFocusRect(Rect::fromSize(0, (at - top_) * itemHeight(), client.width(), itemHeight()));
    }
}

// [SECTION] Messages

std::intptr_t ListBox::windowProc(Message& m) {
    const int w = static_cast<int>(static_cast<std::intptr_t>(m.w));
    switch (m.id) {
    case LB_ADDSTRING: {
        const char* text = pointerFromParam<const char>(m.l);
        return addString(text ? text : "");
    }
    case LB_INSERTSTRING: {
        const char* text = pointerFromParam<const char>(m.l);
        return insertString(w, text ? text : "");
    }
    case LB_DELETESTRING: return deleteString(w);
    case LB_RESETCONTENT: resetContent(); return 0;
    case LB_GETCOUNT: return count();
    case LB_GETTEXT: {
        auto* out = pointerFromParam<std::string>(m.l);
        if (!out || !items_.valid(w)) return LB_ERR;
        *out = items_[w].text;
        return static_cast<std::intptr_t>(out->size());
    }
    case LB_GETTEXTLEN: return items_.valid(w) ? static_cast<std::intptr_t>(items_[w].text.size()) : LB_ERR;
    case LB_GETITEMDATA: return items_.valid(w) ? items_[w].data : LB_ERR;
    case LB_SETITEMDATA: return setItemData(w, m.l) ? 0 : LB_ERR;
    case LB_SETCURSEL: return setCurrentSelection(w);
    case LB_GETCURSEL: {
        const int sel = currentSelection();
        return sel >= 0 ? sel : LB_ERR;
    }
    case LB_SETSEL: return setSelected(static_cast<int>(m.l), m.w != 0) ? 0 : LB_ERR;
    case LB_GETSEL: return items_.valid(w) ? (items_[w].selected ? 1 : 0) : LB_ERR;
    case LB_GETSELCOUNT: return isMultiple() ? static_cast<std::intptr_t>(selectedItems().size()) : LB_ERR;
    case LB_GETSELITEMS: {
        if (!isMultiple()) return LB_ERR;
        auto* out = pointerFromParam<int>(m.l);
        const std::vector<int> sel = selectedItems();
        const std::size_t n = std::min(sel.size(), static_cast<std::size_t>(std::max(0, w)));
        for (std::size_t i = 0; out && i < n; ++i) out[i] = sel[i];
        return static_cast<std::intptr_t>(out ? n : 0);
    }
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
    case LB_SELECTSTRING: {
        const char* text = pointerFromParam<const char>(m.l);
        const int found = m.id == LB_FINDSTRINGEXACT ? items_.findExact(w, text ? text : "")
                                                     : items_.findPrefix(w, text ? text : "");
        if (found < 0) return LB_ERR;
        if (m.id == LB_SELECTSTRING) {
            if (isMultiple()) return LB_ERR;
            setCurrentSelection(found);
        }
        return found;
    }
    case LB_GETTOPINDEX: return top_;
    case LB_SETTOPINDEX:
        if (!items_.valid(w) && !(w == 0 && count() == 0)) return LB_ERR;
        setTopIndex(w);
        return 0;
    case LB_GETITEMRECT: {
        auto* out = pointerFromParam<Rect>(m.l);
        if (!out || !items_.valid(w)) return LB_ERR;
        *out = itemRect(w);
        return 1;
    }
    case LB_SETCARETINDEX:
        if (!items_.valid(w)) return LB_ERR;
        caret_ = w;
        ensureVisible(w);
        invalidate(false);
        return 0;
    case LB_GETCARETINDEX: return caret_;
    case LB_SETITEMHEIGHT: setItemHeight(static_cast<int>(m.l)); return 0;
    case LB_GETITEMHEIGHT: return itemHeight();
    case LB_ITEMFROMPOINT: {
        const Point p = pointFromLParam(m.l);
        const int index = top_ + std::max(0, p.y) / itemHeight();
        if (count() == 0) return makeLParam(0, 1);
        return makeLParam(std::min(index, count() - 1), index >= count() ? 1 : 0);
    }
    case LB_GETHORIZONTALEXTENT:
    case LB_SETHORIZONTALEXTENT: return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_CREATE: {
        const std::intptr_t result = Window::windowProc(m);
        scrolls_ = (style() & WS_VSCROLL) != 0;
        updateScrollBars();
        return result;
    }
    case WM_SIZE:
        setTopIndex(top_);
        updateScrollBars();
        invalidate(false);
        return 0;
    case WM_SETFONT: {
        const std::intptr_t result = Window::windowProc(m);
        setTopIndex(top_);
        updateScrollBars();
        invalidate();
        return result;
    }
    case WM_ENABLE: invalidate(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: paint(); return 0;
    case WM_SETFOCUS:
        focused_ = true;
        invalidate(false);
        if (style() & LBS_NOTIFY) notifyCommand(*this, LBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        focused_ = false;
        invalidate(false);
        if (style() & LBS_NOTIFY) notifyCommand(*this, LBN_KILLFOCUS);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (!hasFocus()) {
            setFocus();
            if (!hasFocus()) return 0;  // a kill-focus check elsewhere kept the focus: the click is over
        }
        const int index = itemFromPoint(pointFromLParam(m.l));
        if (m.id == WM_LBUTTONDBLCLK) {
            const Snapshot before = snapshot();
            if (!(style() & LBS_MULTIPLESEL)) press(index, static_cast<unsigned>(m.w));
            notifyIfChanged(before);
            if (index >= 0 && (style() & LBS_NOTIFY)) notifyCommand(*this, LBN_DBLCLK);
            return 0;
        }
        beforePress_ = snapshot();
        press(index, static_cast<unsigned>(m.w));
        tracking_ = true;
        setCapture();
        return 0;
    }
    case WM_MOUSEMOVE: {
        if (!tracking_ || (style() & (LBS_MULTIPLESEL | LBS_NOSEL)) || (m.w & MK_CONTROL)) return 0;
        const Point p = pointFromLParam(m.l);
        const int index = std::clamp(top_ + (p.y < 0 ? -1 : p.y / itemHeight()), 0, count() - 1);
        if (count() == 0 || index == caret_) return 0;
        if (style() & LBS_EXTENDEDSEL) selectRange(anchor_, index);
        else selectOnly(index);
        caret_ = index;
        ensureVisible(index);
        return 0;
    }
    case WM_LBUTTONUP:
        if (tracking_) {
            tracking_ = false;
            if (hasCapture()) desktop().releaseCapture();
            notifyIfChanged(beforePress_);
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (tracking_) {
            tracking_ = false;
            notifyIfChanged(beforePress_);
        }
        return 0;
    case WM_KEYDOWN: {
        const int start = caret_ < 0 ? 0 : caret_;
        switch (m.w) {
        case VK_UP: moveCaret(caret_ < 0 ? 0 : start - 1); return 0;
        case VK_DOWN: moveCaret(caret_ < 0 ? 0 : start + 1); return 0;
        case VK_PRIOR: moveCaret(start - (visibleCount() - 1)); return 0;
        case VK_NEXT: moveCaret(start + (visibleCount() - 1)); return 0;
        case VK_HOME: moveCaret(0); return 0;
        case VK_END: moveCaret(count() - 1); return 0;
        case VK_SPACE:
            if (isMultiple() && items_.valid(caret_) && !(style() & LBS_NOSEL)) {
                const Snapshot before = snapshot();
                if ((style() & LBS_MULTIPLESEL) || desktop().isKeyDown(VK_CONTROL))
                    items_[caret_].selected = !items_[caret_].selected;
                else
                    selectOnly(caret_);
                anchor_ = caret_;
                invalidate(false);
                notifyIfChanged(before);
            }
            return 0;
        default: return Window::windowProc(m);
        }
    }
    case WM_CHAR: {
        const char32_t c = static_cast<char32_t>(m.w);
        if (c <= U' ') return 0;
        const int found = items_.findPrefix(caret_, toUtf8(std::u32string(1, c)));
        if (found >= 0) moveCaret(found);
        return 0;
    }
    case WM_VSCROLL: {
        if (m.l != 0) return Window::windowProc(m);
        switch (loWord(m.w)) {
        case SB_LINEUP: setTopIndex(top_ - 1); break;
        case SB_LINEDOWN: setTopIndex(top_ + 1); break;
        case SB_PAGEUP: setTopIndex(top_ - visibleCount()); break;
        case SB_PAGEDOWN: setTopIndex(top_ + visibleCount()); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: setTopIndex(hiWord(m.w)); break;
        case SB_TOP: setTopIndex(0); break;
        case SB_BOTTOM: setTopIndex(count()); break;
        default: break;
        }
        return 0;
    }
    case WM_MOUSEWHEEL: {
        const unsigned perNotch = desktop().system().wheelScrollLines();
        const int lines = perNotch == WHEEL_PAGESCROLL ? visibleCount() : static_cast<int>(perNotch);
        setTopIndex(top_ - wheelDeltaOf(m.w) * lines / WHEEL_DELTA);
        return 0;
    }
    default: return Window::windowProc(m);
    }
}

}  // namespace host::ui
