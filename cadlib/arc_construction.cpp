// Arc centres from end points and a radius, or from a bulge.
#include "cadlib/arc_construction.h"

#include "host/ge/curve.h"
#include "host/ge/intersect.h"

using host::ge::Point2d;
using host::ge::Point3d;

int ArcCentreFromEndPoints(const Point3d& p1, const Point3d& p2, double radius, Point3d& result) {
    const host::ge::Intersections2d meet = host::ge::intersectCircles(p1.to2d(), radius, p2.to2d(), radius);
    Point2d centre;
    if (meet.count == 0) {
        centre = {(p1.x + p2.x) / 2.0, (p1.y + p2.y) / 2.0};
    } else if (meet.count == 1) {
        centre = meet.points[0];
    } else {
        const Point2d hint = result.to2d();
        centre = hint.distanceTo(meet.points[0]) < hint.distanceTo(meet.points[1]) ? meet.points[0] : meet.points[1];
    }
    result = Point3d{centre.x, centre.y, 0.0};
    return 0;
}

int ArcFromBulge(Point3d& centre, double& radius, const Point3d& start, const Point3d& end, double bulge,
                 bool bulgeIsHeight) {
    double tangentBulge = bulge;
    if (bulgeIsHeight) {
        // The height h over a half chord c is c * tan(quarter angle): the polyline bulge is h / c.
        const double halfChord = start.to2d().distanceTo(end.to2d()) / 2.0;
        if (halfChord == 0.0) return -1;
        tangentBulge = bulge / halfChord;
    }
    const auto arc = host::ge::CircArc2d::fromBulge(start.to2d(), end.to2d(), tangentBulge);
    if (!arc) return -1;
    centre = Point3d{arc->center.x, arc->center.y, 0.0};
    radius = arc->radius;
    return 0;
}
