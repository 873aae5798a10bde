// The texts of the path of one contour (leads, jumper gaps), in English and Russian.
#pragma once

#include "cadlib/messages.h"

// A contour carries more jumper points than one contour takes; %u the count used, %u the count found.
inline constexpr TwoLanguageText kTooManyJumperPointsText{
    "\n\rWarning: a contour holds too many jumper points; %u of %u are used, the rest are cut through.",
    "\n\rПредупреждение: на контуре слишком много перемычек; используются %u из %u, остальные прорезаются."};

// One piece of a contour carries more jumper gaps than it takes; %u the count used, %u the count found.
inline constexpr TwoLanguageText kTooManyJumperGapsText{
    "\n\rWarning: a contour segment holds too many jumper points; %u of %u are used, the rest are cut through.",
    "\n\rПредупреждение: на сегменте контура слишком много перемычек; используются %u из %u, остальные "
    "прорезаются."};
