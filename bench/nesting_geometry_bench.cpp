// Speed of the nesting engine's contour relation and contour offset on regular polygons of 4, 32, 256 and 2,048
// line elements. Prints relation tests per second (items_per_second) for a polygon lying inside a larger one, so
// that the element scan runs through every pair before the point tests decide: with the serial scan, with the
// parallel scan forced, and with the automatic choice the engine makes. Then offsets per second, outward and
// inward, of the same polygons.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "nesting/geometry/contour_box.h"
#include "nesting/geometry/contour_kernel.h"
#include "nesting/geometry/contour_offset.h"
#include "nesting/geometry/contour_relation.h"

namespace {

using host::ge::Point2d;

// A regular polygon of n line elements about the origin, counter-clockwise, its first vertex at `phase`.
Contour regularPolygon(int n, double radius, double phase) {
    Contour contour;
    contour.GeometryKind = kGeometryChain;
    for (int i = 0; i < n; ++i) {
        const double a0 = phase + 2 * std::numbers::pi * i / n;
        const double a1 = phase + 2 * std::numbers::pi * (i + 1) / n;
        ContourElement line;
        line.Type = kElementLine;
        line.Start = {radius * std::cos(a0), radius * std::sin(a0)};
        line.End = {radius * std::cos(a1), radius * std::sin(a1)};
        SetLineAngles(line);
        contour.Elements.push_back(line);
    }
    contour.Elements.back().End = contour.Elements.front().Start;
    ComputeContourBox(contour, contour.Box);
    return contour;
}

void relateInside(benchmark::State& state, ScanThreading threading) {
    const int n = static_cast<int>(state.range(0));
    const Contour inner = regularPolygon(n, 50.0, 0.01);
    const Contour outer = regularPolygon(n, 100.0, 0.02);
    for (auto _ : state) {
        benchmark::DoNotOptimize(RelateContours(inner, outer, threading));
    }
    state.SetItemsProcessed(state.iterations());
}

void offsetPolygon(benchmark::State& state, int mode) {
    const int n = static_cast<int>(state.range(0));
    const Contour polygon = regularPolygon(n, 100.0, 0.01);
    OffsetWorkspace workspace;
    std::vector<Contour> out;
    for (auto _ : state) {
        benchmark::DoNotOptimize(OffsetContour(workspace, polygon, mode, 2.0, out, 0));
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK_CAPTURE(relateInside, serial, ScanThreading::Serial)->Arg(4)->Arg(32)->Arg(256)->Arg(1024)->Arg(2048)->Arg(4096);
BENCHMARK_CAPTURE(relateInside, parallel, ScanThreading::Parallel)->Arg(4)->Arg(32)->Arg(256)->Arg(1024)->Arg(2048)->Arg(4096);
BENCHMARK_CAPTURE(relateInside, automatic, ScanThreading::Automatic)->Arg(4)->Arg(32)->Arg(256)->Arg(1024)->Arg(2048)->Arg(4096);
BENCHMARK_CAPTURE(offsetPolygon, outward, kOffsetOutward)->Arg(4)->Arg(32)->Arg(256)->Arg(1024)->Arg(2048)->Arg(4096);
BENCHMARK_CAPTURE(offsetPolygon, inward, kOffsetInward)->Arg(4)->Arg(32)->Arg(256)->Arg(1024)->Arg(2048)->Arg(4096);

BENCHMARK_MAIN();
