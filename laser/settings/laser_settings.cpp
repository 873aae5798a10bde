// The module's settings object: its life from module load to unload.
#include "laser/settings/laser_settings.h"

#include "laser/job/drawing_slot.h"

namespace {

// Made at first use, destroyed when the module is unloaded.
std::unique_ptr<CLaserSettings> g_settings;

}  // namespace

CLaserSettings::CLaserSettings() { ReadRegistrySettings(); }

CLaserSettings::CLaserSettings(DefaultsOnly) {}

CLaserSettings::~CLaserSettings() {
    // Every slot owns its job and the job its contour table: freeing the slots frees them all. Entries beyond
    // the count (there should be none) are released as well.
    while (DrawingSlotCount > 0 && FreeDrawingSlot(*this, DrawingSlotCount - 1) == 0) {
    }
    for (auto& slot : DrawingSlots) slot.reset();
    DrawingSlotCount = 0;
}

CLaserSettings& LaserSettings() {
    if (!g_settings) g_settings = std::make_unique<CLaserSettings>();
    return *g_settings;
}

void DestroyLaserSettings() { g_settings.reset(); }
