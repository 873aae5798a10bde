// The main road in a whole cadhost session: a drawing read from DXF, NCCreateContour and NCSliceAuto run by a
// script, and the saved drawing checked for its path groups: one per contour in a valid order (inner contours
// before the contour around them), each path starting where the one before it ended, and the move home last.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
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
namespace laser_cutting_path_test {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::count;
using e2e::RunResult;
using host::db::ObjectId;
using host::ge::Point3d;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

const fs::path kFixtures = fs::path(KESTRION_SOURCE_DIR) / "laser" / "contours" / "tests" / "fixtures";

// Runs NCCreateContour and NCSliceAuto on `drawing`, prints the status line, and saves the result.
RunResult cutDrawing(const fs::path& drawing, const ScratchFolder& folder, const fs::path& saved) {
    return e2e::runLaserScript(drawing, folder, "NCCreateContour\nNCSliceAuto\nMODEMACRO\n\n", saved);
}

// One path group of the saved drawing: its description and the ends of its first and last line.
struct SavedGroup {
    std::string description;
    Point3d firstStart, lastEnd;
    std::size_t members = 0;
    bool allOnPathLayer = true;
};

// The path groups "DOROZ_1", "DOROZ_2", ... of a drawing, up to the first number that is missing.
std::vector<SavedGroup> pathGroups(const host::db::Database& db) {
    const auto* groups = dynamic_cast<const host::db::Dictionary*>(db.peek(db.groupDictionaryId()));
    std::vector<SavedGroup> out;
    if (groups == nullptr) return out;
    for (int n = 1;; ++n) {
        const ObjectId id = groups->getAt("DOROZ_" + std::to_string(n));
        if (id.isNull()) break;
        const auto* group = dynamic_cast<const host::db::Group*>(db.peek(id));
        SavedGroup g;
        g.description = group->description();
        const std::vector<ObjectId> members = group->allEntityIds();
        g.members = members.size();
        bool first = true;
        for (ObjectId m : members) {
            const auto* e = dynamic_cast<const host::db::Entity*>(db.peek(m));
            if (e == nullptr) continue;
            if (e->layer() != "NC_Laser") g.allOnPathLayer = false;
            if (const auto* line = dynamic_cast<const host::db::Line*>(e)) {
                if (first) g.firstStart = line->start();
                g.lastEnd = line->end();
            }
            first = false;
        }
        out.push_back(g);
    }
    return out;
}

// The word after "HP= " of a contour group's description: the handle of its contour.
std::string contourHandle(const std::string& description) {
    std::istringstream in(description.substr(description.find("HP= ") + 4));
    std::string handle;
    in >> handle;
    return handle;
}

bool near(const Point3d& a, const Point3d& b) { return std::abs(a.x - b.x) < 1e-6 && std::abs(a.y - b.y) < 1e-6; }

// Contours of the saved drawing by handle text: circles with their centres, polylines with their lowest corner.
struct SavedContour {
    std::string type;
    Point3d at;
};

std::map<std::string, SavedContour> contours(const host::db::Database& db) {
    std::map<std::string, SavedContour> out;
    const auto* ms = dynamic_cast<const host::db::BlockTableRecord*>(db.peek(db.modelSpaceId()));
    for (ObjectId id : ms->entityIds()) {
        const auto* e = dynamic_cast<const host::db::Entity*>(db.peek(id));
        if (e == nullptr || e->isErased() || e->layer() != "0") continue;
        if (const auto* c = dynamic_cast<const host::db::Circle*>(e)) {
            out[id.handle().text()] = SavedContour{"CIRCLE", c->center()};
        } else if (const auto* p = dynamic_cast<const host::db::LwPolyline*>(e)) {
            // The lower left corner of its box.
            Point3d low(1e300, 1e300, 0);
            for (unsigned k = 0; k < p->numVerts(); ++k) {
                Point3d v;
                p->getPointAt(k, v);
                low = Point3d(std::min(low.x, v.x), std::min(low.y, v.y), 0);
            }
            out[id.handle().text()] = SavedContour{"LWPOLYLINE", low};
        }
    }
    return out;
}

// Checks what every cut path must satisfy: contour groups first, the home group last, each path starting where
// the one before it ended, everything on the path layer.
void expectConnectedPath(const std::vector<SavedGroup>& groups) {
    ASSERT_FALSE(groups.empty());
    EXPECT_EQ(groups.back().description.rfind("Rapid_Home ", 0), 0u) << groups.back().description;
    for (std::size_t k = 0; k < groups.size(); ++k) {
        EXPECT_TRUE(groups[k].allOnPathLayer) << "group " << k + 1;
        if (k + 1 < groups.size()) {
            EXPECT_EQ(groups[k].description.find("Rapid_Home"), std::string::npos);
        }
        if (k > 0) {
            EXPECT_TRUE(near(groups[k].firstStart, groups[k - 1].lastEnd))
                << "group " << k + 1 << " starts at " << groups[k].firstStart.x << "," << groups[k].firstStart.y
                << ", the one before ended at " << groups[k - 1].lastEnd.x << "," << groups[k - 1].lastEnd.y;
        }
    }
    EXPECT_TRUE(near(groups.back().lastEnd, Point3d(0, 0, 0))) << "the path ends at home";
}

TEST(LaserCuttingPath, PlateWithTwoHolesIsCutHolesFirst) {
    ScratchFolder folder;
    const fs::path saved = folder / "out.dxf";
    const RunResult r = cutDrawing(kFixtures / "plate_two_holes.dxf", folder, saved);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("All contours = 3, Unclose = 0, Inside = 2, Outside = 1"), std::string::npos) << r.out;
    EXPECT_EQ(count(r.out, "Time  0 min "), 2u) << r.out;
    EXPECT_NE(r.out.find("Contours=3/3 Out=1/0/0 In=2/0/0/0/0"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("without a cutting path"), std::string::npos) << r.out;

    host::dxf::ReadResult read = host::dxf::readDxfFile(saved);
    ASSERT_TRUE(read) << read.error;
    const std::vector<SavedGroup> groups = pathGroups(*read.database);
    ASSERT_EQ(groups.size(), 4u);
    expectConnectedPath(groups);
    EXPECT_TRUE(near(groups[0].firstStart, Point3d(0, 0, 0))) << "the first rapid leaves home";

    const std::map<std::string, SavedContour> drawn = contours(*read.database);
    std::vector<SavedContour> order;
    for (std::size_t k = 0; k < 3; ++k) {
        const auto it = drawn.find(contourHandle(groups[k].description));
        ASSERT_NE(it, drawn.end()) << groups[k].description;
        order.push_back(it->second);
    }
    // The hole nearer home, the other hole, then the plate.
    EXPECT_EQ(groups[0].description.rfind("Slice_Circle T0 Offset=", 0), 0u) << groups[0].description;
    EXPECT_TRUE(near(order[0].at, Point3d(60, 60, 0)));
    EXPECT_TRUE(near(order[1].at, Point3d(160, 60, 0)));
    EXPECT_EQ(order[2].type, "LWPOLYLINE");
    EXPECT_EQ(groups[2].description.rfind("Slice_Polyline T0 Offset=", 0), 0u) << groups[2].description;
    // A circle path: rapid, lead-in, two arcs and a lead-out.
    EXPECT_EQ(groups[0].members, 5u);
}

// A sheet of parts in a grid: each a 40 x 30 plate with two round holes, drawn as our host writes DXF.
void writeSheet(const fs::path& path, int columns, int rows) {
    host::db::Database db;
    {
        host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Write);
        for (int row = 0; row < rows; ++row) {
            for (int col = 0; col < columns; ++col) {
                const double x = 10 + col * 50.0, y = 10 + row * 40.0;
                auto plate = std::make_unique<host::db::LwPolyline>();
                plate->addVertexAt(0, {x, y});
                plate->addVertexAt(1, {x + 40, y});
                plate->addVertexAt(2, {x + 40, y + 30});
                plate->addVertexAt(3, {x, y + 30});
                plate->setClosed(true);
                space->appendEntity(std::move(plate));
                space->appendEntity(std::make_unique<host::db::Circle>(Point3d(x + 10, y + 15), 4.0));
                space->appendEntity(std::make_unique<host::db::Circle>(Point3d(x + 30, y + 15), 4.0));
            }
        }
    }
    std::string error;
    ASSERT_TRUE(host::dxf::writeDxfFile(db, path, &error)) << error;
}

TEST(LaserCuttingPath, SheetOfManyPartsEveryContourOnceHolesBeforeTheirPart) {
    constexpr int kColumns = 8, kRows = 6, kParts = kColumns * kRows;
    ScratchFolder folder;
    const fs::path sheet = folder / "sheet.dxf", saved = folder / "out.dxf";
    writeSheet(sheet, kColumns, kRows);
    const RunResult r = cutDrawing(sheet, folder, saved);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(r.out.find("without a cutting path"), std::string::npos) << r.out;

    host::dxf::ReadResult read = host::dxf::readDxfFile(saved);
    ASSERT_TRUE(read) << read.error;
    const std::vector<SavedGroup> groups = pathGroups(*read.database);
    ASSERT_EQ(groups.size(), 3u * kParts + 1);
    expectConnectedPath(groups);

    // Every contour is cut once; a part's outline only after both of its holes.
    const std::map<std::string, SavedContour> drawn = contours(*read.database);
    std::map<std::string, int> cutAt;
    for (std::size_t k = 0; k + 1 < groups.size(); ++k) {
        const std::string h = contourHandle(groups[k].description);
        ASSERT_TRUE(drawn.count(h)) << groups[k].description;
        EXPECT_TRUE(cutAt.emplace(h, static_cast<int>(k)).second) << "contour " << h << " cut twice";
    }
    EXPECT_EQ(cutAt.size(), 3u * kParts);
    for (const auto& [h, outline] : drawn) {
        if (outline.type != "LWPOLYLINE") continue;
        for (const auto& [hh, hole] : drawn) {
            if (hole.type != "CIRCLE") continue;
            const bool inside = hole.at.x > outline.at.x && hole.at.x < outline.at.x + 40 && hole.at.y > outline.at.y &&
                                hole.at.y < outline.at.y + 30;
            if (inside) {
                EXPECT_LT(cutAt[hh], cutAt[h]) << "hole " << hh << " of part " << h;
            }
        }
    }
}

}  // namespace laser_cutting_path_test
