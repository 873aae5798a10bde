// Contour creation in a whole cadhost session: a plate with two holes read from a DXF file, NCCreateContour run
// by a script, and the drawing saved with its contours and its stored job; and a drawing written the way other
// CAD programs write them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/tables.h"
#include "host/dxf/dxf_file.h"
#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/laser_session.h"

// Named, so that the helpers stay apart from those of the other tests built into one unit with them.
namespace laser_contour_creation_test {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::count;
using e2e::RunResult;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

const fs::path kFixtures = fs::path(KESTRION_SOURCE_DIR) / "laser" / "contours" / "tests" / "fixtures";

struct Drawn {
    std::string type, layer;
    int colour;
};

// The live entities of model space: type, layer and colour index.
std::vector<Drawn> modelSpace(const host::db::Database& db) {
    const auto* ms = dynamic_cast<const host::db::BlockTableRecord*>(db.peek(db.modelSpaceId()));
    std::vector<Drawn> drawn;
    for (host::db::ObjectId id : ms->entityIds()) {
        const auto* e = dynamic_cast<const host::db::Entity*>(db.peek(id));
        if (e != nullptr && !e->isErased()) drawn.push_back({e->dxfName(), e->layer(), e->colorIndex()});
    }
    return drawn;
}

std::size_t countOf(const std::vector<Drawn>& drawn, const std::string& type, const std::string& layer,
                    int colour = -1) {
    std::size_t n = 0;
    for (const Drawn& d : drawn) {
        if (d.type == type && d.layer == layer && (colour < 0 || d.colour == colour)) ++n;
    }
    return n;
}

// Runs NCCreateContour on `drawing` and saves the result; answers the run.
RunResult createContours(const fs::path& drawing, const ScratchFolder& folder, const fs::path& saved) {
    return e2e::runLaserScript(drawing, folder, "NCCreateContour\nMODEMACRO\n\n", saved);
}

TEST(LaserContourCreation, PlateWithTwoHolesBecomesClassifiedContours) {
    ScratchFolder folder;
    const fs::path saved = folder / "out.dxf";
    const RunResult r = createContours(kFixtures / "plate_two_holes.dxf", folder, saved);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("Wait please ..."), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("All contours = 3, Unclose = 0, Inside = 2, Outside = 1"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Time  0 min "), std::string::npos) << r.out;
    EXPECT_EQ(count(r.out, "Error - Contours are not created."), 0u) << r.out;
    EXPECT_NE(r.out.find("Contours=3/0 Out=1/0/0 In=2/0/0/0/0"), std::string::npos) << r.out;

    host::dxf::ReadResult read = host::dxf::readDxfFile(saved);
    ASSERT_TRUE(read) << read.error;
    const host::db::Database& db = *read.database;
    const std::vector<Drawn> drawn = modelSpace(db);
    // The four lines became one closed polyline in the outer colour; the holes took the inner colour.
    EXPECT_EQ(countOf(drawn, "LINE", "0"), 0u);
    EXPECT_EQ(countOf(drawn, "LWPOLYLINE", "0", 170), 1u);
    EXPECT_EQ(countOf(drawn, "CIRCLE", "0", 252), 2u);
    // The job is stored in the drawing: its texts on the job layer and the tag in the project name.
    EXPECT_GE(countOf(drawn, "TEXT", "NC_Laser"), 3u);
    EXPECT_EQ(db.header().projectName.rfind("Kstr_", 0), 0u) << db.header().projectName;
    EXPECT_EQ(db.header().insBase, host::ge::Point3d(110, 60, 0));
}

TEST(LaserContourCreation, DrawingFromAnotherCadProgram) {
    ScratchFolder folder;
    const fs::path saved = folder / "out.dxf";
    const RunResult r = createContours(kFixtures / "other_cad.dxf", folder, saved);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    // The plate of lines and an arc, its slot of a polyline with bulges, and the part of the block with its hole.
    EXPECT_NE(r.out.find("All contours = 4, Unclose = 0, Inside = 2, Outside = 2"), std::string::npos) << r.out;

    host::dxf::ReadResult read = host::dxf::readDxfFile(saved);
    ASSERT_TRUE(read) << read.error;
    const std::vector<Drawn> drawn = modelSpace(*read.database);
    EXPECT_EQ(countOf(drawn, "INSERT", "0"), 0u);
    EXPECT_EQ(countOf(drawn, "LINE", "0"), 0u);
    EXPECT_EQ(countOf(drawn, "ARC", "0"), 0u);
    EXPECT_EQ(countOf(drawn, "LWPOLYLINE", "0"), 3u);
    EXPECT_EQ(countOf(drawn, "CIRCLE", "0"), 1u);
}

}  // namespace laser_contour_creation_test
