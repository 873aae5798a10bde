// Fixed-buffer registry texts and their leading numbers.
#include "nesting/engine/registry_values.h"

#include <algorithm>
#include <limits>

#include "cadlib/messages.h"
#include "cadlib/number_field_messages.h"
#include "host/sys/message_text.h"
#include "host/sys/number_text.h"
#include "nesting/model/text_limits.h"

namespace {

// The value's name, the text read, the range, what is used instead.
void TellNotInRange(std::string_view name, const std::string& text, const std::string& low, const std::string& high,
                    const std::string& standIn) {
    PrintLocalized(kSettingNotInRange, std::string(name).c_str(), host::sys::quotedForMessage(text).c_str(),
                   low.c_str(), high.c_str(), standIn.c_str());
}

}  // namespace

std::int32_t RegistryInteger(std::string_view name, const std::string& text, std::int32_t standIn) {
    if (const std::optional<int> number = host::sys::fieldInteger(text)) return *number;
    TellNotInRange(name, text, std::to_string(std::numeric_limits<std::int32_t>::min()),
                   std::to_string(std::numeric_limits<std::int32_t>::max()), std::to_string(standIn));
    return standIn;
}

double RegistryReal(std::string_view name, const std::string& text, double low, double high, double standIn) {
    const std::optional<double> number = host::sys::fieldReal(text);
    if (number && *number >= low && *number <= high) return *number;
    TellNotInRange(name, text, host::sys::formatC("%g", low), host::sys::formatC("%g", high),
                   host::sys::formatC("%g", standIn));
    return standIn;
}

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
