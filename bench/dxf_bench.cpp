// Speed of the DXF reader and writer on a generated drawing of 100,000 lines, 20,000 arcs and 5,000 polylines
// with extended data. Prints MB of DXF per second (bytes_per_second) and entities per second (items_per_second)
// for writing and reading, through files as a save and an open do it. The target is 50 MB/s or better for both.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "host/db/database.h"
#include "host/dxf/dxf_file.h"

namespace {

using namespace host;

constexpr int kLines = 100000;
constexpr int kArcs = 20000;
constexpr int kPolylines = 5000;
constexpr int kVerticesPerPolyline = 12;
constexpr int kEntities = kLines + kArcs + kPolylines;

std::unique_ptr<db::Database> generate() {
    auto d = std::make_unique<db::Database>();
    db::Database* previous = db::workingDatabase();
    db::setWorkingDatabase(d.get());
    {
        db::ObjectPtr<db::SymbolTable> apps(d->tableId(db::TableKind::RegApp), db::OpenMode::Write);
        apps->add(std::make_unique<db::RegAppTableRecord>("Kstr"));
        db::ObjectPtr<db::SymbolTable> layers(d->tableId(db::TableKind::Layer), db::OpenMode::Write);
        layers->add(std::make_unique<db::LayerTableRecord>("CUT"));
    }
    db::ObjectPtr<db::BlockTableRecord> model(d->modelSpaceId(), db::OpenMode::Write);
    // Coordinates with full-length fractions, as real drawings have after a few transforms.
    auto coord = [](int i, int k) { return i * 0.7310585786300049 + k * 13.14159265358979; };
    for (int i = 0; i < kLines; ++i)
        model->appendEntity(std::make_unique<db::Line>(ge::Point3d(coord(i, 0), coord(i, 1)), ge::Point3d(coord(i, 2), coord(i, 3))));
    for (int i = 0; i < kArcs; ++i)
        model->appendEntity(std::make_unique<db::Arc>(ge::Point3d(coord(i, 4), coord(i, 5)), 1.0 + i * 0.001, 0.1 + i * 1e-5, 3.0));
    for (int i = 0; i < kPolylines; ++i) {
        auto p = std::make_unique<db::LwPolyline>();
        for (int v = 0; v < kVerticesPerPolyline; ++v)
            p->addVertexAt(unsigned(v), {coord(i, v), coord(v, i)}, v % 3 == 0 ? 0.41421356237309503 : 0.0);
        p->setClosed(true);
        p->setLayer("CUT");
        db::ObjectId id;
        model->appendEntity(std::move(p), &id);
        db::ResBufList x{{1001, "Kstr"}, {1000, "Kstr_0"}, {1071, i}, {1040, coord(i, 7)},
                         {1010, ge::Point3d(coord(i, 8), coord(i, 9), 0)}, {1005, "1A2B"}};
        model.close();
        db::ObjectPtr<db::LwPolyline> w(id, db::OpenMode::Write);
        w->setXData(x);
        w.close();
        model.open(d->modelSpaceId(), db::OpenMode::Write);
    }
    model.close();
    db::setWorkingDatabase(previous);
    return d;
}

const db::Database& drawing() {
    static const std::unique_ptr<db::Database> d = generate();
    return *d;
}

const std::filesystem::path& benchFile() {
    static const std::filesystem::path p = std::filesystem::temp_directory_path() / "kestrion-dxf-bench.dxf";
    return p;
}

void BM_WriteDxfFile(benchmark::State& state) {
    const db::Database& d = drawing();
    std::string error;
    for (auto _ : state) {
        if (!dxf::writeDxfFile(d, benchFile(), &error)) state.SkipWithError(error.c_str());
    }
    const auto bytes = std::filesystem::file_size(benchFile());
    state.SetBytesProcessed(std::int64_t(bytes) * state.iterations());
    state.SetItemsProcessed(std::int64_t(kEntities) * state.iterations());
    state.counters["file_MB"] = double(bytes) / 1e6;
}

void BM_ReadDxfFile(benchmark::State& state) {
    std::string error;
    if (!std::filesystem::exists(benchFile()) && !dxf::writeDxfFile(drawing(), benchFile(), &error))
        state.SkipWithError(error.c_str());
    for (auto _ : state) {
        dxf::ReadResult r = dxf::readDxfFile(benchFile());
        if (!r) state.SkipWithError(r.error.c_str());
        benchmark::DoNotOptimize(r.database);
    }
    const auto bytes = std::filesystem::file_size(benchFile());
    state.SetBytesProcessed(std::int64_t(bytes) * state.iterations());
    state.SetItemsProcessed(std::int64_t(kEntities) * state.iterations());
}

void BM_WriteDxfText(benchmark::State& state) {
    const db::Database& d = drawing();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string text = dxf::writeDxfText(d);
        bytes = text.size();
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(std::int64_t(bytes) * state.iterations());
    state.SetItemsProcessed(std::int64_t(kEntities) * state.iterations());
}

void BM_ReadDxfText(benchmark::State& state) {
    const std::string text = dxf::writeDxfText(drawing());
    for (auto _ : state) {
        dxf::ReadResult r = dxf::readDxfText(text, "bench.dxf");
        if (!r) state.SkipWithError(r.error.c_str());
        benchmark::DoNotOptimize(r.database);
    }
    state.SetBytesProcessed(std::int64_t(text.size()) * state.iterations());
    state.SetItemsProcessed(std::int64_t(kEntities) * state.iterations());
}

BENCHMARK(BM_WriteDxfFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadDxfFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_WriteDxfText)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadDxfText)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
