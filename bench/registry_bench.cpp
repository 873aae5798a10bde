// Speed of the registry file's reader on a key of 100,000 values and a key of 20,000 sub-keys, as a store of many
// machines' settings or an imported export can hold. Prints values per second (items_per_second); the whole file
// should read in well under a second.
#include <benchmark/benchmark.h>

#include <string>

#include "host/reg/registry_format.h"

namespace {

constexpr int kValues = 100000;
constexpr int kSubKeys = 20000;

std::string generate() {
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\Big]\r\n";
    for (int i = 0; i < kValues; ++i) {
        text += "\"Value" + std::to_string(i) + "\"=\"" + std::to_string(i * 7) + "\"\r\n";
    }
    for (int i = 0; i < kSubKeys; ++i) {
        text += "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\Wide\\Key" + std::to_string(i) + "]\r\n\"x\"=\"1\"\r\n";
    }
    return text;
}

void ReadManyValues(benchmark::State& state) {
    const std::string text = generate();
    for (auto _ : state) {
        std::string error;
        auto parsed = host::reg::parseRegistryFile(text, "bench.reg", &error);
        if (!parsed) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(parsed);
    }
    state.SetItemsProcessed(state.iterations() * (kValues + kSubKeys));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(ReadManyValues)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
