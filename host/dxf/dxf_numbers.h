// Numbers in DXF text: strict parsing of whole values, and writing that reads back bit for bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace host::dxf {

// Room for any text the format functions below write.
inline constexpr std::size_t kNumberTextSize = 48;

// The shortest text that reads back as the same double (std::to_chars), with ".0" added to a whole number so that
// every reader sees a real. Not-finite values have no DXF text: they are written as "0.0" and `finite` is cleared.
// Answers the length written into `out` (at least kNumberTextSize chars).
std::size_t formatReal(double value, char* out, bool* finite = nullptr);

// Degrees text for an angle held in radians, chosen so that radiansFromDegrees() of the text gives back exactly
// the same double. Degrees and radians are not one-to-one in doubles (a degree value can fall between two
// radian values), so about one angle in six needs the extra digits of a long double; the others take the
// shortest double text.
std::size_t formatDegrees(double radians, char* out, bool* finite = nullptr);

// Whole-text parses. Surrounding spaces and tabs are allowed (writers pad numbers); anything else left over, an
// empty text, a value out of range or a not-finite real answers nullopt. A leading '+' is accepted.
std::optional<double> parseReal(std::string_view text);
std::optional<std::int64_t> parseInteger(std::string_view text, std::int64_t min, std::int64_t max);
// An angle written in degrees, as radians (computed in long double so formatDegrees' text comes back exactly).
std::optional<double> radiansFromDegrees(std::string_view text);

// Upper-case hexadecimal of a 64-bit value without leading zeros, as handles are written. Answers the length.
std::size_t formatHex(std::uint64_t value, char* out);
// 1 to 16 hexadecimal digits of either case, surrounding spaces allowed.
std::optional<std::uint64_t> parseHex(std::string_view text);

std::string_view trimSpaces(std::string_view text);

}  // namespace host::dxf
