// Selection sets: sets of entities the user or a filter chose, named like entities so that they can be passed to
// commands; filters in DXF group codes; object snap.
#pragma once

#include <string_view>
#include <vector>

#include "host/db/ids.h"
#include "host/db/resbuf.h"
#include "host/ge/point.h"

namespace host::ed {

// Selection-set names are two words like entity names: {set number, kSelectionSetTag}.
inline constexpr std::int64_t kSelectionSetTag = 0x5353;  // "SS"

// ssGet modes, as the host takes them:
//   nullptr or ""  the user selects (the host's own prompts, "Select objects: "; answers are points, "W"/"C"
//                  windows, "L", "P", "ALL", "G name", entity picks, Enter ends);
//   "_X"           the whole drawing through the filter;
//   "_C" / "_W"    crossing / window between pt1 and pt2 (equal corners: what passes through the point);
//   "_F"           fence through the points of `fencePoints` (entities in the order the fence meets them);
//   "_L"           the last entity; "_P" the previous selection; "_I" the implied (pickfirst) selection.
// Filters: DXF group codes with -4 "<and" "and>" "<or" "or>" "<not" "not>" "<xor" "xor>"; strings match with
// wildcards (*, ?, #, @, ., [..], ~, `, comma lists) without regard to case for 0, 2, 8; points exactly.
// Answers RTNORM with a new set, RTERROR when nothing was selected (ERRNO set), RTCAN on Esc.
int ssGet(std::string_view mode, const ge::Point3d* pt1, const ge::Point3d* pt2, const db::ResBufList* filter,
          db::EntityName& set, const std::vector<ge::Point3d>* fencePoints = nullptr);
// True when the entity passes the filter (an empty filter passes everything).
bool matchesFilter(db::ObjectId entity, const db::ResBufList& filter);
// Set operations with the host's statuses.
int ssAdd(const db::EntityName* entity, const db::EntityName* set, db::EntityName& result);  // null set: a new one
int ssDel(const db::EntityName& entity, const db::EntityName& set);
int ssLength(const db::EntityName& set, std::int32_t& length);
int ssName(const db::EntityName& set, std::int32_t index, db::EntityName& entity);
int ssMemb(const db::EntityName& entity, const db::EntityName& set);  // RTNORM when a member
int ssFree(const db::EntityName& set);
// The entities of a set as ids (erased ones left out); empty for an unknown set.
std::vector<db::ObjectId> selectionIds(const db::EntityName& set);

// Object snap at a point: modes "_END", "_MID", "_CEN", "_NEA", "_INT", "_PER", "_QUA", "_NOD", "_INS", comma
// separated; the aperture (APERTURE pixels at the view's scale) around the point. RTNORM with the snapped point,
// RTERROR when nothing snaps.
int osnap(const ge::Point3d& point, std::string_view modes, ge::Point3d& result);

}  // namespace host::ed
