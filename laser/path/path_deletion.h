// Removing path groups: the last one, all of them, the ones the user picks or selects; the groups left are
// renumbered without gaps and the path re-linked where a group went.
#pragma once

#include "laser/path/path_group_commands.h"

// What RemovePathGroup leaves.
enum class PathRemoval {
    GroupsLeft,   // other groups remain
    NoneLeft,     // the last group went: the job has no path
    NotRemoved,   // n is not a group of the job; nothing changed
};

// Removes group n: its contour is unprocessed (or homeGroupPresent cleared for the home group), its members
// erased, the later groups renamed one down. The group that takes its place starts its rapid where the removed
// one started (or group 1 follows the start-at-home setting); when the last group went, the current point and the
// pen follow the new last group; with no group left the current point is the origin and the pen state 3. The
// totals and the status line are brought up to date; the job is not stored (the command does that).
PathRemoval RemovePathGroup(unsigned n, const PathGroupCommandTexts& texts);

// The cores of NCDelLast, NCDelAll, NCDelPick and NCDelCrossing. Each raises the slot's change counter and stores
// the job at its end. Answer 0.
int CommandDelLast();
int CommandDelAll();
int CommandDelPick();
int CommandDelCrossing();
