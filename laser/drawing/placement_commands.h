// The commands that put the drawing's geometry in a known place before it is cut or nested: its lower-left corner
// moved onto the stock origin, onto 0,0 or onto a corner the user gives, or the geometry turned by 180 degrees;
// the contours are then created anew. The clamps and the cutting path stay where they are.
#pragma once

#include "host/ge/point.h"

// Two corners closer than this in x and in y (drawing units) are the same place: a part already there is not
// moved again. A millionth of a unit lies far below what a machine or the NC program's decimals resolve, and far
// above the rounding a move leaves in the extents of what it moved.
inline constexpr double kSameCornerTolerance = 1e-6;

// MoveToOrigin: to the stock origin of the settings. MoveToOrigin00: to 0,0.
void CommandMoveToOrigin();
void CommandMoveToOrigin00();
// MoveToPoint: contours created first when the drawing has none, their box shown, then to the corner the user
// types or picks; an answer that is no point ends the command with nothing moved and no contours created.
void CommandMoveToPoint();
// RotateAndCreateContour: turned by 180 degrees about half the width and height of the geometry's box, then to the
// stock origin.
void CommandRotateAndCreateContour();
