// Turning lines, arcs and splines into lightweight polylines, and joining polylines into chains.
#include "host/ed/commands/polyline_edit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>

#include "host/ed/commands/entity_properties.h"
#include "host/ed/commands/poly_path.h"
#include "host/ge/angle.h"

namespace host::ed {

namespace {

using db::ObjectId;
using db::OpenMode;
using db::Status;


// ---- conversion

std::optional<PolyPath> linePath(const db::Line& line) {
    const double tol = ge::globalTolerance().equalPoint;
    if (std::abs(line.start().z - line.end().z) > tol) return std::nullopt;
    PolyPath path;
    path.elevation = line.start().z;
    path.vertices = {{line.start().to2d()}, {line.end().to2d()}};
    return path;
}

std::optional<PolyPath> arcPath(const db::Arc& arc) {
    PolyPath path;
    path.normal = arc.normal();
    const ge::Point2d center = planePoint(path, arc.center());
    path.elevation = (*ge::Matrix3d::planeToWorld(path.normal).inverse() * arc.center()).z;
    const double sweep = ge::ccwSweep(arc.startAngle(), arc.endAngle());
    const ge::Point2d start = ge::polarPoint(center, arc.startAngle(), arc.radius());
    if (sweep == 0.0) {  // equal angles draw the whole circle: two half circles
        path.vertices = {{start, 1.0}, {ge::polarPoint(center, arc.startAngle() + ge::kPi, arc.radius()), 1.0}};
        path.closed = true;
        return path;
    }
    path.vertices = {{start, std::tan(sweep / 4.0)}, {ge::polarPoint(center, arc.endAngle(), arc.radius())}};
    return path;
}

std::optional<PolyPath> splinePath(const db::Spline& spline, const SplineConversion& conversion) {
    PolyPath path;
    if (spline.normal().lengthSqrd() > 0.0) path.normal = spline.normal().normal();
    const int samples = splineSamplesPerSpan(conversion);
    std::vector<ge::Point3d> points = spline.tessellate(samples);
    if (points.size() < 2) return std::nullopt;
    path.elevation = (*ge::Matrix3d::planeToWorld(path.normal).inverse() * points.front()).z;
    std::vector<ge::Point2d> flat;
    for (const ge::Point3d& p : points) flat.push_back(planePoint(path, p));
    // Samples that coincide (a clamped knot, a repeated fit point) would make zero-length segments.
    flat.erase(std::unique(flat.begin(), flat.end(), [](auto& a, auto& b) { return a.isEqualTo(b); }), flat.end());
    const bool closed = spline.isClosed() && flat.size() > 2 && flat.front().isEqualTo(flat.back());
    if (flat.size() < 2) return std::nullopt;
    std::size_t i = 0;
    // Arcs through each run of three samples; a straight run (or a last lone pair) stays straight.
    while (i + 1 < flat.size()) {
        if (conversion.arcs && i + 2 < flat.size()) {
            const auto arc = ge::CircArc2d::fromThreePoints(flat[i], flat[i + 1], flat[i + 2]);
            path.vertices.push_back({flat[i], arc ? arc->bulge() : 0.0});
            i += 2;
        } else {
            path.vertices.push_back({flat[i], 0.0});
            i += 1;
        }
    }
    path.vertices.push_back({flat.back()});
    if (closed) {
        path.vertices.pop_back();
        path.closed = true;
    }
    return path;
}

// ---- joining

struct Member {
    ObjectId id;
    PolyPath path;
    bool used = false;
};

// The ends of the members on a grid whose cells are a little wider than the reach of a join, so that every end
// that meets a point lies in the point's cell or one of its eight neighbours, whatever the rounding of the
// distance and of the cell numbers. Keeps the join linear in the number of members where a search of all of them
// for every end would be quadratic.
class MemberEndGrid {
public:
    MemberEndGrid(const std::vector<Member>& members, double reach)
        : cell_(std::max(reach, kMinCell) * kCellMargin) {
        for (std::size_t i = 0; i < members.size(); ++i) {
            add(members[i].path.vertices.front().point, i);
            add(members[i].path.vertices.back().point, i);
        }
    }
    // The members with an end in the cells around `p`, ascending and each once.
    void near(const ge::Point2d& p, std::vector<std::size_t>& out) const {
        out.clear();
        const std::int64_t cx = cellOf(p.x), cy = cellOf(p.y);
        for (std::int64_t dx = -1; dx <= 1; ++dx) {
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                const auto it = cells_.find(key(cx + dx, cy + dy));
                if (it != cells_.end()) out.insert(out.end(), it->second.begin(), it->second.end());
            }
        }
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
    }

private:
    // Cells are at least this wide, so that coordinates stay far from the limits of the cell numbers.
    static constexpr double kMinCell = 1e-6;
    // Cells are this much wider than the reach: two ends that meet are less than a cell apart even when the
    // distance rounds down and the two cell numbers round apart (an end a hair below zero, one a reach above).
    static constexpr double kCellMargin = 1.0 + 1.0 / 1024;
    // Cell numbers are held within this bound (2^40), where a cell number is exact to far better than the
    // margin; far or undefined coordinates share the outermost cells.
    static constexpr double kMaxCellNumber = 1099511627776.0;

    std::int64_t cellOf(double v) const {
        if (!std::isfinite(cell_)) return 0;  // an unbounded reach: one cell holds every end
        const double c = std::floor(v / cell_);
        if (!(c > -kMaxCellNumber)) return static_cast<std::int64_t>(-kMaxCellNumber);
        if (!(c < kMaxCellNumber)) return static_cast<std::int64_t>(kMaxCellNumber);
        return static_cast<std::int64_t>(c);
    }
    static std::uint64_t key(std::int64_t x, std::int64_t y) {
        return static_cast<std::uint64_t>(x) * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint64_t>(y);
    }
    void add(const ge::Point2d& p, std::size_t member) { cells_[key(cellOf(p.x), cellOf(p.y))].push_back(member); }

    double cell_;
    // Cells by a mix of their two numbers; two cells that share a key only add candidates, which are tested.
    std::unordered_map<std::uint64_t, std::vector<std::size_t>> cells_;
};

bool samePlane(const PolyPath& a, const PolyPath& b) {
    const double tol = ge::globalTolerance().equalPoint;
    return (a.normal - b.normal).length() <= ge::globalTolerance().equalVector * 1e3 &&
           std::abs(a.elevation - b.elevation) <= tol;
}

// Appends `next` (already turned so that its start meets the chain's end) to the chain.
void appendPath(std::vector<PolyVertex>& chain, const std::vector<PolyVertex>& next) {
    if (chain.back().point.isEqualTo(next.front().point)) {
        const ge::Point2d keep = chain.back().point;  // the chain's geometry stays exact
        chain.back() = next.front();
        chain.back().point = keep;
    } else {
        chain.back().bulge = 0.0;  // a straight bridge over the gap
        chain.push_back(next.front());
    }
    chain.insert(chain.end(), next.begin() + 1, next.end());
}

// Prepends `prev` (turned so that its end meets the chain's start) to the chain.
void prependPath(std::vector<PolyVertex>& chain, std::vector<PolyVertex> prev) {
    if (prev.back().point.isEqualTo(chain.front().point)) {
        prev.pop_back();
    } else {
        prev.back().bulge = 0.0;
        prev.back().startWidth = prev.back().endWidth = 0.0;
    }
    chain.insert(chain.begin(), prev.begin(), prev.end());
}

}  // namespace

int splineSamplesPerSpan(const SplineConversion& conversion) {
    return 2 * (std::clamp(conversion.precision, 0, SplineConversion::kMaxPrecision) + 1);
}

Status convertToPolyline(ObjectId entity, const SplineConversion& conversion, ObjectId* polyline) {
    if (entity.isNull()) return Status::NullObjectId;
    db::Database& db = *entity.database();
    const auto* source = dynamic_cast<const db::Entity*>(db.peek(entity));
    if (!source) return Status::WrongObjectType;
    if (source->isErased()) return Status::WasErased;
    std::optional<PolyPath> path;
    if (const auto* line = dynamic_cast<const db::Line*>(source)) path = linePath(*line);
    else if (const auto* arc = dynamic_cast<const db::Arc*>(source)) path = arcPath(*arc);
    else if (const auto* spline = dynamic_cast<const db::Spline*>(source)) path = splinePath(*spline, conversion);
    if (!path) return Status::NotApplicable;

    auto pline = std::make_unique<db::LwPolyline>();
    Status s = writePolyPath(*pline, *path);
    if (s != Status::Ok) return s;
    copyDrawingProperties(*pline, *source);
    const db::ResBufList xdata = source->xData();

    ObjectId id;
    {
        db::ObjectPtr<db::BlockTableRecord> space(source->ownerId(), OpenMode::Write);
        if (!space) return space.status();
        s = space->appendEntity(std::move(pline), &id);
        if (s != Status::Ok) return s;
    }
    db::ObjectPtr<db::Entity> added(id, OpenMode::Write);
    if (!xdata.empty() && added) added->setXData(xdata);
    db::ObjectPtr<db::Entity> old(entity, OpenMode::Write);
    s = old ? old->erase() : old.status();
    if (s != Status::Ok) {
        added->erase();
        return s;
    }
    if (polyline) *polyline = id;
    return Status::Ok;
}

Status joinPolylines(const std::vector<ObjectId>& polylines, double fuzz, JoinResult* result) {
    JoinResult out;
    std::vector<Member> members;
    std::unordered_set<ObjectId> listed;
    for (ObjectId id : polylines) {
        if (id.isNull()) continue;
        const auto* pl = dynamic_cast<const db::LwPolyline*>(id.database()->peek(id));
        if (!pl || pl->isErased() || pl->isClosed() || pl->numVerts() < 2) continue;
        if (!listed.insert(id).second) continue;
        members.push_back({id, *polyPathOf(*pl)});
    }
    const double reach = std::max(fuzz, ge::globalTolerance().equalPoint);
    const auto meets = [&](const ge::Point2d& a, const ge::Point2d& b) { return a.distanceTo(b) <= reach; };
    const MemberEndGrid grid(members, reach);
    std::vector<std::size_t> candidates;

    for (std::size_t b = 0; b < members.size(); ++b) {
        if (members[b].used) continue;
        Member& base = members[b];
        base.used = true;
        std::vector<PolyVertex> chain = base.path.vertices;
        std::vector<ObjectId> joined;
        // Grow at the end, then at the start: each time the first unused member in input order that meets.
        for (int side = 0; side < 2; ++side) {
            for (bool grew = true; grew;) {
                grew = false;
                const ge::Point2d end = side == 0 ? chain.back().point : chain.front().point;
                // Only members with an end near `end` can meet it; the grid lists them in input order.
                grid.near(end, candidates);
                for (std::size_t k : candidates) {
                    Member& m = members[k];
                    if (m.used || !samePlane(base.path, m.path)) continue;
                    const ge::Point2d mStart = m.path.vertices.front().point, mEnd = m.path.vertices.back().point;
                    const bool forward = side == 0 ? meets(end, mStart) : meets(end, mEnd);
                    const bool backward = side == 0 ? meets(end, mEnd) : meets(end, mStart);
                    if (!forward && !backward) continue;
                    const PolyPath piece = forward ? m.path : m.path.reversed();
                    if (side == 0) appendPath(chain, piece.vertices);
                    else prependPath(chain, piece.vertices);
                    m.used = grew = true;
                    joined.push_back(m.id);
                    break;
                }
            }
        }
        PolyPath joinedPath = base.path;
        joinedPath.vertices = chain;
        if (chain.size() > 2 && meets(chain.front().point, chain.back().point)) {
            if (chain.front().point.isEqualTo(chain.back().point)) joinedPath.vertices.pop_back();
            else joinedPath.vertices.back().bulge = 0.0;
            joinedPath.closed = true;
            ++out.closed;
        }
        if (!joined.empty() || joinedPath.closed) {
            db::ObjectPtr<db::LwPolyline> pl(base.id, OpenMode::Write);
            if (!pl) return pl.status();
            const Status s = writePolyPath(*pl, joinedPath);
            if (s != Status::Ok) return s;
            for (ObjectId id : joined) {
                db::ObjectPtr<db::Entity> gone(id, OpenMode::Write);
                if (gone) gone->erase();
            }
            out.joined += int(joined.size());
        }
        out.polylines.push_back(base.id);
    }
    if (result) *result = out;
    return Status::Ok;
}

}  // namespace host::ed
