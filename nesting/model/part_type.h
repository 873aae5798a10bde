// Stock, part and clamp types of a nesting job, and the groups in which parts are posed and placed.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "host/ge/point.h"
#include "nesting/model/contour.h"
#include "nesting/model/model_limits.h"

// Codes of PartType::Kind.
inline constexpr std::uint8_t kKindStock = 0;
inline constexpr std::uint8_t kKindPart = 1;
inline constexpr std::uint8_t kKindClamp = 2;

// Codes of PartType::JobFileType.
inline constexpr std::int32_t kJobFileRectangle = 0;
inline constexpr std::int32_t kJobFileDrawing = 2;

// Codes of PartType::RotationMode: "No Rotate", "0-360", "Sector", "Sector+180".
inline constexpr std::uint8_t kRotateNone = 0;
inline constexpr std::uint8_t kRotateFull = 1;
inline constexpr std::uint8_t kRotateSector = 2;
inline constexpr std::uint8_t kRotateSectorAnd180 = 3;

// One member of a group: the part instance, where it lies from the group position (Radius in the direction group
// angle + PolarAngle; Radius 0 puts it on the group position) and its turn against the group angle.
struct PartGroupMember {
    std::int32_t Instance = -1;
    double Radius = 0.0;
    double PolarAngle = 0.0;
    double Rotation = 0.0;
    std::uint8_t ContourSet = 0;
};

// The unit of placement: one part, or a pair of identical parts posed together. Only the first MemberCount
// members are used.
struct PartGroup {
    std::int32_t MemberCount = 0;
    std::array<PartGroupMember, kGroupMemberCapacity> Members{};
    BoundingBox Box;
    // Size of the box at the pose it had before the last trial angle was chosen.
    double GroupWidth = 0.0;
    double GroupHeight = 0.0;
    // 1 = the group holds a free position.
    std::uint8_t Valid = 0;
    double X = 0.0;
    double Y = 0.0;
    double Angle = 0.0;
    // Allowed angle sector (radians) and fixed angle; both 0 until a rule sets them.
    double SectorStart = 0.0;
    double SectorEnd = 0.0;
    double FixedAngle = 0.0;
    // Degrees: the landscape and the portrait template angle of least box area.
    double BestLandscapeDeg = 0.0;
    double BestPortraitDeg = 0.0;
};

// One ranked arrangement of two identical parts: where the second lies from the first and how it is turned.
struct PairVariant {
    std::uint8_t Used = 0;
    std::uint8_t ContourSet = 0;
    host::ge::Point2d Position;
    double Rotation = 0.0;
    double Radius = 0.0;
    double PolarAngle = 0.0;
    float Score = 0.0f;
    // 1 - ratio when the ratio is below 1, else 0; below 0.01 the type is placed as single parts.
    float Quality = 0.0f;
};

// Contour lists of one contour set of a type, by class.
using ContourList = std::vector<Contour>;

// One stock, part or clamp type of the job. Copies are deep (contours, templates and all).
struct PartType {
    // Full path of the drawing, or the rectangle name ("Stosk_%ix%i" for stocks, "Part_%ix%i" for parts).
    std::string Path;
    std::string BlockName;
    // Running number of the type in the job (stocks first, then parts); its instances share it.
    std::int32_t TypeIndex = 0;
    std::int32_t Quantity = 0;
    std::int32_t JobFileType = kJobFileRectangle;
    std::uint8_t Kind = kKindPart;
    // Priority index 0 to 8; higher is placed first.
    std::int8_t Priority = 0;
    // Three flag bits of the drawing's stored contour header.
    std::uint8_t DrawingFlags = 0;
    std::uint8_t RotationMode = kRotateNone;
    // Degrees.
    double Grain = 0.0;
    // Index 0 to 11 of the job's delta angle.
    double DeltaIndex = 0.0;
    // Degrees.
    double RotationStep = 0.0;
    double SectorMin = 0.0;
    double SectorMax = 0.0;
    double Area = 0.0;
    std::uint8_t HasPairs = 0;
    std::array<PairVariant, kPairVariantCapacity> PairVariants{};
    std::int32_t PairVariantCount = 0;
    // Longer side over shorter side of DrawingBox; 1.0 when a side is not positive.
    double Aspect = 1.0;
    // Contours as read from the drawing.
    std::vector<Contour> DrawingContours;
    // By contour set: inner contours (holes; of a stock, the cut-outs parts must avoid), outer contours and the
    // open contours of the type.
    std::array<ContourList, kContourSetCount> Holes;
    std::array<ContourList, kContourSetCount> Outers;
    std::array<ContourList, kContourSetCount> Defects;
    BoundingBox DrawingBox;
    // Union of the boxes of the outer contours of set 0; for a stock the sheet box.
    BoundingBox OuterBox;
    // Reference point of the type's geometry.
    host::ge::Point2d BasePoint;
    // The single part and the pair posed at 0, 1, ... 90 degrees.
    std::vector<PartGroup> SingleTemplates = std::vector<PartGroup>(kTemplateCount);
    std::vector<PartGroup> PairTemplates = std::vector<PartGroup>(kTemplateCount);

    std::int32_t DrawingContourCount() const { return static_cast<std::int32_t>(DrawingContours.size()); }
    // Lengths of the class lists of contour set `set` (0 or 1).
    std::int32_t HoleCount(int set) const { return static_cast<std::int32_t>(Holes[set].size()); }
    std::int32_t OuterCount(int set) const { return static_cast<std::int32_t>(Outers[set].size()); }
    std::int32_t DefectCount(int set) const { return static_cast<std::int32_t>(Defects[set].size()); }
};
