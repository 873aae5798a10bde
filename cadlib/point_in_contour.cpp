// The point-in-contour test: circles by distance, polylines by the parity of a bounded search for a clean ray.
#include "cadlib/point_in_contour.h"

#include <optional>

#include "cadlib/angles.h"
#include "cadlib/circle_intersections.h"
#include "cadlib/line_intersections.h"
#include "cadlib/numbers.h"
#include "cadlib/point_equality.h"
#include "cadlib/polyline_segments.h"
#include "host/db/database.h"
#include "host/ge/angle.h"

using host::ge::Point3d;

namespace {

constexpr double kRayLength = 9999999.99;
constexpr double kRayBaseStep = 0.008;
constexpr double kRayStepIncrement = 0.001;
constexpr int kRayStepCycle = 15;

bool samePoint(const Point3d& a, const Point3d& b) { return PointsDifferAtPrecision(a, b, kPathPointPrecision) == 0; }

// The crossings of one ray with the polyline, or nullopt when the ray passes through an end point or touches.
std::optional<int> countCrossings(const Point3d& from, const Point3d& rayEnd, const host::db::LwPolyline& polyline) {
    int count = 0;
    Point3d end = rayEnd;
    const unsigned segments = cadlib::detail::contourSegmentCount(polyline, true);
    for (unsigned j = 0; j < segments; ++j) {
        const std::optional<cadlib::detail::ContourSegment> s = cadlib::detail::contourSegment(polyline, j, true);
        if (!s) continue;
        if (!s->isArc) {
            Point3d segEnd = s->end, crossing;
            if (IntersectSegments(from, end, s->start, segEnd, crossing) != kIntersectOne) continue;
            if (samePoint(crossing, s->start) || samePoint(crossing, s->end)) return std::nullopt;
            ++count;
            continue;
        }
        Point3d p1, p2;
        const int n = IntersectSegmentArc(from, end, s->centre, s->radius, s->ccwFirst, s->ccwSecond, p1, p2);
        if (n == kIntersectNone) continue;
        if (n == kIntersectTouch) return std::nullopt;
        const Point3d* points[] = {&p1, &p2};
        for (int k = 0; k < n; ++k) {
            if (samePoint(*points[k], s->ccwFirst) || samePoint(*points[k], s->ccwSecond)) return std::nullopt;
        }
        count += n;
    }
    return count;
}

int outsideAnswer(ContourPointLocation where) { return where == ContourPointLocation::Outside ? 1 : 0; }

int circleAnswer(const Point3d& point, const host::db::Circle& circle) {
    const Point3d c = circle.center();
    return Distance2d(point.x, point.y, c.x, c.y) >= circle.radius() ? 1 : 0;
}

}  // namespace

ContourPointLocation LocatePointInPolyline(const Point3d& point, const host::db::LwPolyline& polyline) {
    const Point3d from{point.x, point.y, 0.0};
    double angle = 0.0;
    double turned = 0.0;
    int step = 1;
    for (;;) {
        const double advance = kRayBaseStep + step * kRayStepIncrement;
        turned += advance;
        if (turned > cadlib::kTwoPi) return ContourPointLocation::OnContour;
        angle += advance;
        step = step == kRayStepCycle ? 1 : step + 1;
        if (angle > cadlib::kTwoPi) angle -= cadlib::kTwoPi;
        const Point3d rayEnd = host::ge::polarPoint(from, angle, kRayLength);
        const std::optional<int> crossings = countCrossings(from, rayEnd, polyline);
        if (!crossings) continue;
        return *crossings % 2 == 0 ? ContourPointLocation::Outside : ContourPointLocation::Inside;
    }
}

int IsPointOutsidePolyline(const Point3d& point, const host::db::LwPolyline& polyline) {
    return outsideAnswer(LocatePointInPolyline(point, polyline));
}

namespace {

// Opens the entity for read as its kind says and answers the test; -1 when it cannot be opened as that kind.
int testContour(const Point3d& point, int kind, host::db::ObjectId id) {
    if (kind == kContourShapeCircle) {
        host::db::ObjectPtr<host::db::Circle> circle(id, host::db::OpenMode::Read);
        return circle ? circleAnswer(point, *circle) : -1;
    }
    host::db::ObjectPtr<host::db::LwPolyline> polyline(id, host::db::OpenMode::Read);
    return polyline ? IsPointOutsidePolyline(point, *polyline) : -1;
}

}  // namespace

int IsPointOutsideContourByHandle(const Point3d& point, int kind, host::db::Handle handle) {
    host::db::Database* db = host::db::workingDatabase();
    if (!db) return -1;
    return testContour(point, kind, db->idFromHandle(handle));
}

int IsPointOutsideContourByName(const Point3d& point, int kind, const host::db::EntityName& name) {
    return testContour(point, kind, host::db::nameToId(name));
}
