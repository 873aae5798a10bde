// Answers to prompts: from the argument list of the command a module runs, else from the run's input, with the
// transcript showing each prompt and what answered it.
#include "host/ed/answers.h"

#include <utility>

#include "host/ed/command.h"
#include "host/ed/command_frames.h"
#include "host/ed/input.h"
#include "host/ed/sysvars.h"
#include "host/ed/transcript.h"
#include "host/sys/number_text.h"

namespace host::ed {
namespace {

using detail::innermostCommand;

constexpr std::string_view kCancelEcho = "*Cancel*";

bool isBlank(std::string_view s) {
    return s.find_first_not_of(' ') == std::string_view::npos;
}

// An argument as a user would have typed it, for the transcript.
std::string echoText(const db::ResBuf& item) {
    switch (item.code) {
        case db::RTSTR: return item.str();
        case db::RTREAL:
        case db::RTANG:
        case db::RTORINT: return sys::formatShortest(item.real());
        case db::RTSHORT:
        case db::RTLONG:
        case db::RTINT64: return std::to_string(item.integer());
        case db::RTPOINT: {
            const ge::Point3d p = item.point();
            return sys::formatShortest(p.x) + "," + sys::formatShortest(p.y);
        }
        case db::RT3DPOINT: {
            const ge::Point3d p = item.point();
            return sys::formatShortest(p.x) + "," + sys::formatShortest(p.y) + "," + sys::formatShortest(p.z);
        }
        case db::RTENAME:
            return sys::formatC("<Entity name: %llx>", static_cast<unsigned long long>(item.name().word[1]));
        case db::RTPICKS: return sys::formatC("<Selection set: %lld>", static_cast<long long>(item.name().word[0]));
        default: return "<" + std::to_string(item.code) + ">";
    }
}

// Shows the prompt and takes the next line: words left from the command line first, then the input. Nothing is
// echoed yet.
std::optional<std::string> readRaw(std::string_view prompt) {
    print(prompt);
    auto& words = detail::pendingWords();
    if (!words.empty()) {
        std::string word = std::move(words.front());
        words.pop_front();
        return word;
    }
    return input().readLine(prompt);
}

void echoTyped(std::string_view line) {
    // Words from the command line were typed on that line, not after this prompt: show them here.
    transcript().appendTyped(line, input().showsTyping());
}

// The input has ended at a prompt: the command that waited is cancelled, and the run will stop with a message.
void noteInputEnd(std::string_view prompt) {
    detail::InputEnd& end = detail::inputEnd();
    detail::RunningCommand* cmd = innermostCommand();
    if (cmd) detail::noteResult(*cmd, db::RTCAN);
    if (!end.happened) {
        end.happened = true;
        end.command = cmd ? cmd->name : std::string();
        end.prompt = detail::promptForMessage(prompt);
        end.startedAt = cmd ? cmd->startedAt : std::string();
        end.position = input().position();
        return;
    }
    if (++end.answersSince > detail::kMaxAnswersAfterInputEnd) throw detail::InputExhausted();
}

Answer fromInput(std::string_view prompt) {
    Answer answer;
    while (true) {
        const bool fromWords = !detail::pendingWords().empty();
        std::optional<std::string> line = readRaw(prompt);
        if (!line) {
            noteInputEnd(prompt);
            answer.kind = Answer::Kind::EndOfInput;
            return answer;
        }
        if (isOptionalBoxAnswer(*line)) {
            // Meant for a message box that did not come: passed over, and the prompt takes the next line.
            if (fromWords) transcript().appendTyped(*line, false);
            else echoTyped(*line);
            print("\n(No message box shows: the optional answer is passed over.)");
            print(prompt);
            continue;
        }
        if (auto optional = optionalAnswer(*line)) line = std::string(*optional);
        if (isCancelToken(*line)) {
            transcript().appendTyped(kCancelEcho, false);
            if (detail::RunningCommand* cmd = innermostCommand()) detail::noteResult(*cmd, db::RTCAN);
            answer.kind = Answer::Kind::Cancel;
            return answer;
        }
        if (fromWords) {
            transcript().appendTyped(*line, false);
        } else {
            echoTyped(*line);
        }
        if (line->size() > 1 && line->front() == '\'') {
            detail::runTransparentCommand(std::string_view(*line).substr(1));
            if (detail::inputEnd().happened) {
                noteInputEnd(prompt);
                answer.kind = Answer::Kind::EndOfInput;
                return answer;
            }
            if (const detail::RunningCommand* cmd = innermostCommand())
                print("\nResuming " + cmd->name + " command.");
            continue;
        }
        if (line->empty()) {
            answer.kind = Answer::Kind::Enter;
        } else {
            answer.kind = Answer::Kind::Value;
            answer.value = db::ResBuf(db::RTSTR, std::move(*line));
        }
        return answer;
    }
}

}  // namespace

Answer nextAnswer(std::string_view prompt, WhenArgumentsEnd whenEnd) {
    detail::RunningCommand* cmd = innermostCommand();
    const bool retry = std::exchange(detail::retryingFromInput(), false);
    if (!cmd || !cmd->arguments || retry) return fromInput(prompt);

    detail::ArgumentList& list = *cmd->arguments;
    if (!list.ended && list.next < list.items.size() && list.items[list.next].code != db::RTNONE) {
        db::ResBuf item = list.items[list.next++];
        if (item.code == db::RTSTR && item.str() == kPauseToken) return fromInput(prompt);
        if (getShort("CMDECHO", 1) != 0) {
            print(prompt);
            transcript().appendTyped(echoText(item), false);
        }
        Answer answer;
        answer.fromArguments = true;
        if (item.code == db::RTSTR && isBlank(item.str())) {
            answer.kind = Answer::Kind::Enter;
        } else {
            answer.kind = Answer::Kind::Value;
            answer.value = std::move(item);
        }
        return answer;
    }
    list.ended = true;
    if (whenEnd == WhenArgumentsEnd::CancelCommand) detail::noteResult(*cmd, db::RTCAN);
    Answer answer;
    answer.kind = Answer::Kind::EndOfArguments;
    answer.fromArguments = true;
    return answer;
}

void retryFromInput() {
    detail::retryingFromInput() = true;
}

bool answeringFromArguments() {
    const detail::RunningCommand* cmd = innermostCommand();
    return cmd && cmd->arguments && !cmd->arguments->ended;
}

std::optional<std::string> readInputLine(std::string_view prompt) {
    const bool fromWords = !detail::pendingWords().empty();
    std::optional<std::string> line = readRaw(prompt);
    if (!line) {
        noteInputEnd(prompt);
        return std::nullopt;
    }
    if (fromWords) {
        transcript().appendTyped(*line, false);
    } else {
        echoTyped(*line);
    }
    return line;
}

void stopScript(std::string why) {
    if (input().isInteractive()) return;
    if (detail::scriptStop().empty()) detail::scriptStop() = why.empty() ? std::string("the script stopped") : why;
    detail::pendingWords().clear();
    input().abandonRest();
}

bool scriptStopped() {
    return !detail::scriptStop().empty();
}

void giveBackInputLine(std::string line) {
    detail::pendingWords().push_front(std::move(line));
}

}  // namespace host::ed
