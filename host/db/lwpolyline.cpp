// Lightweight polylines: vertices with bulges and widths, segment access, length and area, reversal, extents
// and transforms.
//
// Vertices are 2D points in the plane of the polyline's normal (at its elevation); with the usual normal
// (0,0,1) they are plain world x and y. Segment i runs from vertex i to vertex i + 1, and a closed polyline has
// one more segment, from the last vertex back to the first. A bulge of exactly 0 is a straight segment.
#include <algorithm>
#include <cmath>

#include "host/db/entities.h"
#include "host/db/entity_geometry.h"

namespace host::db {

namespace {

// Width arguments below zero mean "the polyline's constant width".
double widthOrConstant(double w, double constant) { return w < 0.0 ? constant : w; }

bool validWidth(double w) { return w >= 0.0 && std::isfinite(w); }

// The area between a segment's chord and its arc, signed like the bulge: a counter-clockwise arc adds to the
// area of a counter-clockwise outline. For the included angle t = 4 atan(b): r^2 / 2 (t - sin t).
double bulgeSegmentArea(const ge::Point2d& a, const ge::Point2d& b, double bulge) {
    if (bulge == 0.0) return 0.0;
    const double chord = a.distanceTo(b);
    if (chord == 0.0) return 0.0;
    const double theta = 4.0 * std::atan(std::abs(bulge));
    const double radius = chord * (1.0 + bulge * bulge) / (4.0 * std::abs(bulge));
    const double area = 0.5 * radius * radius * (theta - std::sin(theta));
    return bulge > 0.0 ? area : -area;
}

}  // namespace

Status LwPolyline::getPointAt(unsigned i, ge::Point2d& out) const {
    if (i >= verts_.size()) return Status::InvalidIndex;
    out = verts_[i].point;
    return Status::Ok;
}

Status LwPolyline::getPointAt(unsigned i, ge::Point3d& out) const {
    if (i >= verts_.size()) return Status::InvalidIndex;
    out = detail::planeToWorld(normal_, ge::Point3d{verts_[i].point, elevation_});
    return Status::Ok;
}

Status LwPolyline::getBulgeAt(unsigned i, double& out) const {
    if (i >= verts_.size()) return Status::InvalidIndex;
    out = verts_[i].bulge;
    return Status::Ok;
}

Status LwPolyline::getWidthsAt(unsigned i, double& start, double& end) const {
    if (i >= verts_.size()) return Status::InvalidIndex;
    start = verts_[i].startWidth;
    end = verts_[i].endWidth;
    return Status::Ok;
}

Status LwPolyline::setPointAt(unsigned i, const ge::Point2d& p) {
    assertWriteEnabled();
    if (i >= verts_.size()) return Status::InvalidIndex;
    if (!detail::isFinite(p)) return Status::InvalidInput;
    verts_[i].point = p;
    return Status::Ok;
}

Status LwPolyline::setBulgeAt(unsigned i, double bulge) {
    assertWriteEnabled();
    if (i >= verts_.size()) return Status::InvalidIndex;
    if (!std::isfinite(bulge)) return Status::InvalidInput;
    verts_[i].bulge = bulge;
    return Status::Ok;
}

Status LwPolyline::setWidthsAt(unsigned i, double start, double end) {
    assertWriteEnabled();
    if (i >= verts_.size()) return Status::InvalidIndex;
    if (!validWidth(start) || !validWidth(end)) return Status::InvalidInput;
    verts_[i].startWidth = start;
    verts_[i].endWidth = end;
    return Status::Ok;
}

Status LwPolyline::addVertexAt(unsigned index, const ge::Point2d& p, double bulge, double startWidth,
                               double endWidth) {
    assertWriteEnabled();
    if (index > verts_.size()) return Status::InvalidIndex;
    if (!detail::isFinite(p) || !std::isfinite(bulge) || !std::isfinite(startWidth) || !std::isfinite(endWidth))
        return Status::InvalidInput;
    Vertex v{p, bulge, widthOrConstant(startWidth, constantWidth_), widthOrConstant(endWidth, constantWidth_)};
    verts_.insert(verts_.begin() + index, v);
    return Status::Ok;
}

Status LwPolyline::removeVertexAt(unsigned i) {
    assertWriteEnabled();
    if (i >= verts_.size()) return Status::InvalidIndex;
    verts_.erase(verts_.begin() + i);
    return Status::Ok;
}

void LwPolyline::clearVertices() {
    assertWriteEnabled();
    verts_.clear();
}

Status LwPolyline::setClosed(bool closed) {
    assertWriteEnabled();
    closed_ = closed;
    return Status::Ok;
}

Status LwPolyline::setPlinegen(bool on) {
    assertWriteEnabled();
    plinegen_ = on;
    return Status::Ok;
}

Status LwPolyline::setConstantWidth(double w) {
    assertWriteEnabled();
    if (!validWidth(w)) return Status::InvalidInput;
    constantWidth_ = w;
    for (Vertex& v : verts_) v.startWidth = v.endWidth = w;
    return Status::Ok;
}

Status LwPolyline::setElevation(double z) {
    assertWriteEnabled();
    if (!std::isfinite(z)) return Status::InvalidInput;
    elevation_ = z;
    return Status::Ok;
}

Status LwPolyline::setThickness(double t) {
    assertWriteEnabled();
    if (!std::isfinite(t)) return Status::InvalidInput;
    thickness_ = t;
    return Status::Ok;
}

Status LwPolyline::setNormal(const ge::Vector3d& n) {
    assertWriteEnabled();
    const auto u = detail::unitNormal(n);
    if (!u) return Status::InvalidInput;
    normal_ = *u;
    return Status::Ok;
}

unsigned LwPolyline::numSegments() const {
    const unsigned n = numVerts();
    if (n < 2) return 0;
    return closed_ ? n : n - 1;
}

LwPolyline::SegType LwPolyline::segType(unsigned i) const {
    const unsigned n = numVerts();
    if (n == 0) return SegType::Empty;
    if (n == 1) return i == 0 ? SegType::Point : SegType::Empty;
    if (i >= numSegments()) return SegType::Empty;
    const Vertex& a = verts_[i];
    const Vertex& b = verts_[(i + 1) % n];
    if (a.point.isEqualTo(b.point)) return SegType::Coincident;
    return a.bulge == 0.0 ? SegType::Line : SegType::Arc;
}

Status LwPolyline::getLineSegAt(unsigned i, ge::LineSeg2d& out) const {
    if (i >= numSegments()) return Status::InvalidIndex;
    if (segType(i) == SegType::Arc) return Status::NotApplicable;
    out = {verts_[i].point, verts_[(i + 1) % numVerts()].point};
    return Status::Ok;
}

Status LwPolyline::getArcSegAt(unsigned i, ge::CircArc2d& out) const {
    if (i >= numSegments()) return Status::InvalidIndex;
    const auto arc = ge::CircArc2d::fromBulge(verts_[i].point, verts_[(i + 1) % numVerts()].point, verts_[i].bulge);
    if (!arc) return Status::NotApplicable;  // a straight or zero-length segment
    out = *arc;
    return Status::Ok;
}

ge::Point3d LwPolyline::startPoint() const {
    ge::Point3d p = detail::planeToWorld(normal_, ge::Point3d{0, 0, elevation_});
    getPointAt(0, p);
    return p;
}

ge::Point3d LwPolyline::endPoint() const {
    if (verts_.empty() || closed_) return startPoint();
    ge::Point3d p;
    getPointAt(numVerts() - 1, p);
    return p;
}

double LwPolyline::length() const {
    double total = 0.0;
    for (unsigned i = 0; i < numSegments(); ++i) {
        ge::CircArc2d arc;
        if (getArcSegAt(i, arc) == Status::Ok) total += arc.length();
        else total += verts_[i].point.distanceTo(verts_[(i + 1) % numVerts()].point);
    }
    return total;
}

double LwPolyline::area() const {
    const unsigned n = numVerts();
    if (n < 2) return 0.0;
    // The shoelace sum over the closed outline plus the bulge areas; an open polyline is closed by a straight
    // chord from its last vertex back to the first (its last bulge plays no part).
    double twice = 0.0, bulges = 0.0;
    for (unsigned i = 0; i < n; ++i) {
        const ge::Point2d& a = verts_[i].point;
        const ge::Point2d& b = verts_[(i + 1) % n].point;
        twice += a.x * b.y - b.x * a.y;
        if (i + 1 < n || closed_) bulges += bulgeSegmentArea(a, b, verts_[i].bulge);
    }
    return std::abs(0.5 * twice + bulges);
}

Status LwPolyline::reverseCurve() {
    assertWriteEnabled();
    const std::size_t n = verts_.size();
    if (n < 2) return Status::Ok;
    // New vertex j is old vertex n-1-j. New segment j is old segment (n-2-j) mod n run backwards: its bulge is
    // negated and its widths swap ends. For an open polyline the last entry is the unused bulge of the old last
    // vertex, kept so that reversing twice gives the polyline back.
    std::vector<Vertex> out(n);
    for (std::size_t j = 0; j < n; ++j) {
        const Vertex& segment = verts_[(2 * n - 2 - j) % n];
        out[j].point = verts_[n - 1 - j].point;
        out[j].bulge = -segment.bulge;
        out[j].startWidth = segment.endWidth;
        out[j].endWidth = segment.startWidth;
    }
    // Negating a zero bulge gives -0.0; keep it a plain 0 so that "exactly 0 is straight" reads the same.
    for (Vertex& v : out)
        if (v.bulge == 0.0) v.bulge = 0.0;
    verts_ = std::move(out);
    return Status::Ok;
}

std::optional<Extents> LwPolyline::geomExtents() const {
    if (verts_.empty()) return std::nullopt;
    return detail::outlineExtents(*this);
}

Status LwPolyline::transformBy(const ge::Matrix3d& m) {
    assertWriteEnabled();
    const bool uniform = m.isUniScaledOrtho();
    if (!uniform) {
        // A non-uniform scale turns arcs into elliptical pieces and widths into varying ones: only a straight
        // polyline of zero width can take it.
        const bool straight = std::all_of(verts_.begin(), verts_.end(), [](const Vertex& v) {
            return v.bulge == 0.0 && v.startWidth == 0.0 && v.endWidth == 0.0;
        });
        if (!straight || constantWidth_ != 0.0) return Status::NotApplicable;
    }
    const ge::Vector3d n = m.transformNormal(normal_);
    if (n.lengthSqrd() == 0.0) return Status::InvalidInput;

    const ge::Point3d origin = m * detail::planeToWorld(normal_, ge::Point3d{0, 0, elevation_});
    double elevation = detail::worldToPlane(n, origin).z;
    for (Vertex& v : verts_) {
        const ge::Point3d world = m * detail::planeToWorld(normal_, ge::Point3d{v.point, elevation_});
        const ge::Point3d local = detail::worldToPlane(n, world);
        v.point = local.to2d();
        elevation = local.z;
        // A mirror reverses the turn of every arc seen from the (carried) normal.
        if (m.isMirroring() && v.bulge != 0.0) v.bulge = -v.bulge;
        if (uniform) {
            v.startWidth *= m.scale();
            v.endWidth *= m.scale();
        }
    }
    if (uniform) constantWidth_ *= m.scale();
    thickness_ *= detail::stretchAlong(m, normal_);
    elevation_ = elevation;
    normal_ = n;
    return Status::Ok;
}

}  // namespace host::db
