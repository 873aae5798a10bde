// Filling one sheet in repeated passes: every pass places the unplaced parts anew inside a usable rectangle that
// shrinks toward the parts between passes, the best pass is kept, and at the end it becomes the sheet's layout.
#pragma once

#include "nesting/model/nesting_engine.h"

// Passes of one sheet at most. The phases end on their own after a few failed passes; a run of passes that keep
// improving by ever smaller steps stops here.
inline constexpr int kMaxPassesPerSheet = 200;

// How well a pass used the sheet.
struct PassMeasures {
    int count = 0;            // parts on the sheet (clamps not counted)
    double placedArea = 0.0;  // their types' Area summed
    double XE = 0.0;          // largest committed maxX and maxY of those parts
    double YE = 0.0;
    double KIsp = 0.0;        // placed area over the sheet's Area
    double SS = 0.0;          // area of the used extent from the usable area's min corner
    double SKIsp = 0.0;       // placed area over SS (not a number for an empty pass)
    double SSG = 0.0;         // free area right of the used extent
    double SSV = 0.0;         // free area above the used extent
};

// The kept placement of a sheet.
struct SheetResult {
    int count = 0;  // parts and clamps
    double placedArea = 0.0;
    double KIsp = 0.0;
    double XE = 0.0;
    double YE = 0.0;
};

// Whether the run is to stop: asks StopRequested once until it says yes, then RunStopped holds the answer.
bool RunStopAsked(CNestingEngine& engine);

// Fills sheet k (a stock instance index) with the unplaced parts and leaves the best pass as its layout; the
// stock instance receives the result (Placed when it holds more than clamps). A stop asked for ends the pass at
// its next placement: the best pass kept stays, or, in the first pass, what that pass has placed. Answers 0.
int OptimizeStock(CNestingEngine& engine, int k, SheetResult& result);

// Measures the current pass on sheet k (the sheet's max corner for the free areas).
PassMeasures MeasurePass(const CNestingEngine& engine, int k, double sheetMaxX, double sheetMaxY);

// 0 when the pass is better than the engine's best layout by NestingOptimizationOption (larger placed area
// first; then option 0 larger SKIsp, 1 smaller SS, 2 larger SSG then SSV, 3 larger SSV then SSG), else 1.
int CompareWithBestLayout(const CNestingEngine& engine, double area, double SKIsp, double SSG, double SSV, double SS);

// Unplaces every part instance (not clamps) that lies on sheet k or on none; every instance when k is -1.
void ClearStockParts(CNestingEngine& engine, int k);

// Keeps the pass as the sheet's best layout (the part and clamp instances on sheet k with their trial poses,
// within kBestLayoutCapacity) and then unplaces every instance on sheet k or on none, clamps included.
void SaveBestLayout(CNestingEngine& engine, const PassMeasures& pass, int k);

// Unplaces the instances on the best layout's sheet (or on none), then puts the kept instances back (posed in
// parallel). Answers the kept count; the result receives the kept measures.
int RestoreBestLayout(CNestingEngine& engine, SheetResult& result);

// Nests the parts from position j of PartOrder on into the holes of the parts placed on the sheet, from the
// hole cursors on. 0 when at least one part went into a hole, else -1.
int FillHoles(CNestingEngine& engine, int j);
