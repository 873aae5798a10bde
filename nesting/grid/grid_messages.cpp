// The grid's message handler: which message goes to which handler, and binding to a dialog's custom control.
#include "host/ui/desktop.h"
#include "nesting/grid/grid_ctrl.h"

using host::ui::Message;

namespace {

// Set while a grid takes over a dialog's control: moving the window to recompute its frame must not bind again.
bool bindingUnderWay = false;

}  // namespace

std::intptr_t CGridCtrl::windowProc(Message& m) {
    using namespace host::ui;
    switch (m.id) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_HSCROLL: OnHScroll(loWord(m.w)); return 0;
    case WM_VSCROLL: OnVScroll(loWord(m.w)); return 0;
    case WM_SIZE: OnSize(m); return 0;
    case WM_LBUTTONUP: OnLButtonUp(m); return 0;
    case WM_LBUTTONDOWN: OnLButtonDown(static_cast<unsigned>(m.w), pointFromLParam(m.l)); return 0;
    case WM_MOUSEMOVE: OnMouseMove(static_cast<unsigned>(m.w), pointFromLParam(m.l)); return 0;
    case WM_TIMER: OnTimer(m.w); return 0;
    case WM_GETDLGCODE: return OnGetDlgCode();
    case WM_KEYDOWN: OnKeyDown(m); return 0;
    case WM_CHAR: OnChar(m); return 0;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(m); return 0;
    case WM_ERASEBKGND: return 1;  // every pixel is painted by WM_PAINT
    case WM_COMMAND:
        switch (loWord(m.w)) {
        case ID_EDIT_SELECT_ALL: SelectEverything(); return 0;
        case ID_EDIT_COPY: CopyToClipboard(); return 0;
        case ID_EDIT_CUT: CutToClipboard(); return 0;
        case ID_EDIT_PASTE: PasteFromClipboard(); return 0;
        default: return defaultProc(m);
        }
    case WM_SETCURSOR: return OnSetCursor(m) ? 1 : 0;
    case WM_RBUTTONUP: OnRButtonUp(m); return 0;
    case WM_SYSCOLORCHANGE:
        defaultProc(m);
        OnSysColorChange();
        return 0;
    case WM_CAPTURECHANGED: OnCaptureChanged(pointerFromParam<Window>(m.l)); return 0;
    case WM_MOUSEWHEEL: OnMouseWheel(m); return 0;
    case WM_SETFONT: OnSetFont(m); return 0;
    case WM_GETFONT: return OnGetFont();
    case WM_IME_CHAR: OnImeChar(static_cast<unsigned>(m.w)); return 0;
    case WM_NOTIFY:
        if (const auto* header = pointerFromParam<const NotifyHeader>(m.l);
            header != nullptr && header->code == GridEndEditCode && header->id == GridEditorControlId) {
            OnEndInPlaceEdit(*reinterpret_cast<const GridCellNotifyRecord*>(header));
            return 0;
        }
        return defaultProc(m);
    default: return defaultProc(m);
    }
}

void CGridCtrl::preSubclassWindow() {
    Window::preSubclassWindow();
    if (bindingUnderWay) return;
    bindingUnderWay = true;
    tipWindow_.SetParentWindow(this);
    modifyExStyle(0, host::ui::WS_EX_CLIENTEDGE);
    // Out and back by a pixel, so the frame is recomputed with the new edge and the grid gets its size message.
    const host::ui::Rect r = rectInParent();
    move(r.inflatedBy(1, 1), true);
    move(r, true);
    bindingUnderWay = false;
}
