// Start poses of the placement attempts: where the current group is put before it slides, in the usable area of
// the sheet or in the window of a hole being filled.
//
// The attempt number k belongs to the caller, which starts it at 0 for every variant group and adds 1 for every
// start pose that turned out occupied; these functions add 1 for every pose that they refuse themselves (a box
// that sticks out of the area). Nothing here tests collisions.
#pragma once

#include "nesting/model/nesting_engine.h"

// Attempts from which group 0 on a sheet with parts leaves the fixed places around ReferencePoint (16) and the
// random places in the placed extent (510) for random places around the centre of the usable area.
inline constexpr int kFixedStartAttempts = 16;
inline constexpr int kExtentStartAttempts = 510;

// Poses the current group at the start pose of attempt k (SetGroupPose) and answers true; k comes back raised by
// the attempts refused here. The first start pose on an empty sheet is the centre of UsableArea; on a sheet
// with parts group 0 tries eight places around ReferencePoint (two attempts each), then random places in the
// placed extent, then random places around the centre; the variant groups start with random places. False when
// the attempt limit (quality column 0) is passed, the group's valid flag then cleared.
bool ChooseStartPosition(CNestingEngine& engine, bool emptySheet, int& k, bool landscape);

// The same inside HoleWindow: the centre of the window for the first attempt into an empty hole, random places
// around the centre after (clamped 0.1 search step inside); the limit is quality column 4.
bool ChooseHoleStartPosition(CNestingEngine& engine, bool emptyHole, int& k, bool landscape);

// A new random draw of x (or y): rand() into RandomX (RandomY), drawn again while it lies within RandomMinStep of
// the previous draw, which it then replaces. Answers the draw.
int DrawRandomX(CNestingEngine& engine);
int DrawRandomY(CNestingEngine& engine);
