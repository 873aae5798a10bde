// The CNC program import commands and the conversion of one program.
#include "nesting/import/cnc_import.h"

#include <set>
#include <string_view>
#include <system_error>
#include <vector>

#include "cadlib/entity_access.h"
#include "cadlib/number_text.h"
#include "cadlib/text_lines.h"
#include "host/db/database.h"
#include "host/db/resbuf.h"
#include "host/dxf/dxf_file.h"
#include "host/ed/command.h"
#include "host/ed/documents.h"
#include "host/ed/prompts.h"
#include "host/sys/file_read.h"
#include "host/sys/number_text.h"
#include "host/ui/constants.h"
#include "host/ui/file_dialog.h"
#include "host/ui/message_box.h"
#include "nesting/import/import_messages.h"
#include "nesting/result/contour_drawing.h"
#include "nesting/result/sheet_drawing.h"

namespace {

namespace fs = std::filesystem;
using host::db::ResBuf;
using host::db::RTNORM;
using host::db::RTSTR;

static_assert(kCncRapidElement == kImportedRapid, "the reader's rapid moves are drawn as rapid moves");

constexpr const char* kProgramFilter = "All Files (*.*)|*.*|*.iso|*.iso|*.cnc|*.cnc|*.tap|*.tap||";
constexpr const char* kLogName = "Import_ISO_DWG.log";

const TwoLanguageText& ProblemText(CncLineProblem problem) {
    switch (problem) {
        case CncLineProblem::LineTooLong: return kLineTooLong;
        case CncLineProblem::OutOfRange: return kLineOutOfRange;
        case CncLineProblem::UnknownGCode: return kLineUnknownGCode;
        case CncLineProblem::NotReadable: return kLineNotReadable;
        case CncLineProblem::ArcWithoutCentre: return kLineArcWithoutCentre;
        case CncLineProblem::ArcRadiusTooSmall: return kLineArcRadiusTooSmall;
        case CncLineProblem::ArcOffCircle: return kLineArcOffCircle;
        default: return kLineNotANumber;
    }
}

// Tells the reader's notices on the command line: the first lines not read one by one, the rest as a count.
class NoticePrinter {
public:
    explicit NoticePrinter(std::string program) : program_(std::move(program)) {}

    void operator()(const CncNotice& notice) {
        if (notice.contourFull) {
            PrintLocalized(kContourFull, notice.line, program_.c_str(), static_cast<int>(kCncContourElements));
            return;
        }
        if (++told_ > kToldLinesNotRead) return;
        if (notice.problem == CncLineProblem::UnknownGCode) {
            PrintLocalized(kLineUnknownGCode, notice.line, program_.c_str(), notice.code);
        } else {
            PrintLocalized(ProblemText(notice.problem), notice.line, program_.c_str());
        }
    }
    void PrintRest() const {
        if (told_ > kToldLinesNotRead) PrintLocalized(kMoreLinesNotRead, told_ - kToldLinesNotRead, program_.c_str());
    }

private:
    std::string program_;
    int told_ = 0;
};

void ZoomToExtents() {
    host::ed::command(host::db::ResBufList{ResBuf(RTSTR, "_.ZOOM"), ResBuf(RTSTR, "_E")});
}

// Writes the working drawing to `path`, an existing file kept as .bak first. False with the reason in `error`.
bool SaveWorkingDrawing(const fs::path& path, std::string& error) {
    const host::db::Database* database = host::db::workingDatabase();
    if (database == nullptr) {
        error = "no drawing is open";
        return false;
    }
    std::error_code ec;
    if (fs::exists(path, ec)) {
        fs::path backup = path;
        backup.replace_extension(".bak");
        fs::copy_file(path, backup, fs::copy_options::overwrite_existing, ec);
        if (ec) {
            error = "cannot keep the old file as " + backup.string() + ": " + ec.message();
            return false;
        }
    }
    return host::dxf::writeDxfFile(*database, path, &error);
}

// The three questions both commands ask; a cancelled one keeps its default.
CncImportAnswers AskImportAnswers(const TwoLanguageText& deleteQuestion) {
    CncImportAnswers answers;
    host::ed::initGet(0, "Y N");
    std::string keyword;
    answers.dropLeads = host::ed::getKeyword(Localized(deleteQuestion), keyword) == RTNORM && keyword == "Y";
    int mode = 0;
    if (host::ed::getInt(Localized(kModeQuestion), mode) == RTNORM) answers.mode = mode;
    // Every coordinate is divided by the scale: 0 and negative scales are refused at the prompt.
    host::ed::initGet(host::ed::RSG_NOZERO | host::ed::RSG_NONEG);
    double scale = 1.0;
    if (host::ed::getReal(Localized(kScaleQuestion), scale) == RTNORM && scale > 0.0) answers.scale = scale;
    return answers;
}

// The programs the user chooses in the open dialog; empty when cancelled.
std::vector<std::string> ChoosePrograms() {
    host::ui::FileDialogOptions options;
    options.kind = host::ui::FileDialogKind::Open;
    options.filter = kProgramFilter;
    options.defaultExtension = "*.*";
    options.flags = host::ui::OFN_NOCHANGEDIR | host::ui::OFN_ALLOWMULTISELECT | host::ui::OFN_FILEMUSTEXIST |
                    host::ui::OFN_ENABLESIZING;
    host::ui::FileDialog dialog(options);
    if (dialog.doModal() != host::ui::IDOK) return {};
    return dialog.paths();
}

void ShowError(const std::string& text) { host::ui::messageBox(text, {}, host::ui::MB_OK | host::ui::MB_ICONERROR); }

std::string NameKey(const fs::path& path) {
    std::string key = path.lexically_normal().string();
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return key;
}

// A name for the drawing of a program that no earlier program of the run took and no file has: "name_2.dxf" and
// on. Two names that differ only in case are one, as on the systems the programs come from.
fs::path FreeDrawingPath(const fs::path& wanted, const std::set<std::string>& taken) {
    const fs::path folder = wanted.parent_path();
    const std::string stem = wanted.stem().string();
    for (int n = 2;; ++n) {
        fs::path candidate = folder / (stem + "_" + std::to_string(n) + ".dxf");
        std::error_code ec;
        if (taken.count(NameKey(candidate)) == 0 && !fs::exists(candidate, ec)) {
            return candidate;
        }
    }
}


}  // namespace

fs::path DrawingPathOfProgram(const fs::path& program) {
    fs::path drawing = program;
    // Only the file name's own extension goes: a point in a folder's name is no extension.
    drawing.replace_extension(".dxf");
    return drawing;
}

CncConversion ConvertCncProgram(const fs::path& program, const fs::path& drawing, const CncImportAnswers& answers) {
    CncConversion result;
    host::sys::FileBytes file = host::sys::readFileBytes(program, kMaxCncProgramBytes);
    if (file.status != host::sys::FileReadStatus::Read) {
        result.error = file.status == host::sys::FileReadStatus::Missing ? "the file does not exist" : file.error;
        return result;
    }
    if (file.bytes.find('\0') != std::string::npos) {
        result.error = Localized(kNotAText);
        return result;
    }
    // The program takes the place of the drawing's content: the file the drawing came from keeps the user's own.
    LeaveDrawingFile();
    EraseAllEntities();
    NoticePrinter printer(program.string());
    CncProgramReader reader(answers, [](const Contour& contour) { DrawContour(contour); },
                            [&printer](const CncNotice& notice) { printer(notice); });
    ReadCncProgramText(file.bytes, reader);
    printer.PrintRest();
    result.linesNotRead = reader.LinesNotRead();
    if (!reader.AddedElement()) {
        result.outcome = CncConversionOutcome::NothingToSave;
        return result;
    }
    ZoomToExtents();
    if (drawing.empty()) {
        result.outcome = CncConversionOutcome::Drawn;
        return result;
    }
    result.outcome = SaveWorkingDrawing(drawing, result.error) ? CncConversionOutcome::Saved
                                                                : CncConversionOutcome::SaveFailed;
    return result;
}

void ImportCncFilesToDwg() {
    PrintLocalized(kImportToDrawingsStarts);
    const std::vector<std::string> programs = ChoosePrograms();
    if (programs.empty()) return;
    std::string folder;
    if (GetPathDirectory(programs.front(), folder) != 0) {
        ShowError(Localized(kSelectOtherFolder));
        return;
    }
    const fs::path logPath = fs::path(folder) / kLogName;
    TextLineWriter log(logPath);
    std::string error;
    if (!log.open(&error)) {
        ShowError(FormatLocalized(kCannotWriteLog, logPath.string().c_str()));
        return;
    }
    const CncImportAnswers answers = AskImportAnswers(kDeleteQuestionToDrawings);

    // The programs are drawn in a new drawing of their own: the drawing the user had open keeps its content and
    // its file (an import drawn in it made a later save write a program's geometry over the user's part). The new
    // drawing shows the last program drawn and belongs to the file it was saved as.
    host::ed::DocumentManager& documents = host::ed::documents();
    host::ed::Document& work = *documents.newDocument();
    const std::string untitled = work.title();
    auto belongTo = [&](const fs::path& drawing) {
        work.database().setFileName(drawing);
        work.setTitle(drawing.empty() ? untitled : drawing.filename().string());
        if (!drawing.empty()) work.database().clearModified();
    };

    std::set<std::string> written;
    for (const std::string& program : programs) {
        const fs::path wanted = DrawingPathOfProgram(program);
        fs::path drawing = wanted;
        if (written.count(NameKey(wanted)) != 0) drawing = FreeDrawingPath(wanted, written);
        const CncConversion done = ConvertCncProgram(program, drawing, answers);
        if (done.outcome == CncConversionOutcome::Saved) belongTo(drawing);
        else if (done.outcome != CncConversionOutcome::CannotOpen) belongTo({});  // erased, not saved
        std::string note;
        if (done.linesNotRead > 0) note += FormatLocalized(kLogLinesNotRead, done.linesNotRead);
        switch (done.outcome) {
            case CncConversionOutcome::Saved:
            case CncConversionOutcome::Drawn:
                written.insert(NameKey(drawing));
                if (drawing != wanted) {
                    PrintLocalized(kDrawingNameTaken, wanted.string().c_str(), drawing.string().c_str());
                    note = FormatLocalized(kLogSavedAs, drawing.string().c_str()) + note;
                }
                log.write(host::sys::formatC(kLogMadeFormat, Localized(kLogFileCreate), program.c_str()) + note);
                PrintLocalized(kFileCreated, drawing.string().c_str());
                break;
            case CncConversionOutcome::NothingToSave:
                log.write(host::sys::formatC(kLogFailedFormat, Localized(kLogNothingToSave), program.c_str()) + note);
                PrintLocalized(kNothingToSave, program.c_str());
                break;
            case CncConversionOutcome::SaveFailed:
                log.write(host::sys::formatC(kLogFailedFormat, Localized(kLogErrorSave), program.c_str()) +
                          FormatLocalized(kLogReason, done.error.c_str()) + note);
                PrintLocalized(kDrawingNotSaved, drawing.string().c_str(), done.error.c_str());
                break;
            case CncConversionOutcome::CannotOpen:
                log.write(host::sys::formatC(kLogFailedFormat, Localized(kLogErrorOpen), program.c_str()) +
                          FormatLocalized(kLogReason, done.error.c_str()));
                PrintLocalized(kErrorOpenFile, program.c_str());
                PrintLocalized(kProgramNotRead, program.c_str(), done.error.c_str());
                ShowError(FormatLocalized(kErrorOpenFile, program.c_str()));
                break;
        }
        log.write("\n");
    }
    log.write(host::sys::formatC(kLogEndFormat, Localized(kLogEnd)));
    if (!log.commit(&error)) ShowError(FormatLocalized(kCannotWriteLog, logPath.string().c_str()));
}

void ImportCncIntoDrawing() {
    PrintLocalized(kImportIntoDrawingStarts);
    const std::vector<std::string> programs = ChoosePrograms();
    if (programs.empty()) return;
    std::string folder;
    if (GetPathDirectory(programs.front(), folder) != 0) {
        ShowError(Localized(kSelectOtherFolder));
        return;
    }
    const CncImportAnswers answers = AskImportAnswers(kDeleteQuestionIntoDrawing);
    const std::string& program = programs.front();
    if (program.empty()) {
        ShowError(FormatLocalized(kFileNotFound, program.c_str()));
        return;
    }
    const CncConversion done = ConvertCncProgram(program, {}, answers);
    if (done.outcome == CncConversionOutcome::CannotOpen) {
        PrintLocalized(kErrorOpenFile, program.c_str());
        PrintLocalized(kProgramNotRead, program.c_str(), done.error.c_str());
    }
}
