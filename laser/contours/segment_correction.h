// Repairs of lightweight polylines that come from other systems: closing nearly closed ones, removing tiny arc
// segments, straightening flat arcs, and dropping vertices of nearly straight runs.
#pragma once

#include <cstdint>

#include "host/db/entities.h"

// Printing of the big-radius report by CorrectPolylineSegments.
inline constexpr int kCorrectionSilent = 0;
inline constexpr int kCorrectionPrintBigRadius = 1;

// Arcs of a larger radius that survive the correction are reported when printing is asked for: a radius this
// large in a part drawing is usually an almost straight piece that a converter wrote as an arc.
inline constexpr double kBigArcRadius = 1000.0;

// Turns of at most this many radians to the left still count as "straight on" in SmoothPolyline (about 11.5
// degrees).
inline constexpr double kSmoothTurnLimit = 0.2;

// Corrects the polyline (open for write) in place; it is left open for the caller to close.
//  1. An open polyline whose first and last vertices lie within AutoConnectDist of each other in x and in y
//     (inclusive) gets its last vertex moved onto the first and is marked closed.
//  2. With `status` 0 nothing more happens. Otherwise the segments are walked from 0 with a sum of removed
//     lengths: an arc segment shorter than `minSize` is removed (its vertex goes, its neighbours meet) and its
//     length added to the sum, and further arcs are removed while the sum plus their length stays within
//     `minSize`; the arc that would pass it stays and clears the sum. An arc not removed whose height value
//     |bulge| * r / 2 is at most `minHeight` becomes straight. Straight segments are passed over.
//  3. With `printFlag` kCorrectionPrintBigRadius, an arc that stays and has a radius above kBigArcRadius is
//     reported on the command line with its ends and centre.
void CorrectPolylineSegments(host::db::LwPolyline& polyline, std::uint8_t status, double minSize, double minHeight,
                             int printFlag);

// Smooths the polyline (open for write) in place, unless `enable` is 0:
//  1. every arc segment whose chord is at most `minSize`, or whose height over its chord |bulge * chord / 2| is at
//     most `maxDeviation`, becomes straight;
//  2. from each vertex i that starts a straight segment, the run to the farthest vertex J is found whose inner
//     vertices all lie within `maxDeviation` of the line i-J (or the run is shorter than `minSize`) and turn left
//     by less than kSmoothTurnLimit; the inner vertices are removed. A turn to the right of any size ends a run,
//     and so does a vertex that starts an arc. The walk does not wrap around the end of a closed polyline.
void SmoothPolyline(host::db::LwPolyline& polyline, std::uint8_t enable, double minSize, double maxDeviation);
