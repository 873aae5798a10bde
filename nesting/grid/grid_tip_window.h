// The title tip of the grid: a small bordered popup that shows the whole text of a cell that is cut off, and
// passes every mouse action and key on to the window beneath it.
//
// While the tip shows it holds the mouse capture, so all mouse input comes to it:
//   move inside the hover rectangle     nothing
//   move outside it                     the tip hides; the window under the pointer gets WM_MOUSEMOVE (client
//                                       point, the move's key flags), or WM_NCMOUSEMOVE off its client area
//   left, right or middle press         the tip hides; the window under the pointer gets the same press (a second
//                                       left press within the double-click time: WM_LBUTTONDBLCLK), or its
//                                       non-client form with the hit-test code
//   a key (WM_KEYDOWN, WM_SYSKEYDOWN)   the tip hides; the key reaches the window that has the focus unchanged
//   anything while no window has the    the tip hides and the message is swallowed
//   keyboard focus
//   another window takes the capture     the tip hides
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/ui/font.h"
#include "host/ui/geometry.h"
#include "host/ui/window.h"

// The window class of the tip popup.
inline constexpr std::string_view kTitleTipClass = "ZTitleTip";

class CGridTipWindow : public host::ui::Window {
public:
    // Registers the "ZTitleTip" class with the current desktop when it is not known yet (CS_SAVEBITS, arrow
    // cursor, the info-tip background). The popup itself is made by the first ShowTip.
    CGridTipWindow();
    ~CGridTipWindow() override;

    // The window the tip belongs to (the grid); not owned. ShowTip converts its rectangles from this window's
    // client coordinates and measures in its font when no font is given.
    void SetParentWindow(host::ui::Window* parent) { parent_ = parent; }
    host::ui::Window* ParentWindow() const { return parent_; }

    // Makes the hidden popup (WS_POPUP | WS_BORDER, topmost tool window, no owner) and remembers `parent`.
    // True when the popup exists already or was made.
    virtual bool CreateTip(host::ui::Window* parent);

    // Shows `text` over `titleRect` (the parent's client coordinates, edges included as the grid's cell
    // rectangles are) when " text " does not fit between titleRect.left + xOffset and titleRect.right - xOffset
    // in the font `font` (the parent's font when null). The tip stays while the pointer is inside `hoverRect`
    // (titleRect when null). Colours of CLR_DEFAULT leave the class background and the default text colour.
    // Nothing shows while no window has the keyboard focus, for an empty rectangle, or while a tip is up.
    void ShowTip(const host::ui::Rect& titleRect, std::string_view text, int xOffset,
                 const host::ui::Rect* hoverRect, const host::ui::LogFont* font, host::ui::ColorRef textColour,
                 host::ui::ColorRef backColour);

    // Hides the popup and gives up the mouse capture when the tip holds it.
    void HideTip();

    // Ends the popup; the next ShowTip makes it again. False when there was none.
    bool DestroyWindow();

    // [SECTION] What the tip shows, for tests and for its own painting
    bool IsTipShown() const { return exists() && (style() & host::ui::WS_VISIBLE) != 0; }
    const std::string& TipText() const { return tipText_; }
    // The hover rectangle in the tip's own client coordinates, right and bottom edges outside it.
    const host::ui::Rect& HoverRect() const { return hoverRect_; }

    bool preTranslateMessage(host::ui::Message& m) override;
    std::intptr_t windowProc(host::ui::Message& m) override;

private:
    // The window a pointer at `screen` acts on once the tip is out of the way, or nullptr.
    host::ui::Window* WindowBeneath(host::ui::Point screen) const;
    // Passes a press on the tip to the window beneath; false when there is none.
    bool ForwardPress(const host::ui::Message& m);
    void ForwardMove(const host::ui::Message& m);
    void DrawTip(host::ui::DC& dc) const;
    void WatchKeys();
    void StopWatchingKeys();

    host::ui::Window* parent_ = nullptr;
    host::ui::Rect hoverRect_{};
    std::uint32_t lastLeftPress_ = 0xFFFFFFFF;
    unsigned doubleClickTime_ = 500;
    bool created_ = false;

    // What the last ShowTip put up, kept so that a repaint shows it again.
    std::string tipText_;
    host::ui::Font tipFont_;
    host::ui::ColorRef textColour_ = host::ui::CLR_DEFAULT;
    host::ui::ColorRef backColour_ = host::ui::CLR_DEFAULT;
    int keySpy_ = 0;
};
