// Erasing, deleting and renaming path groups with the host's own commands, each failure printed and passed by.
#pragma once

#include <string_view>

#include "cadlib/messages.h"
#include "host/db/ids.h"

// The texts a caller prints when a host command fails (%i: the host's answer); a null text prints nothing.
struct PathGroupCommandTexts {
    const TwoLanguageText* erase = nullptr;
    const TwoLanguageText* explode = nullptr;
    const TwoLanguageText* rename = nullptr;
};

// Erases the members of group `name` ("_.erase" "_G") and deletes the group ("_.-group" "_E"). Answers true when
// no group of that name is left.
bool ErasePathGroup(std::string_view name, const PathGroupCommandTexts& texts);
// Renames group `from` to `to` ("_.-group" "_REN"). Answers the host's status.
int RenamePathGroup(std::string_view from, std::string_view to, const PathGroupCommandTexts& texts);
// True when the working drawing has a group of that name.
bool PathGroupExists(std::string_view name);
// True when group `name` of the working drawing has the entity `member` (erased members count).
bool PathGroupHasMember(std::string_view name, host::db::ObjectId member);
