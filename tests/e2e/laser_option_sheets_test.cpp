// The option sheets, the language switch, the tutorial and the About box in cadhost sessions run by scripts as a user
// would: values typed into the system options reach the registry file and the next cutting path and NC program,
// the current drawing's options reach the next program, and the language commands switch the messages, the menu
// and the registry both ways.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "host/db/dictionary.h"
#include "host/db/entities.h"
#include "host/dxf/dxf_file.h"
#include "host/sys/text_case.h"
#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/path_visits.h"

namespace laser_option_sheets_e2e {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::RunResult;
using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

const fs::path kSource = KESTRION_SOURCE_DIR;

using e2e::has;

fs::path writeRegistry(const ScratchFolder& folder, const std::vector<std::pair<std::string, std::string>>& values) {
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n"
                       "\"LangMenu\"=\"EN\"\r\n";
    for (const auto& [name, value] : values) text += "\"" + name + "\"=\"" + value + "\"\r\n";
    const fs::path registry = folder / "registry.reg";
    writeBytes(registry, text);
    return registry;
}

// A session on the plate with two holes, with the installation's data and the registry given; the drawing is saved
// as out.dxf.
RunResult runPlate(const ScratchFolder& folder, const fs::path& registry, const std::string& script,
                   std::vector<std::string> extra = {}) {
    const fs::path drawing = folder / "plate.dxf";
    if (!fs::exists(drawing)) fs::copy_file(kSource / "laser/contours/tests/fixtures/plate_two_holes.dxf", drawing);
    writeBytes(folder / "run.scr", script);
    std::vector<std::string> args = {drawing.string(), "--load", "laser", "--install", (kSource / "data").string(),
                                     "--registry", registry.string(), "--script", (folder / "run.scr").string(),
                                     "--save", (folder / "out.dxf").string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return cadhost(args, folder);
}

// The length of the first lead-in of the saved path: from the end of the first rapid move to the first point on the
// contour.
double firstLeadIn(const fs::path& saved) {
    host::dxf::ReadResult read = host::dxf::readDxfFile(saved);
    EXPECT_TRUE(read) << read.error;
    if (!read) return -1;
    int circles = 0;
    const std::vector<e2e::Visit> path = e2e::pathVisits(*read.database, circles);
    for (std::size_t k = 1; k < path.size(); ++k) {
        if (path[k].cutting && !path[k - 1].cutting) {
            return std::hypot(path[k].at.x - path[k - 1].at.x, path[k].at.y - path[k - 1].at.y);
        }
    }
    return -1;
}

// Scenario: every page of the system options visited; a refused character, a refused clamp count, Apply, and OK.
TEST(LaserOptionSheets, ValuesTypedInTheSystemOptionsReachTheRegistryThePathAndTheProgram) {
    ScratchFolder folder;
    const fs::path registry = writeRegistry(folder, {{"Nesing_ClampUse", "1"}, {"Nesing_ClampQuantity", "3"}});
    const RunResult r = runPlate(folder, registry,
                                 "NCConfig\n"
                                 "dlg tab Display\ndlg tab Cutting\n"
                                 "dlg set 229 1a\nmsgbox ok\n"
                                 "dlg set 227 9\n"
                                 "dlg set Clockwise on\n"
                                 "dlg press Apply\n"
                                 "dlg tab \"Cut corner\"\ndlg tab Profile\ndlg tab Options\n"
                                 "dlg tab Machine\ndlg set 232 450\n"
                                 "dlg tab Nesting\ndlg tab Unload\n"
                                 "dlg tab Clamp\ndlg set 474 33\nmsgbox ok\n"
                                 "dlg press OK\n"
                                 "NCCreateContour\nNCSliceAuto\n"
                                 "NCCreate\ndlg ok\ndlg set 249 Plate\ndlg press OK\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(has(r.out, "Invalid symbol in the string - 1a")) << r.out;
    EXPECT_TRUE(has(r.out, "Wrong number of clamps - 33")) << r.out;
    EXPECT_TRUE(has(r.out, "LOADNESTOPTIONS")) << r.out;

    const std::string stored = readBytes(registry);
    // "1a" is refused whole: the "1" before the letter no longer reaches the registry as the angle.
    EXPECT_FALSE(has(stored, "\"Angle\"=\"1.000000\"")) << stored;
    EXPECT_TRUE(has(stored, "\"LeadInSpan\"=\"9.000000\"")) << stored;
    EXPECT_TRUE(has(stored, "\"CutLineDirection\"=\"1\"")) << stored;
    EXPECT_TRUE(has(stored, "\"FeedCut\"=\"450.000000\"")) << stored;
    EXPECT_TRUE(has(stored, "\"Nesing_ClampQuantity\"=\"3\"")) << stored;

    EXPECT_NEAR(firstLeadIn(folder / "out.dxf"), 9.0, 1e-3);
    const std::string program = readBytes(folder / "plate.nc");
    EXPECT_TRUE(has(program, " F450")) << program;
    // Clockwise cutting: every circle is a G02 block.
    EXPECT_TRUE(has(program, "G02")) << program;
    EXPECT_FALSE(has(program, "G03")) << program;
}

// The colour indices of the cut members (lines and arcs drawn "CONTINUOUS") of the saved path groups.
std::set<int> cutColours(const fs::path& saved) {
    std::set<int> colours;
    host::dxf::ReadResult read = host::dxf::readDxfFile(saved);
    EXPECT_TRUE(read) << read.error;
    if (!read) return colours;
    const host::db::Database& db = *read.database;
    const auto* groups = dynamic_cast<const host::db::Dictionary*>(db.peek(db.groupDictionaryId()));
    if (groups == nullptr) return colours;
    for (int n = 1;; ++n) {
        const host::db::ObjectId id = groups->getAt("DOROZ_" + std::to_string(n));
        if (id.isNull()) break;
        for (host::db::ObjectId m : dynamic_cast<const host::db::Group*>(db.peek(id))->allEntityIds()) {
            const auto* e = dynamic_cast<const host::db::Entity*>(db.peek(m));
            if (e != nullptr && host::sys::equalsNoCase(e->linetype(), "CONTINUOUS")) colours.insert(e->colorIndex());
        }
    }
    return colours;
}

// The colour of cut moves chosen on the Display page never reached a cut line (the path draws each side in its
// own colour setting), and after a path the next OK of the sheet stored the old colour again.
TEST(LaserOptionSheets, TheCutColourChosenOnTheDisplayPageDrawsTheNextPathAndStaysChosen) {
    ScratchFolder folder;
    const fs::path registry = writeRegistry(folder, {});
    const RunResult r = runPlate(folder, registry,
                                 "NCConfig\ndlg tab Display\ndlg set \"Line Feed move\" Green\ndlg press OK\n"
                                 "NCCreateContour\nNCSliceAuto\n"
                                 "NCConfig\ndlg press OK\n"
                                 "NCSliceAuto\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    const std::string stored = readBytes(registry);
    for (const char* name : {"ColorFeed", "ColorFeed_G40", "ColorFeed_G41", "ColorFeed_G42"}) {
        EXPECT_TRUE(has(stored, "\"" + std::string(name) + "\"=\"3\"")) << name << "\n" << stored;
    }
    EXPECT_EQ(cutColours(folder / "out.dxf"), std::set<int>{3});
}

// The Machine and Material pages keep the folder of a chosen file with a final '\'. The file dialog took that
// character as part of the folder's name, so the next pick by name failed with ".../post\/NAME.MXT Path does not
// exist", in the same session and in the next, which reads the folder back from the registry.
TEST(LaserOptionSheets, AFileIsPickedByNameInTheRememberedFolderOfTheMachineAndMaterialPages) {
    ScratchFolder folder;
    const fs::path registry = writeRegistry(folder, {});
    const fs::path data = kSource / "data";
    const RunResult first = runPlate(folder, registry,
                                     "NCConfig\n"
                                     "dlg tab Machine\ndlg press Select...\nfile " + (data / "post" / "FANUC.MXT").string() +
                                         "\ndlg press Select...\nfile LINUXCNC_PLASMA.MXT\n"
                                         "dlg tab Material\ndlg press Select...\nfile " +
                                         (data / "material" / "STEEL.MAT").string() +
                                         "\ndlg press Select...\nfile STAINLESS.MAT\n"
                                         "dlg press OK\n"
                                         "NCConfig\n"
                                         "dlg tab Machine\ndlg press Select...\nfile LINUXCNC_WATERJET.MXT\n"
                                         "dlg tab Material\ndlg press Select...\nfile STEEL.MAT\n"
                                         "dlg press OK\n");
    ASSERT_EQ(first.status, 0) << first.err << first.out;
    EXPECT_FALSE(has(first.out, "Path does not exist")) << first.out;
    std::string stored = readBytes(registry);
    EXPECT_TRUE(has(stored, "\"Postprocessor\"=\"LINUXCNC_WATERJET.MXT\"")) << stored;
    EXPECT_TRUE(has(stored, "\"Material\"=\"STEEL.MAT\"")) << stored;
    EXPECT_TRUE(has(stored, "post\\\\\"")) << "the folder is kept with its final backslash\n" << stored;

    const RunResult next = runPlate(folder, registry,
                                    "NCConfig\n"
                                    "dlg tab Machine\ndlg press Select...\nfile FANUC.MXT\n"
                                    "dlg tab Material\ndlg press Select...\nfile STAINLESS.MAT\n"
                                    "dlg press OK\n");
    ASSERT_EQ(next.status, 0) << next.err << next.out;
    EXPECT_FALSE(has(next.out, "Path does not exist")) << next.out;
    stored = readBytes(registry);
    EXPECT_TRUE(has(stored, "\"Postprocessor\"=\"FANUC.MXT\"")) << stored;
    EXPECT_TRUE(has(stored, "\"Material\"=\"STAINLESS.MAT\"")) << stored;
}

TEST(LaserOptionSheets, CancelAfterApplyKeepsWhatApplyStoredAndTheNestingModuleIsToldEitherWay) {
    ScratchFolder folder;
    const fs::path registry = writeRegistry(folder, {});
    const RunResult r = runPlate(folder, registry,
                                 "NCConfig\ndlg tab Cutting\ndlg set Clockwise on\ndlg press Apply\n"
                                 "dlg set 227 12\ndlg cancel\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    const std::string stored = readBytes(registry);
    EXPECT_TRUE(has(stored, "\"CutLineDirection\"=\"1\"")) << stored;
    EXPECT_TRUE(has(stored, "\"LeadInSpan\"=\"6.000000\"")) << stored;
    EXPECT_TRUE(has(r.out, "LOADNESTOPTIONS")) << r.out;
}

TEST(LaserOptionSheets, TheCurrentDrawingsMaterialAndThicknessReachTheNextProgram) {
    ScratchFolder folder;
    const fs::path registry = writeRegistry(folder, {});
    const RunResult r = runPlate(folder, registry,
                                 "IniKestrion\nmsgbox ok\n"
                                 "NCCreateContour\nNCSliceAuto\n"
                                 "IniKestrion\ndlg set 228 ALU.MAT\ndlg set 240 3.5\ndlg set 238 inc\ndlg press OK\n"
                                 "NCCreate\ndlg ok\ndlg set 249 Plate\ndlg press OK\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(has(r.out, "Contours are not created")) << r.out;
    const std::string program = readBytes(folder / "plate.nc");
    EXPECT_TRUE(has(program, "(PLATE ALU T=3.500)")) << program;
    // The system's own material is not touched by the drawing's options.
    const std::string stored = readBytes(registry);
    EXPECT_FALSE(has(stored, "ALU.MAT")) << stored;
}

// Scenario: Russian, then English again; the tutorial of each language; the About box.
TEST(LaserOptionSheets, TheLanguageCommandsSwitchMessagesMenuAndRegistryBothWays) {
    ScratchFolder folder;
    const fs::path registry = writeRegistry(folder, {});
    const fs::path opened = folder / "opened.txt";
    const RunResult r = runPlate(folder, registry,
                                 "NCCreateContour\n"
                                 "KestrionLangRU\n"
                                 "NCSliceAuto\n"
                                 "TutorialKestrion\n"
                                 "AboutKestrion\ndlg ok\n"
                                 "KestrionLangEN\n"
                                 "NCSliceAuto\n"
                                 "TutorialKestrion\n"
                                 "HelpKestrion\n",
                                 {"--open-with", "sh -c 'echo \"$0\" >> " + opened.string() + "'"});
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    const std::size_t switchedBack = r.out.find("KestrionLangEN");
    ASSERT_NE(switchedBack, std::string::npos) << r.out;
    const std::string russian = r.out.substr(0, switchedBack);
    const std::string english = r.out.substr(switchedBack);
    EXPECT_TRUE(has(russian, "Время  0 мин")) << russian;
    EXPECT_TRUE(has(russian, "Dialog \"О программе\"")) << russian;
    EXPECT_TRUE(has(english, "Time  0 min")) << english;
    EXPECT_FALSE(has(english, "Время")) << english;
    // Each switch loads the product menu of its language.
    EXPECT_TRUE(has(russian, "Menu group \"Kestrion\" loaded.")) << russian;
    EXPECT_TRUE(has(english, "Menu group \"Kestrion\" loaded.")) << english;
    EXPECT_FALSE(has(r.out, "could not be loaded")) << r.out;
    const std::string stored = readBytes(registry);
    EXPECT_TRUE(has(stored, "\"LangMenu\"=\"EN\"")) << stored;

    std::string paths;
    for (int i = 0; i < 50 && paths.size() < 3; ++i) {
        paths = readBytes(opened);
        if (std::count(paths.begin(), paths.end(), '\n') >= 3) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(has(paths, "Tutorial_RU.md")) << paths;
    EXPECT_TRUE(has(paths, "Tutorial.md")) << paths;
    EXPECT_TRUE(has(paths, "Help.md")) << paths;
    for (const char* document : {"Tutorial.md", "Tutorial_RU.md", "help/Help.md", "help/Help_RU.md"}) {
        EXPECT_TRUE(fs::exists(kSource / "data" / document)) << document;
    }
}

TEST(LaserOptionSheets, AfterTheSwitchToRussianTheRegistryHoldsItAndIniKestrionRefusesInRussian) {
    ScratchFolder folder;
    const fs::path registry = writeRegistry(folder, {});
    writeBytes(folder / "run.scr", "KestrionLangRU\nIniKestrion\nmsgbox OK\n");
    const RunResult r = cadhost({"--load", "laser", "--install", (kSource / "data").string(), "--registry",
                                 registry.string(), "--script", (folder / "run.scr").string()},
                                folder);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(has(r.out, "Ошибка - Контуры не созданы.")) << r.out;
    EXPECT_TRUE(has(readBytes(registry), "\"LangMenu\"=\"RU\"")) << readBytes(registry);
}

}  // namespace laser_option_sheets_e2e
