// The loading of one drawing-file stock or part of a job: the point where the job loader hands a type over to the
// reader of the contour data stored in part and stock drawings.
#pragma once

#include "nesting/frame/nesting_state.h"
#include "nesting/model/part_type.h"

// Answers of LoadDrawingType.
inline constexpr int kDrawingTypeLoaded = 0;
// The drawing cannot be read or holds no usable stored contours (the loader then says the drawing was changed
// without creating contours).
inline constexpr int kDrawingTypeUnusable = -1;
// A stock drawing holds contours a stock may not have (engraving, heat treatment, common line, points).
inline constexpr int kDrawingTypeIllegalContours = -2;
// The load stops and the type's reader has already told the user why.
inline constexpr int kDrawingTypeStopped = -3;

// Loads the drawing-file type (JobFileType 2) whose drawing is at type.Path into the current drawing: reads its
// stored contours and copies their entities (ReadPartDrawing), for a stock puts the reference point at minus
// StockPointOrigin, converts the copied entities into the list as read (DrawingContours) and builds the type's
// lists with BuildPartGeometry (a contour that cannot be read excludes the type: quantity 0, answer still
// kDrawingTypeLoaded), and makes the type's block (MakePartBlock). Runs with HalfPartGap and EdgeGap set for the
// load. May throw; LoadJobDrawings catches and reports it.
int LoadDrawingType(CNestingState& state, PartType& type);
