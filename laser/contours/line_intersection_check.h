// The line-intersection check of contour creation: drawn lines, arcs and circles that cross each other away from
// their end points, found by a pairwise scan and kept for the intersection browser.
//
// What counts: a point common to two pieces that lies at least 0.0001 away in x or y from each of the four end
// points of the two (a circle's "ends" are its point at angle 0). So pieces that meet end to end, and a T where
// one piece ends on the other, are not reported; two collinear lines that overlap are not reported either (the
// segment test has no single point for them); a tangent point is reported like a crossing.
#pragma once

#include <cstdint>
#include <vector>

#include "host/db/ids.h"
#include "laser/contours/contour_records.h"

// One crossing found.
struct IntersectionPair {
    std::uint32_t firstIndex = 0;   // table index of the first piece (the one the browser's key 1 takes)
    std::uint32_t secondIndex = 0;  // table index of the second piece
    host::db::EntityName firstName;
    host::db::EntityName secondName;
    double crossingX = 0.0, crossingY = 0.0;
    double nearestEndDistance = 0.0;  // from the crossing to the nearest of the four end points (3D)
};

// Most pairs the table holds; a scan that finds more keeps the first ones in scan order and says so.
inline constexpr std::size_t kIntersectionPairCapacity = 800;
// Below this many pieces the scan runs on the calling thread.
inline constexpr int kParallelScanThreshold = 1000;
// Grid steps per unit of the test against end points: crossings closer than 0.0001 in x and y to an end are ends.
inline constexpr int kCrossingEndPrecision = 10000;

// The pairs of the last scan and the drawing they were found in (its serial number; 0 before any scan). The
// browser works only on that drawing.
struct IntersectionPairTable {
    std::vector<IntersectionPair> pairs;  // at most kIntersectionPairCapacity
    std::uint64_t drawingSerial = 0;
    bool overflowed = false;              // the last scan found more than the table holds
};

// The module's one table; kept between commands.
IntersectionPairTable& IntersectionPairs();

// Whether a piece takes part in the scan: lines, arcs and circles whose kind is none of NoCloseLine, EngraveLine,
// 5 to 21, EngraveAndMarkLine and MarkLine.
bool TakesPartInCrossingScan(const ContourEntity& piece);

// Compares piece i (its box given) with every later taking-part piece and appends the crossings, in the order
// j ascending, first point before second. Pairs beyond `limit` in `out` are not appended; answers false when any
// was left out.
bool FindEntityCrossings(const ContourEntityStage& stage, int i, double minX, double minY, double maxX, double maxY,
                         std::vector<IntersectionPair>& out, std::size_t limit);

// The pairwise scan of the whole table into `table` (emptied first, and marked as belonging to the working
// drawing). Below kParallelScanThreshold pieces it runs on the calling thread; otherwise an OpenMP loop with
// dynamic adjustment off, the default number of threads and a static division of the pieces, after which the
// caller's thread settings are as they were. The pairs come out in the same order however many threads run:
// ascending first piece, then second piece, then first point before second.
void ScanEntityCrossings(const ContourEntityStage& stage, IntersectionPairTable& table);

// The creation-mode check: scans, and when pairs are found shows the error box; prints the number of pieces and
// pairs; with none, prints that there are no intersections, counts a change of the current drawing's job and
// writes it. Answers the number of pairs (creation stops when it is not 0).
int CheckLineIntersectionsOnCreation(ContourEntityStage& stage = ContourEntities(),
                                     IntersectionPairTable& table = IntersectionPairs());
