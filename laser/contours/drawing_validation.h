// The check that a drawing holds only geometry contour creation can handle: no splines, no ellipses, nothing on
// layers the system does not know, and no points but marking and jumper points.
#pragma once

#include <array>
#include <string>
#include <string_view>

// The layers entities may lie on; anything on another layer is refused.
inline constexpr std::array<std::string_view, 25> kContourDrawingLayers = {
    "0",         "NC_Laser",          "NC_Laser_Off", "CutT2Line",       "NoCloseLine",     "EngraveLine",
    "EngraveAndMarkLine", "MarkLine", "HeatTreatmentLine", "CommonLine", "InsideCutLine",   "JumperLine",
    "NoLeadIn",  "MarkPoint",         "NC_ContoursOffset", "Clamp",      "TrimLine",        "MarkingText",
    "HoleDrill", "HoleDeployment",    "HoleCountersink",   "HoleThread", "RemoveBurrs",     "EngraveMilling",
    "Punch",
};

// How many entities of each refused class the whole drawing holds.
struct InvalidGeometryCounts {
    int splines = 0;
    int ellipses = 0;
    int onUnusedLayers = 0;   // entities of any type on a layer outside kContourDrawingLayers
    int strayPoints = 0;      // points on layers other than "MarkPoint" and "JumperLine"

    bool Clean() const { return splines == 0 && ellipses == 0 && onUnusedLayers == 0 && strayPoints == 0; }
};

// Counts the refused entities of the working drawing with four whole-drawing filtered selections (the host's
// filter decides how layer names compare).
InvalidGeometryCounts CountInvalidGeometry();

// The message that lists every refused class with a count above 0, numbered in the order splines, ellipses,
// entities on unused layers, points, in the module's language. Meant for counts that are not all 0.
std::string FormatInvalidGeometryMessage(const InvalidGeometryCounts& counts);

// 0 when the drawing passes; otherwise shows the message in a box with an OK button and answers -1.
int ValidateContourDrawing();

// The texts (TEXT and MTEXT) on the engraving layers ("EngraveLine", "EngraveAndMarkLine"). Contours are made of
// lines, arcs, circles and polylines, so such a text is passed over; the user engraves a text with InsertText.
int CountTextsOnEngravingLayers();
