// Locale-free number formatting and parsing on std::to_chars and std::from_chars.
#include "host/sys/number_text.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <locale.h>

namespace host::sys {

namespace {

// Fixed notation of the largest double has 309 digits before the point.
constexpr std::size_t kFixedIntegerDigits = 310;
constexpr std::size_t kSmallBuffer = 64;

std::string toChars(double value, std::chars_format format, int decimals) {
    std::string buffer(kFixedIntegerDigits + kMaxDecimals + 8, '\0');
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format,
                                      std::clamp(decimals, 0, kMaxDecimals));
    buffer.resize(static_cast<std::size_t>(result.ptr - buffer.data()));
    return buffer;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a real at the start of `text` (an optional sign first, which from_chars does not take). The number's
// own characters are checked first so that "inf", "nan" and "0x1p3" are never numbers here.
std::from_chars_result readReal(std::string_view text, double& value) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const char* p = first;
    if (p != last && (*p == '+' || *p == '-')) ++p;
    const bool negative = p != first && *first == '-';
    const bool startsNumber = p != last && (isDigit(*p) || (*p == '.' && p + 1 != last && isDigit(p[1])));
    if (!startsNumber) return {first, std::errc::invalid_argument};
    auto result = std::from_chars(p, last, value, std::chars_format::general);
    if (result.ec == std::errc() && negative) value = -value;
    if (result.ec == std::errc::invalid_argument) result.ptr = first;
    return result;
}

}  // namespace

std::string formatFixed(double value, int decimals) { return toChars(value, std::chars_format::fixed, decimals); }

std::string formatExponent(double value, int decimals) {
    return toChars(value, std::chars_format::scientific, decimals);
}

std::string formatShortest(double value) {
    char buffer[kSmallBuffer];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string formatC(const char* format, ...) {
    // The C locale for this thread only, while printing; the process locale stays as the program set it.
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const locale_t previous = ::uselocale(cLocale);
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    char small[256];
    const int needed = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string out;
    if (needed >= 0 && static_cast<std::size_t>(needed) < sizeof small) {
        out.assign(small, static_cast<std::size_t>(needed));
    } else if (needed >= 0) {
        out.resize(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(out.data(), out.size(), format, again);
        out.resize(static_cast<std::size_t>(needed));
    }
    va_end(again);
    ::uselocale(previous);
    return out;
}

Parsed<double> parseReal(std::string_view text) {
    Parsed<double> parsed;
    double value = 0;
    const auto result = readReal(text, value);
    if (result.ec == std::errc::invalid_argument || result.ptr != text.data() + text.size()) return parsed;
    parsed.status = result.ec == std::errc() && std::isfinite(value) ? ParseStatus::Ok : ParseStatus::OutOfRange;
    if (parsed.ok()) parsed.value = value;
    return parsed;
}

Parsed<double> parseReal(std::string_view text, double min, double max) {
    Parsed<double> parsed = parseReal(text);
    if (parsed.ok() && !(parsed.value >= min && parsed.value <= max)) parsed.status = ParseStatus::OutOfRange;
    return parsed;
}

Parsed<std::int64_t> parseInteger(std::string_view text, std::int64_t min, std::int64_t max) {
    Parsed<std::int64_t> parsed;
    // from_chars takes a '-' but not a '+'; "+-5" and "-+5" are malformed either way.
    std::string_view digits = text;
    const bool plus = !digits.empty() && digits.front() == '+';
    if (plus) digits.remove_prefix(1);
    if (digits.empty() || !(isDigit(digits.front()) || (!plus && digits.front() == '-'))) return parsed;
    std::int64_t value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value, 10);
    if (result.ec == std::errc::invalid_argument || result.ptr != digits.data() + digits.size()) return parsed;
    if (result.ec == std::errc::result_out_of_range || value < min || value > max) {
        parsed.status = ParseStatus::OutOfRange;
        return parsed;
    }
    parsed.status = ParseStatus::Ok;
    parsed.value = value;
    return parsed;
}

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::optional<double> fieldReal(std::string_view text) {
    const Parsed<double> parsed = parseReal(trimBlanks(text));
    if (!parsed.ok()) return std::nullopt;
    return parsed.value;
}

std::optional<int> fieldInteger(std::string_view text) {
    const Parsed<std::int64_t> parsed = parseInteger(trimBlanks(text), INT_MIN, INT_MAX);
    if (!parsed.ok()) return std::nullopt;
    return static_cast<int>(parsed.value);
}

LeadingNumber parseLeadingReal(std::string_view text) {
    std::size_t skipped = 0;
    while (skipped < text.size() && isSpace(text[skipped])) ++skipped;
    double value = 0;
    const auto result = readReal(text.substr(skipped), value);
    if (result.ec != std::errc() || !std::isfinite(value)) return {};
    return {value, static_cast<std::size_t>(result.ptr - text.data())};
}

LeadingInteger parseLeadingInteger(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && isSpace(text[at])) ++at;
    const std::size_t signAt = at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    std::size_t end = at;
    while (end < text.size() && isDigit(text[end])) ++end;
    if (end == at) return {};
    // from_chars takes '-' but not '+'; give it the digits with a minus sign at most.
    const bool negative = text[signAt] == '-';
    std::int64_t value = 0;
    const char* first = negative ? text.data() + signAt : text.data() + at;
    const auto result = std::from_chars(first, text.data() + end, value, 10);
    if (result.ec != std::errc()) return {};
    return {value, end};
}

}  // namespace host::sys
