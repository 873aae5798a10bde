// Named groups of the working drawing: creating them, their members in order, their descriptions, and removing
// the groups whose name holds a text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/db/ids.h"

// Answers of the operations on one named group.
inline constexpr int kGroupDone = 0;
inline constexpr int kGroupFailed = 1;  // no group of that name, or the host refused the change

// Adds a selectable group `name` with `description` and, unless `firstMember` is null, that member. Answers
// kGroupFailed when the name exists (the old group is untouched), no drawing is open, or the member is refused.
int CreateGroup(std::string_view name, host::db::ObjectId firstMember, std::string_view description);
// The same with all of `members` in their order.
int CreateGroupWithMembers(std::string_view name, const std::vector<host::db::ObjectId>& members,
                           std::string_view description);

// The number of live members, which `members` receives in group order; 0 (and no members) for a missing group.
int GetGroupEntityIds(std::string_view name, std::vector<host::db::ObjectId>& members);
// kGroupDone and the live member count, or kGroupFailed and 0 for a missing group.
int GetGroupEntityCount(std::string_view name, int& count);

// Member changes. Each answers kGroupDone, or kGroupFailed for a missing group or a change the host refuses (an id
// already a member, one of another drawing, an index past the end); a refusal prints the host's error code.
int AppendToGroup(std::string_view name, host::db::ObjectId member);
int PrependToGroup(std::string_view name, host::db::ObjectId member);
int InsertIntoGroup(std::string_view name, unsigned index, host::db::ObjectId member);
// Moves `count` members from index `from` so that they start at index `to`.
int TransferInGroup(std::string_view name, unsigned from, unsigned to, unsigned count);
int RemoveFromGroup(std::string_view name, host::db::ObjectId member);
int ReverseGroup(std::string_view name);
int ClearGroup(std::string_view name);
// kGroupFailed also when `newName` is taken.
int RenameGroup(std::string_view name, std::string_view newName);

int SetGroupDescription(std::string_view name, std::string_view description);
int GetGroupDescription(std::string_view name, std::string& description);
// kGroupDone and the member's position among all members; kGroupFailed for a missing group or an id that is no
// member (printing the host's error code).
int GetGroupMemberIndex(std::string_view name, host::db::ObjectId member, unsigned& index);
// Shows or hides every member; kGroupFailed when missing or a member cannot be changed (then none is).
int SetGroupVisibility(std::string_view name, bool visible);

// Removes and erases every group whose name contains `text` (case-sensitive; "" matches all). Answers 0, or -1
// when the drawing has no group dictionary or it cannot be opened for write.
int RemoveGroupsContaining(std::string text);
