// The postprocessor editor in a cadhost session: a script opens it (TTPost, on the postprocessor the settings
// select), changes templates on its pages, meets the template checks, saves with OK, and the next NC program
// carries the changed words. A damaged postprocessor is refused naming its key, and the editor opens there.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>

#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"

namespace postprocessor_editor_test {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::RunResult;
using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

const fs::path kSource = KESTRION_SOURCE_DIR;

using e2e::has;

// A session in `folder` whose settings select `folder`/POST.MXT (a copy of the shipped laser postprocessor,
// changed by `edit` when given), on a copy of the two-hole plate.
RunResult runEditor(const ScratchFolder& folder, const std::string& script,
                    const std::function<void(std::string&)>& edit = {}) {
    std::string post = readBytes(kSource / "data/post/FANUC.MXT");
    if (edit) edit(post);
    writeBytes(folder / "POST.MXT", post);
    const fs::path registry = folder / "registry.reg";
    writeBytes(registry, "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n"
                         "\"LangMenu\"=\"EN\"\r\n\"DirPostprocessor\"=\"" + (folder / "").string() +
                         "\"\r\n\"Postprocessor\"=\"POST.MXT\"\r\n");
    const fs::path drawing = folder / "plate.dxf";
    if (!fs::exists(drawing)) fs::copy_file(kSource / "laser/contours/tests/fixtures/plate_two_holes.dxf", drawing);
    writeBytes(folder / "run.scr", script);
    return cadhost({drawing.string(), "--load", "laser", "--install", (kSource / "data").string(), "--registry",
                    registry.string(), "--script", (folder / "run.scr").string()},
                   folder);
}

// Replaces the value line after `key` (a one-line value) in a postprocessor text.
void setValue(std::string& post, const std::string& key, const std::string& value) {
    const std::size_t at = post.find("####" + key + "\r\n");
    ASSERT_NE(at, std::string::npos) << key;
    const std::size_t start = post.find('\n', at) + 1;
    const std::size_t end = post.find('\n', start);
    post.replace(start, end - start, value + "\r");
}

TEST(PostprocessorEditorSession, ShowsNinePagesAndItsEditsReachTheNextProgram) {
    ScratchFolder folder;
    const RunResult r = runEditor(
        folder,
        "TTPost\n"
        "dlg show\n"
        "dlg tab Move\n"
        "dlg set Rapid <N-CODE><MOTION><X-COORD><Y-COORD> (FAST)<EOB>\n"
        "dlg tab \"Cut command\"\n"
        "dlg set \"Cut ON\" <N-CODE>M03 (BEAM ON)<EOB>\n"
        "dlg tab Start-End\n"
        "dlg set \"Start of program\" %<EOB>\\n(EDITED <NAME-PROGRAM>)<EOB>\\n<N-CODE>G21 G90 G40<EOB>\n"
        "dlg tab Profile\n"
        "dlg set LEAD <N-CODE>G00<X-COORD><Y-COORD> (LEAD)<EOB>\n"
        "dlg ok\n"
        "NCCreateContour\nNCSliceAuto\nNCCreate\ndlg ok\ndlg set 249 Plate\ndlg press OK\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(has(r.out, "tabs: \"General\", \"Code\", \"Format\", \"Move\", \"Circular Codes\", \"Cut command\", "
                           "\"Cange power\", \"Start-End\", \"Profile\", showing \"General\""))
        << r.out;
    EXPECT_TRUE(has(r.out, "The postprocessor " + (folder / "POST.MXT").string() + " is saved.")) << r.out;
    const std::string post = readBytes(folder / "POST.MXT");
    EXPECT_TRUE(has(post, "####RapidStr\r\n<N-CODE><MOTION><X-COORD><Y-COORD> (FAST)<EOB>\r\n")) << post;
    EXPECT_TRUE(has(post, "####StartPrgStr\r\n3\r\n%<EOB>\r\n(EDITED <NAME-PROGRAM>)<EOB>\r\n")) << post;
    EXPECT_TRUE(has(post, "####ProfLead\r\n<N-CODE>G00<X-COORD><Y-COORD> (LEAD)<EOB>\r\n")) << post;
    const std::string program = readBytes(folder / "plate.nc");
    EXPECT_TRUE(has(program, "(EDITED PLATE)\r\n")) << program;
    EXPECT_TRUE(has(program, "M03 (BEAM ON)\r\n")) << program;
    EXPECT_TRUE(has(program, " (FAST)\r\n")) << program;
}

TEST(PostprocessorEditorSession, AnUnknownKeywordIsRefusedAtFocusLossAndAtPageLeave) {
    ScratchFolder folder;
    const RunResult r = runEditor(folder,
                                  "TTPost\n"
                                  "dlg tab Move\n"
                                  "dlg set Linear <N-CODE><BAD><EOB>\n"
                                  ";; clicking into Rapid: the check of Linear keeps the focus there\n"
                                  "dlg set Rapid <N-CODE><EOB>\n"
                                  "msgbox OK\n"
                                  ";; leaving the page: refused too\n"
                                  "dlg tab Code\n"
                                  "msgbox OK\n"
                                  "dlg show\n"
                                  "dlg cancel\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(has(r.out, "An unknown keyword <BAD>")) << r.out;
    EXPECT_TRUE(has(r.out, "The edit \"Rapid\" did not get the focus.")) << r.out;
    EXPECT_TRUE(has(r.out, "The tab \"Code\" was not opened: the page shown refused to be left.")) << r.out;
    EXPECT_TRUE(has(r.out, "showing \"Move\"")) << r.out;
    EXPECT_TRUE(has(r.out, "The postprocessor is not saved.")) << r.out;
    EXPECT_EQ(readBytes(folder / "POST.MXT"), readBytes(kSource / "data/post/FANUC.MXT"));
}

// At a terminal, as a user switches pages: a bad text typed on the power page, then another tab. The power page
// may be left with it (OK still checks every template, and refuses it there). Before, the check at the focus loss
// sent the focus back into the edit and the page shown refused to be left.
TEST(PostprocessorEditorSession, ThePowerPageIsLeftWithABadTextAndOkRefusesIt) {
    ScratchFolder folder;
    const RunResult r = runEditor(folder,
                                  "TTPost\n"
                                  "dlg tab \"Cange power\"\n"
                                  "dlg set Piercing <PIERCE><EOB>\n"
                                  "dlg tab Code\n"
                                  "dlg show\n"
                                  "dlg ok\n"
                                  "msgbox OK\n"
                                  "dlg show\n"
                                  "dlg cancel\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_FALSE(has(r.out, "refused to be left")) << r.out;
    EXPECT_TRUE(has(r.out, "showing \"Code\"")) << r.out;
    EXPECT_TRUE(has(r.out, "An unknown keyword <PIERCE>")) << r.out;
    EXPECT_TRUE(has(r.out, "showing \"Cange power\"")) << "OK shows the page of the bad template: " << r.out;
    EXPECT_TRUE(has(r.out, "The postprocessor is not saved.")) << r.out;
}

TEST(PostprocessorEditorSession, ADamagedPostprocessorIsRefusedNamingTheKeyAndOpensThere) {
    struct Case {
        const char* what;
        std::function<void(std::string&)> edit;
        const char* named;  // in the message
        const char* page;   // the page the editor opens on
    };
    const Case cases[] = {
        {"a template that does not compile",
         [](std::string& p) { setValue(p, "CutOnStr", "<N-CODE><LASER-ON><EOB>"); }, "CutCommand CutOnStr",
         "Cut command"},
        {"a file cut short inside a block",
         [](std::string& p) { p.resize(p.find("####StartPrgStr\r\n") + 20); }, "StartPrgStr", "Start-End"},
        {"a value out of range", [](std::string& p) { setValue(p, "ScaleXYZ", "0"); }, "ScaleXYZ", "Format"},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        const std::string before = [&] {
            std::string post = readBytes(kSource / "data/post/FANUC.MXT");
            c.edit(post);
            return post;
        }();
        const RunResult r = runEditor(folder, "TTPost\nmsgbox OK\ndlg show\ndlg cancel\n", c.edit);
        ASSERT_EQ(r.status, 0) << c.what << "\n" << r.err << r.out;
        EXPECT_TRUE(has(r.out, c.named)) << c.what << "\n" << r.out;
        EXPECT_TRUE(has(r.out, "Dialog \"Postprocessor\", page \"" + std::string(c.page) + "\": dlg show"))
            << c.what << "\n" << r.out;
        EXPECT_EQ(readBytes(folder / "POST.MXT"), before) << c.what << ": cancel keeps the file";
    }
}

TEST(PostprocessorEditorSession, SaveAsAsksBeforeReplacingAndChangesOnlyWhereTheFileIsWritten) {
    struct Case {
        std::string answers;
        bool saved;  // COPY.MXT written
    };
    const Case cases[] = {
        // OTHER.MXT exists: No goes back to the file dialog, COPY.MXT is taken, OK writes there.
        {"dlg press \"Save As...\"\nfile OTHER.MXT\nmsgbox No\nfile COPY.MXT\ndlg press OK\n", true},
        // Save As, then Cancel: nothing is written anywhere.
        {"dlg press \"Save As...\"\nfile COPY.MXT\ndlg cancel\n", false},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        writeBytes(folder / "OTHER.MXT", "other\r\n");
        const RunResult r = runEditor(folder, "TTPost\n" + c.answers);
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        EXPECT_EQ(readBytes(folder / "OTHER.MXT"), "other\r\n") << c.answers;
        EXPECT_EQ(readBytes(folder / "POST.MXT"), readBytes(kSource / "data/post/FANUC.MXT")) << c.answers;
        EXPECT_EQ(fs::exists(folder / "COPY.MXT"), c.saved) << c.answers << r.out;
        if (c.saved) {
            EXPECT_TRUE(has(r.out, "OTHER.MXT already exists. Do you want to replace it?")) << r.out;
            EXPECT_TRUE(has(r.out, "The postprocessor " + (folder / "COPY.MXT").string() + " is saved.")) << r.out;
            EXPECT_EQ(readBytes(folder / "COPY.MXT"), readBytes(kSource / "data/post/FANUC.MXT"));
        }
    }
}

}  // namespace postprocessor_editor_test
