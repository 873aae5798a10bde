// Intersections of the nesting engine's contour elements: segments, circles and counter-clockwise arcs.
//
// Every function writes only its output points and answers a count: kNoPoint, kOnePoint, kTwoPoints (points in
// out1 and out2) or kTouchPoint (one tangent point in out1). Comparisons are exact unless a grid is named: end
// points are tested on the 1e6 grid (segments) or the 1e7 grid (segment and circle), the segment-arc range test
// rounds angles to 1e-9. These tolerances belong to the engine and are not those of the CAD helper library.
#pragma once

#include "host/ge/point.h"
#include "nesting/model/contour.h"

// Grid of the end-point box test of the segment intersections.
inline constexpr double kSegmentGrid = 1e6;
// Grid of the end-point box test of the segment-circle intersection.
inline constexpr double kSegmentCircleGrid = 1e7;

// Segment p0p1 against segment p2p3; 0 or 1 with the point in out. The first rule that applies decides:
//  1. both vertical (dx = 0; also points): apart when p0.x != p2.x; else the first of p0, p1 (y within p2p3),
//     p2, p3 (y within p0p1) is the answer;
//  2. both horizontal: the same with x and y exchanged;
//  3. only the first horizontal, 4. only the second: the point on the other segment's line at that height;
//  5. parallel: apart unless both lie on one line; then the first of p2, p3 in the box of p0p1, p0, p1 in the
//     box of p2p3 (on the 1e6 grid);
//  6. otherwise the crossing of the two lines, y taken from the segment with the longer run, with x corrected
//     for nearly vertical segments (|dx/dy| < 1e-14).
// In 3, 4 and 6 the point is written to out and the answer is 1 when it lies in both segments' boxes on the 1e6
// grid; it stays in out when the answer is 0 (the segment-circle test uses it as the foot of a perpendicular).
int SegmentIntersection(const host::ge::Point2d& p0, const host::ge::Point2d& p1, const host::ge::Point2d& p2,
                        const host::ge::Point2d& p3, host::ge::Point2d& out);

// SegmentIntersection without the near-vertical correction of rule 6.
int SegmentIntersectionPlain(const host::ge::Point2d& p0, const host::ge::Point2d& p1, const host::ge::Point2d& p2,
                             const host::ge::Point2d& p3, host::ge::Point2d& out);

// Two circles; count 0, 1 or 2. Apart, one inside the other, or equal (same centre and radius > 0): 0. Touching
// from outside (d = r1 + r2 exactly): 1. Otherwise 2 points, at the angles theta +- acos(cosine rule) seen from
// c1; circles touching from inside give two equal points. The cosine is clamped to [-1, 1]: circles that touch
// up to rounding gave NaN points without it.
int CircleIntersection(const host::ge::Point2d& c1, double r1, const host::ge::Point2d& c2, double r2,
                       host::ge::Point2d& out1, host::ge::Point2d& out2);

// The arc about c with radius r from startAngle to endAngle (counter-clockwise; equal angles are the whole
// circle) against the circle (c2, r2): the points of CircleIntersection on the arc. One circle point gives
// kTouchPoint when it is on the arc; of two, the count on the arc, the second moved into out1 when only it counts.
int ArcCircleIntersection(const host::ge::Point2d& c, double r, double startAngle, double endAngle,
                          const host::ge::Point2d& c2, double r2, host::ge::Point2d& out1, host::ge::Point2d& out2);

// Two arcs: as ArcCircleIntersection, a point counting when it lies on both arcs.
int ArcArcIntersection(const host::ge::Point2d& c1, double r1, double s1, double e1, const host::ge::Point2d& c2,
                       double r2, double s2, double e2, host::ge::Point2d& out1, host::ge::Point2d& out2);

// Segment p0p1 against the circle (c, r). F is the foot of the perpendicular from c on the segment's line and d
// its distance from c: d > r gives 0; d = r gives kTouchPoint with F in out1 when F lies in the segment's box on
// the 1e7 grid, else 0; d < r gives the two points F +- h along the segment, counted as in
// ArcCircleIntersection by whether each lies in the segment's box. out1 and out2 start as (0, 0).
int SegmentCircleIntersection(const host::ge::Point2d& p0, const host::ge::Point2d& p1, const host::ge::Point2d& c,
                              double r, host::ge::Point2d& out1, host::ge::Point2d& out2);

// Segment p0p1 against the arc about c with radius r from the point arcStart to the point arcEnd
// (counter-clockwise): the points of SegmentCircleIntersection whose angle lies on the arc, all angles rounded
// to 1e-9 first, so a crossing at the arc's end counts even when its computed angle lies just beyond.
int SegmentArcIntersection(const host::ge::Point2d& p0, const host::ge::Point2d& p1, const host::ge::Point2d& c,
                           double r, const host::ge::Point2d& arcStart, const host::ge::Point2d& arcEnd,
                           host::ge::Point2d& out1, host::ge::Point2d& out2);

// Two elements of any types (circle, line, arc), dispatched by type; a line against a line uses
// SegmentIntersectionPlain. Any other type on either side gives 0.
int IntersectElements(const ContourElement& a, const ContourElement& b, host::ge::Point2d& out1,
                      host::ge::Point2d& out2);

// 1 when any line or arc element of the contour meets the line or arc element e (a tangent point counts), else 0.
// Circles on either side are not tested.
int ContourHitsElement(const Contour& contour, const ContourElement& e);
