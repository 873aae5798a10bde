// Corner loops: which corners get one (the part's side and the angle limit), where the extensions go, and the
// arcs with their radius rules.
#include "cadlib/corner_loops.h"

#include <gtest/gtest.h>

#include <cmath>

#include "cadlib/angles.h"
#include "cadlib/point_in_contour.h"
#include "polyline_fixtures.h"
#include "test_support.h"

namespace {

using cadlib::testing::makePolyline;
using cadlib::testing::PointNear;
using cadlib::testing::square10;
using host::ge::Point3d;

// Every output of one call, each starting at a mark so that untouched outputs show.
struct Loop {
    static constexpr Point3d kUnset{-99, -99, -99};
    int answer = -1;
    double radius = -1;
    Point3d corner = kUnset, overshoot = kUnset, centre1 = kUnset, arc1First = kUnset, arc1Second = kUnset,
            straightStart = kUnset, straightEnd = kUnset, centre2 = kUnset, arc2First = kUnset,
            arc2Second = kUnset, back = kUnset, cornerAgain = kUnset;
};

struct Call {
    int segment = 0;
    int reverse = 0;
    int placement = kOuterContour;
    double angleLimit = kDefaultLoopAngle;
    double extension = kDefaultLoopLength;
    double radius = kDefaultLoopRadius;
    Point3d referenceA{-1000, -1000, 0};
    Point3d referenceB{-2000, -2000, 0};
    int startIndex = 0;
};

Loop buildLoop(const host::db::LwPolyline& polyline, const Call& c) {
    Loop l;
    l.answer = BuildCornerLoop(polyline, c.referenceA, c.referenceB, c.placement, c.startIndex, c.segment, c.reverse,
                               c.angleLimit, c.extension, c.radius, l.radius, l.corner, l.overshoot, l.centre1,
                               l.arc1First, l.arc1Second, l.straightStart, l.straightEnd, l.centre2, l.arc2First,
                               l.arc2Second, l.back, l.cornerAgain);
    return l;
}

TEST(CornerLoops, OuterSquareGetsALoopOutsideAtEveryCorner) {
    const host::db::LwPolyline square = square10();
    const Point3d corners[] = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const Loop l = buildLoop(square, {.segment = i});
        ASSERT_EQ(l.answer, 1);
        EXPECT_EQ(l.radius, 0);
        EXPECT_TRUE(PointNear(l.corner, corners[i]));
        EXPECT_TRUE(PointNear(l.cornerAgain, corners[i]));
        EXPECT_NEAR(l.corner.distanceTo(l.overshoot), kDefaultLoopLength, 1e-9);
        EXPECT_NEAR(l.corner.distanceTo(l.back), kDefaultLoopLength, 1e-9);
        EXPECT_EQ(LocatePointInPolyline(l.overshoot, square), ContourPointLocation::Outside);
        EXPECT_EQ(LocatePointInPolyline(l.back, square), ContourPointLocation::Outside);
        // Radius 0: the straight piece runs from the overshoot to the back point; no arcs.
        EXPECT_EQ(l.straightStart, l.overshoot);
        EXPECT_EQ(l.straightEnd, l.back);
        EXPECT_EQ(l.centre1, Loop::kUnset);
        EXPECT_EQ(l.arc2Second, Loop::kUnset);
    }
    // At (10, 0), arriving along the bottom edge: on past the corner, back along the right edge.
    const Loop l = buildLoop(square, {.segment = 1});
    EXPECT_TRUE(PointNear(l.overshoot, {16, 0, 0}));
    EXPECT_TRUE(PointNear(l.back, {10, -6, 0}));
    // Against vertex order the corner is vertex i+1 and the roles of the two edges change.
    const Loop r = buildLoop(square, {.segment = 0, .reverse = 1});
    ASSERT_EQ(r.answer, 1);
    EXPECT_TRUE(PointNear(r.corner, {10, 0, 0}));
    EXPECT_TRUE(PointNear(r.overshoot, {10, -6, 0}));
    EXPECT_TRUE(PointNear(r.back, {16, 0, 0}));
    const Loop last = buildLoop(square, {.segment = 3, .reverse = 1});
    EXPECT_TRUE(PointNear(last.corner, {0, 0, 0}));  // vertex 0 after the last
}

TEST(CornerLoops, WhichCornersGetALoop) {
    // A hole with a 60-degree spike of material hanging from its top edge: the spike's tip is sharp on the
    // part's side; the hole's square corners are 270 degrees there and the spike's foot 240.
    const double h = 4.0 / std::tan(30 * cadlib::kRadiansPerDegree);
    const host::db::LwPolyline hole =
        makePolyline({{0, 0}, {20, 0}, {20, 20}, {14, 20}, {10, 20 - h}, {6, 20}, {0, 20}});
    const host::db::LwPolyline square = square10();
    const host::db::LwPolyline hexagon = makePolyline(
        {{10, 0}, {5, 8.660254037844386}, {-5, 8.660254037844386}, {-10, 0}, {-5, -8.660254037844386},
         {5, -8.660254037844386}});
    struct Case {
        const char* name;
        const host::db::LwPolyline* polyline;
        Call call;
        int answer;
    };
    const Case cases[] = {
        {"square hole corner", &square, {.segment = 1, .placement = 0}, 0},
        {"hole's spike tip", &hole, {.segment = 4, .placement = 0}, 1},
        {"hole's square corner", &hole, {.segment = 2, .placement = 0}, 0},
        {"foot of the spike", &hole, {.segment = 3, .placement = 0}, 0},
        {"120-degree corner, limit 100", &hexagon, {.segment = 1}, 0},
        {"120-degree corner, limit 130", &hexagon, {.segment = 1, .angleLimit = 130}, 1},
        {"90-degree corner, limit 90", &square, {.segment = 1, .angleLimit = 90.0001}, 1},
        {"90-degree corner, limit 89", &square, {.segment = 1, .angleLimit = 89}, 0},
        {"the path's start corner", &square, {.segment = 1, .referenceA = {10, 0, 0}}, 0},
        {"start index -1 with A equal to B", &square, {.segment = 1, .referenceA = {3, 3, 0}, .referenceB = {3, 3, 9}, .startIndex = -1}, 0},
        {"start index -1 with A apart from B", &square, {.segment = 1, .startIndex = -1}, 1},
        {"no such segment", &square, {.segment = 4}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Loop l = buildLoop(*c.polyline, c.call);
        EXPECT_EQ(l.answer, c.answer);
        EXPECT_EQ(l.radius, 0);  // set first in every case
        if (c.answer == 0) {
            EXPECT_EQ(l.overshoot, Loop::kUnset);
        }
    }
    // The spike's loop lies inside the hole, where the scrap is.
    const Loop spike = buildLoop(hole, {.segment = 4, .placement = 0});
    EXPECT_EQ(LocatePointInPolyline(spike.overshoot, hole), ContourPointLocation::Inside);
    EXPECT_EQ(LocatePointInPolyline(spike.back, hole), ContourPointLocation::Inside);
}

TEST(CornerLoops, ArcsAndTheirRadius) {
    const host::db::LwPolyline square = square10();
    const double span = 6 * std::sqrt(2.0);  // from the overshoot to the back point
    struct Case {
        const char* name;
        double radius;
        double used;
    };
    const Case cases[] = {
        {"room for the radius", 1.0, 1.0},
        {"extension ends 3R apart: R/2", span / 3, span / 6},
        {"extension ends 1.5R apart: no arcs", span / 1.5, 0.0},
        {"extension ends exactly 2R apart: no arcs", span / 2, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Loop l = buildLoop(square, {.segment = 1, .radius = c.radius});
        ASSERT_EQ(l.answer, 1);
        EXPECT_NEAR(l.radius, c.used, 1e-12);
        if (c.used == 0) {
            EXPECT_EQ(l.centre1, Loop::kUnset);
            EXPECT_EQ(l.straightStart, l.overshoot);
            continue;
        }
        const double r = l.radius;
        // Each arc touches its extension end and the straight piece, which is tangent to both.
        EXPECT_NEAR(l.centre1.distanceTo(l.overshoot), r, 1e-9);
        EXPECT_NEAR(l.centre1.distanceTo(l.straightStart), r, 1e-9);
        EXPECT_NEAR(l.centre2.distanceTo(l.back), r, 1e-9);
        EXPECT_NEAR(l.centre2.distanceTo(l.straightEnd), r, 1e-9);
        const host::ge::Vector3d piece = l.straightEnd - l.straightStart;
        EXPECT_NEAR(piece.dot(l.straightStart - l.centre1), 0, 1e-9);
        EXPECT_NEAR(piece.dot(l.straightEnd - l.centre2), 0, 1e-9);
        for (const Point3d& p : {l.centre1, l.centre2, l.straightStart, l.straightEnd})
            EXPECT_EQ(LocatePointInPolyline(p, square), ContourPointLocation::Outside);
    }
    // The loop at (10, 0) with radius 1, worked by hand: the arc about (16, -1) from T1 to the overshoot, the
    // straight piece down to T2, the arc about (11, -6) from the back point to T2, each counter-clockwise.
    const Loop l = buildLoop(square, {.segment = 1, .radius = 1});
    const double d = std::sqrt(0.5);
    EXPECT_TRUE(PointNear(l.centre1, {16, -1, 0}));
    EXPECT_TRUE(PointNear(l.centre2, {11, -6, 0}));
    EXPECT_TRUE(PointNear(l.straightStart, {16 + d, -1 - d, 0}));
    EXPECT_TRUE(PointNear(l.straightEnd, {11 + d, -6 - d, 0}));
    EXPECT_TRUE(PointNear(l.arc1First, l.straightStart));
    EXPECT_TRUE(PointNear(l.arc1Second, {16, 0, 0}));
    EXPECT_TRUE(PointNear(l.arc2First, {10, -6, 0}));
    EXPECT_TRUE(PointNear(l.arc2Second, l.straightEnd));
}

}  // namespace
