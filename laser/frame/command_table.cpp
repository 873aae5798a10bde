// The module's command group "VESKLaser": the table of its commands, their registration and their run.
#include "laser/frame/command_table.h"

#include <array>

#include "host/ed/command_stack.h"
#include "laser/contours/contour_creation.h"
#include "laser/contours/intersection_browser.h"
#include "laser/contours/open_contour_check.h"
#include "laser/drawing/contour_kind_commands.h"
#include "laser/drawing/conversion_commands.h"
#include "laser/drawing/engraving_text_commands.h"
#include "laser/drawing/export_commands.h"
#include "laser/drawing/part_library_commands.h"
#include "laser/drawing/placement_commands.h"
#include "laser/frame/frame_commands.h"
#include "laser/frame/frame_messages.h"
#include "laser/nc/cut_simulation.h"
#include "laser/options/about_dialog.h"
#include "laser/options/option_commands.h"
#include "laser/post/postprocessor_editor.h"
#include "laser/path/automatic_cutting_order.h"
#include "laser/path/bridges.h"
#include "laser/path/geometry_info_dialog.h"
#include "laser/path/path_commands.h"
#include "laser/path/path_deletion.h"
#include "laser/path/path_reorder.h"
#include "laser/path/path_reverse.h"
#include "laser/path/slice_by_pick.h"

namespace {

// The table, in registration order. Global names are "_vesk_" and the local name, except where a command kept
// an older global name.
constexpr std::array kCommands{
    LaserCommand{"IniKestrion", "_vesk_IniKestrion", kNoFrame, CommandIniKestrion},
    LaserCommand{"NCSlice", "_vesk_NCSlice", kPathFrame, CommandNCSlice},
    LaserCommand{"NCSliceFence", "_vesk_NCSliceFence", kPathFrame, CommandNCSliceFence},
    LaserCommand{"NCDelLast", "_vesk_NCDelLast", kPathFrame, [] { CommandDelLast(); }},
    LaserCommand{"NCDelAll", "_vesk_NCDelAll", kPathFrame, [] { CommandDelAll(); }},
    LaserCommand{"NCDelPick", "_vesk_NCDelPick", kPathFrame, [] { CommandDelPick(); }},
    LaserCommand{"NCDelCrossing", "_vesk_NCDelCrossing", kPathFrame, [] { CommandDelCrossing(); }},
    LaserCommand{"NCOrder", "_vesk_NCOrder", kPathFrame, [] { CommandNCOrder(); }},
    LaserCommand{"NCReplace", "_vesk_NCReplace", kPathFrame, [] { CommandNCReplace(); }},
    LaserCommand{"NCChangeCutDirection", "_vesk_NCChangeCutDirection", kPathFrame,
                 [] { CommandNCChangeCutDirection(); }},
    LaserCommand{"NCInsert", "_vesk_NCInsert", kPathFrame, [] { CommandNCInsert(); }},
    LaserCommand{"NCInsertFence", "_vesk_NCInsertFence", kPathFrame, [] { CommandNCInsertFence(); }},
    LaserCommand{"NCConfig", "_vesk_NCConfig", kNoFrame, CommandNCConfig},
    LaserCommand{"NCSliceAuto", "_vesk_NCSliceAuto", kRereadSettingsFrame, CommandNCSliceAuto},
    LaserCommand{"NCCreateContour", "_vesk_CreateContour", kContourCreationFrame, CommandNCCreateContour},
    LaserCommand{"NCCheckIntersect", "_vesk_CheckIntersect", kPrepareFrame,
                 [] { CheckLineIntersections(kIntersectionCommandMode, CreateContours); }},
    LaserCommand{"NCCheckUnclose", "_vesk_CheckUnclose", kPathFrame, [] { CheckOpenContours(CreateContours); }},
    LaserCommand{"NCCreate", "_vesk_NCCreate", kPathFrame, CommandNCCreate},
    LaserCommand{"NCPlay", "_vesk_NCPlay", kPathFrame, CommandNCPlay},
    LaserCommand{"NCInfo", "_vesk_NCInfo", kGeometryFrame, ShowGeometryInfo},
    LaserCommand{"NCRegen", "_vesk_NCRegen", kRegenFrame, CommandNCRegen},
    LaserCommand{"NCRapidHome", "_vesk_NCRapidHome", kGuardOnlyFrame, CommandNCRapidHome},
    LaserCommand{"NCPlay1", "_vesk_NCPlay1", kPathFrame, CommandNCPlay1},
    LaserCommand{"SetStartNesting", "_vesk_SetStartNesting", kEnvironmentFrame, CommandSetStartNesting},
    LaserCommand{"AboutKestrion", "_vesk_AboutKestrion", kNoFrame, CommandAboutKestrion},
    LaserCommand{"HelpKestrion", "_vesk_HelpKestrion", kNoFrame, CommandHelpKestrion},
    LaserCommand{"TutorialKestrion", "_vesk_TutorialKestrion", kNoFrame, CommandTutorialKestrion},
    LaserCommand{"setBaseLine", "_vesk_setBaseLine", kPrepareFrame,
                 [] { CommandAssignContourKind("setBaseLine"); }},
    LaserCommand{"setNoLeadInLine", "_vesk_setNoLeadInLine", kPrepareFrame,
                 [] { CommandAssignContourKind("setNoLeadInLine"); }},
    LaserCommand{"setCutLineTool2", "_vesk_setCutLineTool2", kPrepareFrame,
                 [] { CommandAssignContourKind("setCutLineTool2"); }},
    LaserCommand{"setNoCloseLine", "_vesk_setNoCloseLine", kPrepareFrame,
                 [] { CommandAssignContourKind("setNoCloseLine"); }},
    LaserCommand{"setEngraveLine", "_vesk_setEngraveLine", kPrepareFrame,
                 [] { CommandAssignContourKind("setEngraveLine"); }},
    LaserCommand{"setEngraveAndMarkLine", "_vesk_setEngraveAndMarkLine", kPrepareFrame,
                 [] { CommandAssignContourKind("setEngraveAndMarkLine"); }},
    LaserCommand{"setMarkLine", "_vesk_setMarkLine", kPrepareFrame,
                 [] { CommandAssignContourKind("setMarkLine"); }},
    LaserCommand{"setHeatTreatmentLine", "_vesk_setHeatTreatmentLine", kPrepareFrame,
                 [] { CommandAssignContourKind("setHeatTreatmentLine"); }},
    LaserCommand{"setCommonLine", "_vesk_setCommonLine", kPrepareFrame,
                 [] { CommandAssignContourKind("setCommonLine"); }},
    LaserCommand{"setInsideCutLine", "_vesk_setInsideCutLine", kPrepareFrame,
                 [] { CommandAssignContourKind("setInsideCutLine"); }},
    LaserCommand{"setJumperLine", "_vesk_setJumperLine", kPrepareFrame,
                 [] { CommandAssignContourKind("setJumperLine"); }},
    LaserCommand{"InsertPartLib", "_vesk_InsertPartLib", kNoFrame, CommandInsertPartLib},
    LaserCommand{"InsertItemLib", "_vesk_InsertItemLib_ACAD2016", kNoFrame, CommandInsertItemLib},
    LaserCommand{"DeleteAllCenterLine", "_vesk_DeleteAllCenterLine", kNoFrame, CommandDeleteAllCenterLine},
    LaserCommand{"InsertText", "_vesk_InsertText", kPrepareFrame, CommandInsertText},
    LaserCommand{"InsertText2", "_vesk_InsertText2", kPrepareFrame, CommandInsertText2},
    LaserCommand{"InsertJumperPoint", "_vesk_InsertJumperPoint", kEnvironmentFrame, CommandInsertJumperPoint},
    LaserCommand{"InsertMarkPoint", "_vesk_InsertMarkPoint", kEnvironmentFrame, CommandInsertMarkPoint},
    LaserCommand{"KestrionLangEN", "_vesk_KestrionLangEN", kEnvironmentFrame, CommandKestrionLangEN},
    LaserCommand{"KestrionLangRU", "_vesk_KestrionLangRU", kEnvironmentFrame, CommandKestrionLangRU},
    LaserCommand{"MoveToOrigin", "_vesk_MoveToOrigin", kEnvironmentFrame, CommandMoveToOrigin},
    LaserCommand{"MoveToOrigin00", "_vesk_MoveToOrigin00", kEnvironmentFrame, CommandMoveToOrigin00},
    LaserCommand{"MoveToPoint", "_vesk_MoveToPoint", kEnvironmentFrame, CommandMoveToPoint},
    LaserCommand{"RotateAndCreateContour", "_vesk_RotateAndCreateContour", kEnvironmentFrame,
                 CommandRotateAndCreateContour},
    LaserCommand{"Convert_Spline_to_Polyline", "_vesk_Convert_Spline_to_Polyline", kEnvironmentFrame,
                 CommandConvertSplineToPolyline},
    LaserCommand{"Convert_Ellipse_to_Polyline", "_vesk_Convert_Ellipse_to_Polyline", kEnvironmentFrame,
                 CommandConvertEllipseToPolyline},
    LaserCommand{"SmoothingPolyline", "_vesk_SmoothingPolyline", kEnvironmentFrame, CommandSmoothingPolyline},
    LaserCommand{"CreateBridge", "_vesk_CreateBridge", kPathFrame, [] { BreakContoursForBridge(); }},
    LaserCommand{"vesk_ExportContours", "_vesk_ExportContours", kEnvironmentFrame, CommandExportContours},
    LaserCommand{"vesk_ReExportContours", "_vesk_ReExportContours", kEnvironmentFrame,
                 CommandReExportContours},
    LaserCommand{"ExportCncInDxf", "_vesk_ExportCncInDxf", kNoFrame, CommandExportCncInDxf},
    LaserCommand{"CCSS", "_vesk_CreateStock", kNoFrame, CommandCreateStock},
    LaserCommand{"TestFor", "_vesk_TestFor", kNoFrame, CommandTestFor},
    LaserCommand{"TTF", "_vesk_TTF", kNoFrame, CommandTTF},
    LaserCommand{"TTT", "_vesk_TTT", kNoFrame, CommandTTT},
    LaserCommand{"TTE", "_vesk_TTE", kNoFrame, CommandTTE},
    LaserCommand{"TTPost", "_vesk_TTPost", kNoFrame, CommandEditPostprocessor},
};

}  // namespace

std::span<const LaserCommand> LaserCommandTable() { return kCommands; }

void RunLaserCommand(const LaserCommand& command) {
    if (command.work != nullptr) {
        RunInCommandFrame(command.frame, command.work);
        return;
    }
    RunInCommandFrame(command.frame, [&command] { PrintLocalized(kCommandNotBuiltText, command.localName); });
}

void RegisterLaserCommands() {
    for (const LaserCommand& command : kCommands) {
        host::ed::commandStack().add({kLaserCommandGroup, command.globalName, command.localName, kLaserCommandFlags,
                                      [&command] { RunLaserCommand(command); }});
    }
}

void RemoveLaserCommands() {
    for (const LaserCommand& command : kCommands) {
        host::ed::commandStack().remove(kLaserCommandGroup, command.globalName);
    }
}
