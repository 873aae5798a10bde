// The NC services: the postprocessor runtime's loader, and the simulation, which until it is in place says in one
// line that it is not there yet. The NC program writer, CreateNcProgram, is in nc_program_creation.cpp.
#include "laser/nc/nc_services.h"

#include "cadlib/messages.h"
#include "laser/post/postprocessor_runtime.h"
#include "laser/settings/laser_settings.h"

namespace {

const TwoLanguageText kNotBuilt{"\n\rThe cut simulation is not available in this version.",
                                "\n\rИмитация резки в этой версии недоступна."};

}  // namespace

int SimulateCutPath(int /*pathGroup*/) {
    PrintLocalized(kNotBuilt);
    return -1;
}

int LoadPostprocessorRuntime() {
    const CLaserSettings& settings = LaserSettings();
    return LoadSelectedPostprocessor(settings.DirPostprocessor, settings.Postprocessor, PostRuntime());
}
