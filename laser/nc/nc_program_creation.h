// NC program creation: the output file's default name, the start state of a program, the program written from
// the path groups in cut order, and the file written whole or not at all. CreateNcProgram (nc_services.h) asks
// the user for the file and the program header and runs these.
#pragma once

#include <filesystem>
#include <string>

#include "laser/nc/nc_emitters.h"

// The cutting-mode texts every run starts from: 0 "0", 1 to 5 "-1" to "-5", 6 "6", 7 "7", 8 "-8", 9 "-9", the
// rest empty; the lead text "-9".
void SetCuttingModeTexts(PostprocessorRuntime& runtime);

// The NC file name of a drawing file name: its extension replaced by `ext` ("part.dxf" and "cnc" give
// "part.cnc"; "part.v2.dxf" gives "part.v2.cnc"; a name without an extension, or one whose only point is its
// first character, gets ".ext" appended). An empty `ext` leaves the name without an extension.
std::string DefaultNcFileName(const std::string& drawingName, const std::string& ext);

// The start state of a program: the interpreter's start values (block number, no motion word, no arc centre,
// no compensation written), feed 0, the tool neither on nor off, Esc of an earlier simulation forgotten, NC
// output mode.
void StartNcProgram(NcRun& run);

// The program: StartPrgStr; every path group 1..pathGroupCount through the walker of the postprocessor (profile
// cutting when it says UseProfilesCut); the tool off; EndPrgStr and EndFileStr. With `hasJob` false (the drawing
// holds no job with contours) nothing at all. A number that is not finite stops the program where it is met:
// run.state.NonFinite is set, with the path group in run.nonFiniteGroup (0 before the first group).
void WriteNcProgramBody(NcRun& run, bool hasJob, int pathGroupCount);

// Starts the program and writes it into `path` with CR LF line ends, through a temporary file renamed over the
// target when the whole program is written: true; false with `error` saying why, the old file left as it was.
// A program stopped on a number that is not finite is not kept; `error` names the path group.
bool WriteNcProgramFile(const std::filesystem::path& path, NcRun& run, bool hasJob, int pathGroupCount,
                        std::string& error);
