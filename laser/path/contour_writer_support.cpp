// What the writers of one contour's path share: kinds, the description's head and tail, leads, closing a group.
#include "laser/path/contour_writer_support.h"

#include <cmath>
#include <string>

#include "host/sys/number_text.h"
#include "laser/path/path_groups.h"

using host::ge::Point3d;

bool KindHasPath(ContourKind kind) {
    return kind != ContourKind::MarkPoint && kind != ContourKind::KindJumperPoint;
}

bool KindCutsWithoutOffset(ContourKind kind) {
    return IsDrawnLineKind(kind);
}

double PlanarDirection(const Point3d& from, const Point3d& to) {
    return std::atan2(to.y - from.y, to.x - from.x);
}

double PlanarDistance(const Point3d& a, const Point3d& b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

Point3d PlanarVertex(const host::db::LwPolyline& polyline, unsigned i) {
    Point3d p;
    polyline.getPointAt(i, p);
    p.z = 0.0;
    return p;
}

void PlaceLeadEnds(LeadInPlan& plan) {
    plan.leadInStart = plan.leadInLength > 0.0 ? PointAtAngle(plan.startPoint, plan.leadInAngle, plan.leadInLength)
                                               : plan.startPoint;
    plan.leadOutEnd = plan.leadOutLength > 0.0
                          ? PointAtAngle(plan.startPoint, plan.leadOutAngle, plan.leadOutLength)
                          : plan.startPoint;
}

void ShortenBlockedLeads(LeadInPlan& plan) {
    if (plan.leadInBlocked) {
        plan.leadInStart = PointAtAngle(plan.startPoint, plan.leadInAngle, plan.leadInFreeLength / 2.0);
    }
    if (plan.leadOutBlocked) {
        plan.leadOutEnd = PointAtAngle(plan.startPoint, plan.leadOutAngle, plan.leadOutFreeLength / 2.0);
    }
}

void AppendPathTail(const Point3d& start, const Point3d& end) {
    std::string& text = PathWriter().PathDescriptionText;
    text += host::sys::formatC(" %.4f %.4f", start.x, start.y);
    text += host::sys::formatC(" %.4f %.4f", end.x, end.y);
    AppendMemberRoleTokens();
}

void AppendContourHead(const ContourRecord& record, int offsetSide) {
    PathWriter().PathDescriptionText += SetCutColourForSide(offsetSide);
    PathWriter().PathDescriptionText +=
        host::sys::formatC(" HP= %s %i %i %i %i", FormatPathHandle(record.handle).c_str(), int(record.shape),
                           offsetSide, int(record.placement), int(record.closure));
}

void FinishContourGroup(ContourRecord& record) {
    record.processed = 1;
    StorePathDescription();
    EndPathGroup();
}

