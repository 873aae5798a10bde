// The quality table: search limits by quality level, from the attempt limit N and the variant group count of
// each row.
#include "nesting/model/nesting_engine.h"

namespace {

struct QualitySeed {
    std::int32_t attempts;       // N, column 0
    std::int32_t variantGroups;  // column 8
};

constexpr std::array<QualitySeed, kQualityLevelCount> kQualitySeeds{{
    {1500, 1}, {1600, 1}, {1800, 1}, {2000, 2}, {2500, 2},
    {3000, 3}, {3800, 3}, {4600, 3}, {5000, 4}, {5500, 5},
}};

// N times a factor, truncated toward zero.
std::int32_t Share(std::int32_t n, double factor) { return static_cast<std::int32_t>(n * factor); }

}  // namespace

std::array<QualityRow, kQualityLevelCount> CNestingEngine::BuildQualityTable() {
    std::array<QualityRow, kQualityLevelCount> table{};
    for (int level = 0; level < kQualityLevelCount; ++level) {
        const QualitySeed& seed = kQualitySeeds[static_cast<std::size_t>(level)];
        QualityRow& row = table[static_cast<std::size_t>(level)];
        const std::int32_t n = seed.attempts;
        row[0] = n;
        row[1] = Share(n, 0.75);
        row[2] = Share(n, 0.95);
        row[3] = Share(n, 0.5);
        row[4] = Share(n, 0.2);
        row[5] = row[4] / 2;
        row[6] = Share(n, 0.4);
        row[7] = Share(n, 1.2);
        row[8] = seed.variantGroups;
    }
    return table;
}
