// Entities made in model space: the append primitive, lines, circles, arcs, ellipses, ellipses approximated by
// circular arcs, and a 3D polyline replaced by a lightweight one.
//
// Each new entity is appended to the model space of `database` (the working drawing when null) and closed at
// once; the caller keeps its id, which comes back through the first argument (also answered). Circles and arcs
// get the normal (0, 0, 1); arcs run counter-clockwise from the start angle to the end angle (radians).
#pragma once

#include <memory>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/ge/point.h"

// Appends `entity` to model space. The id is null when there is no drawing or model space cannot be opened for
// write (the entity is then dropped).
host::db::ObjectId& AppendToModelSpace(host::db::ObjectId& id, std::unique_ptr<host::db::Entity> entity,
                                       host::db::Database* database = nullptr);

host::db::ObjectId& AddLine(host::db::ObjectId& id, const host::ge::Point3d& start, const host::ge::Point3d& end,
                            host::db::Database* database = nullptr);
host::db::ObjectId& AddCircle(host::db::ObjectId& id, const host::ge::Point3d& centre, double radius,
                              host::db::Database* database = nullptr);
// An arc about `centre` (its z kept): the radius is the planar distance to `start`; the end point only gives
// the end angle.
host::db::ObjectId& AddArcByPoints(host::db::ObjectId& id, const host::ge::Point3d& centre,
                                   const host::ge::Point3d& start, const host::ge::Point3d& end,
                                   host::db::Database* database = nullptr);
host::db::ObjectId& AddArc(host::db::ObjectId& id, const host::ge::Point3d& centre, double radius,
                           double startAngle, double endAngle, host::db::Database* database = nullptr);
// A host ellipse; the id is null when the host refuses the geometry (a ratio outside (0, 1], a zero axis).
host::db::ObjectId& AddEllipse(host::db::ObjectId& id, const host::ge::Point3d& centre,
                               const host::ge::Vector3d& unitNormal, const host::ge::Vector3d& majorAxis,
                               double radiusRatio, double startAngle, double endAngle,
                               host::db::Database* database = nullptr);
// The four sides of the axis-parallel rectangle of two corners and both diagonals, at z 0, in the order
// left side down, bottom, right side up, top back, the diagonal from top-left, the one from bottom-left.
// Answers the id of the last diagonal.
host::db::ObjectId AddCrossedRectangle(const host::ge::Point3d& corner1, const host::ge::Point3d& corner2,
                                       host::db::Database* database = nullptr);

// Part of the ellipse about `centre` with semi-axis a along `axisAngle` and b across it, from the polar angle
// `startAngle` to `endAngle` (measured from the axis; an end below the start wraps through 360 degrees), as
// circular arcs in the working drawing: one per 18 degrees of the ellipse parameter, cut at its multiples. A
// piece whose three points are collinear (a semi-axis of 0) is skipped. Answers 0.
int AddEllipseArcAsArcs(const host::ge::Point3d& centre, double axisAngle, double a, double b, double startAngle,
                        double endAngle);
// The whole ellipse as 20 arcs of 18 degrees of the parameter each. Answers 0.
int AddEllipseAsArcs(const host::ge::Point3d& centre, double axisAngle, double a, double b);

// Replaces `polyline` (open for write, in the working drawing) by a lightweight polyline through its vertices'
// x and y, closed when it is, with its layer, line type, colour index and line-type scale; the 3D polyline is
// erased and `id` gets the new one. A vertex that cannot be read leaves everything (and `id`) unchanged.
// Answers 0.
int Replace3dPolyline(host::db::Polyline3d& polyline, host::db::ObjectId& id);
