// Polyline outlines as plain data: reading them from entities, walking them by parameter, cutting pieces.
#include "host/ed/commands/poly_path.h"

#include <algorithm>
#include <cmath>

#include "host/db/database.h"
#include "host/ge/angle.h"
#include "host/ge/matrix.h"

namespace host::ed {

namespace {

// A piece shorter than this share of a segment's parameter is no piece (it comes from rounding a parameter that
// lies on a vertex).
constexpr double kParamEpsilon = 1e-12;

double lerp(double a, double b, double t) { return a + (b - a) * t; }

// The bulge of the part [t0, t1] of an arc segment with `bulge`: the included angle scales with the part.
double partialBulge(double bulge, double t0, double t1) {
    if (bulge == 0.0) return 0.0;
    const double included = 4.0 * std::atan(bulge);
    return std::tan(included * (t1 - t0) / 4.0);
}

}  // namespace

unsigned PolyPath::numSegments() const {
    const auto n = unsigned(vertices.size());
    if (n < 2) return 0;
    return closed ? n : n - 1;
}

std::optional<ge::CircArc2d> PolyPath::arcOf(unsigned i) const {
    const double bulge = vertex(i).bulge;
    if (bulge == 0.0) return std::nullopt;
    return ge::CircArc2d::fromBulge(segmentStart(i), segmentEnd(i), bulge);
}

double PolyPath::segmentLength(unsigned i) const {
    if (auto arc = arcOf(i)) return arc->length();
    return segmentStart(i).distanceTo(segmentEnd(i));
}

ge::Point2d PolyPath::pointAt(double param) const {
    const unsigned n = numSegments();
    if (n == 0) return vertices.empty() ? ge::Point2d() : vertices.front().point;
    param = std::clamp(param, 0.0, double(n));
    const unsigned i = std::min(unsigned(param), n - 1);
    const double t = param - i;
    if (auto arc = arcOf(i)) {
        const double turn = arc->sweep() * t;
        return arc->pointAtAngle(arc->clockwise ? arc->startAngle - turn : arc->startAngle + turn);
    }
    const ge::LineSeg2d seg{segmentStart(i), segmentEnd(i)};
    return seg.pointAt(t);
}

double PolyPath::closestParam(const ge::Point2d& p) const {
    double best = 0.0, bestDistance = INFINITY;
    for (unsigned i = 0; i < numSegments(); ++i) {
        double t = 0.0;
        if (auto arc = arcOf(i)) {
            const double angle = ge::angleFromTo(arc->center, p);
            const double sweep = arc->sweep();
            if (sweep > 0.0 && arc->containsAngle(angle)) {
                t = std::clamp(arc->offsetFromStart(angle) / sweep, 0.0, 1.0);
            } else {
                t = p.distanceTo(arc->startPoint()) <= p.distanceTo(arc->endPoint()) ? 0.0 : 1.0;
            }
        } else {
            const ge::LineSeg2d seg{segmentStart(i), segmentEnd(i)};
            t = seg.isDegenerate() ? 0.0 : std::clamp(seg.paramOf(p), 0.0, 1.0);
        }
        const double d = pointAt(i + t).distanceTo(p);
        if (d < bestDistance) {
            bestDistance = d;
            best = i + t;
        }
    }
    return best;
}

PolyPath PolyPath::piece(double a, double b) const {
    PolyPath out;
    out.elevation = elevation;
    out.normal = normal;
    const unsigned n = numSegments();
    if (n == 0) return out;
    const auto at = [&](double param) {
        return pointAt(closed && param > double(n) ? param - double(n) : param);
    };
    double cur = a;
    for (unsigned guard = 0; cur < b - kParamEpsilon && guard <= 2 * n + 1; ++guard) {
        const double floorCur = std::floor(cur + kParamEpsilon);
        const auto i = unsigned(floorCur) % n;
        const double t0 = std::max(0.0, cur - floorCur);
        const double t1 = std::min(1.0, b - floorCur);
        const PolyVertex& v = vertex(i);
        if (t1 - t0 > kParamEpsilon) {
            PolyVertex part;
            part.point = at(floorCur + t0);
            part.bulge = partialBulge(v.bulge, t0, t1);
            part.startWidth = lerp(v.startWidth, v.endWidth, t0);
            part.endWidth = lerp(v.startWidth, v.endWidth, t1);
            out.vertices.push_back(part);
        }
        cur = floorCur + t1;
    }
    PolyVertex end;
    end.point = at(b);
    out.vertices.push_back(end);
    return out;
}

PolyPath PolyPath::reversed() const {
    PolyPath out = *this;
    const auto n = unsigned(vertices.size());
    if (n < 2) return out;
    for (unsigned j = 0; j < n; ++j) {
        const unsigned from = closed ? (n - j) % n : n - 1 - j;
        out.vertices[j] = vertices[from];
        out.vertices[j].bulge = 0.0;
        out.vertices[j].startWidth = out.vertices[j].endWidth = 0.0;
    }
    for (unsigned j = 0; j < numSegments(); ++j) {
        const unsigned old = closed ? n - 1 - j : n - 2 - j;
        out.vertices[j].bulge = -vertices[old].bulge;
        out.vertices[j].startWidth = vertices[old].endWidth;
        out.vertices[j].endWidth = vertices[old].startWidth;
    }
    return out;
}

ge::Point3d worldPoint(const PolyPath& path, const ge::Point2d& p) {
    return ge::Matrix3d::planeToWorld(path.normal) * ge::Point3d(p.x, p.y, path.elevation);
}

ge::Point2d planePoint(const PolyPath& path, const ge::Point3d& p) {
    const auto back = ge::Matrix3d::planeToWorld(path.normal).inverse();
    return back ? (*back * p).to2d() : p.to2d();
}

std::optional<PolyPath> polyPathOf(const db::Entity& entity) {
    PolyPath path;
    if (const auto* lw = dynamic_cast<const db::LwPolyline*>(&entity)) {
        for (const db::LwPolyline::Vertex& v : lw->vertices())
            path.vertices.push_back({v.point, v.bulge, v.startWidth, v.endWidth});
        path.closed = lw->isClosed();
        path.elevation = lw->elevation();
        path.normal = lw->normal();
        return path;
    }
    const auto* p2 = dynamic_cast<const db::Polyline2d*>(&entity);
    if (!p2 || !p2->database()) return std::nullopt;
    path.closed = p2->isClosed();
    path.elevation = p2->elevation();
    path.normal = p2->normal();
    for (db::ObjectId id : p2->vertexIds()) {
        const auto* v = dynamic_cast<const db::PolylineVertex*>(p2->database()->peek(id));
        if (!v || v->isErased()) continue;
        path.vertices.push_back({{}, v->bulge(), v->startWidth(), v->endWidth()});
    }
    const std::vector<ge::Point3d> positions = p2->vertexPositions();
    if (positions.size() != path.vertices.size()) return std::nullopt;
    for (std::size_t i = 0; i < positions.size(); ++i) path.vertices[i].point = planePoint(path, positions[i]);
    return path;
}

db::Status writePolyPath(db::LwPolyline& pline, const PolyPath& path) {
    pline.clearVertices();
    for (const PolyVertex& v : path.vertices) {
        const db::Status s = pline.addVertexAt(pline.numVerts(), v.point, v.bulge, v.startWidth, v.endWidth);
        if (s != db::Status::Ok) return s;
    }
    db::Status s = pline.setClosed(path.closed);
    if (s == db::Status::Ok) s = pline.setElevation(path.elevation);
    if (s == db::Status::Ok) s = pline.setNormal(path.normal);
    return s;
}

}  // namespace host::ed
