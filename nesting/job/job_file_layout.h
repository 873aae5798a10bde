// The nesting job file (*.nst): its signatures, the lines of its header, the shape of its stock and part entries,
// and the value lists whose indices it stores. Shared by the file's reader and its writer.
//
// Layout, one value per line, every line ended by CR LF:
//
//   line 1       signature (kJobSignature; kOlderJobSignature marks files whose rectangle entries have no
//                file-name line)
//   lines 2-13   empty, material name, material number, density, thickness, empty, empty, stock-edge offset,
//                part gap, part gap again, empty, empty
//   line 14      N, the number of stock entries
//   N stock entries (JobStockEntry), 2 empty lines, M, M part entries (JobPartEntry), 2 empty lines, "0"
//
//   stock entry  type ("0" rectangle, "2" drawing) / path, or the rectangle name "Stosk_WxH" / rectangle only:
//                its file name (the block name) / quantity / grain angle / priority index / 3 empty lines
//   part entry   type / path or "Part_WxH" / rectangle only: file name / quantity / grain angle / rotation-type
//                index / delta-angle index / half sector / minus half sector / priority index / "0" /
//                3 empty lines
//
// An index line is empty when the text it stands for is not in its list; empty number lines read as 0.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

inline constexpr std::string_view kJobSignature = "Kestrion Nesting TQ450";
inline constexpr std::string_view kOlderJobSignature = "Kestrion Nesting TQ440";
inline constexpr std::string_view kJobFileExtension = ".nst";

// Header lines, counted from 1.
inline constexpr int kMaterialNameLine = 3;
inline constexpr int kMaterialNumberLine = 4;
inline constexpr int kDensityLine = 5;
inline constexpr int kThicknessLine = 6;
inline constexpr int kEdgeOffsetLine = 9;
inline constexpr int kPartGapLine = 10;
inline constexpr int kStockCountLine = 14;

// Empty lines that close every entry, that separate the stocks from the parts and the parts from the end mark.
inline constexpr int kEntryClosingLines = 3;
inline constexpr int kSectionSeparatorLines = 2;
// The last line of a job file.
inline constexpr std::string_view kJobEndMark = "0";
// The line a part entry always carries after its priority.
inline constexpr std::string_view kPartFlagsLine = "0";

// The type line of an entry.
inline constexpr std::string_view kRectangleTypeText = "0";
inline constexpr std::string_view kDrawingTypeText = "2";

// Rectangle names as the file stores them: "Stosk_%ix%i" and "Part_%ix%i" with the integer parts of the sizes.
inline constexpr const char* kStockRectangleFormat = "Stosk_%sx%s";
inline constexpr const char* kPartRectangleFormat = "Part_%sx%s";

// The block name of the clamp type; no stock or part of a job may take it.
inline constexpr std::string_view kClampBlockName = "Clamp";

// The texts of the choice cells of the job dialog; the file stores their index.
inline constexpr std::array<std::string_view, 9> PriorityList{"1", "2", "3", "4", "5", "6", "7", "8", "9"};
inline constexpr std::array<std::string_view, 4> RotationTypeList{"No Rotate", "0-360", "Sector", "Sector+180"};
inline constexpr std::array<std::string_view, 12> DeltaAngleList{"Any", "1",  "2",  "5",   "10",  "15",
                                                                 "30",  "45", "60", "90", "180", "Inscribe"};
// Degrees the engine turns a part by per trial step, for each delta-angle index: "Any" and "Inscribe" step by
// half a degree.
inline constexpr std::array<double, 12> kDeltaRotationSteps{0.5, 1.0,  2.0,  5.0,  10.0,  15.0,
                                                            30.0, 45.0, 60.0, 90.0, 180.0, 0.5};

// The index of the first entry of `list` equal to `text` (case and spaces count), or -1 when there is none.
int IndexInList(std::span<const std::string_view> list, std::string_view text);

// The rotation step of a delta index as the file stores it (a number whose integer part is the index); none
// when that integer part is not an index of DeltaAngleList.
std::optional<double> RotationStepOfDelta(double deltaIndex);
