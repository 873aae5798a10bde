// The registration of each family of host commands (inside host/ed/commands only); registerHostCommands calls
// them all.
#pragma once

namespace host::ed::commands {

void registerEditCommands();       // ERASE, MOVE, ROTATE, BREAK, UNDO, REDO, DELCONSTRAINT
void registerBlockCommands();      // EXPLODE, -INSERT, -BLOCK, -PURGE
void registerPeditCommand();       // PEDIT
void registerDrawCommands();       // POINT, RECTANGLE, RECTANG, -BOUNDARY
void registerViewCommands();       // ZOOM, REGEN, REGENALL
void registerClipboardCommands();  // CUTCLIP, COPYCLIP, PASTECLIP
void registerGroupCommand();       // -GROUP
void registerSessionCommands();    // MENULOAD, MENUUNLOAD, WSCURRENT, MODEMACRO

}  // namespace host::ed::commands
