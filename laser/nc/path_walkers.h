// The path walkers: each takes one path group of the drawing ("DOROZ_n": its rapid line, lead-in, the contour's
// lines and arcs and its lead-out, in that order) and turns it into moves of NC output or of the simulation;
// after a contour the unloading command that its size asks for.
//
// What the tool does along a line member is what the group's description says (RoleOfPathMember): a rapid with
// the tool off, a cut, or a cut with the Z-axis tracking sensor off. The line type only shows it: a rapid line type
// that failed to load draws rapids Continuous, and they must still be crossed with the beam off. Arcs are stored counter-clockwise: an arc that does not start where the
// tool stands is cut clockwise, from its end to its start, with a negative radius.
#pragma once

#include "laser/nc/nc_emitters.h"
#include "laser/path/path_groups.h"

// `first` belongs to the caller and is 0 before the first group of a run: the first point a walker meets then
// becomes the current point and `first` becomes 1. Answer 0.

// Normal cutting: tool on and off around every cut, a circle as one whole-circle arc block, compensation by the
// contour's offset side, the unloading command after the contour. Esc in the simulation (StopFlag) ends the
// group at the next member without switching the tool off and without unloading.
int EmitContourPath(NcRun& run, unsigned n, int& first);

// Profile cutting (postprocessors with UseProfilesCut): only contour groups write; every block comes from the
// Prof* templates, with a ProfCutSm1 move ending ProfCutDist1 before the contour's end and the lead-out split
// ProfCutDist2 from its start (ProfCutSm2 up to there, ProfCutSm3 on). There is no tool switching.
int EmitProfilePath(NcRun& run, unsigned n, int& first);
// The body of EmitProfilePath for a contour group whose record is read.
void EmitProfileCut(NcRun& run, unsigned n, int& first, const PathRecord& record);

// The unloading command after a contour (NC output only): none unless UnloadOption is set, the postprocessor has
// a maximum unloading size, and the contour is a closed base contour that the option does not exclude (2: no
// inner contours, 3: no outer ones). A contour within the minimum size gets nothing, one within the maximum size
// UnloadOpenWinStr, a larger one UnloadStopPrgStr. Answers 0.
int EmitUnloadCommand(NcRun& run, const PathRecord& record);
