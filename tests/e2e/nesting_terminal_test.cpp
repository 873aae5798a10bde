// A nesting run at a terminal, as a person stops it: Ctrl-C while the parts are placed stops the run at its next
// placement, the sheet placed so far is drawn and its report shown, and the keys typed during the run answer none
// of the questions after it. Before, the key was taken only after the whole run, and then closed the report
// unseen; the run's pass traces filled the screen.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/terminal_session.h"

namespace {

namespace fs = std::filesystem;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

TEST(NestingTerminal, CtrlCStopsTheRunAtItsNextPlacementAndKeepsWhatIsPlaced) {
    ScratchFolder folder;
    // Many small plates on three sheets: a run far longer than the key takes to arrive.
    const std::string job = (folder / "job.nst").string();
    std::vector<std::string> lines{"Kestrion Nesting TQ450", "", "St37", "1.0037", "7.85e-06", "3", "", "", "10",
                                   "4", "4", "", "", "1", "0", "Stosk_1000x500", "Sheet", "3", "0", "1", "", "",
                                   "", "", "", "1", "0", "Part_40x30", "Plate", "600", "0", "1", "0", "0", "0",
                                   "1", "0", "", "", "", "", "", "0"};
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    writeBytes(job, text);
    writeBytes(folder / "registry.reg", "Windows Registry Editor Version 5.00\r\n\r\n"
                                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n\"LangMenu\"=\"EN\"\r\n"
                                        "\"LastFileNesting\"=\"" + job + "\"\r\n");
    e2e::Terminal t(folder, {"--load", NESTING_MODULE});
    ASSERT_TRUE(t.started());
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    t.type("OpenFileNesting\r");
    ASSERT_TRUE(t.waitFor("Dialog \"File Nesting\"")) << t.screen();
    t.type("ok\r");
    ASSERT_TRUE(t.waitFor("loaded: 3 sheet(s), 600 part(s)")) << t.screen();
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    t.type("StartNestingAdv\r");
    ASSERT_TRUE(t.waitFor("Please wait")) << t.screen();
    ASSERT_TRUE(t.waitFor("Stock 1")) << t.screen();
    // Keys typed while the first sheet is filled, then Ctrl-C.
    t.readFor(5000);
    t.type("ok\r");
    t.type("\x03");
    ASSERT_TRUE(t.waitFor("Nesting stopped by the user: ")) << t.screen();
    ASSERT_TRUE(t.waitFor(" part(s) placed on 1 sheet(s), ")) << t.screen();
    ASSERT_TRUE(t.waitFor("Stock=1/1 Parts=")) << t.screen();
    // The report waits for its answer: the keys typed during the run did not close it.
    ASSERT_TRUE(t.waitFor("Dialog \"Info Nesting\"")) << t.screen();
    t.readFor(500);
    EXPECT_EQ(t.screen().find("Command: ", t.screen().rfind("Dialog \"Info Nesting\"")), std::string::npos)
        << t.screen();
    t.type("ok\r");
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    EXPECT_EQ(t.screen().find("PASS_F"), std::string::npos) << "no pass trace reaches the screen";
    EXPECT_EQ(t.screen().find("Stock 3  Metal recovery"), std::string::npos) << t.screen();
}

// The run's progress line ("Stock 1", which the result overwrites on a screen) and its result shared a line at a
// terminal ("Stock 1Stock 1  Metal recovery=..."), and the report and NestInfo showed their texts as one quoted
// string with a literal "\n" between the lines.
TEST(NestingTerminal, ProgressResultAndReportsShowAsLines) {
    ScratchFolder folder;
    const std::string job = (folder / "job.nst").string();
    std::vector<std::string> lines{"Kestrion Nesting TQ450", "", "St37", "1.0037", "7.85e-06", "3", "", "", "10",
                                   "4", "4", "", "", "1", "0", "Stosk_1000x500", "Sheet", "1", "0", "1", "", "",
                                   "", "", "", "1", "0", "Part_40x30", "Plate", "8", "0", "1", "0", "0", "0",
                                   "1", "0", "", "", "", "", "", "0"};
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    writeBytes(job, text);
    writeBytes(folder / "registry.reg", "Windows Registry Editor Version 5.00\r\n\r\n"
                                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n\"LangMenu\"=\"EN\"\r\n"
                                        "\"LastFileNesting\"=\"" + job + "\"\r\n");
    e2e::Terminal t(folder, {"--load", NESTING_MODULE});
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    t.type("OpenFileNesting\r");
    ASSERT_TRUE(t.waitFor("Dialog \"File Nesting\"")) << t.screen();
    t.type("ok\r");
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    t.type("StartNestingAdv\r");
    ASSERT_TRUE(t.waitFor("Metal recovery=")) << t.screen();
    ASSERT_TRUE(t.waitFor("Dialog \"Info Nesting\"")) << t.screen();
    ASSERT_TRUE(t.waitFor("Info Nesting> ")) << t.screen();
    const std::string& screen = t.screen();
    EXPECT_EQ(screen.find("Stock 1Stock 1"), std::string::npos) << screen;
    EXPECT_NE(screen.find("Stock 1\r\nStock 1  Metal recovery="), std::string::npos) << screen;
    // The report: each line of its text on a line of its own, nothing escaped.
    EXPECT_NE(screen.find(" (read-only):\r\n       Stock        = 1\r\n       Nesting Parts = 8/8\r\n"),
              std::string::npos)
        << screen;
    EXPECT_EQ(screen.find("\\n"), std::string::npos) << screen;
    t.type("ok\r");
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    const std::size_t before = t.screen().size();
    t.type("NestInfo\r");
    ASSERT_TRUE(t.waitFor("Nesting Parts = 8/8\r\n")) << t.screen();
    ASSERT_TRUE(t.waitFor("> ")) << t.screen();
    EXPECT_EQ(t.screen().find("\\n", before), std::string::npos) << t.screen().substr(before);
    t.type("ok\r");
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
}

}  // namespace
