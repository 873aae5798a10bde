// Parts put into the hole of a placed part: where they end, what the hole test admits and refuses, the pair and
// the limit of neighbours.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/ed/transcript.h"
#include "nesting/engine/hole_filling.h"
#include "nesting/engine/hole_messages.h"
#include "nesting/geometry/contour_transforms.h"
#include "nesting/model/nesting_engine.h"
#include "nesting/testing/job_builder.h"

namespace {

using host::ge::Point2d;

// The host: a 200 x 200 plate with a 100 x 100 square hole in its middle, placed at (300, 250) on a 1000 x 500
// sheet, so the hole spans (250, 200) to (350, 300).
constexpr double kHoleMinX = 250, kHoleMinY = 200, kHoleMaxX = 350, kHoleMaxY = 300;

struct HoleJob {
    // Adds the host type (one copy, instance 0) and a small part type with `quantity` copies (instances 1 ...).
    void MakeJob(double w, double h, int quantity) {
        PartType plate = MakeRectangleType(kKindPart, 200, 200);
        AddHole(plate, MakeRectangle(100, 100, {-50, -50}));
        AddPartType(engine, plate, 1, 0, kRotateNone);
        PartType small = MakeRectangleType(kKindPart, w, h);
        small.PairVariants[0].Quality = 0.4f;
        // A pair: the second copy w + 1 to the right of the first.
        small.PairTemplates[0].Members[1] = PartGroupMember{-1, w + 1.0, 0.0, 0.0, 0};
        small.PairTemplates[0].Valid = 1;
        AddPartType(engine, small, quantity, 0, kRotateNone);
        AddStockType(engine, MakeRectangleType(kKindStock, 1000, 500), 1);
        ASSERT_TRUE(AddInstances(engine));
        engine.CurrentStock = 0;
        engine.CurrentStockInstance = &engine.StockInstances[0];
        engine.PartOrder.clear();
        for (int i = 0; i < engine.PartInstanceCount; ++i) {
            engine.PartOrder.push_back(i);
        }
        engine.OrderCount = engine.PartInstanceCount;
        Commit(0, {300, 250});
        engine.PlacedPartCount = 0;
        ASSERT_TRUE(engine.AppendPlacedPart(0));
        engine.PassPlacedCount = 1;
        engine.PlacedExtent = Instance(0).TrialPose->Box;
        engine.HoleMode = 1;
        engine.UseCluster = 0;
        engine.PairWanted = 0;
        engine.HoleHost = 0;
        engine.HoleIndex = 0;
        engine.HoleWindow = Instance(0).TrialPose->Holes[0].Box;
        engine.HoleWindowSize = {engine.HoleWindow.Width(), engine.HoleWindow.Height()};
        engine.PlacementMode = kPlacementHoles;
        engine.HolePlacedCount = 0;
    }

    PartInstance& Instance(int i) { return engine.PartInstances[static_cast<std::size_t>(i)]; }

    void Commit(int i, Point2d at) {
        ApplyPartPose(Instance(i), 0, at, 0.0);
        engine.CommitPartPose(i);
    }

    // Poses instance i alone as the current group at `at`.
    void PoseAlone(int i, Point2d at) {
        engine.CurrentGroup = 0;
        PartGroup& group = engine.Groups[0];
        group = PartGroup{};
        group.MemberCount = 1;
        group.Members[0].Instance = i;
        engine.SetGroupPose(0, at, 0.0);
    }

    // The committed box of instance i, from its committed pose.
    BoundingBox Box(int i) { return Instance(i).CommittedPose->Box; }

    static bool Inside(const BoundingBox& b, double minX, double minY, double maxX, double maxY) {
        return b.minX > minX && b.minY > minY && b.maxX < maxX && b.maxY < maxY;
    }
    static bool Apart(const BoundingBox& a, const BoundingBox& b) {
        return a.maxX <= b.minX || b.maxX <= a.minX || a.maxY <= b.minY || b.maxY <= a.minY;
    }

    CNestingEngine engine;
};

class HoleFilling : public ::testing::Test, public HoleJob {};

TEST_F(HoleFilling, APartSlidesIntoTheLowerLeftOfTheHole) {
    MakeJob(30, 20, 1);
    ASSERT_EQ(PlacePartInHole(engine, 1), 0);
    EXPECT_EQ(Instance(1).Placed, 1);
    EXPECT_EQ(Instance(1).Stock, 0);
    const BoundingBox box = Box(1);
    EXPECT_TRUE(Inside(box, kHoleMinX, kHoleMinY, kHoleMaxX, kHoleMaxY));
    // Close to the hole's lower left corner: within a few fine steps, far less than the part's size.
    EXPECT_LT(box.minX - kHoleMinX, 1.0);
    EXPECT_LT(box.minY - kHoleMinY, 1.0);
    EXPECT_EQ(engine.HolePlacedCount, 1);
    EXPECT_EQ(engine.PassPlacedCount, 2);
    ASSERT_EQ(engine.PlacedPartCount, 2);
    EXPECT_EQ(engine.PlacedParts[1], 1);
    EXPECT_EQ(engine.LastPlacedInstance, 1);
    EXPECT_DOUBLE_EQ(engine.PlacedExtent.maxX, Instance(0).TrialPose->Box.maxX);
}

TEST_F(HoleFilling, FurtherPartsShareTheHoleWithoutOverlapping) {
    MakeJob(30, 20, 4);
    for (int i = 1; i <= 4; ++i) {
        ASSERT_EQ(PlacePartInHole(engine, i), 0) << i;
    }
    EXPECT_EQ(engine.HolePlacedCount, 4);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_TRUE(Inside(Box(i), kHoleMinX, kHoleMinY, kHoleMaxX, kHoleMaxY)) << i;
        for (int k = i + 1; k <= 4; ++k) {
            EXPECT_TRUE(Apart(Box(i), Box(k))) << i << " and " << k;
        }
    }
}

TEST_F(HoleFilling, APairWithoutItsTemplateGoesInAlone) {
    // A type whose pair arrangements all need a turn its rule forbids gets no pair template: the partner must not
    // be laid on top of the part.
    MakeJob(30, 20, 2);
    engine.PartTypes[1].PairTemplates[0].Valid = 0;
    engine.UseCluster = 1;
    engine.PairWanted = 1;
    ASSERT_EQ(PlacePartInHole(engine, 1), 0);
    EXPECT_EQ(engine.HolePlacedCount, 1);
    EXPECT_EQ(Instance(1).Placed, 1);
    EXPECT_EQ(Instance(2).Placed, 0);
}

TEST_F(HoleFilling, APairCountsTwice) {
    MakeJob(30, 20, 2);
    engine.UseCluster = 1;
    engine.PairWanted = 1;
    ASSERT_EQ(PlacePartInHole(engine, 1), 0);
    EXPECT_EQ(engine.HolePlacedCount, 2);
    EXPECT_EQ(engine.PlacedPartCount, 3);
    EXPECT_EQ(Instance(1).Placed, 1);
    EXPECT_EQ(Instance(2).Placed, 1);
    EXPECT_TRUE(Apart(Box(1), Box(2)));
    EXPECT_TRUE(Inside(Box(2), kHoleMinX, kHoleMinY, kHoleMaxX, kHoleMaxY));
}

TEST(HoleFillingRefusals, APartThatCannotGoInLeavesNoTrace) {
    struct Case {
        const char* what;
        double w, h;
        std::uint8_t rectMode, holeMode;
    };
    const Case cases[] = {
        {"wider than the hole", 120, 20, 0, 1},
        {"as large as the hole", 100, 100, 0, 1},
        {"rectangular nesting", 30, 20, 1, 1},
        {"hole nesting off", 30, 20, 0, 0},
    };
    for (const Case& c : cases) {
        HoleJob job;
        job.MakeJob(c.w, c.h, 1);
        job.engine.RectMode = c.rectMode;
        job.engine.HoleMode = c.holeMode;
        EXPECT_EQ(PlacePartInHole(job.engine, 1), -1) << c.what;
        EXPECT_EQ(job.Instance(1).Placed, 0) << c.what;
        EXPECT_EQ(job.engine.HolePlacedCount, 0) << c.what;
        EXPECT_EQ(job.engine.PlacedPartCount, 1) << c.what;
        EXPECT_EQ(job.engine.PassPlacedCount, 1) << c.what;
        EXPECT_DOUBLE_EQ(job.Instance(0).CommittedPose->X, 300) << c.what;
    }
}

TEST_F(HoleFilling, HoleTestAdmitsOnlyFreePlacesInsideTheHole) {
    MakeJob(30, 20, 2);
    struct Case {
        const char* what;
        Point2d at;
        bool free;
    };
    const Case cases[] = {
        {"in the middle of the hole", {300, 250}, true},
        {"across the hole's edge", {260, 250}, false},
        {"on the plate, outside the hole", {220, 250}, false},
        {"beside the plate", {600, 250}, false},
    };
    for (const Case& c : cases) {
        PoseAlone(1, c.at);
        EXPECT_EQ(TestHoleCollision(engine), c.free) << c.what;
    }
    // A part already in the hole: another one on top of it collides, one beside it does not.
    Commit(2, {300, 250});
    ASSERT_TRUE(engine.AppendPlacedPart(2));
    PoseAlone(1, {310, 255});
    EXPECT_FALSE(TestHoleCollision(engine));
    PoseAlone(1, {300, 280});
    EXPECT_TRUE(TestHoleCollision(engine));
    // Rectangular nesting and hole nesting off refuse every place.
    engine.RectMode = 1;
    EXPECT_FALSE(TestHoleCollision(engine));
    engine.RectMode = 0;
    engine.HoleMode = 0;
    EXPECT_FALSE(TestHoleCollision(engine));
}

TEST(HoleFillingNeighbours, APartMayLieInTheHoleOfAnotherPlacedPart) {
    // A washer (60 x 60 with a 30 x 30 hole) already lies in the host's hole; a 10 x 10 part may go into the
    // washer's hole, not onto its ring.
    CNestingEngine engine;
    PartType plate = MakeRectangleType(kKindPart, 200, 200);
    AddHole(plate, MakeRectangle(100, 100, {-50, -50}));
    PartType washer = MakeRectangleType(kKindPart, 60, 60);
    AddHole(washer, MakeRectangle(30, 30, {-15, -15}));
    AddPartType(engine, plate, 1, 0, kRotateNone);
    AddPartType(engine, washer, 1, 0, kRotateNone);
    AddPartType(engine, MakeRectangleType(kKindPart, 10, 10), 1, 0, kRotateNone);
    AddStockType(engine, MakeRectangleType(kKindStock, 1000, 500), 1);
    ASSERT_TRUE(AddInstances(engine));
    engine.CurrentStock = 0;
    engine.HoleMode = 1;
    for (int i = 0; i < 2; ++i) {
        ApplyPartPose(engine.PartInstances[static_cast<std::size_t>(i)], 0, {300, 250}, 0.0);
        engine.CommitPartPose(i);
        ASSERT_TRUE(engine.AppendPlacedPart(i));
    }
    engine.HoleHost = 0;
    engine.HoleIndex = 0;
    engine.HoleWindow = engine.PartInstances[0].TrialPose->Holes[0].Box;
    engine.CurrentGroup = 0;
    engine.Groups[0].MemberCount = 1;
    engine.Groups[0].Members[0].Instance = 2;
    struct Case {
        const char* what;
        Point2d at;
        bool free;
    };
    const Case cases[] = {
        {"in the washer's hole", {300, 250}, true},
        {"across the washer's hole edge", {312, 250}, false},
        {"on the washer's ring", {320, 250}, false},
        {"beside the washer in the host's hole", {340, 290}, true},
    };
    for (const Case& c : cases) {
        engine.SetGroupPose(0, c.at, 0.0);
        EXPECT_EQ(TestHoleCollision(engine), c.free) << c.what;
    }
}

TEST_F(HoleFilling, MoreNeighboursThanTheLimitRefuseThePlaceWithAMessage) {
    MakeJob(30, 20, 1);
    // 101 placed chips along the lower edge of the tested place, all meeting its box; with the host that is 102
    // neighbours.
    PartType chip = MakeRectangleType(kKindPart, 1, 1);
    CNestingEngine crowded;
    AddPartType(crowded, engine.PartTypes[0], 1, 0, kRotateNone);
    AddPartType(crowded, engine.PartTypes[1], 1, 0, kRotateNone);
    AddPartType(crowded, chip, kMaxHoleNeighbours + 1, 0, kRotateNone);
    AddStockType(crowded, MakeRectangleType(kKindStock, 1000, 500), 1);
    ASSERT_TRUE(AddInstances(crowded));
    crowded.CurrentStock = 0;
    crowded.HoleMode = 1;
    crowded.HoleHost = 0;
    ApplyPartPose(crowded.PartInstances[0], 0, {300, 250}, 0.0);
    crowded.CommitPartPose(0);
    crowded.PlacedPartCount = 0;
    ASSERT_TRUE(crowded.AppendPlacedPart(0));
    crowded.HoleWindow = crowded.PartInstances[0].TrialPose->Holes[0].Box;
    for (int i = 2; i < crowded.PartInstanceCount; ++i) {
        ApplyPartPose(crowded.PartInstances[static_cast<std::size_t>(i)], 0, {285 + 0.3 * (i % 100), 240.2}, 0.0);
        crowded.CommitPartPose(i);
        ASSERT_TRUE(crowded.AppendPlacedPart(i));
    }
    crowded.CurrentGroup = 0;
    crowded.Groups[0].MemberCount = 1;
    crowded.Groups[0].Members[0].Instance = 1;
    crowded.SetGroupPose(0, {300, 250}, 0.0);
    host::ed::transcript().clear();
    EXPECT_FALSE(TestHoleCollision(crowded));
    EXPECT_NE(host::ed::transcript().text().find("More than 100 placed parts"), std::string::npos)
        << host::ed::transcript().text();
    // With two chips fewer the host and the chips make exactly 100 neighbours: the limit holds and the chips
    // themselves decide (they overlap the part, so it is still not free), with nothing printed.
    crowded.PlacedPartCount -= 2;
    host::ed::transcript().clear();
    EXPECT_FALSE(TestHoleCollision(crowded));
    EXPECT_EQ(host::ed::transcript().text().find("More than"), std::string::npos);
}

}  // namespace
