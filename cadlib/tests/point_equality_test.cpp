// The "same point" rule: strict at a precision, inclusive by a tolerance, x and y only, NaN never equal.
#include "cadlib/point_equality.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using host::ge::Point3d;

TEST(PointEquality, PrecisionIsStrictAndToleranceInclusive) {
    const double nan = std::nan("");
    struct Case {
        const char* name;
        Point3d p, q;
        int atPrecision;  // n = 10000
        int byTolerance;  // t = 0.0001
    };
    const Case cases[] = {
        {"same point", {1, 2, 0}, {1, 2, 0}, 0, 0},
        {"0.00009 apart in x", {1, 2, 0}, {1.00009, 2, 0}, 0, 0},
        {"0.00009 apart in y", {1, 2, 0}, {1, 2.00009, 0}, 0, 0},
        // A step of the grid apart: the strict form says different, the inclusive one equal. 0.0001 is not exact
        // in binary, so the difference is taken from 0, where it is the double 0.0001 itself.
        {"0.0001 apart in x", {0, 0, 0}, {0.0001, 0, 0}, 1, 0},
        {"0.0001 apart in y", {0, 0, 0}, {0, -0.0001, 0}, 1, 0},
        {"0.00011 apart", {1, 2, 0}, {1.00011, 2, 0}, 1, 1},
        {"z is not looked at", {1, 2, 0}, {1, 2, 100}, 0, 0},
        {"NaN differs", {nan, 2, 0}, {nan, 2, 0}, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PointsDifferAtPrecision(c.p, c.q, kPathPointPrecision), c.atPrecision);
        EXPECT_EQ(CoordinatesDifferAtPrecision(c.p.x, c.p.y, c.q.x, c.q.y, kPathPointPrecision), c.atPrecision);
        EXPECT_EQ(PointsDifferByTolerance(c.p, c.q, 0.0001), c.byTolerance);
        EXPECT_EQ(CoordinatesDifferByTolerance(c.p.x, c.p.y, c.q.x, c.q.y, 0.0001), c.byTolerance);
    }
}

TEST(PointEquality, ToleranceIsInclusiveAtItsBound) {
    // 0.5 and 0.25 are exact in binary, so the difference is exactly the tolerance.
    EXPECT_EQ(CoordinatesDifferByTolerance(0, 0, 0.25, 0.25, 0.25), 0);
    EXPECT_EQ(CoordinatesDifferByTolerance(0, 0, 0.5, 0, 0.25), 1);
    // At precision 4 a step is 0.25: exactly one step apart is different.
    EXPECT_EQ(CoordinatesDifferAtPrecision(0, 0, 0.25, 0, 4), 1);
    EXPECT_EQ(CoordinatesDifferAtPrecision(0, 0, 0.24, 0, 4), 0);
}

}  // namespace
