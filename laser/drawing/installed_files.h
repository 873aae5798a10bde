// Folders of the installation that the drawing commands read: glyph drawings and templates.
#pragma once

#include <string>
#include <string_view>

// The folder `sub` ("Fonts/Arial", "Templates/Items") of the installation folder, with a trailing '/'. The
// installation folder is DirInstall of the settings (its '\' read as '/'), or the host's installation folder when
// the registry names none.
std::string InstalledFolder(std::string_view sub);
