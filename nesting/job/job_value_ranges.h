// The ranges the numbers of a nesting job keep to: the job dialog lets no other value be typed (its offset,
// thickness and size edits take digits and a point only), and a job file holding a number outside its range is
// refused at load with the line named.
#pragma once

#include "cadlib/material_file.h"

// A closed range of a job number.
struct JobValueRange {
    double Min = 0.0;
    double Max = 0.0;
    constexpr bool Holds(double value) const { return value >= Min && value <= Max; }
};

// Lengths in the job's unit: a rectangle's sides and the sheet thickness. Far above any sheet a machine cuts,
// and small enough that every coordinate of a sheet stays exact on the contour tests' grids.
inline constexpr JobValueRange kJobLengthRange{0.0, 100000.0};
// The stock-edge offset and the part gap.
inline constexpr JobValueRange kJobOffsetRange{0.0, 10000.0};
// Material density: the bound of a material file, so that every material the dialogs read fits a job.
inline constexpr JobValueRange kJobDensityRange{0.0, kMaxMaterialDensity};
// Angles in degrees: the grain angle and the two half sectors.
inline constexpr JobValueRange kJobAngleRange{-360.0, 360.0};
