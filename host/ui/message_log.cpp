// The message log of tests.
#include "host/ui/message_log.h"

#include <algorithm>

namespace host::ui {

MessageLog::MessageLog(Desktop& desktop, std::initializer_list<unsigned> only) : desktop_(desktop), only_(only) {
    token_ = desktop_.addMessageSpy([this](const Message& m, Delivery d) {
        if (!only_.empty() && std::find(only_.begin(), only_.end(), m.id) == only_.end()) return;
        if (watched_ && m.window != watched_) {
            if (!withChildren_ || !m.window || !desktop_.isWindow(watched_) || !m.window->isDescendantOf(*watched_))
                return;
        }
        int code = 0;
        if (m.id == WM_NOTIFY && m.l != 0) code = pointerFromParam<const NotifyHeader>(m.l)->code;
        entries_.push_back({m.window, m.id, m.w, m.l, d, code});
    });
}

MessageLog::~MessageLog() { desktop_.removeMessageSpy(token_); }

void MessageLog::watchOnly(const Window* w, bool withChildren) {
    watched_ = w;
    withChildren_ = withChildren;
}

std::vector<unsigned> MessageLog::ids(const Window* w) const {
    std::vector<unsigned> out;
    for (const auto& e : entries_)
        if (!w || e.window == w) out.push_back(e.id);
    return out;
}

std::string MessageLog::names(const Window* w) const {
    std::string out;
    for (unsigned id : ids(w)) {
        if (!out.empty()) out.push_back(' ');
        out += messageName(id);
    }
    return out;
}

int MessageLog::count(unsigned id, const Window* w) const {
    int n = 0;
    for (const auto& e : entries_)
        if (e.id == id && (!w || e.window == w)) ++n;
    return n;
}

std::vector<int> MessageLog::commandCodes(const Window* w) const {
    std::vector<int> out;
    for (const auto& e : entries_)
        if (e.id == WM_COMMAND && (!w || e.window == w)) out.push_back(hiWord(e.w));
    return out;
}

std::vector<int> MessageLog::notifyCodes(const Window* w) const {
    std::vector<int> out;
    for (const auto& e : entries_)
        if (e.id == WM_NOTIFY && (!w || e.window == w)) out.push_back(e.notifyCode);
    return out;
}

}  // namespace host::ui
