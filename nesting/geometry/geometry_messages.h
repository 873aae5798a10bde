// Messages of the nesting geometry.
#pragma once

#include "cadlib/messages.h"

// Printf arguments: the limit of result contours, twice.
inline constexpr TwoLanguageText kOffsetTooManyContours{
    "\nThe offset of a contour gives more than %d contours; only the first %d are kept.",
    "\nЭквидистанта контура даёт более %d контуров; сохранены только первые %d."};
