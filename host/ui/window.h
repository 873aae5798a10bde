// A window: one object per window, its message handler, and the state the layer keeps for it (class, text,
// style, geometry, relations, scroll bars, update area, display list).
//
// The object and the window are two lifetimes, as in the frameworks this layer imitates: an object exists first,
// create() makes its window, destroy() (or WM_CLOSE's default) ends the window and calls postNcDestroy(), where
// an object that owns itself may `delete this`. Windows made by Desktop::createWindow() from a class factory
// belong to the desktop, which deletes them after postNcDestroy(). Destroying an object whose window still lives
// destroys the window first (its messages then reach only this base class, as the derived part is gone).
//
// Messages to a window go through windowProc(); what it does not handle it passes to defaultProc(), the
// layer's default handling:
//   WM_CLOSE          destroy()
//   WM_NCHITTEST      HTCLIENT, HTVSCROLL, HTHSCROLL, HTCAPTION, HTCLOSE, HTBORDER or HTNOWHERE by geometry
//   WM_SETCURSOR      asks the parent first; over the client area sets the class cursor; answers TRUE
//   WM_MOUSEWHEEL     passed to the parent, if any
//   WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH   the stored text (message.h gives the parameters)
//   WM_SETFONT, WM_GETFONT   the stored font
//   WM_ERASEBKGND     fills the clip box with the class background colour; answers 1 when it did
//   WM_PAINT          BeginPaint and EndPaint (validates)
//   WM_NCLBUTTONDOWN  on a scroll bar: the arrow or page code, then SB_ENDSCROLL, as WM_HSCROLL/WM_VSCROLL;
//                     on the close box: WM_SYSCOMMAND SC_CLOSE
//   WM_SYSCOMMAND     SC_CLOSE sends WM_CLOSE
//   WM_CTLCOLOR*      COLOR_WINDOWTEXT on COLOR_WINDOW for edits and list boxes, COLOR_BTNTEXT on COLOR_BTNFACE
//                     for the others; answers the desktop's brush of that colour
//   WM_CANCELMODE     releases the capture if this window has it
//   everything else   0
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/ui/constants.h"
#include "host/ui/dc.h"
#include "host/ui/font.h"
#include "host/ui/geometry.h"
#include "host/ui/message.h"

namespace host::ui {

class Desktop;
struct WindowClass;
namespace detail {
struct WindowNode;
struct DesktopImpl;
}

// What WM_NCCREATE and WM_CREATE carry (lParam) and what create() takes.
struct CreateParams {
    std::string className;
    std::string text;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    // Child windows: in the parent's client coordinates. Top-level windows: screen coordinates. CW_USEDEFAULT in
    // left (or in right for the width) places (or sizes) the window by default.
    Rect rect{};
    // A WS_CHILD window's parent; for a top-level window its owner (nullptr for none).
    Window* parent = nullptr;
    int id = 0;
    void* createData = nullptr;  // passed through to WM_CREATE, for the window's own use
};

// SCROLLINFO: range, page, position and track position of a standard scroll bar.
struct ScrollInfo {
    unsigned mask = SIF_ALL;  // SIF_* fields that count (set) or are wanted (get)
    int min = 0;
    int max = 0;
    unsigned page = 0;
    int pos = 0;
    int trackPos = 0;
    friend bool operator==(const ScrollInfo&, const ScrollInfo&) = default;
};

// Where the window's z-order goes in setWindowPos.
enum class ZOrder {
    Keep,       // SWP_NOZORDER
    Top,        // HWND_TOP
    Bottom,     // HWND_BOTTOM
    Topmost,    // HWND_TOPMOST: also sets WS_EX_TOPMOST
    NoTopmost,  // HWND_NOTOPMOST
    After,      // just below the window given as `after`
};

class Window {
public:
    Window();
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // [SECTION] Life
    // Creates this object's window: WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, and WM_SHOWWINDOW when
    // WS_VISIBLE. The class must be registered with the current desktop (Desktop::current()). False when the
    // object already has a window, the class is unknown, the parent does not exist, or WM_NCCREATE answers 0 or
    // WM_CREATE answers -1 (the window is then destroyed again).
    bool create(const CreateParams& params);
    bool create(std::string_view className, std::string_view text, std::uint32_t style, const Rect& rect,
                Window* parent, int id = 0, std::uint32_t exStyle = 0);
    // Ends the window: the focus and capture leave it, owned windows end first, then WM_DESTROY (this window
    // first, then its children), WM_NCDESTROY (children first), postNcDestroy(). False when there is no window.
    bool destroy();
    // Whether this object has a live window (IsWindow).
    bool exists() const { return node_ != nullptr; }
    // The desktop of the window; Desktop::current() for an object without one.
    Desktop& desktop() const;

    // This object takes over the live window `existing` (subclassing, as a dialog binds a member object to a
    // control made from its template): class, text, style, id, geometry, relations, focus, capture, timers,
    // scroll bars, update area and display list move to this object, `existing` is left without a window and
    // gets no message (if the desktop owned it, it is deleted). Then preSubclassWindow() runs. False when this
    // object already has a window or `existing` has none.
    bool adopt(Window& existing);

    // [SECTION] Messages
    std::intptr_t send(unsigned id, std::uintptr_t w = 0, std::intptr_t l = 0);
    bool post(unsigned id, std::uintptr_t w = 0, std::intptr_t l = 0);
    // The message handler: a switch over m.id, passing what it leaves to defaultProc (or its base class).
    virtual std::intptr_t windowProc(Message& m);
    // Queued messages (posted, input, timers) meet this first, for the target window and then each ancestor up
    // to its top-level window; true means "handled, do not dispatch".
    virtual bool preTranslateMessage(Message& m);
    std::intptr_t defaultProc(Message& m);
    // After the window's last message (WM_NCDESTROY): an object that owns itself deletes itself here.
    virtual void postNcDestroy();
    // Called by adopt() once this object has the window.
    virtual void preSubclassWindow();

    // [SECTION] Identity and relations
    const std::string& className() const;
    const WindowClass* windowClass() const;
    int id() const;  // GetDlgCtrlID
    void setId(int id);
    // The parent of a child window; nullptr for a top-level window.
    Window* parent() const;
    // The owner of a top-level window, or the one set by setOwner; nullptr for none.
    Window* owner() const;
    void setOwner(Window* owner);
    // Where a control sends its notifications: its owner, else its parent (GetOwner of the frameworks).
    Window* ownerOrParent() const;
    // The top-level window this window is in (itself when top-level).
    Window* topLevel() const;
    // Child windows in z-order, top first; for a dialog this is also the tab order (creation order).
    std::vector<Window*> children() const;
    // The child with control id `id` (GetDlgItem), nullptr when none.
    Window* child(int id) const;
    // Whether this window is a descendant of `ancestor` (IsChild).
    bool isDescendantOf(const Window& ancestor) const;
    // Moves a child to another parent (SetParent); nullptr makes it top-level. Answers the old parent.
    Window* setParent(Window* newParent);

    // [SECTION] Text, style, font
    std::string text() const;               // WM_GETTEXT
    void setText(std::string_view text);    // WM_SETTEXT
    const std::string& storedText() const;  // the text the default handling keeps
    std::uint32_t style() const;
    std::uint32_t exStyle() const;
    // Changes style bits (removed, then added) and recomputes the client area; WM_SIZE when it changes.
    void modifyStyle(std::uint32_t remove, std::uint32_t add);
    void modifyExStyle(std::uint32_t remove, std::uint32_t add);
    void setFont(const Font& font, bool redraw = true);  // WM_SETFONT
    Font font() const;                                   // WM_GETFONT; the null font for the default

    // [SECTION] Visibility and state
    // ShowWindow: SW_HIDE hides, the others show. Answers whether the window was visible before.
    bool show(int command = SW_SHOW);
    // Whether WS_VISIBLE is set on this window and all its ancestors.
    bool isVisible() const;
    // EnableWindow: WM_ENABLE; disabling the window that has the focus (or holds it in a child) moves the focus
    // to no window. Answers whether the window was disabled before.
    bool enable(bool enabled);
    // Whether this window and all its ancestors are enabled.
    bool isEnabled() const;

    // [SECTION] Geometry
    // The window rectangle in screen coordinates (GetWindowRect).
    Rect windowRect() const;
    // The window rectangle in the parent's client coordinates (screen coordinates for a top-level window).
    Rect rectInParent() const;
    // The client area: {0, 0, width, height} (GetClientRect).
    Rect clientRect() const;
    // The client area in screen coordinates.
    Rect clientRectOnScreen() const;
    Point clientToScreen(Point p) const;
    Rect clientToScreen(const Rect& r) const;
    Point screenToClient(Point p) const;
    Rect screenToClient(const Rect& r) const;
    // MapWindowPoints: from this window's client coordinates to `to`'s (the screen for nullptr).
    Point mapTo(const Window* to, Point p) const;
    Rect mapTo(const Window* to, const Rect& r) const;
    // MoveWindow: WM_MOVE and WM_SIZE when they change; repaint invalidates the window.
    void move(const Rect& rectInParent, bool repaint = true);
    // SetWindowPos with SWP_* flags (SWP_SHOWWINDOW, SWP_HIDEWINDOW, SWP_NOMOVE, SWP_NOSIZE, SWP_NOZORDER ...).
    bool setWindowPos(ZOrder order, const Rect& rectInParent, unsigned flags, Window* after = nullptr);
    // The non-client edges: frame, caption, border, client edge and the visible scroll bars.
    Rect nonClientInsets() const;

    // [SECTION] Painting
    // InvalidateRect: adds the rectangle (client coordinates; the whole client for invalidate()) to the update
    // area, clipped to the client area. Every call is also kept in the desktop's invalidation log.
    void invalidate(bool erase = true);
    void invalidateRect(const Rect& r, bool erase = true);
    void validate();
    // Whether the update area is not empty, and its bounding box (GetUpdateRect).
    bool hasUpdate() const;
    Rect updateRect() const;
    // The rectangles added since the window was last validated.
    const std::vector<Rect>& updateRects() const;
    // UpdateWindow: sends WM_PAINT now when the update area is not empty.
    void update();
    // RedrawWindow with RDW_* flags (RDW_INVALIDATE, RDW_ERASE, RDW_UPDATENOW, RDW_ALLCHILDREN, ...).
    void redraw(unsigned flags, const Rect* r = nullptr);
    // The drawing calls the window received, and its pixels when the desktop keeps a raster (nullptr if not).
    const DisplayList& displayList() const;
    void clearDisplayList();
    const Image* raster() const;

    // [SECTION] Standard scroll bars (bar = SB_HORZ or SB_VERT; SB_BOTH where stated)
    // SetScrollInfo: sets the fields in info.mask. The page is clamped to [0, max - min + 1] and the position to
    // [min, max - max(page - 1, 0)]. A bar shows when its range is needed (max > min and page <= max - min)
    // and hides when it is not, or, with SIF_DISABLENOSCROLL, stays and is disabled instead; a bar shown or
    // hidden changes the client area and sends WM_SIZE. Answers the new position. No effect without a window.
    int setScrollInfo(int bar, const ScrollInfo& info, bool redraw = true);
    // GetScrollInfo of the fields in info.mask; false without a window.
    bool getScrollInfo(int bar, ScrollInfo& info) const;
    int scrollPos(int bar) const;
    int setScrollPos(int bar, int pos, bool redraw = true);  // answers the previous position
    void setScrollRange(int bar, int min, int max, bool redraw = true);
    void scrollRange(int bar, int& min, int& max) const;
    // ShowScrollBar (SB_BOTH allowed); a change sends WM_SIZE.
    void showScrollBar(int bar, bool show = true);
    // EnableScrollBar with ESB_* (SB_BOTH allowed); answers whether anything changed.
    bool enableScrollBar(int bar, unsigned arrows = ESB_ENABLE_BOTH);
    // EnableScrollBarCtrl of the frameworks: with no bar control, shows or hides the window's own bar.
    void enableScrollBarCtrl(int bar, bool enable = true);
    bool isScrollBarVisible(int bar) const;
    unsigned scrollBarDisabledArrows(int bar) const;  // ESB_* bits set by enableScrollBar or SIF_DISABLENOSCROLL

    // [SECTION] Timers, focus, capture
    // SetTimer on the virtual clock: WM_TIMER(id) when `milliseconds` have passed, at most one pending at a
    // time; the same id replaces the timer. Intervals under USER_TIMER_MINIMUM are raised to it. Answers `id`,
    // 0 without a window.
    std::uintptr_t setTimer(std::uintptr_t id, unsigned milliseconds);
    bool killTimer(std::uintptr_t id);
    // Desktop::setFocus(this); answers the window that had the focus.
    Window* setFocus();
    bool hasFocus() const;
    // Desktop::setCapture(this); answers the window that had it.
    Window* setCapture();
    bool hasCapture() const;

private:
    friend class Desktop;
    friend struct detail::WindowNode;
    friend struct detail::DesktopImpl;
    detail::WindowNode* node_ = nullptr;
};

}  // namespace host::ui
