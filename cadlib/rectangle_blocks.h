// Rectangle blocks of four lines, the marker block, and block lookups in the working drawing.
#pragma once

#include <string_view>

#include "host/db/database.h"

// Where a rectangle block's origin lies.
inline constexpr int kAnchorLowerLeft = 0;     // lower-left corner at the origin (or at the given offset)
inline constexpr int kAnchorCentre = 1;        // centred on the origin
inline constexpr int kAnchorBottomCentre = 2;  // bottom edge centred on the origin

// Defines block `name` in the working drawing: four lines (bottom, right, top, left, counter-clockwise from the
// first corner, at z 0), on layer "0", each of colour `colorIndex` and line type `linetype`, and the drawing's INSUNITS as the
// block's insertion units. Corners by anchor: kAnchorLowerLeft (0, 0)-(W, H), kAnchorCentre (-W/2, -H/2)-(W/2, H/2),
// kAnchorBottomCentre (-W/2, 0)-(W/2, H); another anchor is treated as kAnchorLowerLeft. A line type the drawing
// lacks leaves the lines ByLayer.
// Answers Ok; DuplicateKey when the name is taken (nothing is added, the old block is untouched); InvalidInput for a
// name the block table refuses or a colour index outside 0-256; NotInDatabase without a working drawing.
host::db::Status DefineRectangleBlock(std::string_view name, double width, double height, int anchor,
                                      std::string_view linetype, int colorIndex);
// The same; for kAnchorLowerLeft the lower-left corner lies at (xOffset, yOffset). Other anchors ignore the offset.
host::db::Status DefineRectangleBlockAt(std::string_view name, double width, double height, int anchor,
                                        std::string_view linetype, int colorIndex, double xOffset, double yOffset);

// 1 when the working drawing's block table has `name` (case-insensitive), else 0 (also without a drawing).
int BlockExists(std::string_view name);

// Status of DefineMarkerBlock for a name that exists when replacing was not asked for.
inline constexpr int kMarkerBlockExists = 23;

// Defines block `name` with base point `origin`: two circles about (0, 0, 0), radius 2 colour 1, then radius 10
// colour 5. A taken name answers kMarkerBlockExists unless `replace` is set; replacing erases the old definition
// first (its references then show the new one's name only once the old is gone, so callers replace unused blocks).
// Answers 0, kMarkerBlockExists, or the host status (as its int) of the step that failed; a failure leaves no
// half-made block.
int DefineMarkerBlock(std::string_view name, const host::ge::Point3d& origin, bool replace);

// Looks `name` up in the block table of `db` and opens the record in `mode` into `record`. Answers the lookup's
// status (KeyNotFound for a missing name, NullObjectId without a database); `record` is left closed then.
host::db::Status OpenBlockRecord(std::string_view name, host::db::ObjectPtr<host::db::BlockTableRecord>& record,
                                 host::db::OpenMode mode, host::db::Database* db);

// Writes "<temp folder>/<name>.dxf": a new drawing holding a closed 1200 x 900 polyline from the origin, its view
// fitted to (-50, -50)-(1250, 950). Built in a side database; the working drawing is not touched. Answers 0, or 1
// when the file cannot be written (the message names it).
int SaveTempRectangleDrawing(std::string_view name);
