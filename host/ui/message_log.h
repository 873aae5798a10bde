// A message log for tests: records the messages delivered to windows while it lives, optionally only some ids
// or some windows, so a test can assert on the sequence a click or a key caused.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "host/ui/desktop.h"

namespace host::ui {

struct LoggedMessage {
    Window* window = nullptr;
    unsigned id = 0;
    std::uintptr_t w = 0;
    std::intptr_t l = 0;
    Delivery delivery = Delivery::Sent;
    int notifyCode = 0;  // WM_NOTIFY: the code of its header, read when it was delivered
};

class MessageLog {
public:
    // Logs every message; `only` limits the log to those ids.
    explicit MessageLog(Desktop& desktop = currentDesktop(), std::initializer_list<unsigned> only = {});
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    // Only messages to this window (and, with children, its descendants).
    void watchOnly(const Window* w, bool withChildren = false);

    const std::vector<LoggedMessage>& entries() const { return entries_; }
    void clear() { entries_.clear(); }
    // The ids in order, optionally for one window.
    std::vector<unsigned> ids(const Window* w = nullptr) const;
    // "WM_KEYDOWN WM_CHAR WM_KEYUP": for readable failures.
    std::string names(const Window* w = nullptr) const;
    int count(unsigned id, const Window* w = nullptr) const;
    // WM_COMMAND notification codes (HIWORD of wParam) sent to `w`, in order.
    std::vector<int> commandCodes(const Window* w = nullptr) const;
    // WM_NOTIFY codes received by `w`, in order.
    std::vector<int> notifyCodes(const Window* w = nullptr) const;

private:
    Desktop& desktop_;
    std::vector<unsigned> only_;
    const Window* watched_ = nullptr;
    bool withChildren_ = false;
    int token_ = 0;
    std::vector<LoggedMessage> entries_;
};

}  // namespace host::ui
