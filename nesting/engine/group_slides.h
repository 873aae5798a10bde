// Slides of the placement: a group moved along a step until it touches something, and a placed part pushed
// along a step before the group follows it.
#pragma once

#include "nesting/model/nesting_engine.h"

// Results of SlideGroup (and of SlidePart, which answers its group slide's result or kPartStuck).
inline constexpr int kSlideEndedFree = 0;
inline constexpr int kSlideEndedAtContact = 1;
inline constexpr int kSlideNoMove = -1;
inline constexpr int kPartStuck = -2;

// Collision tests one slide may make: a bound that only a degenerate step (minStep 0 with a blocked path) meets.
inline constexpr int kMaxSlideTests = 20000;

// Moves group g along (dx, dy) from its position, each free step followed by the same step and each collision
// by a quartered step from the last free position, until the step is not above minStep (or, with a positive
// limit, the travelled distance reaches the limit). The group ends at its last free position. kSlideNoMove when
// that is its start, kSlideEndedAtContact when the slide ended at a collision, kSlideEndedFree otherwise.
// blocker and member are those of the last collision test that failed (kNoBlocker when none failed).
int SlideGroup(CNestingEngine& engine, int g, double dx, double dy, double minStep, double limit, int& blocker,
               int& member);

// Pushes placed part i (posed and committed at every step) along (dx, dy) while it stays free, quartering the
// step at a collision while both components are above minStep, then slides group g along (gdx, gdy) without a
// limit and answers that slide's result. kPartStuck when the part collides at its first step (it is back at its
// start, blocker that test's blocker); when the group slide answers kSlideNoMove the part is put back at its
// start too.
int SlidePart(CNestingEngine& engine, int i, double dx, double dy, int g, double gdx, double gdy, double minStep,
              int& blocker, int& member);
