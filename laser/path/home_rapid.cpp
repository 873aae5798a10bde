// The home group: trim-line strokes with the height sensor switched off near the line ends, and the rapid home.
#include "laser/path/home_rapid.h"

#include "cadlib/host_variables.h"
#include "laser/frame/status_line.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"
#include "laser/path/path_groups.h"
#include "laser/path/path_totals.h"
#include "laser/settings/laser_settings.h"

using host::ge::Point3d;

namespace {

// One stroke with a pen, from the current point.
void Stroke(int pen, const Point3d& to) {
    CuttingJob* job = CurrentJob(LaserSettings());
    SetPen(pen);
    AddPathLine(job->currentPoint, to);
}

}  // namespace

int DrawTrimLineCuts() {
    const CLaserSettings& s = LaserSettings();
    CuttingJob* job = CurrentJob(LaserSettings());
    if (job == nullptr || s.TrimLineUse == 0 || job->trimLineBits == 0) return 0;
    const double on = SettingLength(s, s.DistZAxisTrackingSensorON);
    const double off = SettingLength(s, s.DistZAxisTrackingSensorOFF);
    if ((job->trimLineBits & kTrimLineHorizontal) != 0) {
        const bool endIsRight = job->horizontalTrimEnd.x >= job->horizontalTrimStart.x;
        const Point3d r = endIsRight ? job->horizontalTrimEnd : job->horizontalTrimStart;
        const Point3d l = endIsRight ? job->horizontalTrimStart : job->horizontalTrimEnd;
        Stroke(kPenRapid, r);
        Stroke(kPenCut, Point3d(l.x + on, r.y, r.z));
        Stroke(kPenSensorOff, Point3d(l.x - off, r.y, r.z));
        SetPen(kPenRapid);
        job->currentPoint = Point3d(l.x - off, r.y, r.z);
    }
    if ((job->trimLineBits & kTrimLineVertical) != 0) {
        const bool endIsTop = job->verticalTrimEnd.y >= job->verticalTrimStart.y;
        const Point3d t = endIsTop ? job->verticalTrimEnd : job->verticalTrimStart;
        const Point3d b = endIsTop ? job->verticalTrimStart : job->verticalTrimEnd;
        Stroke(kPenRapid, Point3d(t.x, t.y - on, t.z));
        Stroke(kPenSensorOff, Point3d(t.x, t.y + off, t.z));
        Stroke(kPenRapid, Point3d(t.x, t.y - on, t.z));
        Stroke(kPenCut, Point3d(t.x, b.y + on, t.z));
        Stroke(kPenSensorOff, Point3d(t.x, b.y - off, t.z));
        SetPen(kPenRapid);
        job->currentPoint = Point3d(t.x, b.y - off, t.z);
    }
    return 0;
}

void AddHomeRapid() {
    CLaserSettings& settings = LaserSettings();
    PrepareDrawingJob(settings);
    CuttingJob* job = CurrentJob(settings);
    if (job == nullptr || job->pathGroupCount <= 0 || job->homeGroupPresent == 1) return;
    if (settings.ModeEndPoint == 0 && settings.TrimLineUse == 0) return;
    SetSysVarInt("OSMODE", 0);
    PathWriterState& writer = PathWriter();
    writer.PathDescriptionText = std::string(kHomeGroupWord) + " ";
    BeginPathGroup();
    SetPen(kPenRapid);
    DrawTrimLineCuts();
    if (settings.ModeEndPoint != 0) AddPathLine(job->currentPoint, job->homePoint);
    if (writer.PathGroupCreated == 0) {
        EndPathGroup();
        return;
    }
    writer.PathDescriptionText += FormatPathHandle(writer.LastPathEntity.handle().value);
    AppendMemberRoleTokens();
    StorePathDescription();
    EndPathGroup();
    PathGroupMeasure measure;
    MeasurePathGroup(static_cast<unsigned>(job->pathGroupCount), measure);
    AddToPathTotals(*job, measure);
    job->homeGroupPresent = 1;
    UpdateStatusLine();
    if (DrawingSlot* slot = CurrentSlot(settings)) slot->changeCounter += 1;
    WriteJobData(settings);
}
