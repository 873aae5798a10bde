// One nested sheet in the drawing: the sheet's stock, the marker by which the cutting-path module takes the sheet
// over, the clamp, stock and part blocks at their poses, and the quick view the run shows after each sheet.
//
// Sheet k of a result is the (k+1)-th stock instance, in the order of StockInstances, whose placed flag is set;
// when fewer are placed it is the first placed one; when none is placed there is no sheet. Every operation here
// replaces the whole content of the drawing; the blocks of the types stay defined in it.
#pragma once

#include <optional>
#include <string>

#include "nesting/frame/nesting_state.h"

// The marker text and its layer, application and record.
inline constexpr const char* kResultMarkerText = "Kstr_ST";
inline constexpr const char* kResultMarkerLayer = "NC_Laser";
inline constexpr const char* kResultMarkerApp = "Kstr";
inline constexpr double kResultMarkerVersion = 2008.0;
// Item 2 of the record: the drawing holds a nesting result (a job of stored contours has 1).
inline constexpr int kResultMarkerStatus = 2;

// The index in StockInstances of the stock of sheet k; nullopt when no stock instance is placed.
std::optional<int> StockOfSheet(const CNestingEngine& engine, int sheet);

// The part instances of the job without the clamps (PartInstanceCount less the clamps in use), never below 0.
int PartCountWithoutClamps(const CNestingEngine& engine);

// The host command "_.-INSERT" of `block` at (x, y), scale 1, turned by `degrees`, point and angle written
// "%.16e". Answers the host's status (RTNORM when the reference was made).
int InsertBlock(const std::string& block, double x, double y, double degrees);

// Adds the marker of sheet k to model space: the invisible TEXT "Kstr_ST" at the origin on layer "NC_Laser"
// (made, colour 1, when missing) with the "Kstr" record: version 2008.0, status 2, the sheet, the job path, the
// material name and number, density and thickness. The application is registered when the drawing lacks it;
// when the drawing still refuses the record the text stays without it and the command line says so. Answers 0,
// -1 when there is no drawing or the text could not be made.
int WriteResultMarker(const CNestingState& state, const std::string& jobPath, int sheet);

// Shows sheet k: clears the drawing, writes the marker, inserts the sheet's clamps, its stock block and every
// part placed on it, zooms to the extents when asked, and prints the summary line. A part whose block cannot be
// inserted is not counted in the line nor in its metal recovery, and the command line names the block. Without a
// sheet, an information box says so and the drawing and ShownSheet stay as they were. Answers 0 when the sheet
// was drawn, -1 when there was none.
int DrawNest(CNestingState& state, int sheet, bool zoom);

// Called before the nesting puts a sheet or a job in place of the current drawing's content: a drawing that
// belongs to a file stops belonging to it (and says so), so that a later save never writes the nesting over
// the user's drawing file.
void LeaveDrawingFile();

// Paging through the sheets with wrap-around: ShownSheet becomes the next sheet (0 after the last) or the
// previous one (the last before the first; -1 when there are no sheets), then DrawNest shows it, zoomed.
int ShowNextSheet(CNestingState& state);
int ShowPreviousSheet(CNestingState& state);

// The progress view after stock instance `stock` was filled: the drawing cleared, the stock block at the origin
// and every part of the placement order with a valid pose on that stock, then zoomed to the extents. A stock index
// outside the job draws nothing.
void ShowSheetProgress(CNestingState& state, int stock);
