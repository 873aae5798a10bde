// The grid of placed parts behind the pose tests.
#include "nesting/model/placed_index.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "nesting/model/nesting_engine.h"

namespace {

// Cells along the sheet's longer side.
constexpr double kCellsAlongSheet = 128.0;

bool OnSheet(const CNestingEngine& engine, const PartInstance& instance) {
    return instance.TrialPose && instance.TrialPose->Valid != 0 && instance.Stock == engine.CurrentStock;
}

int CellIndex(double v, double origin, double size, int count) {
    const double c = std::floor((v - origin) / size);
    if (!(c >= 0.0)) {
        return 0;  // below the grid, or not a number
    }
    return c >= static_cast<double>(count - 1) ? count - 1 : static_cast<int>(c);
}

}  // namespace

void PlacedPartIndex::Build(const CNestingEngine& engine) {
    ++builds_;
    instances_ = engine.PartInstances.data();
    instanceCount_ = engine.PartInstances.size();
    stock_ = engine.CurrentStock;
    BoundingBox sheet = BoundingBox::Empty();
    if (engine.CurrentStockInstance != nullptr && engine.CurrentStockInstance->Type != nullptr) {
        sheet = engine.CurrentStockInstance->Type->OuterBox;
    }
    const double w = sheet.maxX - sheet.minX;
    const double h = sheet.maxY - sheet.minY;
    // Cells about as large as the parts (a part then reaches a few cells, and a cell holds a few parts), but
    // no more than kCellsAlongSheet along the sheet's longer side.
    double sides = 0.0;
    std::size_t parts = 0;
    for (const PartInstance& instance : engine.PartInstances) {
        if (instance.Type != nullptr) {
            const BoundingBox& b = instance.Type->OuterBox;
            const double side = std::max(b.maxX - b.minX, b.maxY - b.minY);
            if (std::isfinite(side) && side > 0.0) {
                sides += side;
                ++parts;
            }
        }
    }
    const double partSide = parts > 0 ? sides / static_cast<double>(parts) : 0.0;
    if (std::isfinite(w) && std::isfinite(h) && w > 0.0 && h > 0.0) {
        cellSize_ = std::max(std::max(w, h) / kCellsAlongSheet, std::min(partSide, std::max(w, h)));
        originX_ = sheet.minX;
        originY_ = sheet.minY;
        columns_ = std::max(1, static_cast<int>(std::ceil(w / cellSize_)));
        rows_ = std::max(1, static_cast<int>(std::ceil(h / cellSize_)));
    } else {
        // No sheet box to lay a grid on: one cell holds every part.
        cellSize_ = 1.0;
        originX_ = originY_ = 0.0;
        columns_ = rows_ = 1;
    }
    // The cells keep their buffers from one build to the next.
    const std::size_t cellCount = static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_);
    if (cells_.size() != cellCount) {
        cells_.assign(cellCount, {});
    } else {
        for (std::vector<std::int32_t>& cell : cells_) {
            cell.clear();
        }
    }
    held_.assign(instanceCount_, Cells{});
    if (stamp_.size() != instanceCount_) {
        stamp_.assign(instanceCount_, 0);
        query_ = 0;
    }
    for (std::size_t i = 0; i < instanceCount_; ++i) {
        const PartInstance& instance = engine.PartInstances[i];
        if (OnSheet(engine, instance)) {
            Insert(static_cast<int>(i), instance.TrialPose->Box);
        }
    }
    built_ = true;
}

PlacedPartIndex::Cells PlacedPartIndex::CellsOf(const BoundingBox& box) const {
    return {CellIndex(box.minX, originX_, cellSize_, columns_), CellIndex(box.minY, originY_, cellSize_, rows_),
            std::max(CellIndex(box.maxX, originX_, cellSize_, columns_), CellIndex(box.minX, originX_, cellSize_, columns_)),
            std::max(CellIndex(box.maxY, originY_, cellSize_, rows_), CellIndex(box.minY, originY_, cellSize_, rows_))};
}

void PlacedPartIndex::Insert(int i, const BoundingBox& box) {
    Cells c = CellsOf(box);
    if (!(box.minX <= box.maxX) || !(box.minY <= box.maxY)) {
        c = {0, 0, columns_ - 1, rows_ - 1};  // a box that is not one: held everywhere
    }
    held_[static_cast<std::size_t>(i)] = c;
    for (int y = c.y0; y <= c.y1; ++y) {
        for (int x = c.x0; x <= c.x1; ++x) {
            cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(x)]
                .push_back(i);
        }
    }
}

void PlacedPartIndex::Remove(int i) {
    Cells& c = held_[static_cast<std::size_t>(i)];
    for (int y = c.y0; y <= c.y1; ++y) {
        for (int x = c.x0; x <= c.x1; ++x) {
            std::vector<std::int32_t>& cell =
                cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(x)];
            const auto at = std::find(cell.begin(), cell.end(), i);
            if (at != cell.end()) {
                *at = cell.back();
                cell.pop_back();
            }
        }
    }
    c = Cells{};
}

void PlacedPartIndex::Update(const CNestingEngine& engine, int i) {
    if (!built_ || instances_ != engine.PartInstances.data() || instanceCount_ != engine.PartInstances.size() ||
        stock_ != engine.CurrentStock || i < 0 || static_cast<std::size_t>(i) >= instanceCount_) {
        built_ = false;
        return;
    }
    const PartInstance& instance = engine.PartInstances[static_cast<std::size_t>(i)];
    const bool onSheet = OnSheet(engine, instance);
    const Cells& held = held_[static_cast<std::size_t>(i)];
    if (onSheet && held.x0 <= held.x1) {
        const BoundingBox& box = instance.TrialPose->Box;
        if (box.minX <= box.maxX && box.minY <= box.maxY) {
            const Cells c = CellsOf(box);
            if (c.x0 == held.x0 && c.y0 == held.y0 && c.x1 == held.x1 && c.y1 == held.y1) {
                return;  // a small move within the same cells
            }
        }
    }
    Remove(i);
    if (onSheet) {
        Insert(i, instance.TrialPose->Box);
    }
}

const std::vector<std::int32_t>& PlacedPartIndex::Positions(const std::vector<std::int32_t>& list, int count) {
    ListPositions* entry = nullptr;
    for (ListPositions& l : lists_) {
        if (l.list == &list) {
            entry = &l;
        }
    }
    if (entry == nullptr) {
        entry = &lists_[nextList_];
        nextList_ = (nextList_ + 1) % 2;
        entry->list = &list;
        entry->copy.clear();
        entry->first.clear();
    }
    const std::size_t n = static_cast<std::size_t>(count);
    const std::size_t kept = entry->copy.size();
    const bool sameStart = kept <= n && entry->first.size() == instanceCount_ &&
                           (kept == 0 || std::memcmp(list.data(), entry->copy.data(), kept * sizeof(std::int32_t)) == 0);
    std::size_t from = kept;
    if (!sameStart) {
        entry->copy.clear();
        entry->first.assign(instanceCount_, -1);
        from = 0;
    }
    for (std::size_t c = from; c < n; ++c) {
        const std::int32_t q = list[c];
        entry->copy.push_back(q);
        if (q >= 0 && static_cast<std::size_t>(q) < instanceCount_ && entry->first[static_cast<std::size_t>(q)] < 0) {
            entry->first[static_cast<std::size_t>(q)] = static_cast<std::int32_t>(c);
        }
    }
    return entry->first;
}

const std::vector<std::int32_t>& PlacedPartIndex::Near(const CNestingEngine& engine,
                                                       const std::vector<std::int32_t>& list, int count,
                                                       const BoundingBox& box) {
    if (!built_ || instances_ != engine.PartInstances.data() || instanceCount_ != engine.PartInstances.size() ||
        stock_ != engine.CurrentStock) {
        Build(engine);
    }
    near_.clear();
    count = std::clamp(count, 0, static_cast<int>(list.size()));
    const std::vector<std::int32_t>& first = Positions(list, count);
    if (++query_ == 0) {
        std::fill(stamp_.begin(), stamp_.end(), 0);
        query_ = 1;
    }
    Cells c = CellsOf(box);
    if (!(box.minX <= box.maxX) || !(box.minY <= box.maxY)) {
        c = {0, 0, columns_ - 1, rows_ - 1};
    }
    for (int y = c.y0; y <= c.y1; ++y) {
        for (int x = c.x0; x <= c.x1; ++x) {
            for (const std::int32_t q :
                 cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(x)]) {
                std::uint32_t& seen = stamp_[static_cast<std::size_t>(q)];
                if (seen == query_) {
                    continue;
                }
                seen = query_;
                const std::int32_t at = first[static_cast<std::size_t>(q)];
                if (at >= 0 && at < count) {
                    near_.push_back(q);
                }
            }
        }
    }
    std::sort(near_.begin(), near_.end(), [&first](std::int32_t a, std::int32_t b) {
        return first[static_cast<std::size_t>(a)] < first[static_cast<std::size_t>(b)];
    });
    return near_;
}
