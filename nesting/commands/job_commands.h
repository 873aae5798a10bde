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

// Answers of LoadJobThroughDialog.
inline constexpr int kJobDialogLeft = -2;

// One job load through the job dialog: the dialog opens with LastFileNesting, the full gaps ("%4.2f") and the
// installation folder. Anything but OK answers kJobDialogLeft and changes nothing. OK has written the job file
// (the dialog's OK returns only then): LastFileNesting and LastDirNestDWG are kept and the file is loaded as
// LoadJobFromFile does, answering its answer.
int LoadJobThroughDialog(CNestingState& state);

// OpenFileNesting: one job load through the job dialog. No run.
void CommandOpenFileNesting(CNestingState& state);

// StartNestingAdv (holes: the UseHole setting) and StartNestingRect (no hole nesting, rectangular): while no job
// is loaded the job dialog opens (leaving it with anything but OK ends the command without a run; an OK whose
// job gives no sheets or no parts opens it again); then runs the engine with the gaps at 0, prints the time,
// draws the first sheet and shows the report.
void CommandStartNesting(CNestingState& state, bool rectangular);
