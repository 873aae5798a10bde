// The geometry checks in a whole cadhost session: a drawing with a line through a plate whose edge stops short,
// where contour creation stops at the crossings; NCCheckIntersect deletes the line, NCCheckUnclose then walks the
// open contours that the new creation warns about, closes one and deletes another, and the saved drawing shows it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/dxf/dxf_file.h"
#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/laser_session.h"

// Named, so that the helpers stay apart from those of the other tests built into one unit with them.
namespace laser_checks_test {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::count;
using e2e::RunResult;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

const fs::path kFixtures = fs::path(KESTRION_SOURCE_DIR) / "laser" / "contours" / "tests" / "fixtures";

// One live entity of the saved model space.
struct Saved {
    std::string type, layer;
    bool closed = false;  // polylines
};

std::vector<Saved> modelSpace(const host::db::Database& db) {
    const auto* ms = dynamic_cast<const host::db::BlockTableRecord*>(db.peek(db.modelSpaceId()));
    std::vector<Saved> out;
    for (host::db::ObjectId id : ms->entityIds()) {
        const auto* e = dynamic_cast<const host::db::Entity*>(db.peek(id));
        if (e == nullptr || e->isErased() || e->layer() == "NC_Laser") continue;
        Saved s{e->dxfName(), e->layer()};
        if (const auto* p = dynamic_cast<const host::db::LwPolyline*>(e)) s.closed = p->isClosed();
        out.push_back(s);
    }
    return out;
}

std::size_t countOf(const std::vector<Saved>& saved, const std::string& type, const std::string& layer) {
    std::size_t n = 0;
    for (const Saved& s : saved) n += s.type == type && s.layer == layer ? 1 : 0;
    return n;
}

TEST(LaserChecks, CrossingLineDeletedThenOpenContoursClosedAndDeleted) {
    ScratchFolder folder;
    const fs::path saved = folder / "out.dxf";
    const std::string script =
        "NCCreateContour\n"
        "msgbox OK\n"        // the lines intersect
        "NCCheckIntersect\n"
        "Z\n1\nD\n"          // the line drawn last is piece 1 of its pairs
        "msgbox OK\n"        // creation, run again, warns about the unclosed contours
        "NCCheckUnclose\n"
        "Z\nN\nC\nD\nE\n"    // zoom on the plate, close the NoLeadIn L, delete the jumper-layer polyline
        "msgbox OK\n";       // creation, run again after the deletion, still warns about the plate
    const RunResult r = e2e::runLaserScript(kFixtures / "open_and_crossing.dxf", folder, script, saved);
    ASSERT_EQ(r.status, 0) << r.err << r.out;

    const std::string& t = r.out;
    EXPECT_NE(t.find("Checked drawn objects = 12, intersections = 2"), std::string::npos) << t;
    EXPECT_NE(t.find("The pair of contours is highlighted [1/2] "), std::string::npos) << t;
    EXPECT_NE(t.find("All contours = 4, Unclose = 3, Inside = 0, Outside = 1"), std::string::npos) << t;
    EXPECT_NE(t.find("Warning:  1. Unclosed contours - 3"), std::string::npos) << t;

    // The three contours creation warned about, the NoLeadIn one among them.
    EXPECT_NE(t.find("Open-ended contours  = 3"), std::string::npos) << t;
    EXPECT_NE(t.find("Highlight contour [1/3]  Clearance = 0.50000000"), std::string::npos) << t;
    EXPECT_NE(t.find("Highlight contour [2/3]  Clearance = 111.80339887"), std::string::npos) << t;
    // Connect at the second place: the last one moves in.
    EXPECT_NE(t.find("Highlight contour [2/2]  Clearance = 70.71067812"), std::string::npos) << t;
    EXPECT_NE(t.find("Highlight contour [1/1]  Clearance = 0.50000000"), std::string::npos) << t;
    // A deletion makes the contours again: the plate is still open, the closed L is a contour of its own.
    EXPECT_NE(t.find("All contours = 2, Unclose = 1, Inside = 0, Outside = 1"), std::string::npos) << t;
    EXPECT_EQ(count(t, "Select [Zoom/Next/Previous/Delete/delete All/Connect/Exit] "), 5u) << t;

    host::dxf::ReadResult read = host::dxf::readDxfFile(saved);
    ASSERT_TRUE(read) << read.error;
    const std::vector<Saved> drawn = modelSpace(*read.database);
    EXPECT_EQ(countOf(drawn, "LINE", "0"), 0u) << "the crossing line is deleted, the plate's lines joined";
    EXPECT_EQ(countOf(drawn, "LWPOLYLINE", "JumperLine"), 0u);
    EXPECT_EQ(countOf(drawn, "CIRCLE", "0"), 1u);
    ASSERT_EQ(countOf(drawn, "LWPOLYLINE", "NoLeadIn"), 1u);
    ASSERT_EQ(countOf(drawn, "LWPOLYLINE", "0"), 1u);
    for (const Saved& s : drawn) {
        if (s.type != "LWPOLYLINE") continue;
        if (s.layer == "NoLeadIn") {
            EXPECT_TRUE(s.closed) << "closed by Connect";
        } else if (s.layer == "0") {
            EXPECT_FALSE(s.closed) << "the plate was left open";
        }
    }
}

// A grid of n horizontal and n vertical LINEs on layer "0", 10 apart: n x n crossings.
void writeGrid(const fs::path& path, int n) {
    std::string text = "0\nSECTION\n2\nENTITIES\n";
    const auto line = [&text](int x1, int y1, int x2, int y2) {
        text += "0\nLINE\n8\n0\n10\n" + std::to_string(x1) + "\n20\n" + std::to_string(y1) + "\n30\n0\n11\n" +
                std::to_string(x2) + "\n21\n" + std::to_string(y2) + "\n31\n0\n";
    };
    for (int k = 0; k < n; ++k) line(-10, 10 * k, 10 * n, 10 * k);
    for (int k = 0; k < n; ++k) line(10 * k, -10, 10 * k, 10 * n);
    writeBytes(path, text + "0\nENDSEC\n0\nEOF\n");
}

// Before: 961 crossings were reported as "intersections = 800", the number the table holds. The count now says
// that there are more.
TEST(LaserChecks, MoreCrossingsThanTheTableHoldsAreCountedAsMore) {
    ScratchFolder folder;
    const fs::path drawing = folder / "grid.dxf";
    writeGrid(drawing, 31);
    const RunResult r = e2e::runLaserScript(drawing, folder, "NCCreateContour\nmsgbox OK\n", folder / "out.dxf");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("More than 800 intersections were found; the first 800 are listed."), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("intersections = more than 800"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("intersections = 800"), std::string::npos) << r.out;
}

// Before: Esc in the browser of the objects that meet at a node ended contour creation as Exit does ("FUNCTION IS
// INTERRUPTED!!!"). Esc closes the browser only: the objects stay as they are and creation goes on to its counts.
TEST(LaserChecks, EscInTheBrowserOfANodeOfThreeObjectsLetsCreationGoOn) {
    ScratchFolder folder;
    const fs::path drawing = folder / "spur.dxf";
    std::string text = "0\nSECTION\n2\nENTITIES\n";
    const auto line = [&text](int x1, int y1, int x2, int y2) {
        text += "0\nLINE\n8\n0\n10\n" + std::to_string(x1) + "\n20\n" + std::to_string(y1) + "\n30\n0\n11\n" +
                std::to_string(x2) + "\n21\n" + std::to_string(y2) + "\n31\n0\n";
    };
    // A plate and a spur from its corner: three objects meet at (100,50).
    line(0, 0, 100, 0), line(100, 0, 100, 50), line(100, 50, 0, 50), line(0, 50, 0, 0), line(100, 50, 130, 80);
    writeBytes(drawing, text + "0\nENDSEC\n0\nEOF\n");
    const RunResult r =
        // The warning of the unclosed spur is answered too: a script that leaves a box unanswered stops there.
        e2e::runLaserScript(drawing, folder, "NCCreateContour\nmsgbox OK\n<Esc>\nmsgbox OK\nMODEMACRO\n\n",
                            folder / "out.dxf");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(count(r.out, "Highlighted objects - 3"), 1u) << r.out;
    EXPECT_EQ(r.out.find("FUNCTION IS INTERRUPTED"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("The objects meeting at this point are left as they are."), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("All contours = "), std::string::npos) << "creation went on to its counts\n" << r.out;
}

}  // namespace laser_checks_test
