// Menus of a host without a screen: menu groups read from menu files, their pop-up menus and toolbars, and the
// menu bar pop-ups are inserted in. MENULOAD and MENUUNLOAD change it; the menu loader drives it as a host's
// menu automation would be driven.
//
// A menu file is text of our own (UTF-8 or CP1251, LF or CR LF), one statement a line; blank lines and lines
// starting with "#" or ";" are comments:
//     group kestrion                        the group's name: the first statement, once
//     popup &Kestrion                       a pop-up menu, up to its "end"
//       item Create contours = ^C^C_vesk_CreateContour     a label and the macro it runs
//       separator
//     end
//     toolbar Kestrion                      a toolbar, up to its "end"
//       button Create contours = ^C^C_vesk_CreateContour
//     end
// Anything else, a statement out of place, an empty label or name, or a missing "end" is an error naming the file
// and the line.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host::ed {

struct MenuItem {
    std::string label;  // "" for a separator
    std::string macro;
    bool isSeparator() const { return label.empty(); }
};

struct PopupMenu {
    std::string name;
    std::vector<MenuItem> items;
};

struct Toolbar {
    std::string name;
    std::vector<MenuItem> buttons;
    bool visible = false;
};

struct MenuGroup {
    std::string name;
    std::filesystem::path file;
    std::vector<PopupMenu> popups;
    std::vector<Toolbar> toolbars;
};

// Bounds on menu files: a menu is a few hundred lines; anything larger is not a menu file.
inline constexpr std::size_t kMaxMenuFileBytes = 1u << 20;
inline constexpr std::size_t kMaxMenuLineBytes = 1024;

// Reads and checks a menu file. nullopt with "<file>, line <n>: <what is wrong>" (or why the file cannot be read)
// in `error`.
std::optional<MenuGroup> readMenuFile(const std::filesystem::path& path, std::string* error);

// The file a menu name given to MENULOAD stands for: the name as a path (".menu" added when it has no
// extension), else "<name>.menu" in the installation folder's "menus" folder, else in the installation folder
// itself, else in the folders of the support search path (env_values.h), in their order. nullopt when there is
// none.
std::optional<std::filesystem::path> findMenuFile(std::string_view name);

// One entry of the menu bar: a pop-up of a loaded group.
struct MenuBarEntry {
    std::string group;
    std::string popup;
};

class MenuModel {
public:
    // Loads a menu file as a new group. Fails (nullptr, `error` set) when the file cannot be read or is not a
    // menu file, or a group of its name is loaded already (names compared without regard to case). Groups
    // answered here and by group() and find() stay valid until they are unloaded.
    MenuGroup* load(const std::filesystem::path& path, std::string* error);
    // Adds a group made in memory (the host's own); nullptr when a group of its name is loaded already.
    MenuGroup* adopt(MenuGroup group);
    // Unloads a group by name: its pop-ups leave the menu bar. False when no such group is loaded.
    bool unload(std::string_view name);

    std::size_t groupCount() const { return groups_.size(); }
    // The group at an index (nullptr past the end).
    MenuGroup* group(std::size_t index);
    MenuGroup* find(std::string_view name);

    // Puts a pop-up of a loaded group into the menu bar at `position` (the end when past it). False for an
    // unknown group or pop-up, or one that is there already.
    bool insertInMenuBar(std::string_view group, std::size_t popup, std::size_t position);
    bool removeFromMenuBar(std::string_view group, std::string_view popup);
    const std::vector<MenuBarEntry>& menuBar() const { return menuBar_; }

    void clear();

private:
    std::vector<std::unique_ptr<MenuGroup>> groups_;  // a group stays where it is until it is unloaded
    std::vector<MenuBarEntry> menuBar_;
};

// The host's own menu group, "CADHOST": the pop-ups File, Edit, View and Help of the host's commands, which a
// session starts with in its menu bar (products insert their pop-ups among them). Put into `menus` when it is not
// there.
inline constexpr std::string_view kHostMenuGroup = "CADHOST";
void installHostMenus(MenuModel& menus);

// The session's menus (nullptr while the menu automation is made unavailable, for the menu loader's tests).
MenuModel* menuApplication();
void setMenuApplicationAvailable(bool available);

}  // namespace host::ed
