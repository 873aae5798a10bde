// The commands that give drawn geometry a contour kind: selected entities moved onto a kind's layer with the
// layer's colour and line type, and the marking and jumper points placed on their layers.
#pragma once

#include <span>
#include <string>
#include <string_view>

class CLaserSettings;

// One kind command: the layer, colour index (decimal text, "256" by layer) and line type it gives.
struct ContourKindAssignment {
    const char* command;
    const char* layer;
    const char* colour;
    const char* linetype;
};

// The eleven kind commands, setBaseLine first.
std::span<const ContourKindAssignment> ContourKindAssignments();

// Prints "Select contours", lets the user select objects and gives each selected entity, in selection order, the
// layer (its vertices and attributes too), the colour index and the line type (vertices and attributes too). An
// entity that cannot be opened for write is passed over, and so is a property the drawing cannot give (a layer
// or line type it lacks): the entity keeps that one as it was. An empty or cancelled selection changes nothing.
// Answers 0.
int AssignSelectionToLayer(CLaserSettings& settings, std::string layer, std::string colourText, std::string linetype);

// The work of one kind command, named as the user types it (the frame has prepared the job); setJumperLine then
// says that its kind is reserved.
void CommandAssignContourKind(std::string_view command);

// InsertMarkPoint: PDMODE and PDSIZE from the settings (they stay set), then a picked point placed by the host's
// POINT on layer "MarkPoint", with the snaps end, centre, intersection and nearest.
void CommandInsertMarkPoint();
// InsertJumperPoint: the same on layer "JumperLine" with the snaps end and nearest; the reserved-command line
// follows whether or not a point was placed.
void CommandInsertJumperPoint();
