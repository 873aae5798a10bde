// Rotating and moving points, contours and the posed contours of a part instance.
#pragma once

#include "host/ge/point.h"
#include "nesting/model/contour.h"
#include "nesting/model/part_instance.h"

// out = p rotated about the origin by `angle`, plus `offset`. The angles 0, pi/2, pi and 270 degrees (compared
// exactly) are exact: (1, 2) turned by pi/2 is (-2, 1) with no rounding. Any other angle goes through the polar
// form of p.
void RotatePoint(const host::ge::Point2d& p, host::ge::Point2d& out, const host::ge::Point2d& offset, double angle);

// out = p + (dx, dy).
void TranslatePoint(const host::ge::Point2d& p, host::ge::Point2d& out, double dx, double dy);

// Writes into dst the contour src rotated about the origin by `angle` and moved by `offset`. dst is meant to be a
// copy of src made earlier: its Radius and Reversed fields are kept; when its element count differs from src's it
// is made a copy of src first. Lines and arcs turn their angles with the contour (unchanged at angle 0); circles
// get Start at angle 0 of their own radius. dst's Box is src's moved by offset at angle 0, else computed.
void TransformContour(const Contour& src, Contour& dst, const host::ge::Point2d& offset, double angle);

// Poses every contour of contour set `set` of the instance's type (outer contours, holes and open contours) into
// the instance's trial pose at `offset` and `angle`: the pose's box becomes the union of the posed outer boxes
// (the empty box without outer contours), its position `offset`, its angle `angle` less 2*pi when at or above
// 2*pi. The pose's ContourSet is not changed. Always 0; an instance without a type changes nothing.
int ApplyPartPose(PartInstance& instance, int set, const host::ge::Point2d& offset, double angle);

// Poses only the outer contours of set `set` into the trial pose; the angle is stored as given and the pose's
// ContourSet becomes `set`. Holes and open contours are not posed. Always 0.
int ApplyOuterPose(PartInstance& instance, int set, const host::ge::Point2d& offset, double angle);

// Moves the trial pose's outer contours (with their boxes), the pose's box and its position by (dx, dy). Holes
// and open contours stay; a caller that needs them in place poses the part again with ApplyPartPose.
void TranslatePart(PartInstance& instance, double dx, double dy);
