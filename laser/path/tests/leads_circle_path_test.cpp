// Tests of the path of one contour for marking points and circles: descriptions, leads and their side, the cut
// direction, small holes, contours without leads, and leads moved around the circle when they collide.
#include <gtest/gtest.h>

#include <cmath>

#include "laser/path/circle_path.h"
#include "laser/path/tests/leads_fixture.h"

namespace {

using leads_testing::Degrees;
using leads_testing::LeadsTest;
using leads_testing::Near;
using leads_testing::Tokens;
using host::ge::Point3d;

class CirclePath : public LeadsTest {
public:
    // The plate of two holes: (10, 10)-(210, 110) with holes of radius 10 about (60, 60) and (160, 60).
    void Plate() {
        Rectangle(10, 10, 210, 110);
        Circle({60, 60}, 10);
        Circle({160, 60}, 10);
        Create();
    }
};

TEST_F(CirclePath, AHoleOfThePlateGetsItsLeadsOnTheScrapSideTowardTheTool) {
    Plate();
    const int hole = At(50, 50);
    const std::string d = Write({64.4357, 51.0376, 0}, hole);
    const auto t = Tokens(d);
    ASSERT_EQ(t.size(), 16u) << d;
    EXPECT_EQ(t[0] + " " + t[1] + " " + t[2] + " " + t[3], "Slice_Circle T0 Offset=NL HP=");
    EXPECT_EQ(t[4], FormatPathHandle(Rec(hole).handle));
    EXPECT_EQ(t[5] + t[6] + t[7] + t[8], "0120");
    EXPECT_EQ(t[9], "N");   // the first group, cutting not started at home
    EXPECT_NE(t[10], "N");
    EXPECT_NE(t[11], "N");
    // Start and end coincide on a circle.
    EXPECT_EQ(t[12] + " " + t[13] + " " + t[14] + " " + t[15], "64.4357 51.0376 64.4357 51.0376");

    const PathRecord r = Path(1);
    EXPECT_TRUE(Near(r.leadInStart, {59.4421, 54.3639}, 2e-4)) << r.leadInStart.x << "," << r.leadInStart.y;
    EXPECT_TRUE(Near(r.contourStart, {64.4357, 51.0376}));
    EXPECT_TRUE(Near(r.leadOutEnd, {64.6276, 54.0315}, 2e-4)) << r.leadOutEnd.x << "," << r.leadOutEnd.y;
    EXPECT_EQ(Members(1).size(), 4u);   // lead-in, two half arcs, lead-out
    EXPECT_EQ(Rec(hole).processed, 1);
    EXPECT_TRUE(Near(Job().currentPoint, r.leadOutEnd));
}

TEST_F(CirclePath, TheCutDirectionSettingChoosesTheSideOfOuterAndInnerCircles) {
    Plate();
    Circle({300, 60}, 10);   // a round part of its own
    Create();
    const int outer = At(290, 50), inner = At(50, 50);
    // The tool at the origin lies below-left; each circle is started at its leftmost point.
    struct Case {
        int contour;
        Point3d start;
        int cutLineDirection;
        const char* offset;
        bool clockwise;
    } cases[] = {
        {outer, {290, 60}, 0, "Offset=NL", true},  {outer, {290, 60}, 1, "Offset=NL", true},
        {outer, {290, 60}, 2, "Offset=NR", false}, {inner, {50, 60}, 0, "Offset=NR", true},
        {inner, {50, 60}, 1, "Offset=NR", true},   {inner, {50, 60}, 2, "Offset=NL", false},
    };
    for (const Case& c : cases) {
        settings().CutLineDirection = c.cutLineDirection;
        Job().currentPoint = Point3d();
        const auto t = Tokens(Write(c.start, c.contour));
        ASSERT_GE(t.size(), 3u);
        EXPECT_EQ(t[2], c.offset) << "direction setting " << c.cutLineDirection;
        // Arcs are drawn counter-clockwise: a clockwise cut draws its first half ending at the start point.
        const auto members = MemberShapes(static_cast<unsigned>(Job().pathGroupCount));
        ASSERT_GE(members.size(), 3u);
        const auto& firstArc = members[members[0].arc ? 0 : members[1].arc ? 1 : 2];
        ASSERT_TRUE(firstArc.arc);
        EXPECT_TRUE(Near(c.clockwise ? firstArc.b : firstArc.a, c.start)) << "direction setting "
                                                                          << c.cutLineDirection;
    }
}

TEST_F(CirclePath, ASmallHoleGetsALeadInOfItsRadiusNearlyAlongTheNormal) {
    Rectangle(0, 0, 100, 100);
    Circle({50, 50}, 3);
    Create();
    const int hole = At(47, 47);
    Write({47, 50, 0}, hole);
    const PathRecord r = Path(1);
    const double dx = r.leadInStart.x - r.contourStart.x, dy = r.leadInStart.y - r.contourStart.y;
    EXPECT_NEAR(std::hypot(dx, dy), 3.0, 1e-9);
    // The normal of the hole at its start points at the centre.
    const double off = std::abs(Degrees(std::atan2(dy, dx)) - Degrees(std::atan2(50 - r.contourStart.y,
                                                                                  50 - r.contourStart.x)));
    EXPECT_LE(std::min(off, 360.0 - off), 5.0 + 1e-9);
}

TEST_F(CirclePath, CirclesWithoutLeadsOrWithoutOffsetKeepOnlyWhatTheyCut) {
    Circle({50, 50}, 10, "NoLeadIn");
    Circle({150, 50}, 10, "CommonLine");
    Create();
    const int noLeads = At(40, 40), common = At(140, 40);
    Rec(noLeads).closure = kClosureNoLeads;

    auto t = Tokens(Write({40, 50, 0}, noLeads));
    ASSERT_EQ(t.size(), 16u);
    EXPECT_EQ(t[1] + " " + t[2], "T3 Offset=NO");
    EXPECT_EQ(t[6] + t[8], "02");
    EXPECT_EQ(t[9] + t[10] + t[11], "NNN");
    EXPECT_EQ(Members(1).size(), 2u);   // the two half arcs

    t = Tokens(Write({140, 50, 0}, common));
    ASSERT_EQ(t.size(), 16u);
    EXPECT_EQ(t[1] + " " + t[2], "T5 Offset=NO");
    EXPECT_NE(t[9], "N");    // the rapid
    EXPECT_NE(t[10], "N");   // the lead-in stays
    EXPECT_EQ(t[11], "N");   // no lead-out without a tool offset
}

TEST_F(CirclePath, LeadsThatHitANeighbourMoveAroundTheCircle) {
    // A part just left of the circle's leftmost point: leads from there cross it.
    Circle({50, 50}, 10);
    Rectangle(25, 35, 38, 65);
    Create();
    const int circle = At(40, 40);
    Write({40, 50, 0}, circle);
    const PathRecord r = Path(1);
    EXPECT_NEAR(std::hypot(r.contourStart.x - 50, r.contourStart.y - 50), 10.0, 1e-6);
    EXPECT_FALSE(Near(r.contourStart, {40, 50}));
    // Neither lead, nor 30 % beyond it, enters the neighbour.
    for (const auto& [from, to] : {std::pair{r.contourStart, r.leadInStart}, std::pair{r.contourEnd, r.leadOutEnd}}) {
        for (int i = 0; i <= 100; ++i) {
            const double s = 1.3 * i / 100.0;
            const double x = from.x + s * (to.x - from.x), y = from.y + s * (to.y - from.y);
            EXPECT_FALSE(x > 25 && x < 38 && y > 35 && y < 65) << x << "," << y;
        }
    }
}

TEST_F(CirclePath, RetryPositionsFollowTheCircumferenceAndTheUnit) {
    struct Case {
        double radius;
        int unit, steps;
    } cases[] = {
        {1.0, 0, 7},  {2.2, 0, 17}, {2.3, 0, 18},  {50.0, 0, 18},
        {0.1, 0, 3},  {12.7, 1, 3}, {12.74, 1, 4}, {100.0, 1, 18},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CircleRetrySteps(c.radius, c.unit), c.steps) << c.radius << " unit " << c.unit;
    }
}

TEST_F(CirclePath, AMarkingPointIsOneShortCutWithoutLeads) {
    Point({30, 20}, "MarkPoint");
    Create();
    const int mark = At(30, 20);
    settings().MarkingLineLength = 0.5;
    const auto t = Tokens(Write({30, 20, 0}, mark));
    ASSERT_EQ(t.size(), 16u);
    EXPECT_EQ(t[0] + " " + t[1] + " " + t[2], "MarkingPoint T6 Offset=NO");
    EXPECT_EQ(t[5] + t[6] + t[8], "202");
    EXPECT_EQ(t[9] + t[10] + t[11], "NNN");
    EXPECT_EQ(t[12] + " " + t[13] + " " + t[14] + " " + t[15], "30.0000 20.0000 30.5000 20.0000");
    EXPECT_EQ(Rec(mark).closure, kClosureNoLeads);
    EXPECT_EQ(Rec(mark).processed, 1);

    // Cutting from home: a rapid from the home point comes first.
    Job().startAtHome = 1;
    Job().pathGroupCount = 0;
    Job().homePoint = {5, 5, 0};
    Write({30, 20, 0}, mark);
    const auto members = MemberShapes(1);
    ASSERT_FALSE(members.empty());
    EXPECT_TRUE(Near(members[0].a, {5, 5}));
    EXPECT_TRUE(Near(members[0].b, {30, 20}));
}

TEST_F(CirclePath, AMarkingLineOfNoLengthLeavesNoGroup) {
    Point({30, 20}, "MarkPoint");
    Create();
    settings().MarkingLineLength = 0.0;
    EXPECT_EQ(Write({30, 20, 0}, At(30, 20)), "");
    EXPECT_EQ(Job().pathGroupCount, 0);
}

TEST_F(CirclePath, OnlyPartContoursGetAPath) {
    Circle({50, 50}, 10);
    Create();
    const int circle = At(40, 40);
    Rec(circle).role = kRoleStock;
    EXPECT_EQ(Write({40, 50, 0}, circle), "");
    EXPECT_EQ(Rec(circle).processed, 0);
}

}  // namespace
