// Locating the registry file and holding the process's Registry.
#include "host/reg/machine_registry.h"

#include "host/sys/environment.h"
#include "host/sys/folders.h"

namespace host::reg {

namespace {

constexpr const char* kRegistryFileName = "registry.reg";

}  // namespace

std::filesystem::path defaultRegistryFile() {
    if (auto file = sys::nonEmptyEnvironmentValue(kRegistryFileVariable)) return *file;
    return sys::userConfigFolder() / kRegistryFileName;
}

Registry& machineRegistry() {
    static Registry registry(defaultRegistryFile());
    return registry;
}

void setMachineRegistryFile(const std::filesystem::path& file) { machineRegistry().setFile(file); }

}  // namespace host::reg
