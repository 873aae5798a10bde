// What the host commands share (inside host/ed/commands only): registering a command, asking for a selection,
// points, numbers and yes/no answers, and ending a command with a message and a failure status.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/database.h"
#include "host/ge/point.h"

namespace host::ed::commands {

// Adds a host command under the group "HOST", its global and local names the same.
void addHostCommand(const char* name, int flags, std::function<void()> body);

// The drawing the commands act on (the working database); prints the host's message and fails the command when
// there is none.
db::Database* drawing();

// Prints `message` (on a line of its own) and ends the command with a failure status (RTERROR).
void fail(std::string_view message);

// The user's selection with the host's "Select objects: " prompt (entity names, sets, "_L", "_ALL", "_G" name,
// windows ... from a module's arguments). nullopt when it was cancelled or nothing was selected.
std::optional<std::vector<db::ObjectId>> selectObjects();

// A prompt's status that lets the command go on: RTNORM (and RTNONE where Enter has a meaning, which the caller
// tests first). Any other status (Esc, a refused argument) has already marked the command.
bool answered(int status);

// Asks a question with keywords offered (initGet(0, keywords)) and answers the keyword's global form; Enter
// answers `defaultKeyword`. nullopt when cancelled or refused.
std::optional<std::string> askKeyword(std::string_view prompt, std::string_view keywords,
                                      std::string_view defaultKeyword);

// Asks Yes or No; Enter answers `defaultYes`.
std::optional<bool> askYesNo(std::string_view prompt, bool defaultYes);

// Asks until `take` accepts an answer (a value from a module's arguments or the text the user typed; it answers
// nullopt to refuse). A refused answer prints `complaint` and is asked again when the user gave it, and fails the
// command (RTERROR) when it came from a module's arguments. Answers RTNORM with the value, RTNONE on Enter, RTCAN
// when cancelled (the command is marked), RTERROR when refused from the arguments.
template <class T>
struct Checked {
    int status = 0;
    T value{};
};
Checked<double> askNumberChecked(std::string_view prompt, std::string_view complaint,
                                 const std::function<std::optional<double>(const db::ResBuf&)>& take);
Checked<ge::Point3d> askPointChecked(std::string_view prompt, const ge::Point3d& relativeTo,
                                     std::string_view complaint,
                                     const std::function<bool(const ge::Point3d&)>& accept);

// Asks for an integer in [lo, hi]; Enter answers `fallback`. nullopt when cancelled or refused from arguments.
std::optional<int> askIntInRange(std::string_view prompt, int lo, int hi, int fallback);

// Text for messages: a count with its noun ("1 block", "2 blocks").
std::string counted(std::size_t n, std::string_view singular, std::string_view plural);

}  // namespace host::ed::commands
