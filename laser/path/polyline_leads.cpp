// Leads of a polyline contour: the start on a vertex or inside a segment, the scrap-side normal, the side and
// direction of the cut, retries over other start vertices, and the lead-in of open common and inside-cut lines.
#include "laser/path/polyline_leads.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "cadlib/angles.h"
#include "cadlib/entity_access.h"
#include "cadlib/point_equality.h"
#include "cadlib/point_in_contour.h"
#include "cadlib/polyline_contour.h"
#include "cadlib/segment_box.h"
#include "host/db/database.h"
#include "host/ge/curve.h"
#include "laser/job/drawing_slot.h"
#include "laser/path/contour_writer_support.h"
#include "laser/path/polyline_path.h"
#include "laser/settings/laser_settings.h"

using host::ge::Point3d;

namespace {

// The probe that finds the scrap side lies this far from the start point along the bisector.
constexpr double kNormalProbe = 0.001;
// The probes that tell which side the tool comes from.
constexpr double kSideProbe = 0.1;
// The lead angle is at most this share of the free angle on the scrap side: at a re-entrant corner the leads
// must stay clear of both segments.
constexpr double kLeadAngleShare = 0.15;
// A start point lies on a line segment when the directions to its two ends agree this closely (radians).
constexpr double kOnLineAngle = 1e-10;
// A start point lies on an arc when its distance from the centre equals the radius this closely.
constexpr double kOnArcDistance = 1e-8;
// The open line lead-in search: turns of 15 degrees up to 14 each way, then the length times 0.65 while it is
// above a tenth of the setting.
constexpr double kOpenLeadTurn = 15.0 * cadlib::kRadiansPerDegree;
constexpr int kOpenLeadTurns = 14;
constexpr double kOpenLeadShrink = 0.65;
constexpr double kOpenLeadShortest = 0.1;
// An inside-cut line's lead-in runs back along the line, one degree off it.
constexpr double kInsideCutLeadTurn = 179.0 * cadlib::kRadiansPerDegree;
// The open line test triangle: its tip just off the start point, its half width at most 5 tool diameters and at
// most 0.4 lead lengths.
constexpr double kTriangleTip = 0.001;
constexpr double kTriangleToolWidths = 5.0;
constexpr double kTriangleLeadShare = 0.4;
constexpr double kOpenLeadTestMargin = 1.3;
constexpr double kNoCrossingLength = 1e6;

double Normalized(double angle) {
    NormalizeAngle(angle);
    return angle;
}

double Bulge(const host::db::LwPolyline& polyline, unsigned i) {
    double b = 0.0;
    polyline.getBulgeAt(i, b);
    return b;
}

// The middle of segment 0: a line's midpoint, an arc's point at the mean of its end angles.
Point3d MiddleOfFirstSegment(const host::db::LwPolyline& polyline) {
    host::ge::CircArc2d arc;
    if (polyline.getArcSegAt(0, arc) == host::db::Status::Ok) {
        const double mid = arc.startAngle + (arc.clockwise ? -1.0 : 1.0) * arc.sweep() / 2.0;
        const host::ge::Point2d p = arc.pointAtAngle(mid);
        return {p.x, p.y, 0.0};
    }
    const Point3d a = PlanarVertex(polyline, 0);
    const Point3d b = PlanarVertex(polyline, polyline.numVerts() > 1 ? 1 : 0);
    return {(a.x + b.x) / 2.0, (a.y + b.y) / 2.0, 0.0};
}

// Finds the segment that holds a start point lying inside it; the directions back and forward along it.
bool FindStartSegment(const host::db::LwPolyline& polyline, const Point3d& s, int& segment, double& back,
                      double& forward) {
    const unsigned count = polyline.numSegments();
    for (unsigned i = 0; i < count; ++i) {
        host::ge::CircArc2d arc;
        if (polyline.getArcSegAt(i, arc) == host::db::Status::Ok) {
            const host::ge::Point2d c = arc.center;
            if (std::fabs(std::hypot(s.x - c.x, s.y - c.y) - arc.radius) > kOnArcDistance) continue;
            const double angle = Normalized(std::atan2(s.y - c.y, s.x - c.x));
            double from = Normalized(arc.startAngle), to = Normalized(arc.endAngle);
            if (arc.clockwise) std::swap(from, to);
            if (!IsAngleInRange(from, to, angle)) continue;
            // Back along the arc is against its travel.
            back = arc.clockwise ? angle + cadlib::kHalfPi : angle - cadlib::kHalfPi;
            forward = back + cadlib::kPi;
            segment = static_cast<int>(i);
            return true;
        }
        const Point3d a = PlanarVertex(polyline, i);
        const Point3d b = PlanarVertex(polyline, (i + 1) % polyline.numVerts());
        if (!PointsDifferAtPrecision(a, s, kPathPointPrecision) || !PointsDifferAtPrecision(b, s, kPathPointPrecision)) {
            continue;
        }
        const double toStart = Normalized(PlanarDirection(s, a));
        const double fromEnd = Normalized(PlanarDirection(b, s));
        double diff = std::fabs(toStart - fromEnd);
        diff = std::min(diff, cadlib::kTwoPi - diff);
        if (diff > kOnLineAngle) continue;
        back = toStart;
        forward = fromEnd + cadlib::kPi;
        segment = static_cast<int>(i);
        return true;
    }
    return false;
}

void OpenPolylineLeads(const CuttingJob& job, const CLaserSettings& settings, const host::db::LwPolyline& polyline,
                       LeadInPlan& plan, PolylineStart& where) {
    const ContourRecord& record = job.contours[static_cast<std::size_t>(plan.contourIndex)];
    const unsigned n = polyline.numVerts();
    plan.vertexCount = static_cast<int>(n) - 1;
    plan.offsetSide = kOffsetNone;
    plan.leadInLength = plan.leadOutLength = 0.0;
    plan.startOnVertex = 1;
    const Point3d first = PlanarVertex(polyline, 0);
    const Point3d last = PlanarVertex(polyline, n - 1);
    if (PlanarDistance(plan.startPoint, first) <= PlanarDistance(plan.startPoint, last)) {
        plan.startPoint = first;
        plan.startSegment = 0;
        plan.direction = kCutForward;
        where.startVertex = 0;
    } else {
        plan.startPoint = last;
        plan.startSegment = static_cast<int>(n) - 2;
        plan.direction = kCutBackward;
        where.startVertex = static_cast<int>(n) - 1;
    }
    where.incomingSegment = where.outgoingSegment = plan.startSegment;
    plan.leadInStart = plan.leadOutEnd = plan.startPoint;
    // An inside cut ends where its lead-out end says; without a lead-in plan that is its far end.
    if (record.kind == ContourKind::InsideCutLine) plan.leadOutEnd = where.startVertex == 0 ? last : first;
    if (record.kind == ContourKind::CommonLine || record.kind == ContourKind::InsideCutLine) {
        ComputeOpenLineLeadIn(job, settings, polyline, plan, record.kind);
    }
}

}  // namespace

PolylineStartCache::PolylineStartCache(const host::db::LwPolyline& polyline) : locator(polyline) {
    vertices.reserve(polyline.numVerts());
    for (unsigned v = 0; v < polyline.numVerts(); ++v) vertices.push_back(PlanarVertex(polyline, v));
}

void ComputePolylineLeads(const CuttingJob& job, const CLaserSettings& settings, const host::db::LwPolyline& polyline,
                          LeadInPlan& plan, PolylineStart& where, const PolylineStartCache* kept) {
    where = PolylineStart{};
    const unsigned n = polyline.numVerts();
    if (n < 2) return;
    if (!polyline.isClosed()) {
        OpenPolylineLeads(job, settings, polyline, plan, where);
        return;
    }
    const ContourRecord& record = job.contours[static_cast<std::size_t>(plan.contourIndex)];
    const bool noLeads = record.closure == kClosureNoLeads;
    plan.leadInLength = noLeads ? 0.0 : job.leadInSpan;
    plan.leadOutLength = noLeads ? 0.0 : job.leadOutSpan;
    plan.vertexCount = static_cast<int>(n);

    double back = 0.0, forward = 0.0;
    bool found = false;
    if (n >= 3) {
        for (unsigned v = 0; v < n && !found; ++v) {
            const Point3d p = kept ? kept->vertices[v] : PlanarVertex(polyline, v);
            if (CoordinatesDifferAtPrecision(p.x, p.y, plan.startPoint.x, plan.startPoint.y, kPathPointPrecision)) {
                continue;
            }
            found = true;
            where.startVertex = static_cast<int>(v);
        }
    } else {
        plan.startPoint = MiddleOfFirstSegment(polyline);
    }
    if (!found) {
        int segment = 0;
        if (FindStartSegment(polyline, plan.startPoint, segment, back, forward)) {
            plan.startOnVertex = 0;
            where.incomingSegment = where.outgoingSegment = segment;
        } else {
            // A start point on no segment (a seed that no vertex beat): the nearest vertex takes its place.
            unsigned nearest = 0;
            for (unsigned v = 1; v < n; ++v) {
                if (PlanarDistance(plan.startPoint, PlanarVertex(polyline, v)) <
                    PlanarDistance(plan.startPoint, PlanarVertex(polyline, nearest))) {
                    nearest = v;
                }
            }
            found = true;
            where.startVertex = static_cast<int>(nearest);
        }
    }
    if (found) {
        const unsigned v = static_cast<unsigned>(where.startVertex);
        plan.startPoint = PlanarVertex(polyline, v);
        plan.startOnVertex = 1;
        where.incomingSegment = static_cast<int>(v == 0 ? n - 1 : v - 1);
        where.outgoingSegment = static_cast<int>(v);
        int isLine = 1;
        GetSegmentDirectionAtPoint(polyline, where.incomingSegment, plan.startPoint, back, isLine);
        GetSegmentDirectionAtPoint(polyline, where.outgoingSegment, plan.startPoint, forward, isLine);
    }
    back = Normalized(back);
    forward = Normalized(forward);

    // The bisector, turned into the scrap: outside an outer contour, inside an inner one.
    double normal = Normalized((back + forward) / 2.0);
    const Point3d probe = PointAtAngle(plan.startPoint, normal, kNormalProbe);
    const bool outside = (kept ? kept->locator.IsOutside(probe) : IsPointOutsidePolyline(probe, polyline)) == 1;
    const bool inner = record.placement == kPlacementInner;
    if (outside == inner) normal = Normalized(normal + cadlib::kPi);
    plan.normalAngle = normal;

    const double t = std::min(job.leadAngleRad, kLeadAngleShare * SweepThroughAngle(back, forward, normal));
    where.sector = IsAngleInRange(back, forward, normal);
    bool left;
    if (settings.CutLineDirection == 1) {
        left = !inner;
    } else if (settings.CutLineDirection == 2) {
        left = inner;
    } else {
        const Point3d minus = PointAtAngle(plan.startPoint, normal - t, kSideProbe);
        const Point3d plus = PointAtAngle(plan.startPoint, normal + t, kSideProbe);
        left = PlanarDistance(plus, job.currentPoint) < PlanarDistance(minus, job.currentPoint);
    }
    ApplyLeadSide(plan, where, normal, t, back, forward, left);
    PlaceLeadEnds(plan);
}

void ApplyLeadSide(LeadInPlan& plan, PolylineStart& where, double normal, double t, double back, double forward,
                   bool left) {
    where.rightSide = !left;
    // The lead-in turns off the normal towards the side, the lead-out the other way.
    plan.leadInAngle = Normalized(left ? normal + t : normal - t);
    plan.leadOutAngle = Normalized(left ? normal - t : normal + t);
    plan.offsetSide = left ? kOffsetLeft : kOffsetRight;
    // Cutting on the right with the normal in the sector between the two directions, or on the left with it
    // outside, runs forward from the outgoing segment; the other two cases run backward from the incoming one.
    if (left != where.sector) {
        plan.leadInSideTangent = back;
        plan.leadOutSideTangent = forward;
        plan.direction = kCutForward;
        plan.startSegment = where.outgoingSegment;
    } else {
        plan.leadInSideTangent = forward;
        plan.leadOutSideTangent = back;
        plan.direction = kCutBackward;
        plan.startSegment = where.incomingSegment;
    }
}

int TestOpenLineLeadIn(const CuttingJob& job, LeadInPlan& plan, bool test) {
    const Point3d& s = plan.startPoint;
    const double angle = plan.leadInAngle;
    plan.leadInStart = PointAtAngle(s, angle, plan.leadInLength);
    plan.leadInBlocked = 0;
    if (!test) return 1;
    plan.leadInFreeLength = kNoCrossingLength;
    const double testLength = kOpenLeadTestMargin * plan.leadInLength;
    const double w = std::min(kTriangleToolWidths * job.toolDiameter, kTriangleLeadShare * plan.leadInLength);
    const Point3d tip = PointAtAngle(s, angle, kTriangleTip);
    const Point3d base = PointAtAngle(s, angle, testLength);
    const Point3d side1 = PointAtAngle(base, angle + cadlib::kHalfPi, w);
    const Point3d side2 = PointAtAngle(base, angle - cadlib::kHalfPi, w);
    host::db::LwPolyline triangle;
    for (const Point3d& p : {tip, side1, side2}) triangle.addVertexAt(triangle.numVerts(), {p.x, p.y});
    triangle.setClosed(true);
    Point3d boxMin, boxMax;
    BoxOfSegmentWithMargin(s, plan.leadInStart, w, boxMin, boxMax);

    host::db::Database* db = host::db::workingDatabase();
    const std::vector<int> near =
        db != nullptr ? ContoursNearBox(job, boxMin.x, boxMin.y, boxMax.x, boxMax.y) : std::vector<int>{};
    for (const int i : near) {
        if (i == plan.contourIndex) continue;
        const ContourRecord& other = job.contours[static_cast<std::size_t>(i)];
        switch (static_cast<int>(other.kind)) {
            case 1: case 2: case 3: case 5: case 6: case 7: case 8: case 9: case 26: case 27: case 254: case 255:
                continue;
            default:
                break;
        }
        if (other.role == kRoleStock) continue;
        if (!BoxesOverlap(boxMin.x, boxMin.y, boxMax.x, boxMax.y, other.minX, other.minY, other.maxX, other.maxY)) {
            continue;
        }
        host::db::ObjectPtr<host::db::Entity> entity(IdOfHandle(other.handle), host::db::OpenMode::Read);
        if (!entity) continue;
        const std::vector<Point3d> crossings = entity->intersectWith(triangle);
        if (!crossings.empty()) {
            for (const Point3d& p : crossings) {
                const double d = PlanarDistance(s, p);
                if (d < plan.leadInFreeLength) {
                    plan.leadInFreeLength = d;
                    plan.leadInCrossing = {p.x, p.y, 0.0};
                }
            }
            plan.leadInBlocked = 1;
            break;
        }
        const int outside = IsPointOutsideContourByHandle(plan.leadInStart, other.shape, host::db::Handle(other.handle));
        if (outside < 0) continue;
        const bool inPart = other.placement == kPlacementInner ? outside == 1 : outside == 0;
        if (inPart) {
            plan.leadInBlocked = 1;
            break;
        }
    }
    return plan.leadInBlocked ? 0 : 1;
}

int ComputeOpenLineLeadIn(const CuttingJob& job, const CLaserSettings& settings, const host::db::LwPolyline& polyline,
                          LeadInPlan& plan, ContourKind kind) {
    // Without a lead-in the cut starts right at the start point: never a lead from an unset point.
    plan.leadInLength = 0.0;
    plan.leadOutLength = 0.0;
    plan.leadInStart = plan.startPoint;
    if (kind != ContourKind::CommonLine && kind != ContourKind::InsideCutLine) return -1;
    const unsigned n = polyline.numVerts();
    if (n < 2) return -1;
    const bool forward = plan.direction == kCutForward;
    const unsigned ia = forward ? 0 : n - 1;
    const unsigned ib = forward ? 1 : n - 2;
    const unsigned ie = forward ? n - 1 : 0;
    const unsigned iff = forward ? n - 2 : 1;
    if (Bulge(polyline, ia) != 0.0 || Bulge(polyline, ie) != 0.0) return -1;
    const Point3d A = PlanarVertex(polyline, ia), B = PlanarVertex(polyline, ib), E = PlanarVertex(polyline, ie),
                  F = PlanarVertex(polyline, iff);
    const double span = SettingLength(settings, settings.LeadInSpan);
    const double h = SettingLength(settings, settings.DiameterTool) / 2.0;
    double a = PlanarDirection(B, A);
    if (kind == ContourKind::InsideCutLine) {
        plan.leadInLength = span;
        plan.startPoint = PointAtAngle(B, a, PlanarDistance(A, B) - h);
        a = Normalized(a + kInsideCutLeadTurn);
        plan.leadInAngle = a;
        plan.leadOutEnd = PointAtAngle(F, PlanarDirection(F, E), PlanarDistance(F, E) - h);
        plan.leadInStart = span > 0.0 ? PointAtAngle(A, a, span) : plan.startPoint;
        return 0;
    }
    a = Normalized(a);
    plan.leadInAngle = a;
    if (!(span > 0.0)) return 0;
    double length = span;
    plan.leadInLength = length;
    if (TestOpenLineLeadIn(job, plan, true)) return 0;
    for (;;) {
        for (int i = 1; i <= kOpenLeadTurns; ++i) {
            for (const double turn : {a + i * kOpenLeadTurn, a - i * kOpenLeadTurn}) {
                plan.leadInAngle = Normalized(turn);
                if (TestOpenLineLeadIn(job, plan, true)) return 0;
            }
        }
        if (!(length / span > kOpenLeadShortest)) break;
        length *= kOpenLeadShrink;
        plan.leadInLength = length;
    }
    // Nothing free: the shortest lead straight on, blocked.
    plan.leadInAngle = a;
    plan.leadInStart = PointAtAngle(plan.startPoint, a, length);
    plan.leadInBlocked = 1;
    return 0;
}

int WritePolylineContourPath(CuttingJob& job, CLaserSettings& settings, LeadInPlan& plan) {
    ContourRecord& record = job.contours[static_cast<std::size_t>(plan.contourIndex)];
    {
        host::db::ObjectPtr<host::db::LwPolyline> polyline(IdOfHandle(record.handle), host::db::OpenMode::Read);
        if (!polyline || polyline->numVerts() < 2) return 0;
        PolylineStart where;
        ComputePolylineLeads(job, settings, *polyline, plan, where);
        const bool openLine = record.kind == ContourKind::CommonLine || record.kind == ContourKind::InsideCutLine;
        if (!openLine) {
            const LeadInPlan planned = plan;
            // Kept over the walk through the start vertices: every lead test meets these outlines, and every
            // start vertex tried is planned with the same cache.
            LeadOutlines outlines(*polyline);
            std::unique_ptr<PolylineStartCache> kept;
            int turn = 0;
            int score = EvaluateLeadCollisions(job, *polyline, plan, turn, &outlines);
            const int n = static_cast<int>(polyline->numVerts());
            if (score > kLeadsFree && polyline->isClosed() && where.startVertex >= 0) {
                for (int k = 1; k <= n && score >= kLeadsFreedByTurn; ++k) {
                    for (const int v : {(where.startVertex + k) % n, ((where.startVertex - k) % n + n) % n}) {
                        LeadInPlan candidate = planned;
                        polyline->getPointAt(static_cast<unsigned>(v), candidate.startPoint);
                        candidate.startPoint.z = 0.0;
                        PolylineStart candidateWhere;
                        if (!kept) kept = std::make_unique<PolylineStartCache>(*polyline);
                        ComputePolylineLeads(job, settings, *polyline, candidate, candidateWhere, kept.get());
                        int candidateTurn = 0;
                        const int candidateScore =
                            EvaluateLeadCollisions(job, *polyline, candidate, candidateTurn, &outlines);
                        PreferLeadPlan(plan, candidate, score, candidateScore, turn, candidateTurn);
                        if (score < kLeadsFreedByTurn) break;
                    }
                }
            }
            if (score == kLeadsBlocked) ShortenBlockedLeads(plan);
        }
    }
    return WritePolylinePath(job, settings, plan);
}
