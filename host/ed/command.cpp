// Running commands: the command prompt's loop, commands typed by name, commands run by modules with their
// answers, transparent commands, the undo step of each command, and the stop of a run whose input ran out.
#include "host/ed/command.h"

#include <sstream>

#include "host/db/database.h"
#include "host/ed/answers.h"
#include "host/ed/command_frames.h"
#include "host/ed/command_stack.h"
#include "host/ed/input.h"
#include "host/ed/sysvars.h"
#include "host/ed/transcript.h"
#include "host/sys/text_case.h"

namespace host::ed {
namespace detail {

std::vector<RunningCommand*>& runningCommands() {
    static std::vector<RunningCommand*> commands;
    return commands;
}

RunningCommand* innermostCommand() {
    auto& commands = runningCommands();
    return commands.empty() ? nullptr : commands.back();
}

void noteResult(RunningCommand& command, int status) {
    auto rank = [](int s) { return s == db::RTERROR ? 2 : s == db::RTCAN ? 1 : 0; };
    if (rank(status) > rank(command.result)) command.result = status;
}

InputEnd& inputEnd() {
    static InputEnd end;
    return end;
}

std::string& scriptStop() {
    static std::string why;
    return why;
}

std::deque<std::string>& pendingWords() {
    static std::deque<std::string> words;
    return words;
}

bool& retryingFromInput() {
    static bool retrying = false;
    return retrying;
}

std::string promptForMessage(std::string_view prompt) {
    while (!prompt.empty() && (prompt.front() == '\n' || prompt.front() == '\r')) prompt.remove_prefix(1);
    while (!prompt.empty() && (prompt.back() == ' ' || prompt.back() == '\n' || prompt.back() == '\r'))
        prompt.remove_suffix(1);
    return std::string(prompt);
}

}  // namespace detail

namespace {

using detail::RunningCommand;


// The state of the command prompt between commands.
struct PromptState {
    std::string lastCommand;  // what Enter on an empty line repeats
    bool quit = false;
};
PromptState& promptState() {
    static PromptState state;
    return state;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The typed name without its "_" and "." prefixes, in capitals, as the host's messages show it.
std::string shownName(std::string_view typed) {
    while (!typed.empty() && (typed.front() == '_' || typed.front() == '.')) typed.remove_prefix(1);
    return sys::upperCase(typed);
}

const CommandInfo* lookupOrComplain(std::string_view typed) {
    const CommandInfo* info = commandStack().lookup(typed);
    if (!info) print("\nUnknown command \"" + shownName(typed) + "\".  Press F1 for help.");
    return info;
}

// Makes the command one undo step of the drawing that is the working one when it starts (or part of the step of
// the command that runs it), and ends that step on every way out, in that drawing even when the command switched
// to another one or closed it.
class CommandStep {
public:
    explicit CommandStep(int flags) {
        db::Database* db = (flags & CMD_NOUNDOMARKER) ? nullptr : db::workingDatabase();
        if (!db) return;
        serial_ = db->serial();
        owns_ = !db->inUndoStep();
        db->beginUndoStep();
        stepsAtStart_ = db->undoableSteps();
    }
    ~CommandStep() {
        if (db::Database* db = database()) db->endUndoStep();
    }
    CommandStep(const CommandStep&) = delete;
    CommandStep& operator=(const CommandStep&) = delete;

    // Takes back what the step did so far, when this command owns the step. Answers what happened, for the
    // message; "" when there was nothing to take back.
    std::string undo() {
        db::Database* db = database();
        if (!db || !owns_ || db->undoableSteps() <= stepsAtStart_) return {};
        const db::Status s = db->undo(1);
        if (s == db::Status::Ok) return " Its changes were undone.";
        return std::string(" Its changes could not be undone: ") + db::statusText(s) + ".";
    }

private:
    db::Database* database() const { return serial_ ? db::databaseBySerial(serial_) : nullptr; }

    std::uint64_t serial_ = 0;
    bool owns_ = false;
    int stepsAtStart_ = 0;
};

// Runs one command with its answers from `arguments` (command()) or from the input (nullptr), and answers its
// result. Nothing thrown by the body passes this point.
int execute(const CommandInfo& found, detail::ArgumentList* arguments) {
    const CommandInfo info = found;  // the stack may change while the command runs
    RunningCommand frame;
    frame.name = sys::upperCase(info.globalName);
    frame.flags = info.flags;
    frame.module = info.module;
    frame.arguments = arguments;
    frame.startedAt = input().position();

    auto& running = detail::runningCommands();
    running.push_back(&frame);
    detail::retryingFromInput() = false;
    std::string failure;
    {
        CommandStep step(info.flags);
        try {
            info.body();
        } catch (const std::exception& e) {
            failure = e.what();
        } catch (...) {
            failure = "an exception of unknown type";
        }
        // Only a command that threw has its step taken back: one that reports a failure itself has decided what
        // to leave, and one that was cancelled keeps what it finished (a host keeps the lines drawn before Esc).
        if (!failure.empty()) {
            const std::string undone = step.undo();
            print("\nThe command " + frame.name + " failed: " + failure + "." + undone);
            detail::noteResult(frame, db::RTERROR);
        }
    }
    running.pop_back();
    detail::retryingFromInput() = false;
    return frame.result;
}

std::string_view firstWord(std::string_view line) {
    return line.substr(0, line.find_first_of(" \t"));
}

// Splits the words after the command name at spaces; they answer the command's first prompts.
std::string_view takeWords(std::string_view line) {
    const std::size_t space = line.find_first_of(" \t");
    if (space == std::string_view::npos) return line;
    std::istringstream rest{std::string(line.substr(space + 1))};
    for (std::string word; rest >> word;) detail::pendingWords().push_back(word);
    return line.substr(0, space);
}

// Runs a line typed at the command prompt. `unknown` tells whether the name was unknown.
int runTyped(std::string_view line, bool* unknown) {
    if (unknown) *unknown = false;
    line = trimmed(line);
    std::string repeated;
    if (line.empty()) {
        if (promptState().lastCommand.empty()) return db::RTNORM;
        repeated = promptState().lastCommand;
        line = repeated;
    }
    if (line.front() == '\'') line.remove_prefix(1);
    const std::string_view name = takeWords(line);
    const CommandInfo* info = lookupOrComplain(name);
    if (!info) {
        detail::pendingWords().clear();
        if (unknown) *unknown = true;
        return db::RTERROR;
    }
    if (!(info->flags & CMD_NOHISTORY)) promptState().lastCommand = std::string(name);
    const int result = execute(*info, nullptr);
    auto& words = detail::pendingWords();
    if (!words.empty()) {
        std::string unused;
        for (const std::string& w : words) unused += (unused.empty() ? "" : " ") + w;
        print("\nThe rest of the command line was not used: " + unused);
        words.clear();
    }
    return result;
}

}  // namespace

namespace detail {

void runTransparentCommand(std::string_view typed) {
    // Words after the name ("'ZOOM E") answer the transparent command; those it does not use are dropped. No
    // other words are waiting: a line is read from the input only when the words of the last one are used up.
    const std::string_view name = takeWords(trimmed(typed));
    const CommandInfo* info = lookupOrComplain(name);
    if (info && !(info->flags & CMD_TRANSPARENT)) {
        print("\n** That command may not be invoked transparently **");
        info = nullptr;
    }
    if (info) execute(*info, nullptr);
    pendingWords().clear();
}

}  // namespace detail

int command(const db::ResBufList& args) {
    detail::ArgumentList list;
    list.items = args;
    int result = db::RTNORM;
    bool ranOne = false;
    while (!list.ended && list.next < list.items.size() && list.items[list.next].code != db::RTNONE) {
        const db::ResBuf& head = list.items[list.next++];
        if (head.code != db::RTSTR) {
            print("\nA command name was expected in the argument list, not an item of type " +
                  std::to_string(head.code) + ".");
            return db::RTERROR;
        }
        std::string_view name = trimmed(head.str());
        if (name.empty()) continue;  // Enter between commands
        if (name.front() == '\'') name.remove_prefix(1);
        const CommandInfo* info = lookupOrComplain(name);
        if (!info) return db::RTERROR;
        ranOne = true;
        result = execute(*info, &list);
        if (result != db::RTNORM) return result;
    }
    if (!ranOne && (args.empty() || args.front().code != db::RTSTR)) {
        print("\nA command needs its name as the first item of the argument list.");
        return db::RTERROR;
    }
    return result;
}

int runTypedCommand(std::string_view line) {
    return runTyped(line, nullptr);
}

bool runCommandLoop(std::string* stopReason) {
    promptState().quit = false;
    detail::inputEnd() = {};
    detail::scriptStop().clear();
    detail::pendingWords().clear();
    auto stop = [&](std::string reason) {
        if (stopReason) *stopReason = std::move(reason);
        promptState().quit = false;
        return false;
    };
    bool interruptedAtIdle = false;  // the last line at the command prompt was Ctrl-C
    while (!promptState().quit) {
        std::optional<std::string> line;
        print(kCommandPrompt);
        line = input().readLine(kCommandPrompt);
        if (!line && !detail::scriptStop().empty()) return stop(detail::scriptStop() + "; the script stops here");
        if (!line) break;  // the input ends at the command prompt: the run is done
        const std::string position = input().position();
        if (isCancelToken(*line)) {
            transcript().appendTyped("*Cancel*", false);
            // Ctrl-C twice with nothing running leaves, as QUIT does (it asks about unsaved drawings).
            if (input().lastWasInterrupt() && interruptedAtIdle) {
                interruptedAtIdle = false;
                runTyped("_.QUIT", nullptr);
            } else if (input().lastWasInterrupt()) {
                interruptedAtIdle = true;
                print("\n(Press Ctrl-C again to leave, or type QUIT.)");
            }
            continue;
        }
        interruptedAtIdle = false;
        transcript().appendTyped(*line, input().showsTyping());
        if (optionalAnswer(*line)) {
            // An answer to a question that was not asked this time: nothing to do.
            print("\n(Nothing asks: the optional answer is passed over.)");
            continue;
        }
        bool unknown = false;
        runTyped(*line, &unknown);
        if (!detail::scriptStop().empty()) return stop(detail::scriptStop() + "; the script stops here");
        const detail::InputEnd& end = detail::inputEnd();
        if (end.happened && input().isInteractive()) break;  // Ctrl-D: the waiting command was cancelled
        if (end.happened) {
            std::string reason = end.position + ": the input ended while ";
            reason += end.command.empty() ? std::string("a prompt") : end.command;
            if (!end.command.empty() && end.startedAt != end.position)
                reason += " (started at " + end.startedAt + ")";
            reason += " waited for an answer to \"" + end.prompt + "\"";
            return stop(std::move(reason));
        }
        if (unknown && !input().isInteractive())
            return stop(position + ": unknown command \"" + shownName(firstWord(trimmed(*line))) +
                        "\"; the script stops here");
    }
    promptState().quit = false;
    return true;
}

std::optional<std::string> takeTypedWord() {
    auto& words = detail::pendingWords();
    if (words.empty()) return std::nullopt;
    std::string word = std::move(words.front());
    words.pop_front();
    return word;
}

void requestQuit() {
    promptState().quit = true;
}

void setCommandResult(int status) {
    if (RunningCommand* cmd = detail::innermostCommand()) detail::noteResult(*cmd, status);
}

std::string runningCommandNames() {
    std::string names;
    for (const RunningCommand* c : detail::runningCommands()) {
        if (!names.empty()) names += '\'';
        names += c->name;
    }
    return names;
}

bool isQuietCommand() {
    const RunningCommand* cmd = detail::innermostCommand();
    return cmd && cmd->arguments && getShort("CMDECHO", 1) == 0;
}

bool isCommandActive() {
    return !detail::runningCommands().empty();
}

bool isModuleCommandRunning(const app::Module* module) {
    if (!module) return false;
    for (const RunningCommand* c : detail::runningCommands()) {
        if (c->module == module) return true;
    }
    return false;
}

}  // namespace host::ed
