// Parts drawn with several outlines in a whole cadhost session: a frame with a part inside its window and two
// plates side by side in one drawing, nested with plain parts by StartNestingAdv and StartNestingRect at several
// rotation steps. A part's material is all its outlines with what lies inside them: the saved sheets are checked
// with the polygon test, windows and holes filled, and every copy must be placed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/laser_session.h"
#include "tests/e2e/sheet_overlap.h"

namespace nesting_outlines {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::RunResult;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

using Lines = std::vector<std::string>;

const fs::path kDrawings = fs::path(KESTRION_SOURCE_DIR) / "nesting" / "drawings" / "tests" / "fixtures";

struct PartLine {
    const char* drawing;
    int quantity;
};

// A job of one 600 x 400 sheet (edge offset 10, part gap 4); rotation "0-360" with delta index `delta` ("No
// Rotate" when delta < 0).
std::string JobText(const std::vector<PartLine>& parts, int delta) {
    Lines lines{"Kestrion Nesting TQ450", "", "St37", "1.0037", "7.85e-06", "3", "", "", "10", "4", "4", "", "",
                "1", "0", "Stosk_600x400", "Stosk_600x400", "1", "0", "1", "", "", "",
                "", "", std::to_string(parts.size())};
    for (const PartLine& p : parts) {
        const Lines entry{"2", std::string(p.drawing) + ".dwg", std::to_string(p.quantity), "0",
                          delta < 0 ? "0" : "1", delta < 0 ? "0" : std::to_string(delta), "0", "0", "1", "0",
                          "", "", ""};
        lines.insert(lines.end(), entry.begin(), entry.end());
    }
    lines.insert(lines.end(), {"", "", "0"});
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

struct Case {
    const char* name;
    std::vector<PartLine> parts;
    int delta;
};

int Total(const Case& c) {
    int n = 0;
    for (const PartLine& p : c.parts) n += p.quantity;
    return n;
}

// Runs `command` on the job of `parts` in a scratch folder and answers the run; the sheet is saved as sheet.dxf.
RunResult Nest(const ScratchFolder& folder, const char* command, const std::vector<PartLine>& parts, int delta) {
    for (const char* name : {"frame", "twin_plates", "rect_holes", "flange", "lshape", "nested_frames"})
        fs::copy_file(kDrawings / (std::string(name) + ".dxf"), folder / (std::string(name) + ".dxf"));
    writeBytes(folder / "job.nst", JobText(parts, delta));
    const fs::path registry = e2e::writeLanguageRegistry(folder);
    writeBytes(folder / "run.scr", "OpenFileNesting\ndlg press Load\nfile " + (folder / "job.nst").string() +
                                       "\ndlg press OK\n" + command + "\ndlg ok\n");
    return cadhost({"--load", NESTING_MODULE, "--registry", registry.string(), "--script",
                    (folder / "run.scr").string(), "--save", (folder / "sheet.dxf").string()},
                   folder);
}

TEST(NestingOutlines, PartsOfSeveralOutlinesNestClearOfEachOtherAndOfPlainParts) {
    const std::vector<Case> cases{
        {"two frames", {{"frame", 2}}, -1},
        {"two twin plates", {{"twin_plates", 2}}, -1},
        {"twins beside plain parts at 90", {{"twin_plates", 3}, {"rect_holes", 2}, {"flange", 1}}, 9},
        {"frames, twins and plain parts at 30", {{"frame", 2}, {"twin_plates", 2}, {"lshape", 1}, {"flange", 1}}, 6},
        {"frames and twins at 10", {{"frame", 1}, {"twin_plates", 3}, {"rect_holes", 1}}, 4},
    };
    for (const char* command : {"StartNestingAdv", "StartNestingRect"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(command) + ": " + c.name);
            ScratchFolder folder;
            const fs::path saved = folder / "sheet.dxf";
            const RunResult r = Nest(folder, command, c.parts, c.delta);
            ASSERT_EQ(r.status, 0) << r.err << r.out;
            const std::string placed = "Parts=" + std::to_string(Total(c)) + "/" + std::to_string(Total(c));
            EXPECT_NE(r.out.find("Stock=1/1 " + placed), std::string::npos) << r.out;
            EXPECT_EQ(e2e::SheetOverlaps(saved, "Stosk_600x400", "Clamp", e2e::PartsInHoles::Refused), Lines{});
        }
    }
}

// Before: a part was taken as lying in a window of a part of several outlines when it lay inside any of that
// part's holes, even a hole that holds another of its outlines: plates went onto the middle frame of three
// frames drawn each inside the window of the next. A part may lie inside an outline only in a hole of that
// outline; here nothing fits into a 20 mm rim, so the sheet holds no part in a window and every test of material
// (windows empty, by the even-odd rule) must pass.
TEST(NestingOutlines, NothingLiesOnAnOutlineInsideTheWindowOfAnother) {
    const std::vector<Case> cases{
        {"nested frames beside twins", {{"nested_frames", 1}, {"twin_plates", 2}, {"flange", 1}}, -1},
        {"nested frames beside twins at 90", {{"nested_frames", 1}, {"twin_plates", 2}, {"flange", 1}}, 9},
        {"nested frames, frame and plain parts at 30",
         {{"nested_frames", 1}, {"frame", 1}, {"rect_holes", 2}, {"lshape", 1}},
         6},
        // L-shapes carry an open cut and an engraving line, which bound no material
        {"L-shapes beside flanges and twins", {{"lshape", 4}, {"flange", 3}, {"twin_plates", 3}}, -1},
    };
    for (const char* command : {"StartNestingAdv", "StartNestingRect"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(command) + ": " + c.name);
            ScratchFolder folder;
            const RunResult r = Nest(folder, command, c.parts, c.delta);
            ASSERT_EQ(r.status, 0) << r.err << r.out;
            const std::string placed = "Parts=" + std::to_string(Total(c)) + "/" + std::to_string(Total(c));
            EXPECT_NE(r.out.find("Stock=1/1 " + placed), std::string::npos) << r.out;
            EXPECT_EQ(e2e::SheetOverlaps(folder / "sheet.dxf", "Stosk_600x400"), Lines{});
        }
    }
}

}  // namespace nesting_outlines
