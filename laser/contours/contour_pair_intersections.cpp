// Counting pairs of finished contours whose entities meet.
#include "laser/contours/contour_pair_intersections.h"

#include <algorithm>

#include "cadlib/segment_box.h"
#include "host/db/database.h"

using host::db::ObjectPtr;
using host::db::OpenMode;

namespace {

bool TakesPart(const ContourRecord& r) {
    return r.shape != kShapePoint && !IsDrawnLineKind(r.kind);
}

host::db::ObjectId IdOf(const host::db::Database& db, const ContourRecord& r) {
    return db.idFromHandle(host::db::Handle(r.handle));
}

}  // namespace

int CheckContourPairIntersections(int mode, const CuttingJob& job) {
    host::db::Database* db = host::db::workingDatabase();
    if (mode != kContourPairCountMode || !db) return 0;
    const int count = std::min(job.contourCount, static_cast<int>(job.contours.size()));
    int pairs = 0;
    for (int k = 0; k < count; ++k) {
        const ContourRecord& rk = job.contours[static_cast<std::size_t>(k)];
        if (!TakesPart(rk)) continue;
        ObjectPtr<host::db::Entity> ek(IdOf(*db, rk), OpenMode::Read);
        if (!ek) continue;
        for (int m = k + 1; m < count; ++m) {
            const ContourRecord& rm = job.contours[static_cast<std::size_t>(m)];
            if (!TakesPart(rm)) continue;
            if (!BoxesOverlap(rk.minX, rk.minY, rk.maxX, rk.maxY, rm.minX, rm.minY, rm.maxX, rm.maxY)) continue;
            ObjectPtr<host::db::Entity> em(IdOf(*db, rm), OpenMode::Read);
            if (!em) continue;
            if (!ek->intersectWith(*em, host::db::Intersect::OnBothOperands).empty()) ++pairs;
        }
    }
    return pairs;
}
