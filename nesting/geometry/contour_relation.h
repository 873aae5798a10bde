// Relation of two contours or boxes, and of a point to a contour.
//
// Collision tests ask RelateBoxes first and RelateContours only for boxes that are not Disjoint. RelateContours
// tests every element pair of the two contours (in parallel for large contours), then decides containment by
// ray parity of sample points. Tolerances are fixed: element ends coincide within 1e-4.
#pragma once

#include "host/ge/point.h"
#include "nesting/model/contour.h"

// How contour (or box) A lies relative to B. The values are the codes the engine stores and compares.
enum class ContourRelation : int {
    Disjoint = 0,          // no common point; also A and B the same record
    Crossing = 1,          // the boundaries cross, overlap or touch, or the tests disagree
    TouchingOutside = 2,   // two circles touching from outside
    ContainsTouching = 3,  // circle B inside circle A touching it; box B inside box A with a common side
    InsideTouching = 4,    // circle A inside circle B touching it; box A inside box B with a common side
    Contains = 5,          // A contains B
    Inside = 6,            // A lies inside B
    Identical = 7,         // two equal circles; two equal boxes
    Tangent = 8,           // a line of one contour touches a circle element of the other
};

// Where a point lies relative to a contour.
enum class PointLocation : int {
    Inside = 0,
    Outside = 1,
    OnBoundary = -1,
};

// Whether the all-pairs element scan of RelateContours may fork a thread team. Automatic forks only for
// contours whose pair count pays for the fork, and never inside another parallel region. The answer is the
// same in every mode.
enum class ScanThreading {
    Automatic,
    Serial,
    Parallel,
};

// Pairs of elements (A's count times B's) from which the automatic scan forks. A pair that the box filter rules
// out costs a few nanoseconds and one that is intersected some twenty, while a thread team costs from ten
// microseconds on an idle machine to tens of milliseconds on a busy one, where its threads wait for a core: there
// six threads took 50 ms a call at any size up to 1,024 elements a contour against 0.3 ms (256) and 10 ms (1,024)
// serially, and drew level only at 4,096 elements (some 16 million pairs, 150 ms). Below that the scan runs
// serially.
inline constexpr long long kParallelScanMinPairs = 4096LL * 4096LL;

// Length of the test ray of LocatePointInContour, in drawing units.
inline constexpr double kLocateRayLength = 9999999.99;
// Grid on which the ray's hits are compared with element ends and with the point (steps of 1e-4).
inline constexpr double kLocateEndGrid = 1e4;

// Box A (aMinX ... aMaxY) against box B, all comparisons exact: Disjoint when apart (boxes that only touch are
// not apart); Contains when B lies in A and Inside when A lies in B, each becoming Identical when all four sides
// are equal or ContainsTouching / InsideTouching when some side is; Crossing otherwise.
ContourRelation RelateBoxes(double aMinX, double aMinY, double aMaxX, double aMaxY, double bMinX, double bMinY,
                            double bMaxX, double bMaxY);
ContourRelation RelateBoxes(const BoundingBox& a, const BoundingBox& b);

// Where p lies relative to the contour. A circle contour (GeometryKind 0): Outside when p is at least Radius from
// Centre (a point on the circle counts as outside), else Inside; never OnBoundary. A chain: the parity of the
// crossings of a long ray from p. A ray that hits an element end (within 1e-4) or touches an arc is dropped and
// the next ray angle is tried (angles 0.009, 0.019, 0.030, ... growing by 0.008 + 0.001 k, k = 1 ... 15); such a
// hit at p itself answers OnBoundary. After one full turn of ray angles without a clean ray the answer is
// OnBoundary (the point is then taken as lying on the contour). A point inside an element but not at its end
// counts as a crossing and comes out Inside or Outside by the ray.
PointLocation LocatePointInContour(const host::ge::Point2d& p, const Contour& contour);

// Tests every element of A against every element of B (circles against circles are not tested) and answers 0
// when none meet, 1 (Crossing) or 8 (Tangent): a line touching a circle gives 8, a line of A touching an arc of
// B gives 1, every other tangent point gives nothing. The first pair in the order (A's index, B's index) that
// meets decides, in every threading mode.
int ScanElementPairs(const Contour& a, const Contour& b, ScanThreading threading = ScanThreading::Automatic);
// Whether the automatic scan of A against B forks a thread team (from kParallelScanMinPairs pairs, outside any
// parallel region, with more than one thread).
bool AutomaticScanForks(const Contour& a, const Contour& b);

// How contour A (the one under test) lies relative to contour B; not symmetric. The same record: Disjoint. Two
// circle contours: by centre distance and radii (Identical, Disjoint, TouchingOutside, ContainsTouching,
// Contains, InsideTouching, Inside or Crossing). Otherwise the element scan's Crossing or Tangent when it finds
// one; else sample points: B's first and middle element starts located in A (on the boundary, or on different
// sides: Crossing; both inside: Contains), then A's in B (Disjoint when outside, Inside when inside, Crossing
// when the two disagree or one is on the boundary). A contour without elements is Disjoint from everything.
ContourRelation RelateContours(const Contour& a, const Contour& b,
                               ScanThreading threading = ScanThreading::Automatic);
