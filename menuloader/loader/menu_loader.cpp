// The menu loader's work on each drawing load: the product's menu group, the support search path and the
// workspace refresh.
#include "menuloader/loader/menu_loader.h"

#include <algorithm>
#include <string_view>

#include "host/db/resbuf.h"
#include "host/ed/command.h"
#include "host/ed/commands/menu_model.h"
#include "host/ed/env_values.h"
#include "host/ed/transcript.h"
#include "host/reg/machine_registry.h"
#include "host/sys/folders.h"
#include "host/sys/text_case.h"
#include "host/ui/message_box.h"

namespace menuloader {

namespace {

// The loader has no language setting of its own: it speaks the product's (LangMenu).
struct Text {
    const char* english;
    const char* russian;
};

constexpr Text kInstallationError = {
    "Error of initialization of menu Kestrion\n\rPlease repeat installation of program Kestrion",
    "Ошибка инициализации меню Kestrion\n\rПожалуйста, повторите установку программы Kestrion",
};
constexpr Text kErrorTitle = {"Error", "Ошибка"};
constexpr Text kMenuRefreshed = {"\n\rLoad Kestrion menu \n\r", "\n\rЗагружено меню Kestrion \n\r"};

bool russian() {
    const auto language = host::reg::productKey().getString("LangMenu");
    return language && host::sys::equalsNoCase(*language, "RU");
}

const char* localized(const Text& text) {
    return russian() ? text.russian : text.english;
}

// The menu file the installation folder holds for the product's language.
std::string defaultMenuFile() {
    const char* name = russian() ? "kestrion_ru.menu" : "kestrion.menu";
    return (host::sys::installFolder() / "menus" / name).string();
}

// The folder of a path: up to its last separator ('\' as the installation writes it, or '/'); "" when none.
std::string folderOf(const std::string& path) {
    const std::size_t last = path.find_last_of("\\/");
    return last == std::string::npos ? std::string() : path.substr(0, last);
}

}  // namespace

CPanelhostApp& PanelhostApp() {
    static CPanelhostApp app;
    return app;
}

void CPanelhostApp::OnLoadDrawing() {
    LoadProductMenu();
    RefreshWorkspace();
}

void CPanelhostApp::OnUnload() {
    host::ed::MenuModel* menus = host::ed::menuApplication();
    if (menus == nullptr) return;
    if (groupLoadedHere_) {
        menus->unload(kProductMenuGroup);  // its pop-ups leave the bar with it
    } else if (popupsInserted_) {
        if (host::ed::MenuGroup* group = menus->find(kProductMenuGroup)) {
            for (const host::ed::PopupMenu& popup : group->popups) menus->removeFromMenuBar(group->name, popup.name);
        }
    }
    groupLoadedHere_ = popupsInserted_ = false;
}

bool CPanelhostApp::LoadProductMenu() {
    if (menuLoaded_) return false;
    if (ReadMenuFileSetting() != 0) {
        menuLoaded_ = true;
        AddMenuFolderToSearchPath();
        return false;
    }
    AddMenuFolderToSearchPath();
    host::ed::MenuModel* menus = host::ed::menuApplication();
    if (menus == nullptr) return false;  // the menus are not there yet: the next drawing load tries again
    const std::size_t barEntries = menus->menuBar().size();
    if (menus->group(0) == nullptr) return false;  // a host without any menu group yet: tried again likewise

    host::ed::MenuGroup* group = menus->find(kProductMenuGroup);
    if (group == nullptr) {
        group = menus->load(menuFile_, nullptr);
        if (group == nullptr) {
            menuLoaded_ = true;  // the menus simply do not appear
            return false;
        }
        groupLoadedHere_ = true;
        for (host::ed::Toolbar& toolbar : group->toolbars) toolbar.visible = true;
    }
    // Before the bar's last entry (the host's Help), keeping their order.
    const std::size_t first = barEntries == 0 ? 0 : barEntries - 1;
    for (std::size_t j = 0; j < group->popups.size(); ++j) {
        if (menus->insertInMenuBar(group->name, j, first + j)) popupsInserted_ = true;
    }
    menuLoaded_ = true;
    return true;
}

int CPanelhostApp::ReadMenuFileSetting() {
    // A registry file that cannot be read is a broken installation; a product key that is not there yet is a
    // first run (no installation program writes it on this system), which takes the installation's menu file.
    if (!host::reg::machineRegistry().refresh()) {
        host::ui::messageBox(localized(kInstallationError), localized(kErrorTitle),
                             host::ui::MB_OK | host::ui::MB_ICONERROR);
        return -1;
    }
    const auto file = host::reg::productKey().getString("FileMenu");
    menuFile_ = file && !file->empty() ? *file : defaultMenuFile();
    return 0;
}

void CPanelhostApp::AddMenuFolderToSearchPath() const {
    const std::string folder = folderOf(menuFile_);
    if (folder.empty()) return;
    // Entries are compared whole: a folder that only begins a longer entry is not that entry.
    const std::vector<std::string> entries = host::ed::supportFolders();
    if (std::find(entries.begin(), entries.end(), folder) != entries.end()) return;
    std::string path = host::ed::getEnvValue(host::ed::kSupportPathValue);
    if (!path.empty() && path.back() != ';') path += ';';
    path += folder + ";";
    host::ed::setEnvValue(host::ed::kSupportPathValue, path);
}

void CPanelhostApp::RefreshWorkspace() {
    host::reg::RegistryKey key = host::reg::productKey();
    if (!key.exists()) return;
    const auto request = key.getString("WSCURRENT");
    if (!request || request->empty() || request->front() != '1') return;
    using host::db::ResBuf;
    host::ed::command({ResBuf(host::db::RTSTR, "_.wscurrent"), ResBuf(host::db::RTSTR, " "),
                       ResBuf(host::db::RTSTR, "")});
    host::ed::print(localized(kMenuRefreshed));
    key.setString("WSCURRENT", "0");
}

}  // namespace menuloader
