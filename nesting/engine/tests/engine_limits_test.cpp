// The engine's limits: a job that exceeds them is refused with a message and nothing is written past a table.
#include <gtest/gtest.h>

#include <string>

#include "nesting/engine/tests/engine_fixture.h"
#include "nesting/model/nesting_engine.h"
#include "nesting/model/text_limits.h"
#include "nesting/testing/job_builder.h"

namespace {

using nesting_engine_testing::EngineRegistryTest;

class EngineLimits : public EngineRegistryTest {};

TEST_F(EngineLimits, ASheetTakesAtMost9000PartsAndClamps) {
    CNestingEngine engine;
    for (int i = 0; i < 9000; ++i) {
        ASSERT_TRUE(engine.AppendPlacedPart(i));
    }
    EXPECT_EQ(Transcript(), "");
    EXPECT_FALSE(engine.AppendPlacedPart(9000));
    EXPECT_EQ(engine.PlacedPartCount, 9000);
    EXPECT_EQ(engine.PlacedParts.size(), 9000u);
    EXPECT_EQ(engine.PlacedParts.back(), 8999);
    EXPECT_EQ(Transcript(), "\nThe sheet already carries 9000 parts and clamps; no more can be placed on it.");

    host::ed::transcript().clear();
    SetLibraryLanguage(Language::Russian);
    EXPECT_FALSE(engine.AppendPlacedPart(9001));
    EXPECT_EQ(Transcript(), "\nНа листе уже 9000 деталей и прижимов; больше разместить нельзя.");
}

TEST_F(EngineLimits, AJobOfMoreThan10000PartCopiesIsRefusedWhole) {
    CNestingEngine engine;
    AddStockType(engine, MakeRectangleType(kKindStock, 3000, 1500), 1);
    AddPartType(engine, MakeRectangleType(kKindPart, 10, 10), 9999);
    AddPartType(engine, MakeRectangleType(kKindPart, 20, 10), 2);
    EXPECT_FALSE(AddInstances(engine));
    EXPECT_EQ(Transcript(), "\nThe job has 10001 part copies; at most 10000 can be nested at once. Nesting is not started.");
    EXPECT_EQ(engine.PartInstanceCount, 0);
    EXPECT_TRUE(engine.PartInstances.empty());
    EXPECT_TRUE(engine.StockInstances.empty());

    engine.PartTypes[1].Quantity = 1;
    host::ed::transcript().clear();
    EXPECT_TRUE(AddInstances(engine));
    EXPECT_EQ(engine.PartInstanceCount, 10000);
    EXPECT_EQ(Transcript(), "");
}

TEST_F(EngineLimits, MoreClampsThanASheetHoldsAreRefused) {
    CNestingEngine engine;
    engine.ClampUse = 1;
    engine.ClampQuantity = 5;
    EXPECT_TRUE(engine.CheckJobLimits());
    engine.ClampQuantity = 6;
    EXPECT_FALSE(engine.CheckJobLimits());
    EXPECT_EQ(Transcript(), "\nThe job asks for 6 clamps per sheet; at most 5 fit. Nesting is not started.");
}

TEST(MaterialTexts, AreCutToTheirRoomWithoutSplittingACharacter) {
    CNestingEngine engine;
    std::string longName;
    for (int i = 0; i < 130; ++i) {
        longName += "ж";
    }
    engine.SetMaterialName(longName);
    EXPECT_EQ(CharacterCount(engine.MaterialName), 124u);
    EXPECT_EQ(engine.MaterialName.size(), 248u);
    engine.SetMaterialName("Steel 1.4301");
    EXPECT_EQ(engine.MaterialName, "Steel 1.4301");
    engine.SetMaterialNumber(std::string(30, '7'));
    EXPECT_EQ(engine.MaterialNumber, std::string(22, '7'));
}

}  // namespace
