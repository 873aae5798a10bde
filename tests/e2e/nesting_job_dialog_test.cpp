// The nesting job dialog in a whole cadhost session, driven by a script as a user drives it: a job made from
// scratch (a stock rectangle and a part rectangle, quantity and gaps, Save As, OK) is written in the job file's
// layout and nested; a job file opened in the dialog and confirmed unchanged comes back byte for byte; drawings
// the pages refuse are reported together (the unit tests of the dialog follow Yes to the drawings it opens), and a
// stock with engraving is refused when the job loads. Pictures of the dialog on each page, in English and in
// Russian, are written into the build folder's pictures/.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/laser_session.h"

// Named: the test files of this folder are compiled a few to a unit.
namespace job_dialog_test {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::count;
using e2e::RunResult;
using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

const fs::path kSource = KESTRION_SOURCE_DIR;
const fs::path kDrawings = kSource / "nesting" / "drawings" / "tests" / "fixtures";
const fs::path kPictures = fs::path(KESTRION_BINARY_DIR) / "pictures";

std::string Crlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

RunResult RunDialogScript(const ScratchFolder& folder, const std::string& script, const std::string& language = "EN") {
    const fs::path registry = e2e::writeLanguageRegistry(folder, language);
    writeBytes(folder / "run.scr", script);
    return cadhost({"--load", NESTING_MODULE, "--install", (kSource / "data").string(), "--registry",
                    registry.string(), "--script", (folder / "run.scr").string(), "--save",
                    (folder / "sheet.dxf").string()},
                   folder);
}

void CopyDrawings(const ScratchFolder& folder, const std::vector<std::string>& names) {
    for (const std::string& name : names) fs::copy_file(kDrawings / (name + ".dxf"), folder / (name + ".dxf"));
}

TEST(NestingJobDialog, JobMadeFromScratchIsSavedInTheJobLayoutAndNested) {
    ScratchFolder folder;
    fs::create_directories(kPictures);
    const fs::path job = folder / "job1.nst";
    const RunResult r = RunDialogScript(
        folder, "StartNestingAdv\n"
                "msgbox OK\n"  // no last job file yet
                "dlg set Width 1000\n"
                "dlg set Height 500\n"
                "dlg press \"Add Stock Rectangle\"\n"
                "dlg tab Parts\n"
                "dlg set Width 100\n"
                "dlg set Height 50\n"
                "dlg press \"Add Part Rectangle\"\n"
                "dlg set 223 1 6 10\n"
                "dlg set 229 10\n"
                "dlg set 230 4\n"
                "dlg press \"Save As...\"\n"
                "file " + job.string() + "\n"
                "dlg picture " + (kPictures / "job_dialog_parts.png").string() + "\n"
                "dlg tab Stock\n"
                "dlg picture " + (kPictures / "job_dialog_stock.png").string() + "\n"
                "dlg ok\n"
                "dlg ok\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("No nesting job was opened before."), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("File  is not found"), std::string::npos) << r.out;
    // The material comes from the registry's defaults; the part rectangle turns "0-360" ("1") by "Any" ("0") with
    // no sector, and both take priority "3" (index 2).
    EXPECT_EQ(readBytes(job), Crlf({"Kestrion Nesting TQ450", "", "", "", "7.85e-06", "1.0", "", "", "10", "4", "4",
                                    "", "", "1",                                                         //
                                    "0", "Stosk_1000x500", "Stosk_1000x500", "1", "0", "2", "", "", "",  //
                                    "", "", "1",                                                         //
                                    "0", "Part_100x50", "Part_100x50", "10", "0", "1", "0", "0", "0", "2", "0", "",
                                    "", "",  //
                                    "", "", "0"}));
    EXPECT_NE(r.out.find("Please wait ..."), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Stock=1/1 Parts=10/10"), std::string::npos) << r.out;
    const std::string registry = readBytes(folder / "registry.reg");
    EXPECT_NE(registry.find("\"LastFileNesting\"=\"" + job.string() + "\""), std::string::npos) << registry;
    EXPECT_NE(registry.find("\"LastDirNestDWG\"=\"\""), std::string::npos) << registry;
    EXPECT_NE(registry.find("\"LastNestingMaterial_Density\""), std::string::npos) << registry;
    EXPECT_TRUE(fs::exists(kPictures / "job_dialog_parts.png"));
    EXPECT_TRUE(fs::exists(kPictures / "job_dialog_stock.png"));
}

// A script's `dlg set` gives a field its whole text: one that is not one number is refused when the job is saved,
// naming the field and the value it keeps, and the job file holds the kept values.
TEST(NestingJobDialog, NumberFieldsSetByAScriptToATextThatIsNotOneNumberKeepTheirValue) {
    ScratchFolder folder;
    const fs::path job = folder / "job2.nst";
    const RunResult r = RunDialogScript(
        folder, "StartNestingAdv\n"
                "msgbox OK\n"  // no last job file yet
                "dlg set Width 1000\n"
                "dlg set Height 500\n"
                "dlg press \"Add Stock Rectangle\"\n"
                "dlg set 229 7\n"
                "dlg set 230 3\n"
                "dlg press \"Save As...\"\n"
                "file " + job.string() + "\n"
                "dlg set 229 2..\n"
                "dlg set 230 .\n"
                "dlg set Thickness 42.0.0\n"
                "dlg press \"Save As...\"\n"
                "msgbox OK\n"
                "dlg press \"Save As...\"\n"
                "msgbox OK\n"
                "dlg press \"Save As...\"\n"
                "msgbox OK\n"
                "dlg press \"Save As...\"\n"
                "file " + (folder / "job3.nst").string() + "\n"
                "dlg cancel\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    for (const char* told : {"Offsets, Stock: \"2..\" is not a number. The field keeps 7.",
                             "Offsets, Part: \".\" is not a number. The field keeps 3.",
                             "Thickness: \"42.0.0\" is not a number. The field keeps 1.0."})
        EXPECT_NE(r.out.find(told), std::string::npos) << told << "\n" << r.out;
    const std::string written = readBytes(folder / "job3.nst");
    EXPECT_EQ(written.substr(0, Crlf({"Kestrion Nesting TQ450", "", "", "", "7.85e-06", "1.0", "", "", "7", "3", "3"})
                                    .size()),
              Crlf({"Kestrion Nesting TQ450", "", "", "", "7.85e-06", "1.0", "", "", "7", "3", "3"}))
        << written;
}

TEST(NestingJobDialog, JobFileOpenedAndConfirmedComesBackEqual) {
    ScratchFolder folder;
    CopyDrawings(folder, {"flange", "stock_remnant", "rect_holes"});
    const std::string flange = (folder / "flange.dxf").string();
    const std::string remnant = (folder / "stock_remnant.dxf").string();
    const std::string original = Crlf({"Kestrion Nesting TQ450", "", "St37", "1.0037", "7.85e-06", "3", "", "",
                                       "10", "4", "4", "", "", "2",
                                       "0", "Stosk_2500x1250", "SheetA", "2", "0", "2", "", "", "",
                                       "2", remnant, "1", "0", "0", "", "", "",
                                       "", "", "2",
                                       "2", flange, "12", "0", "2", "5", "12", "-12", "4", "0", "", "", "",
                                       "0", "Part_300x200", "Part_300x200", "20", "90", "0", "", "0", "0", "2", "0",
                                       "", "", "",
                                       "", "", "0"});
    const fs::path job = folder / "job.nst";
    writeBytes(job, original);
    const RunResult r = RunDialogScript(folder, "OpenFileNesting\n"
                                                "dlg press Load\n"
                                                "file " + job.string() + "\n"
                                                "dlg press OK\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(readBytes(job), original) << r.out;
}

TEST(NestingJobDialog, RefusedDrawingsAreReportedInOneBoxAndAnEngravedStockWhenTheJobLoads) {
    ScratchFolder folder;
    CopyDrawings(folder, {"flange", "no_contours", "stock_engraved"});
    const std::string flange = (folder / "flange.dxf").string();
    const std::string noContours = (folder / "no_contours.dxf").string();
    const std::string engraved = (folder / "stock_engraved.dxf").string();
    const fs::path job = folder / "job3.nst";
    const RunResult r = RunDialogScript(
        folder, "StartNestingRect\n"
                "msgbox OK\n"
                "dlg tab Parts\n"
                "dlg press \"Add Part DWG\"\n"
                "file \"" + noContours + "\" \"" + flange + "\" \"" + flange + "\"\n"
                "msgbox Yes\n"
                "dlg tab Stock\n"
                "dlg press \"Add Stock DWG\"\n"
                "file \"" + engraved + "\"\n"
                "dlg set \"File Nesting\" " + job.string() + "\n"
                "dlg ok\n"
                "msgbox OK\n"  // the stock is refused when the job loads, and the dialog opens again
                "dlg cancel\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    // One box for the whole selection: the duplicate, then the drawing without contours, with Yes and No (the
    // transcript shows the box's text on one line, line breaks as spaces).
    EXPECT_NE(r.out.find("Duplicate file. The file is in the table    " + flange + "  ---"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("File does not contain contours.  Create contours and repeat the command    " + noContours),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Click No to exit    [Yes/No]"), std::string::npos) << r.out;
    EXPECT_EQ(count(r.out, "[Yes/No]"), 1u) << r.out;
    EXPECT_NE(r.out.find("contains illegal types of contours"), std::string::npos) << r.out;
    EXPECT_EQ(count(r.out, "Please wait"), 0u) << r.out;
    // Only the valid drawing took a row: the job written has one part.
    const std::string written = readBytes(job);
    EXPECT_EQ(count(written, flange), 1u) << written;
    EXPECT_EQ(count(written, noContours), 0u) << written;
}

TEST(NestingJobDialog, InRussianEveryTextIsRussianAndThePicturesAreWritten) {
    ScratchFolder folder;
    fs::create_directories(kPictures);
    // The controls by their Russian labels, or by id (201 would name the job file's edit before the part page's
    // width, which has the same id).
    const RunResult r = RunDialogScript(
        folder, "OpenFileNesting\n"
                "msgbox OK\n"
                "dlg set 246 2500\n"
                "dlg set 247 1250\n"
                "dlg press 237\n"
                "dlg tab 2\n"
                "dlg set Ширина 300\n"
                "dlg set Высота 200\n"
                "dlg press 237\n"
                "dlg picture " + (kPictures / "job_dialog_parts_ru.png").string() + "\n"
                "dlg tab 1\n"
                "dlg picture " + (kPictures / "job_dialog_stock_ru.png").string() + "\n"
                "dlg cancel\n",
        "RU");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("Dialog \"Файл задания на раскрой\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Задание на раскрой еще не открывалось."), std::string::npos) << r.out;
    EXPECT_TRUE(fs::exists(kPictures / "job_dialog_parts_ru.png"));
    EXPECT_TRUE(fs::exists(kPictures / "job_dialog_stock_ru.png"));
}

}  // namespace job_dialog_test
