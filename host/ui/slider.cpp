// Sliders: range and position, geometry along and across the channel, keys, mouse paging and dragging with
// their scroll notifications, painting.
#include "host/ui/slider.h"

#include <algorithm>
#include <cmath>

#include "host/ui/control_support.h"
#include "host/ui/desktop.h"

namespace host::ui {

namespace {

// Space between the control's edge and the thumb, across the channel.
constexpr int kEdgeGap = 2;

}  // namespace

Slider::Slider() = default;
Slider::~Slider() = default;

bool Slider::isVertical() const { return (style() & TBS_VERT) != 0; }

void Slider::setRange(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    pos_ = std::clamp(pos_, min_, max_);
    invalidate();
}

void Slider::setPosition(int pos) {
    pos = std::clamp(pos, min_, max_);
    if (pos == pos_) return;
    pos_ = pos;
    invalidate();
}

int Slider::pageSize() const { return page_ > 0 ? page_ : std::max(1, (max_ - min_) / 5); }
void Slider::setPageSize(int size) { page_ = std::max(0, size); }
void Slider::setLineSize(int size) { line_ = std::max(1, size); }

void Slider::setTicFrequency(int frequency) {
    frequency_ = std::max(1, frequency);
    invalidate();
}

std::vector<int> Slider::ticPositions() const {
    std::vector<int> out;
    if (style() & TBS_NOTICKS) return out;
    out.push_back(min_);
    if (style() & TBS_AUTOTICKS)
        for (long long p = static_cast<long long>(min_) + frequency_; p < max_; p += frequency_)
            out.push_back(static_cast<int>(p));
    for (int t : tics_)
        if (t > min_ && t < max_) out.push_back(t);
    if (max_ != min_) out.push_back(max_);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

// [SECTION] Geometry

int Slider::length() const { return isVertical() ? clientRect().height() : clientRect().width(); }
int Slider::breadth() const { return isVertical() ? clientRect().width() : clientRect().height(); }

int Slider::thumbStart() const {
    const std::uint32_t s = style();
    const bool ticksBefore = !(s & TBS_NOTICKS) && (s & (TBS_TOP | TBS_BOTH));
    return kEdgeGap + (ticksBefore ? kTickLength + kEdgeGap : 0);
}

int Slider::along(Point p) const { return isVertical() ? p.y : p.x; }

Rect Slider::oriented(int alongStart, int alongEnd, int acrossStart, int acrossEnd) const {
    return isVertical() ? Rect{acrossStart, alongStart, acrossEnd, alongEnd}
                        : Rect{alongStart, acrossStart, alongEnd, acrossEnd};
}

int Slider::coordinateOf(int pos) const {
    const int span = std::max(0, length() - 2 * kChannelMargin - 1);
    if (max_ == min_) return kChannelMargin;
    const double t = static_cast<double>(pos - min_) / (max_ - min_);
    return kChannelMargin + static_cast<int>(std::lround(t * span));
}

int Slider::positionAt(int coordinate) const {
    const int span = std::max(1, length() - 2 * kChannelMargin - 1);
    const double t = static_cast<double>(coordinate - kChannelMargin) / span;
    return std::clamp(min_ + static_cast<int>(std::lround(t * (max_ - min_))), min_, max_);
}

Rect Slider::channelRect() const {
    const int middle = thumbStart() + std::min(kThumbBreadth, breadth()) / 2;
    return oriented(kChannelMargin - kChannelThickness / 2, length() - kChannelMargin + kChannelThickness / 2,
                    middle - kChannelThickness / 2, middle + kChannelThickness / 2);
}

Rect Slider::thumbRect() const {
    const int at = coordinateOf(pos_);
    return oriented(at - kThumbLength / 2, at - kThumbLength / 2 + kThumbLength, thumbStart(),
                    thumbStart() + std::min(kThumbBreadth, breadth()));
}

// [SECTION] Moving

void Slider::notify(int code) {
    Window* receiver = ownerOrParent();
    if (!receiver || notificationsSuppressed(receiver)) return;
    const int shown = (code == TB_THUMBTRACK || code == TB_THUMBPOSITION) ? pos_ : 0;
    receiver->send(isVertical() ? WM_VSCROLL : WM_HSCROLL, makeWParam(code, shown), lParamFromPointer(this));
}

void Slider::moveThumb(int pos, int code) {
    setPosition(pos);
    notify(code);
}

void Slider::page() {
    if (pageTarget_ < pos_) moveThumb(std::max(pageTarget_, pos_ - pageSize()), TB_PAGEUP);
    else if (pageTarget_ > pos_) moveThumb(std::min(pageTarget_, pos_ + pageSize()), TB_PAGEDOWN);
}

void Slider::endTracking(bool notifyEnd) {
    const Tracking was = tracking_;
    tracking_ = Tracking::None;
    killTimer(kRepeatTimer);
    if (hasCapture()) desktop().releaseCapture();
    invalidate(false);
    if (!notifyEnd) return;
    if (was == Tracking::Thumb) notify(TB_THUMBPOSITION);
    if (was != Tracking::None) notify(TB_ENDTRACK);
}

// [SECTION] Painting

void Slider::paint() {
    PaintDC dc(*this);
    Desktop& d = desktop();
    const Rect client = clientRect();
    dc.fillRect(client, controlBrush(*this, dc, WM_CTLCOLORSTATIC, COLOR_BTNFACE));
    Rect channel = channelRect();
    dc.drawEdge(channel, EDGE_SUNKEN, BF_RECT);

    dc.selectPen(Pen::solid(d.sysColor(COLOR_BTNTEXT)));
    const std::uint32_t s = style();
    const int thumbEnd = thumbStart() + std::min(kThumbBreadth, breadth());
    const bool before = (s & (TBS_TOP | TBS_BOTH)) != 0;
    const bool after = !(s & TBS_TOP) || (s & TBS_BOTH);
    for (int p : ticPositions()) {
        const int at = coordinateOf(p);
        auto tick = [&](int from, int to) {
            const Rect r = oriented(at, at, from, to);
            dc.moveTo(r.topLeft());
            dc.lineTo(r.bottomRight());
        };
        if (before) tick(kEdgeGap, kEdgeGap + kTickLength);
        if (after) tick(thumbEnd + kEdgeGap, thumbEnd + kEdgeGap + kTickLength);
    }

    Rect thumb = thumbRect();
    dc.fillRect(thumb, Brush::solid(d.sysColor(COLOR_BTNFACE)));
    dc.drawEdge(thumb, tracking_ == Tracking::Thumb ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    if (focused_) dc.drawFocusRect(client);
}

// [SECTION] Messages

std::intptr_t Slider::windowProc(Message& m) {
    switch (m.id) {
    case TBM_GETPOS: return pos_;
    case TBM_SETPOS: setPosition(static_cast<int>(m.l)); return 0;
    case TBM_GETRANGEMIN: return min_;
    case TBM_GETRANGEMAX: return max_;
    case TBM_SETRANGE:
        setRange(static_cast<std::int16_t>(loWord(m.l)), static_cast<std::int16_t>(hiWord(m.l)));
        return 0;
    case TBM_SETRANGEMIN: setRange(static_cast<int>(m.l), max_); return 0;
    case TBM_SETRANGEMAX: setRange(min_, static_cast<int>(m.l)); return 0;
    case TBM_SETTICFREQ: setTicFrequency(static_cast<int>(m.w)); return 0;
    case TBM_SETTIC:
        if (m.l <= min_ || m.l >= max_) return 0;
        tics_.push_back(static_cast<int>(m.l));
        invalidate();
        return 1;
    case TBM_CLEARTICS:
        tics_.clear();
        invalidate();
        return 0;
    case TBM_GETNUMTICS: return static_cast<std::intptr_t>(ticPositions().size());
    case TBM_SETPAGESIZE: {
        const int previous = pageSize();
        setPageSize(static_cast<int>(m.l));
        return previous;
    }
    case TBM_GETPAGESIZE: return pageSize();
    case TBM_SETLINESIZE: {
        const int previous = line_;
        setLineSize(static_cast<int>(m.l));
        return previous;
    }
    case TBM_GETLINESIZE: return line_;
    case TBM_GETTHUMBRECT:
        if (auto* r = pointerFromParam<Rect>(m.l)) *r = thumbRect();
        return 0;
    case TBM_GETCHANNELRECT:
        if (auto* r = pointerFromParam<Rect>(m.l)) *r = channelRect();
        return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: paint(); return 0;
    case WM_SIZE:
    case WM_ENABLE: invalidate(); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        focused_ = m.id == WM_SETFOCUS;
        invalidate(false);
        return 0;
    case WM_KEYDOWN:
        switch (m.w) {
        case VK_LEFT:
        case VK_UP: moveThumb(pos_ - line_, TB_LINEUP); return 0;
        case VK_RIGHT:
        case VK_DOWN: moveThumb(pos_ + line_, TB_LINEDOWN); return 0;
        case VK_PRIOR: moveThumb(pos_ - pageSize(), TB_PAGEUP); return 0;
        case VK_NEXT: moveThumb(pos_ + pageSize(), TB_PAGEDOWN); return 0;
        case VK_HOME: moveThumb(min_, TB_TOP); return 0;
        case VK_END: moveThumb(max_, TB_BOTTOM); return 0;
        default: return Window::windowProc(m);
        }
    case WM_KEYUP:
        switch (m.w) {
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_HOME:
        case VK_END: notify(TB_ENDTRACK); return 0;
        default: return Window::windowProc(m);
        }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (!hasFocus()) {
            setFocus();
            if (!hasFocus()) return 0;  // a kill-focus check elsewhere kept the focus: the press is over
        }
        const Point p = pointFromLParam(m.l);
        setCapture();
        if (thumbRect().contains(p)) {
            tracking_ = Tracking::Thumb;
            grab_ = along(p) - coordinateOf(pos_);
            invalidate(false);
            return 0;
        }
        tracking_ = Tracking::Paging;
        pageTarget_ = positionAt(along(p));
        page();
        setTimer(kRepeatTimer, kRepeatDelay);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (tracking_ == Tracking::Thumb) {
            const int pos = positionAt(along(pointFromLParam(m.l)) - grab_);
            if (pos != pos_) moveThumb(pos, TB_THUMBTRACK);
        }
        return 0;
    case WM_TIMER:
        if (m.w != kRepeatTimer) return Window::windowProc(m);
        if (tracking_ != Tracking::Paging || pageTarget_ == pos_) {
            killTimer(kRepeatTimer);
            return 0;
        }
        page();
        setTimer(kRepeatTimer, kRepeatInterval);
        return 0;
    case WM_LBUTTONUP:
        if (tracking_ != Tracking::None) endTracking(true);
        return 0;
    case WM_CAPTURECHANGED:
        if (tracking_ != Tracking::None) endTracking(true);
        return 0;
    case WM_MOUSEWHEEL: {
        const int notches = wheelDeltaOf(m.w) / WHEEL_DELTA;
        if (notches == 0) return 0;
        moveThumb(pos_ - notches * line_, notches > 0 ? TB_LINEUP : TB_LINEDOWN);
        notify(TB_ENDTRACK);
        return 0;
    }
    default: return Window::windowProc(m);
    }
}

}  // namespace host::ui
