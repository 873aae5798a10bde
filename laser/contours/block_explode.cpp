// Explode of block references and polylines into the loose pieces contour creation works on.
#include "laser/contours/block_explode.h"

#include <string>
#include <unordered_set>
#include <vector>

#include "cadlib/entity_creation.h"
#include "cadlib/messages.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/resbuf.h"
#include "host/ed/command.h"
#include "host/ed/selection.h"
#include "laser/contours/clamps_trim_lines.h"
#include "laser/contours/segment_correction.h"
#include "laser/job/drawing_slot.h"
#include "laser/settings/laser_settings.h"

using host::db::EntityName;
using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::ResBuf;
using host::db::ResBufList;

namespace {

const TwoLanguageText kNotOpened = {
    "\n\rAn object on layer \"%s\" cannot be changed (%s) and is not exploded.",
    "\n\rОбъект на слое \"%s\" нельзя изменить (%s), он не расчленён.",
};
const TwoLanguageText kNotExploded = {
    "\n\rAn object on layer \"%s\" could not be exploded.",
    "\n\rОбъект на слое \"%s\" не удалось расчленить.",
};

// The layer of an entity that could not be opened, read without opening it.
std::string LayerOfUnopened(ObjectId id) {
    if (const auto* e = dynamic_cast<const host::db::Entity*>(id.database()->peek(id))) return e->layer();
    return {};
}

// Explodes one entity of the set. Answers true when it was exploded.
bool ExplodeOne(CuttingJob& job, ObjectId id) {
    const CLaserSettings& settings = LaserSettings();
    ObjectPtr<host::db::Entity> entity(id, OpenMode::Write);
    if (!entity) {
        PrintLocalized(kNotOpened, LayerOfUnopened(id).c_str(), host::db::statusText(entity.status()));
        return false;
    }
    if (auto* reference = dynamic_cast<host::db::BlockReference*>(entity.get())) {
        if (reference->blockName() == kClampBlockName) {
            const host::ge::Point3d position = reference->position();
            entity.close();
            RecordClamp(job, position);
            return false;
        }
    }
    if (auto* polyline3d = dynamic_cast<host::db::Polyline3d*>(entity.get())) {
        ObjectId replacement = id;
        Replace3dPolyline(*polyline3d, replacement);
        entity.close();
        id = replacement;
        if (entity.open(id, OpenMode::Write) != host::db::Status::Ok) {
            PrintLocalized(kNotOpened, LayerOfUnopened(id).c_str(), host::db::statusText(entity.status()));
            return false;
        }
    }
    if (auto* polyline = dynamic_cast<host::db::LwPolyline*>(entity.get())) {
        CorrectPolylineSegments(*polyline, static_cast<std::uint8_t>(settings.AutoDelSementStatus),
                                SettingLength(settings, settings.AutoDelSementMinSize),
                                SettingLength(settings, settings.AutoDelSementMinChord), kCorrectionSilent);
    }
    const std::string layer = entity->layer();
    entity.close();
    const int status = host::ed::command(
        {ResBuf(host::db::RTSTR, "_.explode"), ResBuf(host::db::RTENAME, host::db::idToName(id)),
         ResBuf(host::db::RTSTR, "")});
    if (status != host::db::RTNORM) {
        PrintLocalized(kNotExploded, layer.c_str());
        return false;
    }
    return true;
}

}  // namespace

int ExplodeBlocksAndPolylines(CuttingJob& job, const EntityName& set) {
    int exploded = 0;
    for (ObjectId id : host::ed::selectionIds(set)) {
        if (ExplodeOne(job, id)) ++exploded;
    }
    return exploded;
}

int ExplodeNestedBlocks(CuttingJob& job, const EntityName& handled) {
    int total = 0;
    // Clamps are left by ExplodeOne (an exact name; the filter would compare block names without regard to case).
    const ResBufList filter = {ResBuf(-4, "<and"), ResBuf(0, "INSERT"), ResBuf(-4, "and>")};
    // A reference is tried once: a clamp is recorded once, a failure reported once.
    const std::vector<ObjectId> first = host::ed::selectionIds(handled);
    std::unordered_set<ObjectId> tried(first.begin(), first.end());
    for (int round = 0; round < kMaxBlockNesting; ++round) {
        EntityName set;
        if (host::ed::ssGet("_X", nullptr, nullptr, &filter, set) != host::db::RTNORM) break;
        int exploded = 0;
        for (ObjectId id : host::ed::selectionIds(set)) {
            if (tried.insert(id).second && ExplodeOne(job, id)) ++exploded;
        }
        host::ed::ssFree(set);
        total += exploded;
        if (exploded == 0) break;
    }
    return total;
}
