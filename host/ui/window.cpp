// Window: identity, relations, text, style, visibility, geometry and the doors to the desktop's services.
#include "host/ui/window.h"

#include <algorithm>

#include "host/ui/desktop.h"
#include "host/ui/desktop_impl.h"

namespace host::ui {

namespace {

const std::string kNoText;
const DisplayList kNoDisplayList;
const std::vector<Rect> kNoRects;

}  // namespace

Desktop& Window::desktop() const { return node_ ? *node_->desktop : currentDesktop(); }

std::intptr_t Window::send(unsigned id, std::uintptr_t w, std::intptr_t l) {
    return node_ ? node_->desktop->impl_->send(node_, id, w, l) : 0;
}

bool Window::post(unsigned id, std::uintptr_t w, std::intptr_t l) {
    return node_ && node_->desktop->post(this, id, w, l);
}

std::intptr_t Window::windowProc(Message& m) { return defaultProc(m); }
bool Window::preTranslateMessage(Message&) { return false; }
void Window::postNcDestroy() {}
void Window::preSubclassWindow() {}

// [SECTION] Identity and relations

const std::string& Window::className() const { return node_ ? node_->windowClass.name : kNoText; }
const WindowClass* Window::windowClass() const { return node_ ? &node_->windowClass : nullptr; }
int Window::id() const { return node_ ? node_->id : 0; }

void Window::setId(int id) {
    if (node_) node_->id = id;
}

Window* Window::parent() const { return node_ && node_->parent ? node_->parent->object : nullptr; }
Window* Window::owner() const { return node_ && node_->owner ? node_->owner->object : nullptr; }

void Window::setOwner(Window* owner) {
    if (!node_) return;
    node_->owner = owner ? node_->desktop->impl_->nodeOf(owner) : nullptr;
}

Window* Window::ownerOrParent() const {
    if (Window* o = owner()) return o;
    return parent();
}

Window* Window::topLevel() const {
    if (!node_) return nullptr;
    detail::WindowNode* n = node_->desktop->impl_->topLevelOf(node_);
    return n ? n->object : nullptr;
}

std::vector<Window*> Window::children() const {
    std::vector<Window*> out;
    if (!node_) return out;
    for (auto* c : node_->children) out.push_back(c->object);
    return out;
}

Window* Window::child(int id) const {
    if (!node_) return nullptr;
    for (auto* c : node_->children)
        if (c->id == id) return c->object;
    return nullptr;
}

bool Window::isDescendantOf(const Window& ancestor) const {
    if (!node_ || !ancestor.node_ || node_ == ancestor.node_) return false;
    return node_->desktop->impl_->isInSubtree(node_, ancestor.node_);
}

Window* Window::setParent(Window* newParent) {
    if (!node_) return nullptr;
    auto& impl = *node_->desktop->impl_;
    Window* old = parent();
    detail::WindowNode* target = newParent ? impl.nodeOf(newParent) : nullptr;
    if (newParent && (!target || impl.isInSubtree(target, node_))) return nullptr;
    impl.detach(node_);
    node_->parent = target;
    if (target) {
        node_->style |= WS_CHILD;
        target->children.insert(target->children.begin(), node_);
    } else {
        node_->style &= ~WS_CHILD;
        impl.attachTopLevel(node_, true);
    }
    return old;
}

// [SECTION] Text, style, font

std::string Window::text() const {
    if (!node_) return {};
    std::string out;
    const_cast<Window*>(this)->send(WM_GETTEXT, 0, lParamFromPointer(&out));
    return out;
}

void Window::setText(std::string_view text) {
    const std::string copy(text);
    send(WM_SETTEXT, 0, lParamFromPointer(copy.c_str()));
}

const std::string& Window::storedText() const { return node_ ? node_->text : kNoText; }
std::uint32_t Window::style() const { return node_ ? node_->style : 0; }
std::uint32_t Window::exStyle() const { return node_ ? node_->exStyle : 0; }

void Window::modifyStyle(std::uint32_t remove, std::uint32_t add) {
    if (!node_) return;
    auto& impl = *node_->desktop->impl_;
    const Size before = impl.clientSize(node_);
    const bool wasVisible = (node_->style & WS_VISIBLE) != 0;
    node_->style = (node_->style & ~remove) | add;
    // Visibility and enabling have their own doors, which send their messages.
    const bool nowVisible = (node_->style & WS_VISIBLE) != 0;
    if (wasVisible != nowVisible) {
        node_->style ^= WS_VISIBLE;
        show(nowVisible ? SW_SHOW : SW_HIDE);
    }
    if (node_) impl.clientSizeChanged(node_, before);
}

void Window::modifyExStyle(std::uint32_t remove, std::uint32_t add) {
    if (!node_) return;
    auto& impl = *node_->desktop->impl_;
    const Size before = impl.clientSize(node_);
    node_->exStyle = (node_->exStyle & ~remove) | add;
    impl.clientSizeChanged(node_, before);
}

void Window::setFont(const Font& font, bool redraw) {
    send(WM_SETFONT, font.isNull() ? 0 : wParamFromPointer(&font), redraw ? 1 : 0);
}

Font Window::font() const {
    if (!node_) return {};
    const auto* f = pointerFromParam<const Font>(const_cast<Window*>(this)->send(WM_GETFONT));
    return f ? *f : Font{};
}

// [SECTION] Visibility and state

bool Window::show(int command) {
    if (!node_) return false;
    const bool wasVisible = (node_->style & WS_VISIBLE) != 0;
    const bool visible = command != SW_HIDE;
    if (wasVisible == visible) return wasVisible;
    send(WM_SHOWWINDOW, visible ? 1 : 0, 0);
    if (!node_) return wasVisible;
    if (visible) {
        node_->style |= WS_VISIBLE;
        invalidate(true);
    } else {
        node_->style &= ~WS_VISIBLE;
    }
    return wasVisible;
}

bool Window::isVisible() const { return node_ && node_->desktop->impl_->isVisible(node_); }

bool Window::enable(bool enabled) {
    if (!node_) return false;
    auto& impl = *node_->desktop->impl_;
    const bool wasDisabled = (node_->style & WS_DISABLED) != 0;
    if (wasDisabled == !enabled) return wasDisabled;
    if (!enabled) {
        node_->style |= WS_DISABLED;
        if (impl.focus && impl.isInSubtree(impl.focus, node_)) node_->desktop->setFocus(nullptr);
        if (node_ && impl.capture && impl.isInSubtree(impl.capture, node_)) send(WM_CANCELMODE);
    } else {
        node_->style &= ~WS_DISABLED;
    }
    if (node_) send(WM_ENABLE, enabled ? 1 : 0, 0);
    if (node_) invalidate(true);
    return wasDisabled;
}

bool Window::isEnabled() const { return node_ && node_->desktop->impl_->isEnabled(node_); }

// [SECTION] Geometry

Rect Window::windowRect() const {
    if (!node_) return {};
    const Point o = node_->desktop->impl_->windowOriginOnScreen(node_);
    return Rect::fromSize(o.x, o.y, node_->rect.width(), node_->rect.height());
}

Rect Window::rectInParent() const { return node_ ? node_->rect : Rect{}; }

Rect Window::clientRect() const {
    if (!node_) return {};
    const Size s = node_->desktop->impl_->clientSize(node_);
    return {0, 0, s.width, s.height};
}

Rect Window::clientRectOnScreen() const { return clientToScreen(clientRect()); }

Point Window::clientToScreen(Point p) const {
    if (!node_) return p;
    return p + node_->desktop->impl_->clientOriginOnScreen(node_);
}

Rect Window::clientToScreen(const Rect& r) const {
    const Point o = clientToScreen(Point{0, 0});
    return r.offsetBy(o);
}

Point Window::screenToClient(Point p) const {
    if (!node_) return p;
    return p - node_->desktop->impl_->clientOriginOnScreen(node_);
}

Rect Window::screenToClient(const Rect& r) const {
    const Point o = screenToClient(Point{0, 0});
    return r.offsetBy(o);
}

Point Window::mapTo(const Window* to, Point p) const {
    const Point screen = clientToScreen(p);
    return to ? to->screenToClient(screen) : screen;
}

Rect Window::mapTo(const Window* to, const Rect& r) const {
    const Point a = mapTo(to, r.topLeft());
    return r.offsetBy(a - r.topLeft());
}

void Window::move(const Rect& rectInParent, bool repaint) {
    setWindowPos(ZOrder::Keep, rectInParent, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : SWP_NOREDRAW));
}

bool Window::setWindowPos(ZOrder order, const Rect& r, unsigned flags, Window* after) {
    if (!node_) return false;
    auto& impl = *node_->desktop->impl_;
    const Rect oldRect = node_->rect;
    const Size oldClient = impl.clientSize(node_);
    Rect next = oldRect;
    if (!(flags & SWP_NOMOVE)) next = next.offsetBy(r.left - oldRect.left, r.top - oldRect.top);
    if (!(flags & SWP_NOSIZE)) {
        next.right = next.left + std::max(0, r.width());
        next.bottom = next.top + std::max(0, r.height());
    }
    if (!(flags & SWP_NOZORDER) && order != ZOrder::Keep) {
        auto& list = impl.listOf(node_);
        if (order == ZOrder::Topmost) node_->exStyle |= WS_EX_TOPMOST;
        if (order == ZOrder::NoTopmost) node_->exStyle &= ~WS_EX_TOPMOST;
        detail::WindowNode* afterNode = order == ZOrder::After ? impl.nodeOf(after) : nullptr;
        list.erase(std::remove(list.begin(), list.end(), node_), list.end());
        if (!node_->parent && order != ZOrder::After) {
            impl.attachTopLevel(node_, order != ZOrder::Bottom);
        } else if (order == ZOrder::After && afterNode) {
            auto it = std::find(list.begin(), list.end(), afterNode);
            list.insert(it == list.end() ? list.end() : it + 1, node_);
        } else if (order == ZOrder::Bottom) {
            list.push_back(node_);
        } else {
            list.insert(list.begin(), node_);
        }
    }
    node_->rect = next;
    if (flags & SWP_FRAMECHANGED) invalidate(true);
    if (next.topLeft() != oldRect.topLeft()) {
        const Rect in = impl.insets(node_);
        send(WM_MOVE, 0, makeLParam(next.left + in.left, next.top + in.top));
        if (!node_) return true;
    }
    if (impl.clientSize(node_) != oldClient) {
        if (!(flags & SWP_NOREDRAW)) node_->raster.reset();
        impl.clientSizeChanged(node_, oldClient);
        if (!node_) return true;
    } else if (next != oldRect && !(flags & SWP_NOREDRAW)) {
        invalidate(true);
    }
    if (flags & SWP_SHOWWINDOW) show(SW_SHOWNA);
    if (flags & SWP_HIDEWINDOW) show(SW_HIDE);
    return true;
}

Rect Window::nonClientInsets() const { return node_ ? node_->desktop->impl_->insets(node_) : Rect{}; }

// [SECTION] Painting

void Window::invalidate(bool erase) { invalidateRect(clientRect(), erase); }

void Window::invalidateRect(const Rect& r, bool erase) {
    if (node_) node_->desktop->impl_->invalidate(node_, r, erase);
}

void Window::validate() {
    if (node_) node_->desktop->impl_->validate(node_);
}

bool Window::hasUpdate() const { return node_ && !node_->updateRects.empty(); }
Rect Window::updateRect() const { return node_ ? node_->desktop->impl_->updateBox(node_) : Rect{}; }
const std::vector<Rect>& Window::updateRects() const { return node_ ? node_->updateRects : kNoRects; }

void Window::update() {
    if (node_ && !node_->updateRects.empty()) node_->desktop->impl_->paintNow(node_, false);
}

void Window::redraw(unsigned flags, const Rect* r) {
    if (!node_) return;
    if (flags & RDW_INVALIDATE) invalidateRect(r ? *r : clientRect(), (flags & RDW_ERASE) != 0);
    if (flags & RDW_VALIDATE) validate();
    if (flags & RDW_ALLCHILDREN)
        for (Window* c : children()) c->redraw(flags & ~static_cast<unsigned>(RDW_UPDATENOW | RDW_ERASENOW), nullptr);
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
        update();
        if (flags & RDW_ALLCHILDREN)
            for (Window* c : children())
                if (node_ && c->exists()) c->redraw(RDW_UPDATENOW | RDW_ALLCHILDREN, nullptr);
    }
}

const DisplayList& Window::displayList() const { return node_ ? node_->displayList : kNoDisplayList; }

void Window::clearDisplayList() {
    if (node_) node_->displayList.clear();
}

const Image* Window::raster() const { return node_ && node_->raster ? &*node_->raster : nullptr; }

// [SECTION] Timers, focus, capture

std::uintptr_t Window::setTimer(std::uintptr_t id, unsigned milliseconds) {
    if (!node_) return 0;
    auto& impl = *node_->desktop->impl_;
    const unsigned interval = std::max(milliseconds, USER_TIMER_MINIMUM);
    if (detail::Timer* t = impl.findTimer(node_, id)) {
        t->interval = interval;
        t->due = impl.now + interval;
        t->pending = false;
    } else {
        impl.timers.push_back({node_, id, interval, impl.now + interval, false});
    }
    return id;
}

bool Window::killTimer(std::uintptr_t id) {
    if (!node_) return false;
    auto& timers = node_->desktop->impl_->timers;
    const auto before = timers.size();
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [&](const detail::Timer& t) { return t.node == node_ && t.id == id; }),
                 timers.end());
    return timers.size() != before;
}

Window* Window::setFocus() { return desktop().setFocus(this); }
bool Window::hasFocus() const { return node_ && node_->desktop->impl_->focus == node_; }
Window* Window::setCapture() { return desktop().setCapture(this); }
bool Window::hasCapture() const { return node_ && node_->desktop->impl_->capture == node_; }

}  // namespace host::ui
