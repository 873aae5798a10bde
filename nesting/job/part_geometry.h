// The geometry the engine places for one type of a job: its contours as read, offset by the type's gap, moved so
// that the type's reference point is the origin, and sorted into inner, outer and open lists; and the rectangle
// contour of rectangle stocks, parts and clamps with its block.
#pragma once

#include "nesting/frame/nesting_state.h"
#include "nesting/model/part_type.h"

// Times an outer contour's offset is repeated with its gap grown by a hundredth when it leaves no outer contour;
// after the last the contour counts as unreadable and its type is excluded.
inline constexpr int kOuterOffsetRepeats = 10;
inline constexpr double kOuterOffsetGrowth = 1.01;

// The gap by which the contours of a type are offset while a job loads: a stock shrinks by EdgeGap (the gap is
// taken negative), a part grows by HalfPartGap, a clamp by EdgeGap.
double ContourGapOf(const CNestingEngine& engine, const PartType& type);

// Puts one contour of the type, as read and converted, into contour set 0 of the type. With a gap of 0 a closed
// contour is copied into the inner (class 2) or outer (class 1) list; with another gap it is offset
// (OffsetContour, the contour's class as the mode) and every result goes to the list of its own class, taking the
// source's area (a circle's result that of its own radius). An open contour goes to the open list unchanged.
// Everything put in the lists is moved by minus the type's BasePoint.
// An outer contour that leaves the outer list empty is offset again with its gap grown by kOuterOffsetGrowth, at
// most kOuterOffsetRepeats times. Answers 0; -1 when a closed contour's class is not 1 or 2, or when an outer
// contour still leaves no outer contour.
int PlaceLoadedContour(CNestingState& state, PartType& type, const Contour& contour);

// BuildPartGeometry: places every circle and chain contour of the type's list as read (DrawingContours) with
// PlaceLoadedContour; other shapes are passed over. The first contour that fails shows the "Part will be excluded"
// message with the type's path, sets the type's quantity to 0 and ends with -1 (the rest of the job still loads).
// Otherwise every inner and outer contour has its elements joined and its box computed, OuterBox becomes the union
// of the outer boxes, and the answer is 0.
int BuildPartGeometry(CNestingState& state, PartType& type);

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
