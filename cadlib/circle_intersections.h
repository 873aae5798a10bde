// Circles and circular arcs of the plane met by segments, circles and arcs.
//
// Answers are the counts of line_intersections.h: kIntersectNone, kIntersectOne, kIntersectTwo and
// kIntersectTouch. Arcs run counter-clockwise from their start to their end. Radii are passed by reference, as
// callers hold them, and never changed.
#pragma once

#include "cadlib/line_intersections.h"
#include "host/ge/point.h"

// Steps per radian of the grid the segment-arc test rounds angles to (1e-11).
inline constexpr long long kArcAngleGrid = 100000000000LL;

// Segment a1-a2 with the circle about `centre`. F is the foot of the perpendicular from the centre onto the
// segment's line, found by IntersectSegments with the diameter across the segment, and d its distance from the
// centre:
//   d > r                  kIntersectNone;
//   d = r exactly          out1 = F, kIntersectTouch when F lies in the segment's box, else kIntersectNone;
//   d < r                  Q1 = F + h and Q2 = F - h along the segment (h = sqrt(r^2 - d^2)): both in the box,
//                          kIntersectTwo (out1 = Q1, out2 = Q2); one, kIntersectOne with it in out1 (and out2);
//                          neither, kIntersectNone.
// A segment ending exactly on the circle answers kIntersectOne where it crosses and kIntersectTouch where it
// only touches. out1 and out2 start as (0, 0, 0). a2 passes through IntersectSegments, which may snap it.
int IntersectSegmentCircle(const host::ge::Point3d& a1, host::ge::Point3d& a2, const host::ge::Point3d& centre,
                           const double& radius, host::ge::Point3d& out1, host::ge::Point3d& out2);

// Segment a1-a2 with the arc about `centre` from arcStart to arcEnd (points on the circle, counter-clockwise):
// the points of IntersectSegmentCircle that lie on the arc. The arc's start and end angles and the angle of each
// point (seen from the centre) are rounded to the 1e-11 grid; a point is on the arc when sA <= t <= eA for
// eA > sA, else when t >= sA or t <= eA, so equal start and end angles mean the whole circle. With two points on
// the circle and only the second on the arc, it is moved into out1.
int IntersectSegmentArc(const host::ge::Point3d& a1, host::ge::Point3d& a2, const host::ge::Point3d& centre,
                        const double& radius, const host::ge::Point3d& arcStart, const host::ge::Point3d& arcEnd,
                        host::ge::Point3d& out1, host::ge::Point3d& out2);

// Two circles, in the plane: d = the distance of the centres (exact for centres on a common horizontal or
// vertical).
//   d > r1 + r2, or |r1 - r2| > d           kIntersectNone (one circle inside the other, or apart);
//   centres and radii equal                 kIntersectNone: coincident circles share every point, no single ones;
//   d = r1 + r2 exactly                     kIntersectOne, out1 = the outer touching point;
//   otherwise                               kIntersectTwo, out1 at phi + alpha and out2 at phi - alpha seen from
//                                           c1 (phi the direction c1 -> c2, alpha = acos of the cosine rule).
// An inner touch gives two equal points. The cosine is clamped to [-1, 1]: circles that touch up to rounding
// gave NaN points without it, which made them differ from every point.
int IntersectCircles(const host::ge::Point3d& c1, const double& r1, const host::ge::Point3d& c2, const double& r2,
                     host::ge::Point3d& out1, host::ge::Point3d& out2);

// The arc about `arcCentre` from startAngle to endAngle (radians) with a whole circle: the IntersectCircles
// points whose angle seen from the arc's centre lies on the arc (start <= t <= end for end >= start, else
// t >= start or t <= end; inclusive, unrounded; equal start and end mean that single angle). One circle point
// (an outer touch) answers kIntersectTouch when it lies on the arc; with two, the count of those on the arc,
// the second moved into out1 when only it counts.
int IntersectArcCircle(const host::ge::Point3d& arcCentre, const double& arcRadius, double startAngle,
                       double endAngle, const host::ge::Point3d& circleCentre, const double& circleRadius,
                       host::ge::Point3d& out1, host::ge::Point3d& out2);

// Two arcs: as IntersectArcCircle, a point counting when it lies on both arcs.
int IntersectArcs(const host::ge::Point3d& c1, const double& r1, double s1, double e1, const host::ge::Point3d& c2,
                  const double& r2, double s2, double e2, host::ge::Point3d& out1, host::ge::Point3d& out2);
