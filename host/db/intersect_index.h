// An entity's plan outline kept with a box tree of its pieces, for intersecting it with many other entities in a
// row: each one is then tested only against the pieces near it, not against the whole outline rebuilt every time.
#pragma once

#include <limits>
#include <memory>
#include <vector>

#include "host/db/entity.h"

namespace host::db {

class IntersectIndex {
public:
    // The outline of `entity` as it stands now (made whole or infinite when `extended`, as Intersect::ExtendThis
    // does), with the global tolerance of now; later changes to either are not seen.
    explicit IntersectIndex(const Entity& entity, bool extended = false);
    ~IntersectIndex();
    IntersectIndex(const IntersectIndex&) = delete;
    IntersectIndex& operator=(const IntersectIndex&) = delete;

    // What entity.intersectWith(other) answers (Intersect::ExtendArgument when `extendOther`, ExtendThis or
    // ExtendBoth when the index was made extended): the same points in the same order.
    std::vector<ge::Point3d> intersectWith(const Entity& other, bool extendOther = false) const;

    // What intersectWith answers for a line from `start` to `end`, without making the line, less points that lie
    // farther than `reach` from `start`: the points within reach are answered as intersectWith answers them, in
    // its order, and points beyond may be left out. (Only an outline that passes one place twice, crossed there,
    // with a point beyond reach between the two passes, could see the second pass answered where intersectWith
    // answers it once.) For many short tests in a row: a lead's test line against the outlines near it.
    std::vector<ge::Point3d> intersectWithSegment(const ge::Point3d& start, const ge::Point3d& end,
                                                  double reach = std::numeric_limits<double>::infinity()) const;

private:
    struct Tree;
    std::unique_ptr<Tree> tree_;
};

}  // namespace host::db
