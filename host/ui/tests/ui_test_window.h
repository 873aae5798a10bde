// Test windows for the window layer's tests: a window that logs what it receives and can be told how to answer.
#pragma once

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/ui/desktop.h"
#include "host/ui/window.h"

namespace host::ui::testing {

// Where the picture tests write their PNG files for a person to look at: `name` in the build's picture folder.
inline std::filesystem::path scratch(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(KESTRION_BINARY_DIR) / "ui-test-pictures";
    std::filesystem::create_directories(dir);
    return dir / name;
}

// Logs every message it handles (id, wParam, lParam) and answers from `answers` when one is set for the id;
// `onMessage` runs first and may answer by returning true.
class LoggingWindow : public Window {
public:
    struct Entry {
        unsigned id;
        std::uintptr_t w;
        std::intptr_t l;
    };

    std::intptr_t windowProc(Message& m) override {
        log.push_back({m.id, m.w, m.l});
        std::intptr_t result = 0;
        if (onMessage && onMessage(m, result)) return result;
        if (auto it = answers.find(m.id); it != answers.end()) return it->second;
        return Window::windowProc(m);
    }

    bool preTranslateMessage(Message& m) override {
        preTranslated.push_back(m.id);
        return swallow && swallow(m);
    }

    std::vector<unsigned> ids() const {
        std::vector<unsigned> out;
        for (const auto& e : log) out.push_back(e.id);
        return out;
    }
    // The ids received, leaving out the ones in `ignored`.
    std::vector<unsigned> idsWithout(std::initializer_list<unsigned> ignored) const {
        std::vector<unsigned> out;
        for (const auto& e : log)
            if (std::find(ignored.begin(), ignored.end(), e.id) == ignored.end()) out.push_back(e.id);
        return out;
    }
    int count(unsigned id) const {
        int n = 0;
        for (const auto& e : log) n += e.id == id;
        return n;
    }
    const Entry* last(unsigned id) const {
        for (auto it = log.rbegin(); it != log.rend(); ++it)
            if (it->id == id) return &*it;
        return nullptr;
    }

    std::vector<Entry> log;
    std::vector<unsigned> preTranslated;
    std::map<unsigned, std::intptr_t> answers;
    std::function<bool(Message&, std::intptr_t&)> onMessage;
    std::function<bool(Message&)> swallow;
};

// The messages of mouse bookkeeping that most sequence tests leave out.
inline constexpr std::initializer_list<unsigned> kHitTesting = {WM_NCHITTEST, WM_SETCURSOR};

// A top-level popup at a screen rectangle, visible, with a plain class.
inline bool createPopup(Window& w, const Rect& r, std::uint32_t extraStyle = 0,
                        std::string_view cls = kPlainWindowClass) {
    return w.create(cls, "", WS_POPUP | WS_VISIBLE | extraStyle, r, nullptr);
}

inline bool createChild(Window& w, Window& parent, const Rect& r, int id = 0, std::uint32_t extraStyle = 0,
                        std::string_view cls = kPlainWindowClass) {
    return w.create(cls, "", WS_CHILD | WS_VISIBLE | extraStyle, r, &parent, id);
}

}  // namespace host::ui::testing
