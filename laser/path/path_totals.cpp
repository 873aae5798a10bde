// Path totals: each group measured from its description and its member lines and arcs, and the sums.
#include "laser/path/path_totals.h"

#include <numbers>
#include <vector>

#include "cadlib/entity_access.h"
#include "cadlib/groups.h"
#include "cadlib/numbers.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "laser/contours/contour_records.h"
#include "laser/job/drawing_slot.h"
#include "laser/path/path_groups.h"
#include "laser/path/path_lookup.h"
#include "laser/settings/laser_settings.h"

using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;

namespace {

constexpr double kSecondsPerMinute = 60.0;
// Switching the beam on and off: two switches per pierce.
constexpr double kSwitchesPerPierce = 2.0;

// How a member of a path group is drawn.
enum class MemberPen { Cut, Rapid, Other };

struct Member {
    MemberPen pen = MemberPen::Other;
    double length = 0.0;
    double radius = 0.0;  // arcs only
    bool isArc = false;
    std::uint64_t handle = 0;
};

// A member and its pen: what the group's description says it is (the line type only shows it).
Member ReadMember(ObjectId id, const PathRecord& record) {
    Member m;
    ObjectPtr<host::db::Entity> entity(id, OpenMode::Read);
    if (!entity) return m;
    m.handle = id.handle().value;
    if (const auto* line = dynamic_cast<const host::db::Line*>(entity.get())) {
        m.length = line->start().distanceTo(line->end());
    } else if (const auto* arc = dynamic_cast<const host::db::Arc*>(entity.get())) {
        double sweep = arc->endAngle() - arc->startAngle();
        if (arc->startAngle() > arc->endAngle()) sweep += 2.0 * std::numbers::pi;
        m.length = sweep * arc->radius();
        m.radius = arc->radius();
        m.isArc = true;
    } else {
        return m;
    }
    m.pen = RoleOfPathMember(record, m.handle) == PathMemberRole::Rapid ? MemberPen::Rapid : MemberPen::Cut;
    return m;
}

// minutes = length / feed, or 0 for a feed that is not above 0.
double Minutes(double length, double feed) { return feed > 0.0 ? length / feed : 0.0; }

// Books `length` by the contour kind.
void Book(PathGroupMeasure& m, std::uint8_t kind, double length) {
    switch (static_cast<ContourKind>(kind)) {
        case ContourKind::EngraveLine: m.engrave += length; break;
        case ContourKind::HeatTreatmentLine: m.heat += length; break;
        case ContourKind::CutT2Line: m.cutT2 += length; break;
        case ContourKind::EngraveAndMarkLine: m.engraveMark += length; break;
        case ContourKind::MarkLine: m.mark += length; break;
        default: m.cut += length; break;
    }
}

void MeasureHomeGroup(const PathRecord& record, const std::vector<ObjectId>& members, PathGroupMeasure& m) {
    MemberPen previous = MemberPen::Rapid;
    for (ObjectId id : members) {
        const Member member = ReadMember(id, record);
        if (member.pen == MemberPen::Cut) {
            m.cut += member.length;
            if (previous != MemberPen::Cut) ++m.pierceCount;
        } else if (member.pen == MemberPen::Rapid) {
            m.rapid += member.length;
        }
        if (member.pen != MemberPen::Other) previous = member.pen;
    }
}

void MeasureContourGroup(const PathRecord& record, const std::vector<ObjectId>& members, PathGroupMeasure& m) {
    m.pierceCount = 1;
    double contourLength = 0.0;
    bool circleTaken = false, skipNext = false;
    MemberPen previous = MemberPen::Cut;
    for (ObjectId id : members) {
        const Member member = ReadMember(id, record);
        if (record.rapidHandle != 0 && member.handle == record.rapidHandle) {
            m.rapid += member.length;
            continue;
        }
        if (record.shape == kShapePoint) continue;
        if (record.leadInHandle != 0 && member.handle == record.leadInHandle) {
            contourLength += member.length;
            continue;
        }
        if (skipNext) {
            skipNext = false;
            continue;
        }
        if (record.shape == kShapeCircle && !circleTaken && member.isArc) {
            // The circle is cut as two arcs: the whole circumference stands for both.
            contourLength += 2.0 * std::numbers::pi * member.radius;
            circleTaken = skipNext = true;
            previous = MemberPen::Cut;
            continue;
        }
        if (member.pen == MemberPen::Cut) {
            contourLength += member.length;
            if (previous == MemberPen::Rapid) ++m.pierceCount;
        } else if (member.pen == MemberPen::Rapid) {
            m.rapid += member.length;  // across a jumper gap
        }
        if (member.pen != MemberPen::Other) previous = member.pen;
    }
    Book(m, record.kind, contourLength);
}

}  // namespace

int MeasurePathGroup(unsigned n, PathGroupMeasure& m) {
    m = PathGroupMeasure{};
    const CuttingJob* job = CurrentJob(LaserSettings());
    if (job == nullptr) return 0;
    PathRecord record;
    ReadPathRecord(n, record);
    std::vector<ObjectId> members;
    GetGroupEntityIds(FormatPathGroupName(n), members);
    if (members.empty()) return 0;
    if (record.shape == kShapeHomeGroup) {
        MeasureHomeGroup(record, members, m);
    } else {
        MeasureContourGroup(record, members, m);
    }
    // The feeds are the settings', per minute in the Unit setting's unit; the lengths are the job's.
    const double perSettingUnit = ConvertUnits(job->unit, LaserSettings().Unit, 1.0);
    m.seconds = kSecondsPerMinute * perSettingUnit *
                    (Minutes(m.engrave, job->feedEngrave) + Minutes(m.cut, job->feedCut) +
                     Minutes(m.heat, job->feedHeatTreatment) + Minutes(m.rapid, job->feedRapid)) +
                kSwitchesPerPierce * m.pierceCount * job->timeLaserOnOff;
    return 0;
}

void AddToPathTotals(CuttingJob& job, const PathGroupMeasure& m) {
    job.totalCutLength += m.cut;
    job.totalCutT2Length += m.cutT2;
    job.totalEngraveLength += m.engrave;
    job.totalEngraveMarkLength += m.engraveMark;
    job.totalMarkLength += m.mark;
    job.totalHeatLength += m.heat;
    job.totalRapidLength += m.rapid;
    job.totalSeconds += m.seconds;
}

int RegenPathTotals() {
    CuttingJob* job = CurrentJob(LaserSettings());
    if (job == nullptr) return 0;
    job->totalCutLength = job->totalCutT2Length = job->totalEngraveLength = job->totalEngraveMarkLength = 0.0;
    job->totalMarkLength = job->totalHeatLength = job->totalRapidLength = job->totalSeconds = 0.0;
    for (int n = 1; n <= job->pathGroupCount; ++n) {
        PathGroupMeasure m;
        MeasurePathGroup(static_cast<unsigned>(n), m);
        AddToPathTotals(*job, m);
    }
    return 0;
}
