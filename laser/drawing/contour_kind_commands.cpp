// Contour-kind assignment: the kind of a contour follows from the layer its geometry lies on, so giving geometry a
// kind is moving it onto that layer with the layer's colour and line type.
#include "laser/drawing/contour_kind_commands.h"

#include <array>
#include <charconv>
#include <optional>
#include <vector>

#include "cadlib/host_variables.h"
#include "cadlib/layers.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/tables.h"
#include "host/ed/command.h"
#include "host/ed/prompts.h"
#include "host/ed/selection.h"
#include "host/sys/number_text.h"
#include "laser/drawing/drawing_messages.h"
#include "laser/drawing/entity_layers.h"
#include "laser/job/job_life_cycle.h"
#include "laser/settings/laser_settings.h"

namespace {

using host::db::ObjectId;
using host::db::OpenMode;
using host::db::ResBuf;

constexpr std::array kAssignments{
    ContourKindAssignment{"setBaseLine", "0", "7", "Continuous"},
    ContourKindAssignment{"setNoLeadInLine", "NoLeadIn", "256", "BYLAYER"},
    ContourKindAssignment{"setCutLineTool2", "CutT2Line", "256", "BYLAYER"},
    ContourKindAssignment{"setNoCloseLine", "NoCloseLine", "256", "BYLAYER"},
    ContourKindAssignment{"setEngraveLine", "EngraveLine", "256", "BYLAYER"},
    ContourKindAssignment{"setEngraveAndMarkLine", "EngraveAndMarkLine", "256", "BYLAYER"},
    ContourKindAssignment{"setMarkLine", "MarkLine", "256", "BYLAYER"},
    ContourKindAssignment{"setHeatTreatmentLine", "HeatTreatmentLine", "256", "Continuous"},
    ContourKindAssignment{"setCommonLine", "CommonLine", "256", "BYLAYER"},
    ContourKindAssignment{"setInsideCutLine", "InsideCutLine", "256", "BYLAYER"},
    ContourKindAssignment{"setJumperLine", "JumperLine", "7", "JumperLine"},
};

constexpr std::string_view kJumperLineCommand = "setJumperLine";
constexpr std::string_view kMarkPointLayer = "MarkPoint";
constexpr std::string_view kJumperPointLayer = "JumperLine";
// Object snaps of the point commands: end point (1), centre (4), intersection (32), nearest (512).
constexpr short kMarkPointSnaps = 1 | 4 | 32 | 512;
constexpr short kJumperPointSnaps = 1 | 512;

// A whole number written as decimal text; nullopt for anything else.
std::optional<int> WholeNumber(std::string_view text) {
    int value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    while (first < last && *first == ' ') ++first;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || first == last) return std::nullopt;
    return value;
}

// A point picked by the user placed on `layer` by the host's POINT, with `snaps` as the running object snaps.
// The frame around the command gives back the current layer and OSMODE.
void InsertPointOnLayer(std::string_view layer, short snaps, const std::string& prompt) {
    CLaserSettings& settings = LaserSettings();
    // The point display of the settings; they stay set after the command.
    if (const auto mode = WholeNumber(settings.PDMODE)) SetSysVarInt("PDMODE", static_cast<short>(*mode));
    if (const auto size = WholeNumber(settings.PDSIZE)) SetSysVarInt("PDSIZE", static_cast<short>(*size));
    // The layer is made with the other CAM layers by the job's preparation. In a drawing where no prepared
    // command has run yet it is missing, and the point would land on whatever layer is current: no marking
    // point at all, refused later as a point on an unused layer.
    host::db::Database* db = host::db::workingDatabase();
    if (db != nullptr && db->recordId(host::db::TableKind::Layer, layer).isNull()) PrepareDrawingJob(settings);
    if (SetCurrentLayer(layer) != host::db::RTNORM) {
        PrintLocalized(kPointLayerMissingText, std::string(layer).c_str());
        return;
    }
    SetSysVarInt("OSMODE", snaps);
    host::ge::Point3d point;
    if (host::ed::getPoint(nullptr, prompt, point) != host::db::RTNORM) return;
    host::ed::command({ResBuf(host::db::RTSTR, "_.POINT"),
                       ResBuf(host::db::RTSTR, host::sys::formatC("%f,%f", point.x, point.y))});
}

}  // namespace

std::span<const ContourKindAssignment> ContourKindAssignments() { return kAssignments; }

int AssignSelectionToLayer(CLaserSettings& /*settings*/, std::string layer, std::string colourText,
                           std::string linetype) {
    PrintLocalized(kSelectContoursText);
    host::db::EntityName set;
    if (host::ed::ssGet(nullptr, nullptr, nullptr, nullptr, set) != host::db::RTNORM) return 0;
    const std::optional<int> colour = WholeNumber(colourText);
    for (const ObjectId id : host::ed::selectionIds(set)) {
        std::vector<ObjectId> owned;
        {
            host::db::ObjectPtr<host::db::Entity> entity(id, OpenMode::Write);
            if (!entity) continue;
            SetLayerAndLinetype(*entity, layer, linetype);
            if (colour) entity->setColorIndex(*colour);
            owned = SubEntities(*entity);
        }
        SetSubEntitiesLayerAndLinetype(owned, layer, linetype);
    }
    host::ed::ssFree(set);
    return 0;
}

void CommandAssignContourKind(std::string_view command) {
    for (const ContourKindAssignment& row : kAssignments) {
        if (command != row.command) continue;
        AssignSelectionToLayer(LaserSettings(), row.layer, row.colour, row.linetype);
        if (command == kJumperLineCommand) PrintLocalized(kReservedCommandText);
        return;
    }
}

void CommandInsertMarkPoint() { InsertPointOnLayer(kMarkPointLayer, kMarkPointSnaps, Localized(kPickPointText)); }

void CommandInsertJumperPoint() {
    InsertPointOnLayer(kJumperPointLayer, kJumperPointSnaps, kPickPointEnglishOnly);
    PrintLocalized(kReservedCommandText);
}
