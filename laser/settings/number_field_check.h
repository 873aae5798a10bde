// The check that every numeric edit field of the option pages and of the program dialog runs on each change of its
// text: a character outside the field's set puts the field back to what it held and tells the user.
// A field's whole text is read by host::sys::fieldReal and fieldInteger, and refused with the messages of
// cadlib/number_field_messages.h.
#pragma once

#include <string>
#include <string_view>

#include "cadlib/messages.h"
#include "cadlib/number_field_messages.h"
#include "host/sys/number_text.h"

namespace host::ui {
class Dialog;
}

// The message of a refused character; %s: the text as typed.
inline constexpr TwoLanguageText kInvalidSymbolInString{"Invalid symbol in the string - %s",
                                                       "Недопустимый символ в строке - %s"};

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
