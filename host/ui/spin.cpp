// Spin controls: range and position, the buddy edit, steps with their notifications and repeats, painting.
#include "host/ui/spin.h"

#include <algorithm>
#include <string>

#include "host/sys/number_text.h"
#include "host/ui/control_support.h"
#include "host/ui/desktop.h"

namespace host::ui {

Spin::Spin() = default;
Spin::~Spin() = default;

void Spin::setRange(int min, int max) {
    min_ = min;
    max_ = max;
    pos_ = std::clamp(pos_, std::min(min_, max_), std::max(min_, max_));
}

Window* Spin::buddy() const { return buddy_ && desktop().isWindow(buddy_) ? buddy_ : nullptr; }

int Spin::position(bool* error) const {
    if (error) *error = false;
    Window* b = buddy();
    if (!b || !(style() & UDS_SETBUDDYINT)) return pos_;
    std::string text = b->text();
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    const auto parsed = host::sys::parseInteger(text, std::min(min_, max_), std::max(min_, max_));
    if (!parsed.ok()) {
        if (error) *error = true;
        return pos_;
    }
    return static_cast<int>(parsed.value);
}

int Spin::setPosition(int pos) {
    const int previous = pos_;
    pos_ = std::clamp(pos, std::min(min_, max_), std::max(min_, max_));
    showInBuddy();
    return previous;
}

void Spin::showInBuddy() {
    if (Window* b = buddy(); b && (style() & UDS_SETBUDDYINT)) b->setText(std::to_string(pos_));
}

Window* Spin::setBuddy(Window* newBuddy) {
    Window* previous = buddy();
    buddy_ = newBuddy;
    Window* b = buddy();
    if (!b || b->parent() != parent() || !(style() & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT))) return previous;
    const Rect r = b->rectInParent();
    const int width = rectInParent().width();
    if (style() & UDS_ALIGNRIGHT) {
        move(Rect{r.right - width, r.top, r.right, r.bottom});
        b->move(Rect{r.left, r.top, r.right - width, r.bottom});
    } else {
        move(Rect{r.left, r.top, r.left + width, r.bottom});
        b->move(Rect{r.left + width, r.top, r.right, r.bottom});
    }
    return previous;
}

int Spin::clampOrWrap(int pos) const {
    const int lo = std::min(min_, max_), hi = std::max(min_, max_);
    if (pos >= lo && pos <= hi) return pos;
    if (style() & UDS_WRAP) return pos < lo ? hi : lo;
    return std::clamp(pos, lo, hi);
}

void Spin::notifyScroll(int code) {
    Window* receiver = ownerOrParent();
    if (!receiver || notificationsSuppressed(receiver)) return;
    receiver->send(isHorizontal() ? WM_HSCROLL : WM_VSCROLL, makeWParam(code, pos_), lParamFromPointer(this));
}

bool Spin::step(int direction) {
    pos_ = position();
    UpDownNotify n;
    n.pos = pos_;
    n.delta = max_ >= min_ ? direction : -direction;
    if (notifyOwner(*this, n.header, UDN_DELTAPOS) != 0 || !exists()) return false;
    const int target = clampOrWrap(pos_ + n.delta);
    if (target == pos_) return false;
    pos_ = target;
    showInBuddy();
    notifyScroll(SB_THUMBPOSITION);
    return true;
}

// [SECTION] Geometry and painting

Rect Spin::upRect() const {
    const Rect c = clientRect();
    return isHorizontal() ? Rect{c.width() / 2, 0, c.right, c.bottom} : Rect{0, 0, c.right, c.height() / 2};
}

Rect Spin::downRect() const {
    const Rect c = clientRect();
    return isHorizontal() ? Rect{0, 0, c.width() / 2, c.bottom} : Rect{0, c.height() / 2, c.right, c.bottom};
}

int Spin::arrowAt(Point client) const { return upRect().contains(client) ? 1 : -1; }

void Spin::paint() {
    PaintDC dc(*this);
    const unsigned inactive = isEnabled() ? 0 : DFCS_INACTIVE;
    const unsigned upGlyph = isHorizontal() ? DFCS_SCROLLRIGHT : DFCS_SCROLLUP;
    const unsigned downGlyph = isHorizontal() ? DFCS_SCROLLLEFT : DFCS_SCROLLDOWN;
    dc.drawFrameControl(upRect(), DFC_SCROLL, upGlyph | inactive | (pressed_ > 0 && over_ ? DFCS_PUSHED : 0));
    dc.drawFrameControl(downRect(), DFC_SCROLL, downGlyph | inactive | (pressed_ < 0 && over_ ? DFCS_PUSHED : 0));
}

// [SECTION] Messages

std::intptr_t Spin::windowProc(Message& m) {
    switch (m.id) {
    case WM_CREATE: {
        const std::intptr_t result = Window::windowProc(m);
        if (style() & UDS_AUTOBUDDY) {
            // The control made just before: the sibling before this one in creation order.
            Window* previous = nullptr;
            if (Window* p = parent())
                for (Window* c : p->children()) {
                    if (c == this) break;
                    previous = c;
                }
            if (previous) setBuddy(previous);
        }
        return result;
    }
    case UDM_SETRANGE:
        setRange(static_cast<std::int16_t>(hiWord(m.l)), static_cast<std::int16_t>(loWord(m.l)));
        return 0;
    case UDM_GETRANGE: return makeLParam(max_, min_);
    case UDM_SETRANGE32: setRange(static_cast<int>(static_cast<std::intptr_t>(m.w)), static_cast<int>(m.l)); return 0;
    case UDM_GETRANGE32:
        if (auto* lo = pointerFromParam<int>(m.w)) *lo = min_;
        if (auto* hi = pointerFromParam<int>(m.l)) *hi = max_;
        return 0;
    case UDM_SETPOS: return setPosition(static_cast<std::int16_t>(loWord(m.l)));
    case UDM_SETPOS32: return setPosition(static_cast<int>(m.l));
    case UDM_GETPOS: {
        bool error = false;
        const int pos = position(&error);
        return makeLParam(pos, error ? 1 : 0);
    }
    case UDM_GETPOS32: {
        bool error = false;
        const int pos = position(&error);
        if (auto* out = pointerFromParam<bool>(m.l)) *out = error;
        return pos;
    }
    case UDM_SETBUDDY: return lParamFromPointer(setBuddy(pointerFromParam<Window>(m.w)));
    case UDM_GETBUDDY: return lParamFromPointer(buddy());
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: paint(); return 0;
    case WM_ENABLE: invalidate(); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pressed_ = arrowAt(pointFromLParam(m.l));
        over_ = true;
        setCapture();
        invalidate(false);
        step(pressed_);
        if (pressed_ != 0) setTimer(kRepeatTimer, kRepeatDelay);
        return 0;
    case WM_MOUSEMOVE:
        if (pressed_ != 0) {
            const bool over = (pressed_ > 0 ? upRect() : downRect()).contains(pointFromLParam(m.l));
            if (over != over_) {
                over_ = over;
                invalidate(false);
            }
        }
        return 0;
    case WM_TIMER:
        if (m.w != kRepeatTimer) return Window::windowProc(m);
        if (pressed_ == 0) {
            killTimer(kRepeatTimer);
            return 0;
        }
        if (over_) step(pressed_);
        setTimer(kRepeatTimer, kRepeatInterval);
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (pressed_ == 0) return 0;
        pressed_ = 0;
        killTimer(kRepeatTimer);
        if (hasCapture()) desktop().releaseCapture();
        invalidate(false);
        notifyScroll(SB_ENDSCROLL);
        return 0;
    case WM_KEYDOWN:
        if (style() & UDS_ARROWKEYS) {
            const unsigned up = isHorizontal() ? VK_RIGHT : VK_UP;
            const unsigned down = isHorizontal() ? VK_LEFT : VK_DOWN;
            if (m.w == up || m.w == down) {
                step(m.w == up ? 1 : -1);
                return 0;
            }
        }
        return Window::windowProc(m);
    default: return Window::windowProc(m);
    }
}

}  // namespace host::ui
