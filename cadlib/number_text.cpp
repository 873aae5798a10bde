// Trailing zeros, point texts, character-set checks and path parts.
#include "cadlib/number_text.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "host/sys/encoding.h"
#include "host/sys/number_text.h"
#include "host/sys/paths.h"

namespace {

// Decimals of a point argument: a tenth of a micrometre in millimetre drawings.
constexpr int kPointDecimals = 4;

std::vector<char32_t> charactersOf(std::string_view text) {
    std::vector<char32_t> out;
    for (std::size_t pos = 0; pos < text.size();) out.push_back(host::sys::decodeUtf8At(text, pos));
    return out;
}

// The position of the last separator, or npos.
std::size_t lastSeparator(std::string_view path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (host::sys::isPathSeparator(path[i - 1])) return i - 1;
    return std::string_view::npos;
}

}  // namespace

void TrimTrailingZeros(std::string& text) {
    if (text.find('.') == std::string::npos) return;
    for (std::size_t i = text.size() - 1; i >= 1; --i) {
        if (text[i] == '0') continue;
        text.resize(text[i] == '.' ? i : i + 1);
        return;
    }
}

int FormatPoint2d(std::string& text, const host::ge::Point3d& point) {
    text = host::sys::formatFixed(point.x, kPointDecimals) + "," + host::sys::formatFixed(point.y, kPointDecimals);
    return 0;
}

int FormatPoint3d(std::string& text, const host::ge::Point3d& point) {
    text = host::sys::formatFixed(point.x, kPointDecimals) + "," + host::sys::formatFixed(point.y, kPointDecimals) +
           "," + host::sys::formatFixed(point.z, kPointDecimals);
    return 0;
}

void RemoveSpaces(std::string& text) { std::erase(text, ' '); }

int HasCharsOutsideSet(std::string text, std::string allowed) {
    const std::vector<char32_t> set = charactersOf(allowed);
    for (char32_t c : charactersOf(text))
        if (std::find(set.begin(), set.end(), c) == set.end()) return 1;
    return 0;
}

int GetPathDirectory(const std::string& path, std::string& folder) {
    const std::size_t at = lastSeparator(path);
    if (at == std::string::npos) {
        folder.clear();
        return -1;
    }
    folder = path.substr(0, at);
    return 0;
}

int GetPathFileName(const std::string& path, std::string& name) {
    const std::size_t at = lastSeparator(path);
    if (at == std::string::npos) {
        name = path;
        return -1;
    }
    name = path.substr(at + 1);
    return 0;
}
