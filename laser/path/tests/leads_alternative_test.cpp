// Tests of the earlier lead planner of polyline contours (the lead angle narrowed by the free angle at the start,
// the lead-in on the side nearer the tool) and of its check against other contours and the written path.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/db/database.h"
#include "laser/path/lead_plan_alternative.h"
#include "laser/path/tests/leads_fixture.h"

namespace {

using host::ge::Point3d;
using leads_testing::Degrees;
using leads_testing::LeadsTest;
using leads_testing::Near;

class AlternativeLeads : public LeadsTest {
public:
    LeadInPlan Plan(int index, const Point3d& start, int* score = nullptr) {
        LeadInPlan plan;
        plan.startPoint = start;
        plan.contourIndex = index;
        auto polyline = OpenPolyline(index);
        if (!polyline) return plan;
        PolylineStart where;
        const int s = PlanPolylineLeadsAlternative(Job(), settings(), *polyline, plan, where);
        if (score) *score = s;
        return plan;
    }
    LeadInPlan Check(int index, const Point3d& start) {
        LeadInPlan plan;
        plan.startPoint = start;
        plan.contourIndex = index;
        auto polyline = OpenPolyline(index);
        if (!polyline) return plan;
        EXPECT_EQ(CheckLeadsAgainstPath(Job(), settings(), *polyline, plan), 0);
        return plan;
    }

private:
    host::db::ObjectPtr<host::db::LwPolyline> OpenPolyline(int index) {
        host::db::ObjectPtr<host::db::LwPolyline> polyline(db().idFromHandle(host::db::Handle(Rec(index).handle)),
                                                           host::db::OpenMode::Read);
        EXPECT_TRUE(polyline);
        return polyline;
    }
};

double Spread(const LeadInPlan& plan) {
    double d = std::fmod(std::abs(Degrees(plan.leadInAngle) - Degrees(plan.normalAngle)), 360.0);
    return std::min(d, 360.0 - d);
}

TEST_F(AlternativeLeads, TheLeadInIsTheLeadWhoseEndIsNearerTheTool) {
    Rectangle(10, 10, 210, 110);
    Create();
    const int plate = At(10, 10);
    struct Case {
        Point3d tool;
        std::uint8_t side;
        double leadIn, leadOut;
    };
    const Case cases[] = {
        {{300, 10, 0}, kOffsetLeft, 345.0, 285.0},   // to the right: the lead at normal + 30
        {{210, -100, 0}, kOffsetRight, 285.0, 345.0}, // below: the lead at normal - 30
    };
    for (const Case& c : cases) {
        Job().currentPoint = c.tool;
        int score = -1;
        const LeadInPlan plan = Plan(plate, {210, 10, 0}, &score);
        EXPECT_EQ(score, kLeadsFree);
        EXPECT_NEAR(Degrees(plan.normalAngle), 315.0, 1e-9);
        EXPECT_EQ(plan.offsetSide, c.side) << c.tool.x << "," << c.tool.y;
        EXPECT_NEAR(Degrees(plan.leadInAngle), c.leadIn, 1e-9);
        EXPECT_NEAR(Degrees(plan.leadOutAngle), c.leadOut, 1e-9);
        EXPECT_TRUE(Near(plan.leadInStart, PointAtAngle({210, 10, 0}, plan.leadInAngle, 6.0)));
        EXPECT_TRUE(Near(plan.leadOutEnd, PointAtAngle({210, 10, 0}, plan.leadOutAngle, 3.0)));
    }
}

TEST_F(AlternativeLeads, ANarrowCornerNarrowsTheLeadAngle) {
    // A hole whose corner at (100, 50) leaves the given free angle in the scrap: 40 degrees plus twice the job's
    // 30 need 100 degrees; below that the angle is half the free angle less 20, one degree under 45, none under 20.
    struct Case {
        double apex, spread;
    };
    const Case cases[] = {{10.0, 0.0}, {30.0, 1.0}, {60.0, 10.0}, {90.0, 25.0}, {120.0, 30.0}};
    Rectangle(0, 0, 1400, 300);
    for (int k = 0; k < 5; ++k) {
        const double x = 100.0 + 250.0 * k;
        const double a = cases[k].apex * std::numbers::pi / 180.0;
        Polyline({{x, 50}, {x + 100, 50}, {x + 100 * std::cos(a), 50 + 100 * std::sin(a)}}, true);
    }
    Create();
    for (int k = 0; k < 5; ++k) {
        const Case& c = cases[k];
        SCOPED_TRACE(c.apex);
        const double x = 100.0 + 250.0 * k;
        const double a = c.apex * std::numbers::pi / 180.0;
        const int hole = At(std::min(x, x + 100 * std::cos(a)), 50);
        ASSERT_GE(hole, 0);
        ASSERT_EQ(Rec(hole).placement, kPlacementInner);
        const LeadInPlan plan = Plan(hole, {x, 50, 0});
        EXPECT_NEAR(Degrees(plan.normalAngle), c.apex / 2.0, 1e-6);
        EXPECT_NEAR(Spread(plan), c.spread, 1e-6);
    }
}

TEST_F(AlternativeLeads, AContourWithoutLeadsHasNoSideAndNoLeads) {
    Rectangle(10, 10, 210, 110);
    Create();
    const int plate = At(10, 10);
    Rec(plate).closure = kClosureNoLeads;
    const LeadInPlan plan = Plan(plate, {210, 10, 0});
    EXPECT_EQ(plan.offsetSide, kOffsetNone);
    EXPECT_EQ(plan.leadInLength, 0.0);
    EXPECT_EQ(plan.leadOutLength, 0.0);
    EXPECT_TRUE(Near(plan.leadInStart, {210, 10}));
    EXPECT_TRUE(Near(plan.leadOutEnd, {210, 10}));
}

TEST_F(AlternativeLeads, ALeadCrossingAnotherPartIsCutTo70PercentOfItsFreeLength) {
    // The plate lies in a hole of another part, 1 from its edges: no turn of a lead of 6 gets it free.
    Rectangle(0, 0, 300, 200);
    Rectangle(9, 9, 211, 111);
    Rectangle(10, 10, 210, 110);
    Create();
    const int plate = At(10, 10);
    Job().currentPoint = {300, 10, 0};
    const LeadInPlan plan = Check(plate, {210, 10, 0});
    EXPECT_LT(plan.leadInFreeLength, 6.0);
    EXPECT_NEAR(plan.leadInLength, 0.7 * plan.leadInFreeLength, 1e-9);
    const Point3d& crossing = plan.leadInCrossing;
    EXPECT_TRUE(std::abs(crossing.x - 211.0) < 1e-6 || std::abs(crossing.y - 9.0) < 1e-6)
        << crossing.x << "," << crossing.y;
    EXPECT_TRUE(Near(plan.leadInStart, PointAtAngle({210, 10, 0}, plan.leadInAngle, plan.leadInLength)));
}

class LeadsBesideThePath : public AlternativeLeads {
protected:
    void SetUp() override {
        AlternativeLeads::SetUp();
        Rectangle(10, 10, 30, 30);
        Rectangle(34, 10, 54, 30);
        Rectangle(300, 10, 320, 30);
        Create();
        first_ = At(10, 10);
        second_ = At(34, 10);
        far_ = At(300, 10);
        Job().currentPoint = {33, -100, 0};
    }
    LeadInPlan CheckSecond() {
        Job().currentPoint = {33, -100, 0};
        return Check(second_, {34, 10, 0});
    }
    int first_ = -1, second_ = -1, far_ = -1;
};

TEST_F(LeadsBesideThePath, AFarGroupBlocksNothing) {
    ASSERT_FALSE(Write({320, 10, 0}, far_).empty());
    const LeadInPlan plan = CheckSecond();
    EXPECT_EQ(plan.leadInBlocked, 0);
    EXPECT_EQ(plan.leadOutBlocked, 0);
}

TEST_F(LeadsBesideThePath, ALaterFarGroupDoesNotClearANearOne) {
    ASSERT_FALSE(Write({30, 10, 0}, first_).empty());
    ASSERT_FALSE(Write({320, 10, 0}, far_).empty());
    const LeadInPlan plan = CheckSecond();
    EXPECT_TRUE(plan.leadInBlocked || plan.leadOutBlocked);
}

}  // namespace
