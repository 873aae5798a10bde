// Running commands: as the user types them, and from a module with an argument list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/db/resbuf.h"

namespace host::ed {

// The pause token: an argument "\" takes that answer from the user (the run's input) instead.
inline constexpr std::string_view kPauseToken = "\\";

// Runs a command from a module, synchronously, with its answers: args[0] is the command name (RTSTR), the rest are
// answers (RTSTR, RTREAL, RTSHORT, RTLONG, RTPOINT, RT3DPOINT, RTENAME, RTPICKS with a selection-set name), an
// RTNONE item or the end of the list ends them. An RTSTR "" answers Enter. When the answers run out:
//   - at a selection prompt, the selection ends (as an empty answer would);
//   - at any other prompt the command is cancelled and command() answers RTCAN.
// An unknown command prints the host's message ("Unknown command "X".  Press F1 for help.") and answers RTERROR.
// Answers RTNORM when the command ran to its end with every answer used, RTCAN when it was cancelled, RTERROR
// when it failed.
int command(const db::ResBufList& args);

// Runs one line the user typed at the command prompt (a command name; its answers are then read from the input).
// Enter on an empty line repeats the last command, as a host does. Answers as command().
int runTypedCommand(std::string_view line);

// The reader loop of a run: reads lines from the input and runs them until the input ends. Answers true when the
// input ran to its end with no command cancelled for want of input.
bool runCommandLoop();

// Names of the running commands, outermost first, joined by "'" (CMDNAMES).
std::string runningCommandNames();
bool isCommandActive();

}  // namespace host::ed
