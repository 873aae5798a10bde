// Breaking drawn contours for bridges.
#include "laser/path/bridges.h"

#include <algorithm>
#include <cmath>
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
#include "laser/job/drawing_slot.h"

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

// Points along segment i of a polyline, its arcs as short chords: enough to tell which way round is shorter.
std::vector<Point3d> SegmentPoints(const host::db::LwPolyline& polyline, unsigned i) {
    constexpr int kArcSteps = 64;
    const unsigned n = polyline.numVerts();
    Point3d a, b;
    polyline.getPointAt(i, a);
    polyline.getPointAt((i + 1) % n, b);
    double bulge = 0.0;
    polyline.getBulgeAt(i, bulge);
    if (bulge == 0.0 || a.isEqualTo(b)) return {a, b};
    // The included angle is 4 atan(bulge), turning left for a positive bulge.
    const double sweep = 4.0 * std::atan(bulge);
    const double chord = a.distanceTo(b);
    const double radius = chord / (2.0 * std::sin(std::abs(sweep) / 2.0));
    const double toCentre = host::ge::angleFromTo(a, b) + (sweep > 0 ? 1.0 : -1.0) * (host::ge::kHalfPi - std::abs(sweep) / 2.0);
    const Point3d centre = host::ge::polarPoint(a, toCentre, radius);
    const double start = host::ge::angleFromTo(centre, a);
    std::vector<Point3d> points;
    for (int k = 0; k <= kArcSteps; ++k) points.push_back(host::ge::polarPoint(centre, start + sweep * k / kArcSteps, radius));
    return points;
}

// How far along the closed polyline (from its first vertex, in vertex order) the point of it nearest `p` lies, and
// the whole length round.
double DistanceAlong(const host::db::LwPolyline& polyline, const Point3d& p, double& perimeter) {
    double travelled = 0.0, best = 0.0, bestGap = 1e300;
    for (unsigned i = 0; i < polyline.numVerts(); ++i) {
        const std::vector<Point3d> points = SegmentPoints(polyline, i);
        for (std::size_t k = 1; k < points.size(); ++k) {
            const Point3d &a = points[k - 1], &b = points[k];
            const double length = a.distanceTo(b);
            double t = 0.0;
            if (length > 0.0) {
                t = ((p.x - a.x) * (b.x - a.x) + (p.y - a.y) * (b.y - a.y)) / (length * length);
                t = std::clamp(t, 0.0, 1.0);
            }
            const Point3d q(a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), 0.0);
            const double gap = std::hypot(p.x - q.x, p.y - q.y);
            if (gap < bestGap) {
                bestGap = gap;
                best = travelled + t * length;
            }
            travelled += length;
        }
    }
    perimeter = travelled;
    return best;
}

// Breaks the entity between the strip's edges. A closed curve loses the shorter piece between them: the host
// removes the part counter-clockwise (a closed polyline: in its vertex order) from the first point to the second,
// so the points are given in the order that makes that part the short one. Anything else loses the piece from left
// to right.
void BreakAtStrip(const StripCrossing& crossing) {
    Point3d first = crossing.left, second = crossing.right;
    bool shortWayIsBackwards = false;
    if (ObjectPtr<host::db::Circle> circle(crossing.entity, OpenMode::Read); circle) {
        const double d = host::ge::normalizeAngle(host::ge::angleFromTo(circle->center(), crossing.right) -
                                                  host::ge::angleFromTo(circle->center(), crossing.left));
        shortWayIsBackwards = d > host::ge::kPi;
    } else if (ObjectPtr<host::db::LwPolyline> polyline(crossing.entity, OpenMode::Read);
               polyline && polyline->isClosed()) {
        double perimeter = 0.0;
        const double from = DistanceAlong(*polyline, crossing.left, perimeter);
        const double to = DistanceAlong(*polyline, crossing.right, perimeter);
        double forward = to - from;
        if (forward < 0.0) forward += perimeter;
        shortWayIsBackwards = forward > perimeter / 2.0;
    }
    if (shortWayIsBackwards) std::swap(first, second);
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
    const double halfWidth = SettingLength(settings, settings.BridgeWidth) / 2.0;
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
