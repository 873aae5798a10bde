// The navigation dialog for drawings: the open dialog with several files and a drawing preview.
#include "host/ui/nav_dialog.h"

#include <filesystem>
#include <system_error>

#include "host/ui/drawing_preview.h"
#include "host/ui/static.h"

namespace host::ui {

namespace fs = std::filesystem;

namespace {

// The "|" filter text of the open dialog for a list of filters.
std::string filterText(const std::vector<NavFilter>& filters) {
    std::string text;
    for (const NavFilter& f : filters) text += f.description + "|" + (f.pattern.empty() ? "*.*" : f.pattern) + "|";
    return text + "|";
}

FileDialogOptions openOptions(const NavDialogOptions& nav) {
    FileDialogOptions o;
    o.kind = FileDialogKind::Open;
    o.title = nav.caption;
    o.filter = filterText(nav.filters);
    o.filterIndex = nav.filterIndex;
    o.initialFolder = nav.initialFolder;
    o.flags = OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR | (nav.multiSelect ? OFN_ALLOWMULTISELECT : 0u);
    o.owner = nav.owner;
    return o;
}

// The preview sits right of the list, as tall as it; the dialog widens by the preview and a gap.
constexpr TemplateRect kPreviewRect{262, 20, 110, 100};
constexpr int kWidening = 116;

}  // namespace

NavDialog::NavDialog(NavDialogOptions options) : FileDialog(openOptions(options)), nav_(std::move(options)) {
    if (!nav_.previewPresent) return;
    DialogTemplate& t = dialogTemplate();
    t.rect.width += kWidening;
    std::uint32_t style = SS_BITMAP | SS_CENTERIMAGE | WS_BORDER;
    t.control(kStaticClass, kNavPreviewId, "", kPreviewRect, style);
}

bool NavDialog::onInitDialog() {
    const bool answer = FileDialog::onInitDialog();
    if (Window* area = item(kNavPreviewId); area && !nav_.previewVisible) area->show(SW_HIDE);
    refreshPreview();
    return answer;
}

bool NavDialog::onCommand(int id, int code, Window* control) {
    const bool handled = FileDialog::onCommand(id, code, control);
    if ((id == kFileListId && code == LBN_SELCHANGE) || (id == kFileNameEditId && code == EN_CHANGE) ||
        (id == kFileTypeComboId && code == CBN_SELCHANGE))
        refreshPreview();
    return handled;
}

void NavDialog::refreshPreview() {
    Window* area = item(kNavPreviewId);
    if (!area) return;
    std::string name = itemText(kFileNameEditId);
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"' &&
        name.find('"', 1) == name.size() - 1)
        name = name.substr(1, name.size() - 2);
    std::error_code ec;
    const fs::path file = name.empty() || name.find('"') != std::string::npos
                              ? fs::path()
                              : (fs::path(name).is_absolute() ? fs::path(name) : currentFolder() / name);
    if (file.empty() || !fs::is_regular_file(file, ec)) {
        previewed_.clear();
        if (auto* picture = dynamic_cast<Static*>(area)) picture->setBitmap(nullptr);
        area->invalidate();
        return;
    }
    if (file.string() == previewed_) return;
    previewed_ = displayPreviewFromDrawing(file, *area) ? file.string() : std::string();
}

std::vector<NavItem> NavDialog::items() const {
    std::vector<NavItem> out;
    for (const std::string& p : paths()) out.push_back({p, fs::path(p).filename().string()});
    return out;
}

std::optional<std::vector<NavItem>> chooseDrawings(NavDialogOptions options) {
    NavDialog dialog(std::move(options));
    if (dialog.doModal() != IDOK) return std::nullopt;
    return dialog.items();
}

}  // namespace host::ui
