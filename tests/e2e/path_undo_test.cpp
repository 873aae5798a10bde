// UNDO and REDO after each command that writes or erases path groups, on the plate with two holes (a 200 x 100 plate, holes
// of radius 10 at (60,60) and (160,60)): the job follows the drawing, so a program written then cuts every contour
// the drawing's path shows, or NCCreate says why it writes none, and the next path command works. Before, the job
// kept the path an UNDO had taken away: NCCreate wrote an empty program reported "successfully created", the next
// NCSliceAuto failed with "Group "DOROZ_3" has not been defined", and an UNDO of NCDelLast brought the move home back
// into the drawing but not into the program.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "host/dxf/dxf_file.h"
#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/laser_session.h"
#include "tests/e2e/nc_arc_reader.h"
#include "tests/e2e/path_visits.h"

namespace path_undo_test {

namespace fs = std::filesystem;
using e2e::has;
using e2e::RunResult;
using e2e::Visit;
using host::ge::Point3d;
using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

const fs::path kSource = KESTRION_SOURCE_DIR;
const fs::path kPlate = kSource / "laser" / "contours" / "tests" / "fixtures" / "plate_two_holes.dxf";

// The positions an NC program takes the machine to (absolute X and Y, modal motion), cutting or not.
std::vector<Visit> programPositions(const std::string& program) {
    std::vector<Visit> positions;
    std::istringstream in(program);
    Point3d at;
    int motion = 0;
    for (std::string line; std::getline(in, line);) {
        bool moved = false;
        for (const nc_arc_reader::Word& w : nc_arc_reader::wordsOf(line)) {
            if (w.letter == 'G' && w.value >= 0 && w.value <= 3) motion = static_cast<int>(w.value);
            if (w.letter == 'X') at.x = w.value, moved = true;
            if (w.letter == 'Y') at.y = w.value, moved = true;
        }
        if (moved) positions.push_back({at, motion != 0});
    }
    return positions;
}

// What is wrong between the saved drawing's path and the program: a point of the path the program does not take
// the machine to in the same way (cutting or not), or a count of holes that differs. "" when none.
std::string programFault(const fs::path& drawing, const std::string& program) {
    host::dxf::ReadResult read = host::dxf::readDxfFile(drawing);
    if (!read) return read.error;
    int circles = 0;
    const std::vector<Visit> path = e2e::pathVisits(*read.database, circles);
    const std::vector<Visit> moves = programPositions(program);
    std::ostringstream faults;
    for (const Visit& v : path) {
        bool reached = false;
        for (const Visit& m : moves) reached = reached || (m.cutting == v.cutting && e2e::near(m.at, v.at));
        if (!reached) faults << "path point (" << v.at.x << "," << v.at.y << (v.cutting ? ", cut" : ", rapid") << ") is not in the program\n";
    }
    int arcs = 0, whole = 0;
    faults << nc_arc_reader::arcFaults(program, 0.001, 0.01, &arcs, &whole);
    if (whole != circles) faults << "the path shows " << circles << " holes, the program cuts " << whole << "\n";
    return faults.str();
}

// The path groups of a saved drawing: every group named DOROZ_<n>.
int pathGroupCount(const fs::path& drawing) {
    host::dxf::ReadResult read = host::dxf::readDxfFile(drawing);
    if (!read) return -1;
    const host::db::Database& db = *read.database;
    const auto* groups = dynamic_cast<const host::db::Dictionary*>(db.peek(db.groupDictionaryId()));
    int count = 0;
    if (groups == nullptr) return 0;
    for (const auto& entry : groups->entries()) count += entry.first.rfind("DOROZ_", 0) == 0 ? 1 : 0;
    return count;
}

TEST(PathUndo, AProgramAfterUndoOrRedoCutsWhatTheDrawingsPathShows) {
    struct Case {
        const char* what;
        const char* commands;  // after NCCreateContour and NCSliceAuto
        int pathGroups;        // path groups (the move home included) the drawing shows at the end
        int contoursLeft = 0;  // contours without a path then
    };
    // Picks: 170,60 lies on the hole at (160,60).
    const Case cases[] = {
        {"NCSliceAuto undone", "UNDO\n1\n", 0},
        {"NCSliceAuto undone and made again", "UNDO\n1\nNCSliceAuto\n", 4},
        {"NCSliceAuto undone twice over", "UNDO\n1\nNCSliceAuto\nUNDO\n1\nNCSliceAuto\n", 4},
        {"NCDelPick undone", "NCDelPick\n170,60\n\nUNDO\n1\n", 4},
        {"NCDelPick and NCSliceAuto undone", "NCDelPick\n170,60\n\nUNDO\n2\n", 0},
        {"NCDelPick undone, then NCSliceAuto", "NCDelPick\n170,60\n\nUNDO\n1\nNCSliceAuto\n", 4},
        {"NCDelAll undone", "NCDelAll\nUNDO\n1\n", 4},
        {"NCDelLast undone: the move home is back", "NCDelLast\nUNDO\n1\n", 4},
        {"NCDelLast undone, then NCDelLast", "NCDelLast\nUNDO\n1\nNCDelLast\n", 3},
        {"NCDelPick", "NCDelPick\n170,60\n\n", 3, 1},
        {"NCSlice of a hole undone", "NCDelPick\n170,60\n\nNCSlice\n170,60\n\nUNDO\n1\n", 3, 1},
        // REDO does the undone command again, and the job follows.
        {"NCSliceAuto undone and redone", "UNDO\n1\nREDO\n", 4},
        {"NCDelAll undone and redone", "NCDelAll\nUNDO\n1\nREDO\n", 0},
        {"NCDelPick undone and redone", "NCDelPick\n170,60\n\nUNDO\n1\nREDO\n", 3, 1},
        {"NCDelLast undone and redone, then NCSliceAuto", "NCDelLast\nUNDO\n1\nREDO\nNCSliceAuto\n", 4},
        {"NCSlice of a hole undone, then NCSliceAuto", "NCDelPick\n170,60\n\nNCSlice\n170,60\n\nUNDO\n1\nNCSliceAuto\n",
         4},
        {"NCOrder undone", "NCOrder\n170,60\n70,60\n\nUNDO\n1\n", 4},
        {"NCOrder undone and redone", "NCOrder\n170,60\n70,60\n\nUNDO\n1\nREDO\n", 4},
        {"NCChangeCutDirection undone", "NCChangeCutDirection\n170,60\n\nUNDO\n1\n", 4},
        {"NCChangeCutDirection undone and redone", "NCChangeCutDirection\n170,60\n\nUNDO\n1\nREDO\n", 4},
        {"NCRapidHome undone", "NCDelLast\nNCRapidHome\nUNDO\n1\n", 3},
        {"NCRapidHome undone and redone", "NCDelLast\nNCRapidHome\nUNDO\n1\nREDO\n", 4},
        {"NCReplace undone", "NCDelPick\n170,60\n\nNCReplace\n70,60\n170,60\n\nUNDO\n1\n", 3, 1},
        {"NCReplace undone and redone", "NCDelPick\n170,60\n\nNCReplace\n70,60\n170,60\n\nUNDO\n1\nREDO\n", 3, 1},
        {"NCInsert undone", "NCDelPick\n170,60\n\nNCInsert\n70,60\n170,60\n\nUNDO\n1\n", 3, 1},
        {"NCInsert undone and redone", "NCDelPick\n170,60\n\nNCInsert\n70,60\n170,60\n\nUNDO\n1\nREDO\n", 4},
        {"NCSliceFence undone", "NCDelPick\n170,60\n\nNCSliceFence\n155,40\n155,80\n\nUNDO\n1\n", 3, 1},
        {"NCSliceFence undone and redone", "NCDelPick\n170,60\n\nNCSliceFence\n155,40\n155,80\n\nUNDO\n1\nREDO\n", 3},
        {"CreateBridge undone", "CreateBridge\n165,40\n165,80\n\nUNDO\n1\n", 4},
        {"CreateBridge undone and redone", "CreateBridge\n165,40\n165,80\n\nUNDO\n1\nREDO\n", 4},
        {"three steps undone, then redone", "NCDelPick\n170,60\n\nNCDelLast\nUNDO\n3\nREDO\n", 2, 1},
        {"three steps undone, then two", "NCDelPick\n170,60\n\nNCDelLast\nUNDO\n2\nUNDO\n1\n", 0},
        {"REDO twice", "NCDelPick\n170,60\n\nUNDO\n1\nREDO\nREDO\n", 3, 1},
        {"UNDO, REDO, UNDO", "NCDelPick\n170,60\n\nUNDO\n1\nREDO\nUNDO\n1\n", 4},
        {"UNDO with Enter after NCDelAll, then NCSliceAuto", "NCDelAll\nUNDO\n\nNCSliceAuto\n", 4},
        // A save is no step of its own: UNDO after it takes back the command before it.
        {"NCSliceAuto saved, then undone", "QSAVE\nUNDO\n1\n", 0},
        {"NCDelPick saved, then undone", "NCDelPick\n170,60\n\nQSAVE\nUNDO\n1\n", 4},
        {"NCDelPick saved twice, undone and redone", "NCDelPick\n170,60\n\nQSAVE\nQSAVE\nUNDO\n1\nREDO\n", 3, 1},
        {"NCDelLast saved, then undone", "NCDelLast\nQSAVE\nUNDO\n1\n", 4},
        {"NCDelPick undone, saved, redone", "NCDelPick\n170,60\n\nUNDO\n1\nQSAVE\nREDO\n", 3, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        const fs::path program = folder / "plate.nc", saved = folder / "saved.dxf";
        const std::string write = "NCCreate\nfile " + program.string() + "\ndlg set 249 P\ndlg press OK\n";
        const std::string script = "NCCreateContour\nNCSliceAuto\n" + std::string(c.commands) +
                                   (c.pathGroups > 0 ? write : "NCCreate\n");
        writeBytes(folder / "run.scr", script);
        const fs::path drawing = folder / "plate.dxf";  // QSAVE writes it
        fs::copy_file(kPlate, drawing);
        const RunResult r = e2e::cadhost({drawing.string(), "--load", "laser", "--install", (kSource / "data").string(),
                                          "--registry", e2e::writeLanguageRegistry(folder).string(), "--script",
                                          (folder / "run.scr").string(), "--save", saved.string()},
                                         folder);
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        EXPECT_FALSE(has(r.out, "has not been defined")) << r.out;
        EXPECT_FALSE(has(r.out, "not found")) << r.out;
        EXPECT_FALSE(has(r.out, "Error:")) << r.out;
        const int groups = pathGroupCount(saved);
        EXPECT_EQ(groups, c.pathGroups) << r.out;
        if (c.pathGroups == 0) {
            EXPECT_TRUE(has(r.out, "The drawing has no cutting path: no NC program is written.")) << r.out;
            EXPECT_FALSE(fs::exists(program));
            continue;
        }
        ASSERT_TRUE(fs::exists(program)) << r.out;
        EXPECT_TRUE(has(r.out, "is successfully created")) << r.out;
        const std::string text = readBytes(program);
        EXPECT_EQ(programFault(saved, text), "") << text;
        // Contours the path does not show are named where the program is reported.
        EXPECT_EQ(has(r.out, "contours left without a cutting path are not in it: " + std::to_string(c.contoursLeft)),
                  c.contoursLeft > 0)
            << r.out;
    }
}

}  // namespace path_undo_test
