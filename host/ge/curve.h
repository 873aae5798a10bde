// Segments and circular arcs of the plane: the pieces polylines and contours are made of.
#pragma once

#include <optional>

#include "host/ge/point.h"

namespace host::ge {

struct LineSeg2d {
    Point2d start, end;

    double length() const { return start.distanceTo(end); }
    Point2d midPoint() const { return {(start.x + end.x) / 2, (start.y + end.y) / 2}; }
    Vector2d direction() const { return end - start; }
};

// A circular arc from startAngle to endAngle (radians, [0, 2*pi)), counter-clockwise unless `clockwise`.
// A full circle has equal angles and `full` set.
struct CircArc2d {
    Point2d center;
    double radius = 0.0;
    double startAngle = 0.0;
    double endAngle = 0.0;
    bool clockwise = false;
    bool full = false;

    Point2d startPoint() const;
    Point2d endPoint() const;
    Point2d pointAtAngle(double angle) const;
    // The swept angle, positive, in (0, 2*pi].
    double sweep() const;
    double length() const { return radius * sweep(); }
    // True when angle lies on the arc's sweep (ends included, within the tolerance as a distance on the arc).
    bool containsAngle(double angle, const Tolerance& tol = globalTolerance()) const;

    // The arc of a polyline segment from start to end with the given bulge (tan of a quarter of the included
    // angle; negative bulges run clockwise). nullopt for a zero bulge or coincident ends.
    static std::optional<CircArc2d> fromBulge(const Point2d& start, const Point2d& end, double bulge);
    // The arc through three points, running from a through b to c. nullopt when they are collinear.
    static std::optional<CircArc2d> fromThreePoints(const Point2d& a, const Point2d& b, const Point2d& c);
    // Counter-clockwise arc from centre, radius and angles.
    static CircArc2d fromCenter(const Point2d& center, double radius, double startAngle, double endAngle);
    // The bulge that reproduces this arc between its end points.
    double bulge() const;
};

}  // namespace host::ge
