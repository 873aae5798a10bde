// Notifications, owner colours, fonts and character text shared by the controls.
#include "host/ui/control_support.h"

#include <algorithm>
#include <vector>

#include "host/sys/encoding.h"
#include "host/sys/text_case.h"
#include "host/ui/desktop.h"

namespace host::ui {

namespace {

// The windows whose notifications are suppressed, once per live guard. The layer is single-threaded.
std::vector<const Window*>& suppressedReceivers() {
    static std::vector<const Window*> receivers;
    return receivers;
}

}  // namespace

bool notificationsSuppressed(const Window* receiver) {
    const auto& list = suppressedReceivers();
    return receiver && std::find(list.begin(), list.end(), receiver) != list.end();
}

NotificationSuppressor::NotificationSuppressor(const Window& receiver) : receiver_(&receiver) {
    suppressedReceivers().push_back(receiver_);
}

NotificationSuppressor::~NotificationSuppressor() {
    auto& list = suppressedReceivers();
    auto it = std::find(list.begin(), list.end(), receiver_);
    if (it != list.end()) list.erase(it);
}

std::intptr_t notifyCommand(Window& control, int code) {
    Window* receiver = control.ownerOrParent();
    if (!receiver || !control.exists() || notificationsSuppressed(receiver)) return 0;
    return receiver->send(WM_COMMAND, makeWParam(control.id(), code), lParamFromPointer(&control));
}

std::intptr_t notifyOwner(Window& control, NotifyHeader& header, int code) {
    header.from = &control;
    header.id = control.id();
    header.code = code;
    Window* receiver = control.ownerOrParent();
    if (!receiver || !control.exists() || notificationsSuppressed(receiver)) return 0;
    return receiver->send(WM_NOTIFY, static_cast<std::uintptr_t>(control.id()), lParamFromPointer(&header));
}

Brush controlBrush(Window& control, DC& dc, unsigned ctlColorMessage, int fallbackColor) {
    if (Window* receiver = control.ownerOrParent()) {
        const std::intptr_t answer =
            receiver->send(ctlColorMessage, wParamFromPointer(&dc), lParamFromPointer(&control));
        if (const Brush* brush = pointerFromParam<const Brush>(answer)) return *brush;
    }
    const Brush* brush = control.desktop().sysColorBrush(fallbackColor);
    return brush ? *brush : Brush::solid(control.desktop().sysColor(fallbackColor));
}

LogFont controlFont(const Window& control) {
    const Font font = control.font();
    return font.isNull() ? control.desktop().system().messageFont() : font.logFont();
}

int controlLineHeight(const Window& control) {
    return measureMetrics(control.desktop().textMeasurer(), controlFont(control)).height;
}

int controlTextWidth(const Window& control, std::string_view utf8) {
    if (utf8.empty()) return 0;
    return measureText(control.desktop().textMeasurer(), controlFont(control), utf8).width;
}

int controlCharWidth(const Window& control, char32_t c) {
    return characterAdvance(control.desktop().textMeasurer(), controlFont(control), c);
}

std::u32string toCharacters(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) out.push_back(host::sys::decodeUtf8At(utf8, pos));
    return out;
}

std::string toUtf8(std::u32string_view characters) {
    std::string out;
    out.reserve(characters.size());
    for (char32_t c : characters) host::sys::appendUtf8(out, c);
    return out;
}

bool startsWithNoCase(std::string_view item, std::string_view prefix) {
    const std::u32string a = toCharacters(item);
    const std::u32string b = toCharacters(prefix);
    if (b.size() > a.size()) return false;
    for (std::size_t i = 0; i < b.size(); ++i)
        if (host::sys::upperCaseCharacter(a[i]) != host::sys::upperCaseCharacter(b[i])) return false;
    return true;
}

}  // namespace host::ui
