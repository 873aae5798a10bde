// Entity accessors by name, handle and object id over the host database and its entity-data interface.
#include "cadlib/entity_access.h"

#include <string>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/entity_data.h"
#include "host/ed/display.h"

namespace {

using host::db::EntityName;
using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::ge::Point3d;

constexpr int kFound = 0;
constexpr int kNotFound = -1;
constexpr int kHandleNotFound = 1;
constexpr int kPrimaryPointGroup = 10;

void toArray(const Point3d& p, double out[3]) {
    out[0] = p.x;
    out[1] = p.y;
    out[2] = p.z;
}


void highlightByName(const EntityName& name, bool on, int& answer) {
    const ObjectId id = host::db::nameToId(name);
    if (id.isNull()) {
        answer = kNotFound;
        return;
    }
    host::ed::highlight(id, on);
    answer = kFound;
}

}  // namespace

int GetCircleData(const EntityName& name, Point3d& centre, double& radius) {
    ObjectPtr<host::db::Circle> circle(host::db::nameToId(name), OpenMode::Read);
    if (!circle) return kNotFound;
    centre = circle->center();
    radius = circle->radius();
    return kFound;
}

int GetCircleDataAds(const EntityName& name, double centre[3], double& radius) {
    Point3d c;
    double r = 0.0;
    if (GetCircleData(name, c, r) != kFound) return kNotFound;
    toArray(c, centre);
    radius = r;
    return kFound;
}

int GetArcData(const EntityName& name, Point3d& centre, double& radius, double& startAngle, double& endAngle) {
    ObjectPtr<host::db::Arc> arc(host::db::nameToId(name), OpenMode::Read);
    if (!arc) return kNotFound;
    centre = arc->center();
    radius = arc->radius();
    startAngle = arc->startAngle();
    endAngle = arc->endAngle();
    return kFound;
}

int GetArcDataAds(const EntityName& name, double centre[3], double& radius, double& startAngle, double& endAngle) {
    Point3d c;
    double r = 0.0, s = 0.0, e = 0.0;
    if (GetArcData(name, c, r, s, e) != kFound) return kNotFound;
    toArray(c, centre);
    radius = r;
    startAngle = s;
    endAngle = e;
    return kFound;
}

int GetLineData(const EntityName& name, Point3d& start, Point3d& end) {
    ObjectPtr<host::db::Line> line(host::db::nameToId(name), OpenMode::Read);
    if (!line) return kNotFound;
    start = line->start();
    end = line->end();
    return kFound;
}

int GetLineDataAds(const EntityName& name, double start[3], double end[3]) {
    Point3d s, e;
    if (GetLineData(name, s, e) != kFound) return kNotFound;
    toArray(s, start);
    toArray(e, end);
    return kFound;
}

int GetPointDataAds(const EntityName& name, double position[3]) {
    ObjectPtr<host::db::PointEntity> point(host::db::nameToId(name), OpenMode::Read);
    if (!point) return kNotFound;
    toArray(point->position(), position);
    return kFound;
}

ObjectId IdOfHandle(std::uint64_t handle) {
    const host::db::Database* db = host::db::workingDatabase();
    return db ? db->idFromHandle(host::db::Handle(handle)) : ObjectId();
}

int GetLineEndpointsByHandle(std::uint64_t handle, Point3d& start, Point3d& end) {
    ObjectPtr<host::db::Line> line(IdOfHandle(handle), OpenMode::Read);
    if (!line) return kHandleNotFound;
    start = line->start();
    end = line->end();
    return kFound;
}

int SetLineStartPointByHandle(std::uint64_t handle, const Point3d& point) {
    ObjectPtr<host::db::Line> line(IdOfHandle(handle), OpenMode::Write);
    if (line) line->setStart(point);
    return kFound;
}

int EraseEntityByHandle(std::uint64_t handle) {
    ObjectPtr<host::db::Entity> entity(IdOfHandle(handle), OpenMode::Write);
    if (entity) entity->erase();
    return kFound;
}

int HighlightEntityByHandle(std::uint64_t handle) {
    const ObjectId id = IdOfHandle(handle);
    if (!id.isNull()) host::ed::highlight(id, true);
    return kFound;
}

int UnhighlightEntityByHandle(std::uint64_t handle) {
    const ObjectId id = IdOfHandle(handle);
    if (!id.isNull()) host::ed::highlight(id, false);
    return kFound;
}

int EraseEntity(const EntityName& name) {
    const ObjectId id = host::db::nameToId(name);
    if (id.isNull()) return kNotFound;
    ObjectPtr<host::db::Entity> entity(id, OpenMode::Write);
    if (entity) entity->erase();
    return kFound;
}

int HighlightEntity(const EntityName& name) {
    int answer = kFound;
    highlightByName(name, true, answer);
    return answer;
}

int UnhighlightEntity(const EntityName& name) {
    int answer = kFound;
    highlightByName(name, false, answer);
    return answer;
}

int SetEntityPrimaryPoint(ObjectId id, const Point3d& point) {
    host::db::ResBufList data = host::db::entGet(host::db::idToName(id));
    for (host::db::ResBuf& rb : data) {
        if (rb.code == kPrimaryPointGroup) {
            rb.value = point;
            host::db::entMod(data);
            break;
        }
    }
    return kFound;
}

void EraseAllEntities() {
    EntityName last;
    while (host::db::entLast(last) == host::db::RTNORM) {
        if (host::db::entDel(last) != host::db::RTNORM) return;
    }
}

int EraseEntitiesOnLayersContaining(std::string_view text) {
    int erased = 0;
    EntityName name;
    int status = host::db::entNext(EntityName(), name);
    while (status == host::db::RTNORM) {
        const ObjectId id = host::db::nameToId(name);
        ObjectPtr<host::db::Entity> entity(id, OpenMode::Write);
        if (entity && !entity->isErased() && entity->layer().find(text) != std::string::npos) {
            entity->erase();
            ++erased;
        }
        entity.close();
        EntityName next;
        status = host::db::entNext(name, next);
        name = next;
    }
    return erased;
}
