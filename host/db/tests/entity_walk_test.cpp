// Walking the drawing's entities: order, erased entities, deleting while walking, and the last entity.
#include <gtest/gtest.h>

#include "db_test_support.h"

namespace host::db {
namespace {

using testing::addLine;
using testing::eraseObject;

std::vector<ObjectId> walk(const Database& db) {
    std::vector<ObjectId> out;
    for (ObjectId id = db.firstEntity(); !id.isNull(); id = db.nextEntity(id)) out.push_back(id);
    return out;
}

// Model space a, b, c and one paper-space entity p.
struct WalkFixture {
    Database db;
    ObjectId a, b, c, p;
    WalkFixture() {
        a = addLine(db, {0, 0}, {1, 0});
        {
            ObjectPtr<BlockTableRecord> ps(db.paperSpaceId(), OpenMode::Write);
            ps->appendEntity(std::make_unique<Line>(), &p);
        }
        b = addLine(db, {1, 0}, {2, 0});
        c = addLine(db, {2, 0}, {3, 0});
    }
};

TEST(EntityWalk, ModelSpaceInOrderThenPaperSpace) {
    WalkFixture f;
    EXPECT_EQ(walk(f.db), (std::vector<ObjectId>{f.a, f.b, f.c, f.p}));
    EXPECT_EQ(f.db.nextEntity(ObjectId()), f.a);
    eraseObject(f.b);
    eraseObject(f.a);
    EXPECT_EQ(walk(f.db), (std::vector<ObjectId>{f.c, f.p}));
}

TEST(EntityWalk, AnEmptyDrawingHasNoEntities) {
    Database db;
    EXPECT_TRUE(db.firstEntity().isNull());
    EXPECT_TRUE(db.lastEntity().isNull());
}

TEST(EntityWalk, ObjectsThatAreNotDrawingEntitiesHaveNoNext) {
    WalkFixture f;
    Database other;
    const auto* ms = dynamic_cast<const BlockTableRecord*>(f.db.peek(f.db.modelSpaceId()));
    EXPECT_TRUE(f.db.nextEntity(ms->blockBegin()).isNull());
    EXPECT_TRUE(f.db.nextEntity(testing::addProbe(f.db)).isNull());
    EXPECT_TRUE(f.db.nextEntity(addLine(other, {0, 0}, {1, 1})).isNull());
}

// Deleting the entity the walk stands on, after taking the next one, must not lose or repeat any entity.
TEST(EntityWalk, DeletingTheCurrentEntityAfterTakingTheNext) {
    WalkFixture f;
    for (int i = 0; i < 20; ++i) addLine(f.db, {double(i), 1}, {double(i), 2});
    std::size_t visited = 0;
    bool erase = true;
    std::vector<ObjectId> kept;
    for (ObjectId id = f.db.firstEntity(); !id.isNull();) {
        const ObjectId next = f.db.nextEntity(id);
        ++visited;
        if (erase) {
            ASSERT_EQ(eraseObject(id), Status::Ok);
        } else {
            kept.push_back(id);
        }
        erase = !erase;
        id = next;
    }
    EXPECT_EQ(visited, 24u);
    EXPECT_EQ(walk(f.db), kept);
}

TEST(EntityWalk, LastEntityIsTheOneDrawnLastAndErasingItWalksBack) {
    WalkFixture f;
    EXPECT_EQ(f.db.lastEntity(), f.c);
    const ObjectId d = addLine(f.db, {3, 0}, {4, 0});
    EXPECT_EQ(f.db.lastEntity(), d);

    // Erase the last entity until none is left: every entity once, newest first.
    std::vector<ObjectId> erased;
    for (ObjectId last = f.db.lastEntity(); !last.isNull() && erased.size() < 10; last = f.db.lastEntity()) {
        ASSERT_EQ(eraseObject(last), Status::Ok);
        erased.push_back(last);
    }
    EXPECT_EQ(erased, (std::vector<ObjectId>{d, f.c, f.b, f.p, f.a}));
    EXPECT_TRUE(f.db.firstEntity().isNull());
}

}  // namespace
}  // namespace host::db
