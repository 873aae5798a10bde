// The commands that hand a drawing to programs knowing only a cut layer and a mark layer and take such a drawing
// back, the DXF export dialog, and the stock outline drawn around a picked point.
#pragma once

// vesk_ExportContours: contours created, then constraints, centre lines, the cutting path and every block reference
// removed, and the geometry of layer "0" moved onto "CUT" (colour 1), that of "EngraveLine" onto "PLOT" (colour
// 3), both with line type "Continuous" except that a stock outline keeps its line type.
void CommandExportContours();
// vesk_ReExportContours: the reverse ("CUT" to "0" colour 7, "PLOT" to "EngraveLine" with the engraving colour
// and line type of the settings), then the contours created.
void CommandReExportContours();
// ExportCncInDxf: a save dialog for a DXF file; nothing is written and nothing in the drawing changes.
void CommandExportCncInDxf();
// CCSS: a closed boundary polyline drawn by the host around a picked point, on the current layer.
void CommandCreateStock();
