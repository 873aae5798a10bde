// The nesting run: the parts of the loaded job placed on its sheets, one sheet after the other, each filled by
// OptimizeStock, after the pair arrangements, rotation templates and placement order are made.
#pragma once

#include <functional>

#include "nesting/model/nesting_engine.h"

// Called with the index of every finished sheet that received parts, as the run leaves it; the nesting command
// draws the sheet there, tests and the benchmark look at it.
using SheetProgress = std::function<void(int sheet)>;

// Places the parts of the loaded job on its sheets (the caller sets RectMode and HoleMode, and HalfPartGap and
// EdgeGap to 0). Prints a line per sheet; hands every sheet with parts to onSheet. Parts left over after the
// last sheet stay unplaced. A job beyond the engine's limits is refused with the limit's message and nothing is
// placed. StopRequested is asked before every placement: a stop keeps what is placed (the sheet being filled keeps
// its best pass so far), ends the run with a line that says how many parts are placed, and shows that sheet too.
// Answers 0.
int RunNesting(CNestingEngine& engine, const SheetProgress& onSheet = {});

// Makes OrderIndex and PartOrder anew and unplaces every part and stock instance. Answers OrderCount.
int ResetNestingRun(CNestingEngine& engine);

// Builds the 91 single (and, with a good pair, the 91 pair) templates of the type of instance OrderIndex[j] and
// their best landscape and portrait angles.
void BuildRotationTemplates(CNestingEngine& engine, int j);

// Fills PartOrder: higher Priority first, then the larger key (outer area, weighted down for long parts), then
// the earlier entry of the work list. Answers OrderCount.
int OrderPartInstances(CNestingEngine& engine);
