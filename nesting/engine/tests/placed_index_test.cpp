// The index of placed parts behind the pose tests: it gives every placed part near a box, in the order of the
// list asked with, follows parts moved by a commit and a sheet given back from a snapshot, and leaves out parts
// of other sheets.
#include <gtest/gtest.h>

#include <vector>

#include "nesting/geometry/contour_transforms.h"
#include "nesting/model/nesting_engine.h"
#include "nesting/testing/job_builder.h"

namespace {

using Ids = std::vector<std::int32_t>;

// Six 20 x 10 plates on a 1000 x 500 sheet (and a second sheet).
class PlacedIndex : public ::testing::Test {
protected:
    void SetUp() override {
        AddPartType(engine, MakeRectangleType(kKindPart, 20, 10), 6);
        AddStockType(engine, MakeRectangleType(kKindStock, 1000, 500), 2);
        ASSERT_TRUE(AddInstances(engine));
        engine.CurrentStock = 0;
        engine.CurrentStockInstance = &engine.StockInstances[0];
    }

    void Place(int i, double x, double y, int stock = 0) {
        const int current = engine.CurrentStock;
        engine.CurrentStock = stock;
        ApplyPartPose(engine.PartInstances[static_cast<std::size_t>(i)], 0, {x, y}, 0.0);
        engine.CommitPartPose(i);
        engine.CurrentStock = current;
    }

    // Asked with one list object throughout, as the engine asks with its own lists.
    Ids Near(const Ids& ids, double minX, double minY, double maxX, double maxY) {
        list = ids;
        return engine.PlacedIndex.Near(engine, list, static_cast<int>(list.size()), {minX, minY, maxX, maxY});
    }

    Ids list;

    CNestingEngine engine;
};

TEST_F(PlacedIndex, GivesThePartsNearABoxInTheListsOrder) {
    Place(0, 100, 100);  // box 90 ... 110 x 95 ... 105
    Place(1, 125, 100);  // touches nothing of 0
    Place(2, 900, 400);
    Place(3, 110, 100, 1);  // on the other sheet
    // A box touching part 0's right side meets it; part 1 a little farther too; 2 is far, 3 on another sheet.
    EXPECT_EQ(Near({1, 0, 2, 3}, 110, 95, 116, 105), (Ids{1, 0}));
    EXPECT_EQ(Near({0, 1, 2, 3}, 110, 95, 116, 105), (Ids{0, 1}));
    // Each once, at its first place in the list; a count leaves the rest of the list out.
    EXPECT_EQ(Near({2, 1, 0, 1}, 0, 0, 1000, 500), (Ids{2, 1, 0}));
    list = {2, 0, 1};
    EXPECT_EQ(engine.PlacedIndex.Near(engine, list, 2, {0, 0, 1000, 500}), (Ids{2, 0}));
    // Another list object beside it keeps its own order.
    const Ids other{1, 0};
    EXPECT_EQ(engine.PlacedIndex.Near(engine, other, 2, {0, 0, 1000, 500}), (Ids{1, 0}));
    EXPECT_EQ(engine.PlacedIndex.Near(engine, list, 3, {0, 0, 1000, 500}), (Ids{2, 0, 1}));
    // A box off the sheet finds the parts at the sheet's side it reaches over.
    EXPECT_EQ(Near({0, 1, 2}, 905, 395, 5000, 5000), (Ids{2}));
}

TEST_F(PlacedIndex, FollowsCommittedMovesAndSnapshotsGivenBack) {
    Place(0, 100, 100);
    Place(1, 500, 300);
    EXPECT_EQ(Near({0, 1}, 480, 280, 520, 320), (Ids{1}));
    engine.SavePoseSnapshot(engine.PartInstances, engine.PartInstanceCount);
    // Moved by a commit: found at its new place only.
    Place(1, 800, 50);
    EXPECT_EQ(Near({0, 1}, 480, 280, 520, 320), (Ids{}));
    EXPECT_EQ(Near({0, 1}, 790, 40, 810, 60), (Ids{1}));
    // The list changes under the index: its new order counts.
    EXPECT_EQ(Near({1, 0}, 0, 0, 1000, 500), (Ids{1, 0}));
    // Given back from the snapshot: at its old place again.
    engine.RestorePoseSnapshot(engine.PartInstances, engine.PartInstanceCount, 0);
    EXPECT_EQ(Near({0, 1}, 480, 280, 520, 320), (Ids{1}));
    EXPECT_EQ(Near({0, 1}, 790, 40, 810, 60), (Ids{}));
}

}  // namespace
