// The nested sheet as the drawing holds it, and the job made to follow it.
//
// The drawing is what the user sees and what the cutting-path module cuts; the job in memory only describes it.
// UNDO (and REDO) take the drawing back without the module taking part, the host's own commands may erase or move
// a part's reference, and a sheet saved in an earlier session can be opened again without its job. So before a
// command works on the shown sheet or reports on it, the job is made to follow the sheet in the drawing: the
// drawing's result marker says which sheet of which job it is, and its part references say where the parts lie.
#pragma once

#include <optional>
#include <string>

#include "nesting/frame/nesting_state.h"

// The result marker of the drawing: the first "Kstr_ST" text of model space that is not erased and carries a
// "Kstr" record of a nesting result (status 2); its sheet index and job path.
struct DrawnSheetMarker {
    int sheet = 0;
    std::string jobPath;
};
std::optional<DrawnSheetMarker> ReadDrawnSheetMarker();

enum class DrawnSheet {
    Followed,   // the drawing holds a sheet of the loaded, nested job; the job now follows it
    NoJob,      // no job is loaded in this session
    NotNested,  // a job is loaded but has not been nested
    NoSheet,    // the job was nested, but the drawing holds none of its sheets (no result marker)
    OtherJob,   // the drawing holds a sheet of another job file
};

// Makes the job follow the drawing when the drawing holds one of its sheets: ShownSheet becomes the marker's sheet
// and, on that sheet's stock, every part reference in the drawing stands for one placed part instance of its
// type. A part whose reference is where its committed pose says keeps its pose; a reference that no part stands
// for takes a part of its type that lost its reference on this sheet, else one that is not placed, posed exactly
// where the reference lies (no collision test); a part left without a reference is taken off the sheet. Parts of
// other sheets and the stocks are not touched. Answers what the drawing holds; only Followed changes the job.
DrawnSheet FollowDrawnSheet(CNestingState& state);

// For a manual part command named `command` (the name the user typed): follows the drawing and answers true when
// the command can work on the shown sheet; otherwise a message box says why and what to do, and answers false.
bool ManualCommandMayRun(CNestingState& state, const char* command);

// For NestInfo: follows the drawing and answers true when the report can be shown. The report of a job that
// holds no sheet (none loaded, none nested) is shown as it stands, unless the drawing holds a sheet that the
// job in memory does not describe: then, as where a nested job's sheet is not in the drawing, a message box
// says so and the answer is false.
bool NestReportMayShow(CNestingState& state);
