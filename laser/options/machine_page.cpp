// The Machine page: machine type, postprocessor (chosen and read, or edited), tool diameter, feeds and the time
// of switching the beam.
#include <filesystem>
#include <optional>

#include "cadlib/number_text.h"
#include "host/ui/combo_box.h"
#include "host/ui/constants.h"
#include "host/ui/file_dialog.h"
#include "host/ui/message_box.h"
#include "host/sys/number_text.h"
#include "laser/options/option_pages.h"
#include "laser/options/option_texts.h"
#include "laser/post/postprocessor_file.h"
#include "laser/settings/laser_settings.h"
#include "laser/settings/number_field_check.h"
#include "laser/post/postprocessor_editor.h"
#include "laser/post/postprocessor_runtime.h"
#include "laser/settings/settings_text.h"

using namespace option_ids;
using host::ui::DialogTemplate;

namespace {

struct FeedRow {
    int label;
    int edit;
    const TwoLanguageText* text;
    double CLaserSettings::*setting;
    const char* format;
};

constexpr FeedRow kFeedRows[] = {
    {360, 231, &kDiameterTool, &CLaserSettings::DiameterTool, "%.4f"},
    {361, kFeedCut, &kCuttingFeed, &CLaserSettings::FeedCut, "%.4f"},
    {526, 228, &kCuttingFeedT2, &CLaserSettings::FeedCutT2, "%.4f"},
    {362, 317, &kEngraveFeed, &CLaserSettings::EngraveCut, "%.4f"},
    {484, 249, &kEngraveMarkFeed, &CLaserSettings::EngraveAndMarkCut, "%.4f"},
    {485, 254, &kMarkFeed, &CLaserSettings::MarkCut, "%.4f"},
    {363, 320, &kHeatFeed, &CLaserSettings::HeatTreatmentCut, "%.4f"},
    {364, kFeedRapid, &kRapidFeed, &CLaserSettings::FeedRapid, "%.4f"},
    {365, 234, &kTimeCut, &CLaserSettings::TimeLaserOnOff, "%.2f"},
};

constexpr const char* kMachineTypes[] = {"Diamond", "Flame", "Laser", "Plasma", "Waterjet"};

DialogTemplate MachineTemplate() {
    DialogTemplate t("Machine", kPageWidth, kPageHeight);
    PageLayout l(t);
    l.group(kSelectPostprocessorGroup, 7, 7, 376, 356);
    t.label(Localized(kTypeMachine), {l.x(), l.y() + 2, 120, 8}, 357);
    t.comboBox(kMachineTypeList, {150, l.y(), 100, 80}, host::ui::CBS_DROPDOWNLIST | host::ui::CBS_SORT);
    l.skip(18);
    t.label(Localized(kPostprocessorLabel), {l.x(), l.y() + 2, 120, 8}, 358);
    t.edit(kPostprocessorEdit, {150, l.y(), 100, 13}, host::ui::ES_AUTOHSCROLL);
    t.button(kSelectPostprocessor, Localized(kSelectButton), {256, l.y(), 56, 14});
    t.button(kEditPostprocessor, Localized(kEditButton), {318, l.y(), 56, 14});
    l.skip(18).close();
    l.group(kTimingGroup, 7, l.y(), 376, 359);
    for (const FeedRow& row : kFeedRows) l.labelEdit(*row.text, row.label, row.edit, 150, 80);
    l.close();
    return t;
}

}  // namespace

CPageMachine::CPageMachine() : COptionPage(MachineTemplate()) {
    addCombo(kMachineTypeList, TextSetting(&CLaserSettings::TypeMachine));
    addEdit(kPostprocessorEdit, TextSetting(&CLaserSettings::Postprocessor));
    for (const FeedRow& row : kFeedRows) addEdit(row.edit, RealSetting(row.setting, row.format), kDecimalCharacters);
}

void CPageMachine::LoadExtra(const CLaserSettings& s) {
    folder = s.DirPostprocessor;
    loadedFolder_ = folder;
}

void CPageMachine::StoreExtra(CLaserSettings& s) {
    if (folder != loadedFolder_) s.DirPostprocessor = folder;
    loadedFolder_ = folder;
}

bool CPageMachine::onInitDialog() {
    if (auto* types = dynamic_cast<host::ui::ComboBox*>(item(kMachineTypeList))) {
        for (const char* type : kMachineTypes) types->addString(type);
    }
    return COptionPage::onInitDialog();
}

bool CPageMachine::onPageCommand(int id, int code) {
    if (code != host::ui::BN_CLICKED) return false;
    if (id == kSelectPostprocessor) {
        SelectPostprocessor();
        return true;
    }
    if (id == kEditPostprocessor) {
        EditPostprocessor();
        return true;
    }
    return false;
}

std::string CPageMachine::ChooseAndRead(PostprocessorSettings& settings) {
    const std::string nameBefore = field(kPostprocessorEdit)->text;
    const std::string folderBefore = folder;
    updateData(true);
    std::string startFolder = folder;
    std::string startName = field(kPostprocessorEdit)->text;
    // Each refusal of the reader has been told in its own message box; the dialog is shown again until a file is
    // read or the user gives up.
    for (;;) {
        host::ui::FileDialogOptions options;
        options.kind = host::ui::FileDialogKind::Open;
        options.defaultExtension = "MXT";
        options.filter = Localized(kPostprocessorFilter);
        options.initialName = startName;
        options.initialFolder = startFolder;
        // No folder remembered: the installed postprocessors, where the README's FANUC.MXT is.
        options.fallbackFolder = ShippedPostprocessorFolder().string();
        options.flags = host::ui::OFN_CREATEPROMPT | host::ui::OFN_NOCHANGEDIR;
        options.owner = this;
        const std::optional<std::string> chosen = host::ui::chooseFile(std::move(options));
        if (!chosen) {
            field(kPostprocessorEdit)->text = nameBefore;
            folder = folderBefore;
            updateData(false);
            return {};
        }
        std::string chosenFolder;
        std::string chosenName;
        GetPathDirectory(*chosen, chosenFolder);
        GetPathFileName(*chosen, chosenName);
        folder = WithFinalBackslash(chosenFolder);
        field(kPostprocessorEdit)->text = chosenName;
        if (ReadPostprocessorFile(settings, *chosen) == 0) return *chosen;
        startFolder = folder;
        startName = chosenName;
    }
}

// The rapid feed a postprocessor gives the page: taken when it is a number above 0; otherwise the field keeps its
// value and the user is told (a rapid feed of 0 or below, or none, would make every machining time wrong).
void CPageMachine::TakeRapidFeed(const std::string& text) {
    const std::optional<double> feed = host::sys::fieldReal(text);
    PageField& field = *this->field(kFeedRapid);
    if (feed && *feed > 0.0) {
        field.text = text;
        return;
    }
    const std::string kept = field.text.empty() ? std::string("\"\"") : field.text;
    host::ui::messageBox(FormatLocalized(kPostRapidFeedRefused, text.c_str(), kept.c_str()), "",
                         host::ui::MB_OK | host::ui::MB_ICONERROR, this);
}

void CPageMachine::SelectPostprocessor() {
    PostprocessorSettings post;
    if (ChooseAndRead(post).empty()) return;
    field(kMachineTypeList)->text = post.MachineType;
    TakeRapidFeed(post.RapidFeed);
    updateData(false);
    setModified(true);
}

void CPageMachine::EditPostprocessor() {
    PostprocessorSettings post;
    const std::string path = ChooseAndRead(post);
    if (path.empty()) return;
    updateData(false);
    std::filesystem::path saved;
    if (!::EditPostprocessor(path, &saved)) return;
    // The editor wrote the file (Save As may have named another): the page takes what it holds now.
    PostprocessorSettings edited;
    if (ReadPostprocessorFile(edited, saved.empty() ? std::filesystem::path(path) : saved) == 0) {
        field(kMachineTypeList)->text = edited.MachineType;
        TakeRapidFeed(edited.RapidFeed);
    }
    updateData(false);
    setModified(true);
}
