// The texts that hold settings in the registry, read as the C library reads numbers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A registry value is read into a buffer of 300 bytes: 149 two-byte characters and the terminating zero. A longer
// value does not fit and counts as missing.
inline constexpr std::size_t kMaxSettingValueChars = 149;

// How many two-byte units `text` (UTF-8) takes: one per character, two for a character beyond U+FFFF.
std::size_t SettingTextUnits(std::string_view text);

// The text when it fits the value buffer, else nothing.
std::optional<std::string> FitSettingText(std::optional<std::string> text);

// The number at the start of `text` after leading white space, 0 when there is none ("12.5mm" -> 12.5,
// "abc" -> 0), in the C locale. A number beyond double's range reads as none.
double SettingTextToReal(std::string_view text);

// The integer at the start of `text` after leading white space, 0 when there is none ("7.9" -> 7, "x1" -> 0); a
// number beyond int's range gives int's bound on that side; one beyond 64 bits reads as none.
int SettingTextToInteger(std::string_view text);

// The home point's three numbers: x at the start, y after the first blank, z after the blank that follows that
// one; a number whose blank is not there takes x's place ("10 20" -> 10, 20, 10; "5" -> 5, 5, 5).
std::array<double, 3> SettingTextToPointHome(std::string_view text);

// "%f %f %f".
std::string PointHomeToSettingText(const std::array<double, 3>& point);

// `folder` with a final '\' (an empty folder stays empty: it means no folder is set).
std::string WithFinalBackslash(std::string folder);
