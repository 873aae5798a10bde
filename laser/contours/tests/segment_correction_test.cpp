// Polyline repairs: closing nearly closed polylines, removing runs of short arcs, straightening flat arcs, the
// big-radius report, and smoothing nearly straight runs.
#include "laser/contours/segment_correction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "host/ed/transcript.h"
#include "laser/contours/tests/contour_stage_fixture.h"

namespace {

using host::db::LwPolyline;
using host::ge::Point2d;

struct V {
    double x, y, bulge = 0.0;
};

LwPolyline Make(const std::vector<V>& vs, bool closed = false) {
    LwPolyline pl;
    unsigned i = 0;
    for (const V& v : vs) pl.addVertexAt(i++, {v.x, v.y}, v.bulge);
    pl.setClosed(closed);
    return pl;
}

std::vector<Point2d> Points(const LwPolyline& pl) {
    std::vector<Point2d> out;
    for (const auto& v : pl.vertices()) out.push_back(v.point);
    return out;
}

// The chord of a half circle (bulge 1) whose arc is `length` long.
double HalfCircleChord(double length) { return 2.0 * length / std::numbers::pi; }

class SegmentCorrection : public contour_testing::SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        host::ed::transcript().clear();
    }
};

TEST_F(SegmentCorrection, ClosesOnlyWhenTheEndsLieWithinTheJoiningDistance) {
    settings().AutoConnectDist = 0.0001;
    struct Case {
        double gapX, gapY;
        bool closes;
    } cases[] = {
        {0.00005, 0.0, true},
        {0.00005, 0.00005, true},
        {0.0001, 0.0, true},  // inclusive
        {0.0002, 0.0, false},
        {0.0, 0.0002, false},
    };
    for (const Case& c : cases) {
        LwPolyline pl = Make({{0, 0}, {10, 0}, {10, 10}, {c.gapX, c.gapY}});
        CorrectPolylineSegments(pl, 0, 0.1, 0.05, kCorrectionSilent);
        EXPECT_EQ(pl.isClosed(), c.closes) << c.gapX << ", " << c.gapY;
        EXPECT_EQ(pl.numVerts(), 4u) << "the last vertex stays, on top of the first when closed";
        const Point2d last = pl.vertices().back().point;
        if (c.closes) {
            EXPECT_EQ(last, Point2d(0, 0));
        } else {
            EXPECT_EQ(last, Point2d(c.gapX, c.gapY));
        }
    }
}

TEST_F(SegmentCorrection, RemovesARunOfShortArcsUntilTheRemovedLengthWouldPassTheMinimum) {
    const double c = HalfCircleChord(0.04);
    // Three half circles of 0.04 each between two straight pieces.
    LwPolyline pl = Make({{0, 0}, {10, 0, 1}, {10 + c, 0, 1}, {10 + 2 * c, 0, 1}, {10 + 3 * c, 0}, {20, 0}});
    CorrectPolylineSegments(pl, 1, 0.1, 0.05, kCorrectionSilent);
    // 0.04 and 0.04 + 0.04 stay within 0.1 and go; the third would make 0.12, so it stays.
    ASSERT_EQ(pl.numVerts(), 4u);
    EXPECT_EQ(pl.vertices()[1].point, Point2d(10 + 2 * c, 0));
    EXPECT_EQ(pl.vertices()[1].bulge, 1.0);
    EXPECT_EQ(pl.vertices()[0].bulge, 0.0);
}

TEST_F(SegmentCorrection, TreatsEachArcByLengthAndHeight) {
    struct Case {
        const char* what;
        V arcStart;
        V arcEnd;
        unsigned vertsAfter;
        double bulgeAfter;  // of the arc's vertex when it stays
    } cases[] = {
        {"short arc of 0.05 goes", {0, 0, 1}, {HalfCircleChord(0.05), 0}, 2, 0.0},
        {"flat arc (height value 0.025) becomes straight", {0, 0, 0.01}, {0.2, 0}, 3, 0.0},
        {"high arc stays", {0, 0, 0.5}, {1, 0}, 3, 0.5},
    };
    for (const Case& t : cases) {
        LwPolyline pl = Make({t.arcStart, t.arcEnd, {5, 5}});
        CorrectPolylineSegments(pl, 1, 0.1, 0.05, kCorrectionSilent);
        ASSERT_EQ(pl.numVerts(), t.vertsAfter) << t.what;
        if (t.vertsAfter == 3) {
            EXPECT_EQ(pl.vertices()[0].bulge, t.bulgeAfter) << t.what;
        }
    }

    // Status 0 closes but leaves the arcs alone.
    LwPolyline pl = Make({{0, 0, 1}, {HalfCircleChord(0.05), 0}, {5, 5}});
    CorrectPolylineSegments(pl, 0, 0.1, 0.05, kCorrectionSilent);
    EXPECT_EQ(pl.numVerts(), 3u);
}

TEST_F(SegmentCorrection, ReportsSurvivingArcsAboveTheBigRadiusOnlyWhenAsked) {
    // An arc of 0.1 rad: bulge tan(0.025), chord 2 r sin(0.05).
    auto arcOfRadius = [](double r) {
        return Make({{0, 0, std::tan(0.025)}, {2 * r * std::sin(0.05), 0}, {0, -50}});
    };
    LwPolyline big = arcOfRadius(1500);
    CorrectPolylineSegments(big, 1, 0.1, 0.05, kCorrectionPrintBigRadius);
    const std::string text = host::ed::transcript().text();
    EXPECT_NE(text.find(">> Big Radius=1500.0 Start="), std::string::npos) << text;
    EXPECT_NE(text.find(" Center=74.969,"), std::string::npos) << text;
    EXPECT_EQ(big.vertices()[0].bulge, std::tan(0.025));

    host::ed::transcript().clear();
    LwPolyline silent = arcOfRadius(1500);
    CorrectPolylineSegments(silent, 1, 0.1, 0.05, kCorrectionSilent);
    LwPolyline limit = arcOfRadius(1000);
    CorrectPolylineSegments(limit, 1, 0.1, 0.05, kCorrectionPrintBigRadius);
    EXPECT_EQ(host::ed::transcript().text().find("Big Radius"), std::string::npos);

    SetLanguageFlag(1);
    LwPolyline russian = arcOfRadius(1500);
    CorrectPolylineSegments(russian, 1, 0.1, 0.05, kCorrectionPrintBigRadius);
    EXPECT_NE(host::ed::transcript().text().find(">> Большой радиус=1500.0"), std::string::npos);
}

TEST_F(SegmentCorrection, SmoothingDropsInnerVerticesOfStraightRunsAndLeftTurnsOnly) {
    struct Case {
        const char* what;
        std::vector<V> in;
        std::vector<Point2d> out;
    } cases[] = {
        {"collinear run",
         {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}, {9, 0}},
         {{0, 0}, {9, 0}}},
        {"small turn to the left", {{0, 0}, {1, 0.001}, {2, 0}}, {{0, 0}, {2, 0}}},
        {"small turn to the right reads as almost a full turn", {{0, 0}, {1, -0.001}, {2, 0}},
         {{0, 0}, {1, -0.001}, {2, 0}}},
        {"a corner ends the run", {{0, 0}, {1, 0}, {2, 0}, {2, 5}}, {{0, 0}, {2, 0}, {2, 5}}},
        {"deviation above the maximum stays", {{0, 0}, {1, 0.1}, {2, 0}}, {{0, 0}, {1, 0.1}, {2, 0}}},
    };
    for (const Case& c : cases) {
        LwPolyline pl = Make(c.in);
        SmoothPolyline(pl, 1, 0.1, 0.05);
        EXPECT_EQ(Points(pl), c.out) << c.what;
    }

    LwPolyline disabled = Make({{0, 0}, {1, 0}, {2, 0}});
    SmoothPolyline(disabled, 0, 0.1, 0.05);
    EXPECT_EQ(disabled.numVerts(), 3u);
}

TEST_F(SegmentCorrection, SmoothingStraightensFlatArcsButNeverSwallowsAnArc) {
    // Flat arc (height 0.01 over a chord of 2) becomes straight and then joins the run.
    LwPolyline flat = Make({{0, 0, 0.01}, {2, 0}, {4, 0}});
    SmoothPolyline(flat, 1, 0.1, 0.05);
    EXPECT_EQ(Points(flat), (std::vector<Point2d>{{0, 0}, {4, 0}}));

    // A real arc right after the run's first vertex: removing vertex 1 would have replaced the half circle from
    // (1,0) to (3,0) by a straight line, though every vertex lies on the x axis.
    LwPolyline arc = Make({{0, 0}, {1, 0, 1}, {3, 0}, {4, 0}});
    SmoothPolyline(arc, 1, 0.1, 0.05);
    ASSERT_EQ(arc.numVerts(), 4u);
    EXPECT_EQ(arc.vertices()[1].bulge, 1.0);
}

}  // namespace
