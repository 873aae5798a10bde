// Modal dialogs in a cadhost session: a command of the test module shows the UI layer's sample dialog, sample
// property sheet or a message box, and the script's next lines answer them; the session goes on in step after
// them. Lines that do not fit are told with their place in the script; a script that ends while a dialog waits
// cancels it and stops the run with a message naming the line.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"

// Named, so that the helpers stay apart from those of the other tests built into one unit with them.
namespace dialog_script_test {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::RunResult;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

RunResult runScript(const ScratchFolder& folder, const std::string& lines) {
    const fs::path script = folder / "run.scr";
    writeBytes(script, lines);
    return cadhost({"--load", "testmodule", "--script", script.string()}, folder);
}

using e2e::has;

TEST(DialogScript, TheLinesAfterACommandAnswerItsDialog) {
    ScratchFolder folder;
    const RunResult r = runScript(folder,
                                  "TESTDIALOG\n"
                                  "dlg set Name Bracket\n"
                                  "dlg set Quantity 4\n"
                                  "dlg set Mirror on\n"
                                  "dlg set Material Aluminium\n"
                                  "dlg ok\n"
                                  "TESTMSGBOX\n"
                                  "msgbox No\n"
                                  ";; the session goes on in step with the script\n"
                                  "TESTLINE\n0,0\n10,10\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(has(r.out, "Command: TESTDIALOG\nDialog \"Cutting Options\": dlg set Name Bracket\n")) << r.out;
    EXPECT_TRUE(has(r.out, "Dialog answered 1: name Bracket, quantity 4, gap 2, mirror 1, units 0, material Aluminium"))
        << r.out;
    EXPECT_TRUE(has(r.out, "Message box \"Test\": Keep the changes? [Yes/No/Cancel]: msgbox No\n"
                           "Message box answered No"))
        << r.out;
    EXPECT_TRUE(has(r.out, "Line from 0.0000,0.0000 to 10.0000,10.0000")) << r.out;
}

TEST(DialogScript, ASheetsPageRefusesAndTheScriptAnswersItsMessage) {
    ScratchFolder folder;
    const RunResult r = runScript(folder,
                                  "TESTSHEET\n"
                                  "dlg tab Cutting\n"
                                  "dlg set \"Speed (mm/min)\" 0\n"
                                  "dlg ok\n"
                                  "msgbox OK\n"
                                  "dlg set \"Speed (mm/min)\" 1500\n"
                                  "dlg ok\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(has(r.out, "Message box \"Cutting\": The speed must be greater than 0. [OK]: msgbox OK")) << r.out;
    EXPECT_TRUE(has(r.out, "Sheet answered 1: machine Laser 3015, speed 1500, power High")) << r.out;
}

TEST(DialogScript, AScriptThatEndsWhileADialogWaitsCancelsItAndStops) {
    ScratchFolder folder;
    const RunResult r = runScript(folder, "TESTDIALOG\ndlg set Name Half done\n");
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(has(r.out, "Dialog answered 2: name Plate")) << r.out;
    EXPECT_TRUE(has(r.out + r.err, "run.scr, line 2")) << r.out << r.err;
}

// Before: a box the script did not answer took the following lines as wrong answers, one by one, and the run
// then ended with status 0 and saved the drawing; a "dlg set" naming a control the dialog does not have was told
// and the script went on as if it had been done. Now the script stops at that line: the dialog is cancelled, the
// run ends with status 1 naming the line, and the file named by --save is left as it was.
TEST(DialogScript, AScriptThatDoesNotFitTheDialogShownStopsAndSavesNothing) {
    const struct Case {
        const char* lines;
        const char* told;
        const char* line;
    } cases[] = {
        {"TESTLINE\n0,0\n10,10\nTESTMSGBOX\nTESTLINE\n0,0\n5,5\n",
         "\"TESTLINE\" does not answer the message box \"Test\": answer Yes, No or Cancel (Enter: Yes). A script "
         "writes msgbox <answer>",
         "line 5"},
        {"TESTSHEET\ndlg tab Cutting\ndlg set Qty 5\ndlg ok\nTESTLINE\n0,0\n5,5\n",
         "The dialog \"Machine Settings\" shows no control \"Qty\"", "line 3"},
        {"TESTDIALOG\ndlg press Save\ndlg ok\n", "The dialog \"Cutting Options\" shows no control \"Save\"", "line 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        ScratchFolder folder;
        const fs::path saved = folder / "out.dxf";
        writeBytes(saved, "kept as it was");
        writeBytes(folder / "run.scr", c.lines);
        const RunResult r = cadhost({"--load", "testmodule", "--script", (folder / "run.scr").string(), "--save",
                                     saved.string()},
                                    folder);
        EXPECT_EQ(r.status, 1) << r.err << r.out;
        EXPECT_TRUE(has(r.out, c.told)) << r.out;
        EXPECT_TRUE(has(r.err, "run.scr, " + std::string(c.line) + ": " + c.told)) << r.err;
        EXPECT_TRUE(has(r.err, "the script stops here")) << r.err;
        EXPECT_TRUE(has(r.err, "was not saved")) << r.err;
        EXPECT_EQ(host::sys::testing::readBytes(saved), "kept as it was");
        EXPECT_FALSE(has(r.out, "Line from 0.0000,0.0000 to 5.0000,5.0000")) << r.out;
    }
}

TEST(DialogScript, AtTheTerminalAPersonSeesTheDialogAsTextAndAnswersIt) {
    ScratchFolder folder;
    const RunResult r = cadhost({"--load", "testmodule"}, folder, "TESTDIALOG\nset 2 9\nhelp\nok\nQUIT\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(has(r.out, "Dialog \"Cutting Options\"\n  1. Name: \"Plate\"\n  2. Quantity: \"1\"\n")) << r.out;
    EXPECT_TRUE(has(r.out, "  2. Quantity: \"9\"\n")) << r.out;
    EXPECT_TRUE(has(r.out, "Type one of:")) << r.out;
    EXPECT_TRUE(has(r.out, "Dialog answered 1: name Plate, quantity 9")) << r.out;
}

}  // namespace dialog_script_test
