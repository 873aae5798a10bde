// A grid over the boxes of the contour table, so that the contours whose boxes meet a given box are found
// without looking at every contour.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "laser/contours/contour_records.h"

// An axis-parallel box.
struct ContourBox {
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
};

// Most grid cells along one axis.
inline constexpr int kMaxBoxIndexCells = 1024;

class ContourBoxIndex {
public:
    // Indexes the records 0 .. count - 1 of `records` that pass `take`.
    ContourBoxIndex(const ContourRecord* records, int count, const std::function<bool(const ContourRecord&)>& take);

    // The indexed records whose boxes meet `box` (touching counts), ascending; each once. May hold a few whose
    // boxes do not meet it: callers test the boxes themselves.
    std::vector<int> Query(const ContourBox& box);

private:
    int CellX(double x) const;
    int CellY(double y) const;

    double originX_ = 0.0, originY_ = 0.0, cellSize_ = 1.0;
    int columns_ = 1, rows_ = 1;
    std::vector<std::vector<int>> cells_;
    std::vector<std::uint32_t> seen_;   // query stamp per record, so that a record is answered once
    std::uint32_t stamp_ = 0;
};
