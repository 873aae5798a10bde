// Breaking a curve between two points: the part between them is removed.
#pragma once

#include <vector>

#include "host/db/database.h"
#include "host/ge/point.h"

namespace host::ed {

// Breaks a live line, arc, circle or lightweight polyline. Each point is first taken to the nearest point of the
// entity (in plan view for circles, arcs and polylines).
//   - Line, arc, open polyline: the part between the two points goes, whichever is given first. The part before
//     it (from the entity's start) stays the entity itself, with its handle; the part after it becomes a new
//     entity (a copy with a new handle, appended after the last entity), or stays the entity itself when nothing
//     is left before. When nothing is left at all the entity is erased. Equal points split the entity there (at an
//     end nothing changes).
//   - Circle: the part counter-clockwise from the first point to the second goes; what is left becomes a new arc
//     from the second point counter-clockwise to the first, which replaces the circle (new handle). Equal points
//     are refused (InvalidInput): an arc cannot be a whole circle.
//   - Closed polyline: as a circle, in the polyline's own direction: the part from the first point to the second
//     along the vertex order goes. What is left stays the entity itself, now open, running from the second point
//     to the first through the former start. Equal points open the polyline there, removing nothing.
// New pieces keep the entity's properties and extended data. `pieces` receives what is left, in order along the
// entity (the entity itself, the new piece). NotApplicable for any other entity (splines, ellipses, vertex
// polylines).
db::Status breakEntity(db::ObjectId entity, const ge::Point3d& first, const ge::Point3d& second,
                       std::vector<db::ObjectId>* pieces = nullptr);

}  // namespace host::ed
