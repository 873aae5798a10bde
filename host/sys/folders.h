// The installation folder (DirInstall), the user's configuration folder and the temporary folder.
#pragma once

#include <filesystem>

namespace host::sys {

// Environment variable that names the installation folder.
inline constexpr const char* kInstallFolderVariable = "KESTRION_INSTALL";

// The folder of the installed data the modules read (line-type files, postprocessors, templates, glyph
// drawings, menus, help), without a trailing separator. In order of precedence: the folder given to
// setInstallFolder (cadhost --install), the environment variable KESTRION_INSTALL when not empty, and the
// build's data folder (the project's data/ as installed; the CMake cache variable KESTRION_DATA_DIR).
std::filesystem::path installFolder();

// Overrides the installation folder for this process; an empty path removes the override.
void setInstallFolder(const std::filesystem::path& folder);

// The folder of the user's own files of this product (the registry file, the command history), by the XDG rule:
// $XDG_CONFIG_HOME/kestrion when that is an absolute path (a relative one is invalid and ignored), else
// ~/.config/kestrion (the home folder from HOME, else the password database), else kestrion in the temporary
// folder. The folder may not exist yet.
std::filesystem::path userConfigFolder();

// The folder for temporary files, without a trailing separator: TEMP, then TMPDIR (when set and not empty),
// then /tmp.
std::filesystem::path tempFolder();

}  // namespace host::sys
