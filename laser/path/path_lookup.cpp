// Path group lookup: the pick, the group of an entity, the ends of a group's path, the contour flag of a removed
// group, and the first group's rapid line.
#include "laser/path/path_lookup.h"

#include <algorithm>
#include <vector>

#include "cadlib/entity_access.h"
#include "cadlib/entity_creation.h"
#include "cadlib/groups.h"
#include "cadlib/host_variables.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/resbuf.h"
#include "host/ed/prompts.h"
#include "host/ed/selection.h"
#include "laser/job/drawing_slot.h"
#include "laser/path/path_group_commands.h"
#include "laser/path/path_groups.h"
#include "laser/settings/laser_settings.h"

using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::ge::Point3d;

namespace {

// ERRNO after a pick that hit nothing.
constexpr int kErrnoNothingHit = 7;
// Index of the rapid-line token in a contour group's description.
constexpr std::size_t kRapidTokenIndex = 9;
constexpr std::string_view kContourHandleMark = "HP= ";

// The first entity of the crossing selection at `point` that lies on the path layer; null when none.
ObjectId PathEntityAt(const Point3d& point) {
    host::db::EntityName set;
    if (host::ed::ssGet("_C", &point, &point, nullptr, set) != host::db::RTNORM) return {};
    ObjectId found;
    for (ObjectId id : host::ed::selectionIds(set)) {
        ObjectPtr<host::db::Entity> entity(id, OpenMode::Read);
        if (entity && entity->layer() == kPathLayer) {
            found = id;
            break;
        }
    }
    host::ed::ssFree(set);
    return found;
}

bool Touches(const Point3d& p, const Point3d& a, const Point3d& b) { return p.isEqualTo(a) || p.isEqualTo(b); }

}  // namespace

unsigned PathGroupOfEntity(ObjectId entity) {
    const CuttingJob* job = CurrentJob(LaserSettings());
    if (job == nullptr || entity.isNull()) return 0;
    for (int n = 1; n <= job->pathGroupCount; ++n) {
        if (PathGroupHasMember(FormatPathGroupName(static_cast<unsigned>(n)), entity)) return static_cast<unsigned>(n);
    }
    return 0;
}

unsigned PickPathGroup(std::string_view prompt, std::string& name) {
    for (;;) {
        host::db::EntityName picked;
        Point3d pickPoint;
        if (host::ed::entSel(prompt, picked, pickPoint) != host::db::RTNORM) {
            int errnoValue = 0;
            GetSysVarInt("ERRNO", errnoValue);
            if (errnoValue == kErrnoNothingHit) continue;
            return 0;
        }
        Point3d snapped;
        if (host::ed::osnap(pickPoint, "_NEA", snapped) != host::db::RTNORM) continue;
        const ObjectId entity = PathEntityAt(snapped);
        if (entity.isNull()) continue;
        const unsigned n = PathGroupOfEntity(entity);
        if (n != 0) name = FormatPathGroupName(n);
        return n;
    }
}

int GetMemberEndpoints(ObjectId id, Point3d& start, Point3d& end) {
    ObjectPtr<host::db::Entity> entity(id, OpenMode::Read);
    if (!entity) return 1;
    if (const auto* line = dynamic_cast<const host::db::Line*>(entity.get())) {
        start = line->start();
        end = line->end();
    } else if (const auto* arc = dynamic_cast<const host::db::Arc*>(entity.get())) {
        start = arc->startPoint();
        end = arc->endPoint();
    } else {
        return 1;
    }
    return 0;
}

int GetPathGroupEnds(unsigned n, Point3d& firstPoint, Point3d& lastPoint, bool& firstIsCut, bool& lastIsCut,
                     ObjectId& firstId, ObjectId& lastId) {
    std::vector<ObjectId> members;
    if (GetGroupEntityIds(FormatPathGroupName(n), members) == 0) return -1;
    firstId = members.front();
    lastId = members.back();
    PathRecord record;
    ReadPathRecord(n, record);
    firstIsCut = RoleOfPathMember(record, firstId.handle().value) == PathMemberRole::Cut;
    lastIsCut = RoleOfPathMember(record, lastId.handle().value) == PathMemberRole::Cut;
    Point3d firstStart, firstEnd, lastStart, lastEnd;
    GetMemberEndpoints(firstId, firstStart, firstEnd);
    GetMemberEndpoints(lastId, lastStart, lastEnd);
    if (members.size() == 1) {
        firstPoint = firstStart;
        lastPoint = lastEnd;
        return 0;
    }
    Point3d a, b;
    GetMemberEndpoints(members[1], a, b);
    firstPoint = Touches(firstEnd, a, b) ? firstStart : firstEnd;
    GetMemberEndpoints(members[members.size() - 2], a, b);
    lastPoint = Touches(lastStart, a, b) ? lastEnd : lastStart;
    return 0;
}

int GetPathGroupEndPoints(unsigned n, Point3d& firstPoint, Point3d& lastPoint, bool& lastIsCut) {
    bool firstIsCut = false;
    ObjectId firstId, lastId;
    return GetPathGroupEnds(n, firstPoint, lastPoint, firstIsCut, lastIsCut, firstId, lastId);
}

int ClearContourPathFlag(std::string_view name) {
    CuttingJob* job = CurrentJob(LaserSettings());
    std::string description;
    GetGroupDescription(name, description);
    if (description.find(kHomeGroupWord) != std::string::npos) {
        if (job != nullptr) job->homeGroupPresent = 0;
        return 0;
    }
    if (job == nullptr || job->contourCount <= 0 || job->contours.empty()) return 1;
    const std::size_t mark = description.find(kContourHandleMark);
    if (mark == std::string::npos) return 0;
    const std::size_t from = mark + kContourHandleMark.size();
    const std::size_t to = description.find(' ', from);
    const std::uint64_t handle = ParsePathHandle(std::string_view(description).substr(from, to - from));
    if (handle == 0) return 0;
    const std::size_t records = std::min(job->contours.size(), static_cast<std::size_t>(job->contourCount));
    for (std::size_t i = 0; i < records; ++i) {
        if (job->contours[i].handle == handle) {
            job->contours[i].processed = 0;
            break;
        }
    }
    return 0;
}

std::string ReplaceRapidToken(std::string_view description, std::string_view token) {
    std::vector<std::string_view> tokens;
    std::size_t start = 0;
    while (start <= description.size()) {
        const std::size_t blank = description.find(' ', start);
        const std::size_t end = blank == std::string_view::npos ? description.size() : blank;
        tokens.push_back(description.substr(start, end - start));
        if (blank == std::string_view::npos) break;
        start = blank + 1;
    }
    if (tokens.size() <= kRapidTokenIndex) return std::string(description);
    tokens[kRapidTokenIndex] = token;
    std::string text;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (i > 0) text += ' ';
        text += tokens[i];
    }
    return text;
}

void RedrawStartRapid() {
    CLaserSettings& settings = LaserSettings();
    CuttingJob* job = CurrentJob(settings);
    if (job == nullptr || job->pathGroupCount <= 0) return;
    PathRecord first;
    ReadPathRecord(1, first);
    if (first.shape == kShapeHomeGroup) return;
    const std::string name = FormatPathGroupName(1);
    if (job->startAtHome != 1 && first.rapidHandle != 0) {
        Point3d start, end;
        if (GetLineEndpointsByHandle(first.rapidHandle, start, end) == 0) {
            host::db::Database* db = host::db::workingDatabase();
            RemoveFromGroup(name, db->idFromHandle(host::db::Handle(first.rapidHandle)));
            EraseEntityByHandle(first.rapidHandle);
            job->pathStartPoint = end;
        }
        SetGroupDescription(name, ReplaceRapidToken(first.description, kAbsentLineToken));
    } else if (job->startAtHome == 1 && first.rapidHandle == 0) {
        if (job->homePoint.x == first.rapidStart.x && job->homePoint.y == first.rapidStart.y) return;
        SetSysVarString("CLAYER", kPathLayer);
        SetSysVarString("CECOLOR", settings.ColorMove);
        SetSysVarString("CELTYPE", settings.TypeLineMove);
        SetSysVarReal("CELTSCALE", settings.ScaleLineFeed);
        ObjectId rapid;
        AddLine(rapid, job->homePoint, first.rapidStart);
        if (rapid.isNull()) return;
        job->pathStartPoint = job->homePoint;
        PrependToGroup(name, rapid);
        SetGroupDescription(name, ReplaceRapidToken(first.description, FormatPathHandle(rapid.handle().value)));
    }
}
