// The path of one contour: the dispatcher by contour shape, the path of a marking point, and the path of a circle
// with its lead planning.
#include "laser/path/contour_path.h"

#include <algorithm>
#include <cmath>

#include "cadlib/angles.h"
#include "cadlib/entity_access.h"
#include "cadlib/host_variables.h"
#include "host/db/database.h"
#include "host/sys/number_text.h"
#include "laser/job/drawing_slot.h"
#include "laser/path/circle_path.h"
#include "laser/path/path_groups.h"
#include "laser/path/contour_writer_support.h"
#include "laser/path/polyline_leads.h"
#include "laser/settings/laser_settings.h"

using host::ge::Point3d;

namespace {

// Retry positions around a circle lie about this far apart along it (millimetres; inches use kInchRetrySpacing).
constexpr double kMillimetreRetrySpacing = 0.4;
constexpr double kInchRetrySpacing = 10.0;
constexpr int kMinCircleRetrySteps = 3;
constexpr int kMaxCircleRetrySteps = 18;
// An inner circle smaller than its lead gets a lead of its radius, nearly along the normal, so that the lead
// stays inside the hole.
constexpr double kSmallHoleLeadAngle = 5.0 * cadlib::kRadiansPerDegree;
// Probes off the start point, as a share of the radius.
constexpr double kCircleProbeShare = 0.01;
// A circle's plan direction: 0 clockwise travel, 1 counter-clockwise (a polyline's 0 is its vertex order).
constexpr std::uint8_t kCircleClockwise = 0;
constexpr std::uint8_t kCircleCounterClockwise = 1;

double Normalized(double angle) {
    NormalizeAngle(angle);
    return angle;
}

Point3d Rotated(const Point3d& p, const Point3d& centre, double angle) {
    const double dx = p.x - centre.x, dy = p.y - centre.y;
    const double c = std::cos(angle), s = std::sin(angle);
    return {centre.x + dx * c - dy * s, centre.y + dx * s + dy * c, 0.0};
}

// Exchanges the roles of the two leads: the cut runs the other way round.
void SwapLeads(LeadInPlan& plan) {
    std::swap(plan.leadInAngle, plan.leadOutAngle);
    std::swap(plan.leadInSideTangent, plan.leadOutSideTangent);
    plan.offsetSide = plan.offsetSide == kOffsetLeft ? kOffsetRight : kOffsetLeft;
}

}  // namespace

int CircleRetrySteps(double radius, int unit) {
    const double spacing = unit == 1 ? kInchRetrySpacing : kMillimetreRetrySpacing;
    const double steps = std::floor(cadlib::kTwoPi * radius / (2.0 * spacing));
    if (!(steps >= kMinCircleRetrySteps)) return kMinCircleRetrySteps;
    return steps > kMaxCircleRetrySteps ? kMaxCircleRetrySteps : static_cast<int>(steps);
}

int WriteMarkingPointPath(CuttingJob& job, CLaserSettings& settings, LeadInPlan& plan) {
    ContourRecord& record = job.contours[static_cast<std::size_t>(plan.contourIndex)];
    PathWriter().PathDescriptionText = "MarkingPoint T6";
    record.closure = kClosureNoLeads;
    plan.offsetSide = kOffsetNone;
    plan.leadInLength = plan.leadOutLength = 0.0;
    BeginPathGroup();
    SetSysVarInt("OSMODE", 0);
    // The marking line takes the cut colour as it stands: the offset word is written without changing it.
    PathWriter().PathDescriptionText +=
        host::sys::formatC(" Offset=NO HP= %s %i %i %i %i", FormatPathHandle(record.handle).c_str(),
                           int(record.shape), 0, int(record.placement), int(record.closure));
    AddRapidAndLeadIn(plan.startPoint, 0.0, plan.startPoint);
    const Point3d end{plan.startPoint.x + SettingLength(settings, settings.MarkingLineLength), plan.startPoint.y, 0.0};
    AddPathLine(plan.startPoint, end);
    PathWriter().PathDescriptionText += " N";
    AppendPathTail(plan.startPoint, end);
    FinishContourGroup(record);
    return 0;
}

void ComputeCircleLeadIn(const CuttingJob& job, const CLaserSettings& settings, const host::db::Circle& circle,
                         LeadInPlan& plan) {
    const ContourRecord& record = job.contours[static_cast<std::size_t>(plan.contourIndex)];
    const double r = circle.radius();
    const Point3d centre = circle.center();
    plan.leadInLength = plan.leadInFreeLength = job.leadInSpan;
    plan.leadOutLength = plan.leadOutFreeLength = job.leadOutSpan;
    if (record.closure != kClosureClosed) {
        plan.direction = kCircleClockwise;
        plan.offsetSide = kOffsetNone;
        plan.leadInLength = plan.leadOutLength = plan.leadInFreeLength = plan.leadOutFreeLength = 0.0;
        PlaceLeadEnds(plan);
        return;
    }
    const bool inner = record.placement == kPlacementInner;
    double t = job.leadAngleRad;
    if (inner && settings.AutoCorrectLeadin != 0) {
        if (plan.leadInLength > r) {
            plan.leadInLength = r;
            t = std::min(t, kSmallHoleLeadAngle);
        }
        if (plan.leadOutLength > r) plan.leadOutLength = r;
    }
    const Point3d& s = plan.startPoint;
    double a = std::atan2(centre.y - s.y, centre.x - s.x);
    const Point3d probe = PointAtAngle(s, a, kCircleProbeShare * r);
    if (std::hypot(probe.x - centre.x, probe.y - centre.y) < r) a += cadlib::kPi;
    const Point3d p1 = PointAtAngle(s, a + cadlib::kHalfPi, kCircleProbeShare * r);
    const Point3d p2 = PointAtAngle(s, a - cadlib::kHalfPi, kCircleProbeShare * r);
    const Point3d& current = job.currentPoint;
    const double d1 = std::hypot(p1.x - current.x, p1.y - current.y);
    const double d2 = std::hypot(p2.x - current.x, p2.y - current.y);
    // The tool comes from the side of p1: the lead-in turns toward it.
    const bool fromP1 = d2 > d1;
    const bool leftForOuter = fromP1;
    if (inner) a += cadlib::kPi;
    plan.normalAngle = a;
    const bool left = inner ? !leftForOuter : leftForOuter;
    plan.offsetSide = left ? kOffsetLeft : kOffsetRight;
    const double sign = left ? 1.0 : -1.0;
    plan.leadInAngle = a + sign * t;
    plan.leadOutAngle = a - sign * t;
    plan.leadInSideTangent = a + sign * cadlib::kHalfPi;
    plan.leadOutSideTangent = a - sign * cadlib::kHalfPi;
    if (fromP1) {
        plan.direction = kCircleClockwise;
        if (settings.CutLineDirection == 2) {
            plan.direction = kCircleCounterClockwise;
            SwapLeads(plan);
        }
    } else {
        plan.direction = kCircleCounterClockwise;
        if (settings.CutLineDirection == 1) {
            plan.direction = kCircleClockwise;
            SwapLeads(plan);
        }
    }
    NormalizeAngle(plan.normalAngle);
    NormalizeAngle(plan.leadInAngle);
    NormalizeAngle(plan.leadOutAngle);
    NormalizeAngle(plan.leadInSideTangent);
    NormalizeAngle(plan.leadOutSideTangent);
    PlaceLeadEnds(plan);

    const LeadInPlan planned = plan;
    // Kept over the turns of the start point: the outlines every lead test meets.
    LeadOutlines outlines(circle);
    int turn = 0;
    int score = EvaluateLeadCollisions(job, circle, plan, turn, &outlines);
    if (score == kLeadsFree) return;
    const int n = CircleRetrySteps(r, job.unit);
    const double step = cadlib::kPi / n;
    for (int i = 1; i < n && score != kLeadsFree; ++i) {
        for (const double angle : {i * step, -i * step}) {
            LeadInPlan candidate = planned;
            candidate.normalAngle = Normalized(planned.normalAngle + angle);
            candidate.leadInAngle = Normalized(planned.leadInAngle + angle);
            candidate.leadOutAngle = Normalized(planned.leadOutAngle + angle);
            candidate.leadInSideTangent = Normalized(planned.leadInSideTangent + angle);
            candidate.leadOutSideTangent = Normalized(planned.leadOutSideTangent + angle);
            candidate.startPoint =
                PointAtAngle(centre, candidate.normalAngle + (inner ? cadlib::kPi : 0.0), r);
            candidate.leadInStart = Rotated(planned.leadInStart, centre, angle);
            candidate.leadOutEnd = Rotated(planned.leadOutEnd, centre, angle);
            int candidateTurn = 0;
            const int candidateScore = EvaluateLeadCollisions(job, circle, candidate, candidateTurn, &outlines);
            PreferLeadPlan(plan, candidate, score, candidateScore, turn, candidateTurn);
            if (score == kLeadsFree) break;
        }
    }
    if (score == kLeadsBlocked) ShortenBlockedLeads(plan);
}

int WriteCirclePath(CuttingJob& job, CLaserSettings& settings, LeadInPlan& plan) {
    ContourRecord& record = job.contours[static_cast<std::size_t>(plan.contourIndex)];
    if (!KindHasPath(record.kind)) return 0;
    PathWriter().PathDescriptionText = host::sys::formatC("Slice_Circle T%i", int(record.kind));
    Point3d centre;
    double r = 0.0;
    {
        host::db::ObjectPtr<host::db::Circle> circle(IdOfHandle(record.handle), host::db::OpenMode::Read);
        if (!circle) return 0;
        centre = circle->center();
        r = circle->radius();
        // A start point given to a few decimals lies a little off the circle, and its own leads would then cross
        // the circle right beside it: it is put onto the circle first.
        const Point3d s = plan.startPoint;
        if (s.x != centre.x || s.y != centre.y) {
            plan.startPoint = PointAtAngle(centre, std::atan2(s.y - centre.y, s.x - centre.x), r);
        }
        ComputeCircleLeadIn(job, settings, *circle, plan);
    }
    if (KindCutsWithoutOffset(record.kind)) plan.offsetSide = kOffsetNone;
    BeginPathGroup();
    SetSysVarInt("OSMODE", 0);
    const Point3d& s = plan.startPoint;
    const Point3d opposite = PointAtAngle(centre, std::atan2(centre.y - s.y, centre.x - s.x), r);
    AppendContourHead(record, plan.offsetSide);
    AddRapidAndLeadIn(s, plan.leadInLength, plan.leadInStart);
    if (plan.direction == kCircleCounterClockwise) {
        AddPathArcCCW(centre, s, opposite);
        AddPathArcCCW(centre, opposite, s);
    } else {
        AddPathArcCW(centre, s, opposite);
        AddPathArcCW(centre, opposite, s);
    }
    if (job.leadOutSpan > 0.0 && plan.offsetSide != kOffsetNone) {
        AppendPathHandleToken(AddPathLine(s, plan.leadOutEnd));
    } else {
        PathWriter().PathDescriptionText += " N";
    }
    AppendPathTail(s, s);
    FinishContourGroup(record);
    return 0;
}

int WriteContourPath(const Point3d& start, int contourIndex) {
    CLaserSettings& settings = LaserSettings();
    CuttingJob* job = CurrentJob(settings);
    if (job == nullptr || contourIndex < 0 || contourIndex >= static_cast<int>(job->contours.size())) return 0;
    const ContourRecord& record = job->contours[static_cast<std::size_t>(contourIndex)];
    if (record.role != kRolePart) return 0;
    SetSysVarInt("OSMODE", 0);
    LeadInPlan plan;
    plan.startPoint = {start.x, start.y, 0.0};
    plan.contourIndex = contourIndex;
    if (record.kind == ContourKind::MarkPoint) return WriteMarkingPointPath(*job, settings, plan);
    if (record.shape == kShapeCircle) return WriteCirclePath(*job, settings, plan);
    if (record.shape == kShapePolyline) return WritePolylineContourPath(*job, settings, plan);
    return 0;
}
