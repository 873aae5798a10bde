// Messages of the nesting module's state and settings.
#pragma once

#include "cadlib/messages.h"

// Printf argument: the line-type name.
inline constexpr TwoLanguageText kCannotLoadLinetype{"\nERROR. I can't load line type %s ",
                                                     "\nОШИБКА. Не могу загрузить тип линии %s "};
// Printf argument: the line-type name (the CAM layer set's line types).
inline constexpr TwoLanguageText kCannotReadLinetype{"\nERROR. I can't load line type %s ",
                                                     "\nОШИБКА. Не могу прочитать тип линии %s "};
