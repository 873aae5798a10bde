// Lines and segments of the plane: slope and intercept, two lines given by a point and an angle, two segments.
//
// The answers of the intersection routines here and in circle_intersections.h are counts: the out points are
// valid only as far as the count says.
#pragma once

#include "host/ge/point.h"

inline constexpr int kIntersectNone = 0;     // no common point
inline constexpr int kIntersectOne = 1;      // one crossing point
inline constexpr int kIntersectTwo = 2;      // two points, or for two segments a collinear overlap
inline constexpr int kIntersectTouch = 4;    // one touching (tangent) point

// Answers of IntersectLinesByAngle.
inline constexpr int kLinesCross = 0;
inline constexpr int kLinesParallel = 1;

// slope = (y2 - y1) / (x2 - x1) and intercept = y1 - slope * x1 of the line through p1 and p2. A vertical line
// (x1 = x2) gets the slope 1e-14, which makes it a nearly horizontal line through p1: callers that may meet
// vertical lines test for them first.
void LineSlopeIntercept(const host::ge::Point3d& p1, const host::ge::Point3d& p2, double& intercept, double& slope);

// The crossing of the line through p1 at angle1 with the line through p2 at angle2: kLinesCross and the point
// (z 0), or kLinesParallel when the lines are parallel (out unchanged). A line is vertical when
// |cos angle| <= 1e-10. Lines whose directions differ by less than 1e-10 radians (or by pi within that) are
// parallel: comparing the two slopes exactly would take 30 and 210 degrees, whose tangents differ in the last
// bit, for lines that cross far away.
int IntersectLinesByAngle(const host::ge::Point3d& p1, double angle1, const host::ge::Point3d& p2, double angle2,
                          host::ge::Point3d& out);

// Segment a1-a2 with segment b1-b2:
//   kIntersectOne   the lines cross at a point inside both segment boxes (IsPointInSegmentBox, bounds
//                   included, so segments meeting at a common end point answer that point);
//   kIntersectTwo   the segments are collinear and b1 (else b2) lies in a's box: out = that end of b, with its z;
//   kIntersectNone  otherwise; out then keeps the crossing of the two lines when there is one, else (0, 0, 0).
// A second segment that contains the first without an end point inside it answers kIntersectNone.
// First, a nearly vertical segment (|dx| / |dy| < 1e-10) is made vertical by moving its second end point onto
// the x of its first: a2 and b2 may be changed.
int IntersectSegments(const host::ge::Point3d& a1, host::ge::Point3d& a2, const host::ge::Point3d& b1,
                      host::ge::Point3d& b2, host::ge::Point3d& out);
