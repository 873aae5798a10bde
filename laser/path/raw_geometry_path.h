// The path of a profile traced along the drawn lines, arcs and circles themselves rather than along a contour of
// the contour table: slicing the drawn geometry at a picked point, and tracing a profile piece by piece from the
// picked entity. No command reaches them.
#pragma once

#include "host/db/ids.h"
#include "laser/path/contour_pick_operations.h"

// Answers of TraceProfileInteractively.
inline constexpr int kTraceClosed = 0;     // the profile came back to its start
inline constexpr int kTraceOpen = 1;       // the profile ended at a free end
inline constexpr int kTraceJunction = 2;   // more than two entities meet where the traced part ends: stopped
inline constexpr int kTraceNothing = 3;    // the start entity is not a line, arc or circle

// Draws into the open path group the rapid to leads.leadInStart, the lead-in, then the profile: a circle whole,
// a line or arc from its start and on along the entities that meet end to end, each in the direction that
// continues the one before; and the lead-out when the profile closed. The pen switches between rapid and cut. At a
// point where more than two entities meet the trace stops with a message naming the point and their number.
int TraceProfileInteractively(host::db::ObjectId start, const SideLeadPoints& leads, int side);

// Asks for points until the user ends ("Choose a contour"), with the nearest-point snap on; the drawn lines, arcs,
// circles and polylines through the point are the pick. Two: the user gives the side and the one nearer it is kept;
// more than two: an error box and the end. A polyline is exploded and the point asked again; a line, arc or circle
// gets the side (asked when not given yet) and its profile traced into one path group ("Slice" and the offset).
// The group is closed at the end, and the snap mode put back. Answers 0.
int SliceRawGeometryAtPoint();
