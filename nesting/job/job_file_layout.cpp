// Look-ups in the value lists of the nesting job file.
#include "nesting/job/job_file_layout.h"

#include <cmath>
#include <cstddef>

int IndexInList(std::span<const std::string_view> list, std::string_view text) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i] == text) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::optional<double> RotationStepOfDelta(double deltaIndex) {
    if (!std::isfinite(deltaIndex)) {
        return std::nullopt;
    }
    const double index = std::trunc(deltaIndex);
    if (index < 0.0 || index >= static_cast<double>(kDeltaRotationSteps.size())) {
        return std::nullopt;
    }
    return kDeltaRotationSteps[static_cast<std::size_t>(index)];
}
