// The engine's start values, the last job path from the registry, the slide steps and the quality table.
#include <gtest/gtest.h>

#include <string>

#include "nesting/engine/tests/engine_fixture.h"
#include "nesting/model/nesting_engine.h"

namespace {

using nesting_engine_testing::EngineRegistryTest;

class EngineConstruction : public EngineRegistryTest {};

TEST_F(EngineConstruction, EveryFieldTakesItsStartValue) {
    const CNestingEngine engine;
    EXPECT_EQ(engine.PoseSnapshots.size(), 10000u);
    EXPECT_EQ(engine.PlacedParts.size(), 9000u);
    EXPECT_EQ(engine.Groups.size(), 10000u);
    EXPECT_EQ(engine.RandomMinStep, 1368);
    EXPECT_EQ(engine.RandomX + engine.RandomLastX + engine.RandomY + engine.RandomLastY, 0);
    EXPECT_EQ(engine.MaterialName, "");
    EXPECT_EQ(engine.MaterialNumber, "");
    EXPECT_EQ(engine.MaterialDensity, 1.0);
    EXPECT_EQ(engine.MaterialThickness, 1.0);
    EXPECT_EQ(engine.HalfPartGap, 0.0);
    EXPECT_EQ(engine.EdgeGap, 0.0);
    EXPECT_EQ(engine.ClampColor, 12);
    EXPECT_EQ(engine.StockHoleColor, 241);
    EXPECT_EQ(engine.StockColor, 191);
    EXPECT_EQ(engine.PartHoleColor, 30);
    EXPECT_EQ(engine.PartColor, 140);
    EXPECT_EQ(engine.NestingOptimizationOption, 0);
    EXPECT_EQ(engine.ClampUse, 0);
    EXPECT_EQ(engine.ClampQuantity, 0);
    EXPECT_EQ(engine.ClampCenterList, 0);
    EXPECT_EQ(engine.Clamp1PozX + engine.Clamp1PozMinX + engine.ClampingDistance, 0.0);
    EXPECT_EQ(engine.ClampWidth + engine.ClampHeight, 0.0);
    EXPECT_EQ(engine.UseHole, 1);
    EXPECT_EQ(engine.UseCluster, 1);
    EXPECT_EQ(engine.StockTypeCount + engine.PartTypeCount, 0);
    EXPECT_EQ(engine.StockInstanceCount + engine.PartInstanceCount, 0);
    EXPECT_TRUE(engine.StockTypes.empty() && engine.PartTypes.empty());
    EXPECT_TRUE(engine.StockInstances.empty() && engine.PartInstances.empty());
    EXPECT_EQ(engine.CurrentStockInstance, nullptr);
    EXPECT_EQ(engine.CurrentStock, 0);
    EXPECT_EQ(engine.OrderCount, 0);
    EXPECT_TRUE(engine.OrderIndex.empty() && engine.PartOrder.empty());
    EXPECT_EQ(engine.Unit, 0);
    EXPECT_EQ(engine.SearchStep.x, 0.1);
    EXPECT_EQ(engine.SearchStep.y, 0.1);
    EXPECT_DOUBLE_EQ(engine.CoarseStep.x, 3.0);
    EXPECT_DOUBLE_EQ(engine.CoarseStep.y, 3.0);
    EXPECT_EQ(engine.LastFileNesting, "");
    EXPECT_EQ(engine.QualityTable, CNestingEngine::BuildQualityTable());
    // Nothing is printed by the construction.
    EXPECT_EQ(Transcript(), "");
}

TEST_F(EngineConstruction, StepsFollowTheUnit) {
    CNestingEngine engine;
    engine.Unit = 1;
    engine.SetStepsForUnit();
    EXPECT_EQ(engine.SearchStep.x, 0.004);
    EXPECT_EQ(engine.SearchStep.y, 0.004);
    EXPECT_DOUBLE_EQ(engine.CoarseStep.x, 0.12);
    EXPECT_DOUBLE_EQ(engine.CoarseStep.y, 0.12);
    engine.Unit = 0;
    engine.SetStepsForUnit();
    EXPECT_EQ(engine.SearchStep.x, 0.1);
    EXPECT_DOUBLE_EQ(engine.CoarseStep.y, 3.0);
}

TEST_F(EngineConstruction, LastJobPathIsReadWhenItFitsItsBuffer) {
    const std::string cyrillic511 = [] {
        std::string text;
        for (int i = 0; i < 511; ++i) {
            text += "ж";  // two bytes, one character
        }
        return text;
    }();
    struct Case {
        const char* what;
        std::string stored;
        std::string expected;
    };
    const Case cases[] = {
        {"a plain path", "C:\\Jobs\\sheet 1.nst", "C:\\Jobs\\sheet 1.nst"},
        {"511 characters fit", std::string(511, 'a'), std::string(511, 'a')},
        {"512 characters do not", std::string(512, 'a'), ""},
        {"511 Cyrillic characters fit", cyrillic511, cyrillic511},
        {"an empty value", "", ""},
    };
    for (const Case& c : cases) {
        Store("LastFileNesting", c.stored);
        const CNestingEngine engine;
        EXPECT_EQ(engine.LastFileNesting, c.expected) << c.what;
    }
}

TEST(QualityTable, RowsFollowFromTheAttemptLimitAndTheGroupCount) {
    const auto table = CNestingEngine::BuildQualityTable();
    // Worked by hand: N, then 0.75 N, 0.95 N, 0.5 N, 0.2 N, half of that, 0.4 N, 1.2 N, the group count.
    const QualityRow expected[kQualityLevelCount] = {
        {1500, 1125, 1425, 750, 300, 150, 600, 1800, 1},  {1600, 1200, 1520, 800, 320, 160, 640, 1920, 1},
        {1800, 1350, 1710, 900, 360, 180, 720, 2160, 1},  {2000, 1500, 1900, 1000, 400, 200, 800, 2400, 2},
        {2500, 1875, 2375, 1250, 500, 250, 1000, 3000, 2}, {3000, 2250, 2850, 1500, 600, 300, 1200, 3600, 3},
        {3800, 2850, 3610, 1900, 760, 380, 1520, 4560, 3}, {4600, 3450, 4370, 2300, 920, 460, 1840, 5520, 3},
        {5000, 3750, 4750, 2500, 1000, 500, 2000, 6000, 4}, {5500, 4125, 5225, 2750, 1100, 550, 2200, 6600, 5},
    };
    for (int level = 0; level < kQualityLevelCount; ++level) {
        EXPECT_EQ(table[static_cast<std::size_t>(level)], expected[level]) << "level " << level;
    }
}

}  // namespace
