// The reorder, replace and insert commands.
#include "laser/path/path_reorder.h"

#include <string>
#include <vector>

#include "cadlib/groups.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"
#include "laser/path/path_editing_messages.h"
#include "laser/path/path_groups.h"
#include "laser/path/path_lookup.h"
#include "laser/path/path_relink.h"
#include "laser/path/slice_by_pick.h"
#include "laser/settings/laser_settings.h"

using host::ge::Point3d;

namespace {

// Where the group replaced by NCReplace waits while the user picks the contour that takes its place.
constexpr std::string_view kReplacedGroupName = "VESK_REPLACE";

const PathGroupCommandTexts kReplaceTexts{&kReplaceEraseError, &kReplaceGroupError, &kReplaceRenameError};

CuttingJob* Job() { return CurrentJob(LaserSettings()); }

// The number of contour groups: the move home, which is always last, left out.
unsigned ContourGroupCount(const CuttingJob& job) {
    if (job.pathGroupCount <= 0) return 0;
    const unsigned count = static_cast<unsigned>(job.pathGroupCount);
    return IsHomeGroup(count) ? count - 1 : count;
}

void StoreChangedJob() {
    CLaserSettings& settings = LaserSettings();
    if (DrawingSlot* slot = CurrentSlot(settings)) slot->changeCounter += 1;
    WriteJobData(settings);
}

// The numbers first..last in order.
std::vector<unsigned> Range(unsigned first, unsigned last) {
    std::vector<unsigned> out;
    for (unsigned n = first; n <= last; ++n) out.push_back(n);
    return out;
}

// Moves group m to place `to`; the groups between shift by one towards m's old place.
void MoveGroup(unsigned m, unsigned to) {
    if (m == to) return;
    std::vector<unsigned> from, target;
    if (m > to) {
        from = Range(to, m - 1);
        for (unsigned n : from) target.push_back(n + 1);
    } else {
        from = Range(m + 1, to);
        for (unsigned n : from) target.push_back(n - 1);
    }
    from.push_back(m);
    target.push_back(to);
    RenumberPathGroups(from, target, kOrderRenameError);
}

void SetContourProcessed(CuttingJob& job, std::uint64_t handle, std::uint8_t processed) {
    const std::size_t records = std::min(job.contours.size(), static_cast<std::size_t>(std::max(job.contourCount, 0)));
    for (std::size_t i = 0; i < records; ++i) {
        if (job.contours[i].handle == handle) job.contours[i].processed = processed;
    }
}

}  // namespace

int CommandNCOrder() {
    PrepareDrawingJob(LaserSettings());
    CuttingJob* job = Job();
    if (job == nullptr) return 0;
    const unsigned count = ContourGroupCount(*job);
    const int first = PickContourGroup(Localized(kOrderFirstPrompt));
    unsigned k = first > 0 ? static_cast<unsigned>(first) : 0u;
    while (first != kPickCancelled && k <= count) {
        const int picked = PickContourGroup(Localized(kOrderNextPrompt));
        if (picked <= 0) break;
        const unsigned m = static_cast<unsigned>(picked);
        if (m == k) continue;
        if (m == k + 1) {
            k += 1;
            continue;
        }
        // Group 1 loses its place: it needs a rapid line to be linked after another group.
        if (k == 0 || m == 1) GiveFirstGroupARapid();
        if (m > k) {
            MoveGroup(m, k + 1);
            k += 1;
        } else {
            MoveGroup(m, k);
        }
        RelinkPath();
    }
    StoreChangedJob();
    return 0;
}

int CommandNCReplace() {
    PrepareDrawingJob(LaserSettings());
    for (;;) {
        CuttingJob* job = Job();
        if (job == nullptr) break;
        const int picked = PickContourGroup(Localized(kReplacePrompt));
        if (picked <= 0) break;
        const unsigned n = static_cast<unsigned>(picked);
        const int count = job->pathGroupCount;
        const Point3d current = job->currentPoint, pathStart = job->pathStartPoint;
        const int pen = job->penState;
        PathRecord replaced;
        ReadPathRecord(n, replaced);
        const std::string name = FormatPathGroupName(n);
        int members = 0;
        GetGroupEntityCount(name, members);

        // The group waits under another name: the contour picked next is written as group n, and when none is,
        // the group comes back as it was.
        if (RenamePathGroup(name, kReplacedGroupName, kReplaceTexts) != host::db::RTNORM ||
            !PathGroupExists(kReplacedGroupName)) {
            PrintLocalized(kReplaceNotRestoredText, static_cast<int>(n));
            break;
        }
        // Hidden while it waits, so that a pick reaches the contour beneath it.
        SetGroupVisibility(kReplacedGroupName, false);
        SetContourProcessed(*job, replaced.contourHandle, 0);
        job->pathGroupCount = static_cast<int>(n) - 1;
        job->currentPoint = n == 1 ? job->homePoint : replaced.rapidStart;

        SlicePick(true);

        job = Job();
        if (job == nullptr) break;
        if (job->pathGroupCount == static_cast<int>(n) - 1) {
            // Nothing was cut: the group takes its place back.
            SetGroupVisibility(kReplacedGroupName, true);
            RenamePathGroup(kReplacedGroupName, name, kReplaceTexts);
            int restored = -1;
            GetGroupEntityCount(name, restored);
            job->pathGroupCount = count;
            job->currentPoint = current;
            job->pathStartPoint = pathStart;
            job->penState = pen;
            if (restored != members) {
                PrintLocalized(kReplaceNotRestoredText, static_cast<int>(n));
                break;
            }
            SetContourProcessed(*job, replaced.contourHandle, 1);
            continue;
        }
        ErasePathGroup(kReplacedGroupName, kReplaceTexts);
        job->pathGroupCount = count;
        RelinkPath();
    }
    StoreChangedJob();
    return 0;
}

namespace {

// NCInsert and NCInsertFence: `cut` writes new groups at the end of the path; they are moved to follow the picked
// group, and a further cut follows the last one inserted.
int InsertPaths(void (*cut)()) {
    PrepareDrawingJob(LaserSettings());
    CuttingJob* job = Job();
    if (job == nullptr) return 0;
    const int picked = PickContourGroup(Localized(kInsertPrompt));
    if (picked == kPickCancelled) {
        StoreChangedJob();
        return 0;
    }
    unsigned k = static_cast<unsigned>(picked);
    Point3d current = job->currentPoint;
    int pen = job->penState;
    for (;;) {
        job = Job();
        if (job == nullptr) return 0;
        current = job->currentPoint;
        pen = job->penState;
        const unsigned count0 = static_cast<unsigned>(std::max(job->pathGroupCount, 0));
        job->currentPoint = k == 0 ? job->homePoint : PathGroupEnd(k);
        cut();
        job = Job();
        if (job == nullptr) return 0;
        const unsigned count1 = static_cast<unsigned>(std::max(job->pathGroupCount, 0));
        if (count1 <= count0) break;
        if (k == 0) GiveFirstGroupARapid();
        const unsigned added = count1 - count0;
        std::vector<unsigned> from = Range(k + 1, count0), to;
        for (unsigned n : from) to.push_back(n + added);
        for (unsigned n = count0 + 1; n <= count1; ++n) {
            from.push_back(n);
            to.push_back(k + 1 + (n - count0 - 1));
        }
        RenumberPathGroups(from, to, kInsertRenameError);
        RelinkPath();
        k += added;
    }
    job->currentPoint = current;
    job->penState = pen;
    StoreChangedJob();
    return 0;
}

void CutOnePicked() { SlicePick(true); }
void CutByFence() { SliceFence(); }

}  // namespace

int CommandNCInsert() { return InsertPaths(CutOnePicked); }
int CommandNCInsertFence() { return InsertPaths(CutByFence); }
