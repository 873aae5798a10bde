// The generated sheet of the path benchmarks: rows of 100 plates of 100 x 60 with a rounded corner, two round
// holes and a slot (four contours a part), 10 apart.
#pragma once

#include <cmath>
#include <memory>
#include <numbers>

#include "host/db/database.h"
#include "host/db/entities.h"

namespace bench_sheet {

inline constexpr double kPlateWidth = 100.0, kPlateHeight = 60.0, kCorner = 10.0, kGap = 10.0;
inline constexpr int kPartsPerRow = 100;

inline void Append(host::db::BlockTableRecord& space, std::unique_ptr<host::db::Entity> e) {
    space.appendEntity(std::move(e));
}

// One part with its lower left corner at (x, y).
inline void DrawPart(host::db::BlockTableRecord& space, double x, double y) {
    using host::ge::Point2d;
    using host::ge::Point3d;
    // The bulge of a quarter circle.
    const double quarterBulge = std::tan(std::numbers::pi / 8);
    const double w = kPlateWidth, h = kPlateHeight, c = kCorner;
    auto outline = std::make_unique<host::db::LwPolyline>();
    outline->addVertexAt(0, Point2d(x, y), 0.0);
    outline->addVertexAt(1, Point2d(x + w, y), 0.0);
    outline->addVertexAt(2, Point2d(x + w, y + h - c), quarterBulge);
    outline->addVertexAt(3, Point2d(x + w - c, y + h), 0.0);
    outline->addVertexAt(4, Point2d(x, y + h), 0.0);
    outline->setClosed(true);
    Append(space, std::move(outline));
    Append(space, std::make_unique<host::db::Circle>(Point3d(x + 20, y + 20), 8.0));
    Append(space, std::make_unique<host::db::Circle>(Point3d(x + 20, y + 42), 6.0));
    auto slot = std::make_unique<host::db::LwPolyline>();
    slot->addVertexAt(0, Point2d(x + 45, y + 25), 0.0);
    slot->addVertexAt(1, Point2d(x + 75, y + 25), 1.0);
    slot->addVertexAt(2, Point2d(x + 75, y + 35), 0.0);
    slot->addVertexAt(3, Point2d(x + 45, y + 35), 1.0);
    slot->setClosed(true);
    Append(space, std::move(slot));
}

// `parts` parts in rows from the origin up.
inline void DrawSheet(host::db::Database& db, int parts) {
    host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Write);
    for (int k = 0; k < parts; ++k) {
        DrawPart(*space, (k % kPartsPerRow) * (kPlateWidth + kGap), (k / kPartsPerRow) * (kPlateHeight + kGap));
    }
}

}  // namespace bench_sheet
