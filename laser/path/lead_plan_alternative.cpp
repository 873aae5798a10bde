// The earlier lead planner of a polyline contour: a lead angle narrowed by the free angle at the start, the lead-in
// on the side nearer the tool, and one collision pass; and its check against other contours and the written path.
#include "laser/path/lead_plan_alternative.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "cadlib/angles.h"
#include "cadlib/entity_access.h"
#include "cadlib/point_in_contour.h"
#include "cadlib/segment_box.h"
#include "host/db/database.h"
#include "laser/job/drawing_slot.h"
#include "laser/path/contour_property_operations.h"
#include "laser/path/contour_writer_support.h"
#include "laser/path/polyline_leads.h"

using host::ge::Point3d;

namespace {

constexpr double kDegree = cadlib::kRadiansPerDegree;
// Room the two leads need beside twice the lead angle.
constexpr double kLeadRoom = 40.0 * kDegree;
// Below this free angle the leads run along the normal; below kNarrowFreeAngle they spread by one degree.
constexpr double kNoSpreadFreeAngle = 20.0 * kDegree;
constexpr double kNarrowFreeAngle = 45.0 * kDegree;
constexpr double kNarrowLeadAngle = 1.0 * kDegree;
// The scrap-side probe lies this share of the lead-in's length from the start point (kNoLeadProbe without one).
constexpr double kProbeShare = 0.2;
constexpr double kNoLeadProbe = 0.01;
// A lead that crosses another contour keeps this share of its free length.
constexpr double kCrossedLeadShare = 0.7;

double Normalized(double angle) {
    NormalizeAngle(angle);
    return angle;
}

// The lead angle for the job's angle `t` at a start whose free angle on the scrap side is `f`.
double NarrowedLeadAngle(double t, double f) {
    if (kLeadRoom + 2.0 * t <= f) return t;
    if (f < kNoSpreadFreeAngle) return 0.0;
    if (f <= kNarrowFreeAngle) return kNarrowLeadAngle;
    return f / 2.0 - kLeadRoom / 2.0;
}

void SegmentBox(const Point3d& a, const Point3d& b, double margin, double box[4]) {
    box[0] = std::min(a.x, b.x) - margin;
    box[1] = std::min(a.y, b.y) - margin;
    box[2] = std::max(a.x, b.x) + margin;
    box[3] = std::max(a.y, b.y) + margin;
}

bool Overlap(const double a[4], const double b[4]) {
    return BoxesOverlap(a[0], a[1], a[2], a[3], b[0], b[1], b[2], b[3]) != 0;
}

// Shortens one lead to kCrossedLeadShare of its free length when it crosses a contour other than its own.
void ShortenCrossedLead(const CuttingJob& job, LeadInPlan& plan, double angle, double& length, double& freeLength,
                        Point3d& crossing) {
    if (length <= 0.0) return;
    const std::size_t records = job.contours.size();
    const int count = std::min(job.contourCount, static_cast<int>(records));
    double box[4];
    SegmentBox(plan.startPoint, PointAtAngle(plan.startPoint, angle, length), 0.0, box);
    for (int i = 0; i <= count && i < static_cast<int>(records); ++i) {
        if (i == plan.contourIndex) continue;
        const ContourRecord& other = job.contours[static_cast<std::size_t>(i)];
        if (i == count && other.role != kRoleStock) continue;
        const double d = job.toolDiameter;
        const double otherBox[4] = {other.minX - d, other.minY - d, other.maxX + d, other.maxY + d};
        if (!Overlap(box, otherBox)) continue;
        host::db::ObjectPtr<host::db::Entity> entity(IdOfHandle(other.handle), host::db::OpenMode::Read);
        if (!entity) continue;
        host::db::Line line(plan.startPoint, PointAtAngle(plan.startPoint, angle, length));
        double free = kLeadUnblockedLength;
        Point3d at;
        if (NearestCrossing(*entity, line, plan, free, at, false) == 0) continue;
        freeLength = free;
        crossing = at;
        length = kCrossedLeadShare * free;
        SegmentBox(plan.startPoint, PointAtAngle(plan.startPoint, angle, length), 0.0, box);
    }
}

}  // namespace

int PlanPolylineLeadsAlternative(const CuttingJob& job, const CLaserSettings& settings,
                                 const host::db::LwPolyline& polyline, LeadInPlan& plan, PolylineStart& where) {
    // The start position, the directions along the contour from it and the open-line leads are those of the
    // current planner; the normal, the lead angle and the side are planned anew.
    ComputePolylineLeads(job, settings, polyline, plan, where);
    int turnIndex = 0;
    if (polyline.numVerts() < 2 || !polyline.isClosed()) return EvaluateLeadCollisions(job, polyline, plan, turnIndex);

    const ContourRecord& record = job.contours[static_cast<std::size_t>(plan.contourIndex)];
    const bool noLeads = record.closure == kClosureNoLeads;
    const double back = plan.direction == kCutForward ? plan.leadInSideTangent : plan.leadOutSideTangent;
    const double forward = plan.direction == kCutForward ? plan.leadOutSideTangent : plan.leadInSideTangent;

    double normal = Normalized((back + forward) / 2.0);
    const double probeLength = plan.leadInLength > 0.0 ? kProbeShare * plan.leadInLength : kNoLeadProbe;
    const bool outside = IsPointOutsidePolyline(PointAtAngle(plan.startPoint, normal, probeLength), polyline) == 1;
    const bool inner = record.placement == kPlacementInner;
    if (outside == inner) normal = Normalized(normal + cadlib::kPi);
    plan.normalAngle = normal;

    const double t = NarrowedLeadAngle(job.leadAngleRad, SweepThroughAngle(back, forward, normal));
    where.sector = IsAngleInRange(back, forward, normal);
    // The lead whose outer end is nearer the tool becomes the lead-in.
    const double reach = plan.leadInLength > 0.0 ? plan.leadInLength : probeLength;
    const Point3d plus = PointAtAngle(plan.startPoint, normal + t, reach);
    const Point3d minus = PointAtAngle(plan.startPoint, normal - t, reach);
    const bool left = PlanarDistance(plus, job.currentPoint) <= PlanarDistance(minus, job.currentPoint);
    ApplyLeadSide(plan, where, normal, t, back, forward, left);
    if (noLeads) {
        plan.offsetSide = kOffsetNone;
        plan.leadInLength = plan.leadOutLength = 0.0;
    }
    PlaceLeadEnds(plan);
    return EvaluateLeadCollisions(job, polyline, plan, turnIndex);
}

int CheckLeadsAgainstPath(const CuttingJob& job, const CLaserSettings& settings,
                          const host::db::LwPolyline& polyline, LeadInPlan& plan) {
    PolylineStart where;
    PlanPolylineLeadsAlternative(job, settings, polyline, plan, where);

    ShortenCrossedLead(job, plan, plan.leadInAngle, plan.leadInLength, plan.leadInFreeLength, plan.leadInCrossing);
    ShortenCrossedLead(job, plan, plan.leadOutAngle, plan.leadOutLength, plan.leadOutFreeLength,
                       plan.leadOutCrossing);
    PlaceLeadEnds(plan);

    // A new lead near a lead of any group already written is blocked: one group's clear leads do not undo what an
    // earlier group found.
    std::vector<PathLeadSegment> table;
    if (CollectPathLeadSegments(table) > 0) {
        double in[4], out[4];
        SegmentBox(plan.leadInStart, plan.startPoint, 0.0, in);
        SegmentBox(plan.startPoint, plan.leadOutEnd, 0.0, out);
        const double margin = job.toolDiameter / 2.0;
        plan.leadInBlocked = plan.leadOutBlocked = 0;
        for (const PathLeadSegment& group : table) {
            std::vector<const double*> boxes;
            double groupIn[4], groupOut[4];
            if (group.hasLeadIn) {
                SegmentBox(group.leadInStart, group.contourStart, margin, groupIn);
                boxes.push_back(groupIn);
            }
            if (group.hasLeadOut) {
                SegmentBox(group.contourEnd, group.leadOutEnd, margin, groupOut);
                boxes.push_back(groupOut);
            }
            for (const double* box : boxes) {
                if (plan.leadInLength > 0.0 && Overlap(in, box)) plan.leadInBlocked = 1;
                if (plan.leadOutLength > 0.0 && Overlap(out, box)) plan.leadOutBlocked = 1;
            }
        }
    }
    return 0;
}
