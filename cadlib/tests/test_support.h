// Comparisons shared by the library's geometry tests.
#pragma once

#include <gtest/gtest.h>

#include "cadlib/angles.h"
#include "host/ge/point.h"

namespace cadlib::testing {

// One degree in radians, for angles written in degrees.
inline constexpr double kDeg = kRadiansPerDegree;

inline ::testing::AssertionResult PointNear(const host::ge::Point3d& actual, const host::ge::Point3d& expected,
                                            double eps = 1e-9) {
    if (actual.distanceTo(expected) <= eps) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z
                                         << ") is not within " << eps << " of (" << expected.x << ", "
                                         << expected.y << ", " << expected.z << ")";
}

}  // namespace cadlib::testing
