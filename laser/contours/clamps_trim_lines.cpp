// Clamps and trim lines of a part drawing, recorded in the cutting job.
#include "laser/contours/clamps_trim_lines.h"

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/resbuf.h"
#include "host/ed/selection.h"
#include "laser/job/drawing_slot.h"
#include "laser/settings/laser_settings.h"

using host::db::EntityName;
using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::ResBuf;
using host::db::ResBufList;
using host::ge::Point3d;

namespace {

constexpr int kFilterOperator = -4;
constexpr int kFilterType = 0;
constexpr int kFilterLayer = 8;

// Runs `read` on a whole-drawing selection through `filter`; the set is freed afterwards.
template <class Read>
void ReadSelection(const ResBufList& filter, Read read) {
    EntityName set;
    if (host::ed::ssGet("_X", nullptr, nullptr, &filter, set) != host::db::RTNORM) return;
    read(set);
    host::ed::ssFree(set);
}

}  // namespace

void RecordClamp(CuttingJob& job, const Point3d& position) {
    const Point3d flat(position.x, position.y, 0.0);
    if (job.clampCount == 0) {
        job.clampPoints[0] = flat;
        job.clampCount = 1;
    } else if (position.x <= job.clampPoints[0].x) {
        job.clampPoints[1] = job.clampPoints[0];
        job.clampPoints[0] = flat;
    } else {
        job.clampPoints[1] = flat;
    }
}

int ReadClampPositions(CuttingJob& job, const EntityName& set) {
    for (ObjectId id : host::ed::selectionIds(set)) {
        ObjectPtr<host::db::BlockReference> reference(id, OpenMode::Read);
        if (reference && reference->blockName() == kClampBlockName) RecordClamp(job, reference->position());
    }
    return 0;
}

int ReadTrimLines(CuttingJob& job, const EntityName& set) {
    job.trimLineBits = 0;
    for (ObjectId id : host::ed::selectionIds(set)) {
        if (id.isNull()) continue;
        ObjectPtr<host::db::Line> line(id, OpenMode::Read);
        if (!line) continue;
        const Point3d start = line->start(), end = line->end();
        if (start.x == end.x) {
            job.verticalTrimStart = start;
            job.verticalTrimEnd = end;
            job.trimLineBits ^= kTrimLineVertical;
        }
        if (start.y == end.y) {
            job.horizontalTrimStart = start;
            job.horizontalTrimEnd = end;
            job.trimLineBits ^= kTrimLineHorizontal;
        }
    }
    return 0;
}

int ReadClampsAndTrimLines(CuttingJob& job) {
    job.clampCount = 0;
    job.trimLineBits = 0;
    ReadSelection({ResBuf(kFilterOperator, "<and"), ResBuf(kFilterType, "INSERT"), ResBuf(kFilterOperator, "and>")},
                  [&](const EntityName& set) { ReadClampPositions(job, set); });
    ReadSelection({ResBuf(kFilterOperator, "<and"), ResBuf(kFilterLayer, kTrimLineLayer),
                   ResBuf(kFilterType, "LINE"), ResBuf(kFilterOperator, "and>")},
                  [&](const EntityName& set) { ReadTrimLines(job, set); });
    return 0;
}

int ReadClampsAndTrimLines() {
    if (CuttingJob* job = CurrentJob(LaserSettings())) ReadClampsAndTrimLines(*job);
    return 0;
}
