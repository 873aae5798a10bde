// Placement of one part, or of a pair of identical parts, on the sheet that the current pass fills.
//
// The part's group is posed at a start pose, slid towards the lower left corner of the sheet in a fixed
// sequence of phases, pressed against its neighbours, tried turned by half a turn, and the better result kept;
// this for every variant group, of which one is kept and committed. A committed layout never holds two parts
// that cross: the kept variant is committed against the layout in which it was found and tested again there.
#pragma once

#include <vector>

#include "nesting/model/nesting_engine.h"

// The angle argument of PlacePart that asks for an automatic placement.
inline constexpr double kAutomaticPlacement = -1.0;

// Results of PlacePart.
inline constexpr int kPlaced = 0;
inline constexpr int kNotPlaced = -1;

// Tests of one template before the run's steps are reset to the unit's search steps.
inline constexpr int kRunTestCycle = 500;
// Restarts of one run from phase 4 while it keeps making fine moves.
inline constexpr int kMaxRunRestarts = 25;
// Compaction cycles at the end of a run.
inline constexpr int kMaxCompactionCycles = 5;

// The sheet's layout (pose snapshots of the part instances) saved after each variant group was tried.
using VariantLayouts = std::vector<std::vector<PoseSnapshot>>;

// Places the part at position j of PartOrder on the current stock. angle kAutomaticPlacement: automatic, x and y
// ignored; any other angle: a manual placement that starts from (x, y, angle) and goes on with automatic start
// poses when that spot is occupied or the angle is one the part's rotation rule refuses. kPlaced when the part
// (and a pair's partner) is committed: the members are on the sheet with committed poses, appended to
// PlacedParts, and PlacedExtent, PassPlacedCount, LastPlacedInstance and ReferencePoint follow. kNotPlaced
// otherwise: in an automatic call the part stays unplaced; in a manual call it is back at the committed pose it
// had. A part whose area is at least 0.98 of the pass area is refused at once; a full sheet (kMaxPlacedParts)
// refuses with its message.
int PlacePart(CNestingEngine& engine, int j, double x, double y, double angle);

// Whether the first result of a variant group is kept against its turned result: only when it is better by more
// than two search steps along the box's sides, d = (A.maxX - T.maxX) * a.h + (A.maxY - T.maxY) * a.w +
// 2 * sx * (a.w + a.h) < 0 (a.w, a.h: the first result's GroupWidth and GroupHeight, or its box size when they
// were never recorded); at d = 0 only when the turned result reaches farther right or up.
bool PreferFirstResult(const PartGroup& first, const PartGroup& turned, double searchStepX);

// Keeps one of the valid variant groups Groups[0 ... GroupCount - 1] by where its box's max corner lies against
// PlacedExtent (placementClass 1 to 4; 0 when only group 0 was tried) and by the landscape wish, poses its
// members with all contours and commits them. With `layouts` (one saved layout per variant group) the sheet is
// first given back the layout in which the kept group was found and the group is tested again there; a group
// that is not free is dropped and another is chosen. Without layouts the sheet's layout is taken as it stands
// (callers whose variant groups move no placed part). Answers the group kept, or -1 (placementClass 0).
int ChooseGroupVariant(CNestingEngine& engine, int& placementClass, const VariantLayouts* layouts = nullptr);
