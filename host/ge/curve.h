// Segments and circular arcs of the plane: the pieces polylines and contours are made of.
#pragma once

#include <optional>
#include <utility>

#include "host/ge/point.h"

namespace host::ge {

struct LineSeg2d {
    Point2d start, end;

    double length() const { return start.distanceTo(end); }
    Point2d midPoint() const { return {(start.x + end.x) / 2, (start.y + end.y) / 2}; }
    Vector2d direction() const { return end - start; }
    // The point at parameter t: 0 at start, 1 at end (any t, for the infinite line through the segment).
    Point2d pointAt(double t) const { return start + direction() * t; }
    // The parameter of p's foot on the line through the segment (0 at start, 1 at end); 0 for a zero-length
    // segment.
    double paramOf(const Point2d& p) const;
    // True when the ends coincide under the tolerance.
    bool isDegenerate(const Tolerance& tol = globalTolerance()) const { return length() <= tol.equalPoint; }
};

// A circular arc from startAngle to endAngle (radians, [0, 2*pi)), counter-clockwise unless `clockwise`.
// A full circle has `full` set; its angles are equal and startAngle is where it begins.
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
    // The swept angle in [0, 2*pi]: 2*pi for a full circle, 0 for an arc whose angles are equal but that is not
    // full (a single point).
    double sweep() const;
    double length() const { return radius * sweep(); }
    // How far `angle` lies from the start, measured in the arc's own direction of travel, in [0, 2*pi).
    double offsetFromStart(double angle) const;
    // True when angle lies on the arc's sweep (ends included, within the tolerance as a distance on the arc).
    bool containsAngle(double angle, const Tolerance& tol = globalTolerance()) const;
    // The smallest axis-parallel box holding the arc (min, max).
    std::pair<Point2d, Point2d> bounds() const;
    // The same arc run the other way.
    CircArc2d reversed() const;

    // The arc of a polyline segment from start to end with the given bulge (tan of a quarter of the included
    // angle; negative bulges run clockwise). nullopt for a zero bulge or ends that coincide under the tolerance.
    static std::optional<CircArc2d> fromBulge(const Point2d& start, const Point2d& end, double bulge,
                                              const Tolerance& tol = globalTolerance());
    // The arc through three points, running from a through b to c. nullopt when they are collinear (b on the
    // line a-c under the tolerance) or a and c coincide.
    static std::optional<CircArc2d> fromThreePoints(const Point2d& a, const Point2d& b, const Point2d& c,
                                                    const Tolerance& tol = globalTolerance());
    // Counter-clockwise arc from centre, radius and angles (normalised to [0, 2*pi)). Equal angles make a full
    // circle, as an arc entity with equal angles is drawn.
    static CircArc2d fromCenter(const Point2d& center, double radius, double startAngle, double endAngle);
    // The full circle, starting at angle 0 and running counter-clockwise.
    static CircArc2d fullCircle(const Point2d& center, double radius);
    // The bulge that reproduces this arc between its end points; 0 for a full circle, which has no bulge.
    double bulge() const;
};

}  // namespace host::ge
