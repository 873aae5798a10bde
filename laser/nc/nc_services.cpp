// The NC services: the postprocessor runtime's loader. The NC program writer, CreateNcProgram, is in
// nc_program_creation.cpp, the simulation, SimulateCutPath, in cut_simulation.cpp.
#include "laser/nc/nc_services.h"

#include "laser/post/postprocessor_runtime.h"
#include "laser/settings/laser_settings.h"

int LoadPostprocessorRuntime() {
    const CLaserSettings& settings = LaserSettings();
    return LoadSelectedPostprocessor(settings.DirPostprocessor, settings.Postprocessor, PostRuntime());
}
