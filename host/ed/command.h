// Running commands: as the user types them, and from a module with an argument list.
//
// Every top-level command is one undo step in the drawing that was current when it started: what it did, and what
// the commands it ran did, goes back with one undo. A command run by a running command (through command(), or
// typed transparently at a prompt) is part of that step. A command whose body throws is stopped at the command
// boundary: the host reports it, and a top-level command's step is undone (a nested one answers RTERROR to its
// caller; what it changed stays part of the running command's step). Commands flagged CMD_NOUNDOMARKER make no
// step of their own.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/resbuf.h"

namespace host::app { struct Module; }

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
// Answers left when the command has ended start the next command, as they would at the command prompt: the list
// "_.LINE" "0,0" "1,1" "" "_.ZOOM" "_E" runs both; Enter items between commands do nothing. The first command
// that does not answer RTNORM ends the list with its status. A name of spaces only (" ") does nothing: no command
// is ever left waiting for input, so there is nothing for it to end. Works from a module's message handler too
// (outside any command): the command is then a top-level one.
int command(const db::ResBufList& args);

// Runs one line the user typed at the command prompt (a command name; its answers are then read from the input).
// Enter on an empty line repeats the last command, as a host does. A leading "'" is ignored at the command
// prompt. A space ends the name, as it does at a host's command line: the words after it are the first answers
// ("ZOOM E" answers "E" to ZOOM's first prompt). Answers as command().
int runTypedCommand(std::string_view line);

// The reader loop of a run: shows "Command: ", reads lines from the input and runs them until the input ends or
// QUIT is run (requestQuit). Answers true when the input ran to its end (or QUIT); false when a script stopped
// early, with the reason in `stopReason` (for the caller to report):
//   - the script ended while a command waited for an answer (that command is cancelled first);
//   - a line of the script named an unknown command;
//   - a line answering a dialog, a message box or a file dialog could not be taken (stopScript, answers.h).
// The reason names the script line: "run.scr, line 7: the input ended while LINE (started at run.scr, line 5)
// waited for an answer to \"Specify next point:\"". At the terminal neither stops the run early: the person
// reads the message and types again, and the end of input there (Ctrl-D) cancels a waiting command and ends the
// run as QUIT would.
bool runCommandLoop(std::string* stopReason = nullptr);

// Ends runCommandLoop after the command that is running now (the QUIT command calls it).
void requestQuit();

// The next word typed after a command's name on its line ("HELP NCOrder" gives "NCOrder"), taken so it answers no
// prompt; nullopt when none is left. For a command that takes an optional word without asking for it.
std::optional<std::string> takeTypedWord();

// A command body tells how it ended when that was not its normal end: RTERROR (it failed: a wrong argument,
// nothing to act on) or RTCAN (it gave up). command() answers the worst result set during the command.
void setCommandResult(int status);

// Names of the running commands, outermost first, joined by "'" (CMDNAMES).
std::string runningCommandNames();
bool isCommandActive();

// True while a command runs from a module's argument list (command()) with CMDECHO 0: such a command keeps its
// routine progress to itself ("1 found", "No constraints to remove."), since the module that runs it reports
// what the user needs to know. Its refusals and failures are still told.
bool isQuietCommand();
// True while a command registered by `module` runs (its code is on the stack: it must not be unloaded).
bool isModuleCommandRunning(const app::Module* module);

}  // namespace host::ed
