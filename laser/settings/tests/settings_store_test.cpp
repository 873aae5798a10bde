// The settings written to the registry and read back: first start, round trip, the exact texts, failed writes.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "cadlib/messages.h"
#include "laser/settings/laser_settings.h"
#include "laser/settings/settings_values.h"
#include "settings_fixture.h"

namespace {

using laser_settings_testing::SettingsRegistryTest;

std::string FileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

using SettingsFirstStart = SettingsRegistryTest;

TEST_F(SettingsFirstStart, DefaultsStayAndTheKeyIsWrittenWithThem) {
    ASSERT_FALSE(std::filesystem::exists(File()));
    CLaserSettings settings;
    // Nothing was read: the defaults stand, Nesing_Quality 2 among them.
    EXPECT_EQ(settings.TypeLineMove, "HIDDEN");
    EXPECT_EQ(settings.ColorFeed_G41, "1");
    EXPECT_EQ(settings.Nesing_Quality, 2);
    EXPECT_EQ(settings.ZahodTypePoint, 2);
    EXPECT_DOUBLE_EQ(settings.Zone1PointX, -200000.0);
    EXPECT_EQ(settings.AutoConnectGrid, 10000);
    EXPECT_EQ(settings.NextJobId, 110);
    EXPECT_EQ(settings.DrawingSlotCount, 0);
    EXPECT_EQ(LanguageFlag(), 0);

    const auto names = Key().valueNames();
    EXPECT_EQ(names.size(), 135u);
    for (const char* never : {"FileHelp", "FileTutorial", "DirInstall", "TypeLineSensorOff", "ColorSensorOff",
                              "ColorClamp", "ColorTrimLine", "ColorMarkingText", "ColorHoleDrill", "ColorPunch",
                              "CheckZoomScale", "AutoConnectGrid", "NextJobId", "DrawingSlotCount",
                              "LastDirNestDWG"}) {
        EXPECT_FALSE(Stored(never)) << never;
    }
    EXPECT_EQ(Stored("Nesing_Quality"), "2");
    EXPECT_EQ(Stored("LangMenu"), "EN");
    EXPECT_EQ(Stored("Unit"), "mm");

    // The next start reads what the first one wrote, and holds the quality to its range.
    CLaserSettings next;
    EXPECT_EQ(next.Nesing_Quality, 3);
    EXPECT_EQ(next.TypeLineMove, "HIDDEN");
    EXPECT_DOUBLE_EQ(next.Density, 7.85e-06);
    EXPECT_DOUBLE_EQ(next.AutoConnectDist, 0.0001);
    EXPECT_EQ(next.AutoConnectGrid, 10000);
}

TEST_F(SettingsFirstStart, NumbersAreWrittenInTheirOwnFormats) {
    CLaserSettings settings;
    const std::map<std::string, std::string> expected = {
        {"Density", "7.850000e-06"},
        {"AutoConnectDist", "0.0001000000"},
        {"MarkingLineLength", "0.0200"},
        {"AutoDelSementMinSize", "0.1000"},
        {"AutoDelSementMinChord", "0.0500"},
        {"LoopAngle", "100.0000"},
        {"PowerPower2", "80.0000"},
        {"FeedCut", "300.000000"},
        {"TimeLaserOnOff", "0.100000"},
        {"Zone1PointX", "-200000.000000"},
        {"PointHome", "0.000000 0.000000 0.000000"},
        {"ZahodTypePoint", "2"},
        {"Nesting_Adv_DeltaAngle", "90"},
        {"ColorProfInside", "252"},
        {"Material", "STEEL.MAT"},
        {"DirMaterial", ""},
    };
    for (const auto& [name, text] : expected) EXPECT_EQ(Stored(name), text) << name;

    settings.PointHome = {1.5, -2.25, 1e6};
    settings.Unit = 1;
    settings.Density = 1.2345678e-5;
    settings.MarkingLineLength = 123.45678;
    SetLanguageFlag(1);
    ASSERT_EQ(settings.WriteRegistrySettings(), 0);
    EXPECT_EQ(Stored("PointHome"), "1.500000 -2.250000 1000000.000000");
    EXPECT_EQ(Stored("Unit"), "inc");
    EXPECT_EQ(Stored("LangMenu"), "RU");
    EXPECT_EQ(Stored("Density"), "1.234568e-05");
    EXPECT_EQ(Stored("MarkingLineLength"), "123.4568");
}

using SettingsRoundTrip = SettingsRegistryTest;

// Every stored value changed in memory, written, and read by a new object.
TEST_F(SettingsRoundTrip, EveryStoredValueComesBack) {
    // Integers the reader holds to a range get a value inside it.
    const std::map<std::string, int> ranged = {
        {"Nesing_Quality", 7},          {"Nesing_ClampUse", 1},       {"Nesing_ClampQuantity", 4},
        {"Nesing_ClampCenterList", 0},  {"UnloadOption", 2},          {"Nesting_Adv_UseCluster", 1},
        {"Nesting_Adv_UseHole", 1},     {"Nesting_Rect_UsePair", 1},
    };
    CLaserSettings written;
    int index = 0;
    for (const SettingValue& value : SettingValues()) {
        ++index;
        if (!IsWrittenSetting(value)) continue;
        switch (value.kind) {
            case SettingKind::Text: written.*value.text = std::string(value.name) + " Ё"; break;
            case SettingKind::Folder: written.*value.text = std::string("D:\\") + value.name + "\\"; break;
            case SettingKind::Real: written.*value.real = index + 0.25; break;
            case SettingKind::Integer: {
                const auto range = ranged.find(value.name);
                written.*value.integer = range != ranged.end() ? range->second : 1000 + index;
                break;
            }
            case SettingKind::Byte: written.*value.byte = static_cast<std::int8_t>(50 - index); break;
            case SettingKind::PointHome: written.PointHome = {1.5, -2.25, 3.0}; break;
            case SettingKind::Unit: written.Unit = 1; break;
            case SettingKind::Language: SetLanguageFlag(1); break;
            case SettingKind::ReadOnlyText: break;
        }
    }
    ASSERT_EQ(written.WriteRegistrySettings(), 0);
    SetLanguageFlag(0);

    CLaserSettings read;
    for (const SettingValue& value : SettingValues()) {
        if (value.text) {
            EXPECT_EQ(read.*value.text, written.*value.text) << value.name;
        }
        if (value.real) {
            EXPECT_DOUBLE_EQ(read.*value.real, written.*value.real) << value.name;
        }
        if (value.integer) {
            EXPECT_EQ(read.*value.integer, written.*value.integer) << value.name;
        }
        if (value.byte) {
            EXPECT_EQ(read.*value.byte, written.*value.byte) << value.name;
        }
    }
    EXPECT_EQ(read.PointHome, written.PointHome);
    EXPECT_EQ(read.Unit, 1);
    EXPECT_EQ(LanguageFlag(), 1);
    EXPECT_EQ(LibraryLanguage(), Language::Russian);
}

TEST_F(SettingsRoundTrip, WritingWithoutClampsZeroesTheClampCount) {
    CLaserSettings settings;
    settings.Nesing_ClampUse = 0;
    settings.Nesing_ClampQuantity = 4;
    ASSERT_EQ(settings.WriteRegistrySettings(), 0);
    EXPECT_EQ(Stored("Nesing_ClampQuantity"), "0");
    EXPECT_EQ(settings.Nesing_ClampQuantity, 0);
}

TEST_F(SettingsRoundTrip, TheLanguageIsWrittenAlone) {
    CLaserSettings settings;
    settings.FeedCut = 999.0;
    SetLanguageFlag(1);
    ASSERT_EQ(settings.WriteLanguageSetting(), 0);
    EXPECT_EQ(Stored("LangMenu"), "RU");
    EXPECT_EQ(Stored("FeedCut"), "300.000000");
    SetLanguageFlag(0);
    ASSERT_EQ(settings.WriteLanguageSetting(), 0);
    EXPECT_EQ(Stored("LangMenu"), "EN");
}

using SettingsFailedWrite = SettingsRegistryTest;

TEST_F(SettingsFailedWrite, IsReportedAndChangesNothing) {
    CLaserSettings settings;
    const std::string before = FileText(File());
    settings.Nesing_ClampUse = 0;
    settings.Nesing_ClampQuantity = 4;
    settings.FeedCut = 123.0;
    host::reg::machineRegistry().setWriteDenied(true);

    EXPECT_NE(settings.WriteRegistrySettings(), 0);
    EXPECT_NE(Transcript().find("\n\rThe settings could not be saved in the registry"), std::string::npos)
        << Transcript();
    EXPECT_NE(Transcript().find("WriteDenied"), std::string::npos) << Transcript();
    EXPECT_EQ(settings.Nesing_ClampQuantity, 4);
    EXPECT_DOUBLE_EQ(settings.FeedCut, 123.0);

    host::ed::transcript().clear();
    SetLanguageFlag(1);
    EXPECT_NE(settings.WriteLanguageSetting(), 0);
    EXPECT_NE(Transcript().find("\n\rНе удалось сохранить настройки в реестре"), std::string::npos)
        << Transcript();
    EXPECT_EQ(FileText(File()), before);
}

TEST_F(SettingsFailedWrite, AValueTheStoreCannotHoldIsNamed) {
    CLaserSettings settings;
    settings.Material = "STEEL\nMAT";
    EXPECT_NE(settings.WriteRegistrySettings(), 0);
    EXPECT_NE(Transcript().find("\"Material\""), std::string::npos) << Transcript();
    // The other values are still stored.
    settings.FeedCut = 450.0;
    settings.Material = "STEEL.MAT";
    EXPECT_EQ(settings.WriteRegistrySettings(), 0);
    EXPECT_EQ(Stored("FeedCut"), "450.000000");
}

TEST_F(SettingsFailedWrite, AnUnreadableRegistryFileIsKept) {
    // A file the store cannot read: the key seems missing, but writing it would replace the user's file.
    const std::string damaged = "Windows Registry Editor Version 5.00\r\n\r\nthis is not a registry line\r\n";
    {
        std::ofstream out(File(), std::ios::binary);
        out << damaged;
    }
    CLaserSettings settings;
    EXPECT_EQ(settings.FeedCut, 300.0);
    EXPECT_NE(Transcript().find("\n\rThe settings could not be saved in the registry"), std::string::npos)
        << Transcript();
    EXPECT_EQ(FileText(File()), damaged);
}

using SettingsModuleObject = SettingsRegistryTest;

TEST_F(SettingsModuleObject, IsMadeOnceAndMadeAgainAfterUnload) {
    CLaserSettings& first = LaserSettings();
    EXPECT_EQ(&LaserSettings(), &first);
    first.FeedCut = 1.0;
    DestroyLaserSettings();
    EXPECT_DOUBLE_EQ(LaserSettings().FeedCut, 300.0);
    DestroyLaserSettings();
}

}  // namespace
