// The nesting module's entry point: the host's application messages, handed to the module's state.
#include "host/app/module.h"
#include "nesting/frame/nesting_state.h"

KESTRION_MODULE_ENTRY(int message, void* /*packet*/, host::app::Module* /*module*/) {
    // The state object is built when the module is loaded and destroyed when it is unloaded; the settings are
    // read once the host has initialised the module.
    if (message == host::app::kInitAppMsg) {
        NestingState().ReadNestingSettings();
    }
    return host::app::kRetOK;
}
