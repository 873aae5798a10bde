// Repairs of one record's groups for habits of other writers, as CAD programs' audit makes them: each changes the
// record's groups before they are read, so that the drawing keeps what the writer meant, and answers what it
// repaired (for the note the reader gives once per file), or nothing when the record needs no repair.
#pragma once

#include <optional>
#include <string>

#include "host/dxf/dxf_record.h"
#include "host/dxf/dxf_text.h"

namespace host::dxf {

// What a repair changed: the line of the group and the note.
struct RecordRepair {
    std::size_t line = 0;
    std::string what;
};

// ELLIPSE with a ratio of minor to major axis above 1: the axes swapped, every point where it was.
std::optional<RecordRepair> repairEllipseRatio(SplitRecord& rec);
// INSERT with an x or y scale of 0: it draws nothing, and is kept as read (nothing changed).
std::optional<RecordRepair> insertDrawingNothing(const SplitRecord& rec);
// INSERT with a z scale of 0: read as 1.
std::optional<RecordRepair> repairInsertZScale(SplitRecord& rec);
// MTEXT with a drawing direction of 0 or 2: read as 1, left to right.
std::optional<RecordRepair> repairMTextDirection(SplitRecord& rec);
// SPLINE closed and periodic with the n + 1 knots of one period: its knot vector unwrapped.
std::optional<RecordRepair> repairPeriodicSpline(SplitRecord& rec);
// LAYER of colour 0 or 256 (no layer colour): read as 7; `encoding` decodes the layer's name for the note.
std::optional<RecordRepair> repairLayerColor(SplitRecord& rec, const TextEncoding& encoding);

}  // namespace host::dxf
