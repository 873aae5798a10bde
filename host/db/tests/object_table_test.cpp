// Adding objects, handles, and opening and closing objects with the statuses callers rely on.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "db_test_support.h"

namespace host::db {
namespace {

using testing::addLayer;
using testing::addLine;
using testing::addProbe;
using testing::eraseObject;
using testing::Probe;

// A drawing with a few objects in known states for the open tests.
struct OpenFixture {
    Database db;
    Database other;
    std::vector<ObjectPtr<DbObject>> held;  // opens that stay open while the case runs

    ObjectId heldOpen(ObjectId id, OpenMode mode) {
        held.emplace_back(id, mode);
        EXPECT_TRUE(held.back().isOpen());
        return id;
    }
    ObjectId lineOnLockedLayer() {
        const ObjectId layer = addLayer(db, "Locked");
        const ObjectId line = addLine(db, {0, 0}, {1, 1});
        {
            ObjectPtr<Entity> e(line, OpenMode::Write);
            EXPECT_EQ(e->setLayer(layer), Status::Ok);
        }
        ObjectPtr<LayerTableRecord> l(layer, OpenMode::Write);
        l->setIsLocked(true);
        return line;
    }
};

TEST(OpenObject, StatusesOfEveryState) {
    using Setup = std::function<ObjectId(OpenFixture&)>;
    const struct {
        const char* what;
        Setup setup;
        OpenMode mode;
        bool openErased;
        Status expected;
    } cases[] = {
        {"the null id", [](OpenFixture&) { return ObjectId(); }, OpenMode::Read, false, Status::NullObjectId},
        {"an index past the last object", [](OpenFixture& f) { return ObjectId(&f.db, 1'000'000); },
         OpenMode::Read, false, Status::NullObjectId},
        {"an id of another drawing", [](OpenFixture& f) { return addProbe(f.other); }, OpenMode::Read, false,
         Status::WrongDatabase},
        {"a live object for read", [](OpenFixture& f) { return addProbe(f.db); }, OpenMode::Read, false,
         Status::Ok},
        {"a live object for write", [](OpenFixture& f) { return addProbe(f.db); }, OpenMode::Write, false,
         Status::Ok},
        {"an erased object for read",
         [](OpenFixture& f) {
             const ObjectId id = addProbe(f.db);
             eraseObject(id);
             return id;
         },
         OpenMode::Read, false, Status::WasErased},
        {"an erased object for write with openErased",
         [](OpenFixture& f) {
             const ObjectId id = addProbe(f.db);
             eraseObject(id);
             return id;
         },
         OpenMode::Write, true, Status::Ok},
        {"read while open for write elsewhere",
         [](OpenFixture& f) { return f.heldOpen(addProbe(f.db), OpenMode::Write); }, OpenMode::Read, false,
         Status::WasOpenForWrite},
        {"write while open for write elsewhere",
         [](OpenFixture& f) { return f.heldOpen(addProbe(f.db), OpenMode::Write); }, OpenMode::Write, false,
         Status::WasOpenForWrite},
        {"read while open for read elsewhere",
         [](OpenFixture& f) { return f.heldOpen(addProbe(f.db), OpenMode::Read); }, OpenMode::Read, false,
         Status::Ok},
        {"write while open for read elsewhere",
         [](OpenFixture& f) { return f.heldOpen(addProbe(f.db), OpenMode::Read); }, OpenMode::Write, false,
         Status::WasOpenForRead},
        {"an entity on a locked layer for read", [](OpenFixture& f) { return f.lineOnLockedLayer(); },
         OpenMode::Read, false, Status::Ok},
        {"an entity on a locked layer for write", [](OpenFixture& f) { return f.lineOnLockedLayer(); },
         OpenMode::Write, false, Status::OnLockedLayer},
        {"a locked layer itself for write",
         [](OpenFixture& f) {
             const ObjectId layer = addLayer(f.db, "L");
             ObjectPtr<LayerTableRecord>(layer, OpenMode::Write)->setIsLocked(true);
             return layer;
         },
         OpenMode::Write, false, Status::Ok},
        {"an object whose creation was undone",
         [](OpenFixture& f) {
             f.db.beginUndoStep();
             const ObjectId id = addProbe(f.db);
             f.db.endUndoStep();
             EXPECT_EQ(f.db.undo(1), Status::Ok);
             return id;
         },
         OpenMode::Read, true, Status::WasErased},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OpenFixture f;
        const ObjectId id = c.setup(f);
        DbObject* out = reinterpret_cast<DbObject*>(0x1);
        EXPECT_EQ(f.db.openObject(id, c.mode, out, c.openErased), c.expected);
        if (c.expected == Status::Ok) {
            EXPECT_EQ(out, f.db.peek(id));
            EXPECT_EQ(f.db.closeObject(id, c.mode), Status::Ok);
        } else {
            EXPECT_EQ(out, nullptr);
        }
    }
}

TEST(OpenObject, WrongTypeThroughObjectPtrLeavesNothingOpen) {
    Database db;
    const ObjectId id = addProbe(db);
    {
        ObjectPtr<Dictionary> asDictionary(id, OpenMode::Write);
        EXPECT_FALSE(asDictionary.isOpen());
        EXPECT_EQ(asDictionary.status(), Status::WrongObjectType);
    }
    EXPECT_FALSE(db.isOpenForWrite(id));
    ObjectPtr<Probe> p(id, OpenMode::Write);
    EXPECT_EQ(p.status(), Status::Ok);
}

TEST(OpenObject, ObjectPtrClosesWhenItGoesAndWhenMoved) {
    Database db;
    const ObjectId id = addProbe(db);
    {
        ObjectPtr<Probe> a(id, OpenMode::Write);
        ObjectPtr<Probe> b = std::move(a);
        EXPECT_FALSE(a.isOpen());
        EXPECT_TRUE(db.isOpenForWrite(id));
        b = ObjectPtr<Probe>();
        EXPECT_FALSE(db.isOpenForWrite(id));
    }
    EXPECT_EQ(db.closeObject(id, OpenMode::Write), Status::NotOpenForWrite);
    EXPECT_EQ(db.closeObject(id, OpenMode::Read), Status::InvalidInput);
}

TEST(UpgradeOpen, FromTheOnlyReaderToWrite) {
    Database db;
    const ObjectId id = addProbe(db, 1);
    ObjectPtr<Probe> p(id, OpenMode::Read);
    EXPECT_EQ(p->setValue(2), Status::NotOpenForWrite);
    {
        ObjectPtr<Probe> second(id, OpenMode::Read);
        EXPECT_EQ(p.upgradeOpen(), Status::WasOpenForRead);
    }
    EXPECT_EQ(p.upgradeOpen(), Status::Ok);
    EXPECT_TRUE(db.isOpenForWrite(id));
    EXPECT_EQ(p->setValue(2), Status::Ok);
    p.close();
    EXPECT_FALSE(db.isOpenForWrite(id));
    EXPECT_EQ(testing::probeValue(id), 2);
    EXPECT_EQ(db.upgradeOpen(id), Status::InvalidInput);  // not open at all
}

TEST(UpgradeOpen, RefusedOnALockedLayer) {
    OpenFixture f;
    const ObjectId line = f.lineOnLockedLayer();
    ObjectPtr<Entity> e(line, OpenMode::Read);
    EXPECT_EQ(e.upgradeOpen(), Status::OnLockedLayer);
    EXPECT_FALSE(f.db.isOpenForWrite(line));
}

TEST(WriteEnable, OnlyWhileOpenForWriteOrOutsideADatabase) {
    Database db;
    Probe loose;
    EXPECT_TRUE(loose.isWriteEnabled());
    EXPECT_EQ(loose.setValue(3), Status::Ok);

    const ObjectId id = addProbe(db, 1);
    EXPECT_FALSE(db.peek(id)->isWriteEnabled());
    {
        ObjectPtr<Probe> r(id, OpenMode::Read);
        EXPECT_FALSE(r->isWriteEnabled());
        EXPECT_EQ(r->erase(), Status::NotOpenForWrite);
        EXPECT_FALSE(r->isErased());
    }
    ObjectPtr<Probe> w(id, OpenMode::Write);
    EXPECT_TRUE(w->isWriteEnabled());
}

TEST(WriteEnableDeathTest, AssertNamesTheClassTheHandleAndTheFix) {
    Database db;
    const ObjectId id = addProbe(db);
    const std::string handle = id.handle().text();
    EXPECT_DEATH(db.peek(id)->assertWriteEnabled(),
                 "KsProbe with handle " + handle + " was changed while not open for write.*OpenMode::Write");
}

TEST(WriteEnableDeathTest, ClosingADrawingWithAnObjectOpenStops) {
    auto run = [] {
        auto db = std::make_unique<Database>();
        DbObject* out = nullptr;
        db->openObject(addProbe(*db), OpenMode::Read, out);
        db.reset();
    };
    EXPECT_DEATH(run(), "KsProbe with handle [0-9A-F]+ is still open");
}

TEST(EraseFlag, ErasesAndUnerasesAndHidesFromTheObjectList) {
    Database db;
    const ObjectId id = addProbe(db);
    const std::size_t before = db.objectCount();
    ASSERT_EQ(eraseObject(id), Status::Ok);
    EXPECT_TRUE(id.isErased());
    EXPECT_EQ(db.objectCount(), before - 1);
    const auto live = db.allObjectIds();
    EXPECT_EQ(std::find(live.begin(), live.end(), id), live.end());
    const auto all = db.allObjectIds(true);
    EXPECT_NE(std::find(all.begin(), all.end(), id), all.end());
    ASSERT_EQ(eraseObject(id, false), Status::Ok);
    EXPECT_FALSE(id.isErased());
    EXPECT_EQ(db.objectCount(), before);
}

TEST(AddObject, HandlesAreGivenInOrderAndNeverTwice) {
    Database db(true);
    const ObjectId a = addProbe(db), b = addProbe(db);
    EXPECT_EQ(a.handle().value + 1, b.handle().value);
    EXPECT_EQ(db.handSeed().value, b.handle().value + 1);

    ObjectId fromFile;
    ASSERT_EQ(db.addObject(std::make_unique<Probe>(), {}, &fromFile, Handle(0x500)), Status::Ok);
    EXPECT_EQ(fromFile.handle(), Handle(0x500));
    EXPECT_EQ(db.handSeed(), Handle(0x501));  // raised past the handle read
    EXPECT_EQ(db.addObject(std::make_unique<Probe>(), {}, nullptr, Handle(0x500)), Status::DuplicateKey);
    EXPECT_EQ(db.addObject(std::make_unique<Probe>(), {}, nullptr, a.handle()), Status::DuplicateKey);

    ObjectId low;
    ASSERT_EQ(db.addObject(std::make_unique<Probe>(), {}, &low, Handle(0x100)), Status::Ok);
    EXPECT_EQ(db.handSeed(), Handle(0x501));  // never lowered
    EXPECT_EQ(addProbe(db).handle(), Handle(0x501));

    // In handle order, whatever the order of adding.
    const std::vector<ObjectId> ids = db.allObjectIds();
    for (std::size_t i = 1; i < ids.size(); ++i) EXPECT_LT(ids[i - 1].handle(), ids[i].handle());
    EXPECT_EQ(ids[2], low);
}

TEST(AddObject, RefusesWhatCannotBeAdded) {
    Database db, other;
    ObjectId id = addProbe(db);
    auto again = db.peek(id)->clone();  // a copy that still carries the id
    EXPECT_EQ(db.addObject(std::move(again), {}), Status::AlreadyInDb);
    EXPECT_EQ(db.addObject(nullptr, {}), Status::InvalidInput);
    EXPECT_EQ(db.addObject(std::make_unique<Probe>(), addProbe(other)), Status::WrongDatabase);

}

// A file may give handles up to the last there is: after it, new objects take the lowest handles no object holds.
TEST(AddObject, PastTheLastHandleTheLowestFreeOnesAreTaken) {
    Database db;
    ASSERT_EQ(db.addObject(std::make_unique<Probe>(), {}, nullptr, Handle(~0ull)), Status::Ok);
    std::set<std::uint64_t> held;
    for (ObjectId id : db.allObjectIds()) held.insert(id.handle().value);
    std::vector<std::uint64_t> free;
    for (std::uint64_t h = 1; free.size() < 2; ++h)
        if (!held.count(h)) free.push_back(h);
    EXPECT_EQ(addProbe(db).handle(), Handle(free[0]));
    EXPECT_EQ(addProbe(db).handle(), Handle(free[1]));
    EXPECT_EQ(db.handSeed(), Handle(~0ull));
}

TEST(AddObject, HandleLookupNeverCreates) {
    Database db;
    const ObjectId id = addProbe(db);
    const std::size_t count = db.objectCount();
    EXPECT_EQ(db.idFromHandle(id.handle()), id);
    EXPECT_TRUE(db.idFromHandle(Handle(0xFFFFFF)).isNull());
    EXPECT_TRUE(db.idFromHandle(Handle()).isNull());
    EXPECT_EQ(db.objectCount(), count);
    EXPECT_EQ(db.handleOf(id), id.handle());
    EXPECT_EQ(db.peek(ObjectId()), nullptr);
}

// The reader renumbers an object it made so that a file's object can take its handle, also one added in order.
TEST(AddObject, AHandleGivenUpCanBeTakenAgain) {
    Database db(true);
    const ObjectId made = addProbe(db), after = addProbe(db);
    const Handle freed = made.handle();
    ASSERT_EQ(db.moveToNextHandle(made), Status::Ok);
    EXPECT_GT(made.handle(), after.handle());
    EXPECT_TRUE(db.idFromHandle(freed).isNull());
    EXPECT_EQ(db.idFromHandle(made.handle()), made);
    EXPECT_EQ(db.moveToNextHandle(ObjectId()), Status::NullObjectId);

    ObjectId fromFile;
    ASSERT_EQ(db.addObject(std::make_unique<Probe>(), {}, &fromFile, freed), Status::Ok);
    EXPECT_EQ(db.idFromHandle(freed), fromFile);
    EXPECT_EQ(db.addObject(std::make_unique<Probe>(), {}, nullptr, freed), Status::DuplicateKey);
    EXPECT_EQ(db.allObjectIds(), (std::vector<ObjectId>{fromFile, after, made}));
}

}  // namespace
}  // namespace host::db
