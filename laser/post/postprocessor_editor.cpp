// The postprocessor editor: the nine pages as tables of rows, their templates built from the rows, the template
// checks at focus loss, page leave and OK, Save As, and EditPostprocessor, which the option sheets call.
//
// Index: [SECTION] rows of the nine pages, [SECTION] page templates, [SECTION] pages, [SECTION] the sheet,
// [SECTION] editing a file.
#include "laser/post/postprocessor_editor.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "cadlib/messages.h"
#include "cadlib/number_text.h"
#include "host/ui/constants.h"
#include "host/ui/data_exchange.h"
#include "host/ui/desktop.h"
#include "host/ui/dialog_template.h"
#include "host/ui/file_dialog.h"
#include "host/ui/message_box.h"
#include "laser/post/post_messages.h"
#include "laser/post/postprocessor_file.h"
#include "laser/post/postprocessor_runtime.h"
#include "laser/post/template_compiler.h"
#include "laser/settings/laser_settings.h"

namespace {

using host::ui::DialogTemplate;
using PS = PostprocessorSettings;
using C = PostControl;

const TwoLanguageText kSaveAsFilter{"*.MXT|*.MXT|All Files (*.*)|*.*||", "*.MXT|*.MXT|Все файлы (*.*)|*.*||"};
const TwoLanguageText kValueRefused{"\"%s\" %s", "\"%s\": %s"};
const TwoLanguageText kPostprocessorSaved{"\n\rThe postprocessor %s is saved.", "\n\rПостпроцессор %s сохранён."};
const TwoLanguageText kPostprocessorNotSaved{"\n\rThe postprocessor is not saved.", "\n\rПостпроцессор не сохранён."};
// OK over a file typed in the path field that is not the one opened. Printf argument: the file.
const TwoLanguageText kReplaceOtherPostprocessor{"%s already exists.\nDo you want to replace it?",
                                                 "%s уже существует.\nЗаменить его?"};

// The caption of the sheet when it edits, and of the one that only reads a file.
constexpr const char* kEditorCaption = "Postprocessor";

// [SECTION] rows of the nine pages

constexpr int kPathEdit = 292;
constexpr int kScaleEdit = 234;
constexpr int kSaveAsButton = 266;

std::vector<PostPageRow> GeneralRows() {
    return {
        {kPathEdit, C::Edit, "CNC File", &PS::PostprocessorPath},
        {kSaveAsButton, C::Button, "Save As..."},
        {267, C::Combo, "Machine type", &PS::MachineType, nullptr, {"Diamond", "Flame", "Laser", "Waterjet"}},
        {293, C::Combo, "Unit", &PS::Unit, nullptr, {"inc", "mm"}, true},
        {294, C::Edit, "NC File Ext.", &PS::EXTFile},
        {295, C::Edit, "Rapid feed", &PS::RapidFeed},
        {303, C::Check, "Default Absolute", nullptr, &PS::DefaultAbsolute},
        {296, C::Check, "Enable Cut Compensation", nullptr, &PS::CutCompensation},
        {319, C::Check, "Return to Home point", nullptr, &PS::ReturnToHomePoint},
        {435, C::Check, "Use profiles", nullptr, &PS::UseProfilesCut},
        {259, C::Edit, "The name of the postprocessor", &PS::NamePostprocessor},
        {298, C::Edit, "Home Point X", &PS::HomeX},
        {299, C::Edit, "Home Point Y", &PS::HomeY},
        {262, C::Edit, "Home Point Z", &PS::HomeZ},
    };
}

std::vector<PostPageRow> CodeRows() {
    return {
        {275, C::Edit, "Inch", &PS::InchStr},
        {265, C::Edit, "Metric", &PS::MetricStr},
        {279, C::Edit, "Absolute", &PS::AbsoluteStr},
        {280, C::Edit, "Incremental", &PS::IncrementalStr},
        {251, C::Edit, "Rapid", &PS::RapidStr},
        {276, C::Edit, "Linear", &PS::LinearStr},
        {277, C::Edit, "Circular CW", &PS::CircCWStr},
        {278, C::Edit, "Circular CCW", &PS::CircCCWStr},
        {281, C::Edit, "Compensation off", &PS::CompOffStr},
        {282, C::Edit, "Compensation left", &PS::CompLeftStr},
        {283, C::Edit, "Compensation right", &PS::CompRightStr},
        {284, C::Edit, "Diameter offset", &PS::CompDiamStr},
        {249, C::TemplateEdit, "Clamp", &PS::ClampStr},
        {254, C::TemplateEdit, "Trim line", &PS::TrimLineStr},
        {228, C::TemplateEdit, "Unload, open window", &PS::UnloadOpenWinStr},
        {436, C::TemplateEdit, "Unload, program stop", &PS::UnloadStopPrgStr},
        {453, C::Edit, "Unload max. size X", &PS::UnloadWinMaxSizeXStr},
        {454, C::Edit, "Unload max. size Y", &PS::UnloadWinMaxSizeYStr},
        {455, C::Edit, "Unload min. size X", &PS::UnloadWinMinSizeXStr},
        {456, C::Edit, "Unload min. size Y", &PS::UnloadWinMinSizeYStr},
    };
}

std::vector<PostPageRow> FormatRows() {
    return {
        {285, C::Edit, "N code", &PS::NCode},       {250, C::Edit, "N format", &PS::NFormat},
        {286, C::Edit, "X code", &PS::XCode},       {255, C::Edit, "X format", &PS::XFormat},
        {287, C::Edit, "Y code", &PS::YCode},       {288, C::Edit, "Y format", &PS::YFormat},
        {289, C::Edit, "Z code", &PS::ZCode},       {290, C::Edit, "Z format", &PS::ZFormat},
        {291, C::Edit, "I code", &PS::ICode},       {266, C::Edit, "I format", &PS::IFormat},
        {263, C::Edit, "J code", &PS::JCode},       {267, C::Edit, "J format", &PS::JFormat},
        {265, C::Edit, "R code", &PS::RCode},       {269, C::Edit, "R format", &PS::RFormat},
        {264, C::Edit, "Feed code", &PS::FEEDCode}, {268, C::Edit, "Feed format", &PS::FEEDFormat},
        {274, C::Edit, "N start", &PS::NCodeStart}, {275, C::Edit, "N increment", &PS::NCodeInc},
        {233, C::Edit, "End of block", &PS::EOBStr}, {kScaleEdit, C::Edit, "Scale XYZ", &PS::ScaleXYZ},
        {252, C::Edit, "Start comment", &PS::StartComment}, {253, C::Edit, "End comment", &PS::EndComment},
    };
}

std::vector<PostPageRow> MoveRows() {
    return {
        {300, C::TemplateEdit, "Rapid", &PS::MoveRapidStr},
        {301, C::TemplateEdit, "Linear", &PS::MoveLinearStr},
        {302, C::TemplateBlock, "Circle", &PS::CircleStr},
    };
}

std::vector<PostPageRow> CircularRows() {
    const std::vector<std::string> modes(kCenterArcModeNames.begin(), kCenterArcModeNames.end());
    return {
        {257, C::Combo, "Absolute", &PS::CenterArcAbsoluteText, nullptr, modes},
        {258, C::Combo, "Incremental", &PS::CenterArcIncrementalText, nullptr, modes},
        {251, C::Check, "Always to output codes IJ", nullptr, &PS::Output_IJ_Always},
    };
}

std::vector<PostPageRow> CutCommandRows() {
    return {
        {260, C::TemplateEdit, "Cut ON", &PS::CutOnStr},
        {261, C::TemplateEdit, "Cut OFF", &PS::CutOffStr},
        {249, C::TemplateEdit, "Cut tool 2 ON", &PS::CutT2OnStr},
        {254, C::TemplateEdit, "Cut tool 2 OFF", &PS::CutT2OffStr},
        {262, C::TemplateEdit, "Engrave ON", &PS::EngraveOnStr},
        {263, C::TemplateEdit, "Engrave OFF", &PS::EngraveOffStr},
        {228, C::TemplateEdit, "Engrave and mark ON", &PS::EngraveAndMarkOnStr},
        {436, C::TemplateEdit, "Engrave and mark OFF", &PS::EngraveAndMarkOffStr},
        {474, C::TemplateEdit, "Mark ON", &PS::MarkOnStr},
        {489, C::TemplateEdit, "Mark OFF", &PS::MarkOffStr},
        {322, C::TemplateEdit, "Heat treatment ON", &PS::HeatTreatmentOnStr},
        {323, C::TemplateEdit, "Heat treatment OFF", &PS::HeatTreatmentOffStr},
    };
}

std::vector<PostPageRow> ChangePowerRows() {
    return {
        {500, C::TemplateEdit, "Change power +10%", &PS::CPW_Edit_B10},
        {501, C::TemplateEdit, "Change power -10%", &PS::CPW_Edit_L10},
        {502, C::TemplateEdit, "Change power +20%", &PS::CPW_Edit_B20},
        {503, C::TemplateEdit, "Change power -20%", &PS::CPW_Edit_L20},
        {504, C::TemplateEdit, "Power 100%", &PS::CPW_Edit_100},
        {505, C::TemplateEdit, "Power 90%", &PS::CPW_Edit_90},
        {492, C::TemplateEdit, "Power 80%", &PS::CPW_Edit_80},
        {249, C::TemplateEdit, "Piercing", &PS::PiercingMode},
        {254, C::TemplateEdit, "Z-axis tracking sensor ON", &PS::ZSensorOn},
        {228, C::TemplateEdit, "Z-axis tracking sensor OFF", &PS::ZSensorOff},
    };
}

std::vector<PostPageRow> StartEndRows() {
    return {
        {249, C::TemplateBlock, "Start of program", &PS::StartPrgStr},
        {254, C::TemplateBlock, "End of program", &PS::EndPrgStr},
        {228, C::TemplateBlock, "End of file", &PS::EndFileStr},
    };
}

std::vector<PostPageRow> ProfileRows() {
    return {
        {249, C::TemplateEdit, "LEAD", &PS::ProfLead},
        {254, C::TemplateEdit, "CUT", &PS::ProfCutStr},
        {228, C::TemplateEdit, "CUT_OFFSET-1", &PS::ProfCutSm1},
        {429, C::TemplateEdit, "CUT_OFFSET-2", &PS::ProfCutSm2},
        {430, C::TemplateEdit, "CUT_OFFSET-3", &PS::ProfCutSm3},
        {431, C::TemplateEdit, "UNLO", &PS::ProfCutUnlo},
        {432, C::TemplateEdit, "Distance-1", &PS::ProfCutDist1},
        {433, C::TemplateEdit, "Distance-2", &PS::ProfCutDist2},
        {434, C::TemplateEdit, "Distance-3", &PS::ProfCutDist3},
        {436, C::TemplateEdit, "Minimum hole diameter", &PS::ProfMinHoleDiam},
    };
}

bool IsTemplate(const PostPageRow& row) { return row.control == C::TemplateEdit || row.control == C::TemplateBlock; }

// The file key whose value the row shows, or null (the path, the shown combo texts).
const PostKey* KeyOf(const PostPageRow& row) {
    if (row.text == nullptr) return nullptr;
    for (const PostKey& key : PostKeys())
        if (key.text == row.text) return &key;
    return nullptr;
}

bool Compiles(const std::string& text, int report) {
    CompiledTemplate compiled;
    return CompileTemplate(text, compiled, report) == 0;
}

// [SECTION] page templates

// Pages are 380 x 250 dialog units. Rows go down one column, or two when there are more than eleven; a row is a
// label and its control to the right, a check box or button alone, a multi-line edit 44 units high under its
// label.
constexpr int kPageWidth = 380;
constexpr int kPageHeight = 250;
constexpr int kRowStep = 20;
// The width of a label's character in dialog units, taken wide enough for the wider letters of the page font.
constexpr int kLabelUnitsPerCharacter = 4;

DialogTemplate PageTemplate(const std::string& title, const std::vector<PostPageRow>& rows) {
    DialogTemplate t(title, kPageWidth, kPageHeight);
    const bool twoColumns = rows.size() > 11;
    const int columnWidth = twoColumns ? (kPageWidth - 21) / 2 : kPageWidth - 14;
    const int labelWidth = twoColumns ? 75 : 110;
    const std::size_t perColumn = twoColumns ? (rows.size() + 1) / 2 : rows.size();
    int y = 10;
    int x = 7;
    int labelId = 1100;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (twoColumns && i == perColumn) {
            x = 14 + columnWidth;
            y = 10;
        }
        const PostPageRow& row = rows[i];
        const int controlX = x + labelWidth + 4;
        const int controlWidth = columnWidth - labelWidth - 4;
        switch (row.control) {
            case C::Check:
                t.checkBox(row.id, row.label, {x, y, columnWidth, 12});
                y += kRowStep;
                break;
            case C::Button:
                t.button(row.id, row.label, {controlX, y - 2, 60, 14});
                y += kRowStep;
                break;
            case C::Combo:
                t.label(row.label, {x, y + 2, labelWidth, 9}, labelId++)
                    .comboBox(row.id, {controlX, y, controlWidth, 80},
                              host::ui::CBS_DROPDOWN | (row.sorted ? host::ui::CBS_SORT : 0u));
                y += kRowStep;
                break;
            case C::TemplateBlock:
                t.label(row.label, {x, y, columnWidth, 9}, labelId++)
                    .edit(row.id, {x, y + 11, columnWidth, 44},
                          host::ui::ES_MULTILINE | host::ui::ES_WANTRETURN | host::ui::ES_AUTOVSCROLL |
                              host::ui::WS_VSCROLL);
                y += 62;
                break;
            case C::Edit:
            case C::TemplateEdit:
                if (kLabelUnitsPerCharacter * static_cast<int>(std::string_view(row.label).size()) > labelWidth) {
                    // A label too long for the space beside its edit goes above it.
                    t.label(row.label, {x, y, columnWidth, 9}, labelId++)
                        .edit(row.id, {x, y + 11, columnWidth, 13}, host::ui::ES_AUTOHSCROLL);
                    y += kRowStep + 12;
                } else {
                    t.label(row.label, {x, y + 2, labelWidth, 9}, labelId++)
                        .edit(row.id, {controlX, y, controlWidth, 13}, host::ui::ES_AUTOHSCROLL);
                    y += kRowStep;
                }
                break;
        }
    }
    return t;
}

}  // namespace

// [SECTION] pages

CPagePost::CPagePost(CDialogPostProcessor& editor, int dialogId, std::string title, std::vector<PostPageRow> rows,
                     bool checkOnLeave)
    : PropertyPage(PageTemplate(title, rows)),
      editor_(editor),
      dialogId_(dialogId),
      rows_(std::move(rows)),
      checkOnLeave_(checkOnLeave) {}

bool CPagePost::onInitDialog() {
    for (const PostPageRow& row : rows_) {
        if (row.control != C::Combo) continue;
        if (host::ui::Window* combo = item(row.id))
            for (const std::string& choice : row.choices)
                combo->send(host::ui::CB_ADDSTRING, 0, reinterpret_cast<std::intptr_t>(choice.c_str()));
    }
    return PropertyPage::onInitDialog();
}

void CPagePost::doDataExchange(host::ui::DataExchange& dx) {
    PostprocessorSettings& s = editor_.settings;
    for (const PostPageRow& row : rows_) {
        switch (row.control) {
            case C::Button: break;
            case C::Check: dx.check(row.id, s.*row.integer); break;
            case C::Combo: dx.comboText(row.id, s.*row.text); break;
            case C::Edit:
            case C::TemplateEdit:
            case C::TemplateBlock:
                dx.text(row.id, s.*row.text);
                if (dx.saving()) {
                    if (const PostKey* key = KeyOf(row)) {
                        const std::string reason = CheckStorablePostValue(*key, s.*row.text);
                        dx.require(reason.empty(), FormatLocalized(kValueRefused, row.label, reason.c_str()));
                    }
                    // A coordinate format without decimals (a typo of "43" for "4.3") would cut in whole
                    // millimetres; the scale is read as the page shows it.
                    if (row.text == &PS::XFormat || row.text == &PS::YFormat) {
                        dx.require(!WritesWholeUnits(s.*row.text, itemText(kScaleEdit)),
                                   FormatLocalized(kValueRefused, row.label, Localized(kReasonWholeUnitFormat)));
                    }
                }
                break;
        }
        if (dx.failed()) return;
    }
}

bool CPagePost::CheckTemplateEdit(const PostPageRow& row) {
    if (Compiles(itemText(row.id), 1)) return true;
    if (host::ui::Window* edit = item(row.id)) {
        gotoControl(*edit);
        edit->send(host::ui::EM_SETSEL, 0, -1);
        edit->send(host::ui::EM_SCROLLCARET);
    }
    return false;
}

bool CPagePost::onCommand(int id, int code, host::ui::Window* control) {
    // A page that is no longer shown checks nothing when its edit loses the focus: leaving the page and OK
    // check for it (the focus would otherwise be sent back into a hidden page).
    if (code == host::ui::EN_KILLFOCUS && isVisible()) {
        for (const PostPageRow& row : rows_)
            if (row.id == id && IsTemplate(row)) {
                // A page that may be left with a fault lets the focus go off the page, to its tabs or the sheet's
                // buttons: the user is leaving it, and OK checks every template. (A message box here would give
                // the focus back to the edit when it closes, and end the click that was leaving.)
                const host::ui::Window* to = desktop().focus();
                const bool leaving = to != nullptr && to != this && !to->isDescendantOf(*this);
                if (checkOnLeave_ || !leaving) CheckTemplateEdit(row);
                return true;
            }
    }
    if (code == host::ui::BN_CLICKED && id == kSaveAsButton && dialogId_ == 220) {
        editor_.SavePostprocessorAs();
        return true;
    }
    return PropertyPage::onCommand(id, code, control);
}

bool CPagePost::onKillActive() {
    if (checkOnLeave_)
        for (const PostPageRow& row : rows_)
            if (IsTemplate(row) && !CheckTemplateEdit(row)) return false;
    return PropertyPage::onKillActive();
}

const PostPageRow* CPagePost::FirstFaultyTemplate() const {
    for (const PostPageRow& row : rows_)
        if (IsTemplate(row) && !Compiles(editor_.settings.*row.text, 0)) return &row;
    return nullptr;
}

// [SECTION] the sheet

CDialogPostProcessor::CDialogPostProcessor(std::string caption, host::ui::Window* parent, int firstPage)
    : PropertySheet(std::move(caption), parent, firstPage) {
    pages_[0] = std::make_unique<CPagePost>(*this, 220, "General", GeneralRows(), false);
    pages_[1] = std::make_unique<CPagePost>(*this, 218, "Code", CodeRows(), false);
    pages_[2] = std::make_unique<CPagePost>(*this, 217, "Format", FormatRows(), false);
    pages_[3] = std::make_unique<CPagePost>(*this, 222, "Move", MoveRows(), true);
    pages_[4] = std::make_unique<CPagePost>(*this, 223, "Circular Codes", CircularRows(), false);
    pages_[5] = std::make_unique<CPagePost>(*this, 488, "Cut command", CutCommandRows(), true);
    pages_[6] = std::make_unique<CPagePost>(*this, 490, "Cange power", ChangePowerRows(), false);
    pages_[7] = std::make_unique<CPagePost>(*this, 219, "Start-End", StartEndRows(), true);
    pages_[8] = std::make_unique<CPagePost>(*this, 242, "Profile", ProfileRows(), true);
    for (auto& p : pages_) addPage(*p);
}

CDialogPostProcessor::~CDialogPostProcessor() = default;

int CDialogPostProcessor::FirstFaultyPage(const PostPageRow** row) const {
    for (std::size_t i = 0; i < kPageCount; ++i)
        if (const PostPageRow* faulty = pages_[i]->FirstFaultyTemplate()) {
            if (row) *row = faulty;
            return static_cast<int>(i);
        }
    return -1;
}

int CDialogPostProcessor::FindKey(const PostKey& key, const PostPageRow** row) const {
    // The arc-centre modes show as the texts of their combo boxes.
    std::string PS::*text = key.text;
    if (key.integer == &PS::CenterArcAbsolute) text = &PS::CenterArcAbsoluteText;
    if (key.integer == &PS::CenterArcIncremental) text = &PS::CenterArcIncrementalText;
    for (std::size_t i = 0; i < kPageCount; ++i)
        for (const PostPageRow& r : pages_[i]->rows())
            if ((text != nullptr && r.text == text) || (key.integer != nullptr && r.integer == key.integer)) {
                if (row) *row = &r;
                return static_cast<int>(i);
            }
    return -1;
}

void CDialogPostProcessor::ShowKeyAtStart(const PostKey& key) {
    const PostPageRow* row = nullptr;
    const int index = FindKey(key, &row);
    if (index < 0) return;
    setStartPage(index);
    focusPage_ = index;
    focusId_ = row->id;
}

bool CDialogPostProcessor::onInitDialog() {
    const bool focusFirst = PropertySheet::onInitDialog();
    confirmedPath_ = settings.PostprocessorPath;
    if (focusPage_ < 0) return focusFirst;
    CPagePost& shown = *pages_[std::size_t(focusPage_)];
    if (host::ui::Window* control = shown.item(focusId_)) {
        shown.gotoControl(*control);
        return false;
    }
    return focusFirst;
}

void CDialogPostProcessor::onOK() {
    // The page shown takes its values (and checks its templates) first; then every template is compiled, also
    // those of pages never opened, so that no postprocessor with an unknown keyword is saved.
    if (host::ui::PropertyPage* shown = activePage(); shown && !shown->onKillActive()) return;
    const PostPageRow* row = nullptr;
    const int faulty = FirstFaultyPage(&row);
    if (faulty >= 0) {
        Compiles(settings.*row->text, 1);
        if (setActivePage(faulty))
            if (host::ui::Window* edit = pages_[std::size_t(faulty)]->item(row->id)) pages_[std::size_t(faulty)]->gotoControl(*edit);
        return;
    }
    // A format of a page never shown is refused here as its page would refuse it.
    for (std::string PS::*format : {&PS::XFormat, &PS::YFormat}) {
        if (!WritesWholeUnits(settings.*format, settings.ScaleXYZ)) continue;
        constexpr std::size_t kFormatPage = 2;
        CPagePost& page = *pages_[kFormatPage];
        const auto shown = std::find_if(page.rows().begin(), page.rows().end(),
                                        [&](const PostPageRow& r) { return r.text == format; });
        host::ui::messageBox(FormatLocalized(kValueRefused, shown->label, Localized(kReasonWholeUnitFormat)),
                             text(), host::ui::MB_OK | host::ui::MB_ICONEXCLAMATION);
        if (setActivePage(static_cast<int>(kFormatPage)))
            if (host::ui::Window* edit = page.item(shown->id)) page.gotoControl(*edit);
        return;
    }
    // The file opened, or the one Save As asked about, is saved over; another file named in the path field is
    // replaced only when the user says so.
    const std::string target = settings.PostprocessorPath;
    std::error_code ec;
    const bool confirmed = !confirmedPath_.empty() && std::filesystem::equivalent(target, confirmedPath_, ec) && !ec;
    if (!confirmed && std::filesystem::exists(target, ec)) {
        if (host::ui::messageBox(FormatLocalized(kReplaceOtherPostprocessor, target.c_str()), text(),
                                 host::ui::MB_YESNO | host::ui::MB_ICONWARNING | host::ui::MB_DEFBUTTON2) !=
            host::ui::IDYES)
            return;
        confirmedPath_ = target;
    }
    PropertySheet::onOK();
}

void SplitPostprocessorPath(PostprocessorSettings& settings) {
    settings.PostprocessorFileName.clear();
    settings.PostprocessorFolder.clear();
    GetPathFileName(settings.PostprocessorPath, settings.PostprocessorFileName);
    GetPathDirectory(settings.PostprocessorPath, settings.PostprocessorFolder);
}

void CDialogPostProcessor::SavePostprocessorAs() {
    CPagePost& general = *pages_[0];
    settings.PostprocessorPath = general.itemText(kPathEdit);
    SplitPostprocessorPath(settings);
    host::ui::FileDialogOptions options;
    options.kind = host::ui::FileDialogKind::Save;
    options.defaultExtension = "MXT";
    options.initialName = settings.PostprocessorFileName;
    options.initialFolder = settings.PostprocessorFolder;
    options.fallbackFolder = ShippedPostprocessorFolder().string();
    options.flags = host::ui::OFN_OVERWRITEPROMPT;
    options.filter = Localized(kSaveAsFilter);
    options.owner = this;
    const std::optional<std::string> chosen = host::ui::chooseFile(std::move(options));
    if (!chosen) return;
    settings.PostprocessorPath = *chosen;
    SplitPostprocessorPath(settings);
    general.setItemText(kPathEdit, settings.PostprocessorPath);
    confirmedPath_ = *chosen;  // the save dialog asked before replacing it
}

// [SECTION] editing a file

bool EditPostprocessor(const std::filesystem::path& path, std::filesystem::path* savedPath) {
    CDialogPostProcessor editor(kEditorCaption);
    editor.setFlags(host::ui::PSH_NOAPPLYNOW);
    // A file that NC output would refuse opens where the fault is, with what could be read, for the user to mend.
    const PostKey* refused = nullptr;
    PostReadRefusal refusal;
    if (ReadPostprocessorFile(editor.settings, path, &refusal) != 0) {
        editor.settings = std::move(refusal.readSoFar);
        refused = refusal.key;
    } else {
        PostprocessorRuntime check;
        PreparePostprocessorRuntime(editor.settings, path.filename().string(), check, &refused);
        if (refused == nullptr && WritesWholeUnits(editor.settings.XFormat, editor.settings.ScaleXYZ))
            refused = FindPostKey(PostSection::Format, "XFormat");
    }
    if (refused) editor.ShowKeyAtStart(*refused);
    editor.settings.PostprocessorPath = path.string();
    SplitPostprocessorPath(editor.settings);
    if (editor.doModal() != host::ui::IDOK) return false;
    const std::filesystem::path target(editor.settings.PostprocessorPath);
    if (WritePostprocessorFile(editor.settings, target) != 0) return false;
    if (savedPath) *savedPath = target;
    return true;
}

void CommandEditPostprocessor() {
    const CLaserSettings& settings = LaserSettings();
    std::filesystem::path saved;
    const std::filesystem::path path =
        PostprocessorPathOf(settings.DirPostprocessor, settings.Postprocessor).lexically_normal();
    if (EditPostprocessor(path, &saved))
        PrintLocalized(kPostprocessorSaved, saved.string().c_str());
    else
        PrintLocalized(kPostprocessorNotSaved);
}
