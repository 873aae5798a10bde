// The spin control ("msctls_updown32"): a pair of arrow buttons that step a position within a range, usually
// beside a buddy edit that shows the position as a number (UDS_SETBUDDYINT).
//
// What one press of an arrow sends to the owner, in this order:
//   WM_NOTIFY UDN_DELTAPOS (an UpDownNotify with the position and the step)   answering nonzero refuses the
//                                                                             step; the owner may change it
//   WM_VSCROLL (WM_HSCROLL with UDS_HORZ) makeWParam(SB_THUMBPOSITION, new position), lParam = the spin
//                                                                             when the position changed
//   ... while the button is held: again after kRepeatDelay, then every kRepeatInterval milliseconds
//   on release: WM_VSCROLL makeWParam(SB_ENDSCROLL, position)
// The up arrow (right with UDS_HORZ) steps towards the maximum. A step beyond the range stops at its end, or
// with UDS_WRAP goes round to the other end. With the focus and UDS_ARROWKEYS, Up and Down step too.
//
// The range is the system's default until set: minimum 100, maximum 0, so the up arrow counts down. With
// UDS_SETBUDDYINT the position is read from the buddy's text before each step (a text that is not a whole
// number leaves the position as it was, and UDM_GETPOS answers it with the error flag) and written back as plain
// digits after it, without thousands separators. UDS_AUTOBUDDY takes the control made just before the spin as
// its buddy; UDS_ALIGNRIGHT (UDS_ALIGNLEFT) then moves the spin inside the buddy's right (left) edge and narrows
// the buddy by the spin's width. A press does not take the focus.
//
// Messages: UDM_SETRANGE (lParam makeLParam(max, min), 16-bit), UDM_GETRANGE (answers makeLParam(max, min)),
// UDM_SETRANGE32 (wParam min, lParam max), UDM_GETRANGE32 (wParam/lParam int*), UDM_SETPOS (lParam, 16-bit)
// and UDM_SETPOS32 (lParam) answering the previous position, UDM_GETPOS (answers makeLParam(position, error)),
// UDM_GETPOS32 (lParam bool* error), UDM_SETBUDDY (wParam Window*; answers the previous), UDM_GETBUDDY.
#pragma once

#include <cstdint>

#include "host/ui/message.h"
#include "host/ui/window.h"

namespace host::ui {

// UDN_DELTAPOS's record.
struct UpDownNotify {
    NotifyHeader header;
    int pos = 0;    // the position before the step
    int delta = 0;  // the step asked for; the owner may change it
};

class Spin : public Window {
public:
    static constexpr unsigned kRepeatDelay = 500;
    static constexpr unsigned kRepeatInterval = 100;

    Spin();
    ~Spin() override;

    int rangeMin() const { return min_; }
    int rangeMax() const { return max_; }
    void setRange(int min, int max);
    // The position; with UDS_SETBUDDYINT as the buddy shows it (`error` tells when its text is no number).
    int position(bool* error = nullptr) const;
    // UDM_SETPOS32: clamped to the range, shown in the buddy; answers the previous position. Nothing is sent.
    int setPosition(int pos);
    Window* buddy() const;
    // UDM_SETBUDDY: answers the previous buddy.
    Window* setBuddy(Window* buddy);
    // One press of an arrow (+1 up or right, -1 down or left) as a user's, with the notifications; answers
    // whether the position changed.
    bool step(int direction);
    // The two arrow buttons, client coordinates: the up (right) one first.
    Rect upRect() const;
    Rect downRect() const;

    std::intptr_t windowProc(Message& m) override;

private:
    static constexpr std::uintptr_t kRepeatTimer = 1;

    bool isHorizontal() const { return (style() & UDS_HORZ) != 0; }
    int clampOrWrap(int pos) const;
    void showInBuddy();
    void notifyScroll(int code);
    int arrowAt(Point client) const;  // +1, -1
    void paint();

    int min_ = 100;
    int max_ = 0;
    int pos_ = 0;
    Window* buddy_ = nullptr;
    int pressed_ = 0;  // the arrow held down: +1, -1, or 0
    bool over_ = false;  // the mouse is over the arrow held down
};

}  // namespace host::ui
