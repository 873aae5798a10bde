// Combo boxes: items and the current one, the edit child and the list window, dropping and closing the list,
// keys and mouse, focus coming in and going out, painting; and the list window itself.
//
// Index of this file: [SECTION] Parts and geometry, Items, Selection, The dropped list, Focus and the edit,
// Painting, Messages, ComboList.
#include "host/ui/combo_box.h"

#include <algorithm>
#include <memory>

#include "host/ui/control_support.h"
#include "host/ui/desktop.h"
#include "host/ui/edit.h"

namespace host::ui {

namespace {

int toInt(std::uintptr_t w) { return static_cast<int>(static_cast<std::intptr_t>(w)); }

// A dropped list keeps a one-pixel border round its items.
constexpr int kListBorder = 1;

}  // namespace

ComboBox::ComboBox() = default;
ComboBox::~ComboBox() = default;

int ComboBox::comboType() const {
    const std::uint32_t type = style() & CBS_DROPDOWNLIST;
    return type == 0 ? static_cast<int>(CBS_SIMPLE) : static_cast<int>(type);
}

// [SECTION] Parts and geometry

Edit* ComboBox::edit() const { return hasEdit() ? dynamic_cast<Edit*>(child(kComboEditId)) : nullptr; }

Window* ComboBox::listWindow() const {
    if (comboType() == CBS_SIMPLE) {
        for (Window* c : children())
            if (dynamic_cast<ComboList*>(c)) return c;
        return nullptr;
    }
    for (Window* w : desktop().topLevelWindows())
        if (dynamic_cast<ComboList*>(w) && w->owner() == this) return w;
    return nullptr;
}

int ComboBox::itemHeight() const {
    return listItemHeight_ > 0 ? listItemHeight_ : std::max(1, controlLineHeight(*this));
}

int ComboBox::fieldHeight() const {
    const int item = fieldItemHeight_ > 0 ? fieldItemHeight_ : std::max(1, controlLineHeight(*this));
    return item + 2 * (kFieldEdge + kFieldPadding);
}

Rect ComboBox::fieldRect() const { return {0, 0, clientRect().width(), fieldHeight()}; }

Rect ComboBox::buttonRect() const {
    if (comboType() == CBS_SIMPLE) return {};
    const int width = clientRect().width();
    return {width - kFieldEdge - desktop().systemMetric(SM_CXVSCROLL), kFieldEdge, width - kFieldEdge,
            fieldHeight() - kFieldEdge};
}

int ComboBox::droppedItemCount() const {
    int rows = (droppedHeight_ - fieldHeight()) / itemHeight();
    if (rows < 1) rows = kMaxDroppedItems;
    return std::max(1, std::min(count(), rows));
}

Rect ComboBox::droppedRect() const {
    const Rect combo = windowRect();
    const int width = std::max(droppedWidth_, combo.width());
    const int height = droppedItemCount() * itemHeight() + 2 * kListBorder;
    int top = combo.bottom;
    // Below the combo, or above it when the screen ends first.
    if (top + height > desktop().screenSize().height && combo.top - height >= 0) top = combo.top - height;
    return Rect::fromSize(combo.left, top, width, height);
}

void ComboBox::createParts() {
    Desktop& d = desktop();
    const Rect client = clientRect();
    if (hasEdit() && !edit()) {
        std::uint32_t editStyle = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
        if (style() & CBS_UPPERCASE) editStyle |= ES_UPPERCASE;
        if (style() & CBS_LOWERCASE) editStyle |= ES_LOWERCASE;
        d.createWindow(kEditClass, storedText(), editStyle, Rect{0, 0, client.width(), fieldHeight()}, this,
                       kComboEditId);
    }
    if (!listWindow()) {
        auto list = std::make_unique<ComboList>();
        bool made = false;
        if (comboType() == CBS_SIMPLE) {
            made = list->create(kComboListClass, "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL,
                                Rect{0, fieldHeight(), client.width(), std::max(fieldHeight(), client.bottom)}, this);
        } else {
            made = list->create(kComboListClass, "", WS_POPUP | WS_BORDER, droppedRect(), this, 0,
                                WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
            if (made) list->setOwner(this);
        }
        if (made) {
            list->ownsItself_ = true;
            static_cast<void>(list.release());  // the list deletes itself when its window ends
        }
    }
}

void ComboBox::layoutParts() {
    const Rect client = clientRect();
    if (Edit* e = edit()) {
        const int right = comboType() == CBS_SIMPLE ? client.width() - kFieldEdge : buttonRect().left;
        e->move(Rect{kFieldEdge + kFieldPadding, kFieldEdge + kFieldPadding, right - kFieldPadding,
                     fieldHeight() - kFieldEdge - kFieldPadding});
    }
    if (comboType() == CBS_SIMPLE) {
        if (Window* list = listWindow())
            list->move(Rect{0, fieldHeight(), client.width(), std::max(fieldHeight(), client.bottom)});
    }
}

// [SECTION] Items

int ComboBox::addString(std::string_view text) {
    const int index = items_.add(text, (style() & CBS_SORT) != 0);
    if (current_ >= index) ++current_;
    if (hot_ >= index) ++hot_;
    if (Window* list = listWindow()) list->invalidate();
    return index;
}

int ComboBox::insertString(int index, std::string_view text) {
    if (index < -1 || index > count()) return CB_ERR;
    index = items_.insert(index, text);
    if (current_ >= index) ++current_;
    if (hot_ >= index) ++hot_;
    if (Window* list = listWindow()) list->invalidate();
    return index;
}

int ComboBox::deleteString(int index) {
    if (!items_.remove(index)) return CB_ERR;
    auto follow = [index](int& i) {
        if (i > index) --i;
        else if (i == index) i = -1;
    };
    follow(current_);
    follow(hot_);
    setTop(top_);
    syncStoredText();
    invalidate(false);
    if (Window* list = listWindow()) list->invalidate();
    return count();
}

void ComboBox::resetContent() {
    items_.clear();
    current_ = hot_ = -1;
    top_ = 0;
    setEditText("", false);
    syncStoredText();
    invalidate(false);
    if (Window* list = listWindow()) list->invalidate();
}

std::string ComboBox::itemText(int index) const { return items_.valid(index) ? items_[index].text : std::string(); }
std::intptr_t ComboBox::itemData(int index) const { return items_.valid(index) ? items_[index].data : CB_ERR; }

bool ComboBox::setItemData(int index, std::intptr_t data) {
    if (!items_.valid(index)) return false;
    items_[index].data = data;
    return true;
}

// [SECTION] Selection

void ComboBox::setEditText(const std::string& text, bool selectAll) {
    Edit* e = edit();
    if (!e) return;
    settingEdit_ = true;
    e->setText(text);
    if (selectAll) e->setSel(0, -1);
    settingEdit_ = false;
}

// The window's stored text follows what WM_GETTEXT answers, for whoever reads it directly.
std::string ComboBox::shownText() const {
    if (!hasEdit()) return itemText(current_);
    return edit() ? edit()->text() : storedText();
}

void ComboBox::syncStoredText() {
    if (!exists()) return;
    const std::string shown = shownText();
    if (shown == storedText()) return;
    Message m{this, WM_SETTEXT, 0, lParamFromPointer(shown.c_str())};
    Window::defaultProc(m);
}

int ComboBox::setCurrentSelection(int index) {
    if (index != -1 && !items_.valid(index)) return CB_ERR;
    current_ = hot_ = index;
    scrollToItem(index);
    setEditText(index >= 0 ? items_[index].text : std::string(), edit() && edit()->hasFocus());
    syncStoredText();
    invalidate(false);
    if (Window* list = listWindow()) list->invalidate(false);
    return index >= 0 ? index : CB_ERR;
}

int ComboBox::selectString(int start, std::string_view prefix) {
    const int found = items_.findPrefix(start, prefix);
    if (found < 0) return CB_ERR;
    setCurrentSelection(found);
    return found;
}

bool ComboBox::selectExactText(std::string_view text) {
    const int found = items_.findText(text);
    if (found < 0) return false;
    setCurrentSelection(found);
    return true;
}

void ComboBox::chooseByUser(int index) {
    if (!items_.valid(index)) return;
    setHot(index);
    scrollToItem(index);
    if (index == current_) return;
    current_ = index;
    setEditText(items_[index].text, true);
    syncStoredText();
    invalidate(false);
    notifyCommand(*this, CBN_SELCHANGE);
}

void ComboBox::chooseFromList(int index) {
    chooseByUser(index);
    if (dropped_) closeUp(true);
}

// [SECTION] The dropped list

void ComboBox::setHot(int index) {
    if (index == hot_) return;
    hot_ = index;
    if (Window* list = listWindow()) list->invalidate(false);
}

int ComboBox::visibleRows() const {
    if (comboType() == CBS_SIMPLE)
        if (Window* list = listWindow()) return std::max(1, list->clientRect().height() / itemHeight());
    return droppedItemCount();
}

void ComboBox::scrollToItem(int index) {
    if (!items_.valid(index)) return;
    if (index < top_) setTop(index);
    else if (index >= top_ + visibleRows()) setTop(index - visibleRows() + 1);
}

void ComboBox::setTop(int index) {
    Window* list = listWindow();
    const int rows = visibleRows();
    top_ = std::clamp(index, 0, std::max(0, count() - rows));
    if (!list) return;
    if (list->style() & WS_VSCROLL) {
        ScrollInfo info{SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, std::max(0, count() - 1),
                        static_cast<unsigned>(rows), top_, 0};
        list->setScrollInfo(SB_VERT, info);
    }
    list->invalidate(false);
}

void ComboBox::showDropDown(bool show) {
    if (!show) {
        closeUp(false);
        return;
    }
    if (dropped_ || comboType() == CBS_SIMPLE || !exists()) return;
    notifyCommand(*this, CBN_DROPDOWN);
    if (!exists() || dropped_) return;
    createParts();
    Window* list = listWindow();
    if (!list) return;
    hot_ = current_;
    list->modifyStyle(WS_VSCROLL, count() > droppedItemCount() ? WS_VSCROLL : 0);
    list->setWindowPos(ZOrder::Topmost, droppedRect(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    dropped_ = true;
    setTop(top_);
    scrollToItem(hot_);
    list->setCapture();
    invalidate(false);
}

void ComboBox::closeUp(bool accept) {
    if (!dropped_ || closing_) return;
    closing_ = true;
    dropped_ = false;
    if (Window* list = listWindow()) {
        if (list->hasCapture()) desktop().releaseCapture();
        list->show(SW_HIDE);
    }
    invalidate(false);
    notifyCommand(*this, accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
    notifyCommand(*this, CBN_CLOSEUP);
    closing_ = false;
}

bool ComboBox::handleKey(unsigned vk, bool alt) {
    const bool simple = comboType() == CBS_SIMPLE;
    if ((alt && (vk == VK_DOWN || vk == VK_UP)) || vk == VK_F4) {
        if (simple) return false;
        if (dropped_) closeUp(false);
        else showDropDown(true);
        return true;
    }
    if (dropped_ && vk == VK_RETURN) {
        if (items_.valid(hot_)) chooseFromList(hot_);
        else closeUp(true);
        return true;
    }
    if (dropped_ && vk == VK_ESCAPE) {
        closeUp(false);
        return true;
    }
    const int base = dropped_ ? hot_ : current_;
    const int page = std::max(1, droppedItemCount() - 1);
    switch (vk) {
    case VK_UP: chooseByUser(base < 0 ? 0 : std::max(0, base - 1)); return true;
    case VK_DOWN: chooseByUser(base < 0 ? 0 : std::min(count() - 1, base + 1)); return true;
    case VK_PRIOR: chooseByUser(std::max(0, base - page)); return true;
    case VK_NEXT: chooseByUser(std::min(count() - 1, std::max(0, base) + page)); return true;
    case VK_HOME:
        if (hasEdit()) return false;  // the edit's own key
        chooseByUser(0);
        return true;
    case VK_END:
        if (hasEdit()) return false;
        chooseByUser(count() - 1);
        return true;
    default: return false;
    }
}

// [SECTION] Focus and the edit

void ComboBox::focusCame() {
    if (focusInside_) return;
    focusInside_ = true;
    if (Edit* e = edit()) e->setSel(0, -1);
    invalidate(false);
    notifyCommand(*this, CBN_SETFOCUS);
}

void ComboBox::focusLeft(Window* newFocus) {
    if (newFocus && (newFocus == this || newFocus == edit() || newFocus == listWindow())) return;
    if (!focusInside_) return;
    focusInside_ = false;
    closeUp(false);
    invalidate(false);
    notifyCommand(*this, CBN_KILLFOCUS);
}

void ComboBox::editChanged() {
    syncStoredText();
    if (dropped_) {
        const int match = items_.findPrefix(-1, edit() ? edit()->text() : std::string());
        if (match >= 0) {
            setHot(match);
            scrollToItem(match);
        }
    }
    notifyCommand(*this, CBN_EDITCHANGE);
}

void ComboBox::preSubclassWindow() {
    current_ = hot_ = -1;
    top_ = 0;
    dropped_ = false;
    droppedHeight_ = 0;
    Window* focus = desktop().focus();
    focusInside_ = focus && (focus == this || focus == edit());
    createParts();
    layoutParts();
}

// [SECTION] Painting

void ComboBox::drawItem(DC& dc, int index, const Rect& r, bool highlighted) {
    Desktop& d = desktop();
    if (highlighted) dc.fillSolidRect(r, d.sysColor(COLOR_HIGHLIGHT));
    if (!items_.valid(index)) return;
    dc.selectFont(font());
    dc.setBkMode(TRANSPARENT);
    dc.setTextColor(d.sysColor(highlighted ? COLOR_HIGHLIGHTTEXT : (isEnabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT)));
    dc.drawText(items_[index].text, Rect{r.left + kTextMargin, r.top, r.right, r.bottom},
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void ComboBox::paint() {
    PaintDC dc(*this);
    Rect field = fieldRect();
    dc.fillRect(field, controlBrush(*this, dc, WM_CTLCOLOREDIT, COLOR_WINDOW));
    dc.drawEdge(field, EDGE_SUNKEN, BF_RECT);
    if (comboType() != CBS_SIMPLE)
        dc.drawFrameControl(buttonRect(), DFC_SCROLL,
                            DFCS_SCROLLCOMBOBOX | (dropped_ ? DFCS_PUSHED : 0) | (isEnabled() ? 0 : DFCS_INACTIVE));
    if (comboType() != CBS_DROPDOWNLIST) return;
    const int inset = kFieldEdge + kFieldPadding;
    const Rect text{inset, inset, buttonRect().left - kFieldPadding, fieldHeight() - inset};
    const bool showFocus = hasFocus() && !dropped_;
    drawItem(dc, current_, text, showFocus);
    if (showFocus) dc.drawFocusRect(text);
}

// [SECTION] Messages

bool ComboBox::preTranslateMessage(Message& m) {
    if ((m.id == WM_KEYDOWN || m.id == WM_SYSKEYDOWN) && (m.window == this || (m.window && m.window == edit()))) {
        const bool alt = m.id == WM_SYSKEYDOWN || desktop().isKeyDown(VK_MENU);
        if (handleKey(static_cast<unsigned>(m.w), alt)) return true;
    }
    return Window::preTranslateMessage(m);
}

std::intptr_t ComboBox::windowProc(Message& m) {
    const int w = toInt(m.w);
    switch (m.id) {
    case WM_CREATE: {
        const std::intptr_t result = Window::windowProc(m);
        // WS_VSCROLL and WS_HSCROLL on a combo ask for bars on its list, which has them as its items need: the
        // combo's own window shows none.
        if (style() & (WS_VSCROLL | WS_HSCROLL)) modifyStyle(WS_VSCROLL | WS_HSCROLL, 0);
        droppedHeight_ = rectInParent().height();
        if (comboType() != CBS_SIMPLE) {
            const Rect r = rectInParent();
            move(Rect::fromSize(r.left, r.top, r.width(), fieldHeight()));
        }
        createParts();
        layoutParts();
        return result;
    }
    case WM_SIZE:
        if (comboType() != CBS_SIMPLE && clientRect().height() != fieldHeight() && !dropped_) {
            // A new height is the field and the list together, as at creation.
            droppedHeight_ = clientRect().height();
            const Rect r = rectInParent();
            move(Rect::fromSize(r.left, r.top, r.width(), fieldHeight()));
            return 0;
        }
        layoutParts();
        invalidate(false);
        return 0;
    case WM_DESTROY:
        dropped_ = false;
        if (comboType() != CBS_SIMPLE)
            if (Window* list = listWindow()) list->destroy();
        return Window::windowProc(m);
    case WM_SETFONT: {
        const std::intptr_t result = Window::windowProc(m);
        if (Edit* e = edit()) e->send(WM_SETFONT, m.w, m.l);
        if (Window* list = listWindow()) list->send(WM_SETFONT, m.w, m.l);
        const Rect r = rectInParent();
        if (comboType() != CBS_SIMPLE) move(Rect::fromSize(r.left, r.top, r.width(), fieldHeight()));
        layoutParts();
        invalidate();
        return result;
    }
    case WM_SETTEXT: {
        const char* p = pointerFromParam<const char>(m.l);
        const std::string text = p ? p : "";
        if (!hasEdit()) return selectExactText(text) ? 1 : CB_ERR;
        setEditText(text, false);
        current_ = hot_ = items_.findText(text);
        syncStoredText();
        invalidate(false);
        return 1;
    }
    case WM_GETTEXT: {
        auto* out = pointerFromParam<std::string>(m.l);
        if (!out) return 0;
        *out = shownText();
        if (m.w != 0 && out->size() > m.w) out->resize(m.w);
        return static_cast<std::intptr_t>(out->size());
    }
    case WM_GETTEXTLENGTH: return static_cast<std::intptr_t>(shownText().size());
    case WM_ENABLE: invalidate(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: paint(); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
        if (Edit* e = edit()) {
            e->setFocus();
            return 0;
        }
        focusCame();
        return 0;
    case WM_KILLFOCUS:
        focusLeft(pointerFromParam<Window>(m.w));
        invalidate(false);
        return 0;
    case WM_COMMAND: {
        Edit* e = edit();
        if (!e || pointerFromParam<Window>(m.l) != e) return Window::windowProc(m);
        switch (hiWord(m.w)) {
        case EN_SETFOCUS: focusCame(); break;
        case EN_KILLFOCUS: focusLeft(desktop().focus()); break;
        case EN_UPDATE:
            if (!settingEdit_) notifyCommand(*this, CBN_EDITUPDATE);
            break;
        case EN_CHANGE:
            if (!settingEdit_) editChanged();
            break;
        default: break;
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (comboType() == CBS_SIMPLE) return 0;
        const bool onButton = buttonRect().contains(pointFromLParam(m.l));
        if (comboType() == CBS_DROPDOWN && !onButton) return 0;
        Window* target = hasEdit() ? static_cast<Window*>(edit()) : this;
        if (target && !target->hasFocus()) {
            target->setFocus();
            if (!target->hasFocus()) return 0;  // a kill-focus check elsewhere kept the focus: the click is over
        }
        if (dropped_) closeUp(false);
        else showDropDown(true);
        return 0;
    }
    case WM_CHAR: {
        const char32_t c = static_cast<char32_t>(m.w);
        // A character sent to an editable combo is typed into its edit.
        if (Edit* e = edit()) return e->send(WM_CHAR, m.w, m.l);
        if (hasEdit() || c <= U' ') return 0;
        const int found = items_.findPrefix(current_, toUtf8(std::u32string(1, c)));
        if (found >= 0) chooseByUser(found);
        return 0;
    }
    case CB_ADDSTRING: {
        const char* text = pointerFromParam<const char>(m.l);
        return addString(text ? text : "");
    }
    case CB_INSERTSTRING: {
        const char* text = pointerFromParam<const char>(m.l);
        return insertString(w, text ? text : "");
    }
    case CB_DELETESTRING: return deleteString(w);
    case CB_RESETCONTENT: resetContent(); return CB_OKAY;
    case CB_GETCOUNT: return count();
    case CB_GETCURSEL: return current_ >= 0 ? current_ : CB_ERR;
    case CB_SETCURSEL: return setCurrentSelection(w);
    case CB_GETLBTEXT: {
        auto* out = pointerFromParam<std::string>(m.l);
        if (!out || !items_.valid(w)) return CB_ERR;
        *out = items_[w].text;
        return static_cast<std::intptr_t>(out->size());
    }
    case CB_GETLBTEXTLEN: return items_.valid(w) ? static_cast<std::intptr_t>(items_[w].text.size()) : CB_ERR;
    case CB_GETITEMDATA: return itemData(w);
    case CB_SETITEMDATA: return setItemData(w, m.l) ? CB_OKAY : CB_ERR;
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT: {
        const char* text = pointerFromParam<const char>(m.l);
        const int found = m.id == CB_FINDSTRING ? items_.findPrefix(w, text ? text : "")
                                                : items_.findExact(w, text ? text : "");
        return found >= 0 ? found : CB_ERR;
    }
    case CB_SELECTSTRING: {
        const char* text = pointerFromParam<const char>(m.l);
        return selectString(w, text ? text : "");
    }
    case CB_SHOWDROPDOWN: showDropDown(m.w != 0); return 1;
    case CB_GETDROPPEDSTATE: return dropped_ ? 1 : 0;
    case CB_GETDROPPEDCONTROLRECT:
        if (auto* out = pointerFromParam<Rect>(m.l)) *out = droppedRect();
        return 1;
    case CB_SETITEMHEIGHT: {
        const int height = static_cast<int>(m.l);
        if (height <= 0) return CB_ERR;
        if (w == -1) {
            fieldItemHeight_ = height;
            const Rect r = rectInParent();
            if (comboType() != CBS_SIMPLE) move(Rect::fromSize(r.left, r.top, r.width(), fieldHeight()));
            layoutParts();
        } else {
            listItemHeight_ = height;
        }
        invalidate();
        return CB_OKAY;
    }
    case CB_GETITEMHEIGHT:
        return w == -1 ? fieldHeight() - 2 * (kFieldEdge + kFieldPadding) : itemHeight();
    case CB_SETDROPPEDWIDTH:
        droppedWidth_ = std::max(0, w);
        return std::max(droppedWidth_, windowRect().width());
    case CB_GETDROPPEDWIDTH: return std::max(droppedWidth_, windowRect().width());
    case CB_SETHORIZONTALEXTENT: horizontalExtent_ = std::max(0, w); return 0;
    case CB_GETHORIZONTALEXTENT: return horizontalExtent_;
    case CB_GETTOPINDEX: return top_;
    case CB_SETTOPINDEX:
        if (!items_.valid(w)) return CB_ERR;
        setTop(w);
        return CB_OKAY;
    case CB_LIMITTEXT:
        if (Edit* e = edit()) e->send(EM_LIMITTEXT, m.w);
        return 1;
    case CB_GETEDITSEL:
        if (Edit* e = edit()) return e->send(EM_GETSEL, m.w, m.l);
        return CB_ERR;
    case CB_SETEDITSEL:
        if (Edit* e = edit()) {
            e->setSel(static_cast<std::int16_t>(loWord(m.l)), static_cast<std::int16_t>(hiWord(m.l)));
            return 1;
        }
        return CB_ERR;
    default: return Window::windowProc(m);
    }
}

// [SECTION] ComboList

ComboList::ComboList() = default;
ComboList::~ComboList() = default;

void ComboList::postNcDestroy() {
    if (ownsItself_) delete this;
}

ComboBox* ComboList::combo() const { return dynamic_cast<ComboBox*>(isPopup() ? owner() : parent()); }

int ComboList::itemFromPoint(Point client) const {
    const ComboBox* c = combo();
    if (!c || !clientRect().contains(client)) return -1;
    const int index = c->top_ + client.y / c->itemHeight();
    return c->items_.valid(index) ? index : -1;
}

void ComboList::paint() {
    PaintDC dc(*this);
    const Rect client = clientRect();
    dc.fillSolidRect(client, desktop().sysColor(COLOR_WINDOW));
    ComboBox* c = combo();
    if (!c) return;
    const int height = c->itemHeight();
    const int last = std::min(c->count(), c->top_ + client.height() / height + 1);
    for (int i = c->top_; i < last; ++i)
        c->drawItem(dc, i, Rect::fromSize(0, (i - c->top_) * height, client.width(), height), i == c->hot_);
}

// With the capture, a press on the popup's own scroll bar arrives outside the client area: an arrow scrolls a
// line, the rest of the bar a page towards the press.
void ComboList::scrollBarClick(Point client) {
    ComboBox* c = combo();
    if (!c || client.x < clientRect().right) return;
    const int arrow = desktop().systemMetric(SM_CYVSCROLL);
    const int height = clientRect().height();
    const int page = std::max(1, c->droppedItemCount());
    if (client.y < arrow) c->setTop(c->top_ - 1);
    else if (client.y >= height - arrow) c->setTop(c->top_ + 1);
    else c->setTop(c->top_ + (client.y < height / 2 ? -page : page));
}

std::intptr_t ComboList::windowProc(Message& m) {
    ComboBox* c = combo();
    switch (m.id) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: paint(); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (!c) return 0;
        const Point p = pointFromLParam(m.l);
        if (isPopup()) {
            if (!clientRect().contains(p)) {
                if (windowRect().contains(clientToScreen(p))) scrollBarClick(p);
                else c->closeUp(false);  // a press anywhere else closes the list and goes no further
                return 0;
            }
            c->setHot(itemFromPoint(p));
            return 0;
        }
        Window* target = c->edit() ? static_cast<Window*>(c->edit()) : c;
        if (!target->hasFocus()) {
            target->setFocus();
            if (!target->hasFocus()) return 0;
        }
        const int index = itemFromPoint(p);
        if (index < 0) return 0;
        c->chooseFromList(index);
        if (m.id == WM_LBUTTONDBLCLK) notifyCommand(*c, CBN_DBLCLK);
        return 0;
    }
    case WM_MOUSEMOVE: {
        const Point p = pointFromLParam(m.l);
        if (c && isPopup() && c->dropped_ && clientRect().contains(p)) c->setHot(itemFromPoint(p));
        return 0;
    }
    case WM_LBUTTONUP: {
        const Point p = pointFromLParam(m.l);
        const int index = itemFromPoint(p);
        if (c && isPopup() && c->dropped_ && index >= 0) c->chooseFromList(index);
        return 0;
    }
    case WM_CAPTURECHANGED:
        // Someone else took the mouse (a message box, say): the list closes as if cancelled.
        if (c && isPopup() && c->dropped_ && !c->closing_) c->closeUp(false);
        return 0;
    case WM_MOUSEWHEEL:
        if (c) {
            const unsigned perNotch = desktop().system().wheelScrollLines();
            const int lines = perNotch == WHEEL_PAGESCROLL ? c->droppedItemCount() : static_cast<int>(perNotch);
            c->setTop(c->top_ - wheelDeltaOf(m.w) * lines / WHEEL_DELTA);
        }
        return 0;
    case WM_VSCROLL: {
        if (!c || m.l != 0) return Window::windowProc(m);
        const int page = std::max(1, clientRect().height() / c->itemHeight());
        switch (loWord(m.w)) {
        case SB_LINEUP: c->setTop(c->top_ - 1); break;
        case SB_LINEDOWN: c->setTop(c->top_ + 1); break;
        case SB_PAGEUP: c->setTop(c->top_ - page); break;
        case SB_PAGEDOWN: c->setTop(c->top_ + page); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: c->setTop(hiWord(m.w)); break;
        case SB_TOP: c->setTop(0); break;
        case SB_BOTTOM: c->setTop(c->count()); break;
        default: break;
        }
        return 0;
    }
    case WM_SIZE:
        if (c && !isPopup()) c->setTop(c->top_);
        return 0;
    default: return Window::windowProc(m);
    }
}

}  // namespace host::ui
