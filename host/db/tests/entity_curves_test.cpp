// Lines, circles, arcs and points: checked values, extents, and transforms (move, rotate, scale, mirror).
#include <gtest/gtest.h>

#include "db_test_support.h"
#include "host/db/entities.h"
#include "host/ge/angle.h"
#include "host/ge/tests/test_support.h"

namespace host::db {
namespace {

using ge::kHalfPi;
using ge::kPi;
using ge::testing::PointNear;
using testing::BoxNear;

TEST(EntityCurves, RadiusMustBePositive) {
    Circle c({0, 0, 0}, 2.0);
    Arc a({0, 0, 0}, 2.0, 0, kPi);
    for (double r : {0.0, -1.0, std::nan("")}) {
        EXPECT_EQ(c.setRadius(r), Status::InvalidInput) << r;
        EXPECT_EQ(a.setRadius(r), Status::InvalidInput) << r;
    }
    EXPECT_DOUBLE_EQ(c.radius(), 2.0);
    EXPECT_DOUBLE_EQ(a.radius(), 2.0);
    EXPECT_EQ(c.setNormal({0, 0, 0}), Status::InvalidInput);
    EXPECT_EQ(c.setNormal({0, 0, 5}), Status::Ok);
    EXPECT_DOUBLE_EQ(c.normal().z, 1.0);  // kept as a unit vector
}

TEST(EntityCurves, ArcAnglesAreNormalisedAndGiveItsPoints) {
    Arc a({1, 1, 0}, 2.0, -kHalfPi, 5 * kPi);  // from -90 degrees to 180 degrees
    EXPECT_NEAR(a.startAngle(), 1.5 * kPi, 1e-12);
    EXPECT_NEAR(a.endAngle(), kPi, 1e-12);
    EXPECT_TRUE(PointNear(a.startPoint(), {1, -1, 0}));
    EXPECT_TRUE(PointNear(a.endPoint(), {-1, 1, 0}));
    EXPECT_NEAR(a.length(), 2.0 * 1.5 * kPi, 1e-12);
    EXPECT_EQ(a.setEndAngle(1.5 * kPi), Status::Ok);
    EXPECT_NEAR(a.length(), 2.0 * 2 * kPi, 1e-12);  // equal angles: a whole circle
}

TEST(EntityCurves, ExtentsOfEachKind) {
    EXPECT_TRUE(BoxNear(Line({3, -1, 2}, {-1, 4, 0}).geomExtents(), {-1, -1, 0}, {3, 4, 2}));
    EXPECT_TRUE(BoxNear(Circle({1, 2, 3}, 2).geomExtents(), {-1, 0, 3}, {3, 4, 3}));
    EXPECT_TRUE(BoxNear(PointEntity({1, 2, 3}).geomExtents(), {1, 2, 3}, {1, 2, 3}));
    // A quarter arc, and one that passes angle 0.
    EXPECT_TRUE(BoxNear(Arc({0, 0, 0}, 1, 0, kHalfPi).geomExtents(), {0, 0, 0}, {1, 1, 0}));
    EXPECT_TRUE(BoxNear(Arc({0, 0, 0}, 1, 1.5 * kPi, kHalfPi).geomExtents(), {0, -1, 0}, {1, 1, 0}));
    // Seen from below (normal -z) the plane's x axis is world -x: the same angles lie on the left.
    Arc below({0, 0, 0}, 1, 0, kHalfPi);
    below.setNormal({0, 0, -1});
    EXPECT_TRUE(PointNear(below.startPoint(), {-1, 0, 0}));
    EXPECT_TRUE(BoxNear(below.geomExtents(), {-1, 0, 0}, {0, 1, 0}));
    // A circle standing in the XZ plane.
    Circle upright({0, 0, 0}, 2);
    upright.setNormal({0, 1, 0});
    EXPECT_TRUE(BoxNear(upright.geomExtents(), {-2, 0, -2}, {2, 0, 2}));
}

TEST(EntityCurves, TransformsOfLinesCirclesAndArcs) {
    struct Case {
        const char* name;
        ge::Matrix3d m;
        ge::Point3d center;
        double radius, start, end;  // the arc afterwards
    };
    // The arc before: centre (1, 0), radius 1, from 0 to 90 degrees (from (2,0) to (1,1)).
    const Case cases[] = {
        {"move", ge::Matrix3d::translation({2, 3, 0}), {3, 3, 0}, 1, 0, kHalfPi},
        {"rotate 90 about origin", ge::Matrix3d::rotation(kHalfPi), {0, 1, 0}, 1, kHalfPi, kPi},
        {"scale 2 about (1,0)", ge::Matrix3d::scaling(2, {1, 0, 0}), {1, 0, 0}, 2, 0, kHalfPi},
        // A mirror in the y axis maps (2,0) to (-2,0) and (1,1) to (-1,1): still counter-clockwise, it now runs
        // from the image of the end (angle 90) to the image of the start (angle 180).
        {"mirror in the y axis", ge::Matrix3d::mirroring({0, 0, 0}, {0, 1, 0}), {-1, 0, 0}, 1, kHalfPi, kPi},
        {"mirror in the x axis", ge::Matrix3d::mirroring({0, 0, 0}, {1, 0, 0}), {1, 0, 0}, 1, 1.5 * kPi, 0},
    };
    for (const Case& c : cases) {
        Arc arc({1, 0, 0}, 1, 0, kHalfPi);
        const ge::Point3d start = arc.startPoint(), end = arc.endPoint();
        ASSERT_EQ(arc.transformBy(c.m), Status::Ok) << c.name;
        EXPECT_TRUE(PointNear(arc.center(), c.center)) << c.name;
        EXPECT_NEAR(arc.radius(), c.radius, 1e-12) << c.name;
        EXPECT_NEAR(std::cos(arc.startAngle() - c.start), 1.0, 1e-12) << c.name << " start " << arc.startAngle();
        EXPECT_NEAR(std::cos(arc.endAngle() - c.end), 1.0, 1e-12) << c.name << " end " << arc.endAngle();
        EXPECT_NEAR(arc.normal().z, 1.0, 1e-12) << c.name;  // the normal stays up: the arc is redrawn, not flipped
        // The arc's end points are the images of the old ones (swapped by a mirror).
        const bool mirrored = c.m.isMirroring();
        EXPECT_TRUE(PointNear(mirrored ? arc.endPoint() : arc.startPoint(), c.m * start)) << c.name;
        EXPECT_TRUE(PointNear(mirrored ? arc.startPoint() : arc.endPoint(), c.m * end)) << c.name;

        Line line({0, 0, 0}, {2, 0, 0});
        ASSERT_EQ(line.transformBy(c.m), Status::Ok);
        EXPECT_TRUE(PointNear(line.end(), c.m * ge::Point3d{2, 0, 0})) << c.name;

        Circle circle({1, 0, 0}, 1);
        ASSERT_EQ(circle.transformBy(c.m), Status::Ok);
        EXPECT_TRUE(PointNear(circle.center(), c.center)) << c.name;
        EXPECT_NEAR(circle.radius(), c.radius, 1e-12) << c.name;
    }
}

TEST(EntityCurves, NonUniformScaleOfCirclesAndArcsIsNotApplicable) {
    const ge::Matrix3d stretch = ge::Matrix3d::scaling(ge::Vector3d{2, 1, 1});
    Circle c({1, 1, 0}, 1);
    Arc a({1, 1, 0}, 1, 0, kPi);
    EXPECT_EQ(c.transformBy(stretch), Status::NotApplicable);
    EXPECT_EQ(a.transformBy(stretch), Status::NotApplicable);
    EXPECT_TRUE(PointNear(c.center(), {1, 1, 0}));  // unchanged
    EXPECT_DOUBLE_EQ(a.radius(), 1.0);
    // Lines and points take any affine transform.
    Line l({1, 1, 0}, {2, 2, 0});
    EXPECT_EQ(l.transformBy(stretch), Status::Ok);
    EXPECT_TRUE(PointNear(l.end(), {4, 2, 0}));
    PointEntity p({1, 1, 0});
    EXPECT_EQ(p.transformBy(stretch), Status::Ok);
    EXPECT_TRUE(PointNear(p.position(), {2, 1, 0}));
}

}  // namespace
}  // namespace host::db
