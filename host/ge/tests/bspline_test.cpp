// The cubic through fit points, measured against the curves the points were taken from: circle arcs and a
// parabola, with and without end tangents.
#include "host/ge/bspline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>

#include "host/ge/angle.h"
#include "test_support.h"

namespace host::ge {
namespace {

using testing::PointNear;

// The farthest any point of the curve (sampled densely) lies from the true curve, `distance` measuring it.
double FarthestFrom(const BSplineCurve& curve, const std::function<double(const Point3d&)>& distance) {
    double farthest = 0.0;
    const double a = curve.startParam(), b = curve.endParam();
    constexpr int kSamples = 4000;
    for (int i = 0; i <= kSamples; ++i) {
        farthest = std::max(farthest, distance(evaluateBSpline(curve, a + (b - a) * i / kSamples)));
    }
    return farthest;
}

std::vector<Point3d> ArcPoints(double radius, double from, double to, int count) {
    std::vector<Point3d> points;
    for (int i = 0; i < count; ++i) {
        const double angle = from + (to - from) * i / (count - 1);
        points.push_back({radius * std::cos(angle), radius * std::sin(angle), 0.0});
    }
    return points;
}

// A drawing program's spline through seven points of a quarter circle of radius 100: the polygon through them
// lies 0.86 off the circle; the curve must follow the circle.
TEST(CubicThroughFitPoints, FollowsTheCircleArcItsPointsLieOn) {
    const auto offCircle = [](const Point3d& p) { return std::abs(p.distanceTo({0, 0, 0}) - 100.0); };
    const std::vector<Point3d> points = ArcPoints(100.0, 0.0, kHalfPi, 7);

    const auto estimated = interpolateCubicThrough(points);
    ASSERT_TRUE(estimated);
    EXPECT_LT(FarthestFrom(*estimated, offCircle), 0.02);

    // The file's tangents: up at the start, to the left at the end (their length does not matter).
    const auto tangents = interpolateCubicThrough(points, {0, 5, 0}, {-1, 0, 0});
    ASSERT_TRUE(tangents);
    EXPECT_LT(FarthestFrom(*tangents, offCircle), 0.005);

    // It passes through every fit point, at its ends exactly.
    EXPECT_EQ(evaluateBSpline(*tangents, tangents->startParam()), points.front());
    EXPECT_EQ(evaluateBSpline(*tangents, tangents->endParam()), points.back());
    for (std::size_t k = 0; k < points.size(); ++k) {
        EXPECT_TRUE(PointNear(evaluateBSpline(*tangents, tangents->knots[k + 3]), points[k], 1e-9)) << k;
    }
}

TEST(CubicThroughFitPoints, FollowsAParabolaWithUnevenPoints) {
    // y = x^2 / 50 at uneven x, the tangents of the parabola at the ends.
    std::vector<Point3d> points;
    for (double x : {0.0, 4.0, 11.0, 19.0, 30.0, 38.0, 50.0}) points.push_back({x, x * x / 50.0, 0.0});
    const auto offParabola = [](const Point3d& p) {
        // The distance to the parabola near p: the nearest of fine samples around p's x.
        double best = 1e300;
        for (int i = -2000; i <= 2000; ++i) {
            const double x = p.x + i * 0.001;
            best = std::min(best, std::hypot(p.x - x, p.y - x * x / 50.0));
        }
        return best;
    };
    const auto curve = interpolateCubicThrough(points, {1, 0, 0}, {1, 2, 0});
    ASSERT_TRUE(curve);
    EXPECT_LT(FarthestFrom(*curve, offParabola), 0.01);
}

// A closed row of points round a whole circle runs smoothly through its joint.
TEST(CubicThroughFitPoints, AClosedRowIsSmoothThroughItsJoint) {
    std::vector<Point3d> points = ArcPoints(50.0, 0.0, 2 * kPi, 13);
    points.back() = points.front();
    const auto curve = interpolateCubicThrough(points, {}, {}, true);
    ASSERT_TRUE(curve);
    // Points 30 degrees apart: the polygon through them lies 1.7 inside the circle.
    EXPECT_LT(FarthestFrom(*curve, [](const Point3d& p) { return std::abs(p.distanceTo({0, 0, 0}) - 50.0); }),
              0.03);
    // Both ends leave the joint straight up.
    const Vector3d start = evaluateBSpline(*curve, curve->startParam() + 1e-6) - points.front();
    const Vector3d end = points.front() - evaluateBSpline(*curve, curve->endParam() - 1e-6);
    EXPECT_NEAR(start.normal().y, 1.0, 1e-6);
    EXPECT_NEAR(end.normal().y, 1.0, 1e-6);
}

// A closed spline through points of an ellipse at uneven angles, the first not repeated, is the periodic cubic:
// through every point, back at its first, smooth there to the second derivative, and the same curve whichever
// point the row starts at and whether or not the first is repeated at the end.
TEST(PeriodicCubicThroughFitPoints, IsOneSmoothClosedCurveWhereverTheRowStarts) {
    std::vector<Point3d> points;
    for (double degrees : {0.0, 40.0, 75.0, 130.0, 170.0, 200.0, 260.0, 300.0, 335.0}) {
        const double a = degrees * kPi / 180.0;
        points.push_back({60.0 * std::cos(a) + 5.0, 35.0 * std::sin(a) - 2.0, 0.0});
    }
    const auto curve = interpolatePeriodicCubicThrough(points);
    ASSERT_TRUE(curve);
    // Through every point, the first at both ends.
    const auto& knots = curve->knots;
    EXPECT_EQ(evaluateBSpline(*curve, curve->startParam()), points.front());
    EXPECT_EQ(evaluateBSpline(*curve, curve->endParam()), points.front());
    for (std::size_t k = 0; k < points.size(); ++k) {
        EXPECT_TRUE(PointNear(evaluateBSpline(*curve, knots[3 + 3 * k]), points[k], 1e-9)) << k;
    }
    // First and second derivatives agree on both sides of the first point (and of an inner one).
    const double period = curve->endParam() - curve->startParam();
    const auto at = [&](double t) {
        t = std::fmod(t - curve->startParam() + 2 * period, period) + curve->startParam();
        return evaluateBSpline(*curve, t);
    };
    for (double joint : {curve->startParam(), knots[3 + 3 * 4]}) {
        constexpr double e = 1e-3;
        const Vector3d before = (at(joint) - at(joint - e)) / e, after = (at(joint + e) - at(joint)) / e;
        EXPECT_LT((before - after).length(), 0.02) << joint;
        const Vector3d curvBefore = ((at(joint) - at(joint - e)) - (at(joint - e) - at(joint - 2 * e))) / (e * e);
        const Vector3d curvAfter = ((at(joint + 2 * e) - at(joint + e)) - (at(joint + e) - at(joint))) / (e * e);
        EXPECT_LT((curvBefore - curvAfter).length(), 0.05 * std::max(1.0, curvAfter.length())) << joint;
    }
    // The same curve from the fourth point on, and with the first point repeated at the end (also through the
    // general entry point of a closed row).
    std::vector<Point3d> turned(points.begin() + 3, points.end());
    turned.insert(turned.end(), points.begin(), points.begin() + 3);
    std::vector<Point3d> repeated = points;
    repeated.push_back(points.front());
    // The turned row's parameter 0 is the original's at its fourth point.
    const struct {
        std::optional<BSplineCurve> curve;
        double shift;
    } others[] = {{interpolatePeriodicCubicThrough(turned), knots[3 + 3 * 3]},
                  {interpolateCubicThrough(repeated, {}, {}, true), 0.0},
                  {interpolateCubicThrough(points, {}, {}, true), 0.0}};
    for (const auto& other : others) {
        ASSERT_TRUE(other.curve);
        EXPECT_NEAR(other.curve->endParam() - other.curve->startParam(), period, 1e-9);
        for (int i = 0; i <= 200; ++i) {
            const double t = other.curve->startParam() + period * i / 200;
            EXPECT_TRUE(PointNear(evaluateBSpline(*other.curve, t), at(t + other.shift), 1e-6)) << i;
        }
    }
    // Too few points for a closed curve.
    EXPECT_FALSE(interpolatePeriodicCubicThrough({{0, 0, 0}, {1, 0, 0}, {0, 0, 0}}));
}

TEST(CubicThroughFitPoints, FewOrRepeatedPoints) {
    // Two points: the straight line between them; with tangents, a curve leaving and arriving along them.
    const auto line = interpolateCubicThrough({{0, 0, 0}, {10, 0, 0}});
    ASSERT_TRUE(line);
    EXPECT_TRUE(PointNear(evaluateBSpline(*line, line->startParam() + 0.3 * (line->endParam() - line->startParam())),
                          {3, 0, 0}));
    const auto bent = interpolateCubicThrough({{0, 0, 0}, {10, 0, 0}}, {0, 1, 0}, {0, -1, 0});
    ASSERT_TRUE(bent);
    EXPECT_GT(evaluateBSpline(*bent, (bent->startParam() + bent->endParam()) / 2).y, 1.0);

    // A repeated point is passed over; one distinct point is no curve.
    const auto repeated = interpolateCubicThrough({{0, 0, 0}, {0, 0, 0}, {5, 5, 0}, {10, 0, 0}, {10, 0, 0}});
    ASSERT_TRUE(repeated);
    EXPECT_EQ(repeated->controlPoints.size(), 5u);
    EXPECT_FALSE(interpolateCubicThrough({{1, 1, 0}, {1, 1, 0}}));
    EXPECT_FALSE(interpolateCubicThrough({}));
    EXPECT_FALSE(interpolateCubicThrough({{0, 0, 0}, {NAN, 0, 0}}));
}

}  // namespace
}  // namespace host::ge
