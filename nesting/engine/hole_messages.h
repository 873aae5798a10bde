// Messages of the filling of holes: the limit of the neighbours a part in a hole is tested against.
#pragma once

#include "cadlib/messages.h"

// Printf argument: the limit.
inline constexpr TwoLanguageText kTooManyHoleNeighbours{
    "\nMore than %d placed parts surround a part tried in a hole; that place is not used.",
    "\nВокруг детали, размещаемой в отверстии, более %d размещённых деталей; это место не используется."};
