// A uniform grid over contour boxes for the box tests of the classification.
#include "laser/contours/contour_box_index.h"

#include <algorithm>
#include <cmath>

ContourBoxIndex::ContourBoxIndex(const ContourRecord* records, int count,
                                 const std::function<bool(const ContourRecord&)>& take) {
    seen_.assign(static_cast<std::size_t>(std::max(count, 0)), 0);
    std::vector<int> taken;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    for (int i = 0; i < count; ++i) {
        const ContourRecord& r = records[i];
        if (!take(r)) continue;
        if (taken.empty()) {
            minX = r.minX, minY = r.minY, maxX = r.maxX, maxY = r.maxY;
        } else {
            minX = std::min(minX, r.minX), minY = std::min(minY, r.minY);
            maxX = std::max(maxX, r.maxX), maxY = std::max(maxY, r.maxY);
        }
        taken.push_back(i);
    }
    originX_ = minX;
    originY_ = minY;
    const double width = maxX - minX, height = maxY - minY;
    const double side = std::max(width, height);
    if (!taken.empty() && side > 0.0 && std::isfinite(side)) {
        // About one box per cell on average.
        cellSize_ = std::max(std::sqrt(std::max(width, side * 1e-6) * std::max(height, side * 1e-6) /
                                       static_cast<double>(taken.size())),
                             side / kMaxBoxIndexCells);
        columns_ = std::clamp(static_cast<int>(width / cellSize_) + 1, 1, kMaxBoxIndexCells);
        rows_ = std::clamp(static_cast<int>(height / cellSize_) + 1, 1, kMaxBoxIndexCells);
    }
    cells_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), {});
    for (int i : taken) {
        const ContourRecord& r = records[i];
        for (int y = CellY(r.minY); y <= CellY(r.maxY); ++y) {
            for (int x = CellX(r.minX); x <= CellX(r.maxX); ++x) {
                cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_) +
                       static_cast<std::size_t>(x)]
                    .push_back(i);
            }
        }
    }
}

int ContourBoxIndex::CellX(double x) const {
    const double c = std::floor((x - originX_) / cellSize_);
    if (!(c >= 0.0)) return 0;
    return c >= columns_ ? columns_ - 1 : static_cast<int>(c);
}

int ContourBoxIndex::CellY(double y) const {
    const double c = std::floor((y - originY_) / cellSize_);
    if (!(c >= 0.0)) return 0;
    return c >= rows_ ? rows_ - 1 : static_cast<int>(c);
}

std::vector<int> ContourBoxIndex::Query(const ContourBox& box) {
    std::vector<int> found;
    if (++stamp_ == 0) {
        std::fill(seen_.begin(), seen_.end(), 0);
        stamp_ = 1;
    }
    for (int y = CellY(box.minY); y <= CellY(box.maxY); ++y) {
        for (int x = CellX(box.minX); x <= CellX(box.maxX); ++x) {
            for (int i : cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_) +
                                static_cast<std::size_t>(x)]) {
                if (seen_[static_cast<std::size_t>(i)] == stamp_) continue;
                seen_[static_cast<std::size_t>(i)] = stamp_;
                found.push_back(i);
            }
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}
