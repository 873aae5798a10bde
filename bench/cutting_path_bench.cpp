// Whole-run timing of the main road on generated sheets of 100, 1,000 and 10,000 parts: contour creation, then
// the automatic cutting order with its move home, with the number of path groups and the rapid length, so that
// the growth of each stage shows. Every part is a plate with a rounded corner, two round holes and a slot (four
// contours a part).
//
//   cutting_path_bench [PARTS ...]      (default: 100 1000 10000)
#include <chrono>
#include <cstdio>
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
#include "laser/contours/contour_creation.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"
#include "laser/path/automatic_cutting_order.h"
#include "laser/path/home_rapid.h"
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

// One part with its lower left corner at (x, y).
void DrawPart(host::db::BlockTableRecord& space, double x, double y) {
    const double w = kPlateWidth, h = kPlateHeight, c = kCorner;
    auto outline = std::make_unique<host::db::LwPolyline>();
    outline->addVertexAt(0, Point2d(x, y), 0.0);
    outline->addVertexAt(1, Point2d(x + w, y), 0.0);
    outline->addVertexAt(2, Point2d(x + w, y + h - c), kQuarterBulge);
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

void DrawSheet(host::db::Database& db, int parts) {
    host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Write);
    for (int k = 0; k < parts; ++k) {
        DrawPart(*space, (k % kPartsPerRow) * (kPlateWidth + kGap), (k / kPartsPerRow) * (kPlateHeight + kGap));
    }
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void RunSheet(int parts) {
    host::ed::documents().closeAll();
    host::ed::transcript().clear();
    host::db::Database& db = host::ed::documents().newDocument()->database();
    CLaserSettings& settings = LaserSettings();
    OnLoadDrawing(settings);
    DrawSheet(db, parts);

    auto start = std::chrono::steady_clock::now();
    CreateContours();
    const double creation = SecondsSince(start);
    const CuttingJob* job = CurrentJob(settings);
    const int contours = job != nullptr ? job->contourCount : 0;

    start = std::chrono::steady_clock::now();
    SliceAuto();
    const double order = SecondsSince(start);
    job = CurrentJob(settings);
    const int orderGroups = job ? job->pathGroupCount : 0;
    const double orderRapid = job ? job->totalRapidLength : 0.0;
    start = std::chrono::steady_clock::now();
    AddHomeRapid();
    const double home = SecondsSince(start);
    job = CurrentJob(settings);

    std::printf("%d parts, %d contours\n", parts, contours);
    std::printf("  %-26s %9.3f s\n", "contour creation", creation);
    std::printf("  %-26s %9.3f s  %d path groups, rapid %.1f\n", "automatic cutting order", order, orderGroups,
                orderRapid);
    std::printf("  %-26s %9.3f s  %d path groups, rapid %.1f\n", "move home", home, job ? job->pathGroupCount : 0,
                job ? job->totalRapidLength : 0.0);
    std::printf("  %-26s %9.3f s\n", "the whole road", creation + order + home);
    OnUnloadDrawing(settings);
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path registry = std::filesystem::temp_directory_path() / "cutting_path_bench.reg";
    host::reg::setMachineRegistryFile(registry);
    host::ed::registerHostCommands();
    host::ed::transcript().setEcho(false);

    std::vector<int> sheets = {100, 1000, 10000};
    if (argc > 1) {
        sheets.clear();
        for (int k = 1; k < argc; ++k) sheets.push_back(std::atoi(argv[k]));
    }
    for (int parts : sheets) RunSheet(parts);

    host::ed::documents().closeAll();
    DestroyLaserSettings();
    std::filesystem::remove(registry);
    return 0;
}
