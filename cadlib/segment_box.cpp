// Box overlap and the point-in-segment-box test on the 1e-5 grid.
#include "cadlib/segment_box.h"

#include <algorithm>

#include "cadlib/numbers.h"

int BoxesOverlap(double minX1, double minY1, double maxX1, double maxY1, double minX2, double minY2, double maxX2,
                 double maxY2) {
    if (minX2 > maxX1 || minX1 > maxX2 || minY2 > maxY1 || minY1 > maxY2) return 0;
    return 1;
}

int IsPointInSegmentBox(const host::ge::Point3d& p1, const host::ge::Point3d& p2, const host::ge::Point3d& q) {
    auto grid = [](double v) { return RoundToFraction(v, kSegmentBoxGrid); };
    const double x1 = grid(p1.x), y1 = grid(p1.y), x2 = grid(p2.x), y2 = grid(p2.y);
    const double x = grid(q.x), y = grid(q.y);
    const bool inX = std::min(x1, x2) <= x && x <= std::max(x1, x2);
    const bool inY = std::min(y1, y2) <= y && y <= std::max(y1, y2);
    return inX && inY ? 1 : 0;
}
