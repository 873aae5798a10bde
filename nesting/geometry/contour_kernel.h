// Primitives of the nesting engine's plane geometry: direction angles, polar points, distances, point comparison
// on integer grids, and the logical ends of contour elements.
//
// Everything here is a plain function of its arguments: no state, no allocation, safe to call from several
// threads at once. Angles are radians in [0, 2*pi).
#pragma once

#include <cstdint>

#include "host/ge/point.h"
#include "nesting/model/contour.h"

// Counts answered by the intersection functions: how many points were written to the output points.
inline constexpr int kNoPoint = 0;
inline constexpr int kOnePoint = 1;
inline constexpr int kTwoPoints = 2;
// One touching (tangent) point, written to the first output point.
inline constexpr int kTouchPoint = 4;

// A vector whose |dx| is at most this is taken as vertical by GetDirectionAngle.
inline constexpr double kVerticalRunLimit = 1e-14;

// Direction angle of the vector p0 -> p1 in [0, 2*pi). A vector with |dx| <= 1e-14 is vertical: pi/2 when
// dy > 0, else 3*pi/2 (the zero vector too). Otherwise atan(|dy| / |dx|) placed in its quadrant, so (-1, 0)
// gives exactly pi.
double GetDirectionAngle(const host::ge::Point2d& p0, const host::ge::Point2d& p1);

// out = p + dist * (cos angle, sin angle).
void PolarPoint(const host::ge::Point2d& p, double angle, double dist, host::ge::Point2d& out);

// Euclidean distance of p0 and p1.
double GetDistance(const host::ge::Point2d& p0, const host::ge::Point2d& p1);

// 1 when |p.x - q.x| * k >= 1 or |p.y - q.y| * k >= 1, else 0: the points are equal within 1/k.
int PointsDiffer(const host::ge::Point2d& p, const host::ge::Point2d& q, double k);

// 0 when q equals both a and b within 1/k (in the sense of PointsDiffer), else 1: whether q is not the joint at
// which two element ends a and b meet.
int DiffersFromJoint(const host::ge::Point2d& a, const host::ge::Point2d& b, const host::ge::Point2d& q, double k);

// Whether p lies in the box spanned by a and b, both edges included, compared on the grid of step 1/k: every
// coordinate becomes the 64-bit integer trunc(v * k + 0.5), so end points that agree to the grid compare equal.
// A coordinate that is NaN makes the answer false; one beyond the 64-bit range saturates.
bool PointInBoxOnGrid(const host::ge::Point2d& a, const host::ge::Point2d& b, const host::ge::Point2d& p, double k);

// The arc range rule: angle a lies on the counter-clockwise arc from s to e when e > s and s <= a <= e, or when
// e <= s and (a >= s or a <= e). Both ends are included and s = e means the whole circle. Compared as given.
bool IsAngleOnArc(double s, double e, double a);

// v rounded to the 1e-9 grid of the segment-arc test: trunc(v * 1e9 + 0.5) / 1e9.
double RoundArcAngle(double v);

// Whether the contour runs through the element from End to Start: an arc (or a circle inside a chain) with
// Reversed set. Lines have no reversed form.
bool RunsBackward(const ContourElement& e);

// The point where the contour enters the element: End for a reversed arc, Start otherwise.
host::ge::Point2d LogicalStart(const ContourElement& e);
// The point where the contour leaves the element: Start for a reversed arc, End otherwise.
host::ge::Point2d LogicalEnd(const ContourElement& e);
// Moves the element's logical start (or end) to p. An arc end that moves gets its angle seen from Centre again;
// a line keeps its angles (callers that need them call SetLineAngles).
void SetLogicalStart(ContourElement& e, const host::ge::Point2d& p);
void SetLogicalEnd(ContourElement& e, const host::ge::Point2d& p);

// A line's angles from its ends: StartAngle = the direction Start -> End, EndAngle = that plus pi, normalised.
void SetLineAngles(ContourElement& line);
