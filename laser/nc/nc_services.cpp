// The NC services: the postprocessor runtime's loader, and the NC program writer and the simulation, which until
// they are in place each say in one line that they are not there yet.
#include "laser/nc/nc_services.h"

#include "cadlib/messages.h"
#include "laser/post/postprocessor_runtime.h"
#include "laser/settings/laser_settings.h"

namespace {

const TwoLanguageText kNotBuilt{"\n\rNC programs and the cut simulation are not available in this version.",
                                "\n\rNC-программы и имитация резки в этой версии недоступны."};

}  // namespace

int CreateNcProgram() {
    PrintLocalized(kNotBuilt);
    return -1;
}

int SimulateCutPath(int /*pathGroup*/) {
    PrintLocalized(kNotBuilt);
    return -1;
}

int LoadPostprocessorRuntime() {
    const CLaserSettings& settings = LaserSettings();
    return LoadSelectedPostprocessor(settings.DirPostprocessor, settings.Postprocessor, PostRuntime());
}
