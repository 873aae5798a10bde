// The loading of one drawing-file stock or part of a job: the point where the job loader hands a type over to the
// reader of the contour data stored in part and stock drawings.
#pragma once

#include "nesting/frame/nesting_state.h"
#include "nesting/model/part_type.h"

// Answers of LoadDrawingType.
inline constexpr int kDrawingTypeLoaded = 0;
// The load stops and the drawing reader has already told the user why (a drawing that cannot be read, holds no
// usable contour data, a stock with contours a stock may not have, no closed outer contour, no block).
inline constexpr int kDrawingTypeStopped = -3;

// Loads the drawing-file type (JobFileType 2) whose drawing is at type.Path into the current drawing through
// LoadDrawingEntry: its stored contours read and their entities copied, for a stock the reference point at minus
// StockPointOrigin, the type's lists built (a contour that cannot be read excludes the type: quantity 0, answer
// still kDrawingTypeLoaded) and the type's block made. Runs with HalfPartGap and EdgeGap set for the load. May
// throw; LoadJobDrawings catches and reports it.
int LoadDrawingType(CNestingState& state, PartType& type);
