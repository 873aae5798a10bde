// Whole-run timing of the command NCCreateContour, as a user runs it, on generated sheets of 100, 1,000 and 10,000
// parts, with the time of every stage, so that the growth of each shows. Every part is a plate with two round
// holes and a slot: every other plate is drawn as three lines and an arc (a rounded corner), the others as one
// closed polyline with a bulge; the slot is a closed polyline with two half-circle ends. Six entities a part.
//
//   contour_creation_road_bench [PARTS ...]      (default: 100 1000 10000)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/resbuf.h"
#include "host/ed/command.h"
#include "host/ed/command_stack.h"
#include "host/ed/commands/host_commands.h"
#include "host/ed/documents.h"
#include "host/ed/transcript.h"
#include "host/reg/machine_registry.h"
#include "laser/contours/contour_creation.h"
#include "laser/frame/command_table.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"
#include "laser/settings/laser_settings.h"

namespace {

using host::ge::Point2d;
using host::ge::Point3d;

constexpr double kPlateWidth = 100.0, kPlateHeight = 60.0, kCorner = 10.0, kGap = 10.0;
constexpr int kPartsPerRow = 100;
// The bulge of a quarter circle.
const double kQuarterBulge = std::tan(std::numbers::pi / 8);

void Append(host::db::BlockTableRecord& space, std::unique_ptr<host::db::Entity> e) {
    space.appendEntity(std::move(e));
}

// The plate's outline with its upper right corner rounded: loose lines and an arc, or one polyline.
void DrawOutline(host::db::BlockTableRecord& space, double x, double y, bool asPolyline) {
    const double w = kPlateWidth, h = kPlateHeight, c = kCorner;
    if (asPolyline) {
        auto outline = std::make_unique<host::db::LwPolyline>();
        outline->addVertexAt(0, Point2d(x, y), 0.0);
        outline->addVertexAt(1, Point2d(x + w, y), 0.0);
        outline->addVertexAt(2, Point2d(x + w, y + h - c), kQuarterBulge);
        outline->addVertexAt(3, Point2d(x + w - c, y + h), 0.0);
        outline->addVertexAt(4, Point2d(x, y + h), 0.0);
        outline->setClosed(true);
        Append(space, std::move(outline));
        return;
    }
    Append(space, std::make_unique<host::db::Line>(Point3d(x, y), Point3d(x + w, y)));
    Append(space, std::make_unique<host::db::Line>(Point3d(x + w, y), Point3d(x + w, y + h - c)));
    Append(space, std::make_unique<host::db::Arc>(Point3d(x + w - c, y + h - c), c, 0.0, std::numbers::pi / 2));
    Append(space, std::make_unique<host::db::Line>(Point3d(x + w - c, y + h), Point3d(x, y + h)));
    Append(space, std::make_unique<host::db::Line>(Point3d(x, y + h), Point3d(x, y)));
}

// One part with its lower left corner at (x, y).
void DrawPart(host::db::BlockTableRecord& space, double x, double y, bool asPolyline) {
    DrawOutline(space, x, y, asPolyline);
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

void DrawSheet(host::db::Database& db, int parts) {
    host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Write);
    for (int k = 0; k < parts; ++k) {
        DrawPart(*space, (k % kPartsPerRow) * (kPlateWidth + kGap), (k / kPartsPerRow) * (kPlateHeight + kGap),
                 k % 2 == 1);
    }
}

void RunSheet(int parts) {
    host::ed::documents().closeAll();
    host::ed::transcript().clear();
    host::db::Database& db = host::ed::documents().newDocument()->database();
    CLaserSettings& settings = LaserSettings();
    OnLoadDrawing(settings);
    DrawSheet(db, parts);

    std::vector<ContourStageTime> times;
    SetContourStageTimes(&times);
    const auto start = std::chrono::steady_clock::now();
    host::ed::command({host::db::ResBuf(host::db::RTSTR, "NCCreateContour")});
    const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    SetContourStageTimes(nullptr);

    const CuttingJob* job = CurrentJob(settings);
    std::printf("%d parts: %d contours, %u outer, %u inner, %u unclosed\n", parts, job ? job->contourCount : 0,
                job ? job->baseOuter : 0u, job ? job->baseInner : 0u, job ? job->unclosedCount : 0u);
    for (const ContourStageTime& t : times) std::printf("  %-28s %9.3f s\n", t.stage.c_str(), t.milliseconds / 1000);
    std::printf("  %-28s %9.3f s\n", "the whole command", total);
    OnUnloadDrawing(settings);
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path registry = std::filesystem::temp_directory_path() / "contour_creation_road.reg";
    host::reg::setMachineRegistryFile(registry);
    host::ed::registerHostCommands();
    RegisterLaserCommands();
    host::ed::transcript().setEcho(false);

    std::vector<int> sheets = {100, 1000, 10000};
    if (argc > 1) {
        sheets.clear();
        for (int k = 1; k < argc; ++k) sheets.push_back(std::atoi(argv[k]));
    }
    for (int parts : sheets) RunSheet(parts);

    RemoveLaserCommands();
    host::ed::documents().closeAll();
    DestroyLaserSettings();
    std::filesystem::remove(registry);
    return 0;
}
