// The working record of one contour's path writer, and the tests that decide whether its lead-in and lead-out
// are free of the contour itself and of the other contours, and which of two plans is better.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "host/db/entity.h"
#include "host/db/intersect_index.h"
#include "host/ge/point.h"

struct CuttingJob;

// The side of the path on which the tool runs (radius compensation).
inline constexpr std::uint8_t kOffsetNone = 0;    // "Offset=NO"
inline constexpr std::uint8_t kOffsetLeft = 1;    // "Offset=NL"
inline constexpr std::uint8_t kOffsetRight = 2;   // "Offset=NR"

// The order in which a contour's vertices are cut.
inline constexpr std::uint8_t kCutForward = 0;    // increasing vertex order (counter-clockwise on a closed contour)
inline constexpr std::uint8_t kCutBackward = 1;   // decreasing vertex order

// Answers of EvaluateLeadCollisions.
enum LeadCollisionScore : int {
    kLeadsFree = 0,        // the leads as planned cross nothing
    kLeadsFreedByTurn = 1, // free after turning (or nothing left blocked at the end)
    kLeadsBlocked = 2,     // a lead still crosses something
};

// The outlines the lead tests of one contour meet, kept while its writer tries start points and turns its leads:
// the contour's own, and each other contour's, each made from the first test that reaches it. While a
// LeadObstacleIndexScope of the job lives they are the run's, made once for the whole run and shared by every
// contour's writer; otherwise this keeps them. A lead test then meets only the pieces near its line, and no
// outline is rebuilt for each test. Hold it only while the contours do not change (one contour's path writer).
class LeadOutlines {
public:
    explicit LeadOutlines(const host::db::Entity& contour);
    // The points where the line from `start` to `end` crosses the contour itself, as contour.intersectWith
    // answers them for that line; `record` is the contour's place in the job's table.
    std::vector<host::ge::Point3d> ownCrossings(const CuttingJob& job, int record, const host::ge::Point3d& start,
                                                const host::ge::Point3d& end);
    // The outline of the contour with this handle, made from `entity` the first time it is asked for.
    const host::db::IntersectIndex& of(std::uint64_t handle, const host::db::Entity& entity);

private:
    const host::db::Entity& contour_;
    std::unique_ptr<host::db::IntersectIndex> own_;   // a contour that is in no drawing
    std::unordered_map<std::uint64_t, std::unique_ptr<host::db::IntersectIndex>> others_;
};

// A free length that means "nothing met": the lead only touches its own contour at the start point.
inline constexpr double kLeadUnblockedLength = 1e30;

// The lead plan of one contour while its path is written. The writer owns it on its stack.
struct LeadInPlan {
    host::ge::Point3d startPoint;      // the lead-in ends and the lead-out starts here
    int contourIndex = 0;              // index of the ContourRecord
    std::uint8_t startOnVertex = 0;    // 1 on a polyline vertex (or an open contour), 0 inside a segment
    int vertexCount = 0;               // vertices considered (one less for an open polyline)
    int startSegment = 0;              // segment (or vertex) where cutting starts
    std::uint8_t direction = kCutForward;
    std::uint8_t offsetSide = kOffsetNone;
    double normalAngle = 0.0;          // from the start point into the scrap side
    double leadInAngle = 0.0;          // from the start point toward the lead-in's outer end
    double leadOutAngle = 0.0;         // from the start point toward the lead-out's outer end
    double leadInSideTangent = 0.0;    // the contour leaving the start point on the lead-in's side
    double leadOutSideTangent = 0.0;   // the contour leaving the start point on the lead-out's side
    double leadInLength = 0.0;         // 0 = no lead-in
    double leadOutLength = 0.0;        // 0 = no lead-out
    std::uint8_t leadInBlocked = 0;
    std::uint8_t leadOutBlocked = 0;
    double leadInFreeLength = 0.0;     // distance to the nearest crossing, or kLeadUnblockedLength
    double leadOutFreeLength = 0.0;
    host::ge::Point3d leadInStart;     // outer end of the lead-in
    host::ge::Point3d leadOutEnd;      // outer end of the lead-out
    host::ge::Point3d leadInCrossing;  // nearest crossing found for the lead-in
    host::ge::Point3d leadOutCrossing; // nearest crossing found for the lead-out
};

// The nearest point where `line` crosses `entity` away from the plan's start point: crossings closer than 1e-6
// to the start point are ignored when `ignoreStart` is set. Answers 1 with the distance and point when some
// crossing counts; 0 when there is none, or all were ignored. When the entity is crossed at all, freeLength is
// first set to kLeadUnblockedLength.
int NearestCrossing(const host::db::Entity& entity, const host::db::Entity& line, const LeadInPlan& plan,
                    double& freeLength, host::ge::Point3d& crossing, bool ignoreStart);

// Tests the leads of the plan against the contour itself (`contour`, touching it at the start point is allowed)
// and against every other contour of the job whose box meets the test line (inside-cut lines never block; the
// record after the last contour only when it is the stock). A test line runs 1.3 times the lead's length, so a
// lead that ends short of another part but within 30 % of its length is blocked. A lead of length 0 is never
// blocked. Updates the blocked flags, free lengths and crossings, and recomputes leadInStart and leadOutEnd from
// the planned lengths. Answers true when no tested lead is blocked. `outlines`, when given, holds the outlines the
// tests meet (see LeadOutlines): a writer that tries many start points keeps one for all of them.
bool TestLeadsCollision(const CuttingJob& job, const host::db::Entity& contour, LeadInPlan& plan, bool testLeadIn,
                        bool testLeadOut, LeadOutlines* outlines = nullptr);

// Tests the leads as planned and, when one is blocked, turns the blocked leads through nine pairs of angles
// toward the contour's tangents. Leaves the best variant of each lead in the plan and answers the score;
// turnIndex tells which pair freed the leads or last improved them (0 when nothing was turned). `outlines` as
// for TestLeadsCollision.
int EvaluateLeadCollisions(const CuttingJob& job, const host::db::Entity& contour, LeadInPlan& plan,
                           int& turnIndex, LeadOutlines* outlines = nullptr);

// Copies `candidate` over `best` when it is better: a lower score; at equal score 1 fewer turning steps; at
// another equal score both leads better (free and longer, or both blocked and longer free). Answers the best
// score.
int PreferLeadPlan(LeadInPlan& best, const LeadInPlan& candidate, int& bestScore, int candidateScore,
                   int& bestTurnIndex, int candidateTurnIndex);

// The box of the segment from p to q widened by `margin`: on both sides in an axis where the two coordinates are
// equal, otherwise only beyond q.
void BoxOfSegmentWithMargin(const host::ge::Point3d& p, const host::ge::Point3d& q, double margin,
                            host::ge::Point3d& boxMin, host::ge::Point3d& boxMax);

// Whether two entities cross (points on both); `count` gets the number of points.
bool CountCrossings(const host::db::Entity& a, const host::db::Entity& b, int& count);

// `from` moved by `length` along `angle` (z 0).
host::ge::Point3d PointAtAngle(const host::ge::Point3d& from, double angle, double length);

// While one lives, the lead tests of its job find the contours near a lead through a box index built once instead
// of looking at every contour, so that laying out a sheet of many parts does not grow with the square of their
// number. Hold it over a run that does not change the contour table (the automatic order); a table that changes
// under it (another size or buffer) is noticed and looked at in full. Scopes nest. The same scope indexes the jumper
// points by the contour they lie on, for the polyline writer.
class LeadObstacleIndexScope {
public:
    explicit LeadObstacleIndexScope(const CuttingJob& job);
    ~LeadObstacleIndexScope();
    LeadObstacleIndexScope(const LeadObstacleIndexScope&) = delete;
    LeadObstacleIndexScope& operator=(const LeadObstacleIndexScope&) = delete;

    struct Index;

private:
    std::unique_ptr<Index> index_;
    Index* previous_ = nullptr;
};

// The jumper points of the contour `parentHandle` (their indexes in the contour table, in table order) from the live
// scope of `job`; false, with `points` untouched, when no scope of this job and table is live.
bool IndexedJumperPoints(const CuttingJob& job, std::uint64_t parentHandle, std::vector<int>& points);

// The indices of contours 0 .. count-1 of `job` whose boxes may meet the box (minX, minY)-(maxX, maxY): through
// the index of a live LeadObstacleIndexScope of this job, else all of them. Callers test the boxes themselves.
std::vector<int> ContoursNearBox(const CuttingJob& job, double minX, double minY, double maxX, double maxY);
