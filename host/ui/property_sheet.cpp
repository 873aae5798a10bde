// Property sheets: the sheet's layout from its pages, tabs, page changes, OK, Cancel, Apply and modified marks.
//
// Index: [SECTION] Pages, [SECTION] Layout, [SECTION] Pages shown, [SECTION] Buttons, [SECTION] Messages.
#include "host/ui/property_sheet.h"

#include <algorithm>

#include "host/ui/desktop.h"
#include "host/ui/tab_control.h"

namespace host::ui {

namespace {

// The sheet's layout in pixels: the margin round the tab control and the buttons, the room the tabs take above
// a page and the tab control's border round it, and the buttons' size and gap (the proportions of the system's
// sheets at the default font).
constexpr int kMargin = 7;
constexpr int kTabRowHeight = 24;
constexpr int kTabBorder = 4;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;

// The style bits of a page's own template that a page inside a sheet cannot have.
constexpr std::uint32_t kTopLevelStyles =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME | DS_CENTER | WS_VISIBLE;

Size pagePixels(const DialogTemplate& t, Desktop& d) {
    const LogFont font = t.font ? *t.font : d.system().messageFont();
    const Size base = dialogBaseUnits(font, d.textMeasurer());
    return templateRectToPixels(t, {0, 0, t.rect.width, t.rect.height}, base).size();
}

}  // namespace

// [SECTION] Pages

PropertyPage::PropertyPage(DialogTemplate dialogTemplate) : Dialog(std::move(dialogTemplate)) {}

void PropertyPage::setModified(bool changed) {
    modified_ = changed;
    if (sheet_ && sheet_->exists()) sheet_->send(changed ? PSM_CHANGED : PSM_UNCHANGED, wParamFromPointer(this));
}

bool PropertyPage::onSetActive() {
    if (activatedBefore_) updateData(false);
    activatedBefore_ = true;
    return true;
}

bool PropertyPage::onKillActive() {
    return updateData(true);
}

bool PropertyPage::onApply() {
    onOK();
    return true;
}

bool PropertyPage::onQueryCancel() {
    return true;
}

void PropertyPage::onReset() {
    onCancel();
}

void PropertyPage::onOK() {}

void PropertyPage::onCancel() {}

PropertySheet::PropertySheet(std::string caption, Window* owner, int startPage)
    : Dialog(DialogTemplate(std::move(caption), 0, 0, TemplateUnits::Pixels), owner), startPage_(startPage) {}

void PropertySheet::addPage(PropertyPage& page) {
    page.sheet_ = this;
    pages_.push_back(&page);
}

PropertyPage* PropertySheet::page(int index) const {
    return index >= 0 && index < pageCount() ? pages_[static_cast<std::size_t>(index)] : nullptr;
}

PropertyPage* PropertySheet::activePage() const {
    return page(active_);
}

// [SECTION] Layout

void PropertySheet::prepareTemplate() {
    Desktop& d = dialogDesktop();
    Size largest{0, 0};
    for (PropertyPage* p : pages_) {
        const Size s = pagePixels(p->dialogTemplate(), d);
        largest = {std::max(largest.width, s.width), std::max(largest.height, s.height)};
    }
    const int tabWidth = largest.width + 2 * kTabBorder;
    const int tabHeight = largest.height + kTabRowHeight + 2 * kTabBorder;
    const bool apply = !(flags_ & PSH_NOAPPLYNOW);
    const int buttons = apply ? 3 : 2;
    const int buttonsWidth = buttons * kButtonWidth + (buttons - 1) * kButtonGap;
    const int width = std::max(tabWidth, buttonsWidth) + 2 * kMargin;
    const int buttonsTop = kMargin + tabHeight + kMargin;
    const int height = buttonsTop + kButtonHeight + kMargin;

    DialogTemplate& t = dialogTemplate();
    t.units = TemplateUnits::Pixels;
    t.rect = {0, 0, width, height};
    t.style = DialogTemplate::kModalStyle | DS_CENTER;
    t.items.clear();
    t.tabControl(kSheetTabControlId, {kMargin, kMargin, width - 2 * kMargin, tabHeight});
    int x = width - kMargin - buttonsWidth;
    t.defaultButton(IDOK, "OK", {x, buttonsTop, kButtonWidth, kButtonHeight});
    x += kButtonWidth + kButtonGap;
    t.button(IDCANCEL, "Cancel", {x, buttonsTop, kButtonWidth, kButtonHeight});
    x += kButtonWidth + kButtonGap;
    if (apply) t.button(ID_APPLY_NOW, "&Apply", {x, buttonsTop, kButtonWidth, kButtonHeight}, WS_DISABLED);
}

Rect PropertySheet::pageArea() const {
    Window* tabs = tabControl();
    if (!tabs) return {};
    Rect area = tabs->clientRect();
    const Rect whole = area;
    tabs->send(TCM_ADJUSTRECT, 0, lParamFromPointer(&area));
    // A tab control that does not place its display area leaves the rectangle as it was: then the tabs take the
    // top row and a border goes round.
    if (area == whole)
        area = {kTabBorder, kTabRowHeight + kTabBorder, whole.right - kTabBorder, whole.bottom - kTabBorder};
    return tabs->mapTo(this, area);
}

// [SECTION] Pages shown

bool PropertySheet::makePage(PropertyPage& p) {
    if (p.exists()) return true;
    DialogTemplate& t = p.dialogTemplate();
    t.style = (t.style & ~kTopLevelStyles) | WS_CHILD | DS_CONTROL;
    t.exStyle |= WS_EX_CONTROLPARENT;
    p.modified_ = false;
    p.activatedBefore_ = false;
    if (!p.createModeless(this)) return false;
    const Rect area = pageArea();
    const Size size = pagePixels(t, desktop());
    // Above the tab control in the z-order, so that the mouse reaches the page's controls over the tab control's
    // page area; Tab then walks the page, the tabs, the buttons.
    p.setWindowPos(ZOrder::Top, Rect::fromSize(area.left, area.top, size.width, size.height), SWP_NOACTIVATE);
    return true;
}

void PropertySheet::activate(int index) {
    PropertyPage* next = page(index);
    if (!next || !makePage(*next)) return;
    PropertyPage* previous = activePage();
    active_ = index;
    if (Window* tabs = tabControl(); tabs && tabs->send(TCM_GETCURSEL) != index)
        tabs->send(TCM_SETCURSEL, static_cast<std::uintptr_t>(index));
    next->onSetActive();
    if (next->exists()) next->show(SW_SHOW);
    if (previous && previous != next && previous->exists()) previous->show(SW_HIDE);
}

bool PropertySheet::leaveActivePage() {
    PropertyPage* p = activePage();
    return !p || !p->exists() || p->onKillActive();
}

bool PropertySheet::setActivePage(int index) {
    if (!page(index)) return false;
    if (index == active_) return true;
    if (!exists()) {
        startPage_ = index;
        return true;
    }
    if (!leaveActivePage()) return false;
    activate(index);
    return true;
}

// [SECTION] Buttons

bool PropertySheet::applyPages() {
    if (!leaveActivePage()) return false;
    for (int i = 0; i < pageCount(); ++i) {
        PropertyPage* p = pages_[static_cast<std::size_t>(i)];
        if (!p->exists()) continue;
        if (!p->onApply()) {
            if (i != active_) activate(i);
            return false;
        }
    }
    for (PropertyPage* p : pages_) p->modified_ = false;
    updateApplyButton();
    return true;
}

void PropertySheet::onApplyNow() {
    applyPages();
}

void PropertySheet::onOK() {
    if (applyPages()) endDialog(IDOK);
}

void PropertySheet::onCancel() {
    if (PropertyPage* p = activePage(); p && p->exists() && !p->onQueryCancel()) return;
    for (PropertyPage* p : pages_)
        if (p->exists()) p->onReset();
    endDialog(IDCANCEL);
}

bool PropertySheet::isApplyEnabled() const {
    Window* apply = item(ID_APPLY_NOW);
    return apply && apply->isEnabled();
}

void PropertySheet::updateApplyButton() {
    Window* apply = item(ID_APPLY_NOW);
    if (!apply) return;
    const bool any = std::any_of(pages_.begin(), pages_.end(), [](const PropertyPage* p) { return p->modified_; });
    if (apply->isEnabled() != any) apply->enable(any);
}

bool PropertySheet::pressButton(int button) {
    const int id = button == PSBTN_OK           ? IDOK
                   : button == PSBTN_CANCEL     ? IDCANCEL
                   : button == PSBTN_APPLYNOW   ? ID_APPLY_NOW
                                                : 0;
    Window* control = item(id);
    if (!control || !control->isEnabled()) return false;
    send(WM_COMMAND, makeWParam(id, BN_CLICKED), lParamFromPointer(control));
    return true;
}

// [SECTION] Messages

bool PropertySheet::onInitDialog() {
    active_ = -1;
    Window* tabs = tabControl();
    for (int i = 0; i < pageCount(); ++i) {
        TabItem tab;
        tab.mask = TCIF_TEXT | TCIF_PARAM;
        tab.text = pages_[static_cast<std::size_t>(i)]->title();
        tab.param = static_cast<std::intptr_t>(i);
        if (tabs) tabs->send(TCM_INSERTITEM, static_cast<std::uintptr_t>(i), lParamFromPointer(&tab));
    }
    activate(std::clamp(startPage_, 0, std::max(0, pageCount() - 1)));
    // The focus goes to the first control of the page shown, as on the system's sheets: the page lies above the
    // tab control, so it holds the first tab stop.
    return true;
}

bool PropertySheet::onCommand(int id, int code, Window*) {
    if (id == ID_APPLY_NOW && code == BN_CLICKED) {
        onApplyNow();
        updateApplyButton();
        return true;
    }
    return false;
}

bool PropertySheet::onNotify(const NotifyHeader& header, std::intptr_t& result) {
    if (header.id != kSheetTabControlId) return false;
    if (header.code == TCN_SELCHANGING) {
        // An answer of TRUE keeps the tab: the page shown refused to be left.
        result = leaveActivePage() ? 0 : 1;
        return true;
    }
    if (header.code == TCN_SELCHANGE) {
        if (Window* tabs = tabControl()) activate(static_cast<int>(tabs->send(TCM_GETCURSEL)));
        return true;
    }
    return false;
}

std::intptr_t PropertySheet::windowProc(Message& m) {
    switch (m.id) {
        case PSM_CHANGED:
        case PSM_UNCHANGED: {
            const Window* from = pointerFromParam<Window>(m.w);
            for (PropertyPage* p : pages_)
                if (p == from) p->modified_ = m.id == PSM_CHANGED;
            updateApplyButton();
            return 1;
        }
        case PSM_SETCURSEL: return setActivePage(static_cast<int>(m.w)) ? 1 : 0;
        case PSM_PRESSBUTTON: return pressButton(static_cast<int>(m.w)) ? 1 : 0;
        case PSM_APPLY: return applyPages() ? 1 : 0;
        case PSM_GETCURRENTPAGEHWND: return lParamFromPointer(activePage());
        default: return Dialog::windowProc(m);
    }
}

}  // namespace host::ui
