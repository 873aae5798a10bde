// The generated sheets of the path benchmarks: rows of 100 plates of 100 x 60, 10 apart (by default plates with a
// rounded corner, two round holes and a slot: four contours a part), and the session and timing helpers the
// benchmarks share.
#pragma once

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <numbers>
#include <vector>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/ed/commands/host_commands.h"
#include "host/ed/documents.h"
#include "host/ed/transcript.h"
#include "host/reg/machine_registry.h"
#include "laser/settings/laser_settings.h"

namespace bench_sheet {

inline constexpr double kPlateWidth = 100.0, kPlateHeight = 60.0, kCorner = 10.0, kGap = 10.0;
inline constexpr int kPartsPerRow = 100;

inline void Append(host::db::BlockTableRecord& space, std::unique_ptr<host::db::Entity> e) {
    space.appendEntity(std::move(e));
}

// The plate's outline with its upper right corner rounded, as one closed polyline with a bulge.
inline void DrawRoundedOutline(host::db::BlockTableRecord& space, double x, double y) {
    using host::ge::Point2d;
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
}

// The plate's inner contours: two round holes and a slot with two half-circle ends.
inline void DrawHolesAndSlot(host::db::BlockTableRecord& space, double x, double y) {
    using host::ge::Point2d;
    using host::ge::Point3d;
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

// One part with its lower left corner at (x, y).
inline void DrawPart(host::db::BlockTableRecord& space, double x, double y) {
    DrawRoundedOutline(space, x, y);
    DrawHolesAndSlot(space, x, y);
}

// `parts` parts in rows from the origin up, each drawn by drawPart(space, x, y, k) for the k-th part.
template <class DrawOne>
void DrawRows(host::db::Database& db, int parts, DrawOne drawPart) {
    host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Write);
    for (int k = 0; k < parts; ++k) {
        drawPart(*space, (k % kPartsPerRow) * (kPlateWidth + kGap), (k / kPartsPerRow) * (kPlateHeight + kGap), k);
    }
}

// `parts` plates of DrawPart in rows from the origin up.
inline void DrawSheet(host::db::Database& db, int parts) {
    DrawRows(db, parts, [](host::db::BlockTableRecord& space, double x, double y, int) { DrawPart(space, x, y); });
}

// The sheet sizes named on the command line, or 100, 1,000 and 10,000 parts.
inline std::vector<int> SheetSizes(int argc, char** argv) {
    if (argc <= 1) return {100, 1000, 10000};
    std::vector<int> sheets;
    for (int k = 1; k < argc; ++k) sheets.push_back(std::atoi(argv[k]));
    return sheets;
}

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A benchmark's editor session: the module's settings in a registry file of its own in the temporary folder, the
// host's commands, and no echo of the transcript; on leaving, the drawings closed, the settings dropped and the
// registry file removed.
class Session {
public:
    explicit Session(const char* registryName)
        : registry_(std::filesystem::temp_directory_path() / registryName) {
        host::reg::setMachineRegistryFile(registry_);
        host::ed::registerHostCommands();
        host::ed::transcript().setEcho(false);
    }
    ~Session() {
        host::ed::documents().closeAll();
        DestroyLaserSettings();
        std::filesystem::remove(registry_);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

private:
    std::filesystem::path registry_;
};

}  // namespace bench_sheet
