// Reading the nesting module's text values from the product's registry key, as the engine and the module's
// state read them: texts that must fit a fixed buffer, and the numbers they hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/reg/registry.h"

// Buffers, in wide characters with the terminating zero, of the values read by the engine and the module.
inline constexpr std::size_t kOptionBufferChars = 300;
inline constexpr std::size_t kShortOptionBufferChars = 150;

// The text of value `name`, or nothing when the value is absent, not a text, or does not fit a buffer of
// `bufferChars` characters with its terminating zero (such a value counts as missing).
std::optional<std::string> ReadRegistryText(const host::reg::RegistryKey& key, std::string_view name,
                                            std::size_t bufferChars = kOptionBufferChars);

// A number value read whole (blanks around it allowed): a text that is not one whole number within int's range
// ("2.5", "3OO", "7 high", an empty text) is told with the value's name and the range, and `standIn` is taken.
std::int32_t RegistryInteger(std::string_view name, const std::string& text, std::int32_t standIn);
// The same for a real number inside [low, high] ("2.5.1", "12.5mm", "inf" are none).
double RegistryReal(std::string_view name, const std::string& text, double low, double high, double standIn);

// The leading decimal integer of a text as atoi reads it (blanks and a sign allowed; no digits give 0), held
// within the range of a 32-bit integer: the point display values, which the drawing takes as they come.
std::int32_t LeadingInteger(const std::string& text);
