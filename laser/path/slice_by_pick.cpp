// Cutting by pick and by fence: the picks and fence segments of the user turned into contour paths at the end of
// the path.
#include "laser/path/slice_by_pick.h"

#include <cmath>
#include <optional>
#include <vector>

#include "cadlib/host_variables.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/resbuf.h"
#include "host/ed/prompts.h"
#include "host/ed/selection.h"
#include "host/ge/angle.h"
#include "laser/frame/status_line.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"
#include "laser/path/contour_path.h"
#include "laser/path/path_deletion.h"
#include "laser/path/path_editing_messages.h"
#include "laser/path/path_groups.h"
#include "laser/path/path_totals.h"
#include "laser/settings/laser_settings.h"

using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::ge::Point3d;

namespace {

constexpr int kErrnoNothingHit = 7;

// The index of the contour record of `handle` among the job's contours (the stock record left out); -1 when none.
int ContourIndexOfHandle(const CuttingJob& job, std::uint64_t handle) {
    const int records = std::min(static_cast<int>(job.contours.size()), job.contourCount);
    for (int i = 0; i < records; ++i) {
        if (job.contours[static_cast<std::size_t>(i)].handle == handle) return i;
    }
    return -1;
}

// The centre of `id` when it is a circle.
std::optional<Point3d> CircleCentre(ObjectId id, double& radius) {
    ObjectPtr<host::db::Circle> circle(id, OpenMode::Read);
    if (!circle) return std::nullopt;
    radius = circle->radius();
    return circle->center();
}

// Where the cut of a picked contour starts: on a circle the point in the direction of the pick, on anything else
// the point the object snap `modes` finds at the pick, or the pick itself.
Point3d TargetPoint(ObjectId id, const ContourRecord& record, const Point3d& at, std::string_view modes) {
    if (record.shape == kShapeCircle) {
        double radius = 0.0;
        if (const std::optional<Point3d> centre = CircleCentre(id, radius)) {
            return host::ge::polarPoint(*centre, host::ge::angleFromTo(*centre, at), radius);
        }
    }
    Point3d snapped;
    if (host::ed::osnap(at, modes, snapped) == host::db::RTNORM) return snapped;
    return at;
}

// Writes the path of contour `index` from `target`; true when a new group was written.
bool WritePath(CuttingJob& job, const Point3d& target, int index) {
    const int before = job.pathGroupCount;
    WriteContourPath(target, index);
    return job.pathGroupCount > before;
}

// The new last group measured into the totals, the slot's change counted and the job stored.
void BookNewGroup(CuttingJob& job) {
    CLaserSettings& settings = LaserSettings();
    PathGroupMeasure measure;
    MeasurePathGroup(static_cast<unsigned>(job.pathGroupCount), measure);
    AddToPathTotals(job, measure);
    UpdateStatusLine();
    if (DrawingSlot* slot = CurrentSlot(settings)) slot->changeCounter += 1;
    WriteJobData(settings);
}

void EndPick() {
    UpdateStatusLine();
    WriteJobData(LaserSettings());
}

// True when the contour may be cut by pick; otherwise says why (where there is something to say).
bool AcceptPickedContour(const ContourRecord& record) {
    if (record.processed != 0) {
        PrintLocalized(kContourProcessedText);
        return false;
    }
    if (record.kind == ContourKind::MarkPoint && LaserSettings().UseMarkPoint != 1) return false;
    if (record.role == kRoleStock || (record.kind == ContourKind::KindJumperPoint && record.role == kRolePart)) {
        PrintLocalized(kSelectOtherContourText);
        return false;
    }
    return true;
}

}  // namespace

int SlicePick(bool onlyOne) {
    CLaserSettings& settings = LaserSettings();
    PrepareDrawingJob(settings);
    for (;;) {
        CuttingJob* job = CurrentJob(settings);
        if (job == nullptr) return 0;
        host::db::EntityName picked;
        Point3d at;
        if (host::ed::entSel(Localized(kSelectContourPrompt), picked, at) != host::db::RTNORM) {
            int errnoValue = 0;
            GetSysVarInt("ERRNO", errnoValue);
            if (errnoValue == kErrnoNothingHit) continue;
            EndPick();
            return 0;
        }
        const ObjectId id = host::db::nameToId(picked);
        const int index = id.isNull() ? -1 : ContourIndexOfHandle(*job, id.handle().value);
        if (index < 0) {
            PrintLocalized(kContourNotInListText);
            continue;
        }
        const ContourRecord& record = job->contours[static_cast<std::size_t>(index)];
        if (!AcceptPickedContour(record)) continue;
        if (!WritePath(*job, TargetPoint(id, record, at, "_END,_NEA"), index)) continue;
        if (onlyOne) {
            EndPick();
            return 0;
        }
        BookNewGroup(*job);
    }
}

bool SliceCrossedContour(ObjectId entity, const Point3d& crossing) {
    CuttingJob* job = CurrentJob(LaserSettings());
    if (job == nullptr || entity.isNull()) return false;
    const int index = ContourIndexOfHandle(*job, entity.handle().value);
    if (index < 0) return false;
    const ContourRecord& record = job->contours[static_cast<std::size_t>(index)];
    if (record.processed != 0 || record.role == kRoleStock) return false;
    if (!WritePath(*job, TargetPoint(entity, record, crossing, "_END"), index)) return false;
    BookNewGroup(*job);
    return true;
}

int SliceFence() {
    CLaserSettings& settings = LaserSettings();
    PrepareDrawingJob(settings);
    Point3d p1;
    if (host::ed::getPoint(nullptr, Localized(kFenceStartPrompt), p1) != host::db::RTNORM) return 0;
    for (;;) {
        Point3d p2;
        if (host::ed::getPoint(&p1, Localized(kFenceNextPrompt), p2) != host::db::RTNORM) return 0;
        host::db::EntityName set;
        if (host::ed::ssGet("_F", &p1, &p2, nullptr, set) != host::db::RTNORM) {
            int errnoValue = 0;
            GetSysVarInt("ERRNO", errnoValue);
            p1 = p2;
            if (errnoValue == 0 || errnoValue == kErrnoNothingHit) continue;
            return 0;
        }
        const std::vector<ObjectId> crossed = host::ed::selectionIds(set);
        host::ed::ssFree(set);
        // The crossings first, the paths afterwards: a path drawn for one contour is not crossed by this segment.
        const host::db::Line segment(p1, p2);
        std::vector<std::pair<ObjectId, Point3d>> cuts;
        for (ObjectId id : crossed) {
            ObjectPtr<host::db::Entity> entity(id, OpenMode::Read);
            if (!entity || entity->layer() == kPathLayer) continue;
            const std::vector<Point3d> points = entity->intersectWith(segment);
            if (points.empty()) continue;
            Point3d nearest = points.front();
            for (const Point3d& p : points) {
                if (p1.distanceTo(p) < p1.distanceTo(nearest)) nearest = p;
            }
            cuts.emplace_back(id, nearest);
        }
        for (const auto& [id, point] : cuts) SliceCrossedContour(id, point);
        p1 = p2;
    }
}

namespace {

// NCSlice and NCSliceFence add contour groups after the last one: a move home goes first, and the first contour of
// a path is reached from the home point.
void RemoveHomeGroup() {
    if (const CuttingJob* job = CurrentJob(LaserSettings()); job != nullptr && job->homeGroupPresent != 0) {
        CommandDelLast();
    }
    CLaserSettings& settings = LaserSettings();
    if (CuttingJob* job = CurrentJob(settings); job != nullptr && job->pathGroupCount == 0) {
        job->currentPoint = SettingHomePoint(settings);
    }
}

}  // namespace

void CommandNCSlice() {
    RemoveHomeGroup();
    SlicePick(false);
}

void CommandNCSliceFence() {
    RemoveHomeGroup();
    SliceFence();
}
