// Contour creation: the road from the drawn geometry of the current drawing to the classified contour table of
// its cutting job, stored in the drawing; and the command bodies that run it.
#pragma once

#include <string>
#include <vector>

#include "laser/contours/contour_records.h"

struct CuttingJob;

// The time one stage of contour creation took, for whoever measures it.
struct ContourStageTime {
    std::string stage;
    double milliseconds = 0.0;
};
// While set, every run of contour creation appends the time of each of its stages to `sink` (null: none kept).
void SetContourStageTimes(std::vector<ContourStageTime>* sink);

// The collection stage: validation, the explode of blocks and polylines (nested blocks included, then the
// geometry that came out of them validated again), clamps and trim lines, the table of drawn pieces with its
// nodes, the removal of duplicates, the check of nodes shared by three or more pieces, the line-intersection
// check (when CheckIntersect is not 0), the snapping at nodes and the joining per kind. The tables of drawn pieces
// are released at the end. Answers 0 when the geometry is ready for the contour table, -1 when creation must stop
// (the user has been told why).
int CollectContourGeometry(CuttingJob& job, ContourEntityStage& stage = ContourEntities());

// Makes the contour table of the current drawing: the job is prepared, every group removed, the geometry
// collected, the table built and classified, the jumper points attached; then the fill ratio, the status line,
// the counts on the command line, the net area, the extents and the drawing's insertion base, the change counter,
// the stored job data, the warning box (crossing contours, unclosed contours) and a zoom to extents. When the
// collection stops, the job keeps no table and nothing more is done. Answers 0.
int CreateContours();

// Erases every entity of the working drawing whose own line type name contains "CENTER" (case-sensitive; a line
// type taken from the layer does not count). An entity that cannot be opened for write is passed over. Answers the
// number erased.
int EraseCenterLines();

// The preparation of the commands that measure the drawing's geometry: PrepareDrawingJob, with its answer.
int PrepareGeometryCommand();

// The largest closed outer part contour's area over the area of its box; 0 when there is none or its box is empty.
double PartFillRatio(const CuttingJob& job);

// The work of NCCreateContour (its frame makes "0" the current layer and keeps the drawing environment): world
// coordinates, constraints removed, centre lines erased, the job texts collected, CreateContours, then the time
// and the postprocessor, or the error line when no contour was created.
void CommandNCCreateContour();
// The work of DeleteAllCenterLine: EraseCenterLines with a line before and the count after.
void CommandDeleteAllCenterLine();
