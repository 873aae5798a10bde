// Trial angles of a placement attempt: which angle the current group is tried at, and whether an angle is
// admitted by the rotation rule of its part.
//
// Angles are radians in [0, 2*pi); the rotation rules of a type and the best template angles of a group are in
// degrees. The grain angle of a part on the current sheet is (sheet grain - part grain). A part is always tried
// at an angle its rule admits: "No Rotate" at the grain angle, "Sector" within its sector around the grain angle,
// "Sector+180" also within the opposite sector, "0-360" at the best template angles (on the grid of the job's
// delta angle from the grain angle when a delta is set), so no rule ever leaves a part without a trial angle.
#pragma once

#include "nesting/engine/rotation_rules.h"
#include "nesting/model/nesting_engine.h"

// The grain angle of the current group's part on the current sheet, radians in [0, 2*pi).
double GrainAngle(const CNestingEngine& engine);

// Sets the allowed sector (SectorStart, SectorEnd: the part's sector around the grain angle) and the fixed angle
// (the grain angle) of the current group from its part's rotation rule. Every reader of the two fields runs
// after this: the start-position functions call it themselves.
void SetGroupRotationRules(CNestingEngine& engine);

// The trial angle of attempt k of the main placement for the current group (the rules above; from attempt
// column 1 of the quality row on, random angles). Records the group's box size at its pose before the call in
// GroupWidth and GroupHeight. False only for a group without a part.
bool ChooseTrialAngle(CNestingEngine& engine, int k, bool landscape, double& angle);

// The trial angle of attempt k of the filling of a hole: as ChooseTrialAngle, but a freely turning part takes
// only its best angle and that angle turned by pi, and random sector angles start at column 4. Records nothing.
bool ChooseHoleTrialAngle(CNestingEngine& engine, int k, bool landscape, double& angle);

// Whether the current group may stand at `angle`: every member's rotation rule admits the angle the group's pose
// gives it (GroupMayLieAt).
bool IsAngleAllowed(const CNestingEngine& engine, double angle);
