// The contour guard: a command that works on contours stops when the drawing has none.
#include "laser/frame/contour_guard.h"

#include "host/ui/message_box.h"
#include "laser/frame/frame_messages.h"
#include "laser/job/drawing_slot.h"
#include "laser/settings/laser_settings.h"

int CheckContoursExist() {
    const CuttingJob* job = CurrentJob(LaserSettings());
    if (job != nullptr && job->contourCount > 0) return 0;
    host::ui::messageBox(Localized(kContoursNotCreatedText), "", host::ui::MB_OK | host::ui::MB_ICONERROR);
    return 1;
}
