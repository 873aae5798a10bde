// Reading the settings: what a missing, over-long or odd value does to its field, and the checks on values read.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "laser/settings/laser_settings.h"
#include "settings_fixture.h"

namespace {

using laser_settings_testing::SettingsRegistryTest;

// One case: the fields changed in memory before the read, the stored values (nothing: the value is deleted), and
// what the fields hold after the read.
struct ReadCase {
    const char* what;
    std::function<void(CLaserSettings&)> before;
    std::vector<std::pair<std::string, std::optional<std::string>>> stored;
    std::function<void(const CLaserSettings&)> expect;
};

void Nothing(CLaserSettings&) {}

const std::string k149(149, 'a');
const std::string k150(150, 'a');

std::string Cyrillic(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "Ж";
    return text;
}

const std::vector<ReadCase>& ReadCases() {
    static const std::vector<ReadCase> cases = {
        {"the three compensation colours fall back to ColorFeed", Nothing,
         {{"ColorFeed", "5"}, {"ColorFeed_G40", std::nullopt}, {"ColorFeed_G41", std::nullopt},
          {"ColorFeed_G42", std::nullopt}},
         [](const CLaserSettings& s) {
             EXPECT_EQ(s.ColorFeed_G40, "5");
             EXPECT_EQ(s.ColorFeed_G41, "5");
             EXPECT_EQ(s.ColorFeed_G42, "5");
         }},
        {"a missing value without fallback keeps the field",
         [](CLaserSettings& s) { s.FeedCut = 5.0; s.TypeLineMove = "DASHED"; },
         {{"FeedCut", std::nullopt}, {"TypeLineMove", std::nullopt}},
         [](const CLaserSettings& s) {
             EXPECT_DOUBLE_EQ(s.FeedCut, 5.0);
             EXPECT_EQ(s.TypeLineMove, "DASHED");
         }},
        {"missing values with fallbacks take them",
         [](CLaserSettings& s) {
             s.ZoneMaxDistOffset = 5.0;
             s.Zone1PointX = 5.0;
             s.Zone4PointY = 5.0;
             s.StockPointOriginY = 5.0;
             s.UnloadJump = 0;
             s.TrimLineUse = 0;
             s.Nesting_Adv_DeltaAngle = 45;
             s.UnloadWindowSizeX = 5.0;
         },
         {{"ZoneMaxDistOffset", std::nullopt}, {"Zone1PointX", std::nullopt}, {"Zone4PointY", std::nullopt},
          {"StockPointOriginY", std::nullopt}, {"UnloadJump", std::nullopt}, {"TrimLineUse", std::nullopt},
          {"Nesting_Adv_DeltaAngle", std::nullopt}, {"UnloadWindowSizeX", std::nullopt}},
         [](const CLaserSettings& s) {
             EXPECT_DOUBLE_EQ(s.ZoneMaxDistOffset, 100.0);
             EXPECT_DOUBLE_EQ(s.Zone1PointX, -200000.0);
             EXPECT_DOUBLE_EQ(s.Zone4PointY, 200000.0);
             EXPECT_DOUBLE_EQ(s.StockPointOriginY, 0.0);
             EXPECT_EQ(s.UnloadJump, 1);
             EXPECT_EQ(s.TrimLineUse, 1);
             EXPECT_EQ(s.Nesting_Adv_DeltaAngle, 90);
             EXPECT_DOUBLE_EQ(s.UnloadWindowSizeX, 0.0);
         }},
        {"149 characters fit, 150 count as missing", Nothing,
         {{"TypeLineFeed", k149}, {"TypeLineMove", k150}, {"ColorFeed", "7"}, {"ColorFeed_G40", k150},
          {"Nesing_Quality", "7" + std::string(149, ' ')}},
         [](const CLaserSettings& s) {
             EXPECT_EQ(s.TypeLineFeed, k149);
             EXPECT_EQ(s.TypeLineMove, "HIDDEN");
             EXPECT_EQ(s.ColorFeed_G40, "7");
             EXPECT_EQ(s.Nesing_Quality, 3);
         }},
        {"the buffer counts characters, not bytes", Nothing,
         {{"Material", Cyrillic(149)}, {"Postprocessor", Cyrillic(150)}},
         [](const CLaserSettings& s) {
             EXPECT_EQ(s.Material, Cyrillic(149));
             EXPECT_EQ(s.Postprocessor, "FANUC.MXT");
         }},
        // Numbers are read whole: a text that is none keeps the default and is told (see below).
        {"numbers", Nothing,
         {{"FeedCut", "abc"}, {"FeedRapid", " 12.5mm"}, {"Thin", "1e-3"}, {"ModeStartPoint", "x1"},
          {"ModeEndPoint", "7.9"}, {"UseLoop", "-3"}, {"PiercingMode", "99999999999"}},
         [](const CLaserSettings& s) {
             EXPECT_DOUBLE_EQ(s.FeedCut, 300.0);
             EXPECT_DOUBLE_EQ(s.FeedRapid, 2000.0);
             EXPECT_DOUBLE_EQ(s.Thin, 0.001);
             EXPECT_EQ(s.ModeStartPoint, 1);
             EXPECT_EQ(s.ModeEndPoint, 1);
             EXPECT_EQ(s.UseLoop, -3);
             EXPECT_EQ(s.PiercingMode, 0);
         }},
        {"one-byte fields take the low byte of a number a byte holds", Nothing,
         {{"ZahodTypePoint", "258"}, {"UnloadZahodType", "-1"}, {"AutoDelSementStatus", "200"}},
         [](const CLaserSettings& s) {
             EXPECT_EQ(s.ZahodTypePoint, 2);
             EXPECT_EQ(s.UnloadZahodType, -1);
             EXPECT_EQ(s.AutoDelSementStatus, -56);
         }},
        {"the nesting quality is 3 to 9", Nothing, {{"Nesing_Quality", "2"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.Nesing_Quality, 3); }},
        {"quality 12 is out of range", Nothing, {{"Nesing_Quality", "12"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.Nesing_Quality, 3); }},
        {"quality -1 is out of range", Nothing, {{"Nesing_Quality", "-1"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.Nesing_Quality, 3); }},
        {"quality 9 is kept", Nothing, {{"Nesing_Quality", "9"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.Nesing_Quality, 9); }},
        {"no clamps means no clamp count", Nothing, {{"Nesing_ClampUse", "0"}, {"Nesing_ClampQuantity", "4"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.Nesing_ClampQuantity, 0); }},
        {"a clamp count is kept with clamps", Nothing, {{"Nesing_ClampUse", "1"}, {"Nesing_ClampQuantity", "4"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.Nesing_ClampQuantity, 4); }},
        {"a clamp count above 5 is 5", Nothing, {{"Nesing_ClampUse", "1"}, {"Nesing_ClampQuantity", "9"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.Nesing_ClampQuantity, 5); }},
        {"a negative clamp count is 0", Nothing, {{"Nesing_ClampUse", "1"}, {"Nesing_ClampQuantity", "-2"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.Nesing_ClampQuantity, 0); }},
        {"missing clamp use means no clamps", [](CLaserSettings& s) { s.Nesing_ClampUse = 1; },
         {{"Nesing_ClampUse", std::nullopt}, {"Nesing_ClampQuantity", "3"}},
         [](const CLaserSettings& s) {
             EXPECT_EQ(s.Nesing_ClampUse, 0);
             EXPECT_EQ(s.Nesing_ClampQuantity, 0);
         }},
        {"the clamp centre list is 0 or 1", Nothing, {{"Nesing_ClampCenterList", "5"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.Nesing_ClampCenterList, 1); }},
        {"a clamp centre list of 0 is kept", Nothing, {{"Nesing_ClampCenterList", "0"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.Nesing_ClampCenterList, 0); }},
        {"unloading option 7 is out of range", Nothing, {{"UnloadOption", "7"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.UnloadOption, 0); }},
        {"unloading option 3 is kept", Nothing, {{"UnloadOption", "3"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.UnloadOption, 3); }},
        {"clusters, holes and pairs are always on", Nothing,
         {{"Nesting_Adv_UseCluster", "0"}, {"Nesting_Adv_UseHole", "0"}, {"Nesting_Rect_UsePair", "0"}},
         [](const CLaserSettings& s) {
             EXPECT_EQ(s.Nesting_Adv_UseCluster, 1);
             EXPECT_EQ(s.Nesting_Adv_UseHole, 1);
             EXPECT_EQ(s.Nesting_Rect_UsePair, 1);
         }},
        {"a home point of two numbers repeats the first", Nothing, {{"PointHome", "10 20"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.PointHome, (std::array<double, 3>{10, 20, 10})); }},
        {"a home point of one number", Nothing, {{"PointHome", "5"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.PointHome, (std::array<double, 3>{5, 5, 5})); }},
        {"a home point of three numbers", Nothing, {{"PointHome", "1.5 -2 3e2"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.PointHome, (std::array<double, 3>{1.5, -2, 300})); }},
        {"inc", Nothing, {{"Unit", "inc"}}, [](const CLaserSettings& s) { EXPECT_EQ(s.Unit, 1); }},
        {"mm", [](CLaserSettings& s) { s.Unit = 1; }, {{"Unit", "mm"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.Unit, 0); }},
        {"only EN means English", Nothing, {{"LangMenu", "en"}},
         [](const CLaserSettings&) { EXPECT_EQ(LanguageFlag(), 1); }},
        {"EN", [](CLaserSettings&) { SetLanguageFlag(1); }, {{"LangMenu", "EN"}},
         [](const CLaserSettings&) { EXPECT_EQ(LanguageFlag(), 0); }},
        {"folders end in a backslash", Nothing,
         {{"DirMaterial", "C:\\Kestrion\\Material"}, {"DirPostprocessor", "C:\\Post\\"}},
         [](const CLaserSettings& s) {
             EXPECT_EQ(s.DirMaterial, "C:\\Kestrion\\Material\\");
             EXPECT_EQ(s.DirPostprocessor, "C:\\Post\\");
         }},
        {"an empty folder stays empty", [](CLaserSettings& s) { s.DirMaterial = "D:\\"; }, {{"DirMaterial", ""}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.DirMaterial, ""); }},
        {"read-only texts are read", [](CLaserSettings& s) { s.FileHelp = "old.chm"; },
         {{"FileHelp", std::nullopt}, {"FileTutorial", "tutorial.pdf"}, {"DirInstall", "/opt/kestrion"}},
         [](const CLaserSettings& s) {
             EXPECT_EQ(s.FileHelp, "");
             EXPECT_EQ(s.FileTutorial, "tutorial.pdf");
             EXPECT_EQ(s.DirInstall, "/opt/kestrion");
         }},
        {"the connect grid follows the connect distance", Nothing, {{"AutoConnectDist", "0.001"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.AutoConnectGrid, 1000); }},
        {"the grid is rounded", Nothing, {{"AutoConnectDist", "0.00015"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.AutoConnectGrid, 6667); }},
        {"a zero connect distance gives the default grid", Nothing, {{"AutoConnectDist", "0"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.AutoConnectGrid, 10000); }},
        {"a negative connect distance gives the default grid", Nothing, {{"AutoConnectDist", "-1"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.AutoConnectGrid, 10000); }},
        {"a large connect distance gives a grid of 1", Nothing, {{"AutoConnectDist", "5"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.AutoConnectGrid, 1); }},
        {"a tiny connect distance gives the largest grid", Nothing, {{"AutoConnectDist", "1e-300"}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.AutoConnectGrid, 2147483647); }},
        {"a missing connect distance still gives the grid", [](CLaserSettings& s) { s.AutoConnectDist = 0.01; },
         {{"AutoConnectDist", std::nullopt}},
         [](const CLaserSettings& s) { EXPECT_EQ(s.AutoConnectGrid, 100); }},
    };
    return cases;
}

using SettingsRead = SettingsRegistryTest;

TEST_F(SettingsRead, FallbacksAndChecks) {
    for (const ReadCase& c : ReadCases()) {
        SCOPED_TRACE(c.what);
        // Each case starts from a first start: the key is written with the defaults.
        host::reg::machineRegistry().deleteKey(host::reg::Hive::LocalMachine, host::reg::kProductKey);
        SetLanguageFlag(0);
        CLaserSettings settings;
        c.before(settings);
        for (const auto& [name, text] : c.stored) {
            if (text) {
                Store(name, *text);
            } else {
                Key().deleteValue(name);
            }
        }
        ASSERT_EQ(settings.ReadRegistrySettings(), 0);
        c.expect(settings);
    }
}

// A lead-in span or an angle of 1e308 in the registry once gave an NC program with "G00 X-inf Y-inf", reported as
// created. Numbers are held to their range when read: a value out of it takes its fallback (where a missing value
// has one) or the field's default, whatever memory held, and the user is told which value and why.
TEST_F(SettingsRead, NumbersOutOfRangeTakeTheirFallbackOrDefaultAndAreTold) {
    struct Case {
        const char* name;
        const char* stored;
        std::function<double(const CLaserSettings&)> field;
        double expected;
        bool told;
    };
    const Case cases[] = {
        {"LeadInSpan", "1e308", [](const CLaserSettings& s) { return s.LeadInSpan; }, 6.0, true},
        {"LeadInSpan", "-1", [](const CLaserSettings& s) { return s.LeadInSpan; }, 6.0, true},
        {"LeadInSpan", "1000000", [](const CLaserSettings& s) { return s.LeadInSpan; }, 1e6, false},
        {"LeadInSpan", "1000000.5", [](const CLaserSettings& s) { return s.LeadInSpan; }, 6.0, true},
        {"LeadInSpan", "0", [](const CLaserSettings& s) { return s.LeadInSpan; }, 0.0, false},
        {"Angle", "1e308", [](const CLaserSettings& s) { return s.Angle; }, 30.0, true},
        {"Angle", "360", [](const CLaserSettings& s) { return s.Angle; }, 360.0, false},
        {"Angle", "360.001", [](const CLaserSettings& s) { return s.Angle; }, 30.0, true},
        {"LoopAngle", "-45", [](const CLaserSettings& s) { return s.LoopAngle; }, 100.0, true},
        {"FeedRapid", "9e99", [](const CLaserSettings& s) { return s.FeedRapid; }, 2000.0, true},
        {"Zone1PointX", "-1e6", [](const CLaserSettings& s) { return s.Zone1PointX; }, -1e6, false},
        {"Zone1PointX", "-3e6", [](const CLaserSettings& s) { return s.Zone1PointX; }, -200000.0, true},
        {"StockPointOriginY", "-2.5", [](const CLaserSettings& s) { return s.StockPointOriginY; }, -2.5, false},
        {"ZoneMaxDistOffset", "1e20", [](const CLaserSettings& s) { return s.ZoneMaxDistOffset; }, 100.0, true},
        // A text that is no number is told as one out of range: never read as 0, nor by its prefix.
        {"LeadInSpan", "inf", [](const CLaserSettings& s) { return s.LeadInSpan; }, 6.0, true},
        {"LeadInSpan", "nan", [](const CLaserSettings& s) { return s.LeadInSpan; }, 6.0, true},
        {"LeadInSpan", "", [](const CLaserSettings& s) { return s.LeadInSpan; }, 6.0, true},
        {"LeadInSpan", "2.5.1", [](const CLaserSettings& s) { return s.LeadInSpan; }, 6.0, true},
        {"LeadInSpan", "8mm", [](const CLaserSettings& s) { return s.LeadInSpan; }, 6.0, true},
        {"PointHome", "inf 0 0", [](const CLaserSettings& s) { return s.PointHome[0]; }, 0.0, true},
        {"PointHome", "10 x 0", [](const CLaserSettings& s) { return s.PointHome[0]; }, 0.0, true},
        {"PointHome", "10 20 30 40", [](const CLaserSettings& s) { return s.PointHome[0]; }, 0.0, true},
        {"FeedCut", "-inf", [](const CLaserSettings& s) { return s.FeedCut; }, 300.0, true},
        {"DiameterTool", "1e400", [](const CLaserSettings& s) { return s.DiameterTool; }, 0.2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " = " + c.stored);
        CLaserSettings settings;
        settings.LeadInSpan = settings.Angle = settings.LoopAngle = settings.FeedRapid = 7.0;
        settings.Zone1PointX = settings.ZoneMaxDistOffset = 7.0;
        host::ed::transcript().clear();
        Store(c.name, c.stored);
        ASSERT_EQ(settings.ReadRegistrySettings(), 0);
        EXPECT_DOUBLE_EQ(c.field(settings), c.expected);
        const std::string note = std::string("The setting \"") + c.name + "\" holds \"" + c.stored + "\"";
        EXPECT_EQ(Transcript().find(note) != std::string::npos, c.told) << Transcript();
        Key().deleteValue(c.name);
    }
}

// Any text but "mm" was taken as inches without a word ("MM", "", a damaged value), and every length of the
// settings was then read as inches: a unit is one of its two texts, and another is told and read as millimetres.
TEST_F(SettingsRead, AUnitThatIsNeitherMmNorIncIsToldAndMillimetresAreUsed) {
    for (const char* stored : {"MM", "Inc", "", "mm ", "inches", "1", "nan"}) {
        SCOPED_TRACE(stored);
        CLaserSettings settings;
        settings.Unit = 1;
        host::ed::transcript().clear();
        Store("Unit", stored);
        ASSERT_EQ(settings.ReadRegistrySettings(), 0);
        EXPECT_EQ(settings.Unit, 0);
        const std::string note = std::string("The setting \"Unit\" holds \"") + stored +
                                 "\", which is neither \"mm\" nor \"inc\": mm is used instead.";
        EXPECT_NE(Transcript().find(note), std::string::npos) << Transcript();
    }
    for (const auto& [stored, unit] : {std::pair{"mm", 0}, std::pair{"inc", 1}}) {
        CLaserSettings settings;
        settings.Unit = 1 - unit;
        host::ed::transcript().clear();
        Store("Unit", stored);
        ASSERT_EQ(settings.ReadRegistrySettings(), 0);
        EXPECT_EQ(settings.Unit, unit);
        EXPECT_EQ(Transcript().find("Unit"), std::string::npos) << Transcript();
    }
    Key().deleteValue("Unit");
}

// Whole-number settings are read whole too: "2.5.1" is no 2, "3OO" no 3, and a value that is not one whole number
// in the setting's range takes its fallback or default, told with the key and the range.
TEST_F(SettingsRead, WholeNumberSettingsAreReadWholeAndOthersAreTold) {
    struct Case {
        const char* name;
        const char* stored;
        std::function<int(const CLaserSettings&)> field;
        int expected;
        const char* range;  // as the note writes it; nullptr when nothing is told
    };
    const auto startPoint = [](const CLaserSettings& s) { return s.ModeStartPoint; };
    const auto deltaAngle = [](const CLaserSettings& s) { return s.Nesting_Adv_DeltaAngle; };
    const auto leadPoint = [](const CLaserSettings& s) { return static_cast<int>(s.ZahodTypePoint); };
    const char* const intRange = "from -2147483648 to 2147483647";
    const Case cases[] = {
        {"ModeStartPoint", "0", startPoint, 0, nullptr},
        {"ModeStartPoint", " 2 ", startPoint, 2, nullptr},
        {"ModeStartPoint", "2.5.1", startPoint, 1, intRange},
        {"ModeStartPoint", "42.0.0", startPoint, 1, intRange},
        {"ModeStartPoint", "2..", startPoint, 1, intRange},
        {"ModeStartPoint", ".", startPoint, 1, intRange},
        {"ModeStartPoint", "", startPoint, 1, intRange},
        {"ModeStartPoint", "abc", startPoint, 1, intRange},
        {"ModeStartPoint", "3OO", startPoint, 1, intRange},
        {"ModeStartPoint", "1e3", startPoint, 1, intRange},
        {"ModeStartPoint", "99999999999", startPoint, 1, intRange},
        {"Nesting_Adv_DeltaAngle", "45", deltaAngle, 45, nullptr},
        {"Nesting_Adv_DeltaAngle", "45deg", deltaAngle, 90, intRange},
        {"ZahodTypePoint", "1", leadPoint, 1, nullptr},
        {"ZahodTypePoint", "255", leadPoint, -1, nullptr},
        {"ZahodTypePoint", "1.5", leadPoint, 2, "from -128 to 255"},
        {"ZahodTypePoint", "256", leadPoint, 2, "from -128 to 255"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " = \"" + c.stored + "\"");
        CLaserSettings settings;
        settings.ModeStartPoint = settings.Nesting_Adv_DeltaAngle = 7;
        settings.ZahodTypePoint = 7;
        host::ed::transcript().clear();
        Store(c.name, c.stored);
        ASSERT_EQ(settings.ReadRegistrySettings(), 0);
        EXPECT_EQ(c.field(settings), c.expected);
        const std::string note = std::string("The setting \"") + c.name + "\" holds \"" + c.stored +
                                 "\", which is not a number " + (c.range ? c.range : "") + ": " +
                                 std::to_string(c.expected) + " is used instead.";
        EXPECT_EQ(Transcript().find(note) != std::string::npos, c.range != nullptr) << Transcript();
        Key().deleteValue(c.name);
    }
}

TEST_F(SettingsRead, AHomePointOutOfRangeIsTheDefaultPointAndTheNoteIsInTheLanguageRead) {
    Store("PointHome", "10 20 1e9");
    Store("LangMenu", "RU");
    CLaserSettings settings;
    EXPECT_EQ(settings.PointHome, (std::array<double, 3>{0, 0, 0}));
    EXPECT_NE(Transcript().find("Настройка \"PointHome\" содержит \"10 20 1e9\" - это не число от -1e+06 до 1e+06: "
                                "вместо него взято 0.000000 0.000000 0.000000."),
              std::string::npos)
        << Transcript();
}

// The reader also runs on an object that the options sheet has edited: a read brings back the stored values.
TEST_F(SettingsRead, AReadReplacesWhatMemoryHeld) {
    CLaserSettings settings;
    settings.FeedCut = 1.0;
    settings.ColorMove = "9";
    settings.PointHome = {1, 2, 3};
    ASSERT_EQ(settings.ReadRegistrySettings(), 0);
    EXPECT_DOUBLE_EQ(settings.FeedCut, 300.0);
    EXPECT_EQ(settings.ColorMove, "3");
    EXPECT_EQ(settings.PointHome, (std::array<double, 3>{0, 0, 0}));
}

}  // namespace
