// What an entity looks like from above, for callers outside the database: the lines, arcs and points of its
// outline, as the entity's intersections see it. The editor's picks, selection windows, fences and object snaps
// work on these.
#pragma once

#include <vector>

#include "host/db/entity.h"
#include "host/ge/curve.h"

namespace host::db {

struct OutlinePiece {
    enum class Kind { Point, Line, Arc };
    Kind kind = Kind::Line;
    ge::LineSeg2d line;    // Line; a Point keeps its position in line.start
    ge::CircArc2d arc;     // Arc
    double z0 = 0.0, z1 = 0.0;  // z at the start and at the end of a line, or of the piece
};

// The entity's outline in plan view, in order from its start: lines and arcs exactly where the entity lies in a
// plane along z, chords for ellipses, splines and arcs in tilted planes; a point entity (or a polyline of one
// vertex) is a point. Texts (TEXT, ATTRIB, ATTDEF, MTEXT) answer the four sides of the box they are estimated to
// fill. Block references, markers and entities the host keeps without geometry answer nothing: a caller that
// wants a reference's outline follows it into its block.
std::vector<OutlinePiece> entityOutline(const Entity& entity);

}  // namespace host::db
