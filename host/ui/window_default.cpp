// The default handling of messages a window's own handler leaves (the table in window.h).
#include <algorithm>
#include <cctype>
#include <cstring>

#include "host/ui/desktop.h"
#include "host/ui/desktop_impl.h"
#include "host/ui/scroll_bars.h"
#include "host/ui/window.h"

namespace host::ui {

namespace {

bool isEditOrList(const std::string& className) {
    auto same = [&](std::string_view n) {
        return className.size() == n.size() &&
               std::equal(n.begin(), n.end(), className.begin(),
                          [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) ==
                                                      std::tolower(static_cast<unsigned char>(b)); });
    };
    return same(kEditClass) || same(kListBoxClass) || same(kComboListClass);
}

}  // namespace

std::intptr_t Window::defaultProc(Message& m) {
    if (!node_) return 0;
    Desktop& desktop = *node_->desktop;
    auto& impl = *desktop.impl_;
    switch (m.id) {
    case WM_NCCREATE: return 1;
    case WM_CLOSE: destroy(); return 0;
    case WM_NCHITTEST: return impl.hitTest(node_, pointFromLParam(m.l));
    case WM_SETCURSOR: {
        if (Window* p = parent(); p && p->send(WM_SETCURSOR, m.w, m.l)) return 1;
        // A parent asked about its child's cursor has nothing more to say.
        if (!node_ || pointerFromParam<Window>(m.w) != this) return 0;
        const int hit = static_cast<std::int16_t>(loWord(m.l));
        if (hit == HTCLIENT) {
            if (node_->windowClass.cursor == 0) return 0;
            desktop.setCursor(node_->windowClass.cursor);
            return 1;
        }
        if (hit == HTERROR || hit == HTNOWHERE) return 0;
        desktop.setCursor(IDC_ARROW);
        return 1;
    }
    case WM_MOUSEWHEEL:
        if (Window* p = parent()) return p->send(m.id, m.w, m.l);
        return 0;
    case WM_SETTEXT: {
        const char* text = pointerFromParam<const char>(m.l);
        node_->text = text ? text : "";
        if (node_->style & WS_CAPTION) invalidate(true);
        return 1;
    }
    case WM_GETTEXT: {
        auto* out = pointerFromParam<std::string>(m.l);
        if (!out) return 0;
        *out = node_->text;
        if (m.w != 0 && out->size() > m.w) out->resize(m.w);
        return static_cast<std::intptr_t>(out->size());
    }
    case WM_GETTEXTLENGTH: return static_cast<std::intptr_t>(node_->text.size());
    case WM_SETFONT: {
        const auto* f = pointerFromParam<const Font>(m.w);
        node_->font = f ? *f : Font{};
        if (m.l) invalidate(true);
        return 0;
    }
    case WM_GETFONT: return node_->font.isNull() ? 0 : lParamFromPointer(&node_->font);
    case WM_ERASEBKGND: {
        auto* dc = pointerFromParam<DC>(m.w);
        const int index = node_->windowClass.backgroundColor;
        if (!dc || index < 0) return 0;
        dc->fillRect(dc->clipBox(), Brush::solid(desktop.sysColor(index)));
        return 1;
    }
    case WM_PAINT: {
        PaintDC dc(*this);
        return 0;
    }
    case WM_NCLBUTTONDOWN: {
        const int hit = static_cast<int>(m.w);
        if (hit == HTVSCROLL || hit == HTHSCROLL) {
            const int bar = hit == HTVSCROLL ? SB_VERT : SB_HORZ;
            const int code = scrollCodeAt(*this, bar, pointFromLParam(m.l));
            if (code >= 0) {
                const unsigned message = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
                send(message, makeWParam(code, 0), 0);
                send(message, makeWParam(SB_ENDSCROLL, 0), 0);
            }
            return 0;
        }
        if (hit == HTCLOSE) return send(WM_SYSCOMMAND, SC_CLOSE, m.l);
        return 0;
    }
    case WM_SYSCOMMAND:
        if ((m.w & 0xFFF0) == SC_CLOSE) return send(WM_CLOSE);
        return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        auto* dc = pointerFromParam<DC>(m.w);
        const auto* control = pointerFromParam<Window>(m.l);
        const bool windowColoured =
            m.id == WM_CTLCOLOREDIT || m.id == WM_CTLCOLORLISTBOX ||
            (control && desktop.isWindow(control) && isEditOrList(control->className()));
        if (dc) {
            dc->setTextColor(desktop.sysColor(windowColoured ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
            dc->setBkColor(desktop.sysColor(windowColoured ? COLOR_WINDOW : COLOR_BTNFACE));
        }
        return lParamFromPointer(desktop.sysColorBrush(windowColoured ? COLOR_WINDOW : COLOR_BTNFACE));
    }
    case WM_CANCELMODE:
        if (hasCapture()) desktop.releaseCapture();
        return 0;
    default: return 0;
    }
}

}  // namespace host::ui
