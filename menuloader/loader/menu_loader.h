// The menu loader: when a drawing opens, it puts the product's menu group into the host's menus (loading the menu
// file when the host has no such group), its pop-up menus into the menu bar before the bar's last entry, and, when
// the group had to be loaded, its toolbars on the screen; and it refreshes the host's workspace once when the
// installation asks for it (WSCURRENT "1" in the product key).
//
// Where the menu file is: the product key's FileMenu value, a full path. Without one (no installation program
// writes it here) the installation folder's menus/kestrion.menu is taken, or menus/kestrion_ru.menu when the
// product's language (LangMenu) is Russian. Its folder is put into the host's support search path, so MENULOAD
// finds the product's menus by name.
#pragma once

#include <string>

namespace menuloader {

// The name of the product's menu group, compared without regard to case.
inline constexpr const char* kProductMenuGroup = "Kestrion";

class CPanelhostApp {
public:
    // A drawing was opened (or was open when the loader came): LoadProductMenu, then RefreshWorkspace.
    void OnLoadDrawing();
    // The loader is unloaded: the pop-ups it put into the menu bar leave it, and a group it loaded is unloaded.
    void OnUnload();

    // Answers true when the product's pop-up menus were put into the menu bar by this call. Once it has done its
    // work (or met a failure that a retry cannot mend) it does nothing more for the module's life.
    bool LoadProductMenu();
    // Reads the menu file's path into menuFile(). 0 when the registry could be read; otherwise shows the
    // installation error and answers -1.
    int ReadMenuFileSetting();
    // Puts the menu file's folder into the support search path unless an entry of it is that folder.
    void AddMenuFolderToSearchPath() const;
    // Runs "_.wscurrent" once when the product key's WSCURRENT begins with "1", then stores "0".
    void RefreshWorkspace();

    const std::string& menuFile() const { return menuFile_; }
    bool menuLoaded() const { return menuLoaded_; }

private:
    std::string menuFile_;
    bool menuLoaded_ = false;
    bool groupLoadedHere_ = false;  // the group was loaded from the menu file by this loader
    bool popupsInserted_ = false;   // its pop-ups were put into the menu bar by this loader
};

CPanelhostApp& PanelhostApp();

}  // namespace menuloader
