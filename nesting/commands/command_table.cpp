// The module's command group "veskNesting": the table of its commands, their registration and their run.
#include "nesting/commands/command_table.h"

#include <array>
#include <exception>
#include <optional>

#include "cadlib/drawing_environment.h"
#include "cadlib/host_variables.h"
#include "host/ed/command_stack.h"
#include "nesting/commands/command_messages.h"
#include "nesting/commands/job_commands.h"
#include "nesting/commands/module_commands.h"
#include "nesting/drawings/offset_test_command.h"
#include "nesting/import/cnc_import.h"
#include "nesting/geometry/contour_offset.h"
#include "nesting/manual/drawn_sheet.h"
#include "nesting/manual/manual_commands.h"
#include "nesting/result/nest_report.h"
#include "nesting/result/sheet_drawing.h"
#include "nesting/result/trim_lines.h"

namespace {

constexpr int kTransparent = host::ed::CMD_TRANSPARENT;
constexpr int kSession = host::ed::CMD_SESSION;

// The table, in registration order. Global names are "vesk_" and the local name, except TestInt's.
constexpr std::array kCommands{
    NestingCommand{"OpenFileNesting", "vesk_OpenFileNesting", kTransparent, false, false,
                   [](CNestingState& s) { CommandOpenFileNesting(s); }},
    NestingCommand{"StartNestingAdv", "vesk_StartNestingAdv", kTransparent, false, false,
                   [](CNestingState& s) { CommandStartNesting(s, false); }},
    NestingCommand{"StartNestingRect", "vesk_StartNestingRect", kTransparent, false, false,
                   [](CNestingState& s) { CommandStartNesting(s, true); }},
    NestingCommand{"DrawPartNesting", "vesk_DrawPartNesting", kTransparent, false, true,
                   [](CNestingState& s) {
                       FollowDrawnSheet(s);
                       ShowNextSheet(s);
                   }},
    NestingCommand{"NestInfo", "vesk_NestInfo", kTransparent, true, false,
                   [](CNestingState& s) {
                       if (NestReportMayShow(s)) ShowNestInfo(s);
                   }},
    NestingCommand{"NextListNesting", "vesk_NextListNesting", kTransparent, true, true,
                   [](CNestingState& s) {
                       FollowDrawnSheet(s);
                       ShowNextSheet(s);
                   }},
    NestingCommand{"PrevListNesting", "vesk_PrevListNesting", kTransparent, true, true,
                   [](CNestingState& s) {
                       FollowDrawnSheet(s);
                       ShowPreviousSheet(s);
                   }},
    NestingCommand{"MovePart", "vesk_MovePart", kTransparent, true, true,
                   [](CNestingState& s) { MovePlacedPart(s, false, false, true); }, true},
    NestingCommand{"RotatePart", "vesk_RotatePart", kTransparent, true, true,
                   [](CNestingState& s) { RotatePlacedPart(s, false, 0.0); }, true},
    NestingCommand{"MovePartAuto", "vesk_MovePartAuto", kTransparent, true, true,
                   [](CNestingState& s) { MovePlacedPart(s, true, false, true); }, true},
    NestingCommand{"MovePartAutoInPoint", "vesk_MovePartAutoInPoint", kTransparent, true, true,
                   [](CNestingState& s) { MovePlacedPart(s, true, false, false); }, true},
    NestingCommand{"RotatePartAuto", "vesk_RotatePartAuto", kTransparent, true, true,
                   [](CNestingState& s) { RotatePlacedPart(s, true, 0.0); }, true},
    NestingCommand{"RotatePart180", "vesk_RotatePart180", kTransparent, true, true,
                   [](CNestingState& s) { RotatePlacedPart(s, false, 180.0); }, true},
    NestingCommand{"RotatePart90R", "vesk_RotatePart90R", kTransparent, true, true,
                   [](CNestingState& s) { RotatePlacedPart(s, false, -90.0); }, true},
    NestingCommand{"RotatePart90L", "vesk_RotatePart90L", kTransparent, true, true,
                   [](CNestingState& s) { RotatePlacedPart(s, false, 90.0); }, true},
    NestingCommand{"RotatePart45R", "vesk_RotatePart45R", kTransparent, true, true,
                   [](CNestingState& s) { RotatePlacedPart(s, false, -45.0); }, true},
    NestingCommand{"RotatePart45L", "vesk_RotatePart45L", kTransparent, true, true,
                   [](CNestingState& s) { RotatePlacedPart(s, false, 45.0); }, true},
    NestingCommand{"RotatePart30R", "vesk_RotatePart30R", kTransparent, true, true,
                   [](CNestingState& s) { RotatePlacedPart(s, false, -30.0); }, true},
    NestingCommand{"RotatePart30L", "vesk_RotatePart30L", kTransparent, true, true,
                   [](CNestingState& s) { RotatePlacedPart(s, false, 30.0); }, true},
    NestingCommand{"RotatePart10R", "vesk_RotatePart10R", kTransparent, true, true,
                   [](CNestingState& s) { RotatePlacedPart(s, false, -10.0); }, true},
    NestingCommand{"RotatePart10L", "vesk_RotatePart10L", kTransparent, true, true,
                   [](CNestingState& s) { RotatePlacedPart(s, false, 10.0); }, true},
    NestingCommand{"RotatePart5R", "vesk_RotatePart5R", kTransparent, true, true,
                   [](CNestingState& s) { RotatePlacedPart(s, false, -5.0); }, true},
    NestingCommand{"RotatePart5L", "vesk_RotatePart5L", kTransparent, true, true,
                   [](CNestingState& s) { RotatePlacedPart(s, false, 5.0); }, true},
    NestingCommand{"RotatePart1R", "vesk_RotatePart1R", kTransparent, true, true,
                   [](CNestingState& s) { RotatePlacedPart(s, false, -1.0); }, true},
    NestingCommand{"RotatePart1L", "vesk_RotatePart1L", kTransparent, true, true,
                   [](CNestingState& s) { RotatePlacedPart(s, false, 1.0); }, true},
    NestingCommand{"ErasePart", "vesk_ErasePart", kTransparent, true, true,
                   [](CNestingState& s) { ErasePlacedPart(s); }, true},
    NestingCommand{"InsertPart", "vesk_InsertPart", kTransparent, true, true,
                   [](CNestingState& s) { InsertNestPart(s); }, true},
    NestingCommand{"QueryPart", "vesk_QueryPart", kTransparent, true, true,
                   [](CNestingState& s) { QueryPlacedPart(s); }, true},
    // The contour relation is tested by the geometry's own tests; the developer command is not kept.
    NestingCommand{"TestInt", "vesk_TestInter", kTransparent, false, false, nullptr},
    NestingCommand{"TTO", "vesk_TTO", kTransparent, false, false,
                   [](CNestingState& s) { TestContourOffset(s, kOffsetOutward); }},
    NestingCommand{"TTI", "vesk_TTI", kTransparent, false, false,
                   [](CNestingState& s) { TestContourOffset(s, kOffsetInward); }},
    NestingCommand{"DisplayParts", "vesk_DisplayParts", kTransparent, false, false,
                   [](CNestingState& s) { CommandDisplayParts(s); }},
    NestingCommand{"ImportCNCDWG", "vesk_ImportCNCDWG", kTransparent, true, true,
                   [](CNestingState&) { ImportCncFilesToDwg(); }},
    NestingCommand{"ImportCNCACAD", "vesk_ImportCNCACAD", kTransparent, true, true,
                   [](CNestingState&) { ImportCncIntoDrawing(); }},
    NestingCommand{"LoadNestOptions", "vesk_LoadNestOptions", kTransparent, false, false,
                   [](CNestingState& s) { CommandLoadNestOptions(s); }},
    NestingCommand{"AddTrimLine", "vesk_AddTrimLine", kTransparent, false, false,
                   [](CNestingState& s) {
                       FollowDrawnSheet(s);
                       DrawTrimLine(s, false);
                   }},
    NestingCommand{"AddTrimLineXY", "vesk_AddTrimLineXY", kTransparent, false, false,
                   [](CNestingState& s) {
                       FollowDrawnSheet(s);
                       DrawTrimLine(s, true);
                   }},
    NestingCommand{"cncOpenFilesDwg", "vesk_cncOpenFilesDwg", kSession, false, false,
                   [](CNestingState& s) { CommandOpenFilesWithoutContours(s); }},
};

}  // namespace

std::span<const NestingCommand> NestingCommandTable() { return kCommands; }

void RunNestingCommand(const NestingCommand& command, CNestingState& state) {
    try {
        std::optional<DrawingEnvironmentGuard> environment;
        if (command.keepEnvironment) {
            environment.emplace();
        }
        if (command.clearStatusLine) {
            SetSysVarString("modemacro", "");
        }
        if (command.work == nullptr) {
            PrintLocalized(kCommandComesLater, command.localName);
            return;
        }
        if (command.onDrawnSheet && !ManualCommandMayRun(state, command.localName)) {
            return;
        }
        command.work(state);
    } catch (const std::exception& e) {
        PrintLocalized(kCommandFailed, command.localName, e.what());
    }
}

void RegisterNestingCommands() {
    for (const NestingCommand& command : kCommands) {
        host::ed::commandStack().add({kNestingCommandGroup, command.globalName, command.localName, command.flags,
                                      [&command] { RunNestingCommand(command, NestingState()); }});
    }
}

void RemoveNestingCommands() {
    for (const NestingCommand& command : kCommands) {
        host::ed::commandStack().remove(kNestingCommandGroup, command.globalName);
    }
}
