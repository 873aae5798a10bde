// The drawing slots: making, freeing and finding the slot of the working drawing, starting its job, and its tag.
#include "laser/job/drawing_slot.h"

#include <charconv>
#include <cmath>
#include <numbers>

#include "cadlib/host_variables.h"
#include "cadlib/numbers.h"
#include "host/db/database.h"
#include "host/sys/number_text.h"
#include "host/ui/message_box.h"
#include "laser/job/job_life_cycle.h"
#include "laser/job/job_messages.h"
#include "laser/job/job_records.h"
#include "laser/path/path_deletion.h"
#include "laser/settings/laser_settings.h"

namespace {

// Up while the path of a slot marked as a nesting start is erased.
bool g_erasingLockedPath = false;

constexpr std::string_view kTagPrefix = "Kstr";
constexpr std::string_view kProjectNameVar = "PROJECTNAME";
constexpr std::string_view kThumbSizeVar = "thumbsize";
constexpr int kMinThumbSize = 2;

bool IsSlotInUse(const CLaserSettings& settings, int index) {
    return index >= 0 && index < settings.DrawingSlotCount && index < kMaxDrawingSlots &&
           settings.DrawingSlots[static_cast<std::size_t>(index)] != nullptr;
}

DrawingSlot& SlotAt(CLaserSettings& settings, int index) {
    return *settings.DrawingSlots[static_cast<std::size_t>(index)];
}

// A word of the tag read as a number the way the C library's atoi reads it: leading digits, 0 when none.
int TagNumber(std::string_view word) {
    int value = 0;
    const char* first = word.data();
    if (!word.empty() && word.front() == '+') ++first;
    std::from_chars(first, word.data() + word.size(), value);
    return value;
}

// The project name split at blanks into at most three words (missing words are empty).
struct TagWords {
    std::string_view id, status, counter;
};

TagWords SplitTag(std::string_view tag) {
    TagWords words;
    std::string_view* out[] = {&words.id, &words.status, &words.counter};
    std::size_t pos = 0;
    for (auto* w : out) {
        while (pos < tag.size() && tag[pos] == ' ') ++pos;
        std::size_t end = tag.find(' ', pos);
        if (end == std::string_view::npos) end = tag.size();
        *w = tag.substr(pos, end - pos);
        pos = end;
    }
    return words;
}

std::string TagIdWord(int jobId) {
    return host::sys::formatC("%s_%i", std::string(kTagPrefix).c_str(), jobId);
}

// Clears what a slot knows of the texts of its stored job; the job id, the job and the material stay.
void ResetSlot(DrawingSlot& slot) {
    slot.status = kSlotNoJob;
    slot.settingsTextName = {};
    slot.settingsTextHandle = 0;
    slot.summaryTextHandle = 0;
    slot.directoryTextHandle = 0;
}

// True when the slot's "Kstr_ST" entity name still names an object of the drawing that is no longer a
// "Kstr_ST" text (erased, or something else).
bool SettingsTextLost(const DrawingSlot& slot) {
    if (slot.settingsTextName.isNil()) return false;
    host::db::ObjectId id = host::db::nameToId(slot.settingsTextName);
    if (id.isNull()) return false;
    host::db::ObjectPtr<host::db::Text> text(id, host::db::OpenMode::Read);
    return !text || text->textString() != kJobSettingsText;
}

}  // namespace

std::string FormatDrawingTag(int jobId, int status, int changeCounter) {
    return host::sys::formatC("%s_%i %i %i", std::string(kTagPrefix).c_str(), jobId, status, changeCounter);
}

void SetSlotText(std::string& field, std::string_view text, std::size_t maxChars) {
    std::size_t chars = 0, pos = 0;
    while (pos < text.size() && chars < maxChars) {
        ++pos;
        // continuation bytes of a UTF-8 sequence belong to the character just started
        while (pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) ++pos;
        ++chars;
    }
    field.assign(text.substr(0, pos));
}

DrawingSlot* CurrentSlot(CLaserSettings& settings) {
    return IsSlotInUse(settings, settings.CurrentDrawingSlot) ? &SlotAt(settings, settings.CurrentDrawingSlot)
                                                              : nullptr;
}

CuttingJob* CurrentJob(CLaserSettings& settings) {
    DrawingSlot* slot = CurrentSlot(settings);
    return slot ? slot->job.get() : nullptr;
}

int CreateDrawingSlot(CLaserSettings& settings) {
    if (settings.DrawingSlotCount >= kMaxDrawingSlots) {
        host::ui::messageBox(FormatLocalized(kMsgTooManyDrawings, kMaxDrawingSlots), {},
                             host::ui::MB_OK | host::ui::MB_ICONERROR);
        return -1;
    }
    const int index = settings.DrawingSlotCount;
    settings.CurrentDrawingSlot = index;
    settings.DrawingSlotCount += 1;
    auto slot = std::make_unique<DrawingSlot>();
    SetSlotText(slot->materialName, settings.Material, kSlotMaterialNameChars);
    SetSlotText(slot->materialNumber, settings.Material_Num, kSlotMaterialNumberChars);
    slot->density = settings.Density;
    slot->thickness = settings.Thin;
    if (host::db::Database* db = host::db::workingDatabase()) slot->drawingSerial = db->serial();
    settings.DrawingSlots[static_cast<std::size_t>(index)] = std::move(slot);
    LoadJobTexts(settings);
    return 0;
}

int FreeDrawingSlot(CLaserSettings& settings, int index) {
    if (!IsSlotInUse(settings, index)) return -1;
    const int last = settings.DrawingSlotCount - 1;
    settings.DrawingSlotCount -= 1;
    auto& entries = settings.DrawingSlots;
    entries[static_cast<std::size_t>(index)].reset();   // the job and its contour table go with the slot
    if (index != last) entries[static_cast<std::size_t>(index)] = std::move(entries[static_cast<std::size_t>(last)]);
    settings.CurrentDrawingSlot = settings.DrawingSlotCount > 0 ? settings.DrawingSlotCount - 1 : 0;
    return 0;
}

void TakeMachineSettings(CuttingJob& job, const CLaserSettings& settings) {
    job.machineType = settings.TypeMachine;
    job.postprocessor = settings.Postprocessor;
    job.postprocessorFolder = settings.DirPostprocessor;
    job.feedCut = settings.FeedCut;
    job.feedEngrave = settings.EngraveCut;
    job.feedHeatTreatment = settings.HeatTreatmentCut;
    job.feedRapid = settings.FeedRapid;
    job.timeLaserOnOff = settings.TimeLaserOnOff;
    job.toolDiameter = ConvertUnits(settings.Unit, job.unit, settings.DiameterTool);
    job.leadInSpan = ConvertUnits(settings.Unit, job.unit, settings.LeadInSpan);
    job.leadOutSpan = ConvertUnits(settings.Unit, job.unit, settings.LeadOutSpan);
    job.leadAngle = settings.Angle;
    job.leadAngleRad = settings.Angle * std::numbers::pi / 180.0;
}

int DrawingJobUnit(const CLaserSettings& settings) {
    const host::db::Database* db = host::db::workingDatabase();
    return UnitOfDrawing(db ? db->header().insUnits : 0, settings.Unit);
}

int CurrentJobUnit(const CLaserSettings& settings) {
    if (!IsSlotInUse(settings, settings.CurrentDrawingSlot)) return settings.Unit;
    const DrawingSlot& slot = *settings.DrawingSlots[static_cast<std::size_t>(settings.CurrentDrawingSlot)];
    return slot.job ? slot.job->unit : settings.Unit;
}

double SettingLength(const CLaserSettings& settings, double value) {
    return ConvertUnits(settings.Unit, CurrentJobUnit(settings), value);
}

host::ge::Point3d SettingHomePoint(const CLaserSettings& settings) {
    return {SettingLength(settings, settings.PointHome[0]), SettingLength(settings, settings.PointHome[1]),
            SettingLength(settings, settings.PointHome[2])};
}

int InitCuttingJob(CLaserSettings& settings) {
    DrawingSlot* slot = CurrentSlot(settings);
    if (!slot) return -1;
    // A nested sheet is drawn in the nesting job's unit, the Unit setting both modules read; any other drawing
    // says its own.
    const int unit = slot->status == kSlotNesting ? settings.Unit : DrawingJobUnit(settings);
    if (!slot->job) slot->job = std::make_unique<CuttingJob>();
    CuttingJob& job = *slot->job;
    job.contours.clear();
    job.contours.shrink_to_fit();

    job.dataVersion = kJobDataVersionWritten;
    slot->status = kSlotJob;
    slot->changeCounter = 0;

    job.unit = unit;
    job.material = settings.Material;
    job.materialNumber = settings.Material_Num;
    job.materialFolder = settings.DirMaterial;
    job.programName.clear();
    TakeMachineSettings(job, settings);
    // The thickness is a length of the job: in its unit, as the sheet of a nesting result gives it.
    job.thickness = ConvertUnits(settings.Unit, unit, settings.Thin);
    job.density = settings.Density;

    job.extentsMin = {};
    job.extentsMax = {};
    job.reservedReal1 = job.reservedReal2 = job.reservedReal3 = 0.0;
    job.netArea = job.partArea = job.stockArea = 0.0;
    job.reservedCounter = 0;
    job.contourCount = 0;
    job.baseInner = job.baseOuter = job.tool2Inner = job.tool2Outer = job.unclosedCount = 0;
    job.noCloseCount = job.engraveCount = job.engraveMarkCount = job.markCount = job.heatCount = 0;
    job.commonCount = job.insideCutCount = job.noLeadInInner = job.noLeadInOuter = 0;
    job.jumperLineOuter = job.jumperLineInner = job.jumperPointCount = job.markPointCount = 0;
    job.stockCount = job.stockInner = job.stockOuter = 0;
    job.homeGroupPresent = 0;
    job.pathGroupCount = 0;
    job.totalCutLength = job.totalCutT2Length = job.totalEngraveLength = job.totalEngraveMarkLength = 0.0;
    job.totalMarkLength = job.totalHeatLength = job.totalRapidLength = job.totalSeconds = 0.0;
    job.partFillRatio = 1.0;

    job.homePoint = {ConvertUnits(settings.Unit, unit, settings.PointHome[0]),
                     ConvertUnits(settings.Unit, unit, settings.PointHome[1]),
                     ConvertUnits(settings.Unit, unit, settings.PointHome[2])};
    job.pathStartPoint = job.homePoint;
    job.currentPoint = job.homePoint;
    job.penState = kInitialPenState;
    job.startAtHome = settings.ModeStartPoint;

    int thumbSize = 0;
    if (GetSysVarInt(kThumbSizeVar, thumbSize) == host::db::RTNORM && thumbSize < kMinThumbSize)
        SetSysVarInt(kThumbSizeVar, kMinThumbSize);
    return 0;
}

int IdentifyDrawing(CLaserSettings& settings, bool& changed) {
    changed = false;
    host::db::Database* db = host::db::workingDatabase();
    if (!db) return kNoDrawingSlot;
    const std::uint64_t serial = db->serial();
    std::string projectName;
    GetSysVarString(kProjectNameVar, projectName);

    // A slot belongs to one drawing only: the tag is matched among the slots of this drawing, and a job id of 0
    // (none given yet) is never matched through a tag.
    if (!projectName.empty()) {
        const TagWords words = SplitTag(projectName);
        for (int i = 0; i < settings.DrawingSlotCount; ++i) {
            if (!IsSlotInUse(settings, i)) continue;
            DrawingSlot& slot = SlotAt(settings, i);
            if (slot.drawingSerial != serial || slot.jobId == 0 || TagIdWord(slot.jobId) != words.id) continue;
            if (TagNumber(words.status) == kSlotNesting) slot.status = kSlotNesting;
            if (!slot.locked && slot.changeCounter != TagNumber(words.counter)) {
                changed = true;
                settings.CurrentDrawingSlot = i;
                // the stored job was changed behind the module (an undo): read it again, keeping the slot's id
                const int jobId = slot.jobId;
                ReadJobData(settings);
                slot.jobId = jobId;
            } else if (slot.locked && slot.job && slot.job->pathGroupCount > 0 && !g_erasingLockedPath) {
                // a drawing marked as the start of a nesting holds no cutting path; the erase prepares the
                // drawing's job itself, which comes back here while the flag is up
                settings.CurrentDrawingSlot = i;
                g_erasingLockedPath = true;
                CommandDelAll();
                g_erasingLockedPath = false;
            }
            return i;
        }
    }

    // No usable tag: the drawing's own slot, reset when its "Kstr_ST" text has gone.
    for (int i = 0; i < settings.DrawingSlotCount; ++i) {
        if (!IsSlotInUse(settings, i)) continue;
        DrawingSlot& slot = SlotAt(settings, i);
        if (slot.drawingSerial != serial) continue;
        if (SettingsTextLost(slot)) ResetSlot(slot);
        return i;
    }
    return kNoDrawingSlot;
}

int SlotOfDrawing(const CLaserSettings& settings, std::uint64_t drawingSerial) {
    for (int i = 0; i < settings.DrawingSlotCount; ++i) {
        const auto& slot = settings.DrawingSlots[static_cast<std::size_t>(i)];
        if (IsSlotInUse(settings, i) && slot->drawingSerial == drawingSerial) return i;
    }
    return kNoDrawingSlot;
}

int SelectDrawingSlot(CLaserSettings& settings) {
    bool changed = false;
    const int index = IdentifyDrawing(settings, changed);
    if (index != kNoDrawingSlot) settings.CurrentDrawingSlot = index;
    return index;
}

int WriteDrawingTag(CLaserSettings& settings) {
    DrawingSlot* slot = CurrentSlot(settings);
    if (!slot || !host::db::workingDatabase()) return -1;
    SetSysVarString(kProjectNameVar, FormatDrawingTag(slot->jobId, slot->status, slot->changeCounter));
    return 0;
}
