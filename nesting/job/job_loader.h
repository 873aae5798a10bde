// Loading the stocks, parts and clamps of a read job into geometry the engine can place and blocks the drawing
// can show.
#pragma once

#include "nesting/frame/nesting_state.h"

// LoadJobDrawings: turns every type of the job that ReadNestingJob read into the engine's contour lists and a
// block of its own in the working drawing. Before anything is built the job is checked: quantities below 0 count
// as 0, the engine's limits (sheets, part copies with the clamps, clamps per sheet), the clamp size when clamps
// are used, and the block names (valid, unique across stocks and parts, "Clamp" kept for the clamps); a problem
// is shown in a message box and the load fails. Then: the CAM layers; every rectangle stock, every rectangle
// part; when ClampUse is 1 the clamp type after the parts (block "Clamp", quantity ClampQuantity; otherwise
// ClampQuantity becomes 0); every drawing stock and every drawing part through LoadDrawingType. StockInstanceCount
// and PartInstanceCount become the quantities of the types that loaded (an excluded type counts 0).
// Answers 0; -1 when the load failed, after its message: the job is then dropped whole (no types, no instances).
int LoadJobDrawings(CNestingState& state);
