// Compaction of a group against the placed part that stops it: the group is pressed left (or down) in a
// staircase of short slides, once with the blocking part as it stands and once with that part turned by half a
// turn and pushed away, and the better of the two ends is kept.
#pragma once

#include "nesting/model/nesting_engine.h"

// Results of the compaction.
inline constexpr int kCompactionImproved = 0;
inline constexpr int kCompactionUnchanged = -1;

// Presses group g to the left. kCompactionImproved when the group (and the blocking part that was pushed or
// turned) now stands better; kCompactionUnchanged when nothing changed: the group and the blocking part are
// back where they were, as when the group's left neighbour is the sheet, a cut-out or a side of the usable area.
int CompactGroupLeft(CNestingEngine& engine, int g);

// The same downwards (x and y exchanged, with its own staircase and pushes).
int CompactGroupDown(CNestingEngine& engine, int g);
