// The process's one registry, the store every module and the host share.
#pragma once

#include <filesystem>

#include "host/reg/registry.h"

namespace host::reg {

// Environment variable that names the registry file.
inline constexpr const char* kRegistryFileVariable = "KESTRION_REGISTRY";

// Where the registry file is when nothing else is said: $KESTRION_REGISTRY when set and not empty, else
// $XDG_CONFIG_HOME/kestrion/registry.reg when that is an absolute path, else ~/.config/kestrion/registry.reg
// (home from $HOME, else the password database), else the temp folder's kestrion/registry.reg.
std::filesystem::path defaultRegistryFile();

// The registry of this process, on defaultRegistryFile() until setMachineRegistryFile() names another file.
Registry& machineRegistry();

// Points the process's registry at `file` (cadhost --registry FILE); read at its next use.
void setMachineRegistryFile(const std::filesystem::path& file);

// The key of this build's settings: HKEY_LOCAL_MACHINE\SOFTWARE\Kestrion\20.0 in the process's registry.
inline RegistryKey productKey() { return machineRegistry().key(Hive::LocalMachine, kProductKey); }

}  // namespace host::reg
