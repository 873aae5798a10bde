// Export to the two-layer form (cut and plot) and back, the DXF export dialog, and the stock outline.
//
// Other programs know a cut layer and a mark layer only; the contour kinds of this system travel as layers, so
// the export keeps what is cut (layer "0") and what is engraved ("EngraveLine") and leaves the other kinds on
// their layers.
#include "laser/drawing/export_commands.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cadlib/host_commands.h"
#include "cadlib/host_variables.h"
#include "cadlib/layers.h"
#include "cadlib/messages.h"
#include "host/db/database.h"
#include "host/db/entity.h"
#include "host/ed/command.h"
#include "host/ed/prompts.h"
#include "host/ed/selection.h"
#include "host/sys/number_text.h"
#include "host/sys/text_case.h"
#include "host/ui/constants.h"
#include "host/ui/file_dialog.h"
#include "laser/contours/contour_creation.h"
#include "laser/drawing/drawing_messages.h"
#include "laser/drawing/entity_layers.h"
#include "laser/frame/command_frame.h"
#include "laser/path/path_deletion.h"
#include "laser/settings/laser_settings.h"

namespace {

using host::db::ResBuf;
using host::db::RTNORM;
using host::db::RTSTR;

constexpr const char* kCutLayer = "CUT";
constexpr const char* kPlotLayer = "PLOT";
constexpr const char* kBaseLayer = "0";
constexpr const char* kEngraveLayer = "EngraveLine";
constexpr const char* kContinuous = "Continuous";
constexpr int kCutColour = 1;
constexpr int kPlotColour = 3;
constexpr int kBaseColour = 7;

// One move of the export or its reverse: entities of layer `from` go to `to` with the colour and line type.
struct LayerMove {
    std::string from;
    std::string to;
    int colour;
    std::string linetype;
    bool keepStockLinetype;  // an entity drawn with the stock outline's line type keeps it
};

// NCCreateContour in a frame of its own: what the user had comes back when the outer command ends.
void CreateContoursCommand() { RunInCommandFrame(kContourCreationFrame, CommandNCCreateContour); }

// What both directions remove first: constraints, centre lines, the cutting path and the block references.
void RemovePathBlocksAndConstraints() {
    host::ed::command({ResBuf(RTSTR, "_.DELCONSTRAINT"), ResBuf(RTSTR, "_All"), ResBuf(RTSTR, "")});
    EraseCenterLines();
    CommandDelAll();
    ExplodeAllBlockReferences();
}

// A colour setting as a colour index; a text that is no index 1-255 gives `fallback`.
int ColourIndexOf(const std::string& text, int fallback) {
    const host::sys::Parsed<std::int64_t> parsed = host::sys::parseInteger(text, 1, 255);
    return parsed.ok() ? static_cast<int>(parsed.value) : fallback;
}

// Every entity of the drawing looked at once: those on a layer of `moves` are moved as its row says.
void MoveEntitiesBetweenLayers(const std::vector<LayerMove>& moves) {
    const std::string stockLinetype = LaserSettings().TypeLineStock;
    host::db::EntityName set;
    if (host::ed::ssGet("_X", nullptr, nullptr, nullptr, set) != RTNORM) {
        PrintText(host::sys::formatC(kSelectedEntitiesText, 0));
        return;
    }
    const std::vector<host::db::ObjectId> ids = host::ed::selectionIds(set);
    PrintText(host::sys::formatC(kSelectedEntitiesText, static_cast<int>(ids.size())));
    for (const host::db::ObjectId id : ids) {
        std::vector<host::db::ObjectId> owned;
        const LayerMove* applied = nullptr;
        std::string linetype;
        {
            host::db::ObjectPtr<host::db::Entity> entity(id, host::db::OpenMode::Write);
            if (!entity) continue;
            const std::string layer = entity->layer();
            for (const LayerMove& move : moves) {
                if (layer == move.from) applied = &move;
            }
            if (applied == nullptr) continue;
            linetype = applied->linetype;
            // Line type names are told apart without regard to case, as the drawing's line type table does.
            if (applied->keepStockLinetype && !stockLinetype.empty() &&
                host::sys::equalsNoCase(entity->linetype(), stockLinetype)) {
                linetype = stockLinetype;
            }
            SetLayerAndLinetype(*entity, applied->to, linetype);
            entity->setColorIndex(applied->colour);
            owned = SubEntities(*entity);
        }
        SetSubEntitiesLayerAndLinetype(owned, applied->to, linetype);
    }
    host::ed::ssFree(set);
}

}  // namespace

void CommandExportContours() {
    CreateContoursCommand();
    RemovePathBlocksAndConstraints();
    CreateLayer(kCutLayer, kCutColour, kContinuous, false);
    CreateLayer(kPlotLayer, kPlotColour, kContinuous, false);
    SetCurrentLayer(kBaseLayer);
    MoveEntitiesBetweenLayers({
        {kBaseLayer, kCutLayer, kCutColour, kContinuous, true},
        {kEngraveLayer, kPlotLayer, kPlotColour, kContinuous, false},
    });
}

void CommandReExportContours() {
    const CLaserSettings& settings = LaserSettings();
    RemovePathBlocksAndConstraints();
    const int engraveColour = ColourIndexOf(settings.ColorEngraveLine, kBaseColour);
    CreateLayer(kBaseLayer, kBaseColour, kContinuous, false);
    CreateLayer(kEngraveLayer, engraveColour, settings.TypeEngraveLine, false);
    SetCurrentLayer(kBaseLayer);
    MoveEntitiesBetweenLayers({
        {kCutLayer, kBaseLayer, kBaseColour, kContinuous, true},
        {kPlotLayer, kEngraveLayer, engraveColour, settings.TypeEngraveLine, false},
    });
    CreateContoursCommand();
}

void CommandExportCncInDxf() {
    host::ui::FileDialogOptions options;
    options.kind = host::ui::FileDialogKind::Save;
    options.defaultExtension = "*.dxf";
    options.filter = kExportDxfFilter;
    options.flags = host::ui::OFN_OVERWRITEPROMPT;
    const std::optional<std::string> chosen = host::ui::chooseFile(std::move(options));
    if (chosen) PrintLocalized(kExportDxfNotWrittenText, chosen->c_str());
}

void CommandCreateStock() {
    PrintText(kCreateStockText);
    host::ge::Point3d point;
    if (host::ed::getPoint(nullptr, kPickPointInsideText, point) != RTNORM) return;
    SetSysVarInt("CMDECHO", 1);
    // The point goes at full precision: with five significant digits a pick at x = 12345.4 reached the host as
    // 12345 and fell outside a narrow outline, which then was "not found".
    const std::string at = host::sys::formatShortest(point.x) + "," + host::sys::formatShortest(point.y);
    host::ed::command({ResBuf(RTSTR, "_.-BOUNDARY"), ResBuf(RTSTR, at), ResBuf(RTSTR, "")});
}
