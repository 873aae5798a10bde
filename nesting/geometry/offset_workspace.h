// The work area of the contour offset: its table of result contours and its records of self-intersections.
//
// The nesting state owns one workspace for the life of the module; its contents are meaningful only between one
// offset and the next, which overwrites them.
#pragma once

#include <cstdint>
#include <vector>

#include "host/ge/point.h"
#include "nesting/model/contour.h"

// Result contours one offset may give.
inline constexpr int kOffsetContourCapacity = 200;
// Records by which the crossing records grow when they run short.
inline constexpr int kOffsetPieceMargin = 200;
// Crossing records made ready when the workspace is created, and the room reserved for them.
inline constexpr int kOffsetPieceInitialCount = 2000;
inline constexpr int kOffsetPieceInitialRoom = 5000;

// One self-intersection point of a raw offset on one of its elements. Every crossing gives two records, one per
// element, which share their CrossingId.
struct OffsetCrossing {
    // Index of the raw offset element on which the point lies.
    std::int32_t ElementIndex = 0;
    std::int32_t CrossingId = 0;
    host::ge::Point2d Point;
    // Position along the element: for a line the distance from Start, for an arc the angle travelled from its
    // logical start, in [0, 2*pi).
    double Param = 0.0;
    // 1 while the piece of the raw offset just before (after) the point keeps the offset distance from the source.
    std::uint8_t BeforeValid = 0;
    std::uint8_t AfterValid = 0;
    // 1 until a traced result has used the record.
    std::uint8_t Available = 0;
};

struct OffsetWorkspace {
    // The result contours of the last offset: entries 0 to OffsetContourCount - 1. Each entry owns its elements.
    std::vector<Contour> OffsetContours = std::vector<Contour>(kOffsetContourCapacity);
    std::int32_t OffsetContourCount = 0;
    // The crossing records of the last offset: the first OffsetPieceCount entries are in use; the storage is kept
    // from call to call so that repeated offsets of a job do not allocate again.
    std::vector<OffsetCrossing> OffsetPieces = std::vector<OffsetCrossing>(kOffsetPieceInitialCount);
    std::int32_t OffsetPieceCount = 0;

    OffsetWorkspace() { OffsetPieces.reserve(kOffsetPieceInitialRoom); }
};
