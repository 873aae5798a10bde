// Host commands run by name with fixed answers, and the UCS reset, in a document of the real editor.
#include <gtest/gtest.h>

#include <memory>

#include "cadlib/host_commands.h"
#include "cadlib/rectangle_blocks.h"
#include "host/db/database.h"
#include "host/ed/command_stack.h"
#include "host/ed/commands/host_commands.h"
#include "host/ed/documents.h"
#include "host/ed/input.h"
#include "host/ed/transcript.h"

using host::db::BlockReference;
using host::db::BlockTableRecord;
using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::RTNORM;
using host::db::TableKind;
using host::ge::Point3d;

namespace {

class HostCommands : public ::testing::Test {
protected:
    void SetUp() override {
        host::ed::documents().closeAll();
        host::ed::transcript().clear();
        host::ed::registerHostCommands();
        db_ = &host::ed::documents().newDocument()->database();
    }
    void TearDown() override {
        host::ed::setInput(nullptr);
        host::ed::commandStack().removeGroup(host::ed::kHostCommandGroup);
        host::ed::documents().closeAll();
    }

    ObjectId Insert(std::string_view block, const Point3d& at) {
        ObjectPtr<BlockTableRecord> model(db_->modelSpaceId(), OpenMode::Write);
        ObjectId id;
        EXPECT_EQ(model->appendEntity(std::make_unique<BlockReference>(at, db_->recordId(TableKind::Block, block)), &id),
                  host::db::Status::Ok);
        return id;
    }
    std::vector<ObjectId> ModelSpace() {
        ObjectPtr<BlockTableRecord> model(db_->modelSpaceId(), OpenMode::Read);
        return model->entityIds();
    }

    host::db::Database* db_ = nullptr;
};

TEST_F(HostCommands, PurgeKeepsReferencedBlocks) {
    ASSERT_EQ(DefineRectangleBlock("Used", 10, 10, kAnchorCentre, "Continuous", 1), host::db::Status::Ok);
    ASSERT_EQ(DefineRectangleBlock("Unused", 10, 10, kAnchorCentre, "Continuous", 1), host::db::Status::Ok);
    Insert("Used", {5, 5, 0});
    EXPECT_EQ(PurgeAllBlocks(), RTNORM) << host::ed::transcript().text();
    EXPECT_EQ(BlockExists("Used"), 1);
    EXPECT_EQ(BlockExists("Unused"), 0);
    EXPECT_EQ(RegenAll(), RTNORM) << host::ed::transcript().text();
}

TEST_F(HostCommands, ExplodeAllBlockReferences) {
    EXPECT_EQ(ExplodeAllBlockReferences(), RTNORM);  // no references: no command runs
    EXPECT_TRUE(host::ed::transcript().text().empty()) << host::ed::transcript().text();

    ASSERT_EQ(DefineRectangleBlock("R", 10, 20, kAnchorCentre, "Continuous", 1), host::db::Status::Ok);
    Insert("R", {100, 100, 0});
    Insert("R", {200, 100, 0});
    EXPECT_EQ(ExplodeAllBlockReferences(), RTNORM) << host::ed::transcript().text();
    const auto entities = ModelSpace();
    ASSERT_EQ(entities.size(), 8u);
    ObjectPtr<host::db::Line> first(entities[0], OpenMode::Read);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->start(), (Point3d{95, 90, 0}));  // centred on the insertion point
}

TEST_F(HostCommands, SetUcsToWorldResetsTheActiveViewport) {
    {
        ObjectPtr<host::db::ViewportTableRecord> active(db_->recordId(TableKind::Viewport, "*Active"),
                                                        OpenMode::Write);
        ASSERT_EQ(active->setUcs({10, 10, 0}, {0, 1, 0}, {-1, 0, 0}), host::db::Status::Ok);
    }
    EXPECT_EQ(SetUcsToWorld(), RTNORM);
    ObjectPtr<host::db::ViewportTableRecord> active(db_->recordId(TableKind::Viewport, "*Active"), OpenMode::Read);
    EXPECT_EQ(active->ucsOrigin(), (Point3d{0, 0, 0}));
    EXPECT_EQ(active->ucsXAxis(), (host::ge::Vector3d{1, 0, 0}));
    EXPECT_EQ(active->ucsYAxis(), (host::ge::Vector3d{0, 1, 0}));
}

TEST_F(HostCommands, MoveAndRotateTakeTheUsersAnswer) {
    ObjectId id;
    {
        ObjectPtr<BlockTableRecord> model(db_->modelSpaceId(), OpenMode::Write);
        model->appendEntity(std::make_unique<host::db::Line>(Point3d{1, 0, 0}, Point3d{2, 0, 0}), &id);
    }
    host::ed::setInput(host::ed::ScriptInput::fromLines({"5,5", "90"}, "user.scr"));
    EXPECT_EQ(StartMove(host::db::idToName(id)), RTNORM) << host::ed::transcript().text();
    EXPECT_EQ(StartRotate(host::db::idToName(id)), RTNORM) << host::ed::transcript().text();
    ObjectPtr<host::db::Line> line(id, OpenMode::Read);
    EXPECT_NEAR(line->start().x, -5, 1e-9);
    EXPECT_NEAR(line->start().y, 6, 1e-9);

    // Esc (the input ends) at the user's answer cancels the move.
    line.close();
    host::ed::setInput(host::ed::ScriptInput::fromLines({}, "empty.scr"));
    EXPECT_NE(StartMove(host::db::idToName(id)), RTNORM);
}

}  // namespace
