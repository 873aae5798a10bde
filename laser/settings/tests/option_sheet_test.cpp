// The system options sheet answered by script as a user would: an untouched OK gives every setting back as read,
// Apply and Cancel, the character and clamp-count checks, the pages' own rules (connect distance, loops against
// power, line type of rapids, quality slider, postprocessor choice, material Save As), the Russian labels, a
// registry that cannot be written, and pictures of every page for a person to look at.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "host/ed/transcript.h"
#include "host/sys/folders.h"
#include "host/ui/desktop.h"
#include "host/ui/dialog_driver.h"
#include "host/ui/scripted_user.h"
#include "host/ui/tests/dialog_test_support.h"
#include "laser/options/about_dialog.h"
#include "laser/job/drawing_slot.h"
#include "laser/options/option_sheets.h"
#include "laser/options/option_texts.h"
#include "laser/post/postprocessor_file.h"
#include "laser/settings/settings_values.h"
#include "settings_fixture.h"

namespace {

namespace fs = std::filesystem;
using host::ui::testing::IdleSteps;
using host::ui::testing::ScriptSession;
using laser_settings_testing::SettingsRegistryTest;

class OptionSheet : public SettingsRegistryTest {
protected:
    void SetUp() override {
        SettingsRegistryTest::SetUp();
        host::ui::clearMessageBoxLog();
    }

    // Runs the sheet over `settings` as ShowSystemOptions does, answered by `lines`. Answers the sheet's result.
    std::intptr_t Run(CLaserSettings& settings, std::vector<std::string> lines) {
        ScriptSession script(std::move(lines));
        CSheetOption sheet("Configuration of the system", nullptr, 0, settings);
        sheet.LoadSettings();
        const std::intptr_t result = sheet.doModal();
        if (result == host::ui::IDOK) sheet.SaveSettings();
        EXPECT_EQ(script.linesLeft(), 0u) << script.transcript();
        return result;
    }

    // Every value of the product key, by name.
    static std::map<std::string, std::string> AllStored() {
        std::map<std::string, std::string> values;
        for (const SettingValue& v : SettingValues()) {
            if (auto text = Stored(v.name)) values[v.name] = *text;
        }
        return values;
    }

    static std::vector<std::string> EveryTabThenOk() {
        std::vector<std::string> lines;
        for (int tab = 1; tab <= 10; ++tab) lines.push_back("dlg tab " + std::to_string(tab));
        lines.push_back("dlg ok");
        return lines;
    }

    host::ui::ScriptedUser user;
    host::ui::UseDialogUser answering{&user};
};

// Values that the pages show with fewer decimals than they hold, or that none of a page's choices stands for.
void StoreAwkwardValues(CLaserSettings& s) {
    s.Thin = 1.23456;
    s.TypeLineMove = "DASHED";
    s.AutoConnectDist = 0.005;
    s.AutoConnectGrid = 200;
    s.ZahodTypePoint = 5;
    s.Nesing_ClampCenterList = 7;
    s.ColorMove = "30";
    s.PointHome = {10.123456, -5.5, 0.00001};
    s.AutoDelSementMinChord = 0.123456;
    s.Nesing_Quality = 7;
    s.TypeMachine = "Router";
}

TEST_F(OptionSheet, AnUntouchedOkGivesEverySettingBackAsItWasRead) {
    CLaserSettings settings;
    StoreAwkwardValues(settings);
    ASSERT_EQ(settings.WriteRegistrySettings(), 0);
    const auto before = AllStored();
    for (const auto& lines : {std::vector<std::string>{"dlg ok"}, EveryTabThenOk()}) {
        ASSERT_EQ(Run(settings, lines), host::ui::IDOK);
        EXPECT_EQ(AllStored(), before);
        EXPECT_EQ(settings.Thin, 1.23456);
        EXPECT_EQ(settings.TypeLineMove, "DASHED");
        EXPECT_EQ(settings.AutoConnectDist, 0.005);
        EXPECT_EQ(settings.AutoConnectGrid, 200);
        EXPECT_EQ(settings.ZahodTypePoint, 5);
        EXPECT_EQ(settings.Nesing_ClampCenterList, 7);
        EXPECT_EQ(settings.TypeMachine, "Router");
    }
    EXPECT_TRUE(host::ui::messageBoxLog().empty());
}

TEST_F(OptionSheet, ApplyStoresAndCancelAfterItKeepsWhatApplyStored) {
    CLaserSettings settings;
    ASSERT_EQ(Run(settings, {"dlg tab Cutting", "dlg set Clockwise on", "dlg tab Nesting", "dlg set 307 7",
                             "dlg press Apply", "dlg set 229 45", "dlg cancel"}),
              host::ui::IDCANCEL);
    EXPECT_EQ(settings.CutLineDirection, 1);
    EXPECT_EQ(Stored("CutLineDirection"), "1");
    EXPECT_EQ(settings.Nesing_Quality, 7);
    EXPECT_EQ(Stored("Nesing_Quality"), "7");
    // What was typed after Apply is not stored.
    EXPECT_EQ(settings.Angle, 30.0);
}

TEST_F(OptionSheet, ApplyIsDisabledAgainAfterApplying) {
    CLaserSettings settings;
    host::ui::Desktop& desktop = host::ui::dialogDesktop();
    std::vector<bool> enabled;
    IdleSteps steps(desktop, {[&](host::ui::Dialog& d) {
                                  auto& sheet = dynamic_cast<CSheetOption&>(d);
                                  enabled.push_back(sheet.isApplyEnabled());
                                  sheet.setActivePage(2);
                              },
                              [&](host::ui::Dialog& d) {
                                  host::ui::DialogDriver(d).set("Clockwise", "on");
                                  enabled.push_back(dynamic_cast<CSheetOption&>(d).isApplyEnabled());
                                  host::ui::DialogDriver(d).press("Apply");
                              },
                              [&](host::ui::Dialog& d) {
                                  enabled.push_back(dynamic_cast<CSheetOption&>(d).isApplyEnabled());
                                  host::ui::DialogDriver(d).escape();
                              }});
    CSheetOption sheet("Configuration of the system", nullptr, 0, settings);
    sheet.LoadSettings();
    host::ui::UseDialogUser nobody{nullptr};
    sheet.doModal();
    EXPECT_EQ(enabled, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(Stored("CutLineDirection"), "1");
}

// A refused character (or clamp count) shows the message in a box with no caption, and the field keeps its text:
// OK afterwards stores the value as it was.
TEST_F(OptionSheet, BadInputAtEveryKindOfCheckedFieldIsRefusedAndKeepsTheOldValue) {
    const struct Case {
        const char* tab;
        const char* control;
        const char* typed;
        const char* message;
        int language;
    } cases[] = {
        {"Cutting", "229", "a", "Invalid symbol in the string - a", 0},
        {"Cutting", "469", "-", "Invalid symbol in the string - -", 0},
        {"Cutting", "244", "x", "Недопустимый символ в строке - x", 1},
        {"Material", "240", ",", "Invalid symbol in the string - ,", 0},
        {"Material", "239", "x", "Invalid symbol in the string - x", 0},
        {"Cut corner", "249", "q", "Invalid symbol in the string - q", 0},
        {"Profile", "474", "+", "Invalid symbol in the string - +", 0},
        {"Options", "254", "e", "Invalid symbol in the string - e", 0},
        {"Machine", "232", "F", "Invalid symbol in the string - F", 0},
        {"Unload", "249", "z", "Invalid symbol in the string - z", 0},
        {"Clamp", "249", "/", "Invalid symbol in the string - /", 0},
        {"Clamp", "474", "33", "Wrong number of clamps - 33", 0},
        {"Clamp", "474", "", "Wrong number of clamps - ", 0},
        {"Clamp", "474", "6", "Invalid symbol in the string - 6", 0},
        {"Clamp", "474", "0", "Invalid symbol in the string - 0", 0},
        // In the clamp count's set of characters, but out of its range: refused whole (it was typed key by key,
        // and the first "2" stayed).
        {"Clamp", "474", "22", "Неверное количество прижимов - 22", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.tab) + " " + c.control + " \"" + c.typed + "\"");
        { CLaserSettings defaults; }
        Store("Nesing_ClampUse", "1");
        Store("Nesing_ClampQuantity", "3");
        Store("LangMenu", c.language == 1 ? "RU" : "EN");
        CLaserSettings settings;
        ASSERT_EQ(settings.WriteRegistrySettings(), 0);
        const auto before = AllStored();
        host::ui::clearMessageBoxLog();
        ASSERT_EQ(Run(settings, {std::string("dlg tab \"") + c.tab + "\"",
                                 std::string("dlg set ") + c.control + " \"" + c.typed + "\"", "msgbox ok", "dlg ok"}),
                  host::ui::IDOK);
        const auto& boxes = host::ui::messageBoxLog();
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes.back().text, c.message);
        EXPECT_EQ(boxes.back().caption, "");
        const auto after = AllStored();
        for (const auto& [name, value] : before) EXPECT_EQ(after.at(name), value) << name;
    }
}

// A text made only of a number's characters is a number only when the whole of it is one: OK (or leaving the page)
// refuses any other, the field gets its value back, and the setting keeps it. A script answers the box.
TEST_F(OptionSheet, ANumberFieldWhoseWholeTextIsNotOneNumberIsRefusedAndTheSettingKeepsItsValue) {
    const struct Case {
        const char* tab;
        const char* control;
        const char* typed;
        const char* setting;
        const char* leave;  // how the page is left
    } cases[] = {
        {"Machine", "254", "6.0.0", "MarkCut", "dlg ok"},
        {"Machine", "233", ".", "FeedRapid", "dlg ok"},
        {"Material", "240", "2..", "Thin", "dlg ok"},
        {"Material", "239", "1e", "Density", "dlg tab Display"},
        {"Cutting", "228", "2.5.1", "LeadOutSpan", "dlg ok"},
        {"Cutting", "227", "", "LeadInSpan", "dlg tab Display"},
        {"Cutting", "245", "..", "PointHome", "dlg press Apply"},
        {"\"Cut corner\"", "436", "abc", "PowerAngle1", "dlg ok"},
        {"Profile", "474", "3.3.", "PDSIZE", "dlg ok"},
        {"Options", "249", "0.1.", "AutoDelSementMinSize", "dlg ok"},
        {"Unload", "249", "", "UnloadWindowSizeX", "dlg ok"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.tab) + " " + c.control + " \"" + c.typed + "\"");
        CLaserSettings settings;
        ASSERT_EQ(settings.WriteRegistrySettings(), 0);
        const auto before = AllStored();
        host::ui::clearMessageBoxLog();
        // After the refusal the field shows its value again; a second OK then ends the sheet.
        const std::intptr_t result = Run(settings, {std::string("dlg tab ") + c.tab,
                                                    std::string("dlg set ") + c.control + " \"" + c.typed + "\"",
                                                    c.leave, "msgbox ok", "dlg ok"});
        ASSERT_EQ(result, host::ui::IDOK);
        const auto& boxes = host::ui::messageBoxLog();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text.rfind(std::string("\"") + c.typed + "\" is not a number. The field keeps ", 0), 0u)
            << boxes[0].text;
        EXPECT_EQ(AllStored().at(c.setting), before.at(c.setting));
        EXPECT_EQ(AllStored(), before);
    }
}

// The pages took 99999999 for a lead-in, a feed or a clamp distance, and the next start told that the registry
// held a value out of range and replaced it: each field is held to the range its setting is read with.
TEST_F(OptionSheet, ANumberOutsideTheRangeTheRegistryIsReadWithIsRefused) {
    const struct Case {
        const char* tab;
        const char* control;
        const char* typed;
        const char* setting;
        const char* range;
    } cases[] = {
        {"Cutting", "227", "99999999", "LeadInSpan", "from 0 to 1000000"},
        {"Cutting", "229", "360.5", "Angle", "from 0 to 360"},
        {"Cutting", "245", "9999999", "PointHome", "from -1000000 to 1000000"},
        {"Machine", "254", "1000000.5", "MarkCut", "from 0 to 1000000"},
        {"Material", "240", "2000000", "Thin", "from 0 to 1000000"},
        {"\"Cut corner\"", "474", "-5", "PowerPower1", "from 0 to 1000000"},
        {"Options", "254", "99999999", "AutoDelSementMinChord", "from 0 to 1000000"},
        {"Clamp", "\"Distance B\"", "99999999", "Nesing_ClampingDistance", "from 0 to 1000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.tab) + " " + c.control + " \"" + c.typed + "\"");
        CLaserSettings settings;
        ASSERT_EQ(settings.WriteRegistrySettings(), 0);
        const auto before = AllStored();
        host::ui::clearMessageBoxLog();
        const std::intptr_t result = Run(settings, {std::string("dlg tab ") + c.tab,
                                                    std::string("dlg set ") + c.control + " \"" + c.typed + "\"",
                                                    "dlg ok", "msgbox ok", "dlg ok"});
        ASSERT_EQ(result, host::ui::IDOK);
        const auto& boxes = host::ui::messageBoxLog();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text.rfind(std::string("\"") + c.typed + "\" is not a number " + c.range, 0), 0u)
            << boxes[0].text;
        EXPECT_EQ(AllStored(), before);
    }
}

TEST_F(OptionSheet, NumberFieldsTakeEveryFormOfANumberAndTheRefusalIsSaidInRussian) {
    CLaserSettings settings;
    ASSERT_EQ(Run(settings, {"dlg tab Cutting", "dlg set 227 7.5", "dlg set 228 3.", "dlg set 229 .5",
                             "dlg tab Material", "dlg set 239 2.5e-3", "dlg ok"}),
              host::ui::IDOK);
    EXPECT_TRUE(host::ui::messageBoxLog().empty());
    EXPECT_EQ(settings.LeadInSpan, 7.5);
    EXPECT_EQ(settings.LeadOutSpan, 3.0);
    EXPECT_EQ(settings.Angle, 0.5);
    EXPECT_EQ(settings.Density, 2.5e-3);

    Store("LangMenu", "RU");
    host::ui::clearMessageBoxLog();
    CLaserSettings russian;
    ASSERT_EQ(Run(russian, {"dlg tab Cutting", "dlg set 227 6.0.0", "dlg ok", "msgbox ok", "dlg cancel"}),
              host::ui::IDCANCEL);
    ASSERT_EQ(host::ui::messageBoxLog().size(), 1u);
    EXPECT_EQ(host::ui::messageBoxLog()[0].text.rfind("\"6.0.0\" - не число. В поле остаётся ", 0), 0u);
}

// The density is held to the range a material file and a job hold it to: a density the page takes is one the
// nesting job reader takes too.
TEST_F(OptionSheet, ADensityOutsideTheRangeOfAJobIsRefused) {
    for (const char* typed : {"1e20", "100000.5"}) {
        SCOPED_TRACE(typed);
        CLaserSettings settings{CLaserSettings::DefaultsOnly{}};
        ASSERT_EQ(settings.WriteRegistrySettings(), 0);
        host::ui::clearMessageBoxLog();
        ASSERT_EQ(Run(settings, {"dlg tab Material", std::string("dlg set 239 ") + typed, "dlg ok", "msgbox ok",
                                 "dlg ok"}),
                  host::ui::IDOK);
        ASSERT_EQ(host::ui::messageBoxLog().size(), 1u);
        EXPECT_EQ(host::ui::messageBoxLog()[0].text,
                  std::string("\"") + typed + "\" is not a number from 0 to 100000. The field keeps 7.850000e-06.");
        EXPECT_EQ(settings.Density, 7.85e-06);
    }
    CLaserSettings settings;
    ASSERT_EQ(Run(settings, {"dlg tab Material", "dlg set 239 100000", "dlg ok"}), host::ui::IDOK);
    EXPECT_EQ(settings.Density, 100000.0);
}

TEST_F(OptionSheet, PagesStoreWhatTheUserChose) {
    CLaserSettings settings;
    settings.UseLoop = 0;
    settings.UsePower = 0;
    ASSERT_EQ(Run(settings, {"dlg tab Material", "dlg set 238 inc", "dlg set 240 2.5",
                             "dlg tab Display", "dlg set 222 30", "dlg set 554 \"Lines without arrows\"",
                             "dlg tab \"Cut corner\"", "dlg set 319 on", "dlg set 531 on", "dlg set 436 12.5",
                             "dlg tab Options", "dlg set 257 0.001", "dlg set 319 off", "dlg set 254 0.5",
                             "dlg set 249 0.25",
                             "dlg tab Unload", "dlg set \"Unloading for outside contours\" on",
                             "dlg tab Clamp", "dlg set \"Distance to the first clamp A\" on", "dlg ok"}),
              host::ui::IDOK);
    EXPECT_TRUE(host::ui::messageBoxLog().empty());
    EXPECT_EQ(settings.Unit, 1);
    EXPECT_EQ(settings.Thin, 2.5);
    EXPECT_EQ(settings.ColorMove, "30");
    EXPECT_EQ(settings.TypeLineMove, "HIDDEN");
    // Loops and power exclude each other: the last one switched on wins.
    EXPECT_EQ(settings.UseLoop, 0);
    EXPECT_EQ(settings.UsePower, 1);
    EXPECT_EQ(settings.PowerAngle1, 12.5);
    EXPECT_EQ(settings.AutoConnectDist, 0.001);
    EXPECT_EQ(settings.AutoConnectGrid, 1000);
    // With the short-segment correction off the chord is not taken; the minimum length is.
    EXPECT_EQ(settings.AutoDelSementStatus, 0);
    EXPECT_EQ(settings.AutoDelSementMinChord, 0.05);
    EXPECT_EQ(settings.AutoDelSementMinSize, 0.25);
    EXPECT_EQ(settings.UnloadOption, 2);
    EXPECT_EQ(settings.Nesing_ClampCenterList, 0);
    EXPECT_EQ(Stored("TypeLineMove"), "HIDDEN");
    EXPECT_EQ(Stored("Unit"), "inc");
}

// Switching the unit converts every length of every page, made or not, typed or loaded: 6 mm of lead-in is 6 mm in
// inches, not 6 inches. Feeds and the density stay. Switching back to the unit loaded gives every untouched value
// back as it was stored, and the change is told once.
TEST_F(OptionSheet, SwitchingTheUnitConvertsEveryLengthOfEveryPage) {
    {
        CLaserSettings settings;
        host::ed::transcript().clear();
        ASSERT_EQ(Run(settings, {"dlg tab Cutting", "dlg set 228 10", "dlg tab Material", "dlg set 238 inc",
                                 "dlg tab Cutting", "dlg tab Clamp", "dlg ok"}),
                  host::ui::IDOK);
        EXPECT_TRUE(host::ui::messageBoxLog().empty());
        EXPECT_EQ(settings.Unit, 1);
        EXPECT_NEAR(settings.LeadInSpan, 6.0 / 25.4, 1e-5);
        EXPECT_NEAR(settings.LeadOutSpan, 10.0 / 25.4, 1e-5);  // typed before the switch
        EXPECT_NEAR(settings.DiameterTool, 0.2 / 25.4, 1e-6);
        EXPECT_NEAR(settings.Thin, 1.0 / 25.4, 1e-5);
        EXPECT_NEAR(settings.JamperLenIn, 6.0 / 25.4, 1e-5);  // a page never opened
        EXPECT_NEAR(settings.Nesing_ClampingDistance, 1110.0 / 25.4, 1e-3);
        EXPECT_NEAR(settings.AutoDelSementMinSize, 0.1 / 25.4, 1e-6);
        EXPECT_EQ(settings.Angle, 30.0);
        EXPECT_EQ(settings.FeedCut, 300.0);
        EXPECT_EQ(settings.Density, 7.85e-06);
        const std::string told = "The unit is switched to inches: every length on every page";
        const std::string said = host::ed::transcript().text();
        EXPECT_NE(said.find(told), std::string::npos) << said;
        EXPECT_EQ(said.find(told), said.rfind(told)) << "said once";
    }
    {
        CLaserSettings settings{CLaserSettings::DefaultsOnly{}};
        settings.LeadInSpan = 6.35;
        ASSERT_EQ(settings.WriteRegistrySettings(), 0);
        const auto before = AllStored();
        ASSERT_EQ(Run(settings, {"dlg tab Cutting", "dlg tab Material", "dlg set 238 inc", "dlg set 238 mm",
                                 "dlg set 238 inc", "dlg set 238 mm", "dlg ok"}),
                  host::ui::IDOK);
        EXPECT_EQ(AllStored(), before);
        EXPECT_EQ(settings.LeadInSpan, 6.35);
    }
}

TEST_F(OptionSheet, AFailedRegistryWriteIsToldAndTheSheetSaysTheValuesWereNotStored) {
    CLaserSettings settings;
    host::reg::machineRegistry().setWriteDenied(true);
    ASSERT_EQ(Run(settings, {"dlg tab Cutting", "dlg set 227 9", "dlg ok", "msgbox ok"}), host::ui::IDOK);
    const auto& boxes = host::ui::messageBoxLog();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("could not be stored in the registry"), std::string::npos) << boxes[0].text;
    EXPECT_NE(Stored("LeadInSpan"), "9.000000");
}

TEST_F(OptionSheet, SelectReadsAPostprocessorAndARefusedFileThenCancelKeepsTheOldOne) {
    const fs::path posts = fs::path(KESTRION_SOURCE_DIR) / "data" / "post";
    const fs::path bad = fs::temp_directory_path() / "option_sheet_not_a_post.MXT";
    std::ofstream(bad) << "not a postprocessor\n";
    CLaserSettings settings;
    settings.TypeMachine = "Flame";
    settings.FeedRapid = 1.0;
    settings.FeedCut = 123.0;
    ASSERT_EQ(Run(settings, {"dlg tab Machine", "dlg press 226", "file " + (posts / "FANUC.MXT").string(),
                             "dlg press OK"}),
              host::ui::IDOK);
    EXPECT_EQ(settings.Postprocessor, "FANUC.MXT");
    EXPECT_EQ(settings.DirPostprocessor, posts.string() + "\\");
    EXPECT_EQ(settings.TypeMachine, "Laser");
    EXPECT_NE(settings.FeedRapid, 1.0);
    EXPECT_EQ(settings.FeedCut, 123.0);

    CLaserSettings other;
    other.Postprocessor = "OLD.MXT";
    other.DirPostprocessor = "/old/";
    ASSERT_EQ(Run(other, {"dlg tab Machine", "dlg press 226", "file " + bad.string(), "msgbox ok", "file cancel",
                          "dlg press OK"}),
              host::ui::IDOK);
    EXPECT_EQ(other.Postprocessor, "OLD.MXT");
    EXPECT_EQ(other.DirPostprocessor, "/old/");
    fs::remove(bad);
}

// A postprocessor's RapidFeed of 0, below 0 or none became the rapid feed, and every machining time went wrong
// without a word: the field keeps its value and the box says why; a feed above 0 is taken.
TEST_F(OptionSheet, APostprocessorsRapidFeedIsTakenOnlyAboveZero) {
    std::ifstream in(fs::path(KESTRION_SOURCE_DIR) / "data" / "post" / "FANUC.MXT", std::ios::binary);
    const std::string fanuc{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string key = "####RapidFeed";
    const std::size_t at = fanuc.find(key);
    ASSERT_NE(at, std::string::npos);
    const std::size_t valueStart = fanuc.find('\n', at) + 1;
    const std::size_t valueEnd = fanuc.find_first_of("\r\n", valueStart);
    const fs::path post = fs::temp_directory_path() / "option_sheet_rapid.MXT";
    const struct {
        const char* value;
        double stored;
    } cases[] = {{"0", 7.0}, {"-5", 7.0}, {"", 7.0}, {"-0", 7.0}, {"15000", 15000.0}, {" 2.5e4 ", 25000.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        std::ofstream(post, std::ios::binary) << fanuc.substr(0, valueStart) << c.value << fanuc.substr(valueEnd);
        host::ui::clearMessageBoxLog();
        CLaserSettings settings;
        settings.FeedRapid = 7.0;
        const bool refused = c.stored == 7.0;
        std::vector<std::string> lines{"dlg tab Machine", "dlg press 226", "file " + post.string()};
        if (refused) lines.push_back("msgbox OK");
        lines.push_back("dlg press OK");
        ASSERT_EQ(Run(settings, lines), host::ui::IDOK);
        EXPECT_EQ(settings.Postprocessor, "option_sheet_rapid.MXT");
        EXPECT_EQ(settings.FeedRapid, c.stored);
        const auto boxes = host::ui::messageBoxLog();
        if (refused) {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, std::string("The postprocessor's RapidFeed \"") + c.value +
                                         "\" is not a number above 0. The rapid feed keeps 7.0000.");
        } else {
            EXPECT_TRUE(boxes.empty());
        }
    }
    fs::remove(post);
}

// With no folder remembered (or one of another machine), Select... starts in the installed postprocessors and
// Select Material in the installed materials: the names the README gives are found by their names alone.
TEST_F(OptionSheet, WithNoFolderRememberedTheFileDialogsStartInTheInstalledFiles) {
    const fs::path installed = host::sys::installFolder();
    for (const char* remembered : {"", "c:\\"}) {
        SCOPED_TRACE(std::string("remembered \"") + remembered + "\"");
        host::ui::clearMessageBoxLog();
        CLaserSettings settings;
        settings.DirPostprocessor = remembered;
        settings.DirMaterial = remembered;
        settings.Postprocessor = "OLD.MXT";
        ASSERT_EQ(Run(settings, {"dlg tab Machine", "dlg press 226", "file FANUC.MXT", "dlg tab Material",
                                 "dlg press 241", "file STEEL.MAT", "dlg ok"}),
                  host::ui::IDOK);
        EXPECT_TRUE(host::ui::messageBoxLog().empty());
        EXPECT_EQ(settings.Postprocessor, "FANUC.MXT");
        EXPECT_EQ(settings.DirPostprocessor, (installed / "post").string() + "\\");
        EXPECT_EQ(settings.Material, "STEEL.MAT");
        EXPECT_EQ(fs::path(settings.DirMaterial).lexically_normal(), fs::path(installed / "material").lexically_normal() / "");
    }
}

// Edit... opens the editor on the chosen file: Cancel there leaves the page's machine values as they were; OK writes
// the file and the page takes its machine type.
TEST_F(OptionSheet, EditOpensTheEditorOnTheChosenPostprocessor) {
    const fs::path post = fs::temp_directory_path() / "option_sheet_edit.MXT";
    fs::copy_file(fs::path(KESTRION_SOURCE_DIR) / "data" / "post" / "LINUXCNC_PLASMA.MXT", post,
                  fs::copy_options::overwrite_existing);
    PostprocessorSettings shipped;
    ASSERT_EQ(ReadPostprocessorFile(shipped, post), 0);
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        CLaserSettings settings;
        settings.Postprocessor = "OLD.MXT";
        settings.TypeMachine = "Flame";
        settings.FeedRapid = 1.0;
        ASSERT_EQ(Run(settings, {"dlg tab Machine", "dlg press 482", "file " + post.string(),
                                 ok ? "dlg press OK" : "dlg press Cancel", "dlg press OK"}),
                  host::ui::IDOK);
        EXPECT_EQ(settings.Postprocessor, "option_sheet_edit.MXT");
        EXPECT_EQ(settings.TypeMachine, ok ? shipped.MachineType : "Flame");
    }
    fs::remove(post);
}

TEST_F(OptionSheet, SelectReadsAMaterialFileIntoThePage) {
    const fs::path shipped = fs::path(KESTRION_SOURCE_DIR) / "data" / "material";
    CLaserSettings settings;
    settings.Material = "OTHER.MAT";
    settings.Density = 1.0;
    ASSERT_EQ(Run(settings, {"dlg press Select...", "file " + (shipped / "STAINLESS.MAT").string(), "dlg press OK"}),
              host::ui::IDOK);
    EXPECT_EQ(settings.Material, "STAINLESS.MAT");
    EXPECT_NE(settings.Density, 1.0);
}

TEST_F(OptionSheet, SaveAsWritesANewMaterialFileAndTheNameFollowsIt) {
    const fs::path folder = fs::temp_directory_path() / "option_sheet_materials";
    fs::remove_all(folder);
    fs::create_directories(folder);
    CLaserSettings settings;
    settings.DirMaterial = folder.string() + "/";
    ASSERT_EQ(Run(settings, {"dlg press \"Save As...\"", "file COPPER.MAT", "dlg press OK"}), host::ui::IDOK);
    std::ifstream in(folder / "COPPER.MAT");
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("DENSITY=7.850000e-06"), std::string::npos) << text;
    EXPECT_EQ(settings.Material, "COPPER.MAT");
    fs::remove_all(folder);
}

TEST_F(OptionSheet, SaveAsAsksBeforeItReplacesAFileAndNoLeavesIt) {
    const fs::path folder = fs::temp_directory_path() / "option_sheet_replace";
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream(folder / "KEEP.MAT") << "MATERIAL\nDENSITY=1\nMATERIAL_NUM=9\n";
    CLaserSettings settings;
    settings.DirMaterial = folder.string() + "/";
    ASSERT_EQ(Run(settings, {"dlg press \"Save As...\"", "file KEEP.MAT", "msgbox No", "file cancel", "dlg press OK"}),
              host::ui::IDOK);
    std::ifstream in(folder / "KEEP.MAT");
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "MATERIAL\nDENSITY=1\nMATERIAL_NUM=9\n");
    EXPECT_EQ(settings.Material, "STEEL.MAT");
    fs::remove_all(folder);
}

TEST_F(OptionSheet, AQualityMovedOnTheSliderIsNotStoredByCancel) {
    CLaserSettings settings;
    settings.Nesing_Quality = 5;
    ASSERT_EQ(Run(settings, {"dlg tab Nesting", "dlg set 307 8", "dlg cancel"}), host::ui::IDCANCEL);
    EXPECT_EQ(settings.Nesing_Quality, 5);
    ASSERT_EQ(Run(settings, {"dlg tab Nesting", "dlg set 307 8", "dlg press OK"}), host::ui::IDOK);
    EXPECT_EQ(settings.Nesing_Quality, 8);
}

TEST_F(OptionSheet, RussianLabelsAndEnglishTabTitles) {
    { CLaserSettings defaults; }
    Store("LangMenu", "RU");
    CLaserSettings settings;
    std::string label;
    std::string title;
    host::ui::Desktop& desktop = host::ui::dialogDesktop();
    IdleSteps steps(desktop, {[&](host::ui::Dialog& d) {
        auto& sheet = dynamic_cast<CSheetOption&>(d);
        label = sheet.material.itemText(339);
        title = sheet.page(0)->title();
        host::ui::DialogDriver(d).escape();
    }});
    host::ui::UseDialogUser nobody{nullptr};
    CSheetOption sheet("Конфигурация системы", nullptr, 0, settings);
    sheet.LoadSettings();
    sheet.doModal();
    EXPECT_EQ(label, "Материал");
    EXPECT_EQ(title, "Material");
}

// Pictures of every page of the system sheet, of the current-file sheet and of the About box, in both languages, in
// the build folder.
TEST_F(OptionSheet, PicturesOfEveryPageAndOfTheAboutBox) {
    host::ui::Desktop& desktop = host::ui::dialogDesktop();
    desktop.setRasterEnabled(true);
    const fs::path out = fs::path(KESTRION_BINARY_DIR) / "option_pictures";
    fs::create_directories(out);
    for (const std::string language : {"EN", "RU"}) {
        { CLaserSettings defaults; }
        Store("LangMenu", language);
        CLaserSettings settings;
        const std::string suffix = language == "EN" ? "" : "_ru";
        const auto shoot = [&](host::ui::Dialog& d, const std::string& name) {
            std::string error;
            EXPECT_TRUE(desktop.saveSnapshot(&d, out / (name + suffix + ".png"), &error)) << error;
        };
        std::vector<IdleSteps::Step> shots;
        for (int i = 0; i < 10; ++i) {
            shots.push_back([&, i](host::ui::Dialog& d) { dynamic_cast<CSheetOption&>(d).setActivePage(i); });
            shots.push_back([&, i](host::ui::Dialog& d) {
                shoot(d, "system_" + std::to_string(i + 1) + "_" + dynamic_cast<CSheetOption&>(d).page(i)->title());
            });
        }
        shots.push_back([&](host::ui::Dialog& d) { host::ui::DialogDriver(d).escape(); });
        {
            IdleSteps steps(desktop, shots);
            host::ui::UseDialogUser nobody{nullptr};
            CSheetOption sheet(Localized(kSystemSheetCaption), nullptr, 0, settings);
            sheet.LoadSettings();
            sheet.doModal();
            EXPECT_EQ(steps.left(), 0u);
        }
        {
            CuttingJob job;
            job.material = "STEEL.MAT";
            job.thickness = 2.0;
            IdleSteps steps(desktop, {[&](host::ui::Dialog& d) { shoot(d, "current_file_Material"); },
                                      [&](host::ui::Dialog& d) { host::ui::DialogDriver(d).escape(); }});
            host::ui::UseDialogUser nobody{nullptr};
            CSheetDWGOption sheet(Localized(kDrawingSheetCaption), job);
            sheet.LoadFromJob();
            sheet.doModal();
        }
        {
            IdleSteps steps(desktop, {[&](host::ui::Dialog& d) {
                                          EXPECT_EQ(d.itemText(kAboutProductLine),
                                                    language == "EN" ? "Kestrion for cadhost" : "Kestrion для cadhost");
                                          const char* version = language == "EN" ? "Version " : "Версия ";
                                          EXPECT_EQ(d.itemText(kAboutVersion).rfind(version, 0), 0u);
                                          shoot(d, "about");
                                      },
                                      [&](host::ui::Dialog& d) { host::ui::DialogDriver(d).enter(); }});
            host::ui::UseDialogUser nobody{nullptr};
            CommandAboutKestrion();
        }
    }
    desktop.setRasterEnabled(false);
}

}  // namespace
