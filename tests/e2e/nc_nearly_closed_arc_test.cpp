// Holes drawn as arcs that nearly close, and tiny arcs, cut through a millimetre and an inch postprocessor: every
// arc block read by our own reader and the program run by LinuxCNC's interpreter. Before, a hole drawn as an arc
// of 359.99 degrees (its ends 0.0017 mm apart) was written as a 0.002 mm straight move and left uncut.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/dxf/dxf_file.h"
#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/nc_arc_reader.h"

namespace nc_nearly_closed_arc_test {

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
constexpr double kDegree = std::numbers::pi / 180.0;

// A 60 x 60 plate with two rounded corners (radius 0.004, a chord of a few printed steps, and radius 0.05) and a
// hole of radius 10 about (30, 30): an arc from the top over `sweep` degrees, or a circle for 360.
void writePlate(const fs::path& path, double sweep) {
    host::db::Database db;
    {
        host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Write);
        constexpr double q = 0.41421356237309503;  // the bulge of a quarter arc
        const double a = 0.004, b = 0.05;
        auto outline = std::make_unique<host::db::LwPolyline>();
        const double vertices[][3] = {{0, 0, 0}, {60, 0, 0}, {60, 60 - a, q}, {60 - a, 60, 0}, {b, 60, q},
                                      {0, 60 - b, 0}};
        unsigned i = 0;
        for (const auto& v : vertices) outline->addVertexAt(i++, Point2d(v[0], v[1]), v[2]);
        outline->setClosed(true);
        space->appendEntity(std::move(outline));
        if (sweep >= 360.0) {
            space->appendEntity(std::make_unique<host::db::Circle>(Point3d(30, 30), 10.0));
        } else {
            space->appendEntity(
                std::make_unique<host::db::Arc>(Point3d(30, 30), 10.0, 90 * kDegree, (90 + sweep) * kDegree));
        }
    }
    std::string error;
    ASSERT_TRUE(host::dxf::writeDxfFile(db, path, &error)) << error;
}

TEST(NcNearlyClosedArcs, EveryHoleIsCutAsTheArcItIsInMillimetresAndInches) {
    const double sweeps[] = {359.0, 359.9, 359.99, 359.999, 360.0};
    for (const bool inchPost : {false, true}) {
        for (const double sweep : sweeps) {
            SCOPED_TRACE(std::string(inchPost ? "inch" : "mm") + " post, hole of " + std::to_string(sweep));
            ScratchFolder folder;
            writePlate(folder / "plate.dxf", sweep);
            std::string post = readBytes(kSource / "data/post/FANUC.MXT");
            if (inchPost) {
                const std::size_t unit = post.find("####Unit");
                ASSERT_NE(unit, std::string::npos);
                post.replace(post.find("mm", unit), 2, "inc");
                ASSERT_NE(post.find("G17 G21"), std::string::npos);
                post.replace(post.find("G17 G21"), 7, "G17 G20");
            }
            writeBytes(folder / "SHOP.MXT", post);
            writeBytes(folder / "registry.reg",
                       "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n"
                       "\"LangMenu\"=\"EN\"\r\n\"WarnUnclose\"=\"0\"\r\n\"Postprocessor\"=\"SHOP.MXT\"\r\n\"DirPostprocessor\"=\"" +
                           folder.path().string() + "/\"\r\n");
            writeBytes(folder / "run.scr", "NCCreateContour\nNCSliceAuto\nNCCreate\ndlg ok\ndlg set 249 P\ndlg press OK\n");
            const RunResult r = cadhost({(folder / "plate.dxf").string(), "--load", "laser", "--install",
                                         (kSource / "data").string(), "--registry",
                                         (folder / "registry.reg").string(), "--script", (folder / "run.scr").string()},
                                        folder);
            ASSERT_EQ(r.status, 0) << r.err << r.out;
            ASSERT_TRUE(fs::exists(folder / "plate.nc")) << r.out;
            const std::string program = readBytes(folder / "plate.nc");
            const double unit = inchPost ? 1.0 / 25.4 : 1.0;
            const double step = 0.001;

            // No sliver anywhere, and the hole's arc blocks turn through the whole of the drawn arc.
            EXPECT_EQ(nc_arc_reader::arcFaults(program, step, 0.01 * unit), "") << program;
            double turned = 0.0;
            for (const nc_arc_reader::ArcBlock& a : nc_arc_reader::arcBlocks(program)) {
                if (std::hypot(a.centreX - 30 * unit, a.centreY - 30 * unit) > 2 * step) continue;
                if (std::fabs(std::hypot(a.startX - a.centreX, a.startY - a.centreY) - 10 * unit) > 2 * step) continue;
                turned += a.sweepDegrees();
            }
            // Printed centres and ends may turn the arc by up to two steps along its radius.
            EXPECT_GT(turned, sweep - 2 * step / (10 * unit) * 180 / std::numbers::pi - 0.01) << program;
            EXPECT_LT(turned, 360.01) << program;

            if (!fs::exists(kInterpreter)) continue;
            writeBytes(folder / "tool.tbl", "T1 P1 D0.007874\n");
            const RunResult run = e2e::runInterpreter(
                kInterpreter.string(),
                "-g -t " + e2e::quoted((folder / "tool.tbl").string()) + " " +
                    e2e::quoted((folder / "plate.nc").string()) + " " + e2e::quoted((folder / "canonical.txt").string()),
                folder);
            EXPECT_EQ(run.status, 0) << run.out << run.err << program;
        }
    }
}

// How a hole whose ends lie closer than the joining distance is drawn.
enum class HoleForm { Arc, Polyline, ClockwisePolyline, ClosedPolyline, ArcAndTinyLine };

// A 60 x 60 plate at (at, at) with a hole of radius 10 about its middle, drawn as `form` over `sweep` degrees from
// the top.
void writeHolePlate(const fs::path& path, HoleForm form, double sweep, double at) {
    host::db::Database db;
    {
        host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Write);
        auto outline = std::make_unique<host::db::LwPolyline>();
        const Point2d corners[] = {{at, at}, {at + 60, at}, {at + 60, at + 60}, {at, at + 60}};
        unsigned i = 0;
        for (const Point2d& c : corners) outline->addVertexAt(i++, c, 0.0);
        outline->setClosed(true);
        space->appendEntity(std::move(outline));
        const Point3d centre(at + 30, at + 30);
        const double from = 90 * kDegree, to = (90 + sweep) * kDegree;
        const Point2d start(centre.x + 10 * std::cos(from), centre.y + 10 * std::sin(from));
        const Point2d end(centre.x + 10 * std::cos(to), centre.y + 10 * std::sin(to));
        const double bulge = std::tan(sweep * kDegree / 4);
        switch (form) {
            case HoleForm::Arc:
                space->appendEntity(std::make_unique<host::db::Arc>(centre, 10.0, from, to));
                break;
            case HoleForm::ArcAndTinyLine:
                space->appendEntity(std::make_unique<host::db::Arc>(centre, 10.0, from, to));
                space->appendEntity(std::make_unique<host::db::Line>(Point3d(end.x, end.y), Point3d(start.x, start.y)));
                break;
            case HoleForm::Polyline:
            case HoleForm::ClosedPolyline:
            case HoleForm::ClockwisePolyline: {
                auto hole = std::make_unique<host::db::LwPolyline>();
                if (form == HoleForm::ClockwisePolyline) {
                    hole->addVertexAt(0, end, -bulge);
                    hole->addVertexAt(1, start, 0.0);
                } else {
                    hole->addVertexAt(0, start, bulge);
                    hole->addVertexAt(1, end, 0.0);
                }
                hole->setClosed(form == HoleForm::ClosedPolyline);
                space->appendEntity(std::move(hole));
                break;
            }
        }
    }
    std::string error;
    ASSERT_TRUE(host::dxf::writeDxfFile(db, path, &error)) << error;
}

// Ends closer than the joining distance (0.0001): the contour is closed when contours are made, and the hole
// must be cut whole. Before, the joined polyline's arc began and ended at one point: the program led in to the
// hole, cut nothing of it and said it was created.
TEST(NcNearlyClosedArcs, AHoleWhoseEndsMeetWithinTheJoiningDistanceIsCutWhole) {
    struct Case {
        const char* what;
        HoleForm form;
        double sweep;
        double at;
    };
    const Case cases[] = {
        {"arc", HoleForm::Arc, 359.9999, 0},
        {"arc far from the origin", HoleForm::Arc, 359.9995, 4321},
        {"open polyline", HoleForm::Polyline, 359.9995, 0},
        {"open polyline drawn clockwise", HoleForm::ClockwisePolyline, 359.9999, 4321},
        {"closed polyline with a tiny closing segment", HoleForm::ClosedPolyline, 359.9999, 0},
        {"arc and a tiny line", HoleForm::ArcAndTinyLine, 359.9995, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        writeHolePlate(folder / "plate.dxf", c.form, c.sweep, c.at);
        writeBytes(folder / "registry.reg",
                   "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n"
                   "\"LangMenu\"=\"EN\"\r\n\"WarnUnclose\"=\"0\"\r\n");
        writeBytes(folder / "run.scr", "NCCreateContour\nNCSliceAuto\nNCCreate\ndlg ok\ndlg set 249 P\ndlg press OK\n");
        const RunResult r = cadhost({(folder / "plate.dxf").string(), "--load", "laser", "--install",
                                     (kSource / "data").string(), "--registry", (folder / "registry.reg").string(),
                                     "--script", (folder / "run.scr").string()},
                                    folder);
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        ASSERT_TRUE(fs::exists(folder / "plate.nc")) << r.out;
        const std::string program = readBytes(folder / "plate.nc");
        EXPECT_EQ(nc_arc_reader::arcFaults(program, 0.001, 0.01), "") << program;
        double turned = 0.0;
        for (const nc_arc_reader::ArcBlock& a : nc_arc_reader::arcBlocks(program)) {
            if (std::hypot(a.centreX - (c.at + 30), a.centreY - (c.at + 30)) > 0.002) continue;
            if (std::fabs(std::hypot(a.startX - a.centreX, a.startY - a.centreY) - 10) > 0.002) continue;
            turned += a.sweepDegrees();
        }
        EXPECT_NEAR(turned, 360.0, 0.01) << program;
    }
}

// Without leads a contour whose cut begins on an arc begins without compensation and keeps it off to its end.
// Before, the hole of an arc closed by a tiny line switched compensation on at the line, in the middle of the
// hole: the rest of the hole was cut a kerf aside and LinuxCNC refused the program.
TEST(NcNearlyClosedArcs, AContourBegunOnAnArcWithoutALeadInKeepsCompensationOff) {
    struct Case {
        const char* what;
        HoleForm form;
        double sweep;
        double at;
    };
    const Case cases[] = {
        {"arc closed by a tiny line", HoleForm::ArcAndTinyLine, 359.9, 0},
        {"arc closed by a short line, far from the origin", HoleForm::ArcAndTinyLine, 359.0, 4321},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        writeHolePlate(folder / "plate.dxf", c.form, c.sweep, c.at);
        writeBytes(folder / "registry.reg",
                   "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n"
                   "\"LangMenu\"=\"EN\"\r\n\"WarnUnclose\"=\"0\"\r\n\"LeadInSpan\"=\"0\"\r\n\"LeadOutSpan\"=\"0\"\r\n");
        writeBytes(folder / "run.scr", "NCCreateContour\nNCSliceAuto\nNCCreate\ndlg ok\ndlg set 249 P\ndlg press OK\n");
        const RunResult r = cadhost({(folder / "plate.dxf").string(), "--load", "laser", "--install",
                                     (kSource / "data").string(), "--registry", (folder / "registry.reg").string(),
                                     "--script", (folder / "run.scr").string()},
                                    folder);
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        ASSERT_TRUE(fs::exists(folder / "plate.nc")) << r.out;
        const std::string program = readBytes(folder / "plate.nc");
        // Each cut from M03 to M05 that begins with an arc block holds no G41 or G42.
        std::size_t on = 0;
        while ((on = program.find("M03", on)) != std::string::npos) {
            const std::size_t off = program.find("M05", on);
            const std::string cut = program.substr(on, off - on);
            const std::size_t firstMove = cut.find_first_of("G", cut.find('\n'));
            if (firstMove != std::string::npos && (cut.compare(firstMove, 3, "G02") == 0 ||
                                                   cut.compare(firstMove, 3, "G03") == 0)) {
                EXPECT_EQ(cut.find("G41"), std::string::npos) << program;
                EXPECT_EQ(cut.find("G42"), std::string::npos) << program;
            }
            on = off;
        }
        if (!fs::exists(kInterpreter)) continue;
        writeBytes(folder / "tool.tbl", "T1 P1 D0.007874\n");
        const RunResult run = e2e::runInterpreter(
            kInterpreter.string(),
            "-g -t " + e2e::quoted((folder / "tool.tbl").string()) + " " + e2e::quoted((folder / "plate.nc").string()) +
                " " + e2e::quoted((folder / "canonical.txt").string()),
            folder);
        EXPECT_EQ(run.status, 0) << run.out << run.err << program;
    }
}

}  // namespace nc_nearly_closed_arc_test
