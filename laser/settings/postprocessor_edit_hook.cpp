// The Machine page's way to the postprocessor editor. Until the editor is part of the module, Edit... says so on
// the command line and changes nothing.
#include "laser/settings/postprocessor_edit_hook.h"

#include "cadlib/messages.h"

namespace {

constexpr TwoLanguageText kEditorComesLater{"\nThe postprocessor editor is not available yet: %s is left as it is.",
                                            "\nРедактор постпроцессора пока недоступен: %s оставлен без изменений."};

}  // namespace

bool EditPostprocessorFromMachinePage(const std::filesystem::path& path) {
    PrintLocalized(kEditorComesLater, path.string().c_str());
    return false;
}
