// The rotation rule of a part: which angles each rule admits, and that no turn of the placement (trial angles,
// pairs, holes, the turned run, the compaction's half turn of a blocking part, manual placement) leaves a part
// at an angle its rule refuses, at any quality level.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "nesting/engine/manual_placement.h"
#include "nesting/engine/nesting_run.h"
#include "nesting/engine/pair_clusters.h"
#include "nesting/engine/part_placement.h"
#include "nesting/engine/rotation_rules.h"
#include "nesting/engine/stock_optimization.h"
#include "nesting/engine/tests/layout_check.h"
#include "nesting/engine/tests/placement_job.h"

namespace {

using namespace nesting_engine_testing;

TEST(RotationRules, EachRuleAdmitsItsAnglesOnly) {
    struct Case {
        const char* what;
        std::uint8_t mode;
        double sectorMin;
        double sectorMax;
        double deltaIndex;
        double degrees;  // the part's angle, the grain angle being 30 degrees
        bool admitted;
    };
    const Case cases[] = {
        {"no rotate at its grain", kRotateNone, 0, 0, 0, 30, true},
        {"no rotate at its grain less a rounding", kRotateNone, 0, 0, 0, 30 - 1e-12, true},
        {"no rotate turned by half a turn", kRotateNone, 0, 0, 0, 210, false},
        {"no rotate a degree off", kRotateNone, 0, 0, 0, 31, false},
        {"sector at its ends", kRotateSector, -10, 10, 0, 20, true},
        {"sector at its other end", kRotateSector, -10, 10, 0, 40, true},
        {"sector just outside", kRotateSector, -10, 10, 0, 40.01, false},
        {"sector turned by half a turn", kRotateSector, -10, 10, 0, 210, false},
        {"sector through 0", kRotateSector, -40, 0, 0, 355, true},
        {"sector and opposite, in the opposite sector", kRotateSectorAnd180, -10, 10, 0, 215, true},
        {"sector and opposite, between the two", kRotateSectorAnd180, -10, 10, 0, 120, false},
        {"sector of a full turn", kRotateSector, -180, 180, 0, 123, true},
        {"free at any angle", kRotateFull, 0, 0, 0, 123.4, true},
        {"free with a delta of 90 on its grid", kRotateFull, 0, 0, kDeltaQuarterTurn, 300, true},
        {"free with a delta of 90 off its grid", kRotateFull, 0, 0, kDeltaQuarterTurn, 75, false},
        {"free with a delta of 90 turned by half a turn", kRotateFull, 0, 0, kDeltaQuarterTurn, 210, true},
        {"free \"Inscribe\" at any angle", kRotateFull, 0, 0, kDeltaInscribe, 75, true},
    };
    for (const Case& c : cases) {
        PartType type;
        type.RotationMode = c.mode;
        type.SectorMin = c.sectorMin;
        type.SectorMax = c.sectorMax;
        type.DeltaIndex = c.deltaIndex;
        type.RotationStep = DeltaStepDegrees(static_cast<int>(c.deltaIndex));
        EXPECT_EQ(RuleAdmits(type, 30 * kDeg, Normalized(c.degrees * kDeg)), c.admitted) << c.what;
    }
}

// The delta list of the job: "Any", "1", "2", "5", "10", "15", "30", "45", "60", "90", "180", "Inscribe".
TEST(RotationRules, TheDeltaIndexesNameTheirEntriesOfTheDeltaList) {
    EXPECT_EQ(DeltaStepDegrees(kDeltaQuarterTurn), 90.0);
    EXPECT_EQ(DeltaStepDegrees(kDeltaQuarterTurn + 1), 180.0);
    EXPECT_EQ(DeltaStepDegrees(kDeltaAny), 0.5);
    EXPECT_EQ(DeltaStepDegrees(kDeltaInscribe), 0.5);
    EXPECT_EQ(DeltaStepDegrees(6), 30.0);
    EXPECT_EQ(DeltaStepDegrees(-1), 0.0);
    EXPECT_EQ(DeltaStepDegrees(kDeltaListLength), 0.0);
}

struct RotationRule {
    const char* what;
    std::uint8_t mode;
    double sectorMin;
    double sectorMax;
    double deltaIndex;
    std::function<bool(double angle)> admitted;  // the grain angle being a half turn
};

void PrintTo(const RotationRule& rule, std::ostream* out) { *out << rule.what; }

class RotationRulesInPlacement : public PlacementJob, public testing::WithParamInterface<RotationRule> {
protected:
    using Rule = RotationRule;

    // A small sheet whose grain of 180 degrees makes every part's grain angle a half turn, and mixed parts under
    // one rule, each centred on its box as the loader centres them: right triangles (which nest best when every
    // other one is turned by half a turn), an L, a rectangle, a frame with a round hole and a small square that
    // fits into the hole.
    void MakeMixedJob(const Rule& rule) {
        PartType sheet = MakeRectangleType(kKindStock, 150, 100);
        sheet.Grain = 180;
        AddStockType(engine, sheet, 1);
        PartType frame = MakeRectangleType(kKindPart, 44, 44);
        AddHole(frame, MakeCircle(15));
        const std::pair<PartType, int> parts[] = {
            {MakeType(kKindPart, MakePolygon({{-18, -12}, {18, -12}, {-18, 12}})), 4},
            {MakeType(kKindPart, MakePolygon({{-20, -16}, {20, -8}, {18, 2}, {-6, -2}, {-10, 16}, {-20, 12}})), 1},
            {MakeRectangleType(kKindPart, 30, 18), 1},
            {frame, 1},
            {MakeRectangleType(kKindPart, 10, 10), 1},
        };
        for (const auto& [part, quantity] : parts) {
            PartType type = part;
            type.SectorMin = rule.sectorMin;
            type.SectorMax = rule.sectorMax;
            type.DeltaIndex = rule.deltaIndex;
            type.RotationStep = DeltaStepDegrees(static_cast<int>(rule.deltaIndex));
            AddPartType(engine, type, quantity, 0, rule.mode);
        }
        ASSERT_TRUE(AddInstances(engine));
    }

    // The run's preparation (pairs, templates, order), then one pass over the sheet as the run places it:
    // parts into holes first when the type changes, else by PlacePart.
    void PlaceOnePass(int quality) {
        engine.QualityLevel = quality;
        engine.UseCluster = 1;
        engine.HoleMode = 1;
        ResetNestingRun(engine);
        ClearPairVariants(engine, -1);
        BuildPairVariants(engine);
        for (int j = 0; j < engine.OrderCount; ++j) {
            if (j == 0 || Part(engine.OrderIndex[j]).Type != Part(engine.OrderIndex[j - 1]).Type) {
                BuildRotationTemplates(engine, j);
            }
        }
        OrderPartInstances(engine);
        StartPass();
        engine.UseCluster = 1;
        engine.HoleMode = 1;
        const PartType* lastType = nullptr;
        for (int j = 0; j < engine.OrderCount; ++j) {
            PartInstance& part = Part(engine.PartOrder[j]);
            if (part.Placed == 1) {
                continue;
            }
            engine.PairWanted = engine.UseCluster;
            engine.LandscapeWanted = engine.UseLandscape;
            if (lastType != nullptr && part.Type != lastType) {
                const BoundingBox extent = engine.PlacedExtent;
                const host::ge::Point2d reference = engine.ReferencePoint;
                const BoundingBox window = engine.StartWindow;
                FillHoles(engine, j);
                engine.PlacementMode = kPlacementMain;
                engine.PlacedExtent = extent;
                engine.ReferencePoint = reference;
                engine.StartWindow = window;
                engine.PairWanted = engine.UseCluster;
                engine.LandscapeWanted = engine.UseLandscape;
            }
            lastType = part.Type;
            if (part.Placed != 1) {
                PlacePart(engine, j, 0.0, 0.0, kAutomaticPlacement);
            }
        }
    }

    // Every part on the sheet lies at an angle of its rule; answers how many lie there.
    int CheckAngles(const Rule& rule, const std::string& when) {
        int placed = 0;
        for (int i = 0; i < engine.PartInstanceCount; ++i) {
            const PartInstance& part = Part(i);
            if (part.Placed != 1 || part.CommittedPose->Valid == 0) {
                continue;
            }
            ++placed;
            const double angle = part.CommittedPose->Angle;
            EXPECT_TRUE(rule.admitted(angle)) << when << ": part " << i << " at " << angle / kDeg;
        }
        return placed;
    }
};

// Four rules, each at every quality level on its own seeded job: 224 placed parts in all, and one part per job
// moved by hand onto a taken spot (it slides from there or from the automatic start poses).
const RotationRule kRules[] = {
    {"NoRotate", kRotateNone, 0, 0, 0, [](double a) { return AngleGap(a, 180 * kDeg) < kExact; }},
    {"SectorOf20", kRotateSector, -10, 10, 0, [](double a) { return AngleGap(a, 180 * kDeg) <= 10 * kDeg + kExact; }},
    {"SectorOf20AndOpposite", kRotateSectorAnd180, -10, 10, 0,
     [](double a) { return AngleGap(a, 180 * kDeg) <= 10 * kDeg + kExact || AngleGap(a, 0) <= 10 * kDeg + kExact; }},
    {"FreeByQuarterTurns", kRotateFull, 0, 0, kDeltaQuarterTurn,
     [](double a) { return std::fmod(Normalized(a - 180 * kDeg) + kExact, 90 * kDeg) < 2 * kExact; }},
};

TEST_P(RotationRulesInPlacement, NoTurnLeavesAPartOutsideItsRuleAtAnyQuality) {
    const Rule& rule = GetParam();
    for (int quality = kMinQualityLevel; quality <= kMaxQualityLevel; ++quality) {
        SCOPED_TRACE(testing::Message() << "quality " << quality);
        NewEngine();
        MakeMixedJob(rule);
        host::sys::seedRandom(static_cast<unsigned>(100 * quality + rule.mode));
        PlaceOnePass(quality);
        EXPECT_GE(CheckAngles(rule, "after the pass"), engine.PartInstanceCount - 1) << "nearly all parts fit";
        EXPECT_EQ(layout_check::CheckLayout(engine), "");

        if (Part(0).Placed != 1) {
            continue;
        }
        const PartPose& target = *Part(engine.PartOrder[static_cast<std::size_t>(engine.OrderCount / 2)]).CommittedPose;
        double x = target.X;
        double y = target.Y;
        double angle = Part(0).CommittedPose->Angle;
        int instance = 0;
        if (PlacePartManually(engine, 0, instance, x, y, angle) < 0) {
            Part(0).Placed = 0;
            Part(0).Stock = -1;
            Part(0).TrialPose->Valid = 0;
            Part(0).CommittedPose->Valid = 0;
        }
        CheckAngles(rule, "after moving part 0 by hand");
        EXPECT_EQ(layout_check::CheckLayout(engine), "");
    }
}

INSTANTIATE_TEST_SUITE_P(EveryRule, RotationRulesInPlacement, testing::ValuesIn(kRules),
                         [](const testing::TestParamInfo<RotationRule>& info) {
                             return std::string(info.param.what);
                         });

}  // namespace
