// Where modules are looked for: a folder set by the program, the KESTRION_MODULES variable, the build's folder.
#include <string>

#include "host/app/module.h"
#include "host/sys/environment.h"

namespace host::app {
namespace {

std::filesystem::path& folderSetting() {
    static std::filesystem::path folder;
    return folder;
}

}  // namespace

void setModuleFolder(const std::filesystem::path& folder) {
    folderSetting() = folder;
}

std::filesystem::path moduleFolder() {
    if (!folderSetting().empty()) return folderSetting();
    if (auto fromEnvironment = sys::nonEmptyEnvironmentValue(kModuleFolderVariable)) return *fromEnvironment;
    return KESTRION_DEFAULT_MODULE_DIR;
}

}  // namespace host::app
