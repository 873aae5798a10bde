// A window message and the packing rules of its two parameters.
//
// Parameters keep the documented Win32 packing (LOWORD/HIWORD, signed client coordinates in lParam). Where the
// Win32 form passes a handle or a buffer, ours passes a pointer:
//   WM_SETTEXT      lParam = const char* (UTF-8, zero-terminated)
//   WM_GETTEXT      wParam = 0 for the whole text or the most bytes wanted, lParam = std::string* to fill;
//                   answers the number of bytes copied
//   WM_GETTEXTLENGTH answers the text's length in bytes
//   WM_SETFONT      wParam = const Font* (nullptr: back to the default font), lParam = redraw flag
//   WM_GETFONT      answers const Font* (valid until the next WM_SETFONT or the window's end), 0 for the default
//   WM_ERASEBKGND   wParam = DC*
//   WM_CTLCOLOR*    wParam = DC*, lParam = the control's Window*; answers const Brush* or 0
//   WM_COMMAND      wParam = makeWParam(control id, notification code), lParam = the control's Window*
//   WM_NOTIFY       wParam = control id, lParam = NotifyHeader* (or a record that starts with one)
//   WM_KILLFOCUS    wParam = the Window* receiving the focus;  WM_SETFOCUS wParam = the Window* losing it
//   WM_CAPTURECHANGED lParam = the Window* taking the capture
//   WM_CREATE, WM_NCCREATE lParam = CreateParams*
//   WM_HSCROLL, WM_VSCROLL lParam = 0 for a window's own bar, else the bar or slider control's Window*
//   WM_CHAR, WM_SYSCHAR, WM_IME_CHAR wParam = the Unicode code point typed
//   WM_KEYDOWN of VK_PACKET carries the code point it will type in bits 32..52 of lParam (packetCharacter)
#pragma once

#include <cstdint>
#include <string>

#include "host/ui/geometry.h"

namespace host::ui {

class Window;

struct Message {
    Window* window = nullptr;
    unsigned id = 0;
    std::uintptr_t w = 0;
    std::intptr_t l = 0;
    Point point{};           // the cursor in screen coordinates when the message was queued (GetMessagePos)
    std::uint32_t time = 0;  // the virtual clock's milliseconds when it was queued
};

// The header of every WM_NOTIFY record.
struct NotifyHeader {
    Window* from = nullptr;  // the control that sends it
    int id = 0;              // its control id
    int code = 0;            // NM_*, TCN_*, ... or a control's own code
};

constexpr std::uintptr_t makeWParam(int low, int high) {
    return static_cast<std::uintptr_t>((static_cast<std::uint32_t>(low) & 0xFFFF) |
                                       ((static_cast<std::uint32_t>(high) & 0xFFFF) << 16));
}
constexpr std::intptr_t makeLParam(int low, int high) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(low) & 0xFFFF) |
                                      ((static_cast<std::uint32_t>(high) & 0xFFFF) << 16));
}
constexpr int loWord(std::uintptr_t v) { return static_cast<int>(v & 0xFFFF); }
constexpr int hiWord(std::uintptr_t v) { return static_cast<int>((v >> 16) & 0xFFFF); }
constexpr int loWord(std::intptr_t v) { return loWord(static_cast<std::uintptr_t>(v)); }
constexpr int hiWord(std::intptr_t v) { return hiWord(static_cast<std::uintptr_t>(v)); }

// The signed x and y packed in an lParam: a captured mouse may report points left of or above the client area.
constexpr int xFromLParam(std::intptr_t l) { return static_cast<std::int16_t>(l & 0xFFFF); }
constexpr int yFromLParam(std::intptr_t l) { return static_cast<std::int16_t>((l >> 16) & 0xFFFF); }
constexpr Point pointFromLParam(std::intptr_t l) { return {xFromLParam(l), yFromLParam(l)}; }
constexpr std::intptr_t lParamFromPoint(Point p) { return makeLParam(p.x, p.y); }

// The signed wheel movement of WM_MOUSEWHEEL, in 120ths of a notch (WHEEL_DELTA).
constexpr int wheelDeltaOf(std::uintptr_t w) { return static_cast<std::int16_t>((w >> 16) & 0xFFFF); }

// The character a VK_PACKET key-down carries (see the table above), 0 for any other key.
constexpr char32_t packetCharacter(std::intptr_t l) {
    return static_cast<char32_t>((static_cast<std::uint64_t>(l) >> 32) & 0x1FFFFF);
}

template <class T>
T* pointerFromParam(std::intptr_t l) { return reinterpret_cast<T*>(l); }
template <class T>
T* pointerFromParam(std::uintptr_t w) { return reinterpret_cast<T*>(w); }
template <class T>
std::intptr_t lParamFromPointer(T* p) { return reinterpret_cast<std::intptr_t>(p); }
template <class T>
std::uintptr_t wParamFromPointer(T* p) { return reinterpret_cast<std::uintptr_t>(p); }

// "WM_KEYDOWN", "WM_USER+5", "0x1234": for readable test failures and message logs.
std::string messageName(unsigned id);

}  // namespace host::ui
