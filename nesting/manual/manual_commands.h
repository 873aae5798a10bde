// The manual part commands: the user moves, turns, erases, inserts and counts single parts of the sheet shown in
// the drawing. Each changes the block reference in the drawing and the part instance it stands for together. The
// command frame first makes the job follow the sheet in the drawing (drawn_sheet.h), so that what UNDO or the
// host's own commands did to the sheet is what the commands find.
#pragma once

#include "nesting/frame/nesting_state.h"

// Moves a part: with `automatic` the engine slides it from where the user put it to a free place and the sheet is
// redrawn, else it stays exactly there (no collision test). With `fromInsert` the part is the copy InsertPart has
// just inserted (the drawing's last entity), placed once; else parts are picked until the user ends. With `drag`
// the picked reference is dragged to its new place first; Esc there leaves that part where it was and asks for
// the next.
void MovePlacedPart(CNestingState& state, bool automatic, bool fromInsert, bool drag);

// Turns picked parts by `degrees` (counter-clockwise positive) about their insertion points; 0, or `automatic`,
// turns and moves the part by dragging, and `automatic` then lets the engine place it from there. Esc at either
// drag puts the part back as it was, turned and placed, and ends the command.
void RotatePlacedPart(CNestingState& state, bool automatic, double degrees);

// Takes picked parts off the sheet: the reference goes and its instance is no longer placed.
void ErasePlacedPart(CNestingState& state);

// Puts one more copy of a part type chosen in the insert dialog onto the sheet.
void InsertNestPart(CNestingState& state);

// Prints, for every picked part, its type's block name, its copies on the sheet and its quantity.
void QueryPlacedPart(CNestingState& state);
