// The navigation dialog for drawings: an open dialog that lists a folder, lets several files be chosen at once
// and shows a preview of the drawing named in its name box. Pages that add drawings to a table open it.
//
// It is the open dialog of file_dialog.h (the same listing, name box, filter box and checks of OK: every file
// chosen must exist) with a preview area beside the list. The filters are given as a list of descriptions and
// patterns rather than as one "|" text. After OK the chosen files are items: the full path (text) and the name
// in its folder (textInFolder), in the order they were named.
//
// The scripted user answers it as any file dialog: "file <name>", several as "file \"a.dxf\" \"b.dxf\"" when
// it allows several, "file cancel".
//
// The preview follows the name box: when it names one file that exists, the preview shows that drawing;
// otherwise the area is empty. Choosing a file in the list puts its name into the box, so the preview follows
// the list too.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/ui/file_dialog.h"

namespace host::ui {

// The id of the preview area.
inline constexpr int kNavPreviewId = 1200;

struct NavFilter {
    std::string description;  // "*.dxf files"
    std::string pattern;      // "*.dxf"; several separated by ';'
};

struct NavItem {
    std::string text;          // the full path
    std::string textInFolder;  // the name in its folder
};

struct NavDialogOptions {
    std::string caption;             // the dialog's title
    std::vector<NavFilter> filters;  // none: all files
    int filterIndex = 1;             // the filter chosen first, from 1
    std::string initialFolder;       // empty: the working folder
    bool multiSelect = false;
    bool previewPresent = true;
    bool previewVisible = true;
    Window* owner = nullptr;
};

class NavDialog : public FileDialog {
public:
    explicit NavDialog(NavDialogOptions options);

    const NavDialogOptions& navOptions() const { return nav_; }
    // After IDOK: the files chosen, in order.
    std::vector<NavItem> items() const;
    // The file the preview shows now; empty when none.
    const std::string& previewedFile() const { return previewed_; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, Window* control) override;

private:
    void refreshPreview();

    NavDialogOptions nav_;
    std::string previewed_;
};

// Shows the dialog; the files chosen, nullopt when cancelled.
std::optional<std::vector<NavItem>> chooseDrawings(NavDialogOptions options);

}  // namespace host::ui
