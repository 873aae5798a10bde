// The frame every automatic cutting order runs in: the job readied, the paths written, the totals brought up to date.
#include "laser/path/cutting_order_support.h"

#include "host/ui/message_box.h"
#include "laser/frame/status_line.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"
#include "laser/path/contour_path.h"
#include "laser/path/next_contour.h"
#include "laser/path/path_totals.h"
#include "laser/settings/laser_settings.h"

using host::ge::Point3d;

CuttingJob* BeginCuttingOrder(CLaserSettings& settings, const TwoLanguageText* erasedText, bool& erased) {
    erased = false;
    PrepareDrawingJob(settings);
    CuttingJob* job = CurrentJob(settings);
    if (job == nullptr) return nullptr;
    if (erasedText != nullptr && CheckContoursErased(*job) != 0) {
        host::ui::messageBox(Localized(*erasedText), "", host::ui::MB_OK | host::ui::MB_ICONERROR);
        erased = true;
        return nullptr;
    }
    if (job->pathGroupCount == 0) {
        job->currentPoint = SettingHomePoint(settings);
    }
    return job;
}

void EndCuttingOrder(CLaserSettings& settings) {
    if (DrawingSlot* slot = CurrentSlot(settings)) ++slot->changeCounter;
    RegenPathTotals();
    UpdateStatusLine();
    WriteJobData(settings);
}

bool OrderedPathWriter::Write(const Point3d& start, int contour) {
    if (contour < 0 || contour >= static_cast<int>(job_.contours.size())) return false;
    ContourRecord& record = job_.contours[static_cast<std::size_t>(contour)];
    record.processed = 0;
    WriteContourPath(start, contour);
    if (record.processed != 0) return true;
    record.processed = 1;
    held_.push_back(contour);
    return false;
}

void OrderedPathWriter::ReleaseHeld() {
    for (const int i : held_) job_.contours[static_cast<std::size_t>(i)].processed = 0;
    held_.clear();
}
