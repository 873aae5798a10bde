// Blocks per second of the NC program writer on the generated sheet of the path benchmark (10,000 parts by
// default): the sheet's contours and automatic path are made first (not timed), then the program is written
// through the shipped laser postprocessor: into a sink that only counts the blocks (the path walkers and the
// template interpreter alone; the best of KESTRION_NC_BENCH_PASSES passes, default 3), then into a file as
// NCCreate writes it (with the disk).
//
//   nc_program_bench [PARTS] [OUTPUT.nc] [POSTPROCESSOR.MXT]
//   (default: 10000, a file in the temporary folder, data/post/FANUC.MXT: run it from the repository root)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "bench/plate_sheet.h"
#include "host/ed/commands/host_commands.h"
#include "host/ed/documents.h"
#include "host/ed/transcript.h"
#include "host/reg/machine_registry.h"
#include "laser/contours/contour_creation.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"
#include "laser/nc/nc_program_creation.h"
#include "laser/path/automatic_cutting_order.h"
#include "laser/path/home_rapid.h"
#include "laser/post/postprocessor_file.h"
#include "laser/post/postprocessor_runtime.h"
#include "laser/settings/laser_settings.h"

namespace {

namespace fs = std::filesystem;

// Counts the blocks and their characters and keeps nothing.
class CountingSink : public NcBlockSink {
public:
    void WriteBlock(std::string_view line) override {
        ++blocks;
        characters += line.size() + 2;
    }
    long long blocks = 0;
    long long characters = 0;
};

using bench_sheet::SecondsSince;

long long CountLines(const fs::path& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return -1;
    long long lines = 0;
    char buffer[1 << 16];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) {
        for (std::size_t i = 0; i < n; ++i) lines += buffer[i] == '\n' ? 1 : 0;
    }
    std::fclose(f);
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    fs::remove(fs::temp_directory_path() / "nc_program_bench.reg");  // the run starts from the default settings
    const bench_sheet::Session session("nc_program_bench.reg");

    const int parts = argc > 1 ? std::atoi(argv[1]) : 10000;
    const fs::path output = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path() / "nc_program_bench.nc";

    host::ed::documents().closeAll();
    host::db::Database& db = host::ed::documents().newDocument()->database();
    CLaserSettings& settings = LaserSettings();
    OnLoadDrawing(settings);
    bench_sheet::DrawSheet(db, parts);
    auto start = std::chrono::steady_clock::now();
    CreateContours();
    SliceAuto();
    AddHomeRapid();
    const double road = SecondsSince(start);
    CuttingJob* job = CurrentJob(settings);
    if (job == nullptr) {
        std::fprintf(stderr, "no job was made\n");
        return 1;
    }

    PostprocessorSettings post;
    const fs::path postFile = argc > 3 ? fs::path(argv[3]) : fs::path("data/post/FANUC.MXT");
    PostprocessorRuntime runtime;
    SetCuttingModeTexts(runtime);
    if (ReadPostprocessorFile(post, postFile) != 0 ||
        PreparePostprocessorRuntime(post, postFile.filename().string(), runtime) != 0) {
        std::fprintf(stderr, "%s does not load (run from the repository root, or name the file)\n",
                     postFile.c_str());
        return 1;
    }
    NcOutputState state;
    state.Job = job;
    NcRun run{state, runtime, settings, job, nullptr};

    std::printf("%d parts, %d contours, %d path groups (contours and path made in %.3f s)\n", parts,
                job->contourCount, job->pathGroupCount, road);

    // The interpreter alone, the best of several passes (KESTRION_NC_BENCH_PASSES, default 3).
    const char* passesText = std::getenv("KESTRION_NC_BENCH_PASSES");
    const int passes = passesText != nullptr && std::atoi(passesText) > 0 ? std::atoi(passesText) : 3;
    double inMemory = 0.0;
    CountingSink counter;
    for (int pass = 0; pass < passes; ++pass) {
        counter = CountingSink{};
        state.Output = &counter;
        start = std::chrono::steady_clock::now();
        StartNcProgram(run);
        WriteNcProgramBody(run, true, job->pathGroupCount);
        const double seconds = SecondsSince(start);
        inMemory = pass == 0 ? seconds : std::min(inMemory, seconds);
    }
    state.Output = nullptr;
    std::printf("  %-28s %9.3f s  %lld blocks, %.1f MB, %.0f blocks/s\n", "interpreter (no output)", inMemory,
                counter.blocks, counter.characters / 1e6, counter.blocks / inMemory);

    std::string error;
    start = std::chrono::steady_clock::now();
    const bool written = WriteNcProgramFile(output, run, true, job->pathGroupCount, error);
    const double toFile = SecondsSince(start);
    if (!written) {
        std::fprintf(stderr, "%s not written: %s\n", output.c_str(), error.c_str());
        return 1;
    }
    const long long lines = CountLines(output);
    std::printf("  %-28s %9.3f s  %lld blocks, %.1f MB, %.0f blocks/s\n", "program file", toFile, lines,
                static_cast<double>(fs::file_size(output)) / 1e6, lines / toFile);
    if (argc <= 2) fs::remove(output);

    OnUnloadDrawing(settings);
    return 0;
}
