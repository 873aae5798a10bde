// The robot: mouse, keys, scroll bars and drags through the desktop's input queue.
#include "host/ui/robot.h"

#include "host/sys/encoding.h"
#include "host/ui/desktop_impl.h"

namespace host::ui {

namespace {

MouseAction downOf(MouseButton b) {
    return b == MouseButton::Left ? MouseAction::LeftDown
                                  : b == MouseButton::Right ? MouseAction::RightDown : MouseAction::MiddleDown;
}

MouseAction upOf(MouseButton b) {
    return b == MouseButton::Left ? MouseAction::LeftUp
                                  : b == MouseButton::Right ? MouseAction::RightUp : MouseAction::MiddleUp;
}

struct KeyStroke {
    unsigned vk = VK_PACKET;
    bool shift = false;
};

// The key a US keyboard types a character with; VK_PACKET for the rest.
KeyStroke strokeFor(char32_t c) {
    if (c >= U'a' && c <= U'z') return {static_cast<unsigned>(c - U'a' + 'A'), false};
    if (c >= U'A' && c <= U'Z') return {static_cast<unsigned>(c), true};
    if (c >= U'0' && c <= U'9') return {static_cast<unsigned>(c), false};
    switch (c) {
    case U' ': return {VK_SPACE, false};
    case U'\n':
    case U'\r': return {VK_RETURN, false};
    case U'\t': return {VK_TAB, false};
    case U'\b': return {VK_BACK, false};
    case 0x1B: return {VK_ESCAPE, false};
    case U'!': return {'1', true};
    case U'@': return {'2', true};
    case U'#': return {'3', true};
    case U'$': return {'4', true};
    case U'%': return {'5', true};
    case U'^': return {'6', true};
    case U'&': return {'7', true};
    case U'*': return {'8', true};
    case U'(': return {'9', true};
    case U')': return {'0', true};
    case U';': return {VK_OEM_1, false};
    case U':': return {VK_OEM_1, true};
    case U'=': return {VK_OEM_PLUS, false};
    case U'+': return {VK_OEM_PLUS, true};
    case U',': return {VK_OEM_COMMA, false};
    case U'<': return {VK_OEM_COMMA, true};
    case U'-': return {VK_OEM_MINUS, false};
    case U'_': return {VK_OEM_MINUS, true};
    case U'.': return {VK_OEM_PERIOD, false};
    case U'>': return {VK_OEM_PERIOD, true};
    case U'/': return {VK_OEM_2, false};
    case U'?': return {VK_OEM_2, true};
    case U'`': return {VK_OEM_3, false};
    case U'~': return {VK_OEM_3, true};
    case U'[': return {VK_OEM_4, false};
    case U'{': return {VK_OEM_4, true};
    case U'\\': return {VK_OEM_5, false};
    case U'|': return {VK_OEM_5, true};
    case U']': return {VK_OEM_6, false};
    case U'}': return {VK_OEM_6, true};
    case U'\'': return {VK_OEM_7, false};
    case U'"': return {VK_OEM_7, true};
    default: return {VK_PACKET, false};
    }
}

}  // namespace

Robot::Robot(Desktop& desktop) : desktop_(desktop) {}

void Robot::pump() {
    if (autoPump_) desktop_.pumpUntilIdle();
}

void Robot::holdModifiers(Modifiers mods, bool down) {
    const unsigned keys[] = {VK_CONTROL, VK_SHIFT, VK_MENU};
    const Modifiers flags[] = {Ctrl, Shift, Alt};
    for (int i = 0; i < 3; ++i) {
        const int k = down ? i : 2 - i;
        if (mods & flags[k]) desktop_.queueKey(keys[k], down);
    }
}

void Robot::moveTo(Point screen) {
    desktop_.queueMouse(MouseAction::Move, screen);
    pump();
}

void Robot::moveTo(const Window& w, Point client) { moveTo(w.clientToScreen(client)); }

void Robot::press(MouseButton button, Modifiers mods) {
    holdModifiers(mods, true);
    desktop_.queueMouse(downOf(button), desktop_.cursorPos());
    holdModifiers(mods, false);
    pump();
}

void Robot::release(MouseButton button, Modifiers mods) {
    holdModifiers(mods, true);
    desktop_.queueMouse(upOf(button), desktop_.cursorPos());
    holdModifiers(mods, false);
    pump();
}

void Robot::click(Point screen, MouseButton button, Modifiers mods) {
    if (desktop_.cursorPos() != screen) desktop_.queueMouse(MouseAction::Move, screen);
    holdModifiers(mods, true);
    desktop_.queueMouse(downOf(button), screen);
    desktop_.queueMouse(upOf(button), screen);
    holdModifiers(mods, false);
    pump();
}

void Robot::clickAt(const Window& w, Point client, MouseButton button, Modifiers mods) {
    click(w.clientToScreen(client), button, mods);
}

void Robot::doubleClick(Point screen, Modifiers mods) {
    if (desktop_.cursorPos() != screen) desktop_.queueMouse(MouseAction::Move, screen);
    holdModifiers(mods, true);
    for (int i = 0; i < 2; ++i) {
        desktop_.queueMouse(MouseAction::LeftDown, screen);
        desktop_.queueMouse(MouseAction::LeftUp, screen);
    }
    holdModifiers(mods, false);
    pump();
}

void Robot::doubleClickAt(const Window& w, Point client, Modifiers mods) {
    doubleClick(w.clientToScreen(client), mods);
}

void Robot::drag(Point from, Point to, int steps, Modifiers mods) {
    steps = std::max(steps, 1);
    if (desktop_.cursorPos() != from) desktop_.queueMouse(MouseAction::Move, from);
    holdModifiers(mods, true);
    desktop_.queueMouse(MouseAction::LeftDown, from);
    for (int i = 1; i <= steps; ++i)
        desktop_.queueMouse(MouseAction::Move,
                            {from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
    desktop_.queueMouse(MouseAction::LeftUp, to);
    holdModifiers(mods, false);
    pump();
}

void Robot::wheel(int delta) {
    desktop_.queueMouse(MouseAction::Wheel, desktop_.cursorPos(), delta);
    pump();
}

void Robot::wait(unsigned milliseconds) { desktop_.advance(milliseconds); }

void Robot::key(unsigned vk, Modifiers mods) {
    holdModifiers(mods, true);
    desktop_.queueKey(vk, true);
    desktop_.queueKey(vk, false);
    holdModifiers(mods, false);
    pump();
}

void Robot::keyDown(unsigned vk) {
    desktop_.queueKey(vk, true);
    pump();
}

void Robot::keyUp(unsigned vk) {
    desktop_.queueKey(vk, false);
    pump();
}

void Robot::type(std::string_view utf8) {
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t c = sys::decodeUtf8At(utf8, pos);
        if (c == U'\r' && pos < utf8.size() && utf8[pos] == '\n') continue;  // CR LF is one Enter
        const KeyStroke k = strokeFor(c);
        const bool shift = k.shift && !desktop_.isKeyDown(VK_SHIFT);
        if (shift) desktop_.queueKey(VK_SHIFT, true);
        desktop_.queueKey(k.vk, true, k.vk == VK_PACKET ? c : 0);
        desktop_.queueKey(k.vk, false, k.vk == VK_PACKET ? c : 0);
        if (shift) desktop_.queueKey(VK_SHIFT, false);
    }
    pump();
}

void Robot::scrollBar(Window& w, int bar, int code) {
    const unsigned message = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    w.send(message, makeWParam(code, 0), 0);
    if (code != SB_ENDSCROLL && code != SB_THUMBPOSITION && code != SB_THUMBTRACK && w.exists())
        w.send(message, makeWParam(SB_ENDSCROLL, 0), 0);
    pump();
}

void Robot::dragThumb(Window& w, int bar, int pos) {
    const unsigned message = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    ScrollInfo track;
    track.mask = SIF_TRACKPOS;
    track.trackPos = pos;
    w.setScrollInfo(bar, track, false);
    w.send(message, makeWParam(SB_THUMBTRACK, pos), 0);
    if (w.exists()) w.send(message, makeWParam(SB_THUMBPOSITION, pos), 0);
    if (w.exists()) w.send(message, makeWParam(SB_ENDSCROLL, 0), 0);
    pump();
}

std::uint32_t Robot::dragEnter(Point screen, const DataObject& data, unsigned keys) {
    dragData_ = data;
    dragWindow_ = nullptr;
    return dragOver(screen, keys);
}

std::uint32_t Robot::dragOver(Point screen, unsigned keys) {
    Window* registered = nullptr;
    DropTarget* target = desktop_.dropTargetFor(desktop_.windowFromPoint(screen), &registered);
    std::uint32_t effect = DROPEFFECT_NONE;
    if (dragWindow_ && dragWindow_ != registered && desktop_.isWindow(dragWindow_)) {
        if (DropTarget* old = desktop_.dropTargetFor(dragWindow_)) old->dragLeave(*dragWindow_);
    }
    if (target && registered) {
        effect = registered == dragWindow_ ? target->dragOver(*registered, dragData_, keys, screen)
                                           : target->dragEnter(*registered, dragData_, keys, screen);
    }
    dragWindow_ = registered;
    pump();
    return effect;
}

void Robot::dragLeave() {
    if (dragWindow_ && desktop_.isWindow(dragWindow_))
        if (DropTarget* t = desktop_.dropTargetFor(dragWindow_)) t->dragLeave(*dragWindow_);
    dragWindow_ = nullptr;
    pump();
}

std::uint32_t Robot::drop(Point screen, std::uint32_t effect) {
    Window* registered = nullptr;
    DropTarget* target = desktop_.dropTargetFor(desktop_.windowFromPoint(screen), &registered);
    std::uint32_t result = DROPEFFECT_NONE;
    if (target && registered) result = target->drop(*registered, dragData_, effect, screen);
    dragWindow_ = nullptr;
    pump();
    return result;
}

}  // namespace host::ui
