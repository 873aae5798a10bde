// Inside the window layer: the state kept per window and per desktop. Only host/ui's own files include this.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "host/ui/clipboard.h"
#include "host/ui/dc.h"
#include "host/ui/desktop.h"
#include "host/ui/font.h"
#include "host/ui/image.h"
#include "host/ui/system_tables.h"
#include "host/ui/window.h"
#include "host/ui/window_class.h"

namespace host::ui::detail {

struct ScrollBarState {
    ScrollInfo info{SIF_ALL, 0, 100, 0, 0, 0};  // a standard bar's range starts as 0..100
    unsigned disabledArrows = ESB_ENABLE_BOTH;
};

struct WindowNode {
    Window* object = nullptr;
    Desktop* desktop = nullptr;
    std::uint64_t serial = 0;  // unique per desktop, never reused: tells a window from a later one at the same address
    WindowClass windowClass;
    std::string text;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    int id = 0;
    Rect rect{};  // window rectangle in the parent's client coordinates (screen coordinates when top-level)
    WindowNode* parent = nullptr;
    WindowNode* owner = nullptr;
    std::vector<WindowNode*> children;  // z-order, top first
    Font font;
    std::array<ScrollBarState, 2> bars{};
    std::vector<Rect> updateRects;
    bool erasePending = false;
    int paintsBegun = 0;  // PaintDCs made, so a WM_PAINT handler that never painted can be validated
    DisplayList displayList;
    std::optional<Image> raster;
    bool ownedByDesktop = false;
    bool destroying = false;
    bool objectDying = false;  // the object's destructor is running: do not delete it again

    bool isChild() const { return (style & WS_CHILD) != 0 && parent != nullptr; }
};

struct Timer {
    WindowNode* node = nullptr;
    std::uintptr_t id = 0;
    unsigned interval = 0;
    std::uint64_t due = 0;
    bool pending = false;
};

struct RawInput {
    bool isKey = false;
    MouseAction action = MouseAction::Move;
    Point point{};
    int wheel = 0;
    unsigned vk = 0;
    bool down = false;
    char32_t packet = 0;
};

struct QueuedMessage {
    Message message;
    std::uint64_t serial = 0;  // the target window's serial when posted
};

struct LastPress {
    std::uint64_t serial = 0;
    unsigned button = 0;  // the WM_*BUTTONDOWN id
    bool nonClient = false;
    std::uint64_t time = 0;
    Point point{};
    bool valid = false;
};

template <class F>
struct Registered {
    int token = 0;
    F function;
};

struct DesktopImpl {
    Desktop* self = nullptr;
    WindowClassRegistry classes;
    SystemTables system;
    Clipboard clipboard;
    Size screen{1280, 1024};

    std::unordered_map<WindowNode*, std::unique_ptr<WindowNode>> nodes;
    std::vector<WindowNode*> topLevels;  // z-order, top first
    std::unordered_set<const Window*> liveObjects;
    std::uint64_t nextSerial = 1;

    std::deque<QueuedMessage> posted;
    std::deque<RawInput> input;
    std::vector<Timer> timers;
    std::uint64_t now = 0;
    Message current{};

    WindowNode* focus = nullptr;
    WindowNode* announcedFocus = nullptr;  // the window that got WM_SETFOCUS and no WM_KILLFOCUS since
    WindowNode* lastFocusLoser = nullptr;
    WindowNode* capture = nullptr;
    std::array<std::uint8_t, 256> keys{};
    Point cursorPos{};
    int cursorId = IDC_ARROW;
    int waitDepth = 0;
    int waitCount = 0;
    LastPress lastPress;

    int nextToken = 1;
    std::vector<Registered<std::function<bool()>>> idleHandlers;
    std::vector<Registered<std::function<void(const Message&, Delivery)>>> spies;
    std::vector<Registered<std::function<void(const Message&)>>> inputObservers;
    std::vector<Registered<std::function<bool(unsigned, bool)>>> keyHooks;

    bool raster = false;
    TextMeasurer measurer = TextMeasurer::Metric;
    std::vector<Invalidation> invalidations;
    std::map<WindowNode*, DropTarget*> dropTargets;
    std::array<Brush, kSysColorCount> sysBrushes{};
    int sendDepth = 0;
    int paintSerial = 0;

    // [SECTION] Tree
    WindowNode* nodeOf(const Window* w) const;
    std::vector<WindowNode*>& listOf(WindowNode* n);
    void detach(WindowNode* n);
    void attachTopLevel(WindowNode* n, bool atTop);
    bool isVisible(const WindowNode* n) const;
    bool isEnabled(const WindowNode* n) const;
    bool isInSubtree(const WindowNode* n, const WindowNode* root) const;
    WindowNode* topLevelOf(WindowNode* n) const;

    // [SECTION] Geometry
    Rect frameInsets(const WindowNode* n) const;  // frame, caption and edges, without the scroll bars
    Rect insets(const WindowNode* n) const;       // with the visible scroll bars
    Size clientSize(const WindowNode* n) const;
    Point clientOriginOnScreen(const WindowNode* n) const;
    Point windowOriginOnScreen(const WindowNode* n) const;
    // Scroll bar rectangles in window coordinates (empty when hidden).
    Rect barRect(const WindowNode* n, int bar) const;
    Rect captionRect(const WindowNode* n) const;
    Rect closeBoxRect(const WindowNode* n) const;
    int hitTest(const WindowNode* n, Point screen) const;
    // Sends WM_SIZE when the client size differs from `before`, and invalidates the window.
    void clientSizeChanged(WindowNode* n, Size before);

    // [SECTION] Messages
    std::intptr_t send(WindowNode* n, unsigned id, std::uintptr_t w, std::intptr_t l);
    void dispatchQueued(Message m);
    void notifySpies(const Message& m, Delivery d);

    // [SECTION] Life
    void destroy(WindowNode* n);

    // [SECTION] Input
    void processInput(const RawInput& in);
    void processMouse(const RawInput& in);
    void processKey(const RawInput& in);
    std::vector<WindowNode*> windowsAt(Point screen) const;

    // [SECTION] Painting
    void invalidate(WindowNode* n, const Rect& clientRect, bool erase);
    void validate(WindowNode* n);
    Rect updateBox(const WindowNode* n) const;
    WindowNode* findWindowToPaint() const;
    void paintNow(WindowNode* n, bool queued);
    Image& rasterOf(WindowNode* n);

    // [SECTION] Timers
    Timer* findTimer(WindowNode* n, std::uintptr_t id);
    void removeTimers(WindowNode* n);
    Timer* pendingTimer();
};

// The character a key-down types with the key state as it is ("a", "A" with Shift, 1 for Ctrl+A, 13 for Enter,
// the packet's character for VK_PACKET), 0 when the key types nothing.
char32_t characterForKey(unsigned vk, const std::array<std::uint8_t, 256>& keys, char32_t packet);

// The characters of UTF-8 text (malformed bytes become U+FFFD).
std::vector<char32_t> decodeUtf8(std::string_view s);

}  // namespace host::ui::detail
