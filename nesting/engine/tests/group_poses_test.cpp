// Groups loaded from templates, posed and moved with their members, committed poses and pose snapshots.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include <omp.h>

#include "host/ge/angle.h"
#include "nesting/geometry/contour_transforms.h"
#include "nesting/model/nesting_engine.h"
#include "nesting/testing/job_builder.h"

namespace {

using host::ge::Point2d;

using host::ge::kPi;
constexpr double kTolerance = 1e-9;

void ExpectBox(const BoundingBox& box, const BoundingBox& expected, const char* what = "") {
    EXPECT_NEAR(box.minX, expected.minX, kTolerance) << what;
    EXPECT_NEAR(box.minY, expected.minY, kTolerance) << what;
    EXPECT_NEAR(box.maxX, expected.maxX, kTolerance) << what;
    EXPECT_NEAR(box.maxY, expected.maxY, kTolerance) << what;
}

// A job of two part types: A, a 20 x 10 rectangle with a good pair (three copies), and B, a 6 x 6 square whose
// best pair saves nothing (two copies). Placement order: B, B, A, A, A.
class GroupPoses : public ::testing::Test {
protected:
    void SetUp() override {
        PartType a = MakeRectangleType(kKindPart, 20, 10);
        a.PairVariants[0].Quality = 0.5f;
        // The pair: the second part 20 to the right along the group angle, turned half a turn.
        a.PairTemplates[0].Members[1] = PartGroupMember{-1, 20.0, 0.0, kPi, 0};
        a.SingleTemplates[0].SectorStart = 0.25;
        a.SingleTemplates[0].SectorEnd = 0.5;
        a.SingleTemplates[0].BestPortraitDeg = 90;
        PartType b = MakeRectangleType(kKindPart, 6, 6);
        b.PairVariants[0].Quality = 0.0f;
        AddPartType(engine, a, 3);
        AddPartType(engine, b, 2);
        AddStockType(engine, MakeRectangleType(kKindStock, 1000, 500), 2);
        ASSERT_TRUE(AddInstances(engine));
        engine.PartOrder = {3, 4, 0, 1, 2};
        engine.OrderCount = 5;
    }

    PartPose& Trial(int i) { return *engine.PartInstances[static_cast<std::size_t>(i)].TrialPose; }
    PartInstance& Instance(int i) { return engine.PartInstances[static_cast<std::size_t>(i)]; }

    CNestingEngine engine;
};

TEST_F(GroupPoses, LoadGroupTemplateTakesAPartnerOnlyWhenAPairIsWorthIt) {
    struct Case {
        const char* what;
        std::vector<std::int32_t> order;
        int j;
        int wantPair;
        int placed;  // an instance marked placed first, -1 none
        int members;
        int partner;
    };
    const Case cases[] = {
        {"a pair of the next copy", {3, 4, 0, 1, 2}, 2, 2, -1, 2, 1},
        {"no pair asked for", {3, 4, 0, 1, 2}, 2, 1, -1, 1, -1},
        {"a placed copy is passed over", {3, 4, 0, 1, 2}, 2, 2, 1, 2, 2},
        {"only placed copies follow", {3, 4, 0, 1, 2}, 3, 2, 2, 1, -1},
        {"the next entry is another type", {0, 1, 2, 3, 4}, 2, 2, -1, 1, -1},
        {"the last entry of the order", {3, 4, 0, 1, 2}, 4, 2, -1, 1, -1},
        {"a type whose best pair saves nothing", {3, 4, 0, 1, 2}, 0, 2, -1, 1, -1},
    };
    for (const Case& c : cases) {
        engine.PartOrder = c.order;
        for (PartInstance& instance : engine.PartInstances) {
            instance.Placed = 0;
        }
        if (c.placed >= 0) {
            Instance(c.placed).Placed = 1;
        }
        EXPECT_EQ(engine.LoadGroupTemplate(c.j, c.wantPair), c.members) << c.what;
        const PartGroup& group = engine.Groups[0];
        EXPECT_EQ(group.MemberCount, c.members) << c.what;
        EXPECT_EQ(group.Members[0].Instance, engine.PartOrder[static_cast<std::size_t>(c.j)]) << c.what;
        if (c.members == 2) {
            EXPECT_EQ(group.Members[1].Instance, c.partner) << c.what;
            EXPECT_EQ(group.Members[1].Radius, 20.0) << c.what;
        }
        EXPECT_EQ(group.Valid, 0) << c.what;
    }
}

TEST_F(GroupPoses, VariantGroupsCopyGroupZeroByTheQualityLevel) {
    for (const auto& [level, groups] : {std::pair{3, 2}, std::pair{9, 5}}) {
        engine.QualityLevel = level;
        engine.Groups[3].Valid = 1;
        engine.LoadGroupTemplate(3, 1);
        EXPECT_EQ(engine.GroupCount, groups) << "level " << level;
        for (int g = 1; g < groups; ++g) {
            const PartGroup& variant = engine.Groups[static_cast<std::size_t>(g)];
            EXPECT_EQ(variant.MemberCount, 1);
            EXPECT_EQ(variant.Members[0].Instance, 1);
            EXPECT_EQ(variant.SectorStart, 0.25);
            EXPECT_EQ(variant.SectorEnd, 0.5);
            EXPECT_EQ(variant.BestPortraitDeg, 90);
            EXPECT_EQ(variant.Valid, 0);
        }
    }
}

TEST_F(GroupPoses, ASingleMemberLiesExactlyOnTheGroupPosition) {
    engine.LoadGroupTemplate(2, 1);
    const Point2d at{12.345678901234, 98.7654321098};
    engine.SetGroupPose(0, at, 0.7);
    EXPECT_EQ(Trial(0).X, at.x);
    EXPECT_EQ(Trial(0).Y, at.y);
    EXPECT_EQ(Trial(0).Angle, 0.7);
    EXPECT_EQ(engine.Groups[0].Box, Trial(0).Box);
    EXPECT_EQ(engine.Groups[0].X, at.x);
    EXPECT_EQ(engine.Groups[0].Angle, 0.7);
}

TEST_F(GroupPoses, APairIsPosedMovedAndTranslatedWithItsMembers) {
    ASSERT_EQ(engine.LoadGroupTemplate(2, 2), 2);
    engine.SetGroupPose(0, {100, 100}, kPi / 2);
    // Member 0 turned upright about (100, 100); member 1 twenty above it, turned three quarters.
    EXPECT_NEAR(Trial(1).X, 100, kTolerance);
    EXPECT_NEAR(Trial(1).Y, 120, kTolerance);
    EXPECT_NEAR(Trial(1).Angle, 3 * kPi / 2, kTolerance);
    ExpectBox(Trial(0).Box, {95, 90, 105, 110}, "member 0");
    ExpectBox(Trial(1).Box, {95, 110, 105, 130}, "member 1");
    ExpectBox(engine.Groups[0].Box, {95, 90, 105, 130}, "group");

    engine.MoveGroupTo(0, 0.1, 0.2);
    EXPECT_EQ(engine.Groups[0].X, 0.1);
    EXPECT_EQ(engine.Groups[0].Y, 0.2);
    ExpectBox(engine.Groups[0].Box, {-4.9, -9.8, 5.1, 30.2}, "moved group");
    ExpectBox(Trial(1).Box, {-4.9, 10.2, 5.1, 30.2}, "moved member 1");

    engine.TranslateGroup(0, 10, -5);
    EXPECT_NEAR(engine.Groups[0].X, 10.1, kTolerance);
    EXPECT_NEAR(Trial(0).X, 10.1, kTolerance);
    EXPECT_NEAR(Trial(0).Y, -4.8, kTolerance);
    ExpectBox(Trial(0).Outers[0].Box, {5.1, -14.8, 15.1, 5.2}, "outer contour of member 0");
}

TEST_F(GroupPoses, ApplyGroupPosePosesEveryMemberAndLeavesTheBox) {
    engine.LoadGroupTemplate(2, 2);
    engine.Groups[0].Box = {1, 2, 3, 4};
    engine.ApplyGroupPose(0, {50, 60}, 0.0);
    EXPECT_EQ(engine.Groups[0].Box, (BoundingBox{1, 2, 3, 4}));
    ExpectBox(Trial(0).Box, {40, 55, 60, 65}, "member 0");
    ExpectBox(Trial(1).Box, {60, 55, 80, 65}, "member 1");
    EXPECT_EQ(engine.Groups[0].X, 50);
}

TEST_F(GroupPoses, CommitCopiesTheTrialPoseAndPutsThePartOnTheCurrentSheet) {
    engine.CurrentStock = 1;
    ApplyPartPose(Instance(2), 0, {30, 40}, 1.5);
    Trial(2).ContourSet = 0;
    engine.CommitPartPose(2);
    const PartPose& committed = *Instance(2).CommittedPose;
    EXPECT_EQ(committed.X, 30);
    EXPECT_EQ(committed.Y, 40);
    EXPECT_EQ(committed.Angle, 1.5);
    EXPECT_EQ(committed.Box, Trial(2).Box);
    EXPECT_EQ(committed.OuterCount, 1);
    EXPECT_EQ(committed.Valid, 1);
    EXPECT_EQ(Trial(2).Valid, 1);
    EXPECT_EQ(Instance(2).Placed, 1);
    EXPECT_EQ(Instance(2).Stock, 1);
    EXPECT_TRUE(committed.Outers.empty());
    engine.CommitPartPose(99);  // no such instance: nothing happens
}

// Puts instance i on the current sheet at (x, y, angle).
void PlaceOnSheet(CNestingEngine& engine, int i, double x, double y, double angle) {
    ApplyPartPose(engine.PartInstances[static_cast<std::size_t>(i)], 0, {x, y}, angle);
    engine.CommitPartPose(i);
}

TEST_F(GroupPoses, ASnapshotGivesASheetItsSavedPlacementBack) {
    engine.CurrentStock = 1;
    PlaceOnSheet(engine, 3, 500, 250, 0);  // on sheet 1, never touched
    engine.CurrentStock = 0;
    PlaceOnSheet(engine, 0, 10, 20, 0);
    PlaceOnSheet(engine, 1, 40, 20, kPi);
    const BoundingBox savedBox = Trial(1).Box;

    engine.SavePoseSnapshot(engine.PartInstances, engine.PartInstanceCount);
    EXPECT_EQ(engine.PoseSnapshots[1].Stock, 0);
    EXPECT_EQ(engine.PoseSnapshots[2].Stock, -1);
    EXPECT_EQ(engine.PoseSnapshots[3].Stock, -1);

    PlaceOnSheet(engine, 0, 300, 300, 1.0);  // moved
    Instance(1).Placed = 0;                  // taken off
    Instance(1).Stock = -1;
    Trial(1).ContourSet = 1;
    PlaceOnSheet(engine, 2, 70, 70, 0);  // placed after the save: not in the snapshot

    engine.RestorePoseSnapshot(engine.PartInstances, engine.PartInstanceCount, 0);
    EXPECT_EQ(Trial(0).X, 10);
    EXPECT_EQ(Instance(0).CommittedPose->Angle, 0);
    ExpectBox(Instance(0).CommittedPose->Box, {0, 15, 20, 25}, "restored part 0");
    EXPECT_EQ(Instance(1).Placed, 1);
    EXPECT_EQ(Instance(1).Stock, 0);
    EXPECT_EQ(Trial(1).ContourSet, 0);
    EXPECT_EQ(Instance(1).CommittedPose->X, 40);
    ExpectBox(Trial(1).Box, savedBox, "restored part 1");
    EXPECT_EQ(Trial(2).X, 70);
    EXPECT_EQ(Instance(3).Stock, 1);
    EXPECT_EQ(Trial(3).X, 500);
}

TEST_F(GroupPoses, ARestoreOfFewInstancesLeavesTheThreadCountOfOtherLoops) {
    const int before = omp_get_max_threads();
    engine.CurrentStock = 0;
    PlaceOnSheet(engine, 0, 10, 20, 0);
    engine.SavePoseSnapshot(engine.PartInstances, engine.PartInstanceCount);
    engine.RestorePoseSnapshot(engine.PartInstances, engine.PartInstanceCount, 0);
    EXPECT_EQ(omp_get_max_threads(), before);
    int team = 0;
#pragma omp parallel
    {
#pragma omp single
        team = omp_get_num_threads();
    }
    EXPECT_EQ(team, before);
}

}  // namespace
