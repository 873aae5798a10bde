// Tests of the leads of polyline contours: the scrap-side normal and lead angle at corners, the side and cut
// direction, contours without leads, other start vertices when the leads collide, starts inside a segment, and
// the lead-in of open common and inside-cut lines.
#include <gtest/gtest.h>

#include <cmath>

#include "cadlib/point_in_contour.h"
#include "host/db/database.h"
#include "laser/path/polyline_leads.h"
#include "laser/path/tests/leads_fixture.h"

namespace {

using leads_testing::Degrees;
using leads_testing::LeadsTest;
using leads_testing::Near;
using leads_testing::Tokens;
using host::ge::Point3d;

// The difference of two angles in degrees, in [0, 180].
double AngleApart(double a, double b) {
    double d = std::fmod(std::abs(Degrees(a) - Degrees(b)), 360.0);
    return std::min(d, 360.0 - d);
}

class PolylineLeads : public LeadsTest {
public:
    // The plan of contour `index` for a start at `start`, as the writer computes it before any collision test.
    LeadInPlan Plan(int index, const Point3d& start, PolylineStart* where = nullptr) {
        LeadInPlan plan;
        plan.startPoint = start;
        plan.contourIndex = index;
        host::db::ObjectPtr<host::db::LwPolyline> polyline(
            db().idFromHandle(host::db::Handle(Rec(index).handle)), host::db::OpenMode::Read);
        EXPECT_TRUE(polyline);
        if (!polyline) return plan;
        PolylineStart at;
        ComputePolylineLeads(Job(), settings(), *polyline, plan, at);
        if (where) *where = at;
        return plan;
    }
    bool Outside(int index, const Point3d& p) {
        return IsPointOutsideContourByHandle(p, kShapePolyline, host::db::Handle(Rec(index).handle)) == 1;
    }
};

TEST_F(PolylineLeads, ThePlateIsEnteredFromBelowItsCornerOnTheRightSide) {
    Rectangle(10, 10, 210, 110);
    Circle({60, 60}, 10);
    Create();
    const int plate = At(10, 10);
    Job().currentPoint = {64.6276, 54.0315, 0};
    const LeadInPlan plan = Plan(plate, {210, 10, 0});
    EXPECT_EQ(plan.offsetSide, kOffsetRight);
    EXPECT_EQ(plan.direction, kCutForward);
    EXPECT_EQ(plan.startOnVertex, 1);
    EXPECT_NEAR(Degrees(plan.normalAngle), 315.0, 1e-9);
    EXPECT_TRUE(Near(plan.leadInStart, {211.5529, 4.2044}));
    EXPECT_TRUE(Near(plan.leadOutEnd, {212.8978, 9.2235}));

    Job().pathGroupCount = 1;   // a group before this one: the rapid is drawn
    const auto t = Tokens(Write({210, 10, 0}, plate));
    ASSERT_EQ(t.size(), 16u);
    EXPECT_EQ(t[0] + " " + t[1] + " " + t[2], "Slice_Polyline T0 Offset=NR");
    EXPECT_EQ(t[5] + t[6] + t[7] + t[8], "1210");
    EXPECT_EQ(t[12] + " " + t[13] + " " + t[14] + " " + t[15], "210.0000 10.0000 210.0000 10.0000");
    const auto m = MemberShapes(2);
    ASSERT_EQ(m.size(), 7u);   // rapid, lead-in, four sides, lead-out
    const Point3d corners[] = {{210, 10}, {210, 110}, {10, 110}, {10, 10}, {210, 10}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(Near(m[2 + i].a, corners[i]) && Near(m[2 + i].b, corners[i + 1])) << "side " << i;
        EXPECT_EQ(m[2 + i].linetype, "Continuous");
    }
    EXPECT_NE(m[0].linetype, "Continuous");   // the rapid
}

TEST_F(PolylineLeads, TheLeadAngleShrinksToAShareOfTheFreeAngleAtARecess) {
    Rectangle(0, 0, 100, 50);                                                     // 270 degrees of scrap
    Polyline({{200, 0}, {300, 0}, {300, 50}, {250, 50}, {250, 100}, {200, 100}}, true);   // a 90-degree recess
    Polyline({{400, 0}, {500, 0}, {400 + 93.96926208, 34.20201433}}, true);        // a 20-degree tip
    Create();
    struct Case {
        int contour;
        Point3d start;
        double leadAngle;
    } cases[] = {
        {At(0, 0), {100, 0}, 30.0},
        {At(200, 0), {250, 50}, 13.5},
        {At(400, 0), {400, 0}, 30.0},
    };
    for (const Case& c : cases) {
        const LeadInPlan plan = Plan(c.contour, c.start);
        EXPECT_NEAR(AngleApart(plan.leadInAngle, plan.normalAngle), c.leadAngle, 1e-9) << c.start.x;
        EXPECT_NEAR(AngleApart(plan.leadOutAngle, plan.normalAngle), c.leadAngle, 1e-9) << c.start.x;
        // Both leads end in the scrap.
        EXPECT_TRUE(Outside(c.contour, plan.leadInStart)) << c.start.x;
        EXPECT_TRUE(Outside(c.contour, plan.leadOutEnd)) << c.start.x;
    }
}

TEST_F(PolylineLeads, TheJobsLeadLengthsAndAngleShapeTheLeads) {
    Rectangle(0, 0, 100, 50);
    Create();
    const int part = At(0, 0);
    struct Case {
        double in, out, angle, expectedAngle;
    } cases[] = {
        {6.0, 3.0, 30.0, 30.0},
        {10.0, 0.0, 10.0, 10.0},
        {2.0, 2.0, 60.0, 40.5},   // a square corner leaves 270 degrees of scrap: at most 40.5
    };
    for (const Case& c : cases) {
        Job().leadInSpan = c.in;
        Job().leadOutSpan = c.out;
        Job().leadAngleRad = c.angle * std::numbers::pi / 180.0;
        Job().pathGroupCount = 0;
        Job().currentPoint = {150, -50, 0};
        const auto t = Tokens(Write({100, 0, 0}, part));
        ASSERT_EQ(t.size(), 16u);
        EXPECT_EQ(t[11] == "N", c.out == 0.0) << c.in << "/" << c.out;
        const PathRecord r = Path(1);
        const double dx = r.leadInStart.x - 100, dy = r.leadInStart.y;
        EXPECT_NEAR(std::hypot(dx, dy), c.in, 1e-9);
        EXPECT_NEAR(AngleApart(std::atan2(dy, dx), 7 * std::numbers::pi / 4), c.expectedAngle, 1e-9);
        if (c.out > 0.0) {
            EXPECT_NEAR(std::hypot(r.leadOutEnd.x - 100, r.leadOutEnd.y), c.out, 1e-9);
        }
    }
}

TEST_F(PolylineLeads, TheCutDirectionSettingGivesEveryClosedContourItsSide) {
    Rectangle(0, 0, 100, 100);
    Rectangle(40, 40, 60, 60);
    Create();
    const int outer = At(0, 0), hole = At(40, 40);
    struct Case {
        int contour;
        Point3d start;
        int setting;
        std::uint8_t side, direction;
    } cases[] = {
        {outer, {0, 0}, 1, kOffsetLeft, kCutBackward},   {outer, {0, 0}, 2, kOffsetRight, kCutForward},
        {hole, {40, 40}, 1, kOffsetRight, kCutBackward}, {hole, {40, 40}, 2, kOffsetLeft, kCutForward},
        {outer, {100, 100}, 1, kOffsetLeft, kCutBackward}, {hole, {60, 60}, 2, kOffsetLeft, kCutForward},
    };
    for (const Case& c : cases) {
        settings().CutLineDirection = c.setting;
        const LeadInPlan plan = Plan(c.contour, c.start);
        EXPECT_EQ(plan.offsetSide, c.side) << c.start.x << " setting " << c.setting;
        EXPECT_EQ(plan.direction, c.direction) << c.start.x << " setting " << c.setting;
    }
}

TEST_F(PolylineLeads, AContourWithoutLeadsStillGetsASideAndADirection) {
    Rectangle(0, 0, 100, 50, "NoLeadIn");
    Create();
    const int part = At(0, 0);
    Rec(part).closure = kClosureNoLeads;
    const LeadInPlan plan = Plan(part, {0, 0, 0});
    EXPECT_NE(plan.offsetSide, kOffsetNone);
    EXPECT_EQ(plan.leadInLength, 0.0);
    EXPECT_EQ(plan.leadOutLength, 0.0);
    EXPECT_TRUE(Near(plan.leadInStart, {0, 0}));

    const auto t = Tokens(Write({0, 0, 0}, part));
    ASSERT_EQ(t.size(), 16u);
    EXPECT_EQ(t[9] + t[10] + t[11], "NNN");
    EXPECT_EQ(Members(1).size(), 4u);
}

TEST_F(PolylineLeads, BlockedLeadsMoveTheStartToAnotherVertex) {
    Rectangle(0, 0, 100, 50);
    Rectangle(100.5, -9, 110, -0.5);   // a part below-right of the corner (100, 0)
    Create();
    const int part = At(0, 0);
    Job().currentPoint = {150, -50, 0};
    Write({100, 0, 0}, part);
    const PathRecord r = Path(1);
    EXPECT_TRUE(Near(r.contourStart, {100, 50})) << r.contourStart.x << "," << r.contourStart.y;
}

TEST_F(PolylineLeads, AStartInsideASegmentCutsThatSegmentInTwoPieces) {
    Rectangle(0, 0, 100, 50);
    Create();
    const int part = At(0, 0);
    PolylineStart where;
    const LeadInPlan plan = Plan(part, {50, 0, 0}, &where);
    EXPECT_EQ(plan.startOnVertex, 0);
    EXPECT_EQ(where.incomingSegment, where.outgoingSegment);
    EXPECT_NEAR(Degrees(plan.normalAngle), 270.0, 1e-9);

    Write({50, 0, 0}, part);
    const auto m = MemberShapes(1);
    ASSERT_EQ(m.size(), 7u);   // lead-in, five cut pieces, lead-out
    EXPECT_TRUE(Near(m[1].a, {50, 0}));
    EXPECT_TRUE(Near(m[5].b, {50, 0}));
    const auto t = Tokens(Description(1));
    EXPECT_EQ(t[14] + " " + t[15], "50.0000 0.0000");
}

TEST_F(PolylineLeads, AClosedContourOfTwoSegmentsStartsInTheMiddleOfItsFirst) {
    Polyline({{0, 0, 1.0}, {20, 0, 1.0}}, true);   // a circle of radius 10 about (10, 0) as two arcs
    Create();
    const LeadInPlan plan = Plan(At(0, -10), {0, 0, 0});
    EXPECT_EQ(plan.startOnVertex, 0);
    EXPECT_TRUE(Near(plan.startPoint, {10, -10}) || Near(plan.startPoint, {10, 10}))
        << plan.startPoint.x << "," << plan.startPoint.y;
}

TEST_F(PolylineLeads, AnOpenCommonLineIsEnteredAlongItsExtensionOrTurnedAwayFromAPart) {
    Polyline({{0, 0}, {50, 0}}, false, "CommonLine");
    Polyline({{200, 0}, {250, 0}}, false, "CommonLine");
    Rectangle(190, -5, 197, 5);   // a part on the extension of the second line
    Create();
    const int free = At(0, 0), blocked = At(200, 0);

    LeadInPlan plan = Plan(free, {-1, 0, 0});
    EXPECT_EQ(plan.offsetSide, kOffsetNone);
    EXPECT_EQ(plan.leadInLength, 6.0);
    EXPECT_TRUE(Near(plan.leadInStart, {-6, 0}));

    plan = Plan(blocked, {199, 0, 0});
    EXPECT_EQ(plan.leadInBlocked, 0);
    const double turn = AngleApart(plan.leadInAngle, std::numbers::pi);
    EXPECT_GT(turn, 0.0);
    EXPECT_NEAR(std::fmod(turn, 15.0), 0.0, 1e-9);
    EXPECT_FALSE(plan.leadInStart.x > 190 && plan.leadInStart.x < 197 && std::abs(plan.leadInStart.y) < 5);

    settings().LeadInSpan = 0.0;
    plan = Plan(free, {-1, 0, 0});
    EXPECT_EQ(plan.leadInLength, 0.0);
    EXPECT_TRUE(Near(plan.leadInStart, {0, 0}));
}

TEST_F(PolylineLeads, AnOpenLineStartingWithAnArcGetsNoLeadIn) {
    Polyline({{0, 0, 0.5}, {50, 0}, {80, 0}}, false, "CommonLine");
    Create();
    int line = -1;
    for (int i = 0; i < Job().contourCount; ++i) {
        if (Rec(i).kind == ContourKind::CommonLine) line = i;
    }
    ASSERT_GE(line, 0);
    const LeadInPlan plan = Plan(line, {-1, 0, 0});
    EXPECT_EQ(plan.leadInLength, 0.0);
    EXPECT_TRUE(Near(plan.leadInStart, plan.startPoint));
    const auto t = Tokens(Write({-1, 0, 0}, line));
    ASSERT_EQ(t.size(), 16u);
    EXPECT_EQ(t[10], "N");
}

TEST_F(PolylineLeads, AnInsideCutLineStartsAndEndsHalfAToolInsideItsEnds) {
    Polyline({{0, 0}, {50, 0}}, false, "InsideCutLine");
    Create();
    const int line = At(0, 0);
    const LeadInPlan plan = Plan(line, {-1, 0, 0});
    EXPECT_TRUE(Near(plan.startPoint, {0.1, 0}, 1e-9));
    EXPECT_TRUE(Near(plan.leadOutEnd, {49.9, 0}, 1e-9));
    // The lead-in runs back along the line, a degree off it.
    EXPECT_NEAR(AngleApart(plan.leadInAngle, 0.0), 1.0, 1e-9);
    EXPECT_NEAR(plan.leadInStart.x, 6.0 * std::cos(std::numbers::pi / 180.0), 1e-9);

    const auto t = Tokens(Write({-1, 0, 0}, line));
    ASSERT_EQ(t.size(), 16u);
    EXPECT_EQ(t[2], "Offset=NO");
    EXPECT_EQ(t[11], "N");
    const auto m = MemberShapes(1);
    ASSERT_EQ(m.size(), 2u);   // lead-in and the cut
    EXPECT_TRUE(Near(m[1].a, {0.1, 0}) && Near(m[1].b, {49.9, 0}));
}

TEST_F(PolylineLeads, AnInsideCutLineStartingWithAnArcIsCutWholeWithoutALeadIn) {
    Polyline({{0, 0, 0.5}, {50, 0}, {80, 0}}, false, "InsideCutLine");
    Create();
    int line = -1;
    for (int i = 0; i < Job().contourCount; ++i) {
        if (Rec(i).kind == ContourKind::InsideCutLine) line = i;
    }
    ASSERT_GE(line, 0);
    const auto t = Tokens(Write({-1, 0, 0}, line));
    ASSERT_EQ(t.size(), 16u);
    EXPECT_EQ(t[10], "N");
    // The cut runs from one end of the line to the other.
    EXPECT_TRUE(Near({std::stod(t[12]), std::stod(t[13])}, {0, 0}));
    EXPECT_TRUE(Near({std::stod(t[14]), std::stod(t[15])}, {80, 0}));
}

}  // namespace
