// The work of NCCreate, NCPlay and SetStartNesting: the frame does the rest, other parts of the module do the
// work.
#include "laser/frame/frame_commands.h"

#include "laser/frame/frame_messages.h"
#include "laser/job/drawing_slot.h"
#include "laser/nc/nc_services.h"
#include "laser/settings/laser_settings.h"

void CommandNCCreate() { CreateNcProgram(); }

void CommandNCPlay() {
    PrintLocalized(kPlaySpeedHintText);
    SimulateCutPath(0);  // 0: the whole path
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
    if (slot.status == kSlotJob && slot.job != nullptr && slot.job->pathGroupCount > 0) {
        // FIXME: the path is to be erased here first, with the path editing commands; until they are built the
        // drawing is left as it is rather than marked with a path that the nesting would not expect.
        PrintLocalized(kStartNestingNeedsPathEraseText);
        return;
    }
    slot.status = kSlotNesting;
    slot.locked = 1;
    // The mark is written into the drawing's tag, which needs an id of this drawing's own: with the id 0 of a
    // drawing that never had a job, two marked drawings would share one tag and so one slot.
    if (slot.jobId == 0) slot.jobId = settings.NextJobId++;
    WriteDrawingTag(settings);
}
