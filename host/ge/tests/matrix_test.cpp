// Affine transforms: the usual constructions, products, inverse, and the uniform-scale test.
#include "host/ge/matrix.h"

#include <gtest/gtest.h>

#include "host/ge/angle.h"
#include "test_support.h"

namespace host::ge {
namespace {

using testing::PointNear;

TEST(Matrix, TransformsMovePointsWhereExpected) {
    struct Case {
        const char* name;
        Matrix3d m;
        Point3d in, out;
    };
    const Case cases[] = {
        {"identity", Matrix3d(), {1, 2, 3}, {1, 2, 3}},
        {"translation", Matrix3d::translation({1, -2, 3}), {1, 1, 1}, {2, -1, 4}},
        {"rotation about origin", Matrix3d::rotation(kHalfPi), {1, 0, 5}, {0, 1, 5}},
        {"rotation about a point", Matrix3d::rotation(kPi, Vector3d::kZAxis(), {1, 1, 0}), {2, 1, 0}, {0, 1, 0}},
        {"rotation about x", Matrix3d::rotation(kHalfPi, Vector3d::kXAxis()), {0, 1, 0}, {0, 0, 1}},
        {"rotation, unnormalised axis", Matrix3d::rotation(kHalfPi, {0, 0, 5}), {1, 0, 0}, {0, 1, 0}},
        {"zero axis is identity", Matrix3d::rotation(1.0, {0, 0, 0}), {1, 2, 3}, {1, 2, 3}},
        {"scaling about a point", Matrix3d::scaling(2, {1, 1, 1}), {2, 3, 1}, {3, 5, 1}},
        {"non-uniform scaling", Matrix3d::scaling(Vector3d{2, 3, 1}), {1, 1, 1}, {2, 3, 1}},
        {"mirror in the x axis", Matrix3d::mirroring({0, 0, 0}, {1, 0, 0}), {3, 4, 5}, {3, -4, 5}},
        {"mirror in y = x", Matrix3d::mirroring({0, 0, 0}, {2, 2, 0}), {1, 0, 0}, {0, 1, 0}},
        {"mirror in x = 5", Matrix3d::mirroring({5, 0, 0}, {5, 1, 7}), {4, 3, 2}, {6, 3, 2}},
        {"mirror with coincident points", Matrix3d::mirroring({1, 1, 0}, {1, 1, 9}), {4, 3, 2}, {4, 3, 2}},
        {"product applies the right operand first",
         Matrix3d::translation({10, 0, 0}) * Matrix3d::rotation(kHalfPi), {1, 0, 0}, {10, 1, 0}},
    };
    for (const Case& c : cases) EXPECT_TRUE(PointNear(c.m * c.in, c.out, 1e-12)) << c.name;
}

TEST(Matrix, VectorsIgnoreTheTranslation) {
    const Matrix3d m = Matrix3d::translation({5, 5, 5}) * Matrix3d::scaling(2);
    const Vector3d v = m * Vector3d{1, 0, 0};
    EXPECT_DOUBLE_EQ(v.x, 2);
    EXPECT_DOUBLE_EQ(v.y, 0);
}

TEST(Matrix, UniformScaleTestAndScale) {
    struct Case {
        const char* name;
        Matrix3d m;
        bool uniform;
        double scale, det;
    };
    const Case cases[] = {
        {"identity", Matrix3d(), true, 1, 1},
        {"rotation and move", Matrix3d::translation({3, 4, 0}) * Matrix3d::rotation(0.7), true, 1, 1},
        {"uniform scale", Matrix3d::scaling(2.5, {1, 2, 3}), true, 2.5, 2.5 * 2.5 * 2.5},
        {"mirror", Matrix3d::mirroring({0, 0, 0}, {1, 1, 0}), true, 1, -1},
        {"rotated scaled mirror",
         Matrix3d::rotation(1.1) * Matrix3d::scaling(3) * Matrix3d::mirroring({0, 0, 0}, {0, 1, 0}), true, 3, -27},
        {"non-uniform", Matrix3d::scaling(Vector3d{1, 2, 1}), false, 1, 2},
        {"zero scale", Matrix3d::scaling(0.0), false, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.m.isUniScaledOrtho(), c.uniform) << c.name;
        EXPECT_NEAR(c.m.scale(), c.scale, 1e-12) << c.name;
        EXPECT_NEAR(c.m.det(), c.det, 1e-9) << c.name;
        EXPECT_EQ(c.m.isMirroring(), c.det < 0) << c.name;
    }
}

TEST(Matrix, InverseUndoesTheTransform) {
    const Matrix3d m = Matrix3d::translation({1, 2, 3}) * Matrix3d::rotation(0.3, {1, 1, 1}) *
                       Matrix3d::scaling(Vector3d{2, 3, 4});
    const auto inv = m.inverse();
    ASSERT_TRUE(inv.has_value());
    const Point3d p{-3, 7, 11};
    EXPECT_TRUE(PointNear(*inv * (m * p), p, 1e-12));
    EXPECT_FALSE(Matrix3d::scaling(Vector3d{1, 0, 1}).inverse().has_value());
}

TEST(Matrix, PlaneToWorldFollowsTheArbitraryAxisRule) {
    EXPECT_EQ(Matrix3d::planeToWorld({0, 0, 1}), Matrix3d());
    EXPECT_EQ(Matrix3d::planeToWorld({0, 0, 0}), Matrix3d());  // no normal: the world plane
    // The plane seen from below: x turns into -x and z into -z, y stays.
    const Matrix3d below = Matrix3d::planeToWorld({0, 0, -1});
    EXPECT_TRUE(PointNear(below * Point3d{1, 2, 3}, {-1, 2, -3}));
    // A tilted normal: the axes are perpendicular unit vectors with the normal as the third.
    const Vector3d n = Vector3d{1, 2, 3}.normal();
    const Matrix3d m = Matrix3d::planeToWorld(n);
    EXPECT_TRUE(m.isUniScaledOrtho());
    EXPECT_NEAR(m.det(), 1.0, 1e-12);
    const Vector3d z = m * Vector3d::kZAxis();
    EXPECT_NEAR((z - n).length(), 0.0, 1e-12);
    // x axis = (world z) x n, normalised.
    const Vector3d x = m * Vector3d::kXAxis();
    EXPECT_NEAR((x - Vector3d::kZAxis().cross(n).normal()).length(), 0.0, 1e-12);
}

TEST(Matrix, NormalsStayPerpendicularToTheirPlane) {
    // A plane x + y = 0 (normal (1,1,0)) under a non-uniform scale: the image normal is that of the image plane.
    const Matrix3d m = Matrix3d::scaling(Vector3d{2, 1, 1});
    const Vector3d n = m.transformNormal({1, 1, 0});
    const Vector3d inPlane = m * Vector3d{1, -1, 0};  // a direction of the plane, transformed
    EXPECT_NEAR(n.dot(inPlane), 0.0, 1e-12);
    EXPECT_NEAR(n.length(), 1.0, 1e-12);
    // A mirror in a vertical plane keeps the z axis pointing up.
    const Vector3d up = Matrix3d::mirroring({0, 0, 0}, {1, 2, 0}).transformNormal(Vector3d::kZAxis());
    EXPECT_NEAR((up - Vector3d::kZAxis()).length(), 0.0, 1e-12);
}

}  // namespace
}  // namespace host::ge
