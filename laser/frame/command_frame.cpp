// The command frame: what runs around every command's work, in the order the commands rely on.
#include "laser/frame/command_frame.h"

#include "cadlib/drawing_environment.h"
#include "cadlib/layers.h"
#include "laser/contours/contour_creation.h"
#include "laser/frame/contour_guard.h"
#include "laser/frame/status_line.h"
#include "laser/job/job_life_cycle.h"
#include "laser/settings/laser_settings.h"

namespace {

// 0 when the drawing is ready for the command's work; otherwise the user has been told why not.
int prepareJob(FramePrepare prepare) {
    switch (prepare) {
        case FramePrepare::None: return 0;
        case FramePrepare::GeometryCommand: return PrepareGeometryCommand();
        case FramePrepare::DrawingJob: return PrepareDrawingJob(LaserSettings());
    }
    return 0;
}

// Frames running now: more than one when a command was started transparently at a prompt of another.
int g_framesRunning = 0;

// Saves the environment for the outermost frame only, and restores it when that frame ends. The environment
// record holds one state: an inner save would overwrite the user's environment with the outer command's forced
// one, which the outer restore would then leave behind.
class OutermostEnvironment {
public:
    OutermostEnvironment() : outermost_(g_framesRunning == 0) {
        ++g_framesRunning;
        if (outermost_) SaveDrawingEnvironment();
    }
    ~OutermostEnvironment() {
        --g_framesRunning;
        if (outermost_) RestoreDrawingEnvironment();
    }
    OutermostEnvironment(const OutermostEnvironment&) = delete;
    OutermostEnvironment& operator=(const OutermostEnvironment&) = delete;

private:
    bool outermost_;
};

}  // namespace

void RunInCommandFrame(const CommandFrame& frame, const std::function<void()>& work) {
    if (!frame.framed) {
        work();
        return;
    }
    if (frame.layerZeroFirst) SetCurrentLayer("0");
    // Restores the environment on every way out, a stop and an exception included.
    OutermostEnvironment environment;
    // A drawing that could not be given a slot has no job of its own: working on would use another drawing's.
    if (prepareJob(frame.prepare) != 0) return;
    if (frame.rereadSettings) LaserSettings().ReadRegistrySettings();
    if (frame.contourGuard && CheckContoursExist() != 0) return;
    if (frame.statusLine == FrameStatusLine::BeforeWork) UpdateStatusLine();
    work();
    if (frame.statusLine == FrameStatusLine::AfterWork) UpdateStatusLine();
}
