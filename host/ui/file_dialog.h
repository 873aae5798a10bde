// File dialogs: open and save dialogs with filters in the "description|patterns|...||" form, a default
// extension, an initial folder and name, and the must-exist and overwrite checks; and a folder chooser.
//
// Both are real dialogs on the desktop: the folder shown, a list of its folders and of the files that match the
// chosen filter, a name box, the filter box, and the buttons. A name typed in the name box is taken relative to
// the folder shown; a name that is a folder opens that folder instead of answering. With OFN_ALLOWMULTISELECT
// several names may be typed, each in double quotes ("a.iso" "b.iso"), or without quotes, apart by spaces, when
// the whole text names no file and each word names one; they are all in one folder, which is folder(). Where a
// name with spaces is not found there, the message says how to name several. The scripted user's lines are "file <name>" and "file cancel" (scripted_user.h).
//
// What OK checks, in order, before it answers (each refusal shows a message box and leaves the dialog open):
//   an empty name                        nothing happens
//   a folder that does not exist         "<path>\nPath does not exist.\nCheck the path and try again."
//   open, OFN_FILEMUSTEXIST, no file     "<path>\nFile not found.\nCheck the file name and try again." (and
//                                        "\nSeveral files are named each in double quotes: ..." as above)
//   open, OFN_CREATEPROMPT, no file      "<path>\nThis file does not exist.\nDo you want to create it?"  Yes/No
//   save, the file exists                "<name> already exists.\nDo you want to replace it?"            Yes/No
// Save dialogs always ask before they replace a file and never require the file to exist, whatever the flags
// say (OFN_FILEMUSTEXIST is ignored for them). The dialog never changes the process's working folder, so
// OFN_NOCHANGEDIR always holds.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/ui/dialog.h"

namespace host::ui {

// Control ids of the file and folder dialogs (those of the system's own dialogs).
inline constexpr int kFileNameEditId = 1152;
inline constexpr int kFileTypeComboId = 1136;
inline constexpr int kFileListId = 1120;
inline constexpr int kFolderTextId = 1091;

// Most entries a folder listing shows; a larger folder shows its first ones, sorted by name.
inline constexpr std::size_t kMaxListedEntries = 5000;

// [SECTION] Filters
struct FileFilter {
    std::string description;            // "Drawings (*.dxf)"
    std::vector<std::string> patterns;  // "*.dxf", "*.dwg": the pattern part split at ';'
};

// Splits "All Files (*.*)|*.*|Drawings|*.dxf;*.dwg||" into its filters. Empty parts at the end are the
// terminator; a description without a pattern after it is its own pattern ("*.dwg|" is "*.dwg|*.dwg"). An
// empty text gives the one filter "All Files (*.*)" with "*.*".
std::vector<FileFilter> parseFileFilter(std::string_view filter);
// Whether a file name matches one of the filter's patterns: '*' any run of characters, '?' one character,
// letters of either case alike; "*.*" matches every name, with or without a dot.
bool matchesFilter(const FileFilter& filter, std::string_view fileName);
// The extension a default-extension text names, without the dot: "dxf", ".dxf" and "*.dxf" give "dxf"; "*.*",
// "*" and "" give "" (none).
std::string extensionOf(std::string_view defaultExtension);

// [SECTION] Open and save
enum class FileDialogKind { Open, Save };

struct FileDialogOptions {
    FileDialogKind kind = FileDialogKind::Open;
    std::string title;             // empty: "Open" or "Save As"
    std::string filter;            // "description|patterns|...||"
    int filterIndex = 1;           // the filter chosen first, counted from 1
    std::string defaultExtension;  // added to a name typed without an extension (see extensionOf)
    // Both are often stored paths (settings, job files), whose '\' is read as a separator: "C:/post\" is the
    // folder "C:/post".
    std::string initialFolder;     // empty: fallbackFolder, or the working folder
    // Where the dialog starts when initialFolder is empty or names no folder that exists (a remembered folder of
    // another machine, "c:\"): a module's installed files. Empty: the working folder.
    std::string fallbackFolder;
    std::string initialName;       // may start with a folder, which then is the folder shown
    unsigned flags = 0;            // OFN_*
    Window* owner = nullptr;
};

class FileDialog : public Dialog {
public:
    explicit FileDialog(FileDialogOptions options);

    const FileDialogOptions& options() const { return options_; }
    // The folder shown now.
    const std::filesystem::path& currentFolder() const { return folder_; }

    // After doModal answered IDOK: the file chosen (the first when several), every file chosen, the folder
    // they are in, and the filter chosen (from 1).
    std::string path() const { return paths_.empty() ? std::string() : paths_.front(); }
    const std::vector<std::string>& paths() const { return paths_; }
    std::string folder() const { return chosenFolder_; }
    int filterIndex() const { return filterIndex_; }

    // Opens a folder in the dialog (as a double click on it would); false when it is not a folder.
    bool openFolder(const std::filesystem::path& folder);
    // The names the list shows now: folders as "[name]" (and "[..]" above the root of nothing), then files.
    std::vector<std::string> listedNames() const;

protected:
    bool onInitDialog() override;
    void onOK() override;
    bool onCommand(int id, int code, Window* control) override;

private:
    void fillList();
    bool acceptNames(const std::string& typed);
    const FileFilter* chosenFilter() const;

    FileDialogOptions options_;
    std::vector<FileFilter> filters_;
    std::filesystem::path folder_;
    std::vector<std::string> paths_;
    std::string chosenFolder_;
    int filterIndex_ = 1;
    std::vector<std::string> listed_;
};

// Shows an open or save dialog; the path chosen, nullopt when cancelled.
std::optional<std::string> chooseFile(FileDialogOptions options);

// [SECTION] Folders
// The folder chooser: the folder shown, its sub-folders, a name box (a folder name, relative to the folder
// shown, or empty for the folder shown itself), OK and Cancel. OK refuses a folder that does not exist with
// "<path>\nThe folder does not exist." The answer has no trailing separator.
class FolderDialog : public Dialog {
public:
    FolderDialog(std::string title, std::string initialFolder, Window* owner = nullptr, unsigned flags = 0);

    const std::filesystem::path& currentFolder() const { return folder_; }
    bool openFolder(const std::filesystem::path& folder);
    std::vector<std::string> listedNames() const { return listed_; }
    // After IDOK: the folder chosen.
    const std::string& path() const { return chosen_; }

protected:
    bool onInitDialog() override;
    void onOK() override;
    bool onCommand(int id, int code, Window* control) override;

private:
    void fillList();

    std::filesystem::path folder_;
    std::string chosen_;
    [[maybe_unused]] unsigned flags_ = 0;  // kept as the caller gave them; no flag changes the dialog yet
    std::vector<std::string> listed_;
};

// Shows the folder chooser; the folder chosen, nullopt when cancelled.
std::optional<std::string> chooseFolder(std::string_view title, std::string_view initialFolder = {},
                                        Window* owner = nullptr, unsigned flags = BIF_RETURNONLYFSDIRS);

}  // namespace host::ui
