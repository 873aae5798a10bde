// The open dialog of the material choice and the save dialog of the material page.
#include "cadlib/material_dialogs.h"

#include <optional>

#include "cadlib/material_file.h"
#include "cadlib/messages.h"
#include "host/sys/paths.h"
#include "host/ui/constants.h"
#include "host/ui/file_dialog.h"
#include "host/ui/message_box.h"

namespace {

constexpr TwoLanguageText kCannotSaveMaterial = {
    "The material file cannot be saved.\n\n%s",
    "Не удалось сохранить файл материала.\n\n%s",
};

constexpr TwoLanguageText kMaterialNotRead = {
    "The material is not changed.\n\n%s",
    "Материал не изменён.\n\n%s",
};

host::ui::FileDialogOptions materialDialog(host::ui::FileDialogKind kind, const std::string& folder,
                                           const std::string& fileName, unsigned flags) {
    host::ui::FileDialogOptions options;
    options.kind = kind;
    options.filter = Localized(kMaterialFileFilter);
    options.defaultExtension = kMaterialDefaultExtension;
    options.initialFolder = folder;
    // No folder remembered, or one of another machine ("c:\"): the installed materials.
    options.fallbackFolder = InstalledMaterialFolder().string();
    options.initialName = fileName;
    options.flags = flags;
    options.owner = nullptr;
    return options;
}

}  // namespace

int ChooseMaterialFile(std::string& folder, std::string& fileName, std::string& density, std::string& number) {
    const std::optional<std::string> path = host::ui::chooseFile(materialDialog(
        host::ui::FileDialogKind::Open, folder, fileName, host::ui::OFN_FILEMUSTEXIST | host::ui::OFN_NOCHANGEDIR));
    if (!path) return 0;
    std::string readDensity, readNumber, error;
    // What is wrong with a file that is refused is told here, once for both modules; the material stays.
    if (ReadMaterialFile(host::sys::toNativePath(*path), readDensity, readNumber, &error) != 0) {
        host::ui::messageBox(FormatLocalized(kMaterialNotRead, error.c_str()), "", host::ui::MB_OK | host::ui::MB_ICONERROR);
        return -1;
    }
    folder = std::string(host::sys::folderOf(*path));
    fileName = std::string(host::sys::fileNameOf(*path));
    density = std::move(readDensity);
    number = std::move(readNumber);
    return 0;
}

MaterialSaveResult SaveMaterialFileAs(const std::string& folder, const std::string& fileName,
                                      std::string_view density, std::string_view number, std::string& chosenPath) {
    const std::optional<std::string> path = host::ui::chooseFile(materialDialog(
        host::ui::FileDialogKind::Save, folder, fileName, host::ui::OFN_OVERWRITEPROMPT | host::ui::OFN_NOCHANGEDIR));
    if (!path) return MaterialSaveResult::Cancelled;
    chosenPath = *path;
    std::string error;
    if (WriteMaterialFile(host::sys::toNativePath(*path), density, number, &error))
        return MaterialSaveResult::Saved;
    host::ui::messageBox(FormatLocalized(kCannotSaveMaterial, error.c_str()), "",
                         host::ui::MB_OK | host::ui::MB_ICONERROR);
    return MaterialSaveResult::Failed;
}
