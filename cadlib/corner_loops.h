// Loops on sharp corners: the cutting path runs past a corner into the scrap, turns, and comes back onto the
// corner from the other side.
//
// Terms, for the corner V at the start of the segment the path is about to cut:
//   d_prev, d_next   the directions in which the segments before and after V (in vertex order) leave V
//                    (GetSegmentDirectionAtPoint, so arcs use their tangents);
//   E1, overshoot    the end of the extension that continues the arriving segment beyond V;
//   E2, back point   the end of the extension of the segment about to be cut, taken backward beyond V;
//   L1, L2           with a loop radius, the centres of the arcs next to E1 and E2;
//   T1, T2           the ends of the straight piece between the arcs (their outer common tangent).
// In the order of travel the loop is: V straight on to E1, the arc about L1 between E1 and T1, the straight
// piece T1-T2, the arc about L2 between T2 and E2, and straight from E2 back to V. Without arcs the path goes
// from E1 straight to E2. Each arc runs counter-clockwise from its first point to its second.
#pragma once

#include "host/db/entities.h"
#include "host/ge/point.h"

// The placement of a contour: the part lies inside an outer contour, outside an inner one (any other value).
inline constexpr int kOuterContour = 1;

// Loop settings the cutting-path module starts from.
inline constexpr double kDefaultLoopAngle = 100.0;  // degrees
inline constexpr double kDefaultLoopLength = 6.0;
inline constexpr double kDefaultLoopRadius = 0.0;

// The loop at one corner of a closed contour polyline. Answers 1 when a loop is made, 0 when none is.
//
//   polyline         the closed contour (open for read)
//   referenceA       no loop at a corner equal to it in x and y exactly (the path's start point)
//   referenceB       with startIndex -1 and referenceA equal to it in x and y exactly, no loop at all
//   placement        kOuterContour, or any other value for an inner contour
//   segment          i, the segment the path is about to cut
//   reverse          0: the path runs in vertex order and V is vertex i; else it runs against vertex order and V
//                    is vertex i+1 (vertex 0 after the last)
//   angleLimit       degrees: a loop is made only when the corner's angle on the part's side is at most this
//   extension        the length of the two extensions; loopRadius: the arcs' radius (0 or less: none)
// Outputs: radiusUsed is set to 0 first in every case, then R (or R/2) when arcs are made. When a loop is made,
// corner and cornerAgain get V, overshoot E1, back E2, straightStart and straightEnd E1 and E2 (T1 and T2 with
// arcs); the centres and arc points only with arcs. Outputs a case does not produce are left as they were.
//
// The part's side of the corner is found by probing the point 0.01 from V along the bisector of d_prev and
// d_next with IsPointOutsidePolyline. With 4R beyond the distance E1-E2 the arcs are built with R/2, and when
// that distance is at most 2R no arcs are built (radiusUsed 0).
int BuildCornerLoop(const host::db::LwPolyline& polyline, const host::ge::Point3d& referenceA,
                    const host::ge::Point3d& referenceB, int placement, int startIndex, int segment, int reverse,
                    double angleLimit, double extension, double loopRadius, double& radiusUsed,
                    host::ge::Point3d& corner, host::ge::Point3d& overshoot, host::ge::Point3d& centre1,
                    host::ge::Point3d& arc1First, host::ge::Point3d& arc1Second, host::ge::Point3d& straightStart,
                    host::ge::Point3d& straightEnd, host::ge::Point3d& centre2, host::ge::Point3d& arc2First,
                    host::ge::Point3d& arc2Second, host::ge::Point3d& back, host::ge::Point3d& cornerAgain);
