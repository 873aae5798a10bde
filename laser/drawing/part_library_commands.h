// The commands that bring template drawings of the installation into the current drawing: a whole part at 0,0,
// or a part item (a groove, a hole) dragged into place and turned by the user.
#pragma once

#include <string>

#include "host/db/ids.h"

// InsertPartLib: a template of DirInstall/Templates chosen in a file dialog, inserted at 0,0 at scale 1 and
// exploded, then the whole drawing shown.
void CommandInsertPartLib();
// InsertItemLib: a template of DirInstall/Templates/Items inserted, dragged to its place and turned, then
// exploded; a cancelled drag removes it again.
void CommandInsertItemLib();

// The steps the part list shares with the commands.
// The host's "-insert" of the drawing at 0,0 at scale 1 and rotation 0; true when the host inserted it (the new
// block reference is then the drawing's last entity).
bool InsertDrawingAtOrigin(const std::string& path);
// Lets the user drag the block reference to its place and turn it with a CBlockDragJig; true when it was placed,
// false when either drag was cancelled or the reference cannot be opened for write (a cancelled one is erased).
bool DragAndTurnReference(host::db::ObjectId reference);
