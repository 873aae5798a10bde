// Writing a nesting job file from the texts of the job dialog: its offsets and material, and the rows of its
// stock and part tables, each value as its cell holds it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// One row of the stock table.
struct JobStockEntry {
    // "2" for a drawing; any other text writes the rectangle layout.
    std::string Type;
    std::string Path;
    // Rectangles: the size cells; the name line takes their integer parts ("Stosk_1000x500").
    std::string Width;
    std::string Height;
    // Rectangles: the name the user gave the rectangle (its block name).
    std::string FileName;
    std::string Quantity;
    std::string Grain;
    // A text of PriorityList; another text writes an empty line.
    std::string Priority;
};

// One row of the part table.
struct JobPartEntry {
    std::string Type;
    std::string Path;
    std::string Width;
    std::string Height;
    std::string FileName;
    std::string Quantity;
    std::string Grain;
    // Texts of RotationTypeList, DeltaAngleList and PriorityList; another text writes an empty line.
    std::string RotationType;
    std::string DeltaAngle;
    // The sector in degrees; written as its two halves (25 as 12 and -12). Empty counts as 0.
    std::string Sector;
    std::string Priority;
};

// A whole job as the dialog holds it.
struct NestingJobFile {
    std::string MaterialText;
    std::string MaterialNumText;
    std::string DensityText;
    std::string ThicknessText;
    std::string EdgeOffsetText;
    std::string PartGapText;
    std::vector<JobStockEntry> Stocks;
    std::vector<JobPartEntry> Parts;
};

// Writes `job` to `path` in the layout of job_file_layout.h, with the signature kJobSignature and CR LF line ends,
// through a temporary file: the old file stays whole until the new one is complete. A text that holds a line
// break would shift every line after it and is refused. True when written; false with `error` (in the module's
// language) naming the file, or the row and value at fault, and nothing written.
bool WriteNestingJobFile(const std::filesystem::path& path, const NestingJobFile& job, std::string* error);
