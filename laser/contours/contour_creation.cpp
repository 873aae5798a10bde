// Contour creation: the stages in their order, the summary of the contour table, and the command bodies.
#include "laser/contours/contour_creation.h"

#include <chrono>
#include <cmath>
#include <string>

#include "cadlib/command_frame.h"
#include "cadlib/groups.h"
#include "cadlib/host_commands.h"
#include "cadlib/host_variables.h"
#include "cadlib/messages.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/entity_data.h"
#include "host/db/resbuf.h"
#include "host/ed/command.h"
#include "host/ed/selection.h"
#include "host/sys/text_case.h"
#include "host/ui/message_box.h"
#include "laser/contours/block_explode.h"
#include "laser/contours/clamps_trim_lines.h"
#include "laser/contours/contour_classification.h"
#include "laser/contours/contour_entity_table.h"
#include "laser/contours/contour_joining.h"
#include "laser/contours/contour_pair_intersections.h"
#include "laser/contours/contour_table.h"
#include "laser/contours/drawing_validation.h"
#include "laser/contours/jumper_points.h"
#include "laser/contours/line_intersection_check.h"
#include "laser/contours/node_cleanup.h"
#include "laser/frame/status_line.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"
#include "laser/nc/nc_services.h"
#include "laser/path/path_deletion.h"
#include "laser/settings/laser_settings.h"

using host::db::EntityName;
using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::ResBuf;
using host::db::ResBufList;
using host::db::RTSTR;

namespace {

const TwoLanguageText kCountsLine = {
    "\n\rAll contours = %i, Unclose = %i, Inside = %i, Outside = %i",
    "\n\rВсего контуров = %i, Незамкнутых = %i, Внутренних = %i, Наружных = %i",
};
const TwoLanguageText kNoContoursLine = {
    "\n\rContours are not found",
    "\n\rКонтуры не найдены",
};
const TwoLanguageText kWarningHead = {
    "Warning:\n\r",
    "Внимание:\n\r",
};
const TwoLanguageText kIntersectingPairsLine = {
    "\n\r%i. Intersecting pairs contours - %i          ",
    "\n\r%i. Пересекающихся пар контуров - %i          ",
};
const TwoLanguageText kUnclosedLine = {
    "\n\r%i. Unclosed contours - %i            ",
    "\n\r%i. Незамкнутых контуров - %i            ",
};
const TwoLanguageText kRoundDuplicatesLine = {
    "\n\rCircles and arcs drawn twice over each other: %i removed",
    "\n\rОкружностей и дуг, начерченных дважды друг на друге: удалено %i",
};
const TwoLanguageText kWaitPlease = {
    "Wait please ...",
    "Подождите, пожалуйста ...",
};
const TwoLanguageText kWaitLine = {
    "\n\r%s\n\r",
    "\n\r%s\n\r",
};
const TwoLanguageText kTimeWord = {
    "Time",
    "Время",
};
const TwoLanguageText kTimeLine = {
    "\n\r%s  %s\n\r",
    "\n\r%s  %s\n\r",
};
const TwoLanguageText kNotCreatedLine = {
    "\n\rError - Contours are not created. Correct the errors in the contours and repeat the command.\n\r",
    "\n\rОшибка - Контуры не созданы. Исправьте ошибки в контурах и повторите команду.\n\r",
};
const TwoLanguageText kNoJobLine = {
    "\n\rThe drawing has no cutting job: contours are not created.\n\r",
    "\n\rУ чертежа нет задания на резку: контуры не созданы.\n\r",
};
const TwoLanguageText kTextsNotEngravedLine = {
    "\n\rTexts on the engraving layer are not engraved: %i passed over. Engrave a text with InsertText (or "
    "InsertText2), which draws it as lines.",
    "\n\rТексты на слое гравировки не гравируются: пропущено %i. Гравируйте текст командой InsertText (или "
    "InsertText2), которая рисует его линиями.",
};
const TwoLanguageText kDeleteCenterHead = {
    "\n\rDelete all lines of type line CENTER*\n\r",
    "\n\rУдаление всех линий с типом линии CENTER*\n\r",
};
const TwoLanguageText kDeleteCenterCount = {
    "\n\rDelete %i objects\n\r",
    "\n\rУдалено объектов: %i\n\r",
};

// The pair-count check of finished contours runs when CheckIntersect holds exactly this value.
constexpr int kCheckContourPairs = 1001;
// What the name of a centre line's line type contains.
constexpr const char* kCenterLinetypeMark = "CENTER";

std::vector<ContourStageTime>* stageTimes = nullptr;

// Measures one stage while it lives, when someone collects the times.
class StageClock {
public:
    explicit StageClock(const char* stage) : stage_(stage), start_(std::chrono::steady_clock::now()) {}
    ~StageClock() {
        if (stageTimes == nullptr) return;
        const auto elapsed = std::chrono::steady_clock::now() - start_;
        stageTimes->push_back({stage_, std::chrono::duration<double, std::milli>(elapsed).count()});
    }
    StageClock(const StageClock&) = delete;
    StageClock& operator=(const StageClock&) = delete;

private:
    const char* stage_;
    std::chrono::steady_clock::time_point start_;
};

// Runs `read` on a whole-drawing selection through `filter`; the set is freed afterwards.
template <class Read>
void WithSelection(const ResBufList& filter, Read read) {
    EntityName set;
    if (host::ed::ssGet("_X", nullptr, nullptr, &filter, set) != host::db::RTNORM) return;
    read(set);
    host::ed::ssFree(set);
}

// Releases the working tables of the drawn pieces and a selection still held.
void ReleaseStage(ContourEntityStage& stage) {
    if (!stage.ContourSelection.isNil()) host::ed::ssFree(stage.ContourSelection);
    stage.ContourSelection = EntityName{};
    stage.ReleaseEntityTables();
}

// The stages from the explode to the joining; the tables of drawn pieces exist only in here.
int CollectEntityStages(CuttingJob& job, ContourEntityStage& stage) {
    const CLaserSettings& settings = LaserSettings();
    {
        StageClock clock("explode");
        WithSelection({ResBuf(-4, "<or"), ResBuf(0, "INSERT"), ResBuf(0, "POLYLINE"), ResBuf(0, "LWPOLYLINE"),
                       ResBuf(-4, "or>")},
                      [&](const EntityName& set) {
                          ExplodeBlocksAndPolylines(job, set);
                          ExplodeNestedBlocks(job, set);
                      });
    }
    {
        // What came out of the blocks is held to the same rules as what was drawn loose.
        StageClock clock("validation after explode");
        if (ValidateContourDrawing() != 0) return -1;
    }
    {
        StageClock clock("trim lines");
        WithSelection({ResBuf(-4, "<and"), ResBuf(8, kTrimLineLayer), ResBuf(0, "LINE"), ResBuf(-4, "and>")},
                      [&](const EntityName& set) { ReadTrimLines(job, set); });
    }
    {
        StageClock clock("entity table and nodes");
        ExplodeLoosePolylines(stage);
    }
    {
        StageClock clock("duplicates");
        int roundRemoved = 0;
        RemoveDuplicateEntities(stage, &roundRemoved);
        if (roundRemoved > 0) PrintLocalized(kRoundDuplicatesLine, roundRemoved);
    }
    {
        StageClock clock("triple nodes");
        if (CheckTripleNodes(stage) != 0) return -1;
    }
    if (settings.CheckIntersect != 0) {
        StageClock clock("line intersections");
        if (CheckLineIntersectionsOnCreation(stage) > 0) return -1;
    }
    {
        StageClock clock("merge at nodes");
        MergeEntitiesAtNodes(stage);
    }
    StageClock clock("joining");
    return JoinEntitiesByKind(stage);
}

// Shows the warning box when crossing contour pairs (CheckIntersect 1001) or warned-about unclosed contours exist.
void ShowCreationWarnings(const CuttingJob& job) {
    const CLaserSettings& settings = LaserSettings();
    std::string text = Localized(kWarningHead);
    int line = 0;
    if (settings.CheckIntersect == kCheckContourPairs) {
        const int pairs = CheckContourPairIntersections(kContourPairCountMode, job);
        if (pairs > 0) {
            line = 1;
            text += FormatLocalized(kIntersectingPairsLine, 1, pairs);
        }
    }
    if (settings.WarnUnclose != 0 && job.unclosedCount > 0) {
        ++line;
        text += FormatLocalized(kUnclosedLine, line, static_cast<int>(job.unclosedCount));
    }
    if (line == 0) return;
    text += "\n\r";
    host::ui::messageBox(text, {}, host::ui::MB_OK);
}

// Net area: closed outer contours add their area, closed inner ones take it away.
double NetArea(const CuttingJob& job) {
    double net = 0.0;
    for (int i = 0; i < job.contourCount; ++i) {
        const ContourRecord& r = job.contours[static_cast<std::size_t>(i)];
        if (r.closure == kClosureOpen) continue;
        if (r.placement == kPlacementOuter) net += r.area;
        if (r.placement == kPlacementInner) net -= r.area;
    }
    return net;
}

// The extents of the contours into the job and the drawing's insertion base at their middle.
void StoreExtents(CuttingJob& job) {
    if (job.contourCount <= 0) return;
    const ContourRecord& first = job.contours[0];
    host::ge::Point3d low(first.minX, first.minY, 0.0), high(first.maxX, first.maxY, 0.0);
    for (int i = 1; i < job.contourCount; ++i) {
        const ContourRecord& r = job.contours[static_cast<std::size_t>(i)];
        if (r.minX < low.x) low.x = r.minX;
        if (r.minY < low.y) low.y = r.minY;
        if (r.maxX > high.x) high.x = r.maxX;
        if (r.maxY > high.y) high.y = r.maxY;
    }
    job.extentsMin = low;
    job.extentsMax = high;
    SetSysVarPoint3d("INSBASE", host::ge::Point3d((low.x + high.x) / 2.0, (low.y + high.y) / 2.0, 0.0));
}

}  // namespace

void SetContourStageTimes(std::vector<ContourStageTime>* sink) { stageTimes = sink; }

int CollectContourGeometry(CuttingJob& job, ContourEntityStage& stage) {
    job.clampCount = 0;
    job.trimLineBits = 0;
    {
        StageClock clock("validation");
        if (ValidateContourDrawing() != 0) return -1;
    }
    const int result = CollectEntityStages(job, stage);
    ReleaseStage(stage);
    return result;
}

double PartFillRatio(const CuttingJob& job) {
    if (job.contourCount <= 0 || job.contours.empty()) return 0.0;
    double largest = 0.0;
    int chosen = 0;
    for (int i = 0; i < job.contourCount; ++i) {
        const ContourRecord& r = job.contours[static_cast<std::size_t>(i)];
        if (r.role == kRolePart && r.placement == kPlacementOuter && r.area > largest) {
            largest = r.area;
            chosen = i;
        }
    }
    const ContourRecord& r = job.contours[static_cast<std::size_t>(chosen)];
    const double box = (r.maxY - r.minY) * (r.maxX - r.minX);
    // A point or an empty stock has no box: no ratio rather than 0/0.
    if (!(box > 0.0)) return 0.0;
    return largest / box;
}

int CreateContours() {
    CLaserSettings& settings = LaserSettings();
    PrepareDrawingJob(settings);
    DrawingSlot* slot = CurrentSlot(settings);
    CuttingJob* job = CurrentJob(settings);
    if (slot == nullptr || job == nullptr) {
        PrintLocalized(kNoJobLine);
        return 0;
    }
    if (job->pathGroupCount > 0) CommandDelAll();
    RemoveGroupsContaining("");
    SetSysVarInt("CMDECHO", 0);
    job->contours.clear();
    job->contourCount = 0;

    if (CollectContourGeometry(*job) != 0) return 0;

    {
        StageClock clock("contour table");
        BuildContourTable(*job);
    }
    {
        StageClock clock("classification");
        ClassifyContourNesting(*job);
        AttachJumperPoints(*job);
    }
    StageClock clock("summary and job data");
    job->partFillRatio = PartFillRatio(*job);
    UpdateStatusLine();
    if (job->contourCount != 0) {
        PrintLocalized(kCountsLine, static_cast<int>(job->baseInner + job->baseOuter + job->unclosedCount),
                       static_cast<int>(job->unclosedCount), static_cast<int>(job->baseInner),
                       static_cast<int>(job->baseOuter));
    } else {
        PrintLocalized(kNoContoursLine);
    }
    job->netArea = NetArea(*job);
    StoreExtents(*job);
    ++slot->changeCounter;
    slot->locked = 0;
    WriteJobData(settings);
    ShowCreationWarnings(*job);
    host::ed::command({ResBuf(RTSTR, "_.zoom"), ResBuf(RTSTR, "_E")});
    return 0;
}

// The line type an entity is drawn with: its own, or its layer's when it has none of its own ("ByLayer").
// Centre lines drawn in other CAD programs usually sit on a layer of a CENTER line type.
static std::string EffectiveLinetype(const host::db::Entity& entity) {
    std::string own = entity.linetype();
    if (!host::sys::equalsNoCase(own, "ByLayer")) return own;
    ObjectPtr<host::db::LayerTableRecord> layer(entity.layerId(), OpenMode::Read);
    if (!layer) return own;
    ObjectPtr<host::db::LinetypeTableRecord> linetype(layer->linetypeId(), OpenMode::Read);
    return linetype ? linetype->name() : own;
}

int EraseCenterLines() {
    int erased = 0;
    EntityName name;
    bool more = host::db::entNext(EntityName{}, name) == host::db::RTNORM;
    while (more) {
        EntityName next;
        more = host::db::entNext(name, next) == host::db::RTNORM;
        ObjectPtr<host::db::Entity> entity(host::db::nameToId(name), OpenMode::Write);
        if (entity && EffectiveLinetype(*entity).find(kCenterLinetypeMark) != std::string::npos) {
            if (entity->erase() == host::db::Status::Ok) ++erased;
        }
        name = next;
    }
    return erased;
}

int PrepareGeometryCommand() {
    return PrepareDrawingJob(LaserSettings());
}

void CommandNCCreateContour() {
    CLaserSettings& settings = LaserSettings();
    SetUcsToWorld();
    host::ed::command({ResBuf(RTSTR, "_.DELCONSTRAINT"), ResBuf(RTSTR, "_All"), ResBuf(RTSTR, "")});
    EraseCenterLines();
    const std::int64_t start = ElapsedClockMilliseconds();
    CollectJobTexts(settings);
    PrintLocalized(kWaitLine, Localized(kWaitPlease));
    CreateContours();
    // A text put on the engraving layer looks engraved on the screen, yet no contour is made of it.
    if (const int texts = CountTextsOnEngravingLayers(); texts > 0) PrintLocalized(kTextsNotEngravedLine, texts);
    const CuttingJob* job = CurrentJob(settings);
    if (job == nullptr || job->contourCount < 1) {
        PrintLocalized(kNotCreatedLine);
        return;
    }
    std::string elapsed;
    FormatElapsedTime(start, elapsed);
    PrintLocalized(kTimeLine, Localized(kTimeWord), elapsed.c_str());
    LoadPostprocessorRuntime();
}

void CommandDeleteAllCenterLine() {
    PrintLocalized(kDeleteCenterHead);
    PrintLocalized(kDeleteCenterCount, EraseCenterLines());
}
