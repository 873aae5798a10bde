// The nesting module's entry point: the host's application messages, handed to the module's application.
#include "host/app/module.h"

KESTRION_MODULE_ENTRY(int /*message*/, void* /*packet*/, host::app::Module* /*module*/) {
    return host::app::kRetOK;
}
