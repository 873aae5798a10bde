// The colour combo: its items rebuilt from the switches and the recent colours, names both ways, swatches.
#include "host/ui/colour_combo.h"

#include <algorithm>
#include <array>

#include "host/ed/aci_colors.h"
#include "host/sys/number_text.h"
#include "host/sys/text_case.h"
#include "host/ui/desktop.h"

namespace host::ui {

namespace {

// The named colours, by index 1 to 7.
constexpr std::array<std::string_view, 8> kNamedColours = {"", "Red", "Yellow", "Green", "Cyan",
                                                            "Blue", "Magenta", "White"};
constexpr int kLastNamed = 7;
constexpr std::string_view kColourPrefix = "Color ";

bool isPalette(int index) { return index >= 1 && index <= 255; }

}  // namespace

ColourCombo::ColourCombo() = default;
ColourCombo::~ColourCombo() = default;

std::string ColourCombo::colorName(int index) {
    if (index == kColorByLayer) return "ByLayer";
    if (index == kColorByBlock) return "ByBlock";
    if (index >= 1 && index <= kLastNamed) return std::string(kNamedColours[static_cast<std::size_t>(index)]);
    return std::string(kColourPrefix) + std::to_string(index);
}

int ColourCombo::colorIndexFromName(std::string_view name) {
    using host::sys::equalsNoCase;
    if (equalsNoCase(name, "ByLayer")) return kColorByLayer;
    if (equalsNoCase(name, "ByBlock")) return kColorByBlock;
    for (int i = 1; i <= kLastNamed; ++i)
        if (equalsNoCase(name, kNamedColours[static_cast<std::size_t>(i)])) return i;
    std::string_view digits = name;
    if (digits.size() > kColourPrefix.size() && equalsNoCase(digits.substr(0, kColourPrefix.size()), kColourPrefix))
        digits.remove_prefix(kColourPrefix.size());
    const auto parsed = host::sys::parseInteger(digits, 1, 255);
    return parsed.ok() ? static_cast<int>(parsed.value) : -1;
}

ColorRef ColourCombo::swatchColor(int index) {
    if (!isPalette(index)) return rgb(255, 255, 255);
    const std::uint32_t c = host::ed::aciToRgb(index);  // 0xRRGGBB
    return rgb(static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c & 0xFF));
}

int ColourCombo::colorIndexOfItem(int item) const {
    return items().valid(item) ? static_cast<int>(itemData(item)) : -1;
}

int ColourCombo::findItemByColorIndex(int index) const {
    for (int i = 0; i < count(); ++i)
        if (itemData(i) == index) return i;
    return -1;
}

int ColourCombo::currentItemColorIndex() const { return colorIndexOfItem(currentSelection()); }

// The items follow the switches and the recent colours; the current colour stays current when it still has an
// item.
void ColourCombo::rebuild() {
    const int current = currentItemColorIndex();
    resetContent();
    auto add = [this](int index) { setItemData(addString(colorName(index)), index); };
    if (useByLayer_) add(kColorByLayer);
    if (useByBlock_) add(kColorByBlock);
    for (int i = 1; i <= kLastNamed; ++i) add(i);
    for (int i : recent_) add(i);
    if (current >= 0) setCurrentSelection(findItemByColorIndex(current));
}

void ColourCombo::setUseByLayer(bool on) {
    if (useByLayer_ == on) return;
    useByLayer_ = on;
    rebuild();
}

void ColourCombo::setUseByBlock(bool on) {
    if (useByBlock_ == on) return;
    useByBlock_ = on;
    rebuild();
}

void ColourCombo::addColorToMRU(int index) {
    if (!isPalette(index) || index <= kLastNamed) return;
    recent_.erase(std::remove(recent_.begin(), recent_.end(), index), recent_.end());
    recent_.insert(recent_.begin(), index);
    if (recent_.size() > static_cast<std::size_t>(kMaxRecent)) recent_.resize(kMaxRecent);
    rebuild();
}

bool ColourCombo::setCurrentItemColorIndex(int index) {
    if (index < 0 || index > kColorByLayer) return false;
    if (findItemByColorIndex(index) < 0) addColorToMRU(index);
    const int item = findItemByColorIndex(index);
    if (item < 0) return false;
    setCurrentSelection(item);
    return true;
}

void ColourCombo::drawItem(DC& dc, int index, const Rect& r, bool highlighted) {
    Desktop& d = desktop();
    if (highlighted) dc.fillSolidRect(r, d.sysColor(COLOR_HIGHLIGHT));
    if (!items().valid(index)) return;
    const int side = std::max(1, r.height() - 2 * kSwatchGap);
    const Rect swatch = Rect::fromSize(r.left + kSwatchGap, r.top + kSwatchGap, side, side);
    dc.selectPen(Pen::solid(d.sysColor(COLOR_WINDOWTEXT)));
    dc.selectBrush(Brush::solid(swatchColor(colorIndexOfItem(index))));
    dc.rectangle(swatch);
    dc.selectFont(font());
    dc.setBkMode(TRANSPARENT);
    dc.setTextColor(d.sysColor(highlighted ? COLOR_HIGHLIGHTTEXT : (isEnabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT)));
    dc.drawText(itemText(index), Rect{swatch.right + 2 * kSwatchGap, r.top, r.right, r.bottom},
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void ColourCombo::preSubclassWindow() {
    ComboBox::preSubclassWindow();
    rebuild();
}

std::intptr_t ColourCombo::windowProc(Message& m) {
    switch (m.id) {
    case WM_CREATE: {
        // Always a drop-down list in the order above, whatever the template says.
        modifyStyle(CBS_DROPDOWNLIST | CBS_SORT | CBS_HASSTRINGS, CBS_DROPDOWNLIST);
        const std::intptr_t result = ComboBox::windowProc(m);
        rebuild();
        return result;
    }
    case WM_SETTEXT: {
        const char* text = pointerFromParam<const char>(m.l);
        const int index = colorIndexFromName(text ? text : "");
        if (index < 0) return CB_ERR;
        if ((index == kColorByLayer && !useByLayer_) || (index == kColorByBlock && !useByBlock_)) return CB_ERR;
        return setCurrentItemColorIndex(index) ? 1 : CB_ERR;
    }
    default: return ComboBox::windowProc(m);
    }
}

}  // namespace host::ui
