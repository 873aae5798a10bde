// Drawing placement: everything but the clamps and the cutting path moved through the host's clipboard (so the
// moved entities are new entities), then the contours created anew.
//
// Whether to move is decided on the box of what moves, not on the drawing's extents: those take in the clamps
// and the cutting path, whose first rapid line starts at the home point 0,0, so a part lying elsewhere looked as
// if it already sat on the origin and was never moved.
#include "laser/drawing/placement_commands.h"

#include <optional>
#include <vector>

#include "cadlib/host_variables.h"
#include "cadlib/point_equality.h"
#include "host/db/database.h"
#include "host/db/entity.h"
#include "host/ed/command.h"
#include "host/ed/prompts.h"
#include "host/ed/selection.h"
#include "host/sys/number_text.h"
#include "laser/contours/contour_creation.h"
#include "laser/drawing/drawing_messages.h"
#include "laser/frame/command_frame.h"
#include "laser/job/drawing_slot.h"
#include "laser/settings/laser_settings.h"

namespace {

using host::db::EntityName;
using host::db::ResBuf;
using host::db::RTNORM;
using host::db::RTSTR;
using host::ge::Point3d;

// Everything of the drawing apart from the clamp drawings (layer "Clamp" or block "Clamp") and the cutting path
// (layer "NC_Laser"), as a selection set released when it goes out of scope.
class MovingSelection {
public:
    MovingSelection() {
        const host::db::ResBufList filter = {
            ResBuf(-4, "<not"), ResBuf(-4, "<or"),    ResBuf(8, "Clamp"), ResBuf(2, "Clamp"),
            ResBuf(8, "NC_Laser"), ResBuf(-4, "or>"), ResBuf(-4, "not>"),
        };
        held_ = host::ed::ssGet("_X", nullptr, nullptr, &filter, set_) == RTNORM;
    }
    ~MovingSelection() { release(); }
    MovingSelection(const MovingSelection&) = delete;
    MovingSelection& operator=(const MovingSelection&) = delete;

    bool empty() const { return !held_ || host::ed::selectionIds(set_).empty(); }
    const EntityName& name() const { return set_; }
    void release() {
        if (held_) host::ed::ssFree(set_);
        held_ = false;
    }

    // The box of the live entities of the set; nullopt when none has geometry.
    std::optional<host::db::Extents> box() const {
        std::optional<host::db::Extents> box;
        if (!held_) return box;
        for (const host::db::ObjectId id : host::ed::selectionIds(set_)) {
            host::db::ObjectPtr<host::db::Entity> entity(id, host::db::OpenMode::Read);
            if (!entity) continue;
            const std::optional<host::db::Extents> extents = entity->geomExtents();
            if (!extents) continue;
            if (box) box->add(*extents);
            else box = extents;
        }
        return box;
    }

private:
    EntityName set_;
    bool held_ = false;
};

Point3d StockOrigin() {
    const CLaserSettings& settings = LaserSettings();
    return {SettingLength(settings, settings.StockPointOriginX), SettingLength(settings, settings.StockPointOriginY),
            SettingLength(settings, settings.StockPointOriginZ)};
}

void ZoomExtents() { host::ed::command({ResBuf(RTSTR, "_.ZOOM"), ResBuf(RTSTR, "_E")}); }

// NCCreateContour with its own frame. Inside this command's frame the environment is saved once: what the user
// had comes back when this command ends.
void CreateContoursCommand() { RunInCommandFrame(kContourCreationFrame, CommandNCCreateContour); }

// The cutting job of the working drawing, or null when it has no slot or no job.
const CuttingJob* DrawingJob() {
    CLaserSettings& settings = LaserSettings();
    if (SelectDrawingSlot(settings) == kNoDrawingSlot) return nullptr;
    return CurrentJob(settings);
}

// Moves the selection by the clipboard so that the lower-left corner of its box lands on `target`, unless it
// lies there already (then the entities keep their handles).
void MoveCornerTo(const MovingSelection& selection, const Point3d& target) {
    const std::optional<host::db::Extents> box = selection.box();
    if (!box) return;
    if (PointsDifferByTolerance(box->min, target, kSameCornerTolerance) == 0) return;
    host::ed::command({ResBuf(RTSTR, "_.CUTCLIP"), ResBuf(host::db::RTPICKS, selection.name()), ResBuf(RTSTR, "")});
    host::ed::command({ResBuf(RTSTR, "_.PASTECLIP"), ResBuf(host::db::RT3DPOINT, target)});
    ZoomExtents();
}

void MoveToCorner(const Point3d& target) {
    {
        MovingSelection selection;
        if (!selection.empty()) {
            SetSysVarInt("OSMODE", 0);
            ZoomExtents();
            MoveCornerTo(selection, target);
        }
    }
    CreateContoursCommand();
}

void PrintJobBox(const TwoLanguageText& label, const CuttingJob* job) {
    const Point3d lo = job ? job->extentsMin : Point3d();
    const Point3d hi = job ? job->extentsMax : Point3d();
    PrintLocalized(kAreaLineText, Localized(label), lo.x, lo.y, hi.x, hi.y);
}

}  // namespace

void CommandMoveToOrigin() { MoveToCorner(StockOrigin()); }

void CommandMoveToOrigin00() { MoveToCorner(Point3d(0.0, 0.0, 0.0)); }

void CommandMoveToPoint() {
    {
        std::optional<MovingSelection> selection;
        selection.emplace();
        if (!selection->empty()) {
            Point3d target = StockOrigin();
            const CuttingJob* job = DrawingJob();
            if (job == nullptr || job->extentsMax.x == 0.0) {
                // Contour creation erases what it joins and draws new polylines in its place: the selection is
                // made again afterwards, so that what moves is what was created.
                selection.reset();
                CreateContoursCommand();
                selection.emplace();
                job = DrawingJob();
            }
            PrintJobBox(kAreaOccupiedLabel, job);
            const Point3d corner = job ? job->extentsMin : Point3d();
            PrintLocalized(kCornerLineText, Localized(kInputNewCoordinatesLabel), corner.x, corner.y);
            Point3d answer;
            if (host::ed::getPoint(nullptr, "", answer) != RTNORM) return;
            target.x = answer.x;
            target.y = answer.y;
            SetSysVarInt("OSMODE", 0);
            ZoomExtents();
            if (!selection->empty()) MoveCornerTo(*selection, target);
        }
    }
    CreateContoursCommand();
    PrintJobBox(kNewCoordinatesLabel, DrawingJob());
}

void CommandRotateAndCreateContour() {
    {
        MovingSelection selection;
        if (!selection.empty()) {
            SetSysVarInt("OSMODE", 0);
            ZoomExtents();
            if (const std::optional<host::db::Extents> box = selection.box()) {
                // Half the width and height of the box: the box's centre when its corner lies on 0,0.
                const double baseX = (box->max.x - box->min.x) * 0.5;
                const double baseY = (box->max.y - box->min.y) * 0.5;
                host::ed::command({ResBuf(RTSTR, "_.ROTATE"), ResBuf(host::db::RTPICKS, selection.name()),
                                   ResBuf(RTSTR, ""), ResBuf(RTSTR, host::sys::formatC("%.6f,%.6f", baseX, baseY)),
                                   ResBuf(RTSTR, "180")});
                MoveCornerTo(selection, StockOrigin());
            }
        }
    }
    CreateContoursCommand();
}
