// The job stored in the drawing: finding and making its texts, and writing and reading its records in the three
// versions.
//
// Index of this file: texts and lists; flags and stored contours; writers; job settings readers; path summary
// readers; contour readers; the nesting marker.
#include "laser/job/job_records.h"

#include <cmath>
#include <memory>
#include <numbers>

#include "cadlib/entity_access.h"
#include "cadlib/entity_creation.h"
#include "cadlib/layers.h"
#include "cadlib/numbers.h"
#include "host/db/database.h"
#include "laser/job/job_messages.h"
#include "laser/settings/laser_settings.h"

using host::db::Database;
using host::db::Handle;
using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::ResBuf;
using host::db::ResBufList;
using host::db::Status;
using host::db::Text;
using host::ge::Point3d;

namespace {

// ===================================================================== texts and lists

constexpr int kCodeApp = kStoredCodeApp;
constexpr int kCodeText = kStoredCodeText;
constexpr int kCodePoint = kStoredCodePoint;
constexpr int kCodeReal = kStoredCodeReal;
constexpr int kCodeLong = kStoredCodeLong;

// Attempts at making a head or batch text that can then be opened.
constexpr int kTextCreationAttempts = 3;

double FiniteOrZero(double v) { return std::isfinite(v) ? v : 0.0; }

Point3d FinitePoint(const Point3d& p) { return {FiniteOrZero(p.x), FiniteOrZero(p.y), FiniteOrZero(p.z)}; }

// At most `maxChars` characters of `text`, never cut inside a character.
std::string CutText(const std::string& text, std::size_t maxChars) {
    std::string out;
    SetSlotText(out, text, maxChars);
    return out;
}

// Adds "Kstr" to the drawing's application table unless it is there.
Status RegisterJobApp(Database& db) {
    if (!db.recordId(host::db::TableKind::RegApp, kJobXDataApp).isNull()) return Status::Ok;
    ObjectPtr<host::db::SymbolTable> apps(db.tableId(host::db::TableKind::RegApp), OpenMode::Write);
    if (!apps) return apps.status();
    return apps->add(std::make_unique<host::db::RegAppTableRecord>(std::string(kJobXDataApp)));
}

// Makes one invisible job text at the origin on the current layer and answers its id (null when refused).
ObjectId MakeJobText(std::string_view string) {
    Database* db = host::db::workingDatabase();
    if (!db) return {};
    auto text = std::make_unique<Text>(Point3d{0.0, 0.0, 0.0}, std::string(string), 0.0, 0.0);
    text->setVisible(false);
    ObjectId style = db->recordId(host::db::TableKind::TextStyle, "Standard");
    if (!style.isNull()) text->setTextStyle(style);
    ObjectId id;
    AppendToModelSpace(id, std::move(text), db);
    return id;
}

// True when `id` names a text that can be opened for write now.
bool CanOpenText(ObjectId id) {
    if (id.isNull() || id.database() == nullptr) return false;
    // asked without opening: an open for write would count as a change of the drawing, undone by UNDO
    if (id.database()->writeOpenStatus(id) != Status::Ok) return false;
    return dynamic_cast<const Text*>(id.database()->peek(id)) != nullptr;
}

// Makes "NC_Laser" current, creating it when the drawing lacks it.
void MakeJobLayerCurrent() {
    if (SetCurrentLayer(kJobLayer) == host::db::RTNORM) return;
    CreateLayer(kJobLayer, 1, "Continuous", false);
    SetCurrentLayer(kJobLayer);
}

// Finds the head text that `handle` names, or makes it (on "NC_Laser") when the handle is 0, names nothing or
// the text cannot be opened; the handle then names the new text. Null when no text could be made.
ObjectId FindOrMakeHeadText(std::uint64_t& handle, std::string_view string) {
    ObjectId id = IdOfHandle(handle);
    if (CanOpenText(id)) return id;
    for (int attempt = 0; attempt < kTextCreationAttempts; ++attempt) {
        MakeJobLayerCurrent();
        id = MakeJobText(string);
        if (CanOpenText(id)) {
            handle = id.handle().value;
            return id;
        }
    }
    return {};
}

// A batch text made on the current layer; null when none could be made.
ObjectId MakeBatchText() {
    for (int attempt = 0; attempt < kTextCreationAttempts; ++attempt) {
        ObjectId id = MakeJobText(kContourTableText);
        if (CanOpenText(id)) return id;
    }
    return {};
}

// The text's "Kstr" list, or a new list holding the 1001 item alone.
ResBufList TakeOrStartList(ObjectId id) {
    ObjectPtr<Text> text(id, OpenMode::Read);
    ResBufList list;
    if (text) list = text->xData(kJobXDataApp);
    if (list.empty()) list.emplace_back(kCodeApp, std::string(kJobXDataApp));
    return list;
}

// Sets the list as the text's "Kstr" data. -1 (the user told when the drawing refused the application) on failure.
int SetList(ObjectId id, const ResBufList& list) {
    // A text that holds the list already is left as it is: a save or a command that writes the job unchanged
    // would otherwise leave an undo step that takes back nothing, and mark the drawing changed.
    if (ObjectPtr<Text> held(id, OpenMode::Read); held && held->xData(kJobXDataApp) == list) return 0;
    ObjectPtr<Text> text(id, OpenMode::Write);
    if (!text) return -1;
    Status s = text->setXData(list);
    if (s == Status::RegAppNotFound && RegisterJobApp(*id.database()) == Status::Ok) s = text->setXData(list);
    if (s == Status::RegAppNotFound) PrintText(std::string(Localized(kMsgApplicationNotRegistered)) + "\n\r");
    return s == Status::Ok ? 0 : -1;
}

// The "Kstr" list of the text that `handle` names; nullopt when the text is missing or cannot be opened.
std::optional<StoredList> ReadTextList(std::uint64_t handle) {
    ObjectId id = IdOfHandle(handle);
    if (id.isNull()) return std::nullopt;
    ObjectPtr<Text> text(id, OpenMode::Read);
    if (!text) return std::nullopt;
    return StoredList(text->xData(kJobXDataApp));
}

void AppendHandlePair(ResBufList& list, std::uint64_t handle) {
    const Handle h(handle);
    list.emplace_back(kCodeLong, static_cast<std::int64_t>(static_cast<std::int32_t>(h.high())));
    list.emplace_back(kCodeLong, static_cast<std::int64_t>(static_cast<std::int32_t>(h.low())));
}

void AppendLong(ResBufList& list, std::int64_t value) {
    list.emplace_back(kCodeLong, static_cast<std::int64_t>(static_cast<std::int32_t>(value)));
}
void AppendCounter(ResBufList& list, std::uint32_t value) {
    list.emplace_back(kCodeLong, static_cast<std::int64_t>(static_cast<std::int32_t>(value)));
}
void AppendReal(ResBufList& list, double value) { list.emplace_back(kCodeReal, FiniteOrZero(value)); }
void AppendPoint(ResBufList& list, const Point3d& p) { list.emplace_back(kCodePoint, FinitePoint(p)); }
void AppendString(ResBufList& list, const std::string& text, std::size_t maxChars) {
    list.emplace_back(kCodeText, CutText(text, maxChars));
}

struct SlotAndJob {
    DrawingSlot* slot = nullptr;
    CuttingJob* job = nullptr;
    explicit operator bool() const { return slot && job; }
};

SlotAndJob Current(CLaserSettings& settings) {
    SlotAndJob sj;
    sj.slot = CurrentSlot(settings);
    if (sj.slot) sj.job = sj.slot->job.get();
    return sj;
}

}  // namespace

// ===================================================================== writers

int RegisterJobApplication() {
    Database* db = host::db::workingDatabase();
    return db && RegisterJobApp(*db) == Status::Ok ? 0 : -1;
}

int WriteJobSettings(CLaserSettings& settings) {
    SlotAndJob cur = Current(settings);
    if (!cur) return -1;
    DrawingSlot& slot = *cur.slot;
    CuttingJob& job = *cur.job;
    job.dataVersion = kJobDataVersionWritten;
    TakeMachineSettings(job, settings);

    ObjectId id = FindOrMakeHeadText(slot.settingsTextHandle, kJobSettingsText);
    if (id.isNull()) return -1;
    slot.settingsTextName = host::db::idToName(id);

    ResBufList list = TakeOrStartList(id);
    list.resize(1);
    AppendReal(list, job.dataVersion);
    AppendLong(list, slot.status);
    list.emplace_back(kCodeText, Handle(slot.settingsTextHandle).text());
    list.emplace_back(kCodeText, Handle(slot.summaryTextHandle).text());
    list.emplace_back(kCodeText, Handle(slot.directoryTextHandle).text());
    AppendLong(list, job.unit);
    AppendString(list, job.material, kStoredMaterialChars);
    AppendString(list, job.materialNumber, kStoredMaterialNumberChars);
    AppendString(list, job.materialFolder, kStoredMaterialFolderChars);
    AppendString(list, job.programName, kStoredProgramNameChars);
    AppendString(list, job.machineType, kStoredMachineTypeChars);
    AppendString(list, job.postprocessor, kStoredPostprocessorChars);
    AppendString(list, job.postprocessorFolder, kStoredPostprocessorFolderChars);
    for (double v : {job.feedCut, job.feedEngrave, job.feedHeatTreatment, job.feedRapid, job.timeLaserOnOff,
                     job.toolDiameter, job.leadInSpan, job.leadOutSpan, job.leadAngle})
        AppendReal(list, v);
    AppendPoint(list, job.extentsMin);
    AppendPoint(list, job.extentsMax);
    for (double v : {job.thickness, job.density, job.reservedReal1, job.reservedReal2, job.reservedReal3,
                     job.netArea, job.partArea, job.stockArea})
        AppendReal(list, v);
    AppendCounter(list, job.reservedCounter);
    AppendLong(list, job.contourCount);
    for (std::uint32_t v : {job.baseInner, job.baseOuter, job.tool2Inner, job.tool2Outer, job.unclosedCount,
                            job.stockCount, job.stockInner, job.stockOuter, job.noCloseCount, job.engraveCount,
                            job.engraveMarkCount, job.markCount, job.heatCount, job.commonCount,
                            job.insideCutCount, job.jumperLineOuter, job.jumperLineInner, job.noLeadInOuter,
                            job.noLeadInInner, job.jumperPointCount, job.markPointCount, 0u, 0u, 0u,
                            job.homeGroupPresent})
        AppendCounter(list, v);
    // an empty drawing's fill ratio (0/0) is stored as 0
    AppendReal(list, job.partFillRatio);
    return SetList(id, list);
}

int WritePathSummary(CLaserSettings& settings) {
    SlotAndJob cur = Current(settings);
    if (!cur) return -1;
    const CuttingJob& job = *cur.job;
    ObjectId id = FindOrMakeHeadText(cur.slot->summaryTextHandle, kPathSummaryText);
    if (id.isNull()) return -1;
    ResBufList list = TakeOrStartList(id);
    list.resize(1);
    AppendLong(list, cur.slot->jobId);
    AppendLong(list, job.pathGroupCount);
    AppendPoint(list, job.pathStartPoint);
    AppendPoint(list, job.currentPoint);
    AppendLong(list, job.penState);
    AppendLong(list, job.startAtHome);
    AppendPoint(list, job.homePoint);
    for (double v : {job.totalCutLength, job.totalCutT2Length, job.totalEngraveLength, job.totalEngraveMarkLength,
                     job.totalMarkLength, job.totalHeatLength, job.totalRapidLength, job.totalSeconds})
        AppendReal(list, v);
    AppendLong(list, cur.slot->changeCounter);
    return SetList(id, list);
}

int WriteContourDirectory(CLaserSettings& settings) {
    SlotAndJob cur = Current(settings);
    if (!cur) return -1;
    const CuttingJob& job = *cur.job;
    ObjectId head = FindOrMakeHeadText(cur.slot->directoryTextHandle, kContourTableText);
    if (head.isNull()) return -1;
    ResBufList list = TakeOrStartList(head);
    StoredList pairs(list);

    const int count = std::max(job.contourCount, 0);
    std::size_t used = 1;   // items of the list in use: the 1001 item, then the pairs written so far
    int result = 0;
    for (int first = 0; first <= count; used += 2) {
        std::uint64_t handle = 0;
        const bool listed = pairs.Has(used, kCodeLong) && pairs.Has(used + 1, kCodeLong);
        if (listed) handle = pairs.HandlePair(used);
        if (!listed || !CanOpenText(IdOfHandle(handle))) {
            // a missing or unusable batch text is made anew, so its records are never lost
            ObjectId batch = MakeBatchText();
            if (batch.isNull()) return -1;
            handle = batch.handle().value;
            ResBufList pair;
            AppendHandlePair(pair, handle);
            if (list.size() < used + 2) list.resize(used + 2);
            list[used] = pair[0];
            list[used + 1] = pair[1];
        }
        const int last = std::min(first + kContoursPerBatch - 1, count);
        if (WriteContourBatch(settings, handle, first, last) != 0) result = -1;
        first = last + 1;
    }
    list.resize(used);   // pairs of an older, longer directory are dropped; their texts stay
    if (SetList(head, list) != 0) return -1;
    return result;
}

int WriteContourBatch(CLaserSettings& settings, std::uint64_t batchHandle, int first, int last) {
    SlotAndJob cur = Current(settings);
    if (!cur) return -1;
    const CuttingJob& job = *cur.job;
    ObjectId id = IdOfHandle(batchHandle);
    if (!CanOpenText(id)) return -1;
    ResBufList list = TakeOrStartList(id);
    const bool hasTable = job.contours.size() == static_cast<std::size_t>(job.contourCount) + 1;
    if (job.contourCount > 0 && first <= last && hasTable && first >= 0 && last <= job.contourCount) {
        list.resize(1);
        for (int i = first; i <= last; ++i) AppendStoredContour(list, job.contours[static_cast<std::size_t>(i)]);
    }
    return SetList(id, list);
}

// ===================================================================== job settings readers

namespace {

// Where the items of one JobSettingsRecord version stand.
struct SettingsLayout {
    JobDataVersion version;
    std::size_t minItems;        // through homeGroupPresent
    std::size_t extents;         // extentsMin; extentsMax follows
    std::size_t thickness;       // thickness, density follow
    std::size_t reservedReals;   // how many reserved reals follow density
    std::size_t contourCount;
    std::size_t homeGroup;
    std::size_t fillRatio;
};

constexpr SettingsLayout kLayout2005 = {JobDataVersion::V2005, 37, 20, 22, 1, 29, 36, 37};
constexpr SettingsLayout kLayout2008 = {JobDataVersion::V2008, 59, 23, 25, 3, 34, 58, 59};
constexpr SettingsLayout kLayout200801 = {JobDataVersion::V200801, 60, 23, 25, 3, 34, 59, 60};

// A stored thickness or density is taken only when it lies within a factor of 1000 of the value in hand.
void TakePlausible(double stored, double& value) {
    if (stored > 0.0 && stored > value / 1000.0 && stored < value * 1000.0) value = stored;
}

bool NamesMaterialFile(const std::string& text) {
    const auto at = [&](std::string_view ext) {
        const auto pos = text.find(ext);
        return pos != std::string::npos && pos >= 1;
    };
    return at(".MAT") || at(".mat");
}

int ReadJobSettings(CLaserSettings& settings, const SettingsLayout& layout) {
    SlotAndJob cur = Current(settings);
    if (!cur) return -1;
    DrawingSlot& slot = *cur.slot;
    CuttingJob& job = *cur.job;
    auto stored = ReadTextList(slot.settingsTextHandle);
    if (!stored || stored->size() < layout.minItems) return -1;
    StoredList& l = *stored;
    const JobDataVersion v = layout.version;

    const double version = l.Real(1);
    const auto status = static_cast<std::int8_t>(l.Long(2));
    const std::uint64_t settingsHandle = l.HandleText(3);
    const std::uint64_t summaryHandle = l.HandleText(4);
    const std::uint64_t directoryHandle = l.HandleText(5);
    const int unit = l.Long(6);
    const std::string material = l.String(7);
    const std::string materialNumber = v == JobDataVersion::V2005 ? std::string() : l.String(8);
    const std::string programName = l.String(v == JobDataVersion::V2005 ? 9 : 10);
    std::string machineType = settings.TypeMachine;
    if (v == JobDataVersion::V2008) machineType = l.String(11);
    if (v == JobDataVersion::V2005) machineType = l.String(10);
    const Point3d extMin = l.Point(layout.extents), extMax = l.Point(layout.extents + 1);
    const double thickness = l.Real(layout.thickness), density = l.Real(layout.thickness + 1);
    std::size_t i = layout.thickness + 2;
    double reserved[3] = {job.reservedReal1, job.reservedReal2, job.reservedReal3};
    for (std::size_t r = 0; r < layout.reservedReals; ++r) reserved[r] = l.Real(i++);
    const double netArea = l.Real(i), partArea = l.Real(i + 1), stockArea = l.Real(i + 2);
    const std::uint32_t reservedCounter = l.Counter(layout.contourCount - 1);
    const int contourCount = l.Long(layout.contourCount);
    if (!l.ok()) return -1;
    // a count the stored data cannot hold is refused before anything is made from it
    if (contourCount < 0 || contourCount > kMaxStoredContourCount) return -1;

    CuttingJob counts = job;
    std::size_t c = layout.contourCount + 1;
    counts.baseInner = l.Counter(c++);
    counts.baseOuter = l.Counter(c++);
    if (v != JobDataVersion::V2005) {
        counts.tool2Inner = l.Counter(c++);
        counts.tool2Outer = l.Counter(c++);
    }
    counts.unclosedCount = l.Counter(c++);
    counts.stockCount = l.Counter(c++);
    counts.stockInner = l.Counter(c++);
    counts.stockOuter = l.Counter(c++);
    if (v != JobDataVersion::V2005) {
        for (std::uint32_t* f : {&counts.noCloseCount, &counts.engraveCount, &counts.engraveMarkCount,
                                 &counts.markCount, &counts.heatCount, &counts.commonCount})
            *f = l.Counter(c++);
        if (v == JobDataVersion::V200801) counts.insideCutCount = l.Counter(c++);
        for (std::uint32_t* f : {&counts.jumperLineOuter, &counts.jumperLineInner, &counts.noLeadInOuter,
                                 &counts.noLeadInInner, &counts.jumperPointCount, &counts.markPointCount})
            *f = l.Counter(c++);
    }
    counts.homeGroupPresent = l.Counter(layout.homeGroup);
    if (l.Has(layout.fillRatio, kCodeReal)) counts.partFillRatio = l.Real(layout.fillRatio);
    if (!l.ok()) return -1;

    job.dataVersion = version;
    slot.status = status;
    slot.settingsTextHandle = settingsHandle;
    slot.summaryTextHandle = summaryHandle;
    slot.directoryTextHandle = directoryHandle;
    job.unit = unit;
    if (NamesMaterialFile(material)) job.material = material;
    if (v != JobDataVersion::V2005) job.materialNumber = materialNumber;
    job.programName = programName;
    job.machineType = machineType;
    // the feeds and lead values are always the settings in hand, whatever the drawing stored
    job.postprocessor = settings.Postprocessor;
    job.feedCut = settings.FeedCut;
    job.feedRapid = settings.FeedRapid;
    job.timeLaserOnOff = settings.TimeLaserOnOff;
    job.toolDiameter = ConvertUnits(settings.Unit, unit, settings.DiameterTool);
    job.leadInSpan = ConvertUnits(settings.Unit, unit, settings.LeadInSpan);
    job.leadOutSpan = ConvertUnits(settings.Unit, unit, settings.LeadOutSpan);
    job.leadAngle = settings.Angle;
    job.leadAngleRad = settings.Angle * std::numbers::pi / 180.0;
    // the old records store no engraving or heat-treatment feed of use either: all three readers take them
    job.feedEngrave = settings.EngraveCut;
    job.feedHeatTreatment = settings.HeatTreatmentCut;
    job.extentsMin = extMin;
    job.extentsMax = extMax;
    TakePlausible(thickness, job.thickness);
    TakePlausible(density, job.density);
    job.reservedReal1 = reserved[0];
    job.reservedReal2 = reserved[1];
    job.reservedReal3 = reserved[2];
    job.netArea = netArea;
    job.partArea = partArea;
    job.stockArea = stockArea;
    job.reservedCounter = reservedCounter;
    job.contourCount = contourCount;
    job.baseInner = counts.baseInner;
    job.baseOuter = counts.baseOuter;
    job.tool2Inner = counts.tool2Inner;
    job.tool2Outer = counts.tool2Outer;
    job.unclosedCount = counts.unclosedCount;
    job.stockCount = counts.stockCount;
    job.stockInner = counts.stockInner;
    job.stockOuter = counts.stockOuter;
    job.noCloseCount = counts.noCloseCount;
    job.engraveCount = counts.engraveCount;
    job.engraveMarkCount = counts.engraveMarkCount;
    job.markCount = counts.markCount;
    job.heatCount = counts.heatCount;
    job.commonCount = counts.commonCount;
    job.insideCutCount = counts.insideCutCount;
    job.jumperLineOuter = counts.jumperLineOuter;
    job.jumperLineInner = counts.jumperLineInner;
    job.noLeadInOuter = counts.noLeadInOuter;
    job.noLeadInInner = counts.noLeadInInner;
    job.jumperPointCount = counts.jumperPointCount;
    job.markPointCount = counts.markPointCount;
    job.homeGroupPresent = counts.homeGroupPresent;
    job.partFillRatio = counts.partFillRatio;
    return 0;
}

// ===================================================================== path summary readers

int ReadPathSummary(CLaserSettings& settings, JobDataVersion v) {
    SlotAndJob cur = Current(settings);
    if (!cur) return -1;
    auto stored = ReadTextList(cur.slot->summaryTextHandle);
    const std::size_t items = v == JobDataVersion::V2005 ? kPathSummaryItems2005 : kPathSummaryItems;
    if (!stored || stored->size() < items) return -1;
    StoredList& l = *stored;
    CuttingJob p = *cur.job;   // the path fields are read into a copy and taken over only when all are read
    p.contours.clear();
    const int jobId = l.Long(1);
    p.pathGroupCount = l.Long(2);
    p.pathStartPoint = l.Point(3);
    p.currentPoint = l.Point(4);
    p.penState = l.Long(5);
    p.startAtHome = l.Long(6);
    p.homePoint = l.Point(7);
    int changeCounter = 0;
    if (v == JobDataVersion::V2005) {
        p.totalCutLength = l.Real(8);
        p.totalRapidLength = l.Real(9);
        p.totalSeconds = l.Real(10);
        changeCounter = l.Long(11);
    } else {
        std::size_t i = 8;
        for (double* f : {&p.totalCutLength, &p.totalCutT2Length, &p.totalEngraveLength, &p.totalEngraveMarkLength,
                          &p.totalMarkLength, &p.totalHeatLength, &p.totalRapidLength, &p.totalSeconds})
            *f = l.Real(i++);
        changeCounter = l.Long(16);
    }
    if (!l.ok() || p.pathGroupCount < 0) return -1;
    CuttingJob& job = *cur.job;
    job.pathGroupCount = p.pathGroupCount;
    job.pathStartPoint = p.pathStartPoint;
    job.currentPoint = p.currentPoint;
    job.penState = p.penState;
    job.startAtHome = p.startAtHome;
    job.homePoint = p.homePoint;
    job.totalCutLength = p.totalCutLength;
    job.totalCutT2Length = p.totalCutT2Length;
    job.totalEngraveLength = p.totalEngraveLength;
    job.totalEngraveMarkLength = p.totalEngraveMarkLength;
    job.totalMarkLength = p.totalMarkLength;
    job.totalHeatLength = p.totalHeatLength;
    job.totalRapidLength = p.totalRapidLength;
    job.totalSeconds = p.totalSeconds;
    cur.slot->jobId = jobId;
    cur.slot->changeCounter = changeCounter;
    return 0;
}

// ===================================================================== contour readers

// 2005.0 stores no kind: the contour's entity gives it by its layer, as contour creation does; a contour whose
// entity has gone is an ordinary cut contour, or an unclassified point.
ContourKind KindOfOldContour(const ContourRecord& record) {
    const bool isPoint = record.shape == kShapePoint;
    ObjectPtr<host::db::Entity> entity(IdOfHandle(record.handle), OpenMode::Read);
    if (!entity) return isPoint ? ContourKind::KindUnset : ContourKind::KindBase;
    return ContourTableKind(entity->layer(), isPoint);
}

int ReadContourBatch(CLaserSettings& settings, JobDataVersion v, std::uint64_t batchHandle, int first, int last) {
    SlotAndJob cur = Current(settings);
    if (!cur) return -1;
    CuttingJob& job = *cur.job;
    if (first < 0 || last < first || static_cast<std::size_t>(last) >= job.contours.size()) return -1;
    auto stored = ReadTextList(batchHandle);
    const std::size_t records = static_cast<std::size_t>(last - first) + 1;
    if (!stored || stored->size() < 1 + records * kStoredContourItems) return -1;
    ContourRecord* records0 = job.contours.data() + first;
    if (!ReadStoredContourBatch(stored->items(), records, v, records0)) return -1;
    if (v == JobDataVersion::V2005) {
        for (std::size_t r = 0; r < records; ++r) records0[r].kind = KindOfOldContour(records0[r]);
    }
    return 0;
}

int ReadContourDirectory(CLaserSettings& settings, JobDataVersion v) {
    SlotAndJob cur = Current(settings);
    if (!cur) return -1;
    CuttingJob& job = *cur.job;
    const int count = job.contourCount;
    if (count < 0 || count > kMaxStoredContourCount) return -1;
    std::optional<StoredList> directory;
    if (count >= 1) {
        // the directory must list a batch for every 201 records before the table is made
        directory = ReadTextList(cur.slot->directoryTextHandle);
        const std::size_t batches = static_cast<std::size_t>(ContourBatchCount(count));
        if (!directory || directory->size() < 1 + 2 * batches) return -1;
    }
    job.contours.assign(static_cast<std::size_t>(count) + 1, ContourRecord{});
    if (count < 1) return 0;
    std::size_t pair = 1;
    for (int first = 0; first <= count; pair += 2) {
        const std::uint64_t handle = directory->HandlePair(pair);
        if (!directory->ok()) return -1;
        const int last = std::min(first + kContoursPerBatch - 1, count);
        if (ReadContourBatch(settings, v, handle, first, last) != 0) return -1;
        first = last + 1;
    }
    return 0;
}

}  // namespace

int ReadJobSettings2005(CLaserSettings& settings) { return ReadJobSettings(settings, kLayout2005); }
int ReadJobSettings2008(CLaserSettings& settings) { return ReadJobSettings(settings, kLayout2008); }
int ReadJobSettings200801(CLaserSettings& settings) { return ReadJobSettings(settings, kLayout200801); }

int ReadPathSummary2005(CLaserSettings& settings) { return ReadPathSummary(settings, JobDataVersion::V2005); }
int ReadPathSummary2008(CLaserSettings& settings) { return ReadPathSummary(settings, JobDataVersion::V2008); }
int ReadPathSummary200801(CLaserSettings& settings) { return ReadPathSummary(settings, JobDataVersion::V200801); }

int ReadContourDirectory2005(CLaserSettings& settings) {
    return ReadContourDirectory(settings, JobDataVersion::V2005);
}
int ReadContourDirectory2008(CLaserSettings& settings) {
    return ReadContourDirectory(settings, JobDataVersion::V2008);
}
int ReadContourDirectory200801(CLaserSettings& settings) {
    return ReadContourDirectory(settings, JobDataVersion::V200801);
}

int ReadJobContourBatch2005(CLaserSettings& settings, std::uint64_t batchHandle, int first, int last) {
    return ReadContourBatch(settings, JobDataVersion::V2005, batchHandle, first, last);
}
int ReadJobContourBatch2008(CLaserSettings& settings, std::uint64_t batchHandle, int first, int last) {
    return ReadContourBatch(settings, JobDataVersion::V2008, batchHandle, first, last);
}
int ReadJobContourBatch200801(CLaserSettings& settings, std::uint64_t batchHandle, int first, int last) {
    return ReadContourBatch(settings, JobDataVersion::V200801, batchHandle, first, last);
}

// ===================================================================== the nesting marker

NestResultMarker ReadNestResultMarker(const ResBufList& items) {
    // each item is taken on its own: one that is missing or of another type leaves only its field empty
    const auto text = [&](std::size_t i) -> std::optional<std::string> {
        StoredList one(items);
        std::string value = one.String(i);
        return one.ok() ? std::optional<std::string>(std::move(value)) : std::nullopt;
    };
    const auto real = [&](std::size_t i) -> std::optional<double> {
        StoredList one(items);
        const double value = one.Real(i);
        return one.ok() ? std::optional<double>(value) : std::nullopt;
    };
    const auto integer = [&](std::size_t i) -> std::optional<std::int32_t> {
        StoredList one(items);
        const std::int32_t value = one.Long(i);
        return one.ok() ? std::optional<std::int32_t>(value) : std::nullopt;
    };
    NestResultMarker m;
    m.dataVersion = static_cast<float>(real(1).value_or(0.0));
    m.status = static_cast<std::int8_t>(integer(2).value_or(0) & 0xFF);
    m.materialName = text(5);
    if (m.dataVersion >= kJobDataVersion2008) {
        m.materialNumber = text(6);
        m.density = real(7);
        m.thickness = real(8);
    } else {
        m.density = real(6);
        m.thickness = real(7);
    }
    return m;
}
