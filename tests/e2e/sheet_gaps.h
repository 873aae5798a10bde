// The least distance between the parts of a saved nested sheet, measured on the blocks' own lines and arcs (no
// chords): every block reference of model space is read with its block's lines, arcs, circles and polylines in
// world coordinates, and the distance of every two parts is the least distance of their curves, found where it
// can only lie (an end of one curve, or the foot of a normal common to both). Shares nothing with the engine.
#pragma once

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/dxf/dxf_file.h"

namespace e2e {

namespace gap_detail {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

struct Pt {
    double x = 0.0, y = 0.0;
};

inline double Dist(Pt a, Pt b) { return std::hypot(a.x - b.x, a.y - b.y); }

// A segment from a to b, or an arc about c of radius r from angle a0 counter-clockwise by sweep (its ends a, b).
struct Curve {
    bool arc = false;
    Pt a, b, c;
    double r = 0.0, a0 = 0.0, sweep = 0.0;
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
};

inline Curve Segment(Pt a, Pt b) {
    Curve s;
    s.a = a;
    s.b = b;
    s.minX = std::min(a.x, b.x), s.maxX = std::max(a.x, b.x), s.minY = std::min(a.y, b.y), s.maxY = std::max(a.y, b.y);
    return s;
}

inline Curve Arc(Pt c, double r, double a0, double sweep) {
    Curve k;
    k.arc = true;
    k.c = c;
    k.r = r;
    k.a0 = a0;
    k.sweep = sweep;
    k.a = {c.x + r * std::cos(a0), c.y + r * std::sin(a0)};
    k.b = {c.x + r * std::cos(a0 + sweep), c.y + r * std::sin(a0 + sweep)};
    k.minX = c.x - r, k.maxX = c.x + r, k.minY = c.y - r, k.maxY = c.y + r;
    return k;
}

// Whether the direction `angle` from the arc's centre meets the arc.
inline bool InSweep(const Curve& k, double angle) {
    if (k.sweep >= kTwoPi - 1e-12) return true;
    double t = std::fmod(angle - k.a0, kTwoPi);
    if (t < 0.0) t += kTwoPi;
    return t <= k.sweep + 1e-12;
}

inline double PointSegment(Pt p, const Curve& s) {
    const double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0.0 ? ((p.x - s.a.x) * dx + (p.y - s.a.y) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return Dist(p, {s.a.x + t * dx, s.a.y + t * dy});
}

inline double PointArc(Pt p, const Curve& k) {
    const double d = Dist(p, k.c);
    if (d > 0.0 && InSweep(k, std::atan2(p.y - k.c.y, p.x - k.c.x))) return std::abs(d - k.r);
    return std::min(Dist(p, k.a), Dist(p, k.b));
}

inline double PointCurve(Pt p, const Curve& k) { return k.arc ? PointArc(p, k) : PointSegment(p, k); }

inline double Cross(Pt o, Pt a, Pt b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

inline bool SegmentsCross(const Curve& s, const Curve& t) {
    const double d1 = Cross(t.a, t.b, s.a), d2 = Cross(t.a, t.b, s.b);
    const double d3 = Cross(s.a, s.b, t.a), d4 = Cross(s.a, s.b, t.b);
    return ((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0)) && d1 != 0 && d2 != 0 && d3 != 0 && d4 != 0;
}

// Ends of each curve against the other; then the points where a normal common to both can lie.
inline double CurveCurve(const Curve& p, const Curve& q) {
    double best = std::min({PointCurve(p.a, q), PointCurve(p.b, q), PointCurve(q.a, p), PointCurve(q.b, p)});
    if (!p.arc && !q.arc) return SegmentsCross(p, q) ? 0.0 : best;
    if (p.arc != q.arc) {
        const Curve& s = p.arc ? q : p;
        const Curve& k = p.arc ? p : q;
        const double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
        const double len2 = dx * dx + dy * dy;
        if (len2 == 0.0) return best;
        const double t = ((k.c.x - s.a.x) * dx + (k.c.y - s.a.y) * dy) / len2;
        const Pt foot{s.a.x + t * dx, s.a.y + t * dy};
        const double h = Dist(foot, k.c);
        if (h >= k.r) {
            if (t >= 0.0 && t <= 1.0 && h > 0.0 && InSweep(k, std::atan2(foot.y - k.c.y, foot.x - k.c.x))) {
                best = std::min(best, h - k.r);
            }
        } else {
            // the line crosses the circle: where it does within the segment and the arc, the curves meet
            const double half = std::sqrt(k.r * k.r - h * h) / std::sqrt(len2);
            for (const double u : {t - half, t + half}) {
                const Pt x{s.a.x + u * dx, s.a.y + u * dy};
                if (u >= 0.0 && u <= 1.0 && InSweep(k, std::atan2(x.y - k.c.y, x.x - k.c.x))) return 0.0;
            }
        }
        return best;
    }
    const double d = Dist(p.c, q.c);
    if (d == 0.0) return best;
    const double ux = (q.c.x - p.c.x) / d, uy = (q.c.y - p.c.y) / d;
    for (const double sp : {1.0, -1.0}) {
        for (const double sq : {1.0, -1.0}) {
            const double ap = std::atan2(sp * uy, sp * ux), aq = std::atan2(sq * uy, sq * ux);
            if (!InSweep(p, ap) || !InSweep(q, aq)) continue;
            best = std::min(best, Dist({p.c.x + p.r * sp * ux, p.c.y + p.r * sp * uy},
                                       {q.c.x + q.r * sq * ux, q.c.y + q.r * sq * uy}));
        }
    }
    // circles that cross: where they do on both arcs, the curves meet
    if (d < p.r + q.r && d > std::abs(p.r - q.r)) {
        const double along = (d * d + p.r * p.r - q.r * q.r) / (2.0 * d);
        const double across = std::sqrt(std::max(0.0, p.r * p.r - along * along));
        for (const double side : {1.0, -1.0}) {
            const Pt x{p.c.x + along * ux - side * across * uy, p.c.y + along * uy + side * across * ux};
            if (InSweep(p, std::atan2(x.y - p.c.y, x.x - p.c.x)) && InSweep(q, std::atan2(x.y - q.c.y, x.x - q.c.x))) {
                return 0.0;
            }
        }
    }
    return best;
}

struct Shape {
    std::string block;
    std::vector<Curve> curves;
    double minX = std::numeric_limits<double>::max(), minY = std::numeric_limits<double>::max();
    double maxX = std::numeric_limits<double>::lowest(), maxY = std::numeric_limits<double>::lowest();
};

// The arc from a to b (world points) about c, running counter-clockwise from a when `ccw`.
inline Curve ArcThrough(Pt c, Pt a, Pt b, double r, bool ccw, bool whole) {
    if (!ccw) std::swap(a, b);
    const double a0 = std::atan2(a.y - c.y, a.x - c.x);
    double sweep = whole ? kTwoPi : std::atan2(b.y - c.y, b.x - c.x) - a0;
    while (sweep <= 0.0) sweep += kTwoPi;
    return Arc(c, r, a0, sweep);
}

inline void AddEntity(const host::db::Entity& e, const host::ge::Matrix3d& m, bool keepsTurn, Shape& shape) {
    const auto world = [&m](double x, double y) {
        const host::ge::Point3d p = m * host::ge::Point3d{x, y, 0.0};
        return Pt{p.x, p.y};
    };
    const auto addArc = [&](double cx, double cy, double r, double start, double sweep, bool whole) {
        const Pt c = world(cx, cy);
        const Pt a = world(cx + r * std::cos(start), cy + r * std::sin(start));
        const Pt b = world(cx + r * std::cos(start + sweep), cy + r * std::sin(start + sweep));
        shape.curves.push_back(ArcThrough(c, a, b, Dist(c, a), keepsTurn, whole));
    };
    if (const auto* line = dynamic_cast<const host::db::Line*>(&e)) {
        shape.curves.push_back(Segment(world(line->start().x, line->start().y), world(line->end().x, line->end().y)));
    } else if (const auto* arc = dynamic_cast<const host::db::Arc*>(&e)) {
        double sweep = arc->endAngle() - arc->startAngle();
        while (sweep <= 0.0) sweep += kTwoPi;
        addArc(arc->center().x, arc->center().y, arc->radius(), arc->startAngle(), sweep, false);
    } else if (const auto* circle = dynamic_cast<const host::db::Circle*>(&e)) {
        addArc(circle->center().x, circle->center().y, circle->radius(), 0.0, kTwoPi, true);
    } else if (const auto* poly = dynamic_cast<const host::db::LwPolyline*>(&e)) {
        const auto& v = poly->vertices();
        const std::size_t n = v.size();
        const std::size_t spans = poly->isClosed() ? n : (n > 0 ? n - 1 : 0);
        for (std::size_t i = 0; i < spans; ++i) {
            const Pt a{v[i].point.x, v[i].point.y};
            const Pt b{v[(i + 1) % n].point.x, v[(i + 1) % n].point.y};
            if (v[i].bulge == 0.0) {
                shape.curves.push_back(Segment(world(a.x, a.y), world(b.x, b.y)));
                continue;
            }
            const double sweep = 4.0 * std::atan(v[i].bulge);  // signed: negative turns clockwise
            const double d = Dist(a, b);
            const double ux = (b.x - a.x) / d, uy = (b.y - a.y) / d;
            const double off = d / 2.0 / std::tan(sweep / 2.0);
            const double cx = (a.x + b.x) / 2.0 - uy * off, cy = (a.y + b.y) / 2.0 + ux * off;
            const double r = std::hypot(a.x - cx, a.y - cy);
            const double start = sweep > 0.0 ? std::atan2(a.y - cy, a.x - cx) : std::atan2(b.y - cy, b.x - cx);
            addArc(cx, cy, r, start, std::abs(sweep), false);
        }
    }
}

}  // namespace gap_detail

// The closest two parts of a sheet and how far apart they are.
struct SheetGap {
    double distance = std::numeric_limits<double>::infinity();
    std::string first, second;  // "block #index"
};

// The least distance between two parts of the saved sheet (every reference that is neither `stockBlock` nor
// `clampBlock`); pairs further apart than `within` are not measured. No pair: an infinite distance.
inline SheetGap LeastPartGap(const std::filesystem::path& saved, const std::string& stockBlock, double within,
                             const std::string& clampBlock = "Clamp") {
    using namespace gap_detail;
    SheetGap least;
    host::dxf::ReadResult read = host::dxf::readDxfFile(saved);
    if (!read) {
        least.first = read.error;
        return least;
    }
    const host::db::Database& db = *read.database;
    const auto* ms = dynamic_cast<const host::db::BlockTableRecord*>(db.peek(db.modelSpaceId()));
    std::vector<Shape> parts;
    for (host::db::ObjectId id : ms->entityIds()) {
        const auto* ref = dynamic_cast<const host::db::BlockReference*>(db.peek(id));
        if (ref == nullptr || ref->isErased() || ref->blockName() == stockBlock || ref->blockName() == clampBlock) {
            continue;
        }
        const auto* block = dynamic_cast<const host::db::BlockTableRecord*>(db.peek(ref->blockTableRecord()));
        if (block == nullptr) continue;
        const host::ge::Matrix3d m = ref->blockTransform();
        // a mirroring transform turns counter-clockwise arcs clockwise
        const host::ge::Point3d o = m * host::ge::Point3d{0, 0, 0};
        const host::ge::Point3d ex = m * host::ge::Point3d{1, 0, 0};
        const host::ge::Point3d ey = m * host::ge::Point3d{0, 1, 0};
        const bool keepsTurn = (ex.x - o.x) * (ey.y - o.y) - (ex.y - o.y) * (ey.x - o.x) > 0.0;
        Shape shape;
        shape.block = ref->blockName() + " #" + std::to_string(parts.size());
        for (host::db::ObjectId e : block->entityIds()) {
            const auto* entity = dynamic_cast<const host::db::Entity*>(db.peek(e));
            if (entity != nullptr && !entity->isErased()) AddEntity(*entity, m, keepsTurn, shape);
        }
        for (const Curve& k : shape.curves) {
            shape.minX = std::min(shape.minX, k.minX), shape.maxX = std::max(shape.maxX, k.maxX);
            shape.minY = std::min(shape.minY, k.minY), shape.maxY = std::max(shape.maxY, k.maxY);
        }
        parts.push_back(std::move(shape));
    }
    const auto apart = [within](double minA, double maxA, double minB, double maxB) {
        return minB > maxA + within || minA > maxB + within;
    };
    for (std::size_t i = 0; i < parts.size(); ++i) {
        for (std::size_t j = i + 1; j < parts.size(); ++j) {
            const Shape& p = parts[i];
            const Shape& q = parts[j];
            if (apart(p.minX, p.maxX, q.minX, q.maxX) || apart(p.minY, p.maxY, q.minY, q.maxY)) continue;
            for (const Curve& a : p.curves) {
                if (apart(a.minX, a.maxX, q.minX, q.maxX) || apart(a.minY, a.maxY, q.minY, q.maxY)) continue;
                for (const Curve& b : q.curves) {
                    if (apart(a.minX, a.maxX, b.minX, b.maxX) || apart(a.minY, a.maxY, b.minY, b.maxY)) continue;
                    const double d = CurveCurve(a, b);
                    if (d < least.distance) least = {d, p.block, q.block};
                }
            }
        }
    }
    return least;
}

}  // namespace e2e
