// Running cadhost: the host's folders and registry, opening drawings, saving, rendering.
#include "apps/cadhost/run.h"

#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "host/db/database.h"
#include "host/dxf/dxf_file.h"
#include "host/ed/drawing_svg.h"
#include "host/reg/machine_registry.h"
#include "host/sys/folders.h"

namespace cadhost {
namespace {

namespace fs = std::filesystem;

// Makes a database the working one for as long as the guard lives, and none afterwards, so no dangling
// working database outlives the drawings.
class WorkingDatabase {
public:
    explicit WorkingDatabase(host::db::Database* db) { host::db::setWorkingDatabase(db); }
    ~WorkingDatabase() { host::db::setWorkingDatabase(nullptr); }
    WorkingDatabase(const WorkingDatabase&) = delete;
    WorkingDatabase& operator=(const WorkingDatabase&) = delete;
};

// Opens one drawing. A missing file or a folder is told before the reader runs, in plain words; the reader's
// own message names the line of a malformed file.
std::unique_ptr<host::db::Database> openDrawing(const fs::path& path, std::ostream& err) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) {
        err << "cadhost: cannot open " << path.string() << ": no such file\n";
        return nullptr;
    }
    if (fs::is_directory(status)) {
        err << "cadhost: cannot open " << path.string() << ": it is a folder, not a drawing\n";
        return nullptr;
    }
    host::dxf::ReadResult read = host::dxf::readDxfFile(path);
    if (!read) {
        err << "cadhost: cannot open drawing: " << read.error << "\n";
        return nullptr;
    }
    return std::move(read.database);
}

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

}  // namespace

int run(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    if (!arguments.load.empty()) {
        err << "cadhost: --load: this build has no editor yet, so it cannot load modules\n";
        return kExitUsage;
    }
    if (arguments.script) {
        err << "cadhost: --script: this build has no editor yet, so it cannot run scripts\n";
        return kExitUsage;
    }
    if (arguments.install) {
        std::error_code ec;
        if (!fs::is_directory(*arguments.install, ec)) {
            err << "cadhost: --install: " << arguments.install->string() << " is not a folder\n";
            return kExitUsage;
        }
        host::sys::setInstallFolder(fs::absolute(*arguments.install, ec));
    }
    RegistryMessages registryMessages(err);
    if (arguments.registry) {
        // A file that is not there yet is a new, empty registry (written when a setting is first saved); a file
        // that is there must read, or the settings the modules will ask for would silently be missing.
        std::error_code ec;
        const fs::path file = fs::absolute(*arguments.registry, ec);
        host::reg::setMachineRegistryFile(file);
        if (fs::exists(file, ec) && !host::reg::machineRegistry().refresh()) return kExitFailed;
    }

    std::vector<std::unique_ptr<host::db::Database>> drawings;
    for (const fs::path& path : arguments.drawings) {
        auto db = openDrawing(path, err);
        if (!db) return kExitFailed;
        drawings.push_back(std::move(db));
    }
    if (drawings.empty()) drawings.push_back(std::make_unique<host::db::Database>());
    host::db::Database& current = *drawings.back();
    WorkingDatabase working(&current);

    if (arguments.save) {
        std::string error;
        if (!host::dxf::writeDxfFile(current, *arguments.save, &error)) {
            err << "cadhost: cannot save " << arguments.save->string() << ": " << error << "\n";
            return kExitFailed;
        }
        out << "saved " << arguments.save->string() << "\n";
    }
    if (arguments.svg) {
        std::string error;
        host::ed::SvgReport report;
        if (!host::ed::writeSvgFile(current, *arguments.svg, &error, {}, &report)) {
            err << "cadhost: cannot write " << arguments.svg->string() << ": " << error << "\n";
            return kExitFailed;
        }
        out << "rendered " << arguments.svg->string() << ": " << renderSummary(report) << "\n";
    }
    return kExitDone;
}

}  // namespace cadhost
