// Folders of the installation.
#include "laser/drawing/installed_files.h"

#include "host/sys/folders.h"
#include "laser/settings/laser_settings.h"

std::string InstalledFolder(std::string_view sub) {
    std::string folder = LaserSettings().DirInstall;
    if (folder.empty()) folder = host::sys::installFolder().string();
    for (char& c : folder) {
        if (c == '\\') c = '/';
    }
    if (!folder.empty() && folder.back() != '/') folder += '/';
    folder += sub;
    if (folder.back() != '/') folder += '/';
    return folder;
}
