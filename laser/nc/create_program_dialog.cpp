// The program-creation dialog: its template, its fields, the check of the feed fields and the two file pickers.
#include "laser/nc/create_program_dialog.h"

#include <filesystem>
#include <optional>

#include "cadlib/number_text.h"
#include "host/sys/number_text.h"
#include "host/ui/constants.h"
#include "host/ui/data_exchange.h"
#include "host/ui/file_dialog.h"
#include "laser/nc/nc_messages.h"
#include "laser/post/postprocessor_runtime.h"
#include "laser/settings/number_field_check.h"

namespace {

using host::ui::DialogTemplate;
using host::ui::TemplateRect;

// Labels that the initialisation names in the module's language.
constexpr int kProgramGroup = 322;
constexpr int kMachineGroup = 323;
constexpr int kProgramNameLabel = 324;
constexpr int kOutputFileLabel = 325;
constexpr int kPostprocessorLabel = 326;
constexpr int kFeedCutLabel = 327;
constexpr int kFeedCutT2Label = 527;
constexpr int kFeedEngraveLabel = 328;
constexpr int kFeedEngraveAndMarkLabel = 486;
constexpr int kFeedMarkLabel = 487;
constexpr int kFeedHeatTreatmentLabel = 329;

// The feed rows of the machine group: label, edit and the label's text, top to bottom.
struct FeedRow {
    int label;
    int edit;
    const TwoLanguageText* text;
};
constexpr FeedRow kFeedRows[] = {
    {kFeedCutLabel, kFeedCutEdit, &kCuttingFeedText},
    {kFeedCutT2Label, kFeedCutT2Edit, &kCuttingFeedTool2Text},
    {kFeedEngraveLabel, kFeedEngraveEdit, &kEngraveFeedText},
    {kFeedEngraveAndMarkLabel, kFeedEngraveAndMarkEdit, &kEngraveAndMarkFeedText},
    {kFeedMarkLabel, kFeedMarkEdit, &kMarkFeedText},
    {kFeedHeatTreatmentLabel, kFeedHeatTreatmentEdit, &kHeatTreatmentFeedText},
};

// 398 x 323 dialog units: the program group on top, the machine group below it, OK and Cancel at the foot.
DialogTemplate CreateProgramTemplate() {
    DialogTemplate t(kCreateProgramTitle.english, 398, 323);
    t.style |= host::ui::DS_CENTER;
    t.groupBox(kProgramGroupText.english, {7, 7, 384, 66}, kProgramGroup)
        .label(kNameProgramText.english, {15, 23, 90, 8}, kProgramNameLabel)
        .edit(kProgramNameEdit, {110, 21, 270, 14}, host::ui::ES_AUTOHSCROLL)
        .label(kFileNameText.english, {15, 47, 90, 8}, kOutputFileLabel)
        .edit(kOutputFileEdit, {110, 45, 210, 14}, host::ui::ES_AUTOHSCROLL)
        .button(kOutputFileButton, kSelectText.english, {325, 45, 55, 14})
        .groupBox(kMachineGroupText.english, {7, 80, 384, 210}, kMachineGroup)
        .label(kPostprocessorText.english, {15, 98, 90, 8}, kPostprocessorLabel)
        .edit(kPostprocessorEdit, {110, 96, 210, 14}, host::ui::ES_AUTOHSCROLL)
        .button(kPostprocessorButton, kSelectText.english, {325, 96, 55, 14});
    int y = 124;
    for (const FeedRow& row : kFeedRows) {
        t.label(row.text->english, {15, y + 2, 90, 8}, row.label).edit(row.edit, {110, y, 80, 14},
                                                                        host::ui::ES_AUTOHSCROLL);
        y += 26;
    }
    t.defaultButton(host::ui::IDOK, kOkText.english, {270, 300, 55, 14})
        .button(host::ui::IDCANCEL, kCancelText.english, {336, 300, 55, 14});
    return t;
}

// The folder part of a path, "" when it has none.
std::string FolderOf(const std::string& path) {
    std::string folder;
    GetPathDirectory(path, folder);
    return folder;
}

}  // namespace

std::string NcFileFilter(const std::string& ext) {
    return "*." + ext + "|*." + ext + Localized(kNcFileFilterTail);
}

CDialogCreateProgram::CDialogCreateProgram(host::ui::Window* parent) : Dialog(CreateProgramTemplate(), parent) {}

bool CDialogCreateProgram::onInitDialog() {
    opened_ = header;
    updateData(false);
    setText(Localized(kCreateProgramTitle));
    setItemText(kProgramGroup, Localized(kProgramGroupText));
    setItemText(kMachineGroup, Localized(kMachineGroupText));
    setItemText(kProgramNameLabel, Localized(kNameProgramText));
    setItemText(kOutputFileLabel, Localized(kFileNameText));
    setItemText(kOutputFileButton, Localized(kSelectText));
    setItemText(kPostprocessorLabel, Localized(kPostprocessorText));
    setItemText(kPostprocessorButton, Localized(kSelectText));
    for (const FeedRow& row : kFeedRows) setItemText(row.label, Localized(*row.text));
    setItemText(host::ui::IDOK, Localized(kOkText));
    setItemText(host::ui::IDCANCEL, Localized(kCancelText));
    return true;
}

void CDialogCreateProgram::doDataExchange(host::ui::DataExchange& dx) {
    dx.text(kProgramNameEdit, header.programName);
    dx.text(kOutputFileEdit, header.fileName);
    dx.text(kPostprocessorEdit, header.postprocessorFile);
    for (const FeedRow& row : kFeedRows) {
        std::string& field = *FeedField(row.edit);
        dx.text(row.edit, field);
        // Only OK checks the value: while a feed is typed, "0" is on its way to "0.5" and "2." to "2.5". The whole
        // text must be one number ("42.0.0" is none, nor is an empty feed): such a feed gets back the value the
        // dialog opened with. A program with a feed of 0 has no F word, and a controller stops at its first cut.
        if (checkingFeeds_ && !dx.failed()) {
            const std::optional<double> value = host::sys::fieldReal(field);
            if (!value) {
                const std::string typed = field;
                field = *OpenedFeed(row.edit);
                if (host::ui::Window* w = item(row.edit)) w->setText(field);
                dx.refuse(std::string(Localized(*row.text)) + ": " + NotANumberMessage(typed, field));
            } else {
                dx.require(*value > 0.0, FormatLocalized(kFeedNotPositive, Localized(*row.text)));
            }
        }
    }
}

void CDialogCreateProgram::onOK() {
    checkingFeeds_ = true;
    Dialog::onOK();
    checkingFeeds_ = false;
}

const std::string* CDialogCreateProgram::OpenedFeed(int id) const {
    const NcProgramHeader& h = opened_;
    switch (id) {
        case kFeedCutEdit: return &h.feedCut;
        case kFeedCutT2Edit: return &h.feedCutT2;
        case kFeedEngraveEdit: return &h.feedEngrave;
        case kFeedEngraveAndMarkEdit: return &h.feedEngraveAndMark;
        case kFeedMarkEdit: return &h.feedMark;
        case kFeedHeatTreatmentEdit: return &h.feedHeatTreatment;
        default: return nullptr;
    }
}

std::string* CDialogCreateProgram::FeedField(int id) {
    switch (id) {
        case kFeedCutEdit: return &header.feedCut;
        case kFeedCutT2Edit: return &header.feedCutT2;
        case kFeedEngraveEdit: return &header.feedEngrave;
        case kFeedEngraveAndMarkEdit: return &header.feedEngraveAndMark;
        case kFeedMarkEdit: return &header.feedMark;
        case kFeedHeatTreatmentEdit: return &header.feedHeatTreatment;
        default: return nullptr;
    }
}

bool CDialogCreateProgram::onCommand(int id, int code, host::ui::Window* control) {
    if (code == host::ui::EN_CHANGE) {
        if (std::string* field = FeedField(id)) {
            ValidateNumberField(*this, *field, kFeedCharacters);
            return true;
        }
    }
    if (code == host::ui::BN_CLICKED && id == kOutputFileButton) {
        ChooseOutputFile();
        return true;
    }
    if (code == host::ui::BN_CLICKED && id == kPostprocessorButton) {
        ChoosePostprocessor();
        return true;
    }
    return Dialog::onCommand(id, code, control);
}

void CDialogCreateProgram::ChooseOutputFile() {
    updateData(true);
    host::ui::FileDialogOptions options;
    options.kind = host::ui::FileDialogKind::Save;
    options.filter = NcFileFilter(header.ncExtension);
    options.defaultExtension = header.ncExtension;
    options.initialName = header.fileName;
    options.initialFolder = FolderOf(header.fileName);
    options.flags = host::ui::OFN_FILEMUSTEXIST | host::ui::OFN_NOCHANGEDIR;
    options.owner = this;
    const std::optional<std::string> chosen = host::ui::chooseFile(std::move(options));
    if (!chosen) return;
    header.fileName = *chosen;
    updateData(false);
}

void CDialogCreateProgram::ChoosePostprocessor() {
    host::ui::FileDialogOptions options;
    options.kind = host::ui::FileDialogKind::Open;
    options.defaultExtension = "MXT";
    options.filter = Localized(kPostprocessorFileFilter);
    updateData(true);
    options.initialName = header.postprocessorFile;
    options.initialFolder = header.postprocessorFolder;
    options.fallbackFolder = ShippedPostprocessorFolder().string();
    options.flags = host::ui::OFN_FILEMUSTEXIST | host::ui::OFN_NOCHANGEDIR;
    options.owner = this;
    const std::optional<std::string> chosen = host::ui::chooseFile(std::move(options));
    if (!chosen) return;
    const std::filesystem::path path(*chosen);
    header.postprocessorFile = path.filename().string();
    header.postprocessorFolder = path.parent_path().string();
    header.postprocessorFolder += std::filesystem::path::preferred_separator;
    updateData(false);
}
