// The start point of a contour's cut: corners preferred to smooth runs, sharp corners avoided, nearness weighed
// by the way in and the way on.
#pragma once

#include "host/db/entities.h"
#include "host/ge/point.h"
#include "laser/path/contour_path.h"

struct CuttingJob;
class CLaserSettings;

// FindStartPoint on an explicit job and settings (the entry of contour_path.h passes the current ones).
int FindStartPointInJob(const CuttingJob& job, const CLaserSettings& settings, const host::ge::Point3d& a,
                        host::ge::Point3d& start, const host::ge::Point3d& b, int contourIndex);

// The start vertex of an ordinary cut contour. Every vertex of a closed polyline is sorted by its corner angle on
// the scrap side (its counter-clockwise orientation makes a square part corner 270 degrees and a square notch 90)
// into classes, and the class order of `zahodTypePoint` (0, 1 or 2) picks the vertex; within a class the lower
// score wins. An open polyline starts at its end of lower score. `start` is left as passed when no vertex
// qualifies or the mode is unknown.
void ChooseStartVertex(const host::db::LwPolyline& polyline, const host::ge::Point3d& a, host::ge::Point3d& start,
                       const host::ge::Point3d& b, int placement, double leadInLength, int zahodTypePoint);

// The point of a contour nearest `point` where it may be entered: a circle where the segment from the point to
// its centre crosses it; a closed polyline its nearest vertex; an open one its nearer end. Answers 0, or -1 (start
// unchanged) when the contour cannot be opened.
int NearestEntryPoint(const CuttingJob& job, const host::ge::Point3d& point, host::ge::Point3d& start,
                      int contourIndex);

// Finishes a contour cut by hand from `a` to `b`: a line from a to b in model space; for a contour that is open
// or has no leads the tool then stands at the polyline's other end (its last vertex when b is its first, else its
// first). The job's current point becomes that point and the contour is marked processed. Circles and points
// have no other end: the tool stays at b. Answers 0, or -1 for an index outside the table (nothing drawn).
int FinishContourAt(CuttingJob& job, const host::ge::Point3d& a, const host::ge::Point3d& b, int contourIndex);
