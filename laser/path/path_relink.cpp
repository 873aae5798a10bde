// Re-linking the path after groups were moved: the first move of every group, the start and current point of the
// job, and renumbering through temporary names.
#include "laser/path/path_relink.h"

#include "cadlib/entity_access.h"
#include "cadlib/groups.h"
#include "cadlib/host_variables.h"
#include "laser/frame/status_line.h"
#include "laser/job/drawing_slot.h"
#include "laser/path/path_editing_messages.h"
#include "laser/path/path_groups.h"
#include "laser/path/path_lookup.h"
#include "laser/path/path_totals.h"
#include "laser/settings/laser_settings.h"

using host::db::ObjectId;
using host::ge::Point3d;

namespace {

// ERRNO after a prompt answered with Enter.
constexpr int kErrnoEnter = 52;
// The temporary names of a renumbering.
constexpr std::string_view kParkedGroupPrefix = "VESK_ORDER_";

}  // namespace

bool IsHomeGroup(unsigned n) {
    PathRecord record;
    ReadPathRecord(n, record);
    return record.shape == kShapeHomeGroup;
}

Point3d PathGroupEnd(unsigned n) {
    Point3d first, last;
    bool lastIsCut = false;
    if (GetPathGroupEndPoints(n, first, last, lastIsCut) != 0) return Point3d();
    return last;
}

void RelinkPathGroupStart(unsigned n, const Point3d& from) {
    PathRecord record;
    ReadPathRecord(n, record);
    if (record.shape == kShapeHomeGroup) {
        std::vector<ObjectId> members;
        if (GetGroupEntityIds(FormatPathGroupName(n), members) == 0) return;
        SetLineStartPointByHandle(members.front().handle().value, from);
        return;
    }
    if (record.rapidHandle != 0) SetLineStartPointByHandle(record.rapidHandle, from);
}

void GiveFirstGroupARapid() {
    CuttingJob* job = CurrentJob(LaserSettings());
    if (job == nullptr || job->startAtHome == 1) return;
    job->startAtHome = 1;
    RedrawStartRapid();
    job->startAtHome = 0;
}

void RelinkPath() {
    CuttingJob* job = CurrentJob(LaserSettings());
    if (job == nullptr) return;
    const unsigned count = job->pathGroupCount > 0 ? static_cast<unsigned>(job->pathGroupCount) : 0u;
    if (count > 0) {
        if (job->startAtHome == 1) RelinkPathGroupStart(1, job->homePoint);
        RedrawStartRapid();
        for (unsigned n = 2; n <= count; ++n) RelinkPathGroupStart(n, PathGroupEnd(n - 1));
        PathRecord first;
        ReadPathRecord(1, first);
        job->pathStartPoint = job->startAtHome == 1 ? job->homePoint : first.rapidStart;
        job->currentPoint = PathGroupEnd(count);
    }
    RegenPathTotals();
    UpdateStatusLine();
}

void RenumberPathGroups(const std::vector<unsigned>& from, const std::vector<unsigned>& to,
                        const TwoLanguageText& renameError) {
    const PathGroupCommandTexts texts{nullptr, nullptr, &renameError};
    for (std::size_t i = 0; i < from.size() && i < to.size(); ++i) {
        if (from[i] == to[i]) continue;
        RenamePathGroup(FormatPathGroupName(from[i]), std::string(kParkedGroupPrefix) + std::to_string(from[i]),
                        texts);
    }
    for (std::size_t i = 0; i < from.size() && i < to.size(); ++i) {
        if (from[i] == to[i]) continue;
        RenamePathGroup(std::string(kParkedGroupPrefix) + std::to_string(from[i]), FormatPathGroupName(to[i]),
                        texts);
    }
}

int PickContourGroup(std::string_view prompt) {
    for (;;) {
        std::string name;
        const unsigned n = PickPathGroup(prompt, name);
        if (n == 0) {
            int errnoValue = 0;
            GetSysVarInt("ERRNO", errnoValue);
            return errnoValue == kErrnoEnter ? 0 : kPickCancelled;
        }
        if (!IsHomeGroup(n)) return static_cast<int>(n);
        PrintLocalized(kHomeGroupPickedText);
    }
}
