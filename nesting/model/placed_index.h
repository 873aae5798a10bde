// An index of the parts placed on the sheet being filled: a uniform grid over the sheet whose cells hold the
// parts whose boxes reach them, so that a pose test meets only the parts near the moving one instead of every
// part of the job.
//
// A part is held under the box of its trial pose when it was last registered: the engine registers a part when
// it commits its pose (CommitPartPose) and forgets the whole index when poses change otherwise (a snapshot given
// back, a sheet's parts taken off); the index is then built again from the instances at the next query, and so
// too when the sheet or the instance table changes. A part taken off the sheet may stay in the cells: the caller
// tests each part it is given as it always did, so an extra one changes nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "nesting/model/contour.h"

class CNestingEngine;

class PlacedPartIndex {
public:
    // The next query builds the index again from the instances.
    void Invalidate() { built_ = false; }
    // Part instance i's trial pose or placement changed: it is held under its new box, or dropped when it no
    // longer lies on the current sheet.
    void Update(const CNestingEngine& engine, int i);
    // The instances among list[0 ... count - 1] that lie on the current sheet and whose boxes may meet `box`
    // (every one whose box meets it is among them), each once at its first position in the list, in list order.
    // Answers a buffer owned by the index, valid until the next call.
    const std::vector<std::int32_t>& Near(const CNestingEngine& engine, const std::vector<std::int32_t>& list,
                                          int count, const BoundingBox& box);

    // Builds made so far (for measurements).
    std::uint64_t Builds() const { return builds_; }

private:
    // First position of each instance in one candidate list, kept with the copy of the list it was made from.
    struct ListPositions {
        const void* list = nullptr;
        std::vector<std::int32_t> copy;
        std::vector<std::int32_t> first;
    };
    struct Cells {
        int x0 = 0, y0 = 0, x1 = -1, y1 = -1;
    };

    void Build(const CNestingEngine& engine);
    Cells CellsOf(const BoundingBox& box) const;
    void Insert(int i, const BoundingBox& box);
    void Remove(int i);
    const std::vector<std::int32_t>& Positions(const std::vector<std::int32_t>& list, int count);

    bool built_ = false;
    std::uint64_t builds_ = 0;
    const void* instances_ = nullptr;
    std::size_t instanceCount_ = 0;
    std::int32_t stock_ = -1;
    double originX_ = 0.0, originY_ = 0.0, cellSize_ = 1.0;
    int columns_ = 0, rows_ = 0;
    std::vector<std::vector<std::int32_t>> cells_;
    std::vector<Cells> held_;
    std::vector<std::uint32_t> stamp_;
    std::uint32_t query_ = 0;
    // The two candidate lists the engine asks with (the placed parts, the placement order).
    ListPositions lists_[2];
    int nextList_ = 0;
    std::vector<std::int32_t> near_;
};
