// Registers the host's own editor commands on the command stack.
#include "host/ed/commands/host_commands.h"

namespace host::ed {

void registerHostCommands() {}

}  // namespace host::ed
