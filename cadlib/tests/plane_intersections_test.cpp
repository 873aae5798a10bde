// Boxes, lines, segments, circles and arcs of the plane: counts, points, and the rounding grids at their ends.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "cadlib/angles.h"
#include "cadlib/arc_construction.h"
#include "cadlib/circle_intersections.h"
#include "cadlib/line_intersections.h"
#include "cadlib/segment_box.h"
#include "host/ge/angle.h"
#include "test_support.h"

namespace {

using cadlib::kHalfPi;
using cadlib::kPi;
using cadlib::testing::kDeg;
using cadlib::testing::PointNear;
using host::ge::Point3d;

TEST(SegmentBox, TouchingBoxesOverlapAndTheGridForgivesRounding) {
    EXPECT_EQ(BoxesOverlap(0, 0, 1, 1, 1, 1, 2, 2), 1);
    EXPECT_EQ(BoxesOverlap(0, 0, 1, 1, 1.1, 0, 2, 1), 0);
    EXPECT_EQ(BoxesOverlap(0, 0, 1, 1, 0, 1.1, 1, 2), 0);
    EXPECT_EQ(BoxesOverlap(0, 0, 4, 4, 1, 1, 2, 2), 1);

    EXPECT_EQ(IsPointInSegmentBox({0, 0, 0}, {1, 1, 0}, {0.5, 0.5, 0}), 1);
    EXPECT_EQ(IsPointInSegmentBox({1, 1, 0}, {0, 0, 0}, {1, 1, 0}), 1);            // bounds included
    EXPECT_EQ(IsPointInSegmentBox({0, 0, 0}, {1, 1, 0}, {1.000004, 0.5, 0}), 1);   // within the 1e-5 grid
    EXPECT_EQ(IsPointInSegmentBox({0, 0, 0}, {1, 1, 0}, {1.00001, 0.5, 0}), 0);
    EXPECT_EQ(IsPointInSegmentBox({0, 0, 0}, {1, 0, 0}, {0.5, 0, 99}), 1);         // z plays no part
}

TEST(LineIntersections, SlopeIntercept) {
    double intercept = 0, slope = 0;
    LineSlopeIntercept({0, 1, 0}, {2, 5, 0}, intercept, slope);
    EXPECT_DOUBLE_EQ(slope, 2);
    EXPECT_DOUBLE_EQ(intercept, 1);
    // A vertical line becomes a nearly horizontal one through its first point.
    LineSlopeIntercept({3, 0, 0}, {3, 5, 0}, intercept, slope);
    EXPECT_EQ(slope, 1e-14);
    EXPECT_DOUBLE_EQ(intercept, -3e-14);
}

TEST(LineIntersections, LinesByAngle) {
    struct Case {
        const char* name;
        Point3d p1;
        double a1;
        Point3d p2;
        double a2;
        int answer;
        Point3d out;
    };
    const Case cases[] = {
        {"30 and 150 degrees", {0, 0, 5}, 30 * kDeg, {10, 0, 5}, 150 * kDeg, kLinesCross, {5, 5 * std::tan(30 * kDeg), 0}},
        {"30 and 210 degrees", {0, 0, 0}, 30 * kDeg, {10, 0, 0}, 210 * kDeg, kLinesParallel, {}},
        {"30 and 30 degrees", {0, 0, 0}, 30 * kDeg, {10, 0, 0}, 30 * kDeg, kLinesParallel, {}},
        {"first vertical", {2, 0, 0}, 90 * kDeg, {0, 3, 0}, 0.0, kLinesCross, {2, 3, 0}},
        {"second vertical", {0, 0, 0}, 45 * kDeg, {4, 0, 0}, 270 * kDeg, kLinesCross, {4, 4, 0}},
        {"both vertical", {0, 0, 0}, 90 * kDeg, {4, 0, 0}, 270 * kDeg, kLinesParallel, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Point3d out{-7, -7, -7};
        ASSERT_EQ(IntersectLinesByAngle(c.p1, c.a1, c.p2, c.a2, out), c.answer);
        EXPECT_TRUE(PointNear(out, c.answer == kLinesCross ? c.out : Point3d{-7, -7, -7}, 1e-9));
    }
}

TEST(LineIntersections, Segments) {
    struct Case {
        const char* name;
        Point3d a1, a2, b1, b2;
        int answer;
        Point3d out;
    };
    const Case cases[] = {
        {"crossing inside both", {0, 0, 0}, {2, 2, 0}, {0, 2, 0}, {2, 0, 0}, kIntersectOne, {1, 1, 0}},
        {"common end point", {0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 1, 0}, kIntersectOne, {1, 0, 0}},
        {"crossing off one segment", {0, 0, 0}, {1, 1, 0}, {3, 0, 0}, {2, 1, 0}, kIntersectNone, {1.5, 1.5, 0}},
        {"parallel apart", {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, kIntersectNone, {0, 0, 0}},
        {"collinear, second inside first", {0, 0, 0}, {10, 0, 0}, {2, 0, 4}, {5, 0, 0}, kIntersectTwo, {2, 0, 4}},
        {"collinear, only b2 inside", {0, 0, 0}, {10, 0, 0}, {-3, 0, 0}, {5, 0, 0}, kIntersectTwo, {5, 0, 0}},
        {"collinear, first inside second", {2, 0, 0}, {5, 0, 0}, {0, 0, 0}, {10, 0, 0}, kIntersectNone, {0, 0, 0}},
        {"collinear apart", {0, 0, 0}, {1, 1, 0}, {2, 2, 0}, {3, 3, 0}, kIntersectNone, {0, 0, 0}},
        {"both vertical, overlapping", {0, 0, 0}, {0, 5, 0}, {0, 2, 0}, {0, 8, 0}, kIntersectTwo, {0, 2, 0}},
        {"both vertical, apart", {0, 0, 0}, {0, 5, 0}, {1, 0, 0}, {1, 5, 0}, kIntersectNone, {0, 0, 0}},
        {"vertical with sloped", {1, -1, 0}, {1, 3, 0}, {0, 0, 0}, {2, 2, 0}, kIntersectOne, {1, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Point3d a2 = c.a2, b2 = c.b2, out{9, 9, 9};
        EXPECT_EQ(IntersectSegments(c.a1, a2, c.b1, b2, out), c.answer);
        EXPECT_TRUE(PointNear(out, c.out, 1e-12));
    }
}

TEST(LineIntersections, NearlyVerticalSegmentIsSnappedThroughTheCallersPoint) {
    Point3d a2{1 + 1e-12, 10, 0}, b2{2, 5, 0}, out;
    EXPECT_EQ(IntersectSegments({1, 0, 0}, a2, {0, 5, 0}, b2, out), kIntersectOne);
    EXPECT_EQ(a2.x, 1.0);  // the caller's end point was moved onto x = 1
    EXPECT_EQ(b2.x, 2.0);
    EXPECT_TRUE(PointNear(out, {1, 5, 0}));
}

TEST(CircleIntersections, SegmentWithCircle) {
    const Point3d centre{0, 0, 0};
    const double r = 1.0;
    struct Case {
        const char* name;
        Point3d a1, a2;
        int answer;
        Point3d out1, out2;
    };
    const Point3d zero{0, 0, 0};
    const Case cases[] = {
        {"through the centre", {-2, 0, 0}, {2, 0, 0}, kIntersectTwo, {1, 0, 0}, {-1, 0, 0}},
        {"passing by", {-2, 2, 0}, {2, 2, 0}, kIntersectNone, zero, zero},
        {"tangent", {-2, 1, 0}, {2, 1, 0}, kIntersectTouch, {0, 1, 0}, zero},
        {"tangent line beside the segment", {2, 1, 0}, {3, 1, 0}, kIntersectNone, {0, 1, 0}, zero},
        {"ends on the circle, crossing", {2, 0, 0}, {1, 0, 0}, kIntersectOne, {1, 0, 0}, {1, 0, 0}},
        {"ends on the circle, touching", {1, -1, 0}, {1, 0, 0}, kIntersectTouch, {1, 0, 0}, zero},
        {"inside the circle", {-0.5, 0, 0}, {0.5, 0, 0}, kIntersectNone, zero, zero},
        {"from inside, first point", {0, 0, 0}, {2, 0, 0}, kIntersectOne, {1, 0, 0}, zero},
        {"from inside, going west", {-0.5, 0, 0}, {-2, 0, 0}, kIntersectOne, {-1, 0, 0}, zero},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Point3d a2 = c.a2, out1{9, 9, 9}, out2{9, 9, 9};
        EXPECT_EQ(IntersectSegmentCircle(c.a1, a2, centre, r, out1, out2), c.answer);
        EXPECT_TRUE(PointNear(out1, c.out1, 1e-12));
        if (c.answer == kIntersectTwo) {
            EXPECT_TRUE(PointNear(out2, c.out2, 1e-12));
        }
    }
}

TEST(CircleIntersections, SegmentWithArc) {
    const Point3d centre{0, 0, 0};
    const double r = 1.0;
    const Point3d east{1, 0, 0}, west{-1, 0, 0};
    const double s = std::sqrt(0.75);
    struct Case {
        const char* name;
        Point3d a1, a2, arcStart, arcEnd;
        int answer;
        std::vector<Point3d> points;
    };
    const Case cases[] = {
        {"both points on the upper half", {-2, 0.5, 0}, {2, 0.5, 0}, east, west, kIntersectTwo, {{s, 0.5, 0}, {-s, 0.5, 0}}},
        {"both points below the upper half", {-2, -0.5, 0}, {2, -0.5, 0}, east, west, kIntersectNone, {}},
        {"lower half, from west to east", {-2, -0.5, 0}, {2, -0.5, 0}, west, east, kIntersectTwo, {{s, -0.5, 0}, {-s, -0.5, 0}}},
        {"first point on the arc", {0.5, -2, 0}, {0.5, 2, 0}, east, west, kIntersectOne, {{0.5, s, 0}}},
        {"only the second point on the arc", {0.5, 2, 0}, {0.5, -2, 0}, east, west, kIntersectOne, {{0.5, s, 0}}},
        {"tangent on the arc", {-2, 1, 0}, {2, 1, 0}, east, west, kIntersectTouch, {{0, 1, 0}}},
        {"tangent off the arc", {-2, -1, 0}, {2, -1, 0}, east, west, kIntersectNone, {}},
        {"tangent at the arc's start", {1, -1, 0}, {1, 1, 0}, east, west, kIntersectTouch, {{1, 0, 0}}},
        {"equal ends are the whole circle", {-2, -0.5, 0}, {2, -0.5, 0}, east, east, kIntersectTwo, {{s, -0.5, 0}, {-s, -0.5, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Point3d a2 = c.a2, out1, out2;
        ASSERT_EQ(IntersectSegmentArc(c.a1, a2, centre, r, c.arcStart, c.arcEnd, out1, out2), c.answer);
        if (c.points.size() >= 1) {
            EXPECT_TRUE(PointNear(out1, c.points[0], 1e-12));
        }
        if (c.points.size() >= 2) {
            EXPECT_TRUE(PointNear(out2, c.points[1], 1e-12));
        }
    }
}

TEST(CircleIntersections, TwoCircles) {
    struct Case {
        const char* name;
        Point3d c1;
        double r1;
        Point3d c2;
        double r2;
        int answer;
        std::vector<Point3d> points;
    };
    const Case cases[] = {
        {"crossing", {0, 0, 0}, 5, {8, 0, 0}, 5, kIntersectTwo, {{4, 3, 0}, {4, -3, 0}}},
        {"crossing, seen from the other circle", {8, 0, 0}, 5, {0, 0, 0}, 5, kIntersectTwo, {{4, -3, 0}, {4, 3, 0}}},
        {"outer touch", {0, 0, 0}, 5, {10, 0, 0}, 5, kIntersectOne, {{5, 0, 0}}},
        {"apart", {0, 0, 0}, 5, {11, 0, 0}, 5, kIntersectNone, {}},
        {"one inside the other", {0, 0, 0}, 5, {1, 0, 0}, 1, kIntersectNone, {}},
        {"inner touch: two equal points", {0, 0, 0}, 5, {0, 4, 0}, 1, kIntersectTwo, {{0, 5, 0}, {0, 5, 0}}},
        {"coincident", {2, 3, 0}, 5, {2, 3, 0}, 5, kIntersectNone, {}},
        {"concentric", {2, 3, 0}, 5, {2, 3, 0}, 3, kIntersectNone, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Point3d out1{9, 9, 9}, out2{9, 9, 9};
        ASSERT_EQ(IntersectCircles(c.c1, c.r1, c.c2, c.r2, out1, out2), c.answer);
        if (c.points.size() >= 1) {
            EXPECT_TRUE(PointNear(out1, c.points[0], 1e-9));
        }
        if (c.points.size() >= 2) {
            EXPECT_TRUE(PointNear(out2, c.points[1], 1e-9));
        }
        if (c.points.empty()) {
            EXPECT_EQ(out1, Point3d(9, 9, 9));
        }
    }
}

// Circles placed to touch, outside and inside, at random angles: the centre distance comes out a rounding error
// above or below the touching distance, and the cosine of the touching angle a rounding error beyond 1. Before
// the cosine was clamped such pairs answered two NaN points. Every answer must now be a real point on both
// circles (or none, when the rounding put them apart).
TEST(CircleIntersections, NearTangentCirclesNeverGiveNaN) {
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> angle(0.0, cadlib::kTwoPi), radius(0.1, 50.0), shift(-100.0, 100.0);
    int clampedCosines = 0, answered = 0;
    for (int i = 0; i < 20000; ++i) {
        const Point3d c1{shift(random), shift(random), 0};
        const double r1 = radius(random), r2 = radius(random);
        const bool inner = i % 2 == 1;
        const double d = inner ? std::fabs(r1 - r2) : r1 + r2;
        const Point3d c2 = host::ge::polarPoint(c1, angle(random), d);
        const double distance = std::hypot(c2.x - c1.x, c2.y - c1.y);
        if (std::fabs((r1 * r1 + distance * distance - r2 * r2) / (2 * r1 * distance)) > 1.0) ++clampedCosines;
        Point3d out1, out2;
        const int n = IntersectCircles(c1, r1, c2, r2, out1, out2);
        if (n == kIntersectNone) continue;
        ++answered;
        ASSERT_TRUE(std::isfinite(out1.x) && std::isfinite(out1.y)) << "pair " << i;
        EXPECT_NEAR(out1.distanceTo(c1), r1, 1e-9 * (1 + r1));
        EXPECT_NEAR(out1.distanceTo(c2), r2, 1e-6 * (1 + r2));
        if (n == kIntersectTwo) {
            ASSERT_TRUE(std::isfinite(out2.x) && std::isfinite(out2.y)) << "pair " << i;
        }
    }
    EXPECT_GT(clampedCosines, 0) << "the fixture no longer reaches the clamp";
    EXPECT_GT(answered, 0);
}

TEST(CircleIntersections, ArcWithCircleAndTwoArcs) {
    const Point3d c{0, 0, 0}, other{8, 0, 0};
    const double r = 5;
    struct Case {
        const char* name;
        double start, end;
        int answer;
        std::vector<Point3d> points;
    };
    const Case cases[] = {
        {"first quadrant holds the upper point", 0, kHalfPi, kIntersectOne, {{4, 3, 0}}},
        {"fourth quadrant holds the lower point", 3 * kHalfPi, 0, kIntersectOne, {{4, -3, 0}}},
        {"a range through 0 holds both", 5.0, 1.0, kIntersectTwo, {{4, 3, 0}, {4, -3, 0}}},
        {"the left half holds neither", kHalfPi, 3 * kHalfPi, kIntersectNone, {}},
        {"equal ends are one angle, not the circle", 1.0, 1.0, kIntersectNone, {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Point3d out1, out2;
        ASSERT_EQ(IntersectArcCircle(c, r, k.start, k.end, other, r, out1, out2), k.answer);
        if (k.points.size() >= 1) {
            EXPECT_TRUE(PointNear(out1, k.points[0]));
        }
        if (k.points.size() >= 2) {
            EXPECT_TRUE(PointNear(out2, k.points[1]));
        }
    }
    Point3d out1, out2;
    // An outer touch counts as touching where it lies on the arc.
    EXPECT_EQ(IntersectArcCircle(c, r, 0, kHalfPi, {10, 0, 0}, r, out1, out2), kIntersectTouch);
    EXPECT_TRUE(PointNear(out1, {5, 0, 0}));
    EXPECT_EQ(IntersectArcCircle(c, r, 0.1, kPi, {10, 0, 0}, r, out1, out2), kIntersectNone);

    // Two arcs: a point counts when it lies on both.
    EXPECT_EQ(IntersectArcs(c, r, 0, kHalfPi, other, r, kHalfPi, kPi, out1, out2), kIntersectOne);
    EXPECT_TRUE(PointNear(out1, {4, 3, 0}));
    EXPECT_EQ(IntersectArcs(c, r, 0, kHalfPi, other, r, kPi, 3 * kHalfPi, out1, out2), kIntersectNone);
    EXPECT_EQ(IntersectArcs(c, r, 5.0, 1.0, other, r, kHalfPi, 3 * kHalfPi, out1, out2), kIntersectTwo);
}

TEST(ArcConstruction, CentreFromEndPointsPicksTheOneNearTheHint) {
    const Point3d p1{0, 0, 0}, p2{2, 0, 0};
    const double r = std::sqrt(2.0);
    struct Case {
        const char* name;
        double radius;
        Point3d hint, centre;
    };
    const Case cases[] = {
        {"hint above", r, {1, 5, 7}, {1, 1, 0}},
        {"hint below", r, {1, -5, 0}, {1, -1, 0}},
        {"hint between: the second one", r, {1, 0, 0}, {1, -1, 0}},
        {"radius of half the chord: the touching point", 1.0, {1, 5, 0}, {1, 0, 0}},
        {"radius too small: the midpoint", 0.5, {1, 5, 0}, {1, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Point3d result = c.hint;
        EXPECT_EQ(ArcCentreFromEndPoints(p1, p2, c.radius, result), 0);
        EXPECT_TRUE(PointNear(result, c.centre, 1e-9));
    }
}

TEST(ArcConstruction, ArcFromBulgeInBothForms) {
    Point3d centre;
    double radius = 0;
    // A semicircle: bulge 1, or a height of half the chord.
    EXPECT_EQ(ArcFromBulge(centre, radius, {0, 0, 0}, {2, 0, 0}, 1.0, false), 0);
    EXPECT_TRUE(PointNear(centre, {1, 0, 0}));
    EXPECT_DOUBLE_EQ(radius, 1.0);
    EXPECT_EQ(ArcFromBulge(centre, radius, {0, 0, 0}, {2, 0, 0}, 1.0, true), 0);
    EXPECT_TRUE(PointNear(centre, {1, 0, 0}));
    // Height 0.5 over a chord of 2: radius 1.25; a counter-clockwise arc from left to right sags below the
    // chord, so its centre lies above.
    EXPECT_EQ(ArcFromBulge(centre, radius, {0, 0, 0}, {2, 0, 0}, 0.5, true), 0);
    EXPECT_DOUBLE_EQ(radius, 1.25);
    EXPECT_TRUE(PointNear(centre, {1, 0.75, 0}));
    EXPECT_EQ(ArcFromBulge(centre, radius, {0, 0, 0}, {2, 0, 0}, -0.5, true), 0);
    EXPECT_TRUE(PointNear(centre, {1, -0.75, 0}));
    // No arc: the outputs stay.
    centre = {9, 9, 9};
    radius = 9;
    EXPECT_EQ(ArcFromBulge(centre, radius, {0, 0, 0}, {2, 0, 0}, 0.0, false), -1);
    EXPECT_EQ(ArcFromBulge(centre, radius, {1, 1, 0}, {1, 1, 0}, 0.5, true), -1);
    EXPECT_EQ(centre, Point3d(9, 9, 9));
    EXPECT_EQ(radius, 9);
}

}  // namespace
