// The host's own editor commands (ERASE, EXPLODE, PEDIT, ZOOM, ...) that modules and users run by name.
#pragma once

#include <string>

namespace host::ed {

// The group the host commands are registered in.
inline constexpr const char* kHostCommandGroup = "HOST";

// Adds every host command to the command stack under the group "HOST", global and local names the same. Called
// once at start-up by the editor; calling it again replaces the group's commands. The commands and their answers:
//   ERASE        selection
//   EXPLODE      selection (entity names to the end of the arguments, "_L", ...)
//   PEDIT        polyline or "_M" and a selection; "_Y"/"_N" when lines, arcs or splines are to become
//                polylines (asked while PEDITACCEPT is 0); for splines a precision 0-99; then options until
//                Enter: "_C" close, "_O" open, "_J" join (fuzz distance), "_W" width, "_D" decurve, "_L" line-type
//                generation, "_R" reverse
//   ZOOM         "_E" / "_A" extents, "_C" centre and height, two corners, "_W" two corners, "_S" or "nX" scale
//   REGEN, REGENALL
//   -PURGE       "_B" (or "_A"), names (wildcards, Enter for "*"), verify each "_Y"/"_N"
//   MOVE         selection, base point, second point (Enter: the base point is the displacement)
//   ROTATE       selection, base point, angle in degrees (or "_R" reference angles, "_C" a rotated copy)
//   BREAK        entity, second point or "_F" first point and second point
//   -GROUP       "_C" create, "_E" explode, "_REN" rename, "_A" add, "_R" remove, "_S" selectable
//   UNDO         a number of steps (Enter: 1)
//   REDO         does again what the UNDO just before it took back
//   -INSERT      block name or drawing file ("*" first: inserted exploded), insertion point, x scale, y scale,
//                rotation in degrees
//   -BLOCK       name, "_Y" to redefine one that exists, base point, selection
//   POINT        a point
//   RECTANGLE    two corners (also RECTANG)
//   CUTCLIP, COPYCLIP   selection;  PASTECLIP   insertion point (the lower-left corner of what was cut lands
//                on it)
//   -BOUNDARY    points inside closed outlines, Enter ends
//   MENULOAD, MENUUNLOAD   a menu group's file or name
//   WSCURRENT    a workspace name (Enter keeps the current one)
//   DELCONSTRAINT  "_All" or a selection (there are no constraints: nothing to remove)
void registerHostCommands();

// The workspace WSCURRENT last made current ("Drafting" at the start of a session).
std::string currentWorkspace();

}  // namespace host::ed
