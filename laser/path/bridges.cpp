// Breaking drawn contours for bridges.
#include "laser/path/bridges.h"

#include <vector>

#include "cadlib/entity_creation.h"
#include "cadlib/host_variables.h"
#include "cadlib/messages.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/resbuf.h"
#include "host/ed/command.h"
#include "host/ed/prompts.h"
#include "host/ed/selection.h"
#include "host/ge/angle.h"
#include "laser/job/job_life_cycle.h"
#include "laser/path/path_editing_messages.h"
#include "laser/path/path_groups.h"
#include "laser/settings/laser_settings.h"

using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::ResBuf;
using host::ge::Point3d;

namespace {

constexpr int kErrnoNothingHit = 7;

// One place where the strip crosses a drawn entity: on the fence line and on the strip's two edges.
struct StripCrossing {
    ObjectId entity;
    Point3d centre, left, right;
};

// Takes from `points` the one nearest `from` (the first of equal distances).
Point3d TakeNearest(std::vector<Point3d>& points, const Point3d& from) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (from.distanceTo(points[i]) < from.distanceTo(points[best])) best = i;
    }
    const Point3d p = points[best];
    points.erase(points.begin() + static_cast<std::ptrdiff_t>(best));
    return p;
}

// The crossings of the strip along p1-p2 with the entities `ids`, path lines left out: an entity crossed by the
// fence line and both edges gives one crossing per time the strip crosses it, nearer p1 first.
std::vector<StripCrossing> StripCrossings(const std::vector<ObjectId>& ids, const Point3d& p1, const Point3d& p2,
                                          double halfWidth) {
    const double a = host::ge::angleFromTo(p1, p2);
    const host::db::Line centre(p1, p2);
    const host::db::Line left(host::ge::polarPoint(p1, a + host::ge::kHalfPi, halfWidth),
                              host::ge::polarPoint(p2, a + host::ge::kHalfPi, halfWidth));
    const host::db::Line right(host::ge::polarPoint(p1, a - host::ge::kHalfPi, halfWidth),
                               host::ge::polarPoint(p2, a - host::ge::kHalfPi, halfWidth));
    std::vector<StripCrossing> out;
    for (ObjectId id : ids) {
        ObjectPtr<host::db::Entity> entity(id, OpenMode::Read);
        if (!entity || entity->layer() == kPathLayer) continue;
        std::vector<Point3d> c = entity->intersectWith(centre), l = entity->intersectWith(left),
                             r = entity->intersectWith(right);
        while (!c.empty() && c.size() == l.size() && c.size() == r.size()) {
            StripCrossing crossing{id, TakeNearest(c, p1), TakeNearest(l, p1), TakeNearest(r, p1)};
            out.push_back(crossing);
        }
    }
    return out;
}

// Breaks the entity between the strip's edges: a circle loses the shorter arc between them (the host removes the
// part counter-clockwise from the first point to the second), anything else the piece from left to right.
void BreakAtStrip(const StripCrossing& crossing) {
    Point3d first = crossing.left, second = crossing.right;
    {
        ObjectPtr<host::db::Circle> circle(crossing.entity, OpenMode::Read);
        if (circle) {
            const double d = host::ge::normalizeAngle(host::ge::angleFromTo(circle->center(), crossing.left) -
                                                      host::ge::angleFromTo(circle->center(), crossing.right));
            if (d <= host::ge::kPi) std::swap(first, second);
        }
    }
    host::ed::command({ResBuf(host::db::RTSTR, "_.break"), ResBuf(host::db::RTENAME, host::db::idToName(crossing.entity)),
                       ResBuf(host::db::RTSTR, "_f"), ResBuf(host::db::RT3DPOINT, first),
                       ResBuf(host::db::RT3DPOINT, second)});
}

// Draws and joins the crossings of one fence segment: each entity broken in the current layer, colour and line type
// of its own, and a pair of edge lines between each two consecutive crossings.
void BuildBridges(const std::vector<StripCrossing>& crossings) {
    for (const StripCrossing& c : crossings) {
        std::string layer = "0", linetype = "ByLayer";
        {
            ObjectPtr<host::db::Entity> entity(c.entity, OpenMode::Read);
            if (!entity) continue;
            layer = entity->layer();
            linetype = entity->linetype();
        }
        SetSysVarString("CECOLOR", "256");
        SetSysVarString("CLAYER", layer);
        SetSysVarString("CELTYPE", linetype);
        BreakAtStrip(c);
    }
    for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
        ObjectId edge;
        AddLine(edge, crossings[i].left, crossings[i + 1].left);
        AddLine(edge, crossings[i].right, crossings[i + 1].right);
    }
}

}  // namespace

int BreakContoursForBridge() {
    CLaserSettings& settings = LaserSettings();
    PrepareDrawingJob(settings);
    const double halfWidth = settings.BridgeWidth / 2.0;
    Point3d p1;
    if (host::ed::getPoint(nullptr, Localized(kFenceStartPrompt), p1) != host::db::RTNORM) return 0;
    for (;;) {
        Point3d p2;
        if (host::ed::getPoint(&p1, Localized(kFenceNextPrompt), p2) != host::db::RTNORM) return 0;
        host::db::EntityName set;
        if (host::ed::ssGet("_F", &p1, &p2, nullptr, set) != host::db::RTNORM) {
            int errnoValue = 0;
            GetSysVarInt("ERRNO", errnoValue);
            if (errnoValue == 0 || errnoValue == kErrnoNothingHit) continue;
            return 0;
        }
        const std::vector<ObjectId> crossed = host::ed::selectionIds(set);
        host::ed::ssFree(set);
        // A segment that crosses fewer than two entities keeps its start: the next point extends it.
        if (crossed.size() < 2) continue;
        const std::vector<StripCrossing> crossings = StripCrossings(crossed, p1, p2, halfWidth);
        if (!crossings.empty() && crossings.size() % 2 == 0) BuildBridges(crossings);
        PrintText("\n\r");
        p1 = p2;
    }
}
