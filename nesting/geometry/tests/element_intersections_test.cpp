// Direction angles, grid comparisons and the intersections of segments, circles and arcs.
#include "nesting/geometry/element_intersections.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "host/ge/angle.h"
#include "nesting/geometry/contour_kernel.h"
#include "nesting/testing/job_builder.h"

using host::ge::Point2d;

namespace {

using host::ge::kPi;
constexpr double kDeg = kPi / 180.0;

Point2d onCircle(Point2d centre, double r, double angle) {
    return {centre.x + r * std::cos(angle), centre.y + r * std::sin(angle)};
}

void expectPoint(const Point2d& actual, const Point2d& expected, double tolerance, const std::string& label) {
    EXPECT_NEAR(actual.x, expected.x, tolerance) << label;
    EXPECT_NEAR(actual.y, expected.y, tolerance) << label;
}

ContourElement lineElement(Point2d a, Point2d b) {
    ContourElement e;
    e.Type = kElementLine;
    e.Start = a;
    e.End = b;
    SetLineAngles(e);
    return e;
}

ContourElement arcElement(Point2d centre, double r, double startAngle, double endAngle) {
    ContourElement e;
    e.Type = kElementArc;
    e.Centre = centre;
    e.Radius = r;
    e.StartAngle = startAngle;
    e.EndAngle = endAngle;
    e.Start = onCircle(centre, r, startAngle);
    e.End = onCircle(centre, r, endAngle);
    return e;
}

ContourElement circleElement(Point2d centre, double r) {
    ContourElement e;
    e.Type = kElementCircle;
    e.Centre = centre;
    e.Radius = r;
    e.Start = {centre.x + r, centre.y};
    return e;
}

TEST(DirectionAngle, QuadrantsAndVerticalVectors) {
    struct Case {
        Point2d from, to;
        double expected;
    };
    const Case cases[] = {
        {{0, 0}, {0, 0}, 1.5 * kPi},       // the zero vector points down
        {{0, 0}, {1e-15, -1}, 1.5 * kPi},  // |dx| below 1e-14 is vertical
        {{0, 0}, {1e-15, 1}, 0.5 * kPi},
        {{0, 0}, {-1, 0}, kPi},
        {{0, 0}, {1, 0}, 0.0},
        {{0, 0}, {1, 1}, 0.25 * kPi},
        {{0, 0}, {-1, 1}, 0.75 * kPi},
        {{0, 0}, {-1, -1}, 1.25 * kPi},
        {{0, 0}, {1, -1}, 1.75 * kPi},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(GetDirectionAngle(c.from, c.to), c.expected) << c.to.x << "," << c.to.y;
    }
    EXPECT_EQ(GetDirectionAngle({0, 0}, {-1, 0}), kPi);  // exactly
}

TEST(GridComparison, PointsDifferAtBothSidesOfTheGrid) {
    EXPECT_EQ(PointsDiffer({0, 0}, {0.00009, 0}, 1e4), 0);
    EXPECT_EQ(PointsDiffer({0, 0}, {0.00011, 0}, 1e4), 1);
    EXPECT_EQ(PointsDiffer({0, 0}, {0, -0.00011}, 1e4), 1);
    EXPECT_EQ(DiffersFromJoint({1, 1}, {1.00001, 1}, {1, 1.00001}, 1e4), 0);
    EXPECT_EQ(DiffersFromJoint({1, 1}, {2, 1}, {1, 1}, 1e4), 1);
}

TEST(GridComparison, PointInBoxRoundsToTheGridAndRefusesNaN) {
    const Point2d a{0, 0}, b{1, 1};
    EXPECT_TRUE(PointInBoxOnGrid(a, b, {1 + 4e-7, 0.5}, 1e6));  // same grid step as 1
    EXPECT_FALSE(PointInBoxOnGrid(a, b, {1 + 6e-7, 0.5}, 1e6));
    EXPECT_TRUE(PointInBoxOnGrid(b, a, {0.5, 0.0}, 1e6));  // corner order does not matter
    EXPECT_FALSE(PointInBoxOnGrid(a, b, {std::numeric_limits<double>::quiet_NaN(), 0.5}, 1e6));
    EXPECT_FALSE(PointInBoxOnGrid(a, b, {1e300, 0.5}, 1e6));  // saturates instead of overflowing
}

TEST(SegmentIntersection, TableOfCases) {
    struct Case {
        const char* label;
        Point2d p0, p1, p2, p3;
        int count;
        Point2d point;
    };
    const Case cases[] = {
        {"vertical overlap answers the first end inside", {0, 10}, {0, 0}, {0, 15}, {0, 5}, 1, {0, 10}},
        {"vertical 1e-12 apart", {0, 10}, {0, 0}, {1e-12, 15}, {1e-12, 5}, 0, {}},
        {"vertical end on slanted segment", {0, 0}, {0, 1}, {-1, 0}, {1, 2}, 1, {0, 1}},
        {"collinear slanted sharing an end", {0, 0}, {1, 1}, {1, 1}, {2, 2}, 1, {1, 1}},
        {"collinear slanted apart", {0, 0}, {1, 1}, {2, 2}, {3, 3}, 0, {}},
        {"parallel slanted", {0, 0}, {1, 1}, {0, 1}, {1, 2}, 0, {}},
        {"horizontal overlap answers the first end inside", {0, 0}, {5, 0}, {3, 0}, {9, 0}, 1, {5, 0}},
        {"horizontal on different heights", {0, 0}, {5, 0}, {3, 1}, {9, 1}, 0, {}},
        {"plain crossing", {0, 0}, {2, 2}, {0, 2}, {2, 0}, 1, {1, 1}},
        {"T at an end", {0, 0}, {2, 0}, {1, 0}, {1, 5}, 1, {1, 0}},
        {"end to end at a corner", {0, 0}, {2, 0}, {2, 0}, {2, 3}, 1, {2, 0}},
        {"zero-length segment on the other", {1, 1}, {1, 1}, {0, 0}, {2, 2}, 1, {1, 1}},
        {"zero-length segment beside the other", {1, 2}, {1, 2}, {0, 0}, {2, 2}, 0, {}},
    };
    for (const Case& c : cases) {
        Point2d out{-99, -99};
        EXPECT_EQ(SegmentIntersection(c.p0, c.p1, c.p2, c.p3, out), c.count) << c.label;
        if (c.count == 1) {
            EXPECT_EQ(out, c.point) << c.label;
        }
        Point2d plain{-99, -99};
        EXPECT_EQ(SegmentIntersectionPlain(c.p0, c.p1, c.p2, c.p3, plain), c.count) << c.label;
    }
}

TEST(SegmentIntersection, LeavesTheLinePointOutsideTheSegments) {
    // The foot of a perpendicular is read from out even when the segments miss each other.
    Point2d out;
    EXPECT_EQ(SegmentIntersection({0, 0}, {1, 0}, {2, -1}, {2, 1}, out), 0);
    EXPECT_EQ(out, Point2d(2, 0));
}

TEST(CircleIntersection, TableOfCases) {
    struct Case {
        const char* label;
        Point2d c1;
        double r1;
        Point2d c2;
        double r2;
        int count;
        Point2d first, second;
    };
    const Case cases[] = {
        {"touching from outside", {0, 0}, 1, {2, 0}, 1, 1, {1, 0}, {}},
        {"touching from inside gives two equal points", {0, 0}, 2, {1, 0}, 1, 2, {2, 0}, {2, 0}},
        {"crossing", {0, 0}, 5, {8, 0}, 5, 2, {4, 3}, {4, -3}},
        {"equal circles", {1, 1}, 3, {1, 1}, 3, 0, {}, {}},
        {"apart", {0, 0}, 1, {3, 0}, 1, 0, {}, {}},
        {"one inside the other", {0, 0}, 5, {1, 0}, 1, 0, {}, {}},
        {"concentric", {0, 0}, 5, {0, 0}, 1, 0, {}, {}},
    };
    for (const Case& c : cases) {
        Point2d out1, out2;
        ASSERT_EQ(CircleIntersection(c.c1, c.r1, c.c2, c.r2, out1, out2), c.count) << c.label;
        if (c.count >= 1) expectPoint(out1, c.first, 1e-12, c.label);
        if (c.count == 2) expectPoint(out2, c.second, 1e-12, c.label);
    }
}

TEST(CircleIntersection, NearTangencyGivesNoNaN) {
    // 0.1 + 0.2 rounds above 0.3: the circles count as crossing, and the cosine rule lands just past 1.
    Point2d out1, out2;
    ASSERT_EQ(CircleIntersection({0, 0}, 0.1, {0.3, 0}, 0.2, out1, out2), 2);
    EXPECT_TRUE(std::isfinite(out1.x) && std::isfinite(out1.y));
    EXPECT_TRUE(std::isfinite(out2.x) && std::isfinite(out2.y));
    expectPoint(out1, {0.1, 0}, 1e-6, "touching point");
}

TEST(ArcCircleIntersection, ArcAcrossAngleZero) {
    // The arc from 350 to 10 degrees about the origin; a circle about (1, 0) or about a point at 12.5 degrees
    // meets the unit circle at the angles +-a of its half chord.
    const double s = 350 * kDeg, e = 10 * kDeg;
    struct Case {
        const char* label;
        Point2d centre;
        double radius;
        int count;
        double firstAngle;
    };
    const Case cases[] = {
        {"both points at +-5 degrees", {1, 0}, 2 * std::sin(2.5 * kDeg), 2, 5 * kDeg},
        {"both points at +-20 degrees", {1, 0}, 2 * std::sin(10 * kDeg), 0, 0},
        {"points at 5 and 20 degrees", onCircle({0, 0}, 1, 12.5 * kDeg), 2 * std::sin(3.75 * kDeg), 1, 5 * kDeg},
        {"touching at 0 degrees", {2, 0}, 1, 4, 0},
        {"touching at 90 degrees", {0, 2}, 1, 0, 0},
    };
    for (const Case& c : cases) {
        Point2d out1, out2;
        ASSERT_EQ(ArcCircleIntersection({0, 0}, 1, s, e, c.centre, c.radius, out1, out2), c.count) << c.label;
        if (c.count != 0) expectPoint(out1, onCircle({0, 0}, 1, c.firstAngle), 1e-12, c.label);
    }
    // Equal start and end angles are the whole circle.
    Point2d out1, out2;
    EXPECT_EQ(ArcCircleIntersection({0, 0}, 1, 1.0, 1.0, {0, 2}, 1, out1, out2), 4);
}

TEST(ArcArcIntersection, PointsMustLieOnBothArcs) {
    // Circles of radius 5 about (0, 0) and (8, 0) meet at (4, 3) and (4, -3).
    struct Case {
        const char* label;
        double s1, e1, s2, e2;
        int count;
        Point2d first;
    };
    const Case cases[] = {
        {"upper point only", 0, kPi / 2, kPi / 2, kPi, 1, {4, 3}},
        {"lower point only, compacted", 1.5 * kPi, 0.5 * kPi, kPi, 1.5 * kPi, 1, {4, -3}},
        {"lower point on one arc only", 0, kPi / 2, kPi, 1.5 * kPi, 0, {}},
        {"both points, first arc through 0", 1.5 * kPi, 0.5 * kPi, 0.5 * kPi, 1.5 * kPi, 2, {4, 3}},
    };
    for (const Case& c : cases) {
        Point2d out1, out2;
        ASSERT_EQ(ArcArcIntersection({0, 0}, 5, c.s1, c.e1, {8, 0}, 5, c.s2, c.e2, out1, out2), c.count) << c.label;
        if (c.count != 0) expectPoint(out1, c.first, 1e-12, c.label);
    }
}

TEST(SegmentCircleIntersection, TableOfCases) {
    struct Case {
        const char* label;
        Point2d p0, p1;
        int count;
        Point2d first, second;
    };
    const Case cases[] = {
        {"tangent line", {-2, 1}, {2, 1}, 4, {0, 1}, {}},
        {"tangent line's carrier only", {2, 1}, {3, 1}, 0, {}, {}},
        {"secant", {-2, 0}, {2, 0}, 2, {1, 0}, {-1, 0}},
        {"one end inside", {0, 0}, {2, 0}, 1, {1, 0}, {}},
        {"second point only, compacted", {-2, 0}, {0, 0}, 1, {-1, 0}, {}},
        {"wholly inside", {-0.5, 0}, {0.5, 0}, 0, {}, {}},
        {"apart", {-2, 3}, {2, 3}, 0, {}, {}},
        {"vertical secant", {0, -3}, {0, 3}, 2, {0, 1}, {0, -1}},
    };
    for (const Case& c : cases) {
        Point2d out1{-99, -99}, out2{-99, -99};
        ASSERT_EQ(SegmentCircleIntersection(c.p0, c.p1, {0, 0}, 1, out1, out2), c.count) << c.label;
        if (c.count != 0) expectPoint(out1, c.first, 1e-12, c.label);
        if (c.count == 2) expectPoint(out2, c.second, 1e-12, c.label);
    }
}

TEST(SegmentArcIntersection, EndAnglesAreComparedOnTheNanoradianGrid) {
    // The unit arc from angle 0 to angle 1; radial segments from the centre cross it at their own angle.
    const Point2d start = onCircle({0, 0}, 1, 0.0), end = onCircle({0, 0}, 1, 1.0);
    struct Case {
        const char* label;
        double angle;
        int count;
    };
    const Case cases[] = {
        {"inside the arc", 0.5, 1},
        {"4e-10 beyond the end rounds onto it", 1.0 + 4e-10, 1},
        {"6e-10 beyond the end", 1.0 + 6e-10, 0},
        {"before the start", 2 * kPi - 1e-3, 0},
    };
    for (const Case& c : cases) {
        Point2d out1, out2;
        EXPECT_EQ(SegmentArcIntersection({0, 0}, onCircle({0, 0}, 2, c.angle), {0, 0}, 1, start, end, out1, out2),
                  c.count)
            << c.label;
    }
    // The unrounded arc test of the circle functions refuses the point 4e-10 beyond the end.
    EXPECT_FALSE(IsAngleOnArc(0.0, 1.0, 1.0 + 4e-10));
}

TEST(SegmentArcIntersection, CountsOnlyPointsOnTheArc) {
    // Upper half of the unit circle, from (1, 0) to (-1, 0).
    Point2d out1, out2;
    EXPECT_EQ(SegmentArcIntersection({-2, 0.5}, {2, 0.5}, {0, 0}, 1, {1, 0}, {-1, 0}, out1, out2), 2);
    EXPECT_EQ(SegmentArcIntersection({-2, -0.5}, {2, -0.5}, {0, 0}, 1, {1, 0}, {-1, 0}, out1, out2), 0);
    EXPECT_EQ(SegmentArcIntersection({0, -2}, {0, 2}, {0, 0}, 1, {1, 0}, {-1, 0}, out1, out2), 1);
    expectPoint(out1, {0, 1}, 1e-12, "vertical through the centre");
    EXPECT_EQ(SegmentArcIntersection({-2, 1}, {2, 1}, {0, 0}, 1, {1, 0}, {-1, 0}, out1, out2), 4);
    EXPECT_EQ(SegmentArcIntersection({-2, -1}, {2, -1}, {0, 0}, 1, {1, 0}, {-1, 0}, out1, out2), 0);
}

TEST(IntersectElements, DispatchesEveryPairOfTypes) {
    const ContourElement circle = circleElement({0, 0}, 1);
    const ContourElement line = lineElement({-3, -0.5}, {3, -0.5});
    const ContourElement upperArc = arcElement({0, -0.5}, 1, 0, kPi);  // crosses the unit circle twice
    const ContourElement lowerArc = arcElement({0, 0}, 2, kPi, 2 * kPi - 1e-9);
    ContourElement placeholder = line;
    placeholder.Type = 3;
    ContourElement imported = line;
    imported.Type = kElementLine + kImportedElementOffset;
    struct Case {
        const char* label;
        const ContourElement& a;
        const ContourElement& b;
        int count;
    };
    const Case cases[] = {
        {"circle, line", circle, line, 2},        {"line, circle", line, circle, 2},
        {"circle, arc", circle, upperArc, 2},     {"arc, circle", upperArc, circle, 2},
        {"line, arc", line, lowerArc, 2},         {"arc, line", lowerArc, line, 2},
        {"arc, arc apart", upperArc, lowerArc, 0}, {"circle, circle", circle, circleElement({1, 0}, 1), 2},
        {"line, line", line, lineElement({0, -1}, {0, 1}), 1},
        {"circle, line apart", circle, lineElement({-2, 3}, {2, 3}), 0},
        {"placeholder", placeholder, line, 0},   {"imported move", imported, line, 0},
        {"line, imported move", line, imported, 0},
    };
    for (const Case& c : cases) {
        Point2d out1, out2;
        EXPECT_EQ(IntersectElements(c.a, c.b, out1, out2), c.count) << c.label;
    }
}

TEST(ContourHitsElement, LinesAndArcsAgainstAContour) {
    const Contour square = MakeRectangle(10, 10);
    EXPECT_EQ(ContourHitsElement(square, lineElement({5, 5}, {15, 5})), 1);
    EXPECT_EQ(ContourHitsElement(square, lineElement({2, 2}, {8, 8})), 0);
    EXPECT_EQ(ContourHitsElement(square, lineElement({11, 0}, {11, 10})), 0);
    EXPECT_EQ(ContourHitsElement(square, arcElement({5, 12}, 2, kPi, 2 * kPi)), 1);  // touches the top side
    EXPECT_EQ(ContourHitsElement(square, arcElement({5, 12}, 1, kPi, 2 * kPi)), 0);
    EXPECT_EQ(ContourHitsElement(square, circleElement({10, 5}, 2)), 0);  // circles are not tested
    EXPECT_EQ(ContourHitsElement(Contour{}, lineElement({5, 5}, {15, 5})), 0);
    EXPECT_EQ(ContourHitsElement(MakeArcSlot(10, 4), lineElement({-5, 0}, {-1, 0})), 1);  // crosses the end arc
}

}  // namespace
