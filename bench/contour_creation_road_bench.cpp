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

#include "bench/plate_sheet.h"
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

using bench_sheet::Append;
using host::ge::Point3d;

// The plate's outline with its upper right corner rounded: loose lines and an arc, or one polyline.
void DrawOutline(host::db::BlockTableRecord& space, double x, double y, bool asPolyline) {
    if (asPolyline) {
        bench_sheet::DrawRoundedOutline(space, x, y);
        return;
    }
    const double w = bench_sheet::kPlateWidth, h = bench_sheet::kPlateHeight, c = bench_sheet::kCorner;
    Append(space, std::make_unique<host::db::Line>(Point3d(x, y), Point3d(x + w, y)));
    Append(space, std::make_unique<host::db::Line>(Point3d(x + w, y), Point3d(x + w, y + h - c)));
    Append(space, std::make_unique<host::db::Arc>(Point3d(x + w - c, y + h - c), c, 0.0, std::numbers::pi / 2));
    Append(space, std::make_unique<host::db::Line>(Point3d(x + w - c, y + h), Point3d(x, y + h)));
    Append(space, std::make_unique<host::db::Line>(Point3d(x, y + h), Point3d(x, y)));
}

// Every other plate's outline is loose lines and an arc, the others one polyline.
void DrawSheet(host::db::Database& db, int parts) {
    bench_sheet::DrawRows(db, parts, [](host::db::BlockTableRecord& space, double x, double y, int k) {
        DrawOutline(space, x, y, k % 2 == 1);
        bench_sheet::DrawHolesAndSlot(space, x, y);
    });
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
    const double total = bench_sheet::SecondsSince(start);
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
    const bench_sheet::Session session("contour_creation_road.reg");
    RegisterLaserCommands();
    for (int parts : bench_sheet::SheetSizes(argc, argv)) RunSheet(parts);
    RemoveLaserCommands();
    return 0;
}
