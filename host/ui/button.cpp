// Buttons: press tracking by mouse and Space, check states, radio groups, painting of each type.
#include "host/ui/button.h"

#include <algorithm>

#include "host/ui/control_support.h"
#include "host/ui/desktop.h"

namespace host::ui {

namespace {

// How far a group box's title starts from its left edge, and the free space around the title.
constexpr int kGroupTitleIndent = 8;
constexpr int kGroupTitlePad = 2;
// How far inside a push button its text and focus frame lie.
constexpr int kPushInset = 3;

bool isRadioType(std::uint32_t type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }
bool isCheckType(std::uint32_t type) {
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}

bool isRadioControl(Window* w) {
    return w && (static_cast<unsigned>(w->send(WM_GETDLGCODE)) & DLGC_RADIOBUTTON) != 0;
}

bool isAutoRadio(Window* w) { return isRadioControl(w) && (w->style() & BS_TYPEMASK) == BS_AUTORADIOBUTTON; }

// The DT_* alignment of a button's text from its BS_* alignment bits.
unsigned textFormat(std::uint32_t style, unsigned defaultHorizontal) {
    unsigned format = DT_NOCLIP;
    switch (style & BS_CENTER) {
    case BS_LEFT: format |= DT_LEFT; break;
    case BS_RIGHT: format |= DT_RIGHT; break;
    case BS_CENTER: format |= DT_CENTER; break;
    default: format |= defaultHorizontal; break;
    }
    if (style & BS_MULTILINE) return format | DT_WORDBREAK;
    switch (style & BS_VCENTER) {
    case BS_TOP: return format | DT_SINGLELINE | DT_TOP;
    case BS_BOTTOM: return format | DT_SINGLELINE | DT_BOTTOM;
    default: return format | DT_SINGLELINE | DT_VCENTER;
    }
}

}  // namespace

Button::Button() = default;
Button::~Button() = default;

std::uint32_t Button::buttonType() const { return style() & BS_TYPEMASK; }
bool Button::isCheckBox() const { return isCheckType(buttonType()); }
bool Button::isRadioButton() const { return isRadioType(buttonType()); }
bool Button::isGroupBox() const { return buttonType() == BS_GROUPBOX; }
bool Button::isPushButton() const { return !isCheckBox() && !isRadioButton() && !isGroupBox(); }

void Button::preSubclassWindow() {
    check_ = BST_UNCHECKED;
    pushed_ = tracking_ = spaceDown_ = false;
    focused_ = hasFocus();
}

void Button::setPushed(bool on) {
    if (pushed_ == on) return;
    pushed_ = on;
    invalidate(false);
}

void Button::setCheck(int state) {
    const std::uint32_t type = buttonType();
    if (!isCheckType(type) && !isRadioType(type)) return;
    if (state == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE) state = BST_CHECKED;
    if (state != BST_UNCHECKED && state != BST_INDETERMINATE) state = BST_CHECKED;
    if (type == BS_AUTORADIOBUTTON) {
        // The checked button of an automatic group is its tab stop; a group with none checked keeps the one it
        // has, so Tab can still reach it.
        if (state == BST_CHECKED) {
            for (Window* other : radioGroupOf(*this))
                if (other != this && isAutoRadio(other)) other->modifyStyle(WS_TABSTOP, 0);
            modifyStyle(0, WS_TABSTOP);
        }
    }
    if (check_ == state) return;
    check_ = state;
    invalidate(false);
}

void Button::checkInGroup() {
    for (Window* other : radioGroupOf(*this))
        if (other != this) other->send(BM_SETCHECK, BST_UNCHECKED);
    setCheck(BST_CHECKED);
}

// What a completed press does: step the automatic check, then tell the owner.
void Button::released(bool inside) {
    setPushed(false);
    if (!inside || !exists()) return;
    switch (buttonType()) {
    case BS_AUTOCHECKBOX: setCheck(check_ == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED); break;
    case BS_AUTO3STATE: setCheck((check_ + 1) % 3); break;
    case BS_AUTORADIOBUTTON: checkInGroup(); break;
    default: break;
    }
    notifyCommand(*this, BN_CLICKED);
}

void Button::click() {
    if (!exists() || isGroupBox() || !isEnabled()) return;
    if (!hasFocus()) {
        setFocus();
        if (!hasFocus()) return;  // a kill-focus check elsewhere kept the focus: no click
    }
    released(true);
}

void Button::setBitmap(BitmapPtr bitmap) {
    bitmap_ = std::move(bitmap);
    invalidate();
}

// [SECTION] Painting

void Button::paintPush(DC& dc, const Rect& client) {
    dc.fillRect(client, controlBrush(*this, dc, WM_CTLCOLORBTN, COLOR_BTNFACE));
    Rect r = client;
    if (buttonType() == BS_DEFPUSHBUTTON) {
        dc.frameRect(r, Brush::solid(desktop().sysColor(COLOR_WINDOWFRAME)));
        r = r.inflatedBy(-1, -1);
    }
    // A push-like check box or radio button looks pushed while it is checked.
    const bool down = pushed_ || (!isPushButton() && check_ != BST_UNCHECKED);
    dc.drawFrameControl(r, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0) | (isEnabled() ? 0 : DFCS_INACTIVE));
    Rect inner = r.inflatedBy(-kPushInset, -kPushInset);
    if (down) inner = inner.offsetBy(1, 1);
    if (bitmap_ && (style() & BS_BITMAP)) {
        const Point at{inner.left + (inner.width() - bitmap_->width()) / 2,
                       inner.top + (inner.height() - bitmap_->height()) / 2};
        dc.drawBitmap(bitmap_, Rect::fromSize(at.x, at.y, bitmap_->width(), bitmap_->height()));
    } else {
        dc.setBkMode(TRANSPARENT);
        dc.setTextColor(desktop().sysColor(isEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        dc.drawText(storedText(), inner, textFormat(style(), DT_CENTER));
    }
    if (focused_) dc.drawFocusRect(r.inflatedBy(-kPushInset, -kPushInset));
}

void Button::paintCheck(DC& dc, const Rect& client) {
    dc.fillRect(client, controlBrush(*this, dc, WM_CTLCOLORSTATIC, COLOR_BTNFACE));
    const bool leftText = (style() & BS_LEFTTEXT) != 0;
    const int boxTop = (client.height() - kBoxSize) / 2;
    const Rect box = Rect::fromSize(leftText ? client.right - kBoxSize : 0, boxTop, kBoxSize, kBoxSize);
    unsigned state = isRadioButton() ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
    if (check_ == BST_INDETERMINATE) state = DFCS_BUTTON3STATE;
    if (check_ != BST_UNCHECKED) state |= DFCS_CHECKED;
    if (pushed_) state |= DFCS_PUSHED;
    if (!isEnabled()) state |= DFCS_INACTIVE;
    dc.drawFrameControl(box, DFC_BUTTON, state);

    const Rect textArea = leftText ? Rect{0, 0, client.right - kBoxSize - kBoxGap, client.bottom}
                                   : Rect{kBoxSize + kBoxGap, 0, client.right, client.bottom};
    const unsigned format = textFormat(style(), DT_LEFT);
    dc.setBkMode(TRANSPARENT);
    if (!isEnabled()) dc.setTextColor(desktop().sysColor(COLOR_GRAYTEXT));
    dc.drawText(storedText(), textArea, format);
    if (focused_ && !storedText().empty()) {
        Rect extent = textArea;
        dc.drawText(storedText(), extent, (format & ~(DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT);
        // DT_CALCRECT measures from the top; move the frame where the text was drawn.
        const int top = (format & DT_VCENTER) ? (textArea.height() - extent.height()) / 2 : 0;
        dc.drawFocusRect(Rect{textArea.left, textArea.top + top, textArea.left + extent.width(),
                              textArea.top + top + extent.height()}
                             .inflatedBy(1, 1));
    }
}

// A group box shows the owner's background inside its frame: the controls in it are its siblings and paint
// over it.
void Button::paintGroupBox(DC& dc, const Rect& client) {
    const Brush background = controlBrush(*this, dc, WM_CTLCOLORSTATIC, COLOR_BTNFACE);
    dc.fillRect(client, background);
    const int lineHeight = controlLineHeight(*this);
    Rect frame{client.left, client.top + lineHeight / 2, client.right, client.bottom};
    dc.drawEdge(frame, EDGE_ETCHED, BF_RECT);
    const std::string& title = storedText();
    if (title.empty()) return;
    Rect extent{0, 0, client.width(), lineHeight};
    dc.drawText(title, extent, DT_SINGLELINE | DT_CALCRECT);
    const Rect titleArea{kGroupTitleIndent, 0, kGroupTitleIndent + extent.width() + 2 * kGroupTitlePad, lineHeight};
    dc.fillRect(titleArea, background);
    dc.setBkMode(TRANSPARENT);
    if (!isEnabled()) dc.setTextColor(desktop().sysColor(COLOR_GRAYTEXT));
    dc.drawText(title, titleArea, DT_SINGLELINE | DT_CENTER | DT_TOP);
}

void Button::paint() {
    PaintDC dc(*this);
    dc.selectFont(font());
    const Rect client = clientRect();
    if (isGroupBox()) paintGroupBox(dc, client);
    else if (isPushButton() || (style() & BS_PUSHLIKE)) paintPush(dc, client);
    else paintCheck(dc, client);
}

// [SECTION] Messages

std::intptr_t Button::windowProc(Message& m) {
    switch (m.id) {
    case WM_GETDLGCODE:
        if (isGroupBox()) return DLGC_STATIC;
        if (isRadioButton()) return DLGC_BUTTON | DLGC_RADIOBUTTON;
        if (isCheckBox()) return DLGC_BUTTON;
        return DLGC_BUTTON | (buttonType() == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case WM_NCHITTEST:
        if (isGroupBox()) return HTTRANSPARENT;
        return Window::windowProc(m);
    case WM_SETTEXT: {
        const char* text = pointerFromParam<const char>(m.l);
        if (storedText() == (text ? text : "")) return 1;
        const std::intptr_t result = Window::windowProc(m);
        invalidate();
        return result;
    }
    case WM_ENABLE:
        if (!m.w) {
            tracking_ = spaceDown_ = false;
            pushed_ = false;
        }
        invalidate();
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
        paint();
        return 0;
    case WM_SETFOCUS:
        focused_ = true;
        invalidate(false);
        if (style() & BS_NOTIFY) notifyCommand(*this, BN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        focused_ = false;
        spaceDown_ = false;
        if (!tracking_) setPushed(false);
        invalidate(false);
        if (style() & BS_NOTIFY) notifyCommand(*this, BN_KILLFOCUS);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (isRadioButton() || (style() & BS_NOTIFY) || buttonType() == BS_OWNERDRAW) {
            notifyCommand(*this, BN_DOUBLECLICKED);
            return 0;
        }
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        if (isGroupBox()) return 0;
        if (!hasFocus()) {
            setFocus();
            if (!hasFocus()) return 0;  // a kill-focus check elsewhere kept the focus: the press is over
        }
        tracking_ = true;
        setPushed(true);
        setCapture();
        return 0;
    case WM_MOUSEMOVE:
        if (tracking_) setPushed(clientRect().contains(pointFromLParam(m.l)));
        return 0;
    case WM_LBUTTONUP:
        if (tracking_) {
            tracking_ = false;
            if (hasCapture()) desktop().releaseCapture();
            released(clientRect().contains(pointFromLParam(m.l)));
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (tracking_) {
            tracking_ = false;
            setPushed(false);
        }
        return 0;
    case WM_KEYDOWN:
        if (m.w == VK_SPACE && !isGroupBox()) {
            if (!spaceDown_) {
                spaceDown_ = true;
                setPushed(true);
            }
            return 0;
        }
        return Window::windowProc(m);
    case WM_KEYUP:
        if (m.w == VK_SPACE && spaceDown_) {
            spaceDown_ = false;
            released(true);
            return 0;
        }
        return Window::windowProc(m);
    case WM_CHAR: return 0;  // Space acts on key down and up, not as a character
    case BM_GETCHECK: return check_;
    case BM_SETCHECK: setCheck(static_cast<int>(m.w)); return 0;
    case BM_GETSTATE: return check_ | (pushed_ ? BST_PUSHED : 0) | (focused_ ? BST_FOCUS : 0);
    case BM_SETSTATE: setPushed(m.w != 0); return 0;
    case BM_SETSTYLE:
        modifyStyle(BS_TYPEMASK, static_cast<std::uint32_t>(m.w) & BS_TYPEMASK);
        if (m.l) invalidate();
        return 0;
    case BM_CLICK: click(); return 0;
    case BM_SETIMAGE: {
        Bitmap* previous = bitmap_.get();
        const auto* incoming = pointerFromParam<const BitmapPtr>(m.l);
        setBitmap(incoming ? *incoming : BitmapPtr{});
        return lParamFromPointer(previous);
    }
    case BM_GETIMAGE: return lParamFromPointer(bitmap_.get());
    default: return Window::windowProc(m);
    }
}

// [SECTION] Groups

std::vector<Window*> radioGroupOf(Window& button) {
    std::vector<Window*> group;
    Window* parent = button.parent();
    if (!parent) return group;
    const std::vector<Window*> siblings = parent->children();
    auto at = std::find(siblings.begin(), siblings.end(), &button);
    if (at == siblings.end()) return group;
    auto first = at;
    while (first != siblings.begin() && !((*first)->style() & WS_GROUP)) --first;
    for (auto it = first; it != siblings.end(); ++it) {
        if (it != first && ((*it)->style() & WS_GROUP)) break;
        if (isRadioControl(*it)) group.push_back(*it);
    }
    return group;
}

void checkRadioButton(Window& parent, int firstId, int lastId, int checkId) {
    for (Window* c : parent.children()) {
        const int id = c->id();
        if (id >= firstId && id <= lastId) c->send(BM_SETCHECK, id == checkId ? BST_CHECKED : BST_UNCHECKED);
    }
}

}  // namespace host::ui
