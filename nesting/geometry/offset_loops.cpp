// Marking the pieces of a raw offset that come closer to the source than the offset distance.
#include <algorithm>
#include <cmath>
#include <span>

#include "cadlib/angles.h"
#include "cadlib/numbers.h"
#include "nesting/geometry/contour_box.h"
#include "nesting/geometry/contour_kernel.h"
#include "nesting/geometry/element_intersections.h"
#include "nesting/geometry/offset_steps.h"

using host::ge::Point2d;

namespace {

// Whether some element of the source meets the circle of radius r about p.
bool nearSource(const Contour& sourceCopy, const Point2d& p, double r) {
    // Elements whose boxes lie apart from the circle's cannot meet it; the margin outgrows the tests' grids.
    constexpr double kMargin = 1e-4;
    const BoundingBox circle{p.x - r - kMargin, p.y - r - kMargin, p.x + r + kMargin, p.y + r + kMargin};
    for (const ContourElement& e : sourceCopy.Elements) {
        if (BoxesApart(circle, ElementReachBox(e, kMargin))) continue;
        if (IsElementClearOfCircle(e, p, r) == 0) return true;
    }
    return false;
}

double normalized(double a) {
    NormalizeAngle(a);
    return a;
}

Point2d pointOnArc(const ContourElement& arc, double angle) {
    Point2d p;
    PolarPoint(arc.Centre, normalized(angle), arc.Radius, p);
    return p;
}

double recordParam(const ContourElement& e, const Point2d& point) {
    if (e.Type == kElementLine) return GetDistance(e.Start, point);
    const double a = GetDirectionAngle(e.Centre, point);
    return normalized(RunsBackward(e) ? e.EndAngle - a : a - e.StartAngle);
}

}  // namespace

int IsElementClearOfCircle(const ContourElement& e, const Point2d& p, double r) {
    Point2d x1, x2;
    if (e.Type == kElementLine) return SegmentCircleIntersection(e.Start, e.End, p, r, x1, x2) == kNoPoint ? 1 : 0;
    if (e.Type == kElementArc) {
        return ArcCircleIntersection(e.Centre, e.Radius, e.StartAngle, e.EndAngle, p, r, x1, x2) == kNoPoint ? 1 : 0;
    }
    return 1;
}

bool CrossingOrder(const OffsetCrossing& a, const OffsetCrossing& b) {
    if (a.ElementIndex != b.ElementIndex) return a.ElementIndex < b.ElementIndex;
    return a.Param < b.Param;
}

void CutOffsetLoops(OffsetWorkspace& state, const Contour& raw, const Contour& sourceCopy, double distance,
                    int unit) {
    const double clearance =
        unit == kUnitInches ? kOffsetPieceClearance / kMillimetresPerInch : kOffsetPieceClearance;
    const double radius = distance - clearance;
    const std::size_t count = static_cast<std::size_t>(state.OffsetPieceCount);
    if (count == 0) return;
    const auto records = std::span<OffsetCrossing>(state.OffsetPieces.data(), count);
    for (OffsetCrossing& record : records) {
        record.BeforeValid = record.AfterValid = record.Available = 1;
        record.Param = recordParam(raw.Elements[static_cast<std::size_t>(record.ElementIndex)], record.Point);
    }
    // Stable, so that records of one point on one element keep the order in which they were found.
    std::stable_sort(records.begin(), records.end(), CrossingOrder);
    for (OffsetCrossing& record : records) {
        if (nearSource(sourceCopy, record.Point, radius)) record.BeforeValid = record.AfterValid = 0;
    }
    for (std::size_t i = 0; i < count; ++i) {
        OffsetCrossing& record = records[i];
        if (record.BeforeValid == 0 && record.AfterValid == 0) continue;
        const ContourElement& e = raw.Elements[static_cast<std::size_t>(record.ElementIndex)];
        const OffsetCrossing& previous = records[(i + count - 1) % count];
        const OffsetCrossing& next = records[(i + 1) % count];
        const double a = e.Type == kElementArc ? GetDirectionAngle(e.Centre, record.Point) : 0.0;
        const bool backward = RunsBackward(e);

        Point2d before = LogicalStart(e);
        if (previous.ElementIndex == record.ElementIndex && &previous != &record) {
            const double h = std::fabs(record.Param - previous.Param) / 2.0;
            if (e.Type == kElementLine) {
                PolarPoint(record.Point, e.EndAngle, h, before);
            } else {
                before = pointOnArc(e, backward ? a + h : a - h);
            }
        }
        if (nearSource(sourceCopy, before, radius)) record.BeforeValid = 0;

        Point2d after = LogicalEnd(e);
        if (next.ElementIndex == record.ElementIndex && &next != &record) {
            if (e.Type == kElementLine) {
                PolarPoint(record.Point, e.StartAngle, GetDistance(record.Point, next.Point) / 2.0, after);
            } else {
                const double h = std::fabs(next.Param - record.Param) / 2.0;
                after = pointOnArc(e, backward ? a - h : a + h);
            }
        }
        if (nearSource(sourceCopy, after, radius)) record.AfterValid = 0;
    }
}
