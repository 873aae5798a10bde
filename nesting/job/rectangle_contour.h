// The rectangle contour of rectangle stocks, parts and clamps of a job, with its block. BuildPartGeometry then
// offsets it like a drawn contour.
#pragma once

#include "nesting/frame/nesting_state.h"
#include "nesting/model/part_type.h"

// MakeRectangleContour: the one contour of a rectangle type and its block. The size is ClampWidth x ClampHeight
// for a clamp, else the two numbers of the type's rectangle name ("Stosk_1000x500"). By kind:
//   stock  box StockPointOrigin to origin + (W, H), block with its lower-left corner at that origin, reference
//          point (0, 0), colour StockColor, line type TypeLineStock;
//   part   box (0, 0)-(W, H), block centred, reference point (W/2, H/2), colour PartColor, line type TypeLinePart;
//   clamp  box (-W/2, 0)-(W/2, H), block with its bottom edge centred, reference point (0, 0.01), colour ClampColor,
//          line type TypeLineStock.
// The contour is a closed outer chain of four lines counter-clockwise from the minimum corner; the type's area
// and the contour's are W x H. The type's lists are emptied and its list as read holds the one contour.
// Answers 0; -1 when the block cannot be made (a block of that name is in the drawing already, or the host
// refuses it), after a message naming the block and the type.
int MakeRectangleContour(CNestingState& state, PartType& type);
