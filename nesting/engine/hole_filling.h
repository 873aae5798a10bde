// Placing parts into the holes of parts already placed on the sheet: the start poses inside the hole's window,
// a seven-phase slide towards the window's lower left, and the test that keeps a part inside the hole and clear
// of every other placed part.
#pragma once

#include "nesting/model/nesting_engine.h"

// Tests of one run of PlacePartInHole after which its moves start again at 0, SearchStep and CoarseStep are
// set back to their unit values and a free pose counts as a collision.
inline constexpr int kHoleRunTestLimit = 500;
// Restarts of the fine phases per variant group.
inline constexpr int kMaxHoleRestarts = 50;
// A run whose fine phases made more moves than this starts them again (up to kMaxHoleRestarts times).
inline constexpr int kHoleRestartMoves = 6;
// Template tries of one call: pair and single part, each with both landscape wishes.
inline constexpr int kMaxHoleTemplateTries = 4;
// Tests of one run at most, whatever the steps do: the phases need a few thousand.
inline constexpr int kMaxHoleRunTests = 200000;

// Whether every member of the current group lies inside hole HoleIndex of part instance HoleHost (its box inside
// HoleWindow, its outer contour inside the posed hole) and clear of the other placed parts on CurrentStock. A
// member may touch no placed part; it may lie inside a hole of a placed part of another type when that hole is
// at least as large as the member's part (so a part never goes into a hole of a part of its own type, the host
// always being a neighbour). False whenever RectMode is set or HoleMode is clear. When more than
// kMaxHoleNeighbours placed parts' boxes meet one member's box the pose is refused with a message.
bool TestHoleCollision(CNestingEngine& engine);

// Places the part at position j of PartOrder inside HoleWindow (the hole HoleIndex of HoleHost, set by the
// caller with PlacementMode 1): the pair template when PairWanted is set, else the single part; every variant
// group starts inside the window and slides in seven phases; ChooseGroupVariant keeps one. A template that
// finds nothing is retried as a single part and then with the opposite landscape wish before the call gives up.
// 0 when the part (with its partner for a pair) was committed and recorded as PlacePart records it, -1 otherwise
// (the part stays unplaced and no other part moves). HolePlacedCount grows by the parts committed. x, y and
// angle are accepted for the callers' uniform form and ignored: every call is automatic.
int PlacePartInHole(CNestingEngine& engine, int j, double x = 0.0, double y = 0.0, double angle = -1.0);
