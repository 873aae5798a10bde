// What the host commands share: registration, selections, small questions, failure messages.
#include "host/ed/commands/command_support.h"

#include "host/ed/answers.h"
#include "host/ed/command.h"
#include "host/ed/command_stack.h"
#include "host/ed/commands/host_commands.h"
#include "host/ed/prompts.h"
#include "host/ed/selection.h"
#include "host/ed/transcript.h"

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

std::optional<int> askIntInRange(std::string_view prompt, int lo, int hi, int fallback) {
    while (true) {
        int value = fallback;
        const int status = getInt(prompt, value);
        if (status == db::RTNONE) return fallback;
        if (status != db::RTNORM) return std::nullopt;
        if (value >= lo && value <= hi) return value;
        const std::string complaint =
            "Requires an integer between " + std::to_string(lo) + " and " + std::to_string(hi) + ".";
        if (answeringFromArguments()) {
            fail(complaint);
            return std::nullopt;
        }
        print("\n" + complaint);
        retryFromInput();
    }
}

std::string counted(std::size_t n, std::string_view singular, std::string_view plural) {
    return std::to_string(n) + " " + std::string(n == 1 ? singular : plural);
}

}  // namespace host::ed::commands
