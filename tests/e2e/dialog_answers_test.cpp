// Dialogs answered as a newcomer expects them to be: a box without a caption names the program, Enter presses a
// box's default button, a box that only informs gives way to the next line for the dialog beneath it, and a file
// dialog shows the name it proposes and takes a button's label as a press of that button.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/laser_session.h"

// Named, so that the helpers stay apart from those of the other tests built into one unit with them.
namespace dialog_answers_test {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::RunResult;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

const fs::path kSource = KESTRION_SOURCE_DIR;

using e2e::has;

// The sample's drawing aids erased, its contours and path made: the program dialog is the next step.
std::string platePathScript() {
    return "ERASE\nC\n23.5,29.9\n24.5,30.1\nC\n34.9,18.5\n35.1,19.5\nC\n23.5,89.9\n24.5,90.1\nC\n34.9,78.5\n"
           "35.1,79.5\nW\n50,85\n190,115\n\nNCCreateContour\nNCSliceAuto\n";
}

// Before: a feed typed with a letter raised "Invalid symbol" in a box titled "", and every later "dlg" line went
// to that box ("The dialog "" shows no control ...") until the script ended with the program unwritten; the save
// dialog did not say which name it proposed, and "Save" typed there made a file called "Save"; and the digits
// typed before the letter stayed in the field and went into the program as its feed.
TEST(DialogAnswers, AFieldCheckGivesWayToTheDialogAndTheSaveDialogProposesItsName) {
    ScratchFolder folder;
    fs::copy_file(kSource / "examples/plate.dxf", folder / "plate.dxf");
    const RunResult r = e2e::runLaserScript(folder / "plate.dxf", folder,
                                            platePathScript() +
                                                "NCCreate\n"
                                                "file Save\n"
                                                "dlg set \"Cutting feed\" 250x\n"
                                                "dlg set 249 Plate 1\n"
                                                "dlg show\n"
                                                "dlg press OK\n",
                                            folder / "saved.dxf");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(has(r.out, "File dialog \"Save As\" in " + folder.path().string() + ", name \"plate.nc\": file Save"))
        << r.out;
    EXPECT_FALSE(fs::exists(folder / "Save")) << r.out;
    EXPECT_TRUE(has(r.out, "Message box \"Kestrion\": Invalid symbol in the string - 250x [OK]: dlg set 249 Plate 1\n"
                           "(The message box is answered OK; the line goes to the dialog beneath.)\n"
                           "Dialog \"Create program\": dlg set 249 Plate 1"))
        << r.out;
    EXPECT_TRUE(has(r.out, "is successfully created")) << r.out;
    ASSERT_TRUE(fs::exists(folder / "plate.nc")) << r.out;
    // The value was refused whole: the field kept the feed it showed before, not the digits before the letter
    // (a typo of 3OO for 300 made a program of F3, and FeedCut=3 in the registry).
    const std::string program = host::sys::testing::readBytes(folder / "plate.nc");
    const std::size_t shown = r.out.find("Cutting feed: \"");
    ASSERT_NE(shown, std::string::npos) << r.out;
    const std::string before = r.out.substr(shown + 15, r.out.find('"', shown + 15) - shown - 15);
    EXPECT_NE(before, "250") << r.out;
    const std::string feed = "F" + std::to_string(static_cast<int>(std::stod(before)));
    EXPECT_TRUE(has(program, feed)) << before << "\n" << program;
    EXPECT_FALSE(has(program, "F250")) << program;
    EXPECT_FALSE(has(host::sys::testing::readBytes(folder / "registry.reg"), "\"FeedCut\"=\"250\""));
}

// Before: the program dialog's two "Select..." buttons had one name, so a script or a person at the terminal could
// press only the first. Each is named by the field it serves, as the dialog lists them.
TEST(DialogAnswers, TheProgramDialogsTwoSelectButtonsEachHaveAName) {
    ScratchFolder folder;
    fs::copy_file(kSource / "examples/plate.dxf", folder / "plate.dxf");
    const RunResult r = e2e::runLaserScript(folder / "plate.dxf", folder,
                                            platePathScript() +
                                                "NCCreate\n"
                                                "file Save\n"
                                                "dlg show\n"
                                                "dlg press \"Select... (Postprocessor)\"\n"
                                                "file cancel\n"
                                                "dlg press \"Select... (File name)\"\n"
                                                "file cancel\n"
                                                "dlg set 249 Plate 1\n"
                                                "dlg press OK\n",
                                            folder / "saved.dxf");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(has(r.out, "[Select... (File name)] [Select... (Postprocessor)]")) << r.out;
    const std::size_t post = r.out.find("dlg press \"Select... (Postprocessor)\"");
    ASSERT_NE(post, std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("File dialog \"Open\"", post), r.out.find("File dialog", post)) << r.out;
    const std::size_t output = r.out.find("dlg press \"Select... (File name)\"");
    ASSERT_NE(output, std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("File dialog \"Save As\"", output), r.out.find("File dialog", output)) << r.out;
    EXPECT_TRUE(has(r.out, "is successfully created")) << r.out;
}

TEST(DialogAnswers, EnterPressesTheDefaultButtonOfABox) {
    ScratchFolder folder;
    writeBytes(folder / "run.scr", "TESTMSGBOX\n\n");
    const RunResult r = cadhost({"--load", "testmodule", "--script", (folder / "run.scr").string()}, folder);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(has(r.out, "Message box answered Yes")) << r.out;
}

TEST(DialogAnswers, AtTheTerminalEnterTakesTheDefaultsToo) {
    ScratchFolder folder;
    const RunResult r = cadhost({"--load", "testmodule"}, folder, "TESTMSGBOX\n\nQUIT\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(has(r.out, "Message box answered Yes")) << r.out;
}

// A drawing made in inches was cut as millimetres (G21 with inch numbers, leads longer than the part) without a
// word. Now its job is in inches, and the user is told once, as the job is made.
TEST(DialogAnswers, ANewJobSaysWhenItTakesTheDrawingsUnitsAndNotTheSettings) {
    ScratchFolder folder;
    std::string plate = host::sys::testing::readBytes(kSource / "examples/plate.dxf");
    const std::size_t at = plate.find("$INSUNITS\n 70\n4\n");
    ASSERT_NE(at, std::string::npos);
    plate.replace(at, std::string("$INSUNITS\n 70\n4\n").size(), "$INSUNITS\n 70\n1\n");
    writeBytes(folder / "inches.dxf", plate);
    const RunResult r = e2e::runLaserScript(folder / "inches.dxf", folder, platePathScript(), folder / "saved.dxf");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    const std::string said = "The drawing is drawn in inches: the job is in inches; the lengths of the settings (in "
                             "millimetres) are converted.";
    EXPECT_TRUE(has(r.out, said)) << r.out;
    EXPECT_EQ(r.out.find(said), r.out.rfind(said)) << "said once\n" << r.out;
    EXPECT_TRUE(has(r.out, "All contours = 4")) << r.out;

    const RunResult same = e2e::runLaserScript(kSource / "examples/plate.dxf", folder, platePathScript(),
                                               folder / "same.dxf");
    ASSERT_EQ(same.status, 0) << same.err << same.out;
    EXPECT_FALSE(has(same.out, "The drawing is drawn in")) << same.out;
}

}  // namespace dialog_answers_test
