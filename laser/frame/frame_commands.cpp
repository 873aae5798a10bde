// The work of NCCreate, NCPlay and SetStartNesting: the frame does the rest, other parts of the module do the
// work.
#include "laser/frame/frame_commands.h"

#include <cstddef>
#include <vector>

#include "host/db/database.h"
#include "host/ed/display.h"
#include "host/ed/input.h"
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
    host::db::Database* db = host::db::workingDatabase();
    const std::size_t framesBefore = db != nullptr ? host::ed::animationFrames(*db).size() : 0;
    SimulateCutPath(0);  // 0: the whole path
    // A terminal shows no drawing, and its clock does not wait for the marker: the run ended at once and showed
    // nothing. Say what was played and where to see it.
    if (db == nullptr || !host::ed::input().isInteractive()) return;
    const std::vector<host::ed::AnimationFrame>& frames = host::ed::animationFrames(*db);
    const std::size_t steps = frames.size() > framesBefore ? frames.size() - framesBefore : 0;
    const double seconds =
        steps > 0 ? static_cast<double>(frames.back().time - frames[framesBefore].time) / 1000.0 : 0.0;
    PrintLocalized(kPlayedAtTerminalText, static_cast<unsigned long long>(steps), seconds);
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
