// Test-only construction of nesting jobs without drawings: contours of lines, arcs and circles made the way the
// drawing loader makes them, part, stock and clamp types, and the instances of a job.
//
// Contours come out closed and counter-clockwise, with their box and (positive) enclosed area. Arcs are stored
// counter-clockwise (Start at StartAngle to End at EndAngle about Centre); a chain that runs through an arc
// clockwise marks it Reversed. Lines keep their direction angle in StartAngle and that angle plus pi in EndAngle.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/ge/point.h"
#include "nesting/model/contour.h"
#include "nesting/model/nesting_engine.h"
#include "nesting/model/part_type.h"

// A vertex of a chain and the bulge of the segment that leaves it (0 a line; otherwise an arc whose included angle
// is 4 atan |bulge|, counter-clockwise when positive), as polylines carry them.
struct ChainVertex {
    host::ge::Point2d point;
    double bulge = 0.0;
};

// The rectangle [corner, corner + (width, height)]: four lines counter-clockwise from the minimum corner.
Contour MakeRectangle(double width, double height, host::ge::Point2d corner = {});

// A closed chain of lines through the points, in their order (the last point joins the first). The points
// should run counter-clockwise; the area is that of the polygon whatever the order.
Contour MakePolygon(const std::vector<host::ge::Point2d>& points);

// A closed chain of lines and arcs through the vertices (the last vertex joins the first).
Contour MakeChain(const std::vector<ChainVertex>& vertices);

// One circle element about the centre.
Contour MakeCircle(double radius, host::ge::Point2d centre = {});

// A slot with round ends: the straight middle line from `start` to start + (length, 0), both ends half circles
// of diameter `width`. Two lines and two arcs; box [start.x - width/2, start.x + length + width/2] by
// [start.y - width/2, start.y + width/2].
Contour MakeArcSlot(double length, double width, host::ge::Point2d start = {});

// The same outline run the other way (clockwise for the contours above).
Contour ReverseContour(const Contour& contour);

// Moves every point, centre and the box of a contour by (dx, dy).
void MoveContour(Contour& contour, double dx, double dy);

// A type of the kind (kKindStock, kKindPart, kKindClamp) whose only outer contour is `outer`, in the type's
// coordinates as given (BasePoint stays at the origin). Area is the outer area; DrawingBox and OuterBox the
// outer box; the contour's owner, class and colour follow the kind.
PartType MakeType(std::uint8_t kind, const Contour& outer, const std::string& path = "");

// A rectangle type as the loader makes it, moved by minus its BasePoint: a stock from the origin to (width,
// height) (BasePoint the origin), a part centred on the origin (BasePoint (width/2, height/2)), a clamp from
// (-width/2, -0.01) to (width/2, height - 0.01) (BasePoint (0, 0.01)). Path is "Stosk_%ix%i" or "Part_%ix%i".
PartType MakeRectangleType(std::uint8_t kind, double width, double height);

// Adds an inner contour (a hole of a part, a cut-out of a stock) to contour set 0 and takes its area from the
// type's Area.
void AddHole(PartType& type, const Contour& hole);

// Adds another outer contour to contour set 0 (a part drawn with several outlines: plates side by side, a part
// inside a frame's window); its area is added to the type's Area and its box taken into OuterBox and DrawingBox.
void AddOuter(PartType& type, const Contour& outer);

// Adds an open contour to contour set 0 of the type.
void AddOpenContour(PartType& type, const Contour& open);

// Add a type to the engine's job with the quantity, keeping each type array one record longer than its count
// and numbering the types in the order they are added. Part types take a priority (0 to 8) and a rotation mode
// (kRotateNone ... kRotateSectorAnd180). The clamp type must be added after the part types. Each answers the
// type's index in its array.
int AddStockType(CNestingEngine& engine, PartType type, int quantity);
int AddPartType(CNestingEngine& engine, PartType type, int quantity, int priority = 0,
                std::uint8_t rotationMode = kRotateFull);
int AddClampType(CNestingEngine& engine, double width, double height, int quantity);

// Makes the instances of the job as the loader does: one stock instance per sheet and one part instance per
// copy (clamps last), each array one record longer than its count; every instance unplaced, with a trial pose
// holding its own copies of the type's lists and an empty committed pose. False, with the limit's message,
// when the job exceeds the engine's limits (nothing is made then).
bool AddInstances(CNestingEngine& engine);
