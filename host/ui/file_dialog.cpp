// File dialogs: filters, folder listings, the checks of OK, and the folder chooser.
//
// Index: [SECTION] Filters, [SECTION] Names and folders, [SECTION] Open and save, [SECTION] Folders.
#include "host/ui/file_dialog.h"

#include <algorithm>
#include <cctype>
#include <system_error>
#include <utility>

#include "host/sys/paths.h"
#include "host/ui/message_box.h"

namespace host::ui {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kAllFilesDescription = "All Files (*.*)";
constexpr std::string_view kAllFilesPattern = "*.*";
constexpr std::string_view kParentEntry = "[..]";

std::string_view trimSpaces(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// '*' and '?' over bytes, ASCII letters of either case alike; iterative, with one back-tracking point, so a
// pattern of many stars costs no more than length x length.
bool globMatch(std::string_view pattern, std::string_view name) {
    std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

fs::path workingFolder() {
    std::error_code ec;
    fs::path here = fs::current_path(ec);
    return ec ? fs::path("/") : here;
}

bool isFolder(const fs::path& p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

bool pathExists(const fs::path& p) {
    std::error_code ec;
    return fs::exists(p, ec);
}

fs::path absoluteIn(const fs::path& folder, const fs::path& name) {
    return (name.is_absolute() ? name : folder / name).lexically_normal();
}

// A folder path without a trailing separator (but "/" stays "/").
fs::path withoutTrailingSeparator(fs::path p) {
    std::string s = p.string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return fs::path(s);
}

// The folders and the files (those `keep` accepts) of a folder, each sorted by name, bounded.
struct Listing {
    std::vector<std::string> folders;
    std::vector<std::string> files;
};

template <class Keep>
Listing listFolder(const fs::path& folder, Keep keep) {
    Listing out;
    std::error_code ec;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    std::size_t seen = 0;
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (++seen > kMaxListedEntries) break;
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (it->is_directory(typeError))
            out.folders.push_back(name);
        else if (keep(name))
            out.files.push_back(name);
    }
    std::sort(out.folders.begin(), out.folders.end());
    std::sort(out.files.begin(), out.files.end());
    return out;
}

// The names typed in a name box: several in double quotes when allowed, else the whole text as one name (quotes
// around it removed).
std::vector<std::string> typedNames(std::string_view text, bool several) {
    std::vector<std::string> names;
    text = trimSpaces(text);
    if (text.empty()) return names;
    if (several && text.front() == '"') {
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t open = text.find('"', at);
            if (open == std::string_view::npos) break;
            const std::size_t close = text.find('"', open + 1);
            if (close == std::string_view::npos) {
                names.emplace_back(trimSpaces(text.substr(open + 1)));
                break;
            }
            if (close > open + 1) names.emplace_back(text.substr(open + 1, close - open - 1));
            at = close + 1;
        }
        return names;
    }
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    if (!text.empty()) names.emplace_back(text);
    return names;
}

void fillListBox(Window* list, const std::vector<std::string>& names) {
    if (!list) return;
    list->send(LB_RESETCONTENT);
    for (const std::string& n : names) list->send(LB_ADDSTRING, 0, lParamFromPointer(n.c_str()));
}

// The folder a listed "[name]" entry stands for, nullopt for a file entry.
std::optional<fs::path> folderOfEntry(const fs::path& folder, const std::string& entry) {
    if (entry == kParentEntry) return folder.parent_path();
    if (entry.size() >= 2 && entry.front() == '[' && entry.back() == ']')
        return folder / entry.substr(1, entry.size() - 2);
    return std::nullopt;
}

std::string selectedEntry(const Dialog& d, const std::vector<std::string>& listed) {
    Window* list = d.item(kFileListId);
    if (!list) return {};
    const std::intptr_t i = list->send(LB_GETCURSEL);
    return i >= 0 && static_cast<std::size_t>(i) < listed.size() ? listed[static_cast<std::size_t>(i)] : std::string();
}

}  // namespace

// [SECTION] Filters

std::vector<FileFilter> parseFileFilter(std::string_view filter) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= filter.size()) {
        const std::size_t bar = filter.find('|', start);
        parts.push_back(filter.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    while (!parts.empty() && parts.back().empty()) parts.pop_back();

    std::vector<FileFilter> filters;
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        FileFilter f;
        f.description = std::string(parts[i]);
        const std::string_view patterns = i + 1 < parts.size() && !parts[i + 1].empty() ? parts[i + 1] : parts[i];
        std::size_t from = 0;
        while (from <= patterns.size()) {
            const std::size_t semi = patterns.find(';', from);
            const std::size_t length = semi == std::string_view::npos ? std::string_view::npos : semi - from;
            const std::string_view one = trimSpaces(patterns.substr(from, length));
            if (!one.empty()) f.patterns.emplace_back(one);
            if (semi == std::string_view::npos) break;
            from = semi + 1;
        }
        if (f.patterns.empty()) f.patterns.emplace_back(kAllFilesPattern);
        filters.push_back(std::move(f));
    }
    if (filters.empty()) filters.push_back({std::string(kAllFilesDescription), {std::string(kAllFilesPattern)}});
    return filters;
}

bool matchesFilter(const FileFilter& filter, std::string_view fileName) {
    for (const std::string& p : filter.patterns) {
        if (p == kAllFilesPattern || p == "*") return true;
        if (globMatch(p, fileName)) return true;
    }
    return false;
}

std::string extensionOf(std::string_view defaultExtension) {
    std::string_view e = trimSpaces(defaultExtension);
    if (e.starts_with("*")) e.remove_prefix(1);
    if (e.starts_with(".")) e.remove_prefix(1);
    if (e.empty() || e.find_first_of("*?") != std::string_view::npos) return {};
    return std::string(e);
}

// [SECTION] Open and save

FileDialog::FileDialog(FileDialogOptions options)
    : Dialog(DialogTemplate{}, options.owner), options_(std::move(options)) {
    const bool save = options_.kind == FileDialogKind::Save;
    std::string title = options_.title.empty() ? (save ? "Save As" : "Open") : options_.title;
    DialogTemplate t(std::move(title), 263, 170);
    t.style |= DS_CENTER;
    t.label("Look &in:", {7, 7, 40, 8})
        .control(kStaticClass, kFolderTextId, "", {50, 7, 206, 8}, SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS)
        .listBox(kFileListId, {7, 20, 249, 100})
        .label("File &name:", {7, 128, 50, 8})
        .edit(kFileNameEditId, {60, 126, 140, 12})
        .label("Files of &type:", {7, 146, 50, 8})
        .comboBox(kFileTypeComboId, {60, 144, 140, 80})
        .defaultButton(IDOK, save ? "&Save" : "&Open", {206, 126, 50, 14})
        .button(IDCANCEL, "Cancel", {206, 144, 50, 14});
    dialogTemplate() = std::move(t);

    filters_ = parseFileFilter(options_.filter);
    filterIndex_ = std::clamp(options_.filterIndex, 1, static_cast<int>(filters_.size()));
    // A folder kept with a final '\' was taken as a folder whose name ends in '\', and every name picked in it
    // was refused as "Path does not exist".
    folder_ = options_.initialFolder.empty() ? workingFolder()
                                             : absoluteIn(workingFolder(), sys::toNativePath(options_.initialFolder));
    if (!options_.fallbackFolder.empty() && (options_.initialFolder.empty() || !isFolder(folder_)))
        folder_ = absoluteIn(workingFolder(), sys::toNativePath(options_.fallbackFolder));
}

const FileFilter* FileDialog::chosenFilter() const {
    return filterIndex_ >= 1 && static_cast<std::size_t>(filterIndex_) <= filters_.size()
               ? &filters_[static_cast<std::size_t>(filterIndex_ - 1)]
               : nullptr;
}

bool FileDialog::onInitDialog() {
    paths_.clear();
    chosenFolder_.clear();
    // An initial name may carry its folder ("/data/post/sample.MXT" or "post/"), which is then the one shown.
    std::string name = sys::toNativePath(options_.initialName).string();
    if (!name.empty()) {
        const fs::path given = absoluteIn(folder_, name);
        if (isFolder(given)) {
            folder_ = given;
            name.clear();
        } else if (fs::path(name).has_parent_path() && isFolder(given.parent_path())) {
            folder_ = given.parent_path();
            name = given.filename().string();
        }
    }
    folder_ = withoutTrailingSeparator(folder_);
    if (Window* types = item(kFileTypeComboId)) {
        for (const FileFilter& f : filters_) types->send(CB_ADDSTRING, 0, lParamFromPointer(f.description.c_str()));
        types->send(CB_SETCURSEL, static_cast<std::uintptr_t>(filterIndex_ - 1));
    }
    setItemText(kFileNameEditId, name);
    fillList();
    if (Window* edit = item(kFileNameEditId)) {
        gotoControl(*edit);
        return false;
    }
    return true;
}

void FileDialog::fillList() {
    setItemText(kFolderTextId, folder_.string());
    const FileFilter* filter = chosenFilter();
    const Listing l = listFolder(folder_, [&](const std::string& n) { return !filter || matchesFilter(*filter, n); });
    listed_.clear();
    if (folder_.has_parent_path() && folder_.parent_path() != folder_) listed_.emplace_back(kParentEntry);
    for (const std::string& f : l.folders) listed_.push_back("[" + f + "]");
    for (const std::string& f : l.files) listed_.push_back(f);
    fillListBox(item(kFileListId), listed_);
}

std::vector<std::string> FileDialog::listedNames() const {
    return listed_;
}

bool FileDialog::openFolder(const fs::path& folder) {
    const fs::path target = withoutTrailingSeparator(absoluteIn(folder_, folder));
    if (!isFolder(target)) return false;
    folder_ = target;
    fillList();
    return true;
}

bool FileDialog::onCommand(int id, int code, Window*) {
    if (id == kFileTypeComboId && code == CBN_SELCHANGE) {
        if (Window* types = item(kFileTypeComboId)) {
            const std::intptr_t i = types->send(CB_GETCURSEL);
            if (i >= 0) filterIndex_ = static_cast<int>(i) + 1;
        }
        fillList();
        return true;
    }
    if (id == kFileListId && (code == LBN_SELCHANGE || code == LBN_DBLCLK)) {
        const std::string entry = selectedEntry(*this, listed_);
        if (entry.empty()) return true;
        if (const auto sub = folderOfEntry(folder_, entry)) {
            if (code == LBN_DBLCLK) openFolder(*sub);
            return true;
        }
        setItemText(kFileNameEditId, entry);
        if (code == LBN_DBLCLK) onOK();
        return true;
    }
    return false;
}

void FileDialog::onOK() {
    if (acceptNames(itemText(kFileNameEditId))) endDialog(IDOK);
}

bool FileDialog::acceptNames(const std::string& typed) {
    const bool save = options_.kind == FileDialogKind::Save;
    const bool several = !save && (options_.flags & OFN_ALLOWMULTISELECT);
    std::vector<std::string> names = typedNames(typed, several);
    if (names.empty()) return false;
    const std::string extension = extensionOf(options_.defaultExtension);
    // The path a typed name stands for: the default extension is added to a name without one that is not there.
    auto resolved = [&](const std::string& name) {
        fs::path p = absoluteIn(folder_, name);
        if (!extension.empty() && !p.has_extension() && (save || !pathExists(p))) p += "." + extension;
        return p;
    };
    // Several names typed without quotes, where the dialog takes several: when the text is no file but each word
    // of it is one, the words are the names.
    const bool unquotedWords = several && names.size() == 1 && trimSpaces(typed).front() != '"' &&
                               names.front().find_first_of(" \t") != std::string::npos;
    if (unquotedWords && !pathExists(resolved(names.front()))) {
        std::vector<std::string> words;
        std::string_view rest = names.front();
        while (!(rest = trimSpaces(rest)).empty()) {
            const std::size_t end = std::min(rest.find_first_of(" \t"), rest.size());
            words.emplace_back(rest.substr(0, end));
            rest.remove_prefix(end);
        }
        if (std::all_of(words.begin(), words.end(), [&](const std::string& w) { return pathExists(resolved(w)); }))
            names = std::move(words);
    }
    if (names.size() == 1 && isFolder(absoluteIn(folder_, names.front()))) {
        openFolder(names.front());
        setItemText(kFileNameEditId, "");
        return false;
    }
    std::vector<std::string> chosen;
    fs::path chosenFolder;
    for (const std::string& name : names) {
        const fs::path p = resolved(name);
        if (!isFolder(p.parent_path())) {
            messageBox(p.string() + "\nPath does not exist.\nCheck the path and try again.", dialogTemplate().caption,
                       MB_OK | MB_ICONWARNING, this);
            return false;
        }
        if (!save && !pathExists(p)) {
            if (options_.flags & OFN_FILEMUSTEXIST) {
                // Names with spaces where several may be chosen: the user may have meant several files.
                const std::string hint =
                    unquotedWords ? "\nSeveral files are named each in double quotes: \"a.dxf\" \"b.dxf\"." : "";
                messageBox(p.string() + "\nFile not found.\nCheck the file name and try again." + hint,
                           dialogTemplate().caption, MB_OK | MB_ICONWARNING, this);
                return false;
            }
            if ((options_.flags & OFN_CREATEPROMPT) &&
                messageBox(p.string() + "\nThis file does not exist.\nDo you want to create it?",
                           dialogTemplate().caption, MB_YESNO | MB_ICONQUESTION, this) != IDYES)
                return false;
        }
        if (save && pathExists(p) &&
            messageBox(p.filename().string() + " already exists.\nDo you want to replace it?", dialogTemplate().caption,
                       MB_YESNO | MB_ICONWARNING, this) != IDYES)
            return false;
        chosen.push_back(p.string());
        chosenFolder = p.parent_path();
    }
    paths_ = std::move(chosen);
    chosenFolder_ = chosenFolder.string();
    return true;
}

std::optional<std::string> chooseFile(FileDialogOptions options) {
    FileDialog dialog(std::move(options));
    if (dialog.doModal() != IDOK) return std::nullopt;
    return dialog.path();
}

// [SECTION] Folders

FolderDialog::FolderDialog(std::string title, std::string initialFolder, Window* owner, unsigned flags)
    : Dialog(DialogTemplate{}, owner), flags_(flags) {
    DialogTemplate t(title.empty() ? "Choose a Folder" : title, 263, 176);
    t.style |= DS_CENTER;
    t.label(t.caption, {7, 7, 249, 8})
        .label("Look in:", {7, 20, 40, 8})
        .control(kStaticClass, kFolderTextId, "", {50, 20, 206, 8}, SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS)
        .listBox(kFileListId, {7, 32, 249, 100})
        .label("&Folder:", {7, 140, 40, 8})
        .edit(kFileNameEditId, {50, 138, 150, 12})
        .defaultButton(IDOK, "OK", {206, 138, 50, 14})
        .button(IDCANCEL, "Cancel", {206, 156, 50, 14});
    dialogTemplate() = std::move(t);
    folder_ = withoutTrailingSeparator(initialFolder.empty()
                                           ? workingFolder()
                                           : absoluteIn(workingFolder(), sys::toNativePath(initialFolder)));
    if (!isFolder(folder_)) folder_ = workingFolder();
}

bool FolderDialog::onInitDialog() {
    chosen_.clear();
    fillList();
    if (Window* edit = item(kFileNameEditId)) {
        gotoControl(*edit);
        return false;
    }
    return true;
}

void FolderDialog::fillList() {
    setItemText(kFolderTextId, folder_.string());
    const Listing l = listFolder(folder_, [](const std::string&) { return false; });
    listed_.clear();
    if (folder_.has_parent_path() && folder_.parent_path() != folder_) listed_.emplace_back(kParentEntry);
    for (const std::string& f : l.folders) listed_.push_back("[" + f + "]");
    fillListBox(item(kFileListId), listed_);
}

bool FolderDialog::openFolder(const fs::path& folder) {
    const fs::path target = withoutTrailingSeparator(absoluteIn(folder_, folder));
    if (!isFolder(target)) return false;
    folder_ = target;
    fillList();
    return true;
}

bool FolderDialog::onCommand(int id, int code, Window*) {
    if (id != kFileListId || code != LBN_DBLCLK) return false;
    if (const auto sub = folderOfEntry(folder_, selectedEntry(*this, listed_))) openFolder(*sub);
    return true;
}

void FolderDialog::onOK() {
    const std::string typed(trimSpaces(itemText(kFileNameEditId)));
    const fs::path target = withoutTrailingSeparator(typed.empty() ? folder_ : absoluteIn(folder_, typed));
    if (!isFolder(target)) {
        messageBox(target.string() + "\nThe folder does not exist.", dialogTemplate().caption, MB_OK | MB_ICONWARNING,
                   this);
        return;
    }
    chosen_ = target.string();
    endDialog(IDOK);
}

std::optional<std::string> chooseFolder(std::string_view title, std::string_view initialFolder, Window* owner,
                                        unsigned flags) {
    FolderDialog dialog{std::string(title), std::string(initialFolder), owner, flags};
    if (dialog.doModal() != IDOK) return std::nullopt;
    return dialog.path();
}

}  // namespace host::ui
