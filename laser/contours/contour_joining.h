// Joining the cleaned pieces into polylines, one host PEDIT run per group of contour kinds.
#pragma once

#include <vector>

#include "laser/contours/contour_records.h"

// The fuzz distance PEDIT joins with: 0, so that only ends that meet exactly (after the clean-up at the nodes)
// join. The inside-cut group is given the same distance in the longer spelling.
inline constexpr const char* kJoinFuzz = "0.0";
inline constexpr const char* kInsideCutJoinFuzz = "0.0000";

// The kinds joined by one PEDIT run, in the order the runs go.
struct JoinGroup {
    std::vector<ContourKind> kinds;
};

// The groups in running order: kind 0; 25; each of 11 to 19 on its own; 1; 2, 26 and 27 together; 8; 3; 4; 5; 9.
// Points (6, 7) and pieces without a kind (255) are never joined.
const std::vector<JoinGroup>& JoinGroups();

// Compacts the table (dropped pieces and circles leave it: the last record fills the gap and is looked at in its
// turn; circles stay circles in the drawing), then runs "_.pedit" "_M" <the group's entities in table order> ""
// "_Y" "_J" <fuzz> "" for every group that has pieces. The drawing must ask before converting (PEDITACCEPT 0).
// Answers 0; -1 when a PEDIT run failed, after telling the user which pieces stayed unjoined.
int JoinEntitiesByKind(ContourEntityStage& stage = ContourEntities());
