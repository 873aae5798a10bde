// The module's small commands: the options reread, the drawings without contour data opened, the part contours
// drawn.
#pragma once

#include "nesting/frame/nesting_state.h"

// LoadNestOptions: rereads the settings and the nesting options; when the clamp use or the clamps per sheet
// changed, the loaded job is dropped so that the next run loads it again with the new clamp type.
void CommandLoadNestOptions(CNestingState& state);

// cncOpenFilesDwg: opens every drawing of FilesWithoutContours that no open document has (the names compared
// without regard to case) as a further document, then makes the document that was current current again.
void CommandOpenFilesWithoutContours(CNestingState& state);

// DisplayParts: draws the contours of every part type.
void CommandDisplayParts(CNestingState& state);
