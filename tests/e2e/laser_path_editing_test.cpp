// Editing the cutting path by hand in a whole cadhost session, on the plate with two holes (a 200 x 100 plate, holes
// of radius 10 at (60,60) and (160,60)) after NCCreateContour and NCSliceAuto: the statistics window, reversing a
// path, cutting by pick and by fence, moving, replacing and inserting paths, bridges, and wrong picks at every
// prompt. The saved drawing is checked for its path groups: numbered 1..n without gaps, every path starting where the
// one before it ended.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/dictionary.h"
#include "host/db/entities.h"
#include "host/dxf/dxf_file.h"
#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/laser_session.h"

// Named, so that the helpers stay apart from those of the other tests built into one unit with them.
namespace laser_path_editing_test {

namespace fs = std::filesystem;
using e2e::RunResult;
using host::db::ObjectId;
using host::ge::Point3d;
using host::sys::testing::ScratchFolder;

const fs::path kPlate = fs::path(KESTRION_SOURCE_DIR) / "laser" / "contours" / "tests" / "fixtures" / "plate_two_holes.dxf";
// The path the scenarios start from.
const std::string kCutPlate = "NCCreateContour\nNCSliceAuto\n";

struct Member {
    bool line = false;
    Point3d start, end;  // a line's ends; an arc's start and end point
    Point3d centre;      // an arc's centre
};

struct Group {
    std::string description;
    std::vector<Member> members;

    // Where the path starts and ends: the far ends of the first and last member (arcs run either way).
    Point3d first() const { return members.front().start; }
    Point3d last() const { return members.back().end; }
};

struct Saved {
    std::vector<Group> groups;        // DOROZ_1, DOROZ_2, ... up to the first missing number
    std::size_t pathGroups = 0;       // every group named DOROZ_<n>
    std::size_t otherGroups = 0;      // every other group
    std::size_t pathLayerLines = 0;   // lines and arcs on the path layer
};

Saved readSaved(const fs::path& file) {
    Saved saved;
    host::dxf::ReadResult read = host::dxf::readDxfFile(file);
    EXPECT_TRUE(read) << read.error;
    if (!read) return saved;
    const host::db::Database& db = *read.database;
    const auto* dictionary = dynamic_cast<const host::db::Dictionary*>(db.peek(db.groupDictionaryId()));
    if (dictionary == nullptr) return saved;
    for (const auto& [name, id] : dictionary->entries()) {
        if (name.rfind("DOROZ_", 0) == 0) {
            ++saved.pathGroups;
        } else {
            ++saved.otherGroups;
        }
    }
    const auto* space = dynamic_cast<const host::db::BlockTableRecord*>(db.peek(db.modelSpaceId()));
    for (ObjectId id : space->entityIds()) {
        const auto* e = dynamic_cast<const host::db::Entity*>(db.peek(id));
        if (e != nullptr && e->layer() == "NC_Laser" &&
            (dynamic_cast<const host::db::Line*>(e) != nullptr || dynamic_cast<const host::db::Arc*>(e) != nullptr)) {
            ++saved.pathLayerLines;
        }
    }
    for (int n = 1;; ++n) {
        const ObjectId id = dictionary->getAt("DOROZ_" + std::to_string(n));
        if (id.isNull()) break;
        const auto* group = dynamic_cast<const host::db::Group*>(db.peek(id));
        Group g;
        g.description = group->description();
        for (ObjectId m : group->allEntityIds()) {
            Member member;
            if (const auto* line = dynamic_cast<const host::db::Line*>(db.peek(m))) {
                member = {true, line->start(), line->end(), Point3d()};
            } else if (const auto* arc = dynamic_cast<const host::db::Arc*>(db.peek(m))) {
                member = {false, arc->startPoint(), arc->endPoint(), arc->center()};
            } else {
                continue;
            }
            g.members.push_back(member);
        }
        saved.groups.push_back(g);
    }
    return saved;
}

bool near(const Point3d& a, const Point3d& b, double tol = 1e-4) {
    return std::abs(a.x - b.x) < tol && std::abs(a.y - b.y) < tol;
}

std::string text(const Point3d& p) {
    std::ostringstream out;
    out << "(" << p.x << "," << p.y << ")";
    return out.str();
}

using e2e::has;

// The groups numbered without gaps, the move home (when there is one) last, and every group's first move starting
// where the group before it ended.
void expectWholePath(const Saved& saved) {
    ASSERT_FALSE(saved.groups.empty());
    EXPECT_EQ(saved.pathGroups, saved.groups.size()) << "a gap in the group numbers";
    EXPECT_EQ(saved.otherGroups, 0u) << "a group set aside was left behind";
    std::size_t members = 0;
    for (const Group& g : saved.groups) members += g.members.size();
    EXPECT_EQ(saved.pathLayerLines, members) << "path lines outside the path groups";
    for (std::size_t k = 0; k < saved.groups.size(); ++k) {
        const Group& g = saved.groups[k];
        ASSERT_FALSE(g.members.empty()) << "group " << k + 1;
        if (k + 1 < saved.groups.size()) {
            EXPECT_FALSE(has(g.description, "Rapid_Home")) << "group " << k + 1 << " " << g.description;
        }
        if (k > 0) {
            EXPECT_TRUE(near(g.members.front().start, saved.groups[k - 1].members.back().end))
                << "group " << k + 1 << " starts at " << text(g.members.front().start) << ", group " << k
                << " ended at " << text(saved.groups[k - 1].members.back().end);
        }
    }
}

// The cut order as the contours' places: "H1" the hole at (60,60), "H2" the hole at (160,60), "P" the plate, "home".
std::vector<std::string> order(const Saved& saved) {
    std::vector<std::string> out;
    for (const Group& g : saved.groups) {
        std::string name = "?";
        if (has(g.description, "Rapid_Home")) {
            name = "home";
        } else if (g.description.rfind("Slice_Polyline", 0) == 0) {
            name = "P";
        } else {
            for (const Member& m : g.members) {
                if (!m.line) name = near(m.centre, Point3d(60, 60)) ? "H1" : near(m.centre, Point3d(160, 60)) ? "H2" : "?";
            }
        }
        out.push_back(name);
    }
    return out;
}

// The contour groups of NCSliceAuto on the plate, by the figures of the main road: hole 1, hole 2, the plate.
void expectAutomaticContourGroups(const Saved& saved) {
    ASSERT_GE(saved.groups.size(), 3u);
    EXPECT_EQ(order(saved).at(0), "H1");
    EXPECT_EQ(order(saved).at(1), "H2");
    EXPECT_EQ(order(saved).at(2), "P");
    const char* ends[] = {"64.4357 51.0376 64.4357 51.0376", "153.7026 52.2319 153.7026 52.2319",
                          "210.0000 10.0000 210.0000 10.0000"};
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_TRUE(has(saved.groups[k].description, ends[k])) << saved.groups[k].description;
    }
    EXPECT_EQ(saved.groups[2].description.rfind("Slice_Polyline T0 Offset=NR HP= ", 0), 0u);
    const Group& plate = saved.groups[2];
    ASSERT_EQ(plate.members.size(), 7u);
    EXPECT_TRUE(near(plate.members[0].end, Point3d(211.5529, 4.2044))) << text(plate.members[0].end);
    EXPECT_TRUE(near(plate.members[2].end, Point3d(210, 110)));
    EXPECT_TRUE(near(plate.members[6].end, Point3d(212.8978, 9.2235))) << text(plate.members[6].end);
}

class LaserPathEditing : public ::testing::Test {
protected:
    // Runs `script` on the plate after the automatic path and saves the drawing; the run must succeed.
    RunResult run(const std::string& script, const std::string& name = "out.dxf") {
        const RunResult r = e2e::runLaserScript(kPlate, folder, kCutPlate + script, folder / name);
        EXPECT_EQ(r.status, 0) << r.err << r.out;
        return r;
    }
    ScratchFolder folder;
};

TEST_F(LaserPathEditing, StatisticsWindowShowsTheFiguresOfThePlate) {
    const RunResult r = run("NCInfo\ndlg show\ndlg ok\n");
    for (const char* field : {"Unit: \"MM\"", "Material: \"STEEL.MAT\"", "Thin: \"1.00\"", "Density: \"7.850e-06\"",
                              "Area surface: \"19371.68\"", "Mass: \"0.1521\"", "All of contours: \"3\"",
                              "Outside contours: \"1\"", "Inside contours: \"2\"", "NoLeadIn contours: \"0\"",
                              "Postprocessor: \"FANUC.MXT\"", "Cutting feed: \"300.00\"",
                              "Length feed move: \"752.66\"", "Length rapid move: \"457.53\"",
                              "Mode cut in start point: \"A cut is at home\"",
                              "Length of inside of contours: \"6.00\"", "Length of outside contours: \"3.00\"",
                              // 165.06 s less the pierce once charged to the move home, which pierces nothing.
                              "Processing time: \"2 min 44.9 sec\"", "Used: \"0.1521\"", "Burnt: \"0.0012\"",
                              "Scrap: \"A stock is absent\"", "Metal recovery: \"A stock is absent\""}) {
        EXPECT_TRUE(has(r.out, field)) << field << "\n" << r.out;
    }
    EXPECT_TRUE(has(r.out, "Dialog \"Info Geometry/Cutting\"")) << r.out;
}

TEST_F(LaserPathEditing, ReversingThePlateLaysItsLeadsAtTheOtherEndAndTwiceRestoresIt) {
    run("NCChangeCutDirection\n110,10\n\n");
    const Saved once = readSaved(folder / "out.dxf");
    ASSERT_EQ(once.groups.size(), 4u);
    expectWholePath(once);
    const Group& plate = once.groups[2];
    EXPECT_EQ(plate.description.rfind("Slice_Polyline T0 Offset=NL HP= ", 0), 0u) << plate.description;
    EXPECT_TRUE(has(plate.description, " 1 1 1 0 ")) << plate.description;
    EXPECT_TRUE(has(plate.description, "210.0000 10.0000 210.0000 10.0000")) << plate.description;
    ASSERT_EQ(plate.members.size(), 7u);
    EXPECT_TRUE(near(plate.members[0].end, Point3d(215.7956, 8.4471)));
    EXPECT_TRUE(near(plate.members[1].start, Point3d(215.7956, 8.4471)) && near(plate.members[1].end, Point3d(210, 10)));
    const Point3d corners[] = {{210, 10}, {10, 10}, {10, 110}, {210, 110}, {210, 10}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(near(plate.members[2 + k].start, corners[k]) && near(plate.members[2 + k].end, corners[k + 1]))
            << "side " << k << ": " << text(plate.members[2 + k].start) << "->" << text(plate.members[2 + k].end);
    }
    EXPECT_TRUE(near(plate.members[6].end, Point3d(210.7765, 7.1022))) << text(plate.members[6].end);
    EXPECT_TRUE(near(once.groups[3].first(), Point3d(210.7765, 7.1022)));

    run("NCChangeCutDirection\n110,10\n110,10\n\n", "twice.dxf");
    const Saved twice = readSaved(folder / "twice.dxf");
    ASSERT_EQ(twice.groups.size(), 4u);
    expectAutomaticContourGroups(twice);
    expectWholePath(twice);
}

TEST_F(LaserPathEditing, ADeletedPathIsCutAgainByPickFromThePickedPoint) {
    const RunResult r = run("NCDelPick\n170,60\n\nNCSlice\n170,60\n\nMODEMACRO\n\n");
    const Saved saved = readSaved(folder / "out.dxf");
    ASSERT_EQ(saved.groups.size(), 3u) << "no move home after NCSlice";
    EXPECT_EQ(order(saved), (std::vector<std::string>{"H1", "P", "H2"}));
    expectWholePath(saved);
    const Group& hole = saved.groups[2];
    ASSERT_EQ(hole.members.size(), 5u);
    EXPECT_TRUE(near(hole.members[0].start, Point3d(212.8978, 9.2235))) << text(hole.members[0].start);
    EXPECT_TRUE(near(hole.members[0].end, Point3d(164.8038, 57.0))) << text(hole.members[0].end);
    EXPECT_TRUE(near(hole.members[1].end, Point3d(170, 60)));
    EXPECT_TRUE(near(hole.members[4].end, Point3d(167.4019, 61.5))) << text(hole.members[4].end);
    EXPECT_EQ(hole.description.rfind("Slice_Circle T0 Offset=NL HP= ", 0), 0u) << hole.description;
    EXPECT_TRUE(has(hole.description, "170.0000 60.0000 170.0000 60.0000")) << hole.description;
    EXPECT_TRUE(has(r.out, "Contours=3/3 ")) << r.out;
}

TEST_F(LaserPathEditing, APolylinePickedNearACornerStartsAtThatCorner) {
    run("NCDelPick\n110,10\n\nNCSlice\n10.3,109.8\n\n");
    const Saved saved = readSaved(folder / "out.dxf");
    ASSERT_EQ(saved.groups.size(), 3u);
    EXPECT_EQ(order(saved), (std::vector<std::string>{"H1", "H2", "P"}));
    expectWholePath(saved);
    EXPECT_TRUE(has(saved.groups[2].description, "10.0000 110.0000 10.0000 110.0000")) << saved.groups[2].description;
}

TEST_F(LaserPathEditing, AFenceCutsTheContoursItCrossesInCrossingOrder) {
    // The first three segments cross nothing; the fourth both holes (the second hole first) and the fifth the plate.
    // Each hole starts where the fence first meets it.
    const RunResult r = e2e::runLaserScript(kPlate, folder,
                                            "NCCreateContour\nNCSliceFence\n110,80\n110,75\n180,75\n180,60\n40,60\n"
                                            "40,5\n\nMODEMACRO\n\n",
                                            folder / "out.dxf");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    const Saved saved = readSaved(folder / "out.dxf");
    ASSERT_EQ(saved.groups.size(), 3u) << r.out;
    expectWholePath(saved);
    EXPECT_TRUE(has(saved.groups[0].description, "170.0000 60.0000")) << saved.groups[0].description;
    EXPECT_TRUE(has(saved.groups[1].description, "70.0000 60.0000")) << saved.groups[1].description;
    EXPECT_EQ(saved.groups[2].description.rfind("Slice_Polyline", 0), 0u) << saved.groups[2].description;
    EXPECT_TRUE(has(r.out, "Contours=3/3 ")) << r.out;
}

TEST_F(LaserPathEditing, OrderMovesAPickedPathToTheFrontAndRelinksThePath) {
    // Enter: before the first; then the plate; then hole 2 after it.
    run("NCOrder\n\n110,10\n160,70\n\n");
    const Saved saved = readSaved(folder / "out.dxf");
    EXPECT_EQ(order(saved), (std::vector<std::string>{"P", "H2", "H1", "home"}));
    expectWholePath(saved);
    EXPECT_TRUE(near(saved.groups[0].first(), Point3d(0, 0))) << "cutting starts at home";
}

TEST_F(LaserPathEditing, WithoutStartAtHomeTheGroupMovedFirstLosesItsRapidAndTheOldFirstGetsOne) {
    const fs::path registry = folder / "start.reg";
    host::sys::testing::writeBytes(registry, "Windows Registry Editor Version 5.00\r\n\r\n"
                                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n"
                                             "\"LangMenu\"=\"EN\"\r\n\"ModeStartPoint\"=\"0\"\r\n");
    host::sys::testing::writeBytes(folder / "run.scr", kCutPlate + "NCOrder\n\n110,10\n\n");
    const RunResult r = e2e::cadhost({kPlate.string(), "--load", "laser", "--registry", registry.string(), "--script",
                                      (folder / "run.scr").string(), "--save", (folder / "out.dxf").string()},
                                     folder);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    const Saved saved = readSaved(folder / "out.dxf");
    ASSERT_EQ(saved.groups.size(), 4u);
    expectWholePath(saved);
    EXPECT_EQ(saved.groups[0].description.rfind("Slice_Polyline", 0), 0u) << saved.groups[0].description;
    // The plate: lead-in, four sides, lead-out; no rapid.
    EXPECT_EQ(saved.groups[0].members.size(), 6u);
    // The hole that was first: a rapid from the plate's end, lead-in, two arcs, lead-out.
    EXPECT_EQ(saved.groups[1].description.rfind("Slice_Circle", 0), 0u) << saved.groups[1].description;
    EXPECT_EQ(saved.groups[1].members.size(), 5u);
}

TEST_F(LaserPathEditing, ReplaceCutsAnotherStartInThePlaceOfThePickedPathAndEnterRestoresIt) {
    // Group 1 (hole 1) replaced by the same hole cut from its bottom; then group 2 picked and nothing cut.
    run("NCReplace\n60,70\n60,50\n60,70\n\n\n");
    const Saved saved = readSaved(folder / "out.dxf");
    EXPECT_EQ(order(saved), (std::vector<std::string>{"H1", "H2", "P", "home"}));
    expectWholePath(saved);
    EXPECT_TRUE(has(saved.groups[0].description, "60.0000 50.0000 60.0000 50.0000")) << saved.groups[0].description;
    EXPECT_TRUE(near(saved.groups[0].first(), Point3d(0, 0)));

    run("NCReplace\n160,70\n\n\n", "kept.dxf");
    const Saved kept = readSaved(folder / "kept.dxf");
    ASSERT_EQ(kept.groups.size(), 4u);
    expectAutomaticContourGroups(kept);
    expectWholePath(kept);
}

TEST_F(LaserPathEditing, InsertPutsNewPathsAfterThePickedOne) {
    // Hole 2's path removed, then cut again after hole 1 by pick.
    run("NCDelPick\n160,70\n\nNCInsert\n60,70\n160,70\n\n");
    const Saved picked = readSaved(folder / "out.dxf");
    EXPECT_EQ(order(picked), (std::vector<std::string>{"H1", "H2", "P", "home"}));
    expectWholePath(picked);

    // Both holes removed, then cut by a fence before the plate: in the fence's order.
    // Enter ends the fence, and Enter at the start of another fence ends the command.
    run("NCDelPick\n160,70\n60,70\n\nNCInsertFence\n\n180,60\n40,60\n\n\n", "fence.dxf");
    const Saved fenced = readSaved(folder / "fence.dxf");
    ASSERT_EQ(fenced.groups.size(), 4u);
    EXPECT_EQ(order(fenced), (std::vector<std::string>{"H2", "H1", "P", "home"}));
    expectWholePath(fenced);
    EXPECT_TRUE(near(fenced.groups[0].first(), Point3d(0, 0)));
}

TEST_F(LaserPathEditing, WrongPicksAskAgainOrSaySoAndChangeNothing) {
    // Empty space asks again; the move home is refused by every command that takes a contour's path; Esc ends. A
    // contour's own outline lies under its path, so a pick there takes the path line, which is no contour.
    const std::string home = "106.4489,4.6118\n";
    const RunResult r = run("NCOrder\n300,300\n" + home + "<Esc>\n" +
                            "NCReplace\n" + home + "<Esc>\n" +
                            "NCChangeCutDirection\n" + home + "<Esc>\n" +
                            "NCInsert\n" + home + "<Esc>\n" +
                            "NCSlice\n300,300\n110,110\n<Esc>\n");
    EXPECT_EQ(e2e::count(r.out, "The move home is not a contour path"), 4u) << r.out;
    EXPECT_TRUE(has(r.out, "The selected object is absent in the list of contours.")) << r.out;
    const Saved saved = readSaved(folder / "out.dxf");
    // NCSlice removes the move home first; the contour paths are untouched.
    ASSERT_EQ(saved.groups.size(), 3u);
    expectAutomaticContourGroups(saved);
}

}  // namespace laser_path_editing_test

namespace laser_path_editing_test {

// Two 50 x 50 plates side by side, 10 apart, drawn as our host writes DXF.
void writeTwoPlates(const fs::path& path) {
    host::db::Database db;
    {
        host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Write);
        for (const double x : {10.0, 70.0}) {
            auto plate = std::make_unique<host::db::LwPolyline>();
            plate->addVertexAt(0, {x, 10});
            plate->addVertexAt(1, {x + 50, 10});
            plate->addVertexAt(2, {x + 50, 60});
            plate->addVertexAt(3, {x, 60});
            plate->setClosed(true);
            space->appendEntity(std::move(plate));
        }
    }
    std::string error;
    ASSERT_TRUE(host::dxf::writeDxfFile(db, path, &error)) << error;
}

// The points an NC program's blocks take the tool to, in order (X and Y are modal: a block may give one of them).
std::vector<Point3d> programPoints(const std::string& program) {
    std::vector<Point3d> points;
    Point3d at;
    std::istringstream in(program);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '(' || line[0] == '%') continue;
        const std::size_t x = line.find('X'), y = line.find('Y');
        if (x == std::string::npos && y == std::string::npos) continue;
        if (x != std::string::npos) at.x = std::atof(line.c_str() + x + 1);
        if (y != std::string::npos) at.y = std::atof(line.c_str() + y + 1);
        points.push_back(at);
    }
    return points;
}

TEST(LaserBridges, ABridgeJoinsTwoPlatesAndItsStripIsNeverCut) {
    ScratchFolder folder;
    const fs::path drawing = folder / "plates.dxf", saved = folder / "out.dxf";
    writeTwoPlates(drawing);
    // The fence runs from inside the left plate to inside the right one; the strip is 1 wide (BridgeWidth).
    host::sys::testing::writeBytes(folder / "run.scr",
                                   "NCCreateContour\nCreateBridge\n50,35\n80,35\n\nNCCreateContour\nNCSliceAuto\n"
                                   "NCCreate\ndlg ok\ndlg set 249 Bridge\ndlg press OK\n");
    const RunResult r =
        e2e::cadhost({drawing.string(), "--load", "laser", "--install",
                      (fs::path(KESTRION_SOURCE_DIR) / "data").string(), "--registry",
                      e2e::writeLanguageRegistry(folder).string(), "--script", (folder / "run.scr").string(), "--save",
                      saved.string()},
                     folder);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(has(r.out, "All contours = 1, Unclose = 0, Inside = 0, Outside = 1")) << r.out;
    EXPECT_FALSE(has(r.out, "Circle")) << "no debug lines: " << r.out;

    const Saved path = readSaved(saved);
    ASSERT_EQ(path.groups.size(), 2u) << r.out;
    expectWholePath(path);
    // The outline goes along the strip's edges; nothing is cut across the strip where the plates' sides were.
    bool lowerEdge = false, upperEdge = false;
    for (const Member& m : path.groups[0].members) {
        const auto along = [&](const Point3d& a, const Point3d& b) {
            return (near(m.start, a) && near(m.end, b)) || (near(m.start, b) && near(m.end, a));
        };
        lowerEdge = lowerEdge || along({60, 34.5, 0}, {70, 34.5, 0});
        upperEdge = upperEdge || along({60, 35.5, 0}, {70, 35.5, 0});
        for (const double x : {60.0, 70.0}) {
            const bool crosses = m.line && std::abs(m.start.x - x) < 1e-6 && std::abs(m.end.x - x) < 1e-6 &&
                                 std::min(m.start.y, m.end.y) < 35.0 && std::max(m.start.y, m.end.y) > 35.0;
            EXPECT_FALSE(crosses) << "a cut across the strip at x = " << x;
        }
    }
    EXPECT_TRUE(lowerEdge && upperEdge);

    std::ifstream in(folder / "plates.nc", std::ios::binary);
    ASSERT_TRUE(in) << r.out;
    const std::string program((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::vector<Point3d> points = programPoints(program);
    ASSERT_FALSE(points.empty()) << program;
    bool stripEdge = false;
    for (std::size_t k = 1; k < points.size(); ++k) {
        const Point3d &a = points[k - 1], &b = points[k];
        stripEdge = stripEdge || (near(a, {60, 34.5, 0}, 1e-3) && near(b, {70, 34.5, 0}, 1e-3)) ||
                    (near(a, {70, 34.5, 0}, 1e-3) && near(b, {60, 34.5, 0}, 1e-3));
        for (const double x : {60.0, 70.0}) {
            const bool crosses = std::abs(a.x - x) < 1e-3 && std::abs(b.x - x) < 1e-3 &&
                                 std::min(a.y, b.y) < 35.0 && std::max(a.y, b.y) > 35.0;
            EXPECT_FALSE(crosses) << "the program cuts across the strip at x = " << x << "\n" << program;
        }
    }
    EXPECT_TRUE(stripEdge) << program;
}


// The plate's left edge stops 0.5 short of its start: Connect closes it, and the path that follows cuts it as a
// closed outer contour without the contours being made again.
TEST(LaserConnectedContour, IsCutAsClosedRightAfterConnect) {
    ScratchFolder folder;
    const fs::path drawing = folder / "open.dxf", saved = folder / "out.dxf";
    {
        host::db::Database db;
        {
            host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Write);
            const Point3d corners[] = {{10, 10}, {210, 10}, {210, 110}, {10, 110}, {10, 10.5}};
            for (int k = 0; k < 4; ++k) space->appendEntity(std::make_unique<host::db::Line>(corners[k], corners[k + 1]));
        }
        std::string error;
        ASSERT_TRUE(host::dxf::writeDxfFile(db, drawing, &error)) << error;
    }
    const RunResult r = e2e::runLaserScript(drawing, folder,
                                            "NCCreateContour\nmsgbox OK\nNCCheckUnclose\nC\nMODEMACRO\n\n"
                                            "NCSliceAuto\n",
                                            saved);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(has(r.out, "All contours = 1, Unclose = 1, Inside = 0, Outside = 0")) << r.out;
    EXPECT_TRUE(has(r.out, "Open contours are not present")) << r.out;
    EXPECT_TRUE(has(r.out, "Contours=1/0 Out=1/0/0 In=0/0/0/0/0 Engr=0/0/0 Heat=0 Uncl=0/0")) << r.out;
    const Saved path = readSaved(saved);
    ASSERT_EQ(path.groups.size(), 2u) << r.out;
    // "Slice_Polyline T0 Offset=.. HP= <handle> 1 <side> 1 0 ...": a polyline, outer, closed.
    std::istringstream in(path.groups[0].description);
    std::vector<std::string> tokens;
    for (std::string t; in >> t;) tokens.push_back(t);
    ASSERT_GT(tokens.size(), 8u) << path.groups[0].description;
    EXPECT_EQ(tokens[0], "Slice_Polyline");
    EXPECT_EQ(tokens[7], "1") << "outer";
    EXPECT_EQ(tokens[8], "0") << "closed";
}


// A fence from inside one hole to inside the other, above their centres: each circle loses only the short arc
// between the strip's edges, and the two holes become one.
TEST(LaserBridges, TwoHolesJoinedByABridgeBecomeOneHole) {
    ScratchFolder folder;
    const RunResult r = e2e::runLaserScript(kPlate, folder,
                                            "NCCreateContour\nCreateBridge\n55,62\n165,62\n\nNCCreateContour\n",
                                            folder / "out.dxf");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(has(r.out, "All contours = 2, Unclose = 0, Inside = 1, Outside = 1")) << r.out;
    EXPECT_FALSE(has(r.out, "Circle0")) << r.out;
    EXPECT_FALSE(has(r.out, "Circle1")) << r.out;
    // The joined hole keeps both circles but for the short arcs, and gains the strip: 2 x 100 pi + about 80.
    host::dxf::ReadResult read = host::dxf::readDxfFile(folder / "out.dxf");
    ASSERT_TRUE(read) << read.error;
    const host::db::Database& db = *read.database;
    const auto* space = dynamic_cast<const host::db::BlockTableRecord*>(db.peek(db.modelSpaceId()));
    std::vector<double> areas;
    for (ObjectId id : space->entityIds()) {
        const auto* p = dynamic_cast<const host::db::LwPolyline*>(db.peek(id));
        if (p != nullptr && p->layer() == "0") areas.push_back(p->area());
    }
    ASSERT_EQ(areas.size(), 2u);
    const double hole = std::min(areas[0], areas[1]);
    EXPECT_NEAR(hole, 200 * 3.14159265 + 80, 5.0);
}

}  // namespace laser_path_editing_test
