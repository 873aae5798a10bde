// The commands that turn geometry contour creation cannot take into geometry it can: splines into polylines,
// ellipses and elliptical arcs into circular arcs, and polylines with too many vertices into fewer.
#pragma once

// Convert_Spline_to_Polyline: the selected splines become polylines of straight or arc segments (PLINECONVERTMODE,
// left set) through the host's PEDIT at the precision asked.
void CommandConvertSplineToPolyline();
// Convert_Ellipse_to_Polyline: the selected ellipses and elliptical arcs are replaced by circular arcs on their
// own layers (PELLIPSE left at 1).
void CommandConvertEllipseToPolyline();
// SmoothingPolyline: the selected polylines (3D polylines first made flat) lose the vertices they do not need
// within the maximum deviation asked.
void CommandSmoothingPolyline();
