// The engine's geometry of a loaded type: its contours converted, offset by the gaps and moved so that the type's
// reference point is the origin, and the host block that draws the type.
#pragma once

#include "nesting/frame/nesting_state.h"
#include "nesting/model/part_type.h"

// Tries of the outer offset of a polyline: when an outer contour's offset leaves the type without an outer
// contour, the offset is tried again with the gap 1.01 times larger, this many times in all, before the contour
// counts as failed.
inline constexpr int kOuterOffsetTries = 20;

// Turns every contour as read of `type` into its class lists: circles by ReadCircleContour, polylines by
// ReadPolylineContour, other shapes (points) not at all. The first contour that fails excludes the type: the
// message "Part will be excluded" names the drawing, the quantity becomes 0 and the failure is answered (the load
// goes on with the other types). Then every inner and outer contour is joined end to end and gets its box, and
// the type's OuterBox becomes the union of its outer contours. Answers 0 or the failure.
int BuildPartGeometry(CNestingState& state, PartType& type);

// Contour i of a drawing type is entity i of CopiedEntities. A closed outer (inner) contour goes, offset by the
// type's gap (parts: HalfPartGap, outward; stocks: EdgeGap, inward; a gap of 0 copies it), to the outer (inner)
// list; every result of an offset by its own class. An open or unclassified contour (open cuts, open cutting
// contours) goes unchanged to the open list. Every contour kept is moved by minus the reference point and owns
// its elements. The entity takes the type's line type and colour. Answer 0, or -1 when the entity cannot be
// opened as a circle (polyline) or (polylines) no outer contour results from the offset tries. A part's hole drawn
// as a polyline whose entity cannot be opened as one (the drawing was changed after its contours were made) is
// the exception: a message names the drawing, the hole is left out and the answer is 0. A rectangle type
// (not a drawing) has no entity: its contour as read is the closed outer contour made from its size, in drawing
// coordinates, and only the gap (stocks and clamps: EdgeGap) and the reference point apply to it.
int ReadCircleContour(CNestingState& state, PartType& type, int i);
int ReadPolylineContour(CNestingState& state, PartType& type, int i);

// Makes the host block of the type from CopiedEntities and then SpecialEntities ("-BLOCK" with the block name,
// redefining a block of that name, base point the reference point); the entities leave the drawing for the block.
// Nothing to do without copied entities. Answers 0, or -1 when the block is not there afterwards.
int MakePartBlock(CNestingState& state, PartType& type);
