// Bounding boxes of contours of the nesting geometry.
#pragma once

#include "nesting/model/contour.h"

// The bounding box of the contour, written to `box` (callers pass the contour's own Box). A circle contour (first
// element a circle) gives Centre +- Radius. Otherwise the box covers every element's Start and End and, for every
// arc (and circle) element, the extreme points at 0, pi/2, pi and 3*pi/2 that lie on it: from the angle of Start
// to the angle of End seen from Centre, counter-clockwise, through 0 when the end angle is not above the start
// angle. A contour without elements gets the empty box.
void ComputeContourBox(const Contour& contour, BoundingBox& box);

// The bounding box of one element: a circle's Centre +- Radius; a line's ends; an arc's ends and the axis points
// it passes, by the rule of ComputeContourBox. Other element codes give the box of Start and End.
void ComputeElementBox(const ContourElement& e, BoundingBox& box);

// A box that surely holds the element, cheap to make for the pair filters of the intersection loops: a line's
// ends, or the whole circle of an arc or circle, grown by `margin` on every side.
BoundingBox ElementReachBox(const ContourElement& e, double margin);

// Whether two boxes have no point in common (boxes that touch are not apart).
bool BoxesApart(const BoundingBox& a, const BoundingBox& b);
