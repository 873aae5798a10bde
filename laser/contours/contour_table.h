// The contour table of a drawing's cutting job: one record per visible lightweight polyline, circle and point,
// with its kind, role, shape, closure, box and area, and the stock record at its fixed place at the end.
#pragma once

struct CuttingJob;

// Replaces `job`'s contour table by one record for every lightweight polyline, circle and point of the working
// drawing on a visible layer, in the drawing's order (nothing on "NC_Laser" or "NC_Laser_Off"):
//   point     box = its position; kind MarkPoint or KindJumperPoint by the exact layer name, else KindUnset;
//   circle    closed, area pi r^2, box of the circle;
//   polyline  corrected first (the big-radius report printed), the host's area (an open one: of its closed
//             outline), closed or open, the box of its vertices and arcs.
// Circles and polylines take their kind from the layer name without regard to case (KindBase for any other
// layer). A contour whose line type equals TypeLineStock (without regard to case) has the stock role; the last
// one found moves to index contourCount - 1 (the record that stood there takes its place) and is copied to
// index contourCount. Without one, index contourCount is an empty stock. A polyline that cannot be opened for
// write (a locked layer) is reported on the command line and left out of the table.
// Sets contourCount and answers it.
int BuildContourTable(CuttingJob& job);
