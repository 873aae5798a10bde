// The character check of numeric edit fields.
#include "laser/settings/number_field_check.h"

#include "cadlib/number_text.h"
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
