// Clean-up at the listed nodes before the pieces are joined: pieces drawn twice, nodes where three or more cut
// pieces meet, and ends that share a node moved onto one point.
#pragma once

#include "laser/contours/contour_records.h"

// With AutoDelCopy on, erases the second of two pieces of one type drawn twice between the same listed nodes and
// marks it dropped: lines with the same two nodes in either order; arcs with the same start node and end node (in
// that direction) and centres equal at AutoConnectGrid; circles with equal centres and radii. Points are never
// duplicates. Circles and arcs drawn over each other are removed first, wherever they lie (RemoveCirclesDrawnTwice).
// Answers 0; `roundRemoved`, when given, receives how many circles and arcs drawn over another were removed.
int RemoveDuplicateEntities(ContourEntityStage& stage = ContourEntities(), int* roundRemoved = nullptr);

// Erases the later of two circles, or two arcs, of one kind with the same centre, radius and ends at `grid`
// (circles take part in no node, so the node pass never meets such a pair) and marks it dropped; then the arcs
// lying on a circle whose ends meet nothing but arcs on that circle. Answers how many were removed.
int RemoveCirclesDrawnTwice(ContourEntityStage& stage, int grid);

// With Warn3Point on, finds the listed nodes where three or more pieces of the cut kinds meet. The first one found
// shows the error box; each such node is opened in the node browser. The pass over the nodes is repeated while a
// browser ended with more than two pieces left. Answers 0 to go on, -1 when the user chose Exit (or cancelled),
// after the three lines that say creation stops.
int CheckTripleNodes(ContourEntityStage& stage = ContourEntities());

// With AutoConnect on, moves the ends that share a listed node onto the end of the node's first piece in table
// order (pieces of one kind, circles aside): a line gets the new end point, an arc keeps its radius as far as it
// can and gets the centre that fits its new end points (the one nearer its old centre); a point keeps its place in
// the drawing. Ends already equal within the host's tolerance are left. A piece that cannot be opened for write
// is reported and left as it is. Answers 0.
int MergeEntitiesAtNodes(ContourEntityStage& stage = ContourEntities());
