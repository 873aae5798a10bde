// Bounding boxes of contours of the nesting geometry.
#pragma once

#include "nesting/model/contour.h"

// The bounding box of the contour, written to `box` (callers pass the contour's own Box). A circle contour (first
// element a circle) gives Centre +- Radius. Otherwise the box covers every element's Start and End and, for every
// arc (and circle) element, the extreme points at 0, pi/2, pi and 3*pi/2 that lie on it: from the angle of Start
// to the angle of End seen from Centre, counter-clockwise, through 0 when the end angle is not above the start
// angle. A contour without elements gets the empty box.
void ComputeContourBox(const Contour& contour, BoundingBox& box);
