// Dictionaries: names without regard to case, walks that survive removal, and what removal does to the object.
#include <gtest/gtest.h>

#include "db_test_support.h"

namespace host::db {
namespace {

using testing::addProbe;
using testing::Probe;

// The group dictionary of a drawing with groups G1..G5, for the walk tests.
struct DictionaryFixture {
    Database db;
    std::vector<ObjectId> groups;

    DictionaryFixture() {
        ObjectPtr<Dictionary> d(db.groupDictionaryId(), OpenMode::Write);
        for (int i = 1; i <= 5; ++i) {
            ObjectId id;
            EXPECT_EQ(d->setAt("G" + std::to_string(i), std::make_unique<Group>(), &id), Status::Ok);
            groups.push_back(id);
        }
    }
};

TEST(DictionaryWalk, RemovingTheCurrentEntrySpoilsNothing) {
    DictionaryFixture f;
    ObjectPtr<Dictionary> d(f.db.groupDictionaryId(), OpenMode::Write);
    std::vector<std::string> seen;
    for (const auto& [name, id] : d->entries()) {
        seen.push_back(name);
        if (name != "G3") {
            EXPECT_EQ(d->remove(name), Status::Ok);
        }
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"G1", "G2", "G3", "G4", "G5"}));
    ASSERT_EQ(d->numEntries(), 1u);
    EXPECT_EQ(d->entries().front().second, f.groups[2]);
    // A removed entry's object is erased with it, so the drawing does not keep ownerless groups.
    EXPECT_TRUE(f.groups[0].isErased());
    EXPECT_FALSE(f.groups[2].isErased());
}

TEST(DictionaryEntries, NamesWithoutRegardToCase) {
    DictionaryFixture f;
    ObjectPtr<Dictionary> d(f.db.groupDictionaryId(), OpenMode::Write);
    EXPECT_EQ(d->getAt("g2"), f.groups[1]);
    EXPECT_EQ(d->nameOf(f.groups[1]), "G2");
    EXPECT_EQ(d->rename("g2", "Second"), Status::Ok);
    EXPECT_EQ(d->getAt("SECOND"), f.groups[1]);
    EXPECT_TRUE(d->getAt("G2").isNull());
    EXPECT_EQ(d->rename("second", "g1"), Status::DuplicateKey);
    EXPECT_EQ(d->rename("missing", "x"), Status::KeyNotFound);
    EXPECT_EQ(d->rename("G1", ""), Status::InvalidInput);
    EXPECT_EQ(d->remove("missing"), Status::KeyNotFound);
    EXPECT_EQ(d->setAt("", std::make_unique<Group>()), Status::InvalidInput);
}

TEST(DictionaryEntries, RemoveKeepObjectLeavesItLiveWithoutAnOwner) {
    DictionaryFixture f;
    ObjectPtr<Dictionary> d(f.db.groupDictionaryId(), OpenMode::Write);
    EXPECT_EQ(d->removeKeepObject("G4"), Status::Ok);
    EXPECT_FALSE(f.groups[3].isErased());
    EXPECT_TRUE(f.db.peek(f.groups[3])->ownerId().isNull());
    EXPECT_FALSE(d->has("G4"));

    // It can be filed again under another name.
    EXPECT_EQ(d->setAt("Again", f.groups[3]), Status::Ok);
    EXPECT_EQ(f.db.peek(f.groups[3])->ownerId(), f.db.groupDictionaryId());
    EXPECT_EQ(d->setAt("Twice", f.groups[3]), Status::DuplicateKey);
}

TEST(DictionaryEntries, RemovalOfAnObjectOpenElsewhereForReadIsRefused) {
    DictionaryFixture f;
    ObjectPtr<Group> reader(f.groups[0], OpenMode::Read);
    ObjectPtr<Dictionary> d(f.db.groupDictionaryId(), OpenMode::Write);
    EXPECT_EQ(d->remove("G1"), Status::WasOpenForRead);
    EXPECT_TRUE(d->has("G1"));
    EXPECT_FALSE(f.groups[0].isErased());
}

TEST(DictionaryEntries, AnErasedEntryNoLongerHoldsItsName) {
    DictionaryFixture f;
    testing::eraseObject(f.groups[0]);
    ObjectPtr<Dictionary> d(f.db.groupDictionaryId(), OpenMode::Write);
    EXPECT_FALSE(d->has("G1"));
    EXPECT_EQ(d->numEntries(), 4u);
    ObjectId fresh;
    EXPECT_EQ(d->setAt("g1", std::make_unique<Group>(), &fresh), Status::Ok);
    EXPECT_EQ(d->getAt("G1"), fresh);
}

// A drawing keeps one group per cut path; look-ups by name must stay right through renames, removals and undo.
TEST(DictionaryEntries, ManyEntriesStayFindableThroughChanges) {
    Database db;
    constexpr int kGroups = 300;
    std::vector<ObjectId> ids(kGroups + 1);
    {
        ObjectPtr<Dictionary> d(db.groupDictionaryId(), OpenMode::Write);
        for (int i = 1; i <= kGroups; ++i)
            ASSERT_EQ(d->setAt("DOROZ_" + std::to_string(i), std::make_unique<Group>(), &ids[i]), Status::Ok);
    }
    db.beginUndoStep();
    {
        ObjectPtr<Dictionary> d(db.groupDictionaryId(), OpenMode::Write);
        for (int i = 1; i <= kGroups; i += 3) ASSERT_EQ(d->remove("doroz_" + std::to_string(i)), Status::Ok);
        for (int i = 2; i <= kGroups; i += 3)
            ASSERT_EQ(d->rename("DOROZ_" + std::to_string(i), "VESK_ORDER_" + std::to_string(i)), Status::Ok);
        ASSERT_EQ(d->setAt("DOROZ_1", std::make_unique<Group>()), Status::Ok);  // a removed name is free again
    }
    db.endUndoStep();
    const auto* d = dynamic_cast<const Dictionary*>(db.peek(db.groupDictionaryId()));
    for (int i = 2; i <= kGroups; ++i) {
        const std::string doroz = "DOROZ_" + std::to_string(i), vesk = "vesk_order_" + std::to_string(i);
        switch (i % 3) {
        case 1: EXPECT_TRUE(d->getAt(doroz).isNull()) << i; break;
        case 2:
            EXPECT_TRUE(d->getAt(doroz).isNull()) << i;
            EXPECT_EQ(d->getAt(vesk), ids[i]) << i;
            break;
        default: EXPECT_EQ(d->getAt(doroz), ids[i]) << i; break;
        }
    }
    EXPECT_NE(d->getAt("DOROZ_1"), ids[1]);

    ASSERT_EQ(db.undo(1), Status::Ok);
    d = dynamic_cast<const Dictionary*>(db.peek(db.groupDictionaryId()));
    for (int i = 1; i <= kGroups; ++i) EXPECT_EQ(d->getAt("doroz_" + std::to_string(i)), ids[i]) << i;
    EXPECT_TRUE(d->getAt("VESK_ORDER_2").isNull());
}

TEST(DictionaryEntries, ChangesNeedTheDictionaryOpenForWrite) {
    DictionaryFixture f;
    ObjectPtr<Dictionary> d(f.db.groupDictionaryId(), OpenMode::Read);
    EXPECT_EQ(d->setAt("New", std::make_unique<Group>()), Status::NotOpenForWrite);
    EXPECT_EQ(d->remove("G1"), Status::NotOpenForWrite);
    EXPECT_EQ(d->rename("G1", "X"), Status::NotOpenForWrite);
    EXPECT_EQ(d->numEntries(), 5u);

    Dictionary loose;
    EXPECT_EQ(loose.setAt("X", std::make_unique<Probe>()), Status::NotInDatabase);
}

}  // namespace
}  // namespace host::db
