// Input sources: script files read strictly (comments, line ends, encodings, line numbers in positions, refusals),
// the cancel tokens, and the terminal's lines and history.
#include "host/ed/input.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/sys/tests/scratch_folder.h"

namespace host::ed {
namespace {

namespace fs = std::filesystem;
using sys::testing::ScratchFolder;
using sys::testing::writeBytes;

// Every line a source gives until it ends, each with the position after it.
std::vector<std::string> drain(InputSource& in) {
    std::vector<std::string> got;
    while (auto line = in.readLine("? ")) got.push_back(*line + " @ " + in.position());
    return got;
}

TEST(ScriptInput, GivesLinesWithTheirNumbersAndSkipsComments) {
    ScratchFolder folder;
    const fs::path file = folder / "run.scr";
    // CR LF and LF line ends mixed, a comment, an empty line (Enter), a last line without its line end.
    writeBytes(file, ";; draws a line\r\nLINE\r\n0,0\n\n;; the end\n^C");
    std::string error;
    auto script = ScriptInput::fromFile(file.string(), &error);
    ASSERT_NE(script, nullptr) << error;
    EXPECT_EQ(script->position(), file.string() + ", before its first line");
    EXPECT_EQ(script->remaining(), 4u);
    const std::vector<std::string> expected = {
        "LINE @ " + file.string() + ", line 2",
        "0,0 @ " + file.string() + ", line 3",
        " @ " + file.string() + ", line 4",
        "^C @ " + file.string() + ", line 6",
    };
    EXPECT_EQ(drain(*script), expected);
    EXPECT_FALSE(script->readLine("? ")) << "the end stays the end";
    EXPECT_EQ(script->position(), file.string() + ", line 6");
}

TEST(ScriptInput, ReadsUtf8WithItsMarkAndCyrillicWindowsText) {
    ScratchFolder folder;
    writeBytes(folder / "utf8.scr", "\xEF\xBB\xBF\xD0\xA1\xD0\xBB\xD0\xBE\xD0\xB9\n");  // "Слой" after a BOM
    writeBytes(folder / "cp1251.scr", "\xD1\xEB\xEE\xE9\r\n");                         // "Слой" in CP1251
    for (const char* name : {"utf8.scr", "cp1251.scr"}) {
        std::string error;
        auto script = ScriptInput::fromFile((folder / name).string(), &error);
        ASSERT_NE(script, nullptr) << name << ": " << error;
        EXPECT_EQ(script->readLine(""), std::optional<std::string>("Слой")) << name;
    }
}

TEST(ScriptInput, RefusesWhatIsNoScript) {
    ScratchFolder folder;
    writeBytes(folder / "binary.scr", std::string_view("LINE\n0,0\0 1\n", 12));
    fs::create_directory(folder / "a-folder.scr");
    {
        std::ofstream big(folder / "big.scr");
    }
    fs::resize_file(folder / "big.scr", kMaxScriptBytes + 1);  // sparse: nothing is written or read
    struct Case {
        std::string file;
        std::string message;
    };
    const Case cases[] = {
        {(folder / "missing.scr").string(), "cannot read " + (folder / "missing.scr").string() + ": no such file"},
        {(folder / "binary.scr").string(), (folder / "binary.scr").string() + ", line 2: a NUL byte"},
        {(folder / "a-folder.scr").string(), "cannot read " + (folder / "a-folder.scr").string()},
        {(folder / "big.scr").string(), "cannot read " + (folder / "big.scr").string()},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(ScriptInput::fromFile(c.file, &error), nullptr) << c.file;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

TEST(ScriptInput, LinesInMemoryCountLikeAFile) {
    auto script = ScriptInput::fromLines({"ZOOM", ";; comment", "E"}, "test.scr");
    EXPECT_EQ(drain(*script), (std::vector<std::string>{"ZOOM @ test.scr, line 1", "E @ test.scr, line 3"}));
}

TEST(Input, CancelTokens) {
    const struct {
        const char* line;
        bool cancel;
    } cases[] = {
        {"^C", true}, {"^c", true}, {"<Esc>", true}, {"<ESC>", true}, {"<esc>", true}, {"  ^C ", true},
        {"^C^C", false}, {"", false}, {"Esc", false}, {"<Esc> now", false}, {"'^C", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isCancelToken(c.line), c.cancel) << '"' << c.line << '"';
}

TEST(TerminalInput, ReadsLinesKeepsHistoryAndEnds) {
    std::istringstream typed("LINE\r\n0,0\n\nlast without Enter");
    TerminalInput terminal(typed, true);
    EXPECT_TRUE(terminal.isInteractive());
    EXPECT_TRUE(terminal.showsTyping());
    EXPECT_EQ(drain(terminal), (std::vector<std::string>{
                                   "LINE @ standard input, line 1",
                                   "0,0 @ standard input, line 2",
                                   " @ standard input, line 3",
                                   "last without Enter @ standard input, line 4",
                               }));
    EXPECT_EQ(terminal.history(), (std::vector<std::string>{"LINE", "0,0", "", "last without Enter"}));
    EXPECT_FALSE(terminal.readLine(""));
}

TEST(Input, TheRunHasOneSourceAndNoneMeansNoLines) {
    setInput(ScriptInput::fromLines({"a"}, "one.scr"));
    EXPECT_EQ(input().readLine(""), std::optional<std::string>("a"));
    setInput(nullptr);
    EXPECT_FALSE(input().readLine(""));
    EXPECT_FALSE(input().isInteractive());
}

}  // namespace
}  // namespace host::ed
