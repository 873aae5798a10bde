// Drawing a database's model space as an SVG picture: what a screen would show of the drawing, on white.
#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>

#include "host/db/database.h"

namespace host::ed {

struct SvgOptions {
    // Space left around the drawing's extents, as a share of the extents' larger side.
    double marginShare = 0.05;
    // Block references are followed this many levels deep; a reference deeper down is not drawn (and counted).
    int maxBlockDepth = 16;
    // Resource bound on one picture: elements written plus block instances visited. A drawing that needs more
    // (a block nested in arrays of arrays) is cut off there, with a note in the picture and in the report.
    std::size_t maxWork = 2'000'000;
    // The larger side of the picture in pixels (its width and height attributes); the viewBox is in drawing units.
    int pixelSize = 1000;
    // What the display shows over the drawing (display.h): highlighted entities (drawn dashed over a wide pale
    // halo, in groups of class "highlighted" and "highlight-halo") and the drawing's temporary vectors (lines in
    // a group of class "temporary-vectors", dashed when highlighted; the view box takes them in too).
    bool showDisplay = true;
    // Plays the display's animation frames back (display.h): every entity drawn in two frames or more becomes a
    // dot of its frames' size (at least 0.8 % of the picture's side across), in a group of class "animation"
    // with the entity's data-handle, that moves through the frames' centres (an <animateMotion> whose values
    // are the centres in picture coordinates, y down) and takes their colours, at the times the display
    // recorded, and starts again at the end. The group's data-times lists the frames' times in milliseconds
    // from its first frame.
    bool animate = false;
};

// What a render did, besides the text.
struct SvgReport {
    std::size_t drawn = 0;    // entities that produced an element (each entity met through a block reference)
    std::size_t hidden = 0;   // invisible, or on a layer that is off or frozen
    std::size_t tooDeep = 0;  // block references nested deeper than maxBlockDepth
    bool cutOff = false;      // maxWork was reached: the picture is incomplete
    std::size_t highlighted = 0;  // top-level entities shown highlighted (showDisplay)
    // Entities kept in the drawing that the host cannot draw (HATCH, DIMENSION, meshes, ...), by DXF name.
    std::map<std::string, std::size_t> notDrawn;
};

struct SvgPicture {
    std::string text;
    SvgReport report;
};

// Renders model space as it shows on a white background:
//   - y axis up (the picture flips it), viewBox from the drawing's extents (EXTMIN/EXTMAX) plus the margin;
//     a drawing with no extents gets a 100 x 100 box at the origin;
//   - colour by the entity's true colour or ACI index, BYLAYER through its layer, BYBLOCK through the block
//     reference that draws it (white at the top level); white shows black;
//   - line types as stroke-dasharray: the line type's dashes times LTSCALE, the entity's line-type scale and the
//     scale of the block references on the way; a dot is a zero-length dash with round caps;
//   - hidden: invisible entities, entities on layers that are off or frozen. Inside a block an entity on layer
//     "0" takes the reference's layer (colour, line type, on/off), as CAD programs show it; a reference on a
//     frozen layer hides all of its block, one on a layer that is off hides only what takes its layer;
//   - lines, arcs, circles, points (small dots), lightweight polylines with bulges (SVG arcs), 2D and 3D
//     polylines, ellipses and splines (as short chords), texts and multiline texts (<text> with height and
//     rotation), block references through their block's entities with the reference's transform (arrays too),
//     their attributes; anything the host keeps but cannot draw is counted in a comment at the end.
// Each element carries data-handle with the handle of the entity that drew it. Numbers are written with at most
// four decimals in the C locale, so the same drawing always gives the same text.
// With showDisplay, highlighted top-level entities and temporary vectors are shown as the display holds them.
// Not shown yet: polyline widths (every line is drawn thin), a text's width factor and oblique angle, line
// weights, the shapes and texts of complex line types (their dashes are drawn), draw order other than the
// order of model space, and paper space.
SvgPicture renderSvg(const db::Database& database, const SvgOptions& options = {});

// Renders and writes the picture through a temporary file and a rename: on failure the old file stays and
// `error` says why, naming the file. `report`, when given, receives what the render did.
bool writeSvgFile(const db::Database& database, const std::filesystem::path& path, std::string* error,
                  const SvgOptions& options = {}, SvgReport* report = nullptr);

}  // namespace host::ed
