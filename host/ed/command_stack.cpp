// The command stack: registering commands by group and finding the one a typed name means.
#include "host/ed/command_stack.h"

#include <algorithm>

#include "host/sys/text_case.h"

namespace host::ed {
namespace {

// What a typed name asks for once its prefixes are read: "_" global names only, "." the host's own command.
struct TypedName {
    std::string_view name;
    bool globalOnly = false;
    bool hostOwn = false;
};

TypedName readPrefixes(std::string_view typed) {
    TypedName t;
    // "_", ".", "_." and "._": at most one of each, in either order.
    for (int i = 0; i < 2 && !typed.empty(); ++i) {
        if (typed.front() == '_' && !t.globalOnly) {
            t.globalOnly = true;
        } else if (typed.front() == '.' && !t.hostOwn) {
            t.hostOwn = true;
        } else {
            break;
        }
        typed.remove_prefix(1);
    }
    t.name = typed;
    return t;
}

}  // namespace

CommandStack& commandStack() {
    static CommandStack stack;
    return stack;
}

bool CommandStack::add(CommandInfo info) {
    if (info.group.empty() || info.globalName.empty() || !info.body) return false;
    if (info.localName.empty()) info.localName = info.globalName;
    for (const CommandInfo& c : commands_) {
        if (sys::equalsNoCase(c.group, info.group) && sys::equalsNoCase(c.globalName, info.globalName)) return false;
    }
    if (!info.module) info.module = registering_;
    commands_.push_back(std::move(info));
    return true;
}

bool CommandStack::remove(std::string_view group, std::string_view globalName) {
    const auto it = std::find_if(commands_.begin(), commands_.end(), [&](const CommandInfo& c) {
        return sys::equalsNoCase(c.group, group) && sys::equalsNoCase(c.globalName, globalName);
    });
    if (it == commands_.end()) return false;
    commands_.erase(it);
    return true;
}

void CommandStack::removeGroup(std::string_view group) {
    std::erase_if(commands_, [&](const CommandInfo& c) { return sys::equalsNoCase(c.group, group); });
}

void CommandStack::removeModule(const app::Module* module) {
    if (!module) return;
    std::erase_if(commands_, [&](const CommandInfo& c) { return c.module == module; });
}

const CommandInfo* CommandStack::lookup(std::string_view typed) const {
    const TypedName t = readPrefixes(typed);
    if (t.name.empty()) return nullptr;
    // Newest first: a later registration shadows an earlier one of the same name.
    auto find = [&](auto matches) -> const CommandInfo* {
        for (auto it = commands_.rbegin(); it != commands_.rend(); ++it) {
            if (matches(*it)) return &*it;
        }
        return nullptr;
    };
    auto byName = [&](bool local, bool hostOnly) {
        return find([&](const CommandInfo& c) {
            if (hostOnly && c.module) return false;
            return sys::equalsNoCase(local ? c.localName : c.globalName, t.name);
        });
    };
    const CommandInfo* found = nullptr;
    if (t.hostOwn) {
        found = t.globalOnly ? byName(false, true) : byName(true, true);
        if (!found && !t.globalOnly) found = byName(false, true);
        if (found) return found;
    }
    if (t.globalOnly) {
        found = byName(false, false);
        if (found) return found;
        // A global name that begins with "_" itself ("_vesk_NCCreate") is typed as it stands, the "_" being
        // both the prefix and the name's own first character.
        std::string_view whole = typed;
        if (whole.front() == '.') whole.remove_prefix(1);
        return find([&](const CommandInfo& c) { return sys::equalsNoCase(c.globalName, whole); });
    }
    found = byName(true, false);
    return found ? found : byName(false, false);
}

std::vector<std::string> CommandStack::groups() const {
    std::vector<std::string> names;
    for (const CommandInfo& c : commands_) {
        const bool known = std::any_of(names.begin(), names.end(),
                                       [&](const std::string& n) { return sys::equalsNoCase(n, c.group); });
        if (!known) names.push_back(c.group);
    }
    return names;
}

std::vector<const CommandInfo*> CommandStack::commands(std::string_view group) const {
    std::vector<const CommandInfo*> found;
    for (const CommandInfo& c : commands_) {
        if (sys::equalsNoCase(c.group, group)) found.push_back(&c);
    }
    return found;
}

}  // namespace host::ed
