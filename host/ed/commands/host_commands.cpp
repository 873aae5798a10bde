// Registers the host's own editor commands on the command stack.
#include "host/ed/commands/host_commands.h"

#include "host/ed/command_stack.h"
#include "host/ed/commands/command_bodies.h"

namespace host::ed {

void registerHostCommands() {
    commandStack().removeGroup(kHostCommandGroup);
    commands::registerEditCommands();
    commands::registerBlockCommands();
    commands::registerPeditCommand();
    commands::registerDrawCommands();
    commands::registerViewCommands();
    commands::registerClipboardCommands();
    commands::registerGroupCommand();
    commands::registerSessionCommands();
}

}  // namespace host::ed
