// The NC services until the NC program writer, the simulation and the postprocessor runtime are in place: each
// says in one line that it is not there yet.
#include "laser/nc/nc_services.h"

#include "cadlib/messages.h"

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
    return -1;
}

int ReadPostprocessorFile(CDialogPostProcessor& /*editor*/, const std::filesystem::path& /*path*/) {
    return -1;
}

int WritePostprocessorFile(CDialogPostProcessor& /*editor*/, const std::filesystem::path& /*path*/) {
    return 0;
}
