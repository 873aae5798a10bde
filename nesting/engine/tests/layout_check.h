// An independent check of a nesting layout for the engine's tests: every placed part's outline is rebuilt from its
// type and committed pose as a polygon (arcs and circles sampled), then tested with plain polygon geometry of its
// own - no code of the engine's relation or transforms - for lying inside its sheet and clear of the sheet's
// cut-outs and of every other part on the sheet.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <sstream>
#include <string>
#include <vector>

#include "nesting/model/nesting_engine.h"

namespace layout_check {

struct P {
    double x = 0.0;
    double y = 0.0;
};
using Polygon = std::vector<P>;

// Arcs and circles are sampled so finely that a chord lies at most this far inside its arc: far below the gaps
// the engine leaves between parts (a slide ends within a tenth of a millimetre of contact).
inline constexpr double kSampleSag = 1e-4;
// Orientation products below this size count as zero (points on a line).
inline constexpr double kOrientationEps = 1e-9;

inline P Rotate(P p, double angle, P offset) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return {p.x * c - p.y * s + offset.x, p.x * s + p.y * c + offset.y};
}

// The outline of a contour as a closed polygon (last point not repeated), in the contour's coordinates.
// Samples for an arc of `sweep` radians and radius r.
inline int ArcSamples(double sweep, double r) {
    const double step = r > kSampleSag ? 2.0 * std::acos(1.0 - kSampleSag / r) : sweep;
    return std::max(8, static_cast<int>(std::ceil(sweep / step)));
}

// With `enclose` a circle is sampled on the polygon around it (its edges touch the circle from outside), so
// that a part lying in a round hole within the engine's own tolerance is not taken for one across its edge.
inline Polygon Outline(const Contour& contour, bool enclose = false) {
    Polygon out;
    const double turn = 2.0 * std::acos(-1.0);
    for (const ContourElement& e : contour.Elements) {
        const int type = e.Type % 10;
        if (type == kElementCircle) {
            const int n = ArcSamples(turn, e.Radius);
            const double r = enclose ? e.Radius / std::cos(turn / (2.0 * n)) : e.Radius;
            for (int i = 0; i < n; ++i) {
                const double a = turn * i / n;
                out.push_back({e.Centre.x + r * std::cos(a), e.Centre.y + r * std::sin(a)});
            }
            continue;
        }
        if (type == kElementLine) {
            out.push_back({e.Start.x, e.Start.y});
            continue;
        }
        const double a0 = std::atan2(e.Start.y - e.Centre.y, e.Start.x - e.Centre.x);
        double a1 = std::atan2(e.End.y - e.Centre.y, e.End.x - e.Centre.x);
        while (a1 <= a0) a1 += turn;
        const int n = ArcSamples(a1 - a0, e.Radius);
        Polygon arc;
        for (int i = 0; i < n; ++i) {  // the end point is the next element's start
            const double a = a0 + (a1 - a0) * i / n;
            arc.push_back({e.Centre.x + e.Radius * std::cos(a), e.Centre.y + e.Radius * std::sin(a)});
        }
        if (e.Reversed) {
            // Run from End to Start: the first point is End, then the samples back towards Start.
            out.push_back({e.End.x, e.End.y});
            for (int i = n - 1; i >= 1; --i) out.push_back(arc[static_cast<std::size_t>(i)]);
        } else {
            out.insert(out.end(), arc.begin(), arc.end());
        }
    }
    return out;
}

inline Polygon Posed(const Polygon& polygon, double x, double y, double angle) {
    Polygon out;
    out.reserve(polygon.size());
    for (const P& p : polygon) out.push_back(Rotate(p, angle, {x, y}));
    return out;
}

inline double Cross(P o, P a, P b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

// Segments ab and cd cross properly (each one's ends strictly on both sides of the other).
inline bool SegmentsCross(P a, P b, P c, P d) {
    const double d1 = Cross(a, b, c);
    const double d2 = Cross(a, b, d);
    const double d3 = Cross(c, d, a);
    const double d4 = Cross(c, d, b);
    return ((d1 > kOrientationEps && d2 < -kOrientationEps) || (d1 < -kOrientationEps && d2 > kOrientationEps)) &&
           ((d3 > kOrientationEps && d4 < -kOrientationEps) || (d3 < -kOrientationEps && d4 > kOrientationEps));
}

// Even-odd ray test to the right.
inline bool PointInside(P p, const Polygon& polygon) {
    bool inside = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const P& a = polygon[i];
        const P& b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

// Whether any vertex or edge midpoint of `a` lies inside `b`.
inline bool AnyPointInside(const Polygon& a, const Polygon& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        const P& p = a[i];
        const P& q = a[(i + 1) % a.size()];
        if (PointInside(p, b) || PointInside({(p.x + q.x) / 2.0, (p.y + q.y) / 2.0}, b)) return true;
    }
    return false;
}

// Whether two outlines overlap: edges that cross, or a vertex or edge midpoint of one inside the other. Outlines
// that only touch are not told apart from overlapping ones; the engine keeps its parts apart, so a touch is a
// fault as well.
inline bool Overlap(const Polygon& a, const Polygon& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t j = 0; j < b.size(); ++j) {
            if (SegmentsCross(a[i], a[(i + 1) % a.size()], b[j], b[(j + 1) % b.size()])) return true;
        }
    }
    return AnyPointInside(a, b) || AnyPointInside(b, a);
}

// The posed outer outline of a placed part (its committed pose).
inline Polygon PartOutline(const PartInstance& part) {
    const PartPose& pose = *part.CommittedPose;
    return Posed(Outline(part.Type->Outers[pose.ContourSet].front()), pose.X, pose.Y, pose.Angle);
}

// The posed holes of a placed part.
inline std::vector<Polygon> PartHoles(const PartInstance& part) {
    const PartPose& pose = *part.CommittedPose;
    std::vector<Polygon> holes;
    for (const Contour& hole : part.Type->Holes[pose.ContourSet]) holes.push_back(Posed(Outline(hole, true), pose.X, pose.Y, pose.Angle));
    return holes;
}

// Whether the outline lies wholly inside one of the holes: no edge crossing that hole, every vertex inside it.
inline bool InsideAHole(const Polygon& outline, const std::vector<Polygon>& holes) {
    for (const Polygon& hole : holes) {
        bool inside = true;
        for (std::size_t i = 0; i < outline.size() && inside; ++i) {
            inside = PointInside(outline[i], hole);
            for (std::size_t j = 0; j < hole.size() && inside; ++j) {
                inside = !SegmentsCross(outline[i], outline[(i + 1) % outline.size()], hole[j], hole[(j + 1) % hole.size()]);
            }
        }
        if (inside) return true;
    }
    return false;
}

// Empty when every part on every sheet lies inside its sheet (box and outline), clear of the sheet's cut-outs
// and of every other part on that sheet unless it lies wholly in one of that part's holes; else a description of
// the first fault found.
inline std::string CheckLayout(const CNestingEngine& engine) {
    std::ostringstream fault;
    for (int k = 0; k < engine.StockInstanceCount; ++k) {
        const PartType& sheet = *engine.StockInstances[static_cast<std::size_t>(k)].Type;
        const Polygon sheetOutline = Outline(sheet.Outers[0].front());
        std::vector<Polygon> cutOuts;
        for (const Contour& c : sheet.Holes[0]) cutOuts.push_back(Outline(c));
        std::vector<std::pair<int, Polygon>> parts;
        for (int i = 0; i < engine.PartInstanceCount; ++i) {
            const PartInstance& part = engine.PartInstances[static_cast<std::size_t>(i)];
            if (part.Stock != k || !part.CommittedPose || part.CommittedPose->Valid == 0) continue;
            parts.emplace_back(i, PartOutline(part));
        }
        for (const auto& [i, outline] : parts) {
            // Clamps stand on the sheet's edge by design; they are only kept clear of the parts.
            if (engine.PartInstances[static_cast<std::size_t>(i)].Type->Kind == kKindClamp) continue;
            for (const P& p : outline) {
                if (p.x < sheet.OuterBox.minX || p.x > sheet.OuterBox.maxX || p.y < sheet.OuterBox.minY ||
                    p.y > sheet.OuterBox.maxY) {
                    fault << "part " << i << " leaves sheet " << k << " at (" << p.x << ", " << p.y << ")";
                    return fault.str();
                }
            }
            bool crosses = false;
            for (std::size_t a = 0; a < outline.size() && !crosses; ++a) {
                for (std::size_t b = 0; b < sheetOutline.size() && !crosses; ++b) {
                    crosses = SegmentsCross(outline[a], outline[(a + 1) % outline.size()], sheetOutline[b],
                                            sheetOutline[(b + 1) % sheetOutline.size()]);
                }
            }
            if (crosses || !PointInside(outline.front(), sheetOutline)) {
                fault << "part " << i << " is not inside the outline of sheet " << k;
                return fault.str();
            }
            for (const Polygon& cut : cutOuts) {
                if (Overlap(outline, cut)) {
                    fault << "part " << i << " meets a cut-out of sheet " << k;
                    return fault.str();
                }
            }
        }
        for (std::size_t a = 0; a < parts.size(); ++a) {
            for (std::size_t b = a + 1; b < parts.size(); ++b) {
                if (Overlap(parts[a].second, parts[b].second) &&
                    !InsideAHole(parts[a].second, PartHoles(engine.PartInstances[static_cast<std::size_t>(parts[b].first)])) &&
                    !InsideAHole(parts[b].second, PartHoles(engine.PartInstances[static_cast<std::size_t>(parts[a].first)]))) {
                    fault << "parts " << parts[a].first << " and " << parts[b].first << " overlap on sheet " << k;
                    return fault.str();
                }
            }
        }
    }
    return {};
}

}  // namespace layout_check
