// Groups: member operations, names through the group dictionary, descriptions, erased members.
#include <gtest/gtest.h>

#include <functional>

#include "db_test_support.h"

namespace host::db {
namespace {

using testing::addLine;
using testing::eraseObject;

// A drawing with five lines a..e and an empty group "DOROZ_1" in the group dictionary.
struct GroupFixture {
    Database db;
    std::vector<ObjectId> line;  // a b c d e
    ObjectId group;

    GroupFixture() {
        for (int i = 0; i < 5; ++i) line.push_back(addLine(db, {double(i), 0}, {double(i), 1}));
        ObjectPtr<Dictionary> groups(db.groupDictionaryId(), OpenMode::Write);
        EXPECT_EQ(groups->setAt("DOROZ_1", std::make_unique<Group>("path 1"), &group), Status::Ok);
    }
    // Members as letters, erased ones included: "abc".
    std::string members() const {
        std::string s;
        for (ObjectId id : dynamic_cast<const Group*>(db.peek(group))->allEntityIds(true))
            s += char('a' + (std::find(line.begin(), line.end(), id) - line.begin()));
        return s;
    }
};

TEST(GroupMembers, OperationsTable) {
    using Op = std::function<Status(Group&, const std::vector<ObjectId>&)>;
    const struct {
        const char* what;
        const char* start;  // members before, as letters
        Op op;
        Status expected;
        const char* after;
    } cases[] = {
        {"append", "ab", [](Group& g, auto& l) { return g.append(l[2]); }, Status::Ok, "abc"},
        {"append a list", "a", [](Group& g, auto& l) { return g.append({l[1], l[2]}); }, Status::Ok, "abc"},
        {"append a list with a member twice", "a",
         [](Group& g, auto& l) { return g.append({l[1], l[1]}); }, Status::DuplicateKey, "a"},
        {"append a list with one member already in", "a",
         [](Group& g, auto& l) { return g.append({l[1], l[0]}); }, Status::DuplicateKey, "a"},
        {"append a member again", "ab", [](Group& g, auto& l) { return g.append(l[0]); }, Status::DuplicateKey,
         "ab"},
        {"prepend", "bc", [](Group& g, auto& l) { return g.prepend(l[0]); }, Status::Ok, "abc"},
        {"insert in the middle", "ac", [](Group& g, auto& l) { return g.insertAt(1, l[1]); }, Status::Ok, "abc"},
        {"insert at the end", "ab", [](Group& g, auto& l) { return g.insertAt(2, l[2]); }, Status::Ok, "abc"},
        {"insert past the end", "ab", [](Group& g, auto& l) { return g.insertAt(3, l[2]); },
         Status::InvalidIndex, "ab"},
        {"remove", "abc", [](Group& g, auto& l) { return g.remove(l[1]); }, Status::Ok, "ac"},
        {"remove a non-member", "ab", [](Group& g, auto& l) { return g.remove(l[4]); }, Status::KeyNotFound,
         "ab"},
        {"remove at", "abc", [](Group& g, auto&) { return g.removeAt(0); }, Status::Ok, "bc"},
        {"remove at past the end", "abc", [](Group& g, auto&) { return g.removeAt(3); }, Status::InvalidIndex,
         "abc"},
        {"transfer forward", "abcde", [](Group& g, auto&) { return g.transfer(0, 2, 2); }, Status::Ok, "cdabe"},
        {"transfer backward", "abcde", [](Group& g, auto&) { return g.transfer(3, 0, 2); }, Status::Ok, "deabc"},
        {"transfer to the end", "abcde", [](Group& g, auto&) { return g.transfer(0, 4, 1); }, Status::Ok,
         "bcdea"},
        {"transfer nothing", "abc", [](Group& g, auto&) { return g.transfer(1, 2, 0); }, Status::Ok, "abc"},
        {"transfer past the end", "abcde", [](Group& g, auto&) { return g.transfer(4, 0, 2); },
         Status::InvalidIndex, "abcde"},
        {"transfer to past the end", "abcde", [](Group& g, auto&) { return g.transfer(0, 4, 2); },
         Status::InvalidIndex, "abcde"},
        {"transfer with a count that wraps", "abc", [](Group& g, auto&) { return g.transfer(1, 0, ~0u); },
         Status::InvalidIndex, "abc"},
        {"reverse", "abcd", [](Group& g, auto&) { return g.reverse(); }, Status::Ok, "dcba"},
        {"clear", "abc", [](Group& g, auto&) { return g.clear(); }, Status::Ok, ""},
        {"append the null id", "a", [](Group& g, auto&) { return g.append(ObjectId()); }, Status::NullObjectId,
         "a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GroupFixture f;
        ObjectPtr<Group> g(f.group, OpenMode::Write);
        for (const char* m = c.start; *m; ++m) ASSERT_EQ(g->append(f.line[*m - 'a']), Status::Ok);
        EXPECT_EQ(c.op(*g, f.line), c.expected);
        g.close();
        EXPECT_EQ(f.members(), c.after);
    }
}

TEST(GroupMembers, RefusesWhatIsNotAnEntityOfTheDrawing) {
    GroupFixture f;
    Database other;
    const ObjectId foreign = addLine(other, {0, 0}, {1, 1});
    const ObjectId notEntity = testing::addProbe(f.db);
    eraseObject(f.line[4]);
    ObjectPtr<Group> g(f.group, OpenMode::Write);
    EXPECT_EQ(g->append(foreign), Status::WrongDatabase);
    EXPECT_EQ(g->append(notEntity), Status::WrongObjectType);
    EXPECT_EQ(g->append(f.line[4]), Status::WasErased);
    EXPECT_EQ(g->numEntities(true), 0u);
}

TEST(GroupMembers, ErasedMembersAreSkippedButKeepTheirPlace) {
    GroupFixture f;
    {
        ObjectPtr<Group> g(f.group, OpenMode::Write);
        g->append({f.line[0], f.line[1], f.line[2]});
    }
    eraseObject(f.line[1]);
    ObjectPtr<Group> g(f.group, OpenMode::Read);
    EXPECT_EQ(g->allEntityIds(), (std::vector<ObjectId>{f.line[0], f.line[2]}));
    EXPECT_EQ(g->numEntities(), 2u);
    EXPECT_EQ(g->numEntities(true), 3u);
    unsigned index = 99;
    EXPECT_EQ(g->indexOf(f.line[2], index), Status::Ok);
    EXPECT_EQ(index, 2u);  // among all members
    EXPECT_EQ(g->indexOf(f.line[4], index), Status::KeyNotFound);
    EXPECT_TRUE(g->has(f.line[1]));
    EXPECT_EQ(g->append(f.line[3]), Status::NotOpenForWrite);
}

TEST(GroupProperties, NameDescriptionAndSelectable) {
    GroupFixture f;
    ObjectId second;
    {
        ObjectPtr<Dictionary> groups(f.db.groupDictionaryId(), OpenMode::Write);
        ASSERT_EQ(groups->setAt("DOROZ_2", std::make_unique<Group>(), &second), Status::Ok);
        EXPECT_EQ(groups->setAt("doroz_1", std::make_unique<Group>()), Status::DuplicateKey);
    }
    ObjectPtr<Group> g(f.group, OpenMode::Write);
    EXPECT_EQ(g->name(), "DOROZ_1");
    EXPECT_EQ(g->setName("doroz_2"), Status::DuplicateKey);
    EXPECT_EQ(g->setName("DOROZ_7"), Status::Ok);
    EXPECT_EQ(g->name(), "DOROZ_7");
    EXPECT_EQ(dynamic_cast<const Dictionary*>(f.db.peek(f.db.groupDictionaryId()))->getAt("doroz_7"), f.group);

    // Descriptions carry handles and flags and reach well past any fixed buffer.
    const std::string longText = "NL 1A2B NR 3C4D " + std::string(500, '#');
    EXPECT_EQ(g->setDescription(longText), Status::Ok);
    EXPECT_EQ(g->description(), longText);
    EXPECT_TRUE(g->isSelectable());
    EXPECT_EQ(g->setSelectable(false), Status::Ok);
    EXPECT_FALSE(g->isSelectable());

    Group loose("not in a drawing");
    EXPECT_EQ(loose.name(), "");
    EXPECT_EQ(loose.setName("X"), Status::NotInDatabase);
}

TEST(GroupProperties, RenameWorksWhileTheCallerHoldsTheDictionaryOpen) {
    GroupFixture f;
    ObjectPtr<Dictionary> groups(f.db.groupDictionaryId(), OpenMode::Write);
    ObjectPtr<Group> g(f.group, OpenMode::Write);
    EXPECT_EQ(g->setName("Renamed"), Status::Ok);
    EXPECT_EQ(groups->getAt("RENAMED"), f.group);
}

TEST(GroupProperties, VisibilityOfAllMembersOrNone) {
    GroupFixture f;
    const ObjectId locked = testing::addLayer(f.db, "Locked");
    {
        ObjectPtr<Group> g(f.group, OpenMode::Write);
        g->append({f.line[0], f.line[1]});
    }
    ObjectPtr<Group> g(f.group, OpenMode::Read);
    ASSERT_EQ(g->setVisibility(false), Status::Ok);
    EXPECT_FALSE(dynamic_cast<const Entity*>(f.db.peek(f.line[0]))->isVisible());
    EXPECT_FALSE(dynamic_cast<const Entity*>(f.db.peek(f.line[1]))->isVisible());

    ObjectPtr<Entity>(f.line[1], OpenMode::Write)->setLayer(locked);
    ObjectPtr<LayerTableRecord>(locked, OpenMode::Write)->setIsLocked(true);
    EXPECT_EQ(g->setVisibility(true), Status::OnLockedLayer);
    EXPECT_FALSE(dynamic_cast<const Entity*>(f.db.peek(f.line[0]))->isVisible());
}

}  // namespace
}  // namespace host::db
