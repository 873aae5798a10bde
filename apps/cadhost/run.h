// One run of cadhost: set up the host, open the drawings, save and render the current one.
#pragma once

#include <ostream>

#include "apps/cadhost/arguments.h"

namespace cadhost {

// Exit statuses of the program.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;    // a drawing could not be read, or a file could not be written
inline constexpr int kExitUsage = 2;     // a mistake on the command line, or a request this build cannot do

// Runs the program for parsed arguments. What it wrote goes to `out`, every failure to `err` as one line
// "cadhost: <what failed>". Nothing is written once a drawing fails to open; a failed save leaves the old file.
int run(const Arguments& arguments, std::ostream& out, std::ostream& err);

}  // namespace cadhost
