// Creating, adopting and destroying windows.
#include <algorithm>

#include "host/ui/desktop.h"
#include "host/ui/desktop_impl.h"
#include "host/ui/window.h"

namespace host::ui {

namespace {

constexpr int kDefaultTopLevelWidth = 640;
constexpr int kDefaultTopLevelHeight = 480;

Rect placeDefault(const CreateParams& p) {
    Rect r = p.rect;
    if (r.left == CW_USEDEFAULT) r = Rect{0, 0, r.right - r.left, r.bottom - r.top};
    if (p.rect.right == CW_USEDEFAULT) {
        const bool popup = (p.style & WS_POPUP) != 0;
        r.right = r.left + (popup ? 0 : kDefaultTopLevelWidth);
        r.bottom = r.top + (popup ? 0 : kDefaultTopLevelHeight);
    }
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

}  // namespace

bool Window::create(std::string_view className, std::string_view text, std::uint32_t style, const Rect& rect,
                    Window* parent, int id, std::uint32_t exStyle) {
    CreateParams p;
    p.className = std::string(className);
    p.text = std::string(text);
    p.style = style;
    p.exStyle = exStyle;
    p.rect = rect;
    p.parent = parent;
    p.id = id;
    return create(p);
}

bool Window::create(const CreateParams& params) {
    if (node_) return false;
    // A child joins its parent's desktop; a top-level window the current one.
    Desktop& desktop = params.parent && params.parent->node_ ? *params.parent->node_->desktop : currentDesktop();
    auto& impl = *desktop.impl_;
    const WindowClass* cls = impl.classes.find(params.className);
    if (!cls) return false;
    detail::WindowNode* parentNode = nullptr;
    if (params.parent) {
        parentNode = impl.nodeOf(params.parent);
        if (!parentNode) return false;
    }
    const bool child = (params.style & WS_CHILD) != 0;
    if (child && !parentNode) return false;

    auto owned = std::make_unique<detail::WindowNode>();
    detail::WindowNode* node = owned.get();
    node->object = this;
    node->desktop = &desktop;
    node->serial = impl.nextSerial++;
    node->windowClass = *cls;
    node->text = params.text;
    node->style = params.style & ~WS_VISIBLE;
    node->exStyle = params.exStyle;
    node->id = params.id;
    node->rect = placeDefault(params);
    if (child) {
        node->parent = parentNode;
        parentNode->children.push_back(node);  // new children go to the bottom: z-order is creation order
    } else {
        node->owner = parentNode ? impl.topLevelOf(parentNode) : nullptr;
        impl.attachTopLevel(node, true);
    }
    impl.nodes.emplace(node, std::move(owned));
    impl.liveObjects.insert(this);
    node_ = node;

    CreateParams sent = params;
    sent.rect = node->rect;
    if (impl.send(node, WM_NCCREATE, 0, lParamFromPointer(&sent)) == 0 ||
        (node_ && impl.send(node, WM_CREATE, 0, lParamFromPointer(&sent)) == -1)) {
        if (node_) destroy();
        return false;
    }
    if (!node_) return false;
    const Size client = impl.clientSize(node);
    impl.send(node, WM_SIZE, SIZE_RESTORED, makeLParam(client.width, client.height));
    if (!node_) return false;
    const Point origin = rectInParent().topLeft() + Point{impl.insets(node).left, impl.insets(node).top};
    impl.send(node, WM_MOVE, 0, makeLParam(origin.x, origin.y));
    if (!node_) return false;
    if (params.style & WS_VISIBLE) show(SW_SHOW);
    return node_ != nullptr;
}

Window* Desktop::createWindow(const CreateParams& params) {
    const WindowClass* cls = impl_->classes.find(params.className);
    if (!cls || !cls->factory) return nullptr;
    std::unique_ptr<Window> object = cls->factory();
    if (!object) return nullptr;
    Window* w = object.release();
    // The desktop owns it from here: a failed creation deletes it, a destroyed window deletes it.
    if (!w->create(params)) {
        delete w;
        return nullptr;
    }
    impl_->nodeOf(w)->ownedByDesktop = true;
    return w;
}

Window* Desktop::createWindow(std::string_view className, std::string_view text, std::uint32_t style,
                              const Rect& rect, Window* parent, int id, std::uint32_t exStyle) {
    CreateParams p;
    p.className = std::string(className);
    p.text = std::string(text);
    p.style = style;
    p.exStyle = exStyle;
    p.rect = rect;
    p.parent = parent;
    p.id = id;
    return createWindow(p);
}

bool Window::destroy() {
    if (!node_) return false;
    node_->desktop->impl_->destroy(node_);
    return true;
}

bool Window::adopt(Window& existing) {
    if (node_ || !existing.node_ || &existing == this) return false;
    detail::WindowNode* node = existing.node_;
    auto& impl = *node->desktop->impl_;
    existing.node_ = nullptr;
    impl.liveObjects.erase(&existing);
    node_ = node;
    node->object = this;
    impl.liveObjects.insert(this);
    const bool deleteOld = node->ownedByDesktop;
    node->ownedByDesktop = false;
    if (deleteOld) delete &existing;
    preSubclassWindow();
    return true;
}

Window::Window() = default;

Window::~Window() {
    if (node_) {
        node_->objectDying = true;
        destroy();
    }
}

namespace detail {

void DesktopImpl::destroy(WindowNode* n) {
    if (!n || n->destroying) return;
    n->destroying = true;
    // Windows it owns go first.
    for (int guard = 0; guard < 100000; ++guard) {
        auto it = std::find_if(topLevels.begin(), topLevels.end(), [&](WindowNode* t) { return t->owner == n; });
        if (it == topLevels.end()) break;
        destroy(*it);
    }
    if (focus && isInSubtree(focus, n)) {
        // The focus leaves: to the owner when a top-level window ends, else to no window.
        WindowNode* next = (!n->parent && n->owner && !n->owner->destroying) ? n->owner : nullptr;
        self->setFocus(next ? next->object : nullptr);
        if (focus && isInSubtree(focus, n)) self->setFocus(nullptr);
    }
    if (capture && isInSubtree(capture, n)) self->releaseCapture();

    // WM_DESTROY: this window first, then its children.
    std::function<void(WindowNode*)> sendDestroy = [&](WindowNode* w) {
        w->destroying = true;
        send(w, WM_DESTROY, 0, 0);
        auto kids = w->children;
        for (auto* c : kids)
            if (nodes.count(c)) sendDestroy(c);
    };
    sendDestroy(n);

    // WM_NCDESTROY: children first; then the window leaves every table and its object hears postNcDestroy.
    std::function<void(WindowNode*)> finish = [&](WindowNode* w) {
        for (int guard = 0; guard < 100000 && !w->children.empty(); ++guard) {
            WindowNode* c = w->children.front();
            c->destroying = true;
            finish(c);
        }
        send(w, WM_NCDESTROY, 0, 0);
        if (focus == w) focus = nullptr;
        if (announcedFocus == w) announcedFocus = nullptr;
        if (lastFocusLoser == w) lastFocusLoser = nullptr;
        if (capture == w) capture = nullptr;
        if (lastPress.serial == w->serial) lastPress.valid = false;
        removeTimers(w);
        dropTargets.erase(w);
        detach(w);
        for (auto* t : topLevels)
            if (t->owner == w) t->owner = nullptr;
        Window* object = w->object;
        const bool deleteObject = w->ownedByDesktop && !w->objectDying;
        liveObjects.erase(object);
        object->node_ = nullptr;
        nodes.erase(w);  // frees the node
        object->postNcDestroy();
        if (deleteObject) delete object;
    };
    finish(n);
}

}  // namespace detail

}  // namespace host::ui
