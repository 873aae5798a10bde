// NC program creation: the command body of NCCreate with its two dialogs, the start state of a program, the
// program body and the file written whole or not at all.
#include "laser/nc/nc_program_creation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_set>
#include <optional>
#include <string_view>

#include "cadlib/host_variables.h"
#include "cadlib/messages.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/sys/atomic_file.h"
#include "host/sys/number_text.h"
#include "host/sys/shell_open.h"
#include "host/ui/constants.h"
#include "host/ui/file_dialog.h"
#include "host/ui/message_box.h"
#include "laser/contours/clamps_trim_lines.h"
#include "laser/frame/status_line.h"
#include "laser/job/drawing_slot.h"
#include "laser/nc/create_program_dialog.h"
#include "laser/nc/nc_messages.h"
#include "laser/nc/nc_services.h"
#include "laser/nc/path_walkers.h"
#include "laser/path/path_groups.h"
#include "laser/path/path_totals.h"
#include "laser/settings/laser_settings.h"
#include "laser/settings/number_field_check.h"

namespace fs = std::filesystem;

namespace {

// The contours of the job that a cutting path should cut and no path group names: the part contours still drawn,
// jumper points aside, and marking points only when they are used (as the automatic cutting order counts them).
// A program written without them must say so: before, a hole drawn twice was left out and the program was reported
// created as if whole.
int ContoursWithoutPath(const CuttingJob& job, const CLaserSettings& settings) {
    std::unordered_set<std::uint64_t> cut;
    for (int n = 1; n <= job.pathGroupCount; ++n) {
        PathRecord record;
        ReadPathRecord(static_cast<unsigned>(n), record);
        if (record.contourHandle != 0) cut.insert(record.contourHandle);
    }
    host::db::Database* db = host::db::workingDatabase();
    const int count = std::clamp(job.contourCount, 0, static_cast<int>(job.contours.size()));
    int left = 0;
    for (int i = 0; i < count; ++i) {
        const ContourRecord& r = job.contours[static_cast<std::size_t>(i)];
        if (r.role != kRolePart || r.kind == ContourKind::KindJumperPoint || r.handle == 0) continue;
        if (r.kind == ContourKind::MarkPoint && settings.UseMarkPoint != 1) continue;
        if (cut.contains(r.handle)) continue;
        if (db != nullptr) {
            host::db::ObjectPtr<host::db::Entity> e(db->idFromHandle(host::db::Handle(r.handle)),
                                                    host::db::OpenMode::Read);
            if (!e) continue;  // erased since: nothing of the drawing is left out
        }
        ++left;
    }
    return left;
}

// The extension of NC files when no postprocessor could be loaded.
constexpr const char* kFallbackNcExtension = "cnc";

constexpr const char* kCuttingModeStartTexts[] = {"0", "-1", "-2", "-3", "-4", "-5", "6", "7", "-8", "-9"};
constexpr const char* kLeadCuttingMode = "-9";

// Hands finished blocks to the temporary file, each with a CR LF end.
class NcFileSink : public NcBlockSink {
public:
    explicit NcFileSink(host::sys::AtomicFile& file) : file_(file) {}
    void WriteBlock(std::string_view line) override {
        file_.write(line);
        file_.write("\r\n");
    }

private:
    host::sys::AtomicFile& file_;
};

// Gives the output state its sink for the time of one program and takes it back on every way out, so the state
// never keeps a pointer to a sink that is gone.
class SinkInstalled {
public:
    SinkInstalled(NcOutputState& state, NcBlockSink& sink) : state_(state), previous_(state.Output) {
        state_.Output = &sink;
    }
    ~SinkInstalled() { state_.Output = previous_; }
    SinkInstalled(const SinkInstalled&) = delete;
    SinkInstalled& operator=(const SinkInstalled&) = delete;

private:
    NcOutputState& state_;
    NcBlockSink* previous_;
};

std::string FeedText(double feed) { return host::sys::formatC("%.3f", feed); }

// A feed of the dialog: its whole text as a number (the dialog took no other on OK); `kept` when it is none.
double FeedValue(const std::string& text, double kept) { return host::sys::fieldReal(text).value_or(kept); }

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += fs::path::preferred_separator;
    return folder;
}

bool SamePostprocessor(const std::string& folderA, const std::string& fileA, const std::string& folderB,
                       const std::string& fileB) {
    return PostprocessorPathOf(folderA, fileA).lexically_normal() ==
           PostprocessorPathOf(folderB, fileB).lexically_normal();
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::exists(path, error);
}

// The default output path: beside the drawing when it is saved, else in the folder of the last nesting (or the
// drawing's folder when none is known).
std::string DefaultOutputPath(const CLaserSettings& settings, const std::string& ext) {
    std::string prefix, name;
    GetSysVarString("DWGPREFIX", prefix);
    GetSysVarString("DWGNAME", name);
    std::string folder = WithSeparator(prefix);
    if (!FileExists((fs::path(prefix) / name).string()) && !settings.LastDirNestDWG.empty()) {
        folder = WithSeparator(settings.LastDirNestDWG);
    }
    return folder + DefaultNcFileName(name, ext);
}

// The save dialog of the output file; nullopt when cancelled.
std::optional<std::string> ChooseOutputPath(const std::string& path, const std::string& ext) {
    host::ui::FileDialogOptions options;
    options.kind = host::ui::FileDialogKind::Save;
    options.defaultExtension = ext;
    options.initialName = path;
    options.initialFolder = fs::path(path).parent_path().string();
    options.flags = host::ui::OFN_OVERWRITEPROMPT;
    options.filter = NcFileFilter(ext);
    return host::ui::chooseFile(std::move(options));
}

}  // namespace

void SetCuttingModeTexts(PostprocessorRuntime& runtime) {
    for (std::string& text : runtime.CuttingModeTexts) text.clear();
    std::size_t i = 0;
    for (const char* text : kCuttingModeStartTexts) runtime.CuttingModeTexts[i++] = text;
    runtime.LeadText = kLeadCuttingMode;
}

std::string DefaultNcFileName(const std::string& drawingName, const std::string& ext) {
    const std::size_t point = drawingName.rfind('.');
    std::string stem = (point == std::string::npos || point == 0) ? drawingName : drawingName.substr(0, point);
    if (ext.empty()) return stem;
    return stem + "." + ext;
}

void StartNcProgram(NcRun& run) {
    NcOutputState& s = run.state;
    StartNcProgramState(s, run.runtime);
    s.ToolIsOn = kToolNeither;
    s.ToolKind = kToolCut;
    s.PreviousToolKind = 0;
    s.Feed = 0.0;
    s.StopFlag = false;
    s.OutputMode = 1;
    // A run stopped on a number that is not finite leaves it in the position; the next program starts clean.
    for (double* v : {&s.Current.x, &s.Current.y, &s.Target.x, &s.Target.y, &s.Centre.x, &s.Centre.y, &s.Radius,
                      &s.Sweep}) {
        if (!std::isfinite(*v)) *v = 0.0;
    }
    run.nonFiniteGroup = 0;
}

void WriteNcProgramBody(NcRun& run, bool hasJob, int pathGroupCount) {
    if (!hasJob) return;
    RunEventTemplate(run, run.runtime.StartPrgStr);
    if (run.state.NonFinite) return;
    int first = 0;
    for (int n = 1; n <= pathGroupCount; ++n) {
        if (run.runtime.UseProfilesCut != 0) {
            EmitProfilePath(run, static_cast<unsigned>(n), first);
        } else {
            EmitContourPath(run, static_cast<unsigned>(n), first);
        }
        if (run.state.NonFinite) {
            run.nonFiniteGroup = n;
            return;
        }
    }
    ToolOff(run);
    RunEventTemplate(run, run.runtime.EndPrgStr);
    RunEventTemplate(run, run.runtime.EndFileStr);
}

bool WriteNcProgramFile(const fs::path& path, NcRun& run, bool hasJob, int pathGroupCount, std::string& error) {
    if (path.empty()) {
        error = "no file name";
        return false;
    }
    host::sys::AtomicFile file(path);
    if (!file.open(&error)) return false;
    NcFileSink sink(file);
    {
        SinkInstalled installed(run.state, sink);
        run.state.OutputPath = path.string();
        StartNcProgram(run);
        WriteNcProgramBody(run, hasJob, pathGroupCount);
    }
    // A program with "X-inf" in it would be refused by the machine at best: the temporary file goes unkept.
    if (run.state.NonFinite) {
        const std::string group = FormatPathGroupName(static_cast<unsigned>(run.nonFiniteGroup));
        error = run.nonFiniteGroup == 0 ? FormatLocalized(kNcStartNumberNotFinite)
                                        : FormatLocalized(kNcNumberNotFinite, group.c_str());
        return false;
    }
    return file.commit(&error);
}

int CreateNcProgram() {
    CLaserSettings& settings = LaserSettings();
    CuttingJob* job = CurrentJob(settings);
    DrawingSlot* slot = CurrentSlot(settings);
    if (job == nullptr || slot == nullptr) return 0;
    // A program of header and end only would be reported as created and run as nothing: say so before any dialog.
    if (slot->status != kSlotJob || job->pathGroupCount <= 0) {
        PrintLocalized(kNoCuttingPath);
        return 0;
    }
    PostprocessorRuntime& runtime = PostRuntime();
    NcOutputState& state = NcState();

    ReadClampsAndTrimLines();
    settings.ReadLastNestingFolder();
    SetCuttingModeTexts(runtime);
    int loadState = LoadPostprocessorRuntime();
    state.OutputMode = 1;
    const double rememberedFeeds[] = {job->feedCut, job->feedEngrave, job->feedHeatTreatment};

    std::string ext = loadState == 0 ? runtime.EXTFile : kFallbackNcExtension;
    std::string outputPath = DefaultOutputPath(settings, ext);
    NcProgramHeader header;
    bool headerFilled = false;
    for (;;) {
        const std::optional<std::string> chosen = ChooseOutputPath(outputPath, ext);
        if (!chosen) return 0;
        outputPath = *chosen;

        if (!headerFilled) {
            header.programName = job->programName;
            header.postprocessorFile = settings.Postprocessor;
            header.postprocessorFolder = settings.DirPostprocessor;
            header.feedCut = FeedText(settings.FeedCut);
            header.feedCutT2 = FeedText(settings.FeedCutT2);
            header.feedEngrave = FeedText(settings.EngraveCut);
            header.feedEngraveAndMark = FeedText(settings.EngraveAndMarkCut);
            header.feedMark = FeedText(settings.MarkCut);
            header.feedHeatTreatment = FeedText(settings.HeatTreatmentCut);
            headerFilled = true;
        }
        header.fileName = outputPath;
        header.ncExtension = ext;
        // The dialog comes back until a postprocessor loads, with what the user entered last.
        for (;;) {
            const std::string namedFolder = settings.DirPostprocessor;
            const std::string namedFile = settings.Postprocessor;
            CDialogCreateProgram dialog;
            dialog.header = header;
            if (dialog.doModal() != host::ui::IDOK) return 0;
            header = dialog.header;
            if (SamePostprocessor(header.postprocessorFolder, header.postprocessorFile, namedFolder, namedFile)) {
                if (loadState == 0) break;
                const std::string path =
                    PostprocessorPathOf(header.postprocessorFolder, header.postprocessorFile).string();
                host::ui::messageBox(FormatLocalized(kPostprocessorLoadedWithMistake, path.c_str()), {},
                                     host::ui::MB_OK | host::ui::MB_ICONERROR);
                continue;
            }
            settings.DirPostprocessor = WithSeparator(header.postprocessorFolder);
            settings.Postprocessor = header.postprocessorFile;
            header.postprocessorFolder = settings.DirPostprocessor;
            SetCuttingModeTexts(runtime);
            loadState = LoadPostprocessorRuntime();
            if (loadState == 0) {
                ext = runtime.EXTFile;
                header.ncExtension = ext;
                break;
            }
        }

        job->programName = header.programName;
        settings.FeedCut = FeedValue(header.feedCut, settings.FeedCut);
        settings.FeedCutT2 = FeedValue(header.feedCutT2, settings.FeedCutT2);
        settings.EngraveCut = FeedValue(header.feedEngrave, settings.EngraveCut);
        settings.EngraveAndMarkCut = FeedValue(header.feedEngraveAndMark, settings.EngraveAndMarkCut);
        settings.MarkCut = FeedValue(header.feedMark, settings.MarkCut);
        settings.HeatTreatmentCut = FeedValue(header.feedHeatTreatment, settings.HeatTreatmentCut);
        settings.Postprocessor = header.postprocessorFile;
        // A file typed into the dialog that exists already: the file dialog asks before it is replaced.
        const bool otherExistingFile = header.fileName != outputPath && FileExists(header.fileName);
        outputPath = header.fileName;
        if (!otherExistingFile) break;
    }

    // The feeds the program is written with become the job's and are stored, so that the time shown is the time
    // of these feeds, and the next command (which reads the stored settings again) keeps them. Before, the job's
    // feeds were compared with themselves, the time never followed, and the next NCSliceAuto took the old feeds.
    job->feedCut = settings.FeedCut;
    job->feedEngrave = settings.EngraveCut;
    job->feedHeatTreatment = settings.HeatTreatmentCut;
    settings.WriteRegistrySettings();
    if (job->feedCut != rememberedFeeds[0] || job->feedEngrave != rememberedFeeds[1] ||
        job->feedHeatTreatment != rememberedFeeds[2]) {
        RegenPathTotals();
        UpdateStatusLine();
    }

    runtime.JobUnitCode = job->unit;
    NcRun run{state, runtime, settings, job, nullptr};
    state.Job = job;
    state.ClampUse = settings.Nesing_ClampUse;
    std::string error;
    if (!WriteNcProgramFile(outputPath, run, slot->status == kSlotJob, job->pathGroupCount, error)) {
        host::ui::messageBox(FormatLocalized(kNcFileNotWritten, outputPath.c_str(), error.c_str()), {},
                             host::ui::MB_OK | host::ui::MB_ICONERROR);
        return 0;
    }
    const int left = ContoursWithoutPath(*job, settings);
    if (left > 0) {
        PrintLocalized(kNcFileCreatedContoursLeft, outputPath.c_str(), left);
    } else {
        PrintLocalized(kNcFileCreated, outputPath.c_str());
    }
    std::string openError;
    if (host::sys::openForUser(outputPath, &openError) == host::sys::OpenResult::StartFailed) {
        PrintLocalized(kNcFileNotOpened, outputPath.c_str(), openError.c_str());
    }
    return 0;
}
