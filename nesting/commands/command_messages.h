// Messages of the module's commands and of its job commands.
#pragma once

#include "cadlib/messages.h"

// Printf argument: the command's local name.
inline constexpr TwoLanguageText kCommandComesLater{"\n%s is not available yet: it comes in a later version.\n",
                                                    "\nКоманда %s пока недоступна: она появится в следующей версии.\n"};
// Printf arguments: the command's local name, what went wrong.
inline constexpr TwoLanguageText kCommandFailed{"\n%s stopped: %s\n", "\nКоманда %s прервана: %s\n"};

// Printf arguments: the job file, the sheets, the part copies (clamps included).
inline constexpr TwoLanguageText kJobLoaded{"\nJob %s loaded: %d sheet(s), %d part(s).\n",
                                            "\nЗадание %s загружено: листов %d, деталей %d.\n"};

inline constexpr TwoLanguageText kPleaseWait{"\n\rPlease wait ... \n\r", "\n\rПожалуйста подождите ... \n\r"};
// Printf argument: the elapsed time.
inline constexpr TwoLanguageText kTimeOfNesting{"\n\rTime of Nesting %s\n\r", "\n\rВремя размещения %s\n\r"};

// Printf arguments: the drawing, the host's reason.
inline constexpr TwoLanguageText kDrawingNotOpened{"\nThe drawing %s cannot be opened: %s\n",
                                                   "\nЧертеж %s не открыт: %s\n"};
