// Every arc block of the programs of a big sheet, read by our own reader as a controller reads them: a sheet of
// thousands of mixed parts at coordinates in the thousands, its contours and path made once, then its program
// written through every shipped postprocessor. Before, a hole's lead-in could leave the machine a grid step beside
// the circle's start (a coordinate within 1.5 steps is not written again) while the whole-circle block ended at
// the circle's start: the controller read a sliver of an arc and left the hole uncut. And the arc centres were
// taken from the drawn start, so the radii at the two ends of an arc differed by more than a printed step.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/dxf/dxf_file.h"
#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/nc_arc_reader.h"

namespace nc_arc_blocks_test {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::RunResult;
using host::ge::Point2d;
using host::ge::Point3d;
using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

const fs::path kSource = KESTRION_SOURCE_DIR;
const fs::path kInterpreter = "/usr/bin/rs274";

// A sheet of three kinds of parts, one after the other, at a pitch of no round numbers from (1500.1234, 1200.5678):
// a 40 x 30 plate with rounded corners and two holes, a disc with an eccentric hole, and a slot (two lines, two
// half circles) with a hole. The holes' radii are no round numbers either, so their starts fall anywhere on the
// grid of the printed decimals.
void writeMixedSheet(const fs::path& path, int columns, int rows) {
    host::db::Database db;
    {
        host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Write);
        const auto circle = [&](double x, double y, double r) {
            space->appendEntity(std::make_unique<host::db::Circle>(Point3d(x, y), r));
        };
        for (int row = 0; row < rows; ++row) {
            for (int col = 0; col < columns; ++col) {
                const double x = 1500.1234 + col * 52.3711, y = 1200.5678 + row * 43.1973;
                const int kind = (row + col) % 3;
                auto outline = std::make_unique<host::db::LwPolyline>();
                if (kind == 0) {
                    // Corners rounded with a radius of 3: a quarter arc is a bulge of tan(22.5 degrees).
                    constexpr double kQuarter = 0.41421356237309503;
                    const Point2d points[] = {{x + 3, y},      {x + 37, y},      {x + 40, y + 3}, {x + 40, y + 27},
                                              {x + 37, y + 30}, {x + 3, y + 30}, {x, y + 27},     {x, y + 3}};
                    for (unsigned i = 0; i < 8; ++i) outline->addVertexAt(i, points[i], i % 2 == 1 ? kQuarter : 0.0);
                    outline->setClosed(true);
                    space->appendEntity(std::move(outline));
                    circle(x + 10.0371, y + 15.0913, 4.1237);
                    circle(x + 29.9627, y + 14.9088, 2.3719);
                } else if (kind == 1) {
                    circle(x + 20, y + 18, 18.4031);
                    circle(x + 23.1171, y + 16.0539, 6.0517);
                } else {
                    outline->addVertexAt(0, {x + 6.0713, y + 3.3}, 0.0);
                    outline->addVertexAt(1, {x + 36.0713, y + 3.3}, 1.0);
                    outline->addVertexAt(2, {x + 36.0713, y + 15.3}, 0.0);
                    outline->addVertexAt(3, {x + 6.0713, y + 15.3}, 1.0);
                    outline->setClosed(true);
                    space->appendEntity(std::move(outline));
                    circle(x + 21.0713, y + 9.3, 3.3113);
                }
            }
        }
    }
    std::string error;
    ASSERT_TRUE(host::dxf::writeDxfFile(db, path, &error)) << error;
}

std::string Registry(const std::string& postprocessor) {
    return std::string("Windows Registry Editor Version 5.00\r\n\r\n"
                       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n"
                       "\"LangMenu\"=\"EN\"\r\n\"Postprocessor\"=\"") +
           postprocessor + "\"\r\n";
}

RunResult runSession(const ScratchFolder& folder, const fs::path& drawing, const std::string& post,
                     const std::string& script, const fs::path& saved) {
    writeBytes(folder / "registry.reg", Registry(post));
    writeBytes(folder / "run.scr", script);
    return cadhost({drawing.string(), "--load", "laser", "--install", (kSource / "data").string(), "--registry",
                    (folder / "registry.reg").string(), "--script", (folder / "run.scr").string(), "--save",
                    saved.string()},
                   folder);
}

TEST(NcArcBlocks, EveryArcOfABigSheetsProgramsStartsAndEndsOnItsCircle) {
    constexpr int kColumns = 60, kRows = 40;  // 2400 parts, about 6000 contours, x up to 4600
    // Whole circles: two holes of a plate, a disc and its hole, the hole of a slot.
    constexpr int kCircles = kColumns * kRows / 3 * (2 + 2 + 1);
    ScratchFolder folder;
    const fs::path sheet = folder / "sheet.dxf", cut = folder / "cut.dxf";
    writeMixedSheet(sheet, kColumns, kRows);
    const RunResult made = runSession(folder, sheet, "FANUC.MXT", "NCCreateContour\nNCSliceAuto\n", cut);
    ASSERT_EQ(made.status, 0) << made.err << made.out;
    for (const char* post : {"FANUC.MXT", "LINUXCNC_PLASMA.MXT", "LINUXCNC_WATERJET.MXT"}) {
        SCOPED_TRACE(post);
        const fs::path program = folder / (std::string(post) + ".nc");
        const RunResult r = runSession(folder, cut, post,
                                       "NCCreate\nfile " + program.string() + "\ndlg set 249 Sheet\ndlg press OK\n",
                                       folder / "again.dxf");
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        ASSERT_TRUE(fs::exists(program)) << r.out;
        int arcs = 0, wholeCircles = 0;
        const std::string faults = nc_arc_reader::arcFaults(readBytes(program), 0.001, 0.01, &arcs, &wholeCircles);
        EXPECT_EQ(faults, "");
        // Every hole and disc is one whole-circle block; the plates' corners and the slots' ends are arcs.
        EXPECT_EQ(wholeCircles, kCircles);
        EXPECT_GT(arcs, kCircles + kColumns * kRows);
        // And LinuxCNC's own interpreter runs it (its kerf in tool 1, 0.2 mm written in inches).
        if (fs::exists(kInterpreter)) {
            writeBytes(folder / "tool.tbl", "T1 P1 D0.007874\n");
            const RunResult run = e2e::runCommand(kInterpreter.string() + " -g -t " +
                                                      e2e::quoted((folder / "tool.tbl").string()) + " " +
                                                      e2e::quoted(program.string()) + " " +
                                                      e2e::quoted((folder / "canonical.txt").string()),
                                                  folder);
            EXPECT_EQ(run.status, 0) << run.out << run.err;
        }
    }
}

}  // namespace nc_arc_blocks_test
