// Tests of the start point of a contour: the corner classes and the start-point modes, circles, and the answers
// for marking points, open lines and contours of other kinds.
#include <gtest/gtest.h>

#include "laser/path/start_point.h"
#include "laser/path/tests/leads_fixture.h"

namespace {

using leads_testing::LeadsTest;
using leads_testing::Near;
using host::ge::Point3d;

class StartPoint : public LeadsTest {};

TEST_F(StartPoint, RectangleStartsAtTheCornerNearestTheToolInEveryMode) {
    Rectangle(0, 0, 100, 50);
    Create();
    const int plate = At(0, 0);
    struct Case {
        int mode;
        Point3d tool, expected;
    } cases[] = {
        {0, {-5, -5}, {0, 0}},    {1, {-5, -5}, {0, 0}},    {2, {-5, -5}, {0, 0}},
        {0, {110, 60}, {100, 50}}, {1, {110, 60}, {100, 50}}, {2, {110, 60}, {100, 50}},
        {2, {104, -3}, {100, 0}},  {2, {-1, 49}, {0, 50}},
    };
    for (const Case& c : cases) {
        settings().ZahodTypePoint = static_cast<std::int8_t>(c.mode);
        Point3d start(9999, 9999, 0);
        EXPECT_EQ(FindStartPoint(c.tool, start, c.tool, plate), kStartPointChosen);
        EXPECT_TRUE(Near(start, c.expected)) << "mode " << c.mode << ": " << start.x << "," << start.y;
    }
}

TEST_F(StartPoint, TheWayOnWeighsAgainstTheWayIn) {
    // From (-5, 25) the corners (0, 0) and (0, 50) are equally near; the next contour up at (0, 200) decides.
    Rectangle(0, 0, 100, 50);
    Create();
    Point3d start;
    EXPECT_EQ(FindStartPoint({-5, 25}, start, {0, 200}, At(0, 0)), kStartPointChosen);
    EXPECT_TRUE(Near(start, {0, 50}));
    EXPECT_EQ(FindStartPoint({-5, 25}, start, {0, -200}, At(0, 0)), kStartPointChosen);
    EXPECT_TRUE(Near(start, {0, 0}));
}

TEST_F(StartPoint, ANarrowNotchIsNeverTheStartWhileAnotherCornerExists) {
    // A part with a V notch from the top whose bottom (50, 10) has 14 degrees of scrap around it: the tool is
    // right at the notch bottom, yet every mode starts at a corner of the notch's mouth.
    Polyline({{0, 0}, {100, 0}, {100, 50}, {55, 50}, {50, 10}, {45, 50}, {0, 50}}, true);
    Create();
    for (int mode : {0, 1, 2}) {
        settings().ZahodTypePoint = static_cast<std::int8_t>(mode);
        Point3d start;
        FindStartPoint({50, 12}, start, {50, 12}, At(0, 0));
        EXPECT_FALSE(Near(start, {50, 10})) << "mode " << mode;
        EXPECT_TRUE(Near(start, {55, 50}) || Near(start, {45, 50})) << "mode " << mode << ": " << start.x;
    }
}

TEST_F(StartPoint, ModeTwoPrefersAnOrdinaryCornerToANearerSpikeTip) {
    // A thin triangle whose tip at (100, 5) is a 6-degree spike (354 degrees of scrap); the tool is beside the
    // tip. Modes 0 and 1 take the nearest corner of any ordinary class, mode 2 only falls back to the spike.
    Polyline({{0, 0}, {100, 5}, {0, 10}}, true);
    Create();
    struct Case {
        int mode;
        bool tip;
    } cases[] = {{0, true}, {1, true}, {2, false}};
    for (const Case& c : cases) {
        settings().ZahodTypePoint = static_cast<std::int8_t>(c.mode);
        Point3d start;
        FindStartPoint({110, 5}, start, {110, 5}, At(0, 0));
        EXPECT_EQ(Near(start, {100, 5}), c.tip) << "mode " << c.mode << ": " << start.x << "," << start.y;
        if (!c.tip) {
            EXPECT_NEAR(start.x, 0.0, 1e-9);
        }
    }
}

TEST_F(StartPoint, AStraightJunctionOfTwoLinesIsNoStart) {
    Polyline({{0, 0}, {50, 0}, {100, 0}, {100, 50}, {0, 50}}, true);
    Create();
    for (int mode : {0, 1, 2}) {
        settings().ZahodTypePoint = static_cast<std::int8_t>(mode);
        Point3d start;
        FindStartPoint({50, -1}, start, {50, -1}, At(0, 0));
        EXPECT_FALSE(Near(start, {50, 0})) << "mode " << mode;
        EXPECT_NEAR(start.y, 0.0, 1e-9);
    }
}

TEST_F(StartPoint, ACornerOfTwoLinesBeatsANearerCornerTouchingAnArc) {
    // The right side is an arc bulging out; its corners (100, 0) and (100, 50) touch it and lie nearest the tool.
    Polyline({{0, 0}, {100, 0, 0.3}, {100, 50}, {0, 50}}, true);
    Create();
    const int part = At(0, 0);
    Point3d start;
    FindStartPoint({105, -5}, start, {105, -5}, part);
    EXPECT_TRUE(Near(start, {0, 0})) << start.x << "," << start.y;
}

TEST_F(StartPoint, AShapeWithoutCornersStartsAtTheNearestSmoothJunctionOfLineAndArc) {
    // A slot: two straight sides joined by half circles of radius 25, every junction smooth.
    Polyline({{0, 0}, {100, 0, 1.0}, {100, 50}, {0, 50, 1.0}}, true);
    Create();
    int slot = -1;
    for (int i = 0; i < Job().contourCount; ++i) {
        if (Rec(i).shape == kShapePolyline) slot = i;
    }
    ASSERT_GE(slot, 0);
    struct Case {
        Point3d tool, expected;
    } cases[] = {{{105, -5}, {100, 0}}, {{-5, 55}, {0, 50}}};
    for (int mode : {0, 1, 2}) {
        settings().ZahodTypePoint = static_cast<std::int8_t>(mode);
        for (const Case& c : cases) {
            Point3d start(9999, 9999, 0);
            FindStartPoint(c.tool, start, c.tool, slot);
            EXPECT_TRUE(Near(start, c.expected)) << "mode " << mode << ": " << start.x << "," << start.y;
        }
    }
}

TEST_F(StartPoint, ACircleStartsWhereTheReferenceSegmentMeetsItOrFacingItsMiddle) {
    Circle({50, 50}, 10);
    Create();
    const int circle = At(40, 40);
    struct Case {
        Point3d a, b, expected;
    } cases[] = {
        {{50, 0}, {50, 50}, {50, 40}},   // the segment crosses the circle once
        {{0, 0}, {0, 100}, {40, 50}},    // it misses: the point facing its middle (0, 50)
        {{100, 50}, {100, 50}, {60, 50}},
    };
    for (const Case& c : cases) {
        Point3d start;
        EXPECT_EQ(FindStartPoint(c.a, start, c.b, circle), kStartPointChosen);
        EXPECT_TRUE(Near(start, c.expected)) << start.x << "," << start.y;
    }
}

TEST_F(StartPoint, AnswersTellMarkingPointsOpenLinesAndUnbeatenSeeds) {
    Point({30, 20}, "MarkPoint");
    Polyline({{200, 0}, {250, 0}, {250, 40}}, false);
    Rectangle(300, 0, 350, 50, "NoLeadIn");
    Create();

    Point3d start(1, 1, 0);
    EXPECT_EQ(FindStartPoint({0, 0}, start, {0, 0}, At(30, 20)), kStartPointKept);
    EXPECT_TRUE(Near(start, {30, 20}));

    // An open line starts at its end nearer the tool.
    start = {};
    EXPECT_EQ(FindStartPoint({260, 50}, start, {260, 50}, At(200, 0)), kStartPointOpenLine);
    EXPECT_TRUE(Near(start, {250, 40}));

    // A contour of another kind: the vertex nearest the tool, unless the seed passed in is nearer still.
    const int noLeads = At(300, 0);
    start = {9999, 9999, 0};
    EXPECT_EQ(FindStartPoint({360, 60}, start, {360, 60}, noLeads), kStartPointChosen);
    EXPECT_TRUE(Near(start, {350, 50}));
    start = {358, 58, 0};
    EXPECT_EQ(FindStartPoint({360, 60}, start, {360, 60}, noLeads), kStartPointKept);
    EXPECT_TRUE(Near(start, {358, 58}));
}

TEST_F(StartPoint, AnUnknownModeLeavesTheStartAsPassed) {
    Rectangle(0, 0, 100, 50);
    Create();
    settings().ZahodTypePoint = 7;
    Point3d start(12, 34, 0);
    FindStartPoint({-5, -5}, start, {-5, -5}, At(0, 0));
    EXPECT_TRUE(Near(start, {12, 34}));
}

TEST_F(StartPoint, TheNearestEntryOfAContourFacesThePoint) {
    Circle({50, 50}, 10);
    Rectangle(100, 0, 150, 50);
    Polyline({{200, 0}, {220, 30}, {240, 0}}, false);
    Create();
    struct Case {
        int contour;
        Point3d from, expected;
    } cases[] = {
        {At(40, 40), {0, 50}, {40, 50}},
        {At(40, 40), {50, 100}, {50, 60}},
        {At(100, 0), {160, 45}, {150, 50}},
        {At(200, 0), {221, 31}, {240, 0}},   // an open line is entered only at an end
    };
    for (const Case& c : cases) {
        Point3d start;
        EXPECT_EQ(NearestEntryPoint(Job(), c.from, start, c.contour), 0);
        EXPECT_TRUE(Near(start, c.expected)) << start.x << "," << start.y;
    }
}

TEST_F(StartPoint, FinishingAnOpenContourLeavesTheToolAtItsOtherEnd) {
    Polyline({{0, 0}, {50, 0}, {50, 30}}, false);
    Rectangle(100, 0, 150, 50);
    Create();
    const int open = At(0, 0), closed = At(100, 0);
    struct Case {
        int contour;
        Point3d b, tool;
    } cases[] = {
        {open, {0, 0}, {50, 30}},
        {open, {50, 30}, {0, 0}},
        {closed, {100, 0}, {100, 0}},   // a closed contour ends where it began
    };
    for (const Case& c : cases) {
        Rec(c.contour).processed = 0;
        EXPECT_EQ(FinishContourAt(Job(), {-10, -10, 0}, c.b, c.contour), 0);
        EXPECT_TRUE(Near(Job().currentPoint, c.tool)) << Job().currentPoint.x << "," << Job().currentPoint.y;
        EXPECT_EQ(Rec(c.contour).processed, 1);
    }
    EXPECT_EQ(FinishContourAt(Job(), {0, 0, 0}, {1, 1, 0}, Job().contourCount + 5), -1);
}

}  // namespace
