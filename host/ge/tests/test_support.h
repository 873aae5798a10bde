// Comparisons shared by the geometry tests.
#pragma once

#include <gtest/gtest.h>

#include "host/ge/point.h"

namespace host::ge::testing {

inline constexpr double kNear = 1e-9;

inline ::testing::AssertionResult PointNear(const Point2d& actual, const Point2d& expected, double eps = kNear) {
    if (actual.distanceTo(expected) <= eps) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ") is not within " << eps
                                         << " of (" << expected.x << ", " << expected.y << ")";
}

inline ::testing::AssertionResult PointNear(const Point3d& actual, const Point3d& expected, double eps = kNear) {
    if (actual.distanceTo(expected) <= eps) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z
                                         << ") is not within " << eps << " of (" << expected.x << ", "
                                         << expected.y << ", " << expected.z << ")";
}

}  // namespace host::ge::testing
