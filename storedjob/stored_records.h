// The layout of the job data the cutting-path module stores in a drawing: extended data "Kstr" on invisible texts
// at the origin, in the three record versions that drawings hold. Both modules read it through this code: the
// cutting-path module its own job, the nesting module the contours of part and stock drawings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/resbuf.h"
#include "host/ge/point.h"
#include "storedjob/stored_contour.h"

// The application name of the stored job data, and the texts that carry it.
inline constexpr std::string_view kJobXDataApp = "Kstr";
inline constexpr std::string_view kJobSettingsText = "Kstr_ST";    // JobSettingsRecord (or NestResultMarker)
inline constexpr std::string_view kPathSummaryText = "Kstr_0";     // PathSummaryRecord
inline constexpr std::string_view kContourTableText = "Kstr_TC";   // ContourDirectory (head) and ContourBatch
// The layer of the head texts.
inline constexpr std::string_view kJobLayer = "NC_Laser";

// Contour records per batch text.
inline constexpr int kContoursPerBatch = 201;
// Items of one StoredContour.
inline constexpr int kStoredContourItems = 10;

// Extended-data group codes of the stored items.
inline constexpr int kStoredCodeApp = 1001;
inline constexpr int kStoredCodeText = 1000;
inline constexpr int kStoredCodePoint = 1010;
inline constexpr int kStoredCodeReal = 1040;
inline constexpr int kStoredCodeLong = 1071;

// The record layouts that exist in drawings.
enum class JobDataVersion {
    V2005,     // 2005.0 (read only)
    V2008,     // 2008.0 (read only)
    V200801,   // 2008.01 (written)
};

// The version of a stored version number, or nullopt for any other value. The number is taken as a float times
// 100, cut to an integer (200500, 200800, 200801).
std::optional<JobDataVersion> JobDataVersionOf(float storedVersion);

// Packed flags of a StoredContour. 2008.0 and 2008.01: bits 0-2 processed, 3-5 role, 6-8 closure, 9-11 placement,
// 12-15 shape, 16 and up kind. 2005.0: bits 0-2 processed, 3-5 shape, 6-8 closure, 9-11 role, 12-14 placement,
// no kind (the record's kind is left as it is).
std::int32_t PackContourFlags(const ContourRecord& record);
void UnpackContourFlags(std::int32_t flags, JobDataVersion version, ContourRecord& record);

// The StoredContour items of one record (10 items, flags first), appended to `list`.
void AppendStoredContour(host::db::ResBufList& list, const ContourRecord& record);
// Reads the StoredContour at items [first, first + 10) of `list` into `record`. False (record unchanged) when the
// list is too short or an item has another type.
bool ReadStoredContour(const host::db::ResBufList& list, std::size_t first, JobDataVersion version,
                       ContourRecord& record);

// The largest contourCount a stored job may claim: what a drawing's batch texts can address (kept well inside the
// memory a job may take).
inline constexpr int kMaxStoredContourCount = 1'000'000;
// The number of batch texts that hold contourCount + 1 records.
int ContourBatchCount(int contourCount);

// Reads the items of a stored list by position and type. Any item that is missing or of another type makes the
// whole read fail; a failed read answers defaults from then on.
class StoredList {
public:
    explicit StoredList(host::db::ResBufList list) : list_(std::move(list)) {}
    std::size_t size() const { return list_.size(); }
    const host::db::ResBufList& items() const { return list_; }
    bool ok() const { return ok_; }
    void fail() { ok_ = false; }

    double Real(std::size_t i);
    std::int32_t Long(std::size_t i);
    std::uint32_t Counter(std::size_t i) { return static_cast<std::uint32_t>(Long(i)); }
    std::string String(std::size_t i);
    host::ge::Point3d Point(std::size_t i);
    // A handle written as hexadecimal text.
    std::uint64_t HandleText(std::size_t i);
    // Two 1071 items, high 32 bits then low 32 bits.
    std::uint64_t HandlePair(std::size_t i);
    bool Has(std::size_t i, int code) const { return i < list_.size() && list_[i].code == code; }

private:
    const host::db::ResBuf* Item(std::size_t i, int code);

    host::db::ResBufList list_;
    bool ok_ = true;
};

// Positions of the JobSettingsRecord items that readers of another module use, by version.
struct JobSettingsPositions {
    std::size_t extents;        // minimum corner; the maximum corner follows
    std::size_t area;           // area of the part
    std::size_t contourCount;   // last stored entry index; the inner, outer and open counts follow
    std::size_t kindCounts;     // first per-kind count
    std::size_t kindCountItems; // per-kind counts stored (0 for 2005.0)
};
const JobSettingsPositions& PositionsOf(JobDataVersion version);

// Item positions every version shares.
inline constexpr std::size_t kSettingsVersionItem = 1;
inline constexpr std::size_t kSettingsStatusItem = 2;
inline constexpr std::size_t kSettingsDirectoryItem = 5;
inline constexpr std::size_t kSettingsUnitItem = 6;

// What a reader of part drawings takes from the JobSettingsRecord.
struct StoredJobHeader {
    JobDataVersion version = JobDataVersion::V200801;
    std::int32_t status = 0;
    std::uint64_t directoryHandle = 0;
    std::int32_t unit = 0;               // the job's unit: 0 millimetres, 1 inches
    host::ge::Point3d extentsMin, extentsMax;
    double area = 0.0;
    std::int32_t lastIndex = 0;          // entries 0 to lastIndex are stored
    std::int32_t innerCount = 0, outerCount = 0, openCount = 0;
    std::int64_t kindCountSum = 0;       // sum of the per-kind counts the version stores
};

// Why ReadStoredJobHeader refused a record.
enum class StoredHeaderProblem {
    None,
    NotReadable,     // the list ends before the items read, or an item has another type
    UnknownVersion,  // a version number other than 2005.0, 2008.0 and 2008.01
    NoContours,      // the status is not 1 (the drawing holds no created contours)
    BadCount,        // a last index below 0 or beyond kMaxStoredContourCount
};
// Reads the header items of a "Kstr" list (item 0 the application name) into `header`.
StoredHeaderProblem ReadStoredJobHeader(const host::db::ResBufList& list, StoredJobHeader& header);

// The "Kstr" list of a text given by its handle; nullopt when the text is missing or cannot be opened.
using StoredListLookup = std::function<std::optional<host::db::ResBufList>(std::uint64_t handle)>;

// Reads `count` StoredContour entries from items 1, 11, 21, ... of a batch text's list into `out` (which holds at
// least `count` records). False when the list ends early or an item has another type.
bool ReadStoredContourBatch(const host::db::ResBufList& batch, std::size_t count, JobDataVersion version,
                            ContourRecord* out);

// Reads the whole stored contour table, entries 0 to lastIndex: the directory's pairs name the batch texts, batch
// k holding entries 201 k to min(201 k + 200, lastIndex). nullopt when the directory or a batch cannot be found,
// is too short or holds an item of another type.
std::optional<std::vector<ContourRecord>> ReadStoredContourTable(const host::db::ResBufList& directory,
                                                                 int lastIndex, JobDataVersion version,
                                                                 const StoredListLookup& lookup);
