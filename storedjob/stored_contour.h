// Contour kinds and the record of one finished contour as the job stores it in a drawing. The cutting-path module
// makes and stores them; the nesting module reads them back from part and stock drawings.
#pragma once

#include <cstdint>

// What a contour is for; the layer its geometry lies on gives it. Values 10 and 20 to 24 are not used.
enum class ContourKind : std::uint8_t {
    KindBase = 0,              // ordinary cut contour: layer "0" (drawn piece) or any other layer (contour)
    NoCloseLine = 1,           // open cut, layer "NoCloseLine"
    EngraveLine = 2,           // engraving, layer "EngraveLine"
    NoLeadIn = 3,              // cut without lead-in and lead-out, layer "NoLeadIn"
    JumperLine = 4,            // cut contour drawn on layer "JumperLine"
    CommonLine = 5,            // common cut line, layer "CommonLine"
    MarkPoint = 6,             // marking point, a point on layer "MarkPoint"
    KindJumperPoint = 7,       // jumper (micro-joint) position, a point on layer "JumperLine"
    HeatTreatmentLine = 8,     // heat treatment, layer "HeatTreatmentLine"
    InsideCutLine = 9,         // inside cut, layer "InsideCutLine"
    KindLayer1 = 11,           // numbered layer "1"
    KindLayer2 = 12,           // numbered layer "2"
    KindLayer3 = 13,           // numbered layer "3"
    KindLayer4 = 14,           // numbered layer "4"
    KindLayer5 = 15,           // numbered layer "5"
    KindLayer6 = 16,           // numbered layer "6"
    KindLayer7 = 17,           // numbered layer "7"
    KindLayer8 = 18,           // numbered layer "8"
    KindLayer9 = 19,           // numbered layer "9"
    CutT2Line = 25,            // cut with the second tool, layer "CutT2Line"
    EngraveAndMarkLine = 26,   // engrave and mark, layer "EngraveAndMarkLine"
    MarkLine = 27,             // marking line, layer "MarkLine"
    KindUnset = 255,           // not classified
};

// True for the kinds cut along the drawn line itself: open cuts, engraving, common lines, heat treatment, inside
// cuts and marking lines. They get no kerf offset and take no part in the crossings of finished contours.
constexpr bool IsDrawnLineKind(ContourKind kind) {
    switch (kind) {
        case ContourKind::NoCloseLine:
        case ContourKind::EngraveLine:
        case ContourKind::CommonLine:
        case ContourKind::HeatTreatmentLine:
        case ContourKind::InsideCutLine:
        case ContourKind::EngraveAndMarkLine:
        case ContourKind::MarkLine:
            return true;
        default:
            return false;
    }
}

// Placement of a contour (ContourRecord::placement).
inline constexpr std::uint8_t kPlacementNone = 0;
inline constexpr std::uint8_t kPlacementOuter = 1;
inline constexpr std::uint8_t kPlacementInner = 2;
// Role (ContourRecord::role).
inline constexpr std::uint8_t kRolePart = 1;
inline constexpr std::uint8_t kRoleStock = 2;
// Closure (ContourRecord::closure).
inline constexpr std::uint8_t kClosureClosed = 0;
inline constexpr std::uint8_t kClosureOpen = 1;
inline constexpr std::uint8_t kClosureNoLeads = 2;
// Shape (ContourRecord::shape).
inline constexpr std::uint8_t kShapeCircle = 0;
inline constexpr std::uint8_t kShapePolyline = 1;
inline constexpr std::uint8_t kShapePoint = 2;

// One finished contour of the job's contour table. A new record has every field 0 and the kind unset.
struct ContourRecord {
    std::uint8_t placement = kPlacementNone;   // 0 not classified, 1 outer, 2 inner
    ContourKind kind = ContourKind::KindUnset;
    std::uint8_t role = 0;                     // 1 part, 2 stock
    std::uint8_t closure = kClosureClosed;     // 0 closed, 1 open, 2 no leads
    std::uint8_t shape = kShapeCircle;         // 0 circle, 1 polyline, 2 point
    std::uint8_t processed = 0;                // set when the contour has its path
    std::uint64_t handle = 0;                  // the contour's entity
    std::uint64_t parentHandle = 0;            // enclosing contour (for a jumper point: the contour it lies on)
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
    double area = 0.0;                         // circle pi r^2, polyline the host's area; not used for points

    bool operator==(const ContourRecord&) const = default;
};
