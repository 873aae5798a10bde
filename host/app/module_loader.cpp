// Loading and unloading modules, and sending them the application messages: initialise and unload, and the
// drawing messages for every document, each with its document current.
#include <dlfcn.h>

#include <algorithm>
#include <memory>
#include <system_error>

#include "host/app/module.h"
#include "host/ed/command.h"
#include "host/ed/command_stack.h"
#include "host/ed/documents.h"

namespace host::app {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kModuleSuffix = ".so";

std::vector<std::unique_ptr<Module>>& modules() {
    static std::vector<std::unique_ptr<Module>> loaded;
    return loaded;
}

// Sends one message. Commands the module adds meanwhile are its own; an exception out of the entry point (which
// a module must not let happen) counts as a failure answer.
int send(Module& module, AppMessage message, void* packet) {
    ed::CommandStack& stack = ed::commandStack();
    Module* const previous = stack.registeringModule();
    stack.setRegisteringModule(&module);
    int answer = kRetError;
    try {
        answer = module.entry(message, packet, &module);
    } catch (...) {
        answer = kRetError;
    }
    stack.setRegisteringModule(previous);
    return answer;
}

// Sends a drawing message about every open document, each one current while it is told.
void sendPerDocument(Module& module, AppMessage message) {
    ed::DocumentManager& docs = ed::documents();
    ed::Document* const current = docs.current();
    for (ed::Document* doc : docs.documents()) {
        docs.setCurrent(*doc);
        send(module, message, doc);
    }
    const auto open = docs.documents();
    if (current && std::find(open.begin(), open.end(), current) != open.end()) docs.setCurrent(*current);
}

AppMessage messageFor(ed::DocumentEvent event) {
    switch (event) {
        case ed::DocumentEvent::Loaded: return kLoadDwgMsg;
        case ed::DocumentEvent::Unloading: return kUnloadDwgMsg;
        case ed::DocumentEvent::Saving: return kSaveMsg;
    }
    return kNullMsg;
}

// From the first module on, the document manager's events reach the modules as messages.
void listenToDocuments() {
    static bool listening = false;
    if (listening) return;
    listening = true;
    ed::documents().setListener([](ed::DocumentEvent event, ed::Document& doc) { broadcast(messageFor(event), &doc); });
}

// "laser" -> <module folder>/laser.so; a path ("./x.so", "/opt/m/laser.so", "laser.so") is taken as it is.
fs::path resolve(const std::string& nameOrPath) {
    const bool isPath = nameOrPath.find('/') != std::string::npos || nameOrPath.ends_with(kModuleSuffix);
    if (isPath) return fs::path(nameOrPath);
    return moduleFolder() / (nameOrPath + std::string(kModuleSuffix));
}

// Closes a shared object whose module is gone (or never was), removing every command it registered first.
void closeModule(std::unique_ptr<Module> module) {
    ed::commandStack().removeModule(module.get());
    if (module->handle) dlclose(module->handle);
}

}  // namespace

Module* loadModule(const std::string& nameOrPath, std::string* error) {
    auto fail = [&](std::string why) -> Module* {
        if (error) *error = std::move(why);
        return nullptr;
    };
    if (nameOrPath.empty()) return fail("cannot load a module without a name");
    const fs::path path = resolve(nameOrPath);
    const std::string name = path.stem().string();
    const std::string quoted = "\"" + name + "\"";

    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) return fail("cannot load module " + quoted + ": " + path.string() + " does not exist");
    if (!fs::is_regular_file(status))
        return fail("cannot load module " + quoted + ": " + path.string() + " is not a file");
    const fs::path canonical = fs::weakly_canonical(path, ec);
    for (const auto& m : modules()) {
        if (m->name == name || fs::weakly_canonical(m->path, ec) == canonical)
            return fail("module " + quoted + " is loaded already (from " + m->path.string() + ")");
    }

    dlerror();
    // RTLD_NODELETE: what a module put into a drawing outlives it. A host object made by module code (a symbol
    // table record whose virtual functions are all inline) takes its vtable from the module's copy, and the
    // drawings close after the modules are unloaded; with the module's code unmapped, closing them crashed.
    void* handle = dlopen(path.c_str(), RTLD_LOCAL | RTLD_NOW | RTLD_NODELETE);
    if (!handle) {
        const char* why = dlerror();
        return fail("cannot load module " + quoted + ": " + (why ? why : "the shared object could not be opened"));
    }
    auto module = std::make_unique<Module>();
    module->name = name;
    module->path = path;
    module->handle = handle;
    module->entry = reinterpret_cast<int (*)(int, void*, Module*)>(dlsym(handle, kEntryPointName));
    if (!module->entry) {
        closeModule(std::move(module));
        return fail("cannot load module " + quoted + ": " + path.string() + " is not a module (it has no " +
                    kEntryPointName + ")");
    }

    listenToDocuments();
    Module* added = module.get();
    modules().push_back(std::move(module));
    const int answer = send(*added, kInitAppMsg, nullptr);
    if (answer != kRetOK) {
        // Nothing of it stays: the commands it registered before it gave up go with it.
        auto it = std::find_if(modules().begin(), modules().end(), [&](const auto& m) { return m.get() == added; });
        std::unique_ptr<Module> refused = std::move(*it);
        modules().erase(it);
        closeModule(std::move(refused));
        return fail("cannot load module " + quoted + ": its initialisation failed (it answered " +
                    std::to_string(answer) + ")");
    }
    sendPerDocument(*added, kLoadDwgMsg);
    return added;
}

bool unloadModule(Module& module, std::string* error) {
    auto it = std::find_if(modules().begin(), modules().end(), [&](const auto& m) { return m.get() == &module; });
    if (it == modules().end()) {
        if (error) *error = "module \"" + module.name + "\" is not loaded";
        return false;
    }
    if (ed::isModuleCommandRunning(&module)) {
        if (error) *error = "cannot unload module \"" + module.name + "\" while its command runs";
        return false;
    }
    sendPerDocument(module, kUnloadDwgMsg);
    send(module, kUnloadAppMsg, nullptr);
    it = std::find_if(modules().begin(), modules().end(), [&](const auto& m) { return m.get() == &module; });
    if (it == modules().end()) return true;  // it was unloaded while it was told
    std::unique_ptr<Module> unloading = std::move(*it);
    modules().erase(it);
    closeModule(std::move(unloading));
    return true;
}

void unloadAllModules() {
    for (auto loaded = loadedModules(); !loaded.empty(); loaded.pop_back()) unloadModule(*loaded.back());
}

std::vector<Module*> loadedModules() {
    std::vector<Module*> all;
    for (const auto& m : modules()) all.push_back(m.get());
    return all;
}

Module* findModule(const std::string& name) {
    for (const auto& m : modules()) {
        if (m->name == name) return m.get();
    }
    return nullptr;
}

void broadcast(AppMessage message, void* packet) {
    // A module may load or unload modules while it is told: walk a copy, skipping any that went.
    for (Module* m : loadedModules()) {
        const auto now = loadedModules();
        if (std::find(now.begin(), now.end(), m) != now.end()) send(*m, message, packet);
    }
}

}  // namespace host::app
