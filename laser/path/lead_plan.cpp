// Lead collision tests: a lead's test line against its own contour and the other contours, turning blocked
// leads toward the contour's tangents, and the choice between two lead plans.
#include "laser/path/lead_plan.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <unordered_map>

#include "cadlib/angles.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "laser/contours/contour_box_index.h"
#include "laser/job/drawing_slot.h"

using host::ge::Point3d;

struct LeadObstacleIndexScope::Index {
    const CuttingJob* job;
    const ContourRecord* records;
    int count;
    ContourBoxIndex boxes;
    std::unordered_map<std::uint64_t, std::vector<int>> jumperPoints;  // by the handle of the contour they lie on
    // The outlines of the contours the lead tests have met, by their place in the table: each made once for the
    // whole run, since the run changes no contour (a contour beside many others was otherwise made again for
    // each of their lead tests).
    std::vector<std::unique_ptr<host::db::IntersectIndex>> outlines;

    // Whether this index was built from `job`'s table as it stands.
    bool Fits(const CuttingJob& j) const {
        return job == &j && records == j.contours.data() && count == j.contourCount;
    }
};

namespace {

// A test line is this much longer than its lead, so a lead that ends just short of another part still counts as
// blocked: the kerf and the pierce need room beyond the lead's end.
constexpr double kLeadTestMargin = 1.3;
// Crossings this close to the start point are the lead meeting its own contour where it should.
constexpr double kStartPointReach = 1e-6;
// Turned lead angles keep one degree between lead-in and lead-out so that they never coincide.
constexpr double kOneDegree = cadlib::kRadiansPerDegree;
// Number of turned angle pairs tried when a lead is blocked.
constexpr int kTurnPairs = 9;
// How far, relative to the size of the coordinates, a crossing may lie off the box of the contour it was found
// on: far above rounding, far below any lead.
constexpr double kReachSlack = 1e-6;

double Normalized(double angle) {
    NormalizeAngle(angle);
    return angle;
}

double Distance(const Point3d& a, const Point3d& b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

bool BoxesMeet(const host::db::Extents& a, const host::db::Extents& b) {
    return !(b.min.x > a.max.x || a.min.x > b.max.x || b.min.y > a.max.y || a.min.y > b.max.y);
}

// The test of one lead: its blocked flag, free length and crossing as the test leaves them.
struct LeadTest {
    std::uint8_t& blocked;
    double& freeLength;
    Point3d& crossing;
    double angle;
    double length;
};

// The nearest of `points` to the plan's start point (see NearestCrossing).
int NearestOf(const std::vector<Point3d>& points, const LeadInPlan& plan, double& freeLength, Point3d& crossing,
              bool ignoreStart) {
    if (points.empty()) return 0;
    freeLength = kLeadUnblockedLength;
    int found = 0;
    for (const Point3d& p : points) {
        const double d = Distance(plan.startPoint, p);
        if (ignoreStart && d < kStartPointReach) continue;
        if (found == 0 || d < freeLength) {
            freeLength = d;
            crossing = {p.x, p.y, 0.0};
        }
        found = 1;
    }
    return found;
}

// The index of the innermost live scope.
LeadObstacleIndexScope::Index* activeIndex = nullptr;

// The outline of a contour for the lead tests: the run's when a scope of this job lives, else the one the writer
// keeps. Every outline is kept, whatever its size: making a circle's or a rectangle's pieces (plane to world,
// normals) costs more than crossing them, and a lead test meets the same few neighbours again and again.
const host::db::IntersectIndex& OutlineOf(const CuttingJob& job, int record, std::uint64_t handle,
                                          const host::db::Entity& entity, LeadOutlines& kept) {
    LeadObstacleIndexScope::Index* index = activeIndex;
    if (index == nullptr || !index->Fits(job) || record < 0 ||
        static_cast<std::size_t>(record) >= index->outlines.size()) {
        return kept.of(handle, entity);
    }
    std::unique_ptr<host::db::IntersectIndex>& outline = index->outlines[static_cast<std::size_t>(record)];
    if (!outline) outline = std::make_unique<host::db::IntersectIndex>(entity);
    return *outline;
}

// Tests one lead against the contour itself and the other contours of the job (through their kept outlines when
// the caller keeps them).
void TestOneLead(const CuttingJob& job, const host::db::Entity& contour, LeadOutlines* outlines,
                 const LeadInPlan& plan, LeadTest lead) {
    const Point3d end = PointAtAngle(plan.startPoint, lead.angle, kLeadTestMargin * lead.length);
    // The test line as an entity, for a caller that keeps no outlines: they are crossed by its two ends alone.
    std::optional<host::db::Line> testLine;
    if (outlines == nullptr) testLine.emplace(plan.startPoint, end);
    // Nothing met yet: a crossing only ever shortens this.
    lead.freeLength = kLeadUnblockedLength;
    double ownFree = kLeadUnblockedLength;
    Point3d ownCrossing;
    const std::vector<Point3d> own =
        outlines ? outlines->ownCrossings(job, plan.contourIndex, plan.startPoint, end) : contour.intersectWith(*testLine);
    lead.blocked = NearestOf(own, plan, ownFree, ownCrossing, true) == 1 ? 1 : 0;
    if (lead.blocked) {
        lead.freeLength = ownFree;
        lead.crossing = ownCrossing;
    }

    host::db::Database* db = host::db::workingDatabase();
    if (db == nullptr) return;
    host::db::Extents lineBox{plan.startPoint, plan.startPoint};
    lineBox.add(end);
    // Only a crossing nearer than the nearest so far changes the answer once the lead is blocked: another contour
    // is looked for only within that reach of the start point (its box nearer, by more than rounding can move a
    // crossing off it), and the index is asked only along that part of the line.
    const double slack = kReachSlack * (1.0 + std::max({std::abs(lineBox.min.x), std::abs(lineBox.min.y),
                                                        std::abs(lineBox.max.x), std::abs(lineBox.max.y)}));
    const auto outOfReach = [&](const host::db::Extents& box) {
        if (!lead.blocked) return false;
        const double dx = std::max({box.min.x - plan.startPoint.x, 0.0, plan.startPoint.x - box.max.x});
        const double dy = std::max({box.min.y - plan.startPoint.y, 0.0, plan.startPoint.y - box.max.y});
        return std::hypot(dx, dy) > lead.freeLength + slack;
    };
    host::db::Extents askBox = lineBox;
    if (lead.blocked && lead.freeLength < kLeadTestMargin * lead.length) {
        askBox = {plan.startPoint, plan.startPoint};
        askBox.add(PointAtAngle(plan.startPoint, lead.angle, lead.freeLength));
        askBox.min.x -= slack, askBox.min.y -= slack, askBox.max.x += slack, askBox.max.y += slack;
    }
    const int count = job.contourCount;
    std::vector<int> near = ContoursNearBox(job, askBox.min.x, askBox.min.y, askBox.max.x, askBox.max.y);
    near.push_back(count);   // the stock record is never in the index
    for (const int i : near) {
        if (i == plan.contourIndex || i >= static_cast<int>(job.contours.size())) continue;
        const ContourRecord& other = job.contours[static_cast<std::size_t>(i)];
        if (other.kind == ContourKind::InsideCutLine) continue;
        if (i == count && other.role != kRoleStock) continue;
        const host::db::Extents otherBox{{other.minX, other.minY, 0.0}, {other.maxX, other.maxY, 0.0}};
        if (!BoxesMeet(lineBox, otherBox) || outOfReach(otherBox)) continue;
        // An erased contour cannot be opened and blocks nothing.
        host::db::ObjectPtr<host::db::Entity> entity(db->idFromHandle(host::db::Handle(other.handle)),
                                                     host::db::OpenMode::Read);
        if (!entity) continue;
        const std::vector<Point3d> crossings =
            outlines ? OutlineOf(job, i, other.handle, *entity, *outlines)
                           .intersectWithSegment(plan.startPoint, end,
                                                 lead.blocked ? lead.freeLength + slack
                                                              : std::numeric_limits<double>::infinity())
                     : entity->intersectWith(*testLine);
        for (const Point3d& p : crossings) {
            const double d = Distance(plan.startPoint, p);
            lead.blocked = 1;
            if (d < lead.freeLength) {
                lead.freeLength = d;
                lead.crossing = {p.x, p.y, 0.0};
            }
        }
    }
}

// One lead of a plan, as EvaluateLeadCollisions keeps its best variant.
struct LeadVariant {
    std::uint8_t blocked = 0;
    double freeLength = 0.0;
    double angle = 0.0;
    Point3d end;
    Point3d crossing;
};

LeadVariant LeadInOf(const LeadInPlan& p) {
    return {p.leadInBlocked, p.leadInFreeLength, p.leadInAngle, p.leadInStart, p.leadInCrossing};
}
LeadVariant LeadOutOf(const LeadInPlan& p) {
    return {p.leadOutBlocked, p.leadOutFreeLength, p.leadOutAngle, p.leadOutEnd, p.leadOutCrossing};
}
void PutLeadIn(LeadInPlan& p, const LeadVariant& v) {
    p.leadInBlocked = v.blocked;
    p.leadInFreeLength = v.freeLength;
    p.leadInAngle = v.angle;
    p.leadInStart = v.end;
    p.leadInCrossing = v.crossing;
}
void PutLeadOut(LeadInPlan& p, const LeadVariant& v) {
    p.leadOutBlocked = v.blocked;
    p.leadOutFreeLength = v.freeLength;
    p.leadOutAngle = v.angle;
    p.leadOutEnd = v.end;
    p.leadOutCrossing = v.crossing;
}

// Whether a tried variant of a lead improves on the best so far: free beats blocked, a longer free run beats a
// shorter one.
bool Improves(const LeadVariant& tried, const LeadVariant& best) {
    if (!tried.blocked) return true;
    return tried.freeLength > best.freeLength;
}

}  // namespace

LeadObstacleIndexScope::LeadObstacleIndexScope(const CuttingJob& job) {
    const int count = std::min(job.contourCount, static_cast<int>(job.contours.size()));
    index_ = std::make_unique<Index>(Index{&job, job.contours.data(), job.contourCount,
                                           ContourBoxIndex(job.contours.data(), std::max(count, 0),
                                                           [](const ContourRecord&) { return true; }),
                                           {}, {}});
    index_->outlines.resize(job.contours.size());
    for (int i = 0; i < count; ++i) {
        const ContourRecord& r = job.contours[static_cast<std::size_t>(i)];
        if (r.kind == ContourKind::KindJumperPoint) index_->jumperPoints[r.parentHandle].push_back(i);
    }
    previous_ = activeIndex;
    activeIndex = index_.get();
}

LeadObstacleIndexScope::~LeadObstacleIndexScope() {
    activeIndex = previous_;
}

std::vector<int> ContoursNearBox(const CuttingJob& job, double minX, double minY, double maxX, double maxY) {
    LeadObstacleIndexScope::Index* index = activeIndex;
    if (index != nullptr && index->Fits(job)) return index->boxes.Query(ContourBox{minX, minY, maxX, maxY});
    std::vector<int> all;
    const int count = std::min(job.contourCount, static_cast<int>(job.contours.size()));
    all.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) all.push_back(i);
    return all;
}

bool IndexedJumperPoints(const CuttingJob& job, std::uint64_t parentHandle, std::vector<int>& points) {
    const LeadObstacleIndexScope::Index* index = activeIndex;
    if (index == nullptr || !index->Fits(job)) return false;
    const auto it = index->jumperPoints.find(parentHandle);
    points = it == index->jumperPoints.end() ? std::vector<int>{} : it->second;
    return true;
}

LeadOutlines::LeadOutlines(const host::db::Entity& contour) : contour_(contour) {}

std::vector<Point3d> LeadOutlines::ownCrossings(const CuttingJob& job, int record, const Point3d& start,
                                                const Point3d& end) {
    const std::uint64_t handle = contour_.handle().value;
    const bool listed = record >= 0 && static_cast<std::size_t>(record) < job.contours.size() &&
                        job.contours[static_cast<std::size_t>(record)].handle == handle;
    if (handle != 0 && listed) return OutlineOf(job, record, handle, contour_, *this).intersectWithSegment(start, end);
    if (!own_) own_ = std::make_unique<host::db::IntersectIndex>(contour_);
    return own_->intersectWithSegment(start, end);
}

const host::db::IntersectIndex& LeadOutlines::of(std::uint64_t handle, const host::db::Entity& entity) {
    std::unique_ptr<host::db::IntersectIndex>& kept = others_[handle];
    if (!kept) kept = std::make_unique<host::db::IntersectIndex>(entity);
    return *kept;
}

Point3d PointAtAngle(const Point3d& from, double angle, double length) {
    return {from.x + length * std::cos(angle), from.y + length * std::sin(angle), 0.0};
}

int NearestCrossing(const host::db::Entity& entity, const host::db::Entity& line, const LeadInPlan& plan,
                    double& freeLength, Point3d& crossing, bool ignoreStart) {
    return NearestOf(entity.intersectWith(line), plan, freeLength, crossing, ignoreStart);
}

bool TestLeadsCollision(const CuttingJob& job, const host::db::Entity& contour, LeadInPlan& plan, bool testLeadIn,
                        bool testLeadOut, LeadOutlines* outlines) {
    if (plan.leadInLength == 0.0) {
        testLeadIn = false;
        plan.leadInBlocked = 0;
    }
    if (plan.leadOutLength == 0.0) {
        testLeadOut = false;
        plan.leadOutBlocked = 0;
        if (!testLeadIn) return true;
    }
    if (testLeadIn) {
        TestOneLead(job, contour, outlines, plan,
                    {plan.leadInBlocked, plan.leadInFreeLength, plan.leadInCrossing, plan.leadInAngle,
                     plan.leadInLength});
    }
    if (testLeadOut) {
        TestOneLead(job, contour, outlines, plan,
                    {plan.leadOutBlocked, plan.leadOutFreeLength, plan.leadOutCrossing, plan.leadOutAngle,
                     plan.leadOutLength});
    }
    plan.leadInStart = plan.leadInLength > 0.0 ? PointAtAngle(plan.startPoint, plan.leadInAngle, plan.leadInLength)
                                               : plan.startPoint;
    plan.leadOutEnd = plan.leadOutLength > 0.0
                          ? PointAtAngle(plan.startPoint, plan.leadOutAngle, plan.leadOutLength)
                          : plan.startPoint;
    return plan.leadInBlocked == 0 && plan.leadOutBlocked == 0;
}

int EvaluateLeadCollisions(const CuttingJob& job, const host::db::Entity& contour, LeadInPlan& plan,
                           int& turnIndex, LeadOutlines* outlines) {
    turnIndex = 0;
    if (TestLeadsCollision(job, contour, plan, true, true, outlines)) return kLeadsFree;

    const double in = plan.leadInAngle;
    const double out = plan.leadOutAngle;
    const bool sector = IsAngleInRange(in, out, plan.normalAngle);
    // Quarter gaps between each lead and the contour on its side, and between the two leads.
    double g1, g2, g3;
    if (sector) {
        g1 = Normalized(in - plan.leadInSideTangent) / 4.0;
        g2 = Normalized(plan.leadOutSideTangent - out) / 4.0;
        g3 = Normalized(out - in) / 4.0;
    } else {
        g1 = Normalized(plan.leadInSideTangent - in) / 4.0;
        g2 = Normalized(out - plan.leadOutSideTangent) / 4.0;
        g3 = Normalized(in - out) / 4.0;
    }
    const double s = sector ? 1.0 : -1.0;
    double pairIn[kTurnPairs], pairOut[kTurnPairs];
    for (int k = 1; k <= 3; ++k) {
        pairIn[2 * (k - 1)] = Normalized(in - s * k * g1);
        pairOut[2 * (k - 1)] = Normalized(out + s * (k * g2 - kOneDegree));
        pairIn[2 * (k - 1) + 1] = Normalized(in + s * k * g3);
        pairOut[2 * (k - 1) + 1] = Normalized(out - s * (k * g3 - kOneDegree));
        pairIn[5 + k] = Normalized(out + s * k * g2);
        pairOut[5 + k] = Normalized(in - s * (k * g1 - kOneDegree));
    }

    LeadVariant bestIn = LeadInOf(plan);
    LeadVariant bestOut = LeadOutOf(plan);
    for (int p = 0; p < kTurnPairs; ++p) {
        const bool testIn = bestIn.blocked != 0;
        const bool testOut = bestOut.blocked != 0;
        LeadInPlan trial = plan;
        PutLeadIn(trial, bestIn);
        PutLeadOut(trial, bestOut);
        if (testIn) trial.leadInAngle = pairIn[p];
        if (testOut) trial.leadOutAngle = pairOut[p];
        TestLeadsCollision(job, contour, trial, testIn, testOut, outlines);
        bool improved = false;
        if (testIn && Improves(LeadInOf(trial), bestIn)) {
            bestIn = LeadInOf(trial);
            improved = true;
        }
        if (testOut && Improves(LeadOutOf(trial), bestOut)) {
            bestOut = LeadOutOf(trial);
            improved = true;
        }
        if (improved) turnIndex = p;
        if (!bestIn.blocked && !bestOut.blocked) {
            PutLeadIn(plan, bestIn);
            PutLeadOut(plan, bestOut);
            return kLeadsFreedByTurn;
        }
    }
    PutLeadIn(plan, bestIn);
    PutLeadOut(plan, bestOut);
    return (bestIn.blocked || bestOut.blocked) ? kLeadsBlocked : kLeadsFreedByTurn;
}

int PreferLeadPlan(LeadInPlan& best, const LeadInPlan& candidate, int& bestScore, int candidateScore,
                   int& bestTurnIndex, int candidateTurnIndex) {
    if (candidateScore < bestScore) {
        best = candidate;
        bestScore = candidateScore;
        return bestScore;
    }
    if (candidateScore > bestScore) return bestScore;
    if (candidateScore == kLeadsFreedByTurn) {
        if (candidateTurnIndex < bestTurnIndex) {
            best = candidate;
            bestTurnIndex = candidateTurnIndex;
        }
        return bestScore;
    }
    const auto better = [](std::uint8_t blockedC, double freeC, std::uint8_t blockedB, double freeB) {
        if (!blockedC) return freeC > freeB;
        return blockedB && freeC > freeB;
    };
    if (better(candidate.leadInBlocked, candidate.leadInFreeLength, best.leadInBlocked, best.leadInFreeLength) &&
        better(candidate.leadOutBlocked, candidate.leadOutFreeLength, best.leadOutBlocked,
               best.leadOutFreeLength)) {
        best = candidate;
        bestTurnIndex = candidateTurnIndex;
    }
    return bestScore;
}

void BoxOfSegmentWithMargin(const Point3d& p, const Point3d& q, double margin, Point3d& boxMin, Point3d& boxMax) {
    boxMin = {std::min(p.x, q.x), std::min(p.y, q.y), 0.0};
    boxMax = {std::max(p.x, q.x), std::max(p.y, q.y), 0.0};
    const auto widen = [margin](double a, double b, double& lo, double& hi) {
        if (a == b) {
            lo -= margin;
            hi += margin;
        } else if (b < a) {
            lo -= margin;
        } else {
            hi += margin;
        }
    };
    widen(p.x, q.x, boxMin.x, boxMax.x);
    widen(p.y, q.y, boxMin.y, boxMax.y);
}

bool CountCrossings(const host::db::Entity& a, const host::db::Entity& b, int& count) {
    count = static_cast<int>(a.intersectWith(b).size());
    return count > 0;
}
