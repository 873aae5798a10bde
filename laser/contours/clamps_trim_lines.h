// The machine aids a part drawing may carry: clamps, drawn as references of the block "Clamp", and trim lines,
// drawn as LINEs on layer "TrimLine". Their positions go into the cutting job for the NC program writer.
#pragma once

#include "host/db/ids.h"
#include "host/ge/point.h"

struct CuttingJob;

// The block whose references are clamps (exact name) and the layer of trim lines.
inline constexpr const char* kClampBlockName = "Clamp";
inline constexpr const char* kTrimLineLayer = "TrimLine";

// Records one clamp at `position` (z stored as 0). The first clamp sets clampCount to 1 (it stays 1 however many
// follow). A clamp whose x is not larger than the first clamp point's x takes the first place and pushes the old
// first point to the second; any other clamp overwrites the second point.
void RecordClamp(CuttingJob& job, const host::ge::Point3d& position);

// Records the clamps among the entities of `set`: block references whose block name is exactly "Clamp". Explodes
// nothing. Answers 0.
int ReadClampPositions(CuttingJob& job, const host::db::EntityName& set);

// Clears trimLineBits and records the LINEs of `set`: a vertical line (start x equal to end x, exactly) stores its
// ends as the vertical trim line and toggles kTrimLineVertical; a horizontal one (equal y) stores its ends as the
// horizontal trim line and toggles kTrimLineHorizontal. So an even number of lines of one direction leaves the
// bit clear with the ends of the last one stored; a line of zero length toggles both; a slanted line changes
// nothing. Answers 0.
int ReadTrimLines(CuttingJob& job, const host::db::EntityName& set);

// Reads both again from the working drawing without exploding anything: clampCount and trimLineBits are cleared,
// then every block reference and every LINE on "TrimLine" is recorded. Answers 0.
int ReadClampsAndTrimLines(CuttingJob& job);
// The same for the current drawing's job (nothing happens when the drawing has none). Answers 0.
int ReadClampsAndTrimLines();
