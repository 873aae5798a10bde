// Further operations on contours and the written path that no command reaches: switching selected contours
// between outer and inner or between leads and no leads, counting crossing contour pairs, and the table of the
// leads of the path already written.
#pragma once

#include <vector>

#include "host/ge/point.h"

// Switches the unprocessed, closed contours the user selects between outer and inner, with their class colour and
// the job's counters. The change is counted and the job stored, with or without a selection. Answers 0.
int ToggleContourPlacement();
// Switches the unprocessed contours the user selects between leads (closure 0) and no leads (closure 2); open
// contours stay. The change is counted and the job stored. Answers 0.
int ToggleContourLeadIn();

// The number of pairs of contours (records 0..count-1) whose outlines cross or touch; each pair counts once.
int CountIntersectingContourPairs();

// The leads of one path group.
struct PathLeadSegment {
    host::ge::Point3d leadInStart;   // when hasLeadIn
    host::ge::Point3d contourStart;
    host::ge::Point3d contourEnd;    // where the lead-out starts
    host::ge::Point3d leadOutEnd;    // when hasLeadOut
    bool hasLeadIn = false;
    bool hasLeadOut = false;
};
// One entry per path group 1..pathGroupCount of the current job into `table`; answers the number of groups.
int CollectPathLeadSegments(std::vector<PathLeadSegment>& table);
