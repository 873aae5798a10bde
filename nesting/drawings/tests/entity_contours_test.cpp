// Circles and lightweight polylines turned into contours: segments, bulges, closure and boxes.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "host/db/entities.h"
#include "nesting/drawings/entity_contours.h"

namespace {

using host::ge::Point2d;
constexpr double kPi = std::numbers::pi;
constexpr double kTol = 1e-9;

struct Vertex {
    double x, y, bulge;
};

host::db::LwPolyline Polyline(const std::vector<Vertex>& vertices, bool closed) {
    host::db::LwPolyline pl;
    unsigned i = 0;
    for (const Vertex& v : vertices) pl.addVertexAt(i++, Point2d{v.x, v.y}, v.bulge);
    pl.setClosed(closed);
    return pl;
}

void ExpectPoint(const Point2d& p, double x, double y) {
    EXPECT_NEAR(p.x, x, kTol);
    EXPECT_NEAR(p.y, y, kTol);
}

TEST(PolylineToContour, ClosedFlagDecidesSegmentsAreaAndOpen) {
    struct Case {
        const char* what;
        bool closed;
        std::size_t elements;
        double area;
        std::uint8_t open;
    };
    const std::vector<Vertex> square = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    for (const Case& c : {Case{"closed square", true, 4, 100.0, 0}, Case{"open square", false, 3, 0.0, 1}}) {
        SCOPED_TRACE(c.what);
        Contour contour;
        PolylineToContour(Polyline(square, c.closed), contour);
        ASSERT_EQ(contour.Elements.size(), c.elements);
        EXPECT_NEAR(std::fabs(contour.Area), c.area, kTol);
        EXPECT_EQ(contour.Open, c.open);
        EXPECT_EQ(contour.Box, (BoundingBox{0, 0, 10, 10}));
        // the closing side of the closed square runs from the last vertex back to the first
        const ContourElement& last = contour.Elements.back();
        if (c.closed) {
            ExpectPoint(last.Start, 0, 10);
            ExpectPoint(last.End, 0, 0);
        }
    }
}

TEST(PolylineToContour, LinesKeepTheirDirectionAndItsOpposite) {
    Contour contour;
    PolylineToContour(Polyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 0, 0}}, false), contour);
    ASSERT_EQ(contour.Elements.size(), 3u);
    const double expected[][2] = {{0.0, kPi}, {kPi / 2, 3 * kPi / 2}, {5 * kPi / 4, kPi / 4}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(contour.Elements[i].Type, kElementLine);
        EXPECT_NEAR(contour.Elements[i].StartAngle, expected[i][0], kTol) << i;
        EXPECT_NEAR(contour.Elements[i].EndAngle, expected[i][1], kTol) << i;
    }
}

TEST(PolylineToContour, BulgesBecomeCounterClockwiseArcs) {
    // arcs from (0,0) to (10,0): the centre lies left of the chord for a counter-clockwise arc, right of it for a
    // clockwise one; the stored arc always runs counter-clockwise from Start to End
    struct Case {
        const char* what;
        double bulge;
        Point2d centre;
        double radius;
        Point2d start, end;
        std::uint8_t reversed;
    };
    const double quarter = std::tan(kPi / 8);
    const Case cases[] = {
        {"half turn counter-clockwise", 1.0, {5, 0}, 5.0, {0, 0}, {10, 0}, 0},
        {"half turn clockwise", -1.0, {5, 0}, 5.0, {10, 0}, {0, 0}, 1},
        {"quarter turn counter-clockwise", quarter, {5, 5}, std::sqrt(50.0), {0, 0}, {10, 0}, 0},
        {"quarter turn clockwise", -quarter, {5, -5}, std::sqrt(50.0), {10, 0}, {0, 0}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Contour contour;
        PolylineToContour(Polyline({{0, 0, c.bulge}, {10, 0, 0}}, false), contour);
        ASSERT_EQ(contour.Elements.size(), 1u);
        const ContourElement& e = contour.Elements[0];
        EXPECT_EQ(e.Type, kElementArc);
        ExpectPoint(e.Centre, c.centre.x, c.centre.y);
        EXPECT_NEAR(e.Radius, c.radius, kTol);
        ExpectPoint(e.Start, c.start.x, c.start.y);
        ExpectPoint(e.End, c.end.x, c.end.y);
        EXPECT_EQ(e.Reversed, c.reversed);
        EXPECT_NEAR(std::atan2(e.Start.y - e.Centre.y, e.Start.x - e.Centre.x),
                    std::remainder(e.StartAngle, 2 * kPi), kTol);
    }
}

TEST(PolylineToContour, ArcBoxReachesThroughItsAxisPoint) {
    // (0,0) to (10,0) with bulge -1: clockwise about (5,0), the arc passes over the chord up to y = 5
    Contour contour;
    PolylineToContour(Polyline({{0, 0, -1.0}, {10, 0, 0}}, false), contour);
    EXPECT_NEAR(contour.Box.minY, 0.0, kTol);
    EXPECT_NEAR(contour.Box.maxY, 5.0, kTol);
}

TEST(CircleToContour, OneCircleElementStartingBelowTheCentre) {
    host::db::Circle circle({20, 30, 0}, 5);
    Contour contour;
    CircleToContour(circle, contour);
    ASSERT_EQ(contour.Elements.size(), 1u);
    const ContourElement& e = contour.Elements[0];
    EXPECT_EQ(e.Type, kElementCircle);
    ExpectPoint(e.Centre, 20, 30);
    ExpectPoint(e.Start, 20, 25);
    ExpectPoint(e.End, 20, 25);
    EXPECT_EQ(contour.GeometryKind, kGeometryCircle);
    EXPECT_NEAR(contour.Area, kPi * 25, kTol);
    EXPECT_EQ(contour.Box, (BoundingBox{15, 25, 25, 35}));
}

}  // namespace
