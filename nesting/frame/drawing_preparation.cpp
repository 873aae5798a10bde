// The drawing side of a job load: the product's line types, the CAM layer set, the point display and the
// storage of the entities a load copies.
#include <algorithm>
#include <array>
#include <filesystem>
#include <limits>
#include <string_view>

#include "cadlib/host_variables.h"
#include "cadlib/layers.h"
#include "nesting/engine/registry_values.h"
#include "nesting/frame/frame_messages.h"
#include "nesting/frame/nesting_state.h"

namespace {

// Layer of the offset contours shown while a job loads.
constexpr std::string_view kOffsetLayer = "NC_ContoursOffset";
constexpr int kOffsetLayerColour = 1;

struct CamLayer {
    std::string_view name;
    int colour;
    std::string_view linetype;
    bool off;
};

// The CAM layer set, in the order the layers are created.
constexpr std::array<CamLayer, 15> kCamLayers{{
    {"NC_Laser", 1, "Continuous", false},
    {"NC_Laser_Off", 1, "Continuous", true},
    {"NoCloseLine", 210, "PHANTOM", false},
    {"EngraveLine", 32, "Continuous", false},
    {"HeatTreatmentLine", 30, "Continuous", false},
    {"CommonLine", 40, "HIDDEN", false},
    {"InsideCutLine", 190, "HIDDEN", false},
    {"JumperLine", 132, "JumperLine", false},
    {"NoLeadIn", 92, "Continuous", false},
    {"MarkPoint", 6, "Continuous", false},
    {"Clamp", 12, "PHANTOM", false},
    {"MarkingText", 5, "Continuous", false},
    {"TrimLine", 140, "PHANTOM", false},
    {"HoleDrill", 5, "Continuous", false},
    {"Punch", 5, "Continuous", false},
}};

// The line types the CAM layer set uses, in the order they are loaded.
constexpr std::array<std::string_view, 6> kCamLinetypes{"PHANTOM", "PHANTOM", "Continuous",
                                                        "HIDDEN",  "HIDDEN",  "JumperLine"};

void CreateOffsetLayer() { CreateLayer(kOffsetLayer, kOffsetLayerColour, kFallbackLinetype, false); }

// A setting's number as the short integer a host variable holds.
short AsShort(std::int32_t value) {
    return static_cast<short>(std::clamp<std::int32_t>(value, std::numeric_limits<short>::min(),
                                                        std::numeric_limits<short>::max()));
}

}  // namespace

std::string CNestingState::LinetypeFilePath() const {
    const char* file = Unit == kUnitInches ? "Kestrion.lin" : "Kestrion_iso.lin";
    return (std::filesystem::path(DirInstall) / file).string();
}

int CNestingState::LoadNestingLinetypes() {
    const std::string file = LinetypeFilePath();
    for (const std::string* name : {&TypeLineMove, &TypeLineStock}) {
        if (!LoadLinetype(*name, file)) {
            PrintLocalized(kCannotLoadLinetype, name->c_str());
        }
    }
    CreateOffsetLayer();
    return 0;
}

int CNestingState::PrepareNestDrawing() {
    CreateOffsetLayer();
    const std::int32_t mode = LeadingInteger(PdModeText);
    SetSysVarInt("PDMODE", AsShort(mode <= 0 ? kDefaultPdMode : mode));
    SetSysVarInt("PDSIZE", AsShort(LeadingInteger(PdSizeText)));
    CopiedEntities.Reset(kCopiedEntityStart);
    SpecialEntities.Reset(kSpecialEntityStart);
    return 0;
}

int CNestingState::CreateCamLayers() {
    const std::string file = LinetypeFilePath();
    for (std::string_view name : kCamLinetypes) {
        if (!LoadLinetype(name, file)) {
            PrintLocalized(kCannotReadLinetype, std::string(name).c_str());
        }
    }
    for (const CamLayer& layer : kCamLayers) {
        CreateLayerWithColor(layer.name, host::db::Color::fromIndex(layer.colour), layer.linetype, layer.off);
    }
    SetCurrentLayer("0");
    return 0;
}
