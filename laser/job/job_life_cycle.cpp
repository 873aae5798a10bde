// The job's life in the drawing: preparing a drawing for a command, writing and reading the stored job, taking
// over a nesting result's material, erasing the head texts, and the drawing messages.
#include "laser/job/job_life_cycle.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <set>
#include <string>

#include "cadlib/host_commands.h"
#include "cadlib/host_variables.h"
#include "cadlib/layers.h"
#include "host/db/database.h"
#include "host/ed/selection.h"
#include "host/sys/text_case.h"
#include "host/ui/message_box.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_messages.h"
#include "laser/job/job_records.h"
#include "laser/nc/nc_services.h"
#include "laser/settings/laser_settings.h"

using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::ResBuf;
using host::db::ResBufList;

namespace {

constexpr int kMinSplineSegments = 8;
constexpr int kFallbackLayerColor = 7;
constexpr std::string_view kLinetypeFileInches = "Kestrion.lin";
constexpr std::string_view kLinetypeFileMillimetres = "Kestrion_iso.lin";
constexpr std::string_view kContinuous = "Continuous";

// One CAM layer: its colour and line type come from a setting when one is named.
struct CamLayer {
    std::string_view name;
    int fixedColor;
    std::string CLaserSettings::*colorSetting;
    std::string CLaserSettings::*linetypeSetting;   // null: "Continuous"
    bool off;
};

const std::array<CamLayer, 18> kCamLayers = {{
    {"NC_Laser", 1, nullptr, nullptr, false},
    {"NC_Laser_Off", 1, nullptr, nullptr, true},
    {"CutT2Line", 0, &CLaserSettings::ColorProfT2Outside, nullptr, false},
    {"NoCloseLine", 0, &CLaserSettings::ColorNoCloseLine, &CLaserSettings::TypeNoCloseLine, false},
    {"EngraveLine", 0, &CLaserSettings::ColorEngraveLine, &CLaserSettings::TypeEngraveLine, false},
    {"EngraveAndMarkLine", 0, &CLaserSettings::ColorEngraveAndMarkLine, &CLaserSettings::TypeEngraveAndMarkLine,
     false},
    {"MarkLine", 0, &CLaserSettings::ColorMarkLine, &CLaserSettings::TypeMarkLine, false},
    {"HeatTreatmentLine", 0, &CLaserSettings::ColorHeatTreatmentLine, nullptr, false},
    {"CommonLine", 0, &CLaserSettings::ColorCommonLine, &CLaserSettings::TypeCommonLine, false},
    {"InsideCutLine", 0, &CLaserSettings::ColorInsideCutLine, &CLaserSettings::TypeInsideCutLine, false},
    {"JumperLine", 0, &CLaserSettings::ColorJumperLineOutside, &CLaserSettings::TypeJumperLine, false},
    {"NoLeadIn", 0, &CLaserSettings::ColorProfOutsideNL, nullptr, false},
    {"MarkPoint", 0, &CLaserSettings::ColorMarkPoint, nullptr, false},
    {"Clamp", 0, &CLaserSettings::ColorClamp, nullptr, false},
    {"MarkingText", 0, &CLaserSettings::ColorMarkingText, nullptr, false},
    {"TrimLine", 0, &CLaserSettings::ColorTrimLine, &CLaserSettings::TypeLineStock, false},
    {"HoleDrill", 0, &CLaserSettings::ColorHoleDrill, nullptr, false},
    {"Punch", 0, &CLaserSettings::ColorPunch, nullptr, false},
}};

// The line types the CAM layers and the path use, loaded in this order.
const std::array<std::string CLaserSettings::*, 10> kCamLinetypes = {
    &CLaserSettings::TypeLineMove,       &CLaserSettings::TypeLineSensorOff,  &CLaserSettings::TypeLineStock,
    &CLaserSettings::TypeNoCloseLine,    &CLaserSettings::TypeEngraveLine,    &CLaserSettings::TypeEngraveAndMarkLine,
    &CLaserSettings::TypeMarkLine,       &CLaserSettings::TypeCommonLine,     &CLaserSettings::TypeInsideCutLine,
    &CLaserSettings::TypeJumperLine,
};

// A colour setting read as an integer; a text that is no colour index gives the fallback colour.
int ColorIndexOf(const std::string& text) {
    int value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    while (first < last && *first == ' ') ++first;
    auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || value < 1 || value > 255) return kFallbackLayerColor;
    return value;
}

// The installation's line-type file for the unit: inches or millimetres.
std::filesystem::path LinetypeFile(const CLaserSettings& settings, int unit) {
    std::string folder = settings.DirInstall;
    for (char& c : folder)
        if (c == '\\') c = '/';
    const std::string_view file = unit == 1 ? kLinetypeFileInches : kLinetypeFileMillimetres;
    if (folder.empty()) return std::filesystem::path(file);   // taken within the installation folder
    return std::filesystem::path(folder) / file;
}

bool DrawingHasLinetype(std::string_view name) {
    host::db::Database* db = host::db::workingDatabase();
    return db && !db->recordId(host::db::TableKind::Linetype, name).isNull();
}

// Loads the CAM line types the drawing lacks. A line type that fails is printed every time; the first time in this
// session it also goes into one message box with the others that fail with it, so that it is seen.
void LoadCamLinetypes(const CLaserSettings& settings, int unit) {
    static std::set<std::string> reported;
    const std::filesystem::path file = LinetypeFile(settings, unit);
    std::string unreported;
    for (auto member : kCamLinetypes) {
        const std::string& name = settings.*member;
        if (name.empty() || DrawingHasLinetype(name) || LoadLinetype(name, file)) continue;
        PrintText("\n" + FormatLocalized(kMsgCannotLoadLinetype, name.c_str()));
        if (!reported.insert(host::sys::upperCase(name)).second) continue;
        unreported += (unreported.empty() ? "" : ", ") + name;
    }
    if (unreported.empty()) return;
    host::ui::messageBox(FormatLocalized(kMsgLinetypesNotLoaded, file.string().c_str(), unreported.c_str()), {},
                         host::ui::MB_OK | host::ui::MB_ICONWARNING);
}

void MakeCamLayers(const CLaserSettings& settings) {
    for (const CamLayer& layer : kCamLayers) {
        const int color = layer.colorSetting ? ColorIndexOf(settings.*layer.colorSetting) : layer.fixedColor;
        const std::string_view linetype = layer.linetypeSetting ? std::string_view(settings.*layer.linetypeSetting)
                                                                : kContinuous;
        CreateLayerWithColor(layer.name, host::db::Color::fromIndex(color), linetype, layer.off);
    }
}

// The stored job texts of the drawing: "Kstr_ST" texts on "NC_Laser" at the origin, in selection order.
std::vector<ObjectId> SelectJobTexts() {
    const ResBufList filter = {
        ResBuf(-4, "<and"),
        ResBuf(0, "TEXT"),
        ResBuf(8, std::string(kJobLayer)),
        ResBuf(10, host::ge::Point3d{0.0, 0.0, 0.0}),
        ResBuf(1, std::string(kJobSettingsText)),
        ResBuf(-4, "and>"),
    };
    host::db::EntityName set;
    if (host::ed::ssGet("_X", nullptr, nullptr, &filter, set) != host::db::RTNORM) return {};
    std::vector<ObjectId> ids = host::ed::selectionIds(set);
    host::ed::ssFree(set);
    return ids;
}

void EraseText(ObjectId id) {
    ObjectPtr<host::db::DbObject> object(id, OpenMode::Write);
    if (object) object->erase();
}

std::optional<double> RealItem(const ResBufList& list, std::size_t i) {
    if (i < list.size() && list[i].code == 1040 && std::holds_alternative<double>(list[i].value))
        return std::get<double>(list[i].value);
    return std::nullopt;
}
std::optional<std::int64_t> LongItem(const ResBufList& list, std::size_t i) {
    if (i < list.size() && list[i].code == 1071 && std::holds_alternative<std::int64_t>(list[i].value))
        return std::get<std::int64_t>(list[i].value);
    return std::nullopt;
}
std::optional<std::uint64_t> HandleItem(const ResBufList& list, std::size_t i) {
    if (i < list.size() && list[i].code == 1000 && std::holds_alternative<std::string>(list[i].value))
        if (auto h = host::db::Handle::parse(std::get<std::string>(list[i].value))) return h->value;
    return std::nullopt;
}

// The first of the texts that can be opened for write and carries "Kstr" data, with that data; with
// `nestingMarkerFirst`, the first nesting-result marker among them when there is one (a drawing whose job was
// started before the nesting module drew a sheet into it holds both).
struct FoundJobText {
    ObjectId id;
    ResBufList list;
};

std::optional<FoundJobText> FindJobText(bool nestingMarkerFirst = false) {
    std::optional<FoundJobText> first;
    for (ObjectId id : SelectJobTexts()) {
        if (id.isNull() || id.isErased()) continue;
        ObjectPtr<host::db::Text> text(id, OpenMode::Write);
        if (!text) continue;
        ResBufList list = text->xData(kJobXDataApp);
        if (list.empty()) continue;
        const bool marker = (LongItem(list, 2).value_or(0) & 0xFF) == kSlotNesting;
        if (!nestingMarkerFirst || marker) return FoundJobText{id, std::move(list)};
        if (!first) first = FoundJobText{id, std::move(list)};
    }
    return first;
}

// The job's counters and status of a nesting-result marker as the slot takes them.
void TakeMarkerMaterial(DrawingSlot& slot, const NestResultMarker& marker) {
    if (marker.materialName) SetSlotText(slot.materialName, *marker.materialName, kSlotMaterialNameChars);
    if (marker.materialNumber) SetSlotText(slot.materialNumber, *marker.materialNumber, kSlotMaterialNumberChars);
    if (marker.density) slot.density = *marker.density;
    if (marker.thickness) slot.thickness = *marker.thickness;
}

// The name of a drawing's $INSUNITS, or nullptr for a drawing without units (0) or in units of which nothing is
// said (micro-inches, parsecs...).
const TwoLanguageText* DrawingUnitsName(int insUnits) {
    switch (insUnits) {
        case 1: return &kUnitNameInches;
        case 2: return &kUnitNameFeet;
        case 4: return &kUnitNameMillimetres;
        case 5: return &kUnitNameCentimetres;
        case 6: return &kUnitNameMetres;
        default: return nullptr;
    }
}

const TwoLanguageText& UnitName(int unit) { return unit == 1 ? kUnitNameInches : kUnitNameMillimetres; }

// Said once, as a new job of the working drawing is made: the job's unit when it is not the Unit setting's (the
// drawing's own), or that the drawing's units are none a machine works in.
void SayNewJobUnit(const CLaserSettings& settings, const CuttingJob& job) {
    const host::db::Database* db = host::db::workingDatabase();
    if (db == nullptr) return;
    const TwoLanguageText* drawing = DrawingUnitsName(db->header().insUnits);
    if (drawing == nullptr) return;
    if (job.unit != settings.Unit) {
        PrintLocalized(kMsgJobUnitOfDrawing, Localized(*drawing), Localized(UnitName(job.unit)),
                       Localized(UnitName(settings.Unit)));
    } else if (drawing != &kUnitNameInches && drawing != &kUnitNameMillimetres) {
        PrintLocalized(kMsgJobUnitOfSetting, Localized(*drawing), Localized(UnitName(job.unit)));
    }
}

// The material of a nesting result, as the slot holds it, becomes the job's.
void TakeSlotMaterial(CuttingJob& job, const DrawingSlot& slot) {
    job.material = slot.materialName;
    job.materialNumber = slot.materialNumber;
    job.density = slot.density;
    job.thickness = slot.thickness;
}

void GiveJobId(CLaserSettings& settings, DrawingSlot& slot) {
    slot.jobId = settings.NextJobId;
    settings.NextJobId += 1;
}

}  // namespace

int PrepareDrawingJob(CLaserSettings& settings) {
    SetSysVarInt("PELLIPSE", 1);
    SetSysVarInt("PEDITACCEPT", 0);
    SetSysVarInt("PLINECONVERTMODE", 1);

    bool changed = false;
    const int index = IdentifyDrawing(settings, changed);
    if (index == kNoDrawingSlot) {
        PrintLocalized(kMsgDrawingNotTracked);
        return -1;
    }
    settings.CurrentDrawingSlot = index;
    DrawingSlot& slot = *CurrentSlot(settings);

    if (slot.status == kSlotNesting) {
        ExplodeAllBlockReferences();
        InitCuttingJob(settings);
        TakeSlotMaterial(*slot.job, slot);
        // a new job gets its own id, so that no two drawings ever share one
        GiveJobId(settings, slot);
    } else if (slot.status == kSlotNoJob) {
        InitCuttingJob(settings);
        GiveJobId(settings, slot);
        SayNewJobUnit(settings, *slot.job);
    }

    LoadCamLinetypes(settings, slot.job ? slot.job->unit : settings.Unit);
    MakeCamLayers(settings);
    SetCurrentLayer("0");
    WriteJobData(settings);
    return 0;
}

int WriteJobData(CLaserSettings& settings) {
    CuttingJob* job = CurrentJob(settings);
    if (!job) return -1;
    WriteDrawingTag(settings);
    const std::size_t stored = std::min(job->contours.size(), static_cast<std::size_t>(std::max(job->contourCount, 0)));
    for (std::size_t i = 0; i < stored; ++i) {
        ContourRecord& r = job->contours[i];
        switch (r.kind) {
            case ContourKind::EngraveLine:
            case ContourKind::NoLeadIn:
            case ContourKind::HeatTreatmentLine:
            case ContourKind::EngraveAndMarkLine:
            case ContourKind::MarkLine: r.closure = kClosureNoLeads; break;
            default: break;
        }
    }
    WriteContourDirectory(settings);
    WritePathSummary(settings);
    WriteJobSettings(settings);
    return 0;
}

int ReadJobData(CLaserSettings& settings) {
    DrawingSlot* slot = CurrentSlot(settings);
    if (!slot) return -1;
    if (!slot->job) InitCuttingJob(settings);
    const std::optional<JobDataVersion> version = JobDataVersionOf(slot->dataVersion);
    if (!version) return 0;
    int failed = 0;
    switch (*version) {
        case JobDataVersion::V2005:
            failed = ReadJobSettings2005(settings) || ReadPathSummary2005(settings) ||
                     ReadContourDirectory2005(settings);
            break;
        case JobDataVersion::V2008:
            failed = ReadJobSettings2008(settings) || ReadPathSummary2008(settings) ||
                     ReadContourDirectory2008(settings);
            break;
        case JobDataVersion::V200801:
            failed = ReadJobSettings200801(settings) || ReadPathSummary200801(settings) ||
                     ReadContourDirectory200801(settings);
            break;
    }
    if (!failed) return 0;
    EraseJobTexts(settings);
    InitCuttingJob(settings);
    host::ui::messageBox(Localized(kMsgErrorReadingContours), {}, host::ui::MB_OK);
    return -1;
}

int LoadJobTexts(CLaserSettings& settings) {
    int segments = 0;
    if (GetSysVarInt("SPLINESEGS", segments) == host::db::RTNORM && segments < kMinSplineSegments)
        SetSysVarInt("SPLINESEGS", kMinSplineSegments);
    DrawingSlot* slot = CurrentSlot(settings);
    if (!slot) return 0;

    std::optional<FoundJobText> found = FindJobText();
    if (!found) return 0;
    const ResBufList& list = found->list;
    slot->settingsTextName = host::db::idToName(found->id);

    const std::optional<double> stored = RealItem(list, 1);
    const std::optional<JobDataVersion> version =
        stored ? JobDataVersionOf(static_cast<float>(*stored)) : std::nullopt;
    if (!version) {
        host::ui::messageBox(Localized(kMsgRecreateContours), {}, host::ui::MB_OK | host::ui::MB_ICONSTOP);
        EraseText(found->id);
        slot->settingsTextName = {};
        slot->status = kSlotNoJob;
        return -1;
    }
    slot->dataVersion = static_cast<float>(*stored);
    slot->status = static_cast<std::int8_t>(LongItem(list, 2).value_or(0) & 0xFF);

    if (slot->status != kSlotNesting) {
        // the text found is the one the record describes; the summary's handle comes from the record
        slot->settingsTextHandle = found->id.handle().value;
        slot->summaryTextHandle = HandleItem(list, 4).value_or(0);
    } else {
        const NestResultMarker marker = ReadNestResultMarker(list);
        if (marker.materialName) SetSlotText(slot->materialName, *marker.materialName, kSlotMaterialNameChars);
        if (*version != JobDataVersion::V2005) {
            TakeMarkerMaterial(*slot, marker);
        } else if (settings.Material == slot->materialName) {
            SetSlotText(slot->materialNumber, settings.Material_Num, kSlotMaterialNumberChars);
            slot->density = settings.Density;
            slot->thickness = settings.Thin;
        } else {
            if (marker.density) slot->density = *marker.density;
            if (marker.thickness) slot->thickness = *marker.thickness;
            slot->materialNumber = "0";
            host::ui::messageBox(Localized(kMsgErrorReadingMaterial), {}, host::ui::MB_OK);
        }
    }

    if (slot->status == kSlotJob) {
        if (ReadJobData(settings) != 0) {
            slot->status = kSlotNoJob;
        } else {
            GiveJobId(settings, *slot);
            slot->changeCounter = 0;
            WriteDrawingTag(settings);
            WritePathSummary(settings);
            LoadPostprocessorRuntime();
        }
    } else if (slot->status == kSlotNesting) {
        GiveJobId(settings, *slot);
        slot->changeCounter = 0;
        WriteDrawingTag(settings);
    }
    return 0;
}

int CollectJobTexts(CLaserSettings& settings) {
    DrawingSlot* slot = CurrentSlot(settings);
    if (!slot) return 0;
    if (slot->locked) {
        std::string name = slot->materialName, number = slot->materialNumber;
        settings.ReadLastNestingMaterial(name, number, slot->density, slot->thickness);
        SetSlotText(slot->materialName, name, kSlotMaterialNameChars);
        SetSlotText(slot->materialNumber, number, kSlotMaterialNumberChars);
        return 0;
    }
    // A nested sheet is taken for one whenever its marker is met, also when a job was started in the drawing
    // before the sheet was drawn into it.
    std::optional<FoundJobText> found = FindJobText(true);
    if (!found) return 0;
    const ResBufList& list = found->list;
    slot->status = static_cast<std::int8_t>(LongItem(list, 2).value_or(0) & 0xFF);
    if (slot->status != kSlotNesting) {
        slot->settingsTextName = host::db::idToName(found->id);
        slot->settingsTextHandle = found->id.handle().value;
        slot->summaryTextHandle = HandleItem(list, 4).value_or(0);
    } else {
        // The erased marker is no settings text of the slot: the next command must find the slot still holding
        // a nesting result (and start its job with the sheet's material), not a job whose text was lost.
        if (host::db::nameToId(slot->settingsTextName) == found->id) slot->settingsTextName = {};
        EraseText(found->id);
        TakeMarkerMaterial(*slot, ReadNestResultMarker(list));
        // A job started for the drawing before the marker was met is cut as the sheet's material too.
        if (slot->job) TakeSlotMaterial(*slot->job, *slot);
    }
    return slot->status;
}

int EraseJobTexts(CLaserSettings& settings) {
    DrawingSlot* slot = CurrentSlot(settings);
    host::db::Database* db = host::db::workingDatabase();
    if (!slot || !db) return 0;
    for (std::uint64_t* handle : {&slot->directoryTextHandle, &slot->summaryTextHandle, &slot->settingsTextHandle}) {
        if (*handle == 0) continue;
        EraseText(db->idFromHandle(host::db::Handle(*handle)));
        *handle = 0;
    }
    return 0;
}

int OnLoadDrawing(CLaserSettings& settings) {
    host::db::Database* db = host::db::workingDatabase();
    if (!db) return 0;
    // What the load does is the module's own bookkeeping (the tag cleared, the job read, its texts brought up to
    // date): a drawing the user has not touched stays unchanged and is not offered for saving at quit. Before,
    // every drawing opened with the module loaded asked to be saved, and saving rewrote the user's file. The
    // application that marks the job's extended data is registered when the job is first written, not here.
    const bool wasModified = db->isModified();
    // a tag stored when the drawing was last open is discarded
    std::string tag;
    if (GetSysVarString("PROJECTNAME", tag) == host::db::RTNORM && !tag.empty()) SetSysVarString("PROJECTNAME", "");
    CreateDrawingSlot(settings);
    if (!wasModified && host::db::workingDatabase() == db) db->clearModified();
    return 0;
}

int OnDrawingUndone(CLaserSettings& settings) {
    host::db::Database* db = host::db::workingDatabase();
    if (!db) return -1;
    const int index = SlotOfDrawing(settings, db->serial());
    if (index == kNoDrawingSlot) return -1;
    DrawingSlot& slot = *settings.DrawingSlots[static_cast<std::size_t>(index)];
    // A drawing marked as the start of a nesting holds no job to follow; its mark stays.
    if (slot.locked) return 0;
    settings.CurrentDrawingSlot = index;
    // Before, the job kept the path an UNDO had taken away: NCCreate wrote an empty program and said it was
    // created, and the next NCSliceAuto failed on path groups that were no longer there.
    slot.job.reset();
    slot.status = kSlotNoJob;
    slot.dataVersion = 0.0f;
    slot.changeCounter = 0;
    slot.settingsTextName = {};
    slot.settingsTextHandle = 0;
    slot.summaryTextHandle = 0;
    slot.directoryTextHandle = 0;
    LoadJobTexts(settings);
    // A drawing left without a job keeps no tag that could tie it to the job it had.
    if (slot.status == kSlotNoJob) SetSysVarString("PROJECTNAME", "");
    return 0;
}

int OnUnloadDrawing(CLaserSettings& settings) {
    host::db::Database* db = host::db::workingDatabase();
    if (!db) return 0;
    const int index = SlotOfDrawing(settings, db->serial());
    if (index != kNoDrawingSlot) FreeDrawingSlot(settings, index);
    return 0;
}

int OnSaveDrawing(CLaserSettings& settings) {
    host::db::Database* db = host::db::workingDatabase();
    if (!db) return 0;
    // Only a drawing that has a cutting job has anything to bring up to date; a drawing without one (or a nested
    // sheet not yet worked on) is saved as it is. The job and its texts stay: the file carries the job.
    const int index = SlotOfDrawing(settings, db->serial());
    if (index == kNoDrawingSlot) return 0;
    const DrawingSlot& slot = *settings.DrawingSlots[static_cast<std::size_t>(index)];
    if (slot.status != kSlotJob || !slot.job) return 0;
    // The preparation makes "0" current, as every command of the module starts; a save is no command, and the
    // file keeps the layer the user was drawing on.
    std::string currentLayer;
    const bool layerKnown = GetSysVarString("CLAYER", currentLayer) == host::db::RTNORM;
    PrepareDrawingJob(settings);
    if (layerKnown) SetCurrentLayer(currentLayer);
    return 0;
}
