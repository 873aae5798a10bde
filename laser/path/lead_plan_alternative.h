// The earlier lead planner of a polyline contour and its check against the other contours and the path already
// written. No command uses them; the path writers plan with ComputePolylineLeads.
#pragma once

#include "host/db/entities.h"
#include "laser/path/lead_plan.h"
#include "laser/path/polyline_leads.h"

struct CuttingJob;
class CLaserSettings;

// Plans the leads of the polyline contour plan.contourIndex for plan.startPoint. An open polyline is planned as
// ComputePolylineLeads does. A closed one starts from the lead angle of the job, narrowed where the free angle on
// the scrap side leaves no room for two leads and 40 degrees; the lead whose outer end lies nearer the tool's
// current point becomes the lead-in (the one at normal + angle on a tie). A contour without leads gets side NO and
// no leads. The leads are then tested once with EvaluateLeadCollisions; answers its score.
int PlanPolylineLeadsAlternative(const CuttingJob& job, const CLaserSettings& settings,
                                 const host::db::LwPolyline& polyline, LeadInPlan& plan, PolylineStart& where);

// Plans with PlanPolylineLeadsAlternative, then shortens a lead that crosses another contour (boxes widened by the
// tool diameter; the stock record only when it is the stock) to 0.7 of its free length. Last, the blocked flags
// tell whether the new lead-in or lead-out comes within half a tool diameter (by boxes) of a lead of a path group
// already written. Answers 0.
int CheckLeadsAgainstPath(const CuttingJob& job, const CLaserSettings& settings,
                          const host::db::LwPolyline& polyline, LeadInPlan& plan);
