// Collision tests of the placement: whether a part, or every member of the current group, is free on the sheet
// in its trial pose.
//
// A pose collides with the sheet when its box or outer contour is not strictly inside the sheet's box and outer
// contour, when it meets a cut-out of the sheet, or (with UsableAreaCheck) when it reaches the right or top side
// of the usable area; it collides with a placed part when any outer contour of the one is not Disjoint from any
// outer contour of the other (a part's material is all its outer contours with what lies inside them; touching
// counts, since the contours are already offset by half the part gap), or when the boxes meet under RectMode. Every
// contour relation is preceded by the box relation.
#pragma once

#include "nesting/model/nesting_engine.h"

// Blockers reported by the tests.
inline constexpr int kNoBlocker = -2;
inline constexpr int kSheetBlocker = -1;

// Whether part instance i in its trial pose is free on the sheet; the candidates are the instances of
// PlacedParts. blocker: kNoBlocker, kSheetBlocker (sheet box, outline, cut-out or usable-area side) or the
// PartInstance met. A part may lie in a hole of a placed part of another type only in a manual placement with
// HoleMode set, and only in a hole at least as large as the part.
bool TestPartCollision(CNestingEngine& engine, const PartInstance& stock, int i, int& blocker);

// The same for every member of the current group; the candidates are all instances of PartOrder. On a collision
// with a placed part, member is the group member that meets it (left as it was otherwise).
bool TestGroupCollision(CNestingEngine& engine, const PartInstance& stock, int& blocker, int& member);
