// The folder of material files: the named one, or the installation's shipped materials.
#include "laser/settings/material_folder.h"

#include "cadlib/material_file.h"
#include "host/sys/folders.h"
#include "host/sys/paths.h"

std::filesystem::path ShippedMaterialFolder() { return InstalledMaterialFolder(); }

std::filesystem::path MaterialFolderOf(const std::string& folder) {
    if (folder.empty()) return ShippedMaterialFolder();
    return host::sys::toNativePath(folder);
}

std::filesystem::path MaterialPathOf(const std::string& folder, const std::string& fileName) {
    if (folder.empty()) return ShippedMaterialFolder() / host::sys::toNativePath(fileName);
    return host::sys::toNativePath(host::sys::joinPath(folder, fileName));
}
