// The job commands OpenFileNesting, StartNestingAdv and StartNestingRect.
#include "nesting/commands/job_commands.h"

#include "cadlib/command_frame.h"
#include "cadlib/drawing_environment.h"
#include "cadlib/entity_access.h"
#include "cadlib/host_commands.h"
#include "cadlib/host_variables.h"
#include "cadlib/layers.h"
#include "host/ed/line_editor.h"
#include "host/ed/prompts.h"
#include "host/db/resbuf.h"
#include "host/reg/machine_registry.h"
#include "host/sys/number_text.h"
#include "host/ui/constants.h"
#include "nesting/commands/command_messages.h"
#include "nesting/commands/job_rollback.h"
#include "nesting/commands/module_commands.h"
#include "nesting/dialogs/job_dialog.h"
#include "nesting/drawings/drawing_read_cache.h"
#include "nesting/drawings/part_drawing_reader.h"
#include "nesting/engine/nesting_run.h"
#include "nesting/job/job_file_layout.h"
#include "nesting/job/job_file_reader.h"
#include "nesting/job/job_instances.h"
#include "nesting/job/job_loader.h"
#include "nesting/result/nest_report.h"
#include "nesting/result/sheet_drawing.h"

namespace {

double LeadingNumberOf(const std::string& text) { return host::sys::parseLeadingReal(text).value; }

bool HasJob(const CNestingState& state) { return state.StockInstanceCount > 0 && state.PartInstanceCount > 0; }

// True when every drawing the job names can be read, holds stored contours and, for a stock, none a stock may
// not have; otherwise the first that does not has been named in a message box.
bool DrawingsUsable(const JobFileContents& job) {
    for (const auto* types : {&job.Stocks, &job.Parts}) {
        for (const PartType& type : *types) {
            if (type.JobFileType == kJobFileDrawing && CheckPartDrawing(type) != kDrawingRead) {
                return false;
            }
        }
    }
    return true;
}

// Puts the full gaps back on every way out of a load or a run.
class GapsKept {
public:
    GapsKept(CNestingState& state, double edge, double gap) : state_(state), edge_(edge), gap_(gap) {}
    ~GapsKept() {
        state_.EdgeGap = edge_;
        state_.HalfPartGap = gap_;
    }
    GapsKept(const GapsKept&) = delete;
    GapsKept& operator=(const GapsKept&) = delete;

private:
    CNestingState& state_;
    double edge_;
    double gap_;
};

void ClearDrawingForJob() {
    LeaveDrawingFile();
    EraseAllEntities();
    PurgeAllBlocks();
    EraseAllEntities();
}

}  // namespace

int LoadJobFromFile(CNestingState& state, const std::string& path) {
    SetSysVarString("modemacro", "");
    state.ReadNestingSettings();
    state.LoadNestingOptions();
    state.LoadNestingLinetypes();
    SetCurrentLayer("0");
    DrawingEnvironmentGuard environment;

    // Everything that can refuse the file is asked before the drawing or the loaded job changes.
    JobFileContents job;
    JobFileProblem problem;
    if (!ParseNestingJob(path, job, problem)) {
        ReadNestingJob(state, path);  // tells the problem; changes nothing
        return -1;
    }
    DrawingReadCache drawingsRead;  // the load takes the drawings the check read
    if (!DrawingsUsable(job)) {
        return -1;
    }
    // All or nothing: a drawing can still fail while it loads, and then the previous job and its sheet return.
    JobRollback previousJob(state);
    if (ReadNestingJob(state, path) != 0) {
        return -1;
    }

    state.LastFileNesting = path;
    if (host::reg::productKey().exists()) {
        host::reg::productKey().setString("LastFileNesting", path);
    }
    const double edge = LeadingNumberOf(job.Header.EdgeOffsetText);
    const double gap = LeadingNumberOf(job.Header.PartGapText);
    GapsKept fullGaps(state, edge, gap);
    state.HalfPartGap = gap * 0.5;
    state.EdgeGap = edge - gap * 0.5;
    state.SetMaterialName(job.Header.MaterialText);
    state.SetMaterialNumber(job.Header.MaterialNumText);
    state.MaterialDensity = LeadingNumberOf(job.Header.DensityText);
    state.MaterialThickness = LeadingNumberOf(job.Header.ThicknessText);
    state.SaveLastMaterial();

    // The blocks of the previous job go before the new job makes its own of the same names.
    previousJob.DrawingWillChange();
    ClearDrawingForJob();
    state.FreeStockInstances();
    state.FreePartInstances();
    state.CurrentJobPath = state.LastFileNesting;
    state.PrepareNestDrawing();
    state.RectMode = 1;
    int result = -1;
    if (LoadJobDrawings(state) == 0) {
        BuildInstances(state);
        result = HasJob(state) ? 0 : -1;
    } else {
        ReleaseJobInstances(state);
    }
    if (result == 0) {
        previousJob.Commit();
        PrintLocalized(kJobLoaded, path.c_str(), static_cast<int>(state.StockInstanceCount),
                       static_cast<int>(state.PartInstanceCount));
    }
    return result;
}

int LoadJobThroughDialog(CNestingState& state) {
    SetSysVarString("modemacro", "");
    state.ReadNestingSettings();
    COpenDialogNesting dialog;
    dialog.JobFilePath = state.LastFileNesting;
    dialog.EdgeOffsetText = host::sys::formatC("%4.2f", state.EdgeGap);
    dialog.PartGapText = host::sys::formatC("%4.2f", state.HalfPartGap);
    dialog.InstallFolder = state.DirInstall;
    dialog.FilesWithoutContours = &state.FilesWithoutContours;
    dialog.OpenFilesWithoutContours = [&state] { CommandOpenFilesWithoutContours(state); };
    if (dialog.doModal() != host::ui::IDOK) {
        return kJobDialogLeft;  // the loaded job and the drawing stay as they were
    }
    state.LastFileNesting = dialog.JobFilePath;
    dialog.SaveLastJobPaths();
    return LoadJobFromFile(state, dialog.JobFilePath);
}

void CommandOpenFileNesting(CNestingState& state) { LoadJobThroughDialog(state); }

void CommandStartNesting(CNestingState& state, bool rectangular) {
    SetSysVarString("modemacro", "");
    const std::int64_t start = ElapsedClockMilliseconds();
    while (!HasJob(state)) {
        if (LoadJobThroughDialog(state) == kJobDialogLeft) {
            return;
        }
    }

    GapsKept fullGaps(state, state.EdgeGap, state.HalfPartGap);
    state.EdgeGap = 0.0;
    state.HalfPartGap = 0.0;
    {
        SetCurrentLayer("0");
        DrawingEnvironmentGuard environment;
        state.RectMode = rectangular ? 1 : 0;
        state.LoadNestingOptions();
        if (rectangular) {
            state.HoleMode = 0;
            PrintLocalized(kPleaseWait);
        } else {
            PrintLocalized(kPleaseWait);
            state.HoleMode = state.UseHole;
        }
        // Ctrl-C at the terminal stops the run at its next placement; the break is taken there, so it cancels
        // none of the questions after the run.
        state.StopRequested = [] { return host::ed::takeUserBreak(); };
        RunNesting(state, [&state](int sheet) { ShowSheetProgress(state, sheet); });
        state.StopRequested = nullptr;
        std::string elapsed;
        FormatElapsedTime(start, elapsed);
        PrintLocalized(kTimeOfNesting, elapsed.c_str());
        state.ShownSheet = 0;
        DrawNest(state, 0, true);
    }
    ShowNestInfo(state);
    if (!rectangular) {
        state.HoleMode = state.UseHole;
    }
}
