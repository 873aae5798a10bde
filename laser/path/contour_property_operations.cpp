// Switching contour properties by selection, counting crossing contours, and the leads of the written path.
#include "laser/path/contour_property_operations.h"

#include <algorithm>

#include "cadlib/entity_access.h"
#include "cadlib/segment_box.h"
#include "host/db/database.h"
#include "host/db/entity.h"
#include "host/db/resbuf.h"
#include "host/ed/selection.h"
#include "laser/contours/contour_classification.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"
#include "laser/path/path_editing_messages.h"
#include "laser/path/path_groups.h"
#include "laser/settings/laser_settings.h"

using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;

namespace {

int RecordCount(const CuttingJob& job) {
    return std::min(static_cast<int>(job.contours.size()), std::max(job.contourCount, 0));
}

int IndexOfHandle(const CuttingJob& job, std::uint64_t handle) {
    for (int i = 0; i < RecordCount(job); ++i) {
        if (job.contours[static_cast<std::size_t>(i)].handle == handle) return i;
    }
    return -1;
}

// The entities the user selects; empty when none.
std::vector<ObjectId> UserSelection() {
    host::db::EntityName set;
    if (host::ed::ssGet(nullptr, nullptr, nullptr, nullptr, set) != host::db::RTNORM) return {};
    std::vector<ObjectId> ids = host::ed::selectionIds(set);
    host::ed::ssFree(set);
    return ids;
}

// Runs `change` on the record of every selected entity that has one and has no path yet; then counts the change
// and stores the job.
template <class Change>
int ChangeSelectedContours(Change change) {
    CLaserSettings& settings = LaserSettings();
    for (ObjectId id : UserSelection()) {
        CuttingJob* job = CurrentJob(settings);
        if (job == nullptr) break;
        const int index = IndexOfHandle(*job, id.handle().value);
        if (index < 0 || job->contours[static_cast<std::size_t>(index)].processed != 0) continue;
        if (change(*job, job->contours[static_cast<std::size_t>(index)])) RestoreContourColour(*job, index);
    }
    if (DrawingSlot* slot = CurrentSlot(settings)) slot->changeCounter += 1;
    WriteJobData(settings);
    return 0;
}

}  // namespace

int ToggleContourPlacement() {
    PrepareDrawingJob(LaserSettings());
    PrintLocalized(kPlacementPrompt);
    return ChangeSelectedContours([](CuttingJob& job, ContourRecord& r) {
        if (r.closure == kClosureOpen) return false;
        if (r.placement == kPlacementOuter) {
            r.placement = kPlacementInner;
            job.baseInner += 1;
            if (job.baseOuter > 0) job.baseOuter -= 1;
            return true;
        }
        if (r.placement == kPlacementInner) {
            r.placement = kPlacementOuter;
            job.baseOuter += 1;
            if (job.baseInner > 0) job.baseInner -= 1;
            return true;
        }
        return false;
    });
}

int ToggleContourLeadIn() {
    PrepareDrawingJob(LaserSettings());
    PrintLocalized(kLeadInPrompt);
    PrintLocalized(kSelectContoursPrompt);
    return ChangeSelectedContours([](CuttingJob&, ContourRecord& r) {
        if (r.closure == kClosureClosed) {
            r.closure = kClosureNoLeads;
            return true;
        }
        if (r.closure == kClosureNoLeads) {
            r.closure = kClosureClosed;
            return true;
        }
        return false;
    });
}

int CountIntersectingContourPairs() {
    const CuttingJob* job = CurrentJob(LaserSettings());
    if (job == nullptr) return 0;
    const int count = RecordCount(*job);
    int pairs = 0;
    for (int i = 0; i < count; ++i) {
        const ContourRecord& a = job->contours[static_cast<std::size_t>(i)];
        ObjectPtr<host::db::Entity> first(IdOfHandle(a.handle), OpenMode::Read);
        if (!first) continue;
        for (int j = i + 1; j < count; ++j) {
            const ContourRecord& b = job->contours[static_cast<std::size_t>(j)];
            if (BoxesOverlap(a.minX, a.minY, a.maxX, a.maxY, b.minX, b.minY, b.maxX, b.maxY) == 0) continue;
            ObjectPtr<host::db::Entity> second(IdOfHandle(b.handle), OpenMode::Read);
            if (second && !first->intersectWith(*second).empty()) ++pairs;
        }
    }
    return pairs;
}

int CollectPathLeadSegments(std::vector<PathLeadSegment>& table) {
    table.clear();
    const CuttingJob* job = CurrentJob(LaserSettings());
    if (job == nullptr || job->pathGroupCount <= 0) return 0;
    for (int n = 1; n <= job->pathGroupCount; ++n) {
        PathRecord record;
        ReadPathRecord(static_cast<unsigned>(n), record);
        PathLeadSegment entry;
        entry.hasLeadIn = record.leadInHandle != 0;
        entry.hasLeadOut = record.leadOutHandle != 0;
        if (entry.hasLeadIn) entry.leadInStart = record.leadInStart;
        entry.contourStart = record.contourStart;
        entry.contourEnd = record.contourEnd;
        if (entry.hasLeadOut) entry.leadOutEnd = record.leadOutEnd;
        table.push_back(entry);
    }
    return job->pathGroupCount;
}
