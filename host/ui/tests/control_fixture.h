// The fixture of the control tests: a desktop, a dialog-like popup that owns the controls and logs what they
// tell it, a robot, and helpers to read the notifications and the recorded drawing.
//
// Text is measured with the metric font: the default 12-pixel font advances every character 6 pixels and its
// lines are 12 pixels high, so positions in these tests can be worked out by hand.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "host/ui/desktop.h"
#include "host/ui/message_log.h"
#include "host/ui/robot.h"
#include "host/ui/tests/ui_test_window.h"

namespace host::ui::testing {

inline constexpr int kCharWidth = 6;
inline constexpr int kLineHeight = 12;

// The owner of the controls: logs what it receives (with the code of each WM_NOTIFY, read while the record
// lives) and lets a test answer a message by setting `onMessage`.
class NotifyLoggingWindow : public Window {
public:
    struct Entry {
        unsigned id;
        std::uintptr_t w;
        std::intptr_t l;
        int notifyCode;
    };

    std::intptr_t windowProc(Message& m) override {
        int code = 0;
        if (m.id == WM_NOTIFY)
            if (const auto* header = pointerFromParam<const NotifyHeader>(m.l)) code = header->code;
        log.push_back({m.id, m.w, m.l, code});
        std::intptr_t result = 0;
        if (onMessage && onMessage(m, result)) return result;
        return Window::windowProc(m);
    }

    std::vector<Entry> log;
    std::function<bool(Message&, std::intptr_t&)> onMessage;
};

class ControlTest : public ::testing::Test {
protected:
    ControlTest() {
        owner.create(kPlainWindowClass, "Owner", WS_POPUP | WS_VISIBLE, Rect{100, 100, 500, 400}, nullptr);
    }

    // A visible child control of the owner.
    template <class T>
    bool make(T& control, std::string_view className, std::string_view text, std::uint32_t style, const Rect& r,
              int id) {
        return control.create(className, text, WS_CHILD | WS_VISIBLE | style, r, &owner, id);
    }

    // WM_COMMAND notification codes the owner received from control `id`, in order.
    std::vector<int> commands(int id) const {
        std::vector<int> out;
        for (const auto& e : owner.log)
            if (e.id == WM_COMMAND && loWord(e.w) == id) out.push_back(hiWord(e.w));
        return out;
    }
    // WM_NOTIFY codes the owner received from control `id`, in order.
    std::vector<int> notifications(int id) const {
        std::vector<int> out;
        for (const auto& e : owner.log)
            if (e.id == WM_NOTIFY && static_cast<int>(e.w) == id) out.push_back(e.notifyCode);
        return out;
    }
    // The scroll messages (WM_HSCROLL or WM_VSCROLL) the owner received: (code, position) pairs.
    std::vector<std::pair<int, int>> scrolls(unsigned message) const {
        std::vector<std::pair<int, int>> out;
        for (const auto& e : owner.log)
            if (e.id == message) out.emplace_back(loWord(e.w), static_cast<std::int16_t>(hiWord(e.w)));
        return out;
    }
    void clearLog() { owner.log.clear(); }

    // The shown text of every text record of a window's display list, in order.
    static std::vector<std::string> drawnTexts(const Window& w) {
        std::vector<std::string> out;
        for (const DrawRecord* r : w.displayList().ofKind(DrawOp::Text)) out.push_back(r->shownText());
        return out;
    }
    // Pumps so pending paints happen, after clearing the display list so only the new paint is seen.
    void repaint(Window& w) {
        w.clearDisplayList();
        w.invalidate();
        desktop.pumpUntilIdle();
    }

    Desktop desktop;
    NotifyLoggingWindow owner;
    Robot robot{desktop};
};

}  // namespace host::ui::testing
