// Fonts: the logical font description, the shared font objects windows and device contexts hold, and text
// metrics from one of two measurers: the metric font (for tests) or FreeType with DejaVu (for pictures).
//
// The metric font makes positions computable by hand. For a font of height h = |lfHeight| (h = 12 when the
// height is 0): ascent = floor(0.8 h), descent = h - ascent, every character advances ceil(h / 2) pixels, no
// leading, no overhang. A 12-pixel "Qty" is 18 x 12. Escapement +-900 (vertical text) swaps width and height.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "host/ui/constants.h"
#include "host/ui/geometry.h"

namespace host::ui {

// What CreateFontIndirect takes and GetObject gives back.
struct LogFont {
    int height = -12;     // < 0: character height in pixels; > 0: cell height; 0: the default (12)
    int width = 0;        // 0: the font's own proportions
    int escapement = 0;   // tenths of a degree, counter-clockwise; +-900 is vertical text
    int orientation = 0;
    int weight = FW_NORMAL;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = DEFAULT_CHARSET;
    std::string faceName = "MS Shell Dlg";

    friend bool operator==(const LogFont&, const LogFont&) = default;
};

// A created font. Copies share one immutable description, like copies of a handle; two fonts are the same font
// when they share it. The null font stands for "the default font" (the message font of the system tables).
class Font {
public:
    Font() = default;
    static Font create(const LogFont& description);

    bool isNull() const { return !data_; }
    // The description; for the null font the built-in default LogFont{}.
    const LogFont& logFont() const;
    friend bool operator==(const Font& a, const Font& b) { return a.data_ == b.data_; }

private:
    std::shared_ptr<const LogFont> data_;
};

// What GetTextMetrics reports, in pixels.
struct TextMetrics {
    int height = 0;  // ascent + descent
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int averageCharWidth = 0;
    int maxCharWidth = 0;
    int weight = FW_NORMAL;
    int overhang = 0;
};

enum class TextMeasurer {
    Metric,    // the metric font above: exact, hand-computable; what tests assert against
    FreeType,  // DejaVu glyph advances, for pictures that should look like a real screen
};

// The pixel height of a description's characters: |height|, and 12 for a height of 0.
int characterHeight(const LogFont& font);

// Metrics and extents of text in a font, measured the way `measurer` says. The FreeType measurer falls back to
// the metric font when the DejaVu files cannot be loaded.
TextMetrics measureMetrics(TextMeasurer measurer, const LogFont& font);
// Width and height of one line of text (no line breaks interpreted, no prefix characters removed); an empty text
// is {0, height}. With escapement +-900 the two are swapped.
Size measureText(TextMeasurer measurer, const LogFont& font, std::string_view utf8);
// The advance of one character.
int characterAdvance(TextMeasurer measurer, const LogFont& font, char32_t c);

// The DejaVu file that draws a description (sans, sans bold, mono, ...), empty when none is installed.
std::string fontFileFor(const LogFont& font, bool monospaced);

}  // namespace host::ui
