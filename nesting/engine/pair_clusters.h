// Pair clusters: how two copies of one part type fit best side by side, ranked into the type's PairVariants
// before the placement passes of a run.
#pragma once

#include "host/ge/point.h"
#include "nesting/model/nesting_engine.h"

// Where the second part of a pair lies relative to the first.
enum class PairSide : int {
    Right = 0,
    Left = 1,
    Above = 2,
    Below = 3,
};

// Answers of TryPairArrangement.
inline constexpr int kPairTrialDone = 0;
// The second part still meets the first at the end of its approach, or passed it without ever touching.
inline constexpr int kPairTrialFailed = 1;

// Score of a trial that found no arrangement.
inline constexpr double kPairTrialNoScore = -100.0;
// Offsets tried along the touching side: 0, then +-i * step for i = 1 ... 11.
inline constexpr int kPairOffsetSteps = 11;
// The offset step is the part's width (or height) over this.
inline constexpr double kPairOffsetDivisor = 24.0;
// Gap between the two parts of a pair: millimetres and inches.
inline constexpr double kPairGapMillimetres = 0.1;
inline constexpr double kPairGapInches = 0.01;

// Clears HasPairs and the used flag of all PairVariants of part type `type` (index into PartTypes), or of every
// part type when type is -1; PairVariantCount keeps its value. Answers 0, or -1 for a type index outside the job
// (nothing is cleared then).
int ClearPairVariants(CNestingEngine& engine, int type);

// Finds one pair of instances per part type with at least two copies (the first two of the type's first run of
// consecutive instances in OrderIndex, or in index order when OrderIndex is not made yet) and evaluates the pairs
// in one parallel loop, one type per iteration. Does nothing when UseCluster is 0. Answers 0.
int BuildPairVariants(CNestingEngine& engine);

// Evaluates the pair of part instances a and b (two copies of one type): eight arrangements of b against a
// (right, left, above, below, each unturned and turned by pi) over 23 offsets each, ranked by the ratio of the
// pair's box area to twice the single part's box area into the type's PairVariants. With UseCluster 0 the type's
// PairVariantCount becomes 0 and nothing else changes. An arrangement without any trial that found a place is not
// kept; a type without an outer contour gets no variant. Writes the trial poses of a and b as scratch space.
// Answers 0, or -1 when a or b is not a part instance with a type (nothing is written then).
int EvaluatePair(CNestingEngine& engine, int a, int b);

// One trial: poses b (outer contours only) with `rotation` and contour set `set` against a's trial pose (posed
// before by the caller) on `side`, at the offset that `position` holds along that side, and lets it approach a
// until it is one pair gap from contact. On kPairTrialDone `position` is b's final position and `score` the area
// of the box around both parts; on kPairTrialFailed the score is kPairTrialNoScore and `position` is unchanged.
int TryPairArrangement(CNestingEngine& engine, int a, int b, int set, double rotation, PairSide side,
                       host::ge::Point2d& position, double& score);
