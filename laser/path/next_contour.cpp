// The choice of the next contour of a cutting order: candidate lists by phase and by part, the nearest contour or
// the one a start corner or an unloading zone prefers, and the check for contours that lost their entity.
#include "laser/path/next_contour.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "cadlib/entity_access.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "laser/job/drawing_slot.h"
#include "laser/settings/laser_settings.h"

using host::db::ObjectPtr;
using host::db::OpenMode;
using host::ge::Point3d;

namespace {

// Best distance before any candidate is seen.
constexpr double kFarAway = 1e99;

// The fixed aim angles (degrees) of a circle for start corners 1 to 4: the point of the circle facing the corner.
constexpr double kCornerAimDegrees[5] = {0.0, 225.0, 135.0, 45.0, 315.0};

// A box distance is only a lower bound of the distances it prunes; this much slack keeps a rounding difference
// between the two computations from hiding a contour that is in fact nearer.
constexpr double kPruneSlack = 1e-9;

bool IsKind(const ContourRecord& r, ContourKind kind) { return r.kind == kind; }

bool IsEngraveKind(ContourKind kind) {
    return kind == ContourKind::EngraveLine || kind == ContourKind::EngraveAndMarkLine ||
           kind == ContourKind::MarkLine;
}

// The cutting phase (any phase but the first two): a contour waits there for what is inside it.
bool IsCutPhase(int phase) { return phase != kPhaseEngraveAndMark && phase != kPhaseHeatTreatment; }

// Whether a contour that may be cut is of the kinds of `phase`.
bool OfPhase(const ContourRecord& r, int phase, const CLaserSettings& settings) {
    if (phase == kPhaseEngraveAndMark) return IsEngraveKind(r.kind);
    if (phase == kPhaseHeatTreatment) return IsKind(r, ContourKind::HeatTreatmentLine);
    // With phases, engravings, marks and heat treatments had theirs; without, they are cut among the cuts (a heat
    // treatment left out here was reached only as a leaf of the sheet, after the part around it).
    return settings.CutEngraveType == 0 || !(IsEngraveKind(r.kind) || IsKind(r, ContourKind::HeatTreatmentLine));
}

// Square of the distance from `p` to the record's box in the plane: no vertex or circle point of the contour is
// nearer.
double SquaredDistanceToBox(const Point3d& p, const ContourRecord& r) {
    const double dx = std::max({r.minX - p.x, 0.0, p.x - r.maxX});
    const double dy = std::max({r.minY - p.y, 0.0, p.y - r.maxY});
    return dx * dx + dy * dy;
}

Point3d ZonePoint(const CLaserSettings& s, int zone) {
    switch (zone) {
        case 1: return {s.Zone1PointX, s.Zone1PointY, s.Zone1PointZ};
        case 2: return {s.Zone2PointX, s.Zone2PointY, s.Zone2PointZ};
        case 3: return {s.Zone3PointX, s.Zone3PointY, s.Zone3PointZ};
        default: return {s.Zone4PointX, s.Zone4PointY, s.Zone4PointZ};
    }
}

// The vertices of a polyline that may start its cut: all of a closed one, the two ends of an open one.
std::vector<Point3d> EntryVertices(const host::db::LwPolyline& pl) {
    std::vector<Point3d> out;
    const unsigned n = pl.numVerts();
    if (n == 0) return out;
    auto at = [&](unsigned i) {
        Point3d p;
        pl.getPointAt(i, p);
        return p;
    };
    if (pl.isClosed()) {
        out.reserve(n);
        for (unsigned i = 0; i < n; ++i) out.push_back(at(i));
    } else {
        out.push_back(at(0));
        if (n > 1) out.push_back(at(n - 1));
    }
    return out;
}

}  // namespace

Point3d BoxCorner(const ContourRecord& r, int corner) {
    switch (corner) {
        case 1: return {r.minX, r.minY, 0.0};
        case 2: return {r.minX, r.maxY, 0.0};
        case 3: return {r.maxX, r.maxY, 0.0};
        default: return {r.maxX, r.minY, 0.0};
    }
}

int StartCornerSetting(const CLaserSettings& settings) {
    const int v = settings.UnloadZahodType;
    return v >= 1 && v <= 4 ? v : 0;
}

int ZoneModeSetting(const CLaserSettings& settings) {
    const int v = static_cast<std::uint8_t>(settings.UnloadZahod_CurentCutWinZona);
    return v >= 1 && v <= 4 ? v : 0;
}

NextContourSearch::NextContourSearch(const CuttingJob& job, const CLaserSettings& settings)
    : job_(job), settings_(settings) {
    count_ = std::clamp(job.contourCount, 0, static_cast<int>(job.contours.size()));
    byHandle_.reserve(static_cast<std::size_t>(count_));
    for (int i = 0; i < count_; ++i) byHandle_.try_emplace(job.contours[static_cast<std::size_t>(i)].handle, i);
    handleOwner_.resize(static_cast<std::size_t>(count_));
    for (int i = 0; i < count_; ++i) {
        handleOwner_[static_cast<std::size_t>(i)] = IndexOfHandle(job.contours[static_cast<std::size_t>(i)].handle);
    }
    walkMark_.assign(static_cast<std::size_t>(count_), 0);
    // Enclosing record of each record (kNoContour at the top level or for a handle of no record).
    std::vector<int>& enclosing = enclosing_;
    enclosing.assign(static_cast<std::size_t>(count_), kNoContour);
    childStart_.assign(static_cast<std::size_t>(count_) + 1, 0);
    for (int i = 0; i < count_; ++i) {
        const std::uint64_t parent = job.contours[static_cast<std::size_t>(i)].parentHandle;
        const int p = parent == 0 ? kNoContour : IndexOfHandle(parent);
        if (parent == 0) {
            topLevel_.push_back(i);
        } else if (p != kNoContour) {
            enclosing[static_cast<std::size_t>(i)] = p;
            ++childStart_[static_cast<std::size_t>(p) + 1];
        } else {
            orphans_[parent].push_back(i);
        }
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(count_); ++i) childStart_[i + 1] += childStart_[i];
    childList_.resize(static_cast<std::size_t>(childStart_.back()));
    std::vector<int> fill(childStart_.begin(), childStart_.end() - 1);
    for (int i = 0; i < count_; ++i) {
        const int p = enclosing[static_cast<std::size_t>(i)];
        if (p != kNoContour) childList_[static_cast<std::size_t>(fill[static_cast<std::size_t>(p)]++)] = i;
    }
    NoteForest();
}

std::span<const int> NextContourSearch::ChildrenOfHandle(std::uint64_t handle) const {
    if (handle == 0) return topLevel_;
    const int p = IndexOfHandle(handle);
    if (p != kNoContour) {
        const auto begin = static_cast<std::size_t>(childStart_[static_cast<std::size_t>(p)]);
        const auto end = static_cast<std::size_t>(childStart_[static_cast<std::size_t>(p) + 1]);
        return std::span<const int>(childList_).subspan(begin, end - begin);
    }
    const auto it = orphans_.find(handle);
    return it == orphans_.end() ? std::span<const int>() : std::span<const int>(it->second);
}

std::span<const int> NextContourSearch::ChildrenOfRecord(int i) const {
    if (job_.contours[static_cast<std::size_t>(i)].handle == 0) return topLevel_;
    const auto owner = static_cast<std::size_t>(handleOwner_[static_cast<std::size_t>(i)]);
    const auto begin = static_cast<std::size_t>(childStart_[owner]);
    return std::span<const int>(childList_).subspan(begin, static_cast<std::size_t>(childStart_[owner + 1]) - begin);
}

int NextContourSearch::IndexOfHandle(std::uint64_t handle) const {
    const auto it = byHandle_.find(handle);
    return it == byHandle_.end() ? kNoContour : it->second;
}

bool NextContourSearch::MayBeCut(int index) const {
    const ContourRecord& r = job_.contours[static_cast<std::size_t>(index)];
    if (r.role != kRolePart || r.processed != 0) return false;
    if (IsKind(r, ContourKind::KindJumperPoint)) return false;
    if (IsKind(r, ContourKind::MarkPoint) && settings_.UseMarkPoint != 1) return false;
    return true;
}

bool NextContourSearch::HasWorkInside(int index) const {
    // Records that share a handle all see the children of the first of them, as a look-up by handle would.
    const std::span<const int> children = ChildrenOfRecord(index);
    return std::any_of(children.begin(), children.end(), [&](int j) { return j != index && MayBeCut(j); });
}

int NextContourSearch::CollectCutCandidates(std::vector<int>& indices, int phase) const {
    indices.clear();
    int outerCount = 0;
    for (int i = 0; i < count_; ++i) {
        if (!MayBeCut(i)) continue;
        const ContourRecord& r = job_.contours[static_cast<std::size_t>(i)];
        if (!OfPhase(r, phase, settings_)) continue;
        // Holes, islands, engravings and marks are cut before the contour around them: once the outline is cut
        // the part may move or drop, and what is inside it would be cut off its place.
        if (IsCutPhase(phase) && HasWorkInside(i)) continue;
        indices.push_back(i);
        if (r.placement == kPlacementOuter) ++outerCount;
    }
    const int n = static_cast<int>(indices.size());
    if (settings_.ModeCutInnerContoursFirst == 1 && outerCount > 0 && outerCount < n) {
        // The whole sheet's inner contours go first: drop the outer ones, the last entry filling each gap.
        for (std::size_t k = 0; k < indices.size();) {
            if (job_.contours[static_cast<std::size_t>(indices[k])].placement == kPlacementOuter) {
                indices[k] = indices.back();
                indices.pop_back();
            } else {
                ++k;
            }
        }
    }
    return static_cast<int>(indices.size());
}

bool NextContourSearch::IsCandidate(int index, int phase) const {
    if (!MayBeCut(index)) return false;
    if (!OfPhase(job_.contours[static_cast<std::size_t>(index)], phase, settings_)) return false;
    return !IsCutPhase(phase) || !HasWorkInsideIndexed(index);
}

int NextContourSearch::GroupCandidatesByPart(std::vector<int>& indices, int phase) const {
    if (phase != kPhaseCutting) {
        indices.clear();
        return 0;
    }
    std::vector<int> parts;
    for (const int i : indices) {
        const ContourRecord& r = job_.contours[static_cast<std::size_t>(i)];
        int part = kNoContour;
        if (r.placement != kPlacementOuter) {
            const int j = IndexOfHandle(r.parentHandle);
            if (j != kNoContour && j != i && job_.contours[static_cast<std::size_t>(j)].processed != 1) part = j;
        } else if (r.processed == 0) {
            part = i;
        }
        if (part != kNoContour && std::find(parts.begin(), parts.end(), part) == parts.end()) parts.push_back(part);
    }
    indices = std::move(parts);
    return static_cast<int>(indices.size());
}

int NextContourSearch::CollectPartLeaves(std::vector<int>& indices, std::uint64_t partHandle) const {
    indices.clear();
    std::vector<int>& work = walkList_;
    work.clear();
    ++walk_;
    auto meet = [&](int j) {
        unsigned& mark = walkMark_[static_cast<std::size_t>(j)];
        if (mark == walk_) return false;
        mark = walk_;
        return true;
    };
    for (const int j : ChildrenOfHandle(partHandle)) {
        if (MayBeCut(j) && meet(j)) work.push_back(j);
    }
    if (work.empty()) {
        const int self = IndexOfHandle(partHandle);
        if (self == kNoContour) return 0;
        indices.push_back(self);
        return 1;
    }
    // Breadth first: every visited contour appends what is still to be cut inside it; one that appended nothing is
    // a leaf. Deeper levels obey the same marking rule as the first, so a mark point on an island inside a hole is
    // not cut while marking is off.
    for (std::size_t k = 0; k < work.size(); ++k) {
        const int v = work[k];
        bool gained = false;
        for (const int j : ChildrenOfRecord(v)) {
            if (j != v && MayBeCut(j) && meet(j)) {
                work.push_back(j);
                gained = true;
            }
        }
        if (!gained) indices.push_back(v);
    }
    return static_cast<int>(indices.size());
}

int NextContourSearch::SelectNextContour(const Point3d& current, const std::vector<int>& indices,
                                         Point3d& targetPoint) const {
    return SelectNextContour(current, indices, targetPoint, ZoneModeSetting(settings_));
}

int NextContourSearch::SelectNextContour(const Point3d& current, const std::vector<int>& indices,
                                         Point3d& targetPoint, int zoneMode) const {
    if (zoneMode >= 1 && zoneMode <= 4) return SelectByZone(current, indices, targetPoint, zoneMode);
    return SelectNearest(current, indices, targetPoint);
}

bool NextContourSearch::MayBeChosen(int i) const {
    if (i < 0 || i >= count_) return false;
    const ContourRecord& r = job_.contours[static_cast<std::size_t>(i)];
    if (r.processed != 0 || IsKind(r, ContourKind::KindJumperPoint)) return false;
    return r.shape == kShapeCircle || r.shape == kShapePolyline ||
           (r.shape == kShapePoint && IsKind(r, ContourKind::MarkPoint));
}

bool NextContourSearch::AimOf(int i, const Point3d& current, int corner, Point3d& aim) const {
    const ContourRecord& r = job_.contours[static_cast<std::size_t>(i)];
    if (r.shape == kShapeCircle) {
        ObjectPtr<host::db::Circle> circle(IdOfHandle(r.handle), OpenMode::Read);
        if (!circle) return false;
        const Point3d c = circle->center();
        const double angle = corner == 0 ? std::atan2(current.y - c.y, current.x - c.x)
                                         : kCornerAimDegrees[corner] * std::numbers::pi / 180.0;
        aim = Point3d(c.x + circle->radius() * std::cos(angle), c.y + circle->radius() * std::sin(angle), c.z);
        return true;
    }
    if (r.shape == kShapePolyline) {
        ObjectPtr<host::db::LwPolyline> pl(IdOfHandle(r.handle), OpenMode::Read);
        if (!pl) return false;
        const std::vector<Point3d> vertices = EntryVertices(*pl);
        if (vertices.empty()) return false;
        // Without a start corner the vertex nearest the tool; with one, the contour's own vertex nearest its
        // corner stands for it. The first of equally near vertices.
        const Point3d from = corner == 0 ? current : BoxCorner(r, corner);
        std::size_t nearest = 0;
        for (std::size_t v = 1; v < vertices.size(); ++v) {
            if (from.distanceTo(vertices[v]) < from.distanceTo(vertices[nearest])) nearest = v;
        }
        aim = vertices[nearest];
        return true;
    }
    aim = Point3d(r.maxX, r.maxY, 0.0);   // a mark point
    return true;
}

int NextContourSearch::SelectNearest(const Point3d& current, const std::vector<int>& indices,
                                     Point3d& targetPoint) const {
    const int corner = StartCornerSetting(settings_);
    // Every aim point lies in its contour's box, so a contour whose box lies farther than some aim cannot win. The
    // aim of the contour whose box lies nearest gives that bound at once, and most contours of a large list are
    // then passed over on their boxes alone, without their entities being opened.
    std::vector<BoxReach>& boxes = boxReach_;
    boxes.clear();
    double bound = kFarAway;
    int probe = kNoContour;
    double probeBox = kFarAway;
    for (const int i : indices) {
        if (!MayBeChosen(i)) continue;
        const double d2 = SquaredDistanceToBox(current, job_.contours[static_cast<std::size_t>(i)]);
        boxes.push_back({i, d2});
        if (d2 < probeBox) {
            probeBox = d2;
            probe = i;
        }
    }
    if (Point3d a; probe != kNoContour && AimOf(probe, current, corner, a)) bound = current.distanceTo(a);

    double best = kFarAway;
    int winner = kNoContour;
    Point3d aim;
    for (const BoxReach& b : boxes) {
        const double limit = std::min(best, bound);
        const double reach = limit * (1.0 + kPruneSlack) + kPruneSlack;
        if (limit < kFarAway && b.squaredDistance > reach * reach) continue;
        Point3d a;
        if (!AimOf(b.index, current, corner, a)) continue;
        const double d = current.distanceTo(a);
        if (d < best) {   // strictly nearer: of equally near contours the earlier entry wins
            best = d;
            winner = b.index;
            aim = a;
        }
    }
    if (winner != kNoContour) targetPoint = aim;
    return winner;
}

int NextContourSearch::SelectByZone(const Point3d& current, const std::vector<int>& indices, Point3d& targetPoint,
                                    int zoneMode) const {
    struct Target {
        int index;
        Point3d point;
    };
    std::vector<Target> targets;
    targets.reserve(indices.size());
    for (const int i : indices) {
        if (i < 0 || i >= count_) continue;
        const ContourRecord& r = job_.contours[static_cast<std::size_t>(i)];
        if (r.processed != 0 || IsKind(r, ContourKind::KindJumperPoint)) continue;
        if (r.shape == kShapePolyline) {
            const double midX = (r.minX + r.maxX) / 2.0, midY = (r.minY + r.maxY) / 2.0;
            switch (zoneMode) {
                case 1: targets.push_back({i, {r.maxX, midY, 0.0}}); break;
                case 3: targets.push_back({i, {r.minX, midY, 0.0}}); break;
                default: targets.push_back({i, {midX, r.minY, 0.0}}); break;   // 2 and 4
            }
        } else if (r.shape == kShapeCircle) {
            ObjectPtr<host::db::Circle> circle(IdOfHandle(r.handle), OpenMode::Read);
            if (!circle) continue;
            const Point3d c = circle->center();
            const double rad = circle->radius();
            switch (zoneMode) {
                case 1: targets.push_back({i, {c.x + rad, c.y, 0.0}}); break;
                case 3: targets.push_back({i, {c.x - rad, c.y, 0.0}}); break;
                default: targets.push_back({i, {c.x, c.y - rad, 0.0}}); break;
            }
        }
    }
    if (targets.empty()) return kNoContour;
    // The strip nearest the zone first, and inside the strip the contour nearest the tool.
    const Point3d zone = ZonePoint(settings_, zoneMode);
    double nearestToZone = kFarAway;
    for (const Target& t : targets) nearestToZone = std::min(nearestToZone, zone.distanceTo(t.point));
    const double band = nearestToZone + settings_.ZoneMaxDistOffset;
    double best = kFarAway;
    const Target* winner = nullptr;
    for (const Target& t : targets) {
        if (zone.distanceTo(t.point) > band) continue;
        const double d = current.distanceTo(t.point);
        if (d < best) {
            best = d;
            winner = &t;
        }
    }
    if (winner == nullptr) return kNoContour;
    targetPoint = winner->point;
    return winner->index;
}

int CheckContoursErased(const CuttingJob& job) {
    const int count = std::clamp(job.contourCount, 0, static_cast<int>(job.contours.size()));
    for (int i = 0; i < count; ++i) {
        const ContourRecord& r = job.contours[static_cast<std::size_t>(i)];
        if (r.processed != 0) continue;
        const host::db::ObjectId id = IdOfHandle(r.handle);
        if (id.isNull() || host::db::idToName(id).isNil() || id.isErased()) return -1;
    }
    return 0;
}
