// The contour offset's developer commands TTO and TTI: offset a picked circle or polyline and draw the result.
#pragma once

#include "nesting/frame/nesting_state.h"

// Asks for a distance ("\nSelect Distance [10] "; Enter, Esc or anything but a distance gives 10; a negative
// distance is taken positive and exchanges the mode), then for objects ("\nSelect an object: ") until anything
// but a pick: a picked circle or lightweight polyline is offset (mode 1 outward, 2 inward) and every result drawn
// in model space, outer results in colour 6 and the others in colour 3 (CECOLOR keeps the last colour set); any
// other entity asks again.
void TestContourOffset(CNestingState& state, int mode);
