// Window classes: the registry of class names with their class style, cursor, background and the factory that
// makes a window object for a class name (so a dialog template can name "Edit" or "MFCGridCtrl").
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/ui/constants.h"

namespace host::ui {

class Window;

struct WindowClass {
    std::string name;
    std::uint32_t style = 0;    // CS_*: CS_DBLCLKS makes a second quick press a WM_*BUTTONDBLCLK
    int cursor = IDC_ARROW;     // set by the default WM_SETCURSOR over the client area; 0 leaves the cursor alone
    int backgroundColor = -1;   // the COLOR_* index the default WM_ERASEBKGND fills with; -1 erases nothing
    // Makes the object for Desktop::createWindow(name, ...); empty for classes only created through an object
    // the caller owns (Window::create).
    std::function<std::unique_ptr<Window>()> factory;
    std::string base;           // the class this one is derived from ("" for none), for isDerivedFrom
};

// Names compare without regard to ASCII case, as window class names do.
class WindowClassRegistry {
public:
    // False (and no change) when the name is taken or empty.
    bool registerClass(WindowClass windowClass);
    bool unregisterClass(std::string_view name);
    // GetClassInfo: nullptr when no such class.
    const WindowClass* find(std::string_view name) const;
    // Whether `name` is `base` or derives from it through the `base` links (a bounded walk).
    bool isDerivedFrom(std::string_view name, std::string_view base) const;
    std::vector<std::string> names() const;

private:
    std::vector<WindowClass> classes_;
};

// The classes every desktop knows from its start: the plain "Window" class and the standard controls (Button,
// Edit, Static, ListBox, ComboBox, ...). Each control's file adds its class to the table in standard_classes.cpp.
void registerStandardClasses(WindowClassRegistry& registry);

}  // namespace host::ui
