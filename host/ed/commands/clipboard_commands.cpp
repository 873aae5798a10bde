// CUTCLIP, COPYCLIP and PASTECLIP: entities to the host's clipboard and back as new entities.
#include "host/ed/command.h"
#include "host/ed/commands/clipboard.h"
#include "host/ed/commands/command_bodies.h"
#include "host/ed/commands/command_support.h"
#include "host/ed/commands/entity_edit.h"
#include "host/ed/prompts.h"
#include "host/ed/transcript.h"

namespace host::ed::commands {

namespace {

// Copies the selection to the clipboard; with `cut` the entities copied then leave the drawing. Entities the
// host keeps as read cannot be moved, so they stay where they are and are told.
void toClipboard(bool cut) {
    const auto ids = selectObjects();
    if (!ids) return;
    const std::vector<db::ObjectId> copied = clipboard().copyFrom(*ids);
    if (copied.empty()) {
        fail("Nothing was copied to the clipboard.");
        return;
    }
    if (copied.size() < ids->size())
        print("\n" + counted(ids->size() - copied.size(), "object", "objects") + " cannot be moved and " +
              (ids->size() - copied.size() == 1 ? "stays" : "stay") + " where it is.");
    if (cut) eraseEntities(copied);
}

// PASTECLIP: the clipboard's lower-left corner lands on the insertion point; every paste makes new entities.
void pasteCommand() {
    db::Database* db = drawing();
    if (!db) return;
    if (clipboard().empty()) {
        fail("The clipboard is empty.");
        return;
    }
    ge::Point3d at;
    if (!answered(getPoint(nullptr, "\nSpecify insertion point: ", at))) return;
    const db::Status s = clipboard().pasteInto(*db, at);
    if (s != db::Status::Ok) fail(std::string("The clipboard could not be pasted: ") + db::statusText(s) + ".");
}

}  // namespace

void registerClipboardCommands() {
    addHostCommand("CUTCLIP", 0, [] { toClipboard(true); });
    addHostCommand("COPYCLIP", 0, [] { toClipboard(false); });
    addHostCommand("PASTECLIP", 0, pasteCommand);
}

}  // namespace host::ed::commands
