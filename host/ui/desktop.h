// The desktop: the one UI state of a process (or of a test). It holds the windows, the message queues, the
// virtual clock and timers, the focus, capture, key state and cursor, the system tables, the clipboard, the drop
// targets, the window classes and the drawing settings.
//
// Constructing a Desktop makes it the current one (Desktop::current()), which new windows join; destroying it
// destroys the windows left and reinstates the desktop it replaced. Create one per test, one per process in
// production. Everything is single-threaded.
//
// Queued messages come in this order, as in the system this imitates: posted messages, then input (keys and
// mouse, from the robot), then WM_PAINT for windows whose update area is not empty, then WM_TIMER for timers
// that are due. Each queued message first meets the preTranslateMessage chain. Time moves only in advance().
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/ui/clipboard.h"
#include "host/ui/constants.h"
#include "host/ui/dc.h"
#include "host/ui/drop_target.h"
#include "host/ui/font.h"
#include "host/ui/geometry.h"
#include "host/ui/image.h"
#include "host/ui/message.h"
#include "host/ui/system_tables.h"
#include "host/ui/window.h"
#include "host/ui/window_class.h"

namespace host::ui {

namespace detail {
struct DesktopImpl;
}

enum class PumpResult {
    Idle,       // nothing is left to do
    Unsettled,  // the bound of messages per pump was reached: something keeps posting, invalidating or timing
};

enum class ModalEnd {
    Ended,      // keepRunning answered false
    Stalled,    // nothing was left to do and no idle handler acted: no one can answer the dialog
    Unsettled,  // a pump did not settle (see PumpResult)
};

// Raw input the robot queues; the desktop turns each into window messages when it is taken from the queue.
enum class MouseAction { Move, LeftDown, LeftUp, RightDown, RightUp, MiddleDown, MiddleUp, Wheel };

// How a message reached a window, for message spies.
enum class Delivery { Sent, Queued };

// One InvalidateRect (or invalidate()) as it was asked, the rectangle clipped to the client area.
struct Invalidation {
    Window* window = nullptr;
    Rect rect{};
    bool erase = true;
};

class Desktop {
public:
    // Most messages one pumpUntilIdle() delivers before it gives up as Unsettled; a settled dialog needs a few
    // hundred, so only a loop (a window that invalidates itself in every paint) reaches it.
    static constexpr int kPumpBound = 100000;
    // Deepest nesting of sent messages; deeper means a message handler that sends to itself without end, which
    // stops the process with a message naming the message.
    static constexpr int kSendDepthBound = 1000;

    Desktop();
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // The current desktop; nullptr when none exists.
    static Desktop* current();

    WindowClassRegistry& classes();
    SystemTables& system();
    const SystemTables& system() const;
    Clipboard& clipboard();

    // [SECTION] Windows
    // Makes a window of a registered class through its factory; the desktop owns the object and deletes it after
    // the window's end. nullptr when the class is unknown, has no factory, or creation fails.
    Window* createWindow(const CreateParams& params);
    Window* createWindow(std::string_view className, std::string_view text, std::uint32_t style, const Rect& rect,
                         Window* parent, int id = 0, std::uint32_t exStyle = 0);
    // IsWindow: whether `w` is an object with a live window on this desktop (safe for any pointer value).
    bool isWindow(const Window* w) const;
    // Top-level windows in z-order, top first (topmost windows before the others).
    std::vector<Window*> topLevelWindows() const;
    // The deepest visible window under a screen point (WindowFromPoint), disabled ones included; nullptr when
    // the point is on no window.
    Window* windowFromPoint(Point screen) const;
    // A top-level window by class name and/or text (an empty argument matches any).
    Window* findWindow(std::string_view className, std::string_view text) const;
    Size screenSize() const;
    void setScreenSize(Size size);

    // [SECTION] Messages
    // SendMessage: runs the window's windowProc now. 0 when the window does not exist.
    std::intptr_t send(Window* w, unsigned id, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
    // PostMessage: queues; false when the window does not exist. A message for a window that ends before it is
    // taken from the queue is dropped.
    bool post(Window* w, unsigned id, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
    // Delivers queued work until none is left (see the order above); advances no time.
    PumpResult pumpUntilIdle();
    // Whether anything is queued, invalid or due.
    bool hasPendingWork() const;
    // TranslateMessage: for a WM_KEYDOWN (WM_SYSKEYDOWN) that types a character, posts WM_CHAR (WM_SYSCHAR) to
    // the same window. Answers whether it posted. The pump does this for every key-down nobody pre-translated;
    // a window that handles keys in preTranslateMessage may call it itself and then dispatch().
    bool translateMessage(const Message& m);
    // DispatchMessage: sends the message to its window.
    std::intptr_t dispatch(Message& m);
    // The queued message being handled (GetCurrentMessage); its point is GetMessagePos, its time GetMessageTime.
    const Message& currentMessage() const;

    // Modal loops (a dialog's DoModal) pump until keepRunning answers false. When nothing is left to do, they
    // call the idle handlers (a scripted user, a test's robot steps) in the order added until one answers that
    // it acted; when none acts, the loop ends as Stalled.
    ModalEnd runModalLoop(const std::function<bool()>& keepRunning);
    int addIdleHandler(std::function<bool()> handler);  // answers a token for removeIdleHandler
    void removeIdleHandler(int token);
    // Runs the idle handlers once (as a modal loop does when idle); answers whether one acted.
    bool runIdleHandlers();

    // Message spies see every message delivered, sent or queued, before the window does.
    int addMessageSpy(std::function<void(const Message&, Delivery)> spy);
    void removeMessageSpy(int token);

    // [SECTION] Clock and timers
    // GetTickCount: milliseconds of the virtual clock (starts at 0).
    std::uint32_t tickCount() const;
    // Moves the clock forward, stopping at every timer that falls due to deliver its WM_TIMER and whatever it
    // causes; then pumps. A 25 ms timer fires four times in advance(100).
    void advance(unsigned milliseconds);

    // [SECTION] Focus and capture
    Window* focus() const;
    // SetFocus: WM_KILLFOCUS to the window losing the focus, then WM_SETFOCUS to the new one. A SetFocus made
    // while WM_KILLFOCUS is handled wins: the first target then gets neither message. nullptr removes the focus.
    // Refused (answers nullptr, no change) for a window that does not exist or is disabled. Answers the window
    // that had the focus.
    Window* setFocus(Window* w);
    // The top-level window that holds the focus.
    Window* activeWindow() const;
    Window* capture() const;
    // SetCapture: mouse input goes to `w` in its client coordinates until released; the window losing the
    // capture gets WM_CAPTURECHANGED. Answers the window that had it.
    Window* setCapture(Window* w);
    bool releaseCapture();

    // [SECTION] Keyboard and mouse state
    // GetKeyState: bit 15 (a negative value) when down, bit 0 when toggled. Input from the queue updates it as
    // each key or button message is taken, so a handler sees the state of its own message.
    std::int16_t keyState(unsigned vk) const;
    bool isKeyDown(unsigned vk) const { return keyState(vk) < 0; }
    void setKeyDown(unsigned vk, bool down);
    // MK_* flags of the buttons and of Shift and Ctrl now.
    unsigned mouseKeyFlags() const;
    Point cursorPos() const;
    // Queue raw input (the robot's calls end here).
    void queueMouse(MouseAction action, Point screen, int wheelDelta = 0);
    void queueKey(unsigned vk, bool down, char32_t packet = 0);
    // Keyboard hooks see every key taken from the input queue (virtual key, pressed or released) before any
    // window does, newest last; one that answers true has handled the key, which then goes no further. A command
    // that runs without a dialog (the cut simulation) reads its keys this way.
    int addKeyHook(std::function<bool(unsigned vk, bool down)> hook);  // answers a token for removeKeyHook
    void removeKeyHook(int token);

    // [SECTION] Cursors
    // SetCursor: answers the previous cursor id. While a wait cursor is shown, cursor() answers IDC_WAIT.
    int setCursor(int cursorId);
    int cursor() const;
    void beginWaitCursor();
    void endWaitCursor();
    bool isWaitCursorShown() const;
    // How many wait cursors were begun since the desktop started (tests assert that one was shown).
    int waitCursorCount() const;

    // [SECTION] System tables
    ColorRef sysColor(int index) const { return system().color(index); }
    int systemMetric(int index) const { return system().metric(index); }
    // GetSysColorBrush: a brush of the colour now; the pointer stays valid while the desktop lives.
    const Brush* sysColorBrush(int index);
    // Sends WM_SYSCOLORCHANGE to every window (top-level windows and their children) and invalidates them.
    void broadcastSysColorChange();

    // [SECTION] Painting and pictures
    // With a raster, every drawing call is also drawn into the pixels of its window (and memory bitmaps keep
    // pixels), for pixel probes and PNG pictures. Off by default; turning it on invalidates every window.
    void setRasterEnabled(bool enabled);
    bool rasterEnabled() const;
    // How text is measured and placed everywhere on this desktop. Metric by default.
    void setTextMeasurer(TextMeasurer measurer);
    TextMeasurer textMeasurer() const;
    // Every invalidation asked since the log was last cleared.
    const std::vector<Invalidation>& invalidations() const;
    void clearInvalidations();
    // Clears the display list of every window.
    void clearDisplayLists();
    // The screen as composed now: top-level windows bottom to top, each with its frame, caption, scroll bars and
    // children. Needs the raster for window contents; frames are drawn from state. For people to look at.
    Image snapshot() const;
    // One window with its children and the visible popups it owns, cropped to its window rectangle.
    Image snapshot(const Window& w) const;
    bool saveSnapshot(const Window* w, const std::filesystem::path& png, std::string* error) const;

    // [SECTION] Drop targets
    bool registerDropTarget(Window& w, DropTarget& target);
    bool revokeDropTarget(Window& w);
    // The target registered for a window or its nearest ancestor that has one; nullptr when none.
    DropTarget* dropTargetFor(Window* w, Window** registered = nullptr) const;

    // [SECTION] Observers of delivered input, for tool tips: called with every mouse message before its window.
    int addInputObserver(std::function<void(const Message&)> observer);
    void removeInputObserver(int token);

private:
    friend class Window;
    friend class DC;
    friend class PaintDC;
    std::unique_ptr<detail::DesktopImpl> impl_;
    Desktop* previous_ = nullptr;
};

// The current desktop; stops the process with a clear message when there is none.
Desktop& currentDesktop();

// Shows the wait cursor while it lives (BeginWaitCursor / EndWaitCursor).
class WaitCursor {
public:
    explicit WaitCursor(Desktop& desktop = currentDesktop());
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    Desktop& desktop_;
};

}  // namespace host::ui
