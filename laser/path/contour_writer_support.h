// What the writers of one contour's path share: which kinds get a path and a tool offset, the head and tail of
// a contour group's description, placing and shortening leads, and closing the group.
#pragma once

#include "host/db/entities.h"
#include "host/ge/point.h"
#include "laser/contours/contour_records.h"
#include "laser/path/lead_plan.h"

// Kinds the circle and polyline writers lay a path for: all but marking points (they have their own writer) and
// jumper points (gaps in the contour they lie on, never a path of their own).
bool KindHasPath(ContourKind kind);
// Kinds cut on the line itself, without a tool offset: open cuts, engravings, common and inside-cut lines, heat
// treatment and marking lines.
bool KindCutsWithoutOffset(ContourKind kind);

// The plane direction from `from` to `to`, in radians (-pi to pi]; z is ignored.
double PlanarDirection(const host::ge::Point3d& from, const host::ge::Point3d& to);
// The plane distance between two points; z is ignored.
double PlanarDistance(const host::ge::Point3d& a, const host::ge::Point3d& b);
// The polyline's vertex `i` with z set to 0.
host::ge::Point3d PlanarVertex(const host::db::LwPolyline& polyline, unsigned i);

// Sets the cut colour for the side and appends " Offset=.." and " HP= <handle> <shape> <side> <placement>
// <closure>" to the description being built.
void AppendContourHead(const ContourRecord& record, int offsetSide);
// Appends " %.4f %.4f" of the contour's start and then of its end, and the role tokens of the members drawn.
void AppendPathTail(const host::ge::Point3d& start, const host::ge::Point3d& end);
// Marks the record processed, stores the description and closes the group (taken back when nothing was drawn).
void FinishContourGroup(ContourRecord& record);

// The outer ends of the leads from the start point, the angles and the planned lengths (the start point itself
// for a length of 0).
void PlaceLeadEnds(LeadInPlan& plan);
// A lead still blocked after every retry is cut to half its free length, so it ends before what it meets.
void ShortenBlockedLeads(LeadInPlan& plan);
