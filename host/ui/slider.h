// The slider control ("msctls_trackbar32"): a thumb on a channel between a minimum and a maximum position, with
// tick marks, moved by the mouse and the keys. It tells its owner through WM_HSCROLL (WM_VSCROLL for TBS_VERT)
// with wParam = makeWParam(TB_* code, position for TB_THUMBTRACK and TB_THUMBPOSITION) and lParam = the slider.
//
// What one user action sends, in this order:
//   Left or Up / Right or Down        TB_LINEUP / TB_LINEDOWN (a line: 1 by default) ... key up: TB_ENDTRACK
//   PgUp / PgDn                       TB_PAGEUP / TB_PAGEDOWN (a page: a fifth of the range by default)
//   Home / End                        TB_TOP / TB_BOTTOM
//   press on the channel              TB_PAGEUP or TB_PAGEDOWN towards the press, repeated while the button is
//                                     held (after kRepeatDelay, every kRepeatInterval milliseconds) until the
//                                     thumb reaches the press ... release: TB_ENDTRACK
//   press on the thumb, drag          TB_THUMBTRACK with each new position
//   release after dragging            TB_THUMBPOSITION with the position, then TB_ENDTRACK
//   wheel, a notch                    TB_LINEUP away from the user, TB_LINEDOWN towards, then TB_ENDTRACK
// The position changes before each message is sent, so the owner reads the new one. A press takes the focus
// first; when a kill-focus check elsewhere keeps the focus, the press is over. TBM_SETPOS and the range
// messages send nothing.
//
// Geometry (horizontal; a vertical slider is the same turned): the channel runs from kChannelMargin to the
// width less kChannelMargin; position p lies at kChannelMargin + (p - min) * (width - 2 * kChannelMargin - 1) /
// (max - min), rounded. Ticks go below the channel (above with TBS_TOP, both sides with TBS_BOTH, none with
// TBS_NOTICKS) at the minimum, the maximum, every TBM_SETTICFREQ step with TBS_AUTOTICKS, and at each TBM_SETTIC.
//
// Messages (lParam as listed): TBM_GETPOS, TBM_SETPOS (wParam redraw, lParam position), TBM_GETRANGEMIN/MAX,
// TBM_SETRANGE (lParam makeLParam(min, max)), TBM_SETRANGEMIN/MAX (lParam), TBM_SETTICFREQ (wParam),
// TBM_SETTIC (lParam), TBM_CLEARTICS, TBM_GETNUMTICS, TBM_SETPAGESIZE / TBM_SETLINESIZE (lParam; answer the
// previous), TBM_GETPAGESIZE, TBM_GETLINESIZE, TBM_GETTHUMBRECT / TBM_GETCHANNELRECT (lParam Rect*).
#pragma once

#include <cstdint>
#include <vector>

#include "host/ui/window.h"

namespace host::ui {

class Slider : public Window {
public:
    static constexpr int kChannelMargin = 8;
    static constexpr int kChannelThickness = 4;
    static constexpr int kThumbLength = 10;   // along the channel
    static constexpr int kThumbBreadth = 20;  // across it
    static constexpr int kTickLength = 4;
    static constexpr unsigned kRepeatDelay = 500;
    static constexpr unsigned kRepeatInterval = 100;

    Slider();
    ~Slider() override;

    bool isVertical() const;
    int rangeMin() const { return min_; }
    int rangeMax() const { return max_; }
    void setRange(int min, int max);
    int position() const { return pos_; }
    // TBM_SETPOS: clamped to the range; nothing is sent.
    void setPosition(int pos);
    int pageSize() const;
    int lineSize() const { return line_; }
    void setPageSize(int size);
    void setLineSize(int size);
    void setTicFrequency(int frequency);
    // The positions that have a tick, in order (none with TBS_NOTICKS).
    std::vector<int> ticPositions() const;

    // Client geometry.
    Rect channelRect() const;
    Rect thumbRect() const;
    // The client coordinate along the channel of a position, and the position nearest to one.
    int coordinateOf(int pos) const;
    int positionAt(int coordinate) const;

    std::intptr_t windowProc(Message& m) override;

private:
    enum class Tracking { None, Thumb, Paging };
    static constexpr std::uintptr_t kRepeatTimer = 1;

    int length() const;       // of the client area along the channel
    int breadth() const;      // across it
    int thumbStart() const;   // where the thumb starts across the channel
    int along(Point p) const;
    Rect oriented(int alongStart, int alongEnd, int acrossStart, int acrossEnd) const;
    void notify(int code);
    void moveThumb(int pos, int code);
    void page();
    void endTracking(bool notifyEnd);
    void paint();

    int min_ = 0;
    int max_ = 100;
    int pos_ = 0;
    int page_ = 0;  // 0: a fifth of the range
    int line_ = 1;
    int frequency_ = 1;
    std::vector<int> tics_;
    Tracking tracking_ = Tracking::None;
    int grab_ = 0;         // where on the thumb it was taken, from its centre
    int pageTarget_ = 0;   // the position under the press that pages
    bool focused_ = false;
};

}  // namespace host::ui
