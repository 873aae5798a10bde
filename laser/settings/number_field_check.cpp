// The character check of numeric edit fields.
#include "laser/settings/number_field_check.h"

#include <climits>

#include "cadlib/number_text.h"
#include "host/sys/number_text.h"
#include "host/ui/constants.h"
#include "host/ui/dialog.h"
#include "host/ui/message_box.h"

bool ValidateNumberField(host::ui::Dialog& dialog, std::string& field, std::string_view allowed) {
    const std::string previous = field;
    dialog.updateData(true);
    if (HasCharsOutsideSet(field, std::string(allowed)) == 0) return true;
    const std::string message = FormatLocalized(kInvalidSymbolInString, field.c_str());
    field = previous;
    dialog.updateData(false);
    host::ui::messageBox(message, "", host::ui::MB_OK);
    return false;
}

namespace {

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<double> NumberFieldValue(std::string_view text) {
    const host::sys::Parsed<double> parsed = host::sys::parseReal(TrimBlanks(text));
    if (!parsed.ok()) return std::nullopt;
    return parsed.value;
}

std::optional<int> IntegerFieldValue(std::string_view text) {
    const host::sys::Parsed<std::int64_t> parsed = host::sys::parseInteger(TrimBlanks(text), INT_MIN, INT_MAX);
    if (!parsed.ok()) return std::nullopt;
    return static_cast<int>(parsed.value);
}

std::string NumberNotInRangeMessage(std::string_view text, double low, double high, std::string_view kept) {
    const std::string shown(text);
    const std::string keeps = kept.empty() ? std::string("\"\"") : std::string(kept);
    return FormatLocalized(kNumberNotInRange, shown.c_str(), host::sys::formatC("%.15g", low).c_str(),
                           host::sys::formatC("%.15g", high).c_str(), keeps.c_str());
}

std::string NotANumberMessage(std::string_view text, std::string_view kept, bool wholeNumber) {
    const std::string shown(text);
    const std::string keeps = kept.empty() ? std::string("\"\"") : std::string(kept);
    return FormatLocalized(wholeNumber ? kNotAWholeNumber : kNotANumber, shown.c_str(), keeps.c_str());
}
