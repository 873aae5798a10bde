// Tool tips: a small popup with a text that shows when the mouse rests over a tool (a window, or a rectangle of
// its client area) for the initial delay, and hides when the mouse leaves, a button is pressed, a key is
// pressed, or the auto-pop time passes. Times run on the desktop's virtual clock.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/ui/window.h"

namespace host::ui {

class ToolTip : public Window {
public:
    ToolTip();
    ~ToolTip() override;

    // Creates the hidden popup (class kToolTipClass, WS_POPUP | WS_BORDER, topmost, owned by `owner`) and starts
    // watching the mouse.
    bool create(Window* owner);
    // A tool: the whole client area of `tool`, or `area` of it (client coordinates). A tool with the same window
    // and id is replaced.
    void addTool(Window& tool, std::string text, int toolId = 0, const Rect* area = nullptr);
    void removeTool(Window& tool, int toolId = 0);
    void updateText(Window& tool, std::string text, int toolId = 0);
    // While inactive no tip shows.
    void activate(bool active);

    bool isShown() const { return exists() && (style() & WS_VISIBLE) != 0; }
    const std::string& shownText() const { return shownText_; }
    // Hides the tip now (TTM_POP).
    void pop();

    std::intptr_t windowProc(Message& m) override;

private:
    struct Tool {
        Window* window = nullptr;
        int id = 0;
        bool wholeClient = true;
        Rect area{};
        std::string text;
    };
    void observe(const Message& m);
    const Tool* toolAt(Point screen) const;
    void showFor(const Tool& tool);

    std::vector<Tool> tools_;
    bool active_ = true;
    int observer_ = 0;
    const Tool* hovered_ = nullptr;
    std::string shownText_;
};

}  // namespace host::ui
