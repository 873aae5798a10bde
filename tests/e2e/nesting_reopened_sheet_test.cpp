// A nested sheet opened at a terminal in a new session, without its job in memory: the manual part commands and
// NestInfo say so at once, before any pick is asked for.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/terminal_session.h"

namespace {

using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

// A nested sheet opened at a terminal in a new session, without its job: a manual part command says at once that
// the job is not loaded, before it asks for any pick, and NestInfo says the same instead of "no placed details".
TEST(ReopenedSheetTerminal, ManualCommandsOnAReopenedSheetSayAtOnceThatTheJobIsNotLoaded) {
    ScratchFolder folder;
    const std::string job = (folder / "job.nst").string();
    std::vector<std::string> lines{"Kestrion Nesting TQ450", "", "St37", "1.0037", "7.85e-06", "3", "", "", "10",
                                   "4", "4", "", "", "1", "0", "Stosk_1000x500", "Sheet", "1", "0", "1", "", "",
                                   "", "", "", "1", "0", "Part_100x50", "Plate", "8", "0", "1", "0", "0", "0",
                                   "1", "0", "", "", "", "", "", "0"};
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    writeBytes(job, text);
    writeBytes(folder / "registry.reg", "Windows Registry Editor Version 5.00\r\n\r\n"
                                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n\"LangMenu\"=\"EN\"\r\n"
                                        "\"LastFileNesting\"=\"" + job + "\"\r\n");
    writeBytes(folder / "nest.scr", "OpenFileNesting\ndlg ok\nStartNestingAdv\ndlg ok\n");
    const e2e::RunResult nested =
        e2e::cadhost({"--load", NESTING_MODULE, "--registry", (folder / "registry.reg").string(), "--script",
                      (folder / "nest.scr").string(), "--save", (folder / "sheet.dxf").string()},
                     folder);
    ASSERT_EQ(nested.status, 0) << nested.err << nested.out;

    e2e::Terminal t(folder, {(folder / "sheet.dxf").string(), "--load", NESTING_MODULE});
    ASSERT_TRUE(t.started());
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    for (const char* command : {"RotatePartAuto", "RotatePart90L", "QueryPart", "NestInfo"}) {
        SCOPED_TRACE(command);
        t.type(std::string(command) + "\r");
        ASSERT_TRUE(t.waitFor("No nesting job is loaded in this session")) << t.screen();
        ASSERT_TRUE(t.waitFor("then repeat the command '" + std::string(command) + "'")) << t.screen();
        t.type("OK\r");
        ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    }
    EXPECT_EQ(t.screen().find("Select Part"), std::string::npos) << t.screen();
    EXPECT_EQ(t.screen().find("There are no placed details"), std::string::npos) << t.screen();
}

}  // namespace
