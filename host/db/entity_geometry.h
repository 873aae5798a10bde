// Helpers the entity implementations share (inside host/db only): finite checks, growing extents, plane
// coordinates of a normal, and the plan-view pieces intersections are computed on.
#pragma once

#include <cmath>
#include <optional>
#include <vector>

#include "host/db/database.h"
#include "host/db/entity.h"
#include "host/ge/curve.h"
#include "host/ge/intersect.h"
#include "host/ge/matrix.h"

namespace host::db::detail {

inline bool isFinite(double v) { return std::isfinite(v); }
inline bool isFinite(const ge::Point3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }
inline bool isFinite(const ge::Vector3d& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
inline bool isFinite(const ge::Point2d& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// Checks that `id` names a live record of the wanted kind, in the entity's drawing when it has one.
template <class Record>
Status checkRecord(const Entity& e, ObjectId id) {
    if (id.isNull()) return Status::NullObjectId;
    if (e.database() && e.database() != id.database()) return Status::WrongDatabase;
    const DbObject* obj = id.database()->peek(id);
    if (!obj) return Status::NullObjectId;
    if (!dynamic_cast<const Record*>(obj)) return Status::WrongObjectType;
    if (obj->isErased()) return Status::WasErased;
    return Status::Ok;
}

// Grows a box that may not exist yet.
void grow(std::optional<Extents>& box, const ge::Point3d& p);
void grow(std::optional<Extents>& box, const std::optional<Extents>& other);

// A usable plane normal: the unit vector (the normal itself when its length is 1 within rounding), or nullopt for a
// zero or non-finite one.
std::optional<ge::Vector3d> unitNormal(const ge::Vector3d& n);

// +1 when the normal is the world z axis, -1 when it is its opposite, 0 for a tilted normal. Entities with a
// normal along z are computed exactly in plan view; tilted ones through points on them.
int planSense(const ge::Vector3d& normal);

// World point of plane coordinates (x, y, z) of the plane with this normal (the arbitrary-axis rule).
ge::Point3d planeToWorld(const ge::Vector3d& normal, const ge::Point3d& local);
// Plane coordinates of a world point.
ge::Point3d worldToPlane(const ge::Vector3d& normal, const ge::Point3d& world);
// The angle of world point p seen from `center`, measured in the plane of the normal from its x axis.
double planeAngle(const ge::Vector3d& normal, const ge::Point3d& center, const ge::Point3d& p);
// The world point at `angle` on the circle of `radius` about `center` in the plane of the normal.
ge::Point3d pointOnCircle(const ge::Vector3d& normal, const ge::Point3d& center, double radius, double angle);

// The circle or arc (counter-clockwise about the normal from startAngle to endAngle, whole when `full`) as seen
// in plan view, for a normal along z. Seen from below (normal -z) an arc runs clockwise in plan and its angles
// mirror: angle a becomes pi - a. nullopt for a tilted normal.
std::optional<ge::CircArc2d> planArc(const ge::Vector3d& normal, const ge::Point3d& center, double radius,
                                     double startAngle, double endAngle, bool full);

// The scale a transform gives to lengths along a direction (thickness along the normal).
inline double stretchAlong(const ge::Matrix3d& m, const ge::Vector3d& unit) { return (m * unit).length(); }

// Points evenly spread along a plane arc, ends included: segments + 1 points.
std::vector<ge::Point2d> arcPoints(const ge::CircArc2d& arc, int segments);

// The number of chords that keep an arc of this radius and sweep within `sagitta` of the curve, at least
// `minimum` and at most `maximum`.
int chordCount(double radius, double sweep, double sagitta, int minimum, int maximum);

// The four world corners of the box a text is estimated to fill (see text.cpp and mtext.cpp), in order around
// the box; empty for a text with nothing to show.
std::vector<ge::Point3d> textBoxCorners(const Text& text);
std::vector<ge::Point3d> textBoxCorners(const MText& text);

// One piece of an entity's outline in plan view (the XY plane), with the z of the entity along it.
struct PlanPiece {
    enum class Kind { Point, Line, Arc };
    Kind kind = Kind::Line;
    ge::LineSeg2d line;                              // Line; a Point keeps its position in line.start
    ge::LineExtent extent = ge::LineExtent::Segment;  // Line: infinite when the entity is extended
    ge::CircArc2d arc;                               // Arc
    double z0 = 0.0, z1 = 0.0;                       // z at the start and at the end (Line), or of the piece

    static PlanPiece point(const ge::Point3d& p);
    static PlanPiece segment(const ge::Point3d& a, const ge::Point3d& b);
    static PlanPiece circular(const ge::CircArc2d& arc, double z);
};

// The entity's outline in plan view, in order from its start: lines, arcs and points. `extended` makes a line
// infinite and an arc (or elliptical arc) whole. Entities without an outline (texts, block references, opaque
// records) answer nothing. Ellipses and splines come as chords (see intersect.cpp).
std::vector<PlanPiece> planPieces(const Entity& e, bool extended);
// The extents of the entity's plan outline (arcs by their bounds); nullopt when it has none.
std::optional<Extents> outlineExtents(const Entity& e);

// Adds a sub-entity (a vertex of a polyline, an attribute of a block reference) to the owner's database, owned by
// it, at the end of `list`; gives the owner its SEQEND marker, on the owner's layer, when it has none yet.
Status appendOwnedEntity(const Entity& owner, std::unique_ptr<Entity> sub, std::vector<ObjectId>& list,
                         ObjectId& seqEnd, ObjectId* id);

}  // namespace host::db::detail
