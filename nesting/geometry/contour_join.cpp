// Closing the small gaps between the elements of a loaded contour.
#include "nesting/geometry/contour_join.h"

#include <algorithm>

#include "nesting/geometry/contour_kernel.h"
#include "nesting/geometry/element_intersections.h"

using host::ge::Point2d;

namespace {

// Fits F's centre to its two ends after one of them moved, and sets its radius and angles from it.
void refitArcCentre(ContourElement& f) {
    const Point2d start = LogicalStart(f);
    const Point2d end = LogicalEnd(f);
    Point2d x1, x2;
    int n = CircleIntersection(start, f.Radius, end, f.Radius, x1, x2);
    if (n == kNoPoint) {
        f.Radius = std::max(GetDistance(f.Centre, start), GetDistance(f.Centre, end));
        n = CircleIntersection(start, f.Radius, end, f.Radius, x1, x2);
    }
    if (n == kTwoPoints) {
        f.Centre = GetDistance(x2, f.Centre) < GetDistance(x1, f.Centre) ? x2 : x1;
    } else {
        f.Centre = Point2d{(start.x + end.x) / 2.0, (start.y + end.y) / 2.0};
    }
    f.Radius = GetDistance(f.Centre, start);
    f.StartAngle = GetDirectionAngle(f.Centre, f.Start);
    f.EndAngle = GetDirectionAngle(f.Centre, f.End);
}

// Moves only the point: the callers set angles and centres themselves.
void movePoint(Point2d& target, const Point2d& p) {
    if (target != p) target = p;
}

}  // namespace

int JoinContourElements(std::span<Contour> contours, int i) {
    if (i < 0 || static_cast<std::size_t>(i) >= contours.size()) return 0;
    std::vector<ContourElement>& elements = contours[static_cast<std::size_t>(i)].Elements;
    if (elements.empty() || elements.front().Type == kElementCircle) return 0;
    for (ContourElement& e : elements) {
        if (e.Type == kElementLine) {
            SetLineAngles(e);
        } else if (e.Type == kElementArc) {
            e.Radius = (GetDistance(e.Centre, e.Start) + GetDistance(e.Centre, e.End)) / 2.0;
        }
    }
    const std::size_t count = elements.size();
    for (std::size_t k = 0; k < count; ++k) {
        ContourElement& e = elements[k];
        ContourElement& f = elements[(k + 1) % count];
        const bool eLine = e.Type == kElementLine, fLine = f.Type == kElementLine;
        if (!eLine && !fLine) {
            const Point2d joint = LogicalEnd(e);
            movePoint(RunsBackward(f) ? f.End : f.Start, joint);
            refitArcCentre(f);
        } else if (!eLine && fLine) {
            movePoint(f.Start, LogicalEnd(e));
            SetLineAngles(f);
        } else if (eLine && !fLine) {
            movePoint(e.End, LogicalStart(f));
            SetLineAngles(e);
        } else {
            movePoint(f.Start, e.End);
            SetLineAngles(f);
        }
    }
    return 0;
}
