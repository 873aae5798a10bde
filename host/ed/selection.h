// Selection sets: sets of entities the user or a filter chose, named like entities so that they can be passed to
// commands; filters in DXF group codes; object snap.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "host/db/ids.h"
#include "host/db/resbuf.h"
#include "host/ge/point.h"

namespace host::ed {

// Selection-set names are two words like entity names: {set number, kSelectionSetTag}.
inline constexpr std::int64_t kSelectionSetTag = 0x5353;  // "SS"

// ssGet modes, as the host takes them (with or without "_", any case):
//   nullptr or ""  the user selects at the host's prompt "Select objects: ". Answers: points (a pick: the entity
//                  nearest within the pick box, as entSel chooses), "W" / "C" and two corners, "F" and fence
//                  points up to an Enter ("U" takes the last point back), "L", "P", "ALL", "G" and a group name,
//                  "R" (then "Remove objects: ") and "A" to add again, "U" to undo the last step; from a module
//                  also entity names (RTENAME) and sets (RTPICKS). Each step prints what it found ("2 found",
//                  "(1 duplicate), 3 total", "1 removed, 2 total"); an answer it cannot take prints
//                  "*Invalid selection*" with the choices and asks again (a module's wrong answer fails: RTERROR).
//                  Enter, or the end of a module's arguments, ends. Under PICKSTYLE 1 an entity of a selectable
//                  group brings its group. What is chosen shows highlighted (HIGHLIGHT 1) until the selection ends.
//   "_X"           the whole drawing through the filter, invisible entities and layers that are off or frozen
//                  included, model space in order then paper space;
//   "_C" / "_W"    crossing / window between pt1 and pt2 (equal corners: what passes through the point within
//                  the global tolerance);
//   "_F"           fence through the points of `fencePoints` (or pt1 to pt2), entities in the order the fence
//                  meets them, drawing order among those met at the same place;
//   "_L"           the last entity; "_P" the previous selection (what the last selection chose, its erased
//                  members left out); "_I" the implied (pickfirst) selection, which this host never holds.
// "ALL" at the user's prompt takes every entity of model space except those on frozen layers (invisible ones
// and those on layers that are off included). Windows, fences and picks take only what shows: visible entities
// of model space on layers that are on and thawed; entities the host keeps without geometry (HATCH, DIMENSION,
// ...) show no outline, so only "_X", "ALL", "L", "P", groups and entity names choose them.
// Filters: see filter.h (DXF group codes, -4 operators, wildcards; names of groups 0, 2, 6, 7, 8 without regard
// to case; numbers and points exactly). A malformed filter or an unknown mode answers RTERROR.
// Answers RTNORM with a new set, RTERROR when nothing was selected, RTCAN on Esc. ERRNO afterwards: 0 with a set
// or after Esc; 7 when a mode other than the user's found nothing; 52 when the user ended with nothing chosen (so
// a caller's loop that asks again while ERRNO is 7 ends on Enter).
int ssGet(std::string_view mode, const ge::Point3d* pt1, const ge::Point3d* pt2, const db::ResBufList* filter,
          db::EntityName& set, const std::vector<ge::Point3d>* fencePoints = nullptr);
// ssGet(nullptr, ...) is the user's selection (a null pointer must not become a string_view).
inline int ssGet(std::nullptr_t, const ge::Point3d* pt1, const ge::Point3d* pt2, const db::ResBufList* filter,
                 db::EntityName& set, const std::vector<ge::Point3d>* fencePoints = nullptr) {
    return ssGet(std::string_view(), pt1, pt2, filter, set, fencePoints);
}
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

// Object snap at a point: modes "_END", "_MID", "_CEN", "_NEA", "_INT", "_PER" (from LASTPOINT), "_QUA", "_NOD",
// "_INS", comma separated (three or more letters of a mode's name, with or without "_"; "_NON" answers the point
// itself). The entities that show whose outline comes within the aperture (APERTURE pixels at the view's scale)
// are the candidates; the snap point chosen is the nearest one of the modes other than _NEA inside the aperture,
// else the nearest point of a candidate (_NEA), else the nearest snap point anywhere on a candidate (the far end
// of a long line through the aperture, the centre of a circle whose edge crosses it). Ties go to the mode named
// first, then to the entity drawn last. RTNORM with the snapped point; RTERROR when nothing snaps or a mode is
// unknown. The full rule is in osnap.cpp.
int osnap(const ge::Point3d& point, std::string_view modes, ge::Point3d& result);

}  // namespace host::ed
