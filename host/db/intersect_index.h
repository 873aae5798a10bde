// An entity's plan outline kept with a box tree of its pieces, for intersecting it with many other entities in a
// row: each one is then tested only against the pieces near it, not against the whole outline rebuilt every time.
#pragma once

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

private:
    struct Tree;
    std::unique_ptr<Tree> tree_;
};

}  // namespace host::db
