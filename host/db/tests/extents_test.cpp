// Drawing extents: which entities count, the empty drawing, and the cache following every change.
#include <gtest/gtest.h>

#include <functional>

#include "db_test_support.h"

namespace host::db {
namespace {

using testing::addLayer;
using testing::addLine;
using testing::addToModelSpace;
using testing::eraseObject;

constexpr double kFar = 1000.0;

// Puts an entity on a layer; the entity must be open-able for write.
void moveToLayer(ObjectId entity, ObjectId layer) {
    ObjectPtr<Entity> e(entity, OpenMode::Write);
    ASSERT_TRUE(e.isOpen());
    ASSERT_EQ(e->setLayer(layer), Status::Ok);
}

TEST(Extents, AnEmptyDrawingAnswersTheInvertedBox) {
    Database db;
    EXPECT_EQ(db.extMin(), ge::Point3d(1e20, 1e20, 1e20));
    EXPECT_EQ(db.extMax(), ge::Point3d(-1e20, -1e20, -1e20));
}

TEST(Extents, OnlyVisibleEntitiesOnVisibleLayersCount) {
    using Add = std::function<void(Database&)>;
    const struct {
        const char* what;
        Add add;
        bool counts;
    } cases[] = {
        {"a visible line", [](Database& db) { addLine(db, {kFar, kFar}, {kFar + 1, kFar + 1}); }, true},
        {"a visible text",
         [](Database& db) { addToModelSpace(db, std::make_unique<Text>(ge::Point3d(kFar, kFar), "Kstr", 2.5)); },
         true},
        {"an invisible text",
         [](Database& db) {
             auto t = std::make_unique<Text>(ge::Point3d(kFar, kFar), "Kstr_ST", 2.5);
             t->setVisible(false);
             addToModelSpace(db, std::move(t));
         },
         false},
        {"an invisible line",
         [](Database& db) {
             auto l = std::make_unique<Line>(ge::Point3d(kFar, kFar), ge::Point3d(kFar + 1, kFar));
             l->setVisible(false);
             addToModelSpace(db, std::move(l));
         },
         false},
        {"a line on a layer that is off",
         [](Database& db) {
             moveToLayer(addLine(db, {kFar, kFar}, {kFar + 1, kFar}), addLayer(db, "NC_Laser_Off", true));
         },
         false},
        {"a line on a frozen layer",
         [](Database& db) {
             moveToLayer(addLine(db, {kFar, kFar}, {kFar + 1, kFar}), addLayer(db, "Frozen", false, true));
         },
         false},
        {"a line on a locked layer",
         [](Database& db) {
             const ObjectId line = addLine(db, {kFar, kFar}, {kFar + 1, kFar});
             const ObjectId layer = addLayer(db, "Locked");
             moveToLayer(line, layer);
             ObjectPtr<LayerTableRecord>(layer, OpenMode::Write)->setIsLocked(true);
         },
         true},
        {"an erased line", [](Database& db) { eraseObject(addLine(db, {kFar, kFar}, {kFar + 1, kFar})); },
         false},
        {"a line in paper space",
         [](Database& db) {
             ObjectPtr<BlockTableRecord> ps(db.paperSpaceId(), OpenMode::Write);
             ps->appendEntity(std::make_unique<Line>(ge::Point3d(kFar, kFar), ge::Point3d(kFar + 1, kFar)));
         },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Database db;
        addLine(db, {0, 0}, {10, 5});
        ASSERT_EQ(db.extMax(), ge::Point3d(10, 5, 0));  // fills the cache before the change
        c.add(db);
        EXPECT_EQ(db.extMin(), ge::Point3d(0, 0, 0));
        if (c.counts) {
            EXPECT_GE(db.extMax().x, kFar);
        } else {
            EXPECT_EQ(db.extMax(), ge::Point3d(10, 5, 0));
        }
    }
}

TEST(Extents, FollowEveryChange) {
    Database db;
    const ObjectId a = addLine(db, {0, 0}, {10, 5});
    EXPECT_EQ(db.extMax(), ge::Point3d(10, 5, 0));

    {
        ObjectPtr<Line> line(a, OpenMode::Write);
        line->setEnd({20, 8});
    }
    EXPECT_EQ(db.extMax(), ge::Point3d(20, 8, 0));

    const ObjectId b = addLine(db, {-5, -5}, {0, 0});
    EXPECT_EQ(db.extMin(), ge::Point3d(-5, -5, 0));

    const ObjectId layer = addLayer(db, "Hidden");
    moveToLayer(b, layer);
    EXPECT_EQ(db.extMin(), ge::Point3d(-5, -5, 0));
    ObjectPtr<LayerTableRecord>(layer, OpenMode::Write)->setIsOff(true);
    EXPECT_EQ(db.extMin(), ge::Point3d(0, 0, 0));

    db.beginUndoStep();
    eraseObject(a);
    db.endUndoStep();
    EXPECT_EQ(db.extMax(), ge::Point3d(-1e20, -1e20, -1e20));
    ASSERT_EQ(db.undo(1), Status::Ok);
    EXPECT_EQ(db.extMax(), ge::Point3d(20, 8, 0));
}

}  // namespace
}  // namespace host::db
