// The module's settings read from the registry, and the material written back.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "host/sys/folders.h"
#include "nesting/frame/nesting_state.h"
#include "nesting/frame/tests/state_fixture.h"

namespace {

using nesting_frame_testing::StateTest;

class NestingSettings : public StateTest {};

TEST_F(NestingSettings, MissingValuesTakeTheirDefaults) {
    CNestingState state;
    EXPECT_EQ(state.ReadNestingSettings(), 0);
    EXPECT_EQ(state.Unit, 0);
    EXPECT_EQ(state.TypeLineStock, "PHANTOM");
    EXPECT_EQ(state.TypeLinePart, "CONTINUOUS");
    EXPECT_EQ(state.TypeLineMove, "HIDDEN");
    EXPECT_EQ(state.DirInstall, host::sys::installFolder().string());
    EXPECT_EQ(state.PdModeText, "");
    EXPECT_EQ(state.PdSizeText, "");
    EXPECT_EQ(state.NestingOptimizationOption, 0);
    EXPECT_EQ(state.StockPointOrigin, (host::ge::Point3d{0, 0, 0}));
    EXPECT_EQ(LibraryLanguage(), Language::English);
    EXPECT_EQ(Transcript(), "");
}

TEST_F(NestingSettings, ValuesAndTheirReadings) {
    struct Case {
        const char* what;
        std::map<std::string, std::string> stored;
        int unit;
        int option;
        Language language;
    };
    const Case cases[] = {
        {"metric in lower case", {{"Unit", "mm"}}, 0, 0, Language::English},
        {"metric in upper case", {{"Unit", "MM"}}, 0, 0, Language::English},
        {"inches", {{"Unit", "inc"}}, 1, 0, Language::English},
        // Read as the cutting-path module reads them: a damaged unit is millimetres, never inches.
        {"mixed case is millimetres", {{"Unit", "Mm"}}, 0, 0, Language::English},
        {"any other unit is millimetres", {{"Unit", "inch"}}, 0, 0, Language::English},
        {"an empty unit is millimetres", {{"Unit", ""}}, 0, 0, Language::English},
        {"only EN is English", {{"LangMenu", "EN"}}, 0, 0, Language::English},
        {"en is Russian", {{"LangMenu", "en"}}, 0, 0, Language::Russian},
        {"RU is Russian", {{"LangMenu", "RU"}}, 0, 0, Language::Russian},
        {"ru is Russian", {{"LangMenu", "ru"}}, 0, 0, Language::Russian},
        {"rule 3", {{"NestingOptimizationOption", "3"}}, 0, 3, Language::English},
        {"rule 4 is out of range", {{"NestingOptimizationOption", "4"}}, 0, 0, Language::English},
        {"rule -1 is out of range", {{"NestingOptimizationOption", "-1"}}, 0, 0, Language::English},
        {"a rule that is no number", {{"NestingOptimizationOption", "abc"}}, 0, 0, Language::English},
        {"a rule with text after it", {{"NestingOptimizationOption", "2nd"}}, 0, 0, Language::English},
        {"a rule of a number's characters", {{"NestingOptimizationOption", "2.."}}, 0, 0, Language::English},
    };
    for (const Case& c : cases) {
        ClearRegistry();
        SetLibraryLanguage(Language::English);
        for (const auto& [name, text] : c.stored) {
            Store(name, text);
        }
        CNestingState state;
        state.ReadNestingSettings();
        EXPECT_EQ(state.Unit, c.unit) << c.what;
        EXPECT_EQ(state.SearchStep.x, c.unit == 1 ? 0.004 : 0.1) << c.what;
        EXPECT_EQ(state.NestingOptimizationOption, c.option) << c.what;
        EXPECT_EQ(LibraryLanguage(), c.language) << c.what;
    }
}

TEST_F(NestingSettings, TextsFoldersAndTheStockOrigin) {
    Store("TypeLineStock", "DASHED");
    Store("TypeLinePart", "Continuous");
    Store("TypeLineMove", "DOT");
    Store("DirInstall", "C:\\Program Files\\Kestrion\\");
    Store("PDMODE", "3");
    Store("PDSIZE", "2");
    Store("StockPointOriginX", "10.5");
    Store("StockPointOriginY", "-20");
    Store("StockPointOriginZ", "z");
    CNestingState state;
    state.ReadNestingSettings();
    EXPECT_EQ(state.TypeLineStock, "DASHED");
    EXPECT_EQ(state.TypeLinePart, "Continuous");
    EXPECT_EQ(state.TypeLineMove, "DOT");
    EXPECT_EQ(state.DirInstall, "C:\\Program Files\\Kestrion");
    EXPECT_EQ(state.PdModeText, "3");
    EXPECT_EQ(state.PdSizeText, "2");
    EXPECT_EQ(state.StockPointOrigin, (host::ge::Point3d{10.5, -20, 0}));
    EXPECT_NE(Transcript().find("The setting \"StockPointOriginZ\" holds \"z\", which is not a number from -1e+06 to "
                                "1e+06: 0 is used instead."),
              std::string::npos)
        << Transcript();
}

TEST_F(NestingSettings, MissingPointDisplayAndLanguageKeepWhatTheyWere) {
    Store("PDMODE", "34");
    Store("PDSIZE", "5");
    Store("LangMenu", "RU");
    CNestingState state;
    state.ReadNestingSettings();
    ClearRegistry();
    state.ReadNestingSettings();
    EXPECT_EQ(state.PdModeText, "34");
    EXPECT_EQ(state.PdSizeText, "5");
    EXPECT_EQ(LibraryLanguage(), Language::Russian);

    // A value that does not fit its buffer of 150 characters counts as missing.
    Store("PDMODE", std::string(150, '1'));
    Store("LangMenu", "EN" + std::string(148, ' '));
    state.ReadNestingSettings();
    EXPECT_EQ(state.PdModeText, "34");
    EXPECT_EQ(LibraryLanguage(), Language::Russian);
    Store("PDMODE", std::string(149, '1'));
    state.ReadNestingSettings();
    EXPECT_EQ(state.PdModeText, std::string(149, '1'));
}

TEST_F(NestingSettings, TheLinetypeFileFollowsTheUnit) {
    Store("DirInstall", "/opt/kestrion/");
    for (const auto& [unit, file] : {std::pair{"mm", "/opt/kestrion/Kestrion_iso.lin"},
                                     std::pair{"MM", "/opt/kestrion/Kestrion_iso.lin"},
                                     std::pair{"Mm", "/opt/kestrion/Kestrion_iso.lin"},
                                     std::pair{"inc", "/opt/kestrion/Kestrion.lin"}}) {
        Store("Unit", unit);
        CNestingState state;
        state.ReadNestingSettings();
        EXPECT_EQ(state.LinetypeFilePath(), file) << unit;
    }
}

TEST_F(NestingSettings, TheMaterialIsWrittenOnlyIntoAnExistingKey) {
    CNestingState state;
    state.SetMaterialName("Сталь 09Г2С");
    state.SetMaterialNumber("17");
    state.MaterialThickness = 2.5;
    state.MaterialDensity = 7.85e-06;

    EXPECT_EQ(state.SaveLastMaterial(), 0);
    EXPECT_FALSE(host::reg::productKey().exists());

    Store("Unit", "mm");
    EXPECT_EQ(state.SaveLastMaterial(), 0);
    const host::reg::RegistryKey key = host::reg::productKey();
    EXPECT_EQ(key.getString("LastNestingMaterial"), "Сталь 09Г2С");
    EXPECT_EQ(key.getString("LastNestingMaterial_Num"), "17");
    EXPECT_EQ(key.getString("LastNestingMaterial_Thin"), "2.500000");
    EXPECT_EQ(key.getString("LastNestingMaterial_Density"), "7.850000e-06");

    host::reg::machineRegistry().setWriteDenied(true);
    state.MaterialThickness = 3;
    EXPECT_EQ(state.SaveLastMaterial(), -1);
    EXPECT_EQ(key.getString("LastNestingMaterial_Thin"), "2.500000");
}

}  // namespace
