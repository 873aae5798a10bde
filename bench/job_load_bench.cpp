// Whole-load timing of a nesting job of many part drawings, as OpenFileNesting loads it: the job file read, every
// drawing checked and loaded (its stored contours read and offset, its block made), then one sheet holding every
// part drawn into the drawing as DrawNest draws a nested sheet. The drawings are copies of the nesting module's
// test drawings (a flange, an L-shape, a plate with holes), each under a name of its own, so that every copy is a
// type with its own block. Prints the time of the load, of the drawing and per drawing.
//
//   job_load_bench [DRAWINGS]       (default 200; run from the repository's root)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/plate_sheet.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/ed/documents.h"
#include "host/reg/machine_registry.h"
#include "nesting/commands/job_commands.h"
#include "nesting/frame/nesting_state.h"
#include "nesting/result/sheet_drawing.h"

namespace {

namespace fs = std::filesystem;

const char* const kSamples[] = {"flange", "lshape", "rect_holes"};

// A job file as the job dialog writes it: one sheet of `width` x `height`, every drawing once, part gap 4, edge
// offset 10, no rotation.
std::string JobText(int drawings, int width, int height) {
    std::string text =
        "Kestrion Nesting TQ450\r\n\r\nSt37\r\n1.0037\r\n7.85e-06\r\n3\r\n\r\n\r\n10\r\n4\r\n4\r\n\r\n\r\n";
    const std::string stock = "Stosk_" + std::to_string(width) + "x" + std::to_string(height);
    text += "1\r\n0\r\n" + stock + "\r\n" + stock + "\r\n1\r\n0\r\n1\r\n\r\n\r\n\r\n\r\n\r\n";
    text += std::to_string(drawings) + "\r\n";
    for (int i = 0; i < drawings; ++i) {
        text += "2\r\npart_" + std::to_string(i) + ".dwg\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n\r\n\r\n\r\n";
    }
    return text + "\r\n\r\n0\r\n";
}

// Puts every part on the sheet in rows of `columns`, `pitch` apart, as a run would leave them.
void PlaceOnGrid(CNestingState& state, int columns, double pitch) {
    state.StockInstances[0].Placed = 1;
    state.UsedStockCount = 1;
    for (int i = 0; i < state.PartInstanceCount; ++i) {
        PartInstance& part = state.PartInstances[static_cast<std::size_t>(i)];
        if (!part.CommittedPose) continue;
        part.CommittedPose->X = pitch * (i % columns + 0.5);
        part.CommittedPose->Y = pitch * (i / columns + 0.5);
        part.CommittedPose->Angle = 0.0;
        part.CommittedPose->Valid = 1;
        part.Placed = 1;
        part.Stock = 0;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int drawings = argc > 1 ? std::atoi(argv[1]) : 200;
    if (drawings < 1) {
        std::fprintf(stderr, "usage: job_load_bench [DRAWINGS]\n");
        return 2;
    }
    const fs::path source = fs::current_path();
    const fs::path samples = source / "nesting" / "drawings" / "tests" / "fixtures";
    if (!fs::exists(samples / "flange.dxf")) {
        std::fprintf(stderr, "job_load_bench: run it from the repository's root (%s not found)\n",
                     (samples / "flange.dxf").c_str());
        return 2;
    }
    const fs::path folder = fs::temp_directory_path() / "job_load_bench";
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (int i = 0; i < drawings; ++i) {
        fs::copy_file(samples / (std::string(kSamples[i % 3]) + ".dxf"),
                      folder / ("part_" + std::to_string(i) + ".dxf"));
    }
    constexpr int kColumns = 20;
    constexpr double kPitch = 150.0;
    const int rows = (drawings + kColumns - 1) / kColumns;
    const fs::path job = folder / "job.nst";
    {
        std::FILE* f = std::fopen(job.c_str(), "wb");
        const std::string text =
            JobText(drawings, static_cast<int>(kColumns * kPitch), static_cast<int>(rows * kPitch));
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }

    const bench_sheet::Session session("job_load_bench.reg");
    host::reg::productKey().setString("DirInstall", (source / "data").string());
    host::ed::documents().newDocument();
    fs::current_path(folder);  // the job names its drawings beside it
    {
        CNestingState state;
        const auto start = std::chrono::steady_clock::now();
        const int loaded = LoadJobFromFile(state, job.string());
        const double load = bench_sheet::SecondsSince(start);
        if (loaded != 0) {
            std::fprintf(stderr, "job_load_bench: the job did not load\n");
            return 1;
        }
        PlaceOnGrid(state, kColumns, kPitch);
        const auto drawStart = std::chrono::steady_clock::now();
        DrawNest(state, 0, false);
        const double draw = bench_sheet::SecondsSince(drawStart);
        const double total = load + draw;
        // what the drawing holds: the stock, every part and the marker
        int references = 0;
        const host::db::Database& db = *host::db::workingDatabase();
        const auto* space = dynamic_cast<const host::db::BlockTableRecord*>(db.peek(db.modelSpaceId()));
        for (host::db::ObjectId id : space->entityIds()) {
            const auto* ref = dynamic_cast<const host::db::BlockReference*>(db.peek(id));
            if (ref && !ref->isErased()) ++references;
        }
        std::printf("%d drawings (%d part types, %d block references drawn): load %.3f s, drawing of the sheet "
                    "%.3f s, together %.3f s (%.2f ms a drawing)%s\n",
                    drawings, static_cast<int>(state.PartTypeCount), references, load, draw, total,
                    1000.0 * total / drawings, total < 2.0 ? "" : "  ABOVE 2 s");
    }
    fs::current_path(source);
    fs::remove_all(folder);
    return 0;
}
