// Input: raw mouse and key events from the queue turned into window messages (hit testing, capture, double
// clicks, key state, the characters keys type).
//
// One mouse event, as delivered:
//   captured        the capture window gets the client message, in its client coordinates (may be negative)
//   not captured    the topmost visible window under the point (disabled children pass it to their parent;
//                   a disabled top-level window takes nothing) is asked WM_NCHITTEST (HTTRANSPARENT passes it
//                   to the window beneath), then WM_SETCURSOR, then gets the client message (HTCLIENT) or the
//                   non-client one (WM_NC*, wParam = the hit code, lParam = the screen point)
//   a second press  within the double-click time and rectangle, on the same window with the same button, is a
//                   WM_*BUTTONDBLCLK for CS_DBLCLKS classes (always for non-client presses); the press after it
//                   starts afresh
//   the wheel       WM_MOUSEWHEEL to the focus window (or the window under the cursor when none has it)
#include <algorithm>
#include <cstdlib>

#include "host/ui/desktop.h"
#include "host/ui/desktop_impl.h"

namespace host::ui {

namespace {

constexpr std::uint8_t kDown = 0x80;
constexpr std::uint8_t kToggled = 0x01;

unsigned clientMessageFor(MouseAction a) {
    switch (a) {
    case MouseAction::LeftDown: return WM_LBUTTONDOWN;
    case MouseAction::LeftUp: return WM_LBUTTONUP;
    case MouseAction::RightDown: return WM_RBUTTONDOWN;
    case MouseAction::RightUp: return WM_RBUTTONUP;
    case MouseAction::MiddleDown: return WM_MBUTTONDOWN;
    case MouseAction::MiddleUp: return WM_MBUTTONUP;
    default: return WM_MOUSEMOVE;
    }
}

unsigned buttonKey(MouseAction a) {
    switch (a) {
    case MouseAction::LeftDown:
    case MouseAction::LeftUp: return VK_LBUTTON;
    case MouseAction::RightDown:
    case MouseAction::RightUp: return VK_RBUTTON;
    case MouseAction::MiddleDown:
    case MouseAction::MiddleUp: return VK_MBUTTON;
    default: return 0;
    }
}

bool isPress(MouseAction a) {
    return a == MouseAction::LeftDown || a == MouseAction::RightDown || a == MouseAction::MiddleDown;
}

// Client message to its non-client form: WM_MOUSEMOVE..WM_MBUTTONDBLCLK to WM_NCMOUSEMOVE..WM_NCMBUTTONDBLCLK.
unsigned nonClientFor(unsigned clientMessage) { return clientMessage - WM_MOUSEMOVE + WM_NCMOUSEMOVE; }

}  // namespace

namespace detail {

char32_t characterForKey(unsigned vk, const std::array<std::uint8_t, 256>& keys, char32_t packet) {
    auto down = [&](unsigned k) { return (keys[k & 0xFF] & kDown) != 0; };
    const bool shift = down(VK_SHIFT);
    const bool ctrl = down(VK_CONTROL);
    const bool alt = down(VK_MENU);
    const bool caps = (keys[VK_CAPITAL] & kToggled) != 0;
    if (vk == VK_PACKET) return packet;
    if (ctrl && !alt) {
        if (vk >= 'A' && vk <= 'Z') return static_cast<char32_t>(vk - 'A' + 1);
        switch (vk) {
        case VK_OEM_4: return 27;
        case VK_OEM_5: return 28;
        case VK_OEM_6: return 29;
        case VK_RETURN: return 10;
        case VK_BACK: return 127;
        case VK_SPACE: return U' ';
        default: return 0;
        }
    }
    if (vk >= 'A' && vk <= 'Z') return static_cast<char32_t>((shift != caps) ? vk : vk - 'A' + 'a');
    if (vk >= '0' && vk <= '9') return shift ? static_cast<char32_t>(U")!@#$%^&*("[vk - '0']) : vk;
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) return U'0' + (vk - VK_NUMPAD0);
    switch (vk) {
    case VK_SPACE: return U' ';
    case VK_RETURN: return 13;
    case VK_BACK: return 8;
    case VK_TAB: return 9;
    case VK_ESCAPE: return 27;
    case VK_MULTIPLY: return U'*';
    case VK_ADD: return U'+';
    case VK_SUBTRACT: return U'-';
    case VK_DECIMAL: return U'.';
    case VK_DIVIDE: return U'/';
    case VK_OEM_1: return shift ? U':' : U';';
    case VK_OEM_PLUS: return shift ? U'+' : U'=';
    case VK_OEM_COMMA: return shift ? U'<' : U',';
    case VK_OEM_MINUS: return shift ? U'_' : U'-';
    case VK_OEM_PERIOD: return shift ? U'>' : U'.';
    case VK_OEM_2: return shift ? U'?' : U'/';
    case VK_OEM_3: return shift ? U'~' : U'`';
    case VK_OEM_4: return shift ? U'{' : U'[';
    case VK_OEM_5: return shift ? U'|' : U'\\';
    case VK_OEM_6: return shift ? U'}' : U']';
    case VK_OEM_7: return shift ? U'"' : U'\'';
    default: return 0;
    }
}

std::vector<WindowNode*> DesktopImpl::windowsAt(Point screen) const {
    // Topmost and deepest first: for each top-level window from the top, its children (from the top, only
    // where the point is in the client area) before itself.
    std::vector<WindowNode*> out;
    std::function<void(WindowNode*)> collect = [&](WindowNode* n) {
        if (!(n->style & WS_VISIBLE)) return;
        const Point origin = windowOriginOnScreen(n);
        if (!Rect::fromSize(origin.x, origin.y, n->rect.width(), n->rect.height()).contains(screen)) return;
        const Point client = clientOriginOnScreen(n);
        const Size size = clientSize(n);
        if (Rect::fromSize(client.x, client.y, size.width, size.height).contains(screen))
            for (auto* c : n->children) collect(c);
        out.push_back(n);
    };
    for (auto* t : topLevels) collect(t);
    return out;
}

void DesktopImpl::processInput(const RawInput& in) {
    if (in.isKey)
        processKey(in);
    else
        processMouse(in);
}

void DesktopImpl::processMouse(const RawInput& in) {
    cursorPos = in.point;
    if (const unsigned key = buttonKey(in.action)) {
        if (isPress(in.action))
            keys[key] |= kDown;
        else
            keys[key] &= static_cast<std::uint8_t>(~kDown);
    }
    const unsigned mk = self->mouseKeyFlags();
    const auto time = static_cast<std::uint32_t>(now);
    auto deliver = [&](Message m) {
        if (!inputObservers.empty()) {
            auto copy = inputObservers;
            for (auto& o : copy) o.function(m);
        }
        dispatchQueued(m);
    };

    if (in.action == MouseAction::Wheel) {
        WindowNode* target = focus;
        if (!target) {
            auto under = windowsAt(in.point);
            if (!under.empty()) target = under.front();
        }
        if (!target || !isEnabled(target)) return;
        deliver(Message{target->object, WM_MOUSEWHEEL, makeWParam(static_cast<int>(mk), in.wheel),
                        lParamFromPoint(in.point), in.point, time});
        return;
    }

    unsigned message = clientMessageFor(in.action);
    WindowNode* target = nullptr;
    int hit = HTCLIENT;
    if (capture) {
        target = capture;
    } else {
        for (WindowNode* candidate : windowsAt(in.point)) {
            if (!isEnabled(candidate)) {
                if (candidate->isChild()) continue;  // a disabled control passes the mouse to its parent
                return;                               // a disabled top-level window (a modal dialog's owner)
            }
            const std::uint64_t serial = candidate->serial;
            hit = static_cast<int>(send(candidate, WM_NCHITTEST, 0, lParamFromPoint(in.point)));
            if (!nodes.count(candidate) || candidate->serial != serial) return;
            if (hit == HTTRANSPARENT) continue;
            target = candidate;
            break;
        }
        if (!target) return;
        const std::uint64_t serial = target->serial;
        send(target, WM_SETCURSOR, wParamFromPointer(target->object), makeLParam(hit, static_cast<int>(message)));
        if (!nodes.count(target) || target->serial != serial) return;
    }

    const bool client = capture != nullptr || hit == HTCLIENT;
    if (isPress(in.action)) {
        const unsigned sys = static_cast<unsigned>(system.metric(SM_CXDOUBLECLK));
        const unsigned sysY = static_cast<unsigned>(system.metric(SM_CYDOUBLECLK));
        const bool wantsDouble = !client || (target->windowClass.style & CS_DBLCLKS) != 0;
        const bool second = lastPress.valid && lastPress.serial == target->serial && lastPress.button == message &&
                            lastPress.nonClient == !client && now - lastPress.time <= system.doubleClickTime() &&
                            static_cast<unsigned>(std::abs(in.point.x - lastPress.point.x)) <= sys / 2 &&
                            static_cast<unsigned>(std::abs(in.point.y - lastPress.point.y)) <= sysY / 2;
        if (second && wantsDouble) {
            message += WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
            lastPress.valid = false;
        } else {
            lastPress = {target->serial, message, !client, now, in.point, true};
        }
    }
    if (client) {
        const Point local = in.point - clientOriginOnScreen(target);
        deliver(Message{target->object, message, mk, lParamFromPoint(local), in.point, time});
    } else {
        deliver(Message{target->object, nonClientFor(message), static_cast<std::uintptr_t>(hit),
                        lParamFromPoint(in.point), in.point, time});
    }
}

void DesktopImpl::processKey(const RawInput& in) {
    const bool wasDown = (keys[in.vk & 0xFF] & kDown) != 0;
    if (in.down) {
        keys[in.vk & 0xFF] |= kDown;
        keys[in.vk & 0xFF] ^= kToggled;
    } else {
        keys[in.vk & 0xFF] &= static_cast<std::uint8_t>(~kDown);
    }
    const bool alt = (keys[VK_MENU] & kDown) != 0 || in.vk == VK_MENU;
    const bool ctrl = (keys[VK_CONTROL] & kDown) != 0;
    const bool sys = (alt && !ctrl) || in.vk == VK_F10;
    unsigned message = in.down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    // lParam: repeat count 1, bit 29 with Alt, bit 30 the previous state, bit 31 set on release; a VK_PACKET
    // key-down carries its character above bit 32.
    std::uint64_t l = 1;
    if (alt) l |= 1u << 29;
    if (wasDown || !in.down) l |= 1u << 30;
    if (!in.down) l |= 1u << 31;
    if (in.vk == VK_PACKET) l |= static_cast<std::uint64_t>(in.packet) << 32;
    if (!keyHooks.empty()) {
        auto copy = keyHooks;
        for (auto& h : copy)
            if (h.function(in.vk, in.down)) return;
    }
    if (!focus) return;
    dispatchQueued(Message{focus->object, message, in.vk, static_cast<std::intptr_t>(l), cursorPos,
                           static_cast<std::uint32_t>(now)});
}

}  // namespace detail

std::int16_t Desktop::keyState(unsigned vk) const {
    const std::uint8_t s = impl_->keys[vk & 0xFF];
    return static_cast<std::int16_t>(((s & kDown) ? 0x8000 : 0) | ((s & kToggled) ? 1 : 0));
}

void Desktop::setKeyDown(unsigned vk, bool down) {
    if (down)
        impl_->keys[vk & 0xFF] |= kDown;
    else
        impl_->keys[vk & 0xFF] &= static_cast<std::uint8_t>(~kDown);
}

unsigned Desktop::mouseKeyFlags() const {
    unsigned mk = 0;
    if (isKeyDown(VK_LBUTTON)) mk |= MK_LBUTTON;
    if (isKeyDown(VK_RBUTTON)) mk |= MK_RBUTTON;
    if (isKeyDown(VK_MBUTTON)) mk |= MK_MBUTTON;
    if (isKeyDown(VK_SHIFT)) mk |= MK_SHIFT;
    if (isKeyDown(VK_CONTROL)) mk |= MK_CONTROL;
    return mk;
}

Point Desktop::cursorPos() const { return impl_->cursorPos; }

void Desktop::queueMouse(MouseAction action, Point screen, int wheelDelta) {
    detail::RawInput in;
    in.action = action;
    in.point = screen;
    in.wheel = wheelDelta;
    impl_->input.push_back(in);
}

void Desktop::queueKey(unsigned vk, bool down, char32_t packet) {
    detail::RawInput in;
    in.isKey = true;
    in.vk = vk;
    in.down = down;
    in.packet = packet;
    impl_->input.push_back(in);
}

Window* Desktop::windowFromPoint(Point screen) const {
    auto under = impl_->windowsAt(screen);
    return under.empty() ? nullptr : under.front()->object;
}

}  // namespace host::ui
