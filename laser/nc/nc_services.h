// What the cutting-path module's commands ask of the NC program writer, the cut simulation and the
// postprocessor runtime.
#pragma once

#include <filesystem>

// Writes the NC program of the current drawing's cutting path through the postprocessor chosen in the settings,
// after the program-creation dialog. The caller ignores the result.
int CreateNcProgram();

// Plays the cutting path: the whole path when `pathGroup` is 0, that one path group otherwise. The caller ignores
// the result.
int SimulateCutPath(int pathGroup);
// Plays the path as SimulateCutPath does; at a terminal, which shows no drawing and whose clock does not wait
// for the marker, then says what was played (the marker's steps, the time a screen took) and where to see it.
void PlayCutPath(int pathGroup);

// Loads the postprocessor named by the settings (`Postprocessor` in `DirPostprocessor`; the installation's
// "post" folder when no folder is set) into the runtime that NC output and the simulation use. 0 when it is
// loaded; otherwise the user has been told and the answer is non-zero.
int LoadPostprocessorRuntime();

// The postprocessor file is read and written on a PostprocessorSettings record: ReadPostprocessorFile and
// WritePostprocessorFile in laser/post/postprocessor_file.h. The editor sheet will pass its record to them.
