// Box relation, point location by ray parity, and the relation of two contours with its element-pair scan.
#include "nesting/geometry/contour_relation.h"

#include <omp.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>

#include "cadlib/angles.h"
#include "nesting/geometry/contour_box.h"
#include "nesting/geometry/contour_kernel.h"
#include "nesting/geometry/element_intersections.h"

using host::ge::Point2d;

namespace {

// The ray angle sequence: each step adds kRayStepBase + kRayStepGrowth * k, k running 1 ... kRayStepCycle.
constexpr double kRayStepBase = 0.008;
constexpr double kRayStepGrowth = 0.001;
constexpr int kRayStepCycle = 15;

constexpr int kFlagNone = 0;
constexpr int kFlagCrossing = static_cast<int>(ContourRelation::Crossing);
constexpr int kFlagTangent = static_cast<int>(ContourRelation::Tangent);

bool coincide(const Point2d& a, const Point2d& b) { return PointsDiffer(a, b, kLocateEndGrid) == 0; }

// The outcome of one ray: a crossing count, or a dropped ray, or the point found on an element end.
enum class RayOutcome { Counted, Dropped, OnEnd };

RayOutcome castRay(const Point2d& p, double phi, const Contour& contour, int& crossings) {
    Point2d rayEnd;
    PolarPoint(p, phi, kLocateRayLength, rayEnd);
    crossings = 0;
    Point2d q1, q2;
    for (const ContourElement& e : contour.Elements) {
        if (e.Type == kElementLine) {
            if (SegmentIntersection(p, rayEnd, e.Start, e.End, q1) != kOnePoint) continue;
            if (coincide(q1, e.Start)) return coincide(p, e.Start) ? RayOutcome::OnEnd : RayOutcome::Dropped;
            if (coincide(q1, e.End)) return coincide(p, e.End) ? RayOutcome::OnEnd : RayOutcome::Dropped;
            ++crossings;
            continue;
        }
        const int n = SegmentArcIntersection(p, rayEnd, e.Centre, e.Radius, e.Start, e.End, q1, q2);
        if (n == kNoPoint) continue;
        if (n == kTouchPoint) return RayOutcome::Dropped;
        const Point2d* hits[] = {&q1, &q2};
        for (int h = 0; h < (n == kTwoPoints ? 2 : 1); ++h) {
            for (const Point2d* end : {&e.Start, &e.End}) {
                if (coincide(*hits[h], *end)) return coincide(p, *end) ? RayOutcome::OnEnd : RayOutcome::Dropped;
            }
        }
        crossings += n;
    }
    return RayOutcome::Counted;
}

// The scan's rule for one pair: 0, kFlagCrossing or kFlagTangent.
int pairFlag(const ContourElement& a, const ContourElement& b) {
    Point2d x1, x2;
    int n = kNoPoint;
    switch (a.Type) {
    case kElementCircle:
        if (b.Type == kElementLine) {
            n = SegmentCircleIntersection(b.Start, b.End, a.Centre, a.Radius, x1, x2);
            if (n == kTouchPoint) return kFlagTangent;
        } else if (b.Type == kElementArc) {
            n = ArcCircleIntersection(b.Centre, b.Radius, b.StartAngle, b.EndAngle, a.Centre, a.Radius, x1, x2);
        }
        break;
    case kElementLine:
        if (b.Type == kElementCircle) {
            n = SegmentCircleIntersection(a.Start, a.End, b.Centre, b.Radius, x1, x2);
            if (n == kTouchPoint) return kFlagTangent;
        } else if (b.Type == kElementLine) {
            n = SegmentIntersection(a.Start, a.End, b.Start, b.End, x1);
        } else if (b.Type == kElementArc) {
            // A line of the contour under test touching an arc of the other counts as a crossing.
            n = SegmentArcIntersection(a.Start, a.End, b.Centre, b.Radius, b.Start, b.End, x1, x2);
            if (n == kTouchPoint) return kFlagCrossing;
        }
        break;
    case kElementArc:
        if (b.Type == kElementCircle) {
            n = ArcCircleIntersection(a.Centre, a.Radius, a.StartAngle, a.EndAngle, b.Centre, b.Radius, x1, x2);
        } else if (b.Type == kElementLine) {
            n = SegmentArcIntersection(b.Start, b.End, a.Centre, a.Radius, a.Start, a.End, x1, x2);
        } else if (b.Type == kElementArc) {
            n = ArcArcIntersection(a.Centre, a.Radius, a.StartAngle, a.EndAngle, b.Centre, b.Radius, b.StartAngle,
                                   b.EndAngle, x1, x2);
        }
        break;
    default: break;
    }
    return (n == kOnePoint || n == kTwoPoints) ? kFlagCrossing : kFlagNone;
}

// Pairs whose reach boxes lie apart cannot meet: the boxes are grown well beyond the grids on which the tests
// accept points, so skipping those pairs gives the answer of testing them. Most pairs of two contours that are
// near each other are ruled out this way at the cost of a few comparisons.
constexpr double kPairReachMargin = 1e-4;

bool mayMeet(const BoundingBox& reachA, const ContourElement& eb) {
    return !BoxesApart(reachA, ElementReachBox(eb, kPairReachMargin));
}

int scanSerial(const Contour& a, const Contour& b) {
    for (const ContourElement& ea : a.Elements) {
        const BoundingBox reachA = ElementReachBox(ea, kPairReachMargin);
        for (const ContourElement& eb : b.Elements) {
            if (!mayMeet(reachA, eb)) continue;
            const int flag = pairFlag(ea, eb);
            if (flag != kFlagNone) return flag;
        }
    }
    return kFlagNone;
}

// The parallel scan gives the serial answer: every worker publishes (A's index, flag) of its first hit into one
// atomic minimum, and stops as soon as a hit at a smaller index of A is known. Within one element of A the pairs
// run in B's order on one thread, so the hit kept for each index is the serial one.
int scanParallel(const Contour& a, const Contour& b) {
    constexpr std::int64_t kNoHit = std::numeric_limits<std::int64_t>::max();
    constexpr int kFlagBits = 4;
    std::atomic<std::int64_t> firstHit{kNoHit};
    const std::int64_t countA = static_cast<std::int64_t>(a.Elements.size());
    const std::size_t countB = b.Elements.size();
#pragma omp parallel for schedule(static)
    for (std::int64_t i = 0; i < countA; ++i) {
        const std::int64_t keyOfI = i << kFlagBits;
        if (firstHit.load(std::memory_order_relaxed) < keyOfI) continue;
        const ContourElement& ea = a.Elements[static_cast<std::size_t>(i)];
        const BoundingBox reachA = ElementReachBox(ea, kPairReachMargin);
        for (std::size_t j = 0; j < countB; ++j) {
            if (firstHit.load(std::memory_order_relaxed) < keyOfI) break;
            if (!mayMeet(reachA, b.Elements[j])) continue;
            const int flag = pairFlag(ea, b.Elements[j]);
            if (flag == kFlagNone) continue;
            const std::int64_t key = keyOfI | flag;
            std::int64_t seen = firstHit.load(std::memory_order_relaxed);
            while (key < seen && !firstHit.compare_exchange_weak(seen, key, std::memory_order_relaxed)) {
            }
            break;
        }
    }
    const std::int64_t hit = firstHit.load(std::memory_order_relaxed);
    return hit == kNoHit ? kFlagNone : static_cast<int>(hit & ((1 << kFlagBits) - 1));
}

// The start point of the element that samples a contour's middle: index (n - 1) / 2 + 1.
const Point2d& middleStart(const Contour& c) { return c.Elements[(c.Elements.size() - 1) / 2 + 1].Start; }

ContourRelation relateCircles(const ContourElement& a, const ContourElement& b) {
    const double d = GetDistance(a.Centre, b.Centre);
    const double ra = a.Radius, rb = b.Radius;
    if (d == 0.0 && ra == rb) return ContourRelation::Identical;
    if (d > ra + rb) return ContourRelation::Disjoint;
    if (d == ra + rb) return ContourRelation::TouchingOutside;
    if (ra >= rb) {
        if (ra >= rb + d) return rb + d == ra ? ContourRelation::ContainsTouching : ContourRelation::Contains;
        return ContourRelation::Crossing;
    }
    if (rb >= ra + d) return ra + d == rb ? ContourRelation::InsideTouching : ContourRelation::Inside;
    return ContourRelation::Crossing;
}

}  // namespace

ContourRelation RelateBoxes(double aMinX, double aMinY, double aMaxX, double aMaxY, double bMinX, double bMinY,
                            double bMaxX, double bMaxY) {
    if (bMinX > aMaxX || aMinX > bMaxX || bMinY > aMaxY || aMinY > bMaxY) return ContourRelation::Disjoint;
    ContourRelation candidate;
    if (bMinX >= aMinX && aMaxX >= bMaxX && bMinY >= aMinY && aMaxY >= bMaxY) {
        candidate = ContourRelation::Contains;
    } else if (aMinX >= bMinX && bMaxX >= aMaxX && aMinY >= bMinY && bMaxY >= aMaxY) {
        candidate = ContourRelation::Inside;
    } else {
        return ContourRelation::Crossing;
    }
    const bool sameMinX = aMinX == bMinX, sameMaxX = aMaxX == bMaxX;
    const bool sameMinY = aMinY == bMinY, sameMaxY = aMaxY == bMaxY;
    if (sameMinX && sameMaxX && sameMinY && sameMaxY) return ContourRelation::Identical;
    if (sameMinX || sameMaxX || sameMinY || sameMaxY) {
        return candidate == ContourRelation::Contains ? ContourRelation::ContainsTouching
                                                      : ContourRelation::InsideTouching;
    }
    return candidate;
}

ContourRelation RelateBoxes(const BoundingBox& a, const BoundingBox& b) {
    return RelateBoxes(a.minX, a.minY, a.maxX, a.maxY, b.minX, b.minY, b.maxX, b.maxY);
}

PointLocation LocatePointInContour(const Point2d& p, const Contour& contour) {
    if (contour.GeometryKind == kGeometryCircle) {
        if (contour.Elements.empty()) return PointLocation::Outside;
        const ContourElement& circle = contour.Elements.front();
        return GetDistance(p, circle.Centre) >= circle.Radius ? PointLocation::Outside : PointLocation::Inside;
    }
    double phi = 0.0;
    double turned = 0.0;
    int k = 1;
    // A contour whose elements all end within 1e-4 around the point drops every ray: after one full turn of
    // ray angles the point is taken as lying on the contour.
    while (true) {
        const double step = kRayStepBase + k * kRayStepGrowth;
        phi += step;
        turned += step;
        if (turned > cadlib::kTwoPi) return PointLocation::OnBoundary;
        if (++k > kRayStepCycle) k = 1;
        if (phi > cadlib::kTwoPi) phi -= cadlib::kTwoPi;
        int crossings = 0;
        switch (castRay(p, phi, contour, crossings)) {
        case RayOutcome::OnEnd: return PointLocation::OnBoundary;
        case RayOutcome::Dropped: continue;
        case RayOutcome::Counted: return crossings % 2 == 0 ? PointLocation::Outside : PointLocation::Inside;
        }
    }
}

bool AutomaticScanForks(const Contour& a, const Contour& b) {
    const long long pairs = static_cast<long long>(a.Elements.size()) * static_cast<long long>(b.Elements.size());
    return pairs >= kParallelScanMinPairs && !omp_in_parallel() && omp_get_max_threads() > 1;
}

int ScanElementPairs(const Contour& a, const Contour& b, ScanThreading threading) {
    const bool parallel = threading == ScanThreading::Parallel ||
                          (threading == ScanThreading::Automatic && AutomaticScanForks(a, b));
    return parallel ? scanParallel(a, b) : scanSerial(a, b);
}

ContourRelation RelateContours(const Contour& a, const Contour& b, ScanThreading threading) {
    if (&a == &b || a.Elements.empty() || b.Elements.empty()) return ContourRelation::Disjoint;
    if (a.Elements.front().Type == kElementCircle && b.Elements.front().Type == kElementCircle) {
        return relateCircles(a.Elements.front(), b.Elements.front());
    }
    const int flag = ScanElementPairs(a, b, threading);
    if (flag != kFlagNone) return static_cast<ContourRelation>(flag);

    const PointLocation l1 = LocatePointInContour(b.Elements.front().Start, a);
    if (l1 == PointLocation::OnBoundary) return ContourRelation::Crossing;
    if (b.Elements.size() >= 2) {
        const PointLocation l2 = LocatePointInContour(middleStart(b), a);
        if (l2 == PointLocation::OnBoundary || l2 != l1) return ContourRelation::Crossing;
    }
    if (l1 == PointLocation::Inside) return ContourRelation::Contains;

    const PointLocation m1 = LocatePointInContour(a.Elements.front().Start, b);
    if (m1 == PointLocation::OnBoundary) return ContourRelation::Crossing;
    if (a.Elements.size() >= 2) {
        const PointLocation m2 = LocatePointInContour(middleStart(a), b);
        if (m2 == PointLocation::OnBoundary || m2 != m1) return ContourRelation::Crossing;
    }
    return m1 == PointLocation::Outside ? ContourRelation::Disjoint : ContourRelation::Inside;
}
