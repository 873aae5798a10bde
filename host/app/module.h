// Modules: the shared objects the host loads (laser.so, nesting.so, panelboot.so) and the messages it sends them.
//
// A module is built with hidden visibility (kestrion_add_module in cmake/kestrion.cmake) and exports one C entry
// point, which the host loads with dlopen(RTLD_LOCAL), so each module keeps its own copy of what it links
// statically (cadlib and its statics). Its entry point looks like this:
//
//   KESTRION_MODULE_ENTRY(int message, void* packet, host::app::Module* module) {
//       switch (message) {
//           case host::app::kInitAppMsg: ... add the command group; return host::app::kRetOK;
//           case host::app::kUnloadAppMsg: ... remove it; return host::app::kRetOK;
//           default: return host::app::kRetOK;
//       }
//   }
//
// Packets: the drawing messages (kLoadDwgMsg, kUnloadDwgMsg, kSaveMsg) carry the host::ed::Document they are about,
// which is then the current document (its database the working database); every other message carries nullptr.
// Nothing may throw out of the entry point: the host treats an exception there as a failure answer.
//
// The order of a session: kInitAppMsg when the module is loaded, then kLoadDwgMsg for each open document; later
// kLoadDwgMsg for each document opened or created, kSaveMsg before each save is written, kUnloadDwgMsg before
// each close. When the host ends: kQuitMsg, then kUnloadDwgMsg for each open document and kUnloadAppMsg (the
// modules are unloaded, the last loaded first, before the documents close).
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

// What an entry point answers, with the host's values: anything but kRetOK to kInitAppMsg refuses the load.
enum AppReturn : int {
    kRetOK = 0,
    kRetError = 3,
};

struct Module {
    std::string name;                  // "laser"
    std::filesystem::path path;        // the shared object
    void* handle = nullptr;            // from dlopen
    int (*entry)(int message, void* packet, Module* module) = nullptr;
};

// The exported C entry point every module defines.
inline constexpr const char* kEntryPointName = "kestrion_module_entry";

// Defines a module's entry point with the name and visibility the loader looks for.
#define KESTRION_MODULE_ENTRY \
    extern "C" __attribute__((visibility("default"))) int kestrion_module_entry

// Where modules are looked for when none is set: the environment variable names a folder.
inline constexpr const char* kModuleFolderVariable = "KESTRION_MODULES";

// Loads a module by name ("laser" finds laser.so in the module folder) or path (a name with a "/" or ending in
// ".so"), sends it kInitAppMsg, then kLoadDwgMsg for every open document. nullptr with a clear message in `error`
// when it cannot be loaded: a missing file, a file that is not a shared object, one without the entry point, one
// whose initialisation answers failure, one that is loaded already. Nothing of a refused module stays: its commands
// are removed and it is closed.
Module* loadModule(const std::string& nameOrPath, std::string* error);
// Sends kUnloadDwgMsg per document and kUnloadAppMsg, removes its commands, and closes it. False (with the reason
// in `error`) when it is not loaded, or one of its commands is running (its code is on the stack).
bool unloadModule(Module& module, std::string* error = nullptr);
// Unloads every module, the last loaded first.
void unloadAllModules();
std::vector<Module*> loadedModules();
// The loaded module of that name ("laser"), or nullptr.
Module* findModule(const std::string& name);
// Sends a message to every loaded module with the packet (a document for the drawing messages).
void broadcast(AppMessage message, void* packet);
// The folder modules are looked for in: the one set here, else $KESTRION_MODULES when set and not empty, else the
// build's module folder. An empty path removes the setting.
void setModuleFolder(const std::filesystem::path& folder);
std::filesystem::path moduleFolder();

}  // namespace host::app
