// The window classes every desktop starts with. Each standard control adds one line to the table below, naming
// its class, style, cursor, background and factory.
#include "host/ui/window_class.h"

#include "host/ui/button.h"
#include "host/ui/colour_combo.h"
#include "host/ui/combo_box.h"
#include "host/ui/edit.h"
#include "host/ui/list_box.h"
#include "host/ui/slider.h"
#include "host/ui/spin.h"
#include "host/ui/static.h"
#include "host/ui/tab_control.h"
#include "host/ui/window.h"

namespace host::ui {

void registerStandardClasses(WindowClassRegistry& registry) {
    // A plain window: the arrow cursor and the window colour behind it.
    registry.registerClass({std::string(kPlainWindowClass), CS_DBLCLKS, IDC_ARROW, COLOR_WINDOW,
                            [] { return std::make_unique<Window>(); }, ""});
    // The tool tip popup.
    registry.registerClass({std::string(kToolTipClass), CS_SAVEBITS, IDC_ARROW, COLOR_INFOBK, {}, ""});
    // The controls paint their own background with the brush their owner picks (WM_CTLCOLOR*).
    registry.registerClass({std::string(kEditClass), CS_DBLCLKS, IDC_IBEAM, -1,
                            [] { return std::make_unique<Edit>(); }, ""});
    registry.registerClass({std::string(kButtonClass), CS_DBLCLKS, IDC_ARROW, -1,
                            [] { return std::make_unique<Button>(); }, ""});
    registry.registerClass({std::string(kStaticClass), CS_DBLCLKS, IDC_ARROW, -1,
                            [] { return std::make_unique<Static>(); }, ""});
    registry.registerClass({std::string(kTabControlClass), CS_DBLCLKS, IDC_ARROW, -1,
                            [] { return std::make_unique<TabControl>(); }, ""});
    registry.registerClass({std::string(kListBoxClass), CS_DBLCLKS, IDC_ARROW, -1,
                            [] { return std::make_unique<ListBox>(); }, ""});
    registry.registerClass({std::string(kComboBoxClass), CS_DBLCLKS, IDC_ARROW, -1,
                            [] { return std::make_unique<ComboBox>(); }, ""});
    registry.registerClass({std::string(kSliderClass), CS_DBLCLKS, IDC_ARROW, -1,
                            [] { return std::make_unique<Slider>(); }, ""});
    registry.registerClass({std::string(kSpinClass), CS_DBLCLKS, IDC_ARROW, -1,
                            [] { return std::make_unique<Spin>(); }, ""});
    registry.registerClass({std::string(kColourComboClass), CS_DBLCLKS, IDC_ARROW, -1,
                            [] { return std::make_unique<ColourCombo>(); }, std::string(kComboBoxClass)});
    // A combo's list is made by its combo only.
    registry.registerClass({std::string(kComboListClass), CS_DBLCLKS | CS_SAVEBITS, IDC_ARROW, -1, {}, ""});
}

}  // namespace host::ui
