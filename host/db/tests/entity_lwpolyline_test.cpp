// Lightweight polylines: vertex editing with index checks, segment access (negative bulges, the closing
// segment), length and area, reversal, extents and transforms.
#include <gtest/gtest.h>

#include <cmath>

#include "host/db/entities.h"
#include "host/ge/angle.h"
#include "host/ge/tests/test_support.h"

namespace host::db {
namespace {

using ge::kPi;
using ge::testing::PointNear;

// tan(22.5 degrees): the bulge of a quarter circle.
const double kQuarter = std::tan(kPi / 8);

LwPolyline polyline(std::initializer_list<LwPolyline::Vertex> verts, bool closed = false) {
    LwPolyline p;
    for (const LwPolyline::Vertex& v : verts) p.addVertexAt(p.numVerts(), v.point, v.bulge, v.startWidth, v.endWidth);
    p.setClosed(closed);
    return p;
}

TEST(LwPolyline, IndexChecksChangeNothing) {
    LwPolyline p = polyline({{{0, 0}}, {{1, 0}}});
    ge::Point2d pt;
    double b = 0;
    EXPECT_EQ(p.getPointAt(2, pt), Status::InvalidIndex);
    EXPECT_EQ(p.getBulgeAt(5, b), Status::InvalidIndex);
    EXPECT_EQ(p.setPointAt(2, {9, 9}), Status::InvalidIndex);
    EXPECT_EQ(p.setBulgeAt(2, 1.0), Status::InvalidIndex);
    EXPECT_EQ(p.removeVertexAt(2), Status::InvalidIndex);
    EXPECT_EQ(p.addVertexAt(3, {9, 9}), Status::InvalidIndex);
    EXPECT_EQ(p.numVerts(), 2u);
    // Inserting before index 1, and appending at numVerts.
    EXPECT_EQ(p.addVertexAt(1, {0.5, 1}), Status::Ok);
    EXPECT_EQ(p.addVertexAt(3, {2, 0}), Status::Ok);
    EXPECT_EQ(p.getPointAt(1, pt), Status::Ok);
    EXPECT_TRUE(PointNear(pt, {0.5, 1}));
    EXPECT_EQ(p.removeVertexAt(0), Status::Ok);
    EXPECT_EQ(p.getPointAt(0, pt), Status::Ok);
    EXPECT_TRUE(PointNear(pt, {0.5, 1}));
    EXPECT_EQ(p.setWidthsAt(0, -1, 0), Status::InvalidInput);
}

TEST(LwPolyline, WidthsOfMinusOneTakeTheConstantWidth) {
    LwPolyline p;
    p.setConstantWidth(0.5);
    p.addVertexAt(0, {0, 0});
    p.addVertexAt(1, {1, 0}, 0.0, 0.2, -1);
    double s = 0, e = 0;
    p.getWidthsAt(0, s, e);
    EXPECT_EQ(s, 0.5);
    p.getWidthsAt(1, s, e);
    EXPECT_EQ(s, 0.2);
    EXPECT_EQ(e, 0.5);
}

TEST(LwPolyline, SegmentTypesAndCounts) {
    using T = LwPolyline::SegType;
    EXPECT_EQ(LwPolyline().segType(0), T::Empty);
    EXPECT_EQ(polyline({{{1, 1}}}).segType(0), T::Point);
    const LwPolyline open = polyline({{{0, 0}, 0.5}, {{1, 0}}, {{1, 0}}, {{1, 1}}});
    EXPECT_EQ(open.numSegments(), 3u);
    EXPECT_EQ(open.segType(0), T::Arc);
    EXPECT_EQ(open.segType(1), T::Coincident);
    EXPECT_EQ(open.segType(2), T::Line);
    EXPECT_EQ(open.segType(3), T::Empty);  // no closing segment
    LwPolyline closed = open;
    closed.setClosed(true);
    EXPECT_EQ(closed.numSegments(), 4u);
    EXPECT_EQ(closed.segType(3), T::Line);  // from (1,1) back to (0,0)
}

TEST(LwPolyline, ArcSegmentsRunFromVertexToVertex) {
    // A rounded shape: a counter-clockwise quarter, a clockwise (negative bulge) quarter, and a closing arc.
    const LwPolyline p = polyline({{{1, 0}, kQuarter}, {{0, 1}, -kQuarter}, {{-1, 2}, 1.0}}, true);
    struct Case {
        unsigned index;
        ge::Point2d start, end, center;
        double radius;
        bool clockwise;
    };
    const Case cases[] = {
        {0, {1, 0}, {0, 1}, {0, 0}, 1, false},
        {1, {0, 1}, {-1, 2}, {0, 2}, 1, true},  // clockwise: the centre lies right of the chord
        {2, {-1, 2}, {1, 0}, {0, 1}, std::sqrt(2.0), false},  // the closing segment, a half circle
    };
    for (const Case& c : cases) {
        ge::CircArc2d arc;
        ASSERT_EQ(p.getArcSegAt(c.index, arc), Status::Ok) << c.index;
        EXPECT_TRUE(PointNear(arc.startPoint(), c.start)) << c.index;
        EXPECT_TRUE(PointNear(arc.endPoint(), c.end)) << c.index;
        EXPECT_TRUE(PointNear(arc.center, c.center)) << c.index;
        EXPECT_NEAR(arc.radius, c.radius, 1e-12) << c.index;
        EXPECT_EQ(arc.clockwise, c.clockwise) << c.index;
        ge::LineSeg2d seg;
        EXPECT_EQ(p.getLineSegAt(c.index, seg), Status::NotApplicable) << c.index;
    }
    ge::CircArc2d arc;
    EXPECT_EQ(p.getArcSegAt(3, arc), Status::InvalidIndex);
    const LwPolyline straight = polyline({{{0, 0}}, {{3, 4}}});
    ge::LineSeg2d seg;
    EXPECT_EQ(straight.getLineSegAt(0, seg), Status::Ok);
    EXPECT_TRUE(PointNear(seg.end, {3, 4}));
    EXPECT_EQ(straight.getArcSegAt(0, arc), Status::NotApplicable);
}

TEST(LwPolyline, LengthAndArea) {
    struct Case {
        const char* name;
        LwPolyline p;
        double length, area;
    };
    const Case cases[] = {
        {"closed square", polyline({{{0, 0}}, {{2, 0}}, {{2, 2}}, {{0, 2}}}, true), 8, 4},
        {"clockwise square", polyline({{{0, 0}}, {{0, 2}}, {{2, 2}}, {{2, 0}}}, true), 8, 4},
        // An open polyline answers the area of its outline closed by a chord.
        {"open square", polyline({{{0, 0}}, {{2, 0}}, {{2, 2}}, {{0, 2}}}), 6, 4},
        // Two half circles: a whole circle of radius 1.
        {"circle of two bulges", polyline({{{1, 0}, 1.0}, {{-1, 0}, 1.0}}, true), 2 * kPi, kPi},
        {"circle, clockwise", polyline({{{1, 0}, -1.0}, {{-1, 0}, -1.0}}, true), 2 * kPi, kPi},
        // A square with one side bulging out (a half circle of radius 1 on the right side) and one bulging in.
        {"bulge out", polyline({{{0, 0}}, {{2, 0}, 1.0}, {{2, 2}}, {{0, 2}}}, true), 6 + kPi, 4 + kPi / 2},
        {"bulge in", polyline({{{0, 0}}, {{2, 0}, -1.0}, {{2, 2}}, {{0, 2}}}, true), 6 + kPi, 4 - kPi / 2},
        // The last bulge of an open polyline plays no part in the area.
        {"open, last bulge", polyline({{{1, 0}, 1.0}, {{-1, 0}, 1.0}}), kPi, kPi / 2},
        {"one vertex", polyline({{{1, 1}}}), 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(c.p.length(), c.length, 1e-12) << c.name;
        EXPECT_NEAR(c.p.area(), c.area, 1e-12) << c.name;
    }
}

TEST(LwPolyline, ReverseCurveKeepsTheShapeAndRoundTrips) {
    const LwPolyline original =
        polyline({{{0, 0}, 0.5, 0.1, 0.2}, {{2, 0}, 0.0, 0.3, 0.4}, {{2, 2}, -0.25, 0.5, 0.6}, {{0, 2}, 0.7, 0.7, 0.8}},
                 true);
    LwPolyline p = original;
    ASSERT_EQ(p.reverseCurve(), Status::Ok);
    // Vertex order reversed.
    ge::Point2d pt;
    p.getPointAt(0, pt);
    EXPECT_TRUE(PointNear(pt, {0, 2}));
    p.getPointAt(3, pt);
    EXPECT_TRUE(PointNear(pt, {0, 0}));
    // New segment 0 runs (0,2) -> (2,2): the old segment 2 backwards, bulge negated, widths swapped. The new
    // closing segment (0,0) -> (0,2) retraces the old closing segment.
    const auto& v = p.vertices();
    EXPECT_DOUBLE_EQ(v[0].bulge, 0.25);
    EXPECT_DOUBLE_EQ(v[0].startWidth, 0.6);
    EXPECT_DOUBLE_EQ(v[0].endWidth, 0.5);
    EXPECT_DOUBLE_EQ(v[3].bulge, -0.7);
    EXPECT_DOUBLE_EQ(v[1].bulge, 0.0);
    EXPECT_FALSE(std::signbit(v[1].bulge));  // a plain 0, not -0
    // Each segment's arc is the old one run backwards.
    for (unsigned j = 0; j < 4; ++j) {
        ge::CircArc2d now, before;
        if (p.getArcSegAt(j, now) != Status::Ok) continue;
        ASSERT_EQ(original.getArcSegAt((2 * 4 - 2 - j) % 4, before), Status::Ok);
        EXPECT_TRUE(PointNear(now.center, before.center)) << j;
        EXPECT_TRUE(PointNear(now.startPoint(), before.endPoint())) << j;
    }
    EXPECT_NEAR(p.area(), original.area(), 1e-12);
    EXPECT_NEAR(p.length(), original.length(), 1e-12);
    ASSERT_EQ(p.reverseCurve(), Status::Ok);
    EXPECT_EQ(p.vertices(), original.vertices());

    // Open: the start becomes the old end; the unused last bulge survives a round trip.
    LwPolyline open = polyline({{{0, 0}, 1.0}, {{2, 0}, 0.0}, {{4, 0}, 0.3}});
    open.reverseCurve();
    EXPECT_TRUE(PointNear(open.startPoint(), {4, 0, 0}));
    EXPECT_DOUBLE_EQ(open.vertices()[1].bulge, -1.0);  // (2,0) -> (0,0), the old first arc backwards
    open.reverseCurve();
    EXPECT_DOUBLE_EQ(open.vertices()[2].bulge, 0.3);
}

TEST(LwPolyline, ExtentsIncludeArcs) {
    const LwPolyline p = polyline({{{1, 0}, 1.0}, {{-1, 0}}});  // an upper half circle
    const auto box = p.geomExtents();
    ASSERT_TRUE(box);
    EXPECT_TRUE(PointNear(box->min, {-1, 0, 0}));
    EXPECT_TRUE(PointNear(box->max, {1, 1, 0}));
    EXPECT_FALSE(LwPolyline().geomExtents().has_value());
}

TEST(LwPolyline, TransformsKeepTheShape) {
    const LwPolyline original = polyline({{{0, 0}, 0.0}, {{2, 0}, 1.0}, {{2, 2}, -0.5}, {{0, 2}}}, true);
    struct Case {
        const char* name;
        ge::Matrix3d m;
    };
    const Case cases[] = {
        {"move", ge::Matrix3d::translation({5, -3, 0})},
        {"rotate", ge::Matrix3d::rotation(0.7, ge::Vector3d::kZAxis(), {1, 1, 0})},
        {"scale", ge::Matrix3d::scaling(3)},
        {"mirror", ge::Matrix3d::mirroring({0, 0, 0}, {1, 2, 0})},
    };
    for (const Case& c : cases) {
        LwPolyline p = original;
        ASSERT_EQ(p.transformBy(c.m), Status::Ok) << c.name;
        const double s = c.m.scale();
        EXPECT_NEAR(p.area(), original.area() * s * s, 1e-9) << c.name;
        EXPECT_NEAR(p.length(), original.length() * s, 1e-9) << c.name;
        for (unsigned i = 0; i < 4; ++i) {
            ge::Point3d now, before;
            p.getPointAt(i, now);
            original.getPointAt(i, before);
            EXPECT_TRUE(PointNear(now, c.m * before)) << c.name << " vertex " << i;
        }
        // Arc midpoints follow the transform too: a mirror negates the bulges to keep the arcs on their side.
        ge::CircArc2d a, b;
        ASSERT_EQ(p.getArcSegAt(1, a), Status::Ok);
        ASSERT_EQ(original.getArcSegAt(1, b), Status::Ok);
        const ge::Point2d mid = b.pointAtAngle(b.startAngle + (b.clockwise ? -1 : 1) * b.sweep() / 2);
        const ge::Point3d image = c.m * ge::Point3d{mid};
        EXPECT_NEAR(a.center.distanceTo(image.to2d()), a.radius, 1e-9) << c.name;
        EXPECT_TRUE(a.containsAngle(ge::angleFromTo(a.center, image.to2d()))) << c.name;
        EXPECT_NEAR(p.normal().z, 1.0, 1e-12) << c.name;
    }
    // A non-uniform scale cannot keep arcs circular; a straight polyline takes it.
    LwPolyline arcs = original;
    EXPECT_EQ(arcs.transformBy(ge::Matrix3d::scaling(ge::Vector3d{2, 1, 1})), Status::NotApplicable);
    EXPECT_EQ(arcs.vertices(), original.vertices());
    LwPolyline straight = polyline({{{0, 0}}, {{1, 1}}});
    EXPECT_EQ(straight.transformBy(ge::Matrix3d::scaling(ge::Vector3d{2, 1, 1})), Status::Ok);
    EXPECT_TRUE(PointNear(straight.vertices()[1].point, {2, 1}));
}

TEST(LwPolyline, PlaneSeenFromBelow) {
    // Normal -z: vertex x runs along world -x, and the elevation along world -z.
    LwPolyline p = polyline({{{1, 0}}, {{2, 0}}});
    p.setNormal({0, 0, -1});
    p.setElevation(3);
    ge::Point3d w;
    p.getPointAt(1, w);
    EXPECT_TRUE(PointNear(w, {-2, 0, -3}));
    EXPECT_TRUE(PointNear(p.startPoint(), {-1, 0, -3}));
    EXPECT_TRUE(PointNear(p.endPoint(), {-2, 0, -3}));
}

}  // namespace
}  // namespace host::db
