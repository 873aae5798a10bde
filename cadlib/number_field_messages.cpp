// The refusals of number fields.
#include "cadlib/number_field_messages.h"

#include "host/sys/number_text.h"

namespace {

std::string Kept(std::string_view kept) { return kept.empty() ? std::string("\"\"") : std::string(kept); }

}  // namespace

std::string NumberNotInRangeMessage(std::string_view text, double low, double high, std::string_view kept) {
    return FormatLocalized(kNumberNotInRange, std::string(text).c_str(),
                           host::sys::formatC("%.15g", low).c_str(), host::sys::formatC("%.15g", high).c_str(),
                           Kept(kept).c_str());
}

std::string NotANumberMessage(std::string_view text, std::string_view kept, bool wholeNumber) {
    return FormatLocalized(wholeNumber ? kNotAWholeNumber : kNotANumber, std::string(text).c_str(),
                           Kept(kept).c_str());
}
