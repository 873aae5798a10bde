// Part library insertion. The templates are drawings of the installation; the host inserts them as blocks, which
// are exploded so that the part is plain geometry contour creation can read.
//
// FILEDIA is 0 while the template is inserted (so that the host's insert takes the file name from the command
// line) and gets its value back on every way out once it was changed.
#include "laser/drawing/part_library_commands.h"

#include <optional>
#include <string>

#include "cadlib/block_drag_jig.h"
#include "cadlib/host_variables.h"
#include "cadlib/messages.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/ed/command.h"
#include "host/ui/constants.h"
#include "host/ui/file_dialog.h"
#include "host/ui/message_box.h"
#include "laser/drawing/drawing_messages.h"
#include "laser/drawing/installed_files.h"
#include "laser/settings/laser_settings.h"

namespace {

using host::db::ResBuf;
using host::db::RTNORM;
using host::db::RTSTR;

// The template folders under the installation folder, with a trailing separator.
std::string TemplateFolder(bool items) { return InstalledFolder(items ? "Templates/Items" : "Templates"); }

// The file dialog in `folder`; the path chosen, nullopt when it was not OK.
std::optional<std::string> ChooseTemplate(const std::string& folder, const char* filter) {
    host::ui::FileDialogOptions options;
    options.kind = host::ui::FileDialogKind::Open;
    options.defaultExtension = "*.dxf";
    options.initialName = folder;
    options.filter = filter;
    options.flags = host::ui::OFN_FILEMUSTEXIST | host::ui::OFN_NOCHANGEDIR | host::ui::OFN_ENABLESIZING;
    return host::ui::chooseFile(std::move(options));
}

// FILEDIA set to 0 for the life of the guard, then given back.
class FileDialogsOff {
public:
    FileDialogsOff() {
        held_ = GetSysVarInt("FILEDIA", saved_) == RTNORM;
        SetSysVarInt("FILEDIA", 0);
    }
    ~FileDialogsOff() {
        if (held_) SetSysVarInt("FILEDIA", static_cast<short>(saved_));
    }
    FileDialogsOff(const FileDialogsOff&) = delete;
    FileDialogsOff& operator=(const FileDialogsOff&) = delete;

private:
    int saved_ = 1;
    bool held_ = false;
};

// The dialog, the check of the name, FILEDIA off (held by `dialogsOff` until the command ends) and the insert at
// 0,0 at scale 1. Answers true when the host inserted the template (the new block reference is the drawing's last
// entity).
bool InsertTemplate(bool items, const char* filter, std::optional<FileDialogsOff>& dialogsOff) {
    const std::optional<std::string> path = ChooseTemplate(TemplateFolder(items), filter);
    if (!path) return false;
    if (path->empty()) {
        host::ui::messageBox(FormatLocalized(kTemplateFileNotFoundText, path->c_str()), "",
                             host::ui::MB_OK | host::ui::MB_ICONERROR);
        return false;
    }
    dialogsOff.emplace();
    return InsertDrawingAtOrigin(*path);
}

void ExplodeLast() {
    host::ed::command({ResBuf(RTSTR, "_.explode"), ResBuf(RTSTR, "_L"), ResBuf(RTSTR, "")});
}

}  // namespace

bool InsertDrawingAtOrigin(const std::string& path) {
    return host::ed::command({ResBuf(RTSTR, "_.-insert"), ResBuf(RTSTR, path), ResBuf(RTSTR, "0,0"),
                              ResBuf(RTSTR, "1"), ResBuf(RTSTR, "1"), ResBuf(RTSTR, "0")}) == RTNORM;
}

bool DragAndTurnReference(host::db::ObjectId reference) {
    host::db::ObjectPtr<host::db::BlockReference> block(reference, host::db::OpenMode::Write);
    if (!block) return false;
    bool placed = false;
    {
        CBlockDragJig jig(block.get());
        placed = jig.DragPosition() != -1 && jig.DragRotation() != -1;
    }
    if (!placed) block->erase();
    return placed;
}

void CommandInsertPartLib() {
    PrintLocalized(kLoadTemplatePartText);
    std::optional<FileDialogsOff> dialogsOff;
    if (!InsertTemplate(false, kTemplateFilter.english, dialogsOff)) return;
    ExplodeLast();
    host::ed::command({ResBuf(RTSTR, "_.ZOOM"), ResBuf(RTSTR, "_E")});
    SetSysVarInt("CONSTRAINTBARMODE", 0);
}

void CommandInsertItemLib() {
    PrintLocalized(kLoadTemplateItemText);
    std::optional<FileDialogsOff> dialogsOff;
    if (!InsertTemplate(true, Localized(kTemplateFilter), dialogsOff)) return;
    host::db::Database* db = host::db::workingDatabase();
    if (db == nullptr) return;
    if (!DragAndTurnReference(db->lastEntity())) return;
    ExplodeLast();
    SetSysVarInt("CONSTRAINTBARMODE", 0);
}
