// The texts that hold settings in the registry, read as the C library reads numbers.
#include "laser/settings/settings_text.h"

#include <climits>

#include "host/sys/number_text.h"

std::size_t SettingTextUnits(std::string_view text) {
    std::size_t units = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) ++units;  // the first byte of a character
        if (byte >= 0xF0) ++units;           // a four-byte character needs a surrogate pair
    }
    return units;
}

std::optional<std::string> FitSettingText(std::optional<std::string> text) {
    if (text && SettingTextUnits(*text) > kMaxSettingValueChars) return std::nullopt;
    return text;
}

double SettingTextToReal(std::string_view text) { return host::sys::parseLeadingReal(text).value; }

int SettingTextToInteger(std::string_view text) {
    const std::int64_t value = host::sys::parseLeadingInteger(text).value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::array<double, 3> SettingTextToPointHome(std::string_view text) {
    const double x = SettingTextToReal(text);
    std::array<double, 3> point = {x, x, x};
    const std::size_t first = text.find(' ');
    if (first == std::string_view::npos) return point;
    point[1] = SettingTextToReal(text.substr(first + 1));
    const std::size_t second = text.find(' ', first + 1);
    if (second != std::string_view::npos) point[2] = SettingTextToReal(text.substr(second + 1));
    return point;
}

std::string PointHomeToSettingText(const std::array<double, 3>& point) {
    return host::sys::formatC("%f %f %f", point[0], point[1], point[2]);
}

std::string WithFinalBackslash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}
