// The engine's limits: the job's counts, the parts on a sheet and the material texts.
#include <cstddef>

#include "nesting/model/model_messages.h"
#include "nesting/model/nesting_engine.h"
#include "nesting/model/text_limits.h"

void CNestingEngine::SetMaterialName(const std::string& name) {
    MaterialName = CutToCharacters(name, kMaterialNameMaxChars);
}

void CNestingEngine::SetMaterialNumber(const std::string& number) {
    MaterialNumber = CutToCharacters(number, kMaterialNumberMaxChars);
}

bool CNestingEngine::CheckJobLimits() const {
    if (PartInstanceCount > kMaxPartInstances) {
        PrintLocalized(kTooManyPartInstances, static_cast<int>(PartInstanceCount), kMaxPartInstances);
        return false;
    }
    if (ClampUse == 1 && ClampQuantity > kMaxClamps) {
        PrintLocalized(kTooManyClamps, static_cast<int>(ClampQuantity), kMaxClamps);
        return false;
    }
    return true;
}

bool CNestingEngine::AppendPlacedPart(std::int32_t instance) {
    if (PlacedPartCount < 0 || PlacedPartCount >= static_cast<std::int32_t>(PlacedParts.size())) {
        PrintLocalized(kSheetFull, static_cast<int>(PlacedParts.size()));
        return false;
    }
    PlacedParts[static_cast<std::size_t>(PlacedPartCount)] = instance;
    ++PlacedPartCount;
    return true;
}
