// Building the contour table of a drawing's cutting job from its polylines, circles and points.
#include "laser/contours/contour_table.h"

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "cadlib/layers.h"
#include "cadlib/messages.h"
#include "cadlib/polyline_contour.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/entity_data.h"
#include "host/sys/text_case.h"
#include "laser/contours/contour_records.h"
#include "laser/contours/segment_correction.h"
#include "laser/job/drawing_slot.h"
#include "laser/settings/laser_settings.h"

using host::db::EntityName;
using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;

namespace {

const TwoLanguageText kContourNotOpened = {
    "\n\rA contour on layer \"%s\" cannot be changed (%s) and is left out of the contour table.",
    "\n\rКонтур на слое \"%s\" нельзя изменить (%s), он не войдёт в таблицу контуров.",
};

// Fills `record` from one selected entity. Answers false when the entity cannot be used (it has been reported).
bool ReadContour(ObjectId id, int typeCode, ContourRecord& record) {
    const CLaserSettings& settings = LaserSettings();
    record = ContourRecord{};
    record.handle = id.handle().value;
    const OpenMode mode = typeCode == kEntityPolyline ? OpenMode::Write : OpenMode::Read;
    ObjectPtr<host::db::Entity> entity(id, mode);
    if (!entity) {
        std::string layer;
        if (const auto* e = dynamic_cast<const host::db::Entity*>(id.database()->peek(id))) layer = e->layer();
        PrintLocalized(kContourNotOpened, layer.c_str(), host::db::statusText(entity.status()));
        return false;
    }
    const std::string layer = entity->layer();
    record.role = host::sys::equalsNoCase(entity->linetype(), settings.TypeLineStock) ? kRoleStock : kRolePart;

    if (auto* point = dynamic_cast<host::db::PointEntity*>(entity.get())) {
        record.shape = kShapePoint;
        record.minX = record.maxX = point->position().x;
        record.minY = record.maxY = point->position().y;
        record.kind = ContourTableKind(layer, true);
        return true;
    }
    if (auto* circle = dynamic_cast<host::db::Circle*>(entity.get())) {
        const double r = circle->radius();
        const host::ge::Point3d c = circle->center();
        record.shape = kShapeCircle;
        record.closure = kClosureClosed;
        record.area = std::numbers::pi * r * r;
        record.minX = c.x - r;
        record.minY = c.y - r;
        record.maxX = c.x + r;
        record.maxY = c.y + r;
        record.kind = ContourTableKind(layer, false);
        return true;
    }
    if (auto* polyline = dynamic_cast<host::db::LwPolyline*>(entity.get())) {
        record.shape = kShapePolyline;
        CorrectPolylineSegments(*polyline, static_cast<std::uint8_t>(settings.AutoDelSementStatus),
                                SettingLength(settings, settings.AutoDelSementMinSize),
                                SettingLength(settings, settings.AutoDelSementMinChord),
                                kCorrectionPrintBigRadius);
        record.area = polyline->area();
        record.closure = polyline->isClosed() ? kClosureClosed : kClosureOpen;
        GetPolylineExtents(*polyline, record.minX, record.minY, record.maxX, record.maxY);
        record.kind = ContourTableKind(layer, false);
        return true;
    }
    return false;  // an old-style polyline: the explode stages leave none
}

}  // namespace

int BuildContourTable(CuttingJob& job) {
    LayerVisibilityCache visibility;
    std::vector<ContourRecord> records;
    int stockIndex = -1;

    EntityName name;
    bool more = host::db::entNext(EntityName{}, name) == host::db::RTNORM;
    while (more) {
        std::string layer;
        const int code = GetEntityTypeAndLayer(host::db::entGet(name), layer);
        if ((code == kEntityPolyline || code == kEntityCircle || code == kEntityPoint) &&
            visibility.IsVisible(layer) == 1) {
            ContourRecord record;
            if (ReadContour(host::db::nameToId(name), code, record)) {
                if (record.role == kRoleStock && record.shape != kShapePoint) {
                    stockIndex = static_cast<int>(records.size());
                }
                records.push_back(record);
            }
        }
        EntityName next;
        more = host::db::entNext(name, next) == host::db::RTNORM;
        name = next;
    }

    const int n = static_cast<int>(records.size());
    if (stockIndex >= 0) {
        const ContourRecord stock = records[static_cast<std::size_t>(stockIndex)];
        records[static_cast<std::size_t>(stockIndex)] = records[static_cast<std::size_t>(n - 1)];
        records[static_cast<std::size_t>(n - 1)] = stock;
        records.push_back(stock);
    } else {
        records.push_back(EmptyStockRecord());
    }
    job.contours = std::move(records);
    job.contourCount = n;
    return n;
}
