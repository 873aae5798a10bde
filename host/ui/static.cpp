// Static controls: labels, pictures, rectangles, frames and etched lines.
#include "host/ui/static.h"

#include "host/ui/control_support.h"
#include "host/ui/desktop.h"

namespace host::ui {

Static::Static() = default;
Static::~Static() = default;

std::uint32_t Static::staticType() const { return style() & SS_TYPEMASK; }

unsigned Static::textFormat() const {
    const std::uint32_t s = style();
    unsigned format = 0;
    switch (staticType()) {
    case SS_CENTER: format = DT_CENTER | DT_WORDBREAK; break;
    case SS_RIGHT: format = DT_RIGHT | DT_WORDBREAK; break;
    case SS_LEFTNOWORDWRAP: format = DT_LEFT | DT_EXPANDTABS; break;
    case SS_SIMPLE: format = DT_LEFT | DT_SINGLELINE; break;
    default: format = DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS; break;
    }
    if (s & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    if (s & SS_NOPREFIX) format |= DT_NOPREFIX;
    if (s & SS_ENDELLIPSIS) format |= DT_END_ELLIPSIS;
    return format;
}

void Static::setBitmap(BitmapPtr bitmap) {
    bitmap_ = std::move(bitmap);
    if (bitmap_ && staticType() == SS_BITMAP && !(style() & SS_CENTERIMAGE) && exists()) {
        const Rect r = rectInParent();
        const Rect inset = nonClientInsets();
        move(Rect::fromSize(r.left, r.top, bitmap_->width() + inset.left + inset.right,
                            bitmap_->height() + inset.top + inset.bottom));
    }
    invalidate();
}

void Static::paint() {
    PaintDC dc(*this);
    Desktop& d = desktop();
    Rect client = clientRect();
    switch (staticType()) {
    case SS_BLACKRECT: dc.fillSolidRect(client, d.sysColor(COLOR_WINDOWFRAME)); return;
    case SS_GRAYRECT: dc.fillSolidRect(client, d.sysColor(COLOR_BACKGROUND)); return;
    case SS_WHITERECT: dc.fillSolidRect(client, d.sysColor(COLOR_WINDOW)); return;
    case SS_BLACKFRAME: dc.frameRect(client, Brush::solid(d.sysColor(COLOR_WINDOWFRAME))); return;
    case SS_GRAYFRAME: dc.frameRect(client, Brush::solid(d.sysColor(COLOR_BACKGROUND))); return;
    case SS_WHITEFRAME: dc.frameRect(client, Brush::solid(d.sysColor(COLOR_WINDOW))); return;
    case SS_ETCHEDHORZ: dc.drawEdge(client, EDGE_ETCHED, BF_TOP); return;
    case SS_ETCHEDVERT: dc.drawEdge(client, EDGE_ETCHED, BF_LEFT); return;
    case SS_ETCHEDFRAME: dc.drawEdge(client, EDGE_ETCHED, BF_RECT); return;
    case SS_OWNERDRAW: return;
    default: break;
    }
    dc.fillRect(client, controlBrush(*this, dc, WM_CTLCOLORSTATIC, COLOR_BTNFACE));
    if (style() & SS_SUNKEN) dc.drawEdge(client, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    if (staticType() == SS_BITMAP || staticType() == SS_ICON) {
        if (!bitmap_) return;
        Point at = client.topLeft();
        if (style() & SS_CENTERIMAGE)
            at = {client.left + (client.width() - bitmap_->width()) / 2,
                  client.top + (client.height() - bitmap_->height()) / 2};
        dc.drawBitmap(bitmap_, Rect::fromSize(at.x, at.y, bitmap_->width(), bitmap_->height()));
        return;
    }
    dc.selectFont(font());
    dc.setBkMode(TRANSPARENT);
    if (!isEnabled()) dc.setTextColor(d.sysColor(COLOR_GRAYTEXT));
    dc.drawText(storedText(), client, textFormat());
}

std::intptr_t Static::windowProc(Message& m) {
    switch (m.id) {
    case WM_NCHITTEST:
        if (!(style() & SS_NOTIFY)) return HTTRANSPARENT;
        return Window::windowProc(m);
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_SETTEXT: {
        const char* text = pointerFromParam<const char>(m.l);
        if (storedText() == (text ? text : "")) return 1;
        const std::intptr_t result = Window::windowProc(m);
        invalidate();
        return result;
    }
    case WM_ENABLE:
        invalidate();
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
        paint();
        return 0;
    case WM_LBUTTONDOWN:
        if (style() & SS_NOTIFY) notifyCommand(*this, STN_CLICKED);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (style() & SS_NOTIFY) notifyCommand(*this, STN_DBLCLK);
        return 0;
    case STM_SETIMAGE: {
        if (m.w != IMAGE_BITMAP) return 0;
        Bitmap* previous = bitmap_.get();
        const auto* incoming = pointerFromParam<const BitmapPtr>(m.l);
        setBitmap(incoming ? *incoming : BitmapPtr{});
        return lParamFromPointer(previous);
    }
    case STM_GETIMAGE: return lParamFromPointer(bitmap_.get());
    default: return Window::windowProc(m);
    }
}

}  // namespace host::ui
