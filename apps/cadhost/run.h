// One run of cadhost: set up the host, open the drawings, load the modules, run the script or the command line,
// then save and render the current drawing.
#pragma once

#include <ostream>

#include "apps/cadhost/arguments.h"

namespace cadhost {

// Exit statuses of the program.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;    // a drawing, script or module could not be read or loaded, a file could
                                         // not be written, or the script stopped early
inline constexpr int kExitUsage = 2;     // a mistake on the command line

// Runs the program for parsed arguments. The command line's transcript goes to standard output as it is printed;
// what the program itself reports goes to `out`, every failure to `err` as one line "cadhost: <what failed>".
// Nothing is run once a drawing, the script or a module fails to open; a failed save leaves the old file, and a
// script that stopped early saves nothing (the file named by --save stays as it was).
int run(const Arguments& arguments, std::ostream& out, std::ostream& err);

}  // namespace cadhost
