// Bounding boxes of circle contours and of chains of lines and arcs.
#include "nesting/geometry/contour_box.h"

#include <algorithm>
#include <cmath>

#include "cadlib/angles.h"
#include "nesting/geometry/contour_kernel.h"

using host::ge::Point2d;

namespace {

void includePoint(BoundingBox& box, const Point2d& p) {
    box.minX = std::min(box.minX, p.x);
    box.minY = std::min(box.minY, p.y);
    box.maxX = std::max(box.maxX, p.x);
    box.maxY = std::max(box.maxY, p.y);
}

// Whether the counter-clockwise arc from a1 to a2 passes angle x; with a2 <= a1 the arc runs through 0.
bool arcPasses(double a1, double a2, double x) {
    if (a2 > a1) return a1 <= x && x <= a2;
    return x >= a1 || x <= a2;
}

// Widens the box by the points at 0, pi/2, pi and 3*pi/2 that the arc from the angle of Start to the angle of
// End passes.
void includeArcExtremes(BoundingBox& box, const ContourElement& e) {
    const double a1 = GetDirectionAngle(e.Centre, e.Start);
    const double a2 = GetDirectionAngle(e.Centre, e.End);
    if (arcPasses(a1, a2, 0.0)) box.maxX = std::max(box.maxX, e.Centre.x + e.Radius);
    if (arcPasses(a1, a2, cadlib::kHalfPi)) box.maxY = std::max(box.maxY, e.Centre.y + e.Radius);
    if (arcPasses(a1, a2, cadlib::kPi)) box.minX = std::min(box.minX, e.Centre.x - e.Radius);
    if (arcPasses(a1, a2, 3.0 * cadlib::kHalfPi)) box.minY = std::min(box.minY, e.Centre.y - e.Radius);
}

}  // namespace

void ComputeContourBox(const Contour& contour, BoundingBox& box) {
    if (contour.Elements.empty()) {
        box = BoundingBox::Empty();
        return;
    }
    const ContourElement& first = contour.Elements.front();
    if (first.Type == kElementCircle) {
        box = BoundingBox{first.Centre.x - first.Radius, first.Centre.y - first.Radius, first.Centre.x + first.Radius,
                          first.Centre.y + first.Radius};
        return;
    }
    BoundingBox grown{first.Start.x, first.Start.y, first.Start.x, first.Start.y};
    for (const ContourElement& e : contour.Elements) {
        includePoint(grown, e.Start);
        includePoint(grown, e.End);
    }
    for (const ContourElement& e : contour.Elements) {
        // Only circular elements bulge past their ends; other element codes (lines, moves of imported programs)
        // have no centre to speak of.
        if (e.Type == kElementArc || e.Type == kElementCircle) includeArcExtremes(grown, e);
    }
    box = grown;
}

void ComputeElementBox(const ContourElement& e, BoundingBox& box) {
    if (e.Type == kElementCircle) {
        box = BoundingBox{e.Centre.x - e.Radius, e.Centre.y - e.Radius, e.Centre.x + e.Radius, e.Centre.y + e.Radius};
        return;
    }
    box = BoundingBox{e.Start.x, e.Start.y, e.Start.x, e.Start.y};
    includePoint(box, e.End);
    if (e.Type == kElementArc) includeArcExtremes(box, e);
}

BoundingBox ElementReachBox(const ContourElement& e, double margin) {
    if (e.Type == kElementLine) {
        return BoundingBox{std::min(e.Start.x, e.End.x) - margin, std::min(e.Start.y, e.End.y) - margin,
                           std::max(e.Start.x, e.End.x) + margin, std::max(e.Start.y, e.End.y) + margin};
    }
    const double reach = std::fabs(e.Radius) + margin;
    return BoundingBox{e.Centre.x - reach, e.Centre.y - reach, e.Centre.x + reach, e.Centre.y + reach};
}

bool BoxesApart(const BoundingBox& a, const BoundingBox& b) {
    return b.minX > a.maxX || a.minX > b.maxX || b.minY > a.maxY || a.minY > b.maxY;
}
