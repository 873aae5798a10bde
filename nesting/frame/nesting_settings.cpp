// The nesting module's own settings in the product's registry key: read before every job, and the material of
// a job written back for the cutting-path module.
#include <string>
#include <utility>

#include "cadlib/messages.h"
#include "host/reg/machine_registry.h"
#include "host/sys/folders.h"
#include "host/sys/number_text.h"
#include "nesting/engine/registry_values.h"
#include "nesting/frame/nesting_state.h"

namespace {

// Highest tie-break rule of the pass comparison.
constexpr std::int32_t kMaxOptimizationOption = 3;
// The stock origin's coordinates keep to the range of the module's settings.
constexpr double kMaxStockOrigin = 1.0e6;

// The folder without trailing separators (a root stays as it is).
std::string WithoutTrailingSeparator(std::string folder) {
    while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/')) {
        folder.pop_back();
    }
    return folder;
}

}  // namespace

int CNestingState::ReadNestingSettings() {
    const host::reg::RegistryKey key = host::reg::productKey();

    // Inches only when the unit says so ("inc", as the cutting-path module writes it); any other text is read as
    // millimetres, as that module reads it (and tells): a damaged value never turns every length into inches.
    const std::optional<std::string> unit = ReadRegistryText(key, "Unit");
    Unit = (unit && *unit == "inc") ? kUnitInches : kUnitMillimetres;
    SetStepsForUnit();

    TypeLineStock = ReadRegistryText(key, "TypeLineStock").value_or("PHANTOM");
    TypeLinePart = ReadRegistryText(key, "TypeLinePart").value_or("CONTINUOUS");
    TypeLineMove = ReadRegistryText(key, "TypeLineMove").value_or("HIDDEN");
    const std::optional<std::string> install = ReadRegistryText(key, "DirInstall");
    DirInstall = WithoutTrailingSeparator(install ? *install : host::sys::installFolder().string());

    // Missing values leave the texts and the language as they were.
    if (std::optional<std::string> mode = ReadRegistryText(key, "PDMODE", kShortOptionBufferChars)) {
        PdModeText = *mode;
    }
    if (std::optional<std::string> size = ReadRegistryText(key, "PDSIZE", kShortOptionBufferChars)) {
        PdSizeText = *size;
    }
    if (std::optional<std::string> language = ReadRegistryText(key, "LangMenu", kShortOptionBufferChars)) {
        SetLibraryLanguage(*language == "EN" ? Language::English : Language::Russian);
    }

    const std::optional<std::string> option = ReadRegistryText(key, "NestingOptimizationOption");
    const std::int32_t rule = option ? RegistryInteger("NestingOptimizationOption", *option, 0) : 0;
    NestingOptimizationOption = (rule >= 0 && rule <= kMaxOptimizationOption) ? rule : 0;

    // A coordinate of the stock origin lies on either side of the origin, within the settings' range.
    for (auto [name, coordinate] : {std::pair{"StockPointOriginX", &StockPointOrigin.x},
                                    std::pair{"StockPointOriginY", &StockPointOrigin.y},
                                    std::pair{"StockPointOriginZ", &StockPointOrigin.z}}) {
        const std::optional<std::string> text = ReadRegistryText(key, name);
        *coordinate = text ? RegistryReal(name, *text, -kMaxStockOrigin, kMaxStockOrigin, 0.0) : 0.0;
    }
    return 0;
}

int CNestingState::SaveLastMaterial() {
    host::reg::RegistryKey key = host::reg::productKey();
    if (!key.exists()) {
        return 0;  // the product is not installed: nothing to keep the material for
    }
    host::reg::Registry::Batch batch(host::reg::machineRegistry());
    bool written = key.setString("LastNestingMaterial", MaterialName) == host::reg::Status::Ok;
    written = key.setString("LastNestingMaterial_Num", MaterialNumber) == host::reg::Status::Ok && written;
    written = key.setString("LastNestingMaterial_Thin", host::sys::formatC("%f", MaterialThickness)) ==
                  host::reg::Status::Ok &&
              written;
    written = key.setString("LastNestingMaterial_Density", host::sys::formatC("%e", MaterialDensity)) ==
                  host::reg::Status::Ok &&
              written;
    written = batch.commit() == host::reg::Status::Ok && written;
    return written ? 0 : -1;
}
