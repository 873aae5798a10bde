// The nesting job dialog: layout, tabs and pages, the offsets, Load, Save As, Clear and OK, and the job file
// written from and read into its fields and tables.
//
// Index: [SECTION] Dialog, [SECTION] Buttons, [SECTION] Saving, [SECTION] Loading.
#include "nesting/dialogs/job_dialog.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "cadlib/number_field_messages.h"
#include "cadlib/number_text.h"
#include "cadlib/rectangle_names.h"
#include "host/reg/machine_registry.h"
#include "host/sys/number_text.h"
#include "host/ui/data_exchange.h"
#include "host/ui/file_dialog.h"
#include "host/ui/message_box.h"
#include "nesting/dialogs/dialog_messages.h"
#include "nesting/job/job_file_layout.h"
#include "nesting/job/job_file_reader.h"
#include "nesting/job/job_file_writer.h"
#include "nesting/job/job_value_ranges.h"

namespace ui = host::ui;

namespace {

enum DialogId {
    kJobPathId = 201, kLoadId = 202, kSaveAsId = 203, kTabsId = 206, kClearId = 210, kEdgeOffsetId = 229,
    kPartGapId = 230, kFileGroupId = 254, kOffsetsGroupId = 255, kStockLabelId = 256, kPartLabelId = 257,
    kCancelId = 262,
};

constexpr int kStockTabIndex = 0;
constexpr int kPartTabIndex = 1;
// The pages sit this many pixels below the top of the tab control, under its tabs.
constexpr int kPageTop = 20;
// An offset below this is taken as none.
constexpr double kSmallestOffset = 0.002;
const std::string kOffsetCharacters = "01234567890.";

ui::DialogTemplate JobDialogTemplate() {
    ui::DialogTemplate t("File Nesting", 608, 400);
    t.style |= ui::DS_CENTER;
    t.groupBox("File Nesting", {7, 4, 594, 30}, kFileGroupId)
        .edit(kJobPathId, {14, 16, 428, 12}, ui::ES_AUTOHSCROLL)
        .button(kLoadId, "Load", {448, 15, 70, 14})
        .button(kSaveAsId, "Save As...", {523, 15, 72, 14})
        .groupBox("Offsets", {7, 38, 330, 30}, kOffsetsGroupId)
        .label("Stock", {14, 52, 60, 8}, kStockLabelId)
        .edit(kEdgeOffsetId, {76, 50, 80, 12}, ui::ES_AUTOHSCROLL)
        .label("Part", {166, 52, 70, 8}, kPartLabelId)
        .edit(kPartGapId, {238, 50, 80, 12}, ui::ES_AUTOHSCROLL)
        .tabControl(kTabsId, {7, 74, 594, 300})
        .button(kClearId, "Clear", {7, 380, 60, 14})
        .defaultButton(ui::IDOK, "OK", {474, 380, 60, 14})
        .button(kCancelId, "Cancel", {541, 380, 60, 14});
    return t;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

// True when both name one file that is there, however each is written.
bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return !a.empty() && !b.empty() && std::filesystem::equivalent(a, b, ec) && !ec;
}

// The first line of a file, without its line end; nullopt when the file cannot be read.
std::optional<std::string> FirstLineOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

bool IsJobSignature(const std::string& line) { return line == kJobSignature || line == kOlderJobSignature; }

// A drawing's title from its path: the file name, less ".dwg" or ".dxf" (any case) found after its first
// character.
std::string DrawingTitle(const std::string& path) {
    std::string name;
    GetPathFileName(path, name);
    std::string lower = name;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* extension : {".dwg", ".dxf"}) {
        const std::size_t at = lower.find(extension);
        if (at != std::string::npos && at > 0) return name.erase(at, 4);
    }
    return name;
}

}  // namespace

// [SECTION] Dialog

COpenDialogNesting::COpenDialogNesting(ui::Window* owner) : Dialog(JobDialogTemplate(), owner) {
    bindControl(kTabsId, tabs_);
}

COpenDialogNesting::~COpenDialogNesting() = default;

void COpenDialogNesting::doDataExchange(ui::DataExchange& dx) {
    dx.text(kJobPathId, JobFilePath);
    dx.text(kEdgeOffsetId, EdgeOffsetText);
    dx.text(kPartGapId, PartGapText);
}

bool COpenDialogNesting::onInitDialog() {
    Dialog::onInitDialog();
    setText(Localized(kJobDialogCaption));
    tabs_.insertItem(kStockTabIndex, {ui::TCIF_TEXT, Localized(kStockTab), -1, 0});
    tabs_.insertItem(kPartTabIndex, {ui::TCIF_TEXT, Localized(kPartsTab), -1, 0});
    setItemText(kFileGroupId, Localized(kJobFileGroup));
    setItemText(kClearId, Localized(kClearButton));
    setItemText(kLoadId, Localized(kLoadButton));
    setItemText(kSaveAsId, Localized(kSaveAsButton));
    setItemText(kOffsetsGroupId, Localized(kOffsetsGroup));
    setItemText(kStockLabelId, Localized(kStockOffsetLabel));
    setItemText(kPartLabelId, Localized(kPartOffsetLabel));
    setItemText(kCancelId, Localized(kCancelButton));
    for (int id : {kEdgeOffsetId, kPartGapId})
        if (ui::Window* edit = item(id)) edit->send(ui::EM_LIMITTEXT, kMaxNumberChars);

    stock_ = std::make_unique<CPageStock>();
    part_ = std::make_unique<CPagePart>();
    int index = kStockTabIndex;
    for (JobTablePage* page : {static_cast<JobTablePage*>(stock_.get()), static_cast<JobTablePage*>(part_.get())}) {
        page->InstallFolder = InstallFolder;
        page->FilesWithoutContours = FilesWithoutContours;
        page->OpenFilesWithoutContours = OpenFilesWithoutContours;
        page->createModeless(&tabs_);
        ui::TabItem tab = *tabs_.item(index);
        tab.mask = ui::TCIF_TEXT | ui::TCIF_PARAM;
        tab.param = reinterpret_cast<std::intptr_t>(page);
        tabs_.setItem(index, tab);
        const ui::Rect r = page->windowRect();
        page->setWindowPos(ui::ZOrder::Keep, ui::Rect::fromSize(0, kPageTop, r.width(), r.height()),
                           ui::SWP_NOSIZE | ui::SWP_NOZORDER);
        page->show(index == kStockTabIndex ? ui::SW_SHOW : ui::SW_HIDE);
        ++index;
    }
    stock_->SetupStockGrid();
    part_->SetupPartGrid();
    LoadJobFile();
    KeepNumberFields();
    return true;
}

std::intptr_t COpenDialogNesting::windowProc(ui::Message& m) {
    if (m.id == ui::WM_DESTROY) {
        const std::intptr_t answer = Dialog::windowProc(m);
        KeepMaterialTexts();
        for (auto* page : {static_cast<JobTablePage*>(part_.get()), static_cast<JobTablePage*>(stock_.get())})
            if (page && page->exists()) page->destroy();
        part_.reset();
        stock_.reset();
        return answer;
    }
    return Dialog::windowProc(m);
}

void COpenDialogNesting::KeepMaterialTexts() {
    if (!stock_) return;
    if (stock_->exists()) stock_->ReadControls();
    MaterialText = stock_->MaterialText;
    MaterialNumText = stock_->MaterialNumText;
    DensityText = stock_->DensityText;
    ThicknessText = stock_->ThicknessText;
}

void COpenDialogNesting::ReadAllControls() {
    updateData(true);
    if (stock_) stock_->ReadControls();
    if (part_) part_->ReadControls();
    KeepMaterialTexts();
}

void COpenDialogNesting::RefreshPreviews() {
    if (part_) part_->ShowPartPreview();
    if (stock_) stock_->ShowStockPreview();
}

bool COpenDialogNesting::onNotify(const ui::NotifyHeader& header, std::intptr_t& result) {
    if (header.id == kTabsId && (header.code == ui::TCN_SELCHANGING || header.code == ui::TCN_SELCHANGE)) {
        const int current = tabs_.currentSelection();
        const ui::TabItem* tab = tabs_.item(current);
        auto* page = tab ? reinterpret_cast<JobTablePage*>(tab->param) : nullptr;
        if (page && header.code == ui::TCN_SELCHANGING) {
            page->ReadControls();
            page->show(ui::SW_HIDE);
        } else if (page) {
            page->show(ui::SW_SHOW);
            page->ShowPreview();
        }
        result = 0;
        return true;
    }
    return Dialog::onNotify(header, result);
}

bool COpenDialogNesting::onCommand(int id, int code, ui::Window* control) {
    if (code == ui::BN_CLICKED) {
        if (id == kLoadId) return OnLoadJob(), true;
        if (id == kSaveAsId) return OnSaveJobAs(), true;
        if (id == kClearId) return OnClearJob(), true;
        if (id == kCancelId) return onCancel(), true;
    }
    if ((id == kEdgeOffsetId || id == kPartGapId) && !isExchanging()) {
        std::string& field = id == kEdgeOffsetId ? EdgeOffsetText : PartGapText;
        if (code == ui::EN_CHANGE) return CheckNumericText(*this, id, field, kOffsetCharacters), true;
        if (code == ui::EN_KILLFOCUS) return ResetSmallOffset(id), true;
    }
    return Dialog::onCommand(id, code, control);
}

void COpenDialogNesting::ResetSmallOffset(int id) {
    std::string& field = id == kEdgeOffsetId ? EdgeOffsetText : PartGapText;
    field = itemText(id);
    // Only a whole number is made none: "." or "2.." is left for OK to refuse, not read as 0 or 2.
    const std::optional<double> value = host::sys::fieldReal(field);
    if (value && *value < kSmallestOffset) {
        field = "0.000";
        setItemText(id, field);
    }
}

// [SECTION] Buttons

void COpenDialogNesting::onOK() { OnOkJob(); }

void COpenDialogNesting::OnOkJob() {
    if (SaveJobFile() == 1) endDialog(ui::IDOK);
}

void COpenDialogNesting::OnClearJob() {
    if (stock_) stock_->DeleteAllStockRows();
    if (part_) part_->DeleteAllPartRows();
}

void COpenDialogNesting::OnLoadJob() {
    JobFilePath = itemText(kJobPathId);
    ui::FileDialogOptions options;
    options.kind = ui::FileDialogKind::Open;
    options.filter = Localized(kJobFileFilter);
    options.defaultExtension = "NST";
    options.initialName = JobFilePath;
    options.flags = ui::OFN_FILEMUSTEXIST | ui::OFN_NOCHANGEDIR;
    options.owner = this;
    const auto chosen = ui::chooseFile(options);
    if (!chosen) return;
    JobFilePath = *chosen;
    setItemText(kJobPathId, JobFilePath);
    LoadJobFile();
}

void COpenDialogNesting::OnSaveJobAs() {
    ReadAllControls();
    if (!CheckNumberFields()) return;
    JobFilePath = itemText(kJobPathId);
    ui::FileDialogOptions options;
    options.kind = ui::FileDialogKind::Save;
    options.filter = Localized(kJobFileFilter);
    options.defaultExtension = "NST";
    options.initialName = JobFilePath;
    options.flags = ui::OFN_OVERWRITEPROMPT | ui::OFN_NOCHANGEDIR;
    options.owner = this;
    const auto chosen = ui::chooseFile(options);
    if (!chosen) return;
    JobFilePath = *chosen;
    setItemText(kJobPathId, JobFilePath);
    SaveJobFile(true);  // the save dialog has asked before replacing
}

void COpenDialogNesting::SaveLastJobPaths() const {
    if (JobFilePath.empty()) return;
    host::reg::RegistryKey key = host::reg::productKey();
    if (!key.exists()) return;
    host::reg::Registry::Batch batch(host::reg::machineRegistry());
    key.setString("LastFileNesting", JobFilePath);
    key.setString("LastDirNestDWG", FirstPartFolder);
    batch.commit();
}

// [SECTION] Saving

// The first field whose text is too long for its line, as "<field> (<most>)" ready for the message; empty
// when all fit.
std::string COpenDialogNesting::TooLongField() const {
    struct Check {
        const std::string* text;
        const char* name;
        std::size_t most;
    };
    auto characters = [](const std::string& s) {
        std::size_t n = 0;
        for (unsigned char c : s) n += (c & 0xC0) != 0x80;
        return n;
    };
    const std::vector<Check> fields{
        {&MaterialText, Localized(kMaterialLabel), kMaxMaterialChars},
        {&MaterialNumText, Localized(kMaterialNumLabel), kMaxMaterialChars},
        {&DensityText, Localized(kDensityLabel), kMaxNumberChars},
        {&ThicknessText, Localized(kThicknessLabel), kMaxNumberChars},
        {&EdgeOffsetText, Localized(kStockOffsetLabel), kMaxNumberChars},
        {&PartGapText, Localized(kPartOffsetLabel), kMaxNumberChars},
    };
    for (const Check& f : fields)
        if (characters(*f.text) > f.most) return FormatLocalized(kFieldTooLong, f.name, static_cast<int>(f.most));
    for (const JobTablePage* page : {static_cast<const JobTablePage*>(stock_.get()),
                                     static_cast<const JobTablePage*>(part_.get())}) {
        if (!page) continue;
        for (int row = 1; row <= page->DataRowCount(); ++row) {
            for (int column = kTitleColumn; column < page->Grid.ColumnTotal(); ++column) {
                const std::size_t most = column == kTitleColumn ? kMaxNameChars : kMaxNumberChars;
                if (characters(page->CellText(row, column)) > most)
                    return FormatLocalized(kFieldTooLong, page->CellText(0, column).c_str(), static_cast<int>(most));
            }
            if (characters(page->CellText(row, kPathColumn)) >= static_cast<std::size_t>(kMaxJobLineChars))
                return FormatLocalized(kFieldTooLong, page->CellText(0, kPathColumn).c_str(), kMaxJobLineChars - 1);
        }
    }
    return {};
}

bool COpenDialogNesting::ConfirmReplace(const std::string& path) {
    if (!FileExists(path)) return true;
    const bool loaded = SameFile(path, loadedPath_);
    if (!notReadWhole_.empty() && loaded) {
        // The file holds more than the dialog shows: replacing it loses the rest unless the user says so.
        return ui::messageBox(FormatLocalized(kReplaceJobNotReadWhole, path.c_str(), notReadWhole_.c_str()), {},
                              ui::MB_YESNO | ui::MB_ICONWARNING | ui::MB_DEFBUTTON2, this) == ui::IDYES;
    }
    const auto first = FirstLineOf(path);
    if (!first || !IsJobSignature(*first))
        return ui::messageBox(FormatLocalized(kReplaceNotJobFile, path.c_str()), {},
                              ui::MB_YESNO | ui::MB_ICONWARNING, this) == ui::IDYES;
    // The job's own file (the one loaded or last written here) is saved over; another job is the user's to keep.
    if (loaded || SameFile(path, savedPath_)) return true;
    return ui::messageBox(FormatLocalized(kReplaceOtherJobFile, path.c_str()), {},
                          ui::MB_YESNO | ui::MB_ICONWARNING | ui::MB_DEFBUTTON2, this) == ui::IDYES;
}

void COpenDialogNesting::KeepNumberFields() {
    keptEdgeOffset_ = EdgeOffsetText;
    keptPartGap_ = PartGapText;
    if (stock_) {
        keptDensity_ = stock_->DensityText;
        keptThickness_ = stock_->ThicknessText;
    }
}

bool COpenDialogNesting::CheckNumberFields() {
    struct Field {
        int id;
        ui::Dialog* owner;
        std::string* text;
        const std::string* kept;
        std::string name;
        JobValueRange range;
    };
    std::vector<Field> fields{
        {kEdgeOffsetId, this, &EdgeOffsetText, &keptEdgeOffset_,
         std::string(Localized(kOffsetsGroup)) + ", " + Localized(kStockOffsetLabel), kJobOffsetRange},
        {kPartGapId, this, &PartGapText, &keptPartGap_,
         std::string(Localized(kOffsetsGroup)) + ", " + Localized(kPartOffsetLabel), kJobOffsetRange},
    };
    if (stock_) {
        fields.push_back({kStockDensityId, stock_.get(), &stock_->DensityText, &keptDensity_, Localized(kDensityLabel),
                          kJobDensityRange});
        fields.push_back({kStockThicknessId, stock_.get(), &stock_->ThicknessText, &keptThickness_,
                          Localized(kThicknessLabel), kJobLengthRange});
    }
    for (const Field& f : fields) {
        // A text as the job was loaded is the job's own: the job reader has taken it (an empty line is 0).
        if (*f.text == *f.kept) continue;
        const std::optional<double> value = host::sys::fieldReal(*f.text);
        if (value && f.range.Holds(*value)) continue;
        const std::string typed = *f.text;
        *f.text = *f.kept;
        if (ui::Window* edit = f.owner->item(f.id)) edit->setText(*f.text);
        KeepMaterialTexts();
        const std::string why = value ? NumberNotInRangeMessage(typed, f.range.Min, f.range.Max, *f.kept)
                                      : NotANumberMessage(typed, *f.kept);
        ui::messageBox(f.name + ": " + why, {}, ui::MB_OK | ui::MB_ICONERROR, this);
        if (ui::Window* edit = f.owner->item(f.id)) edit->setFocus();
        return false;
    }
    return true;
}

int COpenDialogNesting::SaveJobFile(bool asked) {
    ReadAllControls();
    int result = 0;
    const std::string tooLong = TooLongField();
    if (!CheckNumberFields()) {
        // told; the dialog stays open with the fields as they were kept
    } else if (!tooLong.empty()) {
        ui::messageBox(tooLong, {}, ui::MB_OK | ui::MB_ICONERROR, this);
    } else if (asked || ConfirmReplace(JobFilePath)) {
        NestingJobFile job;
        job.MaterialText = MaterialText;
        job.MaterialNumText = MaterialNumText;
        job.DensityText = DensityText;
        job.ThicknessText = ThicknessText;
        job.EdgeOffsetText = EdgeOffsetText;
        job.PartGapText = PartGapText;
        for (int row = 1; stock_ && row <= stock_->DataRowCount(); ++row) {
            auto cell = [&](int column) { return stock_->CellText(row, column); };
            job.Stocks.push_back({cell(kTypeColumn), cell(kPathColumn), cell(kWidthColumn), cell(kHeightColumn),
                                  cell(kTitleColumn), cell(kQuantityColumn), cell(kGrainColumn),
                                  cell(kStockPriorityColumn)});
        }
        FirstPartFolder.clear();
        bool folderTaken = false;
        for (int row = 1; part_ && row <= part_->DataRowCount(); ++row) {
            auto cell = [&](int column) { return part_->CellText(row, column); };
            job.Parts.push_back({cell(kTypeColumn), cell(kPathColumn), cell(kWidthColumn), cell(kHeightColumn),
                                 cell(kTitleColumn), cell(kQuantityColumn), cell(kGrainColumn),
                                 cell(kRotationColumn), cell(kDeltaColumn), cell(kSectorColumn),
                                 cell(kPartPriorityColumn)});
            if (!folderTaken && cell(kTypeColumn) == kDrawingTypeText) {
                GetPathDirectory(cell(kPathColumn), FirstPartFolder);
                folderTaken = true;
            }
        }
        std::string error;
        if (!JobFilePath.empty() && WriteNestingJobFile(JobFilePath, job, &error)) {
            result = 1;
            KeepNumberFields();
            if (SameFile(JobFilePath, loadedPath_)) notReadWhole_.clear();
            savedPath_ = JobFilePath;
        } else {
            std::string message = FormatLocalized(kCannotCreateJobFile, JobFilePath.c_str());
            if (!error.empty()) message += "\n\r" + error;
            ui::messageBox(message, {}, ui::MB_OK | ui::MB_ICONERROR, this);
        }
    }
    RefreshPreviews();
    return result;
}

// [SECTION] Loading

int COpenDialogNesting::LoadJobFile() {
    if (FilesWithoutContours) FilesWithoutContours->clear();
    OnClearJob();
    notReadWhole_.clear();
    loadedPath_ = JobFilePath;
    RefusedDrawings refused;
    int result = 0;
    const auto first = FirstLineOf(JobFilePath);
    JobFileContents job;
    JobFileProblem problem;
    if (JobFilePath.empty()) {
        ui::messageBox(Localized(kNoJobOpenedBefore), {}, ui::MB_OK | ui::MB_ICONINFORMATION, this);
    } else if (!FileExists(JobFilePath) || !first) {
        ui::messageBox(FormatLocalized(kJobFileNotFound, JobFilePath.c_str()), {}, ui::MB_OK | ui::MB_ICONERROR,
                       this);
    } else if (!IsJobSignature(*first)) {
        ui::messageBox(FormatLocalized(kJobFileBadSignature, JobFilePath.c_str()), {}, ui::MB_OK | ui::MB_ICONERROR,
                       this);
    } else if (!ParseNestingJob(JobFilePath, job, problem)) {
        // The line at fault is named with what it belongs to, as the job reader names it.
        const std::string why = problem.Line == 0 ? problem.Reason
                                                  : FormatLocalized(kJobFileLineProblem, problem.Line,
                                                                    problem.Where.c_str(), problem.Reason.c_str());
        ui::messageBox(FormatLocalized(kJobFileBadContents, JobFilePath.c_str(), why.c_str()), {},
                       ui::MB_OK | ui::MB_ICONERROR, this);
        // What was read before the line at fault is shown, so that OK does not lose it; the file is not replaced
        // without asking.
        notReadWhole_ = why;
        FillTables(job, refused);
    } else {
        FillTables(job, refused);
        result = 1;
    }
    if (result == 1 && !(refused.missing.empty() && refused.withoutContours.empty() && refused.duplicates.empty()))
        notReadWhole_ = Localized(kJobDrawingsLeftOut);
    ReportJobFileProblems(refused, OpenFilesWithoutContours, this);
    if (FilesWithoutContours) FilesWithoutContours->clear();
    return result;
}

void COpenDialogNesting::FillTables(const JobFileContents& job, RefusedDrawings& refused) {
    stock_->MaterialText = job.Header.MaterialText;
    stock_->MaterialNumText = job.Header.MaterialNumText;
    stock_->DensityText = job.Header.DensityText;
    stock_->ThicknessText = job.Header.ThicknessText;
    EdgeOffsetText = job.Header.EdgeOffsetText;
    PartGapText = job.Header.PartGapText;
    for (int section = 0; section < 2; ++section) {
        const bool stocks = section == 0;
        JobTablePage& page = stocks ? static_cast<JobTablePage&>(*stock_) : static_cast<JobTablePage&>(*part_);
        for (const PartType& type : stocks ? job.Stocks : job.Parts) {
            std::string path = type.Path;
            std::string title = type.BlockName;
            double width = 0.0, height = 0.0;
            const bool drawing = type.JobFileType == kJobFileDrawing;
            if (drawing) {
                title = DrawingTitle(type.Path);
            } else {
                ParseRectangleName(type.Path, width, height);
                std::filesystem::path block;
                GetRectangleBlockPath(block, InstallFolder, width, height);
                path = block.string();
            }
            if (!FileExists(path)) {
                refused.missing += "\n\r" + path;
                continue;
            }
            const int row = page.Grid.RowTotal();
            const int answer =
                page.AddTableRow(row, drawing ? kDrawingRowType : kRectangleRowType, path, title, width, height);
            if (answer == kRowAdded && stocks) {
                stock_->SetStockRowValues(row, type.Quantity, type.Grain, type.Priority);
            } else if (answer == kRowAdded) {
                part_->SetPartRowValues(row, type.Quantity, type.Grain, type.RotationMode,
                                        static_cast<int>(type.DeltaIndex), type.SectorMax - type.SectorMin,
                                        type.Priority);
            } else if (answer == kRowUnreadable) {
                refused.missing += "\n\r" + path;
            } else if (answer == kRowNoContours) {
                refused.withoutContours += "\n\r" + path;
                if (FilesWithoutContours) FilesWithoutContours->push_back(path);
            } else {
                refused.duplicates += "\n\r" + path;
            }
        }
    }
    stock_->FocusLastRow();
    part_->FocusLastRow();
    RefreshPreviews();
    stock_->Grid.RepaintGrid();
    part_->Grid.RepaintGrid();
    stock_->RefreshControls();
    part_->RefreshControls();
    updateData(false);
    KeepNumberFields();
}
