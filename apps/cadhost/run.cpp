// Running cadhost: the host's folders and registry, opening drawings, loading modules, the command loop over a
// script or the terminal, saving and rendering, and closing everything down in the order the modules expect.
#include "apps/cadhost/run.h"

#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "host/app/module.h"
#include "host/ed/command.h"
#include "host/ed/commands/host_commands.h"
#include "host/ed/commands/menu_model.h"
#include "host/ed/document_commands.h"
#include "host/ed/documents.h"
#include "host/ed/display.h"
#include "host/ed/drawing_svg.h"
#include "host/ed/input.h"
#include "host/ed/line_editor.h"
#include "host/ed/transcript.h"
#include "host/reg/machine_registry.h"
#include "host/sys/folders.h"
#include "host/sys/shell_open.h"

namespace cadhost {
namespace {

namespace fs = std::filesystem;

std::string renderSummary(const host::ed::SvgReport& report) {
    std::size_t notDrawn = report.tooDeep;
    for (const auto& [name, count] : report.notDrawn) notDrawn += count;
    std::string s = std::to_string(report.drawn) + (report.drawn == 1 ? " entity" : " entities") + " drawn";
    if (report.hidden) s += ", " + std::to_string(report.hidden) + " hidden";
    if (notDrawn) s += ", " + std::to_string(notDrawn) + " not drawable";
    if (report.cutOff) s += ", cut off at the size limit";
    return s;
}

// Sends what the process's registry reports (a malformed file, a failed write) to the program's error stream as
// "cadhost: <message>" while the run lasts, and back to the registry's default afterwards.
class RegistryMessages {
public:
    explicit RegistryMessages(std::ostream& err) {
        host::reg::machineRegistry().setMessageHandler(
            [&err](const std::string& message) { err << "cadhost: " << message << "\n"; });
    }
    ~RegistryMessages() { host::reg::machineRegistry().setMessageHandler(nullptr); }
    RegistryMessages(const RegistryMessages&) = delete;
    RegistryMessages& operator=(const RegistryMessages&) = delete;
};

// The session's end on every way out: the modules hear that the host quits and are unloaded (each told of every
// drawing first) before the drawings close, and the transcript stops showing.
class Session {
public:
    Session() { host::ed::transcript().setEcho(true); }
    ~Session() {
        if (!host::app::loadedModules().empty()) host::app::broadcast(host::app::kQuitMsg, nullptr);
        host::app::unloadAllModules();
        host::ed::documents().closeAll();
        host::ed::transcript().endTerminalLine();
        host::ed::transcript().setEcho(false);
        host::ed::setInput(nullptr);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
};

// Checks an option that names a folder. Answers the message, or "".
std::string checkFolder(const char* option, const fs::path& folder) {
    std::error_code ec;
    if (fs::is_directory(folder, ec)) return {};
    return std::string(option) + ": " + folder.string() + " is not a folder";
}

}  // namespace

int run(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    auto failed = [&](int status, const std::string& message) {
        err << "cadhost: " << message << "\n";
        return status;
    };
    if (arguments.install) {
        if (std::string m = checkFolder("--install", *arguments.install); !m.empty()) return failed(kExitUsage, m);
        std::error_code ec;
        host::sys::setInstallFolder(fs::absolute(*arguments.install, ec));
    }
    if (arguments.moduleFolder) {
        if (std::string m = checkFolder("--module-folder", *arguments.moduleFolder); !m.empty())
            return failed(kExitUsage, m);
        std::error_code ec;
        host::app::setModuleFolder(fs::absolute(*arguments.moduleFolder, ec));
    }
    if (arguments.openWith) host::sys::setOpenCommand(*arguments.openWith);
    RegistryMessages registryMessages(err);
    if (arguments.registry) {
        // A file that is not there yet is a new, empty registry (written when a setting is first saved); a file
        // that is there must read, or the settings the modules will ask for would silently be missing.
        std::error_code ec;
        const fs::path file = fs::absolute(*arguments.registry, ec);
        host::reg::setMachineRegistryFile(file);
        if (fs::exists(file, ec) && !host::reg::machineRegistry().refresh()) return kExitFailed;
    }

    // The script is read whole before anything runs, so a missing or unreadable one changes nothing.
    std::unique_ptr<host::ed::InputSource> input;
    if (arguments.script) {
        std::string error;
        input = host::ed::ScriptInput::fromFile(arguments.script->string(), &error);
        if (!input) return failed(kExitFailed, error);
    } else {
        input = host::ed::standardInputSource();
    }

    host::ed::registerHostCommands();
    host::ed::registerDocumentCommands();
    if (host::ed::MenuModel* menus = host::ed::menuApplication()) host::ed::installHostMenus(*menus);
    Session session;
    host::ed::DocumentManager& docs = host::ed::documents();
    for (const fs::path& path : arguments.drawings) {
        std::string error;
        if (!docs.open(path, &error)) return failed(kExitFailed, error);
    }
    if (docs.documents().empty()) docs.newDocument();
    for (const std::string& name : arguments.load) {
        std::string error;
        if (!host::app::loadModule(name, &error)) return failed(kExitFailed, error);
    }

    host::ed::setInput(std::move(input));
    std::string stopReason;
    const bool ranToTheEnd = host::ed::runCommandLoop(&stopReason);
    host::ed::transcript().endTerminalLine();
    if (!ranToTheEnd) {
        err << "cadhost: " << stopReason << "\n";
        if (arguments.save)
            err << "cadhost: " << arguments.save->string() << " was not saved: the script did not run to its end\n";
        return kExitFailed;
    }

    host::ed::Document* current = docs.current();
    if (!current) {
        if (arguments.save || arguments.svg || arguments.playSvg)
            return failed(kExitFailed, "no drawing is open at the end of the run: nothing to save or draw");
        return kExitDone;
    }
    if (arguments.save) {
        // The modules hear of the save first and write what they keep into the drawing.
        std::string error;
        const bool saved = docs.save(*current, *arguments.save, &error);
        host::ed::transcript().endTerminalLine();
        if (!saved) return failed(kExitFailed, error);
        out << "saved " << arguments.save->string() << "\n";
    }
    if (arguments.svg) {
        std::string error;
        host::ed::SvgReport report;
        if (!host::ed::writeSvgFile(current->database(), *arguments.svg, &error, {}, &report))
            return failed(kExitFailed, "cannot write " + arguments.svg->string() + ": " + error);
        out << "rendered " << arguments.svg->string() << ": " << renderSummary(report) << "\n";
    }
    if (arguments.playSvg) {
        std::string error;
        host::ed::SvgReport report;
        host::ed::SvgOptions options;
        options.animate = true;
        if (!host::ed::writeSvgFile(current->database(), *arguments.playSvg, &error, options, &report))
            return failed(kExitFailed, "cannot write " + arguments.playSvg->string() + ": " + error);
        out << "rendered " << arguments.playSvg->string() << " (animated, "
            << host::ed::animationFrames(current->database()).size() << " frames): " << renderSummary(report)
            << "\n";
    }
    return kExitDone;
}

}  // namespace cadhost
