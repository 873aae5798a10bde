// MENULOAD, MENUUNLOAD, WSCURRENT and MODEMACRO: the session's menus, workspace and status line.
#include "host/ed/command.h"
#include "host/ed/command_stack.h"
#include "host/ed/commands/command_bodies.h"
#include "host/ed/commands/command_support.h"
#include "host/ed/commands/host_commands.h"
#include "host/ed/commands/menu_model.h"
#include "host/ed/prompts.h"
#include "host/ed/sysvars.h"
#include "host/ed/transcript.h"

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

}  // namespace

void registerSessionCommands() {
    addHostCommand("MENULOAD", 0, menuLoadCommand);
    addHostCommand("MENUUNLOAD", 0, menuUnloadCommand);
    addHostCommand("WSCURRENT", CMD_TRANSPARENT, wsCurrentCommand);
    addHostCommand("MODEMACRO", CMD_TRANSPARENT, modeMacroCommand);
}

}  // namespace commands

}  // namespace host::ed
