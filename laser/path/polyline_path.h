// The path group of a polyline contour once its leads are planned: rapid and lead-in, every segment from the
// start in the cut direction with jumper gaps where jumper points lie on it and loops at sharp corners, and the
// lead-out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/ge/point.h"
#include "laser/contours/contour_records.h"
#include "laser/path/lead_plan.h"

struct CuttingJob;
class CLaserSettings;

// Jumper points one contour takes at most, and gaps one piece of it takes at most; beyond, the user is told and
// the rest are cut through.
inline constexpr std::size_t kMaxJumperPointsPerContour = 500;
inline constexpr std::size_t kMaxJumperGapsPerPiece = 100;

// One gap on the piece of contour being written: the cut leaves the contour at gapStart into the scrap, crosses
// to gapLeadInStart as a rapid and comes back onto the contour at gapEnd.
struct JumperGap {
    host::ge::Point3d jumperPoint;
    double jumperAngle = 0.0;      // arcs: angle of the gap's centre about the arc centre
    double distanceAlong = 0.0;    // from the piece's start along the travel
    host::ge::Point3d gapStart;
    host::ge::Point3d gapLeadOutEnd;
    host::ge::Point3d gapLeadInStart;
    host::ge::Point3d gapEnd;
};

// The contour the gaps are cut into, as the gap builders need it.
struct GapContour {
    std::uint64_t handle = 0;
    std::uint8_t shape = kShapePolyline;
    std::uint8_t placement = kPlacementOuter;
};

// The gap lengths: width across the gap and the short cuts out of and back into the contour.
struct GapSizes {
    double width = 0.0;
    double leadOut = 0.0;
    double leadIn = 0.0;
};

// The positions of the jumper points (kind 7 records) attached to contour `contourIndex`, when UseJamper is 1;
// at most kMaxJumperPointsPerContour (the user is told of the rest).
std::vector<host::ge::Point3d> CollectJumperPoints(const CuttingJob& job, const CLaserSettings& settings,
                                                   int contourIndex);

// The gaps of the straight piece p0-p1, sorted along it: a point belongs to the piece when it lies on it. The
// short cuts point into the scrap. A gap within its width of the piece's end is moved to end half a width before
// it. None when the width is 0.
std::vector<JumperGap> JumperGapsOnLine(const host::ge::Point3d& p0, const host::ge::Point3d& p1,
                                        const std::vector<host::ge::Point3d>& jumperPoints, const GapContour& contour,
                                        const GapSizes& sizes);

// The gaps of the arc piece from `start` to `end` about `centre`, counter-clockwise for a positive bulge.
std::vector<JumperGap> JumperGapsOnArc(const host::ge::Point3d& start, const host::ge::Point3d& end,
                                       const host::ge::Point3d& centre, double bulge,
                                       const std::vector<host::ge::Point3d>& jumperPoints, const GapContour& contour,
                                       const GapSizes& sizes);

// The sort order of gaps: ascending distanceAlong.
bool CompareJumperGaps(const JumperGap& a, const JumperGap& b);

// Writes the group of polyline contour plan.contourIndex from the plan (start, start segment, direction, side,
// lead lengths and ends). The description's end point is where the contour cut ends, not the lead-out's end.
// Answers 0.
int WritePolylinePath(CuttingJob& job, CLaserSettings& settings, const LeadInPlan& plan);
