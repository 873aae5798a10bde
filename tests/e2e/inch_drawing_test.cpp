// A customer's part drawn in inches, cut by a shop whose settings are in millimetres: the job takes the drawing's
// unit, the leads keep their set length, and the program says the part's true size in the postprocessor's unit,
// read back by LinuxCNC's interpreter and by a reader of the test's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/tables.h"
#include "host/dxf/dxf_file.h"
#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"

// Named, so that the helpers stay apart from those of the other tests built into one unit with them.
namespace inch_drawing_test {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::has;
using e2e::RunResult;
using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

const fs::path kSource = KESTRION_SOURCE_DIR;
const fs::path kInterpreter = "/usr/bin/rs274";

// An L of 4 x 3 inches with a leg 1 inch wide, drawn in inches ($INSUNITS 1).
void WriteInchL(const fs::path& path) {
    host::db::Database db;
    db.header().insUnits = 1;
    {
        host::db::ObjectPtr<host::db::BlockTableRecord> ms(db.modelSpaceId(), host::db::OpenMode::Write);
        auto l = std::make_unique<host::db::LwPolyline>();
        const double corners[][2] = {{0, 0}, {4, 0}, {4, 1}, {1, 1}, {1, 3}, {0, 3}};
        for (const auto& c : corners) l->addVertexAt(l->numVerts(), {c[0], c[1]}, 0.0, 0.0, 0.0);
        l->setClosed(true);
        l->setLayer(db.recordId(host::db::TableKind::Layer, "0"));
        host::db::ObjectId id;
        ASSERT_EQ(ms->appendEntity(std::move(l), &id), host::db::Status::Ok);
    }
    std::string error;
    ASSERT_TRUE(host::dxf::writeDxfFile(db, path, &error)) << error;
}

// The same L as an old writer leaves it: six lines, and no header that says the drawing's units.
void WriteUnitlessL(const fs::path& path) {
    const double corners[][2] = {{0, 0}, {4, 0}, {4, 1}, {1, 1}, {1, 3}, {0, 3}, {0, 0}};
    std::string text = "0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < 6; ++i) {
        text += "0\nLINE\n8\n0\n10\n" + std::to_string(corners[i][0]) + "\n20\n" + std::to_string(corners[i][1]) +
                "\n11\n" + std::to_string(corners[i + 1][0]) + "\n21\n" + std::to_string(corners[i + 1][1]) + "\n";
    }
    writeBytes(path, text + "0\nENDSEC\n0\nEOF\n");
}

// The settings of a shop in millimetres (leads 6 and 3 mm), or in inches with the same leads, and the
// postprocessor `post` of `folder`.
std::string Registry(const std::string& post, const fs::path& folder, bool inchSettings = false) {
    return "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n"
           "\"LangMenu\"=\"EN\"\r\n" +
           std::string(inchSettings ? "\"Unit\"=\"inc\"\r\n\"LeadInSpan\"=\"0.236220\"\r\n\"LeadOutSpan\"=\"0.118110\"\r\n"
                                    : "\"Unit\"=\"mm\"\r\n\"LeadInSpan\"=\"6.000000\"\r\n\"LeadOutSpan\"=\"3.000000\"\r\n") +
           "\"Postprocessor\"=\"" + post + "\"\r\n\"DirPostprocessor\"=\"" + folder.string() + "/\"\r\n";
}

struct Position {
    double x = 0, y = 0;
    bool cutting = false;  // reached by G01, G02 or G03
};

// The positions an NC program moves to, read word by word (modal motion, absolute X and Y).
std::vector<Position> ProgramPositions(const std::string& program) {
    std::vector<Position> positions;
    std::istringstream in(program);
    Position at;
    int motion = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.find('(') != std::string::npos) line.erase(line.find('('));
        bool moved = false;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            if (c != 'G' && c != 'X' && c != 'Y') continue;
            const double v = std::strtod(line.c_str() + i + 1, nullptr);
            if (c == 'G' && v >= 0 && v <= 3) motion = static_cast<int>(v);
            if (c == 'X') at.x = v, moved = true;
            if (c == 'Y') at.y = v, moved = true;
        }
        if (!moved) continue;
        at.cutting = motion != 0;
        positions.push_back(at);
    }
    return positions;
}

// The distance from a point to the L's outline of scale `unit` (25.4 for millimetres, 1 for inches).
double OffTheL(double x, double y, double unit) {
    const double c[][2] = {{0, 0}, {4, 0}, {4, 1}, {1, 1}, {1, 3}, {0, 3}, {0, 0}};
    double best = 1e300;
    for (int i = 0; i < 6; ++i) {
        const double ax = c[i][0] * unit, ay = c[i][1] * unit, bx = c[i + 1][0] * unit, by = c[i + 1][1] * unit;
        const double dx = bx - ax, dy = by - ay;
        const double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        best = std::min(best, std::hypot(x - ax - t * dx, y - ay - t * dy));
    }
    return best;
}

// Before: the L came out as G21 with X up to 4.000 and 6-inch lead-ins, and an inch postprocessor divided by 25.4
// once more. Now the program is 101.6 x 76.2 in G21 through a shipped postprocessor and 4 x 3 in G20 through an
// inch copy of it, with leads of their set 6 mm either way.
TEST(InchDrawings, AnInchPartIsCutAtItsTrueSizeInThePostprocessorsUnit) {
    struct Case {
        const char* what;
        bool inchPost;
        double unit;        // program units per inch
        const char* units;  // the word the program must hold
        bool unitless = false;  // a drawing that does not say its units, cut with the settings in inches
    };
    // A drawing without $INSUNITS (R12 and older writers) was taken for millimetres whatever the settings said.
    const Case cases[] = {{"a shipped postprocessor (mm)", false, 25.4, "G21"},
                          {"an inch copy of it", true, 1.0, "G20"},
                          {"a drawing without units, settings in inches", false, 25.4, "G21", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        if (c.unitless) {
            WriteUnitlessL(folder / "lpart.dxf");
        } else {
            WriteInchL(folder / "lpart.dxf");
        }
        std::string post = readBytes(kSource / "data/post/FANUC.MXT");
        if (c.inchPost) {
            const std::size_t unit = post.find("####Unit\r\nmm") != std::string::npos ? post.find("####Unit\r\nmm")
                                                                                      : post.find("####Unit\nmm");
            ASSERT_NE(unit, std::string::npos);
            post.replace(post.find("mm", unit), 2, "inc");
            ASSERT_NE(post.find("G17 G21"), std::string::npos);
            post.replace(post.find("G17 G21"), 7, "G17 G20");
        }
        writeBytes(folder / "SHOP.MXT", post);
        writeBytes(folder / "registry.reg", Registry("SHOP.MXT", folder.path(), c.unitless));
        writeBytes(folder / "run.scr",
                   "NCCreateContour\nNCSliceAuto\nNCCreate\ndlg ok\ndlg set 249 L\ndlg press OK\n");
        const RunResult r = cadhost({(folder / "lpart.dxf").string(), "--load", "laser", "--install",
                                     (kSource / "data").string(), "--registry", (folder / "registry.reg").string(),
                                     "--script", (folder / "run.scr").string(), "--save",
                                     (folder / "saved.dxf").string()},
                                    folder);
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        EXPECT_EQ(has(r.out, "The drawing is drawn in inches: the job is in inches; the lengths of the settings "
                             "(in millimetres) are converted."),
                  !c.unitless)
            << r.out;
        ASSERT_TRUE(fs::exists(folder / "lpart.nc")) << r.out;
        const std::string program = readBytes(folder / "lpart.nc");
        EXPECT_TRUE(has(program, c.units)) << program;
        // The header's thickness (the 1 mm of the settings) is in the program's unit too: "T=1.000" in a G20
        // program reads as an inch.
        if (!c.unitless) {
            EXPECT_TRUE(has(program, c.inchPost ? " T=0.039)" : " T=1.000)")) << program;
        }

        // Every corner of the L is reached, at its true size in the program's unit.
        const std::vector<Position> positions = ProgramPositions(program);
        const double corners[][2] = {{4, 0}, {4, 1}, {1, 1}, {1, 3}, {0, 3}};
        for (const auto& corner : corners) {
            bool reached = false;
            for (const Position& p : positions) {
                reached = reached || (p.cutting && std::hypot(p.x - corner[0] * c.unit, p.y - corner[1] * c.unit) <
                                                       0.002 * c.unit);
            }
            EXPECT_TRUE(reached) << corner[0] << "," << corner[1] << " inches\n" << program;
        }
        // The cut stays within a lead of the L, and the lead-in (the first cut, from the pierce point to the L)
        // is 6 mm long.
        double farthest = 0.0;
        for (const Position& p : positions) {
            if (p.cutting) farthest = std::max(farthest, OffTheL(p.x, p.y, c.unit));
        }
        EXPECT_LT(farthest, 6.01 / 25.4 * c.unit) << program;
        EXPECT_GT(farthest, 2.0 / 25.4 * c.unit) << program;
        std::size_t first = 1;
        while (first < positions.size() && !positions[first].cutting) ++first;
        ASSERT_LT(first, positions.size()) << program;
        const Position& pierce = positions[first - 1];
        EXPECT_NEAR(OffTheL(pierce.x, pierce.y, c.unit), 6.0 / 25.4 * c.unit, 1.5 / 25.4 * c.unit) << program;

        // LinuxCNC's interpreter reads the program in the same unit, without an error.
        if (!fs::exists(kInterpreter)) continue;
        const std::string canonical = (folder / "canonical.txt").string();
        const RunResult run = e2e::runInterpreter(
            kInterpreter.string(), "-g " + e2e::quoted((folder / "lpart.nc").string()) + " " + e2e::quoted(canonical),
            folder);
        const std::string moves = readBytes(canonical);
        ASSERT_EQ(run.status, 0) << run.out << run.err << moves << program;
        EXPECT_TRUE(has(moves, c.inchPost ? "USE_LENGTH_UNITS(CANON_UNITS_INCHES)" : "USE_LENGTH_UNITS(CANON_UNITS_MM)"))
            << moves;
    }
}

// The L prepared in inches (its contours made by NCCreateContour) nested beside a millimetre flange on a sheet of
// 250 x 150 mm: it was listed as 4.00 x 3.00 and nested 25.4 times too small. It is brought to 101.6 x 76.2 mm as
// it is loaded, with a line naming it, and drawn on the sheet at that size.
TEST(InchDrawings, AnInchPartIsNestedAtItsTrueSizeBesideMillimetreParts) {
    ScratchFolder folder;
    WriteInchL(folder / "lpart.dxf");
    const fs::path registry = folder / "registry.reg";
    writeBytes(registry, "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]"
                         "\r\n\"LangMenu\"=\"EN\"\r\n\"Unit\"=\"mm\"\r\n");
    writeBytes(folder / "contours.scr", "NCCreateContour\n");
    const RunResult prepared = cadhost({(folder / "lpart.dxf").string(), "--load", "laser", "--install",
                                        (kSource / "data").string(), "--registry", registry.string(), "--script",
                                        (folder / "contours.scr").string(), "--save", (folder / "lpart.dxf").string()},
                                       folder);
    ASSERT_EQ(prepared.status, 0) << prepared.err << prepared.out;

    fs::copy_file(kSource / "nesting/drawings/tests/fixtures/flange.dxf", folder / "flange.dxf");
    writeBytes(folder / "job.nst",
               "Kestrion Nesting TQ450\r\n\r\nSt37\r\n1.0037\r\n7.85e-06\r\n3\r\n\r\n\r\n10\r\n4\r\n4\r\n\r\n\r\n"
               "1\r\n0\r\nStosk_250x150\r\nStosk_250x150\r\n1\r\n0\r\n1\r\n\r\n\r\n\r\n\r\n\r\n"
               "2\r\n"
               "2\r\nflange.dwg\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n\r\n\r\n\r\n"
               "2\r\nlpart.dwg\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n\r\n\r\n\r\n"
               "\r\n\r\n0\r\n");
    writeBytes(folder / "nest.scr", "OpenFileNesting\ndlg press Load\nfile " + (folder / "job.nst").string() +
                                        "\ndlg press OK\nStartNestingAdv\ndlg ok\n");
    const RunResult nested = cadhost({"--load", "nesting,laser", "--install", (kSource / "data").string(),
                                      "--registry", registry.string(), "--script", (folder / "nest.scr").string(),
                                      "--save", (folder / "sheet.dxf").string()},
                                     folder);
    ASSERT_EQ(nested.status, 0) << nested.err << nested.out;
    EXPECT_TRUE(has(nested.out, "lpart.dxf is drawn in inches: it is scaled into millimetres, the unit of the job."))
        << nested.out;

    // The L's outline on the sheet: the lightweight polyline of six corners, wherever the sheet keeps it.
    host::dxf::ReadResult read = host::dxf::readDxfFile(folder / "sheet.dxf");
    ASSERT_TRUE(read) << read.error;
    const host::db::Database& sheet = *read.database;
    int found = 0;
    const auto* blocks = dynamic_cast<const host::db::SymbolTable*>(sheet.peek(sheet.tableId(host::db::TableKind::Block)));
    ASSERT_NE(blocks, nullptr);
    for (host::db::ObjectId blockId : blocks->recordIds()) {
        const auto* block = dynamic_cast<const host::db::BlockTableRecord*>(sheet.peek(blockId));
        if (block == nullptr) continue;
        for (host::db::ObjectId id : block->entityIds()) {
            const auto* l = dynamic_cast<const host::db::LwPolyline*>(sheet.peek(id));
            if (l == nullptr || l->isErased() || l->numVerts() != 6) continue;
            double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
            for (const auto& v : l->vertices()) {
                minX = std::min(minX, v.point.x), maxX = std::max(maxX, v.point.x);
                minY = std::min(minY, v.point.y), maxY = std::max(maxY, v.point.y);
            }
            EXPECT_NEAR(maxX - minX, 101.6, 1e-6) << nested.out;
            EXPECT_NEAR(maxY - minY, 76.2, 1e-6) << nested.out;
            ++found;
        }
    }
    EXPECT_GE(found, 1) << nested.out;
}

}  // namespace inch_drawing_test
