// The part gap on a nested sheet: parts of round and straight outlines, turned freely, are nested with a part gap
// of 4, and every two parts of the saved sheet lie at least the gap apart (less a thousandth for the numbers' own
// rounding), measured on the blocks' own lines and arcs by the tests' own reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/laser_session.h"
#include "tests/e2e/sheet_gaps.h"

namespace {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::RunResult;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

const fs::path kGapDrawings = fs::path(KESTRION_SOURCE_DIR) / "nesting" / "drawings" / "tests" / "fixtures";

// A part drawing turned freely by any angle ("0-360", delta "Any"), as the job dialog writes it.
std::vector<std::string> FreelyTurnedPart(const std::string& path, int quantity) {
    return {"2", path, std::to_string(quantity), "0", "1", "0", "0", "0", "1", "0", "", "", ""};
}

// One 500 x 300 sheet, edge offset 10, part gap `gap`.
std::string GapJob(const std::string& gap, const std::vector<std::vector<std::string>>& parts) {
    std::vector<std::string> lines{"Kestrion Nesting TQ450", "", "St37", "1.0037", "7.85e-06", "3", "", "", "10",
                                   gap, gap, "", "", "1", "0", "Stosk_500x300", "Sheet", "1", "0", "1", "", "", "",
                                   "", "", std::to_string(parts.size())};
    for (const auto& p : parts) lines.insert(lines.end(), p.begin(), p.end());
    lines.insert(lines.end(), {"", "", "0"});
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

TEST(NestingGaps, EveryTwoPartsOfASavedSheetKeepThePartGap) {
    ScratchFolder folder;
    for (const char* name : {"flange", "lshape", "rect_holes"}) {
        fs::copy_file(kGapDrawings / (std::string(name) + ".dxf"), folder / (std::string(name) + ".dxf"));
    }
    writeBytes(folder / "job.nst", GapJob("4", {FreelyTurnedPart("flange.dxf", 3), FreelyTurnedPart("lshape.dxf", 4),
                                                FreelyTurnedPart("rect_holes.dxf", 4)}));
    const fs::path registry = e2e::writeLanguageRegistry(folder);
    std::string lastJob = (folder / "job.nst").string();
    writeBytes(registry, host::sys::testing::readBytes(registry) + "\"LastFileNesting\"=\"" + lastJob + "\"\r\n");
    writeBytes(folder / "run.scr", "OpenFileNesting\ndlg ok\nStartNestingAdv\ndlg ok\n");
    const fs::path saved = folder / "sheet.dxf";
    const RunResult r = cadhost({"--load", NESTING_MODULE, "--registry", registry.string(), "--script",
                                 (folder / "run.scr").string(), "--save", saved.string()},
                                folder);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    ASSERT_NE(r.out.find("Stock=1/1 Parts="), std::string::npos) << r.out;
    // No part fits into a hole of another, so parts that keep the gap overlap nowhere.
    const e2e::SheetGap least = e2e::LeastPartGap(saved, "Sheet", 10.0);
    EXPECT_GE(least.distance, 4.0 - 0.001) << least.first << " and " << least.second << "\n" << r.out;
    EXPECT_LT(least.distance, 4.5) << "parts nested close, as they are: " << least.first << " " << least.second;
}

}  // namespace
