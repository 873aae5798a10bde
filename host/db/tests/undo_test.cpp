// Undo: steps that take back additions, changes and erasures across tables, groups and entities, undo from
// inside a running step, and what stops an undo.
#include <gtest/gtest.h>

#include "db_test_support.h"

namespace host::db {
namespace {

using testing::addLayer;
using testing::addLine;
using testing::addProbe;
using testing::eraseObject;
using testing::probeValue;
using testing::setProbe;

ObjectId makeGroup(Database& db, const std::string& name, const std::vector<ObjectId>& members) {
    ObjectPtr<Dictionary> groups(db.groupDictionaryId(), OpenMode::Write);
    ObjectId id;
    EXPECT_EQ(groups->setAt(name, std::make_unique<Group>("d"), &id), Status::Ok);
    groups.close();
    ObjectPtr<Group> g(id, OpenMode::Write);
    EXPECT_EQ(g->append(members), Status::Ok);
    return id;
}

const Group* groupNamed(const Database& db, const std::string& name) {
    const auto* groups = dynamic_cast<const Dictionary*>(db.peek(db.groupDictionaryId()));
    return dynamic_cast<const Group*>(db.peek(groups->getAt(name)));
}

TEST(Undo, TakesBackAdditionsChangesAndErasuresAcrossTablesAndGroups) {
    Database db;
    const ObjectId probe = addProbe(db, 1);
    const ObjectId kept = addLine(db, {0, 0}, {1, 0});
    const ObjectId group = makeGroup(db, "Path", {kept});
    const std::size_t objects = db.objectCount();
    const std::vector<ObjectId> modelBefore =
        dynamic_cast<const BlockTableRecord*>(db.peek(db.modelSpaceId()))->entityIds();

    db.beginUndoStep();
    const ObjectId layer = addLayer(db, "Cut");
    const ObjectId added = addLine(db, {5, 5}, {6, 6});
    const Handle addedHandle = added.handle();
    ObjectPtr<Group>(group, OpenMode::Write)->append(added);
    makeGroup(db, "New", {added});
    ASSERT_EQ(setProbe(probe, 2), Status::Ok);
    ASSERT_EQ(eraseObject(kept), Status::Ok);
    db.endUndoStep();
    ASSERT_EQ(db.undoableSteps(), 1);

    int undone = 0;
    ASSERT_EQ(db.undo(1, &undone), Status::Ok);
    EXPECT_EQ(undone, 1);
    EXPECT_TRUE(db.recordId(TableKind::Layer, "Cut").isNull());
    EXPECT_EQ(probeValue(probe), 1);
    EXPECT_FALSE(kept.isErased());
    EXPECT_EQ(groupNamed(db, "Path")->allEntityIds(), std::vector<ObjectId>{kept});
    EXPECT_EQ(groupNamed(db, "New"), nullptr);
    EXPECT_EQ(dynamic_cast<const BlockTableRecord*>(db.peek(db.modelSpaceId()))->entityIds(), modelBefore);
    EXPECT_EQ(db.objectCount(), objects);

    // The objects the step created are gone for good, but their ids stay safe to use.
    for (ObjectId gone : {layer, added}) {
        EXPECT_EQ(db.peek(gone), nullptr);
        EXPECT_TRUE(gone.isErased());
        EXPECT_TRUE(nameToId(idToName(gone)).isNull());
        ObjectPtr<DbObject> open(gone, OpenMode::Read, true);
        EXPECT_EQ(open.status(), Status::WasErased);
    }
    EXPECT_TRUE(db.idFromHandle(addedHandle).isNull());
    EXPECT_GT(addProbe(db).handle(), addedHandle);  // handles are never given twice
    EXPECT_EQ(db.undo(1), Status::UndoNotAvailable);
}

TEST(Undo, StepsComeBackNewestFirstAndEachObjectOnce) {
    Database db;
    const ObjectId probe = addProbe(db, 0);
    for (int step = 1; step <= 3; ++step) {
        db.beginUndoStep();
        ASSERT_EQ(setProbe(probe, step * 10), Status::Ok);
        ASSERT_EQ(setProbe(probe, step * 10 + 1), Status::Ok);  // the second change is not recorded again
        db.endUndoStep();
    }
    EXPECT_EQ(db.undoableSteps(), 3);
    ASSERT_EQ(db.undo(1), Status::Ok);
    EXPECT_EQ(probeValue(probe), 21);
    int undone = 0;
    ASSERT_EQ(db.undo(5, &undone), Status::Ok);
    EXPECT_EQ(undone, 2);
    EXPECT_EQ(probeValue(probe), 0);
    EXPECT_EQ(db.undo(0), Status::InvalidInput);
}

TEST(Undo, InsideARunningStepTakesBackTheStepsOwnWorkFirst) {
    Database db;
    const ObjectId probe = addProbe(db, 0);
    db.beginUndoStep();
    setProbe(probe, 1);
    db.endUndoStep();

    db.beginUndoStep();  // a command starts
    const ObjectId line = addLine(db, {0, 0}, {1, 1});
    const ObjectId group = makeGroup(db, "DOROZ_1", {line});
    setProbe(probe, 2);
    ASSERT_EQ(db.undo(1), Status::Ok);  // the command undoes its own work so far
    EXPECT_TRUE(db.inUndoStep());
    EXPECT_EQ(probeValue(probe), 1);
    EXPECT_EQ(db.peek(line), nullptr);
    EXPECT_EQ(db.peek(group), nullptr);
    EXPECT_EQ(groupNamed(db, "DOROZ_1"), nullptr);

    setProbe(probe, 3);  // and goes on; later changes are recorded anew
    db.endUndoStep();
    ASSERT_EQ(db.undoableSteps(), 2);
    ASSERT_EQ(db.undo(1), Status::Ok);
    EXPECT_EQ(probeValue(probe), 1);
    ASSERT_EQ(db.undo(1), Status::Ok);
    EXPECT_EQ(probeValue(probe), 0);
}

TEST(Undo, InsideAStepWithoutChangesTakesBackThePreviousStep) {
    Database db;
    const ObjectId probe = addProbe(db, 0);
    db.beginUndoStep();
    setProbe(probe, 1);
    db.endUndoStep();
    db.beginUndoStep();
    ASSERT_EQ(db.undo(1), Status::Ok);
    EXPECT_EQ(probeValue(probe), 0);
    db.endUndoStep();
    EXPECT_EQ(db.undoableSteps(), 0);
}

TEST(Undo, TwoStepsFromInsideARunningStepLeaveItEmpty) {
    Database db;
    db.beginUndoStep();
    db.header().pdMode = 1;
    db.endUndoStep();
    db.beginUndoStep();
    db.header().pdMode = 2;
    int undone = 0;
    ASSERT_EQ(db.undo(2, &undone), Status::Ok);
    EXPECT_EQ(undone, 2);
    EXPECT_EQ(db.header().pdMode, 0);
    EXPECT_EQ(db.undoableSteps(), 0);  // the running step starts again from here
    db.endUndoStep();
    EXPECT_EQ(db.undoableSteps(), 0);
}

// What a command that erases a named group's members and then the group itself expects of one undo: both back.
TEST(Undo, RestoresAGroupRemovedFromTheDictionaryWithItsErasedMembers) {
    Database db;
    const ObjectId a = addLine(db, {0, 0}, {1, 0}), b = addLine(db, {1, 0}, {1, 1});
    const ObjectId group = makeGroup(db, "DOROZ_3", {a, b});
    db.beginUndoStep();
    db.beginUndoStep();  // "_.erase" "_G" run from inside the command
    for (ObjectId m : groupNamed(db, "DOROZ_3")->allEntityIds()) eraseObject(m);
    db.endUndoStep();
    db.beginUndoStep();  // "_.-group" "_E"
    ObjectPtr<Dictionary>(db.groupDictionaryId(), OpenMode::Write)->remove("DOROZ_3");
    db.endUndoStep();
    EXPECT_TRUE(group.isErased());
    ASSERT_EQ(db.undo(1), Status::Ok);
    EXPECT_FALSE(group.isErased());
    ASSERT_NE(groupNamed(db, "DOROZ_3"), nullptr);
    EXPECT_EQ(groupNamed(db, "DOROZ_3")->allEntityIds(), (std::vector<ObjectId>{a, b}));
    db.endUndoStep();
}

TEST(Undo, RefusedWhileAChangedObjectIsOpen) {
    Database db;
    const ObjectId probe = addProbe(db, 0);
    db.beginUndoStep();
    setProbe(probe, 1);
    db.endUndoStep();
    {
        ObjectPtr<testing::Probe> reader(probe, OpenMode::Read);
        EXPECT_EQ(db.undo(1), Status::UndoNotAvailable);
        EXPECT_EQ(reader->value(), 1);
    }
    EXPECT_EQ(db.undoableSteps(), 1);
    EXPECT_EQ(db.undo(1), Status::Ok);
    EXPECT_EQ(probeValue(probe), 0);
}

// The entities of a block in order, erased ones included.
std::vector<ObjectId> listOf(const Database& db, ObjectId block) {
    return dynamic_cast<const BlockTableRecord*>(db.peek(block))->entityIds(true);
}

ObjectId appendLine(ObjectId block, double y) {
    ObjectPtr<BlockTableRecord> b(block, OpenMode::Write);
    ObjectId id;
    EXPECT_EQ(b->appendEntity(std::make_unique<Line>(ge::Point3d(0, y, 0), ge::Point3d(1, y, 0)), &id), Status::Ok);
    return id;
}

// Blocks come back with the lists they had at each step's start and their own values, through steps undone one
// by one, several at once and from inside a running step, and when opened for read first and then for write.
TEST(Undo, BlocksComeBackWithTheirListsAndValues) {
    Database db;
    const ObjectId ms = db.modelSpaceId();
    ObjectId block;
    {
        ObjectPtr<SymbolTable> blocks(db.tableId(TableKind::Block), OpenMode::Write);
        ASSERT_EQ(blocks->add(std::make_unique<BlockTableRecord>("PART"), &block), Status::Ok);
    }
    const ObjectId first = appendLine(ms, 0);
    using Ids = std::vector<ObjectId>;

    db.beginUndoStep();  // 1: two lines in model space
    const ObjectId a = appendLine(ms, 1), b = appendLine(ms, 2);
    db.endUndoStep();
    db.beginUndoStep();  // 2: the block's values and a line in it, a line in model space, a line erased
    {
        ObjectPtr<BlockTableRecord> p(block, OpenMode::Write);
        ASSERT_EQ(p->setOrigin({5, 5, 0}), Status::Ok);
        ASSERT_EQ(p->setDescription("plate"), Status::Ok);
    }
    const ObjectId inBlock = appendLine(block, 3);
    const ObjectId c = appendLine(ms, 4);
    ASSERT_EQ(eraseObject(a), Status::Ok);
    db.endUndoStep();
    db.beginUndoStep();  // 3: model space opened for read, then for write
    ObjectId d;
    {
        ObjectPtr<BlockTableRecord> p(ms, OpenMode::Read);
        ASSERT_EQ(p.upgradeOpen(), Status::Ok);
        EXPECT_EQ(p->entityIds(true), (Ids{first, a, b, c}));  // recording left the list as it was
        ASSERT_EQ(p->appendEntity(std::make_unique<Line>(ge::Point3d(0, 5, 0), ge::Point3d(1, 5, 0)), &d),
                  Status::Ok);
    }
    db.endUndoStep();
    ASSERT_EQ(listOf(db, ms), (Ids{first, a, b, c, d}));

    ASSERT_EQ(db.undo(1), Status::Ok);
    EXPECT_EQ(listOf(db, ms), (Ids{first, a, b, c}));
    EXPECT_EQ(db.peek(d), nullptr);

    db.beginUndoStep();  // a running command adds and takes its own work back, then adds again
    const ObjectId e = appendLine(ms, 6);
    ASSERT_EQ(db.undo(1), Status::Ok);
    EXPECT_EQ(listOf(db, ms), (Ids{first, a, b, c}));
    EXPECT_EQ(db.peek(e), nullptr);
    const ObjectId f = appendLine(ms, 7);
    db.endUndoStep();
    ASSERT_EQ(listOf(db, ms), (Ids{first, a, b, c, f}));

    int undone = 0;
    ASSERT_EQ(db.undo(2, &undone), Status::Ok);  // the command's step and step 2 together
    EXPECT_EQ(undone, 2);
    EXPECT_EQ(listOf(db, ms), (Ids{first, a, b}));
    EXPECT_FALSE(a.isErased());
    EXPECT_EQ(listOf(db, block), Ids{});
    EXPECT_EQ(db.peek(inBlock), nullptr);
    const auto* part = dynamic_cast<const BlockTableRecord*>(db.peek(block));
    EXPECT_EQ(part->origin(), ge::Point3d(0, 0, 0));
    EXPECT_EQ(part->description(), "");
    EXPECT_EQ(part->name(), "PART");

    ASSERT_EQ(db.undo(1), Status::Ok);
    EXPECT_EQ(listOf(db, ms), (Ids{first}));
    EXPECT_EQ(db.undoableSteps(), 0);
}

// An entity added outside any step after a step that added to the same block goes when that step is undone: the
// block is put back as the step found it.
TEST(Undo, ABlockIsPutBackAsTheStepFoundIt) {
    Database db;
    const ObjectId ms = db.modelSpaceId();
    db.beginUndoStep();
    const ObjectId inStep = appendLine(ms, 0);
    db.endUndoStep();
    const ObjectId outside = appendLine(ms, 1);
    ASSERT_EQ(listOf(db, ms), (std::vector<ObjectId>{inStep, outside}));
    ASSERT_EQ(db.undo(1), Status::Ok);
    EXPECT_TRUE(listOf(db, ms).empty());
    EXPECT_NE(db.peek(outside), nullptr);  // the object itself was not recorded, so it stays
}

TEST(Undo, ChangesOutsideAnyStepAreNotRecorded) {
    Database db;
    const ObjectId probe = addProbe(db, 0);
    setProbe(probe, 5);
    addLine(db, {0, 0}, {1, 1});
    EXPECT_FALSE(db.inUndoStep());
    EXPECT_EQ(db.undoableSteps(), 0);
    EXPECT_EQ(db.undo(1), Status::UndoNotAvailable);
    EXPECT_EQ(probeValue(probe), 5);

    db.beginUndoStep();  // a step that changes nothing leaves nothing to undo
    db.endUndoStep();
    EXPECT_EQ(db.undoableSteps(), 0);
}

TEST(Undo, PutsBackTheCurrentLayerAndHeaderValues) {
    Database db;
    const ObjectId zero = db.currentLayer();
    db.beginUndoStep();
    ASSERT_EQ(db.setCurrentLayer(addLayer(db, "NC_Laser")), Status::Ok);
    db.header().projectName = "JOB-17";
    db.endUndoStep();
    ASSERT_EQ(db.undo(1), Status::Ok);
    EXPECT_EQ(db.currentLayer(), zero);
    EXPECT_EQ(db.header().projectName, "");

    db.beginUndoStep();  // a step that only changes a current value is still a step
    db.header().pdMode = 3;
    db.endUndoStep();
    EXPECT_EQ(db.undoableSteps(), 1);
    ASSERT_EQ(db.undo(1), Status::Ok);
    EXPECT_EQ(db.header().pdMode, 0);
}

TEST(Undo, ClearForgetsEveryStep) {
    Database db;
    const ObjectId probe = addProbe(db, 0);
    db.beginUndoStep();
    setProbe(probe, 1);
    db.endUndoStep();
    db.clearUndo();
    EXPECT_EQ(db.undo(1), Status::UndoNotAvailable);
    EXPECT_EQ(probeValue(probe), 1);
}

// An object made in a step needs no record of its changes there; once the step forgets its work, it does.
TEST(Undo, AnObjectMadeBeforeAClearInsideAStepIsRecordedWhenChanged) {
    Database db;
    db.beginUndoStep();
    const ObjectId probe = addProbe(db, 1);
    setProbe(probe, 2);
    db.clearUndo();
    setProbe(probe, 3);
    ASSERT_EQ(db.undo(1), Status::Ok);
    EXPECT_EQ(probeValue(probe), 2);
    db.endUndoStep();
}

// Redo does again what undo took back: additions with their ids and handles, changes, erasures and the block's
// list; the redone step can be undone again; a new change drops what could be redone.
TEST(Redo, DoesAgainWhatUndoTookBackUntilSomethingNewIsDone) {
    Database db;
    const ObjectId probe = addProbe(db, 1);
    const ObjectId kept = addLine(db, {0, 0}, {1, 0});
    const auto modelList = [&db] {
        return dynamic_cast<const BlockTableRecord*>(db.peek(db.modelSpaceId()))->entityIds();
    };
    const std::vector<ObjectId> before = modelList();

    db.beginUndoStep();
    const ObjectId added = addLine(db, {5, 5}, {6, 6});
    ASSERT_EQ(setProbe(probe, 2), Status::Ok);
    ASSERT_EQ(eraseObject(kept), Status::Ok);
    db.endUndoStep();
    const std::vector<ObjectId> after = modelList();
    db.beginUndoStep();
    ASSERT_EQ(setProbe(probe, 3), Status::Ok);
    db.endUndoStep();

    EXPECT_EQ(db.redo(1), Status::UndoNotAvailable);  // nothing undone yet
    ASSERT_EQ(db.undo(2), Status::Ok);
    EXPECT_EQ(modelList(), before);
    EXPECT_EQ(db.redoableSteps(), 2);
    EXPECT_EQ(db.lastUndoneGroup(), 2);

    int redone = 0;
    ASSERT_EQ(db.redo(1, &redone), Status::Ok);  // the older step first
    EXPECT_EQ(redone, 1);
    EXPECT_EQ(probeValue(probe), 2);
    EXPECT_TRUE(kept.isErased());
    EXPECT_EQ(modelList(), after);
    EXPECT_EQ(db.idFromHandle(added.handle()), added);
    ASSERT_EQ(db.redo(5, &redone), Status::Ok);
    EXPECT_EQ(redone, 1);
    EXPECT_EQ(probeValue(probe), 3);
    EXPECT_EQ(db.redoableSteps(), 0);

    // both redone steps are undone and redone again
    ASSERT_EQ(db.undo(2), Status::Ok);
    EXPECT_EQ(probeValue(probe), 1);
    EXPECT_FALSE(kept.isErased());
    EXPECT_EQ(db.peek(added), nullptr);
    ASSERT_EQ(db.redo(2), Status::Ok);
    EXPECT_EQ(probeValue(probe), 3);
    EXPECT_EQ(modelList(), after);

    // a new step after an undo: nothing to redo
    ASSERT_EQ(db.undo(1), Status::Ok);
    db.beginUndoStep();
    ASSERT_EQ(setProbe(probe, 7), Status::Ok);
    db.endUndoStep();
    EXPECT_EQ(db.redoableSteps(), 0);
    EXPECT_EQ(db.redo(1), Status::UndoNotAvailable);
    EXPECT_EQ(probeValue(probe), 7);
    // an object added outside any step after an undo also ends it
    ASSERT_EQ(db.undo(1), Status::Ok);
    addProbe(db, 9);
    EXPECT_EQ(db.redo(1), Status::UndoNotAvailable);
    EXPECT_EQ(probeValue(probe), 2);
}

// Asking whether an object could be opened for write answers what the open would, and is no change: a step that
// only asked leaves nothing to undo.
TEST(Undo, AskingWhetherAnObjectCanBeWrittenRecordsNothing) {
    Database db;
    const ObjectId free = addLine(db, {0, 0}, {1, 0});
    const ObjectId locked = addLine(db, {0, 1}, {1, 1});
    const ObjectId erased = addLine(db, {0, 2}, {1, 2});
    const ObjectId read = addLine(db, {0, 3}, {1, 3});
    addLayer(db, "Locked", false, false, true);
    ObjectPtr<Entity>(locked, OpenMode::Write)->setLayer("Locked");
    ASSERT_EQ(eraseObject(erased), Status::Ok);
    ObjectPtr<Entity> reader(read, OpenMode::Read);
    db.clearUndo();

    db.beginUndoStep();
    const struct {
        ObjectId id;
        Status expected;
    } cases[] = {{free, Status::Ok},
                 {locked, Status::OnLockedLayer},
                 {erased, Status::WasErased},
                 {read, Status::WasOpenForRead},
                 {ObjectId(), Status::NullObjectId}};
    for (const auto& c : cases) {
        EXPECT_EQ(db.writeOpenStatus(c.id), c.expected);
        DbObject* out = nullptr;
        const Status opened = db.openObject(c.id, OpenMode::Write, out);
        EXPECT_EQ(opened, c.expected);
        if (opened == Status::Ok) {
            EXPECT_EQ(db.writeOpenStatus(c.id), Status::WasOpenForWrite);
            db.closeObject(c.id, OpenMode::Write);
        }
    }
    db.endUndoStep();
    EXPECT_EQ(db.undoableSteps(), 1);  // the open of the free line

    db.beginUndoStep();
    for (const auto& c : cases) db.writeOpenStatus(c.id);
    db.endUndoStep();
    EXPECT_EQ(db.undoableSteps(), 1);
}

}  // namespace
}  // namespace host::db
