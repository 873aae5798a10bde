// The drawing extents (EXTMIN, EXTMAX): the box around what a zoom to extents would show.
//
// What counts: model-space entities that are not erased, are visible (an invisible text, group 60 = 1, does not
// count) and lie on a layer that is on and thawed, and that have geometry. Paper space never counts. With nothing
// counted the box is inverted, (1e20, 1e20, 1e20) to (-1e20, -1e20, -1e20), as hosts write an empty drawing.
#include <cmath>

#include "host/db/database.h"
#include "host/db/database_impl.h"

namespace host::db {

namespace {

constexpr double kEmptyExtent = 1e20;

bool isFinite(const ge::Point3d& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

bool countsForExtents(const Database& db, const Entity& e) {
    if (e.isErased() || !e.isVisible()) return false;
    const auto* layer = dynamic_cast<const LayerTableRecord*>(db.peek(e.layerId()));
    return !layer || layer->isVisible();
}

}  // namespace

namespace {

std::pair<ge::Point3d, ge::Point3d> computeExtents(const Database& db) {
    ge::Point3d lo(kEmptyExtent, kEmptyExtent, kEmptyExtent), hi(-kEmptyExtent, -kEmptyExtent, -kEmptyExtent);
    const auto* model = dynamic_cast<const BlockTableRecord*>(db.peek(db.modelSpaceId()));
    if (!model) return {lo, hi};
    for (ObjectId id : model->entityIds()) {
        const auto* e = dynamic_cast<const Entity*>(db.peek(id));
        if (!e || !countsForExtents(db, *e)) continue;
        const std::optional<Extents> box = e->geomExtents();
        if (!box || !isFinite(box->min) || !isFinite(box->max)) continue;
        lo = {std::fmin(lo.x, box->min.x), std::fmin(lo.y, box->min.y), std::fmin(lo.z, box->min.z)};
        hi = {std::fmax(hi.x, box->max.x), std::fmax(hi.y, box->max.y), std::fmax(hi.z, box->max.z)};
    }
    return {lo, hi};
}

}  // namespace

ge::Point3d Database::extMin() const {
    if (!impl_->extents) impl_->extents = computeExtents(*this);
    return impl_->extents->first;
}

ge::Point3d Database::extMax() const {
    if (!impl_->extents) impl_->extents = computeExtents(*this);
    return impl_->extents->second;
}

}  // namespace host::db
