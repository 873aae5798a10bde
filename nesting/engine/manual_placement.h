// Placing one part instance by hand on a sheet of a finished run: from a given place, with the collision rules of
// a run (the exact way, without any test, is ApplyPartPose followed by CommitPartPose).
#pragma once

#include "nesting/model/nesting_engine.h"

// Places part instance `instance` on sheet k (a stock instance index) starting from (x, y, angle) in radians, as
// PlacePart places a part moved by the user: it slides into a free place from there, or from automatic start
// poses when that place is taken or the angle is one the part's rotation rule refuses (the automatic start poses
// take angles the rule admits), or is refused. The work state of the placement is set up for sheet k first
// (PlacedParts from the parts lying on it, CurrentStock, UsableArea and UsableSize from the sheet's box) and the
// part's area is judged against sheet k's size; every other setting keeps the last run's value. Answers
// PlacePart's result: non-negative when the part now lies on sheet k (trial and committed poses at the new
// place), negative when it does not (its poses are as PlacePart left them; the caller unplaces it), and -1 for a
// sheet or instance outside the job or a part that has no place in PartOrder. Needs the instances, their poses
// and PartOrder of a run.
int PlacePartManually(CNestingEngine& engine, int k, int& instance, double& x, double& y, double& angle);
