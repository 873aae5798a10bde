// Font objects and text measuring with the metric font or DejaVu through FreeType.
#include "host/ui/font.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>

#include "host/sys/encoding.h"
#include "host/ui/glyph_cache.h"

namespace host::ui {

namespace {

constexpr const char* kDejaVuFolder = "/usr/share/fonts/truetype/dejavu/";
constexpr int kDefaultCharacterHeight = 12;

bool isVertical(const LogFont& f) {
    const int e = ((f.escapement % 3600) + 3600) % 3600;
    return e == 900 || e == 2700;
}

int metricAdvance(const LogFont& f) { return (characterHeight(f) + 1) / 2; }

bool containsIgnoringCase(std::string_view text, std::string_view part) {
    auto it = std::search(text.begin(), text.end(), part.begin(), part.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
    return it != text.end();
}

// The em size of the FreeType measurer for a description, or nullopt without a font file.
std::optional<int> freeTypeEm(const LogFont& f, const std::string& file) {
    if (file.empty()) return std::nullopt;
    if (f.height > 0) return detail::emForCellHeight(file, f.height);
    return characterHeight(f);
}

}  // namespace

Font Font::create(const LogFont& description) {
    Font f;
    f.data_ = std::make_shared<const LogFont>(description);
    return f;
}

const LogFont& Font::logFont() const {
    static const LogFont kDefault{};
    return data_ ? *data_ : kDefault;
}

int characterHeight(const LogFont& font) {
    return font.height == 0 ? kDefaultCharacterHeight : std::abs(font.height);
}

std::string fontFileFor(const LogFont& font, bool monospaced) {
    const bool mono = monospaced || containsIgnoringCase(font.faceName, "courier") ||
                      containsIgnoringCase(font.faceName, "mono") || containsIgnoringCase(font.faceName, "consolas") ||
                      containsIgnoringCase(font.faceName, "fixed");
    const bool bold = font.weight >= 600;
    std::string name = mono ? "DejaVuSansMono" : "DejaVuSans";
    if (bold && font.italic)
        name += "-BoldOblique";
    else if (bold)
        name += "-Bold";
    else if (font.italic)
        name += "-Oblique";
    // Looked up once per name: measuring asks for every character.
    static std::mutex mutex;
    static std::map<std::string, std::string> resolved;
    std::lock_guard lock(mutex);
    if (auto it = resolved.find(name); it != resolved.end()) return it->second;
    std::string path = std::string(kDejaVuFolder) + name + ".ttf";
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        path = std::string(kDejaVuFolder) + (mono ? "DejaVuSansMono.ttf" : "DejaVuSans.ttf");
        if (!std::filesystem::is_regular_file(path, ec)) path.clear();
    }
    resolved.emplace(name, path);
    return path;
}

TextMetrics measureMetrics(TextMeasurer measurer, const LogFont& font) {
    TextMetrics m;
    m.weight = font.weight;
    if (measurer == TextMeasurer::FreeType) {
        const std::string file = fontFileFor(font, false);
        if (auto em = freeTypeEm(font, file)) {
            if (auto fm = detail::faceMetrics(file, *em)) {
                m.ascent = fm->ascent;
                m.descent = fm->descent;
                m.height = fm->ascent + fm->descent;
                m.averageCharWidth = detail::glyphAdvance(file, *em, U'x').value_or(*em / 2);
                m.maxCharWidth = detail::glyphAdvance(file, *em, U'W').value_or(*em);
                return m;
            }
        }
    }
    const int h = characterHeight(font);
    m.height = h;
    m.ascent = h * 4 / 5;
    m.descent = h - m.ascent;
    m.averageCharWidth = metricAdvance(font);
    m.maxCharWidth = metricAdvance(font);
    return m;
}

int characterAdvance(TextMeasurer measurer, const LogFont& font, char32_t c) {
    if (measurer == TextMeasurer::FreeType) {
        const std::string file = fontFileFor(font, false);
        if (auto em = freeTypeEm(font, file))
            if (auto a = detail::glyphAdvance(file, *em, c)) return *a;
    }
    return metricAdvance(font);
}

Size measureText(TextMeasurer measurer, const LogFont& font, std::string_view utf8) {
    const TextMetrics m = measureMetrics(measurer, font);
    int width = 0;
    if (measurer == TextMeasurer::Metric) {
        width = static_cast<int>(sys::utf8CharacterCount(utf8)) * metricAdvance(font);
    } else {
        std::size_t pos = 0;
        while (pos < utf8.size()) width += characterAdvance(measurer, font, sys::decodeUtf8At(utf8, pos));
    }
    Size s{width, m.height};
    if (isVertical(font)) std::swap(s.width, s.height);
    return s;
}

}  // namespace host::ui
