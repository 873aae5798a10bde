// The paint cycle (update areas, WM_PAINT, rasters) and the virtual clock with its timers.
#include <algorithm>

#include "host/ui/desktop.h"
#include "host/ui/desktop_impl.h"

namespace host::ui {

namespace detail {

// [SECTION] Update areas

void DesktopImpl::invalidate(WindowNode* n, const Rect& r, bool erase) {
    const Size client = clientSize(n);
    const Rect clipped = intersect(r, Rect{0, 0, client.width, client.height});
    if (clipped.isEmpty()) return;
    n->updateRects.push_back(clipped);
    n->erasePending = n->erasePending || erase;
    invalidations.push_back({n->object, clipped, erase});
}

void DesktopImpl::validate(WindowNode* n) {
    n->updateRects.clear();
    n->erasePending = false;
}

Rect DesktopImpl::updateBox(const WindowNode* n) const {
    Rect box{};
    for (const Rect& r : n->updateRects) box = unite(box, r);
    return box;
}

WindowNode* DesktopImpl::findWindowToPaint() const {
    // Parents before their children, top-level windows bottom to top, so what lies above paints last.
    std::function<WindowNode*(WindowNode*)> search = [&](WindowNode* n) -> WindowNode* {
        if (!(n->style & WS_VISIBLE)) return nullptr;
        if (!n->updateRects.empty()) return n;
        for (auto it = n->children.rbegin(); it != n->children.rend(); ++it)
            if (WindowNode* found = search(*it)) return found;
        return nullptr;
    };
    for (auto it = topLevels.rbegin(); it != topLevels.rend(); ++it)
        if (WindowNode* found = search(*it)) return found;
    return nullptr;
}

void DesktopImpl::paintNow(WindowNode* n, bool queued) {
    const int begun = n->paintsBegun;
    const std::uint64_t serial = n->serial;
    if (queued)
        dispatchQueued(Message{n->object, WM_PAINT, 0, 0, cursorPos, static_cast<std::uint32_t>(now)});
    else
        send(n, WM_PAINT, 0, 0);
    // A handler that never began a paint would be asked again for ever: its window counts as painted.
    auto it = nodes.find(n);
    if (it != nodes.end() && n->serial == serial && n->paintsBegun == begun) validate(n);
}

Image& DesktopImpl::rasterOf(WindowNode* n) {
    const Size client = clientSize(n);
    if (!n->raster || n->raster->width() != client.width || n->raster->height() != client.height) {
        const int index = n->windowClass.backgroundColor;
        n->raster.emplace(client.width, client.height, system.color(index >= 0 ? index : COLOR_WINDOW));
    }
    return *n->raster;
}

// [SECTION] Timers

Timer* DesktopImpl::findTimer(WindowNode* n, std::uintptr_t id) {
    for (auto& t : timers)
        if (t.node == n && t.id == id) return &t;
    return nullptr;
}

void DesktopImpl::removeTimers(WindowNode* n) {
    timers.erase(std::remove_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.node == n; }),
                 timers.end());
}

Timer* DesktopImpl::pendingTimer() {
    Timer* first = nullptr;
    for (auto& t : timers)
        if (t.pending && (!first || t.due < first->due)) first = &t;
    return first;
}

}  // namespace detail

std::uint32_t Desktop::tickCount() const { return static_cast<std::uint32_t>(impl_->now); }

void Desktop::advance(unsigned milliseconds) {
    auto& impl = *impl_;
    const std::uint64_t target = impl.now + milliseconds;
    // Each step goes to the next timer that falls due: it becomes pending (once, however many intervals have
    // passed) and the pump delivers it with what it causes. Intervals are at least USER_TIMER_MINIMUM, so the
    // steps are bounded by the time asked.
    for (;;) {
        detail::Timer* next = nullptr;
        for (auto& t : impl.timers)
            if (t.due <= target && (!next || t.due < next->due)) next = &t;
        if (!next) break;
        impl.now = std::max(impl.now, next->due);
        next->pending = true;
        next->due = impl.now + next->interval;
        pumpUntilIdle();
    }
    impl.now = target;
    pumpUntilIdle();
}

}  // namespace host::ui
