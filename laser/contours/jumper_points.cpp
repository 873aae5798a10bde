// Jumper points tied to the cut contour they lie on.
#include "laser/contours/jumper_points.h"

#include "host/db/database.h"
#include "host/db/entities.h"
#include "laser/job/drawing_slot.h"

using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;

namespace {

// A point off a contour's box by less than this may still lie on the contour within the host's tolerance.
constexpr double kOnContourMargin = 1e-6;

ObjectId IdOfHandle(std::uint64_t handle) {
    host::db::Database* db = host::db::workingDatabase();
    return db != nullptr ? db->idFromHandle(host::db::Handle(handle)) : ObjectId{};
}

bool IsCutKind(ContourKind kind) {
    return kind == ContourKind::KindBase || kind == ContourKind::NoLeadIn || kind == ContourKind::JumperLine;
}

}  // namespace

int AttachJumperPoints(CuttingJob& job) {
    for (int i = 0; i < job.contourCount; ++i) {
        ContourRecord& point = job.contours[static_cast<std::size_t>(i)];
        if (point.kind != ContourKind::KindJumperPoint) continue;
        point.parentHandle = 0;
        ObjectPtr<host::db::Entity> pointEntity(IdOfHandle(point.handle), OpenMode::Read);
        if (!pointEntity) continue;
        for (int j = 0; j < job.contourCount; ++j) {
            const ContourRecord& cut = job.contours[static_cast<std::size_t>(j)];
            if (!IsCutKind(cut.kind) || cut.shape == kShapePoint) continue;
            if (point.minX < cut.minX - kOnContourMargin || point.minX > cut.maxX + kOnContourMargin ||
                point.minY < cut.minY - kOnContourMargin || point.minY > cut.maxY + kOnContourMargin) {
                continue;
            }
            ObjectPtr<host::db::Entity> contour(IdOfHandle(cut.handle), OpenMode::Read);
            if (contour && !contour->intersectWith(*pointEntity).empty()) {
                point.parentHandle = cut.handle;
                break;
            }
        }
    }
    return 0;
}

