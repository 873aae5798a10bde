// DejaVu faces through FreeType, with caches of advances and rendered glyphs.
#include "host/ui/glyph_cache.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <map>
#include <mutex>
#include <tuple>

namespace host::ui::detail {

namespace {

// Glyphs kept before the cache starts again: a dialog's pictures use a few hundred.
constexpr std::size_t kMaxCachedGlyphs = 20000;

class FreeTypeFaces {
public:
    ~FreeTypeFaces() {
        for (auto& [file, face] : faces_)
            if (face) FT_Done_Face(face);
        if (library_) FT_Done_FreeType(library_);
    }

    FT_Face face(const std::string& file, int em) {
        if (!library_ && !triedLibrary_) {
            triedLibrary_ = true;
            if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
        }
        if (!library_ || file.empty() || em <= 0) return nullptr;
        auto it = faces_.find(file);
        if (it == faces_.end()) {
            FT_Face f = nullptr;
            if (FT_New_Face(library_, file.c_str(), 0, &f) != 0) f = nullptr;
            it = faces_.emplace(file, f).first;
        }
        FT_Face f = it->second;
        if (f && FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(em)) != 0) return nullptr;
        return f;
    }

    std::mutex mutex;
    std::map<std::tuple<std::string, int, char32_t>, int> advances;
    std::map<std::tuple<std::string, int, char32_t>, GlyphBitmap> glyphs;

private:
    FT_Library library_ = nullptr;
    bool triedLibrary_ = false;
    std::map<std::string, FT_Face> faces_;
};

FreeTypeFaces& faces() {
    static FreeTypeFaces instance;
    return instance;
}

int roundedAdvance(FT_Pos advance26_6) { return static_cast<int>((advance26_6 + 32) >> 6); }

}  // namespace

std::optional<int> emForCellHeight(const std::string& file, int cellHeight) {
    auto& f = faces();
    std::lock_guard lock(f.mutex);
    FT_Face face = f.face(file, 100);
    if (!face || face->units_per_EM == 0) return std::nullopt;
    const double cell = static_cast<double>(face->ascender - face->descender) / face->units_per_EM;
    if (cell <= 0) return std::nullopt;
    return std::max(1, static_cast<int>(std::lround(cellHeight / cell)));
}

std::optional<FaceMetrics> faceMetrics(const std::string& file, int em) {
    auto& f = faces();
    std::lock_guard lock(f.mutex);
    FT_Face face = f.face(file, em);
    if (!face || face->units_per_EM == 0) return std::nullopt;
    FaceMetrics m;
    m.ascent = static_cast<int>(std::ceil(static_cast<double>(face->ascender) * em / face->units_per_EM));
    m.descent = static_cast<int>(std::ceil(static_cast<double>(-face->descender) * em / face->units_per_EM));
    return m;
}

std::optional<int> glyphAdvance(const std::string& file, int em, char32_t c) {
    auto& f = faces();
    std::lock_guard lock(f.mutex);
    auto key = std::make_tuple(file, em, c);
    if (auto it = f.advances.find(key); it != f.advances.end()) return it->second;
    FT_Face face = f.face(file, em);
    if (!face) return std::nullopt;
    if (FT_Load_Char(face, c, FT_LOAD_DEFAULT) != 0) return std::nullopt;
    const int advance = roundedAdvance(face->glyph->advance.x);
    if (f.advances.size() > kMaxCachedGlyphs) f.advances.clear();
    f.advances.emplace(key, advance);
    return advance;
}

const GlyphBitmap* renderGlyph(const std::string& file, int em, char32_t c) {
    auto& f = faces();
    std::lock_guard lock(f.mutex);
    auto key = std::make_tuple(file, em, c);
    if (auto it = f.glyphs.find(key); it != f.glyphs.end()) return &it->second;
    FT_Face face = f.face(file, em);
    if (!face) return nullptr;
    if (FT_Load_Char(face, c, FT_LOAD_RENDER) != 0) return nullptr;
    const FT_GlyphSlot slot = face->glyph;
    GlyphBitmap g;
    g.width = static_cast<int>(slot->bitmap.width);
    g.rows = static_cast<int>(slot->bitmap.rows);
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.advance = roundedAdvance(slot->advance.x);
    g.coverage.resize(static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.rows));
    for (int y = 0; y < g.rows; ++y)
        for (int x = 0; x < g.width; ++x)
            g.coverage[static_cast<std::size_t>(y * g.width + x)] = slot->bitmap.buffer[y * slot->bitmap.pitch + x];
    if (f.glyphs.size() > kMaxCachedGlyphs) f.glyphs.clear();
    return &f.glyphs.emplace(key, std::move(g)).first->second;
}

}  // namespace host::ui::detail
