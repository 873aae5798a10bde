// The corner loop: the side of the part at a corner, the corner's angle, the extensions and the loop arcs.
#include "cadlib/corner_loops.h"

#include "cadlib/angles.h"
#include "cadlib/point_in_contour.h"
#include "cadlib/polyline_contour.h"
#include "host/ge/angle.h"

using cadlib::kHalfPi;
using cadlib::kPi;
using cadlib::kTwoPi;
using host::ge::angleFromTo;
using host::ge::Point3d;
using host::ge::polarPoint;

namespace {

// How far from the corner the bisector is probed for the side of the part.
constexpr double kSideProbe = 0.01;

double normalized(double angle) {
    NormalizeAngle(angle);
    return angle;
}

}  // namespace

int BuildCornerLoop(const host::db::LwPolyline& polyline, const Point3d& referenceA, const Point3d& referenceB,
                    int placement, int startIndex, int segment, int reverse, double angleLimit, double extension,
                    double loopRadius, double& radiusUsed, Point3d& corner, Point3d& overshoot, Point3d& centre1,
                    Point3d& arc1First, Point3d& arc1Second, Point3d& straightStart, Point3d& straightEnd,
                    Point3d& centre2, Point3d& arc2First, Point3d& arc2Second, Point3d& back, Point3d& cornerAgain) {
    radiusUsed = 0.0;
    if (startIndex == -1 && referenceA.x == referenceB.x && referenceA.y == referenceB.y) return 0;

    // The corner and its two segments in vertex order.
    const int n = static_cast<int>(polyline.numVerts());
    const int segments = static_cast<int>(polyline.numSegments());
    if (n < 2 || segment < 0 || segment >= segments) return 0;
    const int v = reverse == 0 ? segment : (segment + 1) % n;
    const int before = v == 0 ? segments - 1 : v - 1;
    const int after = v;
    if (after >= segments || before < 0) return 0;  // an open polyline's end has no corner
    Point3d vertex;
    polyline.getPointAt(static_cast<unsigned>(v), vertex);
    if (vertex.x == referenceA.x && vertex.y == referenceA.y) return 0;

    double dPrev = 0.0, dNext = 0.0;
    int isLine = 0;
    if (GetSegmentDirectionAtPoint(polyline, before, vertex, dPrev, isLine) != 0) return 0;
    if (GetSegmentDirectionAtPoint(polyline, after, vertex, dNext, isLine) != 0) return 0;
    dPrev = normalized(dPrev);
    dNext = normalized(dNext);

    // beta: the bisector, turned to point into the part's side of the corner.
    const double bisector = normalized(dNext + (dPrev - dNext) / 2.0);
    const bool probeOutside = IsPointOutsidePolyline(polarPoint(vertex, bisector, kSideProbe), polyline) == 1;
    const bool turn = placement == kOuterContour ? probeOutside : !probeOutside;
    const double beta = normalized(turn ? bisector + kPi : bisector);

    // The corner's angle on the part's side.
    double theta = normalized(dPrev - dNext);
    if (normalized(beta - dNext) > theta) theta = kTwoPi - theta;
    if (theta / cadlib::kRadiansPerDegree > angleLimit) return 0;

    // The extensions, on the scrap side.
    const double loopSide = normalized(beta + kPi);
    const double u1 = normalized((reverse == 0 ? dPrev : dNext) + kPi);
    const double u2 = normalized((reverse == 0 ? dNext : dPrev) + kPi);
    const Point3d e1 = polarPoint(vertex, u1, extension);
    const Point3d e2 = polarPoint(vertex, u2, extension);
    corner = vertex;
    cornerAgain = vertex;
    overshoot = e1;
    back = e2;
    straightStart = e1;
    straightEnd = e2;

    double r = loopRadius;
    if (r <= 0.0) return 1;
    const double span = e1.distanceTo(e2);
    if (4.0 * r > span) {
        if (span <= 2.0 * r) return 1;
        r /= 2.0;
    }
    radiusUsed = r;

    // Arcs turning towards the loop's side, joined by their outer common tangent.
    const bool e2CounterClockwise = normalized(loopSide - u1) < kPi;
    const double side = e2CounterClockwise ? kHalfPi : -kHalfPi;
    const Point3d l1 = polarPoint(e1, u1 + side, r);
    const Point3d l2 = polarPoint(e2, u2 - side, r);
    const double a = angleFromTo(l1, l2);
    const Point3d t1 = polarPoint(l1, a - side, r);
    const Point3d t2 = polarPoint(l2, a - side, r);
    centre1 = l1;
    centre2 = l2;
    if (e2CounterClockwise) {
        arc1First = e1, arc1Second = t1;
        arc2First = t2, arc2Second = e2;
    } else {
        arc1First = t1, arc1Second = e1;
        arc2First = e2, arc2Second = t2;
    }
    straightStart = t1;
    straightEnd = t2;
    return 1;
}
