// A plate whose hole is drawn twice, one circle over the other (as an import or a double click leaves them): the
// copy is removed when contours are made and the hole is cut; and a program written while contours have no path
// says so where it says the program is created. Before, both circles were left without a path and the program
// cut the outline alone, reported "successfully created".
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/dxf/dxf_file.h"
#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/nc_arc_reader.h"

namespace hole_drawn_twice_test {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::has;
using e2e::RunResult;
using host::ge::Point2d;
using host::ge::Point3d;
using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

const fs::path kSource = KESTRION_SOURCE_DIR;

// A 60 x 40 plate with a hole of radius 8 about (20, 20) drawn twice and one of radius 5 about (45, 20) once.
void writePlate(const fs::path& path) {
    host::db::Database db;
    {
        host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Write);
        auto outline = std::make_unique<host::db::LwPolyline>();
        const Point2d corners[] = {{0, 0}, {60, 0}, {60, 40}, {0, 40}};
        unsigned i = 0;
        for (const Point2d& c : corners) outline->addVertexAt(i++, c, 0.0);
        outline->setClosed(true);
        space->appendEntity(std::move(outline));
        space->appendEntity(std::make_unique<host::db::Circle>(Point3d(20, 20), 8.0));
        space->appendEntity(std::make_unique<host::db::Circle>(Point3d(20, 20), 8.0));
        space->appendEntity(std::make_unique<host::db::Circle>(Point3d(45, 20), 5.0));
    }
    std::string error;
    ASSERT_TRUE(host::dxf::writeDxfFile(db, path, &error)) << error;
}

TEST(HoleDrawnTwice, TheCopyIsRemovedAndAProgramWithoutAContourSaysSo) {
    struct Case {
        const char* what;
        const char* language;
        int autoDelCopy;
        int holesCut;          // whole-circle blocks in the program
        const char* created;   // the line that reports the program
    };
    const Case cases[] = {
        {"copies removed", "EN", 1, 2, "plate.nc is successfully created"},
        {"copies kept: the doubled hole gets no path", "EN", 0, 1,
         "plate.nc is successfully created, but contours left without a cutting path are not in it: 2"},
        {"copies kept, in Russian", "RU", 0, 1,
         "plate.nc успешно создан, но контуров без траектории резки в нём нет: 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        writePlate(folder / "plate.dxf");
        writeBytes(folder / "registry.reg",
                   "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n"
                   "\"LangMenu\"=\"" + std::string(c.language) + "\"\r\n\"AutoDelCopy\"=\"" +
                       std::to_string(c.autoDelCopy) + "\"\r\n");
        writeBytes(folder / "run.scr",
                   "NCCreateContour\nNCSliceAuto\nNCCreate\nfile " + (folder / "plate.nc").string() +
                       "\ndlg set 249 P\ndlg press OK\n");
        const RunResult r = cadhost({(folder / "plate.dxf").string(), "--load", "laser", "--install",
                                     (kSource / "data").string(), "--registry", (folder / "registry.reg").string(),
                                     "--script", (folder / "run.scr").string()},
                                    folder);
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        ASSERT_TRUE(fs::exists(folder / "plate.nc")) << r.out;
        EXPECT_TRUE(has(r.out, c.created)) << r.out;
        EXPECT_EQ(has(r.out, "Contours left without a cutting path") || has(r.out, "Контуров без траектории"),
                  c.autoDelCopy == 0)
            << r.out;
        // The removal is told with the count, so a user knows the drawing changed.
        EXPECT_EQ(has(r.out, "Circles and arcs drawn twice over each other: 1 removed"), c.autoDelCopy != 0) << r.out;
        if (c.autoDelCopy != 0) {
            EXPECT_FALSE(has(r.out, "successfully created, but")) << r.out;
        }
        int arcs = 0, whole = 0;
        EXPECT_EQ(nc_arc_reader::arcFaults(readBytes(folder / "plate.nc"), 0.001, 0.01, &arcs, &whole), "");
        EXPECT_EQ(whole, c.holesCut) << readBytes(folder / "plate.nc");
    }
}

// What is drawn over the hole of radius 8 about (20, 20) besides its circle.
enum class Over { HalfArc, TwoHalfArcs, TwoBulgePolyline, DShape };

// The plate of writePlate with the hole drawn once as a circle and again as `over`.
void writeCoveredPlate(const fs::path& path, Over over) {
    host::db::Database db;
    {
        host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Write);
        auto outline = std::make_unique<host::db::LwPolyline>();
        const Point2d corners[] = {{0, 0}, {60, 0}, {60, 40}, {0, 40}};
        unsigned i = 0;
        for (const Point2d& c : corners) outline->addVertexAt(i++, c, 0.0);
        outline->setClosed(true);
        space->appendEntity(std::move(outline));
        space->appendEntity(std::make_unique<host::db::Circle>(Point3d(20, 20), 8.0));
        space->appendEntity(std::make_unique<host::db::Circle>(Point3d(45, 20), 5.0));
        constexpr double pi = 3.14159265358979323846;
        switch (over) {
            case Over::HalfArc:
                space->appendEntity(std::make_unique<host::db::Arc>(Point3d(20, 20), 8.0, 0.0, pi));
                break;
            case Over::TwoHalfArcs:
                space->appendEntity(std::make_unique<host::db::Arc>(Point3d(20, 20), 8.0, 0.0, pi));
                space->appendEntity(std::make_unique<host::db::Arc>(Point3d(20, 20), 8.0, pi, 2 * pi));
                break;
            case Over::TwoBulgePolyline: {
                auto round = std::make_unique<host::db::LwPolyline>();
                round->addVertexAt(0, Point2d(28, 20), 1.0);
                round->addVertexAt(1, Point2d(12, 20), 1.0);
                round->setClosed(true);
                space->appendEntity(std::move(round));
                break;
            }
            case Over::DShape:  // a part of its own whose round side runs along the hole's: it stays
                space->appendEntity(std::make_unique<host::db::Arc>(Point3d(20, 20), 8.0, pi / 2, 3 * pi / 2));
                space->appendEntity(std::make_unique<host::db::Line>(Point3d(20, 12), Point3d(20, 28)));
                break;
        }
    }
    std::string error;
    ASSERT_TRUE(host::dxf::writeDxfFile(db, path, &error)) << error;
}

// A hole drawn as a circle with arcs over it: the arcs that meet nothing but arcs on the circle are removed and
// the hole is cut once, as a hole. Before, a circle over a closed polyline of two arcs was made two contours, one
// taken for a part inside the other, and cut twice (the second time entering on the wrong side); a circle with two
// half arcs over it was not cut at all.
TEST(HoleDrawnTwice, ArcsDrawnOverACircleAreRemovedAndTheHoleIsCutOnce) {
    struct Case {
        const char* what;
        Over over;
        int removed;         // 0: no removal line
        double turnedAbout;  // degrees the arc blocks about (20, 20) of radius 8 turn through
        const char* created;
    };
    const Case cases[] = {
        {"half arc", Over::HalfArc, 1, 360, "plate.nc is successfully created\n"},
        {"two half arcs", Over::TwoHalfArcs, 2, 360, "plate.nc is successfully created\n"},
        {"closed polyline of two arcs", Over::TwoBulgePolyline, 2, 360, "plate.nc is successfully created\n"},
        // Its arc meets a line: it is no copy and stays, and the program says which contours it leaves out.
        {"a part whose side runs along the hole", Over::DShape, 0, 0,
         "plate.nc is successfully created, but contours left without a cutting path are not in it: 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        writeCoveredPlate(folder / "plate.dxf", c.over);
        writeBytes(folder / "registry.reg",
                   "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n"
                   "\"LangMenu\"=\"EN\"\r\n\"WarnUnclose\"=\"0\"\r\n");
        writeBytes(folder / "run.scr", "NCCreateContour\nNCSliceAuto\nNCCreate\nfile " +
                                           (folder / "plate.nc").string() + "\ndlg set 249 P\ndlg press OK\n");
        const RunResult r = cadhost({(folder / "plate.dxf").string(), "--load", "laser", "--install",
                                     (kSource / "data").string(), "--registry", (folder / "registry.reg").string(),
                                     "--script", (folder / "run.scr").string()},
                                    folder);
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        ASSERT_TRUE(fs::exists(folder / "plate.nc")) << r.out;
        EXPECT_TRUE(has(r.out, c.created)) << r.out;
        EXPECT_EQ(has(r.out, "Circles and arcs drawn twice over each other: " + std::to_string(c.removed) + " removed"),
                  c.removed != 0)
            << r.out;
        EXPECT_FALSE(has(r.out, "Unclose = 1")) << r.out;
        const std::string program = readBytes(folder / "plate.nc");
        EXPECT_EQ(nc_arc_reader::arcFaults(program, 0.001, 0.01), "") << program;
        double turned = 0.0;
        for (const nc_arc_reader::ArcBlock& a : nc_arc_reader::arcBlocks(program)) {
            if (std::hypot(a.centreX - 20, a.centreY - 20) > 0.002) continue;
            if (std::fabs(std::hypot(a.startX - a.centreX, a.startY - a.centreY) - 8) > 0.002) continue;
            turned += a.sweepDegrees();
        }
        EXPECT_NEAR(turned, c.turnedAbout, 0.01) << program;
    }
}

// A hole with an engraving drawn on it: a lead-in left with no length (every lead would end on the engraving)
// must not switch compensation on in the hole's arc block. Before, the program entered compensation on the arc
// and LinuxCNC refused it.
TEST(HoleDrawnTwice, AHoleWithAnEngravingOverItEntersNoCompensationOnAnArc) {
    ScratchFolder folder;
    {
        host::db::Database db;
        {
            host::db::ObjectPtr<host::db::SymbolTable> layers(db.tableId(host::db::TableKind::Layer),
                                                              host::db::OpenMode::Write);
            ASSERT_TRUE(layers);
            ASSERT_EQ(layers->add(std::make_unique<host::db::LayerTableRecord>("EngraveLine")),
                      host::db::Status::Ok);
        }
        host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Write);
        auto outline = std::make_unique<host::db::LwPolyline>();
        const Point2d corners[] = {{0, 0}, {100, 0}, {100, 60}, {0, 60}};
        unsigned i = 0;
        for (const Point2d& c : corners) outline->addVertexAt(i++, c, 0.0);
        outline->setClosed(true);
        space->appendEntity(std::move(outline));
        auto engraving = std::make_unique<host::db::Circle>(Point3d(25, 30), 8.0);
        engraving->setLayer(db.recordId(host::db::TableKind::Layer, "EngraveLine"));
        space->appendEntity(std::move(engraving));
        space->appendEntity(std::make_unique<host::db::Circle>(Point3d(25, 30), 8.0));
        std::string error;
        ASSERT_TRUE(host::dxf::writeDxfFile(db, folder / "plate.dxf", &error)) << error;
    }
    writeBytes(folder / "registry.reg",
               "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n"
               "\"LangMenu\"=\"EN\"\r\n");
    writeBytes(folder / "run.scr", "NCCreateContour\nNCSliceAuto\nNCCreate\nfile " + (folder / "plate.nc").string() +
                                       "\ndlg set 249 P\ndlg press OK\n");
    const RunResult r = cadhost({(folder / "plate.dxf").string(), "--load", "laser", "--install",
                                 (kSource / "data").string(), "--registry", (folder / "registry.reg").string(),
                                 "--script", (folder / "run.scr").string()},
                                folder);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    ASSERT_TRUE(fs::exists(folder / "plate.nc")) << r.out;
    const std::string program = readBytes(folder / "plate.nc");
    int arcs = 0, whole = 0;
    EXPECT_EQ(nc_arc_reader::arcFaults(program, 0.001, 0.01, &arcs, &whole), "") << program;
    EXPECT_EQ(whole, 2) << program;  // the engraving and the hole
    for (const nc_arc_reader::ArcBlock& a : nc_arc_reader::arcBlocks(program)) {
        EXPECT_EQ(a.text.find("G41"), std::string::npos) << program;
        EXPECT_EQ(a.text.find("G42"), std::string::npos) << program;
    }
    const fs::path interpreter = "/usr/bin/rs274";
    if (!fs::exists(interpreter)) return;
    writeBytes(folder / "tool.tbl", "T1 P1 D0.007874\n");
    const RunResult run = e2e::runInterpreter(
        interpreter.string(),
        "-g -t " + e2e::quoted((folder / "tool.tbl").string()) + " " + e2e::quoted((folder / "plate.nc").string()) +
            " " + e2e::quoted((folder / "canonical.txt").string()),
        folder);
    EXPECT_EQ(run.status, 0) << run.out << run.err << program;
}

}  // namespace hole_drawn_twice_test
