// Loading one drawing entry of a nesting job: the stock or part drawing read, its contours built and its block
// made. The job loader calls it once per drawing entry, in job order.
#pragma once

#include "nesting/frame/nesting_state.h"
#include "nesting/model/part_type.h"

// Answers of LoadDrawingEntry.
inline constexpr int kEntryLoaded = 0;     // loaded (a part excluded for a contour it cannot read has quantity 0)
inline constexpr int kEntryFailed = -1;    // the job load must stop; the user has been told why

// Loads the drawing-file type `type` (its Path names the drawing, its Kind says stock or part, its BlockName the
// block to make): ReadPartDrawing, then for a stock the reference point (-x, -y) of StockPointOrigin,
// BuildPartGeometry and MakePartBlock. Uses HalfPartGap and EdgeGap as the job load has set them. The caller adds
// the type's quantity afterwards.
//   Failures, each with its message box, answer kEntryFailed and leave the current drawing as it was (the copied
//   entities are erased again): a drawing that cannot be read or holds no usable contour data, a stored entity
//   missing (2008.01), a stock with engraving, common-line, point or heat-treatment contours, a drawing without
//   a closed outer contour, a block that cannot be made, and any unexpected error of the three steps.
//   A part whose contour cannot be converted is excluded (quantity 0, with its message) and still loads.
int LoadDrawingEntry(CNestingState& state, PartType& type);
