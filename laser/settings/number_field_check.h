// The check that every numeric edit field of the option pages and of the program dialog runs on each change of its
// text: a character outside the field's set puts the field back to what it held and tells the user.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cadlib/messages.h"

namespace host::ui {
class Dialog;
}

// The message of a refused character; %s: the text as typed.
inline constexpr TwoLanguageText kInvalidSymbolInString{"Invalid symbol in the string - %s",
                                                       "Недопустимый символ в строке - %s"};

// The message of a number field whose whole text is not one number, told when the dialog is confirmed or its page
// left; %s: the text, then the value the field keeps.
inline constexpr TwoLanguageText kNotANumber{"\"%s\" is not a number. The field keeps %s.",
                                             "\"%s\" - не число. В поле остаётся %s."};
// The same for a field that holds a whole number (a count).
inline constexpr TwoLanguageText kNotAWholeNumber{"\"%s\" is not a whole number. The field keeps %s.",
                                                  "\"%s\" - не целое число. В поле остаётся %s."};

// The same for a number outside the field's range; %s: the text, the lowest and highest value, the value kept.
inline constexpr TwoLanguageText kNumberNotInRange{"\"%s\" is not a number from %s to %s. The field keeps %s.",
                                                   "\"%s\" - не число от %s до %s. В поле остаётся %s."};

// The set of almost every numeric field: the ten digits and the point, no sign.
inline constexpr std::string_view kDecimalCharacters = "01234567890.";
// The density fields also take an exponent and its sign.
inline constexpr std::string_view kExponentCharacters = "01234567890.eE-";

// Runs after the text of the edit behind `field` changed. `field` is the dialog's field of that edit; its value
// now is the text before the change. The dialog's controls are read into its fields; when the new text holds a
// character outside `allowed`, the field gets its old text back, the fields are written into the controls and
// the message "Invalid symbol in the string - <new text>" is shown in a box with an empty caption. Answers true
// when the new text was taken.
bool ValidateNumberField(host::ui::Dialog& dialog, std::string& field, std::string_view allowed);

// A number field's text read whole: blanks around the number are allowed, anything else is not ("6.0.0", ".", "2..",
// "2.5.1", "12a" and the empty text are no numbers; nor are "inf" and "nan"). Nothing when it is not one number.
std::optional<double> NumberFieldValue(std::string_view text);
// The same for a field of a whole number inside int's range ("7.9" is none).
std::optional<int> IntegerFieldValue(std::string_view text);

// The refusal of a field that holds `text`, keeping `kept`: "<text>" is not a number. The field keeps <kept>.
std::string NotANumberMessage(std::string_view text, std::string_view kept, bool wholeNumber = false);
// "<text>" is not a number from <low> to <high>. The field keeps <kept>.
std::string NumberNotInRangeMessage(std::string_view text, double low, double high, std::string_view kept);
