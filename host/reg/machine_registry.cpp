// Locating the registry file and holding the process's Registry.
#include "host/reg/machine_registry.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

#include "host/sys/environment.h"
#include "host/sys/folders.h"

namespace host::reg {

namespace {

constexpr const char* kProductFolder = "kestrion";
constexpr const char* kRegistryFileName = "registry.reg";
constexpr std::size_t kPasswordBufferSize = 16384;

std::optional<std::filesystem::path> homeFolder() {
    if (auto home = sys::nonEmptyEnvironmentValue("HOME")) return std::filesystem::path(*home);
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(kPasswordBufferSize);
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        found->pw_dir[0] != '\0') {
        return std::filesystem::path(found->pw_dir);
    }
    return std::nullopt;
}

}  // namespace

std::filesystem::path defaultRegistryFile() {
    if (auto file = sys::nonEmptyEnvironmentValue(kRegistryFileVariable)) return *file;
    // The XDG rule: a relative XDG_CONFIG_HOME is invalid and is ignored.
    if (auto config = sys::nonEmptyEnvironmentValue("XDG_CONFIG_HOME"); config && config->front() == '/') {
        return std::filesystem::path(*config) / kProductFolder / kRegistryFileName;
    }
    if (auto home = homeFolder()) return *home / ".config" / kProductFolder / kRegistryFileName;
    return sys::tempFolder() / kProductFolder / kRegistryFileName;
}

Registry& machineRegistry() {
    static Registry registry(defaultRegistryFile());
    return registry;
}

void setMachineRegistryFile(const std::filesystem::path& file) { machineRegistry().setFile(file); }

}  // namespace host::reg
