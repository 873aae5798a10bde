// The leads of a polyline contour: side, cut direction and lead angles of a closed contour with a search over
// other start vertices when the leads collide, and the lead-in of an open common or inside-cut line.
#pragma once

#include <vector>

#include "cadlib/point_in_contour.h"
#include "host/db/entities.h"
#include "laser/contours/contour_records.h"
#include "laser/path/lead_plan.h"

struct CuttingJob;
class CLaserSettings;

// Where the start point of a closed contour sits: the segment ending at it and the one leaving it (the same
// segment when it lies inside one), whether the scrap-side normal lies counter-clockwise between the backward
// and forward directions, and the start vertex (-1 inside a segment).
struct PolylineStart {
    int incomingSegment = 0;
    int outgoingSegment = 0;
    bool sector = false;
    bool rightSide = false;
    int startVertex = -1;
};

// Fills the plan for its startPoint. An open polyline starts at its end nearer the start point, without leads
// except the lead-in of a common or inside-cut line. A closed one gets its normal into the scrap, lead angle,
// side (CutLineDirection, or toward the tool's current point), direction and lead ends; a contour without leads
// (closure 2) gets the side and direction but lengths of 0. `kept`, when given, is what a caller that plans many
// start points on the polyline keeps for all of them (the answers are the same).
struct PolylineStartCache;
void ComputePolylineLeads(const CuttingJob& job, const CLaserSettings& settings, const host::db::LwPolyline& polyline,
                          LeadInPlan& plan, PolylineStart& where, const PolylineStartCache* kept = nullptr);

// Sets the leads of a closed polyline's plan once its side is chosen: the lead-in turns `t` off the normal towards
// the side (left: counter-clockwise), the lead-out the other way; the offset side, the tangents beside the leads,
// the direction and the start segment follow from the side and where the normal lies (`where.sector`).
void ApplyLeadSide(LeadInPlan& plan, PolylineStart& where, double normal, double t, double back, double forward,
                   bool left);

// What a writer that tries many start points on one closed polyline keeps for all of them: its vertices as
// PlanarVertex answers them, and a locator for the side of the contour each normal points to. Without it each
// start point tried looks through every vertex and segment again.
struct PolylineStartCache {
    explicit PolylineStartCache(const host::db::LwPolyline& polyline);
    std::vector<host::ge::Point3d> vertices;
    PolylinePointLocator locator;
};

// The lead-in of an open common line (kind 5: the extension of its end segment, turned in 15-degree steps and
// then shortened by 0.65 per pass while it meets another part) or inside-cut line (kind 9: back along the line,
// the cut starting and ending half a tool diameter inside its ends). Answers 0, or -1 for any other kind and for
// a line whose end segments are arcs; the plan then has no lead-in (length 0, lead-in start = start point).
int ComputeOpenLineLeadIn(const CuttingJob& job, const CLaserSettings& settings, const host::db::LwPolyline& polyline,
                          LeadInPlan& plan, ContourKind kind);

// Whether the open line's lead-in (plan's leadInAngle and leadInLength) is free: a triangle widening from the
// start point to 1.3 times the lead's length must cross no part contour, and the lead's end must not lie in part
// material. Stock contours and lines of other kinds never block. With `test` false nothing is tested. Sets
// leadInBlocked, leadInFreeLength, leadInCrossing and leadInStart; answers 1 when free.
int TestOpenLineLeadIn(const CuttingJob& job, LeadInPlan& plan, bool test);

// Plans the leads of polyline contour plan.contourIndex, retries other start vertices while they collide, cuts
// still-blocked leads to half their free length, and writes the group. Answers 0.
int WritePolylineContourPath(CuttingJob& job, CLaserSettings& settings, LeadInPlan& plan);
