// Sheets and part copies of a job, and the poses in which a copy is tried and committed.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "nesting/model/contour.h"
#include "nesting/model/model_limits.h"
#include "nesting/model/part_type.h"

// Where and how a part instance lies: its type's geometry origin at (X, Y), turned by Angle (radians) about it.
// The trial pose holds posed copies of the type's lists; the committed pose keeps their counts only.
struct PartPose {
    double X = 0.0;
    double Y = 0.0;
    double Angle = 0.0;
    std::uint8_t ContourSet = 0;
    // 1 = the pose holds a placement.
    std::uint8_t Valid = 0;
    std::int32_t HoleCount = 0;
    std::int32_t OuterCount = 0;
    std::int32_t DefectCount = 0;
    std::vector<Contour> Holes;
    std::vector<Contour> Outers;
    std::vector<Contour> Defects;
    // Box of the posed outer contours.
    BoundingBox Box;
};

// One sheet, or one copy of a part or clamp. The last block is used by sheets only.
struct PartInstance {
    // Part: 1 = lies on a sheet. Sheet: 1 = holds parts other than clamps after its optimisation.
    std::uint8_t Placed = 0;
    // Part: index of the sheet it lies on, -1 = none.
    std::int32_t Stock = -1;
    // Its type, in the engine's StockTypes or PartTypes (not owned).
    PartType* Type = nullptr;
    // Absent until the loader gives the instance its poses.
    std::optional<PartPose> TrialPose;
    std::optional<PartPose> CommittedPose;
    // Sheet: parts and clamps on it, their summed Area (clamps not counted) and that area over the sheet's Area.
    std::int32_t PlacedCount = 0;
    double PlacedArea = 0.0;
    double KIsp = 0.0;
    // Sheet: largest maxX and maxY of the committed parts on it (clamps not counted).
    double XE = 0.0;
    double YE = 0.0;
    // Sheet: 1 = clamps stand on it; their number (0 to kMaxClamps) and positions.
    std::int32_t ClampFlag = 0;
    std::int32_t ClampCount = 0;
    std::array<double, kMaxClamps> ClampX{};
    std::array<double, kMaxClamps> ClampY{};
};

// The instances of the first `typeCount` types (at most all of them), one per copy of each type's Quantity, each
// with its type's contours as trial pose and an empty committed pose, plus the spare record that closes the array.
std::vector<PartInstance> MakeTypeInstances(std::vector<PartType>& types, std::int32_t typeCount);

// Copies the trial pose's angle, contour set, position, box and hole and outer counts into the committed pose,
// sets both valid flags and Placed, and puts the instance on sheet `stock`. An instance without both poses is
// left as it is.
void CommitTrialPose(PartInstance& instance, std::int32_t stock);

// KIsp of a sheet: the placed area over the sheet's area; 0 for a sheet whose area is not positive (a drawing
// stock whose stored area is 0), so that no pass comparison ever sees an infinite or undefined ratio.
double SheetUseRatio(double placedArea, double sheetArea);
