// Start poses of the main placement and of hole filling: the centre, the fixed places around the reference
// point, random places kept inside the area, the attempt limits and the random draws.
#include <gtest/gtest.h>

#include <cstdlib>

#include "nesting/engine/start_positions.h"
#include "nesting/engine/tests/placement_job.h"

namespace {

using namespace nesting_engine_testing;

class StartPositions : public PlacementJob {
protected:
    void SetUp() override {
        PlacementJob::SetUp();
        MakeJob(MakeRectangleType(kKindPart, 100, 50), 3, kRotateNone);
    }
};

TEST_F(StartPositions, EmptySheetStartsAtTheCentreThenAtRandomPlacesInside) {
    int k = 0;
    ASSERT_TRUE(ChooseStartPosition(engine, true, k, true));
    EXPECT_EQ(k, 0);
    EXPECT_NEAR(Group().X, 500, kExact);
    EXPECT_NEAR(Group().Y, 250, kExact);

    // Variant groups never start at the centre, and every random place keeps the box inside the usable area.
    engine.UsableArea = {100, 50, 700, 400};
    engine.UsableSize = {600, 350};
    for (int g : {0, 1}) {
        engine.CurrentGroup = g;
        bool leftCentre = false;
        for (int attempt = 1; attempt < 300; ++attempt) {
            k = attempt;
            ASSERT_TRUE(ChooseStartPosition(engine, true, k, true));
            ASSERT_EQ(k, attempt) << "a clamped random place is never refused";
            const BoundingBox& box = Group(g).Box;
            EXPECT_GT(box.minX, 100);
            EXPECT_GT(box.minY, 50);
            EXPECT_LT(box.maxX, 700);
            EXPECT_LT(box.maxY, 400);
            leftCentre = leftCentre || std::abs(Group(g).X - 400) > 1;
        }
        EXPECT_TRUE(leftCentre);
    }
}

TEST_F(StartPositions, GroupZeroTriesTheFixedPlacesAroundTheReferencePoint) {
    PlaceAt(2, 50, 25);  // the sheet is no longer empty
    engine.ReferencePoint = {400, 100};
    const double sx = engine.SearchStep.x;
    const double sy = engine.SearchStep.y;
    const double rx = 50;  // the 100 x 50 part is centred on its position
    const double ty = 25;
    struct Case {
        int k;
        double x;
        double y;
    };
    const Case cases[] = {
        {0, 400 - rx - sx, 100 + ty + sy},      {1, 400 - rx - sx, 100 + ty + sy},
        {2, 400 - rx - sx, 500 - ty - sy},      {4, 400 - 0.7 * rx, 100 + 1.3 * ty + sy},
        {6, 400 + rx + sx, 100 - ty - sy},      {8, 400 - rx - sx, 100 - ty - sy},
        {10, 400 - 0.5 * rx - sx, 100 + ty + sy}, {12, 400 - 1.3 * rx - sx, 100 + ty + sy},
        {15, 400 - 1.7 * rx - sx, 100 + ty + sy},
    };
    for (const Case& c : cases) {
        int k = c.k;
        ASSERT_TRUE(ChooseStartPosition(engine, false, k, true)) << c.k;
        EXPECT_EQ(k, c.k);
        EXPECT_NEAR(Group().X, c.x, kExact) << c.k;
        EXPECT_NEAR(Group().Y, c.y, kExact) << c.k;
    }
}

TEST_F(StartPositions, APlaceThatSticksOutCostsAnAttempt) {
    PlaceAt(2, 50, 25);
    // Place 0 (attempts 0 and 1) lies above the sheet's top; place 1 (attempt 2) is put below the top side.
    engine.ReferencePoint = {400, 480};
    int k = 0;
    ASSERT_TRUE(ChooseStartPosition(engine, false, k, true));
    EXPECT_EQ(k, 2);
    EXPECT_NEAR(Group().Y, 500 - 25 - engine.SearchStep.y, kExact);
}

TEST_F(StartPositions, TheAttemptLimitEndsTheSearchAndClearsTheGroup) {
    const int limit = engine.QualityTable[3][0];
    Group().Valid = 1;
    int k = limit;
    EXPECT_TRUE(ChooseStartPosition(engine, true, k, true));
    k = limit + 1;
    EXPECT_FALSE(ChooseStartPosition(engine, true, k, true));
    EXPECT_EQ(Group().Valid, 0);

    // A part larger than the usable area is refused at every attempt up to the limit.
    engine.UsableArea = {0, 0, 90, 40};
    engine.UsableSize = {90, 40};
    Group().Valid = 1;
    k = 0;
    EXPECT_FALSE(ChooseStartPosition(engine, true, k, true));
    EXPECT_EQ(k, limit + 1);
    EXPECT_EQ(Group().Valid, 0);
}

TEST_F(StartPositions, HoleStartsAtTheWindowCentreThenRandomlyInsideUpToItsLimit) {
    engine.HoleWindow = {200, 100, 400, 300};
    engine.HoleWindowSize = {200, 200};
    int k = 0;
    ASSERT_TRUE(ChooseHoleStartPosition(engine, true, k, true));
    EXPECT_NEAR(Group().X, 300, kExact);
    EXPECT_NEAR(Group().Y, 200, kExact);
    const double margin = 0.1 * engine.SearchStep.x;
    for (int attempt = 1; attempt < 100; ++attempt) {
        k = attempt;
        ASSERT_TRUE(ChooseHoleStartPosition(engine, false, k, true));
        EXPECT_GE(Group().Box.minX, 200 + margin - kExact);
        EXPECT_LE(Group().Box.maxX, 400 - margin + kExact);
        EXPECT_GE(Group().Box.minY, 100 + margin - kExact);
        EXPECT_LE(Group().Box.maxY, 300 - margin + kExact);
    }
    k = engine.QualityTable[3][4] + 1;
    EXPECT_FALSE(ChooseHoleStartPosition(engine, false, k, true));
}

TEST_F(StartPositions, SuccessiveDrawsOfACoordinateAreMoreThanTheLeastStepApart) {
    int lastX = DrawRandomX(engine);
    int lastY = DrawRandomY(engine);
    for (int n = 0; n < 2000; ++n) {
        const int x = DrawRandomX(engine);
        const int y = DrawRandomY(engine);
        ASSERT_GT(std::abs(x - lastX), engine.RandomMinStep) << n;
        ASSERT_GT(std::abs(y - lastY), engine.RandomMinStep) << n;
        EXPECT_EQ(engine.RandomLastX, x);
        lastX = x;
        lastY = y;
    }
}

}  // namespace
