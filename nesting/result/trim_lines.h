// Trim lines of the shown sheet: where the sheet can be cut off after its parts, on layer "TrimLine".
#pragma once

#include "nesting/frame/nesting_state.h"

// The layer of the trim lines; a new one is made with this colour when the drawing lacks it.
inline constexpr const char* kTrimLineLayer = "TrimLine";
inline constexpr int kTrimLineColour = 140;

// Replaces the trim lines of the drawing (every entity on a layer whose name contains "TrimLine" goes) by a
// vertical line across the sheet at the right end of its parts, and with `xy` also a horizontal line from the
// sheet's left edge to it at their top. The ends lie by the gaps beyond the parts' pose boxes: x = largest box
// maxX - HalfPartGap * 0.5 + EdgeGap, with the full gaps of a loaded job in those fields (y likewise). A stock
// drawn from a file is shifted by StockPointOrigin. Without a sheet an information box says so and the drawing
// is left as it was. The current layer is kept. Answers 0, -1 when there was no sheet.
int DrawTrimLine(CNestingState& state, bool xy);
