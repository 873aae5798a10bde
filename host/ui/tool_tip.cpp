// Tool tips: watch the mouse over tools, show the text after the initial delay, hide on leave, press or key.
#include "host/ui/tool_tip.h"

#include <algorithm>

#include "host/ui/desktop.h"

namespace host::ui {

namespace {

constexpr std::uintptr_t kShowTimer = 1;
constexpr std::uintptr_t kPopTimer = 2;
constexpr int kMargin = 3;        // text inside the border
constexpr int kCursorGap = 20;    // the tip sits this far below the cursor

}  // namespace

ToolTip::ToolTip() = default;

ToolTip::~ToolTip() {
    if (observer_ && exists()) desktop().removeInputObserver(observer_);
}

bool ToolTip::create(Window* owner) {
    if (!Window::create(kToolTipClass, "", WS_POPUP | WS_BORDER, Rect{0, 0, 0, 0}, owner, 0,
                        WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE))
        return false;
    observer_ = desktop().addInputObserver([this](const Message& m) { observe(m); });
    return true;
}

void ToolTip::addTool(Window& tool, std::string text, int toolId, const Rect* area) {
    removeTool(tool, toolId);
    Tool t;
    t.window = &tool;
    t.id = toolId;
    t.wholeClient = area == nullptr;
    if (area) t.area = *area;
    t.text = std::move(text);
    tools_.push_back(std::move(t));
}

void ToolTip::removeTool(Window& tool, int toolId) {
    if (hovered_ && hovered_->window == &tool && hovered_->id == toolId) {
        pop();
        hovered_ = nullptr;
    }
    tools_.erase(std::remove_if(tools_.begin(), tools_.end(),
                                [&](const Tool& t) { return t.window == &tool && t.id == toolId; }),
                 tools_.end());
}

void ToolTip::updateText(Window& tool, std::string text, int toolId) {
    for (auto& t : tools_)
        if (t.window == &tool && t.id == toolId) {
            t.text = std::move(text);
            if (hovered_ == &t && isShown()) showFor(t);
        }
}

void ToolTip::activate(bool active) {
    active_ = active;
    if (!active) pop();
}

void ToolTip::pop() {
    if (!exists()) return;
    killTimer(kShowTimer);
    killTimer(kPopTimer);
    if (isShown()) show(SW_HIDE);
}

const ToolTip::Tool* ToolTip::toolAt(Point screen) const {
    Desktop& d = desktop();
    Window* under = d.windowFromPoint(screen);
    for (const auto& t : tools_) {
        if (!d.isWindow(t.window) || !t.window->isVisible()) continue;
        if (under != t.window && !(under && under->isDescendantOf(*t.window))) continue;
        const Rect area = t.wholeClient ? t.window->clientRect() : t.area;
        if (area.contains(t.window->screenToClient(screen))) return &t;
    }
    return nullptr;
}

void ToolTip::observe(const Message& m) {
    if (!exists() || m.window == this) return;
    switch (m.id) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: {
        const Tool* t = active_ ? toolAt(m.point) : nullptr;
        if (t != hovered_) {
            hovered_ = t;
            pop();
            if (t) setTimer(kShowTimer, desktop().system().toolTipInitialDelay());
        }
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_MOUSEWHEEL:
        pop();
        break;
    default: break;
    }
}

void ToolTip::showFor(const Tool& tool) {
    Desktop& d = desktop();
    shownText_ = tool.text;
    ClientDC dc(*this);
    dc.selectFont(font());
    const Size extent = dc.textExtent(shownText_);
    const Point at = d.cursorPos() + Point{0, kCursorGap};
    setText(shownText_);
    setWindowPos(ZOrder::Topmost,
                 Rect::fromSize(at.x, at.y, extent.width + 2 * kMargin + 2, extent.height + 2 * kMargin + 2),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    setTimer(kPopTimer, d.system().toolTipAutoPop());
}

std::intptr_t ToolTip::windowProc(Message& m) {
    switch (m.id) {
    case WM_TIMER:
        if (m.w == kShowTimer) {
            killTimer(kShowTimer);
            if (hovered_ && active_ && toolAt(desktop().cursorPos()) == hovered_ && !hovered_->text.empty())
                showFor(*hovered_);
            return 0;
        }
        if (m.w == kPopTimer) {
            pop();
            return 0;
        }
        break;
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_PAINT: {
        PaintDC dc(*this);
        Desktop& d = desktop();
        dc.fillRect(clientRect(), Brush::solid(d.sysColor(COLOR_INFOBK)));
        dc.setBkMode(TRANSPARENT);
        dc.setTextColor(d.sysColor(COLOR_INFOTEXT));
        dc.selectFont(font());
        dc.drawText(shownText_, clientRect().inflatedBy(-kMargin, -kMargin), DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        return 0;
    }
    case WM_DESTROY:
        if (observer_) desktop().removeInputObserver(observer_);
        observer_ = 0;
        break;
    default: break;
    }
    return Window::windowProc(m);
}

}  // namespace host::ui
