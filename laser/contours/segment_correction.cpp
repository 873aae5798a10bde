// Repairs of lightweight polylines: closing nearly closed ones, removing short arcs, straightening flat arcs and
// smoothing nearly straight runs.
#include "laser/contours/segment_correction.h"

#include <cmath>

#include "cadlib/angles.h"
#include "cadlib/line_intersections.h"
#include "cadlib/messages.h"
#include "cadlib/numbers.h"
#include "host/ge/curve.h"
#include "laser/settings/laser_settings.h"

using host::db::LwPolyline;
using host::db::Status;
using host::ge::Point2d;
using host::ge::Point3d;

namespace {

const TwoLanguageText kBigRadius = {
    ">> Big Radius=%.1f Start=%.3f,%.3f End=%.3f,%.3f Center=%.3f,%.3f\n\r",
    ">> Большой радиус=%.1f Начало=%.3f,%.3f Конец=%.3f,%.3f Центр=%.3f,%.3f\n\r",
};

Point3d VertexPoint(const LwPolyline& polyline, unsigned i) {
    Point2d p;
    polyline.getPointAt(i, p);
    return Point3d(p.x, p.y, 0.0);
}

double BulgeAt(const LwPolyline& polyline, unsigned i) {
    double bulge = 0.0;
    polyline.getBulgeAt(i, bulge);
    return bulge;
}

// The angle of the direction from p to q, in [0, 2*pi).
double AngleOf(const Point3d& p, const Point3d& q) { return (q - p).to2d().angle(); }

double Distance(const Point3d& p, const Point3d& q) { return Distance2d(p.x, p.y, q.x, q.y); }

// Closes an open polyline whose ends lie within the joining distance of each other, moving the last vertex
// onto the first. A polyline of one arc is left open: moved so, the arc would begin and end at one point and
// nothing of it would be cut (its piece is read as the circle it nearly is).
void CloseNearlyClosed(LwPolyline& polyline) {
    const unsigned n = polyline.numVerts();
    if (polyline.isClosed() || n < 2) return;
    if (n == 2 && BulgeAt(polyline, 0) != 0.0) return;
    const double dist = LaserSettings().AutoConnectDist;
    Point2d first, last;
    polyline.getPointAt(0, first);
    polyline.getPointAt(n - 1, last);
    if (std::fabs(first.x - last.x) <= dist && std::fabs(first.y - last.y) <= dist) {
        polyline.setPointAt(n - 1, first);
        polyline.setClosed(true);
    }
}

// Whether vertex k of a straight run from p (direction `direction`, length `length`) may be dropped.
bool RunVertexAcceptable(const LwPolyline& polyline, const Point3d& p, double direction, double length, unsigned k,
                         double minSize, double maxDeviation) {
    const Point3d vk = VertexPoint(polyline, k);
    Point3d foot;
    double deviation = 0.0;
    if (IntersectLinesByAngle(p, direction, vk, direction + cadlib::kHalfPi, foot) == kLinesCross) {
        deviation = Distance(vk, foot);
    }
    double a2 = AngleOf(p, vk) - direction;
    NormalizeAngle(a2);
    double a1 = AngleOf(VertexPoint(polyline, k - 1), vk) - direction;
    NormalizeAngle(a1);
    if (length < minSize && a1 < kSmoothTurnLimit) return true;
    return deviation <= maxDeviation && a2 < kSmoothTurnLimit && a1 < kSmoothTurnLimit;
}

}  // namespace

void CorrectPolylineSegments(LwPolyline& polyline, std::uint8_t status, double minSize, double minHeight,
                             int printFlag) {
    CloseNearlyClosed(polyline);
    if (status == 0) return;

    unsigned n = polyline.numVerts();
    double removed = 0.0;  // length of the run of short arcs removed so far
    unsigned i = 0;
    while (i < n) {
        const double bulge = BulgeAt(polyline, i);
        host::ge::CircArc2d arc;
        // A straight segment, the bulge of an open polyline's last vertex (which starts no segment) and an arc
        // whose ends coincide are passed over.
        if (bulge == 0.0 || polyline.getArcSegAt(i, arc) != Status::Ok) {
            ++i;
            continue;
        }
        const Point2d start = arc.startPoint(), end = arc.endPoint();
        const double r = arc.radius;
        const double length = arc.sweep() * r;
        const double height = std::fabs(bulge) * arc.center.distanceTo(start) / 2.0;
        if (removed <= 0.0) {
            if (length < minSize) {
                polyline.removeVertexAt(i);
                --n;
                if (i >= n) break;
                removed += length;
            } else if (height <= minHeight) {
                polyline.setBulgeAt(i, 0.0);
                ++i;
            } else {
                if (r > kBigArcRadius && printFlag != kCorrectionSilent) {
                    PrintLocalized(kBigRadius, r, start.x, start.y, end.x, end.y, arc.center.x, arc.center.y);
                }
                ++i;
            }
        } else if (length + removed <= minSize) {
            polyline.removeVertexAt(i);
            --n;
            removed += length;
        } else {
            removed = 0.0;
            ++i;
        }
    }
}

void SmoothPolyline(LwPolyline& polyline, std::uint8_t enable, double minSize, double maxDeviation) {
    if (enable == 0) return;
    unsigned n = polyline.numVerts();

    // Flat arcs become straight.
    for (unsigned i = 0; i < n; ++i) {
        const double bulge = BulgeAt(polyline, i);
        if (bulge == 0.0) continue;
        const double chord = Distance(VertexPoint(polyline, i), VertexPoint(polyline, i + 1 < n ? i + 1 : 0));
        if (chord <= minSize || std::fabs(bulge * chord / 2.0) <= maxDeviation) polyline.setBulgeAt(i, 0.0);
    }

    // Nearly straight runs lose their inner vertices.
    for (unsigned i = 0; i < n; ++i) {
        // A run is made of straight segments only: its first inner vertex must not start an arc either, or the
        // arc would be replaced by the straight line from i (candidates further on are checked as they come).
        if (BulgeAt(polyline, i) != 0.0 || i + 1 >= n || BulgeAt(polyline, i + 1) != 0.0) continue;
        const Point3d p = VertexPoint(polyline, i);
        unsigned accepted = 0;
        for (unsigned j = i + 2; j < n; ++j) {
            if (BulgeAt(polyline, j) != 0.0) break;
            const Point3d q = VertexPoint(polyline, j);
            const double direction = AngleOf(p, q);
            const double length = Distance(p, q);
            bool all = true;
            for (unsigned k = i + 1; k < j && all; ++k) {
                all = RunVertexAcceptable(polyline, p, direction, length, k, minSize, maxDeviation);
            }
            if (!all) break;
            accepted = j;
        }
        if (accepted == 0) continue;
        for (unsigned k = i + 1; k < accepted; ++k) polyline.removeVertexAt(i + 1);
        n -= accepted - i - 1;
    }
}
