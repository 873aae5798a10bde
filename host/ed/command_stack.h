// The command stack: the commands modules and the host register, looked up by the name a user types.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace host::app { struct Module; }

namespace host::ed {

// Command flags, with the host's values.
enum CommandFlags : int {
    CMD_MODAL = 0x0,
    CMD_TRANSPARENT = 0x1,
    CMD_USEPICKSET = 0x2,
    CMD_REDRAW = 0x4,
    CMD_NOPERSPECTIVE = 0x8,
    CMD_NOMULTIPLE = 0x10,
    CMD_NOTILEMODE = 0x20,
    CMD_NOPAPERSPACE = 0x40,
    CMD_NOOEM = 0x100,
    CMD_UNDEFINED = 0x200,
    CMD_INPROGRESS = 0x400,
    CMD_DEFUN = 0x800,
    CMD_NONEWSTACK = 0x10000,
    CMD_NOINTERNALLOCK = 0x20000,
    CMD_DOCREADLOCK = 0x80000,
    CMD_DOCEXCLUSIVELOCK = 0x100000,
    CMD_SESSION = 0x200000,
    CMD_INTERRUPTIBLE = 0x400000,
    CMD_NOHISTORY = 0x800000,
    CMD_NOUNDOMARKER = 0x1000000,
    CMD_NOBEDIT = 0x2000000,
};

struct CommandInfo {
    std::string group;
    std::string globalName;   // what "_NAME" finds
    std::string localName;    // what "NAME" finds
    int flags = 0;
    std::function<void()> body;
    app::Module* module = nullptr;   // null for the host's own commands
};

// Names are matched without regard to case. "_NAME" looks up global names only; ".NAME" the host's own command of
// that name even when a module has one too (a module's when the host has none); "_.NAME" and "._NAME" both. A
// plain "NAME" finds local names first, then global ones (modules run each other's commands by either).
class CommandStack {
public:
    // Fails (false) when the group already has the global name, or a name, the group or the body is empty. An
    // empty local name is the global one. A command added while a module's entry point runs, without a module of
    // its own, is that module's.
    bool add(CommandInfo info);
    bool remove(std::string_view group, std::string_view globalName);
    void removeGroup(std::string_view group);
    // Removes every command of a module (when it is unloaded, or its initialisation failed).
    void removeModule(const app::Module* module);
    // The module whose entry point is running (set by the module loader around each message), or nullptr.
    void setRegisteringModule(app::Module* module) { registering_ = module; }
    app::Module* registeringModule() const { return registering_; }
    // The command a typed name runs, or nullptr.
    const CommandInfo* lookup(std::string_view typed) const;
    std::vector<std::string> groups() const;
    std::vector<const CommandInfo*> commands(std::string_view group) const;

private:
    std::vector<CommandInfo> commands_;  // later registrations shadow earlier ones of the same name
    app::Module* registering_ = nullptr;
};

CommandStack& commandStack();

}  // namespace host::ed
