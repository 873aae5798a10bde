// The step-by-step operations of one picked contour.
#include "laser/path/contour_pick_operations.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "cadlib/host_variables.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/resbuf.h"
#include "host/db/tables.h"
#include "host/ed/prompts.h"
#include "host/ed/selection.h"
#include "host/ge/angle.h"
#include "laser/contours/contour_classification.h"
#include "laser/contours/contour_records.h"
#include "laser/job/drawing_slot.h"
#include "laser/path/path_editing_messages.h"
#include "laser/path/path_group_commands.h"
#include "laser/path/path_groups.h"
#include "laser/settings/laser_settings.h"

using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::ge::Point3d;

namespace {

constexpr int kErrnoNothingHit = 7;
constexpr int kSideLeft = 1;
constexpr int kSideRight = 2;

// The job's lead lengths and angle (nothing without a job).
struct LeadValues {
    double in = 0.0, out = 0.0, angle = 0.0;
};

LeadValues JobLeads() {
    LeadValues v;
    if (const CuttingJob* job = CurrentJob(LaserSettings())) {
        v.in = job->leadInSpan;
        v.out = job->leadOutSpan;
        v.angle = job->leadAngleRad;
    }
    return v;
}

// Arcs and circles smaller than their leads: the lead angle and, for the smallest, the lengths cut down.
void CorrectLeadsForRadius(LeadValues& v, double radius) {
    if (LaserSettings().AutoCorrectLeadin == 0) return;
    if (v.in > radius) {
        v.angle = std::min(v.angle, host::ge::degreesToRadians(5.0));
        v.in = std::min(v.in, radius);
        v.out = std::min(v.out, radius);
    } else if (1.5 * v.in > radius) {
        v.angle = std::min(v.angle, host::ge::degreesToRadians(15.0));
    }
}

// The leads at `at` for travel in direction `travel`, on the left (side 1) or the right (side 2): the lead-in turned
// back against the travel by the lead angle, the lead-out turned forward.
void PlaceLeads(const Point3d& at, double travel, int side, const LeadValues& v, SideLeadPoints& leads) {
    const double sign = side == kSideLeft ? 1.0 : -1.0;
    const double normal = travel + sign * host::ge::kHalfPi;
    leads.contourPoint = at;
    leads.leadInStart = host::ge::polarPoint(at, normal + sign * v.angle, v.in);
    leads.leadOutEnd = v.out == 0.0 ? at : host::ge::polarPoint(at, normal - sign * v.angle, v.out);
}

const TwoLanguageText* OnEntityText(ObjectId entity) {
    ObjectPtr<host::db::Entity> e(entity, OpenMode::Read);
    if (!e) return nullptr;
    if (dynamic_cast<const host::db::Line*>(e.get()) != nullptr) return &kPointOnLineText;
    if (dynamic_cast<const host::db::Arc*>(e.get()) != nullptr) return &kPointOnArcText;
    if (dynamic_cast<const host::db::Circle*>(e.get()) != nullptr) return &kPointOnCircleText;
    return nullptr;
}

}  // namespace

int ClassifyPickedSelection(const host::db::EntityName& set, int& length) {
    const std::vector<ObjectId> ids = host::ed::selectionIds(set);
    length = static_cast<int>(ids.size());
    if (ids.empty()) return kPickNothing;
    if (ids.size() > 1) return kPickAmbiguous;
    int code = kPickNoCurve;
    for (ObjectId id : ids) {
        const int type = GetEntityTypeCodeByName(host::db::idToName(id));
        if (type == kEntityPoint) return kPickProcessedPoint;
        if (type == kEntityLine || type == kEntityArc || type == kEntityPolyline || type == kEntityCircle) code = type;
    }
    return code;
}

void ShowPickMessage(int code) {
    if (code >= kEntityLine && code <= kEntityCircle) return;
    if (code == kPickAmbiguous) {
        PrintLocalized(kPickAmbiguousText);
    } else if (code == kPickProcessedPoint) {
        PrintLocalized(kPickProcessedText);
    } else {
        PrintLocalized(kPickNothingText);
    }
}

int LineLeadPoints(const Point3d& start, const Point3d& end, const Point3d& side, SideLeadPoints& leads) {
    const double cross = (end.x - start.x) * (side.y - start.y) - (end.y - start.y) * (side.x - start.x);
    const int code = cross > 0.0 ? kSideLeft : kSideRight;
    PlaceLeads(start, host::ge::angleFromTo(start, end), code, JobLeads(), leads);
    return code;
}

int ArcLeadPoints(const Point3d& centre, double radius, double startAngle, const Point3d& side, SideLeadPoints& leads) {
    // An arc runs counter-clockwise: its inside is on the left.
    const int code = centre.distanceTo(side) < radius ? kSideLeft : kSideRight;
    LeadValues v = JobLeads();
    CorrectLeadsForRadius(v, radius);
    PlaceLeads(host::ge::polarPoint(centre, startAngle, radius), startAngle + host::ge::kHalfPi, code, v, leads);
    return code;
}

int CircleLeadPoints(const Point3d& centre, double radius, const Point3d& side, SideLeadPoints& leads) {
    return ArcLeadPoints(centre, radius, host::ge::angleFromTo(centre, side), side, leads);
}

int AskContourSide(ObjectId entity, SideLeadPoints& leads, int& sideCode) {
    for (;;) {
        Point3d side;
        if (host::ed::getPoint(nullptr, Localized(kContourSidePrompt), side) != host::db::RTNORM) return 1;
        Point3d snapped;
        bool onEntity = false;
        const double distance = SnapPickToEntity(entity, side, snapped, onEntity);
        if (distance >= 0.0 && distance <= host::ge::globalTolerance().equalPoint && onEntity) {
            if (const TwoLanguageText* text = OnEntityText(entity)) PrintLocalized(*text);
            continue;
        }
        ObjectPtr<host::db::Entity> e(entity, OpenMode::Read);
        if (!e) return 1;
        if (const auto* line = dynamic_cast<const host::db::Line*>(e.get())) {
            sideCode = LineLeadPoints(line->start(), line->end(), side, leads);
        } else if (const auto* arc = dynamic_cast<const host::db::Arc*>(e.get())) {
            sideCode = ArcLeadPoints(arc->center(), arc->radius(), arc->startAngle(), side, leads);
        } else if (const auto* circle = dynamic_cast<const host::db::Circle*>(e.get())) {
            sideCode = CircleLeadPoints(circle->center(), circle->radius(), side, leads);
        } else {
            return 1;
        }
        return 0;
    }
}

double SnapPickToEntity(ObjectId entity, const Point3d& picked, Point3d& snapped, bool& onEntity) {
    ObjectPtr<host::db::Entity> e(entity, OpenMode::Read);
    onEntity = false;
    if (!e) return -1.0;
    if (const auto* line = dynamic_cast<const host::db::Line*>(e.get())) {
        const Point3d a = line->start(), b = line->end();
        const double length2 = (b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y);
        double t = length2 > 0.0 ? ((picked.x - a.x) * (b.x - a.x) + (picked.y - a.y) * (b.y - a.y)) / length2 : 0.0;
        onEntity = t >= 0.0 && t <= 1.0;
        t = std::clamp(t, 0.0, 1.0);
        snapped = Point3d(a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z);
    } else if (const auto* arc = dynamic_cast<const host::db::Arc*>(e.get())) {
        snapped = host::ge::polarPoint(arc->center(), host::ge::angleFromTo(arc->center(), picked), arc->radius());
        onEntity = true;
    } else if (const auto* circle = dynamic_cast<const host::db::Circle*>(e.get())) {
        snapped =
            host::ge::polarPoint(circle->center(), host::ge::angleFromTo(circle->center(), picked), circle->radius());
        onEntity = true;
    } else {
        return -1.0;
    }
    return std::hypot(picked.x - snapped.x, picked.y - snapped.y);
}

int SelectEntitiesAtPoint(const Point3d& point, host::db::EntityName& set) {
    const host::db::Database* db = host::db::workingDatabase();
    if (db == nullptr) return 0;
    std::vector<ObjectId> ids;
    {
        ObjectPtr<host::db::BlockTableRecord> space(db->modelSpaceId(), OpenMode::Read);
        if (!space) return 0;
        ids = space->entityIds();
    }
    int count = 0;
    for (ObjectId id : ids) {
        Point3d start, end;
        {
            ObjectPtr<host::db::Entity> e(id, OpenMode::Read);
            if (!e) continue;
            if (const auto* line = dynamic_cast<const host::db::Line*>(e.get())) {
                start = line->start(), end = line->end();
            } else if (const auto* arc = dynamic_cast<const host::db::Arc*>(e.get())) {
                start = arc->startPoint(), end = arc->endPoint();
            } else if (const auto* circle = dynamic_cast<const host::db::Circle*>(e.get())) {
                start = end = circle->center() + host::ge::Vector3d(circle->radius(), 0.0, 0.0);
            } else if (const auto* p = dynamic_cast<const host::db::PointEntity*>(e.get())) {
                start = end = p->position();
            } else {
                continue;
            }
        }
        if (!start.isEqualTo(point) && !end.isEqualTo(point)) continue;
        const host::db::EntityName name = host::db::idToName(id);
        host::db::EntityName grown;
        if (host::ed::ssAdd(&name, count == 0 ? nullptr : &set, grown) != host::db::RTNORM) continue;
        set = grown;
        ++count;
    }
    return count;
}

int PickProcessedContourGroup(std::string& groupName) {
    for (;;) {
        host::db::EntityName picked;
        Point3d at;
        if (host::ed::entSel(Localized(kChooseProcessedContourPrompt), picked, at) != host::db::RTNORM) {
            int errnoValue = 0;
            GetSysVarInt("ERRNO", errnoValue);
            if (errnoValue == kErrnoNothingHit) continue;
            return 1;
        }
        const ObjectId id = host::db::nameToId(picked);
        {
            ObjectPtr<host::db::Entity> e(id, OpenMode::Read);
            if (!e || e->layer() != kPathLayer) return 1;
        }
        const CuttingJob* job = CurrentJob(LaserSettings());
        if (job == nullptr) return 1;
        for (int n = 1; n <= job->pathGroupCount; ++n) {
            const std::string name = FormatPathGroupName(static_cast<unsigned>(n));
            if (PathGroupHasMember(name, id)) {
                groupName = name;
                return 0;
            }
        }
        return 1;
    }
}

int ResetCamLayerEntityStyles() {
    const host::db::Database* db = host::db::workingDatabase();
    if (db == nullptr) return 0;
    std::vector<ObjectId> ids;
    {
        ObjectPtr<host::db::BlockTableRecord> space(db->modelSpaceId(), OpenMode::Read);
        if (!space) return 0;
        ids = space->entityIds();
    }
    const int heatColour = ColourIndexOf(LaserSettings().ColorHeatTreatmentLine);
    for (ObjectId id : ids) {
        ObjectPtr<host::db::Entity> e(id, OpenMode::Write);
        if (!e) continue;
        const std::string layer = e->layer();
        if (layer == "NoCloseLine" || layer == "EngraveLine" || layer == "EngraveAndMarkLine" || layer == "MarkLine" ||
            layer == "NoLeadIn" || layer == "CommonLine" || layer == "InsideCutLine") {
            e->setLinetype("ByLayer");
            e->setColorIndex(256);
        } else if (layer == "HeatTreatmentLine") {
            e->setLinetype("Continuous");
            if (heatColour >= 0) e->setColorIndex(heatColour);
        } else if (layer == "JumperLine") {
            if (e->setLinetype("JumperLine") != host::db::Status::Ok) e->setLinetype("ByLayer");
            e->setColorIndex(256);
        }
    }
    return 0;
}
