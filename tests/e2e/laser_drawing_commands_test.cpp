// Preparing a drawing from another CAD program the way a shop does, in a whole cadhost session: contour kinds
// assigned by picking, the spline and the ellipses turned into what a machine cuts, the part moved to the origin,
// and the contours created.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/dxf/dxf_file.h"
#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/laser_session.h"

namespace {

namespace fs = std::filesystem;
using e2e::count;
using e2e::RunResult;
using host::ge::Point3d;
using host::sys::testing::ScratchFolder;

const fs::path kFixture = fs::path(KESTRION_SOURCE_DIR) / "tests" / "e2e" / "fixtures" / "part_to_prepare.dxf";

std::vector<const host::db::Entity*> liveEntities(const host::db::Database& db) {
    const auto* ms = dynamic_cast<const host::db::BlockTableRecord*>(db.peek(db.modelSpaceId()));
    std::vector<const host::db::Entity*> live;
    for (host::db::ObjectId id : ms->entityIds()) {
        const auto* e = dynamic_cast<const host::db::Entity*>(db.peek(id));
        if (e != nullptr && !e->isErased()) live.push_back(e);
    }
    return live;
}

// Points along what an entity draws: a polyline's vertices and the middles of its arcs, an arc's ends and middle,
// a line's ends.
std::vector<Point3d> drawnPoints(const host::db::Entity& e) {
    std::vector<Point3d> points;
    if (const auto* line = dynamic_cast<const host::db::Line*>(&e)) {
        points = {line->start(), line->end()};
    } else if (const auto* arc = dynamic_cast<const host::db::Arc*>(&e)) {
        double sweep = arc->endAngle() - arc->startAngle();
        if (sweep <= 0.0) sweep += 2 * M_PI;
        for (const double f : {0.0, 0.5, 1.0}) {
            const double a = arc->startAngle() + sweep * f;
            points.emplace_back(arc->center().x + arc->radius() * std::cos(a),
                                arc->center().y + arc->radius() * std::sin(a), 0.0);
        }
    } else if (const auto* polyline = dynamic_cast<const host::db::LwPolyline*>(&e)) {
        for (const auto& v : polyline->vertices()) points.emplace_back(v.point.x, v.point.y, 0.0);
    }
    return points;
}

// The cubic the fixture's spline is (four control points, clamped knots), moved by the part's move.
Point3d splineAt(double t, double dx, double dy) {
    const Point3d c[4] = {{120, 120, 0}, {140, 160, 0}, {160, 110, 0}, {180, 150, 0}};
    const double u = 1 - t;
    const double w[4] = {u * u * u, 3 * u * u * t, 3 * u * t * t, t * t * t};
    Point3d p;
    for (int i = 0; i < 4; ++i) {
        p.x += w[i] * c[i].x;
        p.y += w[i] * c[i].y;
    }
    return {p.x + dx, p.y + dy, 0.0};
}

double distanceToSpline(const Point3d& p, double dx, double dy) {
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i <= 4000; ++i) best = std::min(best, p.distanceTo(splineAt(i / 4000.0, dx, dy)));
    return best;
}

TEST(LaserDrawingCommands, ShopPreparesADrawingFromAnotherCadProgramAndCreatesItsContours) {
    ScratchFolder folder;
    const fs::path saved = folder / "out.dxf";
    // Picks: the engraving line, the spline at its middle (150,135), the mirrored arc at its lowest point, the
    // hole at the end of its major axis. The spline becomes arcs at precision 10.
    const std::string script =
        "setEngraveLine\n150,180\n150,135\n\n"
        "setMarkLine\n200,142.5\n\n"
        "Convert_Spline_to_Polyline\n150,135\n\n1\n10\n"
        "Convert_Ellipse_to_Polyline\n270,150\n200,142.5\n\n"
        "MoveToOrigin00\n"
        "NCCreateContour\n"
        "MODEMACRO\n\n";
    const RunResult r = e2e::runLaserScript(kFixture, folder, script, saved);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(count(r.out, "Converted Splines - 1"), 1u) << r.out;
    EXPECT_EQ(count(r.out, "Converted ellipses - 2"), 1u) << r.out;
    // Both the move's contour creation and the one after it find the plate with its hole, and nothing fails.
    EXPECT_EQ(count(r.out, "All contours = 2, Unclose = 0, Inside = 1, Outside = 1"), 2u) << r.out;
    EXPECT_EQ(count(r.out, "Error - Contours are not created"), 0u) << r.out;
    // Two engraving contours and one marking contour beside the plate and its hole.
    EXPECT_NE(r.out.find("Contours=5/0 Out=1/0/0 In=1/0/0/0/0 Engr=2/0/1"), std::string::npos) << r.out;

    host::dxf::ReadResult read = host::dxf::readDxfFile(saved);
    ASSERT_TRUE(read) << read.error;
    const double dx = -100, dy = -100;  // the plate's corner (100,100) went to the origin
    Point3d low{1e9, 1e9, 0};
    int engraved = 0, marked = 0, splines = 0;
    for (const host::db::Entity* e : liveEntities(*read.database)) {
        const std::string type = e->dxfName();
        EXPECT_NE(type, "SPLINE");
        EXPECT_NE(type, "ELLIPSE");
        const std::vector<Point3d> points = drawnPoints(*e);
        if (e->layer() == "0") {
            for (const Point3d& p : points) {
                low.x = std::min(low.x, p.x);
                low.y = std::min(low.y, p.y);
                // Plate corners, or the hole: on the ellipse about (150,50) with semi-axes 20 and 10.
                const bool plate = p.x < 1e-6 || p.x > 200 - 1e-6 || p.y < 1e-6 || p.y > 100 - 1e-6;
                const double u = (p.x - 150) / 20, v = (p.y - 50) / 10;
                if (!plate) {
                    EXPECT_NEAR(u * u + v * v, 1.0, 1e-6) << p.x << "," << p.y;
                }
            }
        } else if (e->layer() == "EngraveLine") {
            ++engraved;
            // The spline's polyline; the engraving line became a polyline of two vertices.
            if (type == "LWPOLYLINE" && points.size() > 2) {
                ++splines;
                for (const Point3d& p : points) {
                    EXPECT_LT(distanceToSpline(p, dx, dy), 0.05) << p.x << "," << p.y;
                }
            }
        } else if (e->layer() == "MarkLine") {
            ++marked;
            // The mirrored arc lies below its axis (y 50 after the move), as it did in the other program.
            for (const Point3d& p : points) {
                EXPECT_LE(p.y, 50 + 1e-6) << p.x << "," << p.y;
            }
        }
    }
    EXPECT_NEAR(low.x, 0.0, 1e-9);
    EXPECT_NEAR(low.y, 0.0, 1e-9);
    EXPECT_EQ(engraved, 2);
    EXPECT_EQ(splines, 1);
    EXPECT_GE(marked, 1);
}

// The kinds given by the commands reach the NC program: the engraving line and spline, and the marked arc, are
// written with the postprocessor's engrave and mark words.
TEST(LaserDrawingCommands, KindsGivenByTheCommandsAreCutWithTheirWords) {
    ScratchFolder folder;
    const fs::path drawing = folder / "part.dxf";
    fs::copy_file(kFixture, drawing);
    host::sys::testing::writeBytes(folder / "run.scr",
                                   "setEngraveLine\n150,180\n150,135\n\n"
                                   "setMarkLine\n200,142.5\n\n"
                                   "Convert_Spline_to_Polyline\n150,135\n\n1\n10\n"
                                   "Convert_Ellipse_to_Polyline\n270,150\n200,142.5\n\n"
                                   "NCCreateContour\nNCSliceAuto\nNCCreate\ndlg ok\ndlg set 249 Part\ndlg press OK\n");
    const RunResult r = e2e::cadhost({drawing.string(), "--load", "laser", "--install",
                                      (fs::path(KESTRION_SOURCE_DIR) / "data").string(), "--registry",
                                      e2e::writeLanguageRegistry(folder).string(), "--script",
                                      (folder / "run.scr").string()},
                                     folder);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    const fs::path program = folder / "part.nc";
    ASSERT_TRUE(fs::exists(program)) << r.out;
    const std::string text = host::sys::testing::readBytes(program);
    EXPECT_EQ(count(text, "M03 (ENGRAVE)"), 2u) << text;
    EXPECT_EQ(count(text, "M03 (MARK)"), 1u) << text;
}

// The box of the live entities on `layer` (none: an empty optional), and their classes.
struct LayerContents {
    std::optional<host::db::Extents> box;
    std::map<std::string, int> classes;
};

LayerContents contentsOf(const host::db::Database& db, const std::string& layer) {
    LayerContents contents;
    for (const host::db::Entity* e : liveEntities(db)) {
        if (e->layer() != layer) continue;
        ++contents.classes[e->dxfName()];
        if (const auto extents = e->geomExtents()) {
            if (contents.box) contents.box->add(*extents);
            else contents.box = extents;
        }
    }
    return contents;
}

// A part number engraved on a template part: the text is engraving geometry at the asked height, contour creation
// takes it as engraving contours, and an SVG of the drawing is left in the build folder to look at.
TEST(LaserDrawingCommands, EngravedTextIsGeometryAtTheAskedHeight) {
    ScratchFolder folder;
    const fs::path saved = folder / "engraved.dxf";
    const fs::path picture = fs::path(KESTRION_BINARY_DIR) / "e2e_engraved_text.svg";
    fs::remove(picture);
    const fs::path plate = fs::path(KESTRION_SOURCE_DIR) / "data" / "Templates" / "SlottedPlate.dxf";
    const std::string script =
        "InsertText\n6\n\n20,60\n\nKESTRION 123\nДЕТАЛЬ 7\n\n"
        "NCCreateContour\n"
        "MODEMACRO\n\n";
    const fs::path registry = e2e::writeLanguageRegistry(folder);
    host::sys::testing::writeBytes(folder / "run.scr", script);
    const RunResult r = e2e::cadhost({plate.string(), "--load", "laser", "--registry", registry.string(), "--script",
                                      (folder / "run.scr").string(), "--save", saved.string(), "--svg",
                                      picture.string()},
                                     folder);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(count(r.out, "Error - Contours are not created"), 0u) << r.out;
    EXPECT_TRUE(fs::exists(picture));

    host::dxf::ReadResult read = host::dxf::readDxfFile(saved);
    ASSERT_TRUE(read) << read.error;
    const LayerContents engraved = contentsOf(*read.database, "EngraveLine");
    ASSERT_TRUE(engraved.box) << r.out;
    EXPECT_EQ(engraved.classes.count("INSERT"), 0u);
    // The first line's capitals stand on y = 60 and reach 66 (6 high, within 5 %); the second line's baseline is
    // 8.4 lower, the tail of its Д below that, still above the slots (46).
    EXPECT_NEAR(engraved.box->max.y, 66.0, 0.3);
    EXPECT_LT(engraved.box->min.y, 60.0 - 8.4);
    EXPECT_GT(engraved.box->min.y, 46.0);
    EXPECT_NEAR(engraved.box->min.x, 20.0, 1e-9);
    // Twelve characters, each about as wide as 0.6 to 0.9 of the height, with their gaps: within the plate.
    EXPECT_GT(engraved.box->max.x, 20.0 + 12 * 6 * 0.6);
    EXPECT_LT(engraved.box->max.x, 140.0);
    // The plate's outline, its slots and holes, and the letters as engraving contours.
    EXPECT_NE(r.out.find("Engr="), std::string::npos) << r.out;
    EXPECT_EQ(count(r.out, "Engr=0/"), 0u) << r.out;
}

// Export for a program that knows only a cut and a plot layer, then back: the same contours as before.
TEST(LaserDrawingCommands, ExportThenReExportGivesBackTheContours) {
    ScratchFolder folder;
    const fs::path plate = fs::path(KESTRION_SOURCE_DIR) / "data" / "Templates" / "SlottedPlate.dxf";
    const fs::path exported = folder / "exported.dxf", back = folder / "back.dxf";
    const RunResult first = e2e::runLaserScript(
        plate, folder, "InsertText\n5\n\n60,62\n\nNO 7\n\nNCCreateContour\nvesk_ExportContours\n", exported);
    ASSERT_EQ(first.status, 0) << first.err << first.out;
    const std::size_t counts = first.out.find("All contours = ");
    ASSERT_NE(counts, std::string::npos) << first.out;
    const std::string countsLine = first.out.substr(counts, first.out.find('\n', counts) - counts);

    host::dxf::ReadResult read = host::dxf::readDxfFile(exported);
    ASSERT_TRUE(read) << read.error;
    EXPECT_FALSE(contentsOf(*read.database, "0").box);
    EXPECT_FALSE(contentsOf(*read.database, "EngraveLine").box);
    ASSERT_TRUE(contentsOf(*read.database, "CUT").box);
    ASSERT_TRUE(contentsOf(*read.database, "PLOT").box);
    EXPECT_NEAR(contentsOf(*read.database, "CUT").box->max.x, 150.0, 1e-9);

    const RunResult second = e2e::runLaserScript(exported, folder, "vesk_ReExportContours\n", back);
    ASSERT_EQ(second.status, 0) << second.err << second.out;
    EXPECT_EQ(count(second.out, countsLine), 1u) << countsLine << "\n" << second.out;
    host::dxf::ReadResult again = host::dxf::readDxfFile(back);
    ASSERT_TRUE(again) << again.error;
    EXPECT_FALSE(contentsOf(*again.database, "CUT").box);
    EXPECT_FALSE(contentsOf(*again.database, "PLOT").box);
    EXPECT_TRUE(contentsOf(*again.database, "EngraveLine").box);
}

}  // namespace
