// The work of the commands whose whole logic is the frame plus calls into other parts of the module, and of the
// developers' diagnostic commands.
#pragma once

// NCCreate: writes the NC program of the current drawing.
void CommandNCCreate();
// NCPlay: the speed hint, then the whole path played.
void CommandNCPlay();
// SetStartNesting: marks the current drawing as the start of a nesting (its path erased first).
void CommandSetStartNesting();

// Diagnostics. TestFor does nothing.
void CommandTestFor();
// TTF: a boundary polyline around a picked point; exceptions are written to the standard output.
void CommandTTF();
// TTT: one entity picked and opened as a lightweight polyline; nothing is shown or changed.
void CommandTTT();
// TTE: an elliptical arc drawn as circular arcs.
void CommandTTE();
