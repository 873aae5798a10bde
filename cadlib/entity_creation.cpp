// Entity constructors appending to model space, and ellipses approximated by arcs through three points.
#include "cadlib/entity_creation.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "cadlib/line_intersections.h"
#include "host/db/tables.h"
#include "host/ed/display.h"
#include "host/ge/angle.h"

namespace {

using host::db::ObjectId;
using host::ge::Point3d;

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kPieceParameter = 18.0 * kPi / 180.0;  // one arc per 18 degrees of the parameter
constexpr int kWholeEllipsePieces = 20;

struct EllipseShape {
    Point3d centre;
    double axisAngle;
    double a;
    double b;

    Point3d at(double t) const {
        const double ca = std::cos(axisAngle), sa = std::sin(axisAngle);
        const double across = axisAngle + kPi / 2;
        return Point3d(centre.x + a * std::cos(t) * ca + b * std::sin(t) * std::cos(across),
                       centre.y + a * std::cos(t) * sa + b * std::sin(t) * std::sin(across), centre.z);
    }

    // The parameter of the ellipse point in the direction `polar` from the axis.
    double parameterOfPolarAngle(double polar) const {
        const double c = std::cos(polar), s = std::sin(polar);
        const double r = a * b / std::sqrt(b * b * c * c + a * a * s * s);
        const double u = r * c / a;
        double t = u >= 1.0 ? 0.0 : (u <= -1.0 ? kPi : std::acos(u));
        if (r * s < 0.0) t = kTwoPi - t;
        return t;
    }
};

// The arc through p1, p2 and p3 in the working drawing; nothing when the centre cannot be found.
void addArcThroughThreePoints(const Point3d& p1, const Point3d& p2, const Point3d& p3, double z) {
    const Point3d m12((p1.x + p2.x) / 2, (p1.y + p2.y) / 2, 0.0);
    const Point3d m23((p2.x + p3.x) / 2, (p2.y + p3.y) / 2, 0.0);
    const double a1 = host::ge::normalizeAngle(std::atan2(p2.y - p1.y, p2.x - p1.x) + kPi / 2);
    const double a2 = host::ge::normalizeAngle(std::atan2(p3.y - p2.y, p3.x - p2.x) + kPi / 2);
    Point3d centre;
    if (IntersectLinesByAngle(m12, a1, m23, a2, centre) != kLinesCross) return;
    centre.z = z;
    const double radius = std::hypot(p1.x - centre.x, p1.y - centre.y);
    if (!(radius > 0.0) || !std::isfinite(radius)) return;
    ObjectId id;
    AddArc(id, centre, radius, std::atan2(p1.y - centre.y, p1.x - centre.x),
           std::atan2(p3.y - centre.y, p3.x - centre.x));
}

void addPiece(const EllipseShape& e, double t0, double t1) {
    addArcThroughThreePoints(e.at(t0), e.at((t0 + t1) / 2), e.at(t1), e.centre.z);
}

}  // namespace

ObjectId& AppendToModelSpace(ObjectId& id, std::unique_ptr<host::db::Entity> entity, host::db::Database* database) {
    id = ObjectId();
    host::db::Database* db = database ? database : host::db::workingDatabase();
    if (!db) return id;
    host::db::ObjectPtr<host::db::BlockTableRecord> space(db->modelSpaceId(), host::db::OpenMode::Write);
    if (!space) return id;
    ObjectId appended;
    if (space->appendEntity(std::move(entity), &appended) == host::db::Status::Ok) id = appended;
    return id;
}

ObjectId& AddLine(ObjectId& id, const Point3d& start, const Point3d& end, host::db::Database* database) {
    return AppendToModelSpace(id, std::make_unique<host::db::Line>(start, end), database);
}

ObjectId& AddCircle(ObjectId& id, const Point3d& centre, double radius, host::db::Database* database) {
    return AppendToModelSpace(id, std::make_unique<host::db::Circle>(centre, radius), database);
}

ObjectId& AddArcByPoints(ObjectId& id, const Point3d& centre, const Point3d& start, const Point3d& end,
                         host::db::Database* database) {
    const double radius = std::hypot(start.x - centre.x, start.y - centre.y);
    return AddArc(id, centre, radius, std::atan2(start.y - centre.y, start.x - centre.x),
                  std::atan2(end.y - centre.y, end.x - centre.x), database);
}

ObjectId& AddArc(ObjectId& id, const Point3d& centre, double radius, double startAngle, double endAngle,
                 host::db::Database* database) {
    return AppendToModelSpace(id, std::make_unique<host::db::Arc>(centre, radius, startAngle, endAngle), database);
}

ObjectId& AddEllipse(ObjectId& id, const Point3d& centre, const host::ge::Vector3d& unitNormal,
                     const host::ge::Vector3d& majorAxis, double radiusRatio, double startAngle, double endAngle,
                     host::db::Database* database) {
    auto ellipse = std::make_unique<host::db::Ellipse>();
    if (ellipse->set(centre, unitNormal, majorAxis, radiusRatio, startAngle, endAngle) != host::db::Status::Ok) {
        id = ObjectId();
        return id;
    }
    return AppendToModelSpace(id, std::move(ellipse), database);
}

ObjectId AddCrossedRectangle(const Point3d& corner1, const Point3d& corner2, host::db::Database* database) {
    const double x1 = corner1.x, y1 = corner1.y, x2 = corner2.x, y2 = corner2.y;
    const Point3d pieces[6][2] = {
        {{x1, y2, 0}, {x1, y1, 0}}, {{x1, y1, 0}, {x2, y1, 0}}, {{x2, y1, 0}, {x2, y2, 0}},
        {{x2, y2, 0}, {x1, y2, 0}}, {{x1, y2, 0}, {x2, y1, 0}}, {{x1, y1, 0}, {x2, y2, 0}},
    };
    ObjectId id;
    for (const auto& piece : pieces) AddLine(id, piece[0], piece[1], database);
    return id;
}

int AddEllipseArcAsArcs(const Point3d& centre, double axisAngle, double a, double b, double startAngle,
                        double endAngle) {
    const EllipseShape e{centre, axisAngle, a, b};
    const double t0 = e.parameterOfPolarAngle(startAngle);
    double t1 = e.parameterOfPolarAngle(endAngle);
    if (t0 > t1) t1 += kTwoPi;
    double from = t0;
    while (from < t1) {
        double next = (std::floor(from / kPieceParameter + 1e-9) + 1.0) * kPieceParameter;
        if (next - from < 1e-12) next += kPieceParameter;
        const double to = std::min(next, t1);
        addPiece(e, from, to);
        from = to;
    }
    return 0;
}

int AddEllipseAsArcs(const Point3d& centre, double axisAngle, double a, double b) {
    const EllipseShape e{centre, axisAngle, a, b};
    for (int k = 0; k < kWholeEllipsePieces; ++k) addPiece(e, k * kPieceParameter, (k + 1) * kPieceParameter);
    return 0;
}

int Replace3dPolyline(host::db::Polyline3d& polyline, ObjectId& id) {
    auto flat = std::make_unique<host::db::LwPolyline>();
    unsigned index = 0;
    for (const ObjectId vertexId : polyline.vertexIds()) {
        host::db::ObjectPtr<host::db::PolylineVertex> vertex(vertexId, host::db::OpenMode::Read);
        if (!vertex) return 0;
        const Point3d p = vertex->position();
        flat->addVertexAt(index++, host::ge::Point2d(p.x, p.y), 0.0, -1.0, -1.0);
    }
    if (polyline.isClosed()) flat->setClosed(true);
    flat->setLayer(polyline.layerId());
    flat->setLinetype(polyline.linetypeId());
    flat->setColorIndex(polyline.colorIndex());
    flat->setLinetypeScale(polyline.linetypeScale());
    polyline.erase();
    host::ed::redrawEntity(polyline.objectId(), host::ed::RedrawMode::Undraw);
    AppendToModelSpace(id, std::move(flat), polyline.database());
    return 0;
}
