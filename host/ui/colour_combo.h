// The colour combo ("HostColorCombo"): a drop-down list of the host's colour indices, each item a swatch and a
// name, with the colours used lately. Its items, in order: ByLayer (256) and ByBlock (0) unless switched off,
// the seven named colours 1 to 7, then up to kMaxRecent recent colours, newest first. Each item's data is its
// colour index; swatches show the ACI palette.
//
// It is a combo box of class "HostColorCombo" derived from "ComboBox": it notifies as a drop-down list does
// (combo_box.h) and answers the combo messages. Its names are "ByLayer", "ByBlock", "Red", "Yellow", "Green",
// "Cyan", "Blue", "Magenta", "White" and "Color N" for the others. WM_SETTEXT also takes "Color N" or "N" for a
// colour that has no item yet: it becomes a recent colour and current.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/ui/combo_box.h"

namespace host::ui {

inline constexpr std::string_view kColourComboClass = "HostColorCombo";

// The colour indices that are not palette colours.
inline constexpr int kColorByBlock = 0;
inline constexpr int kColorByLayer = 256;

class ColourCombo : public ComboBox {
public:
    static constexpr int kMaxRecent = 5;
    // The swatch's gap to the item's edges and to the name.
    static constexpr int kSwatchGap = 2;

    ColourCombo();
    ~ColourCombo() override;

    void setUseByLayer(bool on);
    void setUseByBlock(bool on);
    // The item showing colour `index`, or -1.
    int findItemByColorIndex(int index) const;
    // Puts a palette colour (1-255) first among the recent ones; the named colours and ByLayer/ByBlock have items
    // of their own and are left out.
    void addColorToMRU(int index);
    // The colour of the current item, or -1 when there is none.
    int currentItemColorIndex() const;
    // Makes colour `index` current, adding it to the recent colours when it has no item. False (no change) for an
    // index that is not a colour here (outside 0-256, or ByLayer/ByBlock when switched off). Nothing is sent.
    bool setCurrentItemColorIndex(int index);
    int colorIndexOfItem(int item) const;
    const std::vector<int>& recentColors() const { return recent_; }

    // "ByLayer", "Red", "Color 30", ...
    static std::string colorName(int index);
    // The colour index a name stands for ("Red", "color 30", "30"), or -1.
    static int colorIndexFromName(std::string_view name);
    // The screen colour of a swatch: the palette's; white for ByLayer and ByBlock.
    static ColorRef swatchColor(int index);

    void drawItem(DC& dc, int index, const Rect& r, bool highlighted) override;
    std::intptr_t windowProc(Message& m) override;

protected:
    void preSubclassWindow() override;

private:
    void rebuild();

    bool useByLayer_ = true;
    bool useByBlock_ = true;
    std::vector<int> recent_;
};

}  // namespace host::ui
