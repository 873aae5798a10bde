// Test support for the cutting-path tests on drawings made into contours: finding a contour record by the corner
// of its box, and reaching a record by its index.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>

#include "laser/contours/tests/creation_drawing_fixture.h"

namespace path_testing {

class ContourLookupTest : public contour_testing::CreationTest {
public:
    // The record index of the contour whose box starts at (x, y); a test failure and 0 when there is none.
    int At(double x, double y) {
        for (int i = 0; i < Job().contourCount; ++i) {
            const ContourRecord& r = Job().contours[static_cast<std::size_t>(i)];
            if (std::abs(r.minX - x) < 1e-6 && std::abs(r.minY - y) < 1e-6) return i;
        }
        ADD_FAILURE() << "no contour at " << x << "," << y;
        return 0;
    }
    ContourRecord& Rec(int i) { return Job().contours[static_cast<std::size_t>(i)]; }
};

}  // namespace path_testing
