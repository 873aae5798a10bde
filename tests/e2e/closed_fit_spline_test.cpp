// A closed spline given by fit points alone, as several writers store it (flag 70 = 1, the first fit point not
// repeated at the end), becomes a closed contour: the periodic cubic through its points. Before, the reader lost
// the closed flag, the spline was converted open ("Unclosed contours - 1") and no program could be made.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <string>

#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/laser_session.h"

namespace closed_fit_spline_test {

namespace fs = std::filesystem;
using e2e::has;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

// A drawing of one SPLINE through `count` points of an ellipse (the first repeated at the end when `repeat`),
// with the flags `flags`, and nothing but its fit points: no knots, no control points.
std::string SplineDrawing(int flags, bool repeat, int count = 9, bool tangents = false) {
    std::string text = "0\nSECTION\n2\nENTITIES\n0\nSPLINE\n8\n0\n100\nAcDbEntity\n100\nAcDbSpline\n70\n" +
                       std::to_string(flags) + "\n71\n3\n72\n0\n73\n0\n74\n" +
                       std::to_string(count + (repeat ? 1 : 0)) + "\n44\n0.0000000001\n";
    // End tangents, as some writers store them for a closed spline too: both along the curve at its first point.
    if (tangents) text += "12\n0.0\n22\n1.0\n32\n0.0\n13\n0.0\n23\n1.0\n33\n0.0\n";
    for (int i = 0; i <= count; ++i) {
        if (i == count && !repeat) break;
        const int k = i % count;  // the repeated point is the first
        const double a = 2 * std::numbers::pi * k / count + 0.1 * std::sin(k);
        text += "11\n" + std::to_string(100 + 60 * std::cos(a)) + "\n21\n" + std::to_string(80 + 35 * std::sin(a)) +
                "\n31\n0.0\n";
    }
    return text + "0\nENDSEC\n0\nEOF\n";
}

TEST(ClosedFitSpline, IsConvertedToAClosedContour) {
    struct Case {
        const char* what;
        int flags;
        bool repeat;
        bool closed;
        bool tangents = false;
    };
    const Case cases[] = {
        {"flag closed, first point not repeated", 1 + 8, false, true},
        {"flag closed and periodic, first point not repeated", 1 + 2 + 8, false, true},
        {"flag closed, first point repeated", 1 + 8, true, true},
        {"no flag, first point repeated", 8, true, true},
        {"an open spline", 8, false, false},
        {"flag closed with end tangents, first point not repeated", 1 + 8, false, true, true},
        {"flag closed with end tangents, first point repeated", 1 + 8, true, true, true},
        {"an open spline with end tangents", 8, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        writeBytes(folder / "spline.dxf", SplineDrawing(c.flags, c.repeat, 9, c.tangents));
        const e2e::RunResult r =
            e2e::runLaserScript(folder / "spline.dxf", folder,
                                "Convert_Spline_to_Polyline\nALL\n\n1\n10\nNCCreateContour\n" +
                                    std::string(c.closed ? "" : "msgbox OK\n"),
                                folder / "out.dxf");
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        EXPECT_TRUE(has(r.out, "Converted Splines - 1")) << r.out;
        EXPECT_EQ(has(r.out, "Unclose = 0"), c.closed) << r.out;
        EXPECT_EQ(has(r.out, "Unclosed contours - 1"), !c.closed) << r.out;
    }
}

}  // namespace closed_fit_spline_test
