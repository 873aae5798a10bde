// Tests of the lead collision tests: the 30 % margin, the own contour touched at the start point, what blocks a
// lead, turning blocked leads, and the choice between two plans.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>

#include "host/db/database.h"
#include "laser/path/lead_plan.h"
#include "laser/path/tests/leads_fixture.h"

namespace {

using leads_testing::LeadsTest;
using leads_testing::Near;
using host::db::ObjectId;
using host::ge::Point3d;

// A plan at (60, 50) on the circle of radius 10 about (50, 50): lead-in straight out along +x.
LeadInPlan PlanOnCircle(int contourIndex, double leadIn, double leadOut = 0.0) {
    LeadInPlan plan;
    plan.startPoint = {60, 50, 0};
    plan.contourIndex = contourIndex;
    plan.normalAngle = 0.0;
    plan.leadInAngle = 0.0;
    plan.leadOutAngle = 0.0;
    plan.leadInSideTangent = std::numbers::pi / 2;
    plan.leadOutSideTangent = 3 * std::numbers::pi / 2;
    plan.leadInLength = leadIn;
    plan.leadOutLength = leadOut;
    return plan;
}

class LeadPlan : public LeadsTest {
public:
    // The circle part at (50, 50) and what else the test drew, as contours.
    int CirclePart() {
        Circle({50, 50}, 10);
        Create();
        return At(40, 40);
    }
    bool Test(LeadInPlan& plan, int index) {
        host::db::ObjectPtr<host::db::Entity> own(db().idFromHandle(host::db::Handle(Rec(index).handle)),
                                                  host::db::OpenMode::Read);
        return TestLeadsCollision(Job(), *own, plan, true, true);
    }
    int Evaluate(LeadInPlan& plan, int index, int& turn) {
        host::db::ObjectPtr<host::db::Entity> own(db().idFromHandle(host::db::Handle(Rec(index).handle)),
                                                  host::db::OpenMode::Read);
        return EvaluateLeadCollisions(Job(), *own, plan, turn);
    }
};

TEST_F(LeadPlan, LeadsOfNoLengthAreFreeWhateverLiesAround) {
    Rectangle(61, 45, 70, 55);   // in the way of any lead
    const int circle = CirclePart();
    LeadInPlan plan = PlanOnCircle(circle, 0.0, 0.0);
    plan.leadInBlocked = plan.leadOutBlocked = 1;
    EXPECT_TRUE(Test(plan, circle));
    EXPECT_EQ(plan.leadInBlocked + plan.leadOutBlocked, 0);
}

TEST_F(LeadPlan, ALeadTouchingItsOwnContourOnlyAtTheStartIsFree) {
    const int circle = CirclePart();
    LeadInPlan plan = PlanOnCircle(circle, 6.0);
    EXPECT_TRUE(Test(plan, circle));
    EXPECT_EQ(plan.leadInFreeLength, kLeadUnblockedLength);
    EXPECT_TRUE(Near(plan.leadInStart, {66, 50}));

    // Turned back into the circle the lead crosses it on the far side.
    plan = PlanOnCircle(circle, 30.0);
    plan.leadInAngle = std::numbers::pi;
    EXPECT_FALSE(Test(plan, circle));
    EXPECT_NEAR(plan.leadInFreeLength, 20.0, 1e-9);
    EXPECT_TRUE(Near(plan.leadInCrossing, {40, 50}));
}

TEST_F(LeadPlan, ALeadIsBlockedByAPartWithinThirtyPercentBeyondItsEnd) {
    // Lead-in of 6 from (60, 50) along +x: its test line reaches x = 67.8.
    struct Case {
        double partLeft;
        bool blocked;
    } cases[] = {{64.0, true}, {67.5, true}, {68.0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.partLeft);
        TearDown();
        SetUp();
        Rectangle(c.partLeft, 45, c.partLeft + 5, 55);
        const int circle = CirclePart();
        LeadInPlan plan = PlanOnCircle(circle, 6.0);
        EXPECT_EQ(Test(plan, circle), !c.blocked);
        EXPECT_EQ(plan.leadInBlocked, c.blocked ? 1 : 0);
        if (c.blocked) {
            EXPECT_NEAR(plan.leadInFreeLength, c.partLeft - 60.0, 1e-9);
        }
        // The lead's end stays where it was planned, blocked or not.
        EXPECT_TRUE(Near(plan.leadInStart, {66, 50}));
    }
}

TEST_F(LeadPlan, TheBoxIndexOfARunFindsWhatTheFullLookFinds) {
    // A row of parts, one of them in the way of the lead.
    for (int i = 0; i < 12; ++i) Rectangle(100 + 20 * i, 0, 110 + 20 * i, 10);
    Rectangle(65, 45, 70, 55);
    const int circle = CirclePart();
    LeadInPlan plain = PlanOnCircle(circle, 6.0);
    EXPECT_FALSE(Test(plain, circle));
    {
        LeadObstacleIndexScope scope(Job());
        LeadInPlan indexed = PlanOnCircle(circle, 6.0);
        EXPECT_FALSE(Test(indexed, circle));
        EXPECT_EQ(indexed.leadInFreeLength, plain.leadInFreeLength);
        const std::vector<int> near = ContoursNearBox(Job(), 60, 50, 67.8, 50);
        EXPECT_LT(near.size(), static_cast<std::size_t>(Job().contourCount));
        LeadInPlan away = PlanOnCircle(circle, 6.0);
        away.leadInAngle = std::numbers::pi / 2;
        EXPECT_TRUE(Test(away, circle));
    }
    // A table that changed under the index is looked at in full.
    LeadObstacleIndexScope stale(Job());
    Job().contours.insert(Job().contours.begin(), Rec(At(65, 45)));
    Job().contourCount += 1;
    EXPECT_EQ(ContoursNearBox(Job(), 0, 0, 1, 1).size(), static_cast<std::size_t>(Job().contourCount));
}

// Outlines kept over a walk answer every lead test as the contours themselves do: the same scores, blocked flags,
// free lengths and crossings, for the contour's own outline and for every part its leads reach, many-sided or of a
// few pieces (a rectangle, a triangle, a circle), kept by the writer or by the run's scope, for a polyline and for
// a circle led into.
TEST_F(LeadPlan, KeptOutlinesAnswerAsTheContours) {
    auto polygon = [this](double cx, double cy, double r, int sides) {
        std::vector<contour_testing::Vertex> v;
        for (int k = 0; k < sides; ++k) {
            const double a = 2 * std::numbers::pi * k / sides;
            v.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
        }
        Polyline(v, true);
    };
    struct Case {
        const char* what;
        int ownSides;   // 0: the contour led into is a circle
        bool scope;
    } cases[] = {{"many-sided contour, kept by the writer", 64, false},
                 {"many-sided contour, kept by the run", 64, true},
                 {"circle, kept by the writer", 0, false},
                 {"circle, kept by the run", 0, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        if (c.ownSides > 0) polygon(50, 50, 10, c.ownSides);  // the contour led into, its vertex 0 at (60, 50)
        else Circle({50, 50}, 10);
        polygon(71, 50, 4, 48);
        polygon(50, 67, 3, 40);
        Rectangle(30, 30, 34, 70);
        Polyline({{64, 36}, {70, 36}, {66, 41}}, true);
        Circle({62, 31}, 2);
        Create();
        const int own = At(40, 40);
        host::db::ObjectPtr<host::db::Entity> contour(db().idFromHandle(host::db::Handle(Rec(own).handle)),
                                                      host::db::OpenMode::Read);
        ASSERT_TRUE(contour);
        std::optional<LeadObstacleIndexScope> scope;
        if (c.scope) scope.emplace(Job());
        LeadOutlines outlines(*contour);
        int blocked = 0;
        // Twice round, so that the second round meets only outlines made in the first.
        for (int k = 0; k < 72; ++k) {
            LeadInPlan plain = PlanOnCircle(own, 12.0, 9.0);
            plain.leadInAngle = k * std::numbers::pi / 18;
            plain.leadOutAngle = plain.leadInAngle + 0.4;
            LeadInPlan kept = plain;
            int plainTurn = 0, keptTurn = 0;
            const int score = EvaluateLeadCollisions(Job(), *contour, plain, plainTurn);
            EXPECT_EQ(EvaluateLeadCollisions(Job(), *contour, kept, keptTurn, &outlines), score) << k;
            EXPECT_EQ(keptTurn, plainTurn) << k;
            EXPECT_EQ(kept.leadInBlocked, plain.leadInBlocked) << k;
            EXPECT_EQ(kept.leadOutBlocked, plain.leadOutBlocked) << k;
            EXPECT_EQ(kept.leadInFreeLength, plain.leadInFreeLength) << k;
            EXPECT_EQ(kept.leadOutFreeLength, plain.leadOutFreeLength) << k;
            EXPECT_EQ(kept.leadInCrossing, plain.leadInCrossing) << k;
            EXPECT_EQ(kept.leadOutCrossing, plain.leadOutCrossing) << k;
            EXPECT_EQ(kept.leadInAngle, plain.leadInAngle) << k;
            EXPECT_EQ(kept.leadOutAngle, plain.leadOutAngle) << k;
            blocked += score != kLeadsFree;
        }
        EXPECT_GT(blocked, 20) << "the leads must meet something for the test to mean anything";
    }
}

// A blocked lead looks for other contours only within its nearest crossing so far: what it answers is still the
// nearest crossing over its own contour and every other one, found here by crossing each of them in turn, for
// leads that end short of everything, reach one part, or cross several, and with the run's index or without.
TEST_F(LeadPlan, ABlockedLeadAnswersTheNearestCrossingOfAllContours) {
    for (const bool scoped : {false, true}) {
        SCOPED_TRACE(scoped ? "run's index" : "no index");
        TearDown();
        SetUp();
        // Rings of small parts about the circle, nearer and farther, with boxes that overlap the line's box
        // while the parts themselves lie off it.
        for (int k = 0; k < 16; ++k) {
            const double a = 2 * std::numbers::pi * k / 16 + 0.1;
            Circle({50 + 14 * std::cos(a), 50 + 14 * std::sin(a)}, 1.5);
            const double b = a + 0.2;
            const double x = 50 + 21 * std::cos(b), y = 50 + 21 * std::sin(b);
            Rectangle(x - 1, y - 2, x + 1, y + 2);
            Polyline({{50 + 28 * std::cos(a), 50 + 28 * std::sin(a)}, {50 + 30 * std::cos(b), 50 + 30 * std::sin(b)},
                      {50 + 32 * std::cos(a), 50 + 32 * std::sin(a)}},
                     true);
        }
        const int own = CirclePart();
        host::db::ObjectPtr<host::db::Entity> contour(db().idFromHandle(host::db::Handle(Rec(own).handle)),
                                                      host::db::OpenMode::Read);
        ASSERT_TRUE(contour);
        std::optional<LeadObstacleIndexScope> scope;
        if (scoped) scope.emplace(Job());
        LeadOutlines outlines(*contour);
        int reachedSeveral = 0;
        for (const double length : {2.0, 5.0, 12.0, 20.0}) {
            for (int k = 0; k < 90; ++k) {
                LeadInPlan plan = PlanOnCircle(own, length);
                // From the start point outward, and back across the circle itself.
                plan.leadInAngle = -std::numbers::pi / 2 + k * std::numbers::pi / 45;
                // The nearest crossing, over the own contour first and then every other in table order.
                const Point3d end = PointAtAngle(plan.startPoint, plan.leadInAngle, 1.3 * length);
                const host::db::Line line(plan.startPoint, end);
                bool blocked = false;
                double nearest = kLeadUnblockedLength;
                Point3d crossing;
                int met = 0;
                for (int i = -1; i < Job().contourCount; ++i) {
                    if (i == own) continue;
                    const int index = i < 0 ? own : i;
                    host::db::ObjectPtr<host::db::Entity> e(
                        db().idFromHandle(host::db::Handle(Rec(index).handle)), host::db::OpenMode::Read);
                    bool any = false;
                    for (const Point3d& p : e->intersectWith(line)) {
                        const double d = std::hypot(p.x - plan.startPoint.x, p.y - plan.startPoint.y);
                        if (i < 0 && d < 1e-6) continue;
                        any = true;
                        if (d < nearest) nearest = d, crossing = {p.x, p.y, 0.0};
                    }
                    blocked = blocked || any;
                    met += any ? 1 : 0;
                }
                reachedSeveral += met > 1 ? 1 : 0;
                LeadInPlan tested = plan;
                TestLeadsCollision(Job(), *contour, tested, true, false, &outlines);
                EXPECT_EQ(tested.leadInBlocked, blocked ? 1 : 0) << length << " " << k;
                EXPECT_EQ(tested.leadInFreeLength, nearest) << length << " " << k;
                if (blocked) {
                    EXPECT_EQ(tested.leadInCrossing, crossing) << length << " " << k;
                }
            }
        }
        EXPECT_GT(reachedSeveral, 30) << "leads must cross several contours for the test to mean anything";
    }
}

TEST_F(LeadPlan, InsideCutLinesNeverBlockAndTheStockOnlyAsStock) {
    Polyline({{63, 45}, {63, 55}}, false, "InsideCutLine");
    const int circle = CirclePart();
    LeadInPlan plan = PlanOnCircle(circle, 6.0);
    EXPECT_TRUE(Test(plan, circle));

    // The record after the last contour, over a line across the lead.
    const ObjectId across = Add(std::make_unique<host::db::Line>(Point3d(64, 40, 0), Point3d(64, 60, 0)));
    ContourRecord& last = Rec(Job().contourCount);
    last.handle = across.handle().value;
    last.minX = 64, last.maxX = 64, last.minY = 40, last.maxY = 60;
    last.role = 0;
    plan = PlanOnCircle(circle, 6.0);
    EXPECT_TRUE(Test(plan, circle));
    last.role = kRoleStock;
    plan = PlanOnCircle(circle, 6.0);
    EXPECT_FALSE(Test(plan, circle));
}

TEST_F(LeadPlan, ABlockedLeadIsTurnedWhileAFreeOneKeepsItsAngle) {
    // A part straight out from the start blocks the lead-in along the normal; the lead-out leaves at 30 degrees
    // below and is free.
    Rectangle(63, 49, 70, 51);
    const int circle = CirclePart();
    LeadInPlan plan = PlanOnCircle(circle, 6.0, 3.0);
    plan.leadOutAngle = 2 * std::numbers::pi - std::numbers::pi / 6;
    int turn = -1;
    EXPECT_EQ(Evaluate(plan, circle, turn), kLeadsFreedByTurn);
    EXPECT_EQ(plan.leadInBlocked, 0);
    EXPECT_NE(plan.leadInAngle, 0.0);
    EXPECT_DOUBLE_EQ(plan.leadOutAngle, 2 * std::numbers::pi - std::numbers::pi / 6);
    EXPECT_GE(turn, 0);

    // Nothing in the way: score 0 and nothing turned.
    plan = PlanOnCircle(circle, 6.0, 3.0);
    plan.leadInAngle = std::numbers::pi / 4;
    plan.leadOutAngle = 2 * std::numbers::pi - std::numbers::pi / 4;
    EXPECT_EQ(Evaluate(plan, circle, turn), kLeadsFree);
    EXPECT_EQ(turn, 0);
}

TEST(LeadPlanChoice, TheBetterPlanIsKept) {
    // Per lead: blocked flag and free length; the plans differ only there.
    struct Lead {
        std::uint8_t blocked;
        double free;
    };
    struct Case {
        const char* what;
        int bestScore, candidateScore, bestTurn, candidateTurn;
        Lead bestIn, bestOut, candidateIn, candidateOut;
        bool taken;
        int scoreAfter, turnAfter;
    } cases[] = {
        {"lower score wins", 2, 1, 4, 7, {1, 2}, {0, 9}, {0, 9}, {0, 9}, true, 1, 4},
        {"higher score loses", 1, 2, 4, 0, {0, 9}, {0, 9}, {1, 9}, {0, 9}, false, 1, 4},
        {"fewer turns win at score 1", 1, 1, 5, 3, {0, 9}, {0, 9}, {0, 9}, {0, 9}, true, 1, 3},
        {"more turns lose at score 1", 1, 1, 5, 6, {0, 9}, {0, 9}, {0, 9}, {0, 9}, false, 1, 5},
        {"both leads longer win at score 2", 2, 2, 5, 8, {1, 2}, {1, 1}, {1, 3}, {1, 2}, true, 2, 8},
        {"one lead longer is not enough", 2, 2, 5, 8, {1, 2}, {1, 1}, {1, 3}, {1, 1}, false, 2, 5},
        {"a free lead beats a blocked one", 2, 2, 5, 8, {1, 2}, {1, 1}, {0, 1e30}, {1, 2}, true, 2, 8},
        {"equal free plans keep the first", 0, 0, 0, 0, {0, 1e30}, {0, 1e30}, {0, 1e30}, {0, 1e30}, false, 0, 0},
    };
    for (const Case& c : cases) {
        LeadInPlan best, candidate;
        best.leadInBlocked = c.bestIn.blocked, best.leadInFreeLength = c.bestIn.free;
        best.leadOutBlocked = c.bestOut.blocked, best.leadOutFreeLength = c.bestOut.free;
        candidate.leadInBlocked = c.candidateIn.blocked, candidate.leadInFreeLength = c.candidateIn.free;
        candidate.leadOutBlocked = c.candidateOut.blocked, candidate.leadOutFreeLength = c.candidateOut.free;
        best.startPoint = {1, 1, 0};
        candidate.startPoint = {2, 2, 0};
        int score = c.bestScore, turn = c.bestTurn;
        EXPECT_EQ(PreferLeadPlan(best, candidate, score, c.candidateScore, turn, c.candidateTurn), c.scoreAfter)
            << c.what;
        EXPECT_EQ(best.startPoint.x == 2.0, c.taken) << c.what;
        EXPECT_EQ(score, c.scoreAfter) << c.what;
        EXPECT_EQ(turn, c.turnAfter) << c.what;
    }
}

TEST(LeadPlanBox, TheMarginWidensTheBoxBeyondTheSecondPoint) {
    struct Case {
        Point3d p, q, min, max;
    } cases[] = {
        {{0, 0}, {10, 5}, {0, 0}, {11, 6}},
        {{10, 5}, {0, 0}, {-1, -1}, {10, 5}},
        {{0, 0}, {0, 5}, {-1, 0}, {1, 6}},
    };
    for (const Case& c : cases) {
        Point3d lo, hi;
        BoxOfSegmentWithMargin(c.p, c.q, 1.0, lo, hi);
        EXPECT_TRUE(Near(lo, c.min) && Near(hi, c.max)) << lo.x << "," << lo.y << " " << hi.x << "," << hi.y;
    }
}

}  // namespace
