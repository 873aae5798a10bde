// The point-in-contour test: circles by distance, polylines by the parity of a bounded search for a clean ray.
#include "cadlib/point_in_contour.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "cadlib/angles.h"
#include "cadlib/circle_intersections.h"
#include "cadlib/line_intersections.h"
#include "cadlib/numbers.h"
#include "cadlib/point_equality.h"
#include "cadlib/polyline_segments.h"
#include "cadlib/segment_box.h"
#include "host/db/database.h"
#include "host/ge/angle.h"

using host::ge::Point3d;

namespace {

constexpr double kRayLength = 9999999.99;
constexpr double kRayBaseStep = 0.008;
constexpr double kRayStepIncrement = 0.001;
constexpr int kRayStepCycle = 15;

bool samePoint(const Point3d& a, const Point3d& b) { return PointsDifferAtPrecision(a, b, kPathPointPrecision) == 0; }

// The crossings of one ray with one segment: 0 or more, or nullopt when the ray passes through an end point or
// touches.
std::optional<int> segmentCrossings(const Point3d& from, const Point3d& rayEnd,
                                    const cadlib::detail::ContourSegment& s) {
    Point3d end = rayEnd;
    if (!s.isArc) {
        Point3d segEnd = s.end, crossing;
        if (IntersectSegments(from, end, s.start, segEnd, crossing) != kIntersectOne) return 0;
        if (samePoint(crossing, s.start) || samePoint(crossing, s.end)) return std::nullopt;
        return 1;
    }
    Point3d p1, p2;
    const int n = IntersectSegmentArc(from, end, s.centre, s.radius, s.ccwFirst, s.ccwSecond, p1, p2);
    if (n == kIntersectNone) return 0;
    if (n == kIntersectTouch) return std::nullopt;
    const Point3d* points[] = {&p1, &p2};
    for (int k = 0; k < n; ++k) {
        if (samePoint(*points[k], s.ccwFirst) || samePoint(*points[k], s.ccwSecond)) return std::nullopt;
    }
    return n;
}

// The crossings of one ray with the polyline, or nullopt when the ray passes through an end point or touches.
std::optional<int> countCrossings(const Point3d& from, const Point3d& rayEnd, const host::db::LwPolyline& polyline) {
    int count = 0;
    const unsigned segments = cadlib::detail::contourSegmentCount(polyline, true);
    for (unsigned j = 0; j < segments; ++j) {
        const std::optional<cadlib::detail::ContourSegment> s = cadlib::detail::contourSegment(polyline, j, true);
        if (!s) continue;
        const std::optional<int> n = segmentCrossings(from, rayEnd, *s);
        if (!n) return std::nullopt;
        count += *n;
    }
    return count;
}

// The ray search of LocatePointInPolyline, with `crossings(from, rayEnd)` counting one ray.
template <class CountRay>
ContourPointLocation locateByRays(const Point3d& point, CountRay crossingsOf) {
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
        const std::optional<int> crossings = crossingsOf(from, rayEnd);
        if (!crossings) continue;
        return *crossings % 2 == 0 ? ContourPointLocation::Outside : ContourPointLocation::Inside;
    }
}

int outsideAnswer(ContourPointLocation where) { return where == ContourPointLocation::Outside ? 1 : 0; }

int circleAnswer(const Point3d& point, const host::db::Circle& circle) {
    const Point3d c = circle.center();
    return Distance2d(point.x, point.y, c.x, c.y) >= circle.radius() ? 1 : 0;
}

}  // namespace

ContourPointLocation LocatePointInPolyline(const Point3d& point, const host::db::LwPolyline& polyline) {
    return locateByRays(point, [&](const Point3d& from, const Point3d& rayEnd) {
        return countCrossings(from, rayEnd, polyline);
    });
}

int IsPointOutsidePolyline(const Point3d& point, const host::db::LwPolyline& polyline) {
    return outsideAnswer(LocatePointInPolyline(point, polyline));
}

// ============================================================================================================
// PolylinePointLocator
// ============================================================================================================

namespace {

// Straight segments in a leaf at most.
constexpr std::size_t kLocatorLeafSegments = 4;
// How far a crossing may stand outside a segment's box and still count: IsPointInSegmentBox rounds to this grid.
constexpr double kCrossingBoxSlack = 2.0 / static_cast<double>(kSegmentBoxGrid);
// A ray steeper than this (as x change over y change) is tested against every segment: IntersectSegments snaps
// nearly vertical lines, and the line it then uses is not the ray's.
constexpr double kSteepRay = 1e-6;

struct Box {
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
    void add(const Box& o) {
        minX = std::min(minX, o.minX);
        minY = std::min(minY, o.minY);
        maxX = std::max(maxX, o.maxX);
        maxY = std::max(maxY, o.maxY);
    }
};

Box boxOf(const Point3d& a, const Point3d& b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// A ray's line, and how far from it a crossing that IntersectSegments computes can stand: its slope-intercept
// arithmetic puts the crossing on the ray's line within rounding of the ray's largest terms, taken here a
// thousand times over.
struct RayLine {
    bool prunes = false;
    Point3d from;
    double nx = 0.0, ny = 0.0, margin = 0.0;
    Box box;

    RayLine(const Point3d& a, const Point3d& b) : from(a), box(boxOf(a, b)) {
        const double dx = b.x - a.x, dy = b.y - a.y;
        if (!(std::fabs(dx) >= kSteepRay * std::fabs(dy))) return;
        const double length = std::sqrt(dx * dx + dy * dy);
        if (!(length > 0.0) || !std::isfinite(length)) return;
        const double slope = std::fabs(dy / dx);
        const double x = std::max(std::fabs(a.x), std::fabs(b.x)), y = std::max(std::fabs(a.y), std::fabs(b.y));
        margin = kCrossingBoxSlack + 1e-12 * (2.0 * slope * x + 2.0 * y);
        nx = -dy / length;
        ny = dx / length;
        prunes = std::isfinite(margin);
    }
    // True when no crossing can lie in the box: it is apart from the ray's box, or wholly on one side of its line.
    bool misses(const Box& b) const {
        if (!prunes) return false;
        if (b.minX > box.maxX + margin || box.minX > b.maxX + margin || b.minY > box.maxY + margin ||
            box.minY > b.maxY + margin)
            return true;
        const double corners[4][2] = {{b.minX, b.minY}, {b.maxX, b.minY}, {b.maxX, b.maxY}, {b.minX, b.maxY}};
        int above = 0, below = 0;
        for (const auto& c : corners) {
            const double d = nx * (c[0] - from.x) + ny * (c[1] - from.y);
            if (d > margin) ++above;
            else if (d < -margin) ++below;
        }
        return above == 4 || below == 4;
    }
};

}  // namespace

struct PolylinePointLocator::Tree {
    // A node: segments first .. last - 1 in the polyline's order, the box of their straight ones, and whether an
    // arc is among them (arcs are never ruled out).
    struct Node {
        Box box;
        bool anyStraight = false, anyArc = false;
        std::size_t first = 0, last = 0;
        int left = -1, right = -1;
    };
    std::vector<cadlib::detail::ContourSegment> segments;
    std::vector<Box> boxes;
    std::vector<Node> nodes;

    int build(std::size_t first, std::size_t last) {
        Node n;
        n.first = first;
        n.last = last;
        for (std::size_t i = first; i < last; ++i) {
            if (segments[i].isArc) {
                n.anyArc = true;
            } else if (!n.anyStraight) {
                n.box = boxes[i];
                n.anyStraight = true;
            } else {
                n.box.add(boxes[i]);
            }
        }
        const int at = static_cast<int>(nodes.size());
        nodes.push_back(n);
        if (last - first > kLocatorLeafSegments) {
            const std::size_t middle = first + (last - first) / 2;
            const int left = build(first, middle);
            const int right = build(middle, last);
            nodes[static_cast<std::size_t>(at)].left = left;
            nodes[static_cast<std::size_t>(at)].right = right;
        }
        return at;
    }

    // Adds the crossings of the ray with the segments under `node` to `count`; false when the ray passes through
    // an end point or touches (the ray is then dropped whatever the other segments give).
    bool crossings(int node, const Point3d& from, const Point3d& rayEnd, const RayLine& line, int& count) const {
        const Node& n = nodes[static_cast<std::size_t>(node)];
        if (!n.anyArc && (!n.anyStraight || line.misses(n.box))) return true;
        if (n.left < 0) {
            for (std::size_t i = n.first; i < n.last; ++i) {
                if (!segments[i].isArc && line.misses(boxes[i])) continue;
                const std::optional<int> k = segmentCrossings(from, rayEnd, segments[i]);
                if (!k) return false;
                count += *k;
            }
            return true;
        }
        return crossings(n.left, from, rayEnd, line, count) && crossings(n.right, from, rayEnd, line, count);
    }
};

PolylinePointLocator::PolylinePointLocator(const host::db::LwPolyline& polyline) : tree_(std::make_unique<Tree>()) {
    const unsigned count = cadlib::detail::contourSegmentCount(polyline, true);
    for (unsigned j = 0; j < count; ++j) {
        if (const auto s = cadlib::detail::contourSegment(polyline, j, true)) {
            tree_->segments.push_back(*s);
            tree_->boxes.push_back(boxOf(s->start, s->end));
        }
    }
    if (!tree_->segments.empty()) tree_->build(0, tree_->segments.size());
}

PolylinePointLocator::~PolylinePointLocator() = default;

ContourPointLocation PolylinePointLocator::Locate(const Point3d& point) const {
    return locateByRays(point, [&](const Point3d& from, const Point3d& rayEnd) -> std::optional<int> {
        if (tree_->nodes.empty()) return 0;
        int count = 0;
        if (!tree_->crossings(0, from, rayEnd, RayLine(from, rayEnd), count)) return std::nullopt;
        return count;
    });
}

int PolylinePointLocator::IsOutside(const Point3d& point) const { return outsideAnswer(Locate(point)); }

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
