// The module's command group: every command with its names, the frame its work runs in, and its work.
#pragma once

#include <span>

#include "laser/frame/command_frame.h"

// The group all the module's commands are registered in.
inline constexpr const char* kLaserCommandGroup = "VESKLaser";
// Every command is transparent: the host may start one while another waits for input.
inline constexpr int kLaserCommandFlags = 0x1;

// One command of the group.
struct LaserCommand {
    const char* localName;   // what the user types
    const char* globalName;  // the language-independent name
    CommandFrame frame;      // the steps around the work
    void (*work)();          // the command's own work; null for a command not built in this version
};

// The group's commands, in the order they are registered.
std::span<const LaserCommand> LaserCommandTable();

// Runs a command: its work inside its frame. A command whose work is not built says so in one line, inside the
// same frame.
void RunLaserCommand(const LaserCommand& command);

// Adds every command of the table to the host's command stack (results not looked at: a name the host refuses
// stays unregistered). Removes them all again by group and global name.
void RegisterLaserCommands();
void RemoveLaserCommands();
