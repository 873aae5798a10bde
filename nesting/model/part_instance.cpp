// Making the sheets and part copies of a job's types.
#include "nesting/model/part_instance.h"

#include <algorithm>
#include <cstddef>

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

}  // namespace

std::vector<PartInstance> MakeTypeInstances(std::vector<PartType>& types, std::int32_t typeCount) {
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
