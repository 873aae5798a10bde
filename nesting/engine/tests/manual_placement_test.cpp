// A part moved by hand on a sheet of a finished run: placed from the user's spot with the run's collision rules,
// judged against the sheet it is put on, and refused for a sheet or part outside the job.
#include <gtest/gtest.h>

#include <numbers>
#include <vector>

#include "nesting/engine/manual_placement.h"
#include "nesting/geometry/contour_transforms.h"
#include "nesting/model/nesting_engine.h"
#include "nesting/testing/job_builder.h"

namespace {

using host::ge::Point2d;

// Two sheets, a small 200 x 200 one (sheet 0) and a large 1000 x 500 one (sheet 1); three 100 x 100 parts and one
// 250 x 250 part. Parts 0 and 1 lie on sheet 1, as a run left them.
class ManualPlacement : public ::testing::Test {
protected:
    void SetUp() override {
        AddPartType(engine, MakeRectangleType(kKindPart, 100, 100), 3, 0, kRotateNone);
        AddPartType(engine, MakeRectangleType(kKindPart, 250, 250), 1, 0, kRotateNone);
        AddStockType(engine, MakeRectangleType(kKindStock, 200, 200), 1);
        AddStockType(engine, MakeRectangleType(kKindStock, 1000, 500), 1);
        ASSERT_TRUE(AddInstances(engine));
        engine.PartOrder = {0, 1, 2, 3};
        engine.OrderCount = 4;
        engine.CurrentStock = 1;
        Commit(0, {100, 100});
        Commit(1, {300, 100});
        // The last pass of the run filled the small sheet.
        engine.PassSize = {200, 200};
        engine.CurrentStock = 0;
    }

    PartInstance& Instance(int i) { return engine.PartInstances[static_cast<std::size_t>(i)]; }
    void Commit(int i, Point2d at) {
        ApplyPartPose(Instance(i), 0, at, 0.0);
        engine.CommitPartPose(i);
    }
    const BoundingBox& Box(int i) { return Instance(i).CommittedPose->Box; }
    static bool Apart(const BoundingBox& a, const BoundingBox& b) {
        return a.maxX <= b.minX || b.maxX <= a.minX || a.maxY <= b.minY || b.maxY <= a.minY;
    }
    static bool OnSheet(const BoundingBox& b, double w, double h) {
        return b.minX > 0 && b.minY > 0 && b.maxX < w && b.maxY < h;
    }

    CNestingEngine engine;
};

TEST_F(ManualPlacement, AFreeSpotIsKeptNearWhereThePartWasDropped) {
    int instance = 2;
    double x = 700, y = 300, angle = 0;
    ASSERT_GE(PlacePartManually(engine, 1, instance, x, y, angle), 0);
    EXPECT_EQ(Instance(2).Placed, 1);
    EXPECT_EQ(Instance(2).Stock, 1);
    EXPECT_TRUE(OnSheet(Box(2), 1000, 500));
    EXPECT_TRUE(Apart(Box(2), Box(0)));
    EXPECT_TRUE(Apart(Box(2), Box(1)));
    // The placement state now describes sheet 1 with its three parts.
    EXPECT_EQ(engine.CurrentStock, 1);
    EXPECT_EQ(engine.CurrentStockInstance, &engine.StockInstances[1]);
    EXPECT_EQ(engine.PlacedPartCount, 3);
    EXPECT_EQ(engine.ManualPlacement, 0);
    EXPECT_DOUBLE_EQ(engine.UsableArea.maxX, 1000);
}

// The parts may not turn: a part dropped turned by a quarter turn is not kept turned, it is placed at its grain
// angle from the automatic start poses.
TEST_F(ManualPlacement, AnAngleThePartsRuleRefusesIsNotKept) {
    int instance = 2;
    double x = 700, y = 300, angle = std::numbers::pi / 2;
    ASSERT_GE(PlacePartManually(engine, 1, instance, x, y, angle), 0);
    EXPECT_EQ(Instance(2).Stock, 1);
    EXPECT_EQ(Instance(2).CommittedPose->Angle, 0.0);
    EXPECT_TRUE(OnSheet(Box(2), 1000, 500));
    EXPECT_TRUE(Apart(Box(2), Box(0)));
    EXPECT_TRUE(Apart(Box(2), Box(1)));
}

TEST_F(ManualPlacement, ADropOnAnotherPartEndsFreeOrBackWhereItWas) {
    // Part 1 dropped right on part 0: it slides to a free place or goes back to its old one; never on part 0.
    int instance = 1;
    double x = 110, y = 110, angle = 0;
    const int result = PlacePartManually(engine, 1, instance, x, y, angle);
    if (result >= 0) {
        EXPECT_EQ(Instance(1).Stock, 1);
        EXPECT_TRUE(OnSheet(Box(1), 1000, 500));
    } else {
        EXPECT_DOUBLE_EQ(Instance(1).CommittedPose->X, 300);
        EXPECT_DOUBLE_EQ(Instance(1).CommittedPose->Y, 100);
    }
    EXPECT_TRUE(Apart(Box(1), Box(0)));
}

TEST_F(ManualPlacement, APartIsJudgedAgainstTheSheetItIsPutOn) {
    // 250 x 250 is beyond 0.98 of the 200 x 200 sheet of the last pass but fits the large sheet easily.
    int instance = 3;
    double x = 700, y = 250, angle = 0;
    ASSERT_GE(PlacePartManually(engine, 1, instance, x, y, angle), 0);
    EXPECT_EQ(Instance(3).Stock, 1);
    EXPECT_TRUE(OnSheet(Box(3), 1000, 500));
    EXPECT_TRUE(Apart(Box(3), Box(0)));
    EXPECT_TRUE(Apart(Box(3), Box(1)));
    // The run's pass size is left as the run left it.
    EXPECT_DOUBLE_EQ(engine.PassSize.x, 200);
    EXPECT_DOUBLE_EQ(engine.PassSize.y, 200);
}

TEST_F(ManualPlacement, ASheetOrPartOutsideTheJobIsRefused) {
    struct Case {
        const char* what;
        int sheet;
        int instance;
    };
    const Case cases[] = {
        {"sheet below 0", -1, 2},
        {"sheet past the last", 2, 2},
        {"instance below 0", 1, -1},
        {"instance past the last", 1, 4},
    };
    for (const Case& c : cases) {
        int instance = c.instance;
        double x = 700, y = 300, angle = 0;
        EXPECT_EQ(PlacePartManually(engine, c.sheet, instance, x, y, angle), -1) << c.what;
        EXPECT_EQ(engine.CurrentStock, 0) << c.what;
    }
    // A part that the run did not order has no place to come from.
    engine.PartOrder = {0, 1, 3};
    int instance = 2;
    double x = 700, y = 300, angle = 0;
    EXPECT_EQ(PlacePartManually(engine, 1, instance, x, y, angle), -1);
    EXPECT_EQ(Instance(2).Placed, 0);
}

}  // namespace
