// Standard scroll bars: info with the clamp, automatic show and hide, enabling, and the parts of a bar.
#include "host/ui/scroll_bars.h"

#include <algorithm>

#include "host/ui/desktop.h"
#include "host/ui/desktop_impl.h"

namespace host::ui {

namespace {

constexpr int kMinThumb = 8;

std::uint32_t styleBit(int bar) { return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL; }

// The largest position a page leaves room for: max - max(page - 1, 0).
int maxPosition(const ScrollInfo& i) {
    return std::max(i.min, i.max - std::max(static_cast<int>(i.page) - 1, 0));
}

bool rangeNeeded(const ScrollInfo& i) {
    return i.max > i.min && static_cast<long long>(i.page) <= static_cast<long long>(i.max) - i.min;
}

}  // namespace

int Window::setScrollInfo(int bar, const ScrollInfo& in, bool redraw) {
    if (!node_ || (bar != SB_HORZ && bar != SB_VERT)) return 0;
    auto& impl = *node_->desktop->impl_;
    auto& state = node_->bars[static_cast<std::size_t>(bar)];
    ScrollInfo& info = state.info;
    if (in.mask & SIF_RANGE) {
        info.min = in.min;
        info.max = std::max(in.min, in.max);
    }
    if (in.mask & SIF_PAGE) info.page = in.page;
    const long long span = static_cast<long long>(info.max) - info.min + 1;
    if (static_cast<long long>(info.page) > span) info.page = static_cast<unsigned>(span);
    if (in.mask & SIF_POS) info.pos = in.pos;
    info.pos = std::clamp(info.pos, info.min, maxPosition(info));
    if (in.mask & SIF_TRACKPOS) info.trackPos = in.trackPos;

    if (in.mask & (SIF_RANGE | SIF_PAGE)) {
        const Size before = impl.clientSize(node_);
        const bool shown = (node_->style & styleBit(bar)) != 0;
        if (rangeNeeded(info)) {
            node_->style |= styleBit(bar);
            state.disabledArrows = ESB_ENABLE_BOTH;
        } else if (in.mask & SIF_DISABLENOSCROLL) {
            if (shown) state.disabledArrows = ESB_DISABLE_BOTH;
        } else {
            node_->style &= ~styleBit(bar);
        }
        impl.clientSizeChanged(node_, before);
        if (!node_) return 0;
    }
    (void)redraw;  // bars are state: nothing is painted for them until a picture is made
    return node_->bars[static_cast<std::size_t>(bar)].info.pos;
}

bool Window::getScrollInfo(int bar, ScrollInfo& out) const {
    if (!node_ || (bar != SB_HORZ && bar != SB_VERT)) return false;
    const ScrollInfo& info = node_->bars[static_cast<std::size_t>(bar)].info;
    const unsigned mask = out.mask;
    if (mask & SIF_RANGE) {
        out.min = info.min;
        out.max = info.max;
    }
    if (mask & SIF_PAGE) out.page = info.page;
    if (mask & SIF_POS) out.pos = info.pos;
    if (mask & SIF_TRACKPOS) out.trackPos = info.trackPos;
    return true;
}

int Window::scrollPos(int bar) const {
    ScrollInfo i;
    i.mask = SIF_POS;
    return getScrollInfo(bar, i) ? i.pos : 0;
}

int Window::setScrollPos(int bar, int pos, bool redraw) {
    const int old = scrollPos(bar);
    ScrollInfo i;
    i.mask = SIF_POS;
    i.pos = pos;
    setScrollInfo(bar, i, redraw);
    return old;
}

void Window::setScrollRange(int bar, int min, int max, bool redraw) {
    ScrollInfo i;
    i.mask = SIF_RANGE;
    i.min = min;
    i.max = max;
    setScrollInfo(bar, i, redraw);
}

void Window::scrollRange(int bar, int& min, int& max) const {
    ScrollInfo i;
    i.mask = SIF_RANGE;
    min = max = 0;
    if (getScrollInfo(bar, i)) {
        min = i.min;
        max = i.max;
    }
}

void Window::showScrollBar(int bar, bool show) {
    if (!node_) return;
    auto& impl = *node_->desktop->impl_;
    const Size before = impl.clientSize(node_);
    std::uint32_t bits = bar == SB_BOTH ? (WS_VSCROLL | WS_HSCROLL) : bar == SB_VERT ? WS_VSCROLL
                                                                       : bar == SB_HORZ ? WS_HSCROLL : 0u;
    if (show)
        node_->style |= bits;
    else
        node_->style &= ~bits;
    impl.clientSizeChanged(node_, before);
}

bool Window::enableScrollBar(int bar, unsigned arrows) {
    if (!node_) return false;
    bool changed = false;
    for (int b : {SB_HORZ, SB_VERT}) {
        if (bar != SB_BOTH && bar != b) continue;
        auto& state = node_->bars[static_cast<std::size_t>(b)];
        changed = changed || state.disabledArrows != arrows;
        state.disabledArrows = arrows;
    }
    return changed;
}

void Window::enableScrollBarCtrl(int bar, bool enable) { showScrollBar(bar, enable); }

bool Window::isScrollBarVisible(int bar) const { return node_ && (node_->style & styleBit(bar)) != 0; }

unsigned Window::scrollBarDisabledArrows(int bar) const {
    if (!node_ || (bar != SB_HORZ && bar != SB_VERT)) return ESB_DISABLE_BOTH;
    return node_->bars[static_cast<std::size_t>(bar)].disabledArrows;
}

ScrollBarParts scrollBarParts(const Window& w, int bar) {
    ScrollBarParts parts;
    if (!w.exists() || !w.isScrollBarVisible(bar)) return parts;
    Desktop& desktop = w.desktop();
    // The bar in window coordinates: beside (or below) the client area, inside the frame.
    const Rect frame = w.nonClientInsets();
    const Rect client = Rect::fromSize(frame.left, frame.top, w.clientRect().width(), w.clientRect().height());
    const bool vertical = bar == SB_VERT;
    const int barWidth = desktop.systemMetric(SM_CXVSCROLL), barHeight = desktop.systemMetric(SM_CYHSCROLL);
    parts.bar = vertical ? Rect{client.right, client.top, client.right + barWidth, client.bottom}
                         : Rect{client.left, client.bottom, client.right, client.bottom + barHeight};
    const Rect& b = parts.bar;
    const int length = vertical ? b.height() : b.width();
    const int arrow = std::min(vertical ? desktop.systemMetric(SM_CYVSCROLL) : desktop.systemMetric(SM_CXHSCROLL),
                               length / 2);
    if (vertical) {
        parts.lowArrow = {b.left, b.top, b.right, b.top + arrow};
        parts.highArrow = {b.left, b.bottom - arrow, b.right, b.bottom};
        parts.track = {b.left, b.top + arrow, b.right, b.bottom - arrow};
    } else {
        parts.lowArrow = {b.left, b.top, b.left + arrow, b.bottom};
        parts.highArrow = {b.right - arrow, b.top, b.right, b.bottom};
        parts.track = {b.left + arrow, b.top, b.right - arrow, b.bottom};
    }
    ScrollInfo info;
    w.getScrollInfo(bar, info);
    const int trackLength = vertical ? parts.track.height() : parts.track.width();
    const long long range = static_cast<long long>(info.max) - info.min + 1;
    if (w.scrollBarDisabledArrows(bar) == ESB_DISABLE_BOTH || range <= 1 || trackLength <= 0) return parts;
    int thumb = info.page == 0 ? (vertical ? desktop.systemMetric(SM_CYVTHUMB) : desktop.systemMetric(SM_CXHTHUMB))
                               : static_cast<int>(trackLength * static_cast<long long>(info.page) / range);
    thumb = std::max(thumb, kMinThumb);
    if (thumb > trackLength) return parts;
    const long long travel = static_cast<long long>(maxPosition(info)) - info.min;
    const int offset = travel > 0 ? static_cast<int>((trackLength - thumb) * (info.pos - info.min) / travel) : 0;
    parts.thumb = vertical ? Rect{b.left, parts.track.top + offset, b.right, parts.track.top + offset + thumb}
                           : Rect{parts.track.left + offset, b.top, parts.track.left + offset + thumb, b.bottom};
    return parts;
}

int scrollCodeAt(const Window& w, int bar, Point screen) {
    const ScrollBarParts parts = scrollBarParts(w, bar);
    const Point p = screen - w.windowRect().topLeft();
    const unsigned disabled = w.scrollBarDisabledArrows(bar);
    if (parts.lowArrow.contains(p)) return (disabled & ESB_DISABLE_LTUP) ? -1 : SB_LINEUP;
    if (parts.highArrow.contains(p)) return (disabled & ESB_DISABLE_RTDN) ? -1 : SB_LINEDOWN;
    if (!parts.track.contains(p) || parts.thumb.isEmpty() || parts.thumb.contains(p)) return -1;
    const bool before = bar == SB_VERT ? p.y < parts.thumb.top : p.x < parts.thumb.left;
    return before ? SB_PAGEUP : SB_PAGEDOWN;
}

}  // namespace host::ui
