// The refusals of a number field (an edit of a dialog, a cell, a value set at the terminal) whose text is not one
// number, or not one in the field's range: the field keeps the value it had, and the message says which.
#pragma once

#include <string>
#include <string_view>

#include "cadlib/messages.h"

// %s: the text, then the value the field keeps.
inline constexpr TwoLanguageText kNotANumber{"\"%s\" is not a number. The field keeps %s.",
                                             "\"%s\" - не число. В поле остаётся %s."};
// The same for a field that holds a whole number (a count).
inline constexpr TwoLanguageText kNotAWholeNumber{"\"%s\" is not a whole number. The field keeps %s.",
                                                  "\"%s\" - не целое число. В поле остаётся %s."};
// %s: the text, the lowest and highest value, the value kept.
inline constexpr TwoLanguageText kNumberNotInRange{"\"%s\" is not a number from %s to %s. The field keeps %s.",
                                                   "\"%s\" - не число от %s до %s. В поле остаётся %s."};

// A registry setting whose text is not one number in its range, told as it is read. %s: the setting's name, the
// text, the lowest and highest value, the value used instead.
inline constexpr TwoLanguageText kSettingNotInRange{
    "\n\rThe setting \"%s\" holds \"%s\", which is not a number from %s to %s: %s is used instead.",
    "\n\rНастройка \"%s\" содержит \"%s\" - это не число от %s до %s: вместо него взято %s."};

// "<text>" is not a number. The field keeps <kept>. (An empty kept value is shown as "".)
std::string NotANumberMessage(std::string_view text, std::string_view kept, bool wholeNumber = false);
// "<text>" is not a number from <low> to <high>. The field keeps <kept>.
std::string NumberNotInRangeMessage(std::string_view text, double low, double high, std::string_view kept);
