// Tests of the explode of blocks and polylines, the clamps recorded instead, and the trim lines.
#include <gtest/gtest.h>

#include "host/db/resbuf.h"
#include "host/ed/selection.h"
#include "laser/contours/block_explode.h"
#include "laser/contours/clamps_trim_lines.h"
#include "laser/contours/tests/creation_drawing_fixture.h"

namespace {

using contour_testing::CreationTest;
using host::db::EntityName;
using host::db::ObjectId;
using host::ge::Point3d;

class ExplodeAndAids : public CreationTest {
public:
    // The whole-drawing selection of the explode stage.
    EntityName BlocksAndPolylines() {
        const host::db::ResBufList filter = {{-4, "<or"}, {0, "INSERT"}, {0, "POLYLINE"}, {0, "LWPOLYLINE"},
                                             {-4, "or>"}};
        EntityName set;
        EXPECT_EQ(host::ed::ssGet("_X", nullptr, nullptr, &filter, set), host::db::RTNORM);
        return set;
    }
    std::vector<std::string> LiveTypes() {
        std::vector<std::string> types;
        for (ObjectId id : ModelSpace()) {
            auto e = Open<host::db::Entity>(id);
            if (e->layer() != "NC_Laser") types.push_back(e->dxfName());   // the stored job's texts aside
        }
        return types;
    }
    // A block's contents of one line.
    std::vector<std::unique_ptr<host::db::Entity>> OneLine(Point3d a, Point3d b) {
        std::vector<std::unique_ptr<host::db::Entity>> entities;
        entities.push_back(std::make_unique<host::db::Line>(a, b));
        return entities;
    }
};

TEST_F(ExplodeAndAids, ClampsAreRecordedByXAndNeverExploded) {
    CuttingJob job;
    Block("Clamp", {}, {500, 20, 7});
    // A second reference of the same block, further left, drawn later.
    Add(std::make_unique<host::db::BlockReference>(Point3d{100, 30, 5},
                                                   db().recordId(host::db::TableKind::Block, "Clamp")));
    // A part block holding a clamp of its own, which shows only once the part is exploded.
    std::vector<std::unique_ptr<host::db::Entity>> part;
    part.push_back(std::make_unique<host::db::BlockReference>(Point3d{300, 0, 0},
                                                              db().recordId(host::db::TableKind::Block, "Clamp")));
    Block("PART", std::move(part), {0, 40, 0});
    const EntityName set = BlocksAndPolylines();
    EXPECT_EQ(ExplodeBlocksAndPolylines(job, set), 1);
    EXPECT_EQ(job.clampCount, 1u);
    EXPECT_EQ(job.clampPoints[0], Point3d(100, 30, 0));
    EXPECT_EQ(job.clampPoints[1], Point3d(500, 20, 0));
    // The nested rounds record the part's clamp, and the two clamps of the first round not again.
    EXPECT_EQ(ExplodeNestedBlocks(job, set), 0);
    host::ed::ssFree(set);
    EXPECT_EQ(job.clampPoints[0], Point3d(100, 30, 0));
    EXPECT_EQ(job.clampPoints[1], Point3d(300, 40, 0));
    EXPECT_EQ(LiveTypes(), (std::vector<std::string>{"INSERT", "INSERT", "INSERT"}));
}

TEST_F(ExplodeAndAids, ClampOrderTable) {
    struct Case {
        std::vector<double> xs;
        double first, second;
    };
    const Case cases[] = {
        {{500, 100}, 100, 500},
        {{100, 500}, 100, 500},
        {{100, 100}, 100, 100},          // equal x: the one read first goes second
        {{100, 500, 50}, 50, 100},       // a third with the smallest x takes the first place
        {{100, 500, 300}, 100, 300},     // any other third overwrites the second place
    };
    for (const Case& c : cases) {
        CuttingJob job;
        for (std::size_t i = 0; i < c.xs.size(); ++i) RecordClamp(job, Point3d(c.xs[i], double(i), 9));
        EXPECT_EQ(job.clampCount, 1u);
        EXPECT_EQ(job.clampPoints[0].x, c.first);
        EXPECT_EQ(job.clampPoints[1].x, c.second);
        EXPECT_EQ(job.clampPoints[0].z, 0.0);
    }
}

TEST_F(ExplodeAndAids, OtherBlocksAndPolylinesExplodeOneLevel) {
    CuttingJob job;
    Block("clamp", OneLine({0, 0}, {1, 0}), {0, 0, 0});   // not the clamp block: names compare exactly
    Block("Inner", OneLine({0, 0}, {0, 1}), {0, 0, 0});
    {
        std::vector<std::unique_ptr<host::db::Entity>> outer;
        outer.push_back(std::make_unique<host::db::BlockReference>(
            Point3d{50, 0, 0}, db().recordId(host::db::TableKind::Block, "Inner")));
        Block("Outer", std::move(outer), {0, 0, 0});
    }
    Rectangle(0, 0, 10, 10);
    const EntityName set = BlocksAndPolylines();
    EXPECT_EQ(ExplodeBlocksAndPolylines(job, set), 4);
    EXPECT_EQ(job.clampCount, 0u);
    // The nested reference came out of Outer and waits for the next round.
    std::vector<std::string> types = LiveTypes();
    EXPECT_EQ(std::count(types.begin(), types.end(), "INSERT"), 1);
    EXPECT_EQ(std::count(types.begin(), types.end(), "LINE"), 6);

    EXPECT_EQ(ExplodeNestedBlocks(job, set), 1);
    host::ed::ssFree(set);
    types = LiveTypes();
    EXPECT_EQ(std::count(types.begin(), types.end(), "INSERT"), 0);
    EXPECT_EQ(std::count(types.begin(), types.end(), "LINE"), 7);
}

TEST_F(ExplodeAndAids, ThreeDimensionalPolylineBecomesPiecesAtItsVertices) {
    CuttingJob job;
    auto polyline = std::make_unique<host::db::Polyline3d>();
    const ObjectId id = Add(std::move(polyline));
    {
        host::db::ObjectPtr<host::db::Polyline3d> p(id, host::db::OpenMode::Write);
        for (Point3d v : {Point3d{0, 0, 5}, Point3d{10, 0, 7}, Point3d{10, 10, 9}}) {
            ASSERT_EQ(p->appendVertex(std::make_unique<host::db::PolylineVertex>(v)), host::db::Status::Ok);
        }
    }
    const EntityName set = BlocksAndPolylines();
    EXPECT_EQ(ExplodeBlocksAndPolylines(job, set), 1);
    host::ed::ssFree(set);
    std::vector<Point3d> ends;
    for (ObjectId piece : ModelSpace()) {
        if (Open<host::db::Entity>(piece)->layer() == "NC_Laser") continue;
        auto line = Open<host::db::Line>(piece);
        ASSERT_TRUE(line) << Open<host::db::Entity>(piece)->dxfName();
        ends.push_back(line->start());
        ends.push_back(line->end());
    }
    ASSERT_EQ(ends.size(), 4u);
    EXPECT_EQ(ends[0].x, 0.0);
    EXPECT_EQ(ends[1].x, 10.0);
    EXPECT_EQ(ends[3].y, 10.0);
}

TEST_F(ExplodeAndAids, LockedLayerIsReportedAndLeftAsItIs) {
    CuttingJob job;
    Layer("Locked");
    Rectangle(0, 0, 10, 10, "Locked");
    Layer("Locked", false, false, true);
    const EntityName set = BlocksAndPolylines();
    EXPECT_EQ(ExplodeBlocksAndPolylines(job, set), 0);
    host::ed::ssFree(set);
    EXPECT_EQ(LiveTypes(), std::vector<std::string>{"LWPOLYLINE"});
    EXPECT_NE(Transcript().find("\"Locked\" cannot be changed"), std::string::npos) << Transcript();
}

TEST_F(ExplodeAndAids, TrimLinesToggleTheirDirectionBits) {
    struct Case {
        const char* what;
        std::vector<std::pair<Point3d, Point3d>> lines;
        std::uint32_t bits;
    };
    const Case cases[] = {
        {"one vertical, one horizontal", {{{230, 0}, {230, 130}}, {{0, 140}, {200, 140}}}, 3},
        {"two vertical: the bit clears", {{{230, 0}, {230, 130}}, {{240, 5}, {240, 6}}}, 0},
        {"zero length toggles both", {{{1, 1}, {1, 1}}}, 3},
        {"slanted changes nothing", {{{0, 0}, {5, 5}}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        for (const auto& [a, b] : c.lines) Line(a, b, kTrimLineLayer);
        Line({0, 0}, {0, 50});   // a vertical line on another layer is no trim line
        CuttingJob job;
        job.trimLineBits = 0xF0;
        ReadClampsAndTrimLines(job);
        EXPECT_EQ(job.trimLineBits, c.bits);
    }
    // The ends of the last vertical line stay stored when the bit clears.
    TearDown();
    SetUp();
    Line({230, 0}, {230, 130}, kTrimLineLayer);
    Line({240, 5}, {240, 6}, kTrimLineLayer);
    CuttingJob job;
    ReadClampsAndTrimLines(job);
    EXPECT_EQ(job.trimLineBits, 0u);
    EXPECT_EQ(job.verticalTrimStart, Point3d(240, 5, 0));
    EXPECT_EQ(job.verticalTrimEnd, Point3d(240, 6, 0));
}

}  // namespace
