// -GROUP: named groups from the command line: create, explode, rename, add and remove members, selectability.
#include "host/ed/command.h"
#include "host/ed/commands/command_bodies.h"
#include "host/ed/commands/command_support.h"
#include "host/ed/commands/group_edit.h"
#include "host/ed/prompts.h"
#include "host/ed/transcript.h"

namespace host::ed::commands {

namespace {

// Group names and descriptions: texts of one line; longer ones are no names.
constexpr std::size_t kMaxGroupText = 4096;

std::optional<std::string> askText(std::string_view prompt, bool spaces) {
    std::string text;
    if (!answered(getString(spaces, prompt, text, kMaxGroupText))) return std::nullopt;
    return text;
}

// Reports an outcome that is not Done; answers whether it was Done.
bool report(GroupOutcome outcome, std::string_view name) {
    const std::string quoted = "\"" + std::string(name) + "\"";
    switch (outcome) {
    case GroupOutcome::Done: return true;
    case GroupOutcome::NotFound: fail("Group " + quoted + " not found."); break;
    case GroupOutcome::Exists: fail("Group " + quoted + " already exists."); break;
    case GroupOutcome::InvalidName: fail("Invalid group name " + quoted + "."); break;
    case GroupOutcome::Failed: fail("The group " + quoted + " could not be changed."); break;
    }
    return false;
}

void groupCommand() {
    db::Database* db = drawing();
    if (!db) return;
    const auto option = askKeyword("\nEnter a group option [Add/Remove/Explode/REName/Selectable/Create] <Create>: ",
                                   "Add Remove Explode REName Selectable Create _Add Remove Explode REName "
                                   "Selectable Create",
                                   "Create");
    if (!option) return;
    if (*option == "Create") {
        const auto name = askText("\nEnter a group name: ", false);
        if (!name || name->empty()) return;
        const auto description = askText("\nEnter a group description: ", true);
        if (!description) return;
        const auto ids = selectObjects();
        report(createGroup(*db, *name, *description, ids ? *ids : std::vector<db::ObjectId>()), *name);
        return;
    }
    if (*option == "REName") {
        const auto from = askText("\nEnter a group name to rename: ", false);
        if (!from || from->empty()) return;
        if (findGroup(*db, *from).isNull()) {
            report(GroupOutcome::NotFound, *from);
            return;
        }
        const auto to = askText("\nEnter a new name for group: ", false);
        if (!to || to->empty()) return;
        const GroupOutcome outcome = renameGroup(*db, *from, *to);
        report(outcome, outcome == GroupOutcome::NotFound ? *from : *to);
        return;
    }
    const auto name = askText("\nEnter a group name: ", false);
    if (!name || name->empty()) return;
    if (findGroup(*db, *name).isNull()) {
        report(GroupOutcome::NotFound, *name);
        return;
    }
    if (*option == "Explode") {
        report(explodeGroup(*db, *name), *name);
    } else if (*option == "Add" || *option == "Remove") {
        const auto ids = selectObjects();
        if (!ids) return;
        report(*option == "Add" ? addToGroup(*db, *name, *ids) : removeFromGroup(*db, *name, *ids), *name);
    } else if (*option == "Selectable") {
        const auto* group = dynamic_cast<const db::Group*>(db->peek(findGroup(*db, *name)));
        const bool now = group && group->isSelectable();
        const auto change = askYesNo(std::string("\nThis group is ") + (now ? "SELECTABLE" : "UNSELECTABLE") +
                                         ". Do you want to change it? [Yes/No] <Y>: ",
                                     true);
        if (change && *change) report(setGroupSelectable(*db, *name, !now), *name);
    }
}

}  // namespace

void registerGroupCommand() { addHostCommand("-GROUP", 0, groupCommand); }

}  // namespace host::ed::commands
