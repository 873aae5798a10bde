// Joining the shifted elements of a raw offset, and finding where the raw offset crosses itself.
#include <algorithm>
#include <array>
#include <utility>
#include <vector>
#include <cmath>

#include "cadlib/angles.h"
#include "nesting/geometry/contour_box.h"
#include "nesting/geometry/contour_kernel.h"
#include "nesting/geometry/element_intersections.h"
#include "nesting/geometry/offset_steps.h"

using host::ge::Point2d;

namespace {

// Growth of the element boxes that rule out a pair before it is intersected: far more than the 1e-6 grid of
// the segment tests, plus the reach of the 1e-9 radian rounding of the segment-arc test on an arc's radius.
constexpr double kPairBoxMargin = 1e-4;
constexpr double kPairBoxArcShare = 1e-8;

bool takesPart(const ContourElement& e) { return e.Type >= kElementCircle && e.Type <= kElementArc; }

// Turns the placeholder J into a round joint of radius `distance` about the source vertex from P to Q.
void makeRoundJoint(ContourElement& joint, const ContourElement& shifted, const ContourElement& source,
                    const Point2d& p, const Point2d& q, double distance) {
    joint.Type = kElementArc;
    joint.Radius = distance;
    joint.Centre = LogicalEnd(source);
    joint.Start = p;
    joint.End = q;
    joint.StartAngle = GetDirectionAngle(joint.Centre, p);
    joint.EndAngle = GetDirectionAngle(joint.Centre, q);
    if (source.Type == kElementLine) {
        // T is the point the distance to the left of the shifted line's end. The vertex lies on the shifted
        // line's left (T then coincides with it) exactly when the offset went to the right: the joint turns
        // counter-clockwise there, and clockwise when the vertex is at least the distance away from T.
        Point2d t;
        PolarPoint(shifted.End, GetDirectionAngle(shifted.Start, shifted.End) + cadlib::kHalfPi, distance, t);
        joint.Reversed = GetDistance(joint.Centre, t) >= distance ? 1 : 0;
    } else {
        joint.Reversed = shifted.Reversed;
        if (!(std::max(shifted.Radius, distance) > GetDistance(joint.Centre, shifted.Centre))) {
            joint.Reversed = joint.Reversed == 1 ? 0 : 1;
        }
    }
    if (joint.Reversed == 1) {
        std::swap(joint.Start, joint.End);
        std::swap(joint.StartAngle, joint.EndAngle);
    }
}

void appendRecord(OffsetWorkspace& state, int element, int crossing, const Point2d& point) {
    if (state.OffsetPieceCount + 1 > static_cast<std::int32_t>(state.OffsetPieces.size())) {
        state.OffsetPieces.resize(state.OffsetPieces.size() + kOffsetPieceMargin);
    }
    OffsetCrossing& record = state.OffsetPieces[static_cast<std::size_t>(state.OffsetPieceCount++)];
    record = OffsetCrossing{};
    record.ElementIndex = element;
    record.CrossingId = crossing;
    record.Point = point;
}

void recordCrossing(OffsetWorkspace& state, int i, int j, int& crossing, const Point2d& point) {
    appendRecord(state, i, crossing, point);
    appendRecord(state, j, crossing, point);
    ++crossing;
}

// Whether x is the joint of some end of a with some end of b.
bool isCommonEnd(const ContourElement& a, const ContourElement& b, const Point2d& x) {
    for (const Point2d* ea : {&a.Start, &a.End}) {
        for (const Point2d* eb : {&b.Start, &b.End}) {
            if (DiffersFromJoint(*ea, *eb, x, kOffsetJointGrid) == 0) return true;
        }
    }
    return false;
}

}  // namespace

void JoinOffsetElements(OffsetWorkspace& /*state*/, Contour& raw, const Contour& sourceCopy, double distance) {
    const std::size_t m = sourceCopy.Elements.size();
    if (raw.Elements.size() != 2 * m || m == 0) return;
    for (std::size_t k = 0; k < m; ++k) {
        ContourElement& e = raw.Elements[2 * k];
        ContourElement& n = raw.Elements[(2 * k + 2) % (2 * m)];
        ContourElement& joint = raw.Elements[2 * k + 1];
        const ContourElement& source = sourceCopy.Elements[k];
        const Point2d p = LogicalEnd(e);
        const Point2d q = LogicalStart(n);
        if (PointsDiffer(p, q, kOffsetMeetGrid) == 0) continue;
        Point2d x1, x2;
        const int r = IntersectElements(e, n, x1, x2);
        if ((r == kOnePoint || r == kTouchPoint) && GetDistance(x1, p) <= kOffsetCutShare * distance &&
            GetDistance(x1, q) <= kOffsetCutShare * distance) {
            SetLogicalEnd(e, x1);
            SetLogicalStart(n, x1);
            continue;
        }
        if (PointsDiffer(p, q, kOffsetGapGrid) == 1) {
            makeRoundJoint(joint, e, source, p, q, distance);
        } else if (n.Type == kElementLine) {
            n.Start = p;
            SetLineAngles(n);
        } else if (e.Type == kElementLine) {
            e.End = q;
            SetLineAngles(e);
        }
    }
}

int FindOffsetSelfIntersections(OffsetWorkspace& state, const Contour& raw) {
    state.OffsetPieceCount = 0;
    int crossing = 0;
    const int count = static_cast<int>(raw.Elements.size());
    // Every pair is looked at, but only pairs whose grown boxes meet are intersected: the boxes are wider than
    // the grids on which the intersections accept their points, so the answer is that of testing every pair.
    std::vector<BoundingBox> boxes(raw.Elements.size());
    for (std::size_t k = 0; k < raw.Elements.size(); ++k) {
        const ContourElement& e = raw.Elements[k];
        ComputeElementBox(e, boxes[k]);
        const double margin = kPairBoxMargin + (e.Type == kElementLine ? 0.0 : kPairBoxArcShare * e.Radius);
        boxes[k] = BoundingBox{boxes[k].minX - margin, boxes[k].minY - margin, boxes[k].maxX + margin,
                               boxes[k].maxY + margin};
    }
    for (int i = 0; i < count; ++i) {
        const ContourElement& ei = raw.Elements[static_cast<std::size_t>(i)];
        if (!takesPart(ei)) continue;
        const BoundingBox& bi = boxes[static_cast<std::size_t>(i)];
        for (int j = i + 1; j < count; ++j) {
            const ContourElement& ej = raw.Elements[static_cast<std::size_t>(j)];
            if (!takesPart(ej)) continue;
            const BoundingBox& bj = boxes[static_cast<std::size_t>(j)];
            if (bj.minX > bi.maxX || bi.minX > bj.maxX || bj.minY > bi.maxY || bi.minY > bj.maxY) continue;
            Point2d x1, x2;
            if (ei.Type == kElementLine && ej.Type == kElementLine) {
                if (SegmentIntersection(ei.Start, ei.End, ej.Start, ej.End, x1) != kOnePoint) continue;
                if (DiffersFromJoint(ei.Start, ej.End, x1, kOffsetJointGrid) == 0 ||
                    DiffersFromJoint(ei.End, ej.Start, x1, kOffsetJointGrid) == 0) {
                    continue;
                }
                recordCrossing(state, i, j, crossing, x1);
                continue;
            }
            int n = kNoPoint;
            if (ei.Type == kElementLine && ej.Type == kElementArc) {
                n = SegmentArcIntersection(ei.Start, ei.End, ej.Centre, ej.Radius, ej.Start, ej.End, x1, x2);
            } else if (ei.Type == kElementArc && ej.Type == kElementLine) {
                n = SegmentArcIntersection(ej.Start, ej.End, ei.Centre, ei.Radius, ei.Start, ei.End, x1, x2);
            } else if (ei.Type == kElementArc && ej.Type == kElementArc) {
                n = ArcArcIntersection(ei.Centre, ei.Radius, ei.StartAngle, ei.EndAngle, ej.Centre, ej.Radius,
                                       ej.StartAngle, ej.EndAngle, x1, x2);
            }
            if (n == kNoPoint) continue;
            if (!isCommonEnd(ei, ej, x1)) recordCrossing(state, i, j, crossing, x1);
            if (n == kTwoPoints && !isCommonEnd(ei, ej, x2)) recordCrossing(state, i, j, crossing, x2);
        }
    }
    return state.OffsetPieceCount;
}
