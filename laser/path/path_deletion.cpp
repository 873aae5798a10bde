// The deletion of path groups and the four deletion commands.
#include "laser/path/path_deletion.h"

#include <string>
#include <vector>

#include "cadlib/entity_access.h"
#include "cadlib/groups.h"
#include "cadlib/host_variables.h"
#include "host/db/database.h"
#include "host/db/entity.h"
#include "host/db/resbuf.h"
#include "host/ed/selection.h"
#include "laser/frame/status_line.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"
#include "laser/path/path_groups.h"
#include "laser/path/path_lookup.h"
#include "laser/path/path_messages.h"
#include "laser/path/path_totals.h"
#include "laser/settings/laser_settings.h"

using host::db::ObjectId;
using host::ge::Point3d;

namespace {

constexpr int kErrnoNothingSelected = 7;

const PathGroupCommandTexts kDelLastTexts{&kDelLastEraseError, &kDelLastGroupError, nullptr};
const PathGroupCommandTexts kDelAllTexts{&kDelAllEraseError, &kDelAllGroupError, nullptr};
const PathGroupCommandTexts kDelPickTexts{&kDelPickEraseError, &kDelPickGroupError, &kDelPickRenameError};
const PathGroupCommandTexts kDelCrossingTexts{&kDelCrossingEraseError, &kDelCrossingGroupError,
                                              &kDelCrossingRenameError};

CuttingJob* Job() { return CurrentJob(LaserSettings()); }

// The job without a path: the current point at the origin and the pen of no path.
void ResetPathState(CuttingJob& job) {
    job.pathGroupCount = 0;
    job.currentPoint = Point3d();
    job.homeGroupPresent = 0;
    SetPen(kPenNoPath);
}

// The current point and the pen at the end of the last group.
void FollowLastGroup(CuttingJob& job) {
    Point3d first, last;
    bool firstIsCut = false, lastIsCut = false;
    ObjectId firstId, lastId;
    if (GetPathGroupEnds(static_cast<unsigned>(job.pathGroupCount), first, last, firstIsCut, lastIsCut, firstId,
                         lastId) != 0) {
        return;
    }
    job.currentPoint = last;
    SetPen(lastIsCut ? kPenCut : kPenRapid);
}

// Moves the start of the home group's first line (its first trim stroke or the rapid home) to `from`.
void RelinkHomeGroup(unsigned n, const Point3d& from) {
    std::vector<ObjectId> members;
    if (GetGroupEntityIds(FormatPathGroupName(n), members) == 0) return;
    SetLineStartPointByHandle(members.front().handle().value, from);
}

// The change counter raised and the job stored, as every deletion command ends.
void StoreChangedJob() {
    CLaserSettings& settings = LaserSettings();
    if (DrawingSlot* slot = CurrentSlot(settings)) slot->changeCounter += 1;
    WriteJobData(settings);
}

void RefreshTotals() {
    RegenPathTotals();
    UpdateStatusLine();
}

}  // namespace

PathRemoval RemovePathGroup(unsigned n, const PathGroupCommandTexts& texts) {
    CuttingJob* job = Job();
    if (job == nullptr || n < 1 || static_cast<int>(n) > job->pathGroupCount) return PathRemoval::NotRemoved;
    const unsigned count = static_cast<unsigned>(job->pathGroupCount);
    PathRecord removed, next;
    ReadPathRecord(n, removed);
    if (n < count) ReadPathRecord(n + 1, next);

    const std::string name = FormatPathGroupName(n);
    ClearContourPathFlag(name);
    ErasePathGroup(name, texts);
    for (unsigned k = n; k < count; ++k) RenamePathGroup(FormatPathGroupName(k + 1), FormatPathGroupName(k), texts);
    job->pathGroupCount -= 1;

    if (job->pathGroupCount == 0) {
        ResetPathState(*job);
        RefreshTotals();
        return PathRemoval::NoneLeft;
    }
    if (static_cast<int>(n) > job->pathGroupCount) {
        FollowLastGroup(*job);
    } else if (next.shape == kShapeHomeGroup) {
        // The home group follows: its first line starts where the tool stood before the removed group.
        RelinkHomeGroup(n, removed.rapidStart);
    } else if (n == 1 && job->startAtHome != 1) {
        RedrawStartRapid();
    } else if (next.rapidHandle != 0) {
        SetLineStartPointByHandle(next.rapidHandle, removed.rapidStart);
    }
    RefreshTotals();
    return PathRemoval::GroupsLeft;
}

int CommandDelLast() {
    CLaserSettings& settings = LaserSettings();
    PrepareDrawingJob(settings);
    CuttingJob* job = Job();
    // Any home group is the last group: it goes now, or there is none.
    if (job != nullptr) job->homeGroupPresent = 0;
    if (job != nullptr && job->pathGroupCount > 0) {
        const std::string name = FormatPathGroupName(static_cast<unsigned>(job->pathGroupCount));
        ClearContourPathFlag(name);
        ErasePathGroup(name, kDelLastTexts);
        job->pathGroupCount -= 1;
        if (job->pathGroupCount < 1) {
            ResetPathState(*job);
        } else {
            FollowLastGroup(*job);
        }
        RefreshTotals();
    }
    StoreChangedJob();
    return 0;
}

int CommandDelAll() {
    CLaserSettings& settings = LaserSettings();
    PrepareDrawingJob(settings);
    CuttingJob* job = Job();
    if (job != nullptr) {
        for (int n = job->pathGroupCount; n >= 1; --n) {
            ErasePathGroup(FormatPathGroupName(static_cast<unsigned>(n)), kDelAllTexts);
        }
        for (ContourRecord& record : job->contours) record.processed = 0;
        ResetPathState(*job);
        RefreshTotals();
    }
    StoreChangedJob();
    return 0;
}

int CommandDelPick() {
    PrepareDrawingJob(LaserSettings());
    for (;;) {
        CuttingJob* job = Job();
        if (job == nullptr || job->pathGroupCount <= 0) break;
        std::string name;
        const unsigned n = PickPathGroup(Localized(kDelPickPrompt), name);
        if (n == 0) break;
        RemovePathGroup(n, kDelPickTexts);
    }
    StoreChangedJob();
    return 0;
}

int CommandDelCrossing() {
    PrepareDrawingJob(LaserSettings());
    bool pathLeft = true;
    while (pathLeft) {
        CuttingJob* job = Job();
        if (job == nullptr || job->pathGroupCount <= 0) break;
        PrintLocalized(kDelCrossingPrompt);
        host::db::EntityName set;
        if (host::ed::ssGet(nullptr, nullptr, nullptr, nullptr, set) != host::db::RTNORM) {
            int errnoValue = 0;
            GetSysVarInt("ERRNO", errnoValue);
            if (errnoValue == kErrnoNothingSelected) continue;
            break;
        }
        const std::vector<ObjectId> chosen = host::ed::selectionIds(set);
        host::ed::ssFree(set);
        for (ObjectId id : chosen) {
            // Members of a group removed before are erased with it.
            if (id.isErased()) continue;
            {
                host::db::ObjectPtr<host::db::Entity> entity(id, host::db::OpenMode::Read);
                if (!entity || entity->layer() != kPathLayer) continue;
            }
            const unsigned n = PathGroupOfEntity(id);
            if (n != 0 && RemovePathGroup(n, kDelCrossingTexts) == PathRemoval::NoneLeft) {
                pathLeft = false;
                break;
            }
        }
        RefreshTotals();
    }
    StoreChangedJob();
    return 0;
}
