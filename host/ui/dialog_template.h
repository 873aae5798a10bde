// Dialog templates: the table a dialog is built from (caption, size, style, font, and one row per control: id,
// window class, rectangle, style, text), builders for the usual controls, and the dialog units the rectangles are
// usually given in.
//
// A row names its control's window class as registered in the desktop's class registry ("Edit", "Button", or a
// custom class such as "MFCGridCtrl"). Every row gets WS_CHILD | WS_VISIBLE; the builders add what a resource
// compiler adds for the statement of the same name (an edit gets a border and a tab stop, a label starts a
// group, and so on), so a row made by hand states its style whole.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/ui/constants.h"
#include "host/ui/font.h"
#include "host/ui/geometry.h"

namespace host::ui {

// The id of a control nobody addresses (labels, group boxes, pictures).
inline constexpr int kNoControlId = -1;

// What a template's numbers are measured in.
enum class TemplateUnits {
    DialogUnits,  // a quarter of the font's average character width across, an eighth of its height down
    Pixels,       // pixels of the client area, as they stand
};

// A place in the template: the top-left corner and the size, in the template's units (as resource files give
// them: x, y, width, height).
struct TemplateRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const TemplateRect&, const TemplateRect&) = default;
};

struct DialogItem {
    int id = kNoControlId;
    std::string className;
    TemplateRect rect{};
    std::uint32_t style = 0;  // WS_CHILD | WS_VISIBLE are added when the control is made
    std::uint32_t exStyle = 0;
    std::string text;
};

struct DialogTemplate {
    // The style of a modal dialog as resource editors make it.
    static constexpr std::uint32_t kModalStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

    std::string caption;
    // The client area: where it goes (relative to the owner's client area; ignored with DS_CENTER, and a
    // template at 0, 0 is centred too) and its size.
    TemplateRect rect{};
    std::uint32_t style = kModalStyle;
    std::uint32_t exStyle = 0;
    // The font of the dialog and its controls; none: the system's message font.
    std::optional<LogFont> font;
    TemplateUnits units = TemplateUnits::DialogUnits;
    std::vector<DialogItem> items;

    DialogTemplate() = default;
    DialogTemplate(std::string caption, int width, int height, TemplateUnits units = TemplateUnits::DialogUnits);

    // [SECTION] Builders: each appends one row and answers the template, so rows chain.
    DialogTemplate& add(DialogItem item);
    // A custom or any other control, style as given (CONTROL).
    DialogTemplate& control(std::string_view className, int id, std::string_view text, TemplateRect r,
                            std::uint32_t style, std::uint32_t exStyle = 0);
    // Static text, left aligned, starting a group (LTEXT); align SS_CENTER or SS_RIGHT for the others.
    DialogTemplate& label(std::string_view text, TemplateRect r, int id = kNoControlId, std::uint32_t align = SS_LEFT);
    // A single-line edit with a border and a tab stop (EDITTEXT); `style` adds ES_* bits.
    DialogTemplate& edit(int id, TemplateRect r, std::uint32_t style = 0);
    // A push button with a tab stop (PUSHBUTTON), or the default button (DEFPUSHBUTTON).
    DialogTemplate& button(int id, std::string_view text, TemplateRect r, std::uint32_t style = 0);
    DialogTemplate& defaultButton(int id, std::string_view text, TemplateRect r);
    // An automatic check box with a tab stop (AUTOCHECKBOX).
    DialogTemplate& checkBox(int id, std::string_view text, TemplateRect r, std::uint32_t style = 0);
    // An automatic radio button; the first of a group starts the group and holds its tab stop (AUTORADIOBUTTON).
    DialogTemplate& radio(int id, std::string_view text, TemplateRect r, bool firstOfGroup);
    DialogTemplate& groupBox(std::string_view text, TemplateRect r, int id = kNoControlId);
    // A combo box (COMBOBOX): CBS_DROPDOWNLIST unless `style` says CBS_DROPDOWN or CBS_SIMPLE; add CBS_SORT
    // for a sorted one. The height is the dropped height, as in resource files.
    DialogTemplate& comboBox(int id, TemplateRect r, std::uint32_t style = CBS_DROPDOWNLIST);
    // A list box with a border, a scroll bar and notifications (LISTBOX); `style` adds LBS_* bits.
    DialogTemplate& listBox(int id, TemplateRect r, std::uint32_t style = 0);
    DialogTemplate& slider(int id, TemplateRect r, std::uint32_t style = 0);
    DialogTemplate& tabControl(int id, TemplateRect r, std::uint32_t style = 0);
    // A picture (a static control showing a bitmap); `image` names it (a file or a resource name).
    DialogTemplate& picture(int id, TemplateRect r, std::string_view image = {});

    // The first row with this id; nullptr when none.
    const DialogItem* find(int id) const;
};

// The dialog's base units: the average width of the letters A-Z and a-z of its font, and the font's height, in
// pixels. With the metric font of 12 pixels (the default) they are 6 and 12, so one dialog unit is 1.5 pixels
// each way: a 50 x 14 button is 75 x 21 pixels.
Size dialogBaseUnits(const LogFont& font, TextMeasurer measurer);

// A template rectangle in client pixels: x and width by base.width / 4, y and height by base.height / 8, each
// rounded half away from zero (MapDialogRect).
Rect mapDialogRect(const TemplateRect& r, Size baseUnits);

// The pixel rectangle of a template rectangle in the template's own units.
Rect templateRectToPixels(const DialogTemplate& t, const TemplateRect& r, Size baseUnits);

}  // namespace host::ui
