// The nesting puts its job's blocks and its sheets in place of the current drawing's content. A drawing that
// belonged to a file stops belonging to it then, so that no later save writes the nesting over that file. Before,
// a part drawing opened and nested from, then closed with Enter, was replaced on disk by the sheet; and QSAVE
// after NextListNesting wrote the next sheet over the sheet saved (and cut) before.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"

namespace nesting_drawing_file_test {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::has;
using e2e::RunResult;
using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

TEST(NestingDrawingFile, TheNestingNeverWritesOverTheFileOfTheDrawingItReplaces) {
    const fs::path source = KESTRION_SOURCE_DIR;
    const fs::path drawings = source / "nesting" / "drawings" / "tests" / "fixtures";
    const char* job =
        "Kestrion Nesting TQ450\r\n\r\nSt37\r\n1.0037\r\n7.85e-06\r\n3\r\n\r\n\r\n10\r\n4\r\n4\r\n\r\n\r\n"
        "1\r\n0\r\nStosk_250x150\r\nStosk_250x150\r\n1\r\n0\r\n1\r\n\r\n\r\n\r\n\r\n\r\n"
        "2\r\n"
        "2\r\nflange.dwg\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n\r\n\r\n\r\n"
        "2\r\nlshape.dwg\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n\r\n\r\n\r\n"
        "\r\n\r\n0\r\n";
    const std::string loadJob = "OpenFileNesting\ndlg press Load\nfile DIR/job.nst\ndlg press OK\n";
    struct Case {
        const char* what;
        std::string script;      // run on flange.dxf, the part drawing opened
        const char* keptFile;    // a file that must hold what it held before the nesting drew over its drawing
        const char* newFile;     // the file the nesting's drawing is saved as at the end
    };
    const std::vector<Case> cases{
        {"a job loaded, CLOSE and Enter", loadJob + "CLOSE\n\nDIR/job_blocks.dxf\n", "flange.dxf", "job_blocks.dxf"},
        {"nested, QSAVE", loadJob + "StartNestingAdv\ndlg ok\nQSAVE\nDIR/sheet.dxf\n", "flange.dxf", "sheet.dxf"},
        {"the sheet saved, then drawn again, QSAVE",
         loadJob + "StartNestingAdv\ndlg ok\nSAVEAS\nDIR/sheet1.dxf\nERASE\nALL\n\nQSAVE\nNextListNesting\nQSAVE\n"
                   "DIR/again.dxf\n",
         "sheet1.dxf", "again.dxf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        for (const char* name : {"flange", "lshape"})
            fs::copy_file(drawings / (std::string(name) + ".dxf"), folder / (std::string(name) + ".dxf"));
        writeBytes(folder / "job.nst", job);
        writeBytes(folder / "registry.reg",
                   "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n"
                   "\"LangMenu\"=\"EN\"\r\n");
        std::string script = c.script;
        for (std::size_t at = script.find("DIR"); at != std::string::npos;
             at = script.find("DIR", at + folder.path().string().size()))
            script.replace(at, 3, folder.path().string());
        writeBytes(folder / "run.scr", script);
        const std::string flange = readBytes(folder / "flange.dxf");
        const RunResult r = cadhost({(folder / "flange.dxf").string(), "--load", "nesting,laser", "--install",
                                     (source / "data").string(), "--registry", (folder / "registry.reg").string(),
                                     "--script", (folder / "run.scr").string()},
                                    folder);
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        EXPECT_TRUE(has(r.out, std::string(c.keptFile) + " is kept as it is on disk")) << r.out;
        EXPECT_EQ(readBytes(folder / "flange.dxf"), flange);
        if (std::string(c.keptFile) == "sheet1.dxf") {
            // What was saved of the first sheet stays: the sheet with everything erased, not the sheet drawn again.
            EXPECT_FALSE(has(readBytes(folder / "sheet1.dxf"), "INSERT")) << r.out;
        }
        EXPECT_TRUE(fs::exists(folder / c.newFile)) << r.out;
    }
}

}  // namespace nesting_drawing_file_test
