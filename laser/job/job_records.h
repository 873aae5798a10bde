// The job as stored in the drawing: extended data "Kstr" on invisible texts at the origin, in the three record
// versions that drawings hold, and the marker the nesting module leaves in a nested sheet.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/db/ids.h"
#include "host/db/resbuf.h"
#include "laser/job/drawing_slot.h"

class CLaserSettings;

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
// Items of the records as this module writes them.
inline constexpr int kJobSettingsItems200801 = 61;
inline constexpr int kPathSummaryItems = 17;
inline constexpr int kPathSummaryItems2005 = 12;

// Limits of the text items of a JobSettingsRecord (characters written at most).
inline constexpr std::size_t kStoredMaterialChars = 59;
inline constexpr std::size_t kStoredMaterialNumberChars = 59;
inline constexpr std::size_t kStoredMaterialFolderChars = 119;
inline constexpr std::size_t kStoredProgramNameChars = 19;
inline constexpr std::size_t kStoredMachineTypeChars = 39;
inline constexpr std::size_t kStoredPostprocessorChars = 59;
inline constexpr std::size_t kStoredPostprocessorFolderChars = 119;

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
// no kind (the record's kind is left as it is; the 2005.0 contour readers take it from the entity's layer).
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

// A NestResultMarker as the readers use it.
struct NestResultMarker {
    float dataVersion = 0.0f;
    std::int8_t status = 0;
    std::optional<std::string> materialName;     // item 5
    std::optional<std::string> materialNumber;   // item 6 (2008.0 and later)
    std::optional<double> density;               // item 7 (2008.0), item 6 (2005.0)
    std::optional<double> thickness;             // item 8 (2008.0), item 7 (2005.0)
};
// Reads a marker's items from the "Kstr" list of a "Kstr_ST" text whose item 2 is 2. Items that are missing or
// of another type stay empty.
NestResultMarker ReadNestResultMarker(const host::db::ResBufList& list);

// Registers the application "Kstr" in the working drawing unless it is there. 0, or -1 when the drawing refuses.
int RegisterJobApplication();

// ---- writers: all work on the current slot and its job, in the working drawing. Each answers 0; -1 when there is
// no current slot with a job or the text cannot be made.

// Writes the JobSettingsRecord (makes the "Kstr_ST" text when needed).
int WriteJobSettings(CLaserSettings& settings);
// Writes the PathSummaryRecord (makes "Kstr_0" when needed).
int WritePathSummary(CLaserSettings& settings);
// Writes the ContourDirectory and every batch (makes "Kstr_TC" texts when needed; a batch text that cannot be
// opened is made anew).
int WriteContourDirectory(CLaserSettings& settings);
// Writes records first..last of the contour table into the batch text with this handle. -1 when the text cannot
// be opened.
int WriteContourBatch(CLaserSettings& settings, std::uint64_t batchHandle, int first, int last);

// ---- readers: 0 when read, -1 when the text is missing, its list is shorter than the version's layout, an item
// has another type, or a count is beyond what the stored data can hold. A failed reader may have changed part of
// the job; ReadJobData then starts a fresh one.
int ReadJobSettings2005(CLaserSettings& settings);
int ReadJobSettings2008(CLaserSettings& settings);
int ReadJobSettings200801(CLaserSettings& settings);
int ReadPathSummary2005(CLaserSettings& settings);
int ReadPathSummary2008(CLaserSettings& settings);
int ReadPathSummary200801(CLaserSettings& settings);
int ReadContourDirectory2005(CLaserSettings& settings);
int ReadContourDirectory2008(CLaserSettings& settings);
int ReadContourDirectory200801(CLaserSettings& settings);
int ReadJobContourBatch2005(CLaserSettings& settings, std::uint64_t batchHandle, int first, int last);
int ReadJobContourBatch2008(CLaserSettings& settings, std::uint64_t batchHandle, int first, int last);
int ReadJobContourBatch200801(CLaserSettings& settings, std::uint64_t batchHandle, int first, int last);
