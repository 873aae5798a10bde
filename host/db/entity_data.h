// Entity data lists: reading and changing entities by name through lists of DXF groups, walking the drawing's
// entities, and deleting and undeleting them, with the host's RTNORM / RTERROR answers.
#pragma once

#include <string>
#include <vector>

#include "host/db/ids.h"
#include "host/db/resbuf.h"

namespace host::db {

// The data list of a live entity (group codes as in DXF, values as valueKindOf says):
//   (-1 . name) (0 . "LINE") (330 . owner name) (5 . "1A") (100 . "AcDbEntity") (67 . 1 in paper space only)
//   (8 . layer) (6 . line type, unless ByLayer) (62 . colour, unless BYLAYER) (420 . true colour) (370 . lineweight,
//   unless by layer) (48 . line-type scale, unless 1) (60 . 1 when invisible) (100 . "AcDbLine") ... the kind's
//   points and values (angles in radians), as writeEntityGroups gives them;
// then, when `applications` names applications with data on the entity ("*" for all of them), -3 followed by
// their extended data, each application's list starting with its 1001 group.
// An empty list when the name is nil, names a deleted entity, an object that is not an entity, or nothing of an
// open drawing.
ResBufList entGet(const EntityName& name, const std::vector<std::string>& applications = {});

// Applies a changed data list to the entity its -1 group names. Groups left out keep their values; the -1, 0,
// 5, 330 and 67 groups must name the entity as it is (a change of type, handle, owner or space is refused); the
// extended data after -3 replaces the data of the applications it names. A layer that does not exist is made; a line type,
// text style or block that does not exist is refused. All or nothing: on RTERROR the entity is as it was.
// RTERROR also for a name of nothing, a deleted entity and an entity on a locked layer.
int entMod(const ResBufList& list);

// The first entity of the working drawing (after nil), or the entity after `after` in its drawing: model space
// in order, then paper space, deleted entities skipped, sub-entities (vertices, attributes) not visited.
// RTNORM with the name in `next`; RTERROR after the last entity, for a name of nothing, or with no drawing.
int entNext(const EntityName& after, EntityName& next);

// The last entity of the working drawing (deleted ones skipped). RTERROR when it has none.
int entLast(EntityName& last);

// Deletes a live entity, or undeletes a deleted one. RTERROR for a name of nothing and for an entity on a locked
// layer (which cannot be changed).
int entDel(const EntityName& name);

}  // namespace host::db
