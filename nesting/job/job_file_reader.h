// Reading a nesting job file into the engine's stock and part types.
//
// The file is read strictly and whole before anything changes: a file that cannot be opened, is not a job file,
// ends early, holds a value its line cannot hold, or whose counts do not match its entries is refused with the
// line at fault named, and the loaded job stays as it was. Every number must lie in its range (job_value_ranges.h):
// the header's density, thickness and offsets, a rectangle's sides, the angles. Two values are read leniently, as
// the job dialog writes them unchanged from free cells: a quantity or grain angle without a leading number reads
// as 0, and a quantity below 0 reads as 0.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "nesting/model/nesting_engine.h"
#include "nesting/model/part_type.h"

// Characters a line of a job file may hold; a longer line is refused (it would be no value of the file).
inline constexpr int kMaxJobLineChars = 4096;
// Stock entries, and part entries, one job file may hold: a bound on memory, far above the jobs of a shop.
inline constexpr int kMaxJobTypes = 1000;
// Sheets one job may ask for, all stock quantities together.
inline constexpr int kMaxStockInstances = 10000;

// The first problem found in a job file: its line (counted from 1), what the line belongs to ("stock 2") and the
// reason, in the module's language. Line 0: the file could not be opened, and Reason is the whole message.
struct JobFileProblem {
    int Line = 0;
    std::string Where;
    std::string Reason;
};

// The header texts that the engine does not take from the file (the job dialog shows them).
struct JobFileHeader {
    // The file has the older layout: its rectangle entries have no file-name line.
    bool OlderLayout = false;
    std::string MaterialText;
    std::string MaterialNumText;
    std::string DensityText;
    std::string ThicknessText;
    std::string EdgeOffsetText;
    std::string PartGapText;
};

// A job file as read. Stocks and Parts hold exactly the entries of the file (no spare record); the line of
// each entry's block name (its path line for a drawing, its file-name line for a rectangle) is kept beside it.
struct JobFileContents {
    JobFileHeader Header;
    std::vector<PartType> Stocks;
    std::vector<PartType> Parts;
    std::vector<int> StockNameLines;
    std::vector<int> PartNameLines;
};

// Reads and checks the job file at `path`. True with `job` filled, or false with `problem`; `job` then holds what
// was read before the line at fault (the header as far as it was read, and every entry read whole). Drawing paths are completed as ResolveJobDrawingPath does, against the job file's folder.
bool ParseNestingJob(const std::filesystem::path& path, JobFileContents& job, JobFileProblem& problem);

// ReadNestingJob: reads the job file at `path` into the engine. The file is parsed and checked first (its lines,
// the engine's limits with the clamps of the engine's options, the block names); any problem is shown in a message
// box that names the file and the line, answers -1 and changes nothing. Otherwise the stock and part type arrays
// are replaced (each one record longer than its count, the part array's spare record taking the clamp type), the
// previous job's instances are released and the answer is 0.
int ReadNestingJob(CNestingEngine& engine, const std::string& path);

// SanitizeBlockName: changes a drawing's file title in place into a name the host accepts as a block name: every
// "<" becomes "(", ">" ")", "/", "\", the double quote, ":", ";", "?", "*", the apostrophe and the back-quote
// "_", "|" "!", "," "." and "=" "-".
void SanitizeBlockName(std::string& name);

// The block name of a drawing: the file name of its stored path (after the last "\" or "/") less its extension
// ".dwg" or ".dxf" (any case) when that follows at least one character, made safe by SanitizeBlockName.
std::string DrawingBlockName(std::string_view storedPath);

// Where the drawing a job file names is looked for: a relative path is taken from the job file's folder (a path
// that starts with a separator or a drive, "C:", is kept as it stands), and a ".dwg" that does not exist is
// looked up as the ".dxf" beside it. The answer is a native path text.
std::string ResolveJobDrawingPath(std::string_view storedPath, const std::filesystem::path& jobFolder);
