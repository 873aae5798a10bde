// "Open in the system's editor or viewer": every request is recorded, and a program set by the user is started.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace host::sys {

// Sets the program that opens files for the user (cadhost --open-with CMD). CMD is split into words at spaces
// and tabs; '...' and "..." group words (no other shell syntax). The path is passed as one more argument, never
// through a shell, so no character of a file name is interpreted. An empty command only records.
void setOpenCommand(std::string command);
std::string openCommand();

enum class OpenResult {
    Recorded,     // no program is set: the request is only recorded
    Started,      // the program was started (it runs on; the host does not wait for it)
    StartFailed,  // the program could not be started; `error` says why
};

// Records `path` and, when a program is set, starts it with the path. The program's input is /dev/null (it
// must not read the host's script) and it runs in its own session.
OpenResult openForUser(const std::filesystem::path& path, std::string* error = nullptr);

// The paths asked for so far, oldest first, and clearing that record (for tests).
std::vector<std::filesystem::path> openedForUser();
void clearOpenedForUser();

// Waits at most `timeout` for the programs started so far to end, and answers how many still run. Programs that
// ended are collected on every openForUser call too, so none is left a zombie for long.
std::size_t waitForStartedPrograms(std::chrono::milliseconds timeout);

// CMD split into words as setOpenCommand describes ("gedit --new-window" -> {"gedit", "--new-window"}).
std::vector<std::string> splitCommandWords(std::string_view command);

}  // namespace host::sys
