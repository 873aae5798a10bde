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

#include "bench/plate_sheet.h"
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

using bench_sheet::SecondsSince;

void RunSheet(int parts) {
    host::ed::documents().closeAll();
    host::ed::transcript().clear();
    host::db::Database& db = host::ed::documents().newDocument()->database();
    CLaserSettings& settings = LaserSettings();
    OnLoadDrawing(settings);
    bench_sheet::DrawSheet(db, parts);

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
    const bench_sheet::Session session("cutting_path_bench.reg");
    for (int parts : bench_sheet::SheetSizes(argc, argv)) RunSheet(parts);
    return 0;
}
