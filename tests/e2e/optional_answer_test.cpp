// Script lines for a question that may not come: "optional msgbox <answer>" answers a message box only when one
// shows, "optional <answer>" a command's question; either is passed over otherwise. Before, a script that answered
// a box shown only the first time (no job opened before) stopped with exit 1 on the second night. A line that does
// not fit what shows, optional or not, still stops the script.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"

namespace optional_answer_test {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::has;
using e2e::RunResult;
using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

RunResult runScript(const ScratchFolder& folder, const std::string& lines) {
    const fs::path script = folder / "run.scr";
    writeBytes(script, lines);
    return cadhost({"--load", "testmodule", "--script", script.string()}, folder);
}

struct OptionalCase {
    const char* what;
    const char* script;
    int status;
    const char* shown;  // the output holds this
};

TEST(OptionalAnswer, AnswersOnlyWhatShowsAndStopsWhereALineDoesNotFit) {
    const std::vector<OptionalCase> cases = {
        {"a box answered", "TESTMSGBOX\noptional msgbox No\nTESTLINE\n0,0\n1,1\n", 0, "Message box answered No"},
        {"a box answered by the answer alone", "TESTMSGBOX\noptional Cancel\n", 0, "Message box answered Cancel"},
        {"no box: passed over at the command prompt", "optional msgbox OK\nTESTLINE\n0,0\n1,1\n", 0,
         "(Nothing asks: the optional answer is passed over.)"},
        {"no box: passed over by a dialog", "TESTDIALOG\noptional msgbox OK\ndlg set Name Rib\ndlg ok\n", 0,
         "Dialog answered 1: name Rib"},
        {"no box: passed over by a prompt", "TESTLINE\noptional msgbox OK\n0,0\n1,1\n", 0,
         "Line from 0.0000,0.0000 to 1.0000,1.0000"},
        {"an optional answer for a prompt", "TESTLINE\noptional 2,2\n3,3\n", 0,
         "Line from 2.0000,2.0000 to 3.0000,3.0000"},
        {"a box without that button stops the script", "TESTMSGBOX\noptional msgbox Retry\nTESTLINE\n0,0\n1,1\n", 1,
         "has no button \"Retry\"; it has Yes/No/Cancel"},
        {"a msgbox line without a box still stops it", "TESTDIALOG\nmsgbox OK\ndlg ok\n", 1,
         "answers a message box, but the dialog"},
        {"a msgbox line at the command prompt still stops it", "msgbox OK\n", 1, "unknown command"},
    };
    for (const OptionalCase& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        const RunResult r = runScript(folder, c.script);
        EXPECT_EQ(r.status, c.status) << r.out << r.err;
        EXPECT_TRUE(has(r.out + r.err, c.shown)) << r.out << r.err;
    }
}

// The example scripts of the shop road, run as scripts/demo runs them, each a second time in the same folder with
// the same registry (a job remembered, the sheets and programs there): both runs succeed alike.
TEST(OptionalAnswer, TheExampleScriptsRunTwiceInARowAlike) {
    ScratchFolder folder;
    const fs::path source = KESTRION_SOURCE_DIR;
    const fs::path nest = folder / "nest";
    fs::create_directories(nest);
    for (const char* part : {"flange.dxf", "bracket.dxf", "plate.dxf"})
        fs::copy_file(source / "examples" / part, nest / part);
    const std::string registry = (folder / "registry.reg").string();
    const std::string data = (source / "data").string();
    auto contours = [&](const std::string& part, const std::string& script) {
        return cadhost({(nest / part).string(), "--load", "laser", "--registry", registry, "--install", data,
                        "--script", (source / "examples" / script).string(), "--save", (nest / part).string()},
                       folder);
    };
    // The plate's path and program, twice: the second run replaces the program with the same one.
    const RunResult plate = contours("plate.dxf", "plate_path.scr");
    ASSERT_EQ(plate.status, 0) << plate.out << plate.err;
    const std::string plateProgram = readBytes(nest / "plate.nc");
    fs::copy_file(source / "examples/plate.dxf", nest / "plate.dxf", fs::copy_options::overwrite_existing);
    const RunResult plateAgain = contours("plate.dxf", "plate_path.scr");
    ASSERT_EQ(plateAgain.status, 0) << plateAgain.out << plateAgain.err;
    EXPECT_EQ(readBytes(nest / "plate.nc"), plateProgram);
    for (const char* part : {"flange.dxf", "bracket.dxf"}) {
        for (int run = 0; run < 2; ++run) {
            const RunResult r = contours(part, "nest_contours.scr");
            ASSERT_EQ(r.status, 0) << r.out << r.err;
        }
    }
    auto nestRun = [&] {
        return e2e::runCommand("cd " + e2e::quoted(nest.string()) + " && " + e2e::quoted(CADHOST_EXE) +
                                   " --load nesting,laser --registry " + e2e::quoted(registry) + " --install " +
                                   e2e::quoted(data) + " --script " +
                                   e2e::quoted((source / "examples/nest_sheets.scr").string()) +
                                   " --save last_sheet.dxf",
                               folder);
    };
    const RunResult first = nestRun();
    ASSERT_EQ(first.status, 0) << first.out << first.err;
    const std::string program = readBytes(nest / "sheet1.nc");
    const std::string sheet2 = readBytes(nest / "sheet2.dxf");
    const RunResult second = nestRun();
    ASSERT_EQ(second.status, 0) << second.out << second.err;
    EXPECT_TRUE(has(first.out, "passed over")) << first.out;   // the replace questions of a second run
    EXPECT_FALSE(has(first.out, "Replace it?")) << first.out;
    EXPECT_TRUE(has(second.out, "passed over")) << second.out;  // the box of the first run
    EXPECT_EQ(e2e::count(second.out, "already exists. Replace it?"), 3u) << second.out;
    EXPECT_EQ(readBytes(nest / "sheet1.nc"), program);
    EXPECT_EQ(readBytes(nest / "sheet2.dxf").size(), sheet2.size());
}

}  // namespace optional_answer_test
