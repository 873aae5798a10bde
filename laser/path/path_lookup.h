// Finding path groups: the group the user picks, the group an entity belongs to, where a group's path starts and
// ends, and the contour flag and first rapid that follow the groups when some are removed.
#pragma once

#include <string>
#include <string_view>

#include "host/db/ids.h"
#include "host/ge/point.h"

// The number of the path group the user picks with `prompt` (the pick is asked again while it hits nothing, or
// nothing on layer "NC_Laser"); its name goes to `name`. 0 on Enter or Esc, or when the entity picked belongs to no
// path group.
unsigned PickPathGroup(std::string_view prompt, std::string& name);

// The number of the first path group (1..pathGroupCount) that has `entity` as member; 0 when none has.
unsigned PathGroupOfEntity(host::db::ObjectId entity);

// The end points of a path member. A line: start and end; an arc: the points at its start and end angle. Answers
// 0; 1 for any other entity (nothing is set).
int GetMemberEndpoints(host::db::ObjectId id, host::ge::Point3d& start, host::ge::Point3d& end);

// Where the path of group n starts and ends: the first point is the end of the first member away from the second
// member, the last point the end of the last member away from the one before it (a single member: its start and
// end). The ids of the first and last member, and whether each is drawn with the cut pen (as the group's description says, never
// by line type). Answers 0; -1 when the group has no member (nothing is set).
int GetPathGroupEnds(unsigned n, host::ge::Point3d& firstPoint, host::ge::Point3d& lastPoint, bool& firstIsCut,
                     bool& lastIsCut, host::db::ObjectId& firstId, host::db::ObjectId& lastId);
int GetPathGroupEndPoints(unsigned n, host::ge::Point3d& firstPoint, host::ge::Point3d& lastPoint, bool& lastIsCut);

// Marks the contour of the group `name` as having no path (the home group: clears the job's homeGroupPresent).
// Answers 0; 1 when the job has no contours.
int ClearContourPathFlag(std::string_view name);

// Makes group 1's rapid line agree with the start-at-home setting: without start at home group 1 loses its rapid
// line; with it, group 1 gets one from the home point. The description's rapid token follows. The home group is
// left as it is.
void RedrawStartRapid();

// The description with its rapid-line token (the tenth) replaced by `token`; unchanged when it has fewer tokens.
std::string ReplaceRapidToken(std::string_view description, std::string_view token);
