// The host's own editor commands (ERASE, EXPLODE, PEDIT, ZOOM, ...) that modules and users run by name.
#pragma once

namespace host::ed {

// Adds every host command to the command stack under the group "HOST" (global and local names the same).
// Called once at start-up by the editor; calling it again replaces the group's commands.
void registerHostCommands();

}  // namespace host::ed
