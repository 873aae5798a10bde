// What the host commands share: registration, selections, small questions, failure messages.
#include "host/ed/commands/command_support.h"

#include "host/ed/answers.h"
#include "host/ed/command.h"
#include "host/ed/command_stack.h"
#include "host/ed/commands/host_commands.h"
#include "host/ed/prompt_parse.h"
#include "host/ed/prompts.h"
#include "host/ed/selection.h"
#include "host/ed/transcript.h"
#include "host/sys/number_text.h"

namespace host::ed::commands {

void addHostCommand(const char* name, int flags, std::function<void()> body) {
    commandStack().add({kHostCommandGroup, name, name, flags, std::move(body)});
}

db::Database* drawing() {
    db::Database* db = db::workingDatabase();
    if (!db) fail("No drawing is open.");
    return db;
}

void fail(std::string_view message) {
    print("\n" + std::string(message));
    setCommandResult(db::RTERROR);
}

std::optional<std::vector<db::ObjectId>> selectObjects() {
    db::EntityName set;
    if (ssGet("", nullptr, nullptr, nullptr, set) != db::RTNORM) return std::nullopt;
    std::vector<db::ObjectId> ids = selectionIds(set);
    ssFree(set);
    if (ids.empty()) return std::nullopt;
    return ids;
}

bool answered(int status) { return status == db::RTNORM; }

std::optional<std::string> askKeyword(std::string_view prompt, std::string_view keywords,
                                      std::string_view defaultKeyword) {
    initGet(0, keywords);
    std::string keyword;
    const int status = getKeyword(prompt, keyword);
    if (status == db::RTNONE) return std::string(defaultKeyword);
    if (status != db::RTNORM) return std::nullopt;
    return keyword;
}

std::optional<bool> askYesNo(std::string_view prompt, bool defaultYes) {
    const auto keyword = askKeyword(prompt, "Yes No _Yes No", defaultYes ? "Yes" : "No");
    if (!keyword) return std::nullopt;
    return *keyword == "Yes";
}

namespace {

// The loop of the checked questions: `take` turns an answer into a value or refuses it.
template <class T>
Checked<T> askUntilTaken(std::string_view prompt, std::string_view complaint,
                         const std::function<std::optional<T>(const db::ResBuf&)>& take) {
    while (true) {
        // Asked through nextAnswer, not the typed prompts: whether a refused answer fails the command or is asked
        // again depends on where that answer came from (an argument, or the user through a pause token).
        const Answer answer = nextAnswer(prompt);
        if (answer.kind == Answer::Kind::Enter) return {db::RTNONE, {}};
        if (answer.kind != Answer::Kind::Value) return {db::RTCAN, {}};
        if (std::optional<T> value = take(answer.value)) return {db::RTNORM, *value};
        if (answer.fromArguments) {
            fail(complaint);
            return {db::RTERROR, {}};
        }
        print("\n" + std::string(complaint));
        retryFromInput();
    }
}

}  // namespace

Checked<double> askNumberChecked(std::string_view prompt, std::string_view complaint,
                                 const std::function<std::optional<double>(const db::ResBuf&)>& take) {
    return askUntilTaken<double>(prompt, complaint, take);
}

Checked<ge::Point3d> askPointChecked(std::string_view prompt, const ge::Point3d& relativeTo,
                                     std::string_view complaint,
                                     const std::function<bool(const ge::Point3d&)>& accept) {
    return askUntilTaken<ge::Point3d>(prompt, complaint, [&](const db::ResBuf& rb) -> std::optional<ge::Point3d> {
        std::optional<ge::Point3d> p;
        if (rb.code == db::RTPOINT || rb.code == db::RT3DPOINT) p = rb.point();
        else if (rb.code == db::RTSTR) p = detail::parsePoint(rb.str(), relativeTo);
        if (p && accept(*p)) return p;
        return std::nullopt;
    });
}

std::optional<int> askIntInRange(std::string_view prompt, int lo, int hi, int fallback) {
    const std::string complaint =
        "Requires an integer between " + std::to_string(lo) + " and " + std::to_string(hi) + ".";
    const Checked<double> answer = askNumberChecked(prompt, complaint, [&](const db::ResBuf& rb) {
        std::optional<double> value;
        if (rb.code == db::RTSHORT || rb.code == db::RTLONG) {
            value = double(rb.integer());
        } else if (rb.code == db::RTSTR) {
            const auto parsed = sys::parseInteger(detail::trimSpaces(rb.str()));
            if (parsed.ok()) value = double(parsed.value);
        }
        if (value && (*value < lo || *value > hi)) value.reset();
        return value;
    });
    if (answer.status == db::RTNONE) return fallback;
    if (answer.status != db::RTNORM) return std::nullopt;
    return int(answer.value);
}

std::string counted(std::size_t n, std::string_view singular, std::string_view plural) {
    return std::to_string(n) + " " + std::string(n == 1 ? singular : plural);
}

}  // namespace host::ed::commands
