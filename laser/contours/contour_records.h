// Contour kinds, the records of drawn pieces and of finished contours, and the mapping of layer names and entity
// types to their codes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/ids.h"
#include "host/db/resbuf.h"
#include "host/ge/point.h"

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

// The type of one drawing entity as read from its data list.
enum EntityTypeCode : int {
    kEntityLine = 1,
    kEntityArc = 2,
    kEntityPolyline = 3,       // LWPOLYLINE; POLYLINE only through GetEntityTypeAndLayer
    kEntityCircle = 4,
    kEntityPoint = 5,
    kEntityText = 6,           // only GetEntityTypeAndLayer
    kEntityOnJobLayer = 15,    // any entity on "NC_Laser" or "NC_Laser_Off" (only GetEntityTypeAndLayer)
    kEntityOther = 99,         // any other type, or no data list
};

// `ContourEntity::type` of a piece dropped from further work (erased or removed).
inline constexpr std::uint8_t kEntityDropped = 0;

// One drawn LINE, ARC, CIRCLE or POINT while contours are being made.
struct ContourEntity {
    host::db::EntityName entityName;
    host::ge::Point3d startPoint;   // line, arc: start; circle: centre + (radius, 0, 0); point: its position
    host::ge::Point3d endPoint;     // line, arc: end; circle, point: equal to startPoint
    host::ge::Point3d center;       // arc, circle: centre
    double radius = 0.0;            // arc, circle; 0 for a line
    double startAngle = 0.0;        // arc, radians
    double endAngle = 0.0;          // arc, radians
    std::uint32_t startNode = 0;    // node id of the start (0 = no node)
    std::uint32_t endNode = 0;      // node id of the end (0 = no node)
    std::string layer;
    std::string linetype;
    std::uint8_t type = kEntityDropped;   // EntityTypeCode 1, 2, 4 or 5; 0 = dropped
    ContourKind kind = ContourKind::KindUnset;
};

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

// The record that stands at index contourCount when the drawing holds no stock contour.
ContourRecord EmptyStockRecord();

// The kind of a drawn piece: the exact, case-sensitive layer name ("JumperLine" gives KindJumperPoint for a point
// and JumperLine otherwise); any other name is KindUnset.
ContourKind KindFromLayerName(std::string_view layer, int entityTypeCode);

// The kind of a finished contour. Polylines and circles: the layer name compared without regard to case; any layer
// outside the list ("0" included) is KindBase. Points: only the exact names "MarkPoint" and "JumperLine" count,
// any other layer is KindUnset.
ContourKind ContourTableKind(std::string_view layer, bool isPoint);

// The type code of an entity data list (the first group 0 item, compared exactly): 1 LINE, 2 ARC, 3 LWPOLYLINE,
// 4 CIRCLE, 5 POINT, 99 otherwise or for an empty list.
int GetEntityTypeCode(const host::db::ResBufList& data);
// The same for an entity named by its entity name (99 when it names nothing).
int GetEntityTypeCodeByName(const host::db::EntityName& entity);
// The codes of GetEntityTypeCode plus 3 for POLYLINE and 6 for TEXT; 15 for any entity on "NC_Laser" or
// "NC_Laser_Off". The layer (group 8) is copied into `layer` ("" without group 8). An empty list answers 99 and
// leaves `layer` untouched.
int GetEntityTypeAndLayer(const host::db::ResBufList& data, std::string& layer);

// Room of NodeMembers: the pieces that touch one node.
inline constexpr int kNodeMembersCapacity = 800;

// The working tables of contour creation (and of the line-intersection check). One per module; contour creation
// is not re-entrant.
struct ContourEntityStage {
    // ContourEntityCount + 1 records while the stage runs (the last one is a spare that is never filled).
    std::vector<ContourEntity> ContourEntityTable;
    int ContourEntityCount = 0;
    // Node ids with at least two exact members.
    std::vector<std::uint32_t> NodeList;
    // Indices into ContourEntityTable of the pieces touching one node; at most kNodeMembersCapacity.
    std::vector<int> NodeMembers;
    // The selection set reused by the collecting stages (nil when none is held).
    host::db::EntityName ContourSelection;

    // Drops the tables (the selection set is freed by its owners).
    void ReleaseEntityTables();
};

// The module's one entity stage.
ContourEntityStage& ContourEntities();
