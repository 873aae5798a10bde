// Texts of the nesting run: the sheet lines and the stop on the command line in both languages, and the pass
// traces, which exist in English only and go to the engine's trace sink.
#pragma once

#include "cadlib/messages.h"

// Printf argument: the sheet number (from 1). The line is overwritten by the next.
inline constexpr TwoLanguageText kRunSheetStart{"Stock %i\r", "Заготовка %i\r"};
// Printf arguments: the sheet number, its use in percent, the parts placed on it (clamps not counted).
inline constexpr TwoLanguageText kRunSheetResult{"Stock %i  Metal recovery=%.2f%%  NestParts=%i\n\r",
                                                 "Заготовка %i  Использование металла=%.2f%%  Размещено деталей=%i\n\r"};

// Printf arguments: the parts placed, the sheets that hold them, the parts left unplaced.
inline constexpr TwoLanguageText kRunStopped{
    "Nesting stopped by the user: %i part(s) placed on %i sheet(s), %i not placed.\n\r",
    "Раскрой прерван пользователем: размещено деталей: %i (листов: %i), не размещено: %i.\n\r"};

// Pass traces (printf formats), handed to the engine's PassTrace and never printed for the user.
inline constexpr const char* kTracePass = "> PASS_F KIsp=%.3f SKIsp=%.3f XE=%.3f YE=%.3f KolPart=%i\n\r";
inline constexpr const char* kTracePassAreas = "* SS=%.3f SSG=%.3f SSV=%.3f  KS=%.3f\n\r";
inline constexpr const char* kTraceStv = "> PASS OPTIM - STV\n\r";
inline constexpr const char* kTraceKept =
    "+++ PASS OPTIM  KIsp=%.3f  SKIsp=%.3f  XE=%.3f YE=%.3f KolPart=%i  S+S=%.3f\n\r";
