// The nesting road in a whole cadhost session: a job file of part drawings whose contours NCCreateContour made is
// confirmed in the job dialog of OpenFileNesting, StartNestingAdv nests it and draws the first sheet with its clamps,
// the sheet commands page, NestInfo reports, AddTrimLineXY draws the trim lines, and no part of a saved sheet
// overlaps another or leaves its stock; and job files that cannot be used change nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/dxf/dxf_file.h"
#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/laser_session.h"
#include "tests/e2e/sheet_overlap.h"

namespace {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::count;
using e2e::RunResult;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

const fs::path kDrawings = fs::path(KESTRION_SOURCE_DIR) / "nesting" / "drawings" / "tests" / "fixtures";

using Lines = std::vector<std::string>;

Lines RectangleStock(const std::string& name, int quantity) {
    return {"0", name, name, std::to_string(quantity), "0", "1", "", "", ""};
}
Lines DrawingStock(const std::string& path, int quantity) {
    return {"2", path, std::to_string(quantity), "0", "1", "", "", ""};
}
// Parts without rotation keep the run short.
Lines DrawingPart(const std::string& path, int quantity) {
    return {"2", path, std::to_string(quantity), "0", "0", "0", "0", "0", "1", "0", "", "", ""};
}
Lines RectanglePart(const std::string& name, int quantity) {
    return {"0", name, name, std::to_string(quantity), "0", "0", "0", "0", "0", "1", "0", "", "", ""};
}

// A job file as the job dialog writes it: part gap 4, edge offset 10.
std::string JobText(const std::vector<Lines>& stocks, const std::vector<Lines>& parts) {
    Lines lines{"Kestrion Nesting TQ450", "", "St37", "1.0037", "7.85e-06", "3", "", "", "10", "4", "4", "", ""};
    lines.push_back(std::to_string(stocks.size()));
    for (const Lines& s : stocks) lines.insert(lines.end(), s.begin(), s.end());
    lines.insert(lines.end(), {"", "", std::to_string(parts.size())});
    for (const Lines& p : parts) lines.insert(lines.end(), p.begin(), p.end());
    lines.insert(lines.end(), {"", "", "0"});
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// The part drawings beside the job, which names them as ".dwg" drawings (read as the ".dxf" beside them).
std::string SampleJob(const ScratchFolder& folder) {
    for (const char* name : {"flange", "lshape", "rect_holes", "stock_remnant", "stock_engraved", "no_contours"}) {
        fs::copy_file(kDrawings / (std::string(name) + ".dxf"), folder / (std::string(name) + ".dxf"));
    }
    return JobText({RectangleStock("Stosk_250x150", 1), DrawingStock("stock_remnant.dwg", 1)},
                   {DrawingPart("rect_holes.dwg", 2), DrawingPart("flange.dwg", 1), DrawingPart("lshape.dwg", 1)});
}

// With `clamps`, two clamps of 20 x 10 stand on every sheet. The job dialog opens with the last job file,
// folder/job.nst.
RunResult RunNesting(const ScratchFolder& folder, const std::string& script, const fs::path& saved,
                     bool clamps = false) {
    const fs::path registry = e2e::writeLanguageRegistry(folder);
    std::string lastJob = (folder / "job.nst").string();
    for (std::size_t at = lastJob.find('\\'); at != std::string::npos; at = lastJob.find('\\', at + 2))
        lastJob.insert(at, "\\");
    writeBytes(registry, host::sys::testing::readBytes(registry) + "\"LastFileNesting\"=\"" + lastJob + "\"\r\n");
    if (clamps) {
        writeBytes(registry, host::sys::testing::readBytes(registry) +
                                 "\"Nesing_ClampUse\"=\"1\"\r\n\"Nesing_ClampQuantity\"=\"2\"\r\n"
                                 "\"Nesing_ClampWidth\"=\"20\"\r\n\"Nesing_ClampHeight\"=\"10\"\r\n");
    }
    writeBytes(folder / "run.scr", script);
    return cadhost({"--load", NESTING_MODULE, "--registry", registry.string(), "--script",
                    (folder / "run.scr").string(), "--save", saved.string()},
                   folder);
}

// Block references of model space by block name, and the count of entities on `layer`.
struct SheetDrawing {
    std::map<std::string, int> inserts;
    int insertCount = 0;
    int onTrimLayer = 0;
    bool marker = false;
};

SheetDrawing ReadSheet(const fs::path& saved) {
    host::dxf::ReadResult read = host::dxf::readDxfFile(saved);
    SheetDrawing sheet;
    if (!read) {
        ADD_FAILURE() << read.error;
        return sheet;
    }
    const host::db::Database& db = *read.database;
    const auto* ms = dynamic_cast<const host::db::BlockTableRecord*>(db.peek(db.modelSpaceId()));
    for (host::db::ObjectId id : ms->entityIds()) {
        const auto* e = dynamic_cast<const host::db::Entity*>(db.peek(id));
        if (e == nullptr || e->isErased()) continue;
        if (const auto* ref = dynamic_cast<const host::db::BlockReference*>(e)) {
            ++sheet.inserts[ref->blockName()];
            ++sheet.insertCount;
        }
        if (e->layer() == "TrimLine") ++sheet.onTrimLayer;
        if (const auto* text = dynamic_cast<const host::db::Text*>(e)) sheet.marker |= text->textString() == "Kstr_ST";
    }
    return sheet;
}

// The summary lines DrawNest printed ("Stock=k/n Parts=..."), in order.
Lines SheetLines(const std::string& out) {
    Lines lines;
    for (std::size_t at = out.find("Stock="); at != std::string::npos; at = out.find("Stock=", at + 1)) {
        lines.push_back(out.substr(at, out.find(' ', at) - at));
    }
    return lines;
}

TEST(NestingRoad, JobFileIsNestedDrawnPagedAndReported) {
    ScratchFolder folder;
    writeBytes(folder / "job.nst", SampleJob(folder));
    const fs::path saved = folder / "sheet.dxf";
    // Each sheet is saved as it is shown, for the overlap check.
    const RunResult r = RunNesting(folder,
                                   "OpenFileNesting\ndlg ok\nStartNestingAdv\ndlg show\ndlg ok\nSAVEAS\n" +
                                       (folder / "sheet1.dxf").string() + "\nNextListNesting\nSAVEAS\n" +
                                       (folder / "sheet2.dxf").string() +
                                       "\nNextListNesting\nPrevListNesting\n"
                                       "NestInfo\ndlg ok\nAddTrimLineXY\n",
                                   saved, true);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("loaded: 2 sheet(s), 6 part(s)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Please wait ..."), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Time of Nesting 0 min "), std::string::npos) << r.out;
    // The first sheet after the run, then the second, the first again (wrap-around) and back to the second.
    EXPECT_EQ(SheetLines(r.out), (Lines{"Stock=1/2", "Stock=2/2", "Stock=1/2", "Stock=2/2"})) << r.out;
    // The report names both stocks and every copy placed.
    EXPECT_NE(r.out.find("Stock        = 2"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Nesting Parts = 4/4"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Stock 1 : Stosk_250x150"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Stock 2 : stock_remnant"), std::string::npos) << r.out;
    EXPECT_EQ(count(r.out, "Message box"), 0u) << r.out;

    // The second sheet is in the drawing: its marker, its clamps, the remnant stock and its parts, and two trim
    // lines.
    const SheetDrawing sheet = ReadSheet(saved);
    EXPECT_TRUE(sheet.marker);
    EXPECT_EQ(sheet.inserts.count("stock_remnant"), 1u);
    EXPECT_EQ(sheet.inserts.count("Clamp") ? sheet.inserts.at("Clamp") : 0, 2);
    const std::size_t parts = r.out.rfind("Stock=2/2 Parts=");
    ASSERT_NE(parts, std::string::npos);
    const int onSheet = std::stoi(r.out.substr(parts + 16));
    EXPECT_EQ(sheet.insertCount, onSheet + 1 + 2) << r.out;
    EXPECT_EQ(sheet.onTrimLayer, 2);

    // No part overlaps another part or a clamp, and every part lies inside its stock.
    EXPECT_EQ(e2e::SheetOverlaps(folder / "sheet1.dxf", "Stosk_250x150"), Lines{});
    EXPECT_EQ(e2e::SheetOverlaps(folder / "sheet2.dxf", "stock_remnant"), Lines{});
}

TEST(NestingRoad, JobFilesThatCannotBeUsedChangeNothing) {
    ScratchFolder folder;
    const std::string good = SampleJob(folder);
    writeBytes(folder / "job.nst", good);
    writeBytes(folder / "cut_short.nst", good.substr(0, good.size() / 2));
    std::string wrongCount = good;
    wrongCount.replace(wrongCount.find("\r\n3\r\n2\r\nrect_holes.dwg") + 2, 1, "4");  // the part count: 3 becomes 4
    writeBytes(folder / "wrong_count.nst", wrongCount);
    writeBytes(folder / "missing_drawing.nst",
               JobText({RectangleStock("Stosk_250x150", 1)}, {DrawingPart("no_such_part.dwg", 1)}));
    writeBytes(folder / "no_contours.nst",
               JobText({RectangleStock("Stosk_250x150", 1)}, {DrawingPart("no_contours.dxf", 1)}));
    writeBytes(folder / "engraved_stock.nst",
               JobText({DrawingStock("stock_engraved.dwg", 1)}, {RectanglePart("Part_10x10", 1)}));
    writeBytes(folder / "too_many.nst",
               JobText({RectangleStock("Stosk_250x150", 1)}, {RectanglePart("Part_10x10", 20000)}));

    // Each bad file is loaded into the job dialog: those the dialog refuses (or whose drawings it refuses) are
    // told and the dialog is cancelled; the engraved stock passes the dialog and is refused when OK loads it.
    std::string script = "OpenFileNesting\ndlg ok\nStartNestingAdv\ndlg ok\n";
    for (const char* bad : {"cut_short", "wrong_count", "missing_drawing", "no_contours", "engraved_stock", "too_many"}) {
        const std::string name = bad;
        script += "OpenFileNesting\ndlg press Load\nfile " + (folder / (name + ".nst")).string() + "\n";
        if (name == "engraved_stock") script += "dlg press OK\nmsgbox OK\n";
        else script += (name == "no_contours" ? "msgbox No\n" : "msgbox OK\n") + std::string("dlg cancel\n");
    }
    script += "NextListNesting\nNestInfo\ndlg show\ndlg ok\n";
    const fs::path saved = folder / "sheet.dxf";
    const RunResult r = RunNesting(folder, script, saved);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    // One message box per bad file, each naming what is wrong; only the good job was loaded.
    EXPECT_EQ(count(r.out, "Message box"), 6u) << r.out;
    EXPECT_EQ(count(r.out, "loaded: "), 1u) << r.out;
    EXPECT_NE(r.out.find("no_such_part"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("does not contain contours"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("contains illegal types of contours"), std::string::npos) << r.out;
    // The nested job is still there: the next sheet is drawn and the report is the same.
    EXPECT_EQ(SheetLines(r.out).back(), "Stock=2/2") << r.out;
    EXPECT_NE(r.out.find("Nesting Parts = 4/4"), std::string::npos) << r.out;
    const SheetDrawing sheet = ReadSheet(saved);
    EXPECT_TRUE(sheet.marker);
    EXPECT_EQ(sheet.inserts.count("stock_remnant"), 1u);
    EXPECT_EQ(e2e::SheetOverlaps(saved, "stock_remnant"), Lines{});
}

// A drawing that passes the check before the load but fails in it (an engraving without an outline): the load is
// all or nothing, so the nested job, its report and the sheet in the drawing stay as they were.
TEST(NestingRoad, AJobFailingWhileItsDrawingsLoadLeavesThePreviousJobWhole) {
    ScratchFolder folder;
    writeBytes(folder / "job.nst", SampleJob(folder));
    fs::copy_file(kDrawings / "engrave_only.dxf", folder / "engrave_only.dxf");
    writeBytes(folder / "late.nst", JobText({RectangleStock("Stosk_250x150", 1)},
                                            {DrawingPart("flange.dwg", 1), DrawingPart("engrave_only.dwg", 1)}));
    const fs::path saved = folder / "sheet.dxf";
    const RunResult r = RunNesting(folder,
                                   "OpenFileNesting\ndlg ok\nStartNestingAdv\ndlg ok\nSAVEAS\n" +
                                       (folder / "before.dxf").string() +
                                       "\nOpenFileNesting\ndlg press Load\nfile " + (folder / "late.nst").string() +
                                       "\ndlg press OK\nmsgbox OK\nSAVEAS\n" + (folder / "after.dxf").string() +
                                       "\nNestInfo\ndlg show\ndlg ok\nNextListNesting\n",
                                   saved);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("has no closed outer contour"), std::string::npos) << r.out;
    EXPECT_EQ(count(r.out, "loaded: "), 1u) << r.out;
    // The drawing shows the first sheet as before the failed load, the report is the nested job's, and the
    // second sheet can still be drawn from its blocks.
    const SheetDrawing before = ReadSheet(folder / "before.dxf");
    const SheetDrawing after = ReadSheet(folder / "after.dxf");
    EXPECT_EQ(after.inserts, before.inserts);
    EXPECT_TRUE(after.marker);
    EXPECT_NE(r.out.find("Nesting Parts = 4/4"), std::string::npos) << r.out;
    EXPECT_EQ(SheetLines(r.out), (Lines{"Stock=1/2", "Stock=2/2"})) << r.out;
    EXPECT_EQ(ReadSheet(saved).inserts.count("stock_remnant"), 1u);
}

TEST(NestingRoad, StartWithoutAJobOpensTheJobDialogAndCancelRunsNothing) {
    ScratchFolder folder;
    // The job dialog opens on it; the manual part commands before any run say at once that there is no job.
    const RunResult r = RunNesting(folder,
                                   "StartNestingRect\nmsgbox OK\ndlg cancel\nInsertPart\nmsgbox OK\n"
                                   "MovePart\nmsgbox OK\n"
                                   "NextListNesting\nmsgbox OK\n",
                                   folder / "empty.dxf");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("Dialog \"File Nesting\""), std::string::npos) << r.out;
    EXPECT_EQ(count(r.out, "is not available yet"), 0u) << r.out;
    EXPECT_EQ(count(r.out, "Please wait"), 0u) << r.out;
    EXPECT_NE(r.out.find("There are no placed details"), std::string::npos) << r.out;
    EXPECT_EQ(count(r.out, "No nesting job is loaded in this session"), 2u) << r.out;
}

}  // namespace
