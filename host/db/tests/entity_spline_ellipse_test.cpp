// Splines (NURBS validation, de Boor evaluation with weights, tessellation) and ellipses (parameters, the host's
// angles, extents, transforms).
#include <gtest/gtest.h>

#include <cmath>

#include "host/db/entities.h"
#include "host/ge/angle.h"
#include "host/ge/tests/test_support.h"

namespace host::db {
namespace {

using ge::kHalfPi;
using ge::kPi;
using ge::kTwoPi;
using ge::testing::PointNear;

TEST(Spline, NurbsDataIsValidated) {
    const std::vector<ge::Point3d> four = {{0, 0}, {1, 1}, {2, 1}, {3, 0}};
    struct Case {
        const char* name;
        int degree;
        std::vector<double> knots;
        std::vector<ge::Point3d> ctrl;
        std::vector<double> weights;
        Status status;
    };
    const Case cases[] = {
        {"clamped cubic", 3, {0, 0, 0, 0, 1, 1, 1, 1}, four, {}, Status::Ok},
        {"weighted", 3, {0, 0, 0, 0, 1, 1, 1, 1}, four, {1, 2, 2, 1}, Status::Ok},
        {"degree 0", 0, {0, 1, 2, 3}, four, {}, Status::InvalidInput},
        {"too few control points", 3, {0, 0, 0, 0, 1, 1, 1}, {{0, 0}, {1, 1}, {2, 1}}, {}, Status::InvalidInput},
        {"one knot short", 3, {0, 0, 0, 0, 1, 1, 1}, four, {}, Status::InvalidInput},
        {"decreasing knots", 3, {0, 0, 0, 0, 1, 0.5, 1, 1}, four, {}, Status::InvalidInput},
        {"empty range", 3, {0, 0, 0, 0, 0, 0, 0, 0}, four, {}, Status::InvalidInput},
        {"weights count", 3, {0, 0, 0, 0, 1, 1, 1, 1}, four, {1, 1, 1}, Status::InvalidInput},
        {"zero weight", 3, {0, 0, 0, 0, 1, 1, 1, 1}, four, {1, 0, 1, 1}, Status::InvalidInput},
        {"NaN knot", 3, {0, 0, 0, 0, std::nan(""), 1, 1, 1}, four, {}, Status::InvalidInput},
    };
    for (const Case& c : cases) {
        Spline s;
        EXPECT_EQ(s.setNurbsData(c.degree, 8, c.knots, c.ctrl, c.weights), c.status) << c.name;
        if (c.status == Status::Ok) EXPECT_EQ(s.isRational(), !c.weights.empty()) << c.name;
        else EXPECT_TRUE(s.controlPoints().empty()) << c.name;  // nothing stored
    }
}

TEST(Spline, EvaluatesKnownCurves) {
    // A quadratic Bezier: B(t) = (1-t)^2 P0 + 2t(1-t) P1 + t^2 P2.
    Spline bezier;
    ASSERT_EQ(bezier.setNurbsData(2, 8, {0, 0, 0, 1, 1, 1}, {{0, 0}, {1, 2}, {2, 0}}), Status::Ok);
    EXPECT_TRUE(PointNear(bezier.evaluate(0.5), {1, 1, 0}));
    EXPECT_TRUE(PointNear(bezier.evaluate(0.25), {0.5, 0.75, 0}));
    EXPECT_TRUE(PointNear(bezier.evaluate(-3), {0, 0, 0}));  // clamped to the range
    EXPECT_TRUE(PointNear(bezier.evaluate(1), {2, 0, 0}));

    // A uniform cubic B-spline (unclamped knots, range [3, 4]): at the middle of its span the weights of the
    // four control points are 1/48, 23/48, 23/48, 1/48.
    Spline uniform;
    ASSERT_EQ(uniform.setNurbsData(3, 8, {0, 1, 2, 3, 4, 5, 6, 7}, {{0, 0}, {48, 0}, {0, 48}, {0, 0}}), Status::Ok);
    EXPECT_DOUBLE_EQ(uniform.startParam(), 3);
    EXPECT_DOUBLE_EQ(uniform.endParam(), 4);
    EXPECT_TRUE(PointNear(uniform.evaluate(3.5), {23, 23, 0}));

    // A rational quadratic with weights 1, sqrt(2)/2, 1 draws an exact quarter circle.
    Spline quarter;
    ASSERT_EQ(quarter.setNurbsData(2, 8, {0, 0, 0, 1, 1, 1}, {{1, 0}, {1, 1}, {0, 1}}, {1, std::sqrt(0.5), 1}),
              Status::Ok);
    for (double t = 0; t <= 1.0; t += 0.125) EXPECT_NEAR(quarter.evaluate(t).distanceTo({0, 0, 0}), 1.0, 1e-12) << t;
    EXPECT_TRUE(PointNear(quarter.evaluate(0.5), {std::sqrt(0.5), std::sqrt(0.5), 0}));

    // A whole circle of four such quarters, with double interior knots.
    const double w = std::sqrt(0.5);
    Spline circle;
    ASSERT_EQ(circle.setNurbsData(2, 8 | 1, {0, 0, 0, 0.25, 0.25, 0.5, 0.5, 0.75, 0.75, 1, 1, 1},
                                  {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}, {1, 0}},
                                  {1, w, 1, w, 1, w, 1, w, 1}),
              Status::Ok);
    for (const ge::Point3d& p : circle.tessellate(8)) EXPECT_NEAR(p.distanceTo({0, 0, 0}), 1.0, 1e-12);
    EXPECT_TRUE(PointNear(circle.evaluate(0.5), {-1, 0, 0}));  // at a double knot
}

TEST(Spline, TessellationAndFitPoints) {
    Spline s;
    ASSERT_EQ(s.setNurbsData(2, 8, {0, 0, 0, 1, 2, 2, 2}, {{0, 0}, {1, 1}, {2, 0}, {3, 1}}), Status::Ok);
    const auto pts = s.tessellate(4);
    ASSERT_EQ(pts.size(), 2u * 4 + 1);  // two knot spans
    EXPECT_TRUE(PointNear(pts.front(), {0, 0, 0}));
    EXPECT_TRUE(PointNear(pts.back(), {3, 1, 0}));
    const auto box = s.geomExtents();
    ASSERT_TRUE(box);
    EXPECT_NEAR(box->min.x, 0, 1e-12);
    EXPECT_NEAR(box->max.x, 3, 1e-12);
    EXPECT_NEAR(box->max.y, 1.0, 1e-12);  // the clamped end, (3, 1)
    EXPECT_LT(s.evaluate(1.0).y, 1.0);     // the curve inside its control hull between the ends

    // Fit points only: the cubic through them, not the polygon joining them; a single fit point stays a point.
    Spline fit;
    ASSERT_EQ(fit.setFitData({{0, 0}, {2, 0}, {2, 2}}), Status::Ok);
    EXPECT_TRUE(PointNear(fit.evaluate(fit.startParam()), {0, 0, 0}));
    EXPECT_TRUE(PointNear(fit.evaluate(fit.startParam() + 2.0), {2, 0, 0}));  // a chord of 2 to the corner point
    EXPECT_TRUE(PointNear(fit.evaluate(fit.endParam()), {2, 2, 0}));
    EXPECT_GT(fit.evaluate(fit.startParam() + 3.0).x, 2.0);                    // the curve swings out past the corner
    EXPECT_EQ(fit.tessellate(4).size(), 9u);                                   // two spans of four segments
    Spline single;
    ASSERT_EQ(single.setFitData({{1, 1}}), Status::Ok);
    EXPECT_TRUE(PointNear(single.evaluate(0.5), {1, 1, 0}));
    EXPECT_FALSE(Spline().geomExtents().has_value());
}

// A spline given by fit points alone moves with its fit points as the curve through them, and one whose last
// point closes on its first runs smoothly through the joint.
TEST(Spline, AFitPointSplineFollowsItsPointsThroughTransformsAndItsJoint) {
    Spline s;
    const std::vector<ge::Point3d> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
    ASSERT_EQ(s.setFitData(square), Status::Ok);
    const ge::Matrix3d m = ge::Matrix3d::translation({5, 5, 0});
    const ge::Point3d before = s.evaluate(s.startParam() + 5.0);
    ASSERT_EQ(s.transformBy(m), Status::Ok);
    EXPECT_TRUE(PointNear(s.evaluate(s.startParam() + 5.0), m * before));
    const ge::Vector3d out = (s.evaluate(s.startParam() + 1e-6) - s.fitPoints().front()).normal();
    const ge::Vector3d in = (s.fitPoints().front() - s.evaluate(s.endParam() - 1e-6)).normal();
    EXPECT_NEAR(out.dot(in), 1.0, 1e-6);
}

TEST(Spline, AnyAffineTransformMovesTheControlPoints) {
    Spline s;
    ASSERT_EQ(s.setNurbsData(2, 8, {0, 0, 0, 1, 1, 1}, {{0, 0}, {1, 2}, {2, 0}}), Status::Ok);
    const ge::Matrix3d m = ge::Matrix3d::translation({1, 1, 0}) * ge::Matrix3d::scaling(ge::Vector3d{2, 0.5, 1});
    const ge::Point3d before = s.evaluate(0.3);
    ASSERT_EQ(s.transformBy(m), Status::Ok);
    EXPECT_TRUE(PointNear(s.evaluate(0.3), m * before));
}

TEST(Ellipse, SetIsValidated) {
    Ellipse e;
    EXPECT_EQ(e.set({0, 0}, {0, 0, 1}, {2, 0, 0}, 0.0), Status::InvalidInput);
    EXPECT_EQ(e.set({0, 0}, {0, 0, 1}, {2, 0, 0}, 1.5), Status::InvalidInput);
    EXPECT_EQ(e.set({0, 0}, {0, 0, 1}, {0, 0, 0}, 0.5), Status::InvalidInput);
    EXPECT_EQ(e.set({0, 0}, {0, 0, 0}, {2, 0, 0}, 0.5), Status::InvalidInput);
    EXPECT_EQ(e.set({0, 0}, {0, 0, 1}, {1, 0, 1}, 0.5), Status::InvalidInput);  // axis out of the plane
    EXPECT_EQ(e.set({0, 0}, {0, 0, 1}, {2, 0, 1e-9}, 0.5), Status::Ok);        // a rounding off: put back
    EXPECT_DOUBLE_EQ(e.majorAxis().z, 0.0);
}

TEST(Ellipse, ParametersPointsAndAngles) {
    Ellipse e;
    ASSERT_EQ(e.set({1, 1, 0}, {0, 0, 1}, {2, 0, 0}, 0.5), Status::Ok);
    EXPECT_TRUE(e.isClosed());
    EXPECT_NEAR((e.minorAxis() - ge::Vector3d{0, 1, 0}).length(), 0.0, 1e-12);  // normal x major, times the ratio
    EXPECT_TRUE(PointNear(e.pointAtParam(kHalfPi), {1, 2, 0}));
    const auto box = e.geomExtents();
    ASSERT_TRUE(box);
    EXPECT_TRUE(PointNear(box->min, {-1, 0, 0}));
    EXPECT_TRUE(PointNear(box->max, {3, 2, 0}));

    // An elliptical arc through parameter 0: angles as the host reports them, tan(angle) = ratio * tan(t).
    ASSERT_EQ(e.set({0, 0, 0}, {0, 0, 1}, {2, 0, 0}, 0.5, 5.5, 0.5), Status::Ok);
    EXPECT_NEAR(e.startParam(), 5.5, 1e-12);
    EXPECT_NEAR(e.endParam(), 0.5 + kTwoPi, 1e-12);
    EXPECT_FALSE(e.isClosed());
    EXPECT_NEAR(e.endAngle(), std::atan(0.5 * std::tan(0.5)), 1e-12);
    EXPECT_NEAR(e.startAngle(), ge::normalizeAngle(std::atan(0.5 * std::tan(5.5))), 1e-12);
    const auto pts = e.tessellate(10);
    ASSERT_EQ(pts.size(), 11u);
    EXPECT_TRUE(PointNear(pts.front(), e.startPoint()));
    EXPECT_TRUE(PointNear(pts.back(), e.endPoint()));
}

TEST(Ellipse, MirrorKeepsThePointsAndSwapsTheEnds) {
    Ellipse e;
    ASSERT_EQ(e.set({1, 0, 0}, {0, 0, 1}, {2, 1, 0}, 0.5, 0.3, 2.0), Status::Ok);
    const ge::Matrix3d m = ge::Matrix3d::mirroring({0, 0, 0}, {0, 1, 0});
    const ge::Point3d start = e.startPoint(), end = e.endPoint(), mid = e.pointAtParam(1.15);
    ASSERT_EQ(e.transformBy(m), Status::Ok);
    EXPECT_NEAR(e.normal().z, 1.0, 1e-12);
    EXPECT_TRUE(PointNear(e.startPoint(), m * end));
    EXPECT_TRUE(PointNear(e.endPoint(), m * start));
    EXPECT_TRUE(PointNear(e.pointAtParam((e.startParam() + e.endParam()) / 2), m * mid));
    EXPECT_EQ(e.transformBy(ge::Matrix3d::scaling(ge::Vector3d{1, 2, 1})), Status::NotApplicable);
}

}  // namespace
}  // namespace host::db
