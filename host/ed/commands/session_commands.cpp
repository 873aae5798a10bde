// MENULOAD, MENUUNLOAD, WSCURRENT and MODEMACRO: the session's menus, workspace and status line; HELP (and "?"):
// the commands a user can type.
#include <algorithm>
#include <string>
#include <vector>

#include "host/ed/command.h"
#include "host/ed/command_stack.h"
#include "host/ed/commands/command_bodies.h"
#include "host/ed/commands/command_support.h"
#include "host/ed/commands/help_entries.h"
#include "host/ed/commands/host_commands.h"
#include "host/ed/commands/menu_model.h"
#include "host/ed/document_commands.h"
#include "host/ed/prompts.h"
#include "host/ed/sysvars.h"
#include "host/ed/transcript.h"
#include "host/sys/file_read.h"

namespace host::ed {

namespace {

constexpr std::size_t kMaxMenuName = 4096;
constexpr std::string_view kDefaultWorkspace = "Drafting";

std::string& workspace() {
    static std::string name(kDefaultWorkspace);
    return name;
}

}  // namespace

std::string currentWorkspace() { return workspace(); }

namespace commands {

namespace {

std::optional<std::string> askName(std::string_view prompt) {
    std::string name;
    if (!answered(getString(true, prompt, name, kMaxMenuName))) return std::nullopt;
    if (name.empty()) return std::nullopt;
    return name;
}

MenuModel* menusOrFail() {
    MenuModel* menus = menuApplication();
    if (!menus) fail("The menus are not available.");
    return menus;
}

// MENULOAD: a menu file by name or path (see findMenuFile); its group must not be loaded already.
void menuLoadCommand() {
    const auto name = askName("\nEnter name of menu file to load: ");
    if (!name) return;
    MenuModel* menus = menusOrFail();
    if (!menus) return;
    const auto file = findMenuFile(*name);
    if (!file) {
        fail("Cannot find the menu file \"" + *name + "\".");
        return;
    }
    std::string error;
    MenuGroup* group = menus->load(*file, &error);
    if (!group) {
        fail(error);
        return;
    }
    print("\nMenu group \"" + group->name + "\" loaded.");
}

void menuUnloadCommand() {
    const auto name = askName("\nEnter the name of the menu group to unload: ");
    if (!name) return;
    MenuModel* menus = menusOrFail();
    if (!menus) return;
    if (!menus->unload(*name)) {
        fail("Menu group \"" + *name + "\" is not loaded.");
        return;
    }
    print("\nMenu group \"" + *name + "\" unloaded.");
}

// WSCURRENT: Enter (or a blank) keeps the workspace; a name makes it current.
void wsCurrentCommand() {
    std::string name;
    if (!answered(getString(true, "\nEnter new value for WSCURRENT <" + workspace() + ">: ", name, kMaxMenuName)))
        return;
    if (!name.empty()) workspace() = name;
}

// MODEMACRO: the status line's text, shown as the offered value (which is how a script or a test reads it);
// Enter keeps it, a text replaces it.
void modeMacroCommand() {
    std::string text;
    const std::string prompt = "\nEnter new value for MODEMACRO <\"" + getText("MODEMACRO") + "\">: ";
    if (!answered(getString(true, prompt, text, kMaxMenuName))) return;
    if (!text.empty()) setVar("MODEMACRO", db::ResBuf(db::RTSTR, text));
}

// HELP NAME (the name on HELP's own line): the entry of that command in the help file.
void helpOnCommand(const std::string& name) {
    const std::filesystem::path file = helpFile();
    constexpr std::size_t kMaxHelpBytes = 16u << 20;
    const sys::FileBytes read = sys::readFileBytes(file, kMaxHelpBytes);
    if (read.status != sys::FileReadStatus::Read) {
        print("\nThe help file cannot be read: " +
              (read.status == sys::FileReadStatus::Missing ? file.string() + " is missing" : read.error) + ".");
        return;
    }
    if (auto entry = helpEntry(read.bytes, name)) {
        print("\n" + *entry);
        return;
    }
    const bool known = commandStack().lookup(name) != nullptr;
    print("\n" + file.string() + " has no entry for " + name + (known ? "" : ", and no command of that name is loaded") +
          ". Type HELP for the commands.");
}

// HELP, "?": every command group loaded and its commands by the names a user types, the host's own last, then how
// to cancel and how to leave. Lines are wrapped at kHelpWidth characters so a terminal shows them whole.
void helpCommand() {
    if (auto name = takeTypedWord()) {
        helpOnCommand(*name);
        return;
    }
    constexpr std::size_t kHelpWidth = 100;
    const CommandStack& stack = commandStack();
    std::vector<std::string> groups = stack.groups();
    std::stable_partition(groups.begin(), groups.end(), [](const std::string& g) {
        return g != kHostCommandGroup && g != kDocumentCommandGroup;
    });
    std::string text = "\nCommands, by group (type a name; names are not case-sensitive):";
    for (const std::string& group : groups) {
        std::vector<std::string> names;
        for (const CommandInfo* c : stack.commands(group)) names.push_back(c->localName);
        std::sort(names.begin(), names.end());
        names.erase(std::unique(names.begin(), names.end()), names.end());
        const bool host = group == kHostCommandGroup || group == kDocumentCommandGroup;
        text += "\n" + (host ? std::string("The host's own (") + group + ")" : group) + ", " +
                std::to_string(names.size()) + ":";
        std::string line = "\n  ";
        for (const std::string& name : names) {
            if (line.size() + name.size() + 1 > kHelpWidth) {
                text += line;
                line = "\n  ";
            }
            line += name + " ";
        }
        text += line;
    }
    text += "\nHELP NAME tells what a command does and asks (HELP NCCreate).";
    text += "\nEsc (or Ctrl-C at a terminal) cancels a command or a prompt; QUIT leaves (it asks about unsaved "
            "drawings).";
    print(text);
}

}  // namespace

void registerSessionCommands() {
    addHostCommand("HELP", CMD_TRANSPARENT, helpCommand);
    addHostCommand("?", CMD_TRANSPARENT, helpCommand);
    addHostCommand("MENULOAD", 0, menuLoadCommand);
    addHostCommand("MENUUNLOAD", 0, menuUnloadCommand);
    addHostCommand("WSCURRENT", CMD_TRANSPARENT, wsCurrentCommand);
    addHostCommand("MODEMACRO", CMD_TRANSPARENT, modeMacroCommand);
}

}  // namespace commands

}  // namespace host::ed
