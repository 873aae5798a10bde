// Joining the elements of a freshly loaded contour so that each ends exactly where the next begins.
#pragma once

#include <span>

#include "nesting/model/contour.h"

// Makes the elements of contours[i] meet end to end (points compared exactly); always 0. A circle contour (first
// element a circle) is left alone. First every line gets its angles from its ends and every arc the mean of its
// distances from Centre to Start and End as radius. Then, for each element E with F the next one (the first after
// the last), in order, so that a change made to F is what the next step sees as E:
//   arc, arc     F's logical start moves onto E's logical end, and F's centre is fitted again to F's two ends
//                (the intersection of the circles of F's radius about them nearer the old centre; the radius
//                grows to the farther end once when they do not meet; the midpoint of the ends as a last resort),
//                then its radius and both angles are set from the new centre;
//   arc, line    F.Start moves onto E's logical end and F's angles are set again;
//   line, arc    E.End moves onto F's logical start and E's angles are set again; the arc is not changed;
//   line, line   F.Start moves onto E.End and F's angles are set again.
// An index outside the span changes nothing.
int JoinContourElements(std::span<Contour> contours, int i);
