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
#include "storedjob/stored_records.h"

class CLaserSettings;

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
