// Saving onto a file that is there already: QSAVE, SAVEAS, CLOSE and QUIT ask before they write over another
// file (No, the default, keeps it); a script answers on the line after the name, and "optional" answers only a
// question that is asked. Before, a new drawing quit with QUIT, Enter, Enter wrote over a Drawing1.dxf that was
// there, and SAVEAS onto an existing name did the same, without a word.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/terminal_session.h"

namespace save_replace_test {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::has;
using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

constexpr const char* kOldContent = "the user's own file\n";

struct SaveCase {
    const char* what;
    bool exists;                     // other.dxf is there before the run
    std::vector<std::string> lines;  // the script; TARGET stands for other.dxf's full path
    int status;
    bool replaced;                   // other.dxf holds the drawing afterwards (else the old content, or nothing)
    const char* shown;               // a text the output holds ("" for none)
};

TEST(SaveReplace, ASaveAsksBeforeWritingOverAnotherFile) {
    const std::vector<SaveCase> cases = {
        {"SAVEAS onto a new name", false, {"SAVEAS", "TARGET"}, 0, true, ""},
        {"SAVEAS onto a file there, Yes", true, {"SAVEAS", "TARGET", "Yes"}, 0, true, "already exists. Replace it?"},
        {"SAVEAS onto a file there, No", true, {"SAVEAS", "TARGET", "No"}, 0, false, "is kept; the drawing was not"},
        {"SAVEAS onto a file there, Enter", true, {"SAVEAS", "TARGET", ""}, 0, false, "[Yes/No] <No>"},
        {"SAVEAS onto a file there, Esc", true, {"SAVEAS", "TARGET", "^C"}, 0, false, "*Cancel*"},
        {"SAVEAS onto a file there, the script ends", true, {"SAVEAS", "TARGET"}, 1, false, "waited for an answer"},
        {"SAVEAS onto a file there, an optional Yes", true, {"SAVEAS", "TARGET", "optional Yes"}, 0, true, ""},
        {"SAVEAS onto a new name, an optional Yes passed over", false, {"SAVEAS", "TARGET", "optional Yes"}, 0, true,
         "the optional answer is passed over"},
        {"QSAVE of a new drawing onto a file there, Yes", true, {"QSAVE", "TARGET", "Yes"}, 0, true, "Replace it?"},
        {"QSAVE of a new drawing onto a file there, No", true, {"QSAVE", "TARGET", "No"}, 0, false, "Replace it?"},
        {"CLOSE, Yes, onto a file there, No", true, {"CLOSE", "Yes", "TARGET", "No"}, 0, false, "Replace it?"},
        {"CLOSE, Yes, onto a file there, Yes", true, {"CLOSE", "Yes", "TARGET", "Yes"}, 0, true, "Replace it?"},
        {"SAVEAS twice onto the drawing's own file", false, {"SAVEAS", "TARGET", "SAVEAS", "TARGET", "QSAVE"}, 0,
         true, ""},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        const fs::path target = folder / "other.dxf";
        if (c.exists) writeBytes(target, kOldContent);
        std::string script = "TESTLINE\n0,0\n10,10\n";
        for (const std::string& line : c.lines) script += (line == "TARGET" ? target.string() : line) + "\n";
        writeBytes(folder / "run.scr", script);
        const e2e::RunResult r =
            cadhost({"--load", "testmodule", "--script", (folder / "run.scr").string()}, folder);
        EXPECT_EQ(r.status, c.status) << r.out << r.err;
        if (c.replaced) {
            EXPECT_TRUE(has(readBytes(target), "LINE")) << r.out;
        } else if (c.exists) {
            EXPECT_EQ(readBytes(target), kOldContent) << r.out;
        }
        if (*c.shown) {
            EXPECT_TRUE(has(r.out + r.err, c.shown)) << r.out << r.err;
        }
        // The drawing's own file is never asked about.
        if (!c.exists) {
            EXPECT_FALSE(has(r.out, "Replace it?")) << r.out;
        }
    }
}

// The --save target is the user's explicit choice on the command line: it is written over without a question.
TEST(SaveReplace, TheSaveTargetOfTheCommandLineIsWrittenWithoutAQuestion) {
    ScratchFolder folder;
    const fs::path target = folder / "out.dxf";
    writeBytes(target, kOldContent);
    writeBytes(folder / "run.scr", "TESTLINE\n0,0\n10,10\n");
    const e2e::RunResult r = cadhost(
        {"--load", "testmodule", "--script", (folder / "run.scr").string(), "--save", target.string()}, folder);
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_FALSE(has(r.out, "Replace it?")) << r.out;
    EXPECT_TRUE(has(readBytes(target), "LINE"));
}

// At a terminal: QUIT, Enter (Yes, save), Enter (the name offered) found Drawing1.dxf there and wrote over it.
// Now Enter at the question keeps it and QUIT stays; Yes replaces it and QUIT leaves.
TEST(SaveReplace, QuitAtATerminalAsksBeforeReplacingDrawing1) {
    ScratchFolder folder;
    writeBytes(folder / "Drawing1.dxf", kOldContent);
    e2e::Terminal t(folder, {"--load", "testmodule"});
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    t.type("TESTLINE\r0,0\r1,1\r");
    ASSERT_TRUE(t.waitFor("Line from 0.0000,0.0000 to 1.0000,1.0000")) << t.screen();
    t.type("QUIT\r");
    ASSERT_TRUE(t.waitFor("Save changes to Drawing1.dxf?")) << t.screen();
    t.type("\r");
    ASSERT_TRUE(t.waitFor("Save drawing as <Drawing1.dxf>: ")) << t.screen();
    t.type("\r");
    ASSERT_TRUE(t.waitFor("Drawing1.dxf already exists. Replace it? [Yes/No] <No>: ")) << t.screen();
    t.type("\r");
    ASSERT_TRUE(t.waitFor("Drawing1.dxf is kept; the drawing was not saved.")) << t.screen();
    ASSERT_TRUE(t.waitFor("QUIT is cancelled.")) << t.screen();
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    EXPECT_EQ(readBytes(folder / "Drawing1.dxf"), kOldContent);

    t.type("QUIT\r");
    ASSERT_TRUE(t.waitFor("Save changes to Drawing1.dxf?")) << t.screen();
    t.type("\r");
    ASSERT_TRUE(t.waitFor("Save drawing as <Drawing1.dxf>: ")) << t.screen();
    t.type("\r");
    ASSERT_TRUE(t.waitFor("Replace it? [Yes/No] <No>: ")) << t.screen();
    t.type("Yes\r");
    EXPECT_EQ(t.exitStatus(), 0) << t.screen();
    EXPECT_TRUE(has(readBytes(folder / "Drawing1.dxf"), "LINE"));
}

}  // namespace save_replace_test

namespace save_replace_test {

// A save that cannot be made stops a script with exit status 1, naming the file: the lines after it count on the
// file. Before, SAVEAS into a missing folder or onto a folder printed "cannot save" and the run went on to exit 0.
TEST(SaveReplace, ASaveThatCannotBeMadeStopsTheScript) {
    struct Case {
        const char* what;
        std::vector<std::string> lines;  // DIR stands for the run's folder
    };
    const std::vector<Case> cases{
        {"SAVEAS into a missing folder", {"SAVEAS", "DIR/no_such_folder/out.dxf"}},
        {"SAVEAS onto a folder, Yes", {"SAVEAS", "DIR/sub", "Yes"}},
        {"CLOSE, Yes, into a missing folder", {"CLOSE", "Yes", "DIR/no_such_folder/out.dxf"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        fs::create_directory(folder / "sub");
        std::string script = "TESTLINE\n0,0\n10,10\n";
        for (std::string line : c.lines) {
            if (line.starts_with("DIR")) line.replace(0, 3, folder.path().string());
            script += line + "\n";
        }
        writeBytes(folder / "run.scr", script + "TESTLINE\n0,0\n20,20\n");
        const e2e::RunResult r = cadhost({"--load", "testmodule", "--script", (folder / "run.scr").string(),
                                          "--save", (folder / "saved.dxf").string()},
                                         folder);
        EXPECT_EQ(r.status, 1) << r.out << r.err;
        EXPECT_TRUE(has(r.err, "run.scr, line " + std::to_string(3 + c.lines.size()) + ": cannot save")) << r.err;
        EXPECT_FALSE(fs::exists(folder / "saved.dxf")) << r.out;
    }
}

}  // namespace save_replace_test
