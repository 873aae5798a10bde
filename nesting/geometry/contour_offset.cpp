// Offsetting circles and chains: the side of the offset, the raw offset, its steps, and the classes of results.
#include "nesting/geometry/contour_offset.h"

#include <cmath>

#include "cadlib/angles.h"
#include "cadlib/numbers.h"
#include "nesting/geometry/contour_box.h"
#include "nesting/geometry/contour_kernel.h"
#include "nesting/geometry/contour_relation.h"
#include "nesting/geometry/offset_steps.h"

using host::ge::Point2d;

namespace {

// Distance of the side test point from the first element.
constexpr double kSideTestDistance = 1e-5;

double normalized(double a) {
    NormalizeAngle(a);
    return a;
}

int offsetCircle(OffsetWorkspace& state, const Contour& src, int mode, bool outward, double distance) {
    const ContourElement& source = src.Elements.front();
    const double radius = outward ? source.Radius + distance : source.Radius - distance;
    if (radius < 0.0) return 0;
    Contour& entry = state.OffsetContours[0];
    entry = src;
    ContourElement circle = source;
    circle.Type = kElementCircle;
    circle.Radius = radius;
    // Start sits at angle 0 of the new radius: relations take it as the circle's sample point.
    circle.Start = circle.End = Point2d{circle.Centre.x + radius, circle.Centre.y};
    entry.Elements.assign(1, circle);
    entry.Box = BoundingBox{circle.Centre.x - radius, circle.Centre.y - radius, circle.Centre.x + radius,
                            circle.Centre.y + radius};
    entry.Area = CircleArea(radius);
    entry.ContourClass = mode == kOffsetInward ? kClassInner : kClassOuter;
    state.OffsetContourCount = 1;
    return 1;
}

// The normal angle of the offset, relative to the direction of travel: pi/2 (to the left) or 3*pi/2. A point
// just left of the first element is located in the contour; the offset goes left when that side is the side
// asked for.
bool offsetGoesLeft(const Contour& src, bool outward) {
    const ContourElement& first = src.Elements.front();
    Point2d t;
    if (first.Type == kElementLine) {
        const Point2d middle{(first.Start.x + first.End.x) / 2.0, (first.Start.y + first.End.y) / 2.0};
        PolarPoint(middle, first.StartAngle + cadlib::kHalfPi, kSideTestDistance, t);
    } else {
        double middleAngle = (first.StartAngle + first.EndAngle) / 2.0;
        if (first.EndAngle < first.StartAngle) middleAngle += cadlib::kPi;
        const double reach = first.Reversed == 1 ? first.Radius + kSideTestDistance : first.Radius - kSideTestDistance;
        PolarPoint(first.Centre, normalized(middleAngle), reach, t);
    }
    const PointLocation side = LocatePointInContour(t, src);
    return side == (outward ? PointLocation::Outside : PointLocation::Inside);
}

// The shifted copy of a line or arc. An arc whose radius would fall below zero turns over onto the other side
// of its centre.
ContourElement shiftElement(const ContourElement& e, double normal, bool left, double distance) {
    ContourElement shifted = e;
    if (e.Type == kElementLine) {
        PolarPoint(e.Start, e.StartAngle + normal, distance, shifted.Start);
        PolarPoint(e.End, e.StartAngle + normal, distance, shifted.End);
        return shifted;
    }
    double radius;
    if ((e.Reversed == 1) == left) {
        radius = e.Radius + distance;
    } else if (distance < e.Radius) {
        radius = e.Radius - distance;
    } else {
        radius = distance - e.Radius;
        shifted.Reversed = e.Reversed == 1 ? 0 : 1;
        shifted.StartAngle = normalized(e.EndAngle + cadlib::kPi);
        shifted.EndAngle = normalized(e.StartAngle + cadlib::kPi);
    }
    PolarPoint(e.Centre, shifted.StartAngle, radius, shifted.Start);
    PolarPoint(e.Centre, shifted.EndAngle, radius, shifted.End);
    shifted.Radius = radius;
    return shifted;
}

int offsetChain(OffsetWorkspace& state, const Contour& src, bool outward, double distance, int unit) {
    const bool left = offsetGoesLeft(src, outward);
    const double normal = left ? cadlib::kHalfPi : 3.0 * cadlib::kHalfPi;
    Contour raw;
    Contour sourceCopy;
    raw.GeometryKind = src.GeometryKind;
    sourceCopy.GeometryKind = src.GeometryKind;
    for (const ContourElement& e : src.Elements) {
        if (e.Type != kElementLine && e.Type != kElementArc) continue;
        sourceCopy.Elements.push_back(e);
        raw.Elements.push_back(shiftElement(e, normal, left, distance));
        ContourElement joint = e;
        joint.Type = kElementJointPlaceholder;
        raw.Elements.push_back(joint);
    }
    if (sourceCopy.Elements.empty()) return 0;
    JoinOffsetElements(state, raw, sourceCopy, distance);
    if (FindOffsetSelfIntersections(state, raw) > 0) CutOffsetLoops(state, raw, sourceCopy, distance, unit);
    return BuildOffsetContours(state, raw, sourceCopy, src, distance);
}

// Of several results of an outward offset, the one that encloses the others (or lies outside src) is the outer
// contour; the others are holes it leaves.
void classifyOuterResults(OffsetWorkspace& state, const Contour& src) {
    const int n = state.OffsetContourCount;
    std::vector<Contour>& entries = state.OffsetContours;
    for (int i = 0; i < n; ++i) {
        entries[static_cast<std::size_t>(i)].GeometryKind = kGeometryChain;
        entries[static_cast<std::size_t>(i)].ContourClass = 0;
    }
    int outer = -1;
    for (int i = 0; i < n && outer < 0; ++i) {
        for (int j = i + 1; j < n && outer < 0; ++j) {
            const ContourRelation r =
                RelateContours(entries[static_cast<std::size_t>(i)], entries[static_cast<std::size_t>(j)]);
            if (r == ContourRelation::Contains) {
                outer = i;
            } else if (r == ContourRelation::Inside) {
                outer = j;
            } else if (r == ContourRelation::Crossing &&
                       RelateContours(src, entries[static_cast<std::size_t>(j)]) == ContourRelation::Inside) {
                outer = j;
            }
        }
    }
    if (outer < 0 && RelateContours(src, entries[0]) == ContourRelation::Inside) outer = 0;
    for (int i = 0; i < n; ++i) {
        entries[static_cast<std::size_t>(i)].ContourClass = i == outer ? kClassOuter : kClassInner;
    }
}

}  // namespace

int OffsetContour(OffsetWorkspace& state, const Contour& src, int mode, double d, std::vector<Contour>& out,
                  int unit) {
    const bool outward = d > 0.0 ? mode == kOffsetOutward : mode != kOffsetOutward;
    const double distance = std::fabs(d);
    state.OffsetContourCount = 0;
    if (src.Elements.empty()) return 0;
    const bool circle = src.GeometryKind == kGeometryCircle;
    const int n = circle ? offsetCircle(state, src, mode, outward, distance)
                         : offsetChain(state, src, outward, distance, unit);
    if (n == 0) return 0;
    if (!circle) {
        if (mode == kOffsetOutward && n == 1) {
            state.OffsetContours[0].ContourClass = kClassOuter;
        } else if (mode == kOffsetOutward) {
            classifyOuterResults(state, src);
        } else {
            for (int i = 0; i < n; ++i) state.OffsetContours[static_cast<std::size_t>(i)].ContourClass = kClassInner;
        }
        for (int i = 0; i < n; ++i) {
            Contour& entry = state.OffsetContours[static_cast<std::size_t>(i)];
            ComputeContourBox(entry, entry.Box);
        }
    }
    out.assign(static_cast<std::size_t>(n), Contour{});
    for (int i = 0; i < n; ++i) {
        const Contour& entry = state.OffsetContours[static_cast<std::size_t>(i)];
        Contour& result = out[static_cast<std::size_t>(i)];
        result.Elements = entry.Elements;
        result.ContourClass = entry.ContourClass;
        result.Box = entry.Box;
        result.Area = circle ? entry.Area : 0.0;
        result.Colour = src.Colour;
        result.LineType = src.LineType;
        result.Layer = src.Layer;
        result.GeometryKind = src.GeometryKind;
        result.Owner = src.Owner;
        result.Open = src.Open;
        result.KindCode = src.KindCode;
    }
    return n;
}
