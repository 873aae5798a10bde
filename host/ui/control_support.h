// What every control of the window layer shares: notifications to the owner (and their suppression while a
// dialog exchanges data), the colours the owner picks through WM_CTLCOLOR*, the font in use, and text as
// characters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/ui/dc.h"
#include "host/ui/font.h"
#include "host/ui/message.h"
#include "host/ui/window.h"

namespace host::ui {

// WM_COMMAND(makeWParam(control id, code), control) to the control's owner, else its parent. Answers what the
// receiver answered; 0 when there is no receiver or notifications to it are suppressed.
std::intptr_t notifyCommand(Window& control, int code);

// WM_NOTIFY(control id, &header) to the control's owner, else its parent. The header's `from`, `id` and `code`
// are filled in here. Answers what the receiver answered; 0 when there is none or it is suppressed.
std::intptr_t notifyOwner(Window& control, NotifyHeader& header, int code);

// While a NotificationSuppressor for a window lives, controls send that window no WM_COMMAND and no WM_NOTIFY
// notifications: a dialog exchanging data with its controls holds one, so that writing a value into a control
// does not look like a user's change. Guards nest; the window is not touched (it may end while the guard lives).
class NotificationSuppressor {
public:
    explicit NotificationSuppressor(const Window& receiver);
    ~NotificationSuppressor();
    NotificationSuppressor(const NotificationSuppressor&) = delete;
    NotificationSuppressor& operator=(const NotificationSuppressor&) = delete;

private:
    const Window* receiver_;
};

// Whether notifications to `receiver` are suppressed now.
bool notificationsSuppressed(const Window* receiver);

// Sends WM_CTLCOLOR<kind> (WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC, ...) to the control's owner or parent with `dc`,
// as a control does before it paints: the owner may set the DC's text and background colours and answers the
// brush for the background. Falls back to the desktop's brush of `fallbackColor` (a COLOR_* index) when the
// owner answers none or there is no owner.
Brush controlBrush(Window& control, DC& dc, unsigned ctlColorMessage, int fallbackColor);

// The font the control draws with: its WM_SETFONT font, else the desktop's message font.
LogFont controlFont(const Window& control);
// Height of one line of text in that font, as the desktop measures.
int controlLineHeight(const Window& control);
// Width of `text` in the control's font.
int controlTextWidth(const Window& control, std::string_view utf8);
// Advance of one character in the control's font.
int controlCharWidth(const Window& control, char32_t c);

// UTF-8 text as characters and back. Malformed bytes become U+FFFD.
std::u32string toCharacters(std::string_view utf8);
std::string toUtf8(std::u32string_view characters);

// Whether `item` starts with `prefix`, ignoring the case of ASCII and Cyrillic letters: the prefix searches of
// list and combo boxes.
bool startsWithNoCase(std::string_view item, std::string_view prefix);

}  // namespace host::ui
