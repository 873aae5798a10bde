// A polyline's outline as plain data in the plane of its normal: vertices with bulges and widths, open or closed,
// with the parameter arithmetic that exploding, breaking, joining and boundary tracing share.
#pragma once

#include <optional>
#include <variant>
#include <vector>

#include "host/db/entities.h"
#include "host/ge/curve.h"

namespace host::ed {

struct PolyVertex {
    ge::Point2d point;
    double bulge = 0.0;  // of the segment that starts here
    double startWidth = 0.0, endWidth = 0.0;
};

// Parameters along a path: segment i runs over [i, i+1] (vertex i at i); a closed path's last segment returns to
// vertex 0 and ends at parameter numSegments().
struct PolyPath {
    std::vector<PolyVertex> vertices;
    bool closed = false;
    double elevation = 0.0;
    ge::Vector3d normal = ge::Vector3d::kZAxis();

    unsigned numSegments() const;
    const PolyVertex& vertex(unsigned i) const { return vertices[i % vertices.size()]; }
    ge::Point2d segmentStart(unsigned i) const { return vertex(i).point; }
    ge::Point2d segmentEnd(unsigned i) const { return vertex(i + 1).point; }
    // The arc of segment i, or nullopt for a straight or zero-length one.
    std::optional<ge::CircArc2d> arcOf(unsigned i) const;
    double segmentLength(unsigned i) const;
    ge::Point2d pointAt(double param) const;
    // The parameter of the point of the path nearest to p (the first such point along the path among equals).
    double closestParam(const ge::Point2d& p) const;
    double endParam() const { return double(numSegments()); }
    ge::Point2d startPoint() const { return vertices.front().point; }
    ge::Point2d endPoint() const { return closed ? vertices.front().point : vertices.back().point; }

    // The open piece from parameter a to b (a < b) along the path; on a closed path b may run past the end
    // (up to a + endParam()), continuing from the start. Sub-arcs keep their centre and radius.
    PolyPath piece(double a, double b) const;
    // The same path run the other way (bulges negated, widths swapped).
    PolyPath reversed() const;
};

// The outline of a lightweight or 2D polyline; nullopt for any other entity (and for a 3D polyline).
std::optional<PolyPath> polyPathOf(const db::Entity& entity);
// Replaces the vertices and closed flag of a lightweight polyline with the path's (elevation and normal too).
db::Status writePolyPath(db::LwPolyline& pline, const PolyPath& path);
// World point of a point of the path's plane.
ge::Point3d worldPoint(const PolyPath& path, const ge::Point2d& p);
// The point of the path's plane under a world point (z dropped).
ge::Point2d planePoint(const PolyPath& path, const ge::Point3d& p);

}  // namespace host::ed
