// Inside the editor: the ways a selection finds entities (all, window, crossing, fence, last, previous, group)
// and the store of selection sets that ssGet and the set functions share.
#pragma once

#include <optional>
#include <vector>

#include "host/db/database.h"
#include "host/ed/filter.h"
#include "host/ed/pick_geometry.h"

namespace host::ed::detail {

// Every live entity of the drawing passing the filter, model space in order and then paper space: invisible ones
// and those on layers that are off or frozen included ("_X").
std::vector<db::ObjectId> selectAll(const db::Database& database, const SelectionFilter* filter);
// What "ALL" at the user's prompt takes: every live entity of model space passing the filter except those on
// frozen layers (invisible ones and those on layers that are off included, so that erasing all clears the drawing
// of everything but what is frozen).
std::vector<db::ObjectId> selectAllUnfrozen(const db::Database& database, const SelectionFilter* filter);
// What a window (inside it whole) or a crossing window (inside or across its edges) catches, in drawing order;
// only what could be picked counts.
std::vector<db::ObjectId> selectInBox(const db::Database& database, const Box& box, bool crossing,
                                      const SelectionFilter* filter);
// What a fence through `points` meets, in the order the fence meets it (drawing order among entities met at the
// same place); only what could be picked counts.
std::vector<db::ObjectId> selectByFence(const db::Database& database, const std::vector<ge::Point2d>& points,
                                        const SelectionFilter* filter);
// The last live entity drawn in model space or paper space, when it passes the filter.
std::optional<db::ObjectId> selectLast(const db::Database& database, const SelectionFilter* filter);
// The live members of a group of the drawing, in the group's order; nullopt when there is no such group.
std::optional<std::vector<db::ObjectId>> selectGroup(const db::Database& database, std::string_view name);
// `ids` with the other live members of every selectable group one of them belongs to, each group's members after
// the entity that brought them in (what PICKSTYLE 1 makes of a pick or a window).
std::vector<db::ObjectId> withGroupMembers(const db::Database& database, const std::vector<db::ObjectId>& ids);

// ---- the store of selection sets

// Sets keep entity names, not ids: a name of a drawing that has been closed names nothing (nameToId answers the
// null id) where an id would point into the closed drawing.
// A new set holding `members` (duplicates dropped); answers its name.
db::EntityName storeSet(const std::vector<db::ObjectId>& members);
// The members of a set (erased ones included), or nullptr for a name that names no set.
const std::vector<db::EntityName>* storedSet(const db::EntityName& name);
// Appends `entity` to a set unless it is a member already (in constant time). False for a name that names no set.
bool addToStoredSet(const db::EntityName& set, const db::EntityName& entity);
// Takes `entity` out of a set. False when the name names no set or the set does not hold it.
bool removeFromStoredSet(const db::EntityName& set, const db::EntityName& entity);
bool freeSet(const db::EntityName& name);
// The live entities of a list of names (erased ones and those of closed drawings left out).
std::vector<db::ObjectId> liveIds(const std::vector<db::EntityName>& names);
// The previous selection ("_P", "P"): what the last selection chose.
void setPreviousSelection(const std::vector<db::ObjectId>& members);
std::vector<db::ObjectId> previousSelection();

// The user's selection at the host's prompt "Select objects: " (selection_user.cpp). RTNORM with the members,
// RTERROR when it ended with nothing chosen, RTCAN on Esc.
int selectByUser(const SelectionFilter* filter, std::vector<db::ObjectId>& members);

}  // namespace host::ed::detail
