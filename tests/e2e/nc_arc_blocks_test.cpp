// Every arc block of the programs of a big sheet, read by our own reader as a controller reads them: a sheet of
// over a thousand mixed parts at coordinates in the thousands, its contours and path made once, then its program
// written through every shipped postprocessor. Before, a hole's lead-in could leave the machine a grid step beside
// the circle's start (a coordinate within 1.5 steps is not written again) while the whole-circle block ended at
// the circle's start: the controller read a sliver of an arc and left the hole uncut. And the arc centres were
// taken from the drawn start, so the radii at the two ends of an arc differed by more than a printed step.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <numbers>
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

// A sheet of three kinds of parts, one after the other, at a pitch of no round numbers from (1500.1234, 1200.5678),
// each turned about its middle by another angle as nesting turns parts: a 40 x 30 plate with rounded corners and
// two holes, a disc with an eccentric hole, and a slot (two lines, two half circles) with a hole. The holes' radii
// are no round numbers either, so starts, centres and ends fall anywhere on the grid of the printed decimals.
void writeMixedSheet(const fs::path& path, int columns, int rows) {
    host::db::Database db;
    {
        host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Write);
        for (int row = 0; row < rows; ++row) {
            for (int col = 0; col < columns; ++col) {
                const double x = 1500.1234 + col * 52.3711, y = 1200.5678 + row * 53.1973;
                const int index = row * columns + col;
                const double angle = std::fmod(index * 17.3, 360.0) * std::numbers::pi / 180.0;
                // A point of the part drawn at the origin, turned about (20, 15) and moved to the part's place.
                const auto at = [&](double u, double v) {
                    u -= 20;
                    v -= 15;
                    return Point2d(x + 20 + u * std::cos(angle) - v * std::sin(angle),
                                   y + 15 + u * std::sin(angle) + v * std::cos(angle));
                };
                const auto circle = [&](double u, double v, double r) {
                    const Point2d c = at(u, v);
                    space->appendEntity(std::make_unique<host::db::Circle>(Point3d(c.x, c.y), r));
                };
                const auto outline = [&](std::initializer_list<std::array<double, 3>> vertices) {
                    auto polyline = std::make_unique<host::db::LwPolyline>();
                    unsigned i = 0;
                    for (const auto& [u, v, bulge] : vertices) polyline->addVertexAt(i++, at(u, v), bulge);
                    polyline->setClosed(true);
                    space->appendEntity(std::move(polyline));
                };
                switch ((row + col) % 3) {
                    case 0: {
                        // Corners rounded with a radius of 3: a quarter arc is a bulge of tan(22.5 degrees).
                        constexpr double q = 0.41421356237309503;
                        outline({{3, 0, 0}, {37, 0, q}, {40, 3, 0}, {40, 27, q}, {37, 30, 0}, {3, 30, q}, {0, 27, 0},
                                 {0, 3, q}});
                        circle(10.0371, 15.0913, 4.1237);
                        circle(29.9627, 14.9088, 2.3719);
                        break;
                    }
                    case 1:
                        circle(20, 18, 18.4031);
                        circle(23.1171, 16.0539, 6.0517);
                        break;
                    default:
                        outline({{6.0713, 3.3, 0}, {36.0713, 3.3, 1}, {36.0713, 15.3, 0}, {6.0713, 15.3, 1}});
                        circle(21.0713, 9.3, 3.3113);
                        break;
                }
            }
        }
    }
    std::string error;
    ASSERT_TRUE(host::dxf::writeDxfFile(db, path, &error)) << error;
}

TEST(NcArcBlocks, EveryArcOfABigSheetsProgramsStartsAndEndsOnItsCircle) {
    constexpr int kColumns = 60, kRows = 50;  // 3000 parts, 8000 contours, x up to 4650 and y up to 3850
    // Whole circles: two holes of a plate, a disc and its hole, the hole of a slot.
    constexpr int kCircles = kColumns * kRows / 3 * (2 + 2 + 1);
    const char* posts[] = {"FANUC.MXT", "LINUXCNC_PLASMA.MXT", "LINUXCNC_WATERJET.MXT"};
    ScratchFolder folder;
    const fs::path sheet = folder / "sheet.dxf";
    writeMixedSheet(sheet, kColumns, kRows);
    // The contours and path made once, then a program through each postprocessor, named in the program dialog.
    std::string script = "NCCreateContour\nNCSliceAuto\n";
    for (const char* post : posts) {
        script += "NCCreate\nfile " + (folder / (std::string(post) + ".nc")).string() + "\ndlg set 225 " + post +
                  "\ndlg set 249 Sheet\ndlg press OK\n";
    }
    writeBytes(folder / "registry.reg", "Windows Registry Editor Version 5.00\r\n\r\n"
                                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n\"LangMenu\"=\"EN\"\r\n");
    writeBytes(folder / "run.scr", script);
    const RunResult r = cadhost({sheet.string(), "--load", "laser", "--install", (kSource / "data").string(),
                                 "--registry", (folder / "registry.reg").string(), "--script",
                                 (folder / "run.scr").string()},
                                folder);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    for (const char* post : posts) {
        SCOPED_TRACE(post);
        const fs::path program = folder / (std::string(post) + ".nc");
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
            const RunResult run = e2e::runInterpreter(kInterpreter.string(),
                                                      "-g -t " + e2e::quoted((folder / "tool.tbl").string()) + " " +
                                                          e2e::quoted(program.string()) + " " +
                                                          e2e::quoted((folder / "canonical.txt").string()),
                                                      folder);
            EXPECT_EQ(run.status, 0) << run.out << run.err;
        }
    }
}

}  // namespace nc_arc_blocks_test
