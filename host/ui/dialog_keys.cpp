// Keyboard navigation in dialogs: tab stops, groups, the default button, Esc and mnemonics.
#include "host/ui/dialog_keys.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <vector>

#include "host/ui/desktop.h"
#include "host/ui/text_layout.h"
#include "host/ui/window.h"

namespace host::ui {

namespace {

bool navigable(const Window* w) { return w && w->isVisible() && w->isEnabled(); }

bool isContainer(const Window* w) {
    return (w->exStyle() & WS_EX_CONTROLPARENT) != 0 || (w->style() & DS_CONTROL) != 0;
}

// The dialog's controls in tab order, entering nested dialogs (property pages) that are containers.
std::vector<Window*> controlsInOrder(Window& dialog) {
    std::vector<Window*> out;
    std::function<void(Window&)> walk = [&](Window& parent) {
        for (Window* c : parent.children()) {
            if (isContainer(c)) {
                if (c->isVisible()) walk(*c);
            } else {
                out.push_back(c);
            }
        }
    };
    walk(dialog);
    return out;
}

unsigned dialogCode(Window* control, const Message& m) {
    if (!control) return 0;
    return static_cast<unsigned>(control->send(WM_GETDLGCODE, m.w, lParamFromPointer(&m)));
}

void sendCommand(Window& dialog, int id, Window* control) {
    dialog.send(WM_COMMAND, makeWParam(id, BN_CLICKED), lParamFromPointer(control));
}

// The control the focus is in, as the dialog sees it: the focus window or its ancestor that is a direct
// control of the dialog (a combo's edit child stands for its combo).
Window* focusedControl(Window& dialog) {
    Window* f = dialog.desktop().focus();
    if (!f || !f->isDescendantOf(dialog)) return nullptr;
    return f;
}

char32_t mnemonicOf(const std::string& text) {
    int at = -1;
    const std::string shown = stripPrefix(text, &at);
    if (at < 0 || static_cast<std::size_t>(at) >= shown.size()) return 0;
    return static_cast<char32_t>(std::tolower(static_cast<unsigned char>(shown[static_cast<std::size_t>(at)])));
}

bool isButtonClass(const Window* w) {
    std::string n = w->className();
    std::transform(n.begin(), n.end(), n.begin(), [](unsigned char c) { return std::tolower(c); });
    return n == "button";
}

void focusControl(Window* control) {
    if (!control) return;
    control->setFocus();
    const Message probe{control, WM_KEYDOWN, VK_TAB, 0, {}, 0};
    if (control->exists() && (dialogCode(control, probe) & DLGC_HASSETSEL)) control->send(EM_SETSEL, 0, -1);
}

}  // namespace

Window* nextTabStop(Window& dialog, Window* from, bool backwards) {
    std::vector<Window*> all = controlsInOrder(dialog);
    if (all.empty()) return nullptr;
    // `from` may be inside a control (a combo's edit): find the control that holds it.
    auto holdsFrom = [&](Window* c) { return c == from || (from && from->isDescendantOf(*c)); };
    auto index = std::find_if(all.begin(), all.end(), holdsFrom);
    const int n = static_cast<int>(all.size());
    int start = index == all.end() ? (backwards ? n : -1) : static_cast<int>(index - all.begin());
    for (int step = 1; step <= n; ++step) {
        const int i = ((start + (backwards ? -step : step)) % n + n) % n;
        Window* c = all[static_cast<std::size_t>(i)];
        if ((c->style() & WS_TABSTOP) && navigable(c)) return c;
    }
    return nullptr;
}

Window* nextGroupItem(Window& dialog, Window* from, bool backwards) {
    std::vector<Window*> all = controlsInOrder(dialog);
    auto holdsFrom = [&](Window* c) { return c == from || (from && from->isDescendantOf(*c)); };
    auto index = std::find_if(all.begin(), all.end(), holdsFrom);
    if (index == all.end()) return nullptr;
    // The group: from the nearest WS_GROUP control at or before `from` to the control before the next one.
    int first = static_cast<int>(index - all.begin());
    while (first > 0 && !(all[static_cast<std::size_t>(first)]->style() & WS_GROUP)) --first;
    int last = static_cast<int>(index - all.begin());
    while (last + 1 < static_cast<int>(all.size()) && !(all[static_cast<std::size_t>(last + 1)]->style() & WS_GROUP))
        ++last;
    const int size = last - first + 1;
    const int at = static_cast<int>(index - all.begin()) - first;
    for (int step = 1; step < size; ++step) {
        const int i = first + ((at + (backwards ? -step : step)) % size + size) % size;
        Window* c = all[static_cast<std::size_t>(i)];
        if (navigable(c)) return c;
    }
    return nullptr;
}

int defaultButtonId(Window& dialog) {
    const std::intptr_t answer = dialog.send(DM_GETDEFID);
    if (static_cast<unsigned>(hiWord(answer)) == DC_HASDEFID) return loWord(answer);
    return IDOK;
}

bool routeDialogKey(Window& dialog, const Message& m) {
    const bool keyDown = m.id == WM_KEYDOWN || m.id == WM_SYSKEYDOWN;
    const bool character = m.id == WM_CHAR || m.id == WM_SYSCHAR;
    if (!keyDown && !character) return false;
    if (!m.window || (m.window != &dialog && !m.window->isDescendantOf(dialog))) return false;
    Desktop& desktop = dialog.desktop();
    Window* focused = focusedControl(dialog);
    const unsigned code = dialogCode(focused ? focused : m.window, m);
    if (code & DLGC_WANTMESSAGE) return false;

    if (m.id == WM_KEYDOWN) {
        switch (m.w) {
        case VK_TAB: {
            if (code & DLGC_WANTTAB) return false;
            focusControl(nextTabStop(dialog, focused, desktop.isKeyDown(VK_SHIFT)));
            return true;
        }
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN: {
            if (code & DLGC_WANTARROWS) return false;
            Window* next = nextGroupItem(dialog, focused, m.w == VK_LEFT || m.w == VK_UP);
            if (!next) return true;
            next->setFocus();
            const Message probe{next, WM_KEYDOWN, m.w, 0, {}, 0};
            if (next->exists() && (dialogCode(next, probe) & DLGC_RADIOBUTTON) &&
                ((next->style() & BS_TYPEMASK) == BS_AUTORADIOBUTTON))
                next->send(BM_CLICK);
            return true;
        }
        case VK_RETURN: {
            const unsigned focusedCode = focused ? dialogCode(focused, m) : 0;
            if (focused && (focusedCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) && focused->isEnabled()) {
                sendCommand(dialog, focused->id(), focused);
                return true;
            }
            const int id = defaultButtonId(dialog);
            Window* button = dialog.child(id);
            if (button && !button->isEnabled()) return true;
            sendCommand(dialog, id, button);
            return true;
        }
        case VK_ESCAPE:
            sendCommand(dialog, IDCANCEL, dialog.child(IDCANCEL));
            return true;
        default: return false;
        }
    }
    if (m.id == WM_CHAR) {
        // The characters of the keys the dialog has used.
        if (m.w == 9 && !(code & DLGC_WANTTAB)) return true;
        if ((m.w == 13 || m.w == 27) && !(code & DLGC_WANTCHARS)) return true;
        return false;
    }
    if (m.id == WM_SYSCHAR) {
        const char32_t wanted = static_cast<char32_t>(std::tolower(static_cast<int>(m.w & 0x7F)));
        std::vector<Window*> all = controlsInOrder(dialog);
        for (std::size_t i = 0; i < all.size(); ++i) {
            Window* c = all[i];
            if (!navigable(c) || mnemonicOf(c->text()) != wanted) continue;
            if (isButtonClass(c) && (c->style() & BS_TYPEMASK) != BS_GROUPBOX) {
                c->setFocus();
                if (c->exists()) c->send(BM_CLICK);
            } else {
                focusControl(nextTabStop(dialog, c, false));
            }
            return true;
        }
        return false;
    }
    return false;
}

}  // namespace host::ui
