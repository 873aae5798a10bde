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
#include "nesting/result/nest_report.h"
#include "nesting/result/sheet_drawing.h"
#include "nesting/result/trim_lines.h"

namespace {

constexpr int kTransparent = host::ed::CMD_TRANSPARENT;
constexpr int kSession = host::ed::CMD_SESSION;

// A command whose work comes in a later version; it runs in the frame the work will have.
constexpr NestingCommand Later(const char* local, const char* global) {
    return {local, global, kTransparent, true, true, nullptr};
}

// The table, in registration order. Global names are "vesk_" and the local name, except TestInt's.
constexpr std::array kCommands{
    NestingCommand{"OpenFileNesting", "vesk_OpenFileNesting", kTransparent, false, false,
                   [](CNestingState& s) { CommandOpenFileNesting(s); }},
    NestingCommand{"StartNestingAdv", "vesk_StartNestingAdv", kTransparent, false, false,
                   [](CNestingState& s) { CommandStartNesting(s, false); }},
    NestingCommand{"StartNestingRect", "vesk_StartNestingRect", kTransparent, false, false,
                   [](CNestingState& s) { CommandStartNesting(s, true); }},
    NestingCommand{"DrawPartNesting", "vesk_DrawPartNesting", kTransparent, false, true,
                   [](CNestingState& s) { ShowNextSheet(s); }},
    NestingCommand{"NestInfo", "vesk_NestInfo", kTransparent, true, false,
                   [](CNestingState& s) { ShowNestInfo(s); }},
    NestingCommand{"NextListNesting", "vesk_NextListNesting", kTransparent, true, true,
                   [](CNestingState& s) { ShowNextSheet(s); }},
    NestingCommand{"PrevListNesting", "vesk_PrevListNesting", kTransparent, true, true,
                   [](CNestingState& s) { ShowPreviousSheet(s); }},
    Later("MovePart", "vesk_MovePart"),
    Later("RotatePart", "vesk_RotatePart"),
    Later("MovePartAuto", "vesk_MovePartAuto"),
    Later("MovePartAutoInPoint", "vesk_MovePartAutoInPoint"),
    Later("RotatePartAuto", "vesk_RotatePartAuto"),
    Later("RotatePart180", "vesk_RotatePart180"),
    Later("RotatePart90R", "vesk_RotatePart90R"),
    Later("RotatePart90L", "vesk_RotatePart90L"),
    Later("RotatePart45R", "vesk_RotatePart45R"),
    Later("RotatePart45L", "vesk_RotatePart45L"),
    Later("RotatePart30R", "vesk_RotatePart30R"),
    Later("RotatePart30L", "vesk_RotatePart30L"),
    Later("RotatePart10R", "vesk_RotatePart10R"),
    Later("RotatePart10L", "vesk_RotatePart10L"),
    Later("RotatePart5R", "vesk_RotatePart5R"),
    Later("RotatePart5L", "vesk_RotatePart5L"),
    Later("RotatePart1R", "vesk_RotatePart1R"),
    Later("RotatePart1L", "vesk_RotatePart1L"),
    Later("ErasePart", "vesk_ErasePart"),
    Later("InsertPart", "vesk_InsertPart"),
    Later("QueryPart", "vesk_QueryPart"),
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
                   [](CNestingState& s) { DrawTrimLine(s, false); }},
    NestingCommand{"AddTrimLineXY", "vesk_AddTrimLineXY", kTransparent, false, false,
                   [](CNestingState& s) { DrawTrimLine(s, true); }},
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
