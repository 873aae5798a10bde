// The table of drawn pieces: collecting the lines, arcs, circles and points of the drawing, reading them into
// records, and the stage that explodes loose polylines before and numbers the nodes after.
#include "laser/contours/contour_entity_table.h"

#include <cmath>
#include <memory>
#include <numbers>
#include <string>

#include "cadlib/angles.h"
#include "cadlib/entity_creation.h"
#include "cadlib/layers.h"
#include "cadlib/messages.h"
#include "host/db/database.h"
#include "host/db/entity_data.h"
#include "host/ed/command.h"
#include "host/ed/commands/entity_properties.h"
#include "host/ed/selection.h"
#include "laser/contours/line_intersection_check.h"
#include "laser/contours/node_numbering.h"
#include "laser/contours/segment_correction.h"
#include "laser/settings/laser_settings.h"
#include "laser/job/drawing_slot.h"

using host::db::EntityName;
using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::ResBuf;
using host::db::ResBufList;
using host::db::RTNORM;
using host::db::RTSTR;
using host::ge::Point3d;

namespace {

const TwoLanguageText kEntityNotOpened = {
    "\n\rAn object on layer \"%s\" cannot be changed (%s) and is left out of the contours.",
    "\n\rОбъект на слое \"%s\" нельзя изменить (%s), он не войдёт в контуры.",
};
const TwoLanguageText kPolylineNotExploded = {
    "\n\rA polyline on layer \"%s\" could not be exploded and is left out of the contours.",
    "\n\rПолилинию на слое \"%s\" не удалось расчленить, она не войдёт в контуры.",
};

void FreeContourSelection(ContourEntityStage& stage) {
    if (!stage.ContourSelection.isNil()) host::ed::ssFree(stage.ContourSelection);
    stage.ContourSelection = EntityName{};
}

// The arc's length from its angles: the sweep counter-clockwise from start to end, times the radius.
double ArcLength(double startAngle, double endAngle, double radius) {
    double sweep = endAngle - startAngle;
    if (sweep < 0.0) sweep += cadlib::kTwoPi;
    return sweep * radius;
}

// Reads one entity (open for write) into `record`. Answers false when the piece is too short to keep: it has then
// been erased from the drawing.
// An arc of more than half a turn whose ends lie within the joining distance of each other: joining closes it,
// and its ends would meet at one point with nothing left of the arc between them.
bool ClosesWithinJoinDistance(const host::db::Arc& arc, double joinDist) {
    double sweep = arc.endAngle() - arc.startAngle();
    if (sweep <= 0.0) sweep += 2.0 * std::numbers::pi;
    return sweep > std::numbers::pi && arc.startPoint().distanceTo(arc.endPoint()) < joinDist;
}

// Puts a circle of the arc's centre, radius and drawing properties in its place and reads it as the piece.
// Before, a hole drawn as an arc whose ends lay closer than the joining distance became a polyline whose arc
// began and ended at one point: the hole got a lead-in and no cut.
bool ReplaceByCircle(host::db::Arc& arc, ContourEntity& record) {
    auto circle = std::make_unique<host::db::Circle>(arc.center(), arc.radius());
    circle->setNormal(arc.normal());
    circle->setThickness(arc.thickness());
    host::ed::copyDrawingProperties(*circle, arc);
    const ResBufList xdata = arc.xData();
    ObjectId id;
    AppendToModelSpace(id, std::move(circle), arc.database());
    if (id.isNull()) return true;  // the arc stays as it is drawn
    {
        ObjectPtr<host::db::Entity> added(id, OpenMode::Write);
        if (added && !xdata.empty()) added->setXData(xdata);
    }
    arc.erase();
    record.type = kEntityCircle;
    record.entityName = host::db::idToName(id);
    record.startAngle = record.endAngle = 0.0;
    record.startPoint = Point3d(record.center.x + record.radius, record.center.y, record.center.z);
    record.endPoint = record.startPoint;
    return true;
}

bool ReadPiece(host::db::Entity& entity, ContourEntity& record, double joinDist) {
    if (auto* line = dynamic_cast<host::db::Line*>(&entity)) {
        record.type = kEntityLine;
        record.startPoint = line->start();
        record.endPoint = line->end();
        record.radius = 0.0;
        const double dx = record.endPoint.x - record.startPoint.x, dy = record.endPoint.y - record.startPoint.y;
        if (std::sqrt(dx * dx + dy * dy) < joinDist) {
            line->erase();
            return false;
        }
        return true;
    }
    if (auto* arc = dynamic_cast<host::db::Arc*>(&entity)) {
        record.type = kEntityArc;
        record.center = arc->center();
        record.radius = arc->radius();
        record.startAngle = arc->startAngle();
        record.endAngle = arc->endAngle();
        record.startPoint = arc->startPoint();
        record.endPoint = arc->endPoint();
        if (ArcLength(record.startAngle, record.endAngle, record.radius) < joinDist) {
            arc->erase();
            return false;
        }
        if (ClosesWithinJoinDistance(*arc, joinDist)) return ReplaceByCircle(*arc, record);
        return true;
    }
    if (auto* circle = dynamic_cast<host::db::Circle*>(&entity)) {
        record.type = kEntityCircle;
        record.center = circle->center();
        record.radius = circle->radius();
        record.startPoint = Point3d(record.center.x + record.radius, record.center.y, record.center.z);
        record.endPoint = record.startPoint;
        return true;
    }
    if (auto* point = dynamic_cast<host::db::PointEntity*>(&entity)) {
        record.type = kEntityPoint;
        record.startPoint = point->position();
        record.endPoint = record.startPoint;
        return true;
    }
    return false;  // the selection holds only the four kinds; anything else is not a piece
}

// Corrects and explodes one polyline of the selection; 3D polylines are first replaced unless `keep3d`.
void ExplodeOnePolyline(ObjectId id, bool keep3d = false) {
    const CLaserSettings& settings = LaserSettings();
    ObjectPtr<host::db::Entity> entity(id, OpenMode::Write);
    if (!entity) {
        std::string layer;
        if (const auto* e = dynamic_cast<const host::db::Entity*>(id.database()->peek(id))) layer = e->layer();
        PrintLocalized(kEntityNotOpened, layer.c_str(), host::db::statusText(entity.status()));
        return;
    }
    auto* polyline3d = keep3d ? nullptr : dynamic_cast<host::db::Polyline3d*>(entity.get());
    if (polyline3d) {
        ObjectId replacement = id;
        Replace3dPolyline(*polyline3d, replacement);
        entity.close();
        id = replacement;
        entity.open(id, OpenMode::Write);
        if (!entity) return;
    }
    if (auto* lw = dynamic_cast<host::db::LwPolyline*>(entity.get())) {
        CorrectPolylineSegments(*lw, static_cast<std::uint8_t>(settings.AutoDelSementStatus),
                                SettingLength(settings, settings.AutoDelSementMinSize),
                                SettingLength(settings, settings.AutoDelSementMinChord), kCorrectionSilent);
    }
    const std::string layer = entity->layer();
    entity.close();
    const int status = host::ed::command({ResBuf(RTSTR, "_.explode"), ResBuf(host::db::RTENAME,
                                          host::db::idToName(id)), ResBuf(RTSTR, "")});
    if (status != RTNORM) PrintLocalized(kPolylineNotExploded, layer.c_str());
}

}  // namespace

int CollectContourEntities(ContourEntityStage& stage) {
    LayerVisibilityCache visibility;
    FreeContourSelection(stage);
    host::ed::ssAdd(nullptr, nullptr, stage.ContourSelection);

    int count = 0;
    EntityName name;
    bool more = host::db::entNext(EntityName{}, name) == RTNORM;
    while (more) {
        const ResBufList data = host::db::entGet(name);
        std::string layer;
        const int code = GetEntityTypeAndLayer(data, layer);
        EntityName next;
        more = host::db::entNext(name, next) == RTNORM;
        switch (code) {
            case kEntityOnJobLayer:
                host::db::entDel(name);
                break;
            case kEntityLine:
            case kEntityArc:
            case kEntityCircle:
            case kEntityPoint:
                if (visibility.IsVisible(layer) == 1) {
                    host::ed::ssAdd(&name, &stage.ContourSelection, stage.ContourSelection);
                    ++count;
                }
                break;
            default:
                break;
        }
        name = next;
    }
    return count;
}

int BuildContourEntities(ContourEntityStage& stage) {
    stage.ContourEntityCount = 0;
    const int collected = CollectContourEntities(stage);
    stage.ContourEntityTable.assign(static_cast<std::size_t>(collected) + 1, ContourEntity{});
    const double joinDist = LaserSettings().AutoConnectDist;

    for (ObjectId id : host::ed::selectionIds(stage.ContourSelection)) {
        ObjectPtr<host::db::Entity> entity(id, OpenMode::Write);
        if (!entity) {
            std::string layer;
            if (const auto* e = dynamic_cast<const host::db::Entity*>(id.database()->peek(id))) layer = e->layer();
            PrintLocalized(kEntityNotOpened, layer.c_str(), host::db::statusText(entity.status()));
            continue;
        }
        ContourEntity& record = stage.ContourEntityTable[static_cast<std::size_t>(stage.ContourEntityCount)];
        record = ContourEntity{};
        record.linetype = entity->linetype();
        record.layer = entity->layer();
        record.entityName = host::db::idToName(id);
        if (!ReadPiece(*entity, record, joinDist)) {
            record = ContourEntity{};
            continue;
        }
        record.kind = KindFromLayerName(record.layer, record.type);
        record.startNode = record.endNode = 0;
        ++stage.ContourEntityCount;
    }
    // Pieces left out leave unused records at the end: the table keeps exactly one spare.
    stage.ContourEntityTable.resize(static_cast<std::size_t>(stage.ContourEntityCount) + 1);
    FreeContourSelection(stage);
    return 0;
}

namespace {

// Explodes every polyline that is not on the job layer.
void ExplodePolylines(bool keep3d) {
    const ResBufList filter = {
        ResBuf(-4, "<and"), ResBuf(-4, "<or"),   ResBuf(0, "LWPOLYLINE"), ResBuf(0, "POLYLINE"), ResBuf(-4, "or>"),
        ResBuf(-4, "<not"), ResBuf(8, "NC_Laser"), ResBuf(-4, "not>"),    ResBuf(-4, "and>"),
    };
    EntityName set;
    if (host::ed::ssGet("_X", nullptr, nullptr, &filter, set) == RTNORM) {
        for (ObjectId id : host::ed::selectionIds(set)) ExplodeOnePolyline(id, keep3d);
        host::ed::ssFree(set);
    }
}

}  // namespace

int ExplodeLoosePolylines(ContourEntityStage& stage) {
    const CLaserSettings& settings = LaserSettings();
    const double exactTolerance = ExactNodeTolerance(settings.AutoConnectDist, settings.AutoConnect);
    ExplodePolylines(false);
    BuildContourEntities(stage);
    stage.NodeList.clear();
    stage.NodeList.reserve(static_cast<std::size_t>(stage.ContourEntityCount) + kNodeListSpare);
    NumberContourNodes(stage, settings.AutoConnectDist, exactTolerance);
    return 0;
}

int ExplodeLoosePolylinesBasic(ContourEntityStage& stage) {
    ExplodePolylines(true);
    BuildContourEntities(stage);
    stage.NodeList.clear();
    stage.NodeList.reserve(static_cast<std::size_t>(stage.ContourEntityCount) + kNodeListSpare);
    IntersectionPairs().pairs.clear();
    NumberContourNodesBasic(stage, LaserSettings().AutoConnectDist);
    return 0;
}
