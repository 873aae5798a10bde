// Numbers to text and back in the C locale ('.' as the decimal point), whatever locale the process has set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace host::sys {

// Decimals are clamped to this; no format of the product asks for more than 16.
inline constexpr int kMaxDecimals = 100;

// printf "%.Nf": formatFixed(2.5, 4) == "2.5000", formatFixed(-0.00001, 4) == "-0.0000" (the sign is kept, as
// printf keeps it). N defaults to printf's 6. Infinity and NaN give "inf", "-inf", "nan".
std::string formatFixed(double value, int decimals = 6);

// printf "%.Ne": formatExponent(1234.5, 2) == "1.23e+03"; at least two exponent digits, as printf writes.
std::string formatExponent(double value, int decimals = 6);

// The shortest text that reads back as the same double: 0.1 -> "0.1", 1e300 -> "1e+300".
std::string formatShortest(double value);

// printf into a std::string in the C locale, for the mixed formats of messages ("%i min %.3f sec").
// The format must be a literal of the program: decimals and flags in text read from files go through
// formatFixed and the like, never into a format.
std::string formatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

enum class ParseStatus {
    Ok,          // the whole text is a number inside the range
    Malformed,   // empty, or not a number, or something after the number
    OutOfRange,  // a number, but outside the range asked for (or beyond double / 64-bit integer)
};

template <class T>
struct Parsed {
    ParseStatus status = ParseStatus::Malformed;
    T value{};
    bool ok() const { return status == ParseStatus::Ok; }
};

// Strict: the whole text must be one decimal number, with an optional sign, digits with an optional '.', and an
// optional exponent ("12", "-0.5", "+3.", ".5", "1e-3"). No spaces, no "inf"/"nan", no hexadecimal, no ','.
Parsed<double> parseReal(std::string_view text);
Parsed<double> parseReal(std::string_view text, double min, double max);

// Strict: an optional sign and decimal digits only, inside [min, max].
Parsed<std::int64_t> parseInteger(std::string_view text, std::int64_t min = INT64_MIN, std::int64_t max = INT64_MAX);

// The text without the spaces and tabs around it, as a number's value in a file or a field may have them.
std::string_view trimBlanks(std::string_view text);

// A number field's text (an edit of a dialog, a registry value) read whole: blanks and tabs around the number are
// allowed, anything else is not ("6.0.0", ".", "2..", "2.5.1", "12a", "3OO" and the empty text are no numbers; nor
// are "inf" and "nan"). Nothing when the text is not one number.
std::optional<double> fieldReal(std::string_view text);
// The same for a field of a whole number inside int's range ("7.9" and "1e3" are none).
std::optional<int> fieldInteger(std::string_view text);

// What C's strtod and atoi read: leading white space skipped, then the longest number at the start. `length`
// is how many characters were used, 0 when there is no number (the value is then 0: "abc" -> 0, as atof).
// A number beyond the type's range also reads as none.
struct LeadingNumber {
    double value = 0;
    std::size_t length = 0;
};
LeadingNumber parseLeadingReal(std::string_view text);

struct LeadingInteger {
    std::int64_t value = 0;
    std::size_t length = 0;
};
LeadingInteger parseLeadingInteger(std::string_view text);

}  // namespace host::sys
