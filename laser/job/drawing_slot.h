// The job state kept for every open drawing: its slot, its cutting job, and the tag in the drawing's project name
// that ties the drawing to its slot.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>
#include <memory>

#include "host/db/ids.h"
#include "host/ge/point.h"
#include "laser/contours/contour_records.h"

class CLaserSettings;

// Characters a slot's material name and material number hold at most; longer texts are cut.
inline constexpr std::size_t kSlotMaterialNameChars = 124;
inline constexpr std::size_t kSlotMaterialNumberChars = 22;

// Versions of the job data stored in a drawing.
inline constexpr float kJobDataVersion2005 = 2005.0f;
inline constexpr float kJobDataVersion2008 = 2008.0f;
inline constexpr float kJobDataVersion200801 = 2008.01f;
// The version this module writes, as the job holds it.
inline constexpr double kJobDataVersionWritten = 2008.01;

// Slot status: what the drawing holds.
inline constexpr std::int8_t kSlotNoJob = 0;
inline constexpr std::int8_t kSlotJob = 1;        // a job with contours, or initialised
inline constexpr std::int8_t kSlotNesting = 2;    // a nesting result, or marked as a nesting start

// The pen state of a new job's path writer.
inline constexpr int kInitialPenState = 3;

// Bits of CuttingJob::trimLineBits.
inline constexpr std::uint32_t kTrimLineVertical = 1;
inline constexpr std::uint32_t kTrimLineHorizontal = 2;

// The drawing's cutting job: material, feeds and lead values, the contour table, the contour counters, the path
// state and the path totals. A new job has empty texts and every other field zero.
struct CuttingJob {
    double dataVersion = 0.0;
    int unit = 0;                       // 0 millimetres, 1 inches
    std::string material;               // material file name
    std::string materialNumber;
    std::string materialFolder;
    std::string programName;            // NC program name; empty when the job is initialised
    std::string machineType;
    std::string postprocessor;
    std::string postprocessorFolder;
    double feedCut = 0.0;
    double feedEngrave = 0.0;
    double feedHeatTreatment = 0.0;
    double feedRapid = 0.0;
    double timeLaserOnOff = 0.0;        // seconds per beam switch
    double toolDiameter = 0.0;
    double leadInSpan = 0.0;
    double leadOutSpan = 0.0;
    double leadAngle = 0.0;             // degrees
    double leadAngleRad = 0.0;          // leadAngle in radians
    host::ge::Point3d extentsMin;       // lower corner of all contours
    host::ge::Point3d extentsMax;       // upper corner of all contours
    double thickness = 0.0;
    double density = 0.0;
    double reservedReal1 = 0.0, reservedReal2 = 0.0, reservedReal3 = 0.0;   // stored and read back only
    double netArea = 0.0;               // closed outer contours minus closed inner contours
    double partArea = 0.0;
    double stockArea = 0.0;
    std::uint32_t reservedCounter = 0;  // stored and read back only
    int contourCount = 0;               // the contour table holds contourCount + 1 records
    std::uint32_t baseInner = 0, baseOuter = 0, tool2Inner = 0, tool2Outer = 0, unclosedCount = 0,
                  noCloseCount = 0, engraveCount = 0, engraveMarkCount = 0, markCount = 0, heatCount = 0,
                  commonCount = 0, insideCutCount = 0, noLeadInInner = 0, noLeadInOuter = 0, jumperLineOuter = 0,
                  jumperLineInner = 0, jumperPointCount = 0, markPointCount = 0, stockCount = 0, stockInner = 0,
                  stockOuter = 0;
    std::uint32_t homeGroupPresent = 0; // 1 when the final home path group exists
    std::uint32_t clampCount = 0;
    host::ge::Point3d clampPoints[3];
    std::uint32_t trimLineBits = 0;     // kTrimLineVertical, kTrimLineHorizontal
    host::ge::Point3d verticalTrimStart, verticalTrimEnd, horizontalTrimStart, horizontalTrimEnd;
    double partFillRatio = 0.0;         // largest outer part contour / its bounding box; 1.0 before contours
    // The contour table: empty (none) or contourCount + 1 records, the last one the stock record.
    std::vector<ContourRecord> contours;
    int pathGroupCount = 0;             // highest path group number
    host::ge::Point3d pathStartPoint;   // where the first rapid move starts
    host::ge::Point3d currentPoint;     // the path writer's current point
    int penState = 0;
    int startAtHome = 0;                // copy of ModeStartPoint
    host::ge::Point3d homePoint;        // copy of PointHome
    double totalCutLength = 0.0, totalCutT2Length = 0.0, totalEngraveLength = 0.0, totalEngraveMarkLength = 0.0,
           totalMarkLength = 0.0, totalHeatLength = 0.0, totalRapidLength = 0.0, totalSeconds = 0.0;
};

// One open drawing's job state. The settings' slot table owns it; it owns its job.
struct DrawingSlot {
    std::string materialName;           // at most kSlotMaterialNameChars characters
    std::string materialNumber;         // at most kSlotMaterialNumberChars characters
    double density = 0.0;
    double thickness = 0.0;
    float dataVersion = 0.0f;           // version of the job data found in the drawing at load
    std::int8_t status = kSlotNoJob;    // kSlotNoJob, kSlotJob, kSlotNesting
    std::uint8_t locked = 0;            // 1 when marked as the start of a nesting
    int jobId = 0;                      // 0 = none given yet
    int changeCounter = 0;              // raised by every command that changes contours or path
    host::db::EntityName settingsTextName;    // the "Kstr_ST" text, while the drawing stays open
    std::uint64_t settingsTextHandle = 0;     // "Kstr_ST" (job settings); 0 = none
    std::uint64_t summaryTextHandle = 0;      // "Kstr_0" (path summary); 0 = none
    std::uint64_t directoryTextHandle = 0;    // head "Kstr_TC" (contour directory); 0 = none
    std::unique_ptr<CuttingJob> job;          // null until a job is initialised
    // The serial number of the drawing's database: what ties an untagged drawing to its own slot.
    std::uint64_t drawingSerial = 0;
};

// Answer of IdentifyDrawing and SelectDrawingSlot when no slot belongs to the drawing.
inline constexpr int kNoDrawingSlot = -1;

// The tag text "Kstr_<jobId> <status> <changeCounter>".
std::string FormatDrawingTag(int jobId, int status, int changeCounter);

// Copies `text` into a slot text field, cut to at most `maxChars` characters (never inside a character).
void SetSlotText(std::string& field, std::string_view text, std::size_t maxChars);

// The current slot (CurrentDrawingSlot), or null when it is not a slot in use.
DrawingSlot* CurrentSlot(CLaserSettings& settings);
// The current slot's job, or null when there is no current slot or it has no job.
CuttingJob* CurrentJob(CLaserSettings& settings);

// Gives the drawing that is being loaded (the working drawing) a new slot, makes it current and reads the job
// stored in the drawing. Answers 0; -1 when all slots are in use: the drawing is then not tracked and the user is
// told.
int CreateDrawingSlot(CLaserSettings& settings);
// Frees the slot at `index` (and its job); the last slot in use moves into its entry. Answers 0; -1 for an index
// that is not a slot in use (nothing changes).
int FreeDrawingSlot(CLaserSettings& settings, int index);
// Creates the current slot's job when it has none and (re)initialises it from the settings: status 1, change
// counter 0, contour table released, path state at the home point. Answers 0; -1 when there is no current slot.
int InitCuttingJob(CLaserSettings& settings);

// The machine, postprocessor, feed, tool and lead values of the settings taken into the job (when it is made and
// each time it is stored); the tool diameter and the leads converted from the Unit setting's unit to the job's.
void TakeMachineSettings(CuttingJob& job, const CLaserSettings& settings);

// The unit a new job of the working drawing takes: inches when the drawing says it is drawn in inches ($INSUNITS
// 1), millimetres when it says millimetres (4), the Unit setting for any other drawing (none, feet, metres...).
int DrawingJobUnit(const CLaserSettings& settings);
// The current job's unit (0 millimetres, 1 inches); the Unit setting without a current job.
int CurrentJobUnit(const CLaserSettings& settings);
// A length of the settings (leads, loops, gaps, steps, the home point), which are given in the Unit setting's
// unit, in the current job's unit.
double SettingLength(const CLaserSettings& settings, double value);
// The home point of the settings (PointHome) in the current job's unit.
host::ge::Point3d SettingHomePoint(const CLaserSettings& settings);
// The index of the working drawing's slot, or kNoDrawingSlot. `changed` tells whether the stored job was read
// again because the drawing's tag shows another change counter than the slot.
int IdentifyDrawing(CLaserSettings& settings, bool& changed);
// The slot that was made for the drawing whose database has this serial number, or kNoDrawingSlot. Reads
// nothing and changes nothing.
int SlotOfDrawing(const CLaserSettings& settings, std::uint64_t drawingSerial);
// IdentifyDrawing, then CurrentDrawingSlot := the result when one was found. Answers the result.
int SelectDrawingSlot(CLaserSettings& settings);
// Writes the current slot's tag as the working drawing's project name. Answers 0; -1 without a current slot or
// drawing.
int WriteDrawingTag(CLaserSettings& settings);
