// Rectangle blocks, the marker block, block lookups and the temporary rectangle drawing, in a real drawing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "cadlib/rectangle_blocks.h"
#include "host/dxf/dxf_file.h"
#include "host/ed/transcript.h"

using host::db::BlockTableRecord;
using host::db::Database;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::Status;
using host::db::TableKind;
using host::ge::Point3d;

namespace {

class RectangleBlocks : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = host::db::workingDatabase();
        host::db::setWorkingDatabase(&db_);
        host::ed::transcript().clear();
    }
    void TearDown() override { host::db::setWorkingDatabase(previous_); }

    // The start points of the block's lines, in order; fails the test when a member is no line.
    std::vector<Point3d> LineStarts(std::string_view block) {
        std::vector<Point3d> starts;
        ObjectPtr<BlockTableRecord> record(db_.recordId(TableKind::Block, block), OpenMode::Read);
        EXPECT_TRUE(record) << block;
        if (!record) return starts;
        for (auto id : record->entityIds()) {
            ObjectPtr<host::db::Line> line(id, OpenMode::Read);
            EXPECT_TRUE(line);
            if (line) starts.push_back(line->start());
        }
        return starts;
    }

    Database db_;
    Database* previous_ = nullptr;
};

TEST_F(RectangleBlocks, AnchorsPlaceTheCorners) {
    const struct {
        int anchor;
        double xOffset, yOffset;
        Point3d first, third;  // lower-left and upper-right corners
    } cases[] = {
        {kAnchorLowerLeft, 0, 0, {0, 0, 0}, {300, 200, 0}},
        {kAnchorLowerLeft, 15, -5, {15, -5, 0}, {315, 195, 0}},
        {kAnchorCentre, 15, -5, {-150, -100, 0}, {150, 100, 0}},       // offsets apply to anchor 0 only
        {kAnchorBottomCentre, 15, -5, {-150, 0, 0}, {150, 200, 0}},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string name = "Rect" + std::to_string(n++);
        ASSERT_EQ(DefineRectangleBlockAt(name, 300, 200, c.anchor, "Continuous", 3, c.xOffset, c.yOffset), Status::Ok);
        const auto starts = LineStarts(name);
        ASSERT_EQ(starts.size(), 4u) << name;
        EXPECT_EQ(starts[0], c.first) << name;
        EXPECT_EQ(starts[1], (Point3d{c.third.x, c.first.y, 0})) << name;
        EXPECT_EQ(starts[2], c.third) << name;
        EXPECT_EQ(starts[3], (Point3d{c.first.x, c.third.y, 0})) << name;
    }
}

TEST_F(RectangleBlocks, LinesTakeColourLineTypeAndTheDrawingUnits) {
    db_.header().insUnits = 1;
    ASSERT_EQ(DefineRectangleBlock("Stock_1250x2500", 1250, 2500, kAnchorLowerLeft, "Continuous", 5), Status::Ok);
    ObjectPtr<BlockTableRecord> record(db_.recordId(TableKind::Block, "Stock_1250x2500"), OpenMode::Read);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->insertUnits(), 1);
    for (auto id : record->entityIds()) {
        ObjectPtr<host::db::Line> line(id, OpenMode::Read);
        ASSERT_TRUE(line);
        EXPECT_EQ(line->colorIndex(), 5);
        EXPECT_EQ(line->linetype(), "Continuous");
    }
    // The ends close the loop: each line ends where the next starts.
    const auto ids = record->entityIds();
    ObjectPtr<host::db::Line> last(ids.back(), OpenMode::Read);
    EXPECT_EQ(last->end(), (Point3d{0, 0, 0}));
}

TEST_F(RectangleBlocks, ATakenNameKeepsTheOldBlock) {
    ASSERT_EQ(DefineRectangleBlock("R", 10, 10, kAnchorLowerLeft, "Continuous", 1), Status::Ok);
    EXPECT_EQ(BlockExists("R"), 1);
    EXPECT_EQ(BlockExists("r"), 1);  // block names ignore case
    EXPECT_EQ(BlockExists("Q"), 0);
    EXPECT_EQ(DefineRectangleBlock("r", 99, 99, kAnchorCentre, "Continuous", 2), Status::DuplicateKey);
    const auto starts = LineStarts("R");
    ASSERT_EQ(starts.size(), 4u);
    EXPECT_EQ(starts[2], (Point3d{10, 10, 0}));
    EXPECT_EQ(DefineRectangleBlock("bad<name", 1, 1, 0, "Continuous", 1), Status::InvalidInput);
    EXPECT_EQ(BlockExists("bad<name"), 0);
}

TEST_F(RectangleBlocks, MarkerBlockRefusesOrReplacesATakenName) {
    EXPECT_EQ(DefineMarkerBlock("Mark", Point3d{5, 6, 0}, false), 0);
    EXPECT_EQ(DefineMarkerBlock("Mark", Point3d{0, 0, 0}, false), kMarkerBlockExists);
    ObjectPtr<BlockTableRecord> record;
    ASSERT_EQ(OpenBlockRecord("Mark", record, OpenMode::Read, &db_), Status::Ok);
    EXPECT_EQ(record->origin(), (Point3d{5, 6, 0}));
    const auto ids = record->entityIds();
    ASSERT_EQ(ids.size(), 2u);
    const struct {
        double radius;
        int color;
    } expected[] = {{2, 1}, {10, 5}};
    for (std::size_t i = 0; i < ids.size(); ++i) {
        ObjectPtr<host::db::Circle> circle(ids[i], OpenMode::Read);
        ASSERT_TRUE(circle);
        EXPECT_EQ(circle->radius(), expected[i].radius);
        EXPECT_EQ(circle->colorIndex(), expected[i].color);
        EXPECT_EQ(circle->center(), (Point3d{0, 0, 0}));
    }
    record.close();
    EXPECT_EQ(DefineMarkerBlock("Mark", Point3d{1, 1, 0}, true), 0);
    ASSERT_EQ(OpenBlockRecord("Mark", record, OpenMode::Read, &db_), Status::Ok);
    EXPECT_EQ(record->origin(), (Point3d{1, 1, 0}));
}

TEST_F(RectangleBlocks, OpenBlockRecordAnswersTheLookup) {
    ObjectPtr<BlockTableRecord> record;
    EXPECT_EQ(OpenBlockRecord("Missing", record, OpenMode::Read, &db_), Status::KeyNotFound);
    EXPECT_FALSE(record);
    EXPECT_EQ(OpenBlockRecord("*Model_Space", record, OpenMode::Write, nullptr), Status::NullObjectId);
    ASSERT_EQ(OpenBlockRecord("*model_space", record, OpenMode::Write, &db_), Status::Ok);
    EXPECT_TRUE(db_.isOpenForWrite(record.id()));
}

TEST_F(RectangleBlocks, TempRectangleDrawingLeavesTheUserDrawingAlone) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "kestrion_rect_test";
    std::filesystem::create_directories(folder);
    const char* oldTemp = std::getenv("TEMP");
    const std::string saved = oldTemp ? oldTemp : "";
    setenv("TEMP", folder.c_str(), 1);
    const auto before = db_.objectCount();
    EXPECT_EQ(SaveTempRectangleDrawing("rect"), 0);
    EXPECT_EQ(db_.objectCount(), before);
    EXPECT_EQ(host::db::workingDatabase(), &db_);
    const auto read = host::dxf::readDxfFile(folder / "rect.dxf");
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(read.database->extMin(), (Point3d{0, 0, 0}));
    EXPECT_EQ(read.database->extMax(), (Point3d{1200, 900, 0}));

    // A folder that cannot be written: the message names the file and nothing is left behind.
    setenv("TEMP", (folder / "missing" / "deeper").c_str(), 1);
    EXPECT_EQ(SaveTempRectangleDrawing("rect"), 1);
    EXPECT_NE(host::ed::transcript().text().find("rect.dxf"), std::string::npos) << host::ed::transcript().text();
    if (oldTemp) setenv("TEMP", saved.c_str(), 1); else unsetenv("TEMP");
    std::filesystem::remove_all(folder);
}

}  // namespace
