// Building the instances of a loaded job and releasing them.
#include "nesting/job/job_instances.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace {

PartPose TrialPoseOf(const PartType& type) {
    PartPose pose;
    pose.Holes = type.Holes[0];
    pose.Outers = type.Outers[0];
    if (type.Kind != kKindStock) {
        pose.Defects = type.Defects[0];
    }
    pose.HoleCount = static_cast<std::int32_t>(pose.Holes.size());
    pose.OuterCount = static_cast<std::int32_t>(pose.Outers.size());
    pose.DefectCount = static_cast<std::int32_t>(pose.Defects.size());
    return pose;
}

// The instances of the first `typeCount` types, plus the spare record that closes the array.
std::vector<PartInstance> MakeInstances(std::vector<PartType>& types, std::int32_t typeCount) {
    const std::size_t count = std::min(static_cast<std::size_t>(std::max(typeCount, 0)), types.size());
    std::size_t total = 0;
    for (std::size_t t = 0; t < count; ++t) {
        total += static_cast<std::size_t>(std::max(types[t].Quantity, 0));
    }
    std::vector<PartInstance> instances;
    instances.reserve(total + 1);
    for (std::size_t t = 0; t < count; ++t) {
        PartType& type = types[t];
        for (std::int32_t copy = 0; copy < type.Quantity; ++copy) {
            PartInstance& instance = instances.emplace_back();
            instance.Type = &type;
            instance.TrialPose = TrialPoseOf(type);
            instance.CommittedPose = PartPose{};
        }
    }
    instances.emplace_back();
    return instances;
}

}  // namespace

int BuildInstances(CNestingEngine& engine) {
    ReleaseJobInstances(engine);
    engine.StockInstances = MakeInstances(engine.StockTypes, engine.StockTypeCount);
    engine.PartInstances = MakeInstances(engine.PartTypes, engine.PartTypeCount);
    // A quantity below 0 would once have lowered the count below the records written; the count is what was made.
    engine.StockInstanceCount = static_cast<std::int32_t>(engine.StockInstances.size()) - 1;
    engine.PartInstanceCount = static_cast<std::int32_t>(engine.PartInstances.size()) - 1;
    return 0;
}

void ReleaseJobInstances(CNestingEngine& engine) {
    engine.StockInstances.clear();
    engine.StockInstances.shrink_to_fit();
    engine.PartInstances.clear();
    engine.PartInstances.shrink_to_fit();
    engine.StockInstanceCount = 0;
    engine.PartInstanceCount = 0;
    engine.CurrentStockInstance = nullptr;
    engine.CurrentStock = 0;
    engine.PlacedPartCount = 0;
    engine.LastPlacedInstance = -1;
    engine.OrderCount = 0;
    engine.OrderIndex.clear();
    engine.PartOrder.clear();
    engine.ShownSheet = 0;
    engine.UsedStockCount = 0;
    engine.PlacedTotal = 0;
    engine.Best.Clear();
}
