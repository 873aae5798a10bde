// Pictures of the screen and of windows: window rasters composed in z-order, with frames, captions and scroll
// bars drawn from the windows' state.
#include <functional>

#include "host/sys/text_case.h"
#include "host/ui/desktop.h"
#include "host/ui/desktop_impl.h"
#include "host/ui/raster.h"
#include "host/ui/scroll_bars.h"

namespace host::ui {

namespace {

bool isGroupBox(const detail::WindowNode* n) {
    return sys::equalsNoCase(n->windowClass.name, "Button") && (n->style & BS_TYPEMASK) == BS_GROUPBOX;
}

// Draws a window and its children with the window's top-left at `origin` in the picture.
void compose(const Desktop& desktop, const detail::DesktopImpl& impl, const detail::WindowNode* n, Point origin,
             Image& picture, const Rect& clip) {
    const SystemTables& sys = desktop.system();
    Window& w = *n->object;
    const Rect outer = Rect::fromSize(origin.x, origin.y, n->rect.width(), n->rect.height());
    const Rect area = intersect(outer, clip);
    if (area.isEmpty()) return;

    // The frame: a face-coloured band, with the edges the styles ask for.
    const Rect frame = impl.frameInsets(n);
    if (frame.left || frame.top) picture.fill(area, sys.color(COLOR_BTNFACE));
    Rect edge = outer;
    const bool caption = (n->style & WS_CAPTION) == WS_CAPTION;
    if ((n->style & (WS_THICKFRAME | WS_DLGFRAME)) || caption || (n->exStyle & WS_EX_DLGMODALFRAME)) {
        detail::drawEdgePixels(picture, edge, EDGE_RAISED, BF_RECT, area, sys);
        edge = edge.inflatedBy(-sys.metric(SM_CXDLGFRAME), -sys.metric(SM_CYDLGFRAME));
    } else if (n->style & WS_BORDER) {
        DrawRecord r;
        r.op = DrawOp::FrameRect;
        r.rect = edge;
        r.clip = area;
        r.color = sys.color(COLOR_WINDOWFRAME);
        detail::rasterize(r, picture, sys);
        edge = edge.inflatedBy(-1, -1);
    }
    if (caption) {
        const Rect bar = impl.captionRect(n).offsetBy(origin);
        picture.fill(intersect(bar, area), sys.color(COLOR_ACTIVECAPTION));
        DrawRecord text;
        text.op = DrawOp::Text;
        text.clip = intersect(bar, area);
        text.font = desktop.system().messageFont();
        text.font.weight = FW_BOLD;
        text.measurer = desktop.textMeasurer();
        text.textColor = sys.color(COLOR_CAPTIONTEXT);
        text.backMode = TRANSPARENT;
        const int h = measureMetrics(text.measurer, text.font).height;
        text.lines.push_back({n->text, {bar.left + 4, bar.top + (bar.height() - h) / 2},
                              measureText(text.measurer, text.font, n->text).width});
        detail::drawTextPixels(picture, text, text.clip);
        const Rect close = impl.closeBoxRect(n).offsetBy(origin);
        if (!close.isEmpty()) detail::drawFrameControlPixels(picture, close, DFC_CAPTION, DFCS_CAPTIONCLOSE, area, sys);
    }
    if (n->exStyle & WS_EX_CLIENTEDGE) {
        const Rect inner = Rect{outer.left + frame.left, outer.top + frame.top, outer.right - frame.right,
                                outer.bottom - frame.bottom}
                               .inflatedBy(sys.metric(SM_CXEDGE), sys.metric(SM_CYEDGE));
        detail::drawEdgePixels(picture, inner, EDGE_SUNKEN, BF_RECT, area, sys);
    }

    // Scroll bars.
    for (int bar : {SB_HORZ, SB_VERT}) {
        const ScrollBarParts parts = scrollBarParts(w, bar);
        if (parts.bar.isEmpty()) continue;
        const unsigned disabled = w.scrollBarDisabledArrows(bar);
        picture.fill(intersect(parts.track.offsetBy(origin), area), rgb(234, 232, 228));
        const bool vertical = bar == SB_VERT;
        detail::drawFrameControlPixels(picture, parts.lowArrow.offsetBy(origin), DFC_SCROLL,
                                       (vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) |
                                           ((disabled & ESB_DISABLE_LTUP) ? DFCS_INACTIVE : 0),
                                       area, sys);
        detail::drawFrameControlPixels(picture, parts.highArrow.offsetBy(origin), DFC_SCROLL,
                                       (vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) |
                                           ((disabled & ESB_DISABLE_RTDN) ? DFCS_INACTIVE : 0),
                                       area, sys);
        if (!parts.thumb.isEmpty()) {
            picture.fill(intersect(parts.thumb.offsetBy(origin), area), sys.color(COLOR_BTNFACE));
            detail::drawEdgePixels(picture, parts.thumb.offsetBy(origin), EDGE_RAISED, BF_RECT, area, sys);
        }
    }
    if ((n->style & WS_VSCROLL) && (n->style & WS_HSCROLL)) {
        const Rect v = impl.barRect(n, SB_VERT), h = impl.barRect(n, SB_HORZ);
        const Rect corner = Rect{v.left, h.top, v.right, h.bottom}.offsetBy(origin);
        picture.fill(intersect(corner, area), sys.color(COLOR_BTNFACE));
    }

    // The client area: its raster, or its class background.
    const Rect in = impl.insets(n);
    const Size size = impl.clientSize(n);
    const Rect client = Rect::fromSize(origin.x + in.left, origin.y + in.top, size.width, size.height);
    const Rect clientClip = intersect(client, area);
    if (n->raster) {
        picture.copyFrom(*n->raster, Rect{0, 0, size.width, size.height}, client.topLeft(), clientClip);
    } else {
        const int index = n->windowClass.backgroundColor;
        picture.fill(clientClip, sys.color(index >= 0 ? index : COLOR_WINDOW));
    }
    // Group boxes first: a group box paints no background over the controls inside its frame, but its raster
    // holds the whole rectangle, so composed in its own place it would cover the radio buttons it groups.
    for (bool groupBoxes : {true, false}) {
        for (auto it = n->children.rbegin(); it != n->children.rend(); ++it) {
            const detail::WindowNode* c = *it;
            if (!(c->style & WS_VISIBLE) || isGroupBox(c) != groupBoxes) continue;
            compose(desktop, impl, c, client.topLeft() + c->rect.topLeft(), picture, clientClip);
        }
    }
}

}  // namespace

Image Desktop::snapshot() const {
    const Size screen = screenSize();
    Image picture(screen.width, screen.height, system().color(COLOR_BACKGROUND));
    const Rect all{0, 0, screen.width, screen.height};
    for (auto it = impl_->topLevels.rbegin(); it != impl_->topLevels.rend(); ++it)
        if ((*it)->style & WS_VISIBLE) compose(*this, *impl_, *it, (*it)->rect.topLeft(), picture, all);
    return picture;
}

Image Desktop::snapshot(const Window& w) const {
    const detail::WindowNode* n = impl_->nodeOf(&w);
    if (!n) return {};
    const Rect on = w.windowRect();
    Image picture(on.width(), on.height(), system().color(COLOR_BACKGROUND));
    const Rect all{0, 0, on.width(), on.height()};
    compose(*this, *impl_, n, {0, 0}, picture, all);
    // Visible popups it owns (a combo's list, a tool tip) lie above it.
    const detail::WindowNode* top = impl_->topLevelOf(const_cast<detail::WindowNode*>(n));
    for (auto it = impl_->topLevels.rbegin(); it != impl_->topLevels.rend(); ++it) {
        const detail::WindowNode* t = *it;
        if (t == top || !(t->style & WS_VISIBLE)) continue;
        bool owned = false;
        for (const detail::WindowNode* o = t->owner; o && !owned; o = o->owner) owned = o == top;
        if (owned) compose(*this, *impl_, t, t->rect.topLeft() - on.topLeft(), picture, all);
    }
    return picture;
}

bool Desktop::saveSnapshot(const Window* w, const std::filesystem::path& png, std::string* error) const {
    return writePng(w ? snapshot(*w) : snapshot(), png, error);
}

}  // namespace host::ui
