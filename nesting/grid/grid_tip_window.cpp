// The grid's title tip: its window class, showing a cut-off cell text over the cell, and passing the mouse and
// the keys on to the window beneath.
#include "nesting/grid/grid_tip_window.h"

#include "host/ui/desktop.h"

using namespace host::ui;

namespace {

// No left press on the tip yet (the tick count of the last one otherwise).
constexpr std::uint32_t kNoPress = 0xFFFFFFFF;

void RegisterTipClass(Desktop& desktop) {
    if (desktop.classes().find(kTitleTipClass)) return;
    WindowClass tip;
    tip.name = std::string(kTitleTipClass);
    tip.style = CS_SAVEBITS;
    tip.cursor = IDC_ARROW;
    tip.backgroundColor = COLOR_INFOBK;
    desktop.classes().registerClass(std::move(tip));
}

bool IsPress(unsigned id) { return id == WM_LBUTTONDOWN || id == WM_RBUTTONDOWN || id == WM_MBUTTONDOWN; }

}  // namespace

CGridTipWindow::CGridTipWindow() {
    if (Desktop* desktop = Desktop::current()) {
        RegisterTipClass(*desktop);
        doubleClickTime_ = desktop->system().doubleClickTime();
    }
}

CGridTipWindow::~CGridTipWindow() { StopWatchingKeys(); }

bool CGridTipWindow::CreateTip(Window* parent) {
    if (exists()) return true;
    parent_ = parent;
    RegisterTipClass(desktop());
    CreateParams params;
    params.className = std::string(kTitleTipClass);
    params.style = WS_POPUP | WS_BORDER;
    params.exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    params.rect = Rect{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    created_ = create(params);
    if (created_) WatchKeys();
    return created_;
}

void CGridTipWindow::ShowTip(const Rect& titleRect, std::string_view text, int xOffset, const Rect* hoverRect,
                             const LogFont* font, ColorRef textColour, ColorRef backColour) {
    if (!exists() && !CreateTip(parent_)) return;
    if (titleRect.isEmpty() || IsTipShown() || !parent_ || !desktop().isWindow(parent_)) return;
    // No tip while the dialog is inactive.
    if (!desktop().focus()) return;

    const Rect title = parent_->clientToScreen(titleRect);
    const std::string shown = " " + std::string(text) + " ";
    const Font tipFont = font ? Font::create(*font) : parent_->font();

    int left = 0;
    int right = 0;
    {
        ClientDC dc(*this);
        dc.selectFont(tipFont);
        const Size extent = dc.textExtent(shown);
        left = title.left + xOffset;
        right = left + extent.width + xOffset + dc.textMetrics().overhang;
    }
    if (right <= title.right - xOffset) return;  // the text fits its cell

    tipText_ = shown;
    tipFont_ = tipFont;
    textColour_ = textColour;
    backColour_ = backColour;
    setWindowPos(ZOrder::Top, Rect{left, title.top, right, title.bottom}, SWP_SHOWWINDOW | SWP_NOACTIVATE);

    // The hover area is taken into the tip's coordinates only now that the tip is at its new place: converted
    // before the move, the first move over the cell was tested against the old place and hid the tip at once.
    Rect hover = hoverRect ? *hoverRect : titleRect;
    hover.right += 1;
    hover.bottom += 1;
    hoverRect_ = parent_->mapTo(this, hover);

    {
        ClientDC dc(*this);
        DrawTip(dc);
    }
    setCapture();
}

void CGridTipWindow::DrawTip(DC& dc) const {
    const int saved = dc.save();
    dc.selectFont(tipFont_);
    if (backColour_ != CLR_DEFAULT) {
        const Rect clip = dc.clipBox();
        dc.selectBrush(Brush::solid(backColour_));
        dc.patBlt(clip.left, clip.top, clip.width(), clip.height(), PATCOPY);
    }
    if (textColour_ != CLR_DEFAULT) dc.setTextColor(textColour_);
    dc.setBkMode(TRANSPARENT);
    dc.textOut(0, 0, tipText_);
    dc.restore(saved);
}

void CGridTipWindow::HideTip() {
    if (!exists()) return;
    if (hasCapture()) desktop().releaseCapture();
    if (style() & WS_VISIBLE) show(SW_HIDE);
}

bool CGridTipWindow::DestroyWindow() {
    created_ = false;
    StopWatchingKeys();
    return destroy();
}

void CGridTipWindow::WatchKeys() {
    // Keys go to the window with the focus, never to the tip: a spy sees them on their way and takes the tip
    // down, and the key goes on unchanged.
    if (keySpy_) return;
    keySpy_ = desktop().addMessageSpy([this](const Message& m, Delivery how) {
        if (how == Delivery::Queued && (m.id == WM_KEYDOWN || m.id == WM_SYSKEYDOWN) && IsTipShown()) HideTip();
    });
}

void CGridTipWindow::StopWatchingKeys() {
    // The spy goes with the window (WM_DESTROY), so only a live window has one to remove.
    if (!keySpy_) return;
    if (exists()) desktop().removeMessageSpy(keySpy_);
    keySpy_ = 0;
}

Window* CGridTipWindow::WindowBeneath(Point screen) const {
    Window* under = desktop().windowFromPoint(screen);
    if (under == this) under = parent_;
    return under && desktop().isWindow(under) ? under : nullptr;
}

bool CGridTipWindow::ForwardPress(const Message& m) {
    bool doubleClick = false;
    if (m.id == WM_LBUTTONDOWN) {
        const std::uint32_t now = desktop().tickCount();
        doubleClick = lastLeftPress_ != kNoPress && now - lastLeftPress_ <= doubleClickTime_;
        lastLeftPress_ = now;
    }
    const Point screen = clientToScreen(pointFromLParam(m.l));
    HideTip();
    Window* target = WindowBeneath(screen);
    if (!target) return false;
    const auto hit = static_cast<int>(target->send(WM_NCHITTEST, 0, lParamFromPoint(screen)));
    if (hit == HTCLIENT) {
        const unsigned id = doubleClick ? WM_LBUTTONDBLCLK : m.id;
        target->post(id, m.w, lParamFromPoint(target->screenToClient(screen)));
    } else {
        // A quick second left press off the client area stays a press: the window beneath gets the press it
        // would have had without the tip.
        unsigned id = WM_NCLBUTTONDOWN;
        if (m.id == WM_RBUTTONDOWN) id = WM_NCRBUTTONDOWN;
        if (m.id == WM_MBUTTONDOWN) id = WM_NCMBUTTONDOWN;
        target->post(id, static_cast<std::uintptr_t>(hit), lParamFromPoint(screen));
    }
    return true;
}

void CGridTipWindow::ForwardMove(const Message& m) {
    const Point client = pointFromLParam(m.l);
    if (hoverRect_.contains(client)) return;
    const Point screen = clientToScreen(client);
    HideTip();
    Window* target = WindowBeneath(screen);
    if (!target) return;
    const auto hit = static_cast<int>(target->send(WM_NCHITTEST, 0, lParamFromPoint(screen)));
    if (hit == HTCLIENT)
        target->post(WM_MOUSEMOVE, m.w, lParamFromPoint(target->screenToClient(screen)));
    else
        target->post(WM_NCMOUSEMOVE, static_cast<std::uintptr_t>(hit), lParamFromPoint(screen));
}

bool CGridTipWindow::preTranslateMessage(Message& m) {
    if (m.id == WM_KEYDOWN || m.id == WM_SYSKEYDOWN) {
        HideTip();
        if (parent_ && desktop().isWindow(parent_)) parent_->post(m.id, m.w, m.l);
        return true;
    }
    if (IsPress(m.id)) return ForwardPress(m);
    if (!desktop().focus()) {
        HideTip();
        return true;
    }
    return false;
}

std::intptr_t CGridTipWindow::windowProc(Message& m) {
    switch (m.id) {
    case WM_MOUSEMOVE:
        ForwardMove(m);
        return 0;
    case WM_PAINT: {
        // The text drawn by ShowTip would be erased by the first paint after the tip shows: draw it again.
        PaintDC dc(*this);
        DrawTip(dc);
        return 0;
    }
    case WM_CAPTURECHANGED:
        // Moves no longer come here, so nothing would take the tip down: it goes with the capture.
        if (IsTipShown()) show(SW_HIDE);
        return 0;
    case WM_DESTROY:
        created_ = false;
        StopWatchingKeys();
        break;
    default: break;
    }
    return Window::windowProc(m);
}
