// The path of one contour: where its cut starts, and the writer that lays its rapid move, lead-in, cut and
// lead-out into the drawing as one path group.
//
// Both entries work on the current drawing's job (CurrentJob) and the module's settings; they are what the
// cutting order calls for every contour it has chosen.
#pragma once

#include "host/ge/point.h"

// Answers of FindStartPoint.
enum StartPointAnswer : int {
    kStartPointKept = 0,      // a marking point (start = its position), or no vertex beat the seed
    kStartPointChosen = 1,    // a start point was chosen
    kStartPointOpenLine = 2,  // the contour is an open polyline (start = its nearer end)
};

// Where the cut of contour `contourIndex` begins, weighing the way in from `a` against the way on to `b` (when a
// and b have the same x and y, only the way in). `start` seeds the comparison of plain vertices and receives the
// answer. Ordinary cut contours prefer corners to smooth runs and avoid sharp corners, as ZahodTypePoint says.
int FindStartPoint(const host::ge::Point3d& a, host::ge::Point3d& start, const host::ge::Point3d& b,
                   int contourIndex);

// Writes the path group of contour `contourIndex` cut from `start` (as FindStartPoint gave it): a marking point,
// a circle or a polyline, each with its leads planned clear of the other contours where it can be. Does nothing
// for a record that is not a part contour (role 1). Marks the record processed. Answers 0.
int WriteContourPath(const host::ge::Point3d& start, int contourIndex);
