// Dialog templates: builders of the usual controls and the conversion of dialog units to pixels.
#include "host/ui/dialog_template.h"

#include <cstdlib>

namespace host::ui {

namespace {

// The letters whose mean width is a font's average character width for dialog units.
constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// Dialog units across are quarters and down are eighths of the base units.
constexpr int kHorizontalDivisor = 4;
constexpr int kVerticalDivisor = 8;

// value * numerator / denominator, rounded half away from zero (MulDiv).
int mulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    const long long rounded = product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
    return static_cast<int>(rounded);
}

}  // namespace

DialogTemplate::DialogTemplate(std::string caption, int width, int height, TemplateUnits units)
    : caption(std::move(caption)), rect{0, 0, width, height}, units(units) {}

DialogTemplate& DialogTemplate::add(DialogItem item) {
    items.push_back(std::move(item));
    return *this;
}

DialogTemplate& DialogTemplate::control(std::string_view className, int id, std::string_view text, TemplateRect r,
                                        std::uint32_t style, std::uint32_t exStyle) {
    return add({id, std::string(className), r, style, exStyle, std::string(text)});
}

DialogTemplate& DialogTemplate::label(std::string_view text, TemplateRect r, int id, std::uint32_t align) {
    return control(kStaticClass, id, text, r, align | WS_GROUP);
}

DialogTemplate& DialogTemplate::edit(int id, TemplateRect r, std::uint32_t style) {
    const std::uint32_t scroll = (style & ES_MULTILINE) ? ES_AUTOVSCROLL : ES_AUTOHSCROLL;
    return control(kEditClass, id, "", r, ES_LEFT | scroll | WS_BORDER | WS_TABSTOP | style);
}

DialogTemplate& DialogTemplate::button(int id, std::string_view text, TemplateRect r, std::uint32_t style) {
    return control(kButtonClass, id, text, r, BS_PUSHBUTTON | WS_TABSTOP | style);
}

DialogTemplate& DialogTemplate::defaultButton(int id, std::string_view text, TemplateRect r) {
    return control(kButtonClass, id, text, r, BS_DEFPUSHBUTTON | WS_TABSTOP);
}

DialogTemplate& DialogTemplate::checkBox(int id, std::string_view text, TemplateRect r, std::uint32_t style) {
    return control(kButtonClass, id, text, r, BS_AUTOCHECKBOX | WS_TABSTOP | style);
}

DialogTemplate& DialogTemplate::radio(int id, std::string_view text, TemplateRect r, bool firstOfGroup) {
    return control(kButtonClass, id, text, r, BS_AUTORADIOBUTTON | (firstOfGroup ? WS_GROUP | WS_TABSTOP : 0));
}

DialogTemplate& DialogTemplate::groupBox(std::string_view text, TemplateRect r, int id) {
    return control(kButtonClass, id, text, r, BS_GROUPBOX);
}

DialogTemplate& DialogTemplate::comboBox(int id, TemplateRect r, std::uint32_t style) {
    if ((style & 0x3) == 0) style |= CBS_DROPDOWNLIST;
    return control(kComboBoxClass, id, "", r, style | WS_TABSTOP);
}

DialogTemplate& DialogTemplate::listBox(int id, TemplateRect r, std::uint32_t style) {
    return control(kListBoxClass, id, "", r, LBS_NOTIFY | WS_BORDER | WS_VSCROLL | WS_TABSTOP | style);
}

DialogTemplate& DialogTemplate::slider(int id, TemplateRect r, std::uint32_t style) {
    return control(kSliderClass, id, "", r, TBS_HORZ | WS_TABSTOP | style);
}

DialogTemplate& DialogTemplate::tabControl(int id, TemplateRect r, std::uint32_t style) {
    return control(kTabControlClass, id, "", r, WS_TABSTOP | style);
}

DialogTemplate& DialogTemplate::picture(int id, TemplateRect r, std::string_view image) {
    return control(kStaticClass, id, image, r, SS_BITMAP);
}

const DialogItem* DialogTemplate::find(int id) const {
    for (const DialogItem& item : items)
        if (item.id == id) return &item;
    return nullptr;
}

Size dialogBaseUnits(const LogFont& font, TextMeasurer measurer) {
    const int letters = static_cast<int>(kAlphabet.size());
    const int width = measureText(measurer, font, kAlphabet).width;
    // The mean of the letters, rounded: (sum / 26 + 1) / 2 over the 52 letters.
    const int average = (width / (letters / 2) + 1) / 2;
    const TextMetrics metrics = measureMetrics(measurer, font);
    return {average > 0 ? average : 1, metrics.height > 0 ? metrics.height : 1};
}

Rect mapDialogRect(const TemplateRect& r, Size base) {
    const int left = mulDiv(r.x, base.width, kHorizontalDivisor);
    const int top = mulDiv(r.y, base.height, kVerticalDivisor);
    const int width = mulDiv(r.width, base.width, kHorizontalDivisor);
    const int height = mulDiv(r.height, base.height, kVerticalDivisor);
    return Rect::fromSize(left, top, width, height);
}

Rect templateRectToPixels(const DialogTemplate& t, const TemplateRect& r, Size baseUnits) {
    if (t.units == TemplateUnits::Pixels) return Rect::fromSize(r.x, r.y, r.width, r.height);
    return mapDialogRect(r, baseUnits);
}

}  // namespace host::ui
