// The postprocessor prepared for NC output and the cut simulation: the selected file read once, its words
// copied, its number formats turned into counts and flags and its templates compiled; and the module's one
// runtime object.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "laser/post/postprocessor_settings.h"
#include "laser/post/template_compiler.h"

// Machine types of MachineTypeCode.
inline constexpr int kMachineUnknown = 0;
inline constexpr int kMachineLaser = 1;
inline constexpr int kMachineFlame = 2;
inline constexpr int kMachineWaterjet = 3;
inline constexpr int kMachineDiamond = 4;

// Most decimals of coordinates and feeds: 10^9 grid steps per unit still fit the integer precision.
inline constexpr int kMaxOutputDecimals = 9;
// Widest block number (the width of NFormat).
inline constexpr int kMaxBlockNumberWidth = 32;
// Bounds of ScaleXYZ (above 0), NCodeStart (from 0) and NCodeInc (from 1).
inline constexpr double kMaxScaleXYZ = 100000.0;
inline constexpr std::int64_t kMaxBlockStart = 99999999;
inline constexpr std::int64_t kMaxBlockStep = 99999;
// Number of cutting-mode texts the NC program creation sets.
inline constexpr int kCuttingModeTextCount = 30;

// The block-number format of NFormat, taken apart: printf's flags and width for an integer, never a format
// string. "04" is the zero flag and width 4.
struct BlockNumberFormat {
    bool leftAlign = false;  // '-'
    bool plusSign = false;   // '+'
    bool blankSign = false;  // ' '
    bool zeroPad = false;    // '0'
    int width = 0;
};

struct PostprocessorRuntime {
    std::string EXTFile;
    std::string NamePostprocessor;
    int MachineTypeCode = kMachineUnknown;  // "Laser" 1, "Flame" 2, "Waterjet" 3, "Diamond" 4 (exact), else 0
    int UnitCode = 0;                        // 1 for "inc", 0 for "mm" (the load refuses any other)
    // The unit of the job whose program is written (0 millimetres, 1 inches): the NC program creation sets it
    // before each program; coordinates are converted from it to UnitCode.
    int JobUnitCode = 0;
    int CutCompensation = 0;
    int Absolute = 0;
    int ReturnToHomePoint = 0;
    int UseProfilesCut = 0;

    // Motion words (rapid, linear, clockwise, counter-clockwise) and compensation words.
    std::string RapidStr, LinearStr, CircCWStr, CircCCWStr;
    std::string CompOffStr, CompLeftStr, CompRightStr, CompDiamStr;

    double UnloadWinMinSizeX = 0, UnloadWinMinSizeY = 0, UnloadWinMaxSizeX = 0, UnloadWinMaxSizeY = 0;

    std::string NCode, XCode, YCode, ICode, JCode, RCode, FEEDCode;
    std::string NFormat;
    BlockNumberFormat BlockFormat;
    std::int16_t Decimals = 0;      // decimals of coordinates, arc values and radii (from XFormat)
    int PlusSign = 0;               // 1 when XFormat begins with "+": incremental values are signed
    std::int16_t FeedDecimals = 0;  // decimals of the feed (from FEEDFormat)
    std::int64_t Precision = 1;     // 10^Decimals
    int NCodeStart = 0;
    int NCodeInc = 0;
    double ScaleXYZ = 1.0;

    int CenterArcAbsolute = 0;
    int CenterArcIncremental = 0;
    int Output_IJ_Always = 0;

    double ProfCutDist1 = 0, ProfCutDist2 = 0, ProfMinHoleDiam = 0;

    // The compiled templates. MoveRapidStr and MoveLinearStr are the Move templates "RapidStr" and "LinearStr".
    CompiledTemplate ClampStr, TrimLineStr, UnloadOpenWinStr, UnloadStopPrgStr;
    CompiledTemplate MoveRapidStr, MoveLinearStr, CircleStr;
    CompiledTemplate CutOnStr, CutOffStr, CutT2OnStr, CutT2OffStr, EngraveOnStr, EngraveOffStr,
        EngraveAndMarkOnStr, EngraveAndMarkOffStr, MarkOnStr, MarkOffStr, HeatTreatmentOnStr, HeatTreatmentOffStr;
    CompiledTemplate StartPrgStr, EndPrgStr, EndFileStr;
    CompiledTemplate ProfLead, ProfCutStr, ProfCutSm1, ProfCutSm2, ProfCutSm3, ZSensorOn, ZSensorOff;
    CompiledTemplate ProfCutUnlo;  // compiled to check it; never run

    // Set by the NC program creation; empty until the first program.
    std::array<std::string, kCuttingModeTextCount> CuttingModeTexts;
    std::string LeadText;
};

// The decimals of a number format: the format split at its points, empty pieces skipped, the leading integer
// of the second piece; 0 when there is none ("4.3" 3, "+5.2" 2, "5" and "" 0, "4.-3" -3).
int DecimalsOfFormat(std::string_view format);

// True when a coordinate format (XFormat, YFormat) with the scale text `scale` writes whole units: it gives no
// decimals and the scale is 1 or less (a format of "43" where "4.3" was meant). A scale of 1000 with no decimals
// writes thousandths as whole numbers and is no fault.
bool WritesWholeUnits(std::string_view format, std::string_view scale);

// Takes NFormat apart: true for flags ("-", "+", " ", "0") followed by digits of a width up to
// kMaxBlockNumberWidth (the empty format too), false for anything else.
bool ParseBlockNumberFormat(std::string_view text, BlockNumberFormat& format);

// Prepares `runtime` from `settings`, compiling every template in report mode: 0, or -1 after a message box
// naming the fault (the file name `name` in the refusals). Refused: a scale that is empty, zero, negative, above
// kMaxScaleXYZ or no number; a Unit other than "mm" and "inc"; NCodeStart and NCodeInc that are not whole numbers in
// their ranges (empty ones are taken, as 0, only when NCode is empty: no block numbers are written); decimals of XFormat or FEEDFormat outside 0 to 9; a block-number format other than flags and digits;
// TrimLineStr and ClampStr that run themselves (directly or through each other); a template that does not
// compile (the message names the key, the keyword and the template). On -1 `runtime` is unchanged, so NC output and the simulation never run on half of two
// postprocessors; the cutting-mode texts and lead text are always kept.
// `refusedKey`, when given, receives the key refused (null when none, or when the fault is no key's).
int PreparePostprocessorRuntime(const PostprocessorSettings& settings, const std::string& name,
                                PostprocessorRuntime& runtime, const PostKey** refusedKey = nullptr);

// Reads the postprocessor file at `path` and prepares `runtime` from it: 0, or -1 after a message box (the file
// is missing, damaged or refused).
int LoadPostprocessorRuntimeFrom(const std::filesystem::path& path, PostprocessorRuntime& runtime);

// The folder of the postprocessors shipped with the product (the installation's "post" folder), where a
// postprocessor is looked up when no folder is set.
std::filesystem::path ShippedPostprocessorFolder();

// The path of the postprocessor `fileName` in the stored folder `folder` (backslashes separate too); the
// shipped folder when `folder` is empty.
std::filesystem::path PostprocessorPathOf(const std::string& folder, const std::string& fileName);

// Loads the postprocessor `fileName` of `folder` (PostprocessorPathOf) into `runtime`: 0, or -1 after a message
// box: the file is not found (named by `fileName`), or it is damaged or refused.
int LoadSelectedPostprocessor(const std::string& folder, const std::string& fileName, PostprocessorRuntime& runtime);

// The module's one runtime: the postprocessor loaded last.
PostprocessorRuntime& PostRuntime();
