// Where the installed data and the temporary files are.
#include "host/sys/folders.h"

#include <mutex>

#include "host/sys/environment.h"

#ifndef KESTRION_DEFAULT_INSTALL_DIR
#error "KESTRION_DEFAULT_INSTALL_DIR is set by host/sys/CMakeLists.txt"
#endif

namespace host::sys {

namespace {

std::mutex g_installMutex;
std::filesystem::path g_installOverride;

constexpr const char* kTempVariables[] = {"TEMP", "TMPDIR"};
constexpr const char* kLastResortTempFolder = "/tmp";

// "/opt/k/data/" and "/opt/k/data" name one folder; the modules add "\name" themselves.
std::filesystem::path withoutTrailingSeparator(std::filesystem::path folder) {
    std::string text = folder.string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

}  // namespace

std::filesystem::path installFolder() {
    {
        std::lock_guard lock(g_installMutex);
        if (!g_installOverride.empty()) return g_installOverride;
    }
    if (auto fromEnvironment = nonEmptyEnvironmentValue(kInstallFolderVariable)) {
        return withoutTrailingSeparator(*fromEnvironment);
    }
    return withoutTrailingSeparator(KESTRION_DEFAULT_INSTALL_DIR);
}

void setInstallFolder(const std::filesystem::path& folder) {
    std::lock_guard lock(g_installMutex);
    g_installOverride = folder.empty() ? folder : withoutTrailingSeparator(folder);
}

std::filesystem::path tempFolder() {
    for (const char* name : kTempVariables) {
        if (auto value = nonEmptyEnvironmentValue(name)) return withoutTrailingSeparator(*value);
    }
    return kLastResortTempFolder;
}

}  // namespace host::sys
