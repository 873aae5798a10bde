// Engine contours drawn into the drawing, to check what a load or a CNC program import made of them.
#pragma once

#include "nesting/frame/nesting_state.h"
#include "nesting/model/contour.h"

// Colours (host colour indices, as CECOLOR texts) of cutting elements and of the rapid moves of an imported
// program.
inline constexpr const char* kContourColour = "5";
inline constexpr const char* kRapidColour = "3";
// The element type of a rapid move of an imported program.
inline constexpr std::int8_t kImportedRapid = kImportedElementOffset + kElementCircle;

// Draws the elements of `contour` in model space: circles, lines and arcs (centre, start, end) in colour 5, the
// rapid moves of an imported program as lines in colour 3; other element types (an imported lead-in or lead-out)
// are not drawn. CECOLOR is set to 3 first, switched only when the colour changes, and stays as last set.
void DrawContour(const Contour& contour);

// Draws every inner and outer contour of contour set 0 of the type, then every contour as read from its drawing
// moved by minus its reference point (circles, lines and arcs in the current colour).
void DrawPartContours(const PartType& type);
