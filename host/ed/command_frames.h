// Inside the editor: the commands running now and where their answers come from, shared by the command runner
// (command.cpp) and the answers to prompts (answers.cpp). Not for modules.
#pragma once

#include <cstddef>
#include <deque>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/resbuf.h"

namespace host::app { struct Module; }

namespace host::ed::detail {

// The answers of a command() call, after the command name: shared by the commands of one call, in turn.
struct ArgumentList {
    db::ResBufList items;
    std::size_t next = 0;
    bool ended = false;  // the list ran out (or met RTNONE) at a prompt: later prompts get no more answers
};

struct RunningCommand {
    std::string name;                     // upper-case global name, as CMDNAMES shows it
    int flags = 0;
    const app::Module* module = nullptr;  // null for the host's own commands
    ArgumentList* arguments = nullptr;    // set when run by command(): its prompts are answered from the list
    int result = db::RTNORM;
    std::string startedAt;                // the input's position when it started, for messages
};

// Outermost first.
std::vector<RunningCommand*>& runningCommands();
RunningCommand* innermostCommand();
// Keeps the worse of the command's result and `status`: RTERROR over RTCAN over RTNORM.
void noteResult(RunningCommand& command, int status);

// The input ended while a command waited for an answer. The first time is kept for runCommandLoop's message.
struct InputEnd {
    bool happened = false;
    std::string command;    // the command that waited ("" at a prompt outside any command)
    std::string prompt;     // its prompt, trimmed
    std::string startedAt;  // where the command started
    std::string position;   // where the input ended
    std::size_t answersSince = 0;
};
InputEnd& inputEnd();

// Why a script stopped early where a reader other than a prompt met a line it could not take (stopScript); empty
// while it runs on. Kept for runCommandLoop's message.
std::string& scriptStop();

// A command that keeps asking after the input has ended would never finish: after this many more answers the
// prompt throws InputExhausted, which stops the command at its boundary.
inline constexpr std::size_t kMaxAnswersAfterInputEnd = 1000;
struct InputExhausted : std::runtime_error {
    InputExhausted() : std::runtime_error("it kept asking for answers after the input had ended") {}
};

// Words typed after the command name at the command prompt: the next answers, before the input is read again.
std::deque<std::string>& pendingWords();

// Set by retryFromInput(): the next answer comes from the input. Cleared when a command starts or ends, so a
// prompt that asked for a retry and then gave up leaves nothing behind for another command.
bool& retryingFromInput();

// Runs a command typed with a leading "'" at a prompt (the "'" already taken off). A command without the
// transparent flag, or an unknown one, is refused with the host's message.
void runTransparentCommand(std::string_view typed);

// The prompt text without its leading line breaks and trailing spaces, for messages.
std::string promptForMessage(std::string_view prompt);

}  // namespace host::ed::detail
