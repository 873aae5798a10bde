// Polyline editing: turning lines, arcs and splines into lightweight polylines, and joining polylines end to end.
#pragma once

#include <vector>

#include "host/db/database.h"

namespace host::ed {

// How a spline becomes a polyline: `precision` 0-99 (higher follows the curve more closely) and whether the
// pieces are arcs (PLINECONVERTMODE 1) or straight segments (PLINECONVERTMODE 0).
struct SplineConversion {
    static constexpr int kMaxPrecision = 99;
    int precision = 10;
    bool arcs = true;
};

// The number of points a spline is sampled at per knot span: two per piece, precision + 1 pieces. With the
// default precision 10 a span becomes 11 arcs (or 22 straight segments).
int splineSamplesPerSpan(const SplineConversion& conversion);

// Turns a line, an arc or a spline into a new lightweight polyline in its place. The polyline is a new object
// with a new handle, appended after the last entity of the source's block; it takes the source's layer, colour,
// line type, line-type scale, lineweight, visibility and extended data; the source is erased.
//   - a line becomes two vertices, an arc two vertices and the arc's bulge (a whole-circle arc two half
//     circles, closed), a spline its samples (closed when the spline is);
//   - NotApplicable for any other entity, and for a line that does not lie in a plane parallel to XY.
db::Status convertToPolyline(db::ObjectId entity, const SplineConversion& conversion, db::ObjectId* polyline);

struct JoinResult {
    // The polylines left after the join, in the order of the first member of each chain in the input.
    std::vector<db::ObjectId> polylines;
    int joined = 0;  // polylines joined onto others (and erased)
    int closed = 0;  // chains that closed
};

// Joins open lightweight polylines that meet end to end, as PEDIT's Join does. Ids that are not live open
// lightweight polylines are passed over (closed polylines are left as they are and not listed).
//   - Two ends meet when they are no farther apart than `fuzz` (and always when they are the same point under
//     the global tolerance); a gap wider than the tolerance and within the fuzz is bridged by a straight segment.
//     Polylines of another plane (normal or elevation) are not joined.
//   - Each chain grows from its base, the first polyline of the input not yet used. At the base's end the first
//     polyline in input order whose start or end meets it is added (turned round when its end meets), again and
//     again; then the same at the base's start. Where several polylines meet at one point the first in input
//     order is taken.
//   - The base keeps its handle, layer, colour, line type and direction: the result runs in the base's
//     direction and starts at the free start of the last polyline added before the base (or at the base's own
//     start). The polylines added are erased.
//   - A chain whose two ends meet, with at least two segments, is closed: its last vertex goes when it lies on
//     the first, the closing segment bridges the gap when it does not.
db::Status joinPolylines(const std::vector<db::ObjectId>& polylines, double fuzz, JoinResult* result = nullptr);

}  // namespace host::ed
