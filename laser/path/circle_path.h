// The path groups of a marking point and of a circle, and the lead planning of a circle.
#pragma once

#include "host/db/entities.h"
#include "laser/path/lead_plan.h"

struct CuttingJob;
class CLaserSettings;

// The marking point's group: no rapid from an unset point, no leads, one cut of MarkingLineLength in +x from the
// point. The record's closure becomes 2 (no leads). Answers 0.
int WriteMarkingPointPath(CuttingJob& job, CLaserSettings& settings, LeadInPlan& plan);

// The circle's group: rapid, lead-in, the circle as two half arcs in the cut direction, lead-out. Answers 0.
int WriteCirclePath(CuttingJob& job, CLaserSettings& settings, LeadInPlan& plan);

// The leads of a circle from the plan's start point: side and direction (CutLineDirection, or from the side the
// tool comes from), lead angles, and when the leads collide, other start points around the circle and, as a last
// resort, leads cut to half their free length.
void ComputeCircleLeadIn(const CuttingJob& job, const CLaserSettings& settings, const host::db::Circle& circle,
                         LeadInPlan& plan);

// The number of start positions tried on each side of the planned one around a circle of `radius`, less one:
// the integer part of 2 pi r / (2 d) with d 0.4 mm (10 in an inch job), at least 3 and at most 18.
int CircleRetrySteps(double radius, int unit);
