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
#include "storedjob/stored_contour.h"

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
