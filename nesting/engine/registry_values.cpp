// Fixed-buffer registry texts and their leading numbers.
#include "nesting/engine/registry_values.h"

#include <algorithm>
#include <limits>

#include "host/sys/number_text.h"
#include "nesting/model/text_limits.h"

std::optional<std::string> ReadRegistryText(const host::reg::RegistryKey& key, std::string_view name,
                                            std::size_t bufferChars) {
    std::optional<std::string> text = key.getString(name);
    if (text && bufferChars > 0 && CharacterCount(*text) >= bufferChars) {
        return std::nullopt;
    }
    return text;
}

std::int32_t LeadingInteger(const std::string& text) {
    const host::sys::LeadingInteger number = host::sys::parseLeadingInteger(text);
    constexpr std::int64_t kLow = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kHigh = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(number.value, kLow, kHigh));
}

double LeadingReal(const std::string& text) { return host::sys::parseLeadingReal(text).value; }
