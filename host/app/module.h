// Modules: the shared objects the host loads (laser.so, nesting.so, panelboot.so) and the messages it sends them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace host::app {

// Application messages, with the host's numbers. A module's entry point receives each; an unhandled one answers 0.
enum AppMessage : int {
    kNullMsg = 0,
    kInitAppMsg = 1,
    kUnloadAppMsg = 2,
    kLoadDwgMsg = 3,
    kUnloadDwgMsg = 4,
    kInvkSubrMsg = 5,
    kCfgMsg = 6,
    kEndMsg = 7,
    kQuitMsg = 8,
    kSaveMsg = 9,
    kDependencyMsg = 10,
    kNoDependencyMsg = 11,
    kOleUnloadAppMsg = 12,
    kPreQuitMsg = 13,
    kInitDialogMsg = 14,
    kEndDialogMsg = 15,
};

struct Module {
    std::string name;                  // "laser"
    std::filesystem::path path;        // the shared object
    void* handle = nullptr;            // from dlopen
    int (*entry)(int message, void* packet, Module* module) = nullptr;
};

// The exported C entry point every module defines.
inline constexpr const char* kEntryPointName = "kestrion_module_entry";

// Loads a module by name ("laser" finds laser.so in the module folder) or path, sends it kInitAppMsg, then
// kLoadDwgMsg for every open document. nullptr with a clear message in `error` when it cannot be loaded.
Module* loadModule(const std::string& nameOrPath, std::string* error);
// Sends kUnloadDwgMsg per document and kUnloadAppMsg, removes its commands, and closes it.
bool unloadModule(Module& module);
void unloadAllModules();
std::vector<Module*> loadedModules();
// Sends a message to every loaded module with the packet (a document for the drawing messages).
void broadcast(AppMessage message, void* packet);
// The folder modules are looked for in (the build's module folder unless set).
void setModuleFolder(const std::filesystem::path& folder);

}  // namespace host::app
