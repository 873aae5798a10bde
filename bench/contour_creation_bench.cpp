// Whole-run timing of the contour-creation stages on generated sheets of 100, 1,000 and 10,000 parts, so that the
// growth of each stage shows. Every part is a plate drawn as three lines and an arc, with a circular hole and a
// slot drawn as a closed polyline with two half-circle ends: six entities, nine pieces once the slot is exploded.
//
//   contour_creation_bench [PARTS ...]      (default: 100 1000 10000)
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
#include "host/ed/command.h"
#include "host/ed/command_stack.h"
#include "host/ed/commands/host_commands.h"
#include "host/ed/documents.h"
#include "host/ed/transcript.h"
#include "host/reg/machine_registry.h"
#include "laser/contours/contour_entity_table.h"
#include "laser/contours/contour_joining.h"
#include "laser/contours/line_intersection_check.h"
#include "laser/contours/node_cleanup.h"
#include "laser/contours/node_numbering.h"
#include "laser/settings/laser_settings.h"

namespace {

using host::ge::Point3d;

using bench_sheet::Append;
using bench_sheet::kPlateHeight;
using bench_sheet::kPlateWidth;

constexpr const char* kBenchGroup = "BENCH";
constexpr const char* kStagesCommand = "CONTOURSTAGES";

// One part with its lower left corner at (x, y).
void DrawPart(host::db::BlockTableRecord& space, double x, double y) {
    const double w = kPlateWidth, h = kPlateHeight, r = h / 2;
    // The outline: bottom, right and top edges, and a half circle on the left.
    Append(space, std::make_unique<host::db::Line>(Point3d(x + r, y), Point3d(x + w, y)));
    Append(space, std::make_unique<host::db::Line>(Point3d(x + w, y), Point3d(x + w, y + h)));
    Append(space, std::make_unique<host::db::Line>(Point3d(x + w, y + h), Point3d(x + r, y + h)));
    Append(space, std::make_unique<host::db::Arc>(Point3d(x + r, y + r), r, std::numbers::pi / 2,
                                                   3 * std::numbers::pi / 2));
    Append(space, std::make_unique<host::db::Circle>(Point3d(x + r, y + r), 10.0));
    auto slot = std::make_unique<host::db::LwPolyline>();
    slot->addVertexAt(0, {x + 55, y + 25}, 0.0);
    slot->addVertexAt(1, {x + 85, y + 25}, 1.0);
    slot->addVertexAt(2, {x + 85, y + 35}, 0.0);
    slot->addVertexAt(3, {x + 55, y + 35}, 1.0);
    slot->setClosed(true);
    Append(space, std::move(slot));
}

void DrawSheet(host::db::Database& db, int parts) {
    bench_sheet::DrawRows(db, parts,
                          [](host::db::BlockTableRecord& space, double x, double y, int) { DrawPart(space, x, y); });
}

class Stopwatch {
public:
    double Lap() {
        const auto now = std::chrono::steady_clock::now();
        const double seconds = std::chrono::duration<double>(now - last_).count();
        last_ = now;
        return seconds;
    }

private:
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

// The stages, run as the body of one command (as contour creation runs them): the host's commands they call are
// then part of that command's undo step instead of steps of their own.
void RunStages() {
    ContourEntityStage& stage = ContourEntities();
    stage = ContourEntityStage{};

    Stopwatch total, lap;
    auto report = [&lap](const char* stage) { std::printf("  %-34s %9.3f s\n", stage, lap.Lap()); };
    ExplodeLoosePolylines(stage);
    report("explode, table and node numbering");
    std::printf("  %-34s %9d\n", "pieces", stage.ContourEntityCount);
    // The same table and numbering once more on the exploded drawing, to show their share of the stage.
    BuildContourEntities(stage);
    report("  of which: table");
    stage.NodeList.clear();
    const CLaserSettings& settings = LaserSettings();
    NumberContourNodes(stage, settings.AutoConnectDist,
                       ExactNodeTolerance(settings.AutoConnectDist, settings.AutoConnect));
    report("  of which: node numbering");
    RemoveDuplicateEntities(stage);
    report("duplicates");
    CheckTripleNodes(stage);
    report("triple nodes");
    ScanEntityCrossings(stage, IntersectionPairs());
    report("crossing scan");
    std::printf("  %-34s %9zu\n", "crossings", IntersectionPairs().pairs.size());
    MergeEntitiesAtNodes(stage);
    report("merge at nodes");
    JoinEntitiesByKind(stage);
    report("joining");
    std::printf("  %-34s %9.3f s\n", "all stages", total.Lap());
    stage.ReleaseEntityTables();
}

void RunSheet(int parts) {
    host::ed::documents().closeAll();
    host::ed::transcript().clear();
    host::db::Database& db = host::ed::documents().newDocument()->database();
    DrawSheet(db, parts);
    std::printf("%d parts\n", parts);
    host::ed::command({host::db::ResBuf(host::db::RTSTR, kStagesCommand)});
}

}  // namespace

int main(int argc, char** argv) {
    const bench_sheet::Session session("contour_creation_bench.reg");
    host::ed::commandStack().add({kBenchGroup, kStagesCommand, kStagesCommand, 0, RunStages, nullptr});
    for (int parts : bench_sheet::SheetSizes(argc, argv)) RunSheet(parts);
    return 0;
}
