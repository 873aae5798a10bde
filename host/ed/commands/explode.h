// Exploding one entity one level: polylines into lines and arcs, block references into copies of their block's
// entities.
#pragma once

#include <vector>

#include "host/db/database.h"

namespace host::ed {

// Explodes a live entity. The pieces are appended to the entity's own block (model space for drawn entities),
// after its last entity, in order along the polyline or in the order of the block definition; then the entity is
// erased. Every piece is a new object with a new handle. Answers:
//   - Ok, with the pieces in `created`;
//   - NotApplicable for an entity that does not explode (a line, arc, circle, point, text, spline, ellipse, a
//     polyline without a segment of any length, an array reference (MINSERT), a reference to an empty block);
//   - another status when a piece could not be made (then nothing changed: pieces made so far are erased).
// Lightweight and 2D polylines: each segment of non-zero length becomes a line or a counter-clockwise arc with
// the polyline's layer, colour, line type, line-type scale, lineweight and visibility; widths are not kept.
// 3D polylines: lines. Block references, one level: each entity of the block, transformed by the reference's
// block transform:
//   - keeps its own layer (layer "0" included) and its own colour, line type and lineweight, except that a
//     BYBLOCK colour, line type or lineweight takes the reference's, so that the pieces look as the reference
//     did;
//   - nested references stay references (of the same definition);
//   - attribute definitions are copied as they are; the reference's attributes go with the reference;
//   - under a non-uniform scale, circles and arcs become ellipses; other entities that cannot take the
//     transform make the whole explode fail (NotApplicable).
db::Status explodeEntity(db::ObjectId entity, std::vector<db::ObjectId>* created = nullptr);

}  // namespace host::ed
