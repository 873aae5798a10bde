// The work of NCCreate, NCPlay and SetStartNesting: the frame does the rest, other parts of the module do the
// work.
#include "laser/frame/frame_commands.h"

#include "host/db/database.h"
#include "laser/frame/frame_messages.h"
#include "laser/job/drawing_slot.h"
#include "laser/nc/nc_services.h"
#include "laser/path/path_deletion.h"
#include "laser/settings/laser_settings.h"

void CommandNCCreate() { CreateNcProgram(); }

void CommandNCPlay() {
    CLaserSettings& settings = LaserSettings();
    const CuttingJob* job = CurrentJob(settings);
    if (job == nullptr || job->pathGroupCount <= 0) {
        PrintLocalized(kNothingToPlayText);
        return;
    }
    PrintLocalized(kPlaySpeedHintText);
    PlayCutPath(0);  // 0: the whole path
}

void CommandSetStartNesting() {
    CLaserSettings& settings = LaserSettings();
    if (settings.DrawingSlotCount <= 0) return;
    bool changed = false;
    const int index = IdentifyDrawing(settings, changed);
    // A drawing without a slot of its own must never mark another drawing's slot.
    if (index == kNoDrawingSlot) {
        PrintLocalized(kNoDrawingSlotText);
        return;
    }
    settings.CurrentDrawingSlot = index;
    DrawingSlot& slot = *settings.DrawingSlots[static_cast<std::size_t>(index)];
    // A nesting start carries no cutting path.
    if (slot.status == kSlotJob) CommandDelAll();
    slot.status = kSlotNesting;
    slot.locked = 1;
    // The mark is written into the drawing's tag, which needs an id of this drawing's own: with the id 0 of a
    // drawing that never had a job, two marked drawings would share one tag and so one slot.
    if (slot.jobId == 0) slot.jobId = settings.NextJobId++;
    WriteDrawingTag(settings);
}
