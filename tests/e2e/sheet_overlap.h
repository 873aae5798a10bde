// An overlap check of a saved nested sheet that shares nothing with the nesting engine: every block reference of
// model space is turned into segments (its block's lines, arcs, circles and polylines, arcs cut into chords whose
// sagitta stays below kChordSagitta, far below any part gap), then every part is checked against every other part
// and clamp (no edge crosses or touches another's, no part lies inside another's material) and against the stock
// (no edge crosses the stock's, every point of every outline of a part inside the stock's material, no point of the
// stock inside a part's material). Regions are taken by the even-odd rule over all closed loops of a block, so a
// part lying in another part's hole is no overlap; with PartsInHoles::Refused a part's material is every loop of
// its block with all that lies inside it (holes and windows included), as for a layout made without hole filling.
// A block may hold several outlines: two plates side by side, or a frame with a part inside its window.
#pragma once

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <numbers>
#include <numeric>
#include <utility>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/dxf/dxf_file.h"

namespace e2e {

inline constexpr double kChordSagitta = 0.01;

// Whether a part may lie in a hole or window of another part.
enum class PartsInHoles { Allowed, Refused };

struct SheetSegment {
    double x1, y1, x2, y2;
};

// One block reference as segments in world coordinates, and the same segments chained into closed loops; the
// open polylines of a block (open cuts, engraving) in `marks`, which bound no material but may not cross another
// part either.
struct SheetShape {
    std::string block;
    std::vector<SheetSegment> segments;
    std::vector<std::vector<SheetSegment>> loops;
    std::vector<SheetSegment> marks;
};

namespace overlap_detail {

struct P {
    double x, y;
};

inline int ChordCount(double radius, double sweep) {
    const double step = radius > kChordSagitta ? 2.0 * std::acos(1.0 - kChordSagitta / radius) : sweep;
    return std::max(1, static_cast<int>(std::ceil(std::abs(sweep) / step)));
}

// Points of the arc about (cx, cy) from angle a0 turning by sweep (counter-clockwise positive), both ends included.
inline std::vector<P> ArcPoints(double cx, double cy, double r, double a0, double sweep) {
    const int n = ChordCount(r, sweep);
    std::vector<P> points;
    for (int i = 0; i <= n; ++i) {
        const double a = a0 + sweep * i / n;
        points.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return points;
}

inline void AddPolyline(std::vector<SheetSegment>& out, const std::vector<P>& points) {
    for (std::size_t i = 1; i < points.size(); ++i) {
        out.push_back({points[i - 1].x, points[i - 1].y, points[i].x, points[i].y});
    }
}

// The segments of one entity of a block in block coordinates; entities that bound no material give none, and an
// open polyline gives its segments to `open`.
inline void EntitySegments(const host::db::Entity& e, std::vector<SheetSegment>& closed, std::vector<SheetSegment>& open) {
    std::vector<SheetSegment>& out = closed;
    if (const auto* line = dynamic_cast<const host::db::Line*>(&e)) {
        out.push_back({line->start().x, line->start().y, line->end().x, line->end().y});
    } else if (const auto* arc = dynamic_cast<const host::db::Arc*>(&e)) {
        double sweep = arc->endAngle() - arc->startAngle();
        while (sweep <= 0.0) sweep += 2.0 * std::numbers::pi;
        AddPolyline(out, ArcPoints(arc->center().x, arc->center().y, arc->radius(), arc->startAngle(), sweep));
    } else if (const auto* circle = dynamic_cast<const host::db::Circle*>(&e)) {
        AddPolyline(out, ArcPoints(circle->center().x, circle->center().y, circle->radius(), 0.0,
                                   2.0 * std::numbers::pi));
    } else if (const auto* poly = dynamic_cast<const host::db::LwPolyline*>(&e)) {
        const auto& v = poly->vertices();
        const std::size_t n = v.size();
        const std::size_t spans = poly->isClosed() ? n : (n > 0 ? n - 1 : 0);
        std::vector<SheetSegment>& out = poly->isClosed() ? closed : open;
        for (std::size_t i = 0; i < spans; ++i) {
            const P a{v[i].point.x, v[i].point.y};
            const P b{v[(i + 1) % n].point.x, v[(i + 1) % n].point.y};
            if (v[i].bulge == 0.0) {
                out.push_back({a.x, a.y, b.x, b.y});
                continue;
            }
            // the centre lies left of the chord by (d/2) / tan(sweep/2), the sweep signed by the bulge
            const double sweep = 4.0 * std::atan(v[i].bulge);
            const double d = std::hypot(b.x - a.x, b.y - a.y);
            const double ux = (b.x - a.x) / d, uy = (b.y - a.y) / d;
            const double off = d / 2.0 / std::tan(sweep / 2.0);
            const double cx = (a.x + b.x) / 2.0 - uy * off, cy = (a.y + b.y) / 2.0 + ux * off;
            const double r = std::hypot(a.x - cx, a.y - cy);
            AddPolyline(out, ArcPoints(cx, cy, r, std::atan2(a.y - cy, a.x - cx), sweep));
        }
    }
}

inline double Cross(double ax, double ay, double bx, double by, double cx, double cy) {
    return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

inline bool OnSegment(double ax, double ay, double bx, double by, double px, double py) {
    return std::min(ax, bx) - 1e-9 <= px && px <= std::max(ax, bx) + 1e-9 && std::min(ay, by) - 1e-9 <= py &&
           py <= std::max(ay, by) + 1e-9;
}

// Whether the segments cross or touch.
inline bool SegmentsMeet(const SheetSegment& s, const SheetSegment& t) {
    const double d1 = Cross(t.x1, t.y1, t.x2, t.y2, s.x1, s.y1);
    const double d2 = Cross(t.x1, t.y1, t.x2, t.y2, s.x2, s.y2);
    const double d3 = Cross(s.x1, s.y1, s.x2, s.y2, t.x1, t.y1);
    const double d4 = Cross(s.x1, s.y1, s.x2, s.y2, t.x2, t.y2);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return true;
    constexpr double eps = 1e-9;
    return (std::abs(d1) < eps && OnSegment(t.x1, t.y1, t.x2, t.y2, s.x1, s.y1)) ||
           (std::abs(d2) < eps && OnSegment(t.x1, t.y1, t.x2, t.y2, s.x2, s.y2)) ||
           (std::abs(d3) < eps && OnSegment(s.x1, s.y1, s.x2, s.y2, t.x1, t.y1)) ||
           (std::abs(d4) < eps && OnSegment(s.x1, s.y1, s.x2, s.y2, t.x2, t.y2));
}

// Even-odd: whether (px, py) lies in the material the shape's loops bound.
inline bool Inside(const SheetShape& shape, double px, double py) {
    bool inside = false;
    for (const SheetSegment& s : shape.segments) {
        if ((s.y1 > py) != (s.y2 > py)) {
            const double x = s.x1 + (py - s.y1) * (s.x2 - s.x1) / (s.y2 - s.y1);
            if (x > px) inside = !inside;
        }
    }
    return inside;
}

// Whether (px, py) lies inside one of the shape's loops: its material with holes and windows filled.
inline bool InsideAnyLoop(const SheetShape& shape, double px, double py) {
    for (const std::vector<SheetSegment>& loop : shape.loops) {
        if (Inside(SheetShape{"", loop, {}, {}}, px, py)) return true;
    }
    return false;
}

// The segments grouped by shared ends (exactly equal points, as the chords and transforms give them).
inline std::vector<std::vector<SheetSegment>> Loops(const std::vector<SheetSegment>& segments) {
    std::vector<std::size_t> parent(segments.size());
    std::iota(parent.begin(), parent.end(), std::size_t{0});
    auto root = [&](std::size_t i) {
        while (parent[i] != i) i = parent[i] = parent[parent[i]];
        return i;
    };
    std::map<std::pair<double, double>, std::size_t> ends;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        for (const std::pair<double, double>& end :
             {std::pair{segments[i].x1, segments[i].y1}, std::pair{segments[i].x2, segments[i].y2}}) {
            const auto [at, added] = ends.emplace(end, i);
            if (!added) parent[root(i)] = root(at->second);
        }
    }
    std::map<std::size_t, std::vector<SheetSegment>> groups;
    for (std::size_t i = 0; i < segments.size(); ++i) groups[root(i)].push_back(segments[i]);
    std::vector<std::vector<SheetSegment>> loops;
    for (auto& [r, loop] : groups) loops.push_back(std::move(loop));
    return loops;
}

inline bool EdgesMeet(const SheetShape& a, const SheetShape& b) {
    for (const std::vector<SheetSegment>* as : {&a.segments, &a.marks})
        for (const std::vector<SheetSegment>* bs : {&b.segments, &b.marks})
            for (const SheetSegment& s : *as)
                for (const SheetSegment& t : *bs)
                    if (SegmentsMeet(s, t)) return true;
    return false;
}

// Whether a point of `of` lies in the material of `in` (holes filled with PartsInHoles::Refused).
inline bool AnyPointInside(const SheetShape& of, const SheetShape& in, PartsInHoles holes = PartsInHoles::Allowed) {
    for (const SheetSegment& s : of.segments)
        if (holes == PartsInHoles::Refused ? InsideAnyLoop(in, s.x1, s.y1) : Inside(in, s.x1, s.y1)) return true;
    return false;
}

inline bool AllPointsInside(const SheetShape& of, const SheetShape& in) {
    for (const SheetSegment& s : of.segments)
        if (!Inside(in, s.x1, s.y1)) return false;
    return true;
}

}  // namespace overlap_detail

// Every block reference of the saved drawing's model space, as segments in world coordinates.
inline std::vector<SheetShape> ReadSheetShapes(const std::filesystem::path& saved, std::string* error = nullptr) {
    std::vector<SheetShape> shapes;
    host::dxf::ReadResult read = host::dxf::readDxfFile(saved);
    if (!read) {
        if (error) *error = read.error;
        return shapes;
    }
    const host::db::Database& db = *read.database;
    const auto* ms = dynamic_cast<const host::db::BlockTableRecord*>(db.peek(db.modelSpaceId()));
    for (host::db::ObjectId id : ms->entityIds()) {
        const auto* ref = dynamic_cast<const host::db::BlockReference*>(db.peek(id));
        if (ref == nullptr || ref->isErased()) continue;
        const auto* block = dynamic_cast<const host::db::BlockTableRecord*>(db.peek(ref->blockTableRecord()));
        if (block == nullptr) continue;
        SheetShape shape{ref->blockName(), {}, {}, {}};
        std::vector<SheetSegment> local;
        std::vector<SheetSegment> open;
        for (host::db::ObjectId part : block->entityIds()) {
            const auto* e = dynamic_cast<const host::db::Entity*>(db.peek(part));
            if (e != nullptr && !e->isErased()) overlap_detail::EntitySegments(*e, local, open);
        }
        const host::ge::Matrix3d toWorld = ref->blockTransform();
        for (auto [from, to] : {std::pair{&local, &shape.segments}, std::pair{&open, &shape.marks}}) {
            for (const SheetSegment& s : *from) {
                const host::ge::Point3d a = toWorld * host::ge::Point3d{s.x1, s.y1, 0.0};
                const host::ge::Point3d b = toWorld * host::ge::Point3d{s.x2, s.y2, 0.0};
                to->push_back({a.x, a.y, b.x, b.y});
            }
        }
        shape.loops = overlap_detail::Loops(shape.segments);
        shapes.push_back(std::move(shape));
    }
    return shapes;
}

// What is wrong with the saved sheet: parts that overlap another part or a clamp, parts that leave the stock
// (the reference of `stockBlock`), and a sheet without that stock. Empty when the sheet is sound.
inline std::vector<std::string> SheetOverlaps(const std::filesystem::path& saved, const std::string& stockBlock,
                                              const std::string& clampBlock = "Clamp",
                                              PartsInHoles holes = PartsInHoles::Allowed) {
    using namespace overlap_detail;
    std::string error;
    const std::vector<SheetShape> shapes = ReadSheetShapes(saved, &error);
    if (!error.empty()) return {saved.string() + ": " + error};
    const SheetShape* stock = nullptr;
    for (const SheetShape& s : shapes)
        if (s.block == stockBlock) stock = &s;
    if (stock == nullptr) return {saved.string() + ": no stock " + stockBlock};
    std::vector<std::string> faults;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const SheetShape& a = shapes[i];
        if (&a == stock || a.block == clampBlock) continue;
        const std::string name = a.block + " #" + std::to_string(i);
        if (EdgesMeet(a, *stock) || a.segments.empty() || !AllPointsInside(a, *stock) ||
            AnyPointInside(*stock, a, holes)) {
            faults.push_back(name + " leaves the stock");
        }
        for (std::size_t j = 0; j < shapes.size(); ++j) {
            const SheetShape& b = shapes[j];
            if (j == i || &b == stock || (j < i && b.block != clampBlock)) continue;
            if (EdgesMeet(a, b) || AnyPointInside(a, b, holes) || AnyPointInside(b, a, holes)) {
                faults.push_back(name + " overlaps " + b.block + " #" + std::to_string(j));
            }
        }
    }
    return faults;
}

}  // namespace e2e
