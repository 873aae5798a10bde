// Named groups of the working drawing through its group dictionary.
#include "cadlib/groups.h"

#include "cadlib/messages.h"
#include "host/db/database.h"

using host::db::Database;
using host::db::Dictionary;
using host::db::Group;
using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::Status;

namespace {

constexpr int kDictionaryUnavailable = -1;

const TwoLanguageText kAppendError = {"\n\n*** pGroup->append Error=%i \n\n", "\n\n*** pGroup->append Ошибка=%i \n\n"};
const TwoLanguageText kPrependError = {"\n\n*** pGroup->prepend Error=%i \n\n",
                                       "\n\n*** pGroup->prepend Ошибка=%i \n\n"};
const TwoLanguageText kInsertError = {"\n\n*** pGroup->insertAt Error=%i \n\n",
                                      "\n\n*** pGroup->insertAt Ошибка=%i \n\n"};
const TwoLanguageText kTransferError = {"\n\n*** pGroup->transfer Error=%i \n\n",
                                        "\n\n*** pGroup->transfer Ошибка=%i \n\n"};
const TwoLanguageText kIndexError = {"\n\n*** pGroup->getIndex Error=%i \n\n",
                                     "\n\n*** pGroup->getIndex Ошибка=%i \n\n"};

// The working drawing's group dictionary id, or the null id without a drawing.
ObjectId GroupDictionaryId() {
    const Database* db = host::db::workingDatabase();
    return db ? db->groupDictionaryId() : ObjectId{};
}

// Opens group `name` in `mode` and answers `action(group)`; kGroupFailed when the group is missing or cannot be
// opened. The dictionary is closed before the action, the group after it.
template <class Action>
int WithGroup(std::string_view name, OpenMode mode, Action action) {
    ObjectId groupId;
    {
        ObjectPtr<Dictionary> groups(GroupDictionaryId(), OpenMode::Read);
        if (!groups) return kGroupFailed;
        groupId = groups->getAt(name);
    }
    ObjectPtr<Group> group(groupId, mode);
    if (!group) return kGroupFailed;
    return action(*group);
}

// kGroupDone for Ok; otherwise prints `message` with the host's code and answers kGroupFailed.
int Report(Status s, const TwoLanguageText& message) {
    if (s == Status::Ok) return kGroupDone;
    PrintLocalized(message, static_cast<int>(s));
    return kGroupFailed;
}

int Done(Status s) { return s == Status::Ok ? kGroupDone : kGroupFailed; }

// Adds an empty selectable group; kGroupFailed when the name is taken or refused.
int AddGroup(std::string_view name, std::string_view description, ObjectId& id) {
    ObjectPtr<Dictionary> groups(GroupDictionaryId(), OpenMode::Write);
    if (!groups || groups->has(name)) return kGroupFailed;
    return Done(groups->setAt(name, std::make_unique<Group>(std::string(description), true), &id));
}

}  // namespace

int CreateGroup(std::string_view name, ObjectId firstMember, std::string_view description) {
    if (firstMember.isNull()) return CreateGroupWithMembers(name, {}, description);
    return CreateGroupWithMembers(name, {firstMember}, description);
}

int CreateGroupWithMembers(std::string_view name, const std::vector<ObjectId>& members,
                           std::string_view description) {
    ObjectId id;
    if (AddGroup(name, description, id) != kGroupDone) return kGroupFailed;
    if (members.empty()) return kGroupDone;
    ObjectPtr<Group> group(id, OpenMode::Write);
    if (!group) return kGroupFailed;
    return Report(group->append(members), kAppendError);
}

int GetGroupEntityIds(std::string_view name, std::vector<ObjectId>& members) {
    members.clear();
    WithGroup(name, OpenMode::Read, [&](Group& g) {
        members = g.allEntityIds();
        return kGroupDone;
    });
    return static_cast<int>(members.size());
}

int GetGroupEntityCount(std::string_view name, int& count) {
    count = 0;
    return WithGroup(name, OpenMode::Read, [&](Group& g) {
        count = static_cast<int>(g.numEntities());
        return kGroupDone;
    });
}

int AppendToGroup(std::string_view name, ObjectId member) {
    return WithGroup(name, OpenMode::Write, [&](Group& g) { return Report(g.append(member), kAppendError); });
}

int PrependToGroup(std::string_view name, ObjectId member) {
    return WithGroup(name, OpenMode::Write, [&](Group& g) { return Report(g.prepend(member), kPrependError); });
}

int InsertIntoGroup(std::string_view name, unsigned index, ObjectId member) {
    return WithGroup(name, OpenMode::Write,
                     [&](Group& g) { return Report(g.insertAt(index, member), kInsertError); });
}

int TransferInGroup(std::string_view name, unsigned from, unsigned to, unsigned count) {
    return WithGroup(name, OpenMode::Write,
                     [&](Group& g) { return Report(g.transfer(from, to, count), kTransferError); });
}

int RemoveFromGroup(std::string_view name, ObjectId member) {
    return WithGroup(name, OpenMode::Write, [&](Group& g) { return Done(g.remove(member)); });
}

int ReverseGroup(std::string_view name) {
    return WithGroup(name, OpenMode::Write, [&](Group& g) { return Done(g.reverse()); });
}

int ClearGroup(std::string_view name) {
    return WithGroup(name, OpenMode::Write, [&](Group& g) { return Done(g.clear()); });
}

int RenameGroup(std::string_view name, std::string_view newName) {
    ObjectPtr<Dictionary> groups(GroupDictionaryId(), OpenMode::Write);
    if (!groups || !groups->has(name)) return kGroupFailed;
    return Done(groups->rename(name, std::string(newName)));
}

int SetGroupDescription(std::string_view name, std::string_view description) {
    return WithGroup(name, OpenMode::Write,
                     [&](Group& g) { return Done(g.setDescription(std::string(description))); });
}

int GetGroupDescription(std::string_view name, std::string& description) {
    return WithGroup(name, OpenMode::Read, [&](Group& g) {
        description = g.description();
        return kGroupDone;
    });
}

int GetGroupMemberIndex(std::string_view name, ObjectId member, unsigned& index) {
    return WithGroup(name, OpenMode::Read, [&](Group& g) { return Report(g.indexOf(member, index), kIndexError); });
}

int SetGroupVisibility(std::string_view name, bool visible) {
    return WithGroup(name, OpenMode::Read, [&](Group& g) { return Done(g.setVisibility(visible)); });
}

int RemoveGroupsContaining(std::string text) {
    ObjectPtr<Dictionary> groups(GroupDictionaryId(), OpenMode::Write);
    if (!groups) return kDictionaryUnavailable;
    for (const auto& [entryName, id] : groups->entries()) {
        if (entryName.find(text) == std::string::npos) continue;
        {
            ObjectPtr<Group> group(id, OpenMode::Write);
            if (group && group->numEntities(true) > 0) group->clear();
        }
        groups->remove(entryName);  // removes the entry and erases the group
    }
    return 0;
}
