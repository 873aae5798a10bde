// Where the module's material files (*.MAT) are: the folder the settings name, or, while none is named, the
// installation's "material" folder, which ships STEEL.MAT and STAINLESS.MAT.
#pragma once

#include <filesystem>
#include <string>

// The installation's material folder: host::sys::installFolder() / "material".
std::filesystem::path ShippedMaterialFolder();

// The folder to look for material files in: `folder` (DirMaterial) as a native path, or ShippedMaterialFolder()
// when `folder` is empty.
std::filesystem::path MaterialFolderOf(const std::string& folder);

// The material file `fileName` (Material, "STEEL.MAT") in MaterialFolderOf(folder).
std::filesystem::path MaterialPathOf(const std::string& folder, const std::string& fileName);
