// The cutting order given by hand: contours cut one after another as the user picks them, or as a fence drawn by
// the user crosses them. Each contour accepted gets its path group at the end of the path.
#pragma once

#include "host/db/ids.h"
#include "host/ge/point.h"

// Cuts the contours the user picks at "Select Contour" until Enter or Esc (onlyOne false), or up to the first one
// whose path was written (onlyOne true: the caller brings the totals up to date). A pick on empty space asks again;
// a pick on something that is no contour, on a contour already cut, on the stock or a jumper point says so and asks
// again. Answers 0.
int SlicePick(bool onlyOne);

// Cuts the contours a fence drawn by the user crosses, segment by segment, each segment's contours in the order it
// meets them, each contour from the crossing nearest the segment's start. Path lines are ignored. Answers 0.
int SliceFence();

// Gives the contour of `entity` its path from `crossing` (nothing for an entity that is no contour, a contour already
// cut, or the stock). Answers true when a path group was written.
bool SliceCrossedContour(host::db::ObjectId entity, const host::ge::Point3d& crossing);

// The commands NCSlice and NCSliceFence: the home group removed first, then the cut by pick or by fence.
void CommandNCSlice();
void CommandNCSliceFence();
