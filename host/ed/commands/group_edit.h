// Named groups of a drawing as -GROUP edits them: creating, exploding (the definition goes, the members stay),
// renaming, adding and removing members, selectability.
#pragma once

#include <string_view>
#include <vector>

#include "host/db/database.h"

namespace host::ed {

enum class GroupOutcome {
    Done,
    NotFound,     // no group of that name
    Exists,       // the (new) name is taken
    InvalidName,  // empty, or holding a character a name may not have (<>/\":;?,=` or a control character)
    Failed,       // the group dictionary could not be changed
};

// Creates a group of the live entities given (in that order). The name "*" makes an anonymous group ("*A1",
// "*A2" ...). Names are compared without regard to case.
GroupOutcome createGroup(db::Database& database, std::string_view name, std::string_view description,
                         const std::vector<db::ObjectId>& members, db::ObjectId* group = nullptr);
// The group definition goes; its members stay in the drawing.
GroupOutcome explodeGroup(db::Database& database, std::string_view name);
GroupOutcome renameGroup(db::Database& database, std::string_view oldName, std::string_view newName);
// Adds the live entities that are not members yet, at the end; removes those that are members.
GroupOutcome addToGroup(db::Database& database, std::string_view name, const std::vector<db::ObjectId>& entities);
GroupOutcome removeFromGroup(db::Database& database, std::string_view name,
                             const std::vector<db::ObjectId>& entities);
GroupOutcome setGroupSelectable(db::Database& database, std::string_view name, bool selectable);
// The group of that name, or the null id.
db::ObjectId findGroup(const db::Database& database, std::string_view name);

}  // namespace host::ed
