// Numbers in DXF text: strict parsing of whole values, and writing that reads back bit for bit.
#include "host/dxf/dxf_numbers.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace host::dxf {

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

std::size_t finishReal(char* out, char* end) {
    // "1" -> "1.0", "-0" -> "-0.0"; "1e+20" and "0.5" are already reals to every reader.
    const std::size_t n = std::size_t(end - out);
    if (std::memchr(out, '.', n) == nullptr && std::memchr(out, 'e', n) == nullptr) {
        *end++ = '.';
        *end++ = '0';
    }
    return std::size_t(end - out);
}

std::size_t writeZero(char* out, bool* finite) {
    if (finite) *finite = false;
    std::memcpy(out, "0.0", 3);
    return 3;
}

// Strips spaces and one leading '+': the rest must be the whole number.
std::string_view numberBody(std::string_view text) {
    text = trimSpaces(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '+' || text.front() == '-')) return {};
    }
    return text;
}

double toRadians(long double degrees) { return double(degrees * kPi / 180.0L); }

}  // namespace

std::string_view trimSpaces(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::size_t formatReal(double value, char* out, bool* finite) {
    if (!std::isfinite(value)) return writeZero(out, finite);
    if (finite) *finite = true;
    auto r = std::to_chars(out, out + kNumberTextSize - 3, value);
    return finishReal(out, r.ptr);
}

std::size_t formatDegrees(double radians, char* out, bool* finite) {
    if (!std::isfinite(radians)) return writeZero(out, finite);
    if (finite) *finite = true;
    const long double degrees = (long double)radians * 180.0L / kPi;
    // The common case: the shortest text of the nearest double already comes back as the same radians.
    auto r = std::to_chars(out, out + kNumberTextSize - 3, double(degrees));
    long double back = 0;
    std::from_chars(out, r.ptr, back);
    if (toRadians(back) == radians) return finishReal(out, r.ptr);
    r = std::to_chars(out, out + kNumberTextSize - 3, degrees);
    return finishReal(out, r.ptr);
}

std::optional<double> parseReal(std::string_view text) {
    text = numberBody(text);
    if (text.empty()) return std::nullopt;
    double v = 0;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
    if (ec != std::errc() || p != text.data() + text.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<double> radiansFromDegrees(std::string_view text) {
    text = numberBody(text);
    if (text.empty()) return std::nullopt;
    long double v = 0;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
    if (ec != std::errc() || p != text.data() + text.size() || !std::isfinite(v)) return std::nullopt;
    const double r = toRadians(v);
    if (!std::isfinite(r)) return std::nullopt;
    return r;
}

std::optional<std::int64_t> parseInteger(std::string_view text, std::int64_t min, std::int64_t max) {
    text = numberBody(text);
    if (text.empty()) return std::nullopt;
    std::int64_t v = 0;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v, 10);
    if (ec != std::errc() || p != text.data() + text.size() || v < min || v > max) return std::nullopt;
    return v;
}

std::size_t formatHex(std::uint64_t value, char* out) {
    auto r = std::to_chars(out, out + 16, value, 16);
    for (char* c = out; c != r.ptr; ++c)
        if (*c >= 'a' && *c <= 'f') *c = char(*c - 'a' + 'A');
    return std::size_t(r.ptr - out);
}

std::optional<std::uint64_t> parseHex(std::string_view text) {
    text = trimSpaces(text);
    if (text.empty() || text.size() > 16) return std::nullopt;
    std::uint64_t v = 0;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return std::nullopt;
        v = (v << 4) | std::uint64_t(d);
    }
    return v;
}

}  // namespace host::dxf
