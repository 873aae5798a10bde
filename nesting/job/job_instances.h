// The sheets and part copies of a loaded job, made from its types, and their release before another job.
#pragma once

#include "nesting/model/nesting_engine.h"

// BuildInstances: makes StockInstances from the stock types and PartInstances from the part types (the clamp
// type last), each type repeated by its quantity (a quantity below 0 counts as 0), each array one record longer
// than its count. Every instance is unplaced, with a trial pose that holds its own copies of the type's inner and
// outer contours (and, for parts and clamps, its open contours) and an empty committed pose. The counts are set
// to the instances made. The previous instances are released first. Answers 0.
int BuildInstances(CNestingEngine& engine);

// Drops both instance arrays with their poses and everything of a run that names an instance (the sheet being
// filled, the parts on it, the placement order, the sheet shown); the counts become 0. The types stay.
void ReleaseJobInstances(CNestingEngine& engine);
