// The best pass so far of the sheet being optimised: where every part lay and how well the pass scored.
#pragma once

#include <cstdint>
#include <vector>

#include "host/ge/point.h"
#include "nesting/model/model_limits.h"

struct BestLayoutEntry {
    std::int32_t Instance = 0;
    double X = 0.0;
    double Y = 0.0;
    double Angle = 0.0;
    std::uint8_t ContourSet = 0;
};

struct BestLayout {
    // Sheet the layout belongs to, -1 = none.
    std::int32_t BestLayoutStock = -1;
    // At most kBestLayoutCapacity entries (see Append).
    std::vector<BestLayoutEntry> Entries;
    double XE = 0.0;
    double YE = 0.0;
    double PlacedArea = 0.0;
    double SS = 0.0;
    double SSV = 0.0;
    double SSG = 0.0;
    double KIsp = 0.0;
    double SKIsp = 0.0;
    // Max corner of that pass's PlacedExtent.
    host::ge::Point2d ExtentMax;

    std::int32_t Count() const { return static_cast<std::int32_t>(Entries.size()); }
    // Forgets every entry and the sheet; the scores are kept until the next save overwrites them.
    void Clear();
    // Adds one entry. False, with the limit's message on the command line, when the layout already holds
    // kBestLayoutCapacity entries; nothing is added then.
    bool Append(const BestLayoutEntry& entry);
};
