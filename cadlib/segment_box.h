// Box tests of the plane geometry: two boxes that overlap, and a point inside the box of a segment on a grid.
#pragma once

#include "host/ge/point.h"

// Steps per unit of the grid the segment box test rounds coordinates to (1e-5): a crossing computed a rounding
// error outside a segment's box, as crossings at a segment's end are, still counts as inside.
inline constexpr long long kSegmentBoxGrid = 100000;

// 0 when the boxes are apart (minX2 > maxX1, minX1 > maxX2, minY2 > maxY1 or minY1 > maxY2), else 1: boxes that
// touch overlap.
int BoxesOverlap(double minX1, double minY1, double maxX1, double maxY1, double minX2, double minY2, double maxX2,
                 double maxY2);

// 1 when q lies in the axis-parallel box of p1 and p2, bounds included, after every coordinate is rounded to
// the 1e-5 grid (RoundToFraction); else 0. Only x and y count.
int IsPointInSegmentBox(const host::ge::Point3d& p1, const host::ge::Point3d& p2, const host::ge::Point3d& q);
