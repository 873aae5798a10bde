// Reading and changing drawing entities by entity name, handle and object id: line, arc, circle and point
// geometry, a line's start point, erasing, highlighting, and clearing a drawing.
//
// Every entity opened here is closed before the operation returns.
#pragma once

#include <cstdint>
#include <string_view>

#include "host/db/ids.h"
#include "host/ge/point.h"

// Readers by entity name: 0, or -1 (outputs unchanged) when the name has no object id or the entity is not of
// the expected kind. The "Ads" forms write three doubles.
int GetCircleDataAds(const host::db::EntityName& name, double centre[3], double& radius);
int GetCircleData(const host::db::EntityName& name, host::ge::Point3d& centre, double& radius);
int GetArcDataAds(const host::db::EntityName& name, double centre[3], double& radius, double& startAngle,
                  double& endAngle);
int GetArcData(const host::db::EntityName& name, host::ge::Point3d& centre, double& radius, double& startAngle,
               double& endAngle);
int GetLineDataAds(const host::db::EntityName& name, double start[3], double end[3]);
int GetLineData(const host::db::EntityName& name, host::ge::Point3d& start, host::ge::Point3d& end);
int GetPointDataAds(const host::db::EntityName& name, double position[3]);

// The object of `handle` in the working drawing; a null id when there is no working drawing or no object has it.
host::db::ObjectId IdOfHandle(std::uint64_t handle);

// By handle in the working drawing. 0 found, 1 when no object has the handle or it is no line (outputs
// unchanged).
int GetLineEndpointsByHandle(std::uint64_t handle, host::ge::Point3d& start, host::ge::Point3d& end);
// Sets the line's start point; a handle of nothing (or of no line) changes nothing. Answers 0.
int SetLineStartPointByHandle(std::uint64_t handle, const host::ge::Point3d& point);
int EraseEntityByHandle(std::uint64_t handle);        // 0
int HighlightEntityByHandle(std::uint64_t handle);    // 0
int UnhighlightEntityByHandle(std::uint64_t handle);  // 0

// By entity name: -1 when the name has no object id, else 0.
int EraseEntity(const host::db::EntityName& name);
int HighlightEntity(const host::db::EntityName& name);
int UnhighlightEntity(const host::db::EntityName& name);

// Sets the point of the first group-10 element of the entity's data list (a line's start, a circle's or arc's
// centre, a point's position, a text's first alignment point). Answers 0.
int SetEntityPrimaryPoint(host::db::ObjectId id, const host::ge::Point3d& point);

// Deletes the last entity of the working drawing until there is none, or until the host refuses (a locked
// layer).
void EraseAllEntities();
// Erases every live entity of the working drawing whose layer name contains `text` (case-sensitive); answers
// how many.
int EraseEntitiesOnLayersContaining(std::string_view text);
