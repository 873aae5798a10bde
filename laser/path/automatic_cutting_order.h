// The automatic cutting order: every contour of the current drawing without a path gets its path group, in an
// order chosen by the contours' nesting, their nearness and the start-corner and zone settings; and the command
// that runs it and ends the path with the rapid move home.
#pragma once

// Orders and writes the paths of all contours of the current drawing's job that have none yet: engraving and
// marking first and heat treatment second when CutEngraveType is on, then the cuts, a part's inner contours
// before the contour around them and one part finished before the next begins. Each contour's start point is
// chosen knowing where the tool comes from and which contour follows. Contours that could be cut but got no path
// are listed on the command line. Ends with the change counter raised, the path totals, the status line and the
// stored job brought up to date. Answers 0; -1 when a contour without path has lost its entity (the user has been
// told and nothing is written).
int SliceAuto();

// The work of NCSliceAuto (its frame re-reads the settings and checks the contours first): the home group, if
// any, removed; SliceAuto; the rapid move home added; the drawing regenerated; the elapsed time printed.
void CommandNCSliceAuto();
