// cadhost at a terminal, as a person uses it: a pseudo-terminal types the keys (Tab, the arrows, Ctrl-C, Esc, F1)
// and reads what the screen shows. Before, Ctrl-C killed the program with the drawing unsaved, the up arrow was
// read as an answer, HELP was an unknown command and QUIT dropped unsaved drawings without a word.
#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/terminal_session.h"

namespace {

namespace fs = std::filesystem;
using host::sys::testing::ScratchFolder;
using e2e::Terminal;

TEST(TerminalSession, KeysOfACommandLineWork) {
    ScratchFolder folder;
    Terminal t(folder, {"--load", "testmodule"});
    ASSERT_TRUE(t.started());
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();

    // Tab completes a command name; HELP lists the groups with their commands.
    t.type("HEL\t\r");
    ASSERT_TRUE(t.waitFor("TESTMODULE, 10:")) << t.screen();
    ASSERT_TRUE(t.waitFor("QUIT")) << t.screen();
    // F1 is HELP too.
    t.type("\x1bOP");
    ASSERT_TRUE(t.waitFor("Commands, by group")) << t.screen();

    // Ctrl-C cancels the prompt of a command, as Esc then Enter does; the up arrow brings the command back.
    t.type("TESTLINE\r");
    ASSERT_TRUE(t.waitFor("First point: ")) << t.screen();
    t.type("\x03");
    ASSERT_TRUE(t.waitFor("*Cancel*")) << t.screen();
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    t.type("\x1b[A\r");
    ASSERT_TRUE(t.waitFor("First point: ")) << t.screen();
    t.type("\x1b\r");
    ASSERT_TRUE(t.waitFor("*Cancel*")) << t.screen();

    // A line drawn makes the drawing unsaved: Ctrl-C twice at the idle prompt asks before leaving; Cancel stays.
    t.type("TESTLINE\r0,0\r1,1\r");
    ASSERT_TRUE(t.waitFor("Line from 0.0000,0.0000 to 1.0000,1.0000")) << t.screen();
    t.type("\x03");
    ASSERT_TRUE(t.waitFor("Press Ctrl-C again to leave")) << t.screen();
    t.type("\x03");
    ASSERT_TRUE(t.waitFor("Save changes to Drawing1.dxf? [Yes/No/Cancel] <Yes>: ")) << t.screen();
    t.type("Cancel\r");
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();

    // QUIT asks too; Yes saves the drawing under the name the person gives.
    const fs::path saved = folder / "kept.dxf";
    t.type("QUIT\r");
    ASSERT_TRUE(t.waitFor("Save changes to Drawing1.dxf?")) << t.screen();
    t.type("Yes\r");
    ASSERT_TRUE(t.waitFor("Save drawing as <Drawing1.dxf>: ")) << t.screen();
    t.type(saved.string() + "\r");
    EXPECT_EQ(t.exitStatus(), 0) << t.screen();
    EXPECT_TRUE(fs::exists(saved)) << t.screen();

    // The commands typed are kept for the next session, without the answers given to them.
    const std::string history = host::sys::testing::readBytes(folder / "kestrion" / "history");
    EXPECT_NE(history.find("TESTLINE"), std::string::npos) << history;
    EXPECT_EQ(history.find("0,0"), std::string::npos) << history;
}

TEST(TerminalSession, QuitWithNothingUnsavedLeavesAtOnce) {
    ScratchFolder folder;
    Terminal t(folder, {"--load", "testmodule"});
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    t.type("QUIT\r");
    EXPECT_EQ(t.exitStatus(), 0) << t.screen();
    EXPECT_EQ(t.screen().find("Save changes"), std::string::npos) << t.screen();
}

// The cutting-path module at a terminal without --open-with: HelpKestrion and TutorialKestrion did nothing, the
// About box showed as an empty dialog, and NCPlay returned at once and showed nothing.
TEST(TerminalSession, HelpAboutAndPlayTellTheirTextAtATerminal) {
    ScratchFolder folder;
    const fs::path source = KESTRION_SOURCE_DIR;
    const fs::path drawing = folder / "plate.dxf";
    fs::copy_file(source / "laser/contours/tests/fixtures/plate_two_holes.dxf", drawing);
    host::sys::testing::writeBytes(folder / "registry.reg",
                                   "Windows Registry Editor Version 5.00\r\n\r\n"
                                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n\"LangMenu\"=\"EN\"\r\n");
    Terminal t(folder, {drawing.string(), "--load", "laser", "--install", (source / "data").string()});
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();

    t.type("HelpKestrion\r");
    ASSERT_TRUE(t.waitFor("The document is " + (source / "data" / "help" / "Help.md").string() +
                          ". No program is set to open it"))
        << t.screen();
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    t.type("TutorialKestrion\r");
    ASSERT_TRUE(t.waitFor((source / "data" / "Tutorial.md").string() + ". No program is set")) << t.screen();
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();

    t.type("AboutKestrion\r");
    ASSERT_TRUE(t.waitFor("Dialog \"About\"")) << t.screen();
    ASSERT_TRUE(t.waitFor("Kestrion for cadhost")) << t.screen();
    ASSERT_TRUE(t.waitFor("Version ")) << t.screen();
    ASSERT_TRUE(t.waitFor("About> ")) << t.screen();
    t.type("ok\r");
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();

    t.type("NCCreateContour\r");
    ASSERT_TRUE(t.waitFor("All contours = 3")) << t.screen();
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    t.type("NCPlay\r");
    ASSERT_TRUE(t.waitFor("There is no cutting path to play")) << t.screen();
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    t.type("NCSliceAuto\r");
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    t.type("NCPlay\r");
    ASSERT_TRUE(t.waitFor("The cutting path was played: ")) << t.screen();
    ASSERT_TRUE(t.waitFor("run cadhost with --play-svg OUT.svg")) << t.screen();
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    // NCPlay1 played the picked group and said nothing of it.
    t.type("NCPlay1\r");
    ASSERT_TRUE(t.waitFor("Choose a processed contour")) << t.screen();
    t.type("110,10\r");
    ASSERT_TRUE(t.waitFor("The cutting path was played: ")) << t.screen();
    ASSERT_TRUE(t.waitFor("run cadhost with --play-svg OUT.svg")) << t.screen();
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();

    t.type("QUIT\r");
    ASSERT_TRUE(t.waitFor("Save changes to ")) << t.screen();
    t.type("No\r");
    EXPECT_EQ(t.exitStatus(), 0) << t.screen();
}

// Before: Enter at "Save drawing as <Drawing1.dxf>:" saved nothing and QUIT was dropped without a word. Enter
// takes the name offered; Esc there keeps the drawing open and says that QUIT is cancelled.
TEST(TerminalSession, QuitSavesANewDrawingUnderTheNameOfferedOnEnter) {
    ScratchFolder folder;
    Terminal t(folder, {"--load", "testmodule"});
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    t.type("TESTLINE\r0,0\r1,1\r");
    ASSERT_TRUE(t.waitFor("Line from 0.0000,0.0000 to 1.0000,1.0000")) << t.screen();
    t.type("QUIT\r");
    ASSERT_TRUE(t.waitFor("Save changes to Drawing1.dxf?")) << t.screen();
    t.type("Yes\r");
    ASSERT_TRUE(t.waitFor("Save drawing as <Drawing1.dxf>: ")) << t.screen();
    t.type("\x1b\r");
    ASSERT_TRUE(t.waitFor("Drawing1.dxf stays open, unsaved: QUIT is cancelled.")) << t.screen();
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    EXPECT_FALSE(fs::exists(folder / "Drawing1.dxf"));

    t.type("QUIT\r");
    ASSERT_TRUE(t.waitFor("Save changes to Drawing1.dxf?")) << t.screen();
    t.type("Yes\r");
    ASSERT_TRUE(t.waitFor("Save drawing as <Drawing1.dxf>: ")) << t.screen();
    t.type("\r");
    EXPECT_EQ(t.exitStatus(), 0) << t.screen();
    EXPECT_TRUE(fs::exists(folder / "Drawing1.dxf")) << t.screen();
}

// A person at the terminal in a dialog: a number is a field of the listing, and one past the fields listed names
// nothing there (it was taken for a control id: "press 2" pressed Cancel, the control of id 2).
TEST(TerminalSession, ANumberPastTheListedFieldsIsToldAndNotTakenForAnId) {
    ScratchFolder folder;
    Terminal t(folder, {"--load", "testmodule"});
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    t.type("TESTDIALOG\r");
    ASSERT_TRUE(t.waitFor("Cutting Options> ")) << t.screen();
    t.type("press 2\r");
    ASSERT_TRUE(t.waitFor("\"Quantity\" is an edit, not a button.")) << t.screen();
    t.type("press 9\r");
    ASSERT_TRUE(t.waitFor("fields, not 9: name a button by its label, a control by its id as \"#9\".")) << t.screen();
    ASSERT_TRUE(t.waitFor("Cutting Options> ")) << t.screen();
    t.type("ok\r");
    ASSERT_TRUE(t.waitFor("Dialog answered 1: name Plate")) << t.screen();
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    t.type("QUIT\r");
    EXPECT_EQ(t.exitStatus(), 0) << t.screen();
}

// A number field at the terminal's set: "2.5.1" for the lead-out was stored as 2.5 and an empty lead-in as 0. The
// sheet's OK refuses it, the box says what the field keeps, and the registry keeps the value.
TEST(TerminalSession, ANumberFieldSetToATextThatIsNotOneNumberKeepsItsValue) {
    ScratchFolder folder;
    const fs::path source = KESTRION_SOURCE_DIR;
    const fs::path drawing = folder / "plate.dxf";
    fs::copy_file(source / "laser/contours/tests/fixtures/plate_two_holes.dxf", drawing);
    host::sys::testing::writeBytes(folder / "registry.reg",
                                   "Windows Registry Editor Version 5.00\r\n\r\n"
                                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n\"LangMenu\"=\"EN\"\r\n"
                                   "\"LeadInSpan\"=\"6.000000\"\r\n\"LeadOutSpan\"=\"3.000000\"\r\n");
    Terminal t(folder, {drawing.string(), "--load", "laser", "--install", (source / "data").string()});
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    const std::string prompt = "Configuration of the system> ";
    t.type("NCConfig\r");
    ASSERT_TRUE(t.waitFor(prompt)) << t.screen();
    t.type("tab Cutting\r");
    ASSERT_TRUE(t.waitFor("showing \"Cutting\"")) << t.screen();
    ASSERT_TRUE(t.waitFor(prompt)) << t.screen();
    t.type("set 3 2.5.1\r");
    ASSERT_TRUE(t.waitFor(prompt)) << t.screen();
    t.type("ok\r");
    ASSERT_TRUE(t.waitFor("\"2.5.1\" is not a number. The field keeps 3.000.")) << t.screen();
    t.type("ok\r");
    ASSERT_TRUE(t.waitFor(prompt)) << t.screen();
    t.type("set \"Lead in span (B)\" \"\"\r");
    ASSERT_TRUE(t.waitFor(prompt)) << t.screen();
    t.type("ok\r");
    ASSERT_TRUE(t.waitFor("\"\" is not a number. The field keeps 6.000.")) << t.screen();
    t.type("ok\r");
    ASSERT_TRUE(t.waitFor(prompt)) << t.screen();
    t.type("ok\r");
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    t.type("QUIT\r");
    t.type("No\r");
    EXPECT_EQ(t.exitStatus(), 0) << t.screen();
    const std::string registry = host::sys::testing::readBytes(folder / "registry.reg");
    EXPECT_NE(registry.find("\"LeadOutSpan\"=\"3.000000\""), std::string::npos) << registry;
    EXPECT_NE(registry.find("\"LeadInSpan\"=\"6.000000\""), std::string::npos) << registry;
}

// The nesting job dialog at a terminal: the table listing names what each choice cell takes, a value that is
// none of them is refused with them named, the heading row cannot be written, and OK loads the job without the
// drawing-clearing purge's report.
TEST(TerminalSession, TheJobDialogsTableIsListedAndCheckedAtATerminal) {
    ScratchFolder folder;
    const fs::path source = KESTRION_SOURCE_DIR;
    host::sys::testing::writeBytes(folder / "registry.reg",
                                   "Windows Registry Editor Version 5.00\r\n\r\n"
                                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n\"LangMenu\"=\"EN\"\r\n");
    Terminal t(folder, {"--load", NESTING_MODULE, "--install", (source / "data").string()});
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    t.type("OpenFileNesting\r");
    ASSERT_TRUE(t.waitFor("No nesting job was opened before.")) << t.screen();
    t.type("ok\r");
    ASSERT_TRUE(t.waitFor("File Nesting> ")) << t.screen();
    t.type("tab Parts\r");
    t.type("set Width 100\r");
    t.type("set Height 50\r");
    t.type("press \"Add Part Rectangle\"\r");
    t.type("show\r");
    ASSERT_TRUE(t.waitFor("8:Type Rotate takes one of: No Rotate, 0-360, Sector, Sector+180")) << t.screen();
    ASSERT_TRUE(t.waitFor("File Nesting> ")) << t.screen();
    t.type("set #223 1 8 xyz\r");
    ASSERT_TRUE(t.waitFor("\"xyz\" is not a choice of \"Type Rotate\": choose one of No Rotate, 0-360, Sector, "
                          "Sector+180."))
        << t.screen();
    t.type("ok\r");
    ASSERT_TRUE(t.waitFor("File Nesting> ")) << t.screen();
    t.type("set #223 0 Qty 5\r");
    ASSERT_TRUE(t.waitFor("has no row \"0\"; its rows are 1 to 1")) << t.screen();
    ASSERT_TRUE(t.waitFor("File Nesting> ")) << t.screen();
    t.type("set #223 1 Qty 5\r");
    t.type("tab Stock\r");
    t.type("set Width 1000\r");
    t.type("set Height 500\r");
    t.type("press \"Add Stock Rectangle\"\r");
    t.type("set 1 " + (folder / "job.nst").string() + "\r");
    t.type("ok\r");
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    EXPECT_TRUE(fs::exists(folder / "job.nst")) << t.screen();
    EXPECT_EQ(t.screen().find("No unreferenced blocks found."), std::string::npos) << t.screen();
    EXPECT_EQ(t.screen().find("Type Rotate  takes"), std::string::npos);
    t.type("QUIT\r");
    if (t.waitFor("Save changes to ", 5)) t.type("No\r");
    EXPECT_EQ(t.exitStatus(), 0) << t.screen();
}

// A message box at a terminal wants one of its buttons: a command typed there was told "use set, press, tab, ok,
// cancel, show or picture" (and "picture" was in no help). The box names its own buttons and its Enter.
TEST(TerminalSession, AMessageBoxNamesItsButtonsForALineThatAnswersNone) {
    ScratchFolder folder;
    Terminal t(folder, {"--load", "testmodule"});
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    t.type("TESTMSGBOX\r");
    ASSERT_TRUE(t.waitFor("Test> ")) << t.screen();
    t.type("LINE\r");
    ASSERT_TRUE(t.waitFor("\"LINE\" does not answer the message box \"Test\": answer Yes, No or Cancel (Enter: Yes).")) << t.screen();
    t.type("help\r");
    ASSERT_TRUE(t.waitFor("picture <file.png>")) << t.screen();
    t.type("no\r");
    ASSERT_TRUE(t.waitFor("Message box answered No")) << t.screen();
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    EXPECT_EQ(t.screen().find("use set, press, tab"), std::string::npos) << t.screen();
    t.type("QUIT\r");
    EXPECT_EQ(t.exitStatus(), 0) << t.screen();
}

}  // namespace
