// The module's command group: every command with its names, flags, the frame it runs in and its work.
#pragma once

#include <span>

#include "nesting/frame/nesting_state.h"

// The group all the module's commands are registered in.
inline constexpr const char* kNestingCommandGroup = "veskNesting";

// One command of the group.
struct NestingCommand {
    const char* localName;   // what the user types
    const char* globalName;  // the language-independent name
    int flags;               // the host's command flags
    bool clearStatusLine;    // "modemacro" emptied before the work
    bool keepEnvironment;    // the work runs between SaveDrawingEnvironment and RestoreDrawingEnvironment
    void (*work)(CNestingState& state);  // null for a command that comes in a later version
    // A manual part command: it works on the sheet in the drawing, and first makes the job follow that sheet
    // (or says why it cannot work there).
    bool onDrawnSheet = false;
};

// The group's commands, in the order they are registered.
std::span<const NestingCommand> NestingCommandTable();

// Runs a command on the module's state: its work inside its frame; a command whose work is not built says so in
// one line. An error that escapes the work is told on the command line and ends the command.
void RunNestingCommand(const NestingCommand& command, CNestingState& state);

// Adds every command of the table to the host's command stack; removes them again.
void RegisterNestingCommands();
void RemoveNestingCommands();
