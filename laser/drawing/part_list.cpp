// The part list and its operations. The list is a plain value: its table never grows past kMaxPartListEntries,
// and the names and paths are strings of any length.
#include "laser/drawing/part_list.h"

#include <cmath>
#include <numbers>
#include <optional>
#include <string>

#include "cadlib/angles.h"
#include "cadlib/messages.h"
#include "cadlib/number_text.h"
#include "host/db/database.h"
#include "host/dxf/dxf_file.h"
#include "host/sys/paths.h"
#include "host/ui/constants.h"
#include "host/ui/file_dialog.h"
#include "host/ui/message_box.h"
#include "host/ui/nav_dialog.h"
#include "laser/drawing/drawing_messages.h"
#include "laser/drawing/part_library_commands.h"

namespace {

using host::ge::Point3d;

// The point `distance` from `base` in the direction `angle`.
Point3d PolarPoint(const Point3d& base, double angle, double distance) {
    return {base.x + distance * std::cos(angle), base.y + distance * std::sin(angle), base.z};
}

}  // namespace

int AddPart(PartList& list, const PartListEntry& entry) {
    if (list.entries.size() >= kMaxPartListEntries) {
        host::ui::messageBox(Localized(kPartListFullText), "", host::ui::MB_OK | host::ui::MB_ICONERROR);
        return -1;
    }
    // The drawing is read before the entry is stored, so that a part whose drawing cannot be read never enters
    // the list.
    const host::dxf::ReadResult drawing = host::dxf::readDxfFile(host::sys::resolveDrawingPath(entry.drawingPath));
    if (!drawing) {
        host::ui::messageBox(FormatLocalized(kPartDrawingUnreadableText, drawing.error.c_str()), "",
                             host::ui::MB_OK | host::ui::MB_ICONERROR);
        return -1;
    }
    list.entries.push_back(entry);
    return 0;
}

bool ChoosePartFile(const std::string& path) {
    std::string folder;
    GetPathDirectory(path, folder);
    host::ui::FileDialogOptions options;
    options.kind = host::ui::FileDialogKind::Open;
    options.defaultExtension = "*.dxf";
    options.filter = Localized(kPartFileFilter);
    options.initialFolder = host::sys::toNativePath(folder).string();
    options.flags = host::ui::OFN_FILEMUSTEXIST | host::ui::OFN_HIDEREADONLY;
    return host::ui::chooseFile(std::move(options)).has_value();
}

int InsertPartFromNavigation() {
    host::ui::NavDialogOptions options;
    options.caption = Localized(kInsertPartCaption);
    options.filters = {{Localized(kPartDxfFilesFilter), "*.dxf"}, {Localized(kPartAllFilesFilter), "*.*"}};
    options.multiSelect = true;
    options.previewPresent = true;
    options.previewVisible = true;
    const std::optional<std::vector<host::ui::NavItem>> chosen = host::ui::chooseDrawings(std::move(options));
    if (!chosen) return 1;
    const std::string* path = nullptr;
    for (const host::ui::NavItem& item : *chosen) {
        if (!item.text.empty()) {
            path = &item.text;
            break;
        }
    }
    if (path == nullptr) return 1;
    if (!InsertDrawingAtOrigin(*path)) return -1;
    host::db::Database* db = host::db::workingDatabase();
    if (db == nullptr) return -1;
    return DragAndTurnReference(db->lastEntity()) ? 0 : -1;
}

TurnedPartPoints TurnPartPoints(std::array<double, 5>& angles, double rotation, const Point3d& base,
                                double distance, int mode, double firstAngle, double firstDistance,
                                double secondAngle, double secondDistance) {
    for (double& angle : angles) {
        angle += rotation;
        NormalizeAngle(angle);
    }
    double along = angles[0];
    if (mode == 2) {
        along += std::numbers::pi;
        NormalizeAngle(along);
    }
    return {PolarPoint(base, along, distance), PolarPoint(base, firstAngle + rotation, firstDistance),
            PolarPoint(base, secondAngle + rotation, secondDistance)};
}
