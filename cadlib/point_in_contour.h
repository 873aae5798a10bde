// Whether a point lies outside a contour: a circle, or a closed polyline tested by the parity of a ray's
// crossings.
//
// The ray runs from the point 9999999.99 far. A ray that passes through a segment's end point (within 0.0001),
// or touches an arc, cannot be counted safely: it is dropped and the next angle is tried. Angles step by
// 0.008 + i * 0.001 radians (i = 1 .. 15, then 1 again), starting at 0.009. A point on a vertex, or on an edge
// within 0.0001 of its end, makes every ray pass through that end; the search stops after one full turn of
// angles and the point is on the contour, which counts as not outside.
#pragma once

#include <memory>

#include "host/db/entities.h"
#include "host/db/ids.h"
#include "host/ge/point.h"

// The shape of a contour given by handle or name.
inline constexpr int kContourShapeCircle = 0;
inline constexpr int kContourShapePolyline = 1;

// Where a point lies against a closed contour.
enum class ContourPointLocation {
    Inside,     // an odd number of crossings
    Outside,    // an even number of crossings
    OnContour,  // every ray of a full turn passed through a vertex: the point is on the outline there
};

// The ray-parity test against a polyline. An open polyline is tested as if closed by a straight chord from its
// last vertex to the first.
ContourPointLocation LocatePointInPolyline(const host::ge::Point3d& point, const host::db::LwPolyline& polyline);

// 1 when the point lies outside the polyline, 0 inside or on it. The polyline stays open.
int IsPointOutsidePolyline(const host::ge::Point3d& point, const host::db::LwPolyline& polyline);

// A polyline's segments kept for many point tests, with a box tree over them: a ray is tested only against the
// straight segments whose boxes come near its line, and against every arc. Answers what LocatePointInPolyline
// answers for the polyline as it stood when the locator was made, in time that grows with the logarithm of the
// number of segments for a ray that crosses few of them.
class PolylinePointLocator {
public:
    explicit PolylinePointLocator(const host::db::LwPolyline& polyline);
    ~PolylinePointLocator();
    PolylinePointLocator(const PolylinePointLocator&) = delete;
    PolylinePointLocator& operator=(const PolylinePointLocator&) = delete;

    ContourPointLocation Locate(const host::ge::Point3d& point) const;
    // As IsPointOutsidePolyline.
    int IsOutside(const host::ge::Point3d& point) const;

private:
    struct Tree;
    std::unique_ptr<Tree> tree_;
};

// The contour of the working drawing with this handle, a circle (kind 0: outside when the distance from the
// centre is at least the radius, so a point on the circle is outside) or a polyline (kind 1, as
// IsPointOutsidePolyline): 1 outside, 0 inside. The entity is opened for read and closed again. -1 when there is
// no working drawing or the handle names no live entity of that kind.
int IsPointOutsideContourByHandle(const host::ge::Point3d& point, int kind, host::db::Handle handle);

// The same for an entity given by its entity name.
int IsPointOutsideContourByName(const host::ge::Point3d& point, int kind, const host::db::EntityName& name);
