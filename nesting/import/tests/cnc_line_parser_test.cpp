// Lines of CNC programs read back: the common G-code forms, the bracketed forms, and the lines refused with their
// reason instead of being read wrong.
#include <gtest/gtest.h>

#include <string>

#include "nesting/import/cnc_line_parser.h"

namespace {

using host::ge::Point2d;

struct LineCase {
    std::string line;
    int mode;
    double scale;
    Point2d from;
    bool moved;
    int motion;  // after the line (the motion before it is 1)
    Point2d end;
    Point2d centre;  // checked when the motion is an arc
};

TEST(CncLine, ReadsTheCommonForms) {
    const double r = 5.0 * std::sqrt(2.0);
    const std::string radius = std::to_string(r);
    const std::string negative = "-" + radius;
    const LineCase cases[] = {
        {"G01 X10 Y0", 0, 1, {0, 0}, true, 1, {10, 0}, {}},
        {"N20 G00 X10 Y10 ; to start", 0, 1, {0, 0}, true, 0, {10, 10}, {}},
        {"G1X10Y5", 0, 1, {0, 0}, true, 1, {10, 5}, {}},
        {"X-.5 Y+2.25", 0, 1, {0, 0}, true, 1, {-0.5, 2.25}, {}},
        {"X=10 Y=4", 0, 1, {0, 0}, true, 1, {10, 4}, {}},
        {"X5000 Y-2000", 0, 1000, {0, 0}, true, 1, {5, -2}, {}},
        {"X7", 0, 1, {1, 2}, true, 1, {7, 2}, {}},  // an axis not given keeps its value
        {"X10 Z5", 0, 1, {0, 0}, true, 1, {10, 0}, {}},
        {"G91 X5", 0, 1, {3, 4}, true, 1, {8, 4}, {}},
        {"X5 G91 Y1", 1, 1, {3, 4}, true, 1, {8, 5}, {}},  // the mode word holds for the whole line
        {"X5 Y5", 3, 1, {1, 1}, true, 1, {6, 6}, {}},
        {"G90 X5 Y5", 4, 1, {1, 1}, true, 1, {5, 5}, {}},
        {"G01 X10 (go right) Y5", 0, 1, {0, 0}, true, 1, {10, 5}, {}},
        {"G01 X10 (unclosed Y5", 0, 1, {0, 0}, true, 1, {10, 0}, {}},
        {"(a comment alone)", 0, 1, {0, 0}, false, 1, {0, 0}, {}},
        {"G03", 0, 1, {0, 0}, false, 3, {0, 0}, {}},
        {"G17 G21 G40 M03 F2000 S100", 0, 1, {0, 0}, false, 1, {0, 0}, {}},
        {"%", 0, 1, {0, 0}, false, 1, {0, 0}, {}},
        {"O0001", 0, 1, {0, 0}, false, 1, {0, 0}, {}},
        // Address letters in either case; an exponent stays a number's.
        {"x10 y10", 0, 1, {0, 0}, true, 1, {10, 10}, {}},
        {"g2 x10 y0 i5 j0", 1, 1, {0, 0}, true, 2, {10, 0}, {5, 0}},
        {"n5 g91 x5 (Up)", 0, 1, {3, 4}, true, 1, {8, 4}, {}},
        {"G01 X1e1 Y2.e1", 0, 1, {0, 0}, true, 1, {10, 20}, {}},
        {"[lead] x12", 0, 1, {0, 0}, true, 1, {12, 0}, {}},
        {"  G01 X3", 0, 1, {0, 0}, true, 1, {3, 0}, {}},
        // Arcs by I and J in each mode, and with J left out (no offset).
        {"G02 X10 Y0 I5 J0", 1, 1, {0, 0}, true, 2, {10, 0}, {5, 0}},
        {"G02 X10 Y0 I5 J0", 2, 1, {0, 0}, true, 2, {10, 0}, {-5, 0}},
        {"G02 X10 Y0 I5 J0", 0, 1, {0, 0}, true, 2, {10, 0}, {5, 0}},
        {"G03 X0 Y10 I-10 J0", 1, 1, {10, 0}, true, 3, {0, 10}, {0, 0}},
        {"G3 X10 Y0 I5", 1, 1, {0, 0}, true, 3, {10, 0}, {5, 0}},
        {"G2 I5 J0", 1, 1, {1, 1}, true, 2, {1, 1}, {6, 1}},
        // Arcs by R: the shorter arc for R > 0, the longer for R < 0, on the side the turn says.
        {"G2 X10 Y0 R5", 0, 1, {0, 0}, true, 2, {10, 0}, {5, 0}},
        {"G3 X10 Y0 R" + radius, 0, 1, {0, 0}, true, 3, {10, 0}, {5, 5}},
        {"G2 X10 Y0 R" + radius, 0, 1, {0, 0}, true, 2, {10, 0}, {5, -5}},
        {"G3 X10 Y0 R" + negative, 0, 1, {0, 0}, true, 3, {10, 0}, {5, -5}},
        {"G2 X10 Y0 R" + negative, 0, 1, {0, 0}, true, 2, {10, 0}, {5, 5}},
        {"G2 X10000 Y0 R5000", 0, 1000, {0, 0}, true, 2, {10, 0}, {5, 0}},
        // The bracketed forms.
        {"[LEAD] X12000 Y10000", 0, 1000, {0, 0}, true, 1, {12, 10}, {}},
        {"[UNDO] X10 Y10", 0, 1, {0, 0}, true, 0, {10, 10}, {}},
        {"[HOLE] X10 Y10", 0, 1, {0, 0}, true, 0, {10, 10}, {}},
        {"[HEAD] X10 Y10", 0, 1, {0, 0}, false, 1, {0, 0}, {}},
        {"[[MAT]] X10", 0, 1, {0, 0}, false, 1, {0, 0}, {}},
        {"[OTHER] X10", 0, 1, {0, 0}, true, 1, {10, 0}, {}},
        {"[CUT] X20000 Y10000", 0, 1000, {0, 0}, true, 1, {20, 10}, {}},
        {"X10Z5 Y2", 0, 1, {0, 0}, true, 1, {10, 2}, {}},
        {"F300", 0, 1, {0, 0}, false, 1, {0, 0}, {}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.line);
        int motion = kCncLine;
        Point2d end, centre;
        bool incremental = c.mode > 2;
        CncLineResult result;
        EXPECT_EQ(ParseCncLine(c.line, motion, c.from, end, centre, c.scale, incremental, c.mode, result), c.moved);
        EXPECT_EQ(result.problem, CncLineProblem::None);
        EXPECT_EQ(motion, c.motion);
        if (!c.moved) continue;
        EXPECT_NEAR(end.x, c.end.x, 1e-9);
        EXPECT_NEAR(end.y, c.end.y, 1e-9);
        if (c.motion >= kCncClockwise) {
            EXPECT_NEAR(centre.x, c.centre.x, 1e-6);
            EXPECT_NEAR(centre.y, c.centre.y, 1e-6);
        }
    }
}

TEST(CncLine, RefusesWhatItCannotReadAndKeepsItsState) {
    struct Refused {
        std::string line;
        CncLineProblem problem;
        bool endKnown;
    };
    const Refused cases[] = {
        {"G01 Xnan Y5", CncLineProblem::NotANumber, false},
        {"G01 Xinf", CncLineProblem::NotANumber, false},
        {"G01 X Y5", CncLineProblem::NotANumber, false},
        {"G01 X-", CncLineProblem::NotANumber, false},
        {"G01 X10 Y", CncLineProblem::NotANumber, false},
        {"Gx X1", CncLineProblem::NotANumber, false},
        {"G01 X1e300", CncLineProblem::OutOfRange, false},
        {"G01 X1e400", CncLineProblem::OutOfRange, false},
        {"G01 X2000000000", CncLineProblem::OutOfRange, false},
        {"G92 X0 Y0", CncLineProblem::UnknownGCode, false},
        {"G02 X10 Y0", CncLineProblem::ArcWithoutCentre, true},
        {"G02 X10 Y0 R4", CncLineProblem::ArcRadiusTooSmall, true},
        {"G02 X0 Y0 R4", CncLineProblem::ArcWithoutCentre, true},
        {std::string("G01 X1 ") + std::string(100000, '7'), CncLineProblem::LineTooLong, false},
        // A typo inside a number, or between words, refuses the line: its number's prefix is no value.
        {"N170 y4O", CncLineProblem::NotANumber, false},
        {"Y3O", CncLineProblem::NotANumber, false},
        {"Y4.0.0", CncLineProblem::NotANumber, false},
        {"N190 ?? Y40", CncLineProblem::NotANumber, false},
        {"G01 XY5", CncLineProblem::NotANumber, false},
        {"G1.5 X1", CncLineProblem::NotANumber, false},
        {"G01 X10 Y5 F3OO", CncLineProblem::NotANumber, false},
        {"G01 X10 Z", CncLineProblem::NotANumber, false},
        {"G01 X1,5", CncLineProblem::NotANumber, false},
        {"[CUT] X1O", CncLineProblem::NotANumber, false},
        {"10 20", CncLineProblem::NotReadable, false},
        {"@X5 Y5", CncLineProblem::NotReadable, false},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.line.substr(0, 40));
        int motion = kCncLine;
        Point2d end, centre(1, 2);
        bool incremental = false;
        CncLineResult result;
        EXPECT_FALSE(ParseCncLine(c.line, motion, Point2d(0, 0), end, centre, 1.0, incremental, 0, result));
        EXPECT_EQ(result.problem, c.problem);
        EXPECT_EQ(result.endKnown, c.endKnown);
        EXPECT_TRUE(centre.x == 1 && centre.y == 2) << "the kept centre is untouched";
        if (!c.endKnown) {
            EXPECT_EQ(motion, kCncLine) << "a refused line changes no motion";
        }
    }
    int motion = kCncLine;
    Point2d end, centre;
    bool incremental = false;
    CncLineResult result;
    EXPECT_FALSE(ParseCncLine("G92 X0", motion, Point2d(), end, centre, 1.0, incremental, 0, result));
    EXPECT_EQ(result.code, 92);
    // A scale of 0 reads nothing at all.
    EXPECT_FALSE(ParseCncLine("X10", motion, Point2d(), end, centre, 0.0, incremental, 0, result));
}

}  // namespace
