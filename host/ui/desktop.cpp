// The desktop: windows, messages and the queue, focus and capture, cursors, settings.
//
// Index: [SECTION] Life of the desktop  [SECTION] Tree  [SECTION] Geometry  [SECTION] Creating windows
//        [SECTION] Destroying windows  [SECTION] Messages and the pump  [SECTION] Modal loops
//        [SECTION] Focus and capture  [SECTION] Cursors and settings  [SECTION] Drop targets and observers
#include "host/ui/desktop.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "host/ed/display.h"
#include "host/sys/encoding.h"
#include "host/ui/desktop_impl.h"

namespace host::ui {

namespace {

Desktop* gCurrent = nullptr;

template <class T, class F>
int addRegistered(std::vector<detail::Registered<T>>& list, int& next, F&& f) {
    const int token = next++;
    list.push_back({token, std::forward<F>(f)});
    return token;
}

template <class T>
void removeRegistered(std::vector<detail::Registered<T>>& list, int token) {
    list.erase(std::remove_if(list.begin(), list.end(), [&](const auto& r) { return r.token == token; }), list.end());
}

[[noreturn]] void stopLoudly(const char* what) {
    std::fprintf(stderr, "host::ui: %s\n", what);
    std::abort();
}

}  // namespace

// [SECTION] Life of the desktop

Desktop::Desktop() : impl_(std::make_unique<detail::DesktopImpl>()), previous_(gCurrent) {
    impl_->self = this;
    registerStandardClasses(impl_->classes);
    gCurrent = this;
    // The display stamps what it shows with this desktop's clock, so a picture plays at the speed it was shown.
    host::ed::setDisplayClock([this] { return static_cast<std::int64_t>(tickCount()); });
}

Desktop::~Desktop() {
    // Windows end as they would at the end of a session: owned popups with their owners, children with parents.
    for (int guard = 0; guard < 100000 && !impl_->topLevels.empty(); ++guard) impl_->destroy(impl_->topLevels.front());
    if (gCurrent == this) gCurrent = previous_;
    if (Desktop* outer = gCurrent)
        host::ed::setDisplayClock([outer] { return static_cast<std::int64_t>(outer->tickCount()); });
    else
        host::ed::setDisplayClock({});
}

Desktop* Desktop::current() { return gCurrent; }

Desktop& currentDesktop() {
    if (!gCurrent) stopLoudly("no desktop: create a host::ui::Desktop before using windows");
    return *gCurrent;
}

WindowClassRegistry& Desktop::classes() { return impl_->classes; }
SystemTables& Desktop::system() { return impl_->system; }
const SystemTables& Desktop::system() const { return impl_->system; }
Clipboard& Desktop::clipboard() { return impl_->clipboard; }
Size Desktop::screenSize() const { return impl_->screen; }

void Desktop::setScreenSize(Size size) {
    impl_->screen = size;
    impl_->system.setMetric(SM_CXSCREEN, size.width);
    impl_->system.setMetric(SM_CYSCREEN, size.height);
}

namespace detail {

std::vector<char32_t> decodeUtf8(std::string_view s) {
    std::vector<char32_t> out;
    std::size_t pos = 0;
    while (pos < s.size()) out.push_back(sys::decodeUtf8At(s, pos));
    return out;
}

// [SECTION] Tree

WindowNode* DesktopImpl::nodeOf(const Window* w) const {
    if (!w || !liveObjects.count(w)) return nullptr;
    WindowNode* n = w->node_;
    return n && n->desktop == self ? n : nullptr;
}

std::vector<WindowNode*>& DesktopImpl::listOf(WindowNode* n) { return n->parent ? n->parent->children : topLevels; }

void DesktopImpl::detach(WindowNode* n) {
    auto& list = listOf(n);
    list.erase(std::remove(list.begin(), list.end(), n), list.end());
}

void DesktopImpl::attachTopLevel(WindowNode* n, bool atTop) {
    // Topmost windows stay above the others.
    const bool topmost = (n->exStyle & WS_EX_TOPMOST) != 0;
    auto firstPlain = std::find_if(topLevels.begin(), topLevels.end(),
                                   [](WindowNode* t) { return (t->exStyle & WS_EX_TOPMOST) == 0; });
    if (topmost)
        topLevels.insert(atTop ? topLevels.begin() : firstPlain, n);
    else
        topLevels.insert(atTop ? firstPlain : topLevels.end(), n);
}

bool DesktopImpl::isVisible(const WindowNode* n) const {
    for (; n; n = n->parent)
        if (!(n->style & WS_VISIBLE)) return false;
    return true;
}

bool DesktopImpl::isEnabled(const WindowNode* n) const {
    for (; n; n = n->parent)
        if (n->style & WS_DISABLED) return false;
    return true;
}

bool DesktopImpl::isInSubtree(const WindowNode* n, const WindowNode* root) const {
    for (; n; n = n->parent)
        if (n == root) return true;
    return false;
}

WindowNode* DesktopImpl::topLevelOf(WindowNode* n) const {
    while (n && n->parent) n = n->parent;
    return n;
}

// [SECTION] Geometry

Rect DesktopImpl::frameInsets(const WindowNode* n) const {
    int frame = 0;
    const bool caption = (n->style & WS_CAPTION) == WS_CAPTION;
    if (n->style & WS_THICKFRAME)
        frame = system.metric(SM_CXFRAME);
    else if (caption || (n->style & WS_DLGFRAME) || (n->exStyle & WS_EX_DLGMODALFRAME))
        frame = system.metric(SM_CXDLGFRAME);
    else if (n->style & WS_BORDER)
        frame = system.metric(SM_CXBORDER);
    if (n->exStyle & WS_EX_CLIENTEDGE) frame += system.metric(SM_CXEDGE);
    if (n->exStyle & WS_EX_STATICEDGE) frame += system.metric(SM_CXBORDER);
    Rect in{frame, frame, frame, frame};
    if (caption) in.top += system.metric(SM_CYCAPTION);
    return in;
}

Rect DesktopImpl::insets(const WindowNode* n) const {
    Rect in = frameInsets(n);
    if (n->style & WS_VSCROLL) in.right += system.metric(SM_CXVSCROLL);
    if (n->style & WS_HSCROLL) in.bottom += system.metric(SM_CYHSCROLL);
    return in;
}

Size DesktopImpl::clientSize(const WindowNode* n) const {
    const Rect in = insets(n);
    return {std::max(0, n->rect.width() - in.left - in.right), std::max(0, n->rect.height() - in.top - in.bottom)};
}

Point DesktopImpl::windowOriginOnScreen(const WindowNode* n) const {
    Point p = n->rect.topLeft();
    if (n->parent) p = p + clientOriginOnScreen(n->parent);
    return p;
}

Point DesktopImpl::clientOriginOnScreen(const WindowNode* n) const {
    const Rect in = insets(n);
    return windowOriginOnScreen(n) + Point{in.left, in.top};
}

Rect DesktopImpl::barRect(const WindowNode* n, int bar) const {
    const Rect in = frameInsets(n);
    const Size client = clientSize(n);
    const Rect c = Rect::fromSize(in.left, in.top, client.width, client.height);
    if (bar == SB_VERT && (n->style & WS_VSCROLL))
        return {c.right, c.top, c.right + system.metric(SM_CXVSCROLL), c.bottom};
    if (bar == SB_HORZ && (n->style & WS_HSCROLL))
        return {c.left, c.bottom, c.right, c.bottom + system.metric(SM_CYHSCROLL)};
    return {};
}

Rect DesktopImpl::captionRect(const WindowNode* n) const {
    if ((n->style & WS_CAPTION) != WS_CAPTION) return {};
    const Rect in = frameInsets(n);
    const int top = in.top - system.metric(SM_CYCAPTION);
    return {in.left, top, n->rect.width() - in.right, in.top};
}

Rect DesktopImpl::closeBoxRect(const WindowNode* n) const {
    const Rect c = captionRect(n);
    if (c.isEmpty() || !(n->style & WS_SYSMENU)) return {};
    const int side = c.height() - 4;
    return {c.right - 2 - side, c.top + 2, c.right - 2, c.top + 2 + side};
}

int DesktopImpl::hitTest(const WindowNode* n, Point screen) const {
    const Point p = screen - windowOriginOnScreen(n);
    if (!Rect{0, 0, n->rect.width(), n->rect.height()}.contains(p)) return HTNOWHERE;
    const Rect in = insets(n);
    const Size client = clientSize(n);
    if (Rect::fromSize(in.left, in.top, client.width, client.height).contains(p)) return HTCLIENT;
    if (barRect(n, SB_VERT).contains(p)) return HTVSCROLL;
    if (barRect(n, SB_HORZ).contains(p)) return HTHSCROLL;
    if (closeBoxRect(n).contains(p)) return HTCLOSE;
    if (captionRect(n).contains(p)) return HTCAPTION;
    return HTBORDER;
}

void DesktopImpl::clientSizeChanged(WindowNode* n, Size before) {
    const Size after = clientSize(n);
    if (after == before) return;
    n->raster.reset();
    invalidate(n, Rect{0, 0, after.width, after.height}, true);
    send(n, WM_SIZE, SIZE_RESTORED, makeLParam(after.width, after.height));
}

// [SECTION] Messages and the pump

void DesktopImpl::notifySpies(const Message& m, Delivery d) {
    if (spies.empty()) return;
    auto copy = spies;  // a spy may remove itself
    for (auto& s : copy) s.function(m, d);
}

std::intptr_t DesktopImpl::send(WindowNode* n, unsigned id, std::uintptr_t w, std::intptr_t l) {
    if (!n) return 0;
    Window* target = n->object;
    Message m{target, id, w, l, cursorPos, static_cast<std::uint32_t>(now)};
    if (sendDepth >= Desktop::kSendDepthBound) {
        const std::string what = "messages nest deeper than " + std::to_string(Desktop::kSendDepthBound) +
                                 " (the last was " + messageName(id) + "): a handler sends to itself without end";
        stopLoudly(what.c_str());
    }
    notifySpies(m, Delivery::Sent);
    ++sendDepth;
    const std::intptr_t result = target->windowProc(m);
    --sendDepth;
    return result;
}

void DesktopImpl::dispatchQueued(Message m) {
    if (!nodeOf(m.window)) return;
    const Message saved = current;
    current = m;
    bool handled = false;
    // The pre-translate chain: the target, then each ancestor (never past a top-level window).
    for (Window* w = m.window; w && nodeOf(w); w = w->parent()) {
        if (w->preTranslateMessage(m)) {
            handled = true;
            break;
        }
    }
    if (!handled && nodeOf(m.window)) {
        if (m.id == WM_KEYDOWN || m.id == WM_SYSKEYDOWN) self->translateMessage(m);
        notifySpies(m, Delivery::Queued);
        WindowNode* n = nodeOf(m.window);
        if (sendDepth >= Desktop::kSendDepthBound) stopLoudly("messages nest without end");
        ++sendDepth;
        n->object->windowProc(m);
        --sendDepth;
    }
    current = saved;
}

}  // namespace detail

std::intptr_t Desktop::send(Window* w, unsigned id, std::uintptr_t wParam, std::intptr_t lParam) {
    return impl_->send(impl_->nodeOf(w), id, wParam, lParam);
}

bool Desktop::post(Window* w, unsigned id, std::uintptr_t wParam, std::intptr_t lParam) {
    detail::WindowNode* n = impl_->nodeOf(w);
    if (!n) return false;
    impl_->posted.push_back({Message{w, id, wParam, lParam, impl_->cursorPos, static_cast<std::uint32_t>(impl_->now)},
                             n->serial});
    return true;
}

bool Desktop::translateMessage(const Message& m) {
    if (m.id != WM_KEYDOWN && m.id != WM_SYSKEYDOWN) return false;
    const char32_t c = detail::characterForKey(static_cast<unsigned>(m.w), impl_->keys, packetCharacter(m.l));
    if (c == 0) return false;
    return post(m.window, m.id == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, c, m.l & 0xFFFFFFFF);
}

std::intptr_t Desktop::dispatch(Message& m) {
    detail::WindowNode* n = impl_->nodeOf(m.window);
    if (!n) return 0;
    return impl_->send(n, m.id, m.w, m.l);
}

const Message& Desktop::currentMessage() const { return impl_->current; }

bool Desktop::hasPendingWork() const {
    auto& impl = *impl_;
    return !impl.posted.empty() || !impl.input.empty() || impl.findWindowToPaint() || impl.pendingTimer();
}

PumpResult Desktop::pumpUntilIdle() {
    auto& impl = *impl_;
    for (int n = 0; n < kPumpBound; ++n) {
        if (!impl.posted.empty()) {
            detail::QueuedMessage q = impl.posted.front();
            impl.posted.pop_front();
            detail::WindowNode* node = impl.nodeOf(q.message.window);
            if (node && node->serial == q.serial) impl.dispatchQueued(q.message);
            continue;
        }
        if (!impl.input.empty()) {
            detail::RawInput in = impl.input.front();
            impl.input.pop_front();
            impl.processInput(in);
            continue;
        }
        if (detail::WindowNode* node = impl.findWindowToPaint()) {
            impl.paintNow(node, true);
            continue;
        }
        if (detail::Timer* t = impl.pendingTimer()) {
            t->pending = false;
            Message m{t->node->object, WM_TIMER, t->id, 0, impl.cursorPos, static_cast<std::uint32_t>(impl.now)};
            impl.dispatchQueued(m);
            continue;
        }
        return PumpResult::Idle;
    }
    return PumpResult::Unsettled;
}

// [SECTION] Modal loops

ModalEnd Desktop::runModalLoop(const std::function<bool()>& keepRunning) {
    // Each round either delivers something or lets an idle handler act; a handler that acts without end is a
    // script that never stops, which the bound ends.
    constexpr int kMaxRounds = 1000000;
    for (int round = 0; round < kMaxRounds; ++round) {
        if (!keepRunning()) return ModalEnd::Ended;
        if (pumpUntilIdle() == PumpResult::Unsettled) return ModalEnd::Unsettled;
        if (!keepRunning()) return ModalEnd::Ended;
        if (!runIdleHandlers()) return keepRunning() ? ModalEnd::Stalled : ModalEnd::Ended;
    }
    return ModalEnd::Unsettled;
}

int Desktop::addIdleHandler(std::function<bool()> handler) {
    return addRegistered(impl_->idleHandlers, impl_->nextToken, std::move(handler));
}

void Desktop::removeIdleHandler(int token) { removeRegistered(impl_->idleHandlers, token); }

bool Desktop::runIdleHandlers() {
    auto copy = impl_->idleHandlers;
    for (auto& h : copy) {
        const bool stillThere = std::any_of(impl_->idleHandlers.begin(), impl_->idleHandlers.end(),
                                            [&](const auto& r) { return r.token == h.token; });
        if (stillThere && h.function()) return true;
    }
    return false;
}

int Desktop::addMessageSpy(std::function<void(const Message&, Delivery)> spy) {
    return addRegistered(impl_->spies, impl_->nextToken, std::move(spy));
}

void Desktop::removeMessageSpy(int token) { removeRegistered(impl_->spies, token); }

int Desktop::addKeyHook(std::function<bool(unsigned, bool)> hook) {
    return addRegistered(impl_->keyHooks, impl_->nextToken, std::move(hook));
}

void Desktop::removeKeyHook(int token) { removeRegistered(impl_->keyHooks, token); }

// [SECTION] Focus and capture

Window* Desktop::focus() const { return impl_->focus ? impl_->focus->object : nullptr; }

Window* Desktop::setFocus(Window* w) {
    auto& impl = *impl_;
    detail::WindowNode* target = nullptr;
    if (w) {
        target = impl.nodeOf(w);
        if (!target || target->destroying || !impl.isEnabled(target)) return nullptr;
    }
    detail::WindowNode* previous = impl.focus;
    Window* previousObject = previous ? previous->object : nullptr;
    if (target == previous) return previousObject;
    impl.focus = target;
    detail::WindowNode* loser = impl.announcedFocus;
    if (loser && loser != target) {
        impl.announcedFocus = nullptr;
        impl.lastFocusLoser = loser;
        impl.send(loser, WM_KILLFOCUS, wParamFromPointer(w), 0);
    }
    // A SetFocus made while WM_KILLFOCUS was handled has moved the focus on: that one wins.
    if (target && impl.focus == target && impl.nodeOf(w) == target && impl.announcedFocus != target) {
        impl.announcedFocus = target;
        detail::WindowNode* from = loser ? loser : impl.lastFocusLoser;
        Window* fromObject = from && impl.nodes.count(from) ? from->object : nullptr;
        impl.send(target, WM_SETFOCUS, wParamFromPointer(fromObject), 0);
    }
    return previousObject;
}

Window* Desktop::activeWindow() const {
    detail::WindowNode* n = impl_->topLevelOf(impl_->focus);
    return n ? n->object : nullptr;
}

Window* Desktop::capture() const { return impl_->capture ? impl_->capture->object : nullptr; }

Window* Desktop::setCapture(Window* w) {
    auto& impl = *impl_;
    detail::WindowNode* target = impl.nodeOf(w);
    if (!target) return nullptr;
    detail::WindowNode* previous = impl.capture;
    Window* previousObject = previous ? previous->object : nullptr;
    if (previous == target) return previousObject;
    impl.capture = target;
    if (previous) impl.send(previous, WM_CAPTURECHANGED, 0, lParamFromPointer(w));
    return previousObject;
}

bool Desktop::releaseCapture() {
    auto& impl = *impl_;
    detail::WindowNode* previous = impl.capture;
    if (!previous) return true;
    impl.capture = nullptr;
    impl.send(previous, WM_CAPTURECHANGED, 0, 0);
    return true;
}

// [SECTION] Cursors and settings

int Desktop::setCursor(int cursorId) { return std::exchange(impl_->cursorId, cursorId); }
int Desktop::cursor() const { return impl_->waitDepth > 0 ? IDC_WAIT : impl_->cursorId; }

void Desktop::beginWaitCursor() {
    ++impl_->waitDepth;
    ++impl_->waitCount;
}

void Desktop::endWaitCursor() {
    if (impl_->waitDepth > 0) --impl_->waitDepth;
}

bool Desktop::isWaitCursorShown() const { return impl_->waitDepth > 0; }
int Desktop::waitCursorCount() const { return impl_->waitCount; }

WaitCursor::WaitCursor(Desktop& desktop) : desktop_(desktop) { desktop_.beginWaitCursor(); }
WaitCursor::~WaitCursor() { desktop_.endWaitCursor(); }

const Brush* Desktop::sysColorBrush(int index) {
    if (index < 0 || index >= kSysColorCount) return nullptr;
    Brush& b = impl_->sysBrushes[static_cast<std::size_t>(index)];
    b = Brush::solid(impl_->system.color(index));
    return &b;
}

void Desktop::broadcastSysColorChange() {
    std::vector<Window*> all;
    std::function<void(detail::WindowNode*)> collect = [&](detail::WindowNode* n) {
        all.push_back(n->object);
        for (auto* c : n->children) collect(c);
    };
    for (auto* t : impl_->topLevels) collect(t);
    for (Window* w : all) {
        if (!isWindow(w)) continue;
        send(w, WM_SYSCOLORCHANGE);
        w->invalidate(true);
    }
}

void Desktop::setRasterEnabled(bool enabled) {
    if (impl_->raster == enabled) return;
    impl_->raster = enabled;
    std::function<void(detail::WindowNode*)> each = [&](detail::WindowNode* n) {
        n->raster.reset();
        if (enabled) impl_->invalidate(n, Rect{0, 0, impl_->clientSize(n).width, impl_->clientSize(n).height}, true);
        for (auto* c : n->children) each(c);
    };
    for (auto* t : impl_->topLevels) each(t);
}

bool Desktop::rasterEnabled() const { return impl_->raster; }
void Desktop::setTextMeasurer(TextMeasurer measurer) { impl_->measurer = measurer; }
TextMeasurer Desktop::textMeasurer() const { return impl_->measurer; }
const std::vector<Invalidation>& Desktop::invalidations() const { return impl_->invalidations; }
void Desktop::clearInvalidations() { impl_->invalidations.clear(); }

void Desktop::clearDisplayLists() {
    for (auto& [node, owned] : impl_->nodes) node->displayList.clear();
}

// [SECTION] Drop targets and observers

bool Desktop::registerDropTarget(Window& w, DropTarget& target) {
    detail::WindowNode* n = impl_->nodeOf(&w);
    if (!n) return false;
    impl_->dropTargets[n] = &target;
    return true;
}

bool Desktop::revokeDropTarget(Window& w) {
    detail::WindowNode* n = impl_->nodeOf(&w);
    return n && impl_->dropTargets.erase(n) != 0;
}

DropTarget* Desktop::dropTargetFor(Window* w, Window** registered) const {
    for (detail::WindowNode* n = impl_->nodeOf(w); n; n = n->parent) {
        auto it = impl_->dropTargets.find(n);
        if (it != impl_->dropTargets.end()) {
            if (registered) *registered = n->object;
            return it->second;
        }
    }
    if (registered) *registered = nullptr;
    return nullptr;
}

int Desktop::addInputObserver(std::function<void(const Message&)> observer) {
    return addRegistered(impl_->inputObservers, impl_->nextToken, std::move(observer));
}

void Desktop::removeInputObserver(int token) { removeRegistered(impl_->inputObservers, token); }

bool Desktop::isWindow(const Window* w) const { return impl_->nodeOf(w) != nullptr; }

std::vector<Window*> Desktop::topLevelWindows() const {
    std::vector<Window*> out;
    for (auto* t : impl_->topLevels) out.push_back(t->object);
    return out;
}

Window* Desktop::findWindow(std::string_view className, std::string_view text) const {
    for (auto* t : impl_->topLevels) {
        if (!className.empty() && impl_->classes.find(className) != impl_->classes.find(t->windowClass.name)) continue;
        if (!text.empty() && t->text != text) continue;
        return t->object;
    }
    return nullptr;
}

}  // namespace host::ui
