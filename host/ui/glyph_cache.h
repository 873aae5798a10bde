// Inside the window layer: DejaVu faces loaded through FreeType, their metrics, advances and rendered glyphs,
// cached for the process.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace host::ui::detail {

struct FaceMetrics {
    int ascent = 0;
    int descent = 0;
};

// An 8-bit coverage bitmap of one glyph; left and top place it from the pen position on the baseline.
struct GlyphBitmap {
    int width = 0;
    int rows = 0;
    int left = 0;
    int top = 0;
    int advance = 0;
    std::vector<std::uint8_t> coverage;
};

// The em size in pixels that gives a cell (ascent + descent) of `cellHeight` pixels; nullopt when the file
// cannot be loaded.
std::optional<int> emForCellHeight(const std::string& file, int cellHeight);
std::optional<FaceMetrics> faceMetrics(const std::string& file, int em);
std::optional<int> glyphAdvance(const std::string& file, int em, char32_t c);
// nullptr when the file cannot be loaded or the glyph cannot be rendered.
const GlyphBitmap* renderGlyph(const std::string& file, int em, char32_t c);

}  // namespace host::ui::detail
