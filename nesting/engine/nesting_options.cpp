// The advanced nesting options and the clamp settings, read from the product's registry key before every job.
#include <algorithm>

#include "host/reg/machine_registry.h"
#include "nesting/engine/registry_values.h"
#include "nesting/model/nesting_engine.h"

namespace {

// The clamp lengths keep to the range of the module's settings.
constexpr double kMaxClampLength = 1.0e6;

// A flag: 1 when the integer of the value is not 0; `missing` when there is no value, or one that is not a whole
// number (told).
std::uint8_t ReadFlag(const host::reg::RegistryKey& key, std::string_view name, std::uint8_t missing) {
    const std::optional<std::string> text = ReadRegistryText(key, name);
    if (!text) {
        return missing;
    }
    return RegistryInteger(name, *text, missing) != 0 ? 1 : 0;
}

// The integer of the value, `missing` when there is none or it is not a whole number (told).
std::int32_t ReadInteger(const host::reg::RegistryKey& key, std::string_view name, std::int32_t missing) {
    const std::optional<std::string> text = ReadRegistryText(key, name);
    return text ? RegistryInteger(name, *text, missing) : missing;
}

// The length of the value, 0 when there is none or it is not one number from 0 to kMaxClampLength (told).
double ReadReal(const host::reg::RegistryKey& key, std::string_view name) {
    const std::optional<std::string> text = ReadRegistryText(key, name);
    return text ? RegistryReal(name, *text, 0.0, kMaxClampLength, 0.0) : 0.0;
}

}  // namespace

int CNestingEngine::LoadNestingOptions() {
    const host::reg::RegistryKey key = host::reg::productKey();

    UseCluster = ReadFlag(key, "Nesting_Adv_UseCluster", 1);
    UseHole = ReadFlag(key, "Nesting_Adv_UseHole", 1);
    Pressing = ReadFlag(key, "Nesting_Adv_Pressing", 0);

    const std::int32_t quality = ReadInteger(key, "Nesing_Quality", kMinQualityLevel);
    QualityLevel = (quality >= kMinQualityLevel && quality <= kMaxQualityLevel) ? quality : kMinQualityLevel;

    // A sheet has room for kMaxClamps clamps: a quantity outside 0 to kMaxClamps is taken as the nearest bound.
    ClampQuantity = std::clamp(ReadInteger(key, "Nesing_ClampQuantity", 0), 0, kMaxClamps);
    ClampUse = ReadInteger(key, "Nesing_ClampUse", 0);
    if (ClampUse != 1) {
        ClampUse = 0;
        ClampQuantity = 0;
    }
    const std::int32_t centred = ReadInteger(key, "Nesing_ClampCenterList", 0);
    ClampCenterList = (centred == 0 || centred == 1) ? centred : 0;

    Clamp1PozX = ReadReal(key, "Nesing_Clamp1PozX");
    Clamp1PozMinX = ReadReal(key, "Nesing_Clamp1PozMinX");
    Clamp1PozX = std::max(Clamp1PozX, Clamp1PozMinX);
    ClampingDistance = ReadReal(key, "Nesing_ClampingDistance");
    ClampWidth = ReadReal(key, "Nesing_ClampWidth");
    ClampHeight = ReadReal(key, "Nesing_ClampHeight");

    // The later value decides: both name the one pair option of the engine.
    UseCluster = ReadFlag(key, "Nesting_Rect_UsePair", 1);
    return 0;
}
