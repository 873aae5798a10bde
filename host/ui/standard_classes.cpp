// The window classes every desktop starts with. Each standard control adds one line to the table below, naming
// its class, style, cursor, background and factory.
#include "host/ui/window_class.h"

#include "host/ui/window.h"

namespace host::ui {

void registerStandardClasses(WindowClassRegistry& registry) {
    // A plain window: the arrow cursor and the window colour behind it.
    registry.registerClass({std::string(kPlainWindowClass), CS_DBLCLKS, IDC_ARROW, COLOR_WINDOW,
                            [] { return std::make_unique<Window>(); }, ""});
    // The tool tip popup.
    registry.registerClass({std::string(kToolTipClass), CS_SAVEBITS, IDC_ARROW, COLOR_INFOBK, {}, ""});
}

}  // namespace host::ui
