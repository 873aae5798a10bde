// Groups and extended data through a real drawing, saved to a file and read back.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "cadlib/extended_data.h"
#include "cadlib/groups.h"
#include "host/db/database.h"
#include "host/dxf/dxf_file.h"
#include "host/ed/transcript.h"

using host::db::Database;
using host::db::Dictionary;
using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::ResBuf;

namespace {

class GroupsInADrawing : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = host::db::workingDatabase();
        host::db::setWorkingDatabase(&db_);
        host::ed::transcript().clear();
        ObjectPtr<host::db::BlockTableRecord> model(db_.modelSpaceId(), OpenMode::Write);
        for (int i = 0; i < 5; ++i) {
            ObjectId id;
            model->appendEntity(std::make_unique<host::db::Line>(host::ge::Point3d{double(i), 0, 0},
                                                                 host::ge::Point3d{double(i) + 1, 0, 0}),
                                &id);
            lines_.push_back(id);
        }
    }
    void TearDown() override { host::db::setWorkingDatabase(previous_); }

    std::vector<ObjectId> Members(std::string_view name) {
        std::vector<ObjectId> ids;
        GetGroupEntityIds(name, ids);
        return ids;
    }
    std::vector<ObjectId> Lines(std::initializer_list<int> order) {
        std::vector<ObjectId> ids;
        for (int i : order) ids.push_back(lines_[i]);
        return ids;
    }

    Database db_;
    Database* previous_ = nullptr;
    std::vector<ObjectId> lines_;
};

TEST_F(GroupsInADrawing, CreatingTwiceKeepsTheFirstGroup) {
    EXPECT_EQ(CreateGroup("Path1", lines_[0], "first"), kGroupDone);
    EXPECT_EQ(CreateGroup("Path1", lines_[1], "second"), kGroupFailed);
    EXPECT_EQ(CreateGroupWithMembers("path1", Lines({2, 3}), "third"), kGroupFailed);  // names ignore case
    EXPECT_EQ(Members("Path1"), Lines({0}));
    std::string description;
    EXPECT_EQ(GetGroupDescription("Path1", description), kGroupDone);
    EXPECT_EQ(description, "first");
    EXPECT_EQ(CreateGroup("Empty", ObjectId{}, ""), kGroupDone);
}

TEST_F(GroupsInADrawing, CountsOfMissingAndEmptyGroups) {
    int count = -1;
    EXPECT_EQ(GetGroupEntityCount("Missing", count), kGroupFailed);
    EXPECT_EQ(count, 0);
    ASSERT_EQ(CreateGroup("Empty", ObjectId{}, ""), kGroupDone);
    EXPECT_EQ(GetGroupEntityCount("Empty", count), kGroupDone);
    EXPECT_EQ(count, 0);
    std::vector<ObjectId> ids = {lines_[0]};
    EXPECT_EQ(GetGroupEntityIds("Missing", ids), 0);
    EXPECT_TRUE(ids.empty());
}

TEST_F(GroupsInADrawing, MemberOrderChanges) {
    ASSERT_EQ(CreateGroupWithMembers("P", Lines({0, 1, 2}), "d"), kGroupDone);
    EXPECT_EQ(AppendToGroup("P", lines_[3]), kGroupDone);
    EXPECT_EQ(PrependToGroup("P", lines_[4]), kGroupDone);
    EXPECT_EQ(Members("P"), Lines({4, 0, 1, 2, 3}));
    EXPECT_EQ(TransferInGroup("P", 0, 2, 2), kGroupDone);
    EXPECT_EQ(Members("P"), Lines({1, 2, 4, 0, 3}));
    EXPECT_EQ(ReverseGroup("P"), kGroupDone);
    EXPECT_EQ(Members("P"), Lines({3, 0, 4, 2, 1}));
    EXPECT_EQ(RemoveFromGroup("P", lines_[4]), kGroupDone);
    EXPECT_EQ(InsertIntoGroup("P", 1, lines_[4]), kGroupDone);
    EXPECT_EQ(Members("P"), Lines({3, 4, 0, 2, 1}));
    unsigned index = 99;
    EXPECT_EQ(GetGroupMemberIndex("P", lines_[2], index), kGroupDone);
    EXPECT_EQ(index, 3u);
    EXPECT_EQ(ClearGroup("P"), kGroupDone);
    EXPECT_TRUE(Members("P").empty());
    EXPECT_TRUE(host::ed::transcript().text().empty()) << host::ed::transcript().text();
}

// Every operation on a missing group answers failure; refused changes answer failure and print the host's code.
TEST_F(GroupsInADrawing, MissingGroupsAndRefusedChanges) {
    unsigned index = 0;
    std::string text;
    const struct {
        const char* what;
        int result;
    } missing[] = {
        {"append", AppendToGroup("None", lines_[0])},
        {"prepend", PrependToGroup("None", lines_[0])},
        {"insert", InsertIntoGroup("None", 0, lines_[0])},
        {"transfer", TransferInGroup("None", 0, 0, 1)},
        {"remove", RemoveFromGroup("None", lines_[0])},
        {"reverse", ReverseGroup("None")},
        {"clear", ClearGroup("None")},
        {"rename", RenameGroup("None", "Other")},
        {"set description", SetGroupDescription("None", "x")},
        {"get description", GetGroupDescription("None", text)},
        {"index", GetGroupMemberIndex("None", lines_[0], index)},
        {"visibility", SetGroupVisibility("None", false)},
    };
    for (const auto& m : missing) EXPECT_EQ(m.result, kGroupFailed) << m.what;
    EXPECT_TRUE(host::ed::transcript().text().empty());

    ASSERT_EQ(CreateGroupWithMembers("P", Lines({0, 1}), ""), kGroupDone);
    ASSERT_EQ(CreateGroup("Q", ObjectId{}, ""), kGroupDone);
    const struct {
        const char* what;
        std::function<int()> call;
        const char* message;  // "" when the refusal prints nothing
    } refused[] = {
        {"append a member", [&] { return AppendToGroup("P", lines_[0]); }, "pGroup->append Error="},
        {"prepend a member", [&] { return PrependToGroup("P", lines_[1]); }, "pGroup->prepend Error="},
        {"insert past the end", [&] { return InsertIntoGroup("P", 7, lines_[2]); }, "pGroup->insertAt Error="},
        {"transfer past the end", [&] { return TransferInGroup("P", 1, 0, 2); }, "pGroup->transfer Error="},
        {"index of no member", [&] { return GetGroupMemberIndex("P", lines_[3], index); }, "pGroup->getIndex Error="},
        {"remove no member", [&] { return RemoveFromGroup("P", lines_[3]); }, ""},
        {"rename onto a taken name", [&] { return RenameGroup("P", "Q"); }, ""},
    };
    for (const auto& r : refused) {
        host::ed::transcript().clear();
        EXPECT_EQ(r.call(), kGroupFailed) << r.what;
        const std::string& said = host::ed::transcript().text();
        if (*r.message) {
            EXPECT_NE(said.find(r.message), std::string::npos) << r.what << ": " << said;
        } else {
            EXPECT_TRUE(said.empty()) << r.what << ": " << said;
        }
    }
    EXPECT_EQ(Members("P"), Lines({0, 1}));
}

TEST_F(GroupsInADrawing, RefusalsPrintTheHostCode) {
    ASSERT_EQ(CreateGroupWithMembers("P", Lines({0}), ""), kGroupDone);
    EXPECT_EQ(AppendToGroup("P", lines_[0]), kGroupFailed);
    EXPECT_EQ(host::ed::transcript().text(),
              "\n\n*** pGroup->append Error=" + std::to_string(int(host::db::Status::DuplicateKey)) + " \n\n");
}

TEST_F(GroupsInADrawing, RemoveGroupsContainingErasesMatchingGroups) {
    ASSERT_EQ(CreateGroupWithMembers("NC_Path1", Lines({0, 1}), ""), kGroupDone);
    ASSERT_EQ(CreateGroup("NC_Path2", ObjectId{}, ""), kGroupDone);
    ASSERT_EQ(CreateGroup("nc_path3", lines_[2], ""), kGroupDone);
    ObjectId path1;
    {
        ObjectPtr<Dictionary> groups(db_.groupDictionaryId(), OpenMode::Read);
        path1 = groups->getAt("NC_Path1");
    }
    EXPECT_EQ(RemoveGroupsContaining("NC_"), 0);
    EXPECT_EQ(Members("NC_Path1").size(), 0u);
    EXPECT_TRUE(path1.isErased());
    int count = 0;
    EXPECT_EQ(GetGroupEntityCount("nc_path3", count), kGroupDone);  // the match is case-sensitive
    EXPECT_EQ(count, 1);
    EXPECT_FALSE(lines_[0].isErased());                              // members stay in the drawing
    EXPECT_EQ(RemoveGroupsContaining(""), 0);
    ObjectPtr<Dictionary> groups(db_.groupDictionaryId(), OpenMode::Read);
    EXPECT_EQ(groups->numEntries(), 0u);
}

TEST_F(GroupsInADrawing, GroupsAndExtendedDataSurviveAFile) {
    ASSERT_EQ(CreateGroupWithMembers("Path", Lines({2, 0, 1}), "kind=1;start=0,0"), kGroupDone);
    EXPECT_EQ(AppendXDataString(lines_[0], "KESTRION", "inner"), 0);
    EXPECT_EQ(AppendXDataLong(lines_[0], "KESTRION", 42), 0);
    EXPECT_EQ(AppendXDataReal(lines_[0], "KESTRION", 2.5), 0);
    EXPECT_EQ(AppendXDataHandle(lines_[0], "KESTRION", host::db::Handle(0x1AF)), 0);
    EXPECT_EQ(AppendXDataPoint(lines_[0], "KESTRION", {1, 2, 3}), 0);  // after the items already there
    EXPECT_EQ(AppendXDataLong(lines_[0], "OTHER", 7), 0);
    const host::db::ResBufList expected = {{1001, "KESTRION"}, {1000, "inner"},    {1071, 42},
                                           {1040, 2.5},        {1005, "1AF"},      {1010, host::ge::Point3d{1, 2, 3}}};
    {
        ObjectPtr<host::db::DbObject> line(lines_[0], OpenMode::Read);
        EXPECT_EQ(line->xData("KESTRION"), expected);
    }

    const std::string text = host::dxf::writeDxfText(db_);
    const auto read = host::dxf::readDxfText(text, "groups.dxf");
    ASSERT_TRUE(read) << read.error;
    host::db::setWorkingDatabase(read.database.get());
    const auto members = Members("Path");
    ASSERT_EQ(members.size(), 3u);
    std::string description;
    EXPECT_EQ(GetGroupDescription("Path", description), kGroupDone);
    EXPECT_EQ(description, "kind=1;start=0,0");
    ObjectPtr<host::db::Line> first(members[1], OpenMode::Read);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->start(), (host::ge::Point3d{0, 0, 0}));
    EXPECT_EQ(first->xData("KESTRION"), expected);
    EXPECT_EQ(first->xData("OTHER").size(), 2u);
    first.close();
    host::db::setWorkingDatabase(&db_);
}

TEST_F(GroupsInADrawing, ExtendedDataOfAnObjectThatCannotBeOpened) {
    EXPECT_EQ(AppendXDataLong(ObjectId{}, "KESTRION", 1), 1);
    EXPECT_EQ(AppendXDataLong(lines_[0], "", 1), 1);
    ObjectPtr<host::db::DbObject> open(lines_[1], OpenMode::Write);
    EXPECT_EQ(AppendXDataString(lines_[1], "KESTRION", "x"), 1);  // already open for write elsewhere
    EXPECT_TRUE(open->xData("KESTRION").empty());
}

}  // namespace
