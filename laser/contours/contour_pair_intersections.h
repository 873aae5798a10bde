// The coarse check over finished contours: how many pairs of cut contours touch or cross, by the host's own
// curve intersection.
#pragma once

#include "laser/job/drawing_slot.h"

// The counting mode, the only one there is.
inline constexpr int kContourPairCountMode = 1;

// In the counting mode, counts the pairs of contours of `job` (records 0 .. contourCount - 1) whose boxes overlap
// and whose entities in the working drawing have at least one common point. Points and the kinds NoCloseLine,
// EngraveLine, CommonLine, HeatTreatmentLine, InsideCutLine, EngraveAndMarkLine and MarkLine take no part. A
// contour whose entity cannot be opened (erased since the table was made) is left out. Prints nothing and changes
// nothing. Any other mode answers 0.
int CheckContourPairIntersections(int mode, const CuttingJob& job);
