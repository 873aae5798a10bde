// The job commands: a nesting job loaded from a job file, and the nesting run on the loaded job with its first
// sheet drawn and its report shown.
#pragma once

#include <string>

#include "nesting/frame/nesting_state.h"

// Loads the job of the job file at `path`, as the job dialog's OK would with that file. The file is read and
// checked, and every drawing it names must be readable and hold stored contours (a stock none of the kinds a
// stock may not have), before anything changes: a problem is told and the loaded job, the drawing and
// LastFileNesting stay as they were (answer -1). Otherwise LastFileNesting becomes the path (and the registry's,
// when the product key exists), the material of the file is taken and saved, the drawing is cleared and its blocks
// purged, and the types' drawings are loaded with half the file's part gap and its edge offset less that half;
// the full values are put back afterwards. Answers 0 when the job has sheets and parts, -1 when its drawings
// failed to load (the job is then dropped whole, after the loader's message).
int LoadJobFromFile(CNestingState& state, const std::string& path);

// OpenFileNesting: asks for a job file (Enter takes LastFileNesting) and loads it. No run.
void CommandOpenFileNesting(CNestingState& state);

// StartNestingAdv (holes: the UseHole setting) and StartNestingRect (no hole nesting, rectangular): loads
// LastFileNesting when no job is loaded (without one, says the job dialog comes later and stops), runs the engine
// with the gaps at 0, prints the time, draws the first sheet and shows the report.
void CommandStartNesting(CNestingState& state, bool rectangular);
