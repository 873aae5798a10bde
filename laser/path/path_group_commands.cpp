// Path groups erased, deleted and renamed through the host's commands, with language-independent names.
#include "laser/path/path_group_commands.h"

#include <string>

#include "host/db/database.h"
#include "host/db/dictionary.h"
#include "host/db/resbuf.h"
#include "host/ed/command.h"

namespace {

using host::db::ResBuf;
using host::db::RTNORM;
using host::db::RTSTR;

int Run(std::initializer_list<std::string_view> words) {
    host::db::ResBufList args;
    for (std::string_view w : words) args.emplace_back(RTSTR, std::string(w));
    return host::ed::command(args);
}

void Report(int status, const TwoLanguageText* text) {
    if (status != RTNORM && text != nullptr) PrintLocalized(*text, status);
}

}  // namespace

bool PathGroupExists(std::string_view name) {
    const host::db::Database* db = host::db::workingDatabase();
    if (db == nullptr) return false;
    host::db::ObjectPtr<host::db::Dictionary> groups(db->groupDictionaryId(), host::db::OpenMode::Read);
    return groups && groups->has(name);
}

bool ErasePathGroup(std::string_view name, const PathGroupCommandTexts& texts) {
    Report(Run({"_.erase", "_G", name, ""}), texts.erase);
    Report(Run({"_.-group", "_E", name}), texts.explode);
    return !PathGroupExists(name);
}

int RenamePathGroup(std::string_view from, std::string_view to, const PathGroupCommandTexts& texts) {
    const int status = Run({"_.-group", "_REN", from, to});
    Report(status, texts.rename);
    return status;
}

bool PathGroupHasMember(std::string_view name, host::db::ObjectId member) {
    const host::db::Database* db = host::db::workingDatabase();
    if (db == nullptr || member.isNull()) return false;
    host::db::ObjectId groupId;
    {
        host::db::ObjectPtr<host::db::Dictionary> groups(db->groupDictionaryId(), host::db::OpenMode::Read);
        if (!groups) return false;
        groupId = groups->getAt(name);
    }
    host::db::ObjectPtr<host::db::Group> group(groupId, host::db::OpenMode::Read);
    return group && group->has(member);
}
