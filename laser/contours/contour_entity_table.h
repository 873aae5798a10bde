// The table of drawn lines, arcs, circles and points that contour creation cleans and joins: collecting the
// entities, reading them into records, and the stage that explodes the loose polylines first and numbers the
// nodes afterwards.
#pragma once

#include "laser/contours/contour_records.h"

// Walks every entity of the working drawing: everything on the job layers "NC_Laser" and "NC_Laser_Off" is
// deleted (the previous path and the stored job texts, which contour creation writes again), and every LINE, ARC,
// CIRCLE and POINT on a visible layer (neither off nor frozen) is put into a new `ContourSelection` (a set still
// held is freed first). Answers the number of entities put into the set.
int CollectContourEntities(ContourEntityStage& stage = ContourEntities());

// Refills `ContourEntityTable` and `ContourEntityCount` from `CollectContourEntities`, in the order of the set:
//   line    type 1, its ends, radius 0; erased from the drawing and left out when shorter than AutoConnectDist;
//   arc     type 2, centre, radius, angles and ends; erased and left out when its length is below AutoConnectDist;
//   circle  type 4, centre and radius, both "ends" at centre + (radius, 0, 0);
//   point   type 5, both ends at its position.
// Every record gets the entity's name, layer and own line type, the kind of its layer and no nodes. An entity
// that cannot be opened for write (a locked layer) is reported on the command line and left out: it is neither
// read nor changed. The table holds ContourEntityCount + 1 records (the last one unused). The set is freed.
// Answers 0.
int BuildContourEntities(ContourEntityStage& stage = ContourEntities());

// The stage that makes the table: every lightweight and old-style polyline not on layer "NC_Laser" is corrected
// (3D polylines are first replaced by lightweight ones) and exploded into lines and arcs; then the table is built
// and its nodes numbered (NumberContourNodes with the tolerances of the settings). Answers 0.
int ExplodeLoosePolylines(ContourEntityStage& stage = ContourEntities());

// The basic form of the stage: the same explode (without replacing 3D polylines) and table, the simpler numbering
// of NumberContourNodesBasic with AutoConnectDist, and the crossing pairs of an earlier check forgotten. Nothing
// runs it in contour creation. Answers 0.
int ExplodeLoosePolylinesBasic(ContourEntityStage& stage = ContourEntities());
