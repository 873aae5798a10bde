// Trial angles by rotation rule and attempt, and the admission of an angle by a part's rule.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "nesting/engine/start_positions.h"
#include "nesting/engine/tests/placement_job.h"
#include "nesting/engine/trial_rotations.h"

namespace {

using namespace nesting_engine_testing;
using std::numbers::pi;

class TrialRotations : public PlacementJob {
protected:
    struct Rule {
        std::uint8_t mode = kRotateFull;
        double partGrain = 0.0;
        double sheetGrain = 0.0;
        double sectorMin = 0.0;
        double sectorMax = 0.0;
        double deltaIndex = 0.0;
        double step = 0.5;
        double aspect = 2.0;
    };

    void MakeRuleJob(const Rule& rule, double bestLandscape, double bestPortrait) {
        PartType part = MakeRectangleType(kKindPart, 100, 50);
        part.Grain = rule.partGrain;
        part.SectorMin = rule.sectorMin;
        part.SectorMax = rule.sectorMax;
        part.DeltaIndex = rule.deltaIndex;
        part.RotationStep = rule.step;
        part.Aspect = rule.aspect;
        MakeJob(part, 1, rule.mode, 1000, 500, rule.sheetGrain);
        Group().BestLandscapeDeg = bestLandscape;
        Group().BestPortraitDeg = bestPortrait;
        SetGroupRotationRules(engine);
    }
};

// Every angle that any attempt is given lies where the part's rule allows it, whatever the best template angles
// are: a part is never left without an admitted trial angle. (Before, a "No Rotate" part whose least box lay at
// a slant, or a sector part whose best angle lay outside its sector, got no angle at all and stayed unplaced.)
TEST_F(TrialRotations, EveryAttemptGetsAnAngleTheRuleAdmits) {
    struct Case {
        const char* what;
        Rule rule;
        double bestLandscape;
        double bestPortrait;
        std::function<bool(double angle)> admitted;
    };
    const Case cases[] = {
        {"no rotate, best angle at a slant",
         {kRotateNone, 0, 30}, 17, 107,
         [](double a) { return AngleGap(a, 30 * kDeg) < kExact; }},
        {"no rotate, part grain against sheet grain",
         {kRotateNone, 45, 0}, 0, 90,
         [](double a) { return AngleGap(a, 315 * kDeg) < kExact; }},
        {"sector of 20 degrees around the grain, best angle outside it",
         {kRotateSector, 0, 90, -10, 10}, 0, 45,
         [](double a) { return AngleGap(a, 90 * kDeg) <= 10 * kDeg + kExact; }},
        {"sector and its opposite",
         {kRotateSectorAnd180, 0, 90, -10, 10}, 0, 45,
         [](double a) { return AngleGap(a, 90 * kDeg) <= 10 * kDeg + kExact || AngleGap(a, 270 * kDeg) <= 10 * kDeg + kExact; }},
        {"free rotation with a delta of 90 from a grain of 10",
         {kRotateFull, 0, 10, 0, 0, 9, 90}, 17, 107,
         [](double a) { return std::fmod(Normalized(a - 10 * kDeg) + kExact, 90 * kDeg) < 2 * kExact; }},
        {"free rotation with a delta of 15",
         {kRotateFull, 0, 0, 0, 0, 5, 15}, 3, 93,
         [](double a) { return std::fmod(a + kExact, 15 * kDeg) < 2 * kExact; }},
        {"free rotation, any angle: within 45 degrees of the best angle or its turn",
         {kRotateFull}, 20, 110,
         [](double a) { return AngleGap(a, 20 * kDeg) <= 45 * kDeg + kExact || AngleGap(a, 200 * kDeg) <= 45 * kDeg + kExact; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NewEngine();
        MakeRuleJob(c.rule, c.bestLandscape, c.bestPortrait);
        const int limit = engine.QualityTable[3][0];
        for (int k = 0; k <= limit; k += 7) {
            double angle = -1.0;
            ASSERT_TRUE(ChooseTrialAngle(engine, k, true, angle)) << "attempt " << k;
            EXPECT_TRUE(c.admitted(angle)) << "attempt " << k << ": " << angle / kDeg;
            if (c.rule.mode != kRotateFull) {
                EXPECT_TRUE(IsAngleAllowed(engine, angle)) << "attempt " << k;
            }
            double holeAngle = -1.0;
            ASSERT_TRUE(ChooseHoleTrialAngle(engine, k, true, holeAngle));
            EXPECT_TRUE(c.admitted(holeAngle)) << "hole attempt " << k << ": " << holeAngle / kDeg;
        }
    }
}

TEST_F(TrialRotations, FreeRotationAlternatesItsBestAngleAndTurnsRandomlyOnlyLater) {
    MakeRuleJob({kRotateFull}, 20, 110);
    const int randomFrom = engine.QualityTable[3][1];
    double angle = 0.0;
    for (int k = 0; k < 6; ++k) {
        ASSERT_TRUE(ChooseTrialAngle(engine, k, true, angle));
        EXPECT_NEAR(angle, (k % 2 == 0 ? 20 : 200) * kDeg, kExact) << k;
        ASSERT_TRUE(ChooseTrialAngle(engine, k, false, angle));
        EXPECT_NEAR(angle, (k % 2 == 0 ? 110 : 290) * kDeg, kExact) << k;
    }
    std::set<long> degrees;
    for (int k = randomFrom; k < randomFrom + 200; k += 2) {
        ASSERT_TRUE(ChooseTrialAngle(engine, k, true, angle));
        const double offset = angle / kDeg - 20;
        EXPECT_NEAR(offset, std::round(offset), kExact) << "whole degrees";
        degrees.insert(std::lround(angle / kDeg));
    }
    EXPECT_GT(degrees.size(), 10u) << "random offsets from the random-angle attempt on";

    // A long part (aspect 4 or more) keeps its best angles, unless its delta is "Inscribe".
    struct Long {
        double aspect;
        double deltaIndex;
        bool offsets;
    };
    for (const Long& c : {Long{4.0, 0, false}, Long{4.0, 11, true}, Long{3.9, 0, true}}) {
        NewEngine();
        MakeRuleJob({kRotateFull, 0, 0, 0, 0, c.deltaIndex, 0.5, c.aspect}, 20, 110);
        std::set<long> seen;
        for (int k = randomFrom; k < randomFrom + 100; k += 2) {
            ASSERT_TRUE(ChooseTrialAngle(engine, k, true, angle));
            seen.insert(std::lround(angle / kDeg));
        }
        EXPECT_EQ(seen.size() > 1, c.offsets) << "aspect " << c.aspect << " delta " << c.deltaIndex;
    }
}

TEST_F(TrialRotations, RectangularNestingKeepsTheTemplateAnglesWithoutAHalfTurn) {
    MakeRuleJob({kRotateFull}, 0, 90);
    engine.RectMode = 1;
    const int landscapeEnd = engine.QualityTable[3][3];
    double angle = 0.0;
    for (int k : {0, 1, 2, 3, landscapeEnd - 1}) {
        ASSERT_TRUE(ChooseTrialAngle(engine, k, true, angle));
        EXPECT_NEAR(angle, 0.0, kExact) << k;
    }
    for (int k : {landscapeEnd, landscapeEnd + 1, engine.QualityTable[3][0]}) {
        ASSERT_TRUE(ChooseTrialAngle(engine, k, true, angle));
        EXPECT_NEAR(angle, pi / 2, kExact) << k;
    }
}

TEST_F(TrialRotations, ChooseTrialAngleRecordsTheBoxBeforeTheCall) {
    MakeRuleJob({kRotateFull}, 0, 90);
    engine.SetGroupPose(0, {500, 250}, pi / 2);
    double angle = 0.0;
    ASSERT_TRUE(ChooseTrialAngle(engine, 0, true, angle));
    EXPECT_NEAR(Group().GroupWidth, 50, kExact);
    EXPECT_NEAR(Group().GroupHeight, 100, kExact);
}

TEST_F(TrialRotations, IsAngleAllowedBySectorThroughZeroAndItsOpposite) {
    struct Case {
        std::uint8_t mode;
        double degrees;
        bool allowed;
    };
    const Case cases[] = {
        {kRotateSector, 355, true},        {kRotateSector, 5, true},          {kRotateSector, 350, true},
        {kRotateSector, 10, true},         {kRotateSector, 180, false},       {kRotateSector, 11, false},
        {kRotateSectorAnd180, 180, true},  {kRotateSectorAnd180, 175, true},  {kRotateSectorAnd180, 90, false},
        {kRotateFull, 123, true},          {kRotateNone, 0, true},            {kRotateNone, 1, false},
    };
    for (const Case& c : cases) {
        NewEngine();
        MakeRuleJob({c.mode, 0, 0, -10, 10}, 0, 90);
        EXPECT_NEAR(Group().SectorStart, 350 * kDeg, kExact);
        EXPECT_NEAR(Group().SectorEnd, 10 * kDeg, kExact);
        EXPECT_EQ(IsAngleAllowed(engine, c.degrees * kDeg), c.allowed)
            << "mode " << int(c.mode) << " at " << c.degrees;
    }
}

// The group's sector is set from its part's rule by the start-position functions before any reader sees it,
// whatever a template left in the group.
TEST_F(TrialRotations, StartPositionSetsTheGroupSectorFromTheRule) {
    MakeRuleJob({kRotateSector, 10, 40, -5, 5}, 0, 90);
    Group().SectorStart = 0.0;
    Group().SectorEnd = 0.0;
    int k = 0;
    ASSERT_TRUE(ChooseStartPosition(engine, true, k, true));
    EXPECT_NEAR(Group().SectorStart, 25 * kDeg, kExact);
    EXPECT_NEAR(Group().SectorEnd, 35 * kDeg, kExact);
    EXPECT_NEAR(Group().FixedAngle, 30 * kDeg, kExact);
    EXPECT_TRUE(IsAngleAllowed(engine, Group().Angle));
}

}  // namespace
