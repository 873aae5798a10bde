// Circles and lightweight polylines turned into contours of line, arc and circle elements.
#include "nesting/drawings/entity_contours.h"

#include <cmath>
#include <numbers>

#include "cadlib/angles.h"
#include "nesting/geometry/contour_box.h"

using host::ge::Point2d;

namespace {

double DirectionOf(const Point2d& from, const Point2d& to) {
    double a = std::atan2(to.y - from.y, to.x - from.x);
    NormalizeAngle(a);
    return a;
}

// The arc from a to b of bulge `bulge` (the tangent of a quarter of its signed included angle): its centre lies
// on the chord's left for a counter-clockwise arc (bulge > 0), at (chord / 2) (1 - b^2) / (2 b) from the chord's
// middle.
ContourElement ArcElement(const Point2d& a, const Point2d& b, double bulge) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double chord = std::hypot(dx, dy);
    const Point2d middle{(a.x + b.x) / 2.0, (a.y + b.y) / 2.0};
    const double offset = (1.0 - bulge * bulge) / (4.0 * bulge);   // times the chord, along the left normal
    ContourElement e;
    e.Type = kElementArc;
    e.Centre = chord > 0.0 ? Point2d{middle.x - dy * offset, middle.y + dx * offset} : a;
    const bool clockwise = bulge < 0.0;
    e.Start = clockwise ? b : a;
    e.End = clockwise ? a : b;
    e.Reversed = clockwise ? 1 : 0;
    e.Radius = std::hypot(e.Start.x - e.Centre.x, e.Start.y - e.Centre.y);
    e.StartAngle = DirectionOf(e.Centre, e.Start);
    e.EndAngle = DirectionOf(e.Centre, e.End);
    return e;
}

void TranslatePoint2d(Point2d& p, double dx, double dy) {
    p.x += dx;
    p.y += dy;
}

}  // namespace

ContourElement LineElement(const Point2d& a, const Point2d& b) {
    ContourElement e;
    e.Type = kElementLine;
    e.Start = a;
    e.End = b;
    e.StartAngle = DirectionOf(a, b);
    e.EndAngle = e.StartAngle + std::numbers::pi;
    NormalizeAngle(e.EndAngle);
    return e;
}

void PolylineToContour(const host::db::LwPolyline& polyline, Contour& contour) {
    const bool closed = polyline.isClosed();
    contour.Open = closed ? 0 : 1;
    contour.Area = closed ? polyline.area() : 0.0;
    contour.Elements.clear();
    const unsigned vertices = polyline.numVerts();
    const unsigned segments = vertices == 0 ? 0 : (closed ? vertices : vertices - 1);
    contour.Elements.reserve(segments);
    for (unsigned i = 0; i < segments; ++i) {
        double bulge = 0.0;
        Point2d a, b;
        if (polyline.getBulgeAt(i, bulge) != host::db::Status::Ok) break;
        if (polyline.getPointAt(i, a) != host::db::Status::Ok ||
            polyline.getPointAt((i + 1) % vertices, b) != host::db::Status::Ok)
            break;
        contour.Elements.push_back(bulge == 0.0 ? LineElement(a, b) : ArcElement(a, b, bulge));
    }
    ComputeContourBox(contour, contour.Box);
}

void CircleToContour(const host::db::Circle& circle, Contour& contour) {
    const Point2d centre{circle.center().x, circle.center().y};
    const double r = circle.radius();
    ContourElement e;
    e.Type = kElementCircle;
    e.Centre = centre;
    e.Radius = r;
    e.Start = e.End = Point2d{centre.x, centre.y - r};
    contour.Elements.assign(1, e);
    contour.GeometryKind = kGeometryCircle;
    contour.Open = 0;
    contour.Area = std::numbers::pi * r * r;
    ComputeContourBox(contour, contour.Box);
}

void TranslateContourBy(Contour& contour, double dx, double dy) {
    for (ContourElement& e : contour.Elements) {
        TranslatePoint2d(e.Start, dx, dy);
        TranslatePoint2d(e.End, dx, dy);
        TranslatePoint2d(e.Centre, dx, dy);
    }
    contour.Box.Translate(dx, dy);
}
