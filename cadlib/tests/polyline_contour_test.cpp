// Contour polylines as regions: segment directions, extents with arcs, orientation, and the point-in-contour
// test with its bounded search for a clean ray.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "cadlib/angles.h"
#include "cadlib/point_in_contour.h"
#include "cadlib/polyline_contour.h"
#include "host/db/database.h"
#include "polyline_fixtures.h"

namespace {

using cadlib::kHalfPi;
using cadlib::kPi;
using cadlib::testing::makePolyline;
using cadlib::testing::signedArea2;
using cadlib::testing::square10;
using host::ge::Point3d;

// Angles compared as directions.
::testing::AssertionResult SameDirection(double actual, double expected) {
    if (std::fabs(std::sin(actual - expected)) < 1e-12 && std::cos(actual - expected) > 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual << " is not the direction " << expected;
}

TEST(PolylineContour, SegmentDirectionAtEitherEnd) {
    // A square whose right side is a counter-clockwise semicircle bulging to the right, and a polyline whose
    // only segment is a clockwise semicircle over the top.
    const host::db::LwPolyline withArc = makePolyline({{0, 0}, {10, 0, 1}, {10, 10}, {0, 10}});
    const host::db::LwPolyline clockwise = makePolyline({{0, 0, -1}, {10, 0}}, false);
    struct Case {
        const char* name;
        const host::db::LwPolyline* polyline;
        int segment;
        Point3d point;
        double angle;
        int isLine;
    };
    const Case cases[] = {
        {"line at its start", &withArc, 0, {0, 0, 0}, 0.0, 1},
        {"line at its end points back", &withArc, 0, {10, 0, 0}, kPi, 1},
        {"closing line at vertex 0 points back up", &withArc, 3, {0, 0, 0}, kHalfPi, 1},
        {"ccw arc at its start", &withArc, 1, {10, 0, 0}, 0.0, 0},
        {"ccw arc at its end points back", &withArc, 1, {10, 10, 0}, 0.0, 0},
        {"cw arc at its start", &clockwise, 0, {0, 0, 0}, kHalfPi, 0},
        {"cw arc at its end points back", &clockwise, 0, {10, 0, 0}, kHalfPi, 0},
        {"within the precision of the start", &withArc, 0, {0.00005, 0, 0}, 0.0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double angle = -1;
        int isLine = -1;
        ASSERT_EQ(GetSegmentDirectionAtPoint(*c.polyline, c.segment, c.point, angle, isLine), 0);
        EXPECT_TRUE(SameDirection(angle, c.angle));
        EXPECT_EQ(isLine, c.isLine);
    }
    double angle = -1;
    int isLine = -1;
    EXPECT_EQ(GetSegmentDirectionAtPoint(clockwise, 1, {10, 0, 0}, angle, isLine), -1);  // an open polyline's end
    EXPECT_EQ(GetSegmentDirectionAtPoint(withArc, -1, {0, 0, 0}, angle, isLine), -1);
    EXPECT_EQ(angle, -1);
}

TEST(PolylineContour, ExtentsIncludeTheArcs) {
    struct Case {
        const char* name;
        host::db::LwPolyline polyline;
        double minX, minY, maxX, maxY;
    };
    const Case cases[] = {
        {"full circle of two semicircles", makePolyline({{5, 0, 1}, {-5, 0, 1}}), -5, -5, 5, 5},
        {"two semicircles, clockwise", makePolyline({{5, 0, -1}, {-5, 0, -1}}), -5, -5, 5, 5},
        {"clockwise arc over the top", makePolyline({{0, 0, -1}, {10, 0}}, false), 0, 0, 10, 5},
        {"arc through angle 0", makePolyline({{0, -5, 1}, {0, 5}}, false), 0, -5, 5, 5},
        {"an open polyline's last bulge plays no part", makePolyline({{0, 0}, {10, 0, 1}}, false), 0, 0, 10, 0},
        {"straight square", square10(), 0, 0, 10, 10},
        {"quarter arc stays inside its vertices' box", makePolyline({{5, 0, std::tan(kPi / 8)}, {0, 5}}, false), 0, 0, 5, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double minX = 0, minY = 0, maxX = 0, maxY = 0;
        ASSERT_EQ(GetPolylineExtents(c.polyline, minX, minY, maxX, maxY), 0);
        EXPECT_NEAR(minX, c.minX, 1e-9);
        EXPECT_NEAR(minY, c.minY, 1e-9);
        EXPECT_NEAR(maxX, c.maxX, 1e-9);
        EXPECT_NEAR(maxY, c.maxY, 1e-9);
    }
    double v = 7;
    EXPECT_EQ(GetPolylineExtents(host::db::LwPolyline(), v, v, v, v), -1);
    EXPECT_EQ(v, 7);
}

TEST(PolylineContour, OrientCounterClockwise) {
    struct Case {
        const char* name;
        host::db::LwPolyline polyline;
        int reversed;
    };
    const Case cases[] = {
        {"counter-clockwise square", square10(), 0},
        {"clockwise square", makePolyline({{0, 0}, {0, 10}, {10, 10}, {10, 0}}), 1},
        {"open clockwise square", makePolyline({{0, 0}, {0, 10}, {10, 10}, {10, 0}}, false), 0},
        // First segments that are arcs. The clockwise one used to be probed across its circle, away from the
        // segment, where the parity says nothing about the side of the inside.
        {"ccw arc first, counter-clockwise", makePolyline({{10, 0, 1}, {0, 0}, {0, -10}, {10, -10}}), 0},
        {"cw arc first, clockwise", makePolyline({{0, 0, -1}, {10, 0}, {10, -10}, {0, -10}}), 1},
        {"cw arc first, counter-clockwise", makePolyline({{10, -10, -0.4}, {10, 0}, {0, 0}, {0, -10}}), 0},
        {"ccw arc first, clockwise", makePolyline({{0, -10, 0.4}, {0, 0}, {10, 0}, {10, -10}}), 1},
        {"zero-length first segment", makePolyline({{0, 0}, {0, 0}, {0, 10}, {10, 10}, {10, 0}}), 1},
        {"single vertex", makePolyline({{3, 3}}), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host::db::LwPolyline p = c.polyline;
        const auto before = p.vertices();
        EXPECT_EQ(OrientPolylineCounterClockwise(p), c.reversed);
        if (c.reversed) {
            EXPECT_NE(p.vertices(), before);
            EXPECT_EQ(OrientPolylineCounterClockwise(p), 0) << "a second call finds it counter-clockwise";
        } else {
            EXPECT_EQ(p.vertices(), before);
        }
    }
}

TEST(PointInContour, InsideOutsideAndArcs) {
    const host::db::LwPolyline square = square10();
    const host::db::LwPolyline circle = makePolyline({{5, 0, 1}, {-5, 0, 1}});
    const host::db::LwPolyline openSquare = makePolyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, false);
    // A point whose first ray (0.009 radians) runs exactly through a vertex of the square: the ray is dropped and
    // the next one decides.
    const Point3d besideCornerInside{10 - 9.5 * std::cos(0.009), 10 - 9.5 * std::sin(0.009), 0};
    const Point3d besideCornerOutside{10 - 20 * std::cos(0.009), 0 - 20 * std::sin(0.009), 0};
    struct Case {
        const char* name;
        const host::db::LwPolyline* polyline;
        Point3d point;
        ContourPointLocation where;
    };
    const Case cases[] = {
        {"centre of the square", &square, {5, 5, 0}, ContourPointLocation::Inside},
        {"right of the square", &square, {15, 5, 0}, ContourPointLocation::Outside},
        {"left of the square", &square, {-5, 5, 0}, ContourPointLocation::Outside},
        {"first ray through a corner, inside", &square, besideCornerInside, ContourPointLocation::Inside},
        {"first ray through a corner, outside", &square, besideCornerOutside, ContourPointLocation::Outside},
        {"centre of the circle", &circle, {0, 0, 0}, ContourPointLocation::Inside},
        {"just inside the circle", &circle, {4.9, 0.1, 0}, ContourPointLocation::Inside},
        {"left of the circle", &circle, {-10, 0, 0}, ContourPointLocation::Outside},
        {"right of the circle", &circle, {6, 0, 0}, ContourPointLocation::Outside},
        {"open square tested as closed", &openSquare, {5, 5, 0}, ContourPointLocation::Inside},
        {"open square, outside", &openSquare, {5, 15, 0}, ContourPointLocation::Outside},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LocatePointInPolyline(c.point, *c.polyline), c.where);
        EXPECT_EQ(IsPointOutsidePolyline(c.point, *c.polyline), c.where == ContourPointLocation::Outside ? 1 : 0);
        EXPECT_EQ(PolylinePointLocator(*c.polyline).Locate(c.point), c.where);
    }
}

// A locator answers every point as LocatePointInPolyline does: many-sided and star-shaped outlines, arcs, edges
// that are almost vertical or horizontal, far from the origin, and points on and beside vertices and edges (where
// rays are dropped), inside, outside and far away.
TEST(PointInContour, LocatorAnswersAsTheFullTest) {
    std::vector<host::db::LwPolyline> shapes;
    auto ring = [](double cx, double cy, int sides, double r0, double r1, double bulge) {
        std::vector<cadlib::testing::Vertex> v;
        for (int k = 0; k < sides; ++k) {
            const double a = 2 * cadlib::kPi * k / sides, r = k % 2 ? r1 : r0;
            v.push_back({cx + r * std::cos(a), cy + r * std::sin(a), k % 5 == 0 ? bulge : 0.0});
        }
        return makePolyline(v);
    };
    shapes.push_back(ring(5, 5, 160, 2, 2, 0));
    shapes.push_back(ring(0, 0, 60, 10, 4, 0));         // a star: rays cross it many times
    shapes.push_back(ring(3, -2, 50, 6, 5, 0.3));       // arcs among the edges
    shapes.push_back(ring(1e5, -2e5, 120, 30, 29, 0));  // far from the origin
    shapes.push_back(makePolyline({{0, 0}, {1e-12, 10}, {5, 10.000000001}, {10, 10}, {10, 0}}));
    shapes.push_back(square10());
    for (std::size_t s = 0; s < shapes.size(); ++s) {
        const host::db::LwPolyline& shape = shapes[s];
        const PolylinePointLocator locator(shape);
        std::vector<Point3d> points;
        for (unsigned v = 0; v < shape.numVerts(); v += 5) {
            Point3d p;
            shape.getPointAt(v, p);
            p.z = 0;
            points.push_back(p);                                   // on a vertex
            points.push_back({p.x + 3e-5, p.y - 2e-5, 0});         // within the reach of a vertex
            points.push_back({p.x * 0.999 + 0.001, p.y * 0.999, 0});
            points.push_back({p.x * 1.01 - 0.01, p.y * 1.01, 0});
        }
        const auto box = *shape.geomExtents();
        for (int i = -2; i <= 12; i += 2)
            for (int j = -2; j <= 12; ++j)
                points.push_back({box.min.x + (box.max.x - box.min.x) * i / 10.0,
                                  box.min.y + (box.max.y - box.min.y) * j / 10.0, 0});
        for (const Point3d& p : points)
            ASSERT_EQ(locator.Locate(p), LocatePointInPolyline(p, shape))
                << "shape " << s << " at " << p.x << "," << p.y;
    }
}

// A point on a corner, or on an edge within 0.0001 of its end, makes every ray pass through that corner. The search used to go on for ever; it now
// stops after one turn of angles and answers "on the contour", which is not outside.
TEST(PointInContour, PointOnACornerEndsTheSearch) {
    const host::db::LwPolyline square = square10();
    for (const Point3d& corner : {Point3d{10, 10, 0}, Point3d{0, 0, 0}, Point3d{9.99997, 0, 0}}) {
        EXPECT_EQ(LocatePointInPolyline(corner, square), ContourPointLocation::OnContour);
        EXPECT_EQ(IsPointOutsidePolyline(corner, square), 0);
        EXPECT_EQ(PolylinePointLocator(square).Locate(corner), ContourPointLocation::OnContour);
    }
    // A corner of an arc contour too.
    const host::db::LwPolyline circle = makePolyline({{5, 0, 1}, {-5, 0, 1}});
    EXPECT_EQ(LocatePointInPolyline({-5, 0, 0}, circle), ContourPointLocation::OnContour);
}

TEST(PointInContour, ContoursOfTheDrawingByHandleAndName) {
    host::db::Database db;
    host::db::setWorkingDatabase(&db);
    host::db::ObjectId circleId, squareId, erasedId;
    {
        host::db::ObjectPtr<host::db::BlockTableRecord> model(db.modelSpaceId(), host::db::OpenMode::Write);
        model->appendEntity(std::make_unique<host::db::Circle>(Point3d{0, 0, 0}, 5.0), &circleId);
        model->appendEntity(std::make_unique<host::db::LwPolyline>(square10()), &squareId);
        model->appendEntity(std::make_unique<host::db::LwPolyline>(square10()), &erasedId);
    }
    {
        host::db::ObjectPtr<host::db::Entity> erased(erasedId, host::db::OpenMode::Write);
        erased->erase();
    }
    const host::db::Handle circle = circleId.handle(), square = squareId.handle();
    EXPECT_EQ(IsPointOutsideContourByHandle({4, 0, 0}, kContourShapeCircle, circle), 0);
    EXPECT_EQ(IsPointOutsideContourByHandle({5, 0, 0}, kContourShapeCircle, circle), 1);  // on the circle: outside
    EXPECT_EQ(IsPointOutsideContourByHandle({3, 4, 7}, kContourShapeCircle, circle), 1);
    EXPECT_EQ(IsPointOutsideContourByHandle({5, 5, 0}, kContourShapePolyline, square), 0);
    EXPECT_EQ(IsPointOutsideContourByHandle({15, 5, 0}, kContourShapePolyline, square), 1);
    EXPECT_EQ(IsPointOutsideContourByName({5, 5, 0}, kContourShapePolyline, host::db::idToName(squareId)), 0);
    EXPECT_EQ(IsPointOutsideContourByName({1, 1, 0}, kContourShapeCircle, host::db::idToName(circleId)), 0);

    // Nothing to test against: a wrong kind, an erased entity, an unknown handle, no drawing.
    EXPECT_EQ(IsPointOutsideContourByHandle({5, 5, 0}, kContourShapeCircle, square), -1);
    EXPECT_EQ(IsPointOutsideContourByHandle({5, 5, 0}, kContourShapePolyline, erasedId.handle()), -1);
    EXPECT_EQ(IsPointOutsideContourByHandle({5, 5, 0}, kContourShapePolyline, host::db::Handle(0xFFFFFF)), -1);
    EXPECT_EQ(IsPointOutsideContourByName({5, 5, 0}, kContourShapePolyline, host::db::EntityName{}), -1);
    // Each test closed what it opened: the entities can be opened for write.
    EXPECT_EQ(host::db::ObjectPtr<host::db::Entity>(squareId, host::db::OpenMode::Write).status(),
              host::db::Status::Ok);
    host::db::setWorkingDatabase(nullptr);
    EXPECT_EQ(IsPointOutsideContourByHandle({5, 5, 0}, kContourShapePolyline, square), -1);
}

}  // namespace
