// Where the installed data and the temporary files are.
#include "host/sys/folders.h"

#include <pwd.h>
#include <unistd.h>

#include <mutex>
#include <optional>
#include <vector>

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
constexpr const char* kProductFolder = "kestrion";
constexpr std::size_t kPasswordBufferSize = 16384;

std::optional<std::filesystem::path> homeFolder() {
    if (auto home = nonEmptyEnvironmentValue("HOME")) return std::filesystem::path(*home);
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(kPasswordBufferSize);
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        found->pw_dir[0] != '\0') {
        return std::filesystem::path(found->pw_dir);
    }
    return std::nullopt;
}

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

std::filesystem::path userConfigFolder() {
    if (auto config = nonEmptyEnvironmentValue("XDG_CONFIG_HOME"); config && config->front() == '/')
        return std::filesystem::path(*config) / kProductFolder;
    if (auto home = homeFolder()) return *home / ".config" / kProductFolder;
    return tempFolder() / kProductFolder;
}

}  // namespace host::sys
