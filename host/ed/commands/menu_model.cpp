// Menus of a host without a screen: reading menu files, loaded groups and the menu bar.
#include "host/ed/commands/menu_model.h"

#include <algorithm>
#include <system_error>

#include "host/ed/env_values.h"
#include "host/sys/folders.h"
#include "host/sys/paths.h"
#include "host/sys/text_case.h"
#include "host/sys/text_file.h"

namespace host::ed {

namespace {

constexpr std::string_view kMenuExtension = ".menu";
constexpr std::string_view kMenuFolder = "menus";

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

// Splits "word rest" at the first blank.
std::pair<std::string_view, std::string_view> splitWord(std::string_view line) {
    const auto blank = line.find_first_of(" \t");
    if (blank == std::string_view::npos) return {line, {}};
    return {line.substr(0, blank), trim(line.substr(blank))};
}

// "label = macro": split at the first "=", both sides trimmed; the label may not be empty.
std::optional<MenuItem> parseItem(std::string_view text) {
    const auto eq = text.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    MenuItem item{std::string(trim(text.substr(0, eq))), std::string(trim(text.substr(eq + 1)))};
    if (item.label.empty()) return std::nullopt;
    return item;
}

}  // namespace

std::optional<MenuGroup> readMenuFile(const std::filesystem::path& path, std::string* error) {
    const auto fail = [&](std::size_t line, const std::string& what) -> std::optional<MenuGroup> {
        if (error) *error = path.string() + ", line " + std::to_string(line) + ": " + what;
        return std::nullopt;
    };
    std::string readError;
    const std::optional<sys::TextFile> file =
        sys::readTextFile(path, &readError, sys::TextLimits{kMaxMenuFileBytes, kMaxMenuLineBytes});
    if (!file) {
        if (error) *error = readError;
        return std::nullopt;
    }
    MenuGroup group;
    group.file = path;
    enum class Block { None, Popup, Toolbar } block = Block::None;
    std::size_t blockLine = 0;
    for (std::size_t n = 1; n <= file->lines.size(); ++n) {
        const std::string_view line = trim(file->lines[n - 1]);
        if (line.empty() || line.front() == '#' || line.front() == ';') continue;
        const auto [word, rest] = splitWord(line);
        const std::string keyword = sys::lowerCase(word);
        if (group.name.empty() && keyword != "group") return fail(n, "the file must start with \"group <name>\"");
        if (keyword == "group") {
            if (!group.name.empty()) return fail(n, "a second \"group\"");
            if (rest.empty()) return fail(n, "the group has no name");
            group.name = std::string(rest);
        } else if (keyword == "popup" || keyword == "toolbar") {
            if (block != Block::None) return fail(n, "\"" + keyword + "\" inside another menu (an \"end\" is missing)");
            if (rest.empty()) return fail(n, "the " + keyword + " has no name");
            block = keyword == "popup" ? Block::Popup : Block::Toolbar;
            blockLine = n;
            if (block == Block::Popup) group.popups.push_back({std::string(rest), {}});
            else group.toolbars.push_back({std::string(rest), {}, false});
        } else if (keyword == "item" || keyword == "separator") {
            if (block != Block::Popup) return fail(n, "\"" + keyword + "\" outside a popup");
            if (keyword == "separator") {
                if (!rest.empty()) return fail(n, "\"separator\" takes nothing after it");
                group.popups.back().items.push_back({});
                continue;
            }
            const auto item = parseItem(rest);
            if (!item) return fail(n, "an item is \"item <label> = <macro>\"");
            group.popups.back().items.push_back(*item);
        } else if (keyword == "button") {
            if (block != Block::Toolbar) return fail(n, "\"button\" outside a toolbar");
            const auto item = parseItem(rest);
            if (!item) return fail(n, "a button is \"button <label> = <macro>\"");
            group.toolbars.back().buttons.push_back(*item);
        } else if (keyword == "end") {
            if (block == Block::None) return fail(n, "\"end\" without a popup or toolbar");
            if (!rest.empty()) return fail(n, "\"end\" takes nothing after it");
            block = Block::None;
        } else {
            return fail(n, "unknown statement \"" + std::string(word) + "\"");
        }
    }
    if (group.name.empty()) return fail(file->lines.size(), "the file names no group");
    if (block != Block::None) return fail(blockLine, "this menu has no \"end\"");
    return group;
}

std::optional<std::filesystem::path> findMenuFile(std::string_view name) {
    if (trim(name).empty()) return std::nullopt;
    std::string file(trim(name));
    if (sys::extensionOf(file).empty()) file += kMenuExtension;
    const std::filesystem::path install = sys::installFolder();
    std::vector<std::filesystem::path> candidates = {sys::toNativePath(file), install / kMenuFolder / file,
                                                     install / file};
    for (const std::string& folder : supportFolders()) candidates.push_back(sys::toNativePath(folder) / file);
    for (const std::filesystem::path& p : candidates) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(p, ec)) return p;
    }
    return std::nullopt;
}

MenuGroup* MenuModel::load(const std::filesystem::path& path, std::string* error) {
    std::optional<MenuGroup> group = readMenuFile(path, error);
    if (!group) return nullptr;
    const std::string name = group->name;
    MenuGroup* added = adopt(std::move(*group));
    if (!added && error) *error = "The menu group \"" + name + "\" is loaded already.";
    return added;
}

MenuGroup* MenuModel::adopt(MenuGroup group) {
    if (find(group.name)) return nullptr;
    groups_.push_back(std::make_unique<MenuGroup>(std::move(group)));
    return groups_.back().get();
}

bool MenuModel::unload(std::string_view name) {
    auto it = std::find_if(groups_.begin(), groups_.end(),
                           [&](const auto& g) { return sys::equalsNoCase(g->name, name); });
    if (it == groups_.end()) return false;
    std::erase_if(menuBar_, [&](const MenuBarEntry& e) { return sys::equalsNoCase(e.group, name); });
    groups_.erase(it);
    return true;
}

MenuGroup* MenuModel::group(std::size_t index) { return index < groups_.size() ? groups_[index].get() : nullptr; }

MenuGroup* MenuModel::find(std::string_view name) {
    for (const auto& g : groups_)
        if (sys::equalsNoCase(g->name, name)) return g.get();
    return nullptr;
}

bool MenuModel::insertInMenuBar(std::string_view groupName, std::size_t popup, std::size_t position) {
    MenuGroup* g = find(groupName);
    if (!g || popup >= g->popups.size()) return false;
    MenuBarEntry entry{g->name, g->popups[popup].name};
    const bool there = std::any_of(menuBar_.begin(), menuBar_.end(), [&](const MenuBarEntry& e) {
        return sys::equalsNoCase(e.group, entry.group) && e.popup == entry.popup;
    });
    if (there) return false;
    menuBar_.insert(menuBar_.begin() + std::ptrdiff_t(std::min(position, menuBar_.size())), entry);
    return true;
}

bool MenuModel::removeFromMenuBar(std::string_view groupName, std::string_view popup) {
    return std::erase_if(menuBar_, [&](const MenuBarEntry& e) {
               return sys::equalsNoCase(e.group, groupName) && e.popup == popup;
           }) > 0;
}

void MenuModel::clear() {
    groups_.clear();
    menuBar_.clear();
}

void installHostMenus(MenuModel& menus) {
    if (menus.find(kHostMenuGroup)) return;
    auto item = [](const char* label, const char* command) { return MenuItem{label, std::string("^C^C_") + command}; };
    MenuGroup group;
    group.name = kHostMenuGroup;
    group.popups = {
        {"&File",
         {item("New", "NEW"), item("Open...", "OPEN"), item("Save", "QSAVE"), item("Save As...", "SAVEAS"),
          item("Close", "CLOSE"), MenuItem{}, item("Quit", "QUIT")}},
        {"&Edit",
         {item("Undo", "UNDO"), MenuItem{}, item("Erase", "ERASE"), item("Move", "MOVE"), item("Rotate", "ROTATE"),
          item("Explode", "EXPLODE"), item("Polyline Edit", "PEDIT")}},
        {"&View", {item("Zoom Extents", "ZOOM _E"), item("Regen", "REGEN")}},
        {"&Help", {item("Commands", "HELP")}},
    };
    MenuGroup* installed = menus.adopt(std::move(group));
    for (std::size_t i = 0; i < installed->popups.size(); ++i)
        menus.insertInMenuBar(kHostMenuGroup, i, menus.menuBar().size());
}

namespace {
bool& applicationAvailable() {
    static bool available = true;
    return available;
}
}  // namespace

MenuModel* menuApplication() {
    static MenuModel model;
    return applicationAvailable() ? &model : nullptr;
}

void setMenuApplicationAvailable(bool available) { applicationAvailable() = available; }

}  // namespace host::ed
