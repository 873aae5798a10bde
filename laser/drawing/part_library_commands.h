// The commands that bring template drawings of the installation into the current drawing: a whole part at 0,0,
// or a part item (a groove, a hole) dragged into place and turned by the user.
#pragma once

// InsertPartLib: a template of DirInstall/Templates chosen in a file dialog, inserted at 0,0 at scale 1 and
// exploded, then the whole drawing shown.
void CommandInsertPartLib();
// InsertItemLib: a template of DirInstall/Templates/Items inserted, dragged to its place and turned, then
// exploded; a cancelled drag removes it again.
void CommandInsertItemLib();
