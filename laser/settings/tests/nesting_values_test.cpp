// The values the settings share with the nesting module: those it reads from us, and those we read from it.
#include <gtest/gtest.h>

#include <string>

#include "laser/settings/laser_settings.h"
#include "settings_fixture.h"

namespace {

using laser_settings_testing::SettingsRegistryTest;
using SettingsNestingValues = SettingsRegistryTest;

TEST_F(SettingsNestingValues, TheNestingModuleFindsItsValues) {
    CLaserSettings settings;
    settings.Nesing_ClampUse = 1;
    settings.Nesing_ClampQuantity = 3;
    settings.Nesing_Clamp1PozX = 420.5;
    settings.StockPointOriginZ = -1.0;
    settings.Unit = 1;
    ASSERT_EQ(settings.WriteRegistrySettings(), 0);
    const std::pair<const char*, const char*> expected[] = {
        {"Unit", "inc"},
        {"TypeLineStock", "PHANTOM"},
        {"TypeLineMove", "HIDDEN"},
        {"PDMODE", "35"},
        {"PDSIZE", "7"},
        {"LangMenu", "EN"},
        {"StockPointOriginX", "0.000000"},
        {"StockPointOriginY", "0.000000"},
        {"StockPointOriginZ", "-1.000000"},
        {"Material", "STEEL.MAT"},
        {"Material_Num", "1"},
        {"Density", "7.850000e-06"},
        {"Thin", "1.000000"},
        {"DirMaterial", ""},
        {"Nesting_Adv_UseCluster", "1"},
        {"Nesting_Adv_UseHole", "1"},
        {"Nesting_Adv_Pressing", "0"},
        {"Nesting_Rect_UsePair", "1"},
        {"Nesing_Quality", "2"},
        {"Nesing_ClampUse", "1"},
        {"Nesing_ClampQuantity", "3"},
        {"Nesing_ClampCenterList", "1"},
        {"Nesing_Clamp1PozX", "420.500000"},
        {"Nesing_ClampingDistance", "1110.000000"},
        {"Nesing_ClampWidth", "320.000000"},
        {"Nesing_ClampHeight", "110.000000"},
    };
    for (const auto& [name, text] : expected) EXPECT_EQ(Stored(name), text) << name;
}

TEST_F(SettingsNestingValues, TheLastNestingMaterialIsTakenWherePresent) {
    CLaserSettings settings;
    std::string name = "old", number = "old";
    double density = -1.0, thickness = -1.0;

    // Nothing stored yet: every destination keeps its value.
    ASSERT_EQ(settings.ReadLastNestingMaterial(name, number, density, thickness), 0);
    EXPECT_EQ(name, "old");
    EXPECT_EQ(number, "old");
    EXPECT_EQ(density, -1.0);
    EXPECT_EQ(thickness, -1.0);

    Store("LastNestingMaterial", "ALUMINIUM.MAT");
    Store("LastNestingMaterial_Num", "AW-5754");
    Store("LastNestingMaterial_Thin", "2.500000");
    Store("LastNestingMaterial_Density", "2.700000e-06");
    ASSERT_EQ(settings.ReadLastNestingMaterial(name, number, density, thickness), 0);
    EXPECT_EQ(name, "ALUMINIUM.MAT");
    EXPECT_EQ(number, "AW-5754");
    EXPECT_DOUBLE_EQ(density, 2.7e-06);
    EXPECT_DOUBLE_EQ(thickness, 2.5);
}

// The last nesting material's numbers are held to the range of the settings' numbers: one out of it is not taken,
// as if it were absent, and the user is told.
TEST_F(SettingsNestingValues, MaterialNumbersOutOfRangeAreNotTaken) {
    CLaserSettings settings;
    std::string name, number;
    double density = 7.85e-06, thickness = 3.0;
    Store("LastNestingMaterial_Thin", "1e308");
    Store("LastNestingMaterial_Density", "-1");
    host::ed::transcript().clear();
    ASSERT_EQ(settings.ReadLastNestingMaterial(name, number, density, thickness), 0);
    EXPECT_DOUBLE_EQ(thickness, 3.0);
    EXPECT_DOUBLE_EQ(density, 7.85e-06);
    EXPECT_NE(Transcript().find("\"LastNestingMaterial_Thin\" holds \"1e308\", which is not a number from 0 to 1e+06: "
                                "3 is used instead."),
              std::string::npos)
        << Transcript();
    EXPECT_NE(Transcript().find("\"LastNestingMaterial_Density\" holds \"-1\""), std::string::npos) << Transcript();
}

TEST_F(SettingsNestingValues, AMaterialTextLongerThanTheSlotHoldsIsCut) {
    CLaserSettings settings;
    std::string name = "old", number = "old";
    double density = 0.0, thickness = 0.0;
    Store("LastNestingMaterial", std::string(124, 'n'));
    Store("LastNestingMaterial_Num", std::string(22, '1'));
    ASSERT_EQ(settings.ReadLastNestingMaterial(name, number, density, thickness), 0);
    EXPECT_EQ(name, std::string(124, 'n'));
    EXPECT_EQ(number, std::string(22, '1'));

    // Cut at whole characters: 125 two-byte letters keep 124.
    std::string letters;
    for (int i = 0; i < 125; ++i) letters += "Ж";
    Store("LastNestingMaterial", letters);
    Store("LastNestingMaterial_Num", std::string(23, '2'));
    ASSERT_EQ(settings.ReadLastNestingMaterial(name, number, density, thickness), 0);
    EXPECT_EQ(name, letters.substr(0, 124 * 2));
    EXPECT_EQ(number, std::string(22, '2'));
}

TEST_F(SettingsNestingValues, TheLastNestingFolder) {
    CLaserSettings settings;
    settings.LastDirNestDWG = "kept";
    ASSERT_EQ(settings.ReadLastNestingFolder(), 0);
    EXPECT_EQ(settings.LastDirNestDWG, "kept");
    Store("LastDirNestDWG", "D:\\Nesting\\Sheets");
    ASSERT_EQ(settings.ReadLastNestingFolder(), 0);
    EXPECT_EQ(settings.LastDirNestDWG, "D:\\Nesting\\Sheets");
}

TEST_F(SettingsNestingValues, AMissingKeyIsCreatedAndNothingIsRead) {
    CLaserSettings settings;
    settings.FeedCut = 555.0;
    ASSERT_EQ(host::reg::machineRegistry().deleteKey(host::reg::Hive::LocalMachine, host::reg::kProductKey),
              host::reg::Status::Ok);
    std::string name = "old", number = "old";
    double density = 1.0, thickness = 1.0;
    ASSERT_EQ(settings.ReadLastNestingMaterial(name, number, density, thickness), 0);
    EXPECT_EQ(name, "old");
    EXPECT_EQ(Stored("FeedCut"), "555.000000");

    ASSERT_EQ(host::reg::machineRegistry().deleteKey(host::reg::Hive::LocalMachine, host::reg::kProductKey),
              host::reg::Status::Ok);
    settings.FeedCut = 556.0;
    ASSERT_EQ(settings.ReadLastNestingFolder(), 0);
    EXPECT_EQ(Stored("FeedCut"), "556.000000");
}

}  // namespace
