// HELP with both modules loaded: every command it lists has its entry in Help.md and in Help_RU.md, and HELP NAME
// prints that entry. Before, HELP listed about a hundred names without a word on any, and "HELP NCOrder" repeated
// the list and said "The rest of the command line was not used".
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "host/ed/commands/help_entries.h"
#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"

namespace command_help_test {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::has;
using e2e::RunResult;
using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

RunResult runScript(const ScratchFolder& folder, const std::string& lines, const std::string& language = "EN") {
    writeBytes(folder / "registry.reg", "Windows Registry Editor Version 5.00\r\n\r\n"
                                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n\"LangMenu\"=\"" +
                                            language + "\"\r\n");
    writeBytes(folder / "run.scr", lines);
    const fs::path data = fs::path(KESTRION_SOURCE_DIR) / "data";
    return cadhost({"--load", "laser,nesting", "--install", data.string(), "--registry",
                    (folder / "registry.reg").string(), "--script", (folder / "run.scr").string()},
                   folder);
}

// The names HELP lists: the indented lines under each group's heading.
std::vector<std::string> listedNames(const std::string& out) {
    std::vector<std::string> names;
    std::istringstream lines(out.substr(out.find("Commands, by group")));
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        if (line.rfind("HELP NAME", 0) == 0) break;
        if (line.rfind("  ", 0) != 0) continue;
        std::istringstream words(line);
        for (std::string word; words >> word;) names.push_back(word);
    }
    return names;
}

TEST(CommandHelp, EveryCommandListedHasItsEntryInBothLanguages) {
    ScratchFolder folder;
    const RunResult r = runScript(folder, "HELP\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    const std::vector<std::string> names = listedNames(r.out);
    ASSERT_GT(names.size(), 100u) << r.out;
    const fs::path help = fs::path(KESTRION_SOURCE_DIR) / "data" / "help";
    for (const char* file : {"Help.md", "Help_RU.md"}) {
        const std::string text = readBytes(help / file);
        for (const std::string& name : names) EXPECT_TRUE(host::ed::helpEntry(text, name)) << name << " in " << file;
    }
}

TEST(CommandHelp, HelpWithANamePrintsItsEntry) {
    ScratchFolder folder;
    const RunResult r = runScript(folder, "HELP NCOrder\nhelp rotatepart90l\nHELP NoSuchCommand\n?\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(has(r.out, "### NCOrder\nMoves cut contours in the cutting order.")) << r.out;
    EXPECT_FALSE(has(r.out, "The rest of the command line was not used")) << r.out;
    // Only "?" alone lists the commands.
    EXPECT_EQ(e2e::count(r.out, "Commands, by group"), 1u) << r.out;
    EXPECT_TRUE(has(r.out, "### RotatePart, RotatePartAuto, RotatePart180")) << r.out;
    EXPECT_TRUE(has(r.out, "has no entry for NoSuchCommand, and no command of that name is loaded. Type HELP"))
        << r.out;
}

TEST(CommandHelp, TheRussianLanguageReadsTheRussianEntries) {
    ScratchFolder folder;
    const RunResult r = runScript(folder, "HELP NCOrder\n", "RU");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(has(r.out, "### NCOrder\nПереставляет обработанные контуры в порядке резки.")) << r.out;
}

}  // namespace command_help_test
