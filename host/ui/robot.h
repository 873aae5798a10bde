// The robot: a test's hands. It moves and presses the mouse, turns the wheel, presses keys and types text, works
// scroll bars and drags data over drop targets, through the same queue a user's input would take. By default
// each call pumps the desktop until it is idle, so a test can check the state right after it.
//
// Keys: key(VK_TAB, Shift) queues Shift down, Tab down, Tab up, Shift up; each key-down that types a character
// becomes WM_KEYDOWN, then WM_CHAR (through translation), and its key-up WM_KEYUP. With Alt they are the WM_SYS*
// forms. type("Qty 7") types each character: letters and digits by their keys (capitals with Shift), Enter for
// '\n' or '\r', Tab for '\t', Backspace for '\b', and any other character as a VK_PACKET key.
//
// Mouse: points are screen coordinates; the *At forms take a window and a point in its client area. Press and
// release without a move in between stay a click; the robot never makes a move of its own unless asked.
#pragma once

#include <cstdint>
#include <string_view>

#include "host/ui/desktop.h"
#include "host/ui/drop_target.h"
#include "host/ui/geometry.h"

namespace host::ui {

// Modifier keys held around a key or a mouse action.
enum Modifiers : unsigned {
    NoModifiers = 0,
    Shift = 1,
    Ctrl = 2,
    Alt = 4,
};
constexpr Modifiers operator|(Modifiers a, Modifiers b) { return static_cast<Modifiers>(unsigned(a) | unsigned(b)); }

enum class MouseButton { Left, Right, Middle };

class Robot {
public:
    explicit Robot(Desktop& desktop = currentDesktop());

    // Whether each call ends with Desktop::pumpUntilIdle() (true by default).
    void setAutoPump(bool on) { autoPump_ = on; }

    // [SECTION] Mouse
    void moveTo(Point screen);
    void moveTo(const Window& w, Point client);
    // Press and release where the cursor is.
    void press(MouseButton button = MouseButton::Left, Modifiers mods = NoModifiers);
    void release(MouseButton button = MouseButton::Left, Modifiers mods = NoModifiers);
    // Move there (when not there yet), press, release.
    void click(Point screen, MouseButton button = MouseButton::Left, Modifiers mods = NoModifiers);
    void clickAt(const Window& w, Point client, MouseButton button = MouseButton::Left,
                 Modifiers mods = NoModifiers);
    // Two clicks with no time between them: a double click for CS_DBLCLKS windows.
    void doubleClick(Point screen, Modifiers mods = NoModifiers);
    void doubleClickAt(const Window& w, Point client, Modifiers mods = NoModifiers);
    // Press at `from`, move to `to` in `steps` equal moves, release there.
    void drag(Point from, Point to, int steps = 1, Modifiers mods = NoModifiers);
    // Turns the wheel by `delta` (WHEEL_DELTA per notch; negative is towards the user) where the cursor is.
    void wheel(int delta);
    // Waits on the virtual clock (Desktop::advance).
    void wait(unsigned milliseconds);

    // [SECTION] Keyboard
    void key(unsigned vk, Modifiers mods = NoModifiers);
    void keyDown(unsigned vk);
    void keyUp(unsigned vk);
    void type(std::string_view utf8);

    // [SECTION] Scroll bars
    // Sends WM_HSCROLL / WM_VSCROLL with `code` (then SB_ENDSCROLL for line and page codes), as a click on a
    // window's own bar would.
    void scrollBar(Window& w, int bar, int code);
    // Drags the thumb of a window's own bar to `pos`: SB_THUMBTRACK (with the track position), SB_THUMBPOSITION,
    // SB_ENDSCROLL.
    void dragThumb(Window& w, int bar, int pos);

    // [SECTION] Drag and drop over registered drop targets (screen points; keys are MK_* flags)
    std::uint32_t dragEnter(Point screen, const DataObject& data, unsigned keys = 0);
    std::uint32_t dragOver(Point screen, unsigned keys = 0);
    void dragLeave();
    std::uint32_t drop(Point screen, std::uint32_t effect = DROPEFFECT_COPY);

private:
    void pump();
    void holdModifiers(Modifiers mods, bool down);

    Desktop& desktop_;
    bool autoPump_ = true;
    DataObject dragData_;
    Window* dragWindow_ = nullptr;
};

}  // namespace host::ui
