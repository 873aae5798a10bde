// The nesting module's entry point: the host's application messages, handed to the module's state and its
// command group.
#include "host/app/module.h"
#include "nesting/commands/command_table.h"
#include "nesting/frame/nesting_state.h"

KESTRION_MODULE_ENTRY(int message, void* /*packet*/, host::app::Module* /*module*/) {
    // The state object is built when the module is loaded and destroyed when it is unloaded; the commands are
    // registered and the settings read once the host has initialised the module.
    if (message == host::app::kInitAppMsg) {
        RegisterNestingCommands();
        NestingState().ReadNestingSettings();
    } else if (message == host::app::kUnloadAppMsg) {
        RemoveNestingCommands();
    }
    return host::app::kRetOK;
}
